#include "mahjong/screen/MjClassic.h"

#include "SDL.h"
#include "framework/core/Color.h"
#include "framework/core/ConfigFile.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/shell/AppScript.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberButton.h"
#include "framework/stage/CastMemberImage.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/screen/MjClassicConfig.h"
#include "tests/mahjong/board/MjLayoutTestSupport.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/TestSupport.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char* kClassicLook = "cfg/mjclassic.cfg";
const char* kTimedLook = "cfg/mjlogic.cfg";
const char* kQuestLook = "cfg/mjzorvy.cfg";
const char* kPlayerFile = "ann.plr";

// Copies the parts of the game's data set that a board screen reads into the working folder.
void CopyGameData()
{
    const fs::path data = GAME_DATA_DIR;
    const auto options = fs::copy_options::recursive | fs::copy_options::overwrite_existing;
    for (const char* folder : {"cfg", "images", "fonts", "puzzles"}) {
        fs::copy(data / folder, folder, options);
    }
}

std::string ProgressFile(int type)
{
    return std::string(kPlayerFile) + std::to_string(type);
}

// A progress file with this text; the scrambled copy that the game reads is made from it anew.
void WriteProgress(int type, const std::string& text)
{
    fs::remove(ProgressFile(type) + "e");
    ASSERT_TRUE(testsupport::WriteFile(ProgressFile(type), text));
}

// A running framework in a working folder with the game's data set, for a player whose files
// are "ann.plr<type>".
class GameDataTest : public shelltest::ShellTest
{
protected:
    void SetUp() override
    {
        CopyGameData();
        WriteData("allowloadingthread=0\n");
        StartFramework();
        app->_playerFileName = kPlayerFile;
        app->_playerName = "Ann";
    }
};

// A board screen of a look file from the game's data set.
class MjClassicTest : public GameDataTest
{
protected:
    void TearDown() override
    {
        Drop();
        GameDataTest::TearDown();
    }

    void Drop()
    {
        if (screen != nullptr) {
            screen->ReleaseSprites();
        }
        screen.reset();
        config.reset();
    }

    // edit changes the look in memory before the screen reads it.
    void Make(const std::string& look, const std::function<void(MjClassicConfig&)>& edit = {})
    {
        Drop();
        config = std::make_unique<MjClassicConfig>(look);
        if (edit) {
            edit(*config);
        }
        screen = std::make_unique<MjClassic>(app.get(), config.get());
    }

    // A look that reads its boards from the puzzle set "cfg/puzzles9.cfg" with this text.
    void MakeWithPuzzles(const std::string& look, const std::string& puzzles,
                         const std::function<void(MjClassicConfig&)>& edit = {})
    {
        // The scrambled copy that the game reads is made anew from this text.
        fs::remove("cfg/puzzles9.cfge");
        ASSERT_TRUE(testsupport::WriteFile("cfg/puzzles9.cfg", puzzles));
        Make(look, [&edit](MjClassicConfig& c) {
            c._puzzles = 9;
            if (edit) {
                edit(c);
            }
        });
    }

    Cast* Stage() const { return Manager()->GetCast(); }

    std::vector<MjTile*> TilesOnStage() const
    {
        std::vector<MjTile*> tiles;
        for (CastMember* member : Stage()->GetCastMembers()) {
            if (auto* tile = dynamic_cast<MjTile*>(member)) {
                tiles.push_back(tile);
            }
        }
        return tiles;
    }

    void Run(unsigned int ms)
    {
        for (unsigned int t = 0; t < ms; t += 10) {
            Frame(10);
        }
    }

    std::unique_ptr<MjClassicConfig> config;
    std::unique_ptr<MjClassic> screen;
};

// A layout of 2 x 2 tiles on one level, with preset codes for some of them.
std::string SmallLayout(const std::string& name, std::vector<int> codes)
{
    std::vector<mjtest::Spot> spots;
    const mjtest::Spot places[] = {{10, 10, 1}, {12, 10, 1}, {10, 12, 1}, {12, 12, 1}};
    for (size_t n = 0; n < 4; ++n) {
        mjtest::Spot spot = places[n];
        spot.code = n < codes.size() ? codes[n] : -1;
        spots.push_back(spot);
    }
    testsupport::WriteFile(name, mjtest::LayoutText(spots, "Small"));
    return name;
}

bool WriteBmp(const std::string& path, int w, int h, Uint8 r, Uint8 g, Uint8 b)
{
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xff0000, 0xff00, 0xff, 0);
    if (s == nullptr) {
        return false;
    }
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, r, g, b));
    const bool ok = testsupport::SavePng(s, path.c_str());
    SDL_FreeSurface(s);
    return ok;
}

} // namespace

