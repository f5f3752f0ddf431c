#include "SDL.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Point.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "framework/stage/Cast.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/screen/MjClassic.h"
#include "mahjong/screen/MjClassicConfig.h"
#include "tests/mahjong/support/FlowHarness.h"
#include "tests/support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using mjtest::FlowHarness;

constexpr int kPlain = 0;
constexpr int kHovered = 1;
constexpr int kChosen = 2;
// The boards page as the shipped classic set lays it out: "pos" 20,33 (25 lower on the boards
// page) and "space" 258,164; the panel's lines start below the centre place's top edge.
constexpr int kPanelX = 20 + 258 - 75;
constexpr int kPanelY = 33 + 25 + 164 + 18;
constexpr int kLineHeight = 20;

class MjClassicModesTest : public FlowHarness
{
protected:
    // The boards chooser as its opening leaves it: a board behind it, the page complete, the
    // centre label showing the chosen board, the mode tiles, the help lines and the best panel.
    void OpenBoardsChooser(int playMode)
    {
        MakeScreen();
        StartBoard(ThirtySixTiles());
        screen->_playMode = playMode;
        screen->_puzzlesFile->Write("replay8", "pos", Point(20, 33));
        screen->_puzzlesFile->Write("replay8", "space", Point(258, 164));
        screen->_selectionTitle = "replay8";
        screen->_cellsPerPage = 8;
        screen->_selectionKind = 0;
        screen->_previewDeal = 1;
        screen->_infoLines[0] =
            screen->MakeLabel("ReplayText", "Fixture", MjClassic::kLabelPriority, 270, 224);
        screen->MakeModeControls();
        screen->ShowBestPanel(kPanelX, kPanelY, kLineHeight);
        screen->_pageReady = 1;
        TakeCues();
    }

    void MoveMouseTo(int x, int y)
    {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.type = SDL_MOUSEMOTION;
        e.motion.x = static_cast<Uint16>(x);
        e.motion.y = static_cast<Uint16>(y);
        app->OnEvent(&e);
        Run(10);
    }

    // The middle of mode tile n.
    void HoverModeTile(int n) { MoveMouseTo(16 + 128 * n + 60, 8 + 24); }
    void LeaveModeTiles() { MoveMouseTo(400, 500); }

    bool ShowsFrame(int tile, int column, int row)
    {
        return screen->_modeTiles[tile]->GetImage()->IsCurrentFrame(column, row);
    }

    std::vector<bool> InfoLinesShown()
    {
        std::vector<bool> shown;
        for (MjTextLabel* line : screen->_infoLines) {
            shown.push_back(line != nullptr && line->IsVisible());
        }
        return shown;
    }

    std::vector<bool> ModeLinesShown()
    {
        std::vector<bool> shown;
        for (MjTextLabel* line : screen->_modeTextLines) {
            shown.push_back(line != nullptr && line->IsVisible());
        }
        return shown;
    }

    std::string ProgressName() { return app->GetPlayerFileName() + std::to_string(config->_type); }
};

const std::vector<bool> kAllShown(6, true);
const std::vector<bool> kNoneShown(6, false);

} // namespace

TEST_F(MjClassicModesTest, ModeTilesLineTheTopBarWithTheChosenModeFramed)
{
    OpenBoardsChooser(2);
    for (int n = 0; n < MjClassic::kModeTiles; ++n) {
        SCOPED_TRACE(n);
        MjTile* tile = screen->_modeTiles[n];
        ASSERT_NE(tile, nullptr);
        EXPECT_EQ(tile->GetX(), 16 + 128 * n);
        EXPECT_EQ(tile->GetY(), 8);
        EXPECT_EQ(tile->GetKind(), MjClassic::kModeTileKind);
        EXPECT_EQ(tile->GridI(), n);
        EXPECT_EQ(tile->GetPriority(), n);
        EXPECT_TRUE(tile->IsVisible());
        EXPECT_TRUE(ShowsFrame(n, n, n == 3 ? kChosen : kPlain));
    }
    // Five help lines, hidden until a mode tile is hovered; the title just below the centre
    // place's top edge.
    const int ys[5] = {33 + 25 + 164 + 2, 243, 266, 289, 312};
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(k);
        MjTextLabel* line = screen->_modeTextLines[k];
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->GetX(), 250);
        EXPECT_EQ(line->GetY(), ys[k]);
        EXPECT_EQ(line->GetMinimumWidth(), 300);
        EXPECT_EQ(line->GetJustification(), 2);
        EXPECT_FALSE(line->IsVisible());
    }
    EXPECT_EQ(screen->_modeTextLines[5], nullptr);
    EXPECT_EQ(screen->_hoveredMode, -1);
}

