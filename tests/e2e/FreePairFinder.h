#pragma once

#include <string>
#include <vector>

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

// The way to a quest board's Yin-Yang finish: ordinary pairs to match, in order, until both
// Yin-Yang tiles are free, then the Yin-Yang pair itself.
struct QuestFinish
{
    bool found = false;
    std::string error;
    std::vector<FreePair> matches;
    FreePair yinYang;
    // The steps of the sweep that gathers the tiles left beside the Yin-Yang pair (each the
    // game's sweep step apart), by the game's rule on what the matches leave.
    int sweepSteps = 0;
};

// The first two free tiles of one ordinary face, in grid order (left to right, top to bottom,
// then upwards).
FreePair FindFreePair(const std::string& lookFile, const std::string& puzzleSetFile, int board,
                      int seed);

// A short way (few matches, looked for within budget positions) to free both Yin-Yang tiles of
// the board.
QuestFinish PlanQuestFinish(const std::string& lookFile, const std::string& puzzleSetFile,
                            int board, int seed, long budget);

} // namespace e2e
