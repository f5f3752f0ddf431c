// The board chooser of the game in a real window, for the Xvfb test (chooser_scene.sh). Run in a
// copy of the game's data folder, it starts a game of the given variant through the game script;
// the end of the stage's fade-in opens the game's first board on the chooser, as the real game
// does. Presses come from xdotool; the keys n and p turn to the next and the previous page.
//
// It reports on stdout: "started"; once a page is complete "page N TITLE", "cell PLACE X Y W H"
// for each cell, "point X Y R,G,B" for points of the cells' pictures (miniature or frame) that no
// other sprite covers, "label X Y W H R,G,B TEXT" for the cell labels and the centre label,
// "button ID X Y W H ENABLED FILE" for the page's buttons and "ready N" (N counts the pages
// shown). When the chosen board changes: "chosen P", with "bright X Y R,G,B" (the chosen cell's
// highlighted frame) and "normal X Y R,G,B" (the cell chosen before). Once the board the play
// button started is in play: "board P TITLE", "tiles N", "face X Y R,G,B" and "playing". Escape
// ends it.
//
// With "leave" after the variant it quits the program once the first cells of the page are built
// and the rest are still to come, saying "leaving": the game ends in the middle of the build.
//
// Usage: chooser_scene_xvfb VARIANT [leave] (VARIANT 1 puzzles, 2 classic boards)
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
#include "mahjong/board/MjTileTypes.h"
#include "mahjong/screen/MjClassic.h"
#include "mahjong/screen/MjClassicConfig.h"
#include "tests/xvfb/GameSceneApp.h"
#include "tests/xvfb/XvfbSceneSupport.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

using xvfbscene::Say;

// A page is reported once it has been complete this long (labels repainted, fades over).
constexpr unsigned int kSettleMs = 400;
constexpr int kPlaces = 9;
constexpr int kCentrePlace = 4;
constexpr int kNormalRow = 0;
constexpr int kBrightRow = 1;
constexpr int kLabelRow = 3;
// Points inside a cell above its nameplate, and on the highlighted frame's rim.
constexpr std::pair<int, int> kCellPoints[] = {{60, 30}, {116, 60}, {170, 90}, {30, 80}};
constexpr std::pair<int, int> kFramePoint = {2, 70};
constexpr int kFaceX = 28;
constexpr int kFaceY = 25;
constexpr int kShadowReach = 4;
constexpr int kFaceSamples = 6;
constexpr int kHoppingTiles = 4;
// The chooser's label colours: the chosen cell's (and the centre label's), every other cell's.
const Color kChosenColour(190, 228, 255, 255);
const Color kOtherColour(255, 212, 99, 255);

std::string Rgb(const Color& c)
{
    return std::to_string(c.GetR()) + "," + std::to_string(c.GetG()) + "," +
           std::to_string(c.GetB());
}

class ChooserSceneApp final : public GameSceneApp
{
public:
    ChooserSceneApp(int variant, bool leave) : GameSceneApp("ChooserScene", variant), _leave(leave)
    {}

    void OnKeyDown(SDLKey key, SDLMod mod, unsigned short unicode) override
    {
        GameSceneApp::OnKeyDown(key, mod, unicode);
        MjClassic* screen = _script->GetScreen();
        if ((key == SDLK_n || key == SDLK_p) && screen != nullptr && screen->_pageReady != 0) {
            screen->ButtonClicked(
                key == SDLK_n ? MjClassic::kNextPageId : MjClassic::kPreviousPageId, 1);
            _readySince = 0;
            _pageSaid = false;
        }
    }

private:
    void Step() override
    {
        const unsigned int now = _animationManager->Time();
        if (_step == 0) {
            _script->LoadGameConfigs(false);
            _script->DoState(MjGameScript::kStartGame);
            if (_script->GetScreen() == nullptr) {
                Say("no game");
                _script->ChangeState(AppScript::kQuit);
                _step = -1;
                return;
            }
            // As the shell does once the game's stage shows: the stage takes presses.
            _animationManager->SetMasterInput(true);
            Say("started");
            _step = 1;
            return;
        }
        MjClassic* screen = _script->GetScreen();
        if (_step != 1 || screen == nullptr) {
            return;
        }
        if (_leave) {
            if (screen->_previewDeal != 0 && screen->_pageReady == 0 &&
                MjClassic::Shared().previewIndex > MjClassic::Shared().pageFirst) {
                Say("leaving");
                _script->ChangeState(AppScript::kQuit);
                _step = 2;
            }
            return;
        }
        if (screen->_previewDeal != 0) {
            const bool ready = screen->_pageReady != 0 && !_animationManager->FadingIn();
            if (!ready) {
                _readySince = 0;
                return;
            }
            if (_readySince == 0) {
                _readySince = now;
                return;
            }
            if (now - _readySince < kSettleMs) {
                return;
            }
            if (!_pageSaid) {
                ReportPage(*screen);
                _pageSaid = true;
                _chosen = screen->_puzzle;
            } else if (screen->_puzzle != _chosen) {
                ReportChoice(*screen, _chosen);
                _chosen = screen->_puzzle;
            }
            return;
        }
        // The board the play button started: reported once its tiles have landed and settled
        // (a puzzle may open its own popup over it; play itself is not waited for).
        if (!TilesLanded(*screen)) {
            _readySince = 0;
            return;
        }
        if (_readySince == 0) {
            _readySince = now;
        } else if (now - _readySince >= kSettleMs) {
            ReportBoard(*screen);
            _step = 2;
        }
    }

