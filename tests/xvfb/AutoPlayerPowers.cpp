// AutoPlayerPowers: the powers' effects on the player's copy of the grid, and the choice of the
// next power to use.
#include "tests/xvfb/AutoPlayerPowers.h"

#include <algorithm>
#include <map>
#include <utility>

namespace {

constexpr int kColumns = 46;
constexpr int kRows = 26;
constexpr int kLayers = 26;
// Candidate uses tried per power, and the positions the planner may look at for each.
constexpr size_t kCandidates = 8;
constexpr long kCheckBudget = 60000;
// The order the powers are used in: the fuse first, as a brick holds up every tile under it.
constexpr int kOrder[] = {
    AutoPlayerPowers::kFuse,    AutoPlayerPowers::kDeepMagnet, AutoPlayerPowers::kMagnet,
    AutoPlayerPowers::kTyphoon, AutoPlayerPowers::kSwapper,    AutoPlayerPowers::kClone,
    AutoPlayerPowers::kWand,    AutoPlayerPowers::kUp,         AutoPlayerPowers::kDown};

bool Ordinary(int type)
{
    return type >= 0 && type < AutoPlayerPlanner::kFirstSpecialType;
}

bool Suited(int type)
{
    return type >= 0 && type < AutoPlayerPowers::kSuitedTypes;
}

// The tiles that count for the clearing order: the ordinary ones. Powers will be used and
// bricks blown away, so they count as gone.
std::vector<PlanTile> OrdinaryOnly(const std::vector<PlanTile>& tiles, std::vector<int>* from)
{
    std::vector<PlanTile> left;
    for (size_t t = 0; t < tiles.size(); ++t) {
        if (Ordinary(tiles[t].type)) {
            left.push_back(tiles[t]);
            if (from != nullptr) {
                from->push_back(static_cast<int>(t));
            }
        }
    }
    return left;
}

} // namespace

bool AutoPlayerPowers::IsPower(int type)
{
    return type == kDown || type == kUp || type == kFuse || type == kClone || type == kTyphoon ||
           type == kSwapper || type == kWand || type == kMagnet || type == kDeepMagnet;
}

std::string AutoPlayerPowers::Name(int type)
{
    static const std::map<int, std::string> names = {
        {kDown, "down"},       {kUp, "up"},           {kFuse, "fuse"},
        {kClone, "clone"},     {kTyphoon, "typhoon"}, {kSwapper, "swapper"},
        {kWand, "magic-wand"}, {kMagnet, "magnet"},   {kDeepMagnet, "deep-magnet"}};
    const auto found = names.find(type);
    return found != names.end() ? found->second : "type-" + std::to_string(type);
}

AutoPlayerPowers::AutoPlayerPowers(std::vector<PlanTile> tiles, int groupSize)
    : _tiles(std::move(tiles)), _groupSize(std::max(2, groupSize)),
      _grid(kColumns * kRows * kLayers, -1)
{
    for (size_t t = 0; t < _tiles.size(); ++t) {
        const PlanTile& tile = _tiles[t];
        for (int di = 0; di < 2; ++di) {
            for (int dj = 0; dj < 2; ++dj) {
                const int i = tile.i + di, j = tile.j + dj;
                if (i >= 0 && j >= 0 && tile.k >= 0 && i < kColumns && j < kRows &&
                    tile.k < kLayers) {
                    _grid[(tile.k * kRows + j) * kColumns + i] = static_cast<int>(t);
                }
            }
        }
    }
}

int AutoPlayerPowers::At(int i, int j, int k) const
{
    if (i < 0 || j < 0 || k < 0 || i >= kColumns || j >= kRows || k >= kLayers) {
        return -1;
    }
    return _grid[(k * kRows + j) * kColumns + i];
}

