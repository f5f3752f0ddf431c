// AnimatedAppScript: loading an animation, its sprites, the frame loop and the splash.
#include "framework/shell/AnimatedAppScript.h"

#include "SDL.h"
#include "framework/core/DebugLifetime.h"
#include "framework/core/Framework.h"
#include "framework/media/Canvas.h"
#include "framework/media/Channel.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/media/Music.h"
#include "framework/media/Sound.h"
#include "framework/shell/ConfigFileSplash.h"
#include "framework/shell/KeyframeChange.h"
#include "framework/shell/SpriteRunnerConfigFile.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberImage.h"
#include "framework/stage/CastMemberText.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr const char* kSplashFile = "cfg/splashanim.cfg";
constexpr int kSlowPauseMs = 5;
constexpr int kNoAnimationDelayMs = 50;
constexpr int kEndDelayMs = 500;
constexpr int kSkipDelayMs = 10;
constexpr int kCleanUpFadeMs = 500;
constexpr int kCleanUpMusicFadeMs = 1000;
constexpr int kCleanUpPauseMs = 500;

std::atomic<int>& AnimatedAppScriptDebugLevel()
{
    static std::atomic<int> level{0};
    return level;
}

std::string KeyframeSection(int frame, int sprite)
{
    char name[40];
    std::snprintf(name, sizeof name, "frame%05d-%05d", frame, sprite);
    return name;
}

bool AnyChannelPlaying()
{
    for (int n = 0; n < Channel::ChannelCount(); ++n) {
        Channel* channel = Channel::GetChannel(n);
        if (channel != nullptr && channel->IsPlaying()) {
            return true;
        }
    }
    return false;
}

} // namespace

bool& AnimatedAppScript::SplashPending()
{
    static bool pending = false;
    return pending;
}

AnimatedAppScript::AnimatedAppScript(Framework* framework, GameTime* clock)
    : AppScript(framework, clock)
{
    AnimatedAppScriptDebugLevel() =
        DebugLifetime::SetDebugLevel("AnimatedAppScript", this, AnimatedAppScriptDebugLevel());
    DebugVar(1, "AnimatedAppScript Constructor called");
}

AnimatedAppScript::~AnimatedAppScript()
{
    CleanUpAnimation(1);
}

void AnimatedAppScript::DoState(int state)
{
    AppScript::DoState(state);
    switch (state) {
    case kSplashShown:
        if (_animationPresent) {
            ChangeState(kSplashStep);
        } else {
            ChangeState(kSplashEnded, kNoAnimationDelayMs);
        }
        break;
    case kSplashStep: {
        ++_frame;
        const int frames = FrameCount();
        if (_frame >= frames) {
            _frame = frames;
            ChangeState(kSplashEnded, kEndDelayMs);
        } else {
            ChangeState(kSplashStep, _description->_frameMillis);
            ShowStuffAtFrame();
        }
        break;
    }
    case kSplashEnded:
        if (SplashPending()) {
            SplashPending() = false;
            ChangeState(kLeaveSplash);
        }
        break;
    case kSplashSkipped:
        // A skipped splash ends as a finished one; a subclass may choose otherwise after this.
        if (SplashPending()) {
            ChangeState(kSplashEnded);
        }
        break;
    default:
        break;
    }
}

int AnimatedAppScript::FrameCount() const
{
    // A rate of 0 or less (or none) plays no frame rather than dividing by it.
    if (_description == nullptr || _description->_frameMillis <= 0) {
        return 0;
    }
    return (1000 / _description->_frameMillis) * _description->_seconds;
}

bool AnimatedAppScript::KeyDown(SDLKey sym, SDLMod mod, unsigned short unicode, bool alphanumeric)
{
    Script::KeyDown(sym, mod, unicode, alphanumeric);
    return false;
}

bool AnimatedAppScript::KeyUp(SDLKey sym, SDLMod mod, unsigned short unicode, bool alphanumeric)
{
    Script::KeyUp(sym, mod, unicode, alphanumeric);
    if (sym != SDLK_RETURN && sym != SDLK_SPACE && sym != SDLK_ESCAPE) {
        return false;
    }
    if (GetState() == kSplashStep) {
        ChangeState(kSplashSkipped, kSkipDelayMs);
    }
    return true;
}

