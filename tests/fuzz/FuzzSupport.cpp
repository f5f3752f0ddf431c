#include "tests/fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

// A copy of the standard error taken at start, before libFuzzer's -close_fd_mask closes it
// for the target's own output: a failed check is still reported.
int ReportFd()
{
    static const int fd = dup(2);
    return fd;
}
[[maybe_unused]] const int kReportFdTakenAtStart = ReportFd();

} // namespace

namespace fuzzsupport {

void Check(bool ok, const char* what)
{
    if (!ok) {
        dprintf(ReportFd() >= 0 ? ReportFd() : 2, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

void Put(const std::string& path, const uint8_t* data, size_t size)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    Check(file != nullptr, "cannot write the input file");
    if (size > 0) {
        Check(std::fwrite(data, size, 1, file) == 1, "cannot write the input file");
    }
    std::fclose(file);
}

void EnterScratchFolder(const char* prefix, const char* dataDir)
{
    std::string inMemory = std::string("/dev/shm/") + prefix + ".XXXXXX";
    std::string onDisk = std::string("/tmp/") + prefix + ".XXXXXX";
    const char* dir = mkdtemp(&inMemory[0]);
    if (dir == nullptr) {
        dir = mkdtemp(&onDisk[0]);
    }
    if (dir == nullptr) {
        std::perror("fuzz folder");
        std::exit(1);
    }
    static std::string folder;
    folder = dir;
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    });
    if (dataDir != nullptr) {
        std::error_code error;
        std::filesystem::copy(dataDir, folder, std::filesystem::copy_options::recursive, error);
        if (error) {
            std::fprintf(stderr, "cannot copy %s: %s\n", dataDir, error.message().c_str());
            std::exit(1);
        }
    }
    if (chdir(folder.c_str()) != 0) {
        std::perror("fuzz folder");
        std::exit(1);
    }
}

} // namespace fuzzsupport
