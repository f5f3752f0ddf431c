#include "tests/e2e/FreePairFinder.h"

#include "framework/core/ConfigFile.h"
#include "mahjong/board/MjBoardSettings.h"
#include "mahjong/board/MjCell.h"
#include "mahjong/board/MjDeal.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjPuzzleRules.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/board/MjTileTypes.h"
#include "mahjong/screen/MjClassic.h"
#include "mahjong/screen/MjClassicConfig.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <utility>

namespace e2e {

namespace {

// Faces 0 to 33 match only their own face; the seasons, flowers and special tiles do not take
// part.
constexpr int kOrdinaryFaces = 34;
// The sweep at a quest board's end: bricks and the Yin-Yang tiles stay, the types are taken in
// this order (the honours 27 to 29 last), a group of the match size per step, special tiles one
// per step.
constexpr int kBrickType = MjTileTypes::kBrickType;
constexpr int kSweepSkipStart = 27;
constexpr int kSweepSkipEnd = 30;
constexpr int kSweepLastStep = 63;
constexpr int kSweepHonourShift = 33;
constexpr int kSweepHonourStep = 59;
constexpr int kFirstSpecialSweepStep = 43;

// A board dealt as the board screen deals it, on a grid of its own (no sprites).
struct DealtBoard
{
    explicit DealtBoard(const std::string& lookFile) : look(lookFile) {}

    MjClassicConfig look;
    MjPuzzleRules rules;
    MjBoardSettings settings;
    std::unique_ptr<MjLayout> layout;

    FreePairTile Tile(int i, int j, int k, int face) const
    {
        return FreePairTile{i,
                            j,
                            k,
                            face,
                            layout->CellX(i, j, k) + look._tileW / 2,
                            layout->CellY(i, j, k) + look._tileH / 2};
    }
};

// Deals the board; an empty text, or why it cannot be played in pairs.
std::string Deal(DealtBoard& board, const std::string& puzzleSetFile, int number, int seed)
{
    ConfigFile puzzles(puzzleSetFile, false, false, false);
    const MjClassicConfig& look = board.look;
    const bool quest = look._type == MjClassic::kQuestType;

    // The rules as the board screen reads them for a board of this set.
    MjPuzzleRules& rules = board.rules;
    rules.ReadDescription(puzzles, number, 0, quest, nullptr, look._type);
    rules.ReadSolvable(puzzles, number);
    if (rules.matchSize != 2 && rules.matchSize != 3) {
        rules.matchSize = 2;
    }
    if (rules.matchSize != 2) {
        return "board " + std::to_string(number) + " is played in triples";
    }

    MjBoardSettings& settings = board.settings;
    settings.origin = look._boardPos;
    settings.columns = 2 * look._maxI;
    settings.rows = 2 * look._maxJ;
    settings.layers = look._maxK;
    settings.tileWidth = look._tileW;
    settings.tileHeight = look._tileH;
    settings.tileBorder = look._tileBorder;
    board.layout = std::make_unique<MjLayout>(nullptr, rules.layout, &settings, nullptr,
                                              rules.matchSize, rules.doubleLayers);
    MjLayout& layout = *board.layout;
    if (!layout.IsUsable() || layout.TileCount() == 0) {
        return "layout " + rules.layout + " has no tiles";
    }
    MjDeal deal;
    deal.SetRules(rules);
    deal.SetLayout(&layout);
    deal.SetSanityCheck(true); // no seed lines in the log
    deal.DealBoard(seed, nullptr, look._type, number, rules.layout, false);
    return "";
}

int FaceOf(const MjCell& cell)
{
    return cell.faceCol + MjTile::kSheetColumns * cell.faceRow;
}

// The type the board screen gives the tile: the seasons and the flowers each match as one type.
int TypeOf(const MjCell& cell)
{
    return MjTileTypes::TypeOfFace(FaceOf(cell));
}

} // namespace

FreePair FindFreePair(const std::string& lookFile, const std::string& puzzleSetFile, int board,
                      int seed)
{
    FreePair result;
    DealtBoard dealt(lookFile);
    result.error = Deal(dealt, puzzleSetFile, board, seed);
    if (!result.error.empty()) {
        return result;
    }
    const MjLayout& layout = *dealt.layout;
    std::map<int, FreePairTile> firstOfFace;
    for (int k = 0; k < layout.Layers() && !result.found; ++k) {
        for (int j = 0; j < layout.Rows() && !result.found; ++j) {
            for (int i = 0; i < layout.Columns() && !result.found; ++i) {
                const MjCell& cell = layout.Cell(i, j, k);
                if (cell.state != MjCell::kOrigin || cell.specialKind != 0 || cell.faceCol < 0 ||
                    cell.faceRow < 0 || layout.FreeState(i, j, k) != MjLayout::kFree) {
                    continue;
                }
                const int face = FaceOf(cell);
                if (face >= kOrdinaryFaces) {
                    continue;
                }
                const FreePairTile tile = dealt.Tile(i, j, k, face);
                auto known = firstOfFace.find(face);
                if (known == firstOfFace.end()) {
                    firstOfFace.emplace(face, tile);
                } else {
                    result.found = true;
                    result.a = known->second;
                    result.b = tile;
                }
            }
        }
    }
    if (!result.found) {
        result.error = "no free pair on board " + std::to_string(board);
    }
    return result;
}

namespace {

struct Planner
{
    DealtBoard& board;
    std::vector<FreePairTile> yinYang;
    std::vector<FreePair> path;
    std::set<std::vector<int>> seen;
    long budget = 0;

