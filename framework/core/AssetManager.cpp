#include "framework/core/AssetManager.h"

#include "framework/core/Asset.h"
#include "framework/core/ConfigFile.h"

AssetManager::AssetManager(const std::string& listFile, const std::string& section)
    : Debug("AssetManager"), _listFile(std::make_unique<ConfigFile>(listFile, false, false, false)),
      _section(section)
{}

AssetManager::~AssetManager()
{
    AssetManager::DeleteAll();
    _listFile.reset();
}

void AssetManager::DeleteAll()
{
    _assets.clear();
}

Asset* AssetManager::GetAsset(const std::string& name)
{
    const auto it = _assets.find(name);
    return it != _assets.end() ? it->second.get() : nullptr;
}

void AssetManager::Register(const std::string& name, std::unique_ptr<Asset> asset)
{
    _assets[name] = std::move(asset);
}

void* AssetManager::GetData(const std::string& name)
{
    Asset* asset = GetAsset(name);
    if (asset == nullptr) {
        asset = LoadAsset(_listFile.get(), _section, name);
    }
    return asset != nullptr ? asset->GetObject() : nullptr;
}

void AssetManager::LoadAssets(const std::string& section)
{
    LoadAssets(_listFile.get(), section);
}

void AssetManager::LoadAssets(ConfigFile* cfg, const std::string& section)
{
    if (cfg == nullptr) {
        return;
    }
    for (const std::string& key : cfg->GetKeysInSection(section)) {
        if (GetAsset(key) == nullptr) {
            LoadAsset(cfg, section, key);
        }
    }
}

Asset* AssetManager::LoadOneAsset(const std::string& section, const std::string& name)
{
    LoadAsset(_listFile.get(), section, name);
    LockAsset(name);
    PurgeAssets(section);
    Asset* asset = GetAsset(name);
    if (asset != nullptr) {
        asset->Unlock();
    }
    return asset;
}

void AssetManager::PurgeAssets(const std::string& section)
{
    DebugOut("Number of assets before purge= " + std::to_string(_assets.size()));
    for (const std::string& key : _listFile->GetKeysInSection(section)) {
        const auto it = _assets.find(key);
        if (it == _assets.end()) {
            continue;
        }
        Asset* asset = it->second.get();
        if (asset->Owned() && asset->GetLockCount() < 1) {
            asset->Release();
            _assets.erase(it);
        }
    }
    DebugOut("Number of assets after purge= " + std::to_string(_assets.size()));
}

void AssetManager::LockAsset(const std::string& name)
{
    Asset* asset = GetAsset(name);
    if (asset == nullptr) {
        DebugOut("Attempt to lock asset that has not been loaded, " + name);
        return;
    }
    asset->Lock();
}

void AssetManager::UnlockAsset(const std::string& name)
{
    Asset* asset = GetAsset(name);
    if (asset != nullptr) {
        asset->Unlock();
    }
}

void AssetManager::DebugDumpAssets()
{
    DebugOut("List of loaded assets: ");
    std::string names;
    for (const auto& entry : _assets) {
        names += entry.first + "\t";
    }
    DebugOut(names);
    DebugOut("End list of loaded assets.");
    Debug::DebugFlush();
}
