// Canvas: image files, the plain file and its scrambled copy (the name with "e" appended).
#include "SDL_image.h"
#include "framework/core/File.h"
#include "framework/core/StringUtils.h"
#include "framework/media/Canvas.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Every byte of a scrambled image is XORed with this one byte.
constexpr unsigned char kScrambleKey = 0xA5;

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

// Pictures larger than this on either side are refused: the game's largest is far smaller, and a
// picture of this size already costs 64 MB once decoded.
constexpr uint32_t kMostSide = 4096;
// The game's GIFs are small icons and strips; SDL_image's GIF reader works pixel by pixel, and a
// few hundred bytes declaring a large GIF keep it busy for seconds.
constexpr uint32_t kMostGifSide = 1024;
// What one byte of coded data can become at most: deflate makes about 1032 bytes of one; a
// 12-bit LZW code stands for at most 4096 pixels; a JPEG block of 64 pixels takes at least two
// bits per colour.
constexpr uint64_t kMostDeflateRatio = 1032;
constexpr uint64_t kMostLzwPixelsPerByte = 4096;
constexpr uint64_t kMostJpegPixelsPerByte = 256;
constexpr unsigned kMostGifCodeBits = 12;

uint32_t BigEndian32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
           static_cast<uint32_t>(p[2]) << 8 | p[3];
}

uint32_t BigEndian16(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) << 8 | p[1];
}

uint32_t LittleEndian16(const unsigned char* p)
{
    return static_cast<uint32_t>(p[1]) << 8 | p[0];
}

bool TooLarge(uint32_t width, uint32_t height, uint32_t most = kMostSide)
{
    return width > most || height > most;
}

// PNG: chunks of length, type, data and check value. Readers trust the lengths and the
// header's size, so a tiny file declaring a huge chunk or image keeps them busy for minutes.
const char* PngRefusal(const unsigned char* data, size_t size)
{
    size_t pos = 8;
    uint64_t compressed = 0;
    uint64_t needed = 0;
    while (size - pos >= 8) {
        const uint32_t length = BigEndian32(data + pos);
        const unsigned char* type = data + pos + 4;
        if (length > size - pos - 8 || size - pos - 8 - length < 4) {
            return "a chunk longer than the file";
        }
        const unsigned char* body = data + pos + 8;
        if (std::memcmp(type, "IHDR", 4) == 0 && length >= 13) {
            const uint32_t width = BigEndian32(body);
            const uint32_t height = BigEndian32(body + 4);
            if (TooLarge(width, height)) {
                return "an image larger than 4096 x 4096";
            }
            // Bytes per pixel row, as bit depth times channels of the colour type, plus the
            // filter byte of each row.
            static const int kChannels[7] = {1, 0, 3, 1, 2, 0, 4};
            const unsigned colourType = body[9];
            const int channels = colourType < 7 ? kChannels[colourType] : 0;
            const uint64_t rowBits = static_cast<uint64_t>(width) * channels * body[8];
            needed = static_cast<uint64_t>(height) * ((rowBits + 7) / 8 + 1);
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            compressed += length;
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            break;
        }
        pos += 12 + static_cast<size_t>(length);
    }
    if (needed > kMostDeflateRatio * (compressed + 1)) {
        return "an image larger than its data can hold";
    }
    return nullptr;
}

// JPEG: marker segments up to the first scan; the frame header (SOF) holds the size. Like the
// reader, bytes between segments are skipped.
const char* JpegRefusal(const unsigned char* data, size_t size)
{
    size_t pos = 2;
    while (pos + 2 <= size) {
        const unsigned char marker = data[pos + 1];
        if (data[pos] != 0xFF || marker == 0xFF || marker == 0x00) {
            ++pos;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
            pos += 2; // no length follows
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) {
            return nullptr; // the end, or the coded data follows
        }
        if (pos + 4 > size) {
            return "a segment longer than the file";
        }
        const uint32_t length = BigEndian16(data + pos + 2);
        if (length < 2 || length > size - pos - 2) {
            return "a segment longer than the file";
        }
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame && length >= 7) {
            const uint32_t width = BigEndian16(data + pos + 7);
            const uint32_t height = BigEndian16(data + pos + 5);
            if (TooLarge(width, height)) {
                return "an image larger than 4096 x 4096";
            }
            if (static_cast<uint64_t>(width) * height > kMostJpegPixelsPerByte * size) {
                return "an image larger than its data can hold";
            }
        }
        pos += 2 + length;
    }
    return nullptr;
}

