// Plays every shipped board that holds Yin-Yang tiles with a random player and prints, per board,
// how far into the board both Yin-Yang tiles first stand free, how often the player wins it and
// how many free pairs the deal opens with:
//
//   mahjong_boards_report [DATA_FOLDER]
//
// The boards are those the puzzle-set files "cfg/puzzles1.cfg" to "cfg/puzzles3.cfg" name, each
// layout once, with the rules of the first description that names it. A board is dealt by the
// game's own grid and deal and played on that grid with its free rule, so the report says what a
// player meets. The quest (set 3) deals its board's fixed seed and plays it many times with
// different choices; every other board deals seeds 1 to 50 and plays each twice.
//
// A play that never frees both Yin-Yang tiles counts as freeing them with every tile gone.
//
// The player matches a free group of one type at random, each group equally likely (the
// Yin-Yang pair among them), and uses a power as soon as the power tile is free and has a target
// worth the power, with a target chosen at random. The powers are modelled here on the grid (the
// board screen's own code needs the stage and its animations):
// - Up and Down turn every tile of a free suited target's type one rank up or down (not past 9 or
//   1); the magic wand turns the target's rank in the other suits into the target's suit;
// - the clone turns every tile of a free target's type into the type of another free tile;
// - the swapper exchanges two ordinary tiles of different types, neither fully covered;
// - the typhoon takes off every tile of a free target's type;
// - the magnet pulls a blocked tile that is not fully covered onto its own place, the deep magnet
//   a fully covered one, and leaves;
// - the fuse burns one brick that nothing covers.
// The first quest board's suits are turned by one offset after its deal in play; that changes no
// match, so it is left out.
#include "framework/core/ConfigFile.h"
#include "mahjong/board/MjBoardSettings.h"
#include "mahjong/board/MjCell.h"
#include "mahjong/board/MjDeal.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjPuzzleRules.h"
#include "mahjong/board/MjTileTypes.h"
#include "tests/mahjong/board/MjGameGrid.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int kYinYang = 42, kDown = 46, kUp = 47, kFuse = 48, kClone = 49, kTyphoon = 50,
              kSwapper = 54, kMagicWand = 57, kMagnet = 58, kDeepMagnet = 59;
constexpr int kBrick = MjTileTypes::kBrickType;
constexpr int kFirstSpecial = 42, kLastOrdinary = 43; // types below 44 must leave to clear
constexpr int kQuestSet = 3;
constexpr int kSeeds = 50, kPlaysPerSeed = 2, kQuestPlays = 100;

struct Tile
{
    int i, j, k;
    int type;
    bool on;
};

struct Board
{
    std::string layout; // as the puzzle set names it
    MjPuzzleRules rules;
    bool quest;
};

struct Outcome
{
    double freedAt; // percent of the board's tiles gone when both Yin-Yang tiles were free
    bool won;
};

bool Ordinary(const Tile& t)
{
    return t.on && t.type < kFirstSpecial;
}

bool Suited(const Tile& t)
{
    return Ordinary(t) && t.type < 27;
}

// One play of a dealt grid.
class Play
{
public:
    Play(MjLayout& grid, int matchSize, unsigned int choices)
        : _grid(grid), _matchSize(matchSize), _random(choices)
    {
        for (int index : grid.OriginIndices()) {
            int i, j, k;
            MjLayout::IndexToCell(index, i, j, k);
            const MjCell& cell = grid.Cell(i, j, k);
            if (cell.state == MjCell::kOrigin) {
                const int face = cell.faceCol + 6 * cell.faceRow;
                _tiles.push_back({i, j, k, MjTileTypes::TypeOfFace(face), true});
            }
        }
    }

    // Free groups of one type at the deal, as the board counts them.
    int FreeGroups() const
    {
        std::map<int, int> free;
        for (const Tile& t : _tiles) {
            if (t.on && t.type <= kYinYang && Free(t)) {
                ++free[t.type];
            }
        }
        int groups = 0;
        for (const auto& [type, count] : free) {
            groups += count / _matchSize;
        }
        return groups;
    }

    Outcome Run()
    {
        const int total = static_cast<int>(_tiles.size());
        Outcome outcome{100.0, false};
        bool freed = false;
        for (;;) {
            if (!freed && YinYangFree()) {
                freed = true;
                outcome.freedAt = 100.0 * _gone / total;
            }
            if (std::none_of(_tiles.begin(), _tiles.end(),
                             [](const Tile& t) { return t.on && t.type <= kLastOrdinary; })) {
                outcome.won = true;
                return outcome;
            }
            if (UsePower()) {
                continue;
            }
            const std::vector<int> group = PickGroup();
            if (group.empty()) {
                return outcome;
            }
            const bool yinYang = _tiles[group[0]].type == kYinYang;
            for (int t : group) {
                Take(t);
            }
            if (yinYang) {
                outcome.won = true;
                return outcome;
            }
        }
    }

private:
    bool Free(const Tile& t) const { return _grid.FreeState(t.i, t.j, t.k) == MjLayout::kFree; }
    bool Covered(const Tile& t) const
    {
        return _grid.FreeState(t.i, t.j, t.k) == MjLayout::kCoveredAbove;
    }
    bool FullyCovered(const Tile& t) const { return _grid.IsFullyCovered(t.i, t.j, t.k); }

