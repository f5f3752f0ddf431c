#pragma once

#include "framework/core/AssetManager.h"
#include "framework/core/Export.h"

#include <string>

class Asset;
class ConfigFile;
class ImageResource;

// The named-image registry: each key of the list file's sections names a frame sheet described as
// "file[,cols[,rows]][,perpixel]". The framework makes one; its statics reach the newest one.
class FRAMEWORK_API ImageResources : public AssetManager
{
public:
    ImageResources(const std::string& listFile, const std::string& section);
    ~ImageResources() override;

    Asset* LoadAsset(ConfigFile* cfg, const std::string& section, const std::string& name) override;

    // The sheet of name (loaded on first request), or null.
    static ImageResource* Get(const std::string& name);
    static void Load(const std::string& section);
    static Asset* LoadOne(const std::string& section, const std::string& name);
    // Users lock a sheet while they show it, so that purges keep it.
    static void Lock(const std::string& name);
    static void Unlock(const std::string& name);
    static void DebugDump();

    // The registry last constructed; null once it is destroyed.
    static ImageResources* _self;
};
