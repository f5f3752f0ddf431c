#include "framework/core/Rectangle.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/CastMemberDialogResizable.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/ImageResource.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberImage.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjMoves.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/screen/MjClassic.h"
#include "mahjong/screen/MjClassicConfig.h"
#include "tests/mahjong/board/MjLayoutTestSupport.h"
#include "tests/mahjong/support/BoardHarness.h"
#include "tests/shell/ShellTestSupport.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kUp = 47, kDown = 46, kWand = 57, kClone = 49, kSwapper = 54, kMagnet = 58,
              kDeepMagnet = 59, kFuse = 48, kTyphoon = 50, kBrick = 45;

// The fixture board: each power on a free tile of the top row, its targets below. Rows two
// apart never block each other; tiles three half-columns apart are free, two apart block the
// middle one. Levels count from 1.
const std::vector<mjtest::Spot> kBoard = {
    // Powers, all free.
    {0, 0, 1, kUp},
    {3, 0, 1, kDown},
    {6, 0, 1, kWand},
    {9, 0, 1, kClone},
    {12, 0, 1, kSwapper},
    {15, 0, 1, kMagnet},
    {18, 0, 1, kDeepMagnet},
    {21, 0, 1, kFuse},
    {24, 0, 1, kTyphoon},
    // Suited targets: an 8, a 9, a 1 and the three 5s; A and two Bs for the clone.
    {0, 2, 1, 7},
    {3, 2, 1, 8},
    {6, 2, 1, 9},
    {9, 2, 1, 4},
    {12, 2, 1, 13},
    {15, 2, 1, 22},
    {18, 2, 1, 30},
    {21, 2, 1, 31},
    {24, 2, 1, 31},
    // Three of type 33 and a second 8.
    {0, 4, 1, 33},
    {3, 4, 1, 33},
    {6, 4, 1, 33},
    {9, 4, 1, 7},
    // A row of three: the middle 33 is blocked.
    {0, 6, 1, 32},
    {2, 6, 1, 33},
    {4, 6, 1, 32},
    // A free brick, a brick under a tile, and a tile under a tile.
    {0, 8, 1, kBrick},
    {6, 8, 1, kBrick},
    {6, 8, 2, 27},
    {12, 8, 1, 28},
    {12, 8, 2, 29},
};

// The game script as a running game has it, with its dialog files read; answers to its dialogs
// can be given a follow-up.
constexpr int kNoScriptState = 9999;

class PopupScript : public MjGameScript
{
public:
    using MjGameScript::MjGameScript;
    int GetGameVariant() override { return 2; }
    void DialogButtonClicked(int dialogId, int itemId, int how) override
    {
        MjGameScript::DialogButtonClicked(dialogId, itemId, how);
        answers.push_back(dialogId);
        if (onAnswer) {
            onAnswer(dialogId);
        }
    }
    std::function<void(int)> onAnswer;
    std::vector<int> answers;
};

class MjClassicPowersTest : public mjtest::BoardHarness
{
protected:
    void SetUp() override
    {
        BoardHarness::SetUp();
        popups = new PopupScript(app.get(), Manager()->GetGameTime());
        // A state of no script: the script stays out of the way of the game's stage.
        popups->ChangeState(kNoScriptState, 0);
        Attach(popups);
        popups->LoadGameConfigs(false);
        // As the script does while a game is shown.
        Manager()->SetMasterInput(true);
        Frame();
    }

    // The spots as the board of the fixture set, played as board `puzzle`.
    void MakeBoard(const std::vector<mjtest::Spot>& spots = kBoard, int puzzle = 0,
                   const std::function<void(MjClassicConfig&)>& edit = {})
    {
        if (screen != nullptr) {
            screen->ReleaseSprites();
            screen.reset();
            Frame();
        }
        MakeScreen(kClassicLook, edit);
        mjtest::FixtureBoard board;
        board.spots = spots;
        StartBoard(board);
        ASSERT_EQ(screen->_tileSpriteCount, static_cast<int>(spots.size()));
        screen->_puzzle = puzzle;
    }
    void Drop()
    {
        screen->ReleaseSprites();
        screen.reset();
        Frame();
    }

