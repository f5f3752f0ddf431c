// Prints where a click takes the two tiles of a free pair of a dealt board, for the end-to-end
// scripts that play the real program with xdotool. Run it in the game's data folder:
//
//   mahjong_free_pair LOOK_FILE PUZZLE_SET BOARD SEED
//
// prints "X1 Y1 X2 Y2" (screen points of the two tiles) and, on a second line, "tiles I,J,K
// I,J,K face F"; ends with code 1 and a reason on stderr when the board has no free pair.
#include "framework/core/ConfigFile.h"
#include "tests/e2e/FreePairFinder.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s LOOK_FILE PUZZLE_SET BOARD SEED\n", argv[0]);
        return 2;
    }
    // The data folder's files are read as the game reads them (a scrambled twin first).
    ConfigFile::TurnEncryption(true);
    const e2e::FreePair pair =
        e2e::FindFreePair(argv[1], argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    if (!pair.found) {
        std::fprintf(stderr, "%s\n", pair.error.c_str());
        return 1;
    }
    std::printf("%d %d %d %d\n", pair.a.x, pair.a.y, pair.b.x, pair.b.y);
    std::printf("tiles %d,%d,%d %d,%d,%d face %d\n", pair.a.i, pair.a.j, pair.a.k, pair.b.i,
                pair.b.j, pair.b.k, pair.a.face);
    std::fflush(stdout);
    return 0;
}
