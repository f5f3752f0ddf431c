#pragma once

#include "tests/xvfb/AutoPlayerPlanner.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

// The automated player's planning with special tiles: which power to use next and on what, so
// that every power kind on the board is used once and the ordinary tiles stay clearable. It works
// on the player's own copy of the grid like the planner, knows by itself what each power does to
// the grid (types changed, tiles taken off, a brick blown away) and asks the planner whether the
// board it would leave can still be cleared. It need not foresee a power's result exactly: the
// player plans again from the real grid after every move.
class AutoPlayerPowers
{
public:
    static constexpr int kBrick = 45;
    static constexpr int kDown = 46;
    static constexpr int kUp = 47;
    static constexpr int kFuse = 48;
    static constexpr int kClone = 49;
    static constexpr int kTyphoon = 50;
    static constexpr int kSwapper = 54;
    static constexpr int kWand = 57;
    static constexpr int kMagnet = 58;
    static constexpr int kDeepMagnet = 59;
    static constexpr int kSuitedTypes = 27;

    // One use of a power: the power tile, then the tiles pressed after it (one target, or the
    // source and target of a clone or a swap), as indices into the tiles planned on.
    struct Move
    {
        int power = -1;
        std::vector<int> targets;
    };

    static bool IsPower(int type);
    static std::string Name(int type);

    AutoPlayerPowers(std::vector<PlanTile> tiles, int groupSize);

    // The power kinds lying on the board.
    std::set<int> Kinds() const;
    // The next use of a power of a kind not in used whose tile is free, on targets pressable()
    // accepts, leaving the board clearable; false when there is none now.
    bool Next(const std::set<int>& used, const std::function<bool(int)>& pressable, Move* move);
    // The board after the move, as the player expects it.
    std::vector<PlanTile> After(const Move& move) const;
    // The first group of a clearing order for the ordinary tiles, taken as the real grid allows
    // (every tile of it free there), with powers and bricks counted as gone; empty when none.
    std::vector<int> NextGroup(long budget) const;

private:
    int At(int i, int j, int k) const;
    bool CoveredAbove(int t) const;
    bool FullyCovered(int t) const;
    bool Free(int t) const;
    bool Clearable(const std::vector<PlanTile>& tiles, long budget) const;
    std::vector<Move> Candidates(int kind, int power,
                                 const std::function<bool(int)>& pressable) const;

    std::vector<PlanTile> _tiles;
    int _groupSize;
    std::vector<int> _grid;
};
