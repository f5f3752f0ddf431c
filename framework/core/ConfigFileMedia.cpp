// ConfigFile: the sounds, images and fonts that a configuration file names.
#include "SDL.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/File.h"
#include "framework/core/StringUtils.h"
#include "framework/media/Canvas.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/media/Sound.h"

#include <algorithm>

namespace {

const std::string kSoundsPrefix = "sounds/";
const std::string kDelayPrefix = "DELAY_";

} // namespace

void ConfigFile::HandleSounds(bool yield)
{
    for (auto it = _values.lower_bound(kSoundsPrefix);
         it != _values.end() && it->first.compare(0, kSoundsPrefix.size(), kSoundsPrefix) == 0;
         ++it) {
        const std::string key = it->first.substr(kSoundsPrefix.size());
        const std::string file = it->second;
        File check(file);
        if (check.OpenR()) {
            check.Close();
        } else {
            // The sound is still made: its first play reports the failure again.
            DebugVar(-1, "Missing Sound file %s", file.c_str());
        }
        const bool deferLoad = key.compare(0, kDelayPrefix.size(), kDelayPrefix) == 0;
        const std::string name = deferLoad ? key.substr(kDelayPrefix.size()) : key;
        Sound* sound = Sound::LoadSound(file, deferLoad);
        if (sound == nullptr) {
            continue;
        }
        _sounds[name] = sound;
        _ownedSounds.push_back(sound);
        if (yield && sound->GetChunk() != nullptr) {
            SDL_Delay(1);
        }
    }
    if (!_sounds.empty()) {
        Sound::RegisterSounds(_sounds);
    }
}

void ConfigFile::ReleaseSounds()
{
    // Out of the registry first, so nothing plays a sound while it is deleted.
    if (!_sounds.empty()) {
        Sound::UnRegisterSounds(_sounds);
        _sounds.clear();
    }
    for (Sound* sound : _ownedSounds) {
        delete sound;
    }
    _ownedSounds.clear();
}

Image* ConfigFile::NewImage(std::string section, std::string key, bool perPixel, int cols, int rows)
{
    const std::string file = Value(section, key, "", true);
    if (file.empty()) {
        return nullptr;
    }
    if (_yieldWhileLoading) {
        SDL_Delay(1);
    }
    SDL_PixelFormat* format = perPixel ? Canvas::PerPixelFormat() : nullptr;
    if (cols > 1) {
        // A sheet of no rows has no frame to show.
        auto* resource = new ImageResource(file, cols, std::max(rows, 1), format);
        resource->AllowImageDelete(true);
        return new Image(resource, 0, 0, 0);
    }
    return new Image(file, format);
}

ImageResource* ConfigFile::NewImageResource(const std::string& section, const std::string& key)
{
    const MultiType* found = Find(section, key);
    if (found == nullptr) {
        return _parent != nullptr ? _parent->NewImageResource(section, key) : nullptr;
    }
    std::vector<std::string> pieces;
    StringUtils::SplitString(*found, ",", pieces, false);
    if (pieces.empty()) {
        return nullptr;
    }
    // A count of 0 or below, from a bad file, would leave a sheet without frames.
    const int cols = pieces.size() > 1 ? std::max(ParseInt(pieces[1]), 1) : 1;
    const int rows = pieces.size() > 2 ? std::max(ParseInt(pieces[2]), 1) : 1;
    const bool perPixel = std::find(pieces.begin() + 1, pieces.end(), "perpixel") != pieces.end();
    return new ImageResource(pieces[0], cols, rows, perPixel ? Canvas::PerPixelFormat() : nullptr);
}

Font* ConfigFile::NewFont(std::string section, std::string fileKey, std::string sizeKey,
                          std::string styleKey)
{
    // All three are read first, so missing size and style keys count even without a font.
    const std::string file = Value(section, fileKey, "", true);
    const int size = AsInt(Value(section, sizeKey, 16, true));
    const int style = AsInt(Value(section, styleKey, 0, true));
    if (file.empty()) {
        return nullptr;
    }
    if (_yieldWhileLoading) {
        SDL_Delay(1);
    }
    return new Font(file, size, style);
}
