#include "mahjong/board/MjDeal.h"

#include "framework/core/ConfigFile.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjRandom.h"
#include "tests/mahjong/board/MjLayoutTestSupport.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TestSupport.h"

#include <climits>
#include <gtest/gtest.h>
#include <map>
#include <numeric>

using mjtest::Spot;

namespace {

struct Deal
{
    Deal(const std::vector<Spot>& spots, const MjPuzzleRules& rules = MjPuzzleRules(),
         int columns = 40, int rows = 16, int layers = 5)
        : settings(mjtest::Settings(columns, rows, layers))
    {
        layout = mjtest::MakeLayout(settings, spots, rules.matchSize, rules.doubleLayers);
        deal.SetRules(rules);
        deal.SetLayout(layout.get());
    }
    MjBoardSettings settings;
    std::unique_ptr<MjLayout> layout;
    MjDeal deal;
};

const std::vector<Spot> kRow = {{0, 0, 1}, {2, 0, 1}, {4, 0, 1}, {6, 0, 1}};

// n positions to deal, on one layer, in rows of 18 tiles.
std::vector<Spot> Flat(int n)
{
    std::vector<Spot> spots;
    for (int t = 0; t < n; ++t) {
        spots.push_back({(t % 18) * 2, (t / 18) * 2, 1});
    }
    return spots;
}

MjPuzzleRules Rules(int matchSize)
{
    MjPuzzleRules rules;
    rules.matchSize = matchSize;
    return rules;
}

} // namespace

TEST(MjDealTest, RowDealtByHand)
{
    struct HandCase
    {
        int seed;
        std::vector<int> faces;
    };
    for (const HandCase& c : std::vector<HandCase>{{7, {15, 24, 24, 15}}, {1, {8, 24, 24, 8}}}) {
        Deal d(kRow, MjPuzzleRules(), 10, 4, 2);
        EXPECT_EQ(d.layout->FirstKey(), 1000);
        EXPECT_EQ(d.deal.DealBoard(c.seed, nullptr, 0, 0, "row.cfg", false), c.seed);
        EXPECT_EQ(mjtest::Faces(*d.layout), c.faces) << c.seed;
        EXPECT_TRUE(d.deal.Dealt());
    }
}

TEST(MjDealTest, CountsPerSizeClassAndFlags)
{
    struct CountCase
    {
        const char* name;
        int n;
        int matchSize;
        int half, justTwo, numbers;
        // count per range of deal types: {first, last, count}
        std::vector<std::vector<int>> ranges;
    };
    const std::vector<CountCase> cases = {
        {"36", 36, 2, 0, 0, 0, {{0, 26, 0}, {27, 35, 4}}},
        {"54", 54, 2, 0, 0, 0, {{0, 26, 2}, {27, 35, 0}}},
        {"72", 72, 2, 0, 0, 0, {{0, 17, 0}, {18, 35, 4}}},
        {"72 numbers", 72, 2, 0, 0, 1, {{0, 17, 4}, {18, 35, 0}}},
        {"72 justTwo", 72, 2, 0, 1, 0, {{0, 35, 2}}},
        {"108", 108, 2, 0, 0, 0, {{0, 17, 2}, {18, 35, 4}}},
        {"108 numbers", 108, 2, 0, 0, 1, {{0, 26, 4}, {27, 35, 0}}},
        {"144", 144, 2, 0, 0, 0, {{0, 35, 4}}},
        {"144 half", 144, 2, 1, 0, 0, {{0, 17, 0}, {18, 35, 8}}},
        {"144 half numbers", 144, 2, 1, 0, 1, {{0, 17, 8}, {18, 35, 0}}},
        {"288", 288, 2, 0, 0, 0, {{0, 35, 8}}},
        {"triples 144", 144, 3, 0, 0, 0, {{0, 17, 0}, {18, 33, 9}, {34, 35, 0}}},
        {"triples 96", 96, 3, 0, 0, 0, {{0, 17, 0}, {18, 33, 6}, {34, 35, 0}}},
        {"fours 144", 144, 4, 0, 0, 0, {{0, 17, 8}, {18, 35, 0}}},
        {"fives", 144, 5, 0, 0, 0, {{0, 35, 0}}},
    };
    for (const CountCase& c : cases) {
        SCOPED_TRACE(c.name);
        MjPuzzleRules rules = Rules(c.matchSize);
        rules.half = c.half;
        rules.justTwo = c.justTwo;
        rules.numbers = c.numbers;
        Deal d({}, rules);
        d.deal.FillDealCounts(c.n);
        int sum = 0;
        for (const auto& range : c.ranges) {
            for (int t = range[0]; t <= range[1]; ++t) {
                EXPECT_EQ(d.deal.Count(t), range[2]) << t;
                sum += d.deal.Count(t);
            }
        }
        if (c.matchSize != 5) {
            EXPECT_EQ(sum, c.n);
        }
    }
}

