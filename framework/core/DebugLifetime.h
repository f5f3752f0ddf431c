#pragma once

#include "framework/core/Debug.h"
#include "framework/core/Export.h"

#include <cstdint>
#include <string>

// Scoped profiling probe: made at the start of a stretch of code and destroyed at its end, it
// counts the runs and milliseconds of its profiling point. Its statics read the marker files
// under "debug/" that switch profiling on and raise the log levels of whole classes.
class FRAMEWORK_API DebugLifetime : public Debug
{
public:
    // A negative module makes the probe inert. The profile number is module * 500 + number and
    // must stay below 100000.
    DebugLifetime(const std::string& name, int module, int number, const char* format, ...)
        __attribute__((format(printf, 5, 6)));
    ~DebugLifetime() override;

    // Logs entering again, with a new entry number.
    void PrintEnter();
    // Logs an early exit from the stretch.
    void Out();

    // Writes one line per profiling point that ran; called just before the log is closed.
    static void DumpStats();
    // Whether the file can be opened for reading; always true at profile level 5.
    static bool FileExists(const std::string& path);
    // Sets the object's log level from level or from the class's marker files and returns the
    // level the class keeps for its next object (-1 for none). The first call starts profiling.
    static int SetDebugLevel(const char* className, Debug* object, int level);

    // 0 not started, 1 started without profiling, 2 to 10 profiling.
    static int32_t GetProfileLevel();
    // "debug/Profile.all" was present when profiling started.
    static bool GetProfileAll();
    // Whether the statistics tables exist: only once profiling is on (level 2 or more).
    static bool HasProfileTables();

private:
    static void StartProfiling();
    bool Active() const;

    std::string _text;
    int32_t _entryNumber = 0;
    int32_t _profileNumber = 0;
    int32_t _module = -1;
};