TEST_F(MjClassicTest, ConstructionLeavesEveryLookHiddenDisabledAndWithoutABoard)
{
    struct Case
    {
        const char* look;
        bool quest;
        bool timed;
    };
    for (const Case& c : {Case{kClassicLook, false, false}, Case{kTimedLook, false, true},
                          Case{kQuestLook, true, false}}) {
        SCOPED_TRACE(c.look);
        Make(c.look);
        EXPECT_EQ(screen->_quest, c.quest);
        EXPECT_EQ(screen->_layout, nullptr);
        EXPECT_TRUE(screen->_firstBoard);
        EXPECT_EQ(screen->_cast, Stage());
        // A new player's file is made, and no empty plain file is left beside it.
        EXPECT_TRUE(fs::exists(ProgressFile(config->_type) + "e"));
        EXPECT_FALSE(fs::exists(ProgressFile(config->_type)));
        EXPECT_EQ(screen->_lives, 5);
        EXPECT_EQ(screen->_puzzle, 0);
        EXPECT_EQ(screen->_puzzleNumber, 1);

        // The buttons: the screen's ids, on the stage, and none usable before a board is up.
        struct ButtonCase
        {
            CastMemberButton* button;
            int id;
        };
        std::vector<ButtonCase> buttons = {{screen->_hintButton, MjClassic::kHintId},
                                           {screen->_undoButton, MjClassic::kUndoId},
                                           {screen->_replayButton, MjClassic::kReplayId},
                                           {screen->_pauseButton, MjClassic::kPauseId}};
        if (c.quest) {
            EXPECT_EQ(screen->_newGameButton, nullptr);
        } else {
            buttons.push_back({screen->_newGameButton, MjClassic::kNewGameId});
        }
        for (const ButtonCase& b : buttons) {
            ASSERT_NE(b.button, nullptr) << b.id;
            EXPECT_EQ(b.button->GetID(), b.id);
            EXPECT_FALSE(b.button->GetEnabled()) << b.id;
            EXPECT_TRUE(Stage()->Contains(b.button));
        }
        ASSERT_NE(screen->_bonusText, nullptr);
        EXPECT_FALSE(screen->_bonusText->IsVisible());
        EXPECT_EQ(screen->_titleText2 != nullptr, c.timed);

        // Quest only: the mode texts are missing, every board above the reached one is closed,
        // and the case, its cover, the replay mark and the two bars exist.
        EXPECT_EQ(screen->_modesFile == nullptr, c.quest);
        ASSERT_NE(screen->_scenesFile, nullptr);
        EXPECT_EQ(screen->_scenesFile->GetFileName(), c.quest ? "cfg/movie.cfg" : "cfg/scenes.cfg");
        EXPECT_EQ(screen->_highestGameReached, c.quest ? -1 : screen->_puzzleCount);
        for (CastMemberImage* sprite :
             {screen->_caseSprite, screen->_caseOnTopSprite, screen->_replayModeSprite,
              screen->_questTopBar, screen->_questBottomBar}) {
            EXPECT_EQ(sprite != nullptr, c.quest);
        }
        if (c.quest) {
            EXPECT_FALSE(screen->_caseOnTopSprite->IsVisible());
            EXPECT_FALSE(screen->_replayModeSprite->IsVisible());
            EXPECT_EQ(screen->_caseOnTopX, 310 + 4);
            // Drawn without their key colour they would show magenta corners on the board.
            for (CastMemberImage* sprite :
                 {screen->_caseSprite, screen->_caseOnTopSprite, screen->_replayModeSprite}) {
                Canvas* canvas =
                    sprite->GetImage() != nullptr ? sprite->GetImage()->GetCanvas() : nullptr;
                ASSERT_NE(canvas, nullptr);
                ASSERT_TRUE(canvas->HasColorKey());
                const Color key = canvas->GetColorKey();
                EXPECT_EQ(key.GetR(), 255);
                EXPECT_EQ(key.GetG(), 0);
                EXPECT_EQ(key.GetB(), 255);
            }
        }

        // Geometry in half-tile steps, and three tile sets composed on 6 x 10 cells of 48 x 58.
        EXPECT_EQ(screen->_settings->columns, 2 * config->_maxI);
        EXPECT_EQ(screen->_settings->rows, 2 * config->_maxJ);
        EXPECT_EQ(screen->_settings->layers, config->_maxK);
        EXPECT_EQ(screen->_settings->tileBorder, config->_tileBorder);
        for (const MjTileSet& set : screen->_tileSets) {
            ASSERT_NE(set.sheet, nullptr);
            EXPECT_EQ(set.sheet->GetFrameW(), 48);
            EXPECT_EQ(set.sheet->GetFrameH(), 58);
            ASSERT_NE(set.faceSheet, nullptr);
            EXPECT_TRUE(set.faceSheet->IsLoaded()) << set.img;
            EXPECT_EQ(set.posX, 8);
        }
        EXPECT_EQ(screen->_miniTileGrid->GetFrameW(), 15);
        EXPECT_EQ(screen->_miniTileGrid->GetFrameH(), 19);

        // Type 51 never animates, a section without size gives none, the others theirs.
        EXPECT_EQ(screen->_specialSheets[51 - 42], nullptr);
        EXPECT_EQ(screen->_specialSheets[44 - 42], nullptr);
        ASSERT_NE(screen->_specialSheets[48 - 42], nullptr);
        EXPECT_EQ(screen->_specialSheets[48 - 42]->GetNumFrames(), 8);
        ASSERT_NE(screen->_firecrackerSprite, nullptr);
        EXPECT_FALSE(screen->_firecrackerSprite->IsVisible());
    }
}

