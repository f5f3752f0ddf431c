#include "framework/core/ImageResources.h"

#include "framework/core/ConfigFile.h"
#include "framework/core/TypedAsset.h"
#include "framework/media/ImageResource.h"

#include <memory>

ImageResources* ImageResources::_self = nullptr;

ImageResources::ImageResources(const std::string& listFile, const std::string& section)
    : AssetManager(listFile, section)
{
    SetName("ImageResources");
    _self = this;
}

ImageResources::~ImageResources()
{
    // The holders delete their sheets through TypedAsset while this class still exists.
    DeleteAll();
    if (_self == this) {
        _self = nullptr;
    }
}

Asset* ImageResources::LoadAsset(ConfigFile* cfg, const std::string& section,
                                 const std::string& name)
{
    if (Asset* existing = GetAsset(name)) {
        return existing;
    }
    ImageResource* sheet = cfg != nullptr ? cfg->NewImageResource(section, name) : nullptr;
    if (sheet != nullptr && sheet->GetSurface() == nullptr) {
        // A file that failed to load gives no sheet, so Get answers null.
        delete sheet;
        sheet = nullptr;
    }
    auto holder = std::make_unique<TypedAsset<ImageResource>>(sheet);
    Asset* asset = holder.get();
    Register(name, std::move(holder));
    return asset;
}

ImageResource* ImageResources::Get(const std::string& name)
{
    return _self != nullptr ? static_cast<ImageResource*>(_self->GetData(name)) : nullptr;
}

void ImageResources::Load(const std::string& section)
{
    if (_self != nullptr) {
        _self->LoadAssets(section);
    }
}

Asset* ImageResources::LoadOne(const std::string& section, const std::string& name)
{
    return _self != nullptr ? _self->LoadOneAsset(section, name) : nullptr;
}

void ImageResources::Lock(const std::string& name)
{
    if (_self != nullptr) {
        _self->LockAsset(name);
    }
}

void ImageResources::Unlock(const std::string& name)
{
    if (_self != nullptr) {
        _self->UnlockAsset(name);
    }
}

void ImageResources::DebugDump()
{
    if (_self != nullptr) {
        _self->DebugDumpAssets();
    }
}
