// MjClassic: the chooser's mode tiles and help, best-result panel, scene text and scene choice.

#include "framework/core/Color.h"
#include "framework/core/ConfigFile.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/stage/Cast.h"
#include "mahjong/board/MjPuzzleRules.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/screen/MjClassic.h"
#include "mahjong/screen/MjClassicConfig.h"

#include <string>

namespace {

// Mode tiles along the top bar; frame rows of the sheet.
constexpr int kModeTileX = 16;
constexpr int kModeTilePitch = 128;
constexpr int kModeTileY = 8;
constexpr int kPlainRow = 0;
constexpr int kHoveredRow = 1;
constexpr int kChosenRow = 2;
// The mode help: five lines centred in a box of this width; the title sits just below the
// centre place's top edge, the other lines at a fixed pitch.
constexpr int kModeLines = 5;
constexpr int kModeTextX = 250;
constexpr int kModeTextWidth = 300;
constexpr int kModeTitleDrop = 2;
constexpr int kModeTextTop = 220;
constexpr int kModeTextPitch = 23;
constexpr int kModeShadowAlpha = 223;
constexpr int kCentred = 2;
// The boards page of the classic looks sits this much lower than its layout says.
constexpr int kBoardsPageDrop = 25;
// The scene text: its heading's place, the extra gaps after the heading and after the first
// line.
constexpr int kSceneLines = 5;
constexpr int kSceneHeadingX = 270;
constexpr int kSceneHeadingY = 280;
// The centre nameplate's entry of _cellSprites.
constexpr int kNameplateRow = 2;
constexpr int kQuestHeadingGap = 3;
constexpr int kFirstLineGap = 5;
// The best panel's gaps below its lines.
constexpr int kValueGap = 2;
constexpr int kHeadingGap = 13;
constexpr int kSecondValueGap = 15;
constexpr int kHolderGap = 17;

const Color kTitleColor(190, 228, 255, 255);
const Color kValueColor(255, 212, 99, 255);
const Color kOpaqueBlack(0, 0, 0, 255);

void ShowLabel(MjTextLabel* label, bool shown)
{
    if (label == nullptr) {
        return;
    }
    if (shown) {
        label->Show();
    } else {
        label->Hide();
    }
}

} // namespace

void MjClassic::MakeModeControls()
{
    _hoveredMode = -1;
    if (_selectionKind == 0 && !_quest) {
        if (_modesSheet == nullptr || !_modesSheet->IsLoaded()) {
            DebugVar(-1, "No mode tiles: the mode sheet did not load");
        } else {
            for (int n = 0; n < kModeTiles; ++n) {
                if (_modeTiles[n] == nullptr) {
                    Image frame(_modesSheet.get(), n, kPlainRow, 0);
                    _modeTiles[n] = new MjTile(this, _cast, &frame, kModeTileX + kModeTilePitch * n,
                                               kModeTileY, n, n, kModeTileKind, n, n, n, n);
                    _modeTiles[n]->UseTransparency(true);
                }
                _modeTiles[n]->SetFrame(n, n == _playMode + 1 ? kChosenRow : kPlainRow);
            }
        }
    }

    Point pos = _puzzlesFile != nullptr
                    ? _puzzlesFile->ValueAsPoint(_selectionTitle, "pos", Point(0, 0))
                    : Point(0, 0);
    const Point space = _puzzlesFile != nullptr
                            ? _puzzlesFile->ValueAsPoint(_selectionTitle, "space", Point(0, 0))
                            : Point(0, 0);
    if (!_quest && _selectionKind == 0) {
        pos = Point(pos.GetX(), pos.GetY() + kBoardsPageDrop);
    }
    // The title takes the panel's heading font, the help lines the font of their own section.
    const int fontIndex[2] = {ConfigInt(_config, "HighlightText", "font", 0),
                              ConfigInt(_config, "modetext", "font", 0)};
    Font* fonts[2] = {};
    for (int n = 0; n < 2; ++n) {
        const int index = fontIndex[n];
        fonts[n] = index >= 0 && index < kFonts && _fonts[index] != nullptr ? _fonts[index].get()
                                                                            : _fonts[0].get();
    }
    const Color color1 = _config->ValueAsColor("modetext", "color1", kOpaqueBlack);
    const Color color2 = _config->ValueAsColor("modetext", "color2", kOpaqueBlack);
    const Color color3 = _config->ValueAsColor("modetext", "color3", kOpaqueBlack);
    for (int line = 0; line < kModeLines; ++line) {
        if (_modeTextLines[line] != nullptr) {
            continue;
        }
        const bool title = line == 0;
        const int y = title ? pos.GetY() + space.GetY() + kModeTitleDrop
                            : kModeTextTop + kModeTextPitch * line;
        auto* label = new MjTextLabel(this, _cast, " ", fonts[title ? 0 : 1],
                                      title ? kTitleColor : color1, title ? kTitleColor : color2,
                                      color3, kModeTextWidth, kModeTextX, y, kLabelPriority);
        label->SetDropShadow(-_shadowWidth, _shadowWidth, kOpaqueBlack, kModeShadowAlpha);
        label->Justify(kCentred);
        label->SetNoShadow(true);
        _modeTextLines[line] = label;
    }
}

