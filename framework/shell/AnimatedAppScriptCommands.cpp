// AnimatedAppScript: the keyframe commands.
#include "framework/core/StringUtils.h"
#include "framework/media/Music.h"
#include "framework/media/Sound.h"
#include "framework/shell/AnimatedAppScript.h"
#include "framework/shell/SpriteRunnerConfigFile.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberImage.h"
#include "framework/stage/CastMemberText.h"

#include <cstdlib>

namespace {

constexpr int kDefaultFadeMs = 1000;
constexpr int kSubtitleShadowAlpha = 64;
constexpr int kSequenceSpeed = 100;

std::vector<std::string> Split(const std::string& text)
{
    std::vector<std::string> pieces;
    StringUtils::SplitString(text, ",", pieces, false);
    return pieces;
}

int IntAt(const std::vector<std::string>& pieces, size_t i, int fallback)
{
    return i < pieces.size() ? std::atoi(pieces[i].c_str()) : fallback;
}

double DoubleAt(const std::vector<std::string>& pieces, size_t i, double fallback)
{
    return i < pieces.size() ? std::atof(pieces[i].c_str()) : fallback;
}

// How many values each command needs; a command given fewer is not run.
size_t ValuesNeeded(int code)
{
    switch (code) {
    case AnimatedAppScript::kMoveTo:
    case AnimatedAppScript::kZoom:
        return 3;
    case AnimatedAppScript::kScaleTo:
    case AnimatedAppScript::kRotate:
    case AnimatedAppScript::kRotateTo:
    case AnimatedAppScript::kLoop:
        return 2;
    default:
        return 0;
    }
}

bool NeedsSprite(int code)
{
    return code < AnimatedAppScript::kMusic;
}

} // namespace

void AnimatedAppScript::ProcessSpriteCommand(CastMemberImage* sprite, int code, std::string text)
{
    if (sprite == nullptr && NeedsSprite(code)) {
        DebugVar(1, "Keyframe command %d for a missing sprite skipped", code);
        return;
    }
    const std::vector<std::string> pieces = Split(text);
    if (pieces.size() < ValuesNeeded(code)) {
        DebugVar(1, "Keyframe command %d needs %d values: \"%s\" ignored", code,
                 static_cast<int>(ValuesNeeded(code)), text.c_str());
        return;
    }
    switch (code) {
    case kShowHide:
        ShowOrFade(sprite, pieces);
        break;
    case kAlpha:
        sprite->SetAlpha(std::atoi(text.c_str()));
        break;
    case kPriority:
        sprite->SetPriority(std::atoi(text.c_str()));
        break;
    case kMoveTo:
        sprite->MoveTo(IntAt(pieces, 0, 0), IntAt(pieces, 1, 0),
                       static_cast<unsigned int>(IntAt(pieces, 2, 0)), false, 1.0f);
        break;
    case kScaleTo:
        sprite->ScaleTo(static_cast<float>(DoubleAt(pieces, 0, 1.0)), IntAt(pieces, 1, 0), nullptr);
        break;
    case kRotate: {
        const int degrees = IntAt(pieces, 0, 0);
        const int ms = IntAt(pieces, 1, 0);
        if (degrees == 0 && ms == 0) {
            sprite->StopRotating(false);
        } else {
            sprite->Rotate(static_cast<float>(degrees), ms);
        }
        break;
    }
    case kRotateTo:
        sprite->RotateTo(static_cast<float>(IntAt(pieces, 0, 0)), IntAt(pieces, 1, 0), nullptr);
        break;
    case kLoop:
        sprite->Loop(IntAt(pieces, 0, 0), IntAt(pieces, 1, 0), 0, 0);
        break;
    case kFrames:
        SetFrames(sprite, text);
        break;
    case kMirror:
        if (text == "v") {
            sprite->MirrorVertical(true);
        } else if (text == "h") {
            sprite->MirrorHorizontal(true);
        } else if (text == "off") {
            sprite->MirrorHorizontal(false);
            sprite->MirrorVertical(false);
        }
        break;
    case kSmoothing:
        sprite->UseSmoothing(text != "off");
        break;
    case kMusic:
        PlayMusic(pieces);
        break;
    case kBackground:
        if (text.empty() && _description == nullptr) {
            DebugVar(1, "Background command without a description ignored");
            break;
        }
        SetBackgroundImage(text.empty() ? _description->_background : text);
        break;
    case kSubtitle:
        ShowSubtitle(text);
        break;
    case kZoom:
        _currentCast->ZoomBackground(static_cast<float>(DoubleAt(pieces, 0, 1.0)),
                                     IntAt(pieces, 1, 0), IntAt(pieces, 2, 0));
        break;
    case kSound:
        PlaySound(pieces);
        break;
    default:
        break;
    }
}