    bool Goal() const
    {
        return std::all_of(yinYang.begin(), yinYang.end(), [this](const FreePairTile& t) {
            return board.layout->FreeState(t.i, t.j, t.k) == MjLayout::kFree;
        });
    }

    int Distance(const FreePairTile& tile) const
    {
        int best = 1 << 20;
        for (const FreePairTile& y : yinYang) {
            best = std::min(best, std::abs(tile.i - y.i) + std::abs(tile.j - y.j));
        }
        return best;
    }

    // The free pairs of one ordinary type, the ones nearest the Yin-Yang tiles first.
    std::vector<FreePair> Moves() const
    {
        const MjLayout& layout = *board.layout;
        std::map<int, std::vector<FreePairTile>> freeOfType;
        for (int index : layout.OriginIndices()) {
            int i, j, k;
            MjLayout::IndexToCell(index, i, j, k);
            const MjCell& cell = layout.Cell(i, j, k);
            if (cell.state != MjCell::kOrigin || cell.specialKind != 0 || cell.faceCol < 0 ||
                cell.faceRow < 0 || TypeOf(cell) >= MjTile::kYinYang ||
                layout.FreeState(i, j, k) != MjLayout::kFree) {
                continue;
            }
            freeOfType[TypeOf(cell)].push_back(board.Tile(i, j, k, FaceOf(cell)));
        }
        std::vector<std::pair<int, FreePair>> ranked;
        for (const auto& [type, tiles] : freeOfType) {
            for (size_t a = 0; a < tiles.size(); ++a) {
                for (size_t b = a + 1; b < tiles.size(); ++b) {
                    FreePair pair;
                    pair.found = true;
                    pair.a = tiles[a];
                    pair.b = tiles[b];
                    ranked.emplace_back(Distance(tiles[a]) + Distance(tiles[b]), pair);
                }
            }
        }
        std::stable_sort(ranked.begin(), ranked.end(),
                         [](const auto& x, const auto& y) { return x.first < y.first; });
        std::vector<FreePair> moves;
        for (const auto& entry : ranked) {
            moves.push_back(entry.second);
        }
        return moves;
    }

    std::vector<int> Key() const
    {
        std::vector<int> key;
        for (int index : board.layout->OriginIndices()) {
            int i, j, k;
            MjLayout::IndexToCell(index, i, j, k);
            if (board.layout->Cell(i, j, k).state == MjCell::kOrigin) {
                key.push_back(index);
            }
        }
        return key;
    }

