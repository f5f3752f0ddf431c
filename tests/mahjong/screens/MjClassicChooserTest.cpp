#include "framework/core/ConfigFile.h"
#include "framework/core/Point.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberButton.h"
#include "framework/stage/CastMemberImage.h"
#include "framework/stage/CueListener.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjPuzzleRules.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/screen/MjClassic.h"
#include "tests/mahjong/support/FlowHarness.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace mjtest {
namespace {

constexpr int kFrameMs = 10;
// Long enough for a page of cells (one per step) and the board's opening after play.
constexpr unsigned int kPageMs = 300;
constexpr unsigned int kOpeningMs = 3000;
constexpr int kBoards = 20;
// Entries of _selectionSprites.
constexpr int kRightArrow = 0;
constexpr int kPlayButton = 1;
constexpr int kLeftArrow = 2;
constexpr int kCancelButton = 3;

// Four free pairs on one layer, titled by the board's number.
const std::vector<Spot> kChooserSpots = {
    {0, 0, 1, 5},   {10, 4, 1, 27}, {20, 0, 1, -1}, {22, 0, 1, -1},
    {20, 8, 1, -1}, {22, 8, 1, -1}, {4, 8, 1, -1},  {8, 12, 1, -1},
};

// The board screen as a game opens it: a puzzle set of kBoards small boards titled "Board n", the
// shipped page layouts, and the chooser opened by the fade-in's cue, as the game's first opening.
class MjClassicChooserTest : public FlowHarness
{
protected:
    void OpenGame(const std::string& look = kClassicLook, int boards = kBoards)
    {
        MakeScreen(look);
        script->board = screen.get();
        ConfigFile* set = screen->_puzzlesFile.get();
        ConfigFile shipped("cfg/puzzles2.cfg", false, false, false);
        for (const char* section : {"replay8", "replay5"}) {
            for (const char* key : {"pos", "space", "nameplate", "skin", "start", "size"}) {
                set->Write(section, key,
                           static_cast<std::string>(shipped.Value(section, key, "0", true)));
            }
            set->Write(section, "group1", std::string(section) + " page 1");
            set->Write(section, "group2", std::string(section) + " page 2");
            set->Write(section, "group3", std::string(section) + " page 3");
        }
        for (const char* section : {"left", "right", "play", "movie", "cancel", "levelplate"}) {
            set->Write(section, "img",
                       static_cast<std::string>(shipped.Value(section, "img", "0", true)));
        }
        for (int n = 0; n < boards; ++n) {
            const std::string layout = "puzzles/chooser" + std::to_string(n) + ".cfg";
            ASSERT_TRUE(testsupport::WriteFile(
                layout, LayoutText(kChooserSpots, "Board " + std::to_string(n))));
            set->Write(MjPuzzleRules::SectionName(n), "layout", layout);
            set->Write(MjPuzzleRules::SectionName(n), "tileset", 0);
            set->Write(MjPuzzleRules::SectionName(n), "difficulty", 0);
        }
        set->Write("puzzles", "max", boards - 1);
        screen->_puzzleCount = boards - 1;
        if (!screen->_quest) {
            screen->_highestGameReached = screen->_puzzleCount;
        }
        screen->_puzzle = 0;
        if (screen->_quest) {
            // The quest opens on its intro scene; its tests open their page themselves.
            screen->SetupBoard(0, 0, MjClassic::kStartQuiet, "");
            return;
        }
        // The fade-in of the game's stage ends.
        screen->Cue(nullptr, CueListener::kScreenFadedIn, 0);
    }

    void BuildPage()
    {
        Run(kPageMs);
        ASSERT_EQ(screen->_pageReady, 1);
        TakeCues();
    }

    // In-game menu, Choose a Board, yes.
    void ChooseABoardFromTheMenu()
    {
        screen->HideBoard(MjGameScript::kMenuHideReason);
        script->ShowPrompt(MjGameScript::kReplayPrompt);
        ASSERT_EQ(OpenPopupId(), MjClassic::kSelectionDialog);
        Answer(MjGameScript::kYesItem);
        // The stage drops presses for a moment after a dialog came up.
        Play(kPageMs);
    }

    CastMemberButton* Button(int slot)
    {
        return dynamic_cast<CastMemberButton*>(screen->_selectionSprites[slot]);
    }

    CastMemberImage* Cell(int row, int place)
    {
        return static_cast<CastMemberImage*>(screen->_cellSprites[row][place]);
    }

    std::string PageTitle()
    {
        auto* title = dynamic_cast<MjTextLabel*>(screen->_cellSprites[3][4]);
        return title != nullptr ? title->GetText() : "";
    }

    // A press at the middle of a sprite, through the stage.
    void PressSprite(CastMember* sprite)
    {
        ASSERT_NE(sprite, nullptr);
        PressAt(sprite->GetX() + sprite->GetW() / 2, sprite->GetY() + sprite->GetH() / 3);
    }

