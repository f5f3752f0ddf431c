// Every dealt board can be cleared. The solver here knows the game's rules on its own: its free
// rule, matching and powers share no code with the grid or the deal, so a fault in either shows
// up as a board it cannot clear.
#include "mahjong/board/MjDeal.h"
#include "mahjong/board/MjLayout.h"
#include "tests/mahjong/board/MjBoardCatalog.h"

#include <array>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <unordered_set>

namespace {

constexpr int kYinYang = 42, kBrick = 45, kFuse = 48, kClone = 49, kTyphoon = 50, kSwapper = 54,
              kMagnet = 58, kDeepMagnet = 59;
constexpr int kColumns = 44, kRows = 24, kLayers = 24;

struct Tile
{
    int i, j, k;
    int type; // tiles of one type match
    bool present;
};

// A board as the player sees it, with the moves of the game.
class Board
{
public:
    Board(std::vector<Tile> tiles, int matchSize) : _tiles(std::move(tiles)), _matchSize(matchSize)
    {
        for (auto& plane : _grid) {
            for (auto& row : plane) {
                row.fill(-1);
            }
        }
        for (size_t t = 0; t < _tiles.size(); ++t) {
            Occupy(static_cast<int>(t), true);
        }
    }

    // Whether every tile below type 44 can be taken off; gives up after budget positions.
    bool Solve(long budget)
    {
        _budget = budget;
        return Search();
    }

    // Groups to try first, in this order (tile numbers); the search checks each by its own
    // rules and goes its own way where one does not hold.
    void Prefer(std::vector<std::vector<int>> groups) { _preferred = std::move(groups); }
    long Visited() const { return static_cast<long>(_seen.size()); }

private:
    int At(int i, int j, int k) const
    {
        if (i < 0 || j < 0 || k < 0 || i >= kColumns || j >= kRows || k >= kLayers) {
            return -1;
        }
        return _grid[k][j][i];
    }
    void Occupy(int t, bool on)
    {
        const Tile& tile = _tiles[t];
        for (int di = 0; di < 2; ++di) {
            for (int dj = 0; dj < 2; ++dj) {
                _grid[tile.k][tile.j + dj][tile.i + di] = on ? t : -1;
            }
        }
    }
    int CoverCount(const Tile& t) const
    {
        int covered = 0;
        for (int di = 0; di < 2; ++di) {
            for (int dj = 0; dj < 2; ++dj) {
                covered += At(t.i + di, t.j + dj, t.k + 1) >= 0 ? 1 : 0;
            }
        }
        return covered;
    }
    bool Free(const Tile& t) const
    {
        if (!t.present || CoverCount(t) > 0 || t.type == kBrick) {
            return false;
        }
        const bool right = At(t.i + 2, t.j, t.k) < 0 && At(t.i + 2, t.j + 1, t.k) < 0;
        const bool left = At(t.i - 1, t.j, t.k) < 0 && At(t.i - 1, t.j + 1, t.k) < 0;
        return right || left;
    }
    static bool Ordinary(const Tile& t) { return t.type < 42; }
    static bool Matchable(const Tile& t) { return t.type <= 42; }

    bool Cleared() const
    {
        for (const Tile& t : _tiles) {
            if (t.present && t.type < 44) {
                return false;
            }
        }
        return true;
    }
    uint64_t Hash() const
    {
        uint64_t h = 1469598103934665603ull;
        for (const Tile& t : _tiles) {
            const uint64_t v =
                t.present ? static_cast<uint64_t>(t.type * 8192 + t.i * 256 + t.j * 8 + t.k + 1)
                          : 0;
            h = (h ^ v) * 1099511628211ull;
        }
        return h;
    }
    void Remove(int t)
    {
        Occupy(t, false);
        _tiles[t].present = false;
    }
    void MoveTile(int t, const Tile& to)
    {
        Occupy(t, false);
        _tiles[t].i = to.i;
        _tiles[t].j = to.j;
        _tiles[t].k = to.k;
        Occupy(t, true);
    }
    void Restore(const std::vector<Tile>& saved)
    {
        for (size_t t = 0; t < _tiles.size(); ++t) {
            if (_tiles[t].present) {
                Occupy(static_cast<int>(t), false);
            }
        }
        _tiles = saved;
        for (size_t t = 0; t < _tiles.size(); ++t) {
            if (_tiles[t].present) {
                Occupy(static_cast<int>(t), true);
            }
        }
    }

