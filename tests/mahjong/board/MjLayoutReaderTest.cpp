#include "mahjong/board/MjLayout.h"
#include "tests/mahjong/board/MjLayoutTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using mjtest::Settings;
using mjtest::WriteLayout;

namespace {

struct Placed
{
    int i, j, k, faceCol, faceRow;
};

struct ReaderCase
{
    const char* name;
    std::string text;
    int doubleMode;
    std::vector<Placed> cells;
    bool specialCells;
};

std::vector<Placed> OriginCells(const MjLayout& layout)
{
    std::vector<Placed> cells;
    for (int index : layout.OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        const MjCell& c = layout.Cell(i, j, k);
        if (c.state == MjCell::kOrigin) {
            cells.push_back({i, j, k, c.faceCol, c.faceRow});
        }
    }
    return cells;
}

} // namespace

TEST(MjLayoutReaderTest, ReadsPositionsCodesAndLevels)
{
    const std::vector<ReaderCase> cases = {
        {"dealt position on level 3", "v=3\np=10,4\n", 0, {{10, 4, 2, -1, -2}}, false},
        {"doubled position", "v=3\np=10,4\n", 1, {{10, 4, 4, -1, -2}, {10, 4, 5, -1, -2}}, false},
        {"preset face without '='", "v=1201\n4,6\n", 0, {{4, 6, 0, 5, 1}}, false},
        {"special cell", "v=5302\np=2,2\n", 0, {{2, 2, 1, -1, -3}}, true},
        {"no comma", "v=1\np=7\n", 0, {{7, 7, 0, -1, -2}}, false},
        {"value on the last line", "v=2", 0, {{0, 0, 1, -1, -2}}, false},
        {"CRLF line ends", "# c\r\nv=3\r\np=10,4\r\n", 0, {{10, 4, 2, -1, -2}}, false},
        {"comments and blank lines",
         "; x\n\n# y\nLayout=T\nv=1\np=2, 3\nzzz\n",
         0,
         {{2, 3, 0, -1, -2}},
         false},
        {"a position line starting like a value", "v=1\nv=4,2\n", 0, {{4, 2, 0, -1, -2}}, false},
    };
    for (const ReaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        MjBoardSettings settings = Settings(20, 10, 8);
        const std::string path = WriteLayout("reader.cfg", c.text);
        MjLayout layout(nullptr, path, &settings, nullptr, 2, c.doubleMode);
        const std::vector<Placed> cells = OriginCells(layout);
        ASSERT_EQ(cells.size(), c.cells.size());
        for (size_t n = 0; n < cells.size(); ++n) {
            EXPECT_EQ(cells[n].i, c.cells[n].i);
            EXPECT_EQ(cells[n].j, c.cells[n].j);
            EXPECT_EQ(cells[n].k, c.cells[n].k);
            EXPECT_EQ(cells[n].faceCol, c.cells[n].faceCol);
            EXPECT_EQ(cells[n].faceRow, c.cells[n].faceRow);
        }
        EXPECT_EQ(layout.HasSpecialCells(), c.specialCells);
        EXPECT_EQ(layout.TileCount(), static_cast<int>(c.cells.size()));
    }
}

TEST(MjLayoutReaderTest, PresetFacesAreCountedAndCrlfReadsTheSame)
{
    const std::string text = "Layout=Two\nv=1201\np=4,6\nv=1202\np=8,6\nv=5\np=0,0\n";
    std::string crlf;
    for (char ch : text) {
        crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    }
    MjBoardSettings settings = Settings(20, 10, 8);
    MjLayout unix(nullptr, WriteLayout("a.cfg", text), &settings, nullptr, 2, 0);
    MjLayout dos(nullptr, WriteLayout("b.cfg", crlf), &settings, nullptr, 2, 0);
    EXPECT_EQ(unix.Title(), "Two");
    EXPECT_EQ(dos.Title(), "Two");
    EXPECT_EQ(unix.FreeCount(11), 2);
    EXPECT_EQ(mjtest::Faces(unix), mjtest::Faces(dos));
    EXPECT_EQ(unix.OriginX(), dos.OriginX());
    EXPECT_EQ(unix.OriginY(), dos.OriginY());
}