    int CellsMade()
    {
        int made = 0;
        for (int place = 0; place < 9; ++place) {
            made += screen->_cellSprites[0][place] != nullptr ? 1 : 0;
        }
        return made;
    }
};

TEST_F(MjClassicChooserTest, TheGamesFirstOpeningIsTheBoardChooser)
{
    OpenGame();
    EXPECT_EQ(screen->_previewDeal, 1);
    EXPECT_EQ(screen->_selectionKind, 0);
    EXPECT_EQ(screen->_cellsPerPage, 8);
    EXPECT_EQ(MjClassic::Shared().savedBoard, 0);
    EXPECT_EQ(screen->_inPlay, 0);
    EXPECT_EQ(screen->_pageReady, 0);
    BuildPage();
    EXPECT_EQ(CellsMade(), 8);
    EXPECT_EQ(screen->_cellSprites[0][4], nullptr);
    EXPECT_EQ(PageTitle(), "replay8 page 1");
    ASSERT_NE(screen->_infoLines[0], nullptr);
    EXPECT_EQ(screen->_infoLines[0]->GetText(), "Board 0");
    // The chosen cell shows its highlighted sprite; every board tile is hidden.
    EXPECT_FALSE(Cell(0, 0)->IsVisible());
    EXPECT_TRUE(Cell(1, 0)->IsVisible());
    EXPECT_TRUE(Cell(0, 1)->IsVisible());
    EXPECT_EQ(ShownTiles(), 0);
    for (int slot : {kRightArrow, kPlayButton, kLeftArrow, kCancelButton}) {
        ASSERT_NE(Button(slot), nullptr) << slot;
        EXPECT_TRUE(Button(slot)->GetEnabled()) << slot;
        EXPECT_GT(Button(slot)->GetW(), 0) << slot;
    }
    EXPECT_EQ(Button(kLeftArrow)->GetID(), MjClassic::kPreviousPageId);
    EXPECT_EQ(Button(kRightArrow)->GetID(), MjClassic::kNextPageId);
    // Cells of the second row after the free centre: place 5 is cell 4, id 204.
    EXPECT_EQ(Cell(0, 5)->GetID(), MjClassic::kFirstCellId + 4);
    EXPECT_EQ(Cell(0, 8)->GetID(), MjClassic::kFirstCellId + 7);
}

TEST_F(MjClassicChooserTest, PagingTable)
{
    struct Row
    {
        int limit;
        int start;
        int button;
        int puzzle;
    };
    // A limit below 5 disables both arrows (tested below); previous on the first page goes to
    // the limit's page; next beyond the limit wraps to 0.
    for (const Row& row :
         {Row{19, 0, MjClassic::kPreviousPageId, 16}, Row{19, 16, MjClassic::kNextPageId, 0},
          Row{19, 5, MjClassic::kNextPageId, 8}, Row{19, 10, MjClassic::kPreviousPageId, 0},
          Row{12, 8, MjClassic::kNextPageId, 0}, Row{12, 3, MjClassic::kPreviousPageId, 8},
          Row{8, 2, MjClassic::kNextPageId, 8}}) {
        SCOPED_TRACE("limit " + std::to_string(row.limit) + " from " + std::to_string(row.start));
        OpenGame();
        BuildPage();
        MjClassic::Shared().selectableLimit = row.limit;
        screen->_puzzle = row.start;
        screen->ButtonClicked(row.button, 1);
        EXPECT_EQ(screen->_puzzle, row.puzzle);
        EXPECT_EQ(MjClassic::Shared().pageFirst, row.puzzle - row.puzzle % 8);
        EXPECT_EQ(TakeCues(), std::vector<std::string>{"CFG_MENUSELECTIONS 0"});
        EXPECT_EQ(screen->_pageReady, 0);
        BuildPage();
        EXPECT_EQ(PageTitle(), "replay8 page " + std::to_string(row.puzzle / 8 + 1));
        DropScreen();
    }
}

TEST_F(MjClassicChooserTest, ALimitBelowFiveDisablesBothArrows)
{
    for (int limit : {0, 4, 5}) {
        OpenGame();
        screen->_highestGameReached = limit;
        screen->LeaveSelectionScreen(true);
        screen->ShowSelectionScreen(0);
        BuildPage();
        EXPECT_EQ(Button(kLeftArrow)->GetEnabled(), limit >= 5) << limit;
        EXPECT_EQ(Button(kRightArrow)->GetEnabled(), limit >= 5) << limit;
        DropScreen();
    }
}

TEST_F(MjClassicChooserTest, ACellPastTheLimitIsRefusedAndKeepsTheScreen)
{
    OpenGame();
    BuildPage();
    MjClassic::Shared().selectableLimit = 2;
    // Cell id 205 (entry 5, n = 6) is past limit + 1; cell id 202 (entry 2, n = 3) is limit + 1
    // and is taken.
    screen->ButtonClicked(MjClassic::kFirstCellId + 5, 1);
    EXPECT_EQ(TakeCues(), std::vector<std::string>{"CFG_TILESNOTMATCHED 0"});
    EXPECT_EQ(screen->_puzzle, 0);
    EXPECT_EQ(screen->_previewDeal, 1);
    screen->ButtonClicked(MjClassic::kFirstCellId + 2, 1);
    EXPECT_EQ(screen->_puzzle, 2);
    // A cell id past the page's cells is no cell.
    screen->_cellsPerPage = 5;
    screen->ButtonClicked(MjClassic::kLastCellId, 1);
    EXPECT_EQ(screen->_puzzle, 2);
}

TEST_F(MjClassicChooserTest, NothingAnswersBeforeThePageIsComplete)
{
    OpenGame();
    Run(kFrameMs);
    ASSERT_EQ(screen->_pageReady, 0);
    TakeCues();
    for (int id : {MjClassic::kNextPageId, MjClassic::kPreviousPageId, MjClassic::kPlayChoiceId,
                   MjClassic::kCancelChoiceId, MjClassic::kFirstCellId + 1}) {
        screen->ButtonClicked(id, 1);
        EXPECT_EQ(screen->_puzzle, 0) << id;
        EXPECT_EQ(screen->_previewDeal, 1) << id;
        EXPECT_FALSE(script->Leaving()) << id;
    }
    EXPECT_TRUE(TakeCues().empty());
}

TEST_F(MjClassicChooserTest, ASecondClickWithin400MsPlaysTheChosenCell)
{
    OpenGame();
    BuildPage();
    // Pressed through the stage: the cell of board 1 is chosen, its label repeated in the centre.
    PressSprite(Cell(0, 1));
    EXPECT_EQ(screen->_puzzle, 1);
    EXPECT_TRUE(Cell(1, 1)->IsVisible());
    EXPECT_FALSE(Cell(0, 1)->IsVisible());
    EXPECT_TRUE(Cell(0, 0)->IsVisible());
    EXPECT_FALSE(Cell(1, 0)->IsVisible());
    EXPECT_EQ(screen->_infoLines[0]->GetText(), "Board 1");
    Run(350);
    PressSprite(Cell(1, 1));
    EXPECT_EQ(screen->_previewDeal, 0);
    EXPECT_FALSE(screen->_firstBoard);
    EXPECT_EQ(screen->_puzzle, 1);
    Play(kOpeningMs);
    EXPECT_EQ(screen->_inPlay, 1);
    EXPECT_EQ(screen->_layout->Title(), "Board 1");
    EXPECT_EQ(ShownTiles(), static_cast<int>(kChooserSpots.size()));
}

TEST_F(MjClassicChooserTest, ALaterSecondClickDoesNothing)
{
    OpenGame();
    BuildPage();
    screen->ButtonClicked(MjClassic::kFirstCellId + 1, 1);
    Run(450);
    screen->ButtonClicked(MjClassic::kFirstCellId + 1, 1);
    EXPECT_EQ(screen->_previewDeal, 1);
    EXPECT_EQ(screen->_puzzle, 1);
    // Its time counts from the last click: one more soon after plays.
    Run(100);
    screen->ButtonClicked(MjClassic::kFirstCellId + 1, 1);
    EXPECT_EQ(screen->_previewDeal, 0);
}

TEST_F(MjClassicChooserTest, PlayStartsTheChosenBoardInTheChosenMode)
{
    OpenGame();
    BuildPage();
    screen->ButtonClicked(MjClassic::kFirstCellId + 6, 1);
    ASSERT_EQ(screen->_puzzle, 6);
    screen->_playMode = 3;
    PressSprite(Button(kPlayButton));
    EXPECT_EQ(screen->_previewDeal, 0);
    EXPECT_EQ(MjClassic::Shared().savedBoard, -1);
    for (int row = 0; row < 4; ++row) {
        for (int place = 0; place < 9; ++place) {
            EXPECT_EQ(screen->_cellSprites[row][place], nullptr);
        }
    }
    for (CastMember* sprite : screen->_selectionSprites) {
        EXPECT_EQ(sprite, nullptr);
    }
    for (MjTile* tile : screen->_modeTiles) {
        EXPECT_EQ(tile, nullptr);
    }
    Play(kOpeningMs);
    EXPECT_EQ(screen->_puzzle, 6);
    EXPECT_EQ(screen->_layout->Title(), "Board 6");
    EXPECT_EQ(screen->_playMode, 3);
    // Mode 3 hides the faces of a board without special tiles.
    EXPECT_EQ(MjClassic::Shared().faceHiding, 1);
    EXPECT_EQ(screen->_inPlay, 1);
}

// The bottom bar follows the mode of the board it stands under: Hints rests the hint button, and
// a classic board chosen from the in-game menu afterwards has it back.
TEST_F(MjClassicChooserTest, TheHintButtonFollowsTheModeOfEachChosenBoard)
{
    OpenGame();
    // Mode tile n plays in mode n - 1: tile 2 is Hints (faces hidden), tile 1 classic play.
    struct Choice
    {
        int modeTile;
        int faceHiding;
    };
    for (const Choice& c : {Choice{2, 1}, Choice{1, 0}}) {
        SCOPED_TRACE(c.modeTile);
        if (c.modeTile == 1) {
            ASSERT_NO_FATAL_FAILURE(ChooseABoardFromTheMenu());
        }
        BuildPage();
        Press(screen->_modeTiles[c.modeTile]);
        ASSERT_EQ(screen->_playMode, c.modeTile - 1);
        PressSprite(Button(kPlayButton));
        Play(kOpeningMs);
        ASSERT_EQ(MjClassic::Shared().faceHiding, c.faceHiding);
        EXPECT_TRUE(screen->_undoButton->IsVisible());
        EXPECT_EQ(screen->_hintButton->IsVisible(), c.faceHiding == 0);
        if (c.faceHiding == 0) {
            EXPECT_EQ(screen->_hintButton->GetAlpha(), 255);
        }
    }
}

// Every pixel of a picture, row by row.
std::vector<Color> PixelsOf(Image* image)
{
    std::vector<Color> pixels;
    Canvas* canvas = image != nullptr ? image->GetCanvas() : nullptr;
    if (canvas == nullptr) {
        return pixels;
    }
    for (int y = 0; y < canvas->GetH(); ++y) {
        for (int x = 0; x < canvas->GetW(); ++x) {
            pixels.push_back(canvas->GetPixel(x, y));
        }
    }
    return pixels;
}

// The chooser's pictures (cells, nameplates, mode tiles) are held only while it shows: they are
// gone with a board in play, and the chooser opened again from the in-game menu draws the same
// page over the same panel as the first time.
TEST_F(MjClassicChooserTest, TheChoosersPicturesAreHeldOnlyWhileItShows)
{
    OpenGame();
    BuildPage();
    Cast* cast = Manager()->GetCast();
    const std::vector<Color> cell = PixelsOf(Cell(0, 1)->GetImage());
    const std::vector<Color> chosen = PixelsOf(Cell(1, 0)->GetImage());
    const std::vector<Color> panel = PixelsOf(cast->GetBackground());
    ASSERT_FALSE(cell.empty());
    ASSERT_FALSE(panel.empty());
    ASSERT_EQ(script->GetBackground(), cast->GetBackground());
    auto held = [this] {
        int count = 0;
        for (int n = 0; n < MjClassic::kCellImages; ++n) {
            count += screen->_cellImages[n] != nullptr ? 1 : 0;
            count += screen->_cellBrightImages[n] != nullptr ? 1 : 0;
        }
        for (const void* picture : {static_cast<const void*>(screen->_cellDarkImage.get()),
                                    static_cast<const void*>(screen->_smallFancyImage.get()),
                                    static_cast<const void*>(screen->_modesSheet.get())}) {
            count += picture != nullptr ? 1 : 0;
        }
        return count;
    };
    // Every place's normal and bright cell but the middle one's, which shows the chosen board.
    const int all = 2 * (MjClassic::kCellImages - 1) + 3;
    EXPECT_EQ(held(), all);
    EXPECT_EQ(screen->_cellImages[MjClassic::kCentrePlace], nullptr);

    PressSprite(Button(kPlayButton));
    Play(kOpeningMs);
    ASSERT_EQ(screen->_inPlay, 1);
    EXPECT_EQ(held(), 0);
    // The bonus picture of the board's end stays; the stage shows the board's own background.
    EXPECT_NE(screen->_timerBonusImage, nullptr);
    EXPECT_EQ(script->GetBackground(), cast->GetBackground());
    EXPECT_NE(PixelsOf(cast->GetBackground()), panel);

    ASSERT_NO_FATAL_FAILURE(ChooseABoardFromTheMenu());
    BuildPage();
    EXPECT_EQ(held(), all);
    ASSERT_NE(Cell(0, 1), nullptr);
    ASSERT_NE(Cell(1, 0), nullptr);
    EXPECT_EQ(PixelsOf(Cell(0, 1)->GetImage()), cell);
    EXPECT_EQ(PixelsOf(Cell(1, 0)->GetImage()), chosen);
    EXPECT_EQ(PixelsOf(cast->GetBackground()), panel);
    for (MjTile* tile : screen->_modeTiles) {
        ASSERT_NE(tile, nullptr);
        EXPECT_GT(tile->GetW(), 0);
    }
}

TEST_F(MjClassicChooserTest, CancelAtTheFirstOpeningLeavesTheGame)
{
    OpenGame();
    BuildPage();
    screen->ButtonClicked(MjClassic::kCancelChoiceId, 1);
    EXPECT_TRUE(script->Leaving());
    EXPECT_EQ(MjClassic::Shared().savedBoard, -1);
}

TEST_F(MjClassicChooserTest, ALaterCancelRestartsTheSavedBoardInTheSavedMode)
{
    OpenGame();
    BuildPage();
    screen->ButtonClicked(MjClassic::kFirstCellId + 3, 1);
    screen->ButtonClicked(MjClassic::kPlayChoiceId, 1);
    Play(kOpeningMs);
    ASSERT_EQ(screen->_layout->Title(), "Board 3");
    // From the board: the chooser again, another board and mode picked, then cancel.
    screen->_selectionKind = 0;
    screen->ShowSelectionScreen(0);
    EXPECT_EQ(MjClassic::Shared().savedBoard, 3);
    EXPECT_EQ(MjClassic::Shared().savedPlayMode, 0);
    BuildPage();
    screen->ButtonClicked(MjClassic::kFirstCellId + 5, 1);
    screen->_playMode = 2;
    screen->ButtonClicked(MjClassic::kCancelChoiceId, 1);
    EXPECT_FALSE(script->Leaving());
    EXPECT_EQ(screen->_previewDeal, 0);
    EXPECT_EQ(screen->_playMode, 0);
    Play(kOpeningMs);
    EXPECT_EQ(screen->_puzzle, 3);
    EXPECT_EQ(screen->_layout->Title(), "Board 3");
    EXPECT_EQ(screen->_inPlay, 1);
}

TEST_F(MjClassicChooserTest, ASceneChoiceResumesTheBoard)
{
    OpenGame();
    BuildPage();
    screen->ButtonClicked(MjClassic::kFirstCellId + 2, 1);
    screen->ButtonClicked(MjClassic::kPlayChoiceId, 1);
    Play(kOpeningMs);
    const int tiles = ShownTiles();
    ASSERT_GT(tiles, 0);

    for (int button : {MjClassic::kCancelChoiceId, MjClassic::kPlayChoiceId}) {
        SCOPED_TRACE(button);
        screen->_selectionKind = 1;
        screen->ShowSelectionScreen(0);
        EXPECT_EQ(screen->_cellsPerPage, 5);
        EXPECT_EQ(screen->_puzzle, screen->_sceneChoice);
        EXPECT_EQ(ShownTiles(), 0);
        // The scenes page has no page turns: its arrows are hidden.
        EXPECT_FALSE(Button(kLeftArrow)->IsVisible());
        EXPECT_FALSE(Button(kRightArrow)->IsVisible());
        BuildPage();
        screen->ButtonClicked(MjClassic::kFirstCellId + 1, 1);
        EXPECT_EQ(screen->_puzzle, 1);
        screen->ButtonClicked(button, 1);
        EXPECT_EQ(screen->_previewDeal, 0);
        EXPECT_EQ(screen->_puzzle, 2);
        EXPECT_EQ(screen->_inPlay, 1);
        EXPECT_EQ(ShownTiles(), tiles);
        EXPECT_EQ(screen->_layout->Title(), "Board 2");
    }
    EXPECT_EQ(screen->_sceneChoice, 1);
}

// Outside the quest the right-hand number of the top bar is the best score of the board in
// play. A scene index is no board: choosing a scene, or leaving the scenes page, keeps that
// number and the records a finished board is measured against.
TEST_F(MjClassicChooserTest, TheScenesPageKeepsTheRecordsOfTheBoardInPlay)
{
    OpenGame();
    const int type = screen->_config->_type;
    for (const auto& [board, best] : {std::pair<int, int>{2, 500}, {1, 300}, {4, 1080}}) {
        screen->_progressFile->Write("prevBestScore", MjPuzzleRules::SeedKey(type, board), best);
    }
    screen->_highScoresFile->Write("prevHighScore", MjPuzzleRules::SeedKey(type, 2), 900);
    BuildPage();
    screen->ButtonClicked(MjClassic::kFirstCellId + 2, 1);
    screen->ButtonClicked(MjClassic::kPlayChoiceId, 1);
    Play(kOpeningMs);
    ASSERT_EQ(screen->_scoreTotText->GetText(), "500");
    for (int button : {MjClassic::kCancelChoiceId, MjClassic::kPlayChoiceId}) {
        SCOPED_TRACE(button);
        screen->_selectionKind = 1;
        screen->ShowSelectionScreen(0);
        BuildPage();
        EXPECT_EQ(screen->_scoreTotText->GetText(), "500");
        screen->ButtonClicked(MjClassic::kFirstCellId + 1, 1);
        EXPECT_EQ(screen->_scoreTotText->GetText(), "500");
        screen->ButtonClicked(button, 1);
        EXPECT_EQ(screen->_puzzle, 2);
        EXPECT_EQ(screen->_scoreTotText->GetText(), "500");
        EXPECT_EQ(screen->_score, 500);
        EXPECT_EQ(screen->_recordValues[0], 900);
        EXPECT_EQ(screen->_recordValues[1], 500);
        EXPECT_EQ(screen->_puzzleNumber, 3);
    }
}

TEST_F(MjClassicChooserTest, QuestMoviesPage)
{
    struct Row
    {
        int reached;
        int limit;
    };
    for (const Row& row : {Row{-1, 1}, Row{3, 2}, Row{9, 4}, Row{59, 14}}) {
        SCOPED_TRACE(row.reached);
        OpenGame(kQuestLook, 10);
        screen->_highestGameReached = row.reached;
        screen->_selectionKind = 1;
        screen->ShowSelectionScreen(0);
        EXPECT_EQ(MjClassic::Shared().selectableLimit, row.limit);
        EXPECT_EQ(screen->_cellsPerPage, 5);
        EXPECT_EQ(PageTitle(), "Zorvy Movie - Act I");
        BuildPage();
        // Cells at alpha 128 show the movie's picture inside the frame.
        Image picture("images/cell1.jpg", nullptr);
        EXPECT_EQ(Cell(0, 1)->GetAlpha(), 128);
        EXPECT_TRUE(testsupport::SameRgb(Cell(1, 0)->GetImage()->GetCanvas()->GetPixel(30, 30),
                                         picture.GetCanvas()->GetPixel(24, 24)));
        DropScreen();
    }
    OpenGame(kQuestLook, 10);
    screen->_highestGameReached = 59;
    screen->_puzzleCount = 62;
    screen->_selectionKind = 1;
    screen->ShowSelectionScreen(0);
    BuildPage();
    for (const auto& [entry, title] :
         std::vector<std::pair<int, std::string>>{{5, "Zorvy Movie - Act II"},
                                                  {10, "Zorvy Movie - Act III"},
                                                  {4, "Zorvy Movie - Act I"}}) {
        screen->_puzzle = entry;
        screen->ShowSelectionScreen(-2);
        screen->ShowSelectionScreen(-1);
        EXPECT_EQ(PageTitle(), title) << entry;
        BuildPage();
    }
    // Entry 15 and above wrap to 0.
    screen->_puzzle = 10;
    screen->ShowSelectionScreen(-2);
    EXPECT_EQ(screen->_puzzle, 0);
    EXPECT_EQ(PageTitle(), "Zorvy Movie - Act I");
}

TEST_F(MjClassicChooserTest, QuestBoardReplayShowsFiveCellsOfTheBoardsReached)
{
    OpenGame(kQuestLook, 10);
    screen->_highestGameReached = 2;
    screen->_puzzle = 1;
    screen->_selectionKind = 0;
    screen->ShowSelectionScreen(0);
    EXPECT_EQ(screen->_cellsPerPage, 5);
    BuildPage();
    EXPECT_EQ(CellsMade(), 5);
    Image dark("images/MiniBackgroundDark.png", nullptr);
    const Color locked = dark.GetCanvas()->GetPixel(116, 70);
    for (const auto& [place, open] :
         std::vector<std::pair<int, bool>>{{0, true}, {2, true}, {3, false}, {5, false}}) {
        EXPECT_EQ(testsupport::SameRgb(Cell(0, place)->GetImage()->GetCanvas()->GetPixel(116, 70),
                                       locked),
                  !open)
            << place;
    }
    // No mode tiles in the quest.
    for (MjTile* tile : screen->_modeTiles) {
        EXPECT_EQ(tile, nullptr);
    }
}

TEST_F(MjClassicChooserTest, APageTurnWhileTheCellsAreBuiltStartsThePageAfresh)
{
    OpenGame();
    Run(3 * kFrameMs);
    ASSERT_EQ(screen->_pageReady, 0);
    screen->ShowSelectionScreen(-2);
    EXPECT_EQ(MjClassic::Shared().previewIndex, 8);
    BuildPage();
    EXPECT_EQ(MjClassic::Shared().previewIndex, 16);
    EXPECT_EQ(screen->_infoLines[0]->GetText(), "Board 8");
    auto* label = dynamic_cast<MjTextLabel*>(screen->_cellSprites[3][8]);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetText(), "Board 15");
}