    // Tries one move and the search after it; puts the board back when that fails.
    template <typename Apply> bool Try(Apply apply)
    {
        const std::vector<Tile> saved = _tiles;
        apply();
        if (Search()) {
            return true;
        }
        Restore(saved);
        return false;
    }

    bool Search()
    {
        if (Cleared()) {
            return true;
        }
        if (_budget-- <= 0 || !_seen.insert(Hash()).second) {
            return false;
        }
        std::vector<int> freeByType[64];
        std::vector<int> powers;
        for (size_t t = 0; t < _tiles.size(); ++t) {
            const Tile& tile = _tiles[t];
            if (!Free(tile)) {
                continue;
            }
            if (Matchable(tile)) {
                freeByType[tile.type].push_back(static_cast<int>(t));
            } else {
                powers.push_back(static_cast<int>(t));
            }
        }
        // A type whose remaining tiles are all free goes off at once: keeping it helps nothing,
        // unless a clone or swapper still needs tiles of two types to be used.
        bool needsTypes = false;
        for (const Tile& t : _tiles) {
            needsTypes = needsTypes || (t.present && (t.type == kClone || t.type == kSwapper));
        }
        for (int type = 0; type <= 42 && !needsTypes; ++type) {
            const std::vector<int>& free = freeByType[type];
            if (free.empty() || free.size() % _matchSize != 0) {
                continue;
            }
            size_t total = 0;
            for (const Tile& t : _tiles) {
                total += t.present && t.type == type ? 1 : 0;
            }
            if (total == free.size()) {
                return Try([&] {
                    for (int t : free) {
                        Remove(t);
                    }
                });
            }
        }
        // The first preferred group that is a legal match here.
        for (const std::vector<int>& group : _preferred) {
            bool legal = static_cast<int>(group.size()) == _matchSize;
            for (int t : group) {
                legal = legal && Free(_tiles[t]) && Matchable(_tiles[t]) &&
                        _tiles[t].type == _tiles[group[0]].type;
            }
            if (legal) {
                if (Try([&] {
                        for (int t : group) {
                            Remove(t);
                        }
                    })) {
                    return true;
                }
                break;
            }
        }
        for (int type = 0; type <= 42; ++type) {
            const std::vector<int>& free = freeByType[type];
            if (static_cast<int>(free.size()) < _matchSize) {
                continue;
            }
            std::vector<int> pick(_matchSize);
            if (Choose(free, 0, 0, pick)) {
                return true;
            }
        }
        for (int p : powers) {
            if (UsePower(p)) {
                return true;
            }
        }
        return false;
    }

    // Every group of matchSize free tiles of one type.
    bool Choose(const std::vector<int>& free, size_t from, int depth, std::vector<int>& pick)
    {
        if (depth == _matchSize) {
            return Try([&] {
                for (int t : pick) {
                    Remove(t);
                }
            });
        }
        for (size_t n = from; n < free.size(); ++n) {
            pick[depth] = free[n];
            if (Choose(free, n + 1, depth + 1, pick)) {
                return true;
            }
        }
        return false;
    }