    void Take(int t)
    {
        _grid.EmptyQuad(_tiles[t].i, _tiles[t].j, _tiles[t].k);
        _tiles[t].on = false;
        ++_gone;
    }

    bool YinYangFree() const
    {
        int present = 0;
        for (const Tile& t : _tiles) {
            if (t.on && t.type == kYinYang) {
                if (!Free(t)) {
                    return false;
                }
                ++present;
            }
        }
        return present > 0;
    }

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(_random); }

    template <typename Test> std::vector<int> Matching(Test test) const
    {
        std::vector<int> out;
        for (size_t t = 0; t < _tiles.size(); ++t) {
            if (test(_tiles[t])) {
                out.push_back(static_cast<int>(t));
            }
        }
        return out;
    }

    // A random free group: each group of matchSize free tiles of one type equally likely.
    std::vector<int> PickGroup()
    {
        std::map<int, std::vector<int>> free;
        for (size_t t = 0; t < _tiles.size(); ++t) {
            const Tile& tile = _tiles[t];
            if (tile.on && tile.type <= kYinYang && Free(tile)) {
                free[tile.type].push_back(static_cast<int>(t));
            }
        }
        auto groupsOf = [&](size_t n) {
            double c = 1;
            for (int m = 0; m < _matchSize; ++m) {
                c = c * static_cast<double>(n - m) / (m + 1);
            }
            return n >= static_cast<size_t>(_matchSize) ? c : 0.0;
        };
        double all = 0;
        for (const auto& [type, tiles] : free) {
            all += groupsOf(tiles.size());
        }
        if (all == 0) {
            return {};
        }
        double r = std::uniform_real_distribution<double>(0, all)(_random);
        for (auto& [type, tiles] : free) {
            const double here = groupsOf(tiles.size());
            if (here == 0) {
                continue;
            }
            if (r < here || &tiles == &free.rbegin()->second) {
                std::shuffle(tiles.begin(), tiles.end(), _random);
                return std::vector<int>(tiles.begin(), tiles.begin() + _matchSize);
            }
            r -= here;
        }
        return {};
    }

    // The first free power tile with a target, in a random order, used on a random target.
    bool UsePower()
    {
        std::vector<int> powers = Matching([&](const Tile& t) {
            return t.on && t.type > kYinYang && t.type != kBrick && Free(t);
        });
        std::shuffle(powers.begin(), powers.end(), _random);
        for (int p : powers) {
            if (Use(p)) {
                return true;
            }
        }
        return false;
    }

    bool Use(int p)
    {
        const int power = _tiles[p].type;
        switch (power) {
        case kUp:
        case kDown:
        case kMagicWand: {
            const std::vector<int> targets = Matching([&](const Tile& t) {
                return Suited(t) && Free(t) && !(power == kUp && t.type % 9 == 8) &&
                       !(power == kDown && t.type % 9 == 0);
            });
            if (targets.empty()) {
                return false;
            }
            const int type = _tiles[targets[Pick(static_cast<int>(targets.size()))]].type;
            for (Tile& t : _tiles) {
                if (!Suited(t)) {
                    continue;
                }
                if (power == kMagicWand && t.type % 9 == type % 9) {
                    t.type = type;
                } else if (power != kMagicWand && t.type == type) {
                    t.type = type + (power == kUp ? 1 : -1);
                }
            }
            break;
        }
        case kClone: {
            const std::vector<int> sources =
                Matching([&](const Tile& t) { return Ordinary(t) && Free(t); });
            if (sources.empty()) {
                return false;
            }
            const int from = _tiles[sources[Pick(static_cast<int>(sources.size()))]].type;
            const std::vector<int> targets =
                Matching([&](const Tile& t) { return Ordinary(t) && Free(t) && t.type != from; });
            if (targets.empty()) {
                return false;
            }
            const int to = _tiles[targets[Pick(static_cast<int>(targets.size()))]].type;
            for (Tile& t : _tiles) {
                if (Ordinary(t) && t.type == to) {
                    t.type = from;
                }
            }
            break;
        }
        case kSwapper: {
            const std::vector<int> firsts =
                Matching([&](const Tile& t) { return Ordinary(t) && !FullyCovered(t); });
            if (firsts.empty()) {
                return false;
            }
            const int a = firsts[Pick(static_cast<int>(firsts.size()))];
            const std::vector<int> seconds = Matching([&](const Tile& t) {
                return Ordinary(t) && !FullyCovered(t) && t.type != _tiles[a].type;
            });
            if (seconds.empty()) {
                return false;
            }
            const int b = seconds[Pick(static_cast<int>(seconds.size()))];
            std::swap(_tiles[a].type, _tiles[b].type);
            break;
        }
        case kTyphoon: {
            const std::vector<int> targets =
                Matching([&](const Tile& t) { return Ordinary(t) && Free(t); });
            if (targets.empty()) {
                return false;
            }
            const int type = _tiles[targets[Pick(static_cast<int>(targets.size()))]].type;
            for (size_t t = 0; t < _tiles.size(); ++t) {
                if (Ordinary(_tiles[t]) && _tiles[t].type == type) {
                    Take(static_cast<int>(t));
                }
            }
            break;
        }
        case kMagnet:
        case kDeepMagnet: {
            const std::vector<int> targets = Matching([&](const Tile& t) {
                return Ordinary(t) && !Free(t) && FullyCovered(t) == (power == kDeepMagnet);
            });
            if (targets.empty()) {
                return false;
            }
            const int target = targets[Pick(static_cast<int>(targets.size()))];
            // The pulled tile takes the magnet's place, and the magnet leaves.
            _grid.EmptyQuad(_tiles[target].i, _tiles[target].j, _tiles[target].k);
            _tiles[target].on = false;
            _tiles[p].type = _tiles[target].type;
            ++_gone;
            return true;
        }
        case kFuse: {
            const std::vector<int> bricks =
                Matching([&](const Tile& t) { return t.on && t.type == kBrick && !Covered(t); });
            if (bricks.empty()) {
                return false;
            }
            Take(bricks[Pick(static_cast<int>(bricks.size()))]);
            break;
        }
        default:
            return false;
        }
        Take(p);
        return true;
    }

    MjLayout& _grid;
    int _matchSize;
    std::mt19937 _random;
    std::vector<Tile> _tiles;
    int _gone = 0;
};