TEST_F(MjClassicChooserTest, LeavingWhileTheCellsAreBuiltDropsTheBuild)
{
    OpenGame();
    Run(3 * kFrameMs);
    ASSERT_EQ(screen->_pageReady, 0);
    ASSERT_GT(CellsMade(), 0);
    screen->LeaveSelectionScreen(true);
    EXPECT_NE(screen->_scoreText->GetState(), MjClassic::kBuildPreviewState);
    Run(kPageMs);
    EXPECT_EQ(CellsMade(), 0);
}

// The build's next step is set on one of the screen's labels: the screen going takes the label
// and the step with it, and nothing is built or left on the stage.
TEST_F(MjClassicChooserTest, LeavingTheGameWhileTheCellsAreBuiltTouchesNothingGone)
{
    Cast* cast = Manager()->GetCast();
    const std::size_t before = cast->GetCastMembers().size();
    OpenGame();
    Run(3 * kFrameMs);
    ASSERT_EQ(screen->_pageReady, 0);
    ASSERT_GT(CellsMade(), 0);
    ASSERT_GT(cast->GetCastMembers().size(), before);
    DropScreen();
    Run(kPageMs);
    EXPECT_EQ(cast->GetCastMembers().size(), before);
    for (CastMember* member : cast->GetCastMembers()) {
        EXPECT_FALSE(member->GetID() >= MjClassic::kFirstCellId &&
                     member->GetID() <= MjClassic::kLastCellId)
            << "a cell of id " << member->GetID() << " is on the stage";
        EXPECT_NE(member->GetState(), MjClassic::kBuildPreviewState);
    }
}