    bool UsePower(int p)
    {
        const int power = _tiles[p].type;
        const int count = static_cast<int>(_tiles.size());
        for (int a = 0; a < count; ++a) {
            const Tile target = _tiles[a];
            if (!target.present || a == p) {
                continue;
            }
            const int cover = CoverCount(target);
            const bool free = Free(target);
            bool tried = false;
            if (power == kFuse && target.type == kBrick && cover == 0) {
                tried = Try([&] {
                    Remove(a);
                    Remove(p);
                });
            } else if ((power == kMagnet && Ordinary(target) && !free && cover < 4) ||
                       (power == kDeepMagnet && Ordinary(target) && cover == 4)) {
                // The target is pulled onto the magnet's place; the magnet leaves.
                tried = Try([&] {
                    const Tile place = _tiles[p];
                    Remove(p);
                    MoveTile(a, place);
                });
            } else if (power == kTyphoon && Ordinary(target) && free) {
                tried = Try([&] {
                    for (int t = 0; t < count; ++t) {
                        if (_tiles[t].present && _tiles[t].type == target.type) {
                            Remove(t);
                        }
                    }
                    Remove(p);
                });
            } else if ((power == kClone && Ordinary(target) && free) ||
                       (power == kSwapper && Ordinary(target) && cover < 4)) {
                for (int b = 0; b < count && !tried; ++b) {
                    const Tile other = _tiles[b];
                    if (!other.present || b == p || other.type == target.type || !Ordinary(other)) {
                        continue;
                    }
                    if (power == kClone && Free(other)) {
                        // Every tile of the other's type becomes a copy of the target.
                        tried = Try([&] {
                            for (Tile& t : _tiles) {
                                if (t.present && t.type == other.type) {
                                    t.type = target.type;
                                }
                            }
                            Remove(p);
                        });
                    } else if (power == kSwapper && CoverCount(other) < 4) {
                        tried = Try([&] {
                            std::swap(_tiles[a].type, _tiles[b].type);
                            Remove(p);
                        });
                    }
                }
            }
            if (tried) {
                return true;
            }
        }
        return false;
    }

    std::vector<Tile> _tiles;
    int _matchSize;
    std::array<std::array<std::array<int, kColumns>, kRows>, kLayers> _grid;
    std::unordered_set<uint64_t> _seen;
    long _budget = 0;
    std::vector<std::vector<int>> _preferred;
};

// The dealt board's tiles, read from the grid's cells; faces 34-37 and 38-41 match each other.
std::vector<Tile> DealtTiles(const MjLayout& layout)
{
    std::vector<Tile> tiles;
    for (int i = 0; i < layout.Columns(); ++i) {
        for (int j = 0; j < layout.Rows(); ++j) {
            for (int k = 0; k < layout.Layers(); ++k) {
                const MjCell& cell = layout.Cell(i, j, k);
                if (cell.state != MjCell::kOrigin) {
                    continue;
                }
                const int face = cell.faceCol + 6 * cell.faceRow;
                int type = face;
                if (face >= 34 && face <= 37) {
                    type = 34;
                } else if (face >= 38 && face <= 41) {
                    type = 38;
                }
                tiles.push_back({i, j, k, type, true});
            }
        }
    }
    return tiles;
}

// The deal's groups (and the pairs a magnet took) as tile numbers of tiles.
std::vector<std::vector<int>> PlannedGroups(const std::vector<MjDeal::PlanStep>& plan,
                                            const std::vector<Tile>& tiles, int matchSize)
{
    std::vector<std::vector<int>> groups;
    for (const MjDeal::PlanStep& step : plan) {
        std::vector<int> group;
        for (int index : step.cells) {
            int i, j, k;
            MjLayout::IndexToCell(index, i, j, k);
            for (size_t t = 0; t < tiles.size(); ++t) {
                if (tiles[t].i == i && tiles[t].j == j && tiles[t].k == k && tiles[t].type < 42) {
                    group.push_back(static_cast<int>(t));
                }
            }
        }
        if (static_cast<int>(group.size()) == matchSize) {
            groups.push_back(group);
        }
    }
    return groups;
}

bool HasCellsToDeal(const MjLayout& layout)
{
    for (int i = 0; i < layout.Columns(); ++i) {
        for (int j = 0; j < layout.Rows(); ++j) {
            for (int k = 0; k < layout.Layers(); ++k) {
                const MjCell& cell = layout.Cell(i, j, k);
                if (cell.state == MjCell::kOrigin && cell.faceCol == MjCell::kNoFace) {
                    return true;
                }
            }
        }
    }
    return false;
}

} // namespace

