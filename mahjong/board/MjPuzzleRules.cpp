#include "mahjong/board/MjPuzzleRules.h"

#include "framework/core/ConfigFile.h"
#include "framework/core/MultiType.h"

#include <climits>
#include <cmath>
#include <cstdio>

std::string MjPuzzleRules::SectionName(int puzzle)
{
    char name[32];
    std::snprintf(name, sizeof(name), "puzzle%d", puzzle);
    return name;
}

std::string MjPuzzleRules::SeedKey(int gameType, int puzzle)
{
    char key[40];
    std::snprintf(key, sizeof(key), "t%dp%d", gameType, puzzle);
    return key;
}

int MjPuzzleRules::ReadInt(ConfigFile& file, const std::string& section, const std::string& key,
                           int defaultValue)
{
    const double value = file.Value(section, key, static_cast<double>(defaultValue), true);
    if (std::isnan(value)) {
        return defaultValue;
    }
    const double whole = std::trunc(value);
    if (whole >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    if (whole <= static_cast<double>(INT_MIN)) {
        return INT_MIN;
    }
    return static_cast<int>(whole);
}

void MjPuzzleRules::ReadDescription(ConfigFile& puzzles, int puzzle, int defaultTileSet, bool quest,
                                    ConfigFile* progress, int gameType)
{
    const std::string section = SectionName(puzzle);
    layout = static_cast<std::string>(puzzles.Value(section, "layout", "puzzles/test.cfg", true));
    undos = ReadInt(puzzles, section, "undos", 1);
    tileSet = ReadInt(puzzles, section, "tileset", defaultTileSet);
    difficulty = ReadInt(puzzles, section, "difficulty", 9);
    matchSize = ReadInt(puzzles, section, "matches", 2);
    time = ReadInt(puzzles, section, "time", 2000);
    speed = ReadInt(puzzles, section, "speed", 1);
    doubleLayers = ReadInt(puzzles, section, "double", 0);
    triple = ReadInt(puzzles, section, "triple", 0);
    skipBrick = ReadInt(puzzles, section, "skipbrick", 0);
    half = ReadInt(puzzles, section, "half", 0);
    justTwo = ReadInt(puzzles, section, "justTwo", 0);
    useVortex = ReadInt(puzzles, section, "usevortex", 1);
    numbers = ReadInt(puzzles, section, "numbers", 0);
    harder = ReadInt(puzzles, section, "harder", 0);
    easy = ReadInt(puzzles, section, "easy", 0);
    fixedSeed = ReadInt(puzzles, section, "seedMeFeeMore", 0);
    if (easy == 1) {
        difficulty = 1;
        easy = 0;
    }
    if (quest && fixedSeed == 0) {
        fixedSeed = 1;
    }
    if (progress != nullptr) {
        fixedSeed = ReadInt(*progress, "seed", SeedKey(gameType, puzzle), fixedSeed);
    }
    matchSize = ReadInt(puzzles, section, "matches", triple != 0 ? 3 : 2);
}

void MjPuzzleRules::ReadSolvable(ConfigFile& puzzles, int puzzle)
{
    solvable = ReadInt(puzzles, SectionName(puzzle), "solvable", 1);
}