bool AutoPlayerPowers::CoveredAbove(int t) const
{
    const PlanTile& tile = _tiles[t];
    return At(tile.i, tile.j, tile.k + 1) >= 0 || At(tile.i + 1, tile.j, tile.k + 1) >= 0 ||
           At(tile.i, tile.j + 1, tile.k + 1) >= 0 || At(tile.i + 1, tile.j + 1, tile.k + 1) >= 0;
}

bool AutoPlayerPowers::FullyCovered(int t) const
{
    const PlanTile& tile = _tiles[t];
    return At(tile.i, tile.j, tile.k + 1) >= 0 && At(tile.i + 1, tile.j, tile.k + 1) >= 0 &&
           At(tile.i, tile.j + 1, tile.k + 1) >= 0 && At(tile.i + 1, tile.j + 1, tile.k + 1) >= 0;
}

bool AutoPlayerPowers::Free(int t) const
{
    const PlanTile& tile = _tiles[t];
    // A brick never comes free from the side.
    if (CoveredAbove(t) || tile.type == kBrick) {
        return false;
    }
    const bool left = At(tile.i - 1, tile.j, tile.k) < 0 && At(tile.i - 1, tile.j + 1, tile.k) < 0;
    const bool right = At(tile.i + 2, tile.j, tile.k) < 0 && At(tile.i + 2, tile.j + 1, tile.k) < 0;
    return left || right;
}

std::set<int> AutoPlayerPowers::Kinds() const
{
    std::set<int> kinds;
    for (const PlanTile& tile : _tiles) {
        if (IsPower(tile.type)) {
            kinds.insert(tile.type);
        }
    }
    return kinds;
}

bool AutoPlayerPowers::Clearable(const std::vector<PlanTile>& tiles, long budget) const
{
    std::vector<PlanTile> left = OrdinaryOnly(tiles, nullptr);
    if (left.empty()) {
        return true;
    }
    std::map<int, int> counts;
    for (const PlanTile& tile : left) {
        ++counts[tile.type];
    }
    for (const auto& [type, count] : counts) {
        if (count % _groupSize != 0) {
            return false;
        }
    }
    AutoPlayerPlanner planner(std::move(left), _groupSize);
    return !planner.Plan(budget).empty();
}

std::vector<AutoPlayerPowers::Move>
AutoPlayerPowers::Candidates(int kind, int power, const std::function<bool(int)>& pressable) const
{
    std::vector<int> freeOrdinary;
    std::vector<int> openOrdinary; // not fully covered
    std::vector<int> buried;       // fully covered
    for (size_t n = 0; n < _tiles.size(); ++n) {
        const int t = static_cast<int>(n);
        if (!Ordinary(_tiles[t].type)) {
            continue;
        }
        if (FullyCovered(t)) {
            buried.push_back(t);
        } else {
            openOrdinary.push_back(t);
            if (Free(t)) {
                freeOrdinary.push_back(t);
            }
        }
    }
    // Tiles held up by others first: taking or changing those helps the most.
    const auto heldUp = [this](int a, int b) {
        return std::make_pair(Free(a), -_tiles[a].k) < std::make_pair(Free(b), -_tiles[b].k);
    };
    std::vector<Move> moves;
    const auto add = [&moves, power](std::vector<int> targets) {
        moves.push_back({power, std::move(targets)});
    };
    switch (kind) {
    case kFuse:
        for (size_t t = 0; t < _tiles.size(); ++t) {
            if (_tiles[t].type == kBrick && !CoveredAbove(static_cast<int>(t))) {
                add({static_cast<int>(t)});
            }
        }
        break;
    case kDeepMagnet:
        std::sort(buried.begin(), buried.end(), heldUp);
        for (int t : buried) {
            add({t});
        }
        break;
    case kMagnet:
    case kSwapper:
        std::sort(openOrdinary.begin(), openOrdinary.end(), heldUp);
        for (int a : openOrdinary) {
            if (kind == kMagnet) {
                add({a});
                continue;
            }
            for (int b : openOrdinary) {
                if (b != a && _tiles[b].type != _tiles[a].type) {
                    add({a, b});
                }
            }
        }
        break;
    case kTyphoon:
    case kWand:
    case kUp:
    case kDown:
        for (int t : freeOrdinary) {
            const int type = _tiles[t].type;
            if (kind != kTyphoon && (!Suited(type) || (kind == kUp && type % 9 == 8) ||
                                     (kind == kDown && type % 9 == 0))) {
                continue;
            }
            add({t});
        }
        break;
    case kClone:
        for (int a : freeOrdinary) {
            for (int b : freeOrdinary) {
                if (_tiles[b].type != _tiles[a].type) {
                    add({a, b});
                }
            }
        }
        break;
    default:
        break;
    }
    std::vector<Move> pressableMoves;
    for (const Move& move : moves) {
        if (std::all_of(move.targets.begin(), move.targets.end(), pressable)) {
            pressableMoves.push_back(move);
        }
    }
    return pressableMoves;
}