TEST_F(MjClassicModesTest, OnlyTheClassicBoardsChooserHasModeTiles)
{
    struct Case
    {
        const char* look;
        int kind;
        bool tiles;
    };
    for (const Case& c :
         {Case{kClassicLook, 0, true}, Case{kTimedLook, 0, true}, Case{kClassicLook, 1, false},
          Case{kQuestLook, 0, false}, Case{kQuestLook, 1, false}}) {
        SCOPED_TRACE(std::string(c.look) + " kind " + std::to_string(c.kind));
        MakeScreen(c.look);
        screen->_selectionKind = c.kind;
        screen->_selectionTitle = c.kind == 0 && !screen->_quest ? "replay8" : "replay5";
        screen->MakeModeControls();
        for (MjTile* tile : screen->_modeTiles) {
            EXPECT_EQ(tile != nullptr, c.tiles);
        }
        for (int k = 0; k < 5; ++k) {
            EXPECT_NE(screen->_modeTextLines[k], nullptr);
        }
        DropScreen();
    }
}

TEST_F(MjClassicModesTest, HoverShowsTheModeHelpAndLeavingRestoresThePanel)
{
    OpenBoardsChooser(0);
    ASSERT_EQ(InfoLinesShown(), kAllShown);

    HoverModeTile(3);
    ConfigFile modes("cfg/modes.cfg", false, false, false);
    EXPECT_EQ(screen->_modeTextLines[0]->GetText(),
              testsupport::ConfigValue(modes, "mode2", "title"));
    for (int k = 1; k < 5; ++k) {
        EXPECT_EQ(screen->_modeTextLines[k]->GetText(),
                  testsupport::ConfigValue(modes, "mode2", "text" + std::to_string(k)))
            << "line " << k;
    }
    EXPECT_EQ(ModeLinesShown(), std::vector<bool>({true, true, true, true, true, false}));
    EXPECT_EQ(InfoLinesShown(), kNoneShown);
    EXPECT_TRUE(ShowsFrame(3, 3, kHovered));
    EXPECT_EQ(screen->_hoveredMode, 3);

    // Tile 0, the lantern, shows the help of play mode -1; leaving it brings the panel back.
    HoverModeTile(0);
    EXPECT_TRUE(ShowsFrame(3, 3, kPlain));
    EXPECT_TRUE(ShowsFrame(0, 0, kHovered));
    EXPECT_EQ(screen->_hoveredMode, 0);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(screen->_modeTextLines[k]->GetText(),
                  testsupport::ConfigValue(modes, "mode-1",
                                           k == 0 ? "title" : "text" + std::to_string(k)))
            << "line " << k;
    }
    EXPECT_NE(screen->_modeTextLines[1]->GetText(), " ");
    EXPECT_EQ(ModeLinesShown(), std::vector<bool>({true, true, true, true, true, false}));
    EXPECT_EQ(InfoLinesShown(), kNoneShown);
    LeaveModeTiles();
    EXPECT_TRUE(ShowsFrame(0, 0, kPlain));
    EXPECT_EQ(InfoLinesShown(), kAllShown);
    EXPECT_EQ(ModeLinesShown(), kNoneShown);

    // The tile of the chosen mode keeps its chosen frame after a hover.
    HoverModeTile(1);
    EXPECT_TRUE(ShowsFrame(1, 1, kHovered));
    EXPECT_EQ(screen->_modeTextLines[0]->GetText(),
              testsupport::ConfigValue(modes, "mode0", "title"));
    LeaveModeTiles();
    EXPECT_TRUE(ShowsFrame(1, 1, kChosen));
    EXPECT_EQ(InfoLinesShown(), kAllShown);
    EXPECT_EQ(ModeLinesShown(), kNoneShown);
}