    MjTile* At(int i, int j, int k = 0) { return TileAt(i, j, k); }
    // The tile the cell points at, also one that has left it for the tray.
    MjTile* Sprite(int i, int j, int k = 0)
    {
        return dynamic_cast<MjTile*>(screen->_layout->Cell(i, j, k).tile);
    }
    // The type of the tile in the cell; -1 for an empty cell.
    int TypeAt(int i, int j, int k = 0)
    {
        MjTile* tile = TileAt(i, j, k);
        return tile != nullptr ? tile->GetType() : -1;
    }
    int CountOfType(int type)
    {
        int n = 0;
        for (int index : screen->_layout->OriginIndices()) {
            int i, j, k;
            MjLayout::IndexToCell(index, i, j, k);
            n += TypeAt(i, j, k) == type ? 1 : 0;
        }
        return n;
    }
    // Frames of `step` ms until ms of the game clock have passed.
    void Step(unsigned int ms, unsigned int step)
    {
        for (unsigned int t = 0; t < ms; t += step) {
            Frame(step);
        }
    }
    int TilesOnStage() const
    {
        int n = 0;
        for (CastMember* member : Manager()->GetCast()->GetCastMembers()) {
            n += dynamic_cast<MjTile*>(member) != nullptr ? 1 : 0;
        }
        return n;
    }
    // The text of the dialog's message lines, joined.
    static std::string DialogText(CastMemberDialog* dialog)
    {
        std::string text;
        for (const auto& item : dialog->GetItems()) {
            if (item->GetType() == DialogItem::kText) {
                text += item->GetText() + " ";
            }
        }
        return text;
    }
    // The cues played since the last call, without the log's line ends.
    std::vector<std::string> Cues()
    {
        std::vector<std::string> cues = TakeCues();
        for (std::string& cue : cues) {
            while (!cue.empty() && (cue.back() == '\r' || cue.back() == '\n')) {
                cue.pop_back();
            }
        }
        return cues;
    }
    static bool Has(const std::vector<std::string>& cues, const std::string& cue)
    {
        return std::find(cues.begin(), cues.end(), cue) != cues.end();
    }

    PopupScript* popups = nullptr;
};

} // namespace