void AnimatedAppScript::CreateSplashObjects()
{
    SplashPending() = true;
    BeginAnimation(kSplashFile, false);
    SetupSprites();
    // A delay of 0 would never come: the splash then starts on the next frame.
    ChangeState(kSplashShown, std::max(1, GetSplashConfig()->_fadeTime));
}

void AnimatedAppScript::DeleteSplashObjects()
{
    CleanUpAnimation(1);
}

void AnimatedAppScript::BeginAnimation(std::string file, bool slow)
{
    _frame = 0;
    _description = std::make_unique<SpriteRunnerConfigFile>(file);
    if (_description->_background == "0") {
        _animationPresent = false;
        return;
    }
    _animationPresent = true;
    // A section is listed once per key; storing the same command again changes nothing.
    for (const std::string& section : _description->GetSectionsThatStartWith("frame")) {
        const int frame = std::atoi(section.c_str() + 5);
        const std::string::size_type dash = section.find('-');
        const int sprite = dash == std::string::npos ? 0 : std::atoi(section.c_str() + dash + 1);
        for (const std::string& key : _description->GetKeysInSection(section)) {
            const int code = ConfigFile::AsInt(_description->Value(section, key, "0", true));
            AddKeyframeChange(frame, code, key, sprite);
            if (slow) {
                SDL_Delay(kSlowPauseMs);
            }
        }
    }
    // The records that remain: dropped ones leave no image behind.
    for (const auto& record : _description->_anims) {
        SDL_PixelFormat* format = record->_transparency == 2 ? Canvas::PerPixelFormat() : nullptr;
        auto* sheet = new ImageResource(record->_image, record->_frames, 1, format);
        sheet->AllowImageDelete(true); // the image below deletes it
        _images.push_back(std::make_unique<Image>(sheet, 0, 0, 0));
        if (slow) {
            SDL_Delay(kSlowPauseMs);
        }
    }
}

void AnimatedAppScript::AddKeyframeChange(int frame, int code, std::string text, int sprite)
{
    auto& changes = _keyframes[frame];
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        KeyframeChange& change = **it;
        if (change._sprite != sprite || change._code != code) {
            continue;
        }
        if (change._text == text) {
            return;
        }
        DebugVar(1, "DELETING DUPLICATE FRAME!! %d", code);
        if (_description != nullptr) {
            _description->DeleteKey(KeyframeSection(frame, sprite), change._text);
        }
        changes.erase(it);
        break;
    }
    changes.push_back(std::make_unique<KeyframeChange>(sprite, code, text));
}

void AnimatedAppScript::DeleteKeyFrame(int frame)
{
    _keyframes.erase(frame);
}

std::vector<const KeyframeChange*> AnimatedAppScript::GetKeyframe(int frame) const
{
    std::vector<const KeyframeChange*> changes;
    const auto it = _keyframes.find(frame);
    if (it != _keyframes.end()) {
        for (const auto& change : it->second) {
            changes.push_back(change.get());
        }
    }
    return changes;
}

void AnimatedAppScript::SetupSprites()
{
    if (_description == nullptr) {
        return;
    }
    for (size_t i = 0; i < _images.size(); ++i) {
        AnimData* record = _description->_anims[i].get();
        auto* sprite = new CastMemberImage(_currentCast, _images[i].get(), record->_pos.GetX(),
                                           record->_pos.GetY(), record->_pri, 0);
        GetDefaultStuff(static_cast<int>(i), sprite, record);
        sprite->DeleteOnRemovedFromCast(true);
        sprite->AllowInput(false);
        sprite->AllowDragging(false);
        sprite->AllowClicks(false);
        _sprites.push_back(sprite);
    }
    ResetGlobalAnimationDefaults();
}

