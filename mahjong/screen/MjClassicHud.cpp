// MjClassic: heads-up labels, score and total, the hint label and the timer's sprites.
#include "framework/core/Color.h"
#include "framework/core/Point.h"
#include "framework/core/TickSource.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberButton.h"
#include "framework/stage/CastMemberImage.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/screen/MjClassic.h"
#include "mahjong/screen/MjClassicConfig.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>

namespace {

constexpr int kDefaultLabelWidth = 100;
constexpr int kDefaultJustify = 2; // centred
const Color kDefaultLabelColor(192, 192, 192, 255);
const Color kLabelShadow(0, 0, 0, 255);

// Answers of the layout's free-pair count besides a count.
constexpr int kNoPairCounted = -1;
constexpr int kTooFewFree = -2;

// The hint button stays usable while this many pairs or fewer are left, and on the quest's first
// two boards whatever the count.
constexpr int kHintPairLimit = 2;
constexpr int kHintedQuestBoards = 2;

// Timer sprites.
constexpr int kFusePriority = 999999;
constexpr int kSmokePriority = 999998;
constexpr int kEmberPriority = 999997;
constexpr int kTimerEndPriority = 999996;
constexpr int kTimerEndFrames = 5;
constexpr int kFuse = 0, kSmoke = 1, kEmber = 2;

// Adds delta to counter, which never goes below 0 (nor past the largest int).
void AddClamped(int& counter, int delta)
{
    const long long sum = static_cast<long long>(counter) + delta;
    counter = static_cast<int>(std::clamp<long long>(sum, 0, INT_MAX));
}

void SetLabel(MjTextLabel* label, const std::string& text)
{
    if (label != nullptr) {
        label->SetText(text);
    }
}

std::string TwoDigits(int value)
{
    char text[16];
    std::snprintf(text, sizeof(text), "%02d", value);
    return text;
}

// A count in its labels: the number, or with the timed look minutes and seconds around the
// separator that the number's label shows then.
void ShowCount(MjClassic& screen, int count, MjTextLabel* number, MjTextLabel* minutes,
               MjTextLabel* seconds)
{
    if (screen._config->_type == MjClassic::kTimedType) {
        SetLabel(minutes, TwoDigits(count / 60));
        SetLabel(seconds, TwoDigits(count % 60));
        SetLabel(number, ":");
    } else {
        SetLabel(number, screen.FormatNumber(count));
    }
}

// A sprite drawing a sheet of frames columns on file; the sprite owns the sheet through its
// image. Transparent and hidden.
CastMemberImage* MakeSheetSprite(Cast* cast, const std::string& file, int frames, int x, int y,
                                 int priority)
{
    auto* sheet = new ImageResource(file, std::max(frames, 1), 1, nullptr);
    auto* sprite = new CastMemberImage(cast, new Image(sheet, 0, 0, 1), x, y, priority, 1);
    sprite->UseTransparency(true);
    sprite->Hide();
    return sprite;
}

} // namespace

MjTextLabel* MjClassic::MakeLabel(const std::string& section, const std::string& text, int priority,
                                  int x, int y)
{
    int font = ConfigFile::AsInt(_config->Value(section, "font", 0.0, true));
    Point pos = _config->ValueAsPoint(section, "pos", Point(0, 0));
    if (x != -1) {
        pos = Point(x, y);
    }
    const int width = ConfigFile::AsInt(_config->Value(section, "size", kDefaultLabelWidth, true));
    if (font >= kFonts) {
        DebugVar(-1, "Font error in section %s", section.c_str());
        font = 0;
    } else if (font < 0 || _fonts[font] == nullptr) {
        // A label without a font could not show its text: fall back to the font that always
        // exists.
        DebugVar(-1, "Font %d not made for section %s; font 0 used", font, section.c_str());
        font = 0;
    }
    const Color color = _config->ValueAsColor(section, "color1", kDefaultLabelColor);
    auto* label = new MjTextLabel(this, _cast, text, _fonts[font].get(), color, color, kLabelShadow,
                                  width, pos.GetX(), pos.GetY(), priority);
    label->Justify(ConfigFile::AsInt(_config->Value(section, "justify", kDefaultJustify, true)));
    return label;
}

void MjClassic::AddToScore(int delta)
{
    AddClamped(_boardScore, delta);
    ShowCount(*this, _boardScore, _scoreText, _scoreTimeText[0], _scoreTimeText[1]);
}

void MjClassic::AddToTotal(int delta)
{
    AddClamped(_score, delta);
    ShowCount(*this, _score, _scoreTotText, _scoreTimeText[2], _scoreTimeText[3]);
}