TEST_F(MjClassicTest, StoredBoardOutsideThePuzzleSetSelectsBoardZero)
{
    struct Case
    {
        const char* game;
        int expected;
    };
    // The classic set holds sixteen boards, 0 to 15.
    for (const Case& c : {Case{"3", 3}, Case{"15", 15}, Case{"16", 0}, Case{"-1", 0}}) {
        SCOPED_TRACE(c.game);
        Drop();
        WriteProgress(0, std::string("[global]\ngame=") + c.game + "\nlives=4\n");
        Make(kClassicLook);
        EXPECT_EQ(screen->_puzzleCount, 15);
        EXPECT_EQ(screen->_puzzle, c.expected);
        EXPECT_EQ(screen->_puzzleNumber, c.expected + 1);
        EXPECT_EQ(screen->_lives, 4);
        ConfigFile progress(ProgressFile(0), false, false, false);
        EXPECT_EQ(testsupport::ConfigValue(progress, "global", "game"), std::to_string(c.expected));
    }
}

TEST_F(MjClassicTest, AnimationPictureThatCannotBeReadGivesNoSheetAndALogLine)
{
    Make(kClassicLook, [](MjClassicConfig& c) {
        c.Write("special45", "img", std::string("images/special/none.png"));
        c.Write("firecracker2", "img", std::string("images/special/none2.png"));
    });
    EXPECT_EQ(screen->_specialSheets[45 - 42], nullptr);
    EXPECT_EQ(screen->_firecrackerSprite, nullptr);
    EXPECT_EQ(testsupport::CountLogLines("No animation in section special45"), 1);
    EXPECT_EQ(testsupport::CountLogLines("No animation in section firecracker2"), 1);
    EXPECT_NE(screen->_specialSheets[46 - 42], nullptr);
}

TEST_F(MjClassicTest, SetupBoardTakesThePuzzleDescription)
{
    const std::string full = "layout=puzzles/classic01.cfg\n";
    MakeWithPuzzles(kClassicLook, "[puzzles]\nmax=9\n"
                                  "[puzzle0]\n"
                                  "[puzzle1]\n" +
                                      full + "easy=1\ndifficulty=5\nharder=3\n" + "[puzzle2]\n" +
                                      full + "easy=2\ndifficulty=5\n" + "[puzzle3]\n" + full +
                                      "triple=1\n" + "[puzzle4]\n" + full +
                                      "triple=1\nmatches=4\n" + "[puzzle5]\n" + full +
                                      "[puzzle6]\n" + full + "time=1999\nsolvable=0\n" +
                                      "[puzzle7]\n" + full + "tileset=2\n" + "[puzzle8]\n" + full +
                                      "tileset=3\n" + "[puzzle9]\n" + full + "tileset=-1\n");
    struct Case
    {
        int board;
        std::string layout;
        int difficulty;
        int easy;
        int matches;
        int time;
        int solvable;
        int tileSet;
    };
    const Case cases[] = {
        {0, "puzzles/test.cfg", 9, 0, 2, 2000, 1, 0}, // an empty section: every default
        {1, "puzzles/classic01.cfg", 1, 0, 2, 2000, 1, 0},
        {2, "puzzles/classic01.cfg", 5, 2, 2, 2000, 1, 0},
        {3, "puzzles/classic01.cfg", 9, 0, 3, 2000, 1, 0},
        {4, "puzzles/classic01.cfg", 9, 0, 2, 2000, 1, 0},     // "matches" 4: pairs, logged
        {5, "puzzles/classic01.cfg", 9, 0, 2, 20 * 144, 1, 0}, // the default time after board 4
        {6, "puzzles/classic01.cfg", 9, 0, 2, 1999, 0, 0},
        {7, "puzzles/classic01.cfg", 9, 0, 2, 2880, 1, 2},
        {8, "puzzles/classic01.cfg", 9, 0, 2, 2880, 1, 0}, // no fourth set: set 0 and a log line
        {9, "puzzles/classic01.cfg", 9, 0, 2, 2880, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.board);
        screen->SelectPuzzle(c.board);
        screen->SetupBoard(0, 0, MjClassic::kStartQuiet, "");
        EXPECT_EQ(screen->_layoutFile, c.layout);
        EXPECT_EQ(screen->_rules.difficulty, c.difficulty);
        EXPECT_EQ(screen->_rules.easy, c.easy);
        EXPECT_EQ(screen->_rules.matchSize, c.matches);
        EXPECT_EQ(screen->_rules.time, c.time);
        EXPECT_EQ(screen->_rules.solvable, c.solvable);
        EXPECT_EQ(screen->_rules.useVortex, 1);
        EXPECT_EQ(screen->_puzzleTileSet, c.tileSet);
        ASSERT_NE(screen->_layout, nullptr);
        EXPECT_EQ(screen->_layout->MatchSize(), c.matches);
    }
    EXPECT_EQ(testsupport::CountLogLines("Puzzle 4 asks for matches of 4 tiles, pairs are made"),
              1);
    EXPECT_EQ(testsupport::CountLogLines("Tile set 3 of puzzle 8 does not exist"), 1);
    EXPECT_EQ(testsupport::CountLogLines("Tile set -1 of puzzle 9 does not exist"), 1);

    // The time rule on board 4 keeps 2000.
    MakeWithPuzzles(kClassicLook, "[puzzles]\nmax=9\n[puzzle4]\n" + full);
    screen->SelectPuzzle(4);
    screen->SetupBoard(0, 0, MjClassic::kStartQuiet, "");
    EXPECT_EQ(screen->_rules.time, 2000);
    EXPECT_EQ(screen->_layout->TileCount(), 144);
}

