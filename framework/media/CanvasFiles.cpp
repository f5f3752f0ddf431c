// Canvas: image files, the plain file and its scrambled copy (the name with "e" appended).
#include "SDL_image.h"
#include "framework/core/File.h"
#include "framework/core/StringUtils.h"
#include "framework/media/Canvas.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Every byte of a scrambled image is XORed with this one byte.
constexpr unsigned char kScrambleKey = 0xA5;

// The image type for SDL_image: the text after the last "." of the file's own name, empty when
// the name has none.
std::string TypeOf(const std::string& name)
{
    const size_t slash = name.find_last_of('/');
    const size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return std::string();
    }
    return name.substr(dot + 1);
}

// Reads a whole file; false when it cannot be opened or read completely.
bool ReadWhole(const std::string& name, std::vector<unsigned char>& bytes, bool& opened)
{
    opened = false;
    // Only a regular file is a scrambled image (a folder of that name opens too).
    struct stat st;
    if (stat(name.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return false;
    }
    FILE* in = std::fopen(name.c_str(), "rb");
    if (in == nullptr) {
        return false;
    }
    opened = true;
    bool ok = std::fseek(in, 0, SEEK_END) == 0;
    const long length = ok ? std::ftell(in) : -1;
    ok = ok && length >= 0 && std::fseek(in, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(static_cast<size_t>(length));
        ok = std::fread(bytes.data(), 1, bytes.size(), in) == bytes.size();
        // A file that grew since it was measured is not taken half-read.
        ok = ok && std::fgetc(in) == EOF && !std::ferror(in);
    }
    std::fclose(in);
    return ok;
}

SDL_Surface* DecodeBytes(std::vector<unsigned char>& bytes, const std::string& plainName)
{
    if (bytes.empty()) {
        return nullptr;
    }
    SDL_RWops* rw = SDL_RWFromMem(bytes.data(), static_cast<int>(bytes.size()));
    if (rw == nullptr) {
        return nullptr;
    }
    std::string type = TypeOf(plainName);
    SDL_Surface* s = IMG_LoadTyped_RW(rw, 0, type.empty() ? nullptr : &type[0]);
    if (s == nullptr && !type.empty()) {
        // A file whose ending does not tell its kind is recognised by its content.
        SDL_RWseek(rw, 0, RW_SEEK_SET);
        s = IMG_Load_RW(rw, 0);
    }
    SDL_RWclose(rw);
    return s;
}

} // namespace

bool Canvas::ScrambleImageFile(const std::string& plainFile, const std::string& scrambledFile)
{
    FILE* in = std::fopen(plainFile.c_str(), "rb");
    if (in == nullptr) {
        return false;
    }
    // Written under a private name and renamed at the end, so a reader never sees half a copy
    // and two loading threads never write into the same file.
    const std::string partial =
        scrambledFile + ".part" + std::to_string(getpid()) + "-" + std::to_string(SDL_ThreadID());
    FILE* out = std::fopen(partial.c_str(), "wb");
    if (out == nullptr) {
        std::fclose(in);
        return false;
    }
    unsigned char buffer[16384];
    bool ok = true;
    size_t n;
    while (ok && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        for (size_t i = 0; i < n; ++i) {
            buffer[i] ^= kScrambleKey;
        }
        ok = std::fwrite(buffer, 1, n, out) == n;
    }
    ok = ok && !std::ferror(in);
    std::fclose(in);
    // On the disk before the rename, and the rename with its folder: a crash leaves the old
    // name or the whole copy, never an empty one.
    ok = ok && std::fflush(out) == 0 && ::fsync(fileno(out)) == 0;
    ok = (std::fclose(out) == 0) && ok;
    ok = ok && std::rename(partial.c_str(), scrambledFile.c_str()) == 0;
    if (!ok) {
        std::remove(partial.c_str());
        return false;
    }
    File::SyncFolderOf(scrambledFile);
    return true;
}

SDL_Surface* Canvas::LoadImgToSurface(std::string name)
{
    const std::string plain = StringUtils::Trim(name);
    const std::string scrambled = plain + "e";

    std::vector<unsigned char> bytes;
    bool opened = false;
    const bool read = ReadWhole(scrambled, bytes, opened);
    if (opened) {
        if (!read) {
            Debug("Canvas").DebugVar(-1, "Memory buffer too small %s", plain.c_str());
            return nullptr;
        }
        for (unsigned char& b : bytes) {
            b ^= kScrambleKey;
        }
        return DecodeBytes(bytes, plain);
    }

    FILE* in = std::fopen(plain.c_str(), "rb");
    if (in == nullptr) {
        Debug log("Canvas");
        log.DebugVar(-1, "Can't open real image file %s", plain.c_str());
        Debug::DebugFlush();
        return nullptr;
    }
    std::fclose(in);
    if (!ScrambleImageFile(plain, scrambled)) {
        // A read-only folder keeps no copy; the plain file still serves.
        Debug("Canvas").DebugVar(-1, "Can't open encrypted image file %s", plain.c_str());
    }
    return IMG_Load(plain.c_str());
}

SDL_Surface* Canvas::LoadImgCompatibleToSurface(std::string name, SDL_PixelFormat* format)
{
    SDL_Surface* loaded = LoadImgToSurface(name);
    if (loaded == nullptr) {
        Debug("Canvas").DebugVar(-1, "Surface is null!! %s", name.c_str());
        return nullptr;
    }
    if (IsPerPixelMarker(format)) {
        return loaded;
    }
    return ConvertSurface(loaded, format);
}

Canvas* Canvas::LoadImg(std::string name)
{
    SDL_Surface* s = IMG_Load(StringUtils::Trim(name).c_str());
    return s != nullptr ? new Canvas(s) : nullptr;
}

Canvas* Canvas::LoadImgCompatible(std::string name, SDL_PixelFormat* format)
{
    SDL_Surface* s = LoadImgCompatibleToSurface(name, format);
    return s != nullptr ? new Canvas(s) : nullptr;
}