TEST_F(MjClassicPowersTest, RankPowersChangeEveryTileOfTheTypeOrDecline)
{
    MakeBoard();
    struct Case
    {
        const char* name;
        int powerI;     // the power's column in the top row
        int i, j;       // the target
        bool used;      // false: the power declines and nothing changes
        int fromType;   // a type that is gone afterwards (-1: none)
        int toType;     // its tiles' new type
        int toCount;    // tiles of toType afterwards
        int targetType; // the target's type afterwards
    };
    const Case cases[] = {
        {"up on an 8", 0, 0, 2, true, 7, 8, 3, 8},
        {"up on a 9", 0, 3, 2, false, -1, 8, 3, 8},
        {"down on a 1", 3, 6, 2, false, -1, 9, 1, 9},
        {"wand on a 5", 6, 9, 2, true, 13, 4, 3, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MjTile* power = Sprite(c.powerI, 0);
        MjTile* target = Sprite(c.i, c.j);
        ASSERT_NE(power, nullptr);
        ASSERT_NE(target, nullptr);
        const int counter = screen->_groupCounter;
        const int records = screen->_moves->Count();
        screen->_inPlay = 1;
        EXPECT_EQ(screen->RankPower(power, target), c.used);
        if (!c.used) {
            EXPECT_EQ(screen->_groupCounter, counter);
            EXPECT_EQ(screen->_moves->Count(), records);
            EXPECT_EQ(screen->_inPlay, 1);
            continue;
        }
        EXPECT_EQ(screen->_groupCounter, counter + 1);
        EXPECT_EQ(screen->_inPlay, 0);
        EXPECT_EQ(TypeAt(c.powerI, 0), -1) << "the power left for the tray";
        EXPECT_EQ(MjClassic::Shared().traySlots[1], power);
        // The copies fly for 500 ms; then no tile of the old type is left.
        Run(520);
        EXPECT_EQ(CountOfType(c.fromType), 0);
        EXPECT_EQ(CountOfType(c.toType), c.toCount);
        EXPECT_EQ(target->GetType(), c.targetType);
        EXPECT_EQ(target->GetFace(), c.targetType);
    }
    // The wand made the other suits' 5s into the target's suit: 13 and 22 are gone too.
    EXPECT_EQ(CountOfType(22), 0);
    // No copy is left on the stage once they have landed.
    EXPECT_EQ(TilesOnStage(), static_cast<int>(kBoard.size()));
}

TEST_F(MjClassicPowersTest, CloneTurnsEveryTileOfTheTargetTypeIntoTheSource)
{
    MakeBoard();
    MjTile* power = At(9, 0);
    MjTile* source = At(18, 2);
    MjTile* target = At(21, 2);
    screen->Clone(power, source, target);
    EXPECT_EQ(screen->_groupCounter, 1);
    // Until the copies land the board is unchanged; the copies take no presses.
    EXPECT_EQ(CountOfType(31), 2);
    for (CastMember* member : Manager()->GetCast()->GetCastMembers()) {
        if (auto* tile = dynamic_cast<MjTile*>(member); tile != nullptr && tile->GetType() == 30) {
            if (tile != source) {
                EXPECT_FALSE(tile->AllowInput());
            }
        }
    }
    Run(520);
    EXPECT_EQ(CountOfType(31), 0);
    EXPECT_EQ(CountOfType(30), 3);
    // The group records each changed tile with its old type and face.
    int changes = 0;
    for (int n = 0; n < screen->_moves->Count(); ++n) {
        const MjMove& move = screen->_moves->Record(n);
        if (move.type == MjMove::kChange) {
            ++changes;
            EXPECT_EQ(move.c, 31);
            EXPECT_EQ(move.d, 31);
            EXPECT_EQ(move.b, source);
        }
    }
    EXPECT_EQ(changes, 2);
}

TEST_F(MjClassicPowersTest, TyphoonSendsEveryTileOfTheTypeToSlotTwoFiftyMillisecondsApart)
{
    MakeBoard();
    MjTile* power = At(24, 0);
    std::vector<MjTile*> storm = {At(0, 4), At(2, 6), At(3, 4), At(6, 4)}; // scan order
    const Point pos = config->ValueAsPoint("UndoTiles", "pos", Point(0, 0));
    const int space = static_cast<int>(config->Value("UndoTiles", "space", 0.0, true));
    const int slotX = pos.GetX() + 2 + space;
    const int slotY = pos.GetY() - 4;
    screen->Typhoon(power, At(3, 4));
    EXPECT_EQ(screen->_groupCounter, 5);
    EXPECT_EQ(CountOfType(33), 0) << "all four left their cells at once";
    EXPECT_EQ(MjClassic::Shared().traySlots[1], power);
    // Tile n arrives at 500 + 50 n ms, not before.
    unsigned int elapsed = 0;
    for (int n = 0; n < 4; ++n) {
        const unsigned int due = 500 + 50 * n;
        Step(due - 10 - elapsed, 5);
        elapsed = due - 10;
        EXPECT_GT(std::abs(storm[n]->GetX() - slotX) + std::abs(storm[n]->GetY() - slotY), 2)
            << "tile " << n << " early";
        Step(10, 5);
        elapsed = due;
        EXPECT_LE(std::abs(storm[n]->GetX() - slotX), 1) << "tile " << n;
        EXPECT_LE(std::abs(storm[n]->GetY() - slotY), 1) << "tile " << n;
    }
}

TEST_F(MjClassicPowersTest, FuseWithoutExplosionSpriteOrBurningFramesStillTakesTheBrick)
{
    struct Case
    {
        const char* name;
        bool noSprite;
        bool noFrames;
    };
    const Case cases[] = {{"whole", false, false},
                          {"no explosion sprite", true, false},
                          {"no brick frames", false, true},
                          {"neither", true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeBoard(kBoard, 0, [&c](MjClassicConfig& look) {
            if (c.noSprite) {
                look.DeleteKey("firecracker2", "size");
            }
            if (c.noFrames) {
                look.DeleteKey("special45", "size");
            }
        });
        EXPECT_EQ(screen->_firecrackerSprite == nullptr, c.noSprite);
        MjTile* fuse = At(21, 0);
        MjTile* brick = At(0, 8);
        screen->Fuse(fuse, brick);
        EXPECT_EQ(screen->_groupCounter, 2);
        if (!c.noSprite) {
            EXPECT_TRUE(screen->_firecrackerSprite->IsVisible());
        }
        // The brick reports its end (kOverlayEnded) in time in every case; without frames at once
        // after the fuse's flight.
        Run(c.noFrames ? 520 : 3000);
        EXPECT_TRUE(brick->GetLastState() == MjTileListener::kOverlayEnded ||
                    brick->GetPrevTileState() == MjTileListener::kOverlayEnded ||
                    !brick->IsActive())
            << brick->GetLastState();
        screen->ReleaseSprites();
        screen.reset();
        Frame();
    }
}

TEST_F(MjClassicPowersTest, NoMovesOpensTheRadioDialogOfTheVariantAndLives)
{
    struct Case
    {
        bool quest;
        int lives;
        const char* text; // the start of the section's message
    };
    const Case cases[] = {{false, 3, "No more matches on this board."},
                          {true, 3, "No more matches on this board."},
                          {true, 0, "No more matches, and no life to spare."}};
    MakeBoard();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.quest ? "quest " : "") + std::to_string(c.lives));
        screen->_quest = c.quest;
        screen->_lives = c.lives;
        screen->_inPlay = 1;
        screen->_matchState = 1;
        screen->_freePairs = 0;
        screen->CheckNoMoves(false);
        EXPECT_EQ(screen->_inPlay, 0);
        EXPECT_EQ(screen->_matchState, 0);
        CastMemberDialog* dialog = popups->GetMenuDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->GetID(), MjGameScript::kNoMovesDialog);
        EXPECT_EQ(Manager()->GetCast()->GetDialog(), dialog);
        EXPECT_EQ(DialogText(dialog).rfind(c.text, 0), 0u) << DialogText(dialog);
        // The quest's choices differ from the others': three radio buttons but for no lives.
        int radios = 0;
        for (const auto& item : dialog->GetItems()) {
            radios += item->GetType() == DialogItem::kRadio ? 1 : 0;
        }
        EXPECT_EQ(radios, c.quest && c.lives == 0 ? 2 : 3);
        Frame();
    }
    // With matches left nothing opens; with only specials left the board counts as cleared.
    CastMemberDialog* open = popups->GetMenuDialog();
    screen->_freePairs = 2;
    screen->_inPlay = 1;
    screen->CheckNoMoves(false);
    EXPECT_EQ(screen->_inPlay, 1);
    EXPECT_EQ(popups->GetMenuDialog(), open);
}

