#pragma once

#include "framework/core/Export.h"
#include "framework/core/File.h"

#include <string>

// The shared debug log: lines with a millisecond stamp, and framed error lines that reach the
// disk at once. Used only under the Debug mutex.
class FRAMEWORK_API LogFile : public File
{
public:
    // Starts the log empty, then keeps it open for appending. With keepOld the existing text
    // stays and new lines are appended.
    explicit LogFile(const std::string& name, bool keepOld = false);
    ~LogFile() override;

    void OutLine(const std::string& text);
    void ErrLine(const std::string& text);

private:
    void WriteTime();
};
