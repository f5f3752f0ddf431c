#include "tests/support/TestSupport.h"

#include "SDL.h"
#include "framework/core/Color.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Debug.h"
#include "framework/core/Thread.h"

#include <chrono>
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