TEST_F(MjClassicModesTest, HoverBeforeThePageIsCompleteShowsNothing)
{
    OpenBoardsChooser(0);
    screen->_pageReady = 0;
    HoverModeTile(3);
    EXPECT_TRUE(ShowsFrame(3, 3, kPlain));
    EXPECT_EQ(InfoLinesShown(), kAllShown);
    EXPECT_EQ(ModeLinesShown(), kNoneShown);
}

TEST_F(MjClassicModesTest, PressChoosesTheModeAndTheNextBoardPlaysInIt)
{
    OpenBoardsChooser(0);
    // Not before the page is complete.
    screen->_pageReady = 0;
    Press(screen->_modeTiles[4]);
    EXPECT_EQ(screen->_playMode, 0);
    EXPECT_TRUE(ShowsFrame(1, 1, kChosen));
    EXPECT_TRUE(TakeCues().empty());

    screen->_pageReady = 1;
    Press(screen->_modeTiles[4]);
    EXPECT_EQ(screen->_playMode, 3);
    EXPECT_TRUE(ShowsFrame(1, 1, kPlain));
    EXPECT_TRUE(ShowsFrame(4, 4, kChosen));
    EXPECT_EQ(TakeCues(), std::vector<std::string>({"CFG_SELECT 0"}));
    LeaveModeTiles();
    EXPECT_TRUE(ShowsFrame(4, 4, kChosen));

    // Tile 0 chooses no mode at all.
    Press(screen->_modeTiles[0]);
    EXPECT_EQ(screen->_playMode, -1);
    EXPECT_TRUE(ShowsFrame(4, 4, kPlain));
    EXPECT_TRUE(ShowsFrame(0, 0, kChosen));

    // The memory mode hides every face of the next board; plain play shows them.
    struct Case
    {
        int tile;
        bool faces;
    };
    for (const Case& c : {Case{4, false}, Case{1, true}}) {
        SCOPED_TRACE(c.tile);
        Press(screen->_modeTiles[c.tile]);
        StartBoard(ThirtySixTiles());
        EXPECT_EQ(MjClassic::Shared().faceHiding, c.faces ? 0 : 1);
        MjTile* tile = TileAt(0, 0);
        ASSERT_NE(tile, nullptr);
        const int face = tile->GetFace();
        EXPECT_EQ(tile->GetImage()->IsCurrentFrame(face % 6, face / 6), c.faces);
        EXPECT_EQ(tile->GetImage()->IsCurrentFrame(MjTile::kHiddenCol, MjTile::kHiddenRow),
                  !c.faces);
    }
}

