#include "tests/support/TestSupport.h"

#include "SDL.h"
#include "framework/core/Color.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Debug.h"
#include "framework/core/Thread.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace testsupport {

std::string FixturePath(const std::string& name)
{
    return std::string(FRAMEWORK_TEST_FIXTURES) + "/" + name;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::string();
    }
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    out << bytes;
    return static_cast<bool>(out);
}

namespace {

uint32_t PngCrc(const std::string& bytes)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<unsigned char>(c);
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

std::string BigEndian32(uint32_t v)
{
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

std::string PngChunk(const std::string& type, const std::string& data)
{
    return BigEndian32(static_cast<uint32_t>(data.size())) + type + data +
           BigEndian32(PngCrc(type + data));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::string Stored(const std::string& raw)
{
    std::string out = "\x78\x01";
    size_t pos = 0;
    do {
        const size_t n = std::min<size_t>(65535, raw.size() - pos);
        const bool last = pos + n == raw.size();
        out += static_cast<char>(last ? 1 : 0);
        out += static_cast<char>(n & 0xFF);
        out += static_cast<char>(n >> 8);
        out += static_cast<char>(~n & 0xFF);
        out += static_cast<char>((~n >> 8) & 0xFF);
        out.append(raw, pos, n);
        pos += n;
    } while (pos < raw.size());
    uint32_t a = 1;
    uint32_t b = 0;
    for (const char c : raw) {
        a = (a + static_cast<unsigned char>(c)) % 65521;
        b = (b + a) % 65521;
    }
    return out + BigEndian32(b << 16 | a);
}

} // namespace

bool SavePng(SDL_Surface* surface, const std::string& path)
{
    if (surface == nullptr) {
        return false;
    }
    SDL_PixelFormat rgb{};
    rgb.BitsPerPixel = 24;
    rgb.BytesPerPixel = 3;
    rgb.Rmask = 0x000000FF;
    rgb.Gmask = 0x0000FF00;
    rgb.Bmask = 0x00FF0000;
    rgb.Gshift = 8;
    rgb.Bshift = 16;
    rgb.Aloss = 8;
    rgb.alpha = 255;
    SDL_Surface* copy = SDL_ConvertSurface(surface, &rgb, SDL_SWSURFACE);
    if (copy == nullptr) {
        return false;
    }
    std::string raw;
    SDL_LockSurface(copy);
    for (int y = 0; y < copy->h; ++y) {
        raw += '\0'; // no filter
        const char* row = static_cast<const char*>(copy->pixels) + y * copy->pitch;
        raw.append(row, static_cast<size_t>(copy->w) * 3);
    }
    SDL_UnlockSurface(copy);
    const std::string header = BigEndian32(static_cast<uint32_t>(copy->w)) +
                               BigEndian32(static_cast<uint32_t>(copy->h)) +
                               std::string("\x08\x02\x00\x00\x00", 5);
    SDL_FreeSurface(copy);
    return WriteFile(path, std::string("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", header) +
                               PngChunk("IDAT", Stored(raw)) + PngChunk("IEND", ""));
}

bool FileExists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

std::vector<std::string> SplitCrlfLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string ReadLog()
{
    Debug::DebugFlush();
    return ReadFile("debug.txt");
}

int CountLogLines(const std::string& part)
{
    int n = 0;
    for (const std::string& line : SplitCrlfLines(ReadLog())) {
        if (line.find(part) != std::string::npos) {
            ++n;
        }
    }
    return n;
}

std::string ConfigValue(ConfigFile& cfg, const std::string& section, const std::string& key)
{
    return cfg.Value(section, key, "<default>", true);
}

std::map<std::string, std::string> ConfigEntries(ConfigFile& cfg)
{
    std::map<std::string, std::string> entries;
    for (const std::string& section : cfg.GetSectionsThatStartWith("")) {
        for (const std::string& key : cfg.GetKeysInSection(section)) {
            entries[section + "/" + key] = ConfigValue(cfg, section, key);
        }
    }
    return entries;
}

bool WaitUntilStopped(Thread& thread, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (thread.IsRunning()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        SDL_Delay(20);
    }
    return true;
}

bool WaitUntilFinished(Thread& thread)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!thread.IsFinished() && std::chrono::steady_clock::now() < end) {
        SDL_Delay(5);
    }
    return thread.IsFinished();
}

void Gate::Open()
{
    const std::lock_guard<std::mutex> hold(_mutex);
    _open = true;
    _changed.notify_all();
}

void Gate::Close()
{
    const std::lock_guard<std::mutex> hold(_mutex);
    _open = false;
}

void Gate::WaitOpen()
{
    std::unique_lock<std::mutex> hold(_mutex);
    _changed.wait_for(hold, std::chrono::seconds(10), [this] { return _open; });
}

namespace {

std::string Describe(const Color& c)
{
    return "(" + std::to_string(c.GetR()) + ", " + std::to_string(c.GetG()) + ", " +
           std::to_string(c.GetB()) + ", alpha " + std::to_string(c.GetA()) + ")";
}

} // namespace

::testing::AssertionResult SameRgb(const Color& a, const Color& b)
{
    if (a.Equals(b)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << Describe(a) << " differs from " << Describe(b);
}

::testing::AssertionResult SameRgba(const Color& a, const Color& b)
{
    if (a.Equals(b) && a.GetA() == b.GetA()) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << Describe(a) << " differs from " << Describe(b);
}

} // namespace testsupport