// The bytes of a GIF colour table whose flags byte is given, 0 when there is none.
size_t GifTableSize(unsigned char flags)
{
    return (flags & 0x80) != 0 ? 3u << ((flags & 7) + 1) : 0;
}

// Skips a run of sub-blocks (a length byte, then that many bytes) and its closing empty one;
// false when the run goes past the end.
bool SkipGifBlocks(const unsigned char* data, size_t size, size_t& pos)
{
    while (pos < size) {
        const size_t length = data[pos];
        ++pos;
        if (length == 0) {
            return true;
        }
        if (length > size - pos) {
            return false;
        }
        pos += length;
    }
    return false;
}

// GIF: the logical screen, then extensions up to the first image, which is the one decoded.
// Like the reader, bytes that start no block are skipped. A reader that runs out of data in
// the middle of an image goes on trying for every pixel left.
const char* GifRefusal(const unsigned char* data, size_t size)
{
    if (size < 13) {
        return nullptr;
    }
    if (TooLarge(LittleEndian16(data + 6), LittleEndian16(data + 8), kMostGifSide)) {
        return "a screen larger than 1024 x 1024";
    }
    size_t pos = 13 + GifTableSize(data[10]);
    while (pos < size) {
        const unsigned char kind = data[pos++];
        if (kind == ';') {
            return nullptr;
        }
        if (kind == '!') {
            if (pos >= size) {
                return "a block longer than the file";
            }
            // The reader takes the first block of a graphic control extension whatever its
            // length, even an empty one that ends the run, and then reads blocks up to the next
            // empty one: past the end of the file it reads for ever.
            if (data[pos++] == 0xF9 && pos < size) {
                pos += 1 + static_cast<size_t>(data[pos]);
            }
            if (pos >= size || !SkipGifBlocks(data, size, pos)) {
                return "a block longer than the file";
            }
            continue;
        }
        if (kind != ',') {
            continue;
        }
        if (size - pos < 9) {
            return "a block longer than the file";
        }
        const uint32_t width = LittleEndian16(data + pos + 4);
        const uint32_t height = LittleEndian16(data + pos + 6);
        if (TooLarge(width, height, kMostGifSide)) {
            return "an image larger than 1024 x 1024";
        }
        // SDL_image writes the pixels of an empty image through a null surface.
        if (width == 0 || height == 0) {
            return "an image without pixels";
        }
        pos += 9 + GifTableSize(data[pos + 8]);
        if (pos >= size) {
            return "a block longer than the file";
        }
        // Codes are at most 12 bits wide; SDL_image takes a wider first size unchecked and then
        // spends minutes on a few kilobytes.
        if (data[pos] > kMostGifCodeBits - 1) {
            return "codes wider than 12 bits";
        }
        const size_t start = ++pos;
        if (!SkipGifBlocks(data, size, pos)) {
            return "a block longer than the file";
        }
        if (static_cast<uint64_t>(width) * height > kMostLzwPixelsPerByte * (pos - start)) {
            return "an image larger than its data can hold";
        }
        return nullptr;
    }
    return nullptr;
}

// What the game decodes: only the kinds of picture it ships, told by their signatures, each by
// its own reader. SDL_image's other readers crash, hang or leak on hostile files (an XPM that
// declares a huge size, a TIFF that leaks in libtiff at every load), and its general loaders pick
// them by content whatever the file's name says.
enum class PictureKind { kPng, kJpeg, kGif, kOther };

struct Content
{
    PictureKind kind;
    const char* what; // for the log line of a refused file
};

bool StartsWith(const unsigned char* data, size_t size, const char* signature, size_t length,
                size_t at = 0)
{
    return size >= at + length && std::memcmp(data + at, signature, length) == 0;
}

