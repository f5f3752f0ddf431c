// AutoPlayerPlanner: a depth-first search over the player's own copy of the board.
#include "tests/xvfb/AutoPlayerPlanner.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

AutoPlayerPlanner::AutoPlayerPlanner(std::vector<PlanTile> tiles, int groupSize)
    : _tiles(std::move(tiles)), _present(_tiles.size(), true), _groupSize(std::max(2, groupSize)),
      _grid(kColumns * kRows * kLayers, -1)
{
    for (size_t t = 0; t < _tiles.size(); ++t) {
        Occupy(static_cast<int>(t), true);
    }
}

int AutoPlayerPlanner::At(int i, int j, int k) const
{
    if (i < 0 || j < 0 || k < 0 || i >= kColumns || j >= kRows || k >= kLayers) {
        return -1;
    }
    return _grid[(k * kRows + j) * kColumns + i];
}

void AutoPlayerPlanner::Occupy(int t, bool on)
{
    const PlanTile& tile = _tiles[t];
    for (int di = 0; di < 2; ++di) {
        for (int dj = 0; dj < 2; ++dj) {
            const int i = tile.i + di, j = tile.j + dj;
            if (i >= 0 && j >= 0 && tile.k >= 0 && i < kColumns && j < kRows && tile.k < kLayers) {
                _grid[(tile.k * kRows + j) * kColumns + i] = on ? t : -1;
            }
        }
    }
}

bool AutoPlayerPlanner::Free(int t) const
{
    const PlanTile& tile = _tiles[t];
    if (!_present[t]) {
        return false;
    }
    for (int di = 0; di < 2; ++di) {
        for (int dj = 0; dj < 2; ++dj) {
            if (At(tile.i + di, tile.j + dj, tile.k + 1) >= 0) {
                return false;
            }
        }
    }
    const bool left = At(tile.i - 1, tile.j, tile.k) < 0 && At(tile.i - 1, tile.j + 1, tile.k) < 0;
    const bool right = At(tile.i + 2, tile.j, tile.k) < 0 && At(tile.i + 2, tile.j + 1, tile.k) < 0;
    return left || right;
}

bool AutoPlayerPlanner::Dead() const
{
    // The last two tiles of a type, one lying on the other, can never both be free.
    std::vector<std::vector<int>> byType(kFirstSpecialType);
    for (size_t t = 0; t < _tiles.size(); ++t) {
        const int type = _tiles[t].type;
        if (_present[t] && type >= 0 && type < kFirstSpecialType) {
            byType[type].push_back(static_cast<int>(t));
        }
    }
    for (const std::vector<int>& left : byType) {
        if (left.size() != 2) {
            continue;
        }
        const PlanTile& a = _tiles[left[0]];
        const PlanTile& b = _tiles[left[1]];
        const PlanTile& low = a.k < b.k ? a : b;
        const PlanTile& high = a.k < b.k ? b : a;
        if (high.k > low.k && std::abs(high.i - low.i) < 2 && std::abs(high.j - low.j) < 2) {
            return true;
        }
    }
    return false;
}

bool AutoPlayerPlanner::Cleared() const
{
    for (size_t t = 0; t < _tiles.size(); ++t) {
        if (_present[t] && _tiles[t].type < kFirstSpecialType) {
            return false;
        }
    }
    return true;
}

uint64_t AutoPlayerPlanner::Hash() const
{
    uint64_t h = 1469598103934665603ull;
    for (size_t t = 0; t < _tiles.size(); ++t) {
        h = (h ^ (_present[t] ? t + 1 : 0)) * 1099511628211ull;
    }
    return h;
}

void AutoPlayerPlanner::Take(const std::vector<int>& group, bool off)
{
    for (int t : group) {
        Occupy(t, !off);
        _present[t] = !off;
    }
}

std::vector<std::vector<int>> AutoPlayerPlanner::Plan(long budget)
{
    _visited = 0;
    for (_attempt = 0; _attempt < kAttempts; ++_attempt) {
        _order.clear();
        _seen.clear();
        _budget = budget / kAttempts;
        const bool found = Search();
        _visited += static_cast<long>(_seen.size());
        if (found) {
            return _order;
        }
    }
    _order.clear();
    return _order;
}

