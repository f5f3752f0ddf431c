#pragma once

#include <string>

class ConfigFile;

// The keys of one puzzle description (section "puzzle%d" of the puzzle-set file) that set up and
// deal a board, with their defaults, and the seed rules.
struct MjPuzzleRules
{
    std::string layout = "puzzles/test.cfg";
    int undos = 1;
    int tileSet = 0;
    int difficulty = 9;
    int matchSize = 2;
    int time = 2000;
    int speed = 1;
    int doubleLayers = 0;
    int triple = 0;
    int skipBrick = 0;
    int half = 0;
    int justTwo = 0;
    int useVortex = 1;
    int numbers = 0;
    int harder = 0;
    int easy = 0;
    int fixedSeed = 0; // "seedMeFeeMore", replaced by the player's stored seed
    int solvable = 1;

    // Reads every key of section "puzzle<puzzle>" of puzzles in the order the set-up reads them,
    // then the player's stored seed: section "seed", key "t<gameType>p<puzzle>" of progress
    // (may be null). In the quest a fixed seed of 0 becomes 1.
    void ReadDescription(ConfigFile& puzzles, int puzzle, int defaultTileSet, bool quest,
                         ConfigFile* progress, int gameType);
    // "solvable" alone, read for every board, also one given by layout name.
    void ReadSolvable(ConfigFile& puzzles, int puzzle);

    static std::string SectionName(int puzzle);
    static std::string SeedKey(int gameType, int puzzle);
    // A configuration number as the game reads it: truncated toward zero, held within int.
    static int ReadInt(ConfigFile& file, const std::string& section, const std::string& key,
                       int defaultValue);
};