TEST(MjLayoutReaderTest, MissingFileGivesAnEmptyUntitledLayout)
{
    MjBoardSettings settings = Settings(20, 10, 8);
    MjLayout layout(nullptr, "no/such/file.cfg", &settings, nullptr, 2, 0);
    EXPECT_EQ(layout.TileCount(), 0);
    EXPECT_TRUE(layout.OriginIndices().empty());
    EXPECT_EQ(layout.Title(), "Layout Title Missing");
}

TEST(MjLayoutReaderTest, OrdersCountBackwardsAndFirstKeyIsTheFirstPosition)
{
    MjBoardSettings settings = Settings(20, 10, 8);
    const auto layout = mjtest::MakeLayout(settings, {{6, 2, 2}, {0, 0, 1}, {2, 0, 1}});
    EXPECT_EQ(layout->Cell(6, 2, 1).order, 2);
    EXPECT_EQ(layout->Cell(0, 0, 0).order, 1);
    EXPECT_EQ(layout->Cell(2, 0, 0).order, 0);
    EXPECT_EQ(layout->FirstKey(), 6 + 50 * 2 + 1000 * 2);
}

TEST(MjLayoutReaderTest, PositionsOutsideTheGridOrWithUnknownCodesAreSkippedAndLogged)
{
    struct Bad
    {
        const char* name;
        std::string value;
        std::string where;
        int doubleMode;
    };
    // Grid of 10 columns, 6 rows, 3 layers: a tile needs i <= 8 and j <= 4.
    const std::vector<Bad> cases = {
        {"negative column", "v=1", "p=-2,0", 0},
        {"last column", "v=1", "p=9,0", 0},
        {"last row", "v=1", "p=0,5", 0},
        {"level 0", "v=100", "p=0,0", 0},
        {"negative value", "v=-5", "p=0,0", 0},
        {"level above the layers", "v=4", "p=0,0", 0},
        {"double top above the layers", "v=2", "p=0,0", 1},
        {"code 60", "v=6101", "p=0,0", 0},
        {"code 98", "v=9901", "p=0,0", 0},
        {"huge value", "v=99999999999", "p=0,0", 0},
        {"same cell again", "v=4901", "p=2,2", 0},
        {"half a tile over another", "v=1", "p=3,3", 0},
        {"over the doubled tile", "v=1", "p=1,3", 1},
    };
    for (const Bad& c : cases) {
        SCOPED_TRACE(c.name);
        MjBoardSettings settings = Settings(10, 6, 3);
        const std::string text = "v=1\np=2,2\n" + c.value + "\n" + c.where + "\n";
        const int before = testsupport::CountLogLines("Layout Position Skipped");
        MjLayout layout(nullptr, WriteLayout("bad.cfg", text), &settings, nullptr, 2, c.doubleMode);
        EXPECT_EQ(testsupport::CountLogLines("Layout Position Skipped"), before + 1);
        EXPECT_NE(testsupport::ReadLog().find("line 3: " + c.value), std::string::npos);
        EXPECT_EQ(layout.OriginIndices().size(), c.doubleMode != 0 ? 2u : 1u);
    }
}

TEST(MjLayoutReaderTest, BoundsBeyondTheGridOrTheOrderRecordsLeaveAnEmptyLayout)
{
    struct BoundsCase
    {
        int columns, rows, layers;
        const char* line;
    };
    const std::vector<BoundsCase> cases = {
        {43, 10, 5, "Layout Exceeds Maximum - 43, 10, 5 > 42, 22, 22"},
        {10, 23, 5, "Layout Exceeds Maximum - 10, 23, 5 > 42, 22, 22"},
        {42, 22, 22, "Layout Exceeds Maximum - 42, 22, 22 > 42, 22, 22"},
    };
    for (const BoundsCase& c : cases) {
        SCOPED_TRACE(c.line);
        MjBoardSettings settings = Settings(c.columns, c.rows, c.layers);
        MjLayout layout(nullptr, WriteLayout("big.cfg", "v=1\np=0,0\n"), &settings, nullptr, 2, 0);
        EXPECT_FALSE(layout.IsUsable());
        EXPECT_TRUE(layout.OriginIndices().empty());
        EXPECT_EQ(testsupport::CountLogLines(c.line), 1);
        // Operations on an empty layout touch no cell.
        EXPECT_EQ(layout.FreeState(0, 0, 0), MjLayout::kBlocked);
        layout.FillQuad(0, 0, 0);
        layout.Clear();
    }
}

