#include "mahjong/app/MjInstanceLock.h"

#include "framework/core/LogFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

int g_lockFd = -1;

} // namespace

MjInstanceLock::Result MjInstanceLock::Acquire(const std::string& folder, std::string* message)
{
    std::string shown = folder;
    if (shown.empty()) {
        char here[4096];
        shown = getcwd(here, sizeof here) != nullptr ? std::string(here) : std::string(".");
    }
    const std::string path = folder.empty() ? std::string(kFileName) : folder + "/" + kFileName;
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        *message = "Cannot create " + std::string(kFileName) + " in the folder " + shown + ": " +
                   std::strerror(errno);
        return kCannotCreate;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        close(fd);
        if (error == EWOULDBLOCK) {
            *message = "Another copy of the game is already running in " + shown;
            return kHeldElsewhere;
        }
        *message = "Cannot lock " + path + ": " + std::strerror(error);
        return kCannotCreate;
    }
    // Truncated only once held, so a running copy's file is never touched.
    if (ftruncate(fd, 0) != 0) {
        // An empty marker is not needed for the lock to hold; go on.
    }
    Release();
    g_lockFd = fd;
    return kAcquired;
}

void MjInstanceLock::Release()
{
    if (g_lockFd >= 0) {
        close(g_lockFd);
        g_lockFd = -1;
    }
}

void MjInstanceLock::Refuse(const std::string& folder, const std::string& message)
{
    std::fprintf(stderr, "%s\n", message.c_str());
    std::fflush(stderr);
    // Appended: the log may be the running copy's, open for appending too.
    LogFile log(folder.empty() ? std::string(kLogName) : folder + "/" + kLogName, true);
    if (log.IsOpen()) {
        log.ErrLine(message);
    }
}