void MjClassic::ShowModeText(MjTile* tile, bool entering, int, int)
{
    if (tile == nullptr) {
        return;
    }
    const int n = tile->GridI();
    if (n < 0 || n >= kModeTiles) {
        return;
    }
    if (entering) {
        // Tile n shows play mode n - 1: the lantern's help is section "mode-1".
        const std::string section = "mode" + std::to_string(n - 1);
        for (int k = 0; k < kInfoLines; ++k) {
            ShowLabel(_infoLines[k], false);
            if (_modeTextLines[k] != nullptr) {
                const std::string key = k == 0 ? std::string("title") : "text" + std::to_string(k);
                _modeTextLines[k]->SetText(ConfigText(_modesFile.get(), section, key, " "));
                _modeTextLines[k]->Show();
            }
        }
        tile->SetFrame(n, kHoveredRow);
        _hoveredMode = n;
        return;
    }
    tile->SetFrame(n, n == _playMode + 1 ? kChosenRow : kPlainRow);
    if (n == _hoveredMode) {
        for (int k = 0; k < kInfoLines; ++k) {
            ShowLabel(_infoLines[k], true);
            ShowLabel(_modeTextLines[k], false);
        }
    }
}

void MjClassic::ShowBestPanel(int x, int y, int lineHeight)
{
    const std::string key = MjPuzzleRules::SeedKey(_config->_type, _puzzle);
    const BoardRecords records = ReadBoardRecords(key);
    const int high = records.high;
    const int best = records.best;
    std::string holder = records.holder;
    if (holder.empty()) {
        holder = " ";
    }
    const bool timed = _config->_type == kTimedType;
    const int h = lineHeight;
    struct Line
    {
        const char* section;
        std::string text;
        int y;
        bool value; // takes its text on every call, in the value colour
    };
    const Line lines[kInfoLines - 1] = {
        {"HighlightText", timed ? "Your Best Time" : "Your Best Score", y, false},
        {"TitleText", best == 0 ? std::string("Unplayed") : FormatNumber(best), y + h + kValueGap,
         true},
        {"HighlightText", timed ? "Lowest Time" : "Highest Score", y + 2 * h + kHeadingGap, false},
        {"TitleText", high == 0 ? std::string("Unplayed") : FormatNumber(high),
         y + 3 * h + kSecondValueGap, true},
        {"TitleText", holder, y + 4 * h + kHolderGap, true},
    };
    for (int n = 0; n < kInfoLines - 1; ++n) {
        const Line& line = lines[n];
        MjTextLabel*& label = _infoLines[n + 1];
        if (label == nullptr) {
            label = MakeLabel(line.section, line.text, kLabelPriority, x, line.y);
            if (label == nullptr) {
                continue;
            }
            if (line.value) {
                label->SetColorBoth(kValueColor);
            }
        } else if (line.value) {
            label->SetText(line.text);
        }
    }
    for (int k = 0; k < kInfoLines; ++k) {
        ShowLabel(_infoLines[k], true);
        ShowLabel(_modeTextLines[k], false);
    }
}

void MjClassic::ShowSceneText(int x, int y, int lineHeight)
{
    const std::string section = "scene" + std::to_string(_puzzle + 1);
    int lineY = y;
    for (int k = 0; k < kSceneLines; ++k) {
        MjTextLabel*& label = _infoLines[k];
        if (label == nullptr) {
            label =
                MakeLabel(k == 0 && !_quest ? "ReplayText" : "modetext", " ", kLabelPriority, x, y);
            if (label == nullptr) {
                continue;
            }
        }
        const std::string key = k == 0 ? std::string("title") : "text" + std::to_string(k);
        label->SetText(k == 0 && !_quest ? std::string("Haiku Reflections")
                                         : ConfigText(_scenesFile.get(), section, key, ""));
        if (k == 0) {
            // On the selection screen the heading sits on the centre nameplate.
            CastMember* plate = _cellSprites[kNameplateRow][kCentrePlace];
            if (plate != nullptr) {
                CentreOnPlate(label, plate);
            } else {
                label->Move(kSceneHeadingX, kSceneHeadingY, false);
            }
        } else {
            label->Move(x, lineY, false);
        }
        lineY += lineHeight;
        if (k == 0 && _quest) {
            lineY += kQuestHeadingGap;
        }
        if (k == 1 && !_quest) {
            lineY += kFirstLineGap;
        }
        label->Show();
    }
}

void MjClassic::SetSceneChoice(int scene)
{
    _sceneChoice = scene < 0 || scene > kDefaultSceneChoice ? kDefaultSceneChoice : scene;
    if (_progressFile != nullptr) {
        _progressFile->Write("global", "scenechoice", _sceneChoice);
        _progressFile->Flush();
    }
    // The game script shows the new picture before it frees the old one.
    Image* background = MakeBackground();
    if (_cast != nullptr && background != nullptr) {
        _cast->SetBackground(background);
    }
}
