#include "mahjong/scene/ZorvyAnimation.h"

#include "framework/core/ConfigFile.h"
#include "framework/core/Framework.h"
#include "framework/core/LoadingThread.h"
#include "framework/core/MultiType.h"
#include "framework/core/Point.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/stage/CastMemberImage.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/scene/SceneBackgroundListener.h"

#include <algorithm>

namespace {

constexpr int kTransColourKey = 1;
constexpr int kTransAsStored = 2;
constexpr const char* kNoAnimation = "none";

std::string Numbered(const char* format, int n)
{
    char key[64];
    std::snprintf(key, sizeof key, format, n);
    return key;
}

Cast* CurrentCast()
{
    Framework* app = Framework::GetApp();
    return app != nullptr && app->_animationManager != nullptr ? app->_animationManager->GetCast()
                                                               : nullptr;
}

} // namespace

// What "img%d" and its companion keys say about layer or sprite n.
struct ZorvyAnimation::ImageKeys
{
    std::string file;
    Point pos;
    int trans = 0;
    int frames = 1;
    std::string mirror;
    float scale = 1.0f;
    int priority = kDefaultPriority;
};

ZorvyAnimation::ZorvyAnimation(ConfigFile* config, MjGameScript* script)
    : Debug("Zorvy Animation"), _config(config), _script(script)
{}

ZorvyAnimation::~ZorvyAnimation()
{
    Clear();
}

std::string ZorvyAnimation::Section(int puzzle)
{
    return Numbered("puzzle%d", puzzle);
}

std::string ZorvyAnimation::ReadText(const std::string& section, const std::string& key,
                                     const char* defaultValue)
{
    if (_config == nullptr) {
        return defaultValue;
    }
    return std::string(_config->Value(section, key, std::string(defaultValue), true));
}

int ZorvyAnimation::ReadInt(const std::string& section, const std::string& key, int defaultValue)
{
    if (_config == nullptr) {
        return defaultValue;
    }
    return ConfigFile::AsInt(_config->Value(section, key, static_cast<double>(defaultValue), true));
}

bool ZorvyAnimation::ReadFlag(const std::string& section, const std::string& key)
{
    if (_config == nullptr) {
        return false;
    }
    const double value = _config->Value(section, key, 0.0, true);
    return value != 0.0;
}

int ZorvyAnimation::ReadCount(const std::string& section, const std::string& key, int defaultValue)
{
    const int count = ReadInt(section, key, defaultValue);
    const int bounded = std::clamp(count, std::min(defaultValue, 0), kMaxImages);
    if (bounded != count) {
        DebugVar(-1, "%s %s=%d out of range, using %d", section.c_str(), key.c_str(), count,
                 bounded);
    }
    return bounded;
}

ZorvyAnimation::ImageKeys ZorvyAnimation::ReadImageKeys(const std::string& section, int n,
                                                        bool sprite)
{
    ImageKeys keys;
    if (_config == nullptr) {
        return keys;
    }
    keys.file = ReadText(section, Numbered("img%d", n), "0");
    keys.pos = _config->ValueAsPoint(section, Numbered("pos%d", n), Point(0, 0));
    keys.trans = ReadInt(section, Numbered("img%dtrans", n), 0);
    keys.frames = ReadInt(section, Numbered("img%dframes", n), 1);
    keys.mirror = ReadText(section, Numbered("img%dmirror", n), "off");
    if (sprite) {
        const double scale = _config->Value(section, Numbered("img%dscale", n), 1.0, true);
        keys.scale = static_cast<float>(scale);
        keys.priority = ReadInt(section, Numbered("img%dpri", n), kDefaultPriority);
    }
    return keys;
}

Image* ZorvyAnimation::MakeImage(const ImageKeys& keys)
{
    // A sheet needs at least one column; fewer would leave it unloaded.
    const int columns = std::max(keys.frames, 1);
    auto* sheet = new ImageResource(
        keys.file, columns, 1, keys.trans == kTransAsStored ? Canvas::PerPixelFormat() : nullptr);
    sheet->AllowImageDelete(true);
    auto* image = new Image(sheet, 0, 0, 0);
    if (keys.mirror == "v") {
        image->MirrorVertical(true);
    } else if (keys.mirror == "h") {
        image->MirrorHorizontal(true);
    }
    if (keys.frames > 1) {
        image->SetFrame(0, 0);
    }
    return image;
}