TEST_F(MjClassicTest, LayoutNameKeepsThePreviousBoardsValuesButReadsSolvable)
{
    MakeWithPuzzles(kClassicLook,
                    "[puzzles]\nmax=9\n[puzzle1]\nlayout=puzzles/classic01.cfg\neasy=1\n"
                    "harder=3\ntime=3000\n[puzzle2]\nsolvable=0\ndifficulty=4\ntime=10\n");
    screen->SelectPuzzle(1);
    screen->SetupBoard(0, 0, MjClassic::kStartQuiet, "");
    ASSERT_EQ(screen->_rules.difficulty, 1);
    screen->SelectPuzzle(2);
    screen->SetupBoard(0, 0, MjClassic::kStartQuiet, "puzzles/classic02.cfg");
    EXPECT_EQ(screen->_layoutFile, "puzzles/classic02.cfg");
    EXPECT_EQ(screen->_layout->FileName(), "puzzles/classic02.cfg");
    EXPECT_EQ(screen->_rules.difficulty, 1);
    EXPECT_EQ(screen->_rules.harder, 3);
    EXPECT_EQ(screen->_rules.time, 3000);
    EXPECT_EQ(screen->_rules.solvable, 0);
}

TEST_F(MjClassicTest, SeedIsTheGivenTheStoredTheFixedOrANewOneThatIsStored)
{
    const std::string puzzles = "[puzzles]\nmax=9\n"
                                "[puzzle0]\nlayout=puzzles/classic01.cfg\n"
                                "[puzzle1]\nlayout=puzzles/classic01.cfg\nseedMeFeeMore=77\n";
    struct Case
    {
        const char* look;
        int type;
        int board;
        const char* storedSeed; // null: none stored
        int seedGiven;
        int expected; // 0: a new seed
    };
    const Case cases[] = {
        {kClassicLook, 0, 1, nullptr, 0, 77},   {kClassicLook, 0, 1, "55", 0, 55},
        {kClassicLook, 0, 1, "55", 1234, 1234}, {kClassicLook, 0, 0, nullptr, 0, 0},
        {kQuestLook, 2, 0, nullptr, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.look) + " board " + std::to_string(c.board));
        Drop();
        const std::string stored = c.storedSeed != nullptr
                                       ? "[seed]\nt" + std::to_string(c.type) + "p" +
                                             std::to_string(c.board) + "=" + c.storedSeed + "\n"
                                       : "";
        WriteProgress(c.type, "[global]\nlives=3\n" + stored);
        MakeWithPuzzles(c.look, puzzles);
        screen->SelectPuzzle(c.board);
        screen->SetupBoard(0, c.seedGiven, MjClassic::kStartQuiet, "");
        ConfigFile progress(ProgressFile(c.type), false, false, false);
        const std::string key = "t" + std::to_string(c.type) + "p" + std::to_string(c.board);
        if (c.expected != 0) {
            EXPECT_EQ(screen->_seed, c.expected);
            EXPECT_EQ(testsupport::ConfigValue(progress, "seed", key),
                      c.storedSeed != nullptr ? c.storedSeed : "<default>");
        } else {
            // A new seed from the clock, written and flushed at once.
            EXPECT_GE(screen->_seed, 1);
            EXPECT_LE(screen->_seed, 32767);
            EXPECT_EQ(testsupport::ConfigValue(progress, "seed", key),
                      std::to_string(screen->_seed));
        }
        EXPECT_EQ(screen->_layout->TileCount(), 144);
    }
}

TEST_F(MjClassicTest, PlayModeDecidesTheFaceHidingAndTheScrambling)
{
    SmallLayout("plain.cfg", {});
    SmallLayout("special.cfg", {46, 47});
    MakeWithPuzzles(kClassicLook, "[puzzles]\nmax=9\n[puzzle0]\nlayout=plain.cfg\n"
                                  "[puzzle1]\nlayout=special.cfg\n");
    struct Case
    {
        int mode;
        int board;
        int hiding;
        bool scrambling;
    };
    const Case cases[] = {
        {1, 0, 1, false}, {1, 1, 0, false}, {2, 0, 1, true},   {2, 1, 0, false}, {3, 0, 1, false},
        {3, 1, 1, false}, {4, 1, 1, false}, {-1, 0, 1, false}, {0, 0, 0, false}, {0, 1, 0, false},
    };
    MjClassicShared& shared = MjClassic::Shared();
    for (const Case& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode) + " board " + std::to_string(c.board));
        screen->_playMode = c.mode;
        shared.scrambleState = 9;
        shared.scrambleTime = 5;
        screen->SelectPuzzle(c.board);
        screen->SetupBoard(0, 0, MjClassic::kStartQuiet, "");
        EXPECT_EQ(shared.faceHiding, c.hiding);
        EXPECT_EQ(screen->_rules.solvable, c.scrambling ? 0 : 1);
        // The scrambling restarts; its reference time is then the free count's to move on.
        EXPECT_EQ(shared.scrambleState, c.scrambling ? 0 : 9);
        if (c.scrambling) {
            EXPECT_GE(shared.scrambleTime, static_cast<int>(TickSource::Now()));
        } else {
            EXPECT_EQ(shared.scrambleTime, 5);
        }
    }
}