    // Every tile of the grid shown and opaque, and on its cell but for a few that a board's
    // opening popup makes hop.
    static bool TilesLanded(MjClassic& screen)
    {
        int away = 0;
        MjLayout* layout = screen._layout.get();
        if (layout == nullptr || screen._tileSpriteCount == 0) {
            return false;
        }
        int tiles = 0;
        for (int index : layout->OriginIndices()) {
            int i, j, k;
            MjLayout::IndexToCell(index, i, j, k);
            auto* tile = static_cast<MjTile*>(layout->Cell(i, j, k).tile);
            if (tile == nullptr) {
                continue;
            }
            if (!tile->IsVisible() || tile->GetAlpha() != 255) {
                return false;
            }
            if (tile->GetX() != layout->CellX(i, j, k) || tile->GetY() != layout->CellY(i, j, k)) {
                ++away;
            }
            ++tiles;
        }
        return tiles > 0 && away <= kHoppingTiles;
    }

    // Whether a visible sprite in front of priority (or at it, other than self) covers (x, y).
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

    void ReportPage(MjClassic& screen)
    {
        Cast& cast = *_animationManager->GetCast();
        ++_pages;
        auto* title = dynamic_cast<MjTextLabel*>(screen._cellSprites[kLabelRow][kCentrePlace]);
        Say("page " + std::to_string(screen._puzzle / screen._cellsPerPage) + " " +
            (title != nullptr ? title->GetText() : std::string("?")));
        for (int place = 0; place < kPlaces; ++place) {
            for (int row : {kNormalRow, kBrightRow}) {
                auto* cell = dynamic_cast<CastMemberImage*>(screen._cellSprites[row][place]);
                if (cell == nullptr || !cell->IsVisible()) {
                    continue;
                }
                Say("cell " + std::to_string(place) + " " + std::to_string(cell->GetX()) + " " +
                    std::to_string(cell->GetY()) + " " + std::to_string(cell->GetW()) + " " +
                    std::to_string(cell->GetH()));
                Canvas* picture = cell->GetImage()->GetCanvas();
                for (const auto& [dx, dy] : kCellPoints) {
                    const int x = cell->GetX() + dx;
                    const int y = cell->GetY() + dy;
                    if (cell->GetAlpha() == 255 &&
                        !Covered(cast, cell, cell->GetPriority(), x, y)) {
                        Say("point " + std::to_string(x) + " " + std::to_string(y) + " " +
                            Rgb(picture->GetPixel(dx, dy)));
                    }
                }
            }
            const int chosenCell = screen._puzzle % screen._cellsPerPage;
            const int chosenPlace = chosenCell >= kCentrePlace ? chosenCell + 1 : chosenCell;
            // The centre place's label is the page title, in its own look.
            const Color colour =
                place == kCentrePlace
                    ? screen._config->ValueAsColor("TitleText2", "color1", Color(0, 0, 0, 255))
                    : (place == chosenPlace ? kChosenColour : kOtherColour);
            SayLabel(dynamic_cast<MjTextLabel*>(screen._cellSprites[kLabelRow][place]), colour);
        }
        SayLabel(screen._infoLines[0], kChosenColour);
        const std::pair<int, const char*> buttons[] = {
            {0, "right"}, {1, "play"}, {2, "left"}, {3, "cancel"}};
        for (const auto& [slot, section] : buttons) {
            auto* button = dynamic_cast<CastMemberButton*>(screen._selectionSprites[slot]);
            if (button == nullptr || !button->IsVisible()) {
                continue;
            }
            const std::string file = static_cast<std::string>(screen._puzzlesFile->Value(
                slot == 1 && screen._selectionKind != 0 ? "movie" : section, "img", "0", true));
            Say("button " + std::to_string(button->GetID()) + " " + std::to_string(button->GetX()) +
                " " + std::to_string(button->GetY()) + " " + std::to_string(button->GetW()) + " " +
                std::to_string(button->GetH()) + " " + (button->GetEnabled() ? "1" : "0") + " " +
                file);
        }
        Say("ready " + std::to_string(_pages));
    }