void MjClassic::RefreshFreeCount()
{
    if (_layout == nullptr) {
        _freePairs = kNoPairCounted;
        UpdateHintLabel();
        return;
    }
    _freePairs = _layout->UpdateFree();
    MjClassicShared& shared = Shared();
    if (_playMode == 2 && shared.faceHiding != 0) {
        // The self-scrambling board: no pair left lets the scrambling go on at once, any change
        // puts off its next round.
        if (_freePairs == 0) {
            _freePairs = 1;
            shared.scrambleState = 0;
        } else {
            shared.scrambleTime = static_cast<int>(TickSource::Now());
            if (_freePairs == kTooFewFree) {
                _freePairs = 0;
            }
        }
        UpdateHintLabel();
        return;
    }
    if (_freePairs == kTooFewFree) {
        _freePairs = 0;
    }
    if (_playMode == 1 && shared.faceHiding != 0) {
        _layout->ShowHint(true);
    }
    UpdateHintLabel();
}

void MjClassic::UpdateHintLabel()
{
    const bool hiding = Shared().faceHiding != 0;
    std::string text;
    if (_freePairs == kNoPairCounted) {
        text = hiding ? " " : (_quest ? "Use Hint" : "Hint?");
    } else {
        char number[32];
        std::snprintf(number, sizeof(number), _cheatMode != 0 ? "(%d)" : "%d", _freePairs);
        text = number;
    }
    bool enabled = _previewDeal == 0 && (_freePairs <= kHintPairLimit ||
                                         (_quest && _puzzle >= 0 && _puzzle < kHintedQuestBoards));
    if (_rightPressSelect != 0) {
        enabled = true;
    }
    if (hiding) {
        enabled = false;
    }
    if (_hintButton != nullptr) {
        _hintButton->SetEnabled(enabled);
    }
    SetLabel(_matchesLeftText, text);
}

void MjClassic::CreateTimer()
{
    const std::string section = "timer";
    _timerValues[2] = 0;
    const Point pos = _config->ValueAsPoint(section, "pos", Point(0, 0));
    if (pos.GetX() == 0) {
        return; // this look has no timer
    }
    const Point tip = _config->ValueAsPoint(section, "tip", Point(0, 0));
    const Point smokePos = _config->ValueAsPoint(section, "smokePos", Point(0, 0));

    if (_timerSprites[kFuse] != nullptr) {
        _timerSprites[kFuse]->Hide();
        _cast->SafeDelete(_timerSprites[kFuse]);
    }
    // The fuse burns by drawing into its picture: the sprite holds a picture of its own.
    const std::string fuseFile = _config->Value(section, "timer", std::string("0"), true);
    _timerSprites[kFuse] = new CastMemberImage(_cast, new Image(fuseFile, nullptr), pos.GetX(),
                                               pos.GetY(), kFusePriority, 1);
    _timerSprites[kFuse]->UseTransparency(true);
    _timerSprites[kFuse]->Hide();

    if (_timerResource != nullptr) {
        // A later board of the same screen: the sprites stay, back at their start.
        if (_quest) {
            for (int n : {kSmoke, kEmber}) {
                if (_timerSprites[n] == nullptr) {
                    continue;
                }
                const Point& at = n == kSmoke ? smokePos : tip;
                _timerSprites[n]->Move(at.GetX(), at.GetY(), false);
                _timerSprites[n]->Hide();
            }
        } else if (_config->_type == 0 && _timerEndSprite != nullptr) {
            _timerEndSprite->Hide();
        }
        return;
    }

    if (_quest) {
        _timerResource = std::make_unique<Image>("images/TimerTrick.gif", nullptr);
        const auto text = [&](const char* key) {
            return static_cast<std::string>(_config->Value(section, key, std::string("0"), true));
        };
        const auto number = [&](const char* key) {
            return ConfigFile::AsInt(_config->Value(section, key, std::string("0"), true));
        };
        _timerSprites[kSmoke] = MakeSheetSprite(_cast, text("smoke"), number("smokeFrames"),
                                                smokePos.GetX(), smokePos.GetY(), kSmokePriority);
        _timerSprites[kEmber] = MakeSheetSprite(_cast, text("ember"), number("emberFrames"),
                                                tip.GetX(), tip.GetY(), kEmberPriority);
        _timerSprites[kEmber]->Loop(number("emberSpeed"));
        _timerSprites[kSmoke]->Loop(number("smokeSpeed"));
        return;
    }
    _timerResource = std::make_unique<Image>("images/TimerTrickClassic.png", nullptr);
    if (_config->_type == 0) {
        _timerEndSprite = MakeSheetSprite(_cast, "images/TimerEnding.png", kTimerEndFrames,
                                          pos.GetX(), pos.GetY(), kTimerEndPriority);
    }
}