void AnimatedAppScript::GetDefaultStuff(int index, CastMemberImage* sprite, AnimData* record)
{
    sprite->SetID(index + kFirstSpriteId);
    sprite->SetName(record->_image);
    if (record->_image == "0") {
        return;
    }
    sprite->Move(record->_pos.GetX(), record->_pos.GetY(), true);
    sprite->SetAlpha(record->_alpha);
    if (record->_transparency == 1) {
        sprite->UseTransparency(true);
    }
    if (record->_loops == 0) {
        sprite->StopLooping();
    } else {
        sprite->Loop(record->_speed, record->_loops > 0 ? record->_loops : -1, record->_beginDelay,
                     record->_loopDelay);
    }
    if (record->_visible) {
        sprite->Show();
    } else {
        sprite->Hide();
    }
    sprite->UseSmoothing(record->_smooth);
    if (record->_rotMillis > 0) {
        sprite->Rotate(record->_rotation, record->_rotMillis);
    } else if (record->_rotation != 0.0f || sprite->GetRotation() != 0.0f) {
        sprite->RotateTo(record->_rotation, 0, nullptr);
    }
    if (record->_scale != 1.0f || sprite->GetScale() != 1.0f) {
        sprite->ScaleTo(record->_scale, 0, nullptr);
    }
    if (record->_mirror == "h") {
        sprite->MirrorHorizontal(true);
    } else if (record->_mirror == "v") {
        sprite->MirrorVertical(true);
    } else {
        sprite->MirrorVertical(false);
        sprite->MirrorHorizontal(false);
    }
    if (!record->_sequence.empty()) {
        ProcessSpriteCommand(sprite, kFrames, record->_sequence);
    }
}

void AnimatedAppScript::ResetGlobalAnimationDefaults()
{
    _currentCast->ZoomBackground(1.0f, 0, 0);
    if (Music::IsPlaying()) {
        Music::Stop();
    }
    Channel::StopAll();
    if (_subtitle != nullptr) {
        _subtitle->SetText("");
    }
    if (_description == nullptr) {
        return;
    }
    ReleaseBackground();
    _backgroundImage = std::make_unique<Image>(_description->_background, nullptr);
    Color color = _description->_bgColor;
    _currentCast->SetBackgroundOffset(_description->_bgOffset, color);
    _currentCast->SetBackground(_backgroundImage.get());
    _backgroundCast = _currentCast;
}

void AnimatedAppScript::ReleaseBackground()
{
    // The stage paints what it was given: it lets go first.
    if (_backgroundCast != nullptr && _backgroundImage != nullptr &&
        _backgroundCast->GetBackground() == _backgroundImage.get()) {
        _backgroundCast->SetBackground(static_cast<Image*>(nullptr));
    }
    _backgroundImage.reset();
    _backgroundCast = nullptr;
}

void AnimatedAppScript::SetBackgroundImage(const std::string& file)
{
    ReleaseBackground();
    _backgroundImage = std::make_unique<Image>(file, nullptr);
    _currentCast->SetBackground(_backgroundImage.get());
    _backgroundCast = _currentCast;
}

void AnimatedAppScript::ShowStuffAtFrame()
{
    const auto it = _keyframes.find(_frame);
    if (it == _keyframes.end()) {
        return;
    }
    for (const auto& change : it->second) {
        CastMemberImage* sprite = nullptr;
        if (change->_sprite >= 0 && change->_sprite < static_cast<int>(_sprites.size())) {
            sprite = _sprites[change->_sprite];
        }
        ProcessSpriteCommand(sprite, change->_code, change->_text);
    }
}

void AnimatedAppScript::CleanUpAnimation(int fade)
{
    if (fade != 0) {
        // The pauses let the sounds fade before they are freed: with none playing, or the music
        // already fading out (the splash's, faded with the screen), there is nothing to wait for
        // and the screen, dark by then, would only stay black.
        const bool sounding = AnyChannelPlaying();
        Channel::FadeAll(kCleanUpFadeMs);
        if (Music::IsPlaying() && !Music::IsFadingOut()) {
            Music::FadeOut(kCleanUpMusicFadeMs);
            SDL_Delay(kCleanUpPauseMs);
        }
        if (sounding) {
            SDL_Delay(kCleanUpPauseMs);
        }
    }
    if (_description != nullptr) {
        // Flagged to be deleted when removed: the stage lets each go at the end of its frame.
        for (CastMemberImage* sprite : _sprites) {
            sprite->SetCast(nullptr);
        }
        _sounds.clear();
        _images.clear();
        _keyframes.clear();
        _description.reset();
    }
    _sprites.clear();
    _images.clear();
    _sounds.clear();
    _keyframes.clear();
    _sequences.clear();
    _music.reset();
    if (_subtitle != nullptr) {
        _subtitle->Hide();
        if (Cast* cast = _subtitle->GetCast()) {
            cast->SafeDelete(_subtitle);
        }
        _subtitle = nullptr;
    }
    ReleaseBackground();
    _animationPresent = false;
}
