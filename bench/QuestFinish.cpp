// Prints how the latency bench wins a quest board from outside: run it in the game's data folder,
//
//   mahjong_quest_finish LOOK_FILE PUZZLE_SET BOARD SEED
//
// prints one line "match X1 Y1 X2 Y2" per ordinary pair to click (screen points, in order) until
// both Yin-Yang tiles are free, then "yinyang X1 Y1 X2 Y2" and "sweep N" (the steps of the sweep
// that gathers what is left at the finish); ends with code 1 and a reason on stderr when it finds
// no way.
#include "framework/core/ConfigFile.h"
#include "tests/e2e/FreePairFinder.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Positions looked at before giving up: the quest's boards need a few hundred.
constexpr long kBudget = 200000;

void PrintPair(const char* what, const e2e::FreePair& pair)
{
    std::printf("%s %d %d %d %d\n", what, pair.a.x, pair.a.y, pair.b.x, pair.b.y);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s LOOK_FILE PUZZLE_SET BOARD SEED\n", argv[0]);
        return 2;
    }
    // The data folder's files are read as the game reads them (a scrambled twin first).
    ConfigFile::TurnEncryption(true);
    const e2e::QuestFinish finish =
        e2e::PlanQuestFinish(argv[1], argv[2], std::atoi(argv[3]), std::atoi(argv[4]), kBudget);
    if (!finish.found) {
        std::fprintf(stderr, "%s\n", finish.error.c_str());
        return 1;
    }
    for (const e2e::FreePair& pair : finish.matches) {
        PrintPair("match", pair);
    }
    PrintPair("yinyang", finish.yinYang);
    std::printf("sweep %d\n", finish.sweepSteps);
    std::fflush(stdout);
    return 0;
}