TEST_F(MjClassicTest, BackgroundPaintsThePictureOfTheSceneChoiceOrOfTheBoard)
{
    const Uint8 colours[4][3] = {{200, 0, 0}, {0, 200, 0}, {0, 0, 200}, {200, 200, 0}};
    for (int n = 0; n < 4; ++n) {
        ASSERT_TRUE(WriteBmp("bg" + std::to_string(n) + ".bmp", 800, 450, colours[n][0],
                             colours[n][1], colours[n][2]));
    }
    Make(kClassicLook, [](MjClassicConfig& c) {
        for (int n = 0; n < 4; ++n) {
            c._bgImg[n] = "bg" + std::to_string(n) + ".bmp";
        }
    });
    struct Case
    {
        int choice;
        int board;
        int savedBoard;
        int picture;
        int storedChoice;
    };
    const Case cases[] = {
        {4, 6, -1, 2, 4}, {7, 6, -1, 2, 4}, {-1, 5, -1, 1, 4},
        {1, 6, -1, 1, 1}, {0, 3, -1, 0, 0}, {4, 6, 3, 3, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("choice " + std::to_string(c.choice) + " board " + std::to_string(c.board));
        screen->_sceneChoice = c.choice;
        screen->_puzzle = c.board;
        MjClassic::Shared().savedBoard = c.savedBoard;
        std::unique_ptr<Image> background(screen->MakeBackground());
        MjClassic::Shared().savedBoard = -1;
        ASSERT_NE(background, nullptr);
        EXPECT_EQ(screen->_sceneChoice, c.storedChoice);
        // Between the bars the board picture, the bars over it.
        const Color between = background->GetCanvas()->GetPixel(400, 300);
        EXPECT_TRUE(
            testsupport::SameRgb(between, Color(colours[c.picture][0], colours[c.picture][1],
                                                colours[c.picture][2], 255)));
    }
}

TEST_F(MjClassicTest, TileTakesTypeOverlayShadowAndTheLookOfThePlayMode)
{
    SmallLayout("plain.cfg", {});
    MakeWithPuzzles(kClassicLook, "[puzzles]\nmax=9\n[puzzle0]\nlayout=plain.cfg\n",
                    [](MjClassicConfig& c) {
                        // Type 42's keys differ from those of the jade face's own section.
                        c.Write("special42", "size", 7);
                        c.Write("special42", "from", 2);
                        c.Write("special42", "time", 90);
                        c.Write("special56", "size", 5);
                        c.Write("special56", "from", 4);
                        c.Write("special56", "time", 30);
                    });
    screen->SetupBoard(0, 0, MjClassic::kStartQuiet, "");
    struct Case
    {
        int face;
        int type;
        int overlaySheet; // tile type whose sheet shows, -1 none
        int first = 0, last = 0, delay = 0, forward = 0;
    };
    const Case cases[] = {
        {56, 42, 56, 1, 5, 90, 0}, {43, 42, 43, 1, 5, 90, 0}, {42, 42, 42, 1, 5, 90, 0},
        {48, 48, 48, 0, 6, 80, 1}, {39, 35, -1, 0, 0, 0, 0},  {34, 34, -1, 0, 0, 0, 0},
        {41, 35, -1, 0, 0, 0, 0},  {33, 33, -1, 0, 0, 0, 0},  {10, 10, -1, 0, 0, 0, 0},
        {51, 51, -1, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.face);
        MjTile* tile = screen->AddTile(10, 10, 0, 0, c.face % 6, c.face / 6);
        ASSERT_NE(tile, nullptr);
        EXPECT_EQ(tile->GetFace(), c.face);
        EXPECT_EQ(tile->GetType(), c.type);
        EXPECT_EQ(tile->GetX(), screen->_layout->CellX(10, 10, 0));
        EXPECT_EQ(screen->_layout->Cell(10, 10, 0).tile, tile);
        EXPECT_EQ(tile->GetShadowPos().GetX(), -3);
        EXPECT_EQ(tile->GetShadowPos().GetY(), 3);
        if (c.overlaySheet < 0) {
            EXPECT_EQ(tile->GetOverlay(), nullptr);
            continue;
        }
        ASSERT_NE(tile->GetOverlay(), nullptr);
        EXPECT_EQ(tile->GetOverlay()->GetImageResource(),
                  screen->_specialSheets[c.overlaySheet - 42].get());
        EXPECT_EQ(tile->GetOverlayFirst(), c.first);
        EXPECT_EQ(tile->GetOverlayLast(), c.last);
        EXPECT_EQ(tile->GetOverlayDelay(), c.delay);
        EXPECT_EQ(tile->GetOverlayForward(), c.forward);
    }

    // Start modes other than 0 bring tiles in from the side, unless a chosen board is replayed.
    EXPECT_EQ(screen->AddTile(12, 10, 0, 1, 0, 0)->GetX(), 900);
    MjClassic::Shared().savedBoard = 2;
    EXPECT_EQ(screen->AddTile(12, 10, 0, 1, 0, 0)->GetX(), screen->_layout->CellX(12, 10, 0));
    MjClassic::Shared().savedBoard = -1;

    // While faces are hidden: the faded mode makes every tile but Yin-Yang invisible, the
    // face-less mode turns faces down.
    MjClassic::Shared().faceHiding = 1;
    screen->_playMode = 4;
    EXPECT_EQ(screen->AddTile(10, 12, 0, 0, 4, 1)->GetAlpha(), 0);
    EXPECT_EQ(screen->AddTile(10, 12, 0, 0, 56 % 6, 56 / 6)->GetAlpha(), 255);
    screen->_playMode = 3;
    MjTile* down = screen->AddTile(12, 12, 0, 0, 4, 1);
    EXPECT_TRUE(down->GetImage()->IsCurrentFrame(MjTile::kHiddenCol, MjTile::kHiddenRow));
    MjClassic::Shared().faceHiding = 0;
}

TEST_F(MjClassicTest, DealtBoardStandsOnTheStageOneTilePerOriginCell)
{
    Make(kClassicLook);
    screen->SelectPuzzle(0);
    screen->SetupBoard(3, 7, MjClassic::kStartOpening, "");
    ASSERT_NE(screen->_layout, nullptr);
    EXPECT_EQ(screen->_seed, 7);
    int origins = 0;
    for (int index : screen->_layout->OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        origins += screen->_layout->Cell(i, j, k).state == MjCell::kOrigin ? 1 : 0;
    }
    EXPECT_EQ(origins, 144);
    EXPECT_EQ(screen->_tileSpriteCount, 144);
    std::vector<MjTile*> tiles = TilesOnStage();
    ASSERT_EQ(tiles.size(), 144u);
    for (MjTile* tile : tiles) {
        EXPECT_EQ(tile->GetX(), 900); // waiting outside for the fly-in
        EXPECT_EQ(screen->_layout->Cell(tile->GridI(), tile->GridJ(), tile->GridK()).tile, tile);
    }
    EXPECT_EQ(screen->_cueReady, 1);
    EXPECT_EQ(screen->_titleText->GetText(), screen->_layout->Title());

    ASSERT_EQ(screen->_layout->AnimateAll(screen.get(), MjLayout::kFlyIn, -1), 0);
    Run(2000);
    for (MjTile* tile : tiles) {
        const int i = tile->GridI(), j = tile->GridJ(), k = tile->GridK();
        EXPECT_EQ(tile->GetX(), screen->_layout->CellX(i, j, k));
        EXPECT_EQ(tile->GetY(), screen->_layout->CellY(i, j, k));
        EXPECT_EQ(tile->GetPriority(), MjLayout::Priority(i, j, k));
    }
    for (CastMemberButton* button :
         {screen->_hintButton, screen->_undoButton, screen->_replayButton, screen->_pauseButton,
          screen->_newGameButton}) {
        EXPECT_FALSE(button->GetEnabled()) << button->GetID();
    }
    EXPECT_FALSE(screen->_bonusText->IsVisible());
}

TEST_F(MjClassicTest, ReleaseSavesTheQuestsScoreAndLivesOnceAndEmptiesTheStage)
{
    struct Case
    {
        const char* look;
        int lives;
        int extraLives;
        int score;
        const char* writtenLives; // null: nothing written
        const char* writtenScore;
    };
    const Case cases[] = {
        {kQuestLook, 0, 0, 700, "5", "0"},
        {kQuestLook, 2, 1, 300, "3", "300"},
        {kClassicLook, 0, 0, 700, nullptr, nullptr},
        {kTimedLook, 2, 1, 300, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.look) + " " + std::to_string(c.lives));
        Drop();
        Run(10);
        Make(c.look);
        screen->SetupBoard(0, 0, MjClassic::kStartOpening, "");
        ASSERT_GT(Stage()->Size(), 0);
        // A tile in the tray that no cell holds any more.
        Image face(screen->_tileSets[0].sheet.get(), 0, 0, 0);
        MjClassic::Shared().traySlots[1] =
            new MjTile(screen.get(), Stage(), &face, 650, 540, 20, 0, 0, 0, 0, 0, 0);
        const std::string file = ProgressFile(config->_type);
        WriteProgress(config->_type, "[global]\nlives=9\nscore=9\n");
        screen->_progressFile.reset();
        screen->_progressFile = std::make_unique<ConfigFile>(file, false, false, false);
        screen->_lives = c.lives;
        screen->_extraLives = c.extraLives;
        screen->_score = c.score;
        screen->ReleaseSprites();
        EXPECT_EQ(screen->_lives,
                  c.lives + (c.writtenLives != nullptr && c.lives + c.extraLives == 0 ? 5 : 0));
        ConfigFile progress(file, false, false, false);
        EXPECT_EQ(testsupport::ConfigValue(progress, "global", "lives"),
                  c.writtenLives != nullptr ? c.writtenLives : "9");
        EXPECT_EQ(testsupport::ConfigValue(progress, "global", "score"),
                  c.writtenScore != nullptr ? c.writtenScore : "9");
        EXPECT_EQ(screen->_layout, nullptr);

        // A second release does nothing.
        screen->_lives = 1;
        screen->_extraLives = 1;
        screen->ReleaseSprites();
        ConfigFile again(file, false, false, false);
        EXPECT_EQ(testsupport::ConfigValue(again, "global", "lives"),
                  c.writtenLives != nullptr ? c.writtenLives : "9");

        // Every sprite the screen made has left the stage: nothing there reports to it.
        Run(10);
        EXPECT_EQ(Stage()->Size(), 0);
    }
}