TEST_F(MjClassicPowersTest, SpecialTileNamePopupByTypeBoardAndSide)
{
    struct Case
    {
        int face;
        int puzzle;
        const char* start; // null: no popup
    };
    const Case cases[] = {
        {kBrick, 5, "Bricks: a brick never comes free"},
        {kBrick, 6, "Firecracker: select it"},
        {kFuse, 5, "Firecracker: select it"},
        {kTyphoon, 0, nullptr},
        {kUp, 0, nullptr},
        {44, 0, nullptr},
        {12, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.face) + " on " + std::to_string(c.puzzle));
        MakeBoard({{0, 0, 1, c.face}, {3, 0, 1, 1}}, c.puzzle);
        CastMemberDialogResizable* before = popups->GetPromptDialog();
        screen->ShowSpecialTileName(At(0, 0), 450, 300);
        CastMemberDialogResizable* popup = popups->GetPromptDialog();
        if (c.start == nullptr && c.face < 42) {
            EXPECT_EQ(popup, before);
        } else if (c.start != nullptr) {
            ASSERT_NE(popup, nullptr);
            ASSERT_NE(popup, before);
            EXPECT_EQ(popup->GetID(), MjGameScript::kTileNameDialog);
            EXPECT_EQ(DialogText(popup).rfind(c.start, 0), 0u) << DialogText(popup);
            EXPECT_EQ(popup->GetX(), 505);
            EXPECT_EQ(popup->GetY(), 210);
            screen->ShowSpecialTileName(At(0, 0), 451, 300);
            EXPECT_EQ(popups->GetPromptDialog()->GetX(), 161);
        }
        Frame();
        screen->ReleaseSprites();
        screen.reset();
        Frame();
    }
}