TEST(MjDealTest, FaceStacksOfTheMixedTypesGiveFourFaces)
{
    Deal d({});
    d.deal.FillDealCounts(144);
    std::vector<int> faces;
    for (int n = 0; n < 5; ++n) {
        faces.push_back(d.deal.PopDealFace(34));
    }
    EXPECT_EQ(faces, (std::vector<int>{37, 36, 35, 34, 0}));
    EXPECT_EQ(d.deal.PopDealFace(35), 41);
    EXPECT_EQ(d.deal.PopDealFace(12), 12);
    EXPECT_EQ(d.deal.PopDealFace(-1), 0);
    EXPECT_EQ(d.deal.PopDealFace(36), 0);
}

TEST(MjDealTest, PickWeightsFollowHarderAndEasyAndHarderEndsBelow72)
{
    struct PickCase
    {
        const char* name;
        int harder, easy, solvable;
        int weightOfFewer; // weight of the types with fewer than the most tiles
        int weightOfMost;
    };
    const std::vector<PickCase> cases = {
        {"plain counts", 0, 0, 1, 3, 4},
        {"harder", 5, 0, 1, 6, 1},
        {"easy", 0, 2, 1, 2, 1},
        {"harder needs a solvable deal", 5, 2, 0, 3, 4},
    };
    for (const PickCase& c : cases) {
        SCOPED_TRACE(c.name);
        MjPuzzleRules rules;
        rules.harder = c.harder;
        rules.easy = c.easy;
        rules.solvable = c.solvable;
        Deal d(kRow, rules);
        for (int seed = 1; seed <= 30; ++seed) {
            d.deal.FillDealCounts(144);
            for (int t = 0; t < 36; t += 2) {
                d.deal.PopDealFace(t); // even types hold 3, odd ones 4
            }
            MjRandom::Seed(seed);
            const uint32_t draw = MjRandom::Next() + 1000u + static_cast<uint32_t>(d.deal.Seed());
            const int total = 18 * c.weightOfFewer + 18 * c.weightOfMost;
            int r = static_cast<int>(draw % static_cast<uint32_t>(total));
            int expected = 0;
            for (; expected < 36; ++expected) {
                const int w = expected % 2 == 0 ? c.weightOfFewer : c.weightOfMost;
                if (r < w) {
                    break;
                }
                r -= w;
            }
            MjRandom::Seed(seed);
            EXPECT_EQ(d.deal.PickDealType(), expected) << seed;
        }
    }

    MjPuzzleRules rules;
    rules.harder = 5;
    Deal d(kRow, rules);
    d.deal.FillDealCounts(144);
    for (int t = 0; t < 18; ++t) {
        d.deal.PopDealFace(t);
        d.deal.PopDealFace(t);
        d.deal.PopDealFace(t);
        d.deal.PopDealFace(t);
    }
    d.deal.PopDealFace(20);
    ASSERT_EQ(d.deal.WorkingHarder(), 5);
    d.deal.PickDealType(); // 71 left
    EXPECT_EQ(d.deal.WorkingHarder(), 0);
    d.deal.FillDealCounts(144);
    d.deal.PickDealType();
    EXPECT_EQ(d.deal.WorkingHarder(), 0); // until the next set-up
    d.deal.SetRules(rules);
    EXPECT_EQ(d.deal.WorkingHarder(), 5);
}

TEST(MjDealTest, LateGroupsWeighFreeTilesByLayer)
{
    // Free tiles on layers 1 and 3 (three-high stacks), none covering another's sides.
    std::vector<Spot> spots;
    for (int n = 0; n < 8; ++n) {
        spots.push_back({n * 4, 0, 1});
        for (int level = 1; level <= 3; ++level) {
            spots.push_back({n * 4, 4, level});
        }
    }
    for (int group : {54, 55}) {
        SCOPED_TRACE(group);
        Deal d(spots);
        for (int index : d.layout->OriginIndices()) {
            int i, j, k;
            MjLayout::IndexToCell(index, i, j, k);
            d.layout->FillQuad(i, j, k);
            d.layout->Cell(i, j, k).dealMark = -2;
        }
        d.deal.FillDealCounts(32);
        ASSERT_EQ(d.deal.RemoveNextGroup(group), 1);
        std::map<int, int> weightsByLayer;
        for (int index : d.layout->OriginIndices()) {
            int i, j, k;
            MjLayout::IndexToCell(index, i, j, k);
            const MjCell& cell = d.layout->Cell(i, j, k);
            if (cell.pickWeight != 0) {
                weightsByLayer[k] = cell.pickWeight;
            }
        }
        const int top = group > 6 * 9 ? 3 : 1;
        EXPECT_EQ(weightsByLayer, (std::map<int, int>{{0, 1}, {2, top}}));
    }
}

