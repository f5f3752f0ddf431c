#include "framework/core/ConfigFile.h"
#include "framework/core/Point.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/shell/AppScript.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberImage.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjPuzzleRules.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/screen/MjClassic.h"
#include "tests/mahjong/support/BoardHarness.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using mjtest::BoardHarness;
using mjtest::LayoutText;
using mjtest::Spot;

constexpr int kPosX = 20;
constexpr int kPosY = 33;
// The boards page outside the quest starts this much below "pos".
constexpr int kBoardsDrop = 25;
constexpr int kNameplateY = 110;
constexpr int kSpaceX = 258;
constexpr int kSpaceY = 164;
constexpr int kFrameMs = 10;
constexpr int kPlaces = 9;

// Preset faces 5 and 27 at two known places, four tiles that the preview deal fills.
const std::vector<Spot> kPreviewSpots = {
    {0, 0, 1, 5}, {10, 4, 1, 27}, {20, 0, 1, -1}, {22, 0, 1, -1}, {20, 8, 1, -1}, {22, 8, 1, -1},
};

class MjClassicSelectionTest : public BoardHarness
{
protected:
    // A board screen whose puzzle set holds count preview boards titled "Board n", the
    // eight-cell page layout, and the selection screen's state as its opening leaves it.
    void OpenBoardsPage(int count, int first, int end, int limit, int chosen)
    {
        MakeScreen();
        StartBoard(ThirtySixTiles());
        ConfigFile* set = screen->_puzzlesFile.get();
        set->Write("replay8", "pos", Point(kPosX, kPosY));
        set->Write("replay8", "space", Point(kSpaceX, kSpaceY));
        set->Write("replay8", "nameplate", Point(26, 110));
        for (int n = 0; n < count; ++n) {
            const std::string layout = "puzzles/preview" + std::to_string(n) + ".cfg";
            ASSERT_TRUE(testsupport::WriteFile(
                layout, LayoutText(kPreviewSpots, "Board " + std::to_string(n))));
            set->Write(MjPuzzleRules::SectionName(n), "layout", layout);
            set->Write(MjPuzzleRules::SectionName(n), "tileset", 0);
        }
        screen->_puzzleCount = count - 1;
        screen->_selectionTitle = "replay8";
        screen->_cellsPerPage = 8;
        screen->_selectionKind = 0;
        screen->_previewDeal = 1;
        screen->_pageReady = 0;
        screen->_puzzle = chosen;
        MjClassicShared& shared = MjClassic::Shared();
        shared.selectableLimit = limit;
        shared.pageFirst = first;
        shared.pageEnd = end;
        shared.previewIndex = first;
    }

    CastMemberImage* Cell(int row, int place)
    {
        return static_cast<CastMemberImage*>(screen->_cellSprites[row][place]);
    }

    int CellCount()
    {
        int made = 0;
        for (CastMember* sprite : screen->_cellSprites[0]) {
            made += sprite != nullptr ? 1 : 0;
        }
        return made;
    }

    static std::vector<Color> Pixels(CastMemberImage* sprite)
    {
        std::vector<Color> pixels;
        Canvas* canvas = sprite->GetImage()->GetCanvas();
        for (int y = 0; y < canvas->GetH(); ++y) {
            for (int x = 0; x < canvas->GetW(); ++x) {
                pixels.push_back(canvas->GetPixel(x, y));
            }
        }
        return pixels;
    }

    static Color PixelOf(CastMemberImage* sprite, int x, int y)
    {
        return sprite->GetImage()->GetCanvas()->GetPixel(x, y);
    }
};

} // namespace