bool AutoPlayerPowers::Next(const std::set<int>& used, const std::function<bool(int)>& pressable,
                            Move* move)
{
    for (int kind : kOrder) {
        if (used.count(kind) != 0) {
            continue;
        }
        for (size_t t = 0; t < _tiles.size(); ++t) {
            const int power = static_cast<int>(t);
            if (_tiles[t].type != kind || !Free(power) || !pressable(power)) {
                continue;
            }
            size_t tried = 0;
            for (const Move& candidate : Candidates(kind, power, pressable)) {
                if (tried++ >= kCandidates) {
                    break;
                }
                if (Clearable(After(candidate), kCheckBudget)) {
                    *move = candidate;
                    return true;
                }
            }
        }
    }
    return false;
}

std::vector<PlanTile> AutoPlayerPowers::After(const Move& move) const
{
    std::vector<PlanTile> tiles = _tiles;
    std::vector<bool> gone(tiles.size(), false);
    const int kind = tiles[move.power].type;
    const int first = move.targets.empty() ? -1 : move.targets[0];
    const int firstType = first >= 0 ? tiles[first].type : -1;
    // Every power but the magnets leaves for the tray.
    gone[move.power] = kind != kMagnet && kind != kDeepMagnet;
    for (size_t t = 0; t < tiles.size(); ++t) {
        PlanTile& tile = tiles[t];
        switch (kind) {
        case kUp:
        case kDown:
            if (tile.type == firstType) {
                tile.type += kind == kUp ? 1 : -1;
            }
            break;
        case kWand:
            if (Suited(tile.type) && tile.type % 9 == firstType % 9) {
                tile.type = firstType;
            }
            break;
        case kTyphoon:
            gone[t] = gone[t] || tile.type == firstType;
            break;
        case kClone:
            if (tile.type == _tiles[move.targets[1]].type) {
                tile.type = firstType;
            }
            break;
        default:
            break;
        }
    }
    if (kind == kSwapper) {
        std::swap(tiles[move.targets[0]].type, tiles[move.targets[1]].type);
    } else if (kind == kMagnet || kind == kDeepMagnet) {
        // The pulled tile takes the magnet's place.
        tiles[move.power].type = firstType;
        gone[first] = true;
    } else if (kind == kFuse) {
        gone[first] = true;
    }
    std::vector<PlanTile> left;
    for (size_t t = 0; t < tiles.size(); ++t) {
        if (!gone[t]) {
            left.push_back(tiles[t]);
        }
    }
    return left;
}

std::vector<int> AutoPlayerPowers::NextGroup(long budget) const
{
    std::vector<int> from;
    AutoPlayerPlanner planner(OrdinaryOnly(_tiles, &from), _groupSize);
    for (const std::vector<int>& group : planner.Plan(budget)) {
        std::vector<int> real;
        for (int t : group) {
            real.push_back(from[t]);
        }
        if (std::all_of(real.begin(), real.end(), [this](int t) { return Free(t); })) {
            return real;
        }
    }
    return {};
}