void AnimatedAppScript::ShowOrFade(CastMemberImage* sprite, const std::vector<std::string>& pieces)
{
    if (pieces.empty()) {
        return;
    }
    const std::string& word = pieces[0];
    const int ms = IntAt(pieces, 1, kDefaultFadeMs);
    const bool hasAlpha = pieces.size() >= 3;
    int alpha = IntAt(pieces, 2, 0);
    if (word == "show") {
        sprite->Show();
    } else if (word == "hide") {
        sprite->Hide();
    } else if (word == "fadein") {
        if (!hasAlpha) {
            sprite->SetAlpha(0);
            sprite->Show();
            alpha = 255;
        }
        sprite->FadeIn(alpha, static_cast<unsigned int>(ms), nullptr);
    } else if (word == "fadeout") {
        if (!hasAlpha) {
            sprite->SetAlpha(255);
            sprite->Show();
        }
        sprite->FadeOut(0, static_cast<unsigned int>(ms), nullptr);
    }
}

void AnimatedAppScript::SetFrames(CastMemberImage* sprite, const std::string& text)
{
    const std::vector<std::string> pieces = Split(text);
    if (pieces.size() < 2) {
        const int frame = IntAt(pieces, 0, 0);
        if (frame == -1) {
            sprite->NewFrameSequence(nullptr, 0);
        } else {
            sprite->StopLooping();
            sprite->SetFrame(frame, 0);
        }
        return;
    }
    const int last = sprite->GetNumFrames() - 1;
    std::vector<int>& frames = _sequences.emplace_back();
    for (const std::string& piece : pieces) {
        int frame = std::atoi(piece.c_str());
        if (frame > last) {
            frame = last;
        }
        // Below the sheet's first frame there is nothing to show.
        if (frame < 0) {
            frame = 0;
        }
        frames.push_back(frame);
    }
    if (!sprite->GetLooping()) {
        sprite->Loop(kSequenceSpeed, -1, 0, 0);
    }
    sprite->NewFrameSequence(frames.data(), static_cast<int>(frames.size()));
}

void AnimatedAppScript::PlayMusic(const std::vector<std::string>& pieces)
{
    if (pieces.empty()) {
        DebugVar(1, "Music command without a file ignored");
        return;
    }
    const int ms = IntAt(pieces, 1, 0);
    if (pieces[0] == "fadeout") {
        Music::FadeOut(ms);
        return;
    }
    const int loops = IntAt(pieces, 2, -1);
    const double position = DoubleAt(pieces, 3, 0.0);
    _music.reset();
    _music = std::make_unique<Music>(pieces[0].c_str());
    if (ms > 0) {
        Music::FadeIn(_music.get(), ms, loops, position);
    } else {
        Music::Play(_music.get(), loops);
    }
}

void AnimatedAppScript::ShowSubtitle(const std::string& text)
{
    if (_subtitle != nullptr) {
        _subtitle->SetText(text);
        return;
    }
    if (_description == nullptr) {
        DebugVar(1, "Subtitle command without a description ignored");
        return;
    }
    SpriteRunnerConfigFile& d = *_description;
    _subtitle = new CastMemberText(_currentCast, text, d._subtitleFont.get(), d._subtitleColor,
                                   d._subtitleColor, d._subtitleShadowColor, d._subtitleWidth,
                                   d._subtitlePos.GetX(), d._subtitlePos.GetY(), 0);
    _subtitle->DeleteOnRemovedFromCast(true);
    _subtitle->SetDropShadow(d._subtitleShadow.GetX(), d._subtitleShadow.GetY(),
                             d._subtitleShadowColor, kSubtitleShadowAlpha);
    _subtitle->Justify(d._subtitleJustify);
    _subtitle->Show();
}

void AnimatedAppScript::PlaySound(const std::vector<std::string>& pieces)
{
    if (pieces.empty()) {
        DebugVar(1, "Sound command without a file ignored");
        return;
    }
    const std::string& file = pieces[0];
    auto it = _sounds.find(file);
    if (it == _sounds.end()) {
        it = _sounds.emplace(file, std::unique_ptr<Sound>(Sound::LoadSound(file, false))).first;
    }
    if (it->second != nullptr) {
        it->second->Play(IntAt(pieces, 1, 0));
    }
}
