// Prints one value of a configuration file as the program reads it, scrambled twin included, so
// that a script can check what a program wrote: the value, or "<none>" when the key is missing.
// It logs into "debug.txt" of the folder it runs in: run it away from the program's folder.
// Usage: xvfb_read_config FILE SECTION KEY
#include "framework/core/ConfigFile.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s FILE SECTION KEY\n", argv[0]);
        return 2;
    }
    ConfigFile::TurnEncryption(true);
    std::string value;
    {
        ConfigFile file(argv[1], false, false, true);
        try {
            value = std::string(file.Value(argv[2], argv[3], "", false));
        } catch (const char*) {
            value = "<none>";
        }
    }
    std::printf("%s\n", value.c_str());
    return 0;
}