// The scenes page outside the quest: five cells at alpha 64, cell n showing the picture
// "images/cell_pc_<n + 1>.jpg" inside its frame and the title of its scene. The choice stays in
// 0..4 whatever choice was stored; its arrows are hidden, and a page turn that still arrives
// lands on 4 (the scene chosen by board).
TEST_F(MjClassicChooserTest, ScenesPageShowsFiveScenesAndKeepsTheChoiceInRange)
{
    struct Row
    {
        const char* look;
        int stored; // the scene choice when the page opens
        int turn;   // a page turn's button id after it opened, 0 for none
        int chosen;
    };
    const Row rows[] = {
        {kClassicLook, 2, 0, 2},
        {kClassicLook, 9, 0, 4},
        {kClassicLook, -3, 0, 4},
        {kClassicLook, 1, MjClassic::kNextPageId, 4},
        {kClassicLook, 0, MjClassic::kPreviousPageId, 4},
        {kTimedLook, 3, 0, 3},
        {kTimedLook, 3, MjClassic::kNextPageId, 4},
    };
    std::string look;
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message()
                     << row.look << " stored " << row.stored << " turn " << row.turn);
        if (look != row.look) {
            // The scenes page is opened from a board in play.
            DropScreen();
            OpenGame(row.look);
            BuildPage();
            screen->ButtonClicked(MjClassic::kPlayChoiceId, 1);
            Play(kOpeningMs);
            look = row.look;
        }
        screen->_sceneChoice = row.stored;
        screen->_selectionKind = 1;
        screen->ShowSelectionScreen(0);
        BuildPage();
        if (row.turn != 0) {
            screen->ButtonClicked(row.turn, 1);
            BuildPage();
        }
        EXPECT_EQ(screen->_puzzle, row.chosen);
        EXPECT_EQ(MjClassic::Shared().pageFirst, 0);
        EXPECT_EQ(PageTitle(), "replay5 page 1");
        EXPECT_EQ(CellsMade(), 5);
        for (int scene = 0; scene < 5; ++scene) {
            SCOPED_TRACE(::testing::Message() << "scene " << scene);
            const int place = scene < 4 ? scene : scene + 1;
            Image picture("images/cell_pc_" + std::to_string(scene + 1) + ".jpg", nullptr);
            const Color inside = picture.GetCanvas()->GetPixel(24, 24);
            EXPECT_EQ(Cell(0, place)->GetAlpha(), 64);
            EXPECT_EQ(Cell(0, place)->IsVisible(), scene != row.chosen);
            EXPECT_EQ(Cell(1, place)->IsVisible(), scene == row.chosen);
            for (int sprite : {0, 1}) {
                EXPECT_TRUE(testsupport::SameRgb(
                    Cell(sprite, place)->GetImage()->GetCanvas()->GetPixel(30, 30), inside))
                    << "sprite " << sprite;
            }
            auto* label = dynamic_cast<MjTextLabel*>(screen->_cellSprites[3][place]);
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->GetText(),
                      testsupport::ConfigValue(*screen->_scenesFile,
                                               "scene" + std::to_string(scene + 1), "title"));
        }
        screen->ButtonClicked(MjClassic::kCancelChoiceId, 1);
        Play(kPageMs);
        ASSERT_EQ(screen->_previewDeal, 0);
    }
}