// The popup that answers a popup: the first one's button report is still running when the second
// replaces it. It must not be deleted under its report (run under ASan), and it is gone a frame
// later.
TEST_F(MjClassicPowersTest, PopupOpenedFromThePreviousPopupsAnswerRetiresItForTheNextFrame)
{
    popups->ShowPopup("offerlife", 119, 0, -1, -1);
    CastMemberDialogResizable* first = popups->GetPromptDialog();
    ASSERT_NE(first, nullptr);
    Run(500);
    popups->onAnswer = [this](int dialogId) {
        if (dialogId == 119) {
            popups->ShowPopup("timesup", 110, 0, -1, -1);
        }
    };
    DialogItem* yes = first->GetItemByID(1);
    ASSERT_NE(yes, nullptr);
    first->SetEnterKeyItem(yes);
    ASSERT_TRUE(first->EnterKeyPressed());
    ASSERT_EQ(popups->answers, std::vector<int>{119});
    CastMemberDialogResizable* second = popups->GetPromptDialog();
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_EQ(second->GetID(), 110);
    EXPECT_EQ(Manager()->GetCast()->GetDialog(), second);
    Frame();
    Frame();
    // Replacing a popup that is still up takes it off the stage at once.
    popups->ShowPopup("paused", 114, 1, 100, 120);
    CastMemberDialogResizable* third = popups->GetPromptDialog();
    EXPECT_EQ(Manager()->GetCast()->GetDialog(), third);
    EXPECT_FALSE(Manager()->GetCast()->Contains(second));
    EXPECT_EQ(third->GetX(), 100);
    EXPECT_EQ(third->GetY(), 120);
    Frame();
    // A section without controls opens nothing and keeps the popup.
    popups->ShowPopup("no such popup", 114, 0, -1, -1);
    EXPECT_EQ(popups->GetPromptDialog(), third);
}