TEST_F(MjClassicSelectionTest, PreviewDrawsTheMiniatureOfItsBoardWithoutRandomDraw)
{
    OpenBoardsPage(1, 0, 1, 0, 5);
    MjTextLabel* label = screen->MakeLabel("ReplayText", " ", MjClassic::kLabelPriority, 0, 0);
    screen->_cellSprites[3][0] = label;
    screen->LoadPreviewBoard();

    ASSERT_NE(Cell(0, 0), nullptr);
    ASSERT_NE(Cell(1, 0), nullptr);
    EXPECT_EQ(label->GetText(), "Board 0");
    EXPECT_EQ(screen->_pageReady, 1);
    EXPECT_EQ(MjClassic::Shared().previewIndex, 1);
    EXPECT_EQ(Cell(0, 0)->GetX(), kPosX);
    EXPECT_EQ(Cell(0, 0)->GetY(), kPosY + kBoardsDrop);

    // The small tile of each preset face sits at 2 pixels per grid step from the scaled origin,
    // moved up where it would reach the nameplate (2 pixels kept above it): the fixture's rows
    // run from j 0 to 8, 64 pixels and a small tile of 19.
    const int x0 = screen->_layout->OriginX() / 4 + 11;
    int y0 = (screen->_layout->OriginY() - 75) / 3 + 9;
    if (y0 < 9) {
        y0 += 2;
    }
    y0 = std::max(6, std::min(y0, kNameplateY - 2 - 64 - 19));
    Image plain(screen->_cellImages[9].get());
    struct Face
    {
        int i, j, face;
    };
    for (const Face& f : {Face{0, 0, 5}, Face{10, 4, 27}}) {
        Image small(screen->_miniTileGrid.get(), f.face % 6, f.face / 6, 0);
        const Color expected = small.GetCanvas()->GetPixel(7, 9);
        const int x = x0 + 6 * f.i + 7;
        const int y = y0 + 8 * f.j + 9;
        for (int row : {0, 1}) {
            EXPECT_TRUE(testsupport::SameRgb(PixelOf(Cell(row, 0), x, y), expected))
                << "face " << f.face << " row " << row;
        }
        EXPECT_FALSE(
            testsupport::SameRgb(PixelOf(Cell(0, 0), x, y), plain.GetCanvas()->GetPixel(x, y)));
    }
    // Where no tile is, the plain frame shows.
    EXPECT_TRUE(testsupport::SameRgb(PixelOf(Cell(0, 0), x0 + 35, y0 + 5),
                                     plain.GetCanvas()->GetPixel(x0 + 35, y0 + 5)));

    // The same preview drawn again gives the same pixels: the deal draws no random number.
    const std::vector<Color> first = Pixels(Cell(0, 0));
    MjClassic::Shared().previewIndex = 0;
    screen->LoadPreviewBoard();
    EXPECT_EQ(Pixels(Cell(0, 0)), first);
}

TEST_F(MjClassicSelectionTest, PreviewIndexTakesItsPlaceAroundTheFreeCentre)
{
    struct Case
    {
        int index;
        int place;
    };
    for (const Case& c : {Case{0, 0}, Case{3, 3}, Case{4, 5}, Case{7, 8}, Case{9, 1}}) {
        SCOPED_TRACE(c.index);
        OpenBoardsPage(c.index + 1, c.index, c.index + 1, 20, -1);
        screen->LoadPreviewBoard();
        for (int place = 0; place < kPlaces; ++place) {
            EXPECT_EQ(Cell(0, place) != nullptr, place == c.place) << "place " << place;
        }
        ASSERT_NE(Cell(0, c.place), nullptr);
        EXPECT_EQ(Cell(0, c.place)->GetX(), kPosX + kSpaceX * (c.place % 3));
        EXPECT_EQ(Cell(0, c.place)->GetY(), kPosY + kBoardsDrop + kSpaceY * (c.place / 3));
        EXPECT_EQ(Cell(2, c.place)->GetX(), kPosX + kSpaceX * (c.place % 3) + 26);
        DropScreen();
    }
}

TEST_F(MjClassicSelectionTest, BuilderMakesOneCellPerStepThenMarksThePageReady)
{
    OpenBoardsPage(8, 0, 8, 20, 2);
    screen->LoadPreviewBoard();
    EXPECT_EQ(CellCount(), 1);
    for (int cells = 2; cells <= 8; ++cells) {
        EXPECT_EQ(screen->_pageReady, 0);
        Run(kFrameMs);
        EXPECT_EQ(CellCount(), cells);
    }
    EXPECT_EQ(screen->_pageReady, 1);
    Run(5 * kFrameMs);
    EXPECT_EQ(MjClassic::Shared().previewIndex, 8);
    EXPECT_EQ(Cell(0, 4), nullptr);
    // The chosen board shows its highlighted cell, the others their normal one.
    EXPECT_FALSE(Cell(0, 2)->IsVisible());
    EXPECT_TRUE(Cell(1, 2)->IsVisible());
    EXPECT_TRUE(Cell(0, 3)->IsVisible());
    EXPECT_FALSE(Cell(1, 3)->IsVisible());
}

TEST_F(MjClassicSelectionTest, EachCellDrawsIntoAnImageOfItsOwn)
{
    OpenBoardsPage(8, 0, 8, 20, -1);
    screen->LoadPreviewBoard();
    Run(10 * kFrameMs);
    ASSERT_EQ(CellCount(), 8);
    std::vector<std::vector<Color>> before;
    for (int place = 0; place < kPlaces; ++place) {
        before.push_back(place == 4 ? std::vector<Color>() : Pixels(Cell(0, place)));
    }
    // A miniature of another board into place 0 only.
    ASSERT_TRUE(
        testsupport::WriteFile("puzzles/other.cfg", LayoutText({{30, 12, 1, 33}}, "Other")));
    screen->_puzzlesFile->Write(MjPuzzleRules::SectionName(0), "layout", "puzzles/other.cfg");
    MjClassic::Shared().previewIndex = 0;
    MjClassic::Shared().pageEnd = 1;
    screen->LoadPreviewBoard();
    EXPECT_NE(Pixels(Cell(0, 0)), before[0]);
    for (int place = 1; place < kPlaces; ++place) {
        if (place != 4) {
            EXPECT_EQ(Pixels(Cell(0, place)), before[place]) << "place " << place;
        }
    }
    // The plain frame that every place starts from stays plain.
    Image plain("images/MiniBackground.png", nullptr);
    EXPECT_EQ(Pixels(Cell(0, 0)).size(), before[1].size());
    Canvas* frame = screen->_cellImages[9]->GetCanvas();
    for (int x : {20, 60, 116, 180}) {
        EXPECT_TRUE(
            testsupport::SameRgb(frame->GetPixel(x, 40), plain.GetCanvas()->GetPixel(x, 40)));
    }
}