TEST_F(MjClassicTest, SanityCheckListsTheFilesAndTablesEveryBoard)
{
    const std::string small = SmallLayout("small.cfg", {46, 47});
    const std::string sets = "max=2\n[puzzle0]\nlayout=" + small +
                             "\n[puzzle1]\nlayout=puzzles/none.cfg\n"
                             "[puzzle2]\nlayout=puzzles/classic01.cfg\n";
    const char* header = "-- ++ == CL VO SW FC MG CS YY TOT BLANK";
    MakeWithPuzzles(kClassicLook, "[puzzles]\nsanity=1\n" + sets);
    EXPECT_EQ(testsupport::CountLogLines("Good File = " + small), 1);
    EXPECT_EQ(testsupport::CountLogLines("Missing File = 1 puzzles/none.cfg"), 1);
    EXPECT_EQ(testsupport::CountLogLines("Good File = puzzles/classic01.cfg"), 1);
    EXPECT_EQ(testsupport::CountLogLines(header), 0);
    EXPECT_EQ(screen->_layout, nullptr);

    MakeWithPuzzles(kClassicLook, "[puzzles]\nsanity=2\n" + sets);
    EXPECT_EQ(testsupport::CountLogLines("Missing File = 1 puzzles/none.cfg"), 2);
    EXPECT_EQ(testsupport::CountLogLines(header), 1);
    // One line per board: the preset counts (Down and Up), the tile cells and those to deal.
    EXPECT_EQ(testsupport::CountLogLines(" 1  1  0  0  0  0  0  0  0  0   4   2 ("), 1);
    EXPECT_EQ(testsupport::CountLogLines(")-" + small), 1);
    // A layout that cannot be read has no tiles; the free count says so with -2.
    EXPECT_EQ(
        testsupport::CountLogLines(" 0  0  0  0  0  0  0  0  0  0   0   0 (-2)-puzzles/none.cfg"),
        1);
    EXPECT_EQ(testsupport::CountLogLines(" 0  0  0  0  0  0  0  0  0  0 144 144 ("), 1);
    EXPECT_EQ(testsupport::CountLogLines("-Small"), 1); // the title the set-up showed
    EXPECT_EQ(screen->GetName(), "MjClassic");
    EXPECT_EQ(MjClassic::Shared().sanity, 0);
    EXPECT_EQ(screen->_layoutFile, "puzzles/classic01.cfg"); // the last board stays dealt
}