    bool Search()
    {
        if (Goal()) {
            return true;
        }
        if (--budget < 0 || !seen.insert(Key()).second) {
            return false;
        }
        for (const FreePair& move : Moves()) {
            const MjCell savedA[4] = {Quarter(move.a, 0), Quarter(move.a, 1), Quarter(move.a, 2),
                                      Quarter(move.a, 3)};
            const MjCell savedB[4] = {Quarter(move.b, 0), Quarter(move.b, 1), Quarter(move.b, 2),
                                      Quarter(move.b, 3)};
            board.layout->RemoveTile(move.a.i, move.a.j, move.a.k);
            board.layout->RemoveTile(move.b.i, move.b.j, move.b.k);
            path.push_back(move);
            if (Search()) {
                return true;
            }
            path.pop_back();
            Restore(move.b, savedB);
            Restore(move.a, savedA);
        }
        return false;
    }

    MjCell Quarter(const FreePairTile& t, int q) const
    {
        return board.layout->Cell(t.i + q % 2, t.j + q / 2, t.k);
    }

    void Restore(const FreePairTile& t, const MjCell (&saved)[4])
    {
        for (int q = 0; q < 4; ++q) {
            board.layout->Cell(t.i + q % 2, t.j + q / 2, t.k) = saved[q];
        }
    }

    // The steps of the sweep that take something, by the game's rule, on what is left.
    int SweepSteps() const
    {
        std::vector<int> types;
        bool bricks = false;
        for (int index : board.layout->OriginIndices()) {
            int i, j, k;
            MjLayout::IndexToCell(index, i, j, k);
            const MjCell& cell = board.layout->Cell(i, j, k);
            if (cell.state == MjCell::kOrigin && cell.faceCol >= 0 && cell.faceRow >= 0) {
                types.push_back(TypeOf(cell));
                bricks = bricks || TypeOf(cell) == kBrickType;
            }
        }
        const int groupSize = board.rules.matchSize;
        int steps = bricks ? 1 : 0;
        int taken = 0;
        for (int step = 0; step < kSweepLastStep;) {
            bool returned = false;
            for (int& type : types) {
                const bool wanted = (type == step && step != kSweepSkipStart) ||
                                    (type == step - kSweepHonourShift && step > kSweepHonourStep);
                if (!wanted || type == kBrickType || type == MjTile::kYinYang) {
                    continue;
                }
                type = -1;
                ++taken;
                if (taken == groupSize ||
                    (step >= kFirstSpecialSweepStep && step <= kSweepHonourStep)) {
                    ++steps;
                    taken = 0;
                    returned = true;
                    break;
                }
            }
            if (!returned) {
                ++step;
                if (step == kSweepSkipStart) {
                    step = kSweepSkipEnd;
                }
            }
        }
        return steps;
    }
};

} // namespace

QuestFinish PlanQuestFinish(const std::string& lookFile, const std::string& puzzleSetFile,
                            int board, int seed, long budget)
{
    QuestFinish result;
    DealtBoard dealt(lookFile);
    result.error = Deal(dealt, puzzleSetFile, board, seed);
    if (!result.error.empty()) {
        return result;
    }
    Planner planner{dealt, {}, {}, {}, budget};
    for (int index : dealt.layout->OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        const MjCell& cell = dealt.layout->Cell(i, j, k);
        if (cell.state == MjCell::kOrigin && cell.faceCol >= 0 && cell.faceRow >= 0 &&
            TypeOf(cell) == MjTile::kYinYang) {
            planner.yinYang.push_back(dealt.Tile(i, j, k, FaceOf(cell)));
        }
    }
    if (planner.yinYang.size() != 2) {
        result.error = "board " + std::to_string(board) + " has " +
                       std::to_string(planner.yinYang.size()) + " Yin-Yang tiles, not 2";
        return result;
    }
    if (!planner.Search()) {
        result.error = "no way found to free the Yin-Yang pair of board " + std::to_string(board);
        return result;
    }
    result.found = true;
    result.matches = planner.path;
    result.yinYang.found = true;
    result.yinYang.a = planner.yinYang[0];
    result.yinYang.b = planner.yinYang[1];
    result.sweepSteps = planner.SweepSteps();
    return result;
}

} // namespace e2e
