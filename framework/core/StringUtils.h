#pragma once

#include "framework/core/Export.h"

#include <string>
#include <vector>

// Text operations shared by the configuration readers, image loading, dialog items and the shell.
class FRAMEWORK_API StringUtils
{
public:
    StringUtils() = delete;

    // Without leading and trailing blanks and tabs; inner ones stay.
    static std::string Trim(const std::string& text);

    // Commas between groups of three digits; negative numbers are written without them.
    static std::string FormatNum(int n);

    // Appends the non-empty pieces of text cut at the delimiter to out (not cleared) and returns
    // how many it appended. A delimiter right after another is not a cut: it starts the next
    // piece. With keepDelimiter every piece after the first begins with its delimiter.
    static int SplitString(const std::string& text, const std::string& delimiter,
                           std::vector<std::string>& out, bool keepDelimiter);
};
