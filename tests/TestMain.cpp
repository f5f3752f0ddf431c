// Test entry: headless SDL drivers and a private scratch folder as the working folder, so
// tests that run in parallel never share "debug.txt" or any other file.
#include "tests/support/TestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace testsupport {

namespace {
std::string& ScratchStorage()
{
    static std::string dir;
    return dir;
}
} // namespace

const std::string& ScratchDir()
{
    return ScratchStorage();
}

} // namespace testsupport

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    char pattern[] = "/tmp/fwtest.XXXXXX";
    const char* dir = mkdtemp(pattern);
    if (dir == nullptr || chdir(dir) != 0) {
        std::perror("scratch folder");
        return 2;
    }
    testsupport::ScratchStorage() = dir;

    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::fflush(stdout);

    if (std::getenv("FRAMEWORK_KEEP_SCRATCH") == nullptr) {
        std::error_code ignored;
        std::filesystem::remove_all(testsupport::ScratchStorage(), ignored);
    } else {
        // Kept for a look at what the test left, its "debug.txt" first.
        std::fprintf(stderr, "scratch folder kept: %s\n", testsupport::ScratchStorage().c_str());
    }
    return result;
}