TEST_F(MjClassicModesTest, BestPanelShowsTheBoardsRecords)
{
    struct Case
    {
        const char* look;
        int best;
        int high;
        const char* holder;
        std::vector<std::string> texts; // lines 1 to 5
    };
    const std::vector<Case> cases = {
        {kClassicLook, 0, 0, "", {"Your Best Score", "Unplayed", "Highest Score", "Unplayed", " "}},
        {kClassicLook,
         999,
         1234,
         "Blue Fox",
         {"Your Best Score", "999", "Highest Score", "1,234", "Blue Fox"}},
        // A best that beats the shared file (the game stopped between the two writes) is the
        // high score, held by the player.
        {kClassicLook,
         1234,
         999,
         "Blue Fox",
         {"Your Best Score", "1,234", "Highest Score", "1,234", "Ann"}},
        {kClassicLook,
         1000000,
         1234567,
         "Blue Fox",
         {"Your Best Score", "1,000,000", "Highest Score", "1,234,567", "Blue Fox"}},
        {kTimedLook, 3600, 75, "Ann", {"Your Best Time", "60:00", "Lowest Time", "1:15", "Ann"}},
        {kTimedLook,
         75,
         3600,
         "Blue Fox",
         {"Your Best Time", "1:15", "Lowest Time", "1:15", "Ann"}},
        {kTimedLook, 0, 9, "", {"Your Best Time", "Unplayed", "Lowest Time", "0:09", " "}},
    };
    app->_playerName = "Ann";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.look) + " " + std::to_string(c.best));
        // Each case starts from no records at all.
        for (const std::string& file :
             {std::string("HighScores.cfg"), app->GetPlayerFileName() + "0",
              app->GetPlayerFileName() + "1"}) {
            std::filesystem::remove(file);
            std::filesystem::remove(file + "e");
        }
        MakeScreen(c.look);
        screen->_puzzle = 3;
        const std::string key = "t" + std::to_string(config->_type) + "p3";
        if (c.high != 0) {
            screen->_highScoresFile->Write("prevHighScore", key, c.high);
        }
        if (c.holder[0] != '\0') {
            screen->_highScoresFile->Write("achieved", key, c.holder);
        }
        if (c.best != 0) {
            screen->_progressFile->Write("prevBestScore", key, c.best);
        }
        // Another board's records stay out of it.
        screen->_highScoresFile->Write("prevHighScore", "t" + std::to_string(config->_type) + "p4",
                                       55);
        screen->ShowBestPanel(kPanelX, kPanelY, kLineHeight);
        const int ys[5] = {kPanelY, kPanelY + 22, kPanelY + 53, kPanelY + 75, kPanelY + 97};
        for (int n = 0; n < 5; ++n) {
            MjTextLabel* line = screen->_infoLines[n + 1];
            ASSERT_NE(line, nullptr);
            EXPECT_EQ(line->GetText(), c.texts[n]) << "line " << n + 1;
            EXPECT_EQ(line->GetX(), kPanelX);
            EXPECT_EQ(line->GetY(), ys[n]) << "line " << n + 1;
            EXPECT_TRUE(line->IsVisible());
        }
        DropScreen();
    }
}

TEST_F(MjClassicModesTest, BestPanelRefreshesItsValuesAndHidesTheModeHelp)
{
    OpenBoardsChooser(0);
    HoverModeTile(2);
    ASSERT_EQ(InfoLinesShown(), kNoneShown);
    // Another board chosen: its records replace the values, the headings stay.
    MjTextLabel* heading = screen->_infoLines[1];
    screen->_puzzle = 5;
    screen->_highScoresFile->Write("prevHighScore", "t0p5", 4321);
    screen->_highScoresFile->Write("achieved", "t0p5", "Ann");
    screen->ShowBestPanel(kPanelX, kPanelY, kLineHeight);
    EXPECT_EQ(screen->_infoLines[1], heading);
    EXPECT_EQ(heading->GetText(), "Your Best Score");
    EXPECT_EQ(screen->_infoLines[2]->GetText(), "Unplayed");
    EXPECT_EQ(screen->_infoLines[4]->GetText(), "4,321");
    EXPECT_EQ(screen->_infoLines[5]->GetText(), "Ann");
    EXPECT_EQ(InfoLinesShown(), kAllShown);
    EXPECT_EQ(ModeLinesShown(), kNoneShown);
}

