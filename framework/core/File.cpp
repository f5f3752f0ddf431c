#include "framework/core/File.h"

#include "SDL.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The C runtime the mode texts were written for read "rw" as read-and-write and "wa" as
// write-at-end; glibc would take both as their first letter alone. Binary is always added.
std::string StdioMode(const std::string& mode)
{
    if (mode.empty()) {
        return mode;
    }
    const bool plus = mode.find('+') != std::string::npos;
    const char base = mode[0];
    if (base == 'r' && mode.find('w') != std::string::npos) {
        return "r+b";
    }
    if (base == 'w' && mode.find('a') != std::string::npos) {
        return plus ? "a+b" : "ab";
    }
    if (base != 'r' && base != 'w' && base != 'a') {
        return mode; // let the runtime refuse it
    }
    std::string result(1, base);
    if (plus) {
        result += '+';
    }
    result += 'b';
    return result;
}

} // namespace

File::File(const std::string& name) : _name(name) {}

File::~File()
{
    if (_stream != nullptr) {
        SDL_RWclose(_stream);
        _stream = nullptr;
    }
}

bool File::Open(const std::string& mode)
{
    const std::string stdioMode = StdioMode(mode);
    _stream = SDL_RWFromFile(_name.c_str(), stdioMode.c_str());
    _state = _stream != nullptr ? kOpen : kOpenFailed;
    const std::string::size_type dot = _name.rfind('.');
    _extension = dot == std::string::npos ? nullptr : _name.c_str() + dot + 1;
    return _state == kOpen;
}

bool File::OpenR()
{
    return Open("r");
}

bool File::OpenW()
{
    return Open("w");
}

bool File::OpenA()
{
    return Open("a");
}

bool File::OpenRW()
{
    return Open("rw");
}

bool File::OpenWA()
{
    return Open("wa");
}

int File::Read(char* buffer, int size)
{
    if (_stream == nullptr || buffer == nullptr || size <= 0) {
        return 0;
    }
    const int blocks = SDL_RWread(_stream, buffer, size, 1);
    return blocks == 1 ? 1 : 0;
}

int File::Write(const std::string& text, int count)
{
    if (_stream == nullptr || text.empty()) {
        return 0;
    }
    const int length = static_cast<int>(text.size());
    const int n = (count < 1 || count >= length) ? length : count;
    const int blocks = SDL_RWwrite(_stream, text.data(), n, 1);
    return blocks == 1 ? 1 : 0;
}

int File::Seek(int offset, int whence)
{
    if (_stream == nullptr) {
        return -1;
    }
    if (SDL_RWseek(_stream, 0, RW_SEEK_CUR) < 0) {
        return -2;
    }
    const int position = SDL_RWseek(_stream, offset, whence);
    return position < 0 ? -1 : position;
}

int File::Tell()
{
    if (_stream == nullptr) {
        return -1;
    }
    return SDL_RWseek(_stream, 0, RW_SEEK_CUR);
}

void File::Close()
{
    if (_stream == nullptr) {
        return;
    }
    SDL_RWclose(_stream);
    _stream = nullptr;
    _state = kClosed;
}

void File::Flush()
{
    Close();
    OpenA();
}

int File::Delete(const char* path)
{
    if (path == nullptr) {
        return -1;
    }
    if (std::remove(path) == 0 || errno == ENOENT) {
        return 0;
    }
    return -1;
}

bool File::Exists(const std::string& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 || errno != ENOENT;
}

bool File::IsEmptyTwinOf(const std::string& twin, const std::string& plain)
{
    struct stat t;
    struct stat p;
    return ::stat(twin.c_str(), &t) == 0 && S_ISREG(t.st_mode) && t.st_size == 0 &&
           ::stat(plain.c_str(), &p) == 0 && S_ISREG(p.st_mode) && p.st_size > 0;
}

bool File::SyncFolderOf(const std::string& path)
{
    const std::string::size_type slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}
