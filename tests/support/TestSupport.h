#pragma once

#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <map>
#include <mutex>
#include <string>
#include <vector>

class Color;
class ConfigFile;
class Thread;
struct SDL_Surface;

namespace testsupport {

// Folder of the committed test fixtures (read-only).
std::string FixturePath(const std::string& name);

// The scratch folder this test process runs in; it is also the working folder.
const std::string& ScratchDir();

// Whole content of a file as bytes; empty when it cannot be read.
std::string ReadFile(const std::string& path);

// Writes bytes to a file, replacing it; returns false on failure.
bool WriteFile(const std::string& path, const std::string& bytes);

bool FileExists(const std::string& path);

// Writes a surface as a PNG of 8-bit RGB (alpha and colour key dropped, as SDL_SaveBMP does):
// the engine reads only the kinds of picture the game ships. False on failure.
bool SavePng(SDL_Surface* surface, const std::string& path);

// Lines of a file written with "\r\n" line ends, without their ends.
std::vector<std::string> SplitCrlfLines(const std::string& bytes);

// The debug log "debug.txt" as written so far (flushed first).
std::string ReadLog();

// How many lines of the debug log contain part.
int CountLogLines(const std::string& part);

// A configuration value as text, "<default>" when the key is missing.
std::string ConfigValue(ConfigFile& cfg, const std::string& section, const std::string& key);
// Every entry of cfg by "section/key", through the public listing.
std::map<std::string, std::string> ConfigEntries(ConfigFile& cfg);

// Polls as the thread's owners do, every 20 ms; false when it still runs after the limit.
bool WaitUntilStopped(Thread& thread,
                      std::chrono::milliseconds limit = std::chrono::milliseconds(5000));
// Polls every 5 ms for up to 5 s; whether the thread's work has finished.
bool WaitUntilFinished(Thread& thread);

// Whether two colours have the same red, green and blue (alpha is not compared); a failure names
// both colours.
::testing::AssertionResult SameRgb(const Color& a, const Color& b);
// The same with alpha compared too.
::testing::AssertionResult SameRgba(const Color& a, const Color& b);

// Holds a thread at WaitOpen until the test opens it, or until a safety time passes so that a
// broken test cannot hang.
class Gate
{
public:
    explicit Gate(bool open) : _open(open) {}
    void Open();
    void Close();
    void WaitOpen();

private:
    std::mutex _mutex;
    std::condition_variable _changed;
    bool _open;
};

} // namespace testsupport
