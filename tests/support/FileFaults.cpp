#include "tests/support/FileFaults.h"

#include "framework/core/Debug.h"
#include "tests/support/TestSupport.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace testsupport {

namespace {

std::function<void(const std::string&, bool)>& SyncObserver()
{
    static std::function<void(const std::string&, bool)> observer;
    return observer;
}

struct SyncFault
{
    std::string name;
    int error = 0;
};

SyncFault& TheSyncFault()
{
    static SyncFault fault;
    return fault;
}

constexpr uid_t kNobody = 65534;

} // namespace

void OnSync(std::function<void(const std::string& path, bool folder)> observer)
{
    SyncObserver() = std::move(observer);
}

void FailSync(const std::string& name, int error)
{
    TheSyncFault() = SyncFault{name, error};
}

std::string RunWithoutRootRights(const std::function<std::string()>& what)
{
    if (geteuid() != 0) {
        return what();
    }
    // The user must reach the test's folder and may write in it, as a player may in theirs.
    const std::filesystem::path folder = std::filesystem::current_path();
    EXPECT_EQ(chmod(folder.parent_path().c_str(), 0711), 0);
    EXPECT_EQ(chmod(folder.c_str(), 0777), 0);
    // Nothing buffered may be written twice, once by each process.
    Debug::DebugFlush();
    std::fflush(nullptr);
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        ADD_FAILURE() << "no pipe";
        return std::string();
    }
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        int code = 3;
        if (setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0) {
            const std::string said = what();
            Debug::DebugFlush();
            code = write(pipeEnds[1], said.data(), said.size()) == static_cast<ssize_t>(said.size())
                       ? 0
                       : 4;
        }
        _exit(code);
    }
    close(pipeEnds[1]);
    std::string said;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0) {
        said.append(buffer, static_cast<size_t>(got));
    }
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
    return said;
}

void MakeUnreadable(const std::string& path, const std::string& how, const std::string& bytes)
{
    if (how == "folder") {
        ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
        return;
    }
    ASSERT_TRUE(WriteFile(path, bytes));
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
}

} // namespace testsupport

// Every fsync of the program comes here first (the library calls it through the program's
// symbol), then goes to the system.
extern "C" int fsync(int fd)
{
    const auto& observer = testsupport::SyncObserver();
    const testsupport::SyncFault& fault = testsupport::TheSyncFault();
    if (observer || fault.error != 0) {
        char link[64];
        std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
        std::error_code failed;
        const std::filesystem::path target = std::filesystem::read_symlink(link, failed);
        struct stat st;
        const bool folder = fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
        if (observer) {
            observer(failed ? std::string() : target.string(), folder);
        }
        if (fault.error != 0 && !failed && target.filename() == fault.name) {
            errno = fault.error;
            return -1;
        }
    }
    return static_cast<int>(syscall(SYS_fsync, fd));
}
