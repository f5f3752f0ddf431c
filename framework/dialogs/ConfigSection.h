#pragma once

#include "framework/core/Export.h"

#include <string>

class ConfigFile;

// Something that reads itself from one section of a configuration file.
class FRAMEWORK_API ConfigSection
{
public:
    ConfigSection() = default;

    // Reads the section's keys, asking the file's parent for those the file lacks; true when
    // what was read makes a usable object.
    virtual bool Load(ConfigFile* file, const std::string& section) = 0;
    virtual ~ConfigSection();

    ConfigSection(const ConfigSection&) = delete;
    ConfigSection& operator=(const ConfigSection&) = delete;
};
