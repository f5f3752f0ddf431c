// Test entry: headless SDL drivers and a private scratch folder as the working folder, so
// tests that run in parallel never share "debug.txt" or any other file. Each test works in a
// folder of its own below it, so that tests run one after another in one process (the test
// program run by hand) find no file an earlier test left.
#include "framework/core/Debug.h"
#include "tests/support/TestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <utility>

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

namespace {

// Moves each test into a new folder below the program's scratch folder; the log the test
// wrote is closed with it, so that the next test's log starts in its own folder.
class FolderPerTest final : public ::testing::EmptyTestEventListener
{
public:
    explicit FolderPerTest(std::string root) : _root(std::move(root)) {}

    void OnTestStart(const ::testing::TestInfo&) override
    {
        const std::string dir = _root + "/" + std::to_string(++_count);
        std::error_code failed;
        std::filesystem::create_directory(dir, failed);
        if (failed || chdir(dir.c_str()) != 0) {
            std::perror("test folder");
            std::exit(2);
        }
        ScratchStorage() = dir;
    }

    void OnTestEnd(const ::testing::TestInfo&) override
    {
        Debug::CloseDebugFile();
        if (chdir(_root.c_str()) != 0) {
            std::perror("scratch folder");
            std::exit(2);
        }
        ScratchStorage() = _root;
    }

private:
    std::string _root;
    int _count = 0;
};

} // namespace

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
    const std::string root = dir;
    ::testing::UnitTest::GetInstance()->listeners().Append(new testsupport::FolderPerTest(root));
    const int result = RUN_ALL_TESTS();
    std::fflush(stdout);

    if (std::getenv("FRAMEWORK_KEEP_SCRATCH") == nullptr) {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    } else {
        // Kept for a look at what the test left, its "debug.txt" first.
        std::fprintf(stderr, "scratch folder kept: %s\n", root.c_str());
    }
    return result;
}