Image* ZorvyAnimation::LoadBackground(int puzzle, Cast*, bool pictureOnly, int layerCount)
{
    const std::string section = Section(puzzle);
    auto* picture = new Image(ReadText(section, "bg", "0"), nullptr);
    if (pictureOnly) {
        return picture;
    }
    if (layerCount == -1) {
        layerCount = ReadCount(section, "numbgimages", 0);
    }
    layerCount = std::min(layerCount, kMaxImages);
    for (int n = 1; n <= layerCount; ++n) {
        if (ReadFlag(section, Numbered("dontadd%d", n))) {
            continue;
        }
        const ImageKeys keys = ReadImageKeys(section, n, false);
        Image* layer = MakeImage(keys);
        if (keys.trans == kTransColourKey) {
            layer->UseTransparency(true, false);
        }
        // Positions are screen positions; the picture starts under the top bar.
        picture->BlitInto(layer, keys.pos.GetX(), keys.pos.GetY() - kPictureTop);
        delete layer;
    }
    return picture;
}

CastMemberImage* ZorvyAnimation::LoadSprites(int index)
{
    for (const auto& entry : _sprites) {
        if (entry->_index == index) {
            return entry->_sprite;
        }
    }
    const ImageKeys keys = ReadImageKeys(Section(_puzzle), index, true);
    auto image = std::unique_ptr<Image>(MakeImage(keys));
    auto* sprite = new CastMemberImage(CurrentCast(), image.get(), keys.pos.GetX(), keys.pos.GetY(),
                                       keys.priority, 0);
    if (keys.trans == kTransColourKey) {
        sprite->UseTransparency(true);
    }
    if (keys.frames > 1) {
        sprite->SetFrame(0, 0);
    }
    if (keys.mirror == "v") {
        sprite->MirrorVertical(true);
    } else if (keys.mirror == "h") {
        sprite->MirrorHorizontal(true);
    }
    if (keys.scale != 1.0f) {
        sprite->SetScale(keys.scale);
    }
    sprite->DeleteOnRemovedFromCast(true);
    auto entry = std::make_unique<SceneSprite>();
    entry->_index = index;
    entry->_sprite = sprite;
    _sprites.push_back(std::move(entry));
    _images.push_back(std::move(image));
    return sprite;
}

void ZorvyAnimation::StartLoading(int puzzle)
{
    Framework* app = Framework::GetApp();
    if (app == nullptr || _script == nullptr || !app->AllowLoadingThread()) {
        return;
    }
    const int state = _script->GetAnimState();
    if (state == MjGameScript::kAnimLoading) {
        return;
    }
    if (state != MjGameScript::kAnimNone) {
        DebugVar(-1, "Animation already loaded for puzzle %d", puzzle);
        return;
    }
    // The worker reads the animation name until it ends, and the script frees its loader only
    // when it has seen it stop: neither may be replaced before then.
    if (_script->GetSceneLoader() != nullptr) {
        DebugVar(-1, "Scene loader still busy, no animation loaded for puzzle %d", puzzle);
        return;
    }
    const std::string name = ReadText(Section(puzzle), "animation", kNoAnimation);
    if (name == kNoAnimation) {
        return;
    }
    _script->SetAnimState(MjGameScript::kAnimLoading);
    _script->SetAnimName(name);
    _script->SetSceneLoader(new LoadingThread(app, LoadingThread::kOtherResources));
}

void ZorvyAnimation::ShowBackground(Image* picture)
{
    if (_backgroundListener != nullptr) {
        _backgroundListener->SceneBackgroundReady(picture);
        return;
    }
    DebugVar(-1, "No one takes the scene background of puzzle %d", _puzzle);
    delete picture;
}

void ZorvyAnimation::ScheduleScript(int state, int delay)
{
    if (_script != nullptr) {
        _script->ChangeState(state, delay);
    }
}

