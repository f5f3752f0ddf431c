// A board of the game in a real window, for the Xvfb test (board_scene.sh). Run in a copy of the
// game's data folder, it starts a game of the given variant through the game script (look file,
// board screen, background, fade-in), sets up board 0 with seed 7 and start mode 1 once the
// fade-in is over, shows the heads-up labels as the board's opening does and flies the tiles in.
//
// It reports on stdout: "started" once the game is built, "flying" when the fly-in starts, then,
// 2 s later, "tiles N PLACED CELLS" (tile sprites on the stage, how many stand on their cell with
// its priority, and the grid's tiles), "face X Y R,G,B" for a few tile faces whose point (X, Y) no
// other sprite covers, "label SECTION X Y W H R,G,B" for each label shown, "button ID X Y W H
// ENABLED FILE" for the board's buttons, "rim X Y FILE" for both rims, and "ready". Escape ends it.
//
// Usage: board_scene_xvfb VARIANT (1 puzzles, 2 classic boards)
#include "SDL.h"
#include "framework/core/Application.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Framework.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberButton.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/screen/MjClassic.h"
#include "mahjong/screen/MjClassicConfig.h"
#include "tests/xvfb/GameSceneApp.h"
#include "tests/xvfb/XvfbSceneSupport.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

using xvfbscene::Say;

// The screen fades in over 2000 ms; the board is set up after it, as the real opening does.
constexpr unsigned int kSetupAfterMs = 2200;
// The screenshot is taken this long after the fly-in started.
constexpr unsigned int kShotAfterMs = 2000;
constexpr int kBoard = 0;
constexpr int kSeed = 7;
constexpr int kStartMode = 1;
constexpr int kSetupReason = 3;
constexpr int kFaceSamples = 6;
// A point on a tile's face (the face sits 8 px right of the body edge), and how far a tile's
// drop shadow reaches.
constexpr int kFaceX = 28;
constexpr int kFaceY = 25;
constexpr int kShadowReach = 4;
// Points of the board picture away from the middle, where most boards leave it free.
constexpr std::pair<int, int> kBackgroundPoints[] = {
    {12, 120}, {12, 300}, {785, 300}, {785, 480}, {400, 510}};

std::string Rgb(const Color& c)
{
    return std::to_string(c.GetR()) + "," + std::to_string(c.GetG()) + "," +
           std::to_string(c.GetB());
}

class BoardSceneApp final : public GameSceneApp
{
public:
    explicit BoardSceneApp(int variant) : GameSceneApp("BoardScene", variant) {}

private:
    void Step() override
    {
        const unsigned int now = _animationManager->Time();
        switch (_step) {
        case 0:
            _script->LoadGameConfigs(false);
            _script->DoState(MjGameScript::kStartGame);
            if (_script->GetScreen() == nullptr) {
                Say("no game");
                _script->ChangeState(AppScript::kQuit);
                _step = -1;
                return;
            }
            LeaveChooser();
            Say("started");
            _mark = now;
            _step = 1;
            return;
        case 1:
            if (now - _mark >= kSetupAfterMs) {
                Open();
                _mark = now;
                _step = 2;
            }
            return;
        case 2:
            if (now - _mark >= kShotAfterMs) {
                Report();
                _step = 3;
            }
            return;
        default:
            return;
        }
    }

    // The game opens on the board chooser: it is left for the board (the scene shows the board
    // itself, so the game's first opening stays marked and starts no play).
    void LeaveChooser()
    {
        MjClassic* screen = _script->GetScreen();
        if (screen->_previewDeal != 0) {
            Say("chooser left");
            screen->LeaveSelectionScreen(false);
        }
    }

    // The board as its opening shows it: set up, labels shown, tiles flying in.
    void Open()
    {
        LeaveChooser();
        MjClassic* screen = _script->GetScreen();
        screen->SelectPuzzle(kBoard);
        screen->SetupBoard(kSetupReason, kSeed, kStartMode, "");
        for (MjTextLabel* label : Labels(*screen)) {
            label->Show();
        }
        if (screen->_timerSprites[0] != nullptr) {
            screen->_timerSprites[0]->Show();
        }
        screen->_layout->AnimateAll(screen, MjLayout::kFlyIn, 0);
        Say("flying");
    }

    // The labels the opening shows.
    static std::vector<MjTextLabel*> Labels(MjClassic& screen)
    {
        std::vector<MjTextLabel*> labels = {screen._matchesLeftText, screen._titleText,
                                            screen._scoreText, screen._scoreTotText};
        if (screen._config->_type == MjClassic::kTimedType) {
            for (MjTextLabel* time : screen._scoreTimeText) {
                labels.push_back(time);
            }
        }
        if (screen._titleText2 != nullptr) {
            labels.push_back(screen._titleText2);
        }
        return labels;
    }