// Without its puzzle-set file the panel is the plain board background.
TEST_F(MjClassicChooserTest, ThePanelWithoutAPuzzleSetFileIsThePlainBackground)
{
    OpenGame();
    BuildPage();
    // The panel shown is freed before the plain one is made (it may take its address): the
    // two are told apart by their pixels.
    const std::vector<Color> panel = PixelsOf(Manager()->GetCast()->GetBackground());
    ASSERT_FALSE(panel.empty());
    std::unique_ptr<ConfigFile> set = std::move(screen->_puzzlesFile);
    screen->DrawSelectionBackground();
    screen->_puzzlesFile = std::move(set);
    ASSERT_NE(Manager()->GetCast()->GetBackground(), nullptr);
    EXPECT_NE(PixelsOf(Manager()->GetCast()->GetBackground()), panel);
}

TEST_F(MjClassicChooserTest, AButtonWithoutItsSheetHasNoSizeAndTakesNoPress)
{
    OpenGame();
    screen->LeaveSelectionScreen(true);
    screen->_puzzlesFile->Write("left", "img", "0");
    screen->ShowSelectionScreen(0);
    BuildPage();
    ASSERT_NE(Button(kLeftArrow), nullptr);
    EXPECT_EQ(Button(kLeftArrow)->GetW(), 0);
    EXPECT_EQ(Button(kLeftArrow)->GetH(), 0);
    PressAt(Button(kLeftArrow)->GetX(), Button(kLeftArrow)->GetY());
    EXPECT_EQ(screen->_puzzle, 0);
    EXPECT_EQ(MjClassic::Shared().pageFirst, 0);
}