void ZorvyAnimation::LoadFadeImages(int puzzle, int delay)
{
    _puzzle = puzzle;
    const std::string section = Section(puzzle);
    const std::string animation = ReadText(section, "animation", kNoAnimation);
    _numFadeImages = ReadCount(section, "numfadeimages", 0);
    if (_numFadeImages > 0 && animation != kNoAnimation) {
        _pendingAnimation = animation;
    }
    if (animation != kNoAnimation && _pendingAnimation.empty()) {
        // An animation without a fade series plays at once. A running loader reads the name, so
        // it is left alone then: the loader was started for this puzzle's animation.
        if (_script != nullptr && _script->GetSceneLoader() == nullptr &&
            _script->GetAnimState() != MjGameScript::kAnimLoading) {
            _script->SetAnimName(animation);
        }
        ScheduleScript(MjGameScript::kPlayAnimationState, delay);
        return;
    }
    const bool reversePreparation = ReadFlag(section, "reverse");
    if (_numFadeImages == 0) {
        DebugVar(-1, "No Fade Images Set Here %s", section.c_str());
        ScheduleScript(MjGameScript::kAnimationEndedState, kNoSeriesMs);
        return;
    }
    if (reversePreparation) {
        ShowBackground(LoadBackground(puzzle, nullptr, true, 0));
        for (int n = 1; n <= _numFadeImages; ++n) {
            if (!ReadFlag(section, Numbered("dontadd%d", n))) {
                LoadSprites(n);
            }
        }
    } else {
        const int layers = ReadCount(section, "numbgimages", 0);
        const int keptLayers = ReadCount(section, "numbgimagesduringfade", -1);
        if (keptLayers >= 0 && keptLayers < layers) {
            ShowBackground(LoadBackground(puzzle, nullptr, false, keptLayers));
            for (int n = keptLayers + 1; n <= layers; ++n) {
                LoadSprites(n);
            }
        }
    }
    _reverseFade = ReadFlag(section, "reversefade");
    _fadeStep = _reverseFade ? _numFadeImages : 0;
    ScheduleScript(MjGameScript::kFadeStepState, kFirstFadeStepMs);
}

void ZorvyAnimation::LoadFades(int)
{
    const std::string section = Section(_puzzle);
    int pause = 0;
    do {
        const int n = _fadeStep + 1;
        const int fadeIn = ReadInt(section, Numbered("fadein%d", n), 0);
        const int fadeOut = ReadInt(section, Numbered("fadeout%d", n), 0);
        const int hide = ReadInt(section, Numbered("hide%d", n), 0);
        const int show = ReadInt(section, Numbered("show%d", n), 0);
        if (fadeIn > 0 || fadeOut > 0 || hide > 0 || show > 0) {
            CastMemberImage* sprite = LoadSprites(n);
            // A negative pause would schedule nothing and stop the series for good.
            pause = std::max(0, ConfigFile::AsInt(
                                    MultiType(ReadText(section, Numbered("fadepause%d", n), "0"))));
            if (fadeIn > 0) {
                sprite->SetAlpha(0);
                sprite->FadeIn(255, static_cast<unsigned int>(fadeIn), nullptr);
            } else if (fadeOut > 0) {
                sprite->SetAlpha(255);
                sprite->FadeOut(0, static_cast<unsigned int>(fadeOut), nullptr);
            } else if (hide > 0) {
                sprite->Hide();
            } else {
                sprite->Show();
            }
        }
        _fadeStep += _reverseFade ? -1 : 1;
    } while (pause == 0 && _fadeStep >= 0 && _fadeStep < _numFadeImages);

    if (_fadeStep >= 0 && _fadeStep < _numFadeImages) {
        ScheduleScript(MjGameScript::kFadeStepState, pause);
    } else if (!_pendingAnimation.empty()) {
        ScheduleScript(MjGameScript::kPendingAnimationState, pause + kSeriesEndMs);
    } else {
        ScheduleScript(MjGameScript::kAnimationEndedState, pause + kSeriesEndMs);
    }
}

void ZorvyAnimation::Clear()
{
    for (const auto& entry : _sprites) {
        CastMemberImage* sprite = entry->_sprite;
        sprite->Hide();
        if (sprite->GetCast() != nullptr) {
            // Marked to delete itself at the end of the frame, once off the stage.
            sprite->SetCast(nullptr);
        } else {
            // Made while no stage was shown: no stage will delete it.
            delete sprite;
        }
    }
    _sprites.clear();
    _images.clear();
}