TEST(MjSolverTest, SolverClearsOnlyBoardsThatCanBeCleared)
{
    struct SolveCase
    {
        const char* name;
        std::vector<Tile> tiles;
        bool solvable;
    };
    const std::vector<SolveCase> cases = {
        {"crossed pairs",
         {{0, 0, 0, 1, true}, {0, 0, 1, 2, true}, {4, 0, 0, 2, true}, {4, 0, 1, 1, true}},
         false},
        {"stacked pairs",
         {{0, 0, 0, 2, true}, {0, 0, 1, 1, true}, {4, 0, 0, 2, true}, {4, 0, 1, 1, true}},
         true},
        {"walled in by bricks",
         {{0, 0, 0, kBrick, true},
          {2, 0, 0, 3, true},
          {4, 0, 0, kBrick, true},
          {6, 0, 0, 3, true},
          {8, 0, 0, kBrick, true}},
         false},
        {"a fuse burns the middle brick",
         {{0, 0, 0, kBrick, true},
          {2, 0, 0, 3, true},
          {4, 0, 0, kBrick, true},
          {6, 0, 0, 3, true},
          {8, 0, 0, kBrick, true},
          {12, 0, 0, kFuse, true}},
         true},
        {"half-covered crossed pairs",
         {{0, 0, 0, 3, true}, {1, 0, 1, 7, true}, {4, 0, 0, 7, true}, {5, 0, 1, 3, true}},
         false},
        {"a magnet pulls one out",
         {{0, 0, 0, 3, true},
          {1, 0, 1, 7, true},
          {4, 0, 0, 7, true},
          {5, 0, 1, 3, true},
          {10, 0, 0, kMagnet, true}},
         true},
        {"a typhoon takes a whole type",
         {{0, 0, 0, 3, true},
          {0, 0, 1, 7, true},
          {4, 0, 0, 7, true},
          {4, 0, 1, 3, true},
          {10, 0, 0, kTyphoon, true}},
         true},
        {"power tiles may stay",
         {{0, 0, 0, 3, true},
          {4, 0, 0, 3, true},
          {8, 0, 0, kClone, true},
          {12, 0, 0, kSwapper, true}},
         true},
    };
    for (const SolveCase& c : cases) {
        Board board(c.tiles, 2);
        EXPECT_EQ(board.Solve(10000), c.solvable) << c.name;
    }
}

// Every special fixture sees its special kinds used by some of its fifty deals.
TEST(MjSolverTest, EverySpecialFixtureUsesItsKinds)
{
    MjBoardSettings settings = mjtest::CatalogSettings();
    const std::map<std::string, std::set<int>> specials = {
        {"fixture:magnet", {MjDeal::kMagnet}},
        {"fixture:deepmagnet", {MjDeal::kDeepMagnet}},
        {"fixture:typhoon", {MjDeal::kTyphoon}},
        {"fixture:fuse", {MjDeal::kFuse}},
        {"fixture:clone_swapper", {MjDeal::kClone, MjDeal::kSwapper}},
    };
    std::map<std::string, std::set<int>> used;
    for (const mjtest::CatalogBoard& board : mjtest::CatalogBoards()) {
        if (specials.count(board.name) == 0) {
            continue;
        }
        for (int seed = 1; seed <= 50; ++seed) {
            MjDeal deal;
            std::vector<MjDeal::PlanStep> plan;
            deal.RecordPlan(&plan);
            const std::unique_ptr<MjLayout> layout =
                mjtest::DealCatalogBoard(board, seed, &settings, deal);
            ASSERT_TRUE(deal.Dealt()) << board.name << " seed " << seed;
            for (const MjDeal::PlanStep& step : plan) {
                used[board.name].insert(step.kind);
            }
        }
    }
    for (const auto& [name, kinds] : specials) {
        for (int kind : kinds) {
            EXPECT_EQ(used[name].count(kind), 1u) << name << " never used kind " << kind;
        }
    }
}