// Where a label's text is drawn: its box holds the text centred (or as justified) at its top.
struct TextBox
{
    int left, top, right, bottom, baseline;
};

TextBox BoxOf(MjTextLabel* label)
{
    Font* font = label->GetFont();
    const Dimension size = font->TextDim(label->GetText());
    const int left = label->GetX() + label->JustifyOffset();
    return {left, label->GetY(), left + size.GetW(), label->GetY() + size.GetH(),
            label->GetY() + font->Ascent()};
}

// The text lies on the plate, centred on it to within a pixel either way.
void ExpectOnPlate(MjTextLabel* label, CastMember* plate, const std::string& what)
{
    SCOPED_TRACE(what);
    ASSERT_NE(label, nullptr);
    ASSERT_NE(plate, nullptr);
    ASSERT_FALSE(label->GetText().empty());
    const TextBox text = BoxOf(label);
    const int left = plate->GetX();
    const int top = plate->GetY();
    const int right = left + plate->GetW();
    const int bottom = top + plate->GetH();
    EXPECT_GE(text.left, left);
    EXPECT_LE(text.right, right);
    EXPECT_GE(text.top, top);
    EXPECT_LE(text.bottom, bottom);
    EXPECT_NEAR(text.left + text.right, left + right, 2);
    EXPECT_NEAR(text.top + text.bottom, top + bottom, 2);
}

