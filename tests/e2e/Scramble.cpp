// Makes the scrambled twin ("FILE" + "e") of a plain configuration file the way the program does
// when it first reads one, so that a script can prepare player files as the game leaves them.
// It logs into "debug.txt" of the folder it runs in: run it away from the program's folder.
// Usage: e2e_scramble FILE
#include "framework/core/ConfigFile.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    const std::string twin = std::string(argv[1]) + "e";
    std::remove(twin.c_str());
    ConfigFile::TurnEncryption(true);
    {
        ConfigFile file(argv[1], false, false, false);
    }
    struct stat made;
    if (::stat(twin.c_str(), &made) != 0 || made.st_size == 0) {
        std::fprintf(stderr, "no scrambled twin made of %s\n", argv[1]);
        return 1;
    }
    return 0;
}