TEST_F(MjClassicSelectionTest, BoardsBeyondTheLimitShowTheLockedCell)
{
    OpenBoardsPage(8, 0, 8, 2, 0);
    screen->LoadPreviewBoard();
    Run(10 * kFrameMs);
    ASSERT_EQ(CellCount(), 8);
    Image dark("images/MiniBackgroundDark.png", nullptr);
    const Color locked = dark.GetCanvas()->GetPixel(116, 70);
    for (int index = 0; index < 8; ++index) {
        const int place = index < 4 ? index : index + 1;
        SCOPED_TRACE(index);
        EXPECT_EQ(testsupport::SameRgb(PixelOf(Cell(0, place), 116, 70), locked), index > 2);
        EXPECT_EQ(Cell(0, place)->IsVisible(), index != 0);
        EXPECT_EQ(Cell(1, place)->IsVisible(), index == 0);
    }
}

TEST_F(MjClassicSelectionTest, PendingStepAfterLeavingBuildsNothing)
{
    OpenBoardsPage(8, 0, 8, 20, -1);
    screen->LoadPreviewBoard();
    ASSERT_EQ(CellCount(), 1);
    screen->_previewDeal = 0;
    Run(10 * kFrameMs);
    EXPECT_EQ(CellCount(), 1);
    EXPECT_EQ(MjClassic::Shared().previewIndex, 1);
}

namespace {

// The stage background that the panel leaves, taken off the stage (no game script owns it here).
std::unique_ptr<Image> TakeBackground(Cast* cast)
{
    std::unique_ptr<Image> background(cast->GetBackground());
    cast->SetBackground(static_cast<Image*>(nullptr));
    return background;
}

} // namespace

TEST_F(MjClassicSelectionTest, PanelPaintsTheSkinPiecesIntoTheBackground)
{
    MakeScreen();
    Cast* cast = Manager()->GetCast();
    ConfigFile* set = screen->_puzzlesFile.get();
    set->Write("replay5", "skin", "images/select/panel.png");
    set->Write("replay5", "start", Point(10, 60));
    set->Write("replay5", "size", Point(780, 480));
    screen->_selectionTitle = "replay5";
    screen->_selectionKind = 1; // scenes: no ornaments over the pieces
    std::unique_ptr<Image> plain(screen->MakeBackground());
    screen->DrawSelectionBackground();
    std::unique_ptr<Image> panel = TakeBackground(cast);
    ASSERT_NE(panel, nullptr);

    // 24-pixel frames: 32 x 20 pieces from x 10 + (780 % 24) / 2, centred below the top bar.
    ImageResource skin("images/select/panel.png", 3, 3, nullptr);
    ASSERT_EQ(skin.GetFrameW(), 24);
    const int x0 = 10 + 6;
    const int y0 = (450 - 480) / 2 + 75;
    struct Piece
    {
        int c, r, column, row;
    };
    for (const Piece& p : {Piece{0, 0, 0, 0}, Piece{1, 0, 1, 0}, Piece{31, 0, 2, 0},
                           Piece{0, 10, 0, 1}, Piece{15, 10, 1, 1}, Piece{31, 19, 2, 2}}) {
        Image frame(&skin, p.column, p.row, 0);
        EXPECT_TRUE(testsupport::SameRgb(
            panel->GetCanvas()->GetPixel(x0 + 24 * p.c + 12, y0 + 24 * p.r + 12),
            frame.GetCanvas()->GetPixel(12, 12)))
            << "piece " << p.c << "," << p.r;
    }
    // Outside the panel the board's own background stays.
    EXPECT_TRUE(testsupport::SameRgb(panel->GetCanvas()->GetPixel(x0 - 3, 300),
                                     plain->GetCanvas()->GetPixel(x0 - 3, 300)));
}

TEST_F(MjClassicSelectionTest, PanelWithoutSkinPaintsNoPieces)
{
    MakeScreen();
    Cast* cast = Manager()->GetCast();
    screen->_puzzlesFile->Write("replay8", "size", Point(780, 500));
    screen->_selectionTitle = "replay8"; // no "skin": file "0"
    screen->_selectionKind = 1;
    std::unique_ptr<Image> plain(screen->MakeBackground());
    screen->DrawSelectionBackground();
    std::unique_ptr<Image> panel = TakeBackground(cast);
    ASSERT_NE(panel, nullptr);
    for (int y : {100, 300, 500}) {
        EXPECT_TRUE(testsupport::SameRgb(panel->GetCanvas()->GetPixel(400, y),
                                         plain->GetCanvas()->GetPixel(400, y)));
    }
}