// Clearing every solvable board for fifty seeds is the longest test by far (minutes under the
// sanitizers): the deals are split into shards that ctest runs side by side, each taking every
// kClearShards-th deal, so that each board's deals spread over all of them.
constexpr int kClearShards = 8;

class MjSolverClearTest : public ::testing::TestWithParam<int>
{
};

TEST_P(MjSolverClearTest, EveryDealtBoardCanBeCleared)
{
    MjBoardSettings settings = mjtest::CatalogSettings();
    int deals = 0;
    int dealt = 0;
    for (const mjtest::CatalogBoard& board : mjtest::CatalogBoards()) {
        if (board.rules.solvable == 0) {
            continue;
        }
        for (int seed = 1; seed <= 50; ++seed) {
            MjLayout layout(nullptr, board.path, &settings, nullptr, board.rules.matchSize,
                            board.rules.doubleLayers);
            if (seed == 1 && !HasCellsToDeal(layout)) {
                break; // a picture made of preset faces, not a board to play
            }
            if (deals++ % kClearShards != GetParam()) {
                continue;
            }
            MjDeal deal;
            std::vector<MjDeal::PlanStep> plan;
            deal.RecordPlan(&plan);
            deal.SetRules(board.rules);
            deal.SetLayout(&layout);
            deal.DealBoard(seed, nullptr, 0, 0, board.path, false);
            ASSERT_TRUE(deal.Dealt()) << board.name << " seed " << seed;
            ASSERT_LE(deal.Retries(), MjDeal::kMaxRetries) << board.name;
            const std::vector<Tile> tiles = DealtTiles(layout);
            Board play(tiles, board.rules.matchSize);
            play.Prefer(PlannedGroups(plan, tiles, board.rules.matchSize));
            EXPECT_TRUE(play.Solve(20000000))
                << board.name << " seed " << seed << " after " << play.Visited() << " positions";
            ++dealt;
        }
    }
    // Each shard has fifty deals of a board at least.
    EXPECT_GE(dealt, 50 / kClearShards);
}

INSTANTIATE_TEST_SUITE_P(Shards, MjSolverClearTest, ::testing::Range(0, kClearShards));

// Matching the Yin-Yang pair ends a board, so no board starts with a Yin-Yang tile free: the deal
// keeps preset tiles where the layout puts them, and the layouts bury the pair.
TEST(MjSolverTest, NoDealtBoardStartsWithAFreeYinYangTile)
{
    MjBoardSettings settings = mjtest::CatalogSettings();
    std::set<std::string> withPair;
    for (const mjtest::CatalogBoard& board : mjtest::CatalogBoards()) {
        for (int seed = 1; seed <= 50; ++seed) {
            MjDeal deal;
            const std::unique_ptr<MjLayout> layout =
                mjtest::DealCatalogBoard(board, seed, &settings, deal);
            for (const Tile& t : DealtTiles(*layout)) {
                if (t.type != kYinYang) {
                    continue;
                }
                withPair.insert(board.name);
                EXPECT_NE(layout->FreeState(t.i, t.j, t.k), 0)
                    << board.name << " seed " << seed << ": Yin-Yang tile at " << t.i << "," << t.j
                    << " layer " << t.k << " is free at the deal";
            }
        }
    }
    // The quest's ten boards and the puzzles that hold the pair.
    EXPECT_GE(withPair.size(), 10u);
}