TEST_F(MjClassicTest, SkipKeysEndAReplayRunAndLetTheTilesArriveAtOnce)
{
    Make(kQuestLook);
    struct Case
    {
        int run;
        int endAfter;
    };
    for (const Case& c : {Case{0, 61}, Case{3, 0}, Case{-2, 0}}) {
        screen->_replayRun = c.run;
        screen->_replayRunEnd = 61;
        screen->_skipArrival = 0;
        screen->ClearSequenceEnd();
        EXPECT_EQ(screen->_replayRunEnd, c.endAfter) << c.run;
        EXPECT_EQ(screen->_skipArrival, 1);
    }
}

TEST_F(MjClassicTest, UnknownCueIsNotRememberedAndStopForgetsTheRememberedOne)
{
    Make(kClassicLook);
    MjClassicShared& shared = MjClassic::Shared();
    shared.cueRemembered = false;
    screen->PlayCue("CFG_NO_SUCH_CUE", MjClassic::kCueRepeat);
    EXPECT_FALSE(shared.cueRemembered);
    shared.cueRemembered = true;
    shared.cueChannel = 3;
    screen->PlayCue("CFG_SELECT", 0); // plays once, cuts nothing off
    EXPECT_TRUE(shared.cueRemembered);
    screen->PlayCue("stop", MjClassic::kCueStop);
    EXPECT_FALSE(shared.cueRemembered);
}

namespace {

// The game script of a chosen variant over the board screen, on a framework with the game data.
class GameScript : public MjGameScript
{
public:
    GameScript(Framework* app, GameTime* clock, int variant)
        : MjGameScript(app, clock), variant(variant)
    {}
    int GetGameVariant() override { return variant; }
    int variant;
};

class MjClassicGameTest : public GameDataTest
{
protected:
    void SetUp() override
    {
        GameDataTest::SetUp();
        s = new GameScript(app.get(), Manager()->GetGameTime(), 2);
        Attach(s);
        s->LoadGameConfigs(false);
        // The game runs in its start state from here on (a delay of 0 runs nothing).
        s->ChangeState(MjGameScript::kStartGame, 0);
        s->DoState(MjGameScript::kStartGame);
    }