bool HoldsYinYang(const MjLayout& grid)
{
    for (const MjLayout::Position& p : grid.Positions()) {
        if (p.code == kYinYang) {
            return true;
        }
    }
    return false;
}

std::vector<Board> Boards(const std::string& data)
{
    std::vector<Board> boards;
    std::set<std::string> seen;
    for (int set = 1; set <= 3; ++set) {
        ConfigFile file(data + "/cfg/puzzles" + std::to_string(set) + ".cfg", false, true, false);
        for (int puzzle = 0; puzzle < 200; ++puzzle) {
            const std::string layout = static_cast<std::string>(
                file.Value(MjPuzzleRules::SectionName(puzzle), "layout", "", true));
            if (layout.empty() || !seen.insert(layout).second) {
                continue;
            }
            Board board{layout, MjPuzzleRules(), set == kQuestSet};
            board.rules.ReadDescription(file, puzzle, 0, board.quest, nullptr, 0);
            board.rules.ReadSolvable(file, puzzle);
            boards.push_back(board);
        }
    }
    return boards;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string data = argc > 1 ? argv[1] : GAME_DATA_DIR;
    MjBoardSettings settings = mjtest::GameGridSettings();
    const std::vector<Board> boards = Boards(data);
    if (boards.empty()) {
        std::printf("boards: no puzzle sets under %s\n", data.c_str());
        return 1;
    }
    for (const Board& board : boards) {
        const std::string path = data + "/" + board.layout;
        const int matchSize = board.rules.matchSize;
        MjLayout grid(nullptr, path, &settings, nullptr, matchSize, board.rules.doubleLayers);
        if (!HoldsYinYang(grid)) {
            continue;
        }
        std::vector<int> seeds;
        int playsPerSeed = kPlaysPerSeed;
        if (board.quest) {
            seeds = {board.rules.fixedSeed};
            playsPerSeed = kQuestPlays;
        } else {
            for (int seed = 1; seed <= kSeeds; ++seed) {
                seeds.push_back(seed);
            }
        }
        std::vector<double> freedAt;
        int won = 0;
        int openingGroups = -1;
        bool dealt = true;
        for (int seed : seeds) {
            for (int play = 0; play < playsPerSeed && dealt; ++play) {
                grid.Rebuild();
                MjDeal deal;
                deal.SetSanityCheck(true);
                deal.SetRules(board.rules);
                deal.SetLayout(&grid);
                deal.DealBoard(seed, nullptr, 0, 0, path, false);
                dealt = deal.Dealt();
                Play game(grid, matchSize, static_cast<unsigned int>(seed * 1000 + play));
                if (openingGroups < 0) {
                    openingGroups = game.FreeGroups();
                }
                const Outcome outcome = game.Run();
                freedAt.push_back(outcome.freedAt);
                won += outcome.won ? 1 : 0;
            }
        }
        if (!dealt) {
            std::printf("%s does not deal\n", board.layout.c_str());
            continue;
        }
        const int plays = static_cast<int>(freedAt.size());
        std::printf("%s yinyang free at %.0f %% (median of %d plays), cleared %.0f %%, free pairs "
                    "at the deal %d\n",
                    board.layout.c_str(), Median(freedAt), plays, 100.0 * won / plays,
                    openingGroups);
    }
    return 0;
}
