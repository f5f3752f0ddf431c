#pragma once

#include "framework/core/ConfigFile.h"

#include <string>

// How the shell's descriptions turn entries into members: every read asks the parent and logs a
// miss before the default; numbers are read as floating point, ints truncated toward zero, and
// a flag is set by any number that is not 0 (so 0.5 is set).
class DescriptionValues
{
public:
    static int Int(ConfigFile& file, const std::string& section, const std::string& key,
                   double defaultValue)
    {
        return ConfigFile::AsInt(file.Value(section, key, defaultValue, true));
    }
    static bool Bool(ConfigFile& file, const std::string& section, const std::string& key,
                     double defaultValue)
    {
        return static_cast<double>(file.Value(section, key, defaultValue, true)) != 0.0;
    }
    static std::string Text(ConfigFile& file, const std::string& section, const std::string& key,
                            const std::string& defaultValue)
    {
        return file.Value(section, key, defaultValue, true);
    }
};