Content ContentOf(const unsigned char* data, size_t size)
{
    if (StartsWith(data, size, "\x89PNG\r\n\x1a\n", 8)) {
        return {PictureKind::kPng, "a PNG picture"};
    }
    if (StartsWith(data, size, "\xFF\xD8\xFF", 3)) {
        return {PictureKind::kJpeg, "a JPEG picture"};
    }
    if (StartsWith(data, size, "GIF87a", 6) || StartsWith(data, size, "GIF89a", 6)) {
        return {PictureKind::kGif, "a GIF picture"};
    }
    struct Signature
    {
        const char* bytes;
        size_t length;
        size_t at;
        const char* what;
    };
    // The other kinds SDL_image would read; TGA has no signature and counts as unknown.
    static const Signature kOthers[] = {
        {"BM", 2, 0, "a BMP picture"},         {"\0\0\1\0", 4, 0, "an ICO picture"},
        {"\0\0\2\0", 4, 0, "a CUR picture"},   {"FORM", 4, 0, "an LBM picture"},
        {"II*\0", 4, 0, "a TIFF picture"},     {"MM\0*", 4, 0, "a TIFF picture"},
        {"WEBP", 4, 8, "a WEBP picture"},      {"gimp xcf", 8, 0, "an XCF picture"},
        {"/* XPM */", 9, 0, "an XPM picture"}, {"P7 332", 6, 0, "an XV picture"},
        {"\x0A", 1, 0, "a PCX picture"},
    };
    for (const Signature& s : kOthers) {
        if (StartsWith(data, size, s.bytes, s.length, s.at)) {
            return {PictureKind::kOther, s.what};
        }
    }
    if (size >= 2 && data[0] == 'P' && data[1] >= '1' && data[1] <= '6') {
        return {PictureKind::kOther, "a PNM picture"};
    }
    return {PictureKind::kOther, "unknown content"};
}

// Why the picture is refused before it is decoded, or null: a kind the game does not ship, or
// sizes in its header that do not fit the file or exceed 4096 x 4096.
const char* RefusalOf(const unsigned char* data, size_t size, const Content& content)
{
    switch (content.kind) {
    case PictureKind::kPng:
        return PngRefusal(data, size);
    case PictureKind::kJpeg:
        return JpegRefusal(data, size);
    case PictureKind::kGif:
        return GifRefusal(data, size);
    case PictureKind::kOther:
        break;
    }
    return content.what;
}

SDL_Surface* DecodeBytes(std::vector<unsigned char>& bytes, const std::string& plainName)
{
    if (bytes.empty()) {
        return nullptr;
    }
    const Content content = ContentOf(bytes.data(), bytes.size());
    if (const char* why = RefusalOf(bytes.data(), bytes.size(), content)) {
        Debug("Canvas").DebugVar(-1, "Picture refused before decoding (%s): %s", why,
                                 plainName.c_str());
        return nullptr;
    }
    SDL_RWops* rw = SDL_RWFromMem(bytes.data(), static_cast<int>(bytes.size()));
    if (rw == nullptr) {
        return nullptr;
    }
    SDL_Surface* s = nullptr;
    switch (content.kind) {
    case PictureKind::kPng:
        s = IMG_LoadPNG_RW(rw);
        break;
    case PictureKind::kJpeg:
        s = IMG_LoadJPG_RW(rw);
        break;
    case PictureKind::kGif:
        s = IMG_LoadGIF_RW(rw);
        break;
    case PictureKind::kOther:
        break;
    }
    SDL_RWclose(rw);
    return s;
}

// The plain file through the same checks as a scrambled one.
SDL_Surface* DecodeFile(const std::string& plainName)
{
    std::vector<unsigned char> bytes;
    bool opened = false;
    return ReadWhole(plainName, bytes, opened) ? DecodeBytes(bytes, plainName) : nullptr;
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
    // Whatever a data folder holds under that name, a link above all, is never written through:
    // it goes, and the copy is made anew, refused should anything take the name meanwhile.
    const int fd =
        ::unlink(partial.c_str()) == 0 || errno == ENOENT
            ? ::open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666)
            : -1;
    FILE* out = fd >= 0 ? ::fdopen(fd, "wb") : nullptr;
    if (out == nullptr) {
        if (fd >= 0) {
            ::close(fd);
        }
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
        if (bytes.empty() && File::IsEmptyTwinOf(scrambled, plain)) {
            // As for configuration files: the plain picture is shown and the copy made again.
            Debug("Canvas").DebugVar(-1, "ENCRYPTED FILE EMPTY! READING %s", plain.c_str());
            if (!ScrambleImageFile(plain, scrambled)) {
                Debug("Canvas").DebugVar(-1, "Can't open encrypted image file %s", plain.c_str());
            }
            return DecodeFile(plain);
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
    return DecodeFile(plain);
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
    SDL_Surface* s = DecodeFile(StringUtils::Trim(name));
    return s != nullptr ? new Canvas(s) : nullptr;
}

Canvas* Canvas::LoadImgCompatible(std::string name, SDL_PixelFormat* format)
{
    SDL_Surface* s = LoadImgCompatibleToSurface(name, format);
    return s != nullptr ? new Canvas(s) : nullptr;
}