TEST_F(MjClassicModesTest, SceneTextShowsTheHaikuOfTheChosenScene)
{
    struct Case
    {
        const char* look;
        int puzzle;
        const char* file;
        std::vector<int> ys; // lines 1 to 4, from y 313
    };
    for (const Case& c : {Case{kClassicLook, 1, "cfg/scenes.cfg", {333, 358, 378, 398}},
                          Case{kQuestLook, 0, "cfg/movie.cfg", {336, 356, 376, 396}}}) {
        SCOPED_TRACE(c.look);
        MakeScreen(c.look);
        screen->_selectionKind = 1;
        screen->_selectionTitle = "replay5";
        screen->_puzzle = c.puzzle;
        screen->ShowSceneText(kPanelX, 313, kLineHeight);
        ConfigFile scenes(c.file, false, false, false);
        const std::string section = "scene" + std::to_string(c.puzzle + 1);
        MjTextLabel* heading = screen->_infoLines[0];
        ASSERT_NE(heading, nullptr);
        EXPECT_EQ(heading->GetText(), screen->_quest
                                          ? testsupport::ConfigValue(scenes, section, "title")
                                          : std::string("Haiku Reflections"));
        EXPECT_EQ(heading->GetX(), 270);
        EXPECT_EQ(heading->GetY(), 280);
        EXPECT_TRUE(heading->IsVisible());
        for (int k = 1; k <= 4; ++k) {
            MjTextLabel* line = screen->_infoLines[k];
            ASSERT_NE(line, nullptr);
            EXPECT_EQ(line->GetText(),
                      testsupport::ConfigValue(scenes, section, "text" + std::to_string(k)));
            EXPECT_FALSE(line->GetText().empty()) << "line " << k;
            EXPECT_EQ(line->GetX(), kPanelX);
            EXPECT_EQ(line->GetY(), c.ys[k - 1]) << "line " << k;
            EXPECT_TRUE(line->IsVisible());
        }
        EXPECT_EQ(screen->_infoLines[5], nullptr);

        // A scene without text leaves the lines empty.
        screen->_puzzle = 40;
        screen->ShowSceneText(kPanelX, 313, kLineHeight);
        EXPECT_EQ(screen->_infoLines[1]->GetText(), "");
        EXPECT_EQ(screen->_infoLines[4]->GetText(), "");
        Run(10);
        DropScreen();
    }
}

TEST_F(MjClassicModesTest, SceneChoiceIsStoredAndPaintsItsPicture)
{
    MakeScreen();
    script->board = screen.get();
    MjClassic::Shared().savedBoard = 1; // the board under the chooser: picture 1 of 4
    struct Case
    {
        int scene;
        int stored;
        int picture;
    };
    for (const Case& c : {Case{0, 0, 0}, Case{2, 2, 2}, Case{3, 3, 3}, Case{4, 4, 1}, Case{7, 4, 1},
                          Case{-1, 4, 1}, Case{1, 1, 1}}) {
        SCOPED_TRACE(c.scene);
        screen->SetSceneChoice(c.scene);
        EXPECT_EQ(screen->_sceneChoice, c.stored);
        ConfigFile progress(ProgressName(), false, false, false);
        EXPECT_EQ(testsupport::ConfigValue(progress, "global", "scenechoice"),
                  std::to_string(c.stored));
        // The stage shows the chosen picture below the top bar.
        Run(10);
        Image* shown = Manager()->GetCast()->GetBackground();
        ASSERT_NE(shown, nullptr);
        Image picture(config->_bgImg[c.picture], nullptr);
        for (const auto& [x, y] : {std::pair<int, int>{400, 300}, {100, 150}, {700, 420}}) {
            EXPECT_TRUE(testsupport::SameRgb(shown->GetCanvas()->GetPixel(x, y),
                                             picture.GetCanvas()->GetPixel(x, y - 75)))
                << x << "," << y;
        }
    }
    // The four pictures differ where the check looks.
    Image first(config->_bgImg[0], nullptr);
    Image second(config->_bgImg[1], nullptr);
    EXPECT_FALSE(testsupport::SameRgb(first.GetCanvas()->GetPixel(400, 225),
                                      second.GetCanvas()->GetPixel(400, 225)));
    MjClassic::Shared().savedBoard = -1;
}

TEST_F(MjClassicModesTest, StoredSceneChoiceOutsideTheScenesReadsAsTheChangingScene)
{
    struct Case
    {
        const char* stored;
        int choice;
    };
    for (const Case& c : {Case{"9", 4}, Case{"-3", 4}, Case{"3", 3}, Case{"0", 0}}) {
        SCOPED_TRACE(c.stored);
        const std::string name = app->GetPlayerFileName() + "0";
        std::filesystem::remove(name + "e");
        ASSERT_TRUE(
            testsupport::WriteFile(name, std::string("[global]\nscenechoice=") + c.stored + "\n"));
        MakeScreen();
        EXPECT_EQ(screen->_sceneChoice, c.choice);
        DropScreen();
    }
}
