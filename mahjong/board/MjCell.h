#pragma once

#include <cstdint>

class MjGridTile;

// One quarter-tile cell of the grid.
struct MjCell
{
    static constexpr int kEmpty = 0;
    static constexpr int kOrigin = 1;  // the origin quarter of a tile
    static constexpr int kCovered = 2; // a quarter of a tile whose origin is a neighbour
    static constexpr int kNoFace = -1;
    static constexpr int kRowToDeal = -2;      // faceRow of a position whose tile the deal chooses
    static constexpr int kRowSpecialCell = -3; // faceRow of a special cell of the layout
    static constexpr int kGathered = 99;       // dealMark of a tile gathered by AnimateAll

    int32_t state = kEmpty;
    int32_t order = 0; // place in the layout file, counted backwards
    int32_t faceCol = kNoFace;
    int32_t faceRow = kNoFace;
    int32_t dealMark = 0;
    int32_t pickWeight = 0;
    int32_t shaded = 0;
    int32_t specialKind = 0;
    MjGridTile* tile = nullptr; // not owned: the sprite lives on the stage
};
