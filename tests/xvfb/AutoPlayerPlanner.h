#pragma once

#include <cstdint>
#include <random>
#include <unordered_set>
#include <vector>

// The automated player's planner: a clearing order for a board, worked out on its own copy of
// the grid. It knows the game's rules by itself (a tile is free with nothing on any of its four
// quarters and one long side open; tiles of one type match in groups of the board's match size)
// and shares no code with the grid or the deal, so a board it cannot clear points at either.
struct PlanTile
{
    int i;
    int j;
    int k;
    int type;
};

class AutoPlayerPlanner
{
public:
    // Tiles of these types and above are powers and special tiles: the planner leaves them
    // lying, as a board with nothing ordinary left is cleared.
    static constexpr int kFirstSpecialType = 42;

    AutoPlayerPlanner(std::vector<PlanTile> tiles, int groupSize);

    // Groups of tile numbers (indices into the tiles given) that clear every ordinary tile in
    // this order; empty when none was found within budget positions (or nothing is left).
    std::vector<std::vector<int>> Plan(long budget);
    // Groups that, played in this order, leave ordinary tiles on the board with no group of
    // them free to match: a board blocked by its player's own choices. Empty when none was found
    // within budget positions.
    std::vector<std::vector<int>> PlanToBlock(long budget);
    // Positions the last Plan or PlanToBlock looked at.
    long Visited() const { return _visited; }

private:
    static constexpr int kColumns = 46;
    static constexpr int kRows = 26;
    static constexpr int kLayers = 26;
    // Searches with different orders among equally good groups, each with its share of the
    // budget.
    static constexpr int kAttempts = 8;

    int At(int i, int j, int k) const;
    void Occupy(int t, bool on);
    bool Free(int t) const;
    bool Dead() const;
    bool Cleared() const;
    uint64_t Hash() const;
    void Take(const std::vector<int>& group, bool off);
    bool Search();
    bool SearchBlock();
    // Every choice of groupSize free tiles of one type. With onlyAllFree, a type whose tiles
    // are all free and that goes off whole is the only choice given (keeping it helps nothing).
    std::vector<std::vector<int>> Groups(bool onlyAllFree) const;
    long FreeTiles() const;

    std::vector<PlanTile> _tiles;
    std::vector<bool> _present;
    int _groupSize;
    std::vector<int> _grid; // tile number per quarter cell, -1 where empty
    std::vector<std::vector<int>> _order;
    std::unordered_set<uint64_t> _seen;
    long _budget = 0;
    long _visited = 0;
    int _attempt = 0;
    std::minstd_rand _random{7};
};