TEST(MjDealTest, PreviewDealsAFixedPatternWithoutDrawing)
{
    Deal d(Flat(19));
    d.deal.SetPreview(true);
    MjRandom::Seed(1);
    d.deal.DealTiles();
    EXPECT_EQ(mjtest::Faces(*d.layout), (std::vector<int>{17, 35, 15, 32, 13, 30, 11, 28, 9, 26, 7,
                                                          24, 5, 22, 3, 20, 1, 18, 36}));
    EXPECT_EQ(MjRandom::Next(), 41);
}

TEST(MjDealTest, BoardsThatDoNotFitTheCountsStayUndealtWithoutEmptyCells)
{
    struct UnfitCase
    {
        const char* name;
        int tiles;
        int matchSize;
        int solvable;
        const char* line;
    };
    const std::vector<UnfitCase> cases = {
        {"uneven", 143, 2, 1, "Critical Error in Layout - Uneven Tiles left 143"},
        {"more tiles than the counts", 40, 2, 1, "Critical Error in Layout - Unsupported Tiles 40"},
        {"open fill beyond the counts", 42, 2, 0,
         "Critical Error in Layout - Unsupported Tiles 42"},
        {"match size without counts", 10, 5, 1, "Critical Error in Layout - Unsupported Tiles 10"},
    };
    for (const UnfitCase& c : cases) {
        SCOPED_TRACE(c.name);
        MjPuzzleRules rules = Rules(c.matchSize);
        rules.solvable = c.solvable;
        std::vector<Spot> spots = Flat(c.tiles);
        spots.push_back({34, 14, 1, 7}); // a preset face stays
        Deal d(spots, rules);
        d.deal.DealBoard(3, nullptr, 0, 0, "unfit.cfg", false);
        EXPECT_FALSE(d.deal.Dealt());
        EXPECT_EQ(testsupport::CountLogLines(c.line), 1);
        EXPECT_EQ(mjtest::Faces(*d.layout), (std::vector<int>{7}));
    }
}

TEST(MjDealTest, LayoutThatCanNeverBeSolvedEndsWithAnOpenFill)
{
    // Both tiles to deal lie under special tiles that the deal never takes off.
    Deal d({{0, 0, 1}, {4, 0, 1}, {0, 0, 2, 43}, {4, 0, 2, 56}});
    d.deal.DealBoard(11, nullptr, 0, 0, "never.cfg", false);
    EXPECT_TRUE(d.deal.Dealt());
    EXPECT_EQ(d.deal.Retries(), MjDeal::kMaxRetries + 1);
    EXPECT_EQ(testsupport::CountLogLines("the board may not be solvable"), 1);
    for (int face : mjtest::Faces(*d.layout)) {
        EXPECT_GE(face, 0);
    }
}

TEST(MjDealTest, SeedsComeFromTheCallTheFixedSeedOrTheClock)
{
    testsupport::FakeClock clock(40000);
    const std::string path = testsupport::ScratchDir() + "/progress.cfg";
    ConfigFile progress(path, false, true, false);
    struct SeedCase
    {
        int given, fixed, expected;
        bool written;
    };
    for (const SeedCase& c : std::vector<SeedCase>{
             {9, 5, 9, false}, {0, 5, 5, false}, {0, 0, 40000 % 32767 + 1, true}}) {
        MjPuzzleRules rules;
        rules.fixedSeed = c.fixed;
        Deal d(kRow, rules);
        EXPECT_EQ(d.deal.DealBoard(c.given, &progress, 2, 3, "row.cfg", false), c.expected);
        EXPECT_EQ(d.deal.Seed(), c.expected);
        EXPECT_EQ(testsupport::ConfigValue(progress, "seed", "t2p3") != "<default>", c.written);
        EXPECT_GE(testsupport::CountLogLines("Game = 3, Seed = " + std::to_string(c.expected)), 1);
    }
    EXPECT_NE(testsupport::ReadFile(path).find("t2p3"), std::string::npos);
    EXPECT_GE(testsupport::CountLogLines("Puzzle = row.cfg"), 3);
}