TEST(MjLayoutReaderTest, BoardIsCentredOnTheScreen)
{
    MjBoardSettings settings = Settings(10, 4, 2);
    const auto row = mjtest::MakeLayout(settings, {{0, 0, 1}, {2, 0, 1}, {4, 0, 1}, {6, 0, 1}});
    EXPECT_EQ(row->OriginX(), 316);
    EXPECT_EQ(row->OriginY(), 271);
    EXPECT_EQ(row->CellX(2, 0, 1), 316 + 40 + 6);
    EXPECT_EQ(row->CellY(0, 3, 1), 271 + 75 - 6);

    // A tall board is lifted so that it fits between the bars.
    MjBoardSettings tall = Settings(10, 22, 2);
    const auto column = mjtest::MakeLayout(tall, {{0, 0, 1}, {0, 20, 1}});
    // minY 0, maxY 500: origin (0 - 500 + 542) / 2 = 21, then 2 * 21 - 6 - 15 = 21,
    // then 21 - (500 - 382) / 2 = -38.
    EXPECT_EQ(column->OriginY(), -38);
}

TEST(MjLayoutReaderTest, DrawingPrioritiesRunByLayerThenDiagonal)
{
    MjBoardSettings settings = Settings(3, 3, 2);
    MjLayout layout(nullptr, "none.cfg", &settings, nullptr, 2, 0);
    struct P
    {
        int i, j, k, priority;
    };
    for (const P& p : std::vector<P>{{2, 0, 0, 1018},
                                     {1, 0, 0, 1016},
                                     {0, 0, 0, 1013},
                                     {0, 2, 0, 1010},
                                     {2, 0, 1, 1009},
                                     {0, 2, 1, 1001}}) {
        EXPECT_EQ(MjLayout::Priority(p.i, p.j, p.k), p.priority) << p.i << p.j << p.k;
    }
}

TEST(MjLayoutReaderTest, ReloadAddsPresetCountsAndRebuildStartsAfresh)
{
    MjBoardSettings settings = Settings(20, 10, 8);
    const std::string path = WriteLayout("r.cfg", "v=501\np=0,0\nv=5302\np=4,0\n");
    MjLayout layout(nullptr, path, &settings, nullptr, 2, 0);
    EXPECT_EQ(layout.FreeCount(4), 1);
    layout.Clear();
    layout.Load(path);
    EXPECT_EQ(layout.FreeCount(4), 2);
    layout.Rebuild();
    EXPECT_EQ(layout.FreeCount(4), 1);
    EXPECT_TRUE(layout.HasSpecialCells());
    EXPECT_EQ(mjtest::Faces(layout), (std::vector<int>{4, -1}));
}

// A deal that starts again rebuilds the layout from its positions: the board keeps the title its
// file gave, with or without one.
TEST(MjLayoutReaderTest, RebuildKeepsTheTitle)
{
    MjBoardSettings settings = Settings(20, 10, 8);
    for (const auto& [text, title] : {std::pair<std::string, std::string>{
                                          "L=All Powers\nv=1\np=0,0\nv=1\np=2,0\n", "All Powers"},
                                      {"v=1\np=0,0\nv=1\np=2,0\n", "Layout Title Missing"}}) {
        const std::string path = WriteLayout("t.cfg", text);
        MjLayout layout(nullptr, path, &settings, nullptr, 2, 0);
        EXPECT_EQ(layout.Title(), title);
        layout.Rebuild();
        EXPECT_EQ(layout.Title(), title);
    }
}