    // The object report of the whole run, after the script and the framework have gone.
    std::string LeakReport()
    {
        TearDown();
        const std::string log = testsupport::ReadFile("debug.txt");
        EXPECT_NE(log.find("Total objects used"), std::string::npos);
        const size_t leak = log.find("Not Cleaned UP");
        return leak == std::string::npos ? "" : log.substr(leak);
    }

    // A board of the classic game started at set-up, then one of each further look, each game
    // ended as a new one starts.
    void PlayGames(const std::vector<const char*>& nextLooks)
    {
        for (size_t n = 0; n <= nextLooks.size(); ++n) {
            ASSERT_NE(s->GetScreen(), nullptr);
            s->GetScreen()->SetupBoard(0, 0, MjClassic::kStartOpening, "");
            for (int f = 0; f < 20; ++f) {
                Frame(10);
            }
            if (n < nextLooks.size()) {
                s->EndGame(true);
                Frame(10);
                s->StartGame(nextLooks[n]);
            }
        }
    }

    GameScript* s = nullptr;
};

} // namespace

TEST_F(MjClassicGameTest, StartBuildsTheScreenAndGivesTheStageItsOneBackground)
{
    MjClassic* screen = s->GetScreen();
    ASSERT_NE(screen, nullptr);
    Cast* stage = screen->_cast;
    EXPECT_EQ(stage, Manager()->GetCast());
    EXPECT_EQ(screen->_config, s->GetBoardConfig());
    ASSERT_NE(s->GetBackground(), nullptr);
    EXPECT_EQ(stage->GetBackground(), s->GetBackground());
    // The in-game menu button is the screen's to disable with its own.
    EXPECT_FALSE(s->GetMenuButton()->GetEnabled());

    // A new background replaces the old one on the stage before the old one goes.
    for (int n = 0; n < 2; ++n) {
        Image* made = screen->MakeBackground();
        EXPECT_EQ(s->GetBackground(), made);
        EXPECT_EQ(stage->GetBackground(), made);
        Frame(10);
    }

    // A skipped sequence lets the next board's tiles arrive at once and ends the sequence.
    screen->_skipArrival = 0;
    s->DoState(MjGameScript::kSequenceSkipped);
    EXPECT_EQ(screen->_skipArrival, 1);
    EXPECT_EQ(s->GetNextState(), MjGameScript::kSequenceEnded);

    s->EndGame(true);
    EXPECT_EQ(s->GetScreen(), nullptr);
    EXPECT_EQ(s->GetBackground(), nullptr);
    EXPECT_EQ(stage->GetBackground(), nullptr);
}

TEST_F(MjClassicGameTest, OneGameLeavesNoObjectBehind)
{
    PlayGames({});
    EXPECT_EQ(LeakReport(), "");
}

TEST_F(MjClassicGameTest, ThreeGamesInARowLeaveNoObjectBehind)
{
    PlayGames({kClassicLook, kClassicLook});
    EXPECT_EQ(LeakReport(), "");
}

TEST_F(MjClassicGameTest, GamesOfEveryLookInARowLeaveNoObjectBehind)
{
    PlayGames({kQuestLook, kTimedLook, kQuestLook});
    EXPECT_EQ(LeakReport(), "");
}

TEST_F(MjClassicGameTest, ClosedDialogsGiveTheBoardBackUnlessTheGameIsLeft)
{
    MjClassic* screen = s->GetScreen();
    ASSERT_NE(screen, nullptr);
    screen->SetupBoard(0, 0, MjClassic::kStartOpening, "");
    screen->HideBoardSprites();
    std::vector<MjTile*> tiles;
    for (int index : screen->_layout->OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        tiles.push_back(static_cast<MjTile*>(screen->_layout->Cell(i, j, k).tile));
        tiles.back()->Hide();
    }
    tiles[0]->SetActive(false); // on its way to the tray: stays as it is
    ASSERT_FALSE(screen->_pauseButton->GetEnabled());

    s->DialogDetached(nullptr, AppScript::kOptionsDialog, false);
    EXPECT_EQ(screen->_inPlay, 1);
    EXPECT_EQ(screen->_buttonsDisabled, 0);
    for (CastMemberButton* button : {screen->_pauseButton, screen->_replayButton,
                                     screen->_newGameButton, s->GetMenuButton()}) {
        EXPECT_TRUE(button->GetEnabled()) << button->GetID();
    }
    EXPECT_FALSE(screen->_undoButton->GetEnabled()); // nothing to undo yet
    EXPECT_FALSE(tiles[0]->IsVisible());
    for (size_t n = 1; n < tiles.size(); ++n) {
        EXPECT_TRUE(tiles[n]->IsVisible()) << n;
    }

    // Once the game is being left only the board's own warning gives it back.
    s->LeaveGame();
    screen->_inPlay = 0;
    s->DialogDetached(nullptr, AppScript::kRulesDialog, false);
    s->ResumeBoard();
    EXPECT_EQ(screen->_inPlay, 0);
    s->DialogDetached(nullptr, MjGameScript::kScrambleWarningDialog, false);
    EXPECT_EQ(screen->_inPlay, 1);
}
