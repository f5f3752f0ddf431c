#pragma once

#include "framework/core/Debug.h"
#include "framework/core/Export.h"

#include <map>
#include <memory>
#include <string>

class Asset;
class ConfigFile;

// A registry of named assets described in the sections of a list file. An asset is loaded on its
// first request, kept while anyone locks it, dropped when a purge of a section that names it
// finds it unlocked and owned, and deleted by DeleteAll. No lock of its own: one thread at a time.
class FRAMEWORK_API AssetManager : public Debug
{
public:
    // The list file is read as a configuration file (scrambled form included); section is the
    // default section for GetData.
    AssetManager(const std::string& listFile, const std::string& section);
    ~AssetManager() override;

    AssetManager(const AssetManager&) = delete;
    AssetManager& operator=(const AssetManager&) = delete;

    // Deletes every holder and its object, locked or not.
    virtual void DeleteAll();
    // The object of name, loaded from the default section on first request; null when it failed
    // (a failed asset stays registered and is not retried).
    virtual void* GetData(const std::string& name);
    // Loads every asset of a section that is not registered yet.
    virtual void LoadAssets(const std::string& section);
    virtual void LoadAssets(ConfigFile* cfg, const std::string& section);
    virtual Asset* GetAsset(const std::string& name);
    // Registers and returns the holder of name as cfg's section describes it; an existing holder
    // is returned unchanged.
    virtual Asset* LoadAsset(ConfigFile* cfg, const std::string& section,
                             const std::string& name) = 0;
    // Loads name and drops the other unlocked assets of its section.
    virtual Asset* LoadOneAsset(const std::string& section, const std::string& name);

    // Drops the unlocked, owned assets that the section names.
    void PurgeAssets(const std::string& section);
    void LockAsset(const std::string& name);
    void UnlockAsset(const std::string& name);
    // Writes the registered names to the log.
    void DebugDumpAssets();
    int AssetCount() const { return static_cast<int>(_assets.size()); }

protected:
    ConfigFile* GetListFile() { return _listFile.get(); }
    void Register(const std::string& name, std::unique_ptr<Asset> asset);

private:
    std::map<std::string, std::unique_ptr<Asset>> _assets; // one per name, ordered by name
    std::unique_ptr<ConfigFile> _listFile;
    std::string _section;
};