    void Report()
    {
        MjClassic& screen = *_script->GetScreen();
        MjLayout& layout = *screen._layout;
        Cast* cast = _animationManager->GetCast();
        std::vector<MjTile*> tiles;
        for (CastMember* member : cast->GetCastMembers()) {
            if (auto* tile = dynamic_cast<MjTile*>(member)) {
                tiles.push_back(tile);
            }
        }
        int placed = 0;
        for (MjTile* tile : tiles) {
            const int i = tile->GridI(), j = tile->GridJ(), k = tile->GridK();
            placed += layout.Cell(i, j, k).tile == tile && tile->GetX() == layout.CellX(i, j, k) &&
                              tile->GetY() == layout.CellY(i, j, k) &&
                              tile->GetPriority() == MjLayout::Priority(i, j, k)
                          ? 1
                          : 0;
        }
        int cells = 0;
        for (int index : layout.OriginIndices()) {
            int i, j, k;
            MjLayout::IndexToCell(index, i, j, k);
            cells += layout.Cell(i, j, k).state == MjCell::kOrigin ? 1 : 0;
        }
        Say("tiles " + std::to_string(tiles.size()) + " " + std::to_string(placed) + " " +
            std::to_string(cells));
        SayFaces(*cast, tiles);
        SayBackground(*cast, _script->GetBackground());
        for (MjTextLabel* label : Labels(screen)) {
            const Color colour =
                screen._config->ValueAsColor(Section(screen, label), "color1", Color(0, 0, 0));
            Say("label " + Section(screen, label) + " " + std::to_string(label->GetX()) + " " +
                std::to_string(label->GetY()) + " " + std::to_string(label->GetW()) + " " +
                std::to_string(label->GetH()) + " " + Rgb(colour) + " " + label->GetText());
        }
        const MjClassicConfig& look = *screen._config;
        SayButton(screen._hintButton, look._hintImg);
        SayButton(screen._undoButton, look._undoImg);
        SayButton(screen._replayButton, look._replayImg);
        SayButton(screen._pauseButton, look._pauseImg);
        SayButton(screen._newGameButton, look._newGameImg);
        SayButton(_script->GetMenuButton(), look._menuImg);
        const std::string rim = screen._config->Value("rim", "img", std::string(""), true);
        for (CastMember* sprite : {screen._rimTop, screen._rimBottom}) {
            if (sprite != nullptr) {
                Say("rim " + std::to_string(sprite->GetX()) + " " + std::to_string(sprite->GetY()) +
                    " " + rim);
            }
        }
        Say("ready");
    }

    static std::string Section(MjClassic& screen, MjTextLabel* label)
    {
        if (label == screen._matchesLeftText) {
            return "MatchesLeft";
        }
        if (label == screen._titleText) {
            return "TitleText";
        }
        if (label == screen._titleText2) {
            return "TitleText2";
        }
        if (label == screen._scoreText) {
            return "ScoreText";
        }
        if (label == screen._scoreTotText) {
            return "ScoreTotText";
        }
        for (int n = 0; n < MjClassic::kScoreTimes; ++n) {
            if (label == screen._scoreTimeText[n]) {
                return "ScoreTime" + std::to_string(n + 1);
            }
        }
        return "?";
    }

    // Whether a visible sprite in front of priority (or at it, other than self) covers (x, y),
    // drop shadow included.
    static bool Covered(Cast& cast, const CastMember* self, int priority, int x, int y)
    {
        for (CastMember* other : cast.GetCastMembers()) {
            if (other == self || !other->IsVisible() || other->GetPriority() > priority) {
                continue;
            }
            if (x >= other->GetX() - kShadowReach &&
                x < other->GetX() + other->GetW() + kShadowReach &&
                y >= other->GetY() - kShadowReach &&
                y < other->GetY() + other->GetH() + kShadowReach) {
                return true;
            }
        }
        return false;
    }

    // Faces spread over the board whose sample point no sprite in front of them covers.
    static void SayFaces(Cast& cast, const std::vector<MjTile*>& tiles)
    {
        const int stride = std::max(1, static_cast<int>(tiles.size()) / (kFaceSamples * 3));
        int said = 0;
        for (size_t n = 0; n < tiles.size() && said < kFaceSamples; n += stride) {
            MjTile* tile = tiles[n];
            const int x = tile->GetX() + kFaceX;
            const int y = tile->GetY() + kFaceY;
            Image* image = tile->GetImage();
            if (Covered(cast, tile, tile->GetPriority(), x, y) || image == nullptr ||
                image->GetCanvas() == nullptr) {
                continue;
            }
            Say("face " + std::to_string(x) + " " + std::to_string(y) + " " +
                Rgb(image->GetCanvas()->GetPixel(kFaceX, kFaceY)));
            ++said;
        }
    }

    // Points of the stage background (the board picture between the bars) that no sprite covers.
    static void SayBackground(Cast& cast, Image* background)
    {
        if (background == nullptr || background->GetCanvas() == nullptr) {
            Say("no background");
            return;
        }
        for (const auto& [x, y] : kBackgroundPoints) {
            if (!Covered(cast, nullptr, INT_MAX, x, y)) {
                Say("background " + std::to_string(x) + " " + std::to_string(y) + " " +
                    Rgb(background->GetCanvas()->GetPixel(x, y)));
            }
        }
    }

    static void SayButton(CastMemberButton* button, const std::string& file)
    {
        if (button == nullptr) {
            return;
        }
        Say("button " + std::to_string(button->GetID()) + " " + std::to_string(button->GetX()) +
            " " + std::to_string(button->GetY()) + " " + std::to_string(button->GetW()) + " " +
            std::to_string(button->GetH()) + " " + (button->GetEnabled() ? "1" : "0") + " " + file);
    }

    int _step = 0;
    unsigned int _mark = 0;
};

} // namespace

int main(int argc, char** argv)
{
    const int variant = argc > 1 ? std::atoi(argv[1]) : 2;
    ConfigFile::TurnEncryption(true);
    BoardSceneApp app(variant);
    const int code = Application::Execute(1, argv);
    std::fflush(stdout);
    return code;
}