TEST(MjDealTest, EditedSeedsDealWholeBoards)
{
    for (int seed : {-1, -32768, INT_MIN, INT_MAX, 2000000000}) {
        Deal d(Flat(36));
        d.deal.DealBoard(seed, nullptr, 0, 0, "flat.cfg", false);
        EXPECT_TRUE(d.deal.Dealt()) << seed;
        for (int face : mjtest::Faces(*d.layout)) {
            EXPECT_GE(face, 27) << seed;
            EXPECT_LE(face, 41) << seed;
        }
    }
}

TEST(MjDealTest, SuitRotationShiftsOnlySuitedFaces)
{
    testsupport::FakeClock clock(1234);
    std::vector<Spot> spots = Flat(36);
    spots.push_back({0, 12, 1, 3});
    spots.push_back({2, 12, 1, 30});
    Deal d(spots);
    d.deal.DealBoard(4, nullptr, 0, 0, "rot.cfg", true);
    MjRandom::Seed(1234 % 32767 + 1);
    const int offset = MjRandom::Next() % 27;
    EXPECT_EQ(d.layout->Cell(0, 12, 0).faceCol + 6 * d.layout->Cell(0, 12, 0).faceRow,
              (3 + offset) % 27);
    EXPECT_EQ(d.layout->Cell(2, 12, 0).faceCol + 6 * d.layout->Cell(2, 12, 0).faceRow, 30);
}

// Play lets a deep magnet pull only a fully covered tile. Beside tiles that are never covered
// the deal must not count on it: it stays on the board (power tiles may stay), and where no deal
// can clear the board around it the layout is refused, not dealt at random.
TEST(MjDealTest, DeepMagnetWithNothingToPullIsNeverTakenOff)
{
    // The magnet closes the left end of the first row (a, b); the second row (c, d) lies open.
    // a comes free only once b has gone, so b must go first, with a tile of the second row.
    const std::vector<Spot> twoRows = {{0, 0, 1, 59}, {2, 0, 1}, {4, 0, 1}, {0, 4, 1}, {2, 4, 1}};
    const auto dealType = [](int face) { return face >= 38 ? 38 : face >= 34 ? 34 : face; };
    for (int seed = 1; seed <= 50; ++seed) {
        Deal d(twoRows);
        d.deal.DealBoard(seed, nullptr, 0, 0, "tworows.cfg", false);
        ASSERT_TRUE(d.deal.Dealt()) << seed;
        // Scan order: the magnet, c, a, d, b.
        const std::vector<int> faces = mjtest::Faces(*d.layout);
        ASSERT_EQ(faces.size(), 5u);
        EXPECT_EQ(faces[0], 59);
        const int b = dealType(faces[4]);
        EXPECT_TRUE(b == dealType(faces[1]) || b == dealType(faces[3])) << "seed " << seed;
    }
    // One row: only its far end is ever free, so no deal can be cleared.
    Deal row({{0, 0, 1, 59}, {2, 0, 1}, {4, 0, 1}, {6, 0, 1}, {8, 0, 1}});
    row.deal.DealBoard(3, nullptr, 0, 0, "row.cfg", false);
    EXPECT_FALSE(row.deal.Dealt());
    EXPECT_EQ(testsupport::CountLogLines("A deep magnet has no fully covered tile to pull"), 1);
    EXPECT_EQ(testsupport::CountLogLines("the board may not be solvable"), 0);
    EXPECT_EQ(mjtest::Faces(*row.layout), (std::vector<int>{59}));
}

// Play takes a magnet off only by pulling a tile onto it. Here the one pair lies under the magnet
// and beside it: pulling the free tile onto the magnet leaves it on top of its partner, so no
// deal can be cleared, with or without the vortex, and the deal must say so rather than count on
// the magnet leaving for nothing.
TEST(MjDealTest, MagnetIsNeverTakenOffForNothing)
{
    const std::vector<Spot> underMagnet = {{0, 0, 1}, {0, 0, 2, 58}, {4, 0, 1}};
    int refused = 0;
    for (int useVortex : {1, 0}) {
        MjPuzzleRules rules;
        rules.useVortex = useVortex;
        Deal d(underMagnet, rules);
        d.deal.DealBoard(5, nullptr, 0, 0, "undermagnet.cfg", false);
        EXPECT_EQ(d.deal.Retries(), MjDeal::kMaxRetries + 1) << "usevortex " << useVortex;
        EXPECT_EQ(testsupport::CountLogLines("the board may not be solvable"), ++refused)
            << "usevortex " << useVortex;
    }
}
