#pragma once

#include <string>

// Finds a free pair of a board as the game deals it, from the game's own files and rules: the
// look file gives the board's geometry, the puzzle set the board's layout and rules, the seed the
// deal. Run in the game's data folder (the files' paths are relative to it).
namespace e2e {

struct FreePairTile
{
    int i = 0;
    int j = 0;
    int k = 0;
    int face = 0;
    // The middle of the tile's body on the screen, where a click takes it.
    int x = 0;
    int y = 0;
};

struct FreePair
{
    bool found = false;
    std::string error; // why nothing was found
    FreePairTile a;
    FreePairTile b;
};

// The first two free tiles of one ordinary face, in grid order (left to right, top to bottom,
// then upwards).
FreePair FindFreePair(const std::string& lookFile, const std::string& puzzleSetFile, int board,
                      int seed);

} // namespace e2e