    // The label and the colour the chooser gave it.
    static void SayLabel(MjTextLabel* label, const Color& colour)
    {
        if (label == nullptr || !label->IsVisible() ||
            label->GetText().find_first_not_of(' ') == std::string::npos) {
            return;
        }
        Say("label " + std::to_string(label->GetX()) + " " + std::to_string(label->GetY()) + " " +
            std::to_string(label->GetW()) + " " + std::to_string(label->GetH()) + " " +
            Rgb(colour) + " " + label->GetText());
    }

    void ReportChoice(MjClassic& screen, int before)
    {
        const int perPage = screen._cellsPerPage;
        auto place = [perPage](int entry) {
            const int p = entry % perPage;
            return p >= kCentrePlace ? p + 1 : p;
        };
        Say("chosen " + std::to_string(screen._puzzle));
        const auto& [fx, fy] = kFramePoint;
        auto* bright =
            dynamic_cast<CastMemberImage*>(screen._cellSprites[kBrightRow][place(screen._puzzle)]);
        auto* normal =
            dynamic_cast<CastMemberImage*>(screen._cellSprites[kNormalRow][place(before)]);
        for (const auto& [what, cell] :
             {std::pair<const char*, CastMemberImage*>{"bright", bright}, {"normal", normal}}) {
            if (cell != nullptr && cell->IsVisible()) {
                Say(std::string(what) + " " + std::to_string(cell->GetX() + fx) + " " +
                    std::to_string(cell->GetY() + fy) + " " +
                    Rgb(cell->GetImage()->GetCanvas()->GetPixel(fx, fy)));
            }
        }
    }

    void ReportBoard(MjClassic& screen)
    {
        Cast& cast = *_animationManager->GetCast();
        Say("board " + std::to_string(screen._puzzle) + " " + screen._layout->Title());
        std::vector<MjTile*> tiles;
        for (CastMember* member : cast.GetCastMembers()) {
            auto* tile = dynamic_cast<MjTile*>(member);
            if (tile != nullptr && tile->IsVisible() &&
                tile->GetKind() != MjClassic::kModeTileKind) {
                tiles.push_back(tile);
            }
        }
        Say("tiles " + std::to_string(tiles.size()));
        int said = 0;
        for (size_t n = 0; n < tiles.size() && said<kFaceSamples; n += tiles.size()> 60 ? 7 : 1) {
            MjTile* tile = tiles[n];
            const int x = tile->GetX() + kFaceX;
            const int y = tile->GetY() + kFaceY;
            const bool onCell =
                tile->GetX() ==
                    screen._layout->CellX(tile->GridI(), tile->GridJ(), tile->GridK()) &&
                tile->GetY() == screen._layout->CellY(tile->GridI(), tile->GridJ(), tile->GridK());
            // A puzzle's opening popup makes its power tiles hop: one on its cell now may be a
            // pixel off it when the screenshot is taken.
            const bool power = tile->GetType() >= MjTileTypes::kFirstSpecialType;
            if (!onCell || power || tile->GetAlpha() != 255 ||
                Covered(cast, tile, tile->GetPriority(), x, y)) {
                continue;
            }
            Say("face " + std::to_string(x) + " " + std::to_string(y) + " " +
                Rgb(tile->GetImage()->GetCanvas()->GetPixel(kFaceX, kFaceY)));
            ++said;
        }
        Say("playing");
    }

    bool _leave;
    int _step = 0;
    unsigned int _readySince = 0;
    bool _pageSaid = false;
    int _pages = 0;
    int _chosen = -1;
};

} // namespace

int main(int argc, char** argv)
{
    const int variant = argc > 1 ? std::atoi(argv[1]) : 2;
    const bool leave = argc > 2 && std::string(argv[2]) == "leave";
    ConfigFile::TurnEncryption(true);
    ChooserSceneApp app(variant, leave);
    const int code = Application::Execute(1, argv);
    std::fflush(stdout);
    return code;
}