bool AutoPlayerPlanner::Search()
{
    if (Cleared()) {
        return true;
    }
    if (_budget-- <= 0 || !_seen.insert(Hash()).second) {
        return false;
    }
    if (Dead()) {
        return false;
    }
    std::vector<std::vector<int>> groups = Groups(true);
    // The groups that leave the most tiles free first (high tiles among equals: they hold up
    // the most below them); a plan that failed tries again with another order among equals.
    std::vector<std::pair<long, size_t>> ranked;
    for (size_t g = 0; g < groups.size(); ++g) {
        Take(groups[g], true);
        const long freeAfter = FreeTiles();
        Take(groups[g], false);
        int height = 0;
        for (int t : groups[g]) {
            height += _tiles[t].k;
        }
        // Later attempts stray further from the ranking.
        const long noise = _attempt == 0 ? 0 : static_cast<long>(_random() % (_attempt * 40));
        ranked.emplace_back(-(freeAfter * 64 + height * 4 + noise), g);
    }
    std::sort(ranked.begin(), ranked.end());
    std::vector<std::vector<int>> ordered;
    for (const auto& [rank, g] : ranked) {
        ordered.push_back(groups[g]);
    }
    groups.swap(ordered);
    for (const std::vector<int>& group : groups) {
        Take(group, true);
        _order.push_back(group);
        if (Search()) {
            return true;
        }
        _order.pop_back();
        Take(group, false);
    }
    return false;
}

long AutoPlayerPlanner::FreeTiles() const
{
    long free = 0;
    for (size_t t = 0; t < _tiles.size(); ++t) {
        free += Free(static_cast<int>(t)) ? 1 : 0;
    }
    return free;
}

std::vector<std::vector<int>> AutoPlayerPlanner::Groups(bool onlyAllFree) const
{
    std::vector<std::vector<int>> freeByType(kFirstSpecialType);
    std::vector<int> left(kFirstSpecialType, 0);
    for (size_t t = 0; t < _tiles.size(); ++t) {
        const int type = _tiles[t].type;
        if (!_present[t] || type < 0 || type >= kFirstSpecialType) {
            continue;
        }
        ++left[type];
        if (Free(static_cast<int>(t))) {
            freeByType[type].push_back(static_cast<int>(t));
        }
    }
    // The candidate groups: every choice of groupSize free tiles of one type.
    std::vector<std::vector<int>> groups;
    for (int type = 0; type < kFirstSpecialType; ++type) {
        const std::vector<int>& free = freeByType[type];
        const int n = static_cast<int>(free.size());
        if (n < _groupSize) {
            continue;
        }
        if (onlyAllFree && n == left[type] && n % _groupSize == 0) {
            groups.assign(1, std::vector<int>(free.begin(), free.begin() + _groupSize));
            break;
        }
        std::vector<bool> pick(n, false);
        std::fill(pick.begin(), pick.begin() + _groupSize, true);
        do {
            std::vector<int> group;
            for (int m = 0; m < n; ++m) {
                if (pick[m]) {
                    group.push_back(free[m]);
                }
            }
            groups.push_back(std::move(group));
        } while (std::prev_permutation(pick.begin(), pick.end()));
    }
    return groups;
}

std::vector<std::vector<int>> AutoPlayerPlanner::PlanToBlock(long budget)
{
    _order.clear();
    _seen.clear();
    _budget = budget;
    const bool found = SearchBlock();
    _visited = static_cast<long>(_seen.size());
    if (!found) {
        _order.clear();
    }
    return _order;
}

bool AutoPlayerPlanner::SearchBlock()
{
    if (Cleared() || _budget-- <= 0 || !_seen.insert(Hash()).second) {
        return false;
    }
    std::vector<std::vector<int>> groups = Groups(false);
    if (groups.empty()) {
        return true;
    }
    // The groups that leave the fewest choices first: the board closes up soonest.
    std::vector<std::pair<size_t, size_t>> ranked;
    for (size_t g = 0; g < groups.size(); ++g) {
        Take(groups[g], true);
        ranked.emplace_back(Groups(false).size(), g);
        Take(groups[g], false);
    }
    std::sort(ranked.begin(), ranked.end());
    for (const auto& [choices, g] : ranked) {
        Take(groups[g], true);
        _order.push_back(groups[g]);
        if (SearchBlock()) {
            return true;
        }
        _order.pop_back();
        Take(groups[g], false);
    }
    return false;
}