// A power's sound repeats from its selection (a loop count of -1) until the power is cancelled
// or used: the typhoon's, the magnet's and the fuse's are started again as they work and stop
// when the last tile lands, when the pull ends and when the brick explodes.
TEST_F(MjClassicPowersTest, PowerSoundRepeatsUntilCancelledOrDone)
{
    struct Case
    {
        const char* name;
        int powerI;           // the power in the top row
        int i, j;             // the target; -1: the power is pressed again (cancel)
        const char* working;  // the sound repeated while the power works; null: none
        unsigned int still;   // no stop this long after the target press
        unsigned int stopped; // stopped by then
        const char* stopCue;  // what comes with the stop
    };
    const Case cases[] = {
        {"cancelled", 24, -1, 0, nullptr, 0, 0, "CFG_SELECT 0"},
        {"up", 0, 0, 2, nullptr, 0, 0, nullptr},
        {"typhoon", 24, 3, 4, "CFG_TYPHOON -1", 900, 1400, nullptr},
        {"magnet", 15, 2, 6, "CFG_MAGNET -1", 480, 560, nullptr},
        {"fuse", 21, 0, 8, "CFG_FUSE -1", 500, 3000, "CFG_EXPLODE 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeBoard();
        MjTile* power = At(c.powerI, 0);
        const std::string selected = power->GetType() == kTyphoon  ? "CFG_TYPHOON -1"
                                     : power->GetType() == kMagnet ? "CFG_MAGNET -1"
                                     : power->GetType() == kFuse   ? "CFG_FUSE -1"
                                                                   : "CFG_UP -1";
        Press(power);
        ASSERT_EQ(screen->_selected[0], power);
        EXPECT_TRUE(Has(Cues(), selected));
        Run(300);
        EXPECT_FALSE(Has(Cues(), "stop -2")) << "the selection's sound repeats";
        Press(c.i < 0 ? power : At(c.i, c.j));
        std::vector<std::string> cues = Cues();
        if (c.working == nullptr) {
            // Cancelled or used at once: the sound stops with the press.
            EXPECT_TRUE(Has(cues, "stop -2"));
            if (c.stopCue != nullptr) {
                EXPECT_TRUE(Has(cues, c.stopCue));
            }
            EXPECT_FALSE(MjClassic::Shared().cueRemembered);
            Drop();
            continue;
        }
        // The selection's loop stops and the power's own starts as the last cue.
        ASSERT_FALSE(cues.empty());
        EXPECT_EQ(cues.back(), c.working);
        EXPECT_TRUE(MjClassic::Shared().cueRemembered);
        Run(c.still);
        cues = Cues();
        EXPECT_FALSE(Has(cues, "stop -2")) << "still working";
        Run(c.stopped - c.still);
        cues = Cues();
        EXPECT_TRUE(Has(cues, "stop -2")) << "done";
        if (c.stopCue != nullptr) {
            EXPECT_TRUE(Has(cues, c.stopCue));
        }
        Drop();
    }
}

// Leaving or restarting the board while tiles fly: no sprite may reach a deleted screen or a
// deleted tile (run under ASan), and nothing of the old board stays on the stage.
TEST_F(MjClassicPowersTest, LeavingOrRestartingMidFlightLeavesNoSpriteBehind)
{
    struct Case
    {
        const char* name;
        bool restart; // set the board up again, else release the screen
        std::function<void(MjClassic&, MjClassicPowersTest&)> start;
    };
    auto at = [](MjClassic& s, int i, int j, int k = 0) {
        return dynamic_cast<MjTile*>(s._layout->Cell(i, j, k).tile);
    };
    const Case cases[] = {
        {"clone copies, left", false,
         [&at](MjClassic& s, MjClassicPowersTest&) {
             s.Clone(at(s, 9, 0), at(s, 18, 2), at(s, 21, 2));
         }},
        {"clone copies, restarted", true,
         [&at](MjClassic& s, MjClassicPowersTest&) {
             s.Clone(at(s, 9, 0), at(s, 18, 2), at(s, 21, 2));
         }},
        {"wand copies, restarted", true,
         [&at](MjClassic& s, MjClassicPowersTest&) { s.RankPower(at(s, 6, 0), at(s, 9, 2)); }},
        {"magnet", false,
         [&at](MjClassic& s, MjClassicPowersTest&) { s.Magnet(at(s, 15, 0), at(s, 2, 6)); }},
        {"swap", false,
         [&at](MjClassic& s, MjClassicPowersTest&) {
             s.Swap(at(s, 12, 0), at(s, 0, 6), at(s, 2, 6));
         }},
        {"fuse", false,
         [&at](MjClassic& s, MjClassicPowersTest&) { s.Fuse(at(s, 21, 0), at(s, 0, 8)); }},
        {"typhoon", false,
         [&at](MjClassic& s, MjClassicPowersTest&) { s.Typhoon(at(s, 24, 0), at(s, 0, 4)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeBoard();
        c.start(*screen, *this);
        Run(200);
        if (c.restart) {
            screen->SetupBoard(0, 1, MjClassic::kStartQuiet, screen->_layoutFile);
            Run(800);
            // The new board's tiles keep their own faces: no late copy reached them.
            EXPECT_EQ(CountOfType(31), 2);
            EXPECT_EQ(CountOfType(13), 1);
            EXPECT_EQ(TilesOnStage(), static_cast<int>(kBoard.size()));
            screen->ReleaseSprites();
            screen.reset();
        } else {
            screen->ReleaseSprites();
            screen.reset();
            Run(3000);
        }
        Frame();
        EXPECT_EQ(TilesOnStage(), 0);
    }
}

TEST_F(MjClassicPowersTest, DealMarksClearedOnlyWithSpecialCellsAllTakenOff)
{
    MakeBoard({{0, 0, 1, 1}, {3, 0, 1, 1}});
    EXPECT_FALSE(screen->DealMarksCleared()) << "no special cells";
    MakeScreen(kClassicLook);
    mjtest::FixtureBoard special;
    special.spots = {{0, 0, 1, 52}, {3, 0, 1, 1}, {6, 0, 1, 1}};
    StartBoard(special);
    ASSERT_TRUE(screen->_layout->HasSpecialCells());
    MjCell& cell = screen->_layout->Cell(3, 0, 0);
    cell.dealMark = -2;
    EXPECT_FALSE(screen->DealMarksCleared());
    cell.dealMark = 0;
    EXPECT_TRUE(screen->DealMarksCleared());
}

// Each power by presses on the fixture board: the grid change, the count of tiles on their way
// and, once the move has closed, undo brings every tile, the tray and the score back.
TEST_F(MjClassicPowersTest, PowersByPressesChangeTheGridAndUndoRestoresIt)
{
    struct Cell
    {
        int i, j, k;
    };
    struct Change
    {
        int i, j, k, type; // -1: the cell is empty
    };
    struct Case
    {
        const char* name;
        std::vector<Cell> presses; // the power first
        int counterRise;           // right after the last press
        std::vector<Change> after; // once the move has closed
        bool refused;              // the last press is refused: nothing changes
    };
    const std::vector<Case> cases = {
        {"up on an 8",
         {{0, 0, 0}, {0, 2, 0}},
         1,
         {{0, 2, 0, 8}, {9, 4, 0, 8}, {0, 0, 0, -1}},
         false},
        {"up on a 9 selects the 9", {{0, 0, 0}, {3, 2, 0}}, 0, {{3, 2, 0, 8}}, false},
        {"down on a 1 selects the 1", {{3, 0, 0}, {6, 2, 0}}, 0, {{6, 2, 0, 9}}, false},
        {"wand on a 5",
         {{6, 0, 0}, {9, 2, 0}},
         1,
         {{9, 2, 0, 4}, {12, 2, 0, 4}, {15, 2, 0, 4}},
         false},
        {"clone A onto B",
         {{9, 0, 0}, {18, 2, 0}, {21, 2, 0}},
         1,
         {{21, 2, 0, 30}, {24, 2, 0, 30}, {18, 2, 0, 30}},
         false},
        {"swap free and blocked",
         {{12, 0, 0}, {0, 6, 0}, {2, 6, 0}},
         1,
         {{0, 6, 0, 33}, {2, 6, 0, 32}},
         false},
        {"swap refused on a covered tile", {{12, 0, 0}, {0, 6, 0}, {12, 8, 0}}, 0, {}, true},
        {"magnet on a blocked tile",
         {{15, 0, 0}, {2, 6, 0}},
         1,
         {{15, 0, 0, 33}, {2, 6, 0, -1}},
         false},
        {"deep magnet on a covered tile",
         {{18, 0, 0}, {12, 8, 0}},
         1,
         {{18, 0, 0, 28}, {12, 8, 0, -1}},
         false},
        {"deep magnet refused on a free tile", {{18, 0, 0}, {0, 2, 0}}, 0, {}, true},
        {"fuse on a brick", {{21, 0, 0}, {0, 8, 0}}, 2, {{0, 8, 0, -1}, {21, 0, 0, -1}}, false},
        {"fuse refused on a covered brick", {{21, 0, 0}, {6, 8, 0}}, 0, {}, true},
        {"typhoon on four tiles",
         {{24, 0, 0}, {0, 4, 0}},
         5,
         {{0, 4, 0, -1}, {3, 4, 0, -1}, {6, 4, 0, -1}, {2, 6, 0, -1}},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeBoard();
        const mjtest::BoardSnapshot before = Snapshot();
        for (size_t n = 0; n + 1 < c.presses.size(); ++n) {
            const Cell& p = c.presses[n];
            Press(At(p.i, p.j, p.k));
        }
        const Cell& last = c.presses.back();
        MjTile* target = At(last.i, last.j, last.k);
        const int counter = screen->_groupCounter;
        // As the stage gives the press to the tile: a covered tile lies under the one on it.
        screen->TileMouseDown(target, 1, target->GetX(), target->GetY());
        EXPECT_EQ(screen->_groupCounter - counter, c.counterRise);
        Cues();
        Run(3000);
        EXPECT_EQ(screen->_groupCounter, 0) << "every tile on its way has landed";
        for (const Change& change : c.after) {
            EXPECT_EQ(TypeAt(change.i, change.j, change.k), change.type)
                << change.i << "," << change.j << "," << change.k;
        }
        if (c.refused) {
            EXPECT_EQ(Snapshot(), before);
            EXPECT_EQ(screen->_selected[0], At(c.presses[0].i, c.presses[0].j, c.presses[0].k))
                << "the selection stays";
            continue;
        }
        if (c.counterRise == 0) {
            // A declined rank power selects its target instead, and there is nothing to undo.
            EXPECT_EQ(screen->_selected[0], target);
            EXPECT_FALSE(screen->Undo());
            EXPECT_EQ(Snapshot(), before);
            continue;
        }
        screen->Undo();
        Run(1000);
        EXPECT_EQ(Snapshot(), before);
    }
}

TEST_F(MjClassicPowersTest, UndoTwiceTakesBackAMatchAndThePowerBeforeIt)
{
    MakeBoard();
    const mjtest::BoardSnapshot before = Snapshot();
    auto press = [this](int i, int j) { Press(At(i, j)); };
    press(24, 0); // typhoon on the 33s
    press(0, 4);
    Run(3000);
    const mjtest::BoardSnapshot afterPower = Snapshot();
    press(0, 2); // the two 7s
    press(9, 4);
    Run(3000);
    EXPECT_EQ(TypeAt(0, 2), -1);
    EXPECT_EQ(TypeAt(9, 4), -1);
    EXPECT_GT(screen->_boardScore, 0);
    EXPECT_TRUE(screen->Undo());
    Run(1000);
    EXPECT_EQ(Snapshot(), afterPower);
    EXPECT_FALSE(screen->Undo()) << "nothing is left after the power";
    Run(1000);
    EXPECT_EQ(Snapshot(), before);
}

// A right press names a special tile; in cheat mode with right-press selection it rotates the
// second slot through the free tiles of the selected type instead.
TEST_F(MjClassicPowersTest, RightPressNamesTheTileOrRotatesTheSecondSlotInCheatMode)
{
    MakeBoard(kBoard, 5);
    MjTile* brick = At(0, 8);
    const Rectangle& r = brick->GetRect();
    const int x = r.GetX() + r.GetW() / 2;
    const int y = r.GetY() + r.GetH() / 2;
    ASSERT_LT(x, 451);
    Press(brick, 3);
    CastMemberDialogResizable* popup = popups->GetPromptDialog();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->GetID(), MjGameScript::kTileNameDialog);
    EXPECT_EQ(DialogText(popup).rfind("Bricks: a brick never comes free", 0), 0u);
    EXPECT_EQ(popup->GetX(), x + 55);
    EXPECT_EQ(popup->GetY(), y - 90);
    EXPECT_TRUE(Has(Cues(), "CFG_SELECT 0"));
    EXPECT_EQ(screen->_selected[0], nullptr) << "a right press selects nothing";
    // The popup answered, the board takes presses again.
    Manager()->GetCast()->ForceDialogsDispose();
    Run(400);

    screen->_cheatMode = 1;
    screen->_rightPressSelect = 1;
    screen->_inPlay = 1;
    MjTile* first = At(0, 4);
    Press(first);
    ASSERT_EQ(screen->_selected[0], first);
    std::vector<MjTile*> seen;
    for (int n = 0; n < 3; ++n) {
        Press(first, 3);
        ASSERT_NE(screen->_selected[1], nullptr);
        EXPECT_NE(screen->_selected[1], first);
        EXPECT_EQ(screen->_selected[1]->GetType(), 33);
        seen.push_back(screen->_selected[1]);
    }
    EXPECT_NE(seen[0], seen[1]) << "the second slot rotates";
    EXPECT_EQ(seen[0], seen[2]) << "through the two free 33s";
    EXPECT_EQ(popups->GetPromptDialog(), popup) << "no name popup in cheat mode";
}
