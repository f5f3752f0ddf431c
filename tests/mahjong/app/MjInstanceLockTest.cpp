#include "mahjong/app/MjInstanceLock.h"

#include "tests/support/TestSupport.h"

#include <fcntl.h>
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

// Starts as the program does in a child process, its stderr going to errFile: the exit code of
// a refused start, 0 when the lock was taken.
int StartInChild(const std::string& folder, const std::string& errFile)
{
    const pid_t pid = fork();
    if (pid == 0) {
        const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (err < 0 || dup2(err, 2) < 0) {
            _exit(99);
        }
        std::string message;
        const MjInstanceLock::Result lock = MjInstanceLock::Acquire(folder, &message);
        if (lock != MjInstanceLock::kAcquired) {
            MjInstanceLock::Refuse(folder, message);
        }
        _exit(MjInstanceLock::ExitCode(lock));
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
    EXPECT_NE(MjInstanceLock::ExitCode(MjInstanceLock::kHeldElsewhere), 0);

    // The refused attempt left the first holder's lock in place; once it is gone, a copy starts.
    EXPECT_EQ(AcquireInChild(folder), MjInstanceLock::kHeldElsewhere);
    MjInstanceLock::Release();
    EXPECT_EQ(AcquireInChild(folder), MjInstanceLock::kAcquired);
}

// The refused copy fails, and says why on stderr and at the end of the running copy's log, which
// keeps every line it had.
TEST_F(LockFolder, RefusedCopyFailsAndSaysWhyInTheRunningCopysLog)
{
    std::string message;
    ASSERT_EQ(MjInstanceLock::Acquire(folder, &message), MjInstanceLock::kAcquired) << message;
    const std::string log = folder + "/debug.txt";
    const std::string running = "         0: the running copy's line\r\n";
    ASSERT_TRUE(testsupport::WriteFile(log, running));

    EXPECT_NE(StartInChild(folder, "second.err"), 0);
    const std::string said = testsupport::ReadFile("second.err");
    EXPECT_NE(said.find("Another copy of the game is already running in " + folder + "\n"),
              std::string::npos)
        << said;
    const std::string logged = testsupport::ReadFile(log);
    ASSERT_EQ(logged.compare(0, running.size(), running), 0) << logged;
    const std::string added = logged.substr(running.size());
    EXPECT_NE(added.find("Another copy of the game is already running in " + folder + "\r\n"),
              std::string::npos)
        << added;
    EXPECT_NE(added.find("***ERROR***"), std::string::npos) << "logged as an error: " << added;

    // Once the first copy has ended, the next one starts.
    MjInstanceLock::Release();
    EXPECT_EQ(StartInChild(folder, "third.err"), 0);
    EXPECT_EQ(testsupport::ReadFile("third.err"), "");
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
