#include "mahjong/app/MjInstanceLock.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Acquire in a child process, which then ends; its result as the child's exit status.
int AcquireInChild(const std::string& folder)
{
    const pid_t pid = fork();
    if (pid == 0) {
        std::string message;
        _exit(static_cast<int>(MjInstanceLock::Acquire(folder, &message)));
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct LockFolder : ::testing::Test
{
    void SetUp() override { mkdir(folder.c_str(), 0755); }
    void TearDown() override { MjInstanceLock::Release(); }
    std::string folder = "lockdir";
};

} // namespace

TEST_F(LockFolder, SecondCopyIsRefusedWhileTheFirstHoldsTheLock)
{
    std::string message;
    ASSERT_EQ(MjInstanceLock::Acquire(folder, &message), MjInstanceLock::kAcquired) << message;
    EXPECT_EQ(AcquireInChild(folder), MjInstanceLock::kHeldElsewhere);
    // A second open in the same process is a second holder too.
    std::string refused;
    EXPECT_EQ(MjInstanceLock::Acquire(folder, &refused), MjInstanceLock::kHeldElsewhere);
    EXPECT_NE(refused.find("already running"), std::string::npos) << refused;
    EXPECT_EQ(MjInstanceLock::ExitCode(MjInstanceLock::kHeldElsewhere), 0);

    // The refused attempt left the first holder's lock in place; once it is gone, a copy starts.
    EXPECT_EQ(AcquireInChild(folder), MjInstanceLock::kHeldElsewhere);
    MjInstanceLock::Release();
    EXPECT_EQ(AcquireInChild(folder), MjInstanceLock::kAcquired);
}

TEST_F(LockFolder, LeftoverMarkerIsReusedAndEmptied)
{
    std::ofstream(folder + "/exist.yes") << "left over by a crash";
    std::string message;
    ASSERT_EQ(MjInstanceLock::Acquire(folder, &message), MjInstanceLock::kAcquired) << message;
    struct stat info
    {
    };
    ASSERT_EQ(stat((folder + "/exist.yes").c_str(), &info), 0);
    EXPECT_EQ(info.st_size, 0);
}

TEST_F(LockFolder, FolderThatCannotTakeTheFileIsAFailure)
{
    std::string message;
    EXPECT_EQ(MjInstanceLock::Acquire("no/such/folder", &message), MjInstanceLock::kCannotCreate);
    EXPECT_NE(message.find("no/such/folder"), std::string::npos) << message;
    EXPECT_EQ(MjInstanceLock::ExitCode(MjInstanceLock::kCannotCreate), 1);

    // A marker that is a folder cannot be opened for writing either.
    mkdir((folder + "/exist.yes").c_str(), 0755);
    EXPECT_EQ(MjInstanceLock::Acquire(folder, &message), MjInstanceLock::kCannotCreate);
}