TEST_F(MjClassicChooserTest, CentreTextsSitOnTheirPlatesAndThePanelUnderTheNameplate)
{
    struct Case
    {
        const char* look;
        int kind;
        const char* title; // the page title
    };
    for (const Case& c :
         {Case{kClassicLook, 0, "replay8 page 1"}, Case{kTimedLook, 0, "replay8 page 1"},
          Case{kClassicLook, 1, "replay5 page 1"}, Case{kQuestLook, 0, "replay5 page 1"},
          Case{kQuestLook, 1, "Zorvy Movie - Act I"}}) {
        SCOPED_TRACE(std::string(c.look) + " kind " + std::to_string(c.kind));
        OpenGame(c.look, 10);
        if (!screen->_quest) {
            BuildPage();
            if (c.kind == 1) {
                // The scenes page is opened from a board in play.
                screen->ButtonClicked(MjClassic::kPlayChoiceId, 1);
                Play(kOpeningMs);
            }
        } else {
            screen->_highestGameReached = 9;
        }
        if (screen->_quest || c.kind == 1) {
            screen->_selectionKind = c.kind;
            screen->ShowSelectionScreen(0);
            BuildPage();
        }
        ASSERT_EQ(PageTitle(), c.title);
        CastMember* nameplate = Cell(2, 4);
        CastMember* levelPlate = screen->_selectionSprites[4];
        ExpectOnPlate(screen->_infoLines[0], nameplate, "centre label");
        ExpectOnPlate(dynamic_cast<MjTextLabel*>(screen->_cellSprites[3][4]), levelPlate,
                      "page title");
        // The lines under the centre label start below its plate, each under the one before;
        // the best panel's last line stands on the level plate, not in it.
        const int plateBottom = nameplate->GetY() + nameplate->GetH();
        const int lines = c.kind == 0 ? 5 : 4;
        int previousTop = plateBottom - 1;
        for (int n = 1; n <= lines; ++n) {
            MjTextLabel* line = screen->_infoLines[n];
            ASSERT_NE(line, nullptr) << "line " << n;
            EXPECT_GT(line->GetY(), previousTop) << "line " << n;
            previousTop = line->GetY();
        }
        EXPECT_GE(screen->_infoLines[1]->GetY(), plateBottom);
        if (c.kind == 0) {
            EXPECT_LE(BoxOf(screen->_infoLines[5]).baseline, levelPlate->GetY());
        }
        DropScreen();
    }
}

} // namespace
} // namespace mjtest
