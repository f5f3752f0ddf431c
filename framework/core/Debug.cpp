#include "framework/core/Debug.h"

#include "SDL.h"
#include "framework/core/DebugLifetime.h"
#include "framework/core/LogFile.h"
#include "framework/core/Rectangle.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr int32_t kTableSize = 100000;
constexpr int32_t kLastId = 99998;
constexpr int32_t kWrapId = 999;
constexpr int32_t kFirstReportedId = 4;
constexpr int kFormatSize = 4000;
const char kLogName[] = "debug.txt";

struct DebugState
{
    SDL_mutex* mutex = SDL_CreateMutex(); // recursive in SDL 1.2
    std::unique_ptr<LogFile> log;
    bool logWasOpened = false;
    int32_t idCounter = 0;
    std::atomic<bool> globalSwitch{true}; // set on the main thread, read by every thread
    std::string frameworkVersion = "1.053";
    std::string productVersion = "Unknown";
    std::string productName = "Unknwon";
    std::string productNameShort = "Unknwon";
    std::string productDistributor = "kebo";
    // Live-object table: the object that holds each id. Its name is read only for the report,
    // so the table costs one pointer per entry. An object clears only an entry it still owns,
    // so after the ids wrap a reused id stays with its newest holder. Zeroed pages from calloc:
    // the part beyond the ids given out so far is never touched and costs no memory.
    const Debug** owners = static_cast<const Debug**>(std::calloc(kTableSize, sizeof(Debug*)));
};

DebugState& State()
{
    // Made on first use and never destroyed: objects with static storage in other files may be
    // made before, or destroyed after, this file's statics.
    static DebugState* const state = new DebugState();
    return *state;
}

} // namespace

Debug::Debug()
{
    Init(std::string());
}

Debug::Debug(const std::string& name)
{
    Init(name);
}

Debug::~Debug()
{
    DebugState& state = State();
    Lock();
    if (_objectId >= 0 && _objectId < kTableSize && state.owners[_objectId] == this) {
        state.owners[_objectId] = nullptr;
    }
    Unlock();
}

std::string Debug::GetCopyright()
{
    return "Copyright (c) 2026 The Mahjong Solitaire developers. All rights reserved.";
}

void Debug::Init(const std::string& name)
{
    DebugState& state = State();
    Lock();
    if (!state.log) {
        // Only the first log of a run starts empty: one made again after CloseDebugFile appends,
        // so the lifetime report is never wiped.
        auto log = std::make_unique<LogFile>(kLogName, state.logWasOpened);
        if (log->IsOpen()) {
            state.log = std::move(log);
            state.logWasOpened = true;
        }
    }
    _name = name;
    _posText.clear();
    _sizeText.clear();
    _idText.clear();
    if (state.idCounter > kLastId) {
        state.idCounter = kWrapId;
    }
    _objectId = state.idCounter++;
    state.owners[_objectId] = this;
    SetId(std::to_string(_objectId));
    _logLevel = 0;
    const int32_t profileLevel = DebugLifetime::GetProfileLevel();
    if (DebugLifetime::GetProfileAll() && profileLevel > 1) {
        _logLevel = profileLevel - 1;
    }
    _debugFlag = true;
    Unlock();
}

void Debug::SetName(const std::string& name)
{
    // The table entry is this object, so the report sees the new name.
    _name = name;
}

std::string Debug::GetName() const
{
    return _name;
}

std::string Debug::GetFullName() const
{
    return "(" + _name + ":" + _posText + ":" + _sizeText + ":" + _idText + ")";
}

void Debug::SetPos(const std::string& text)
{
    _posText = text;
}

void Debug::SetSize(const std::string& text)
{
    _sizeText = text;
}

void Debug::SetId(const std::string& text)
{
    _idText = text;
}

void Debug::SetLogLevel(int level)
{
    Lock();
    _logLevel = level;
    Unlock();
}

int Debug::GetLogLevel() const
{
    Lock();
    const int level = _logLevel;
    Unlock();
    return level;
}

void Debug::SetDebugFlag(bool flag)
{
    Lock();
    _debugFlag = flag;
    Unlock();
}

bool Debug::GetDebugFlag() const
{
    Lock();
    const bool flag = _debugFlag;
    Unlock();
    return flag;
}

void Debug::DebugOn(bool global)
{
    SetDebugFlag(true);
    if (global) {
        State().globalSwitch = true;
    }
}

void Debug::DebugOff(bool global)
{
    SetDebugFlag(false);
    if (global) {
        State().globalSwitch = false;
    }
}

bool Debug::OkToLog() const
{
    DebugState& state = State();
    if (!state.globalSwitch || !GetDebugFlag()) {
        return false;
    }
    Lock();
    const bool present = state.log != nullptr;
    Unlock();
    return present;
}

void Debug::LogNow(const std::string& text)
{
    Lock();
    if (OkToLog()) {
        State().log->OutLine(GetFullName() + ": " + text);
    }
    Unlock();
}

void Debug::DebugVar(int level, const char* format, ...)
{
    if (level > 0 && level >= GetLogLevel()) {
        return;
    }
    if (!OkToLog()) {
        return;
    }
    // Per call, so threads never share it; a longer text is cut at kFormatSize - 1 characters.
    char buffer[kFormatSize];
    int used = 0;
    if (level < 0) {
        used = std::snprintf(buffer, sizeof buffer, "%d ", level);
    }
    buffer[used] = '\0';
    if (format != nullptr) {
        va_list args;
        va_start(args, format);
        std::vsnprintf(buffer + used, sizeof buffer - used, format, args);
        va_end(args);
    }
    const std::string line = GetFullName() + ": " + buffer;
    Lock();
    if (OkToLog()) {
        if (level < 0) {
            State().log->ErrLine(line);
        } else {
            State().log->OutLine(line);
        }
    }
    Unlock();
}

void Debug::DebugOut(const std::string& text)
{
    LogNow(text);
}

void Debug::DebugOut(const std::string& text, int n)
{
    char buffer[kFormatSize];
    std::snprintf(buffer, sizeof buffer, "%s %d", text.c_str(), n);
    LogNow(buffer);
}

void Debug::DebugOut(const std::string& a, const std::string& b)
{
    LogNow(a + " " + b);
}

void Debug::DebugRect(int level, const std::string& text, const Rectangle& r)
{
    if (level > 0 && level >= GetLogLevel()) {
        return;
    }
    char buffer[kFormatSize];
    std::snprintf(buffer, sizeof buffer, "%s - %d, %d, %d, %d", text.c_str(), r.GetX(), r.GetY(),
                  r.GetW(), r.GetH());
    DebugVar(level, "%s", buffer);
}

void Debug::DebugRaw(const std::string& text)
{
    Lock();
    DebugState& state = State();
    if (state.log) {
        state.log->OutLine(text);
    }
    Unlock();
}

void Debug::DebugFlush()
{
    Lock();
    DebugState& state = State();
    if (state.log) {
        state.log->Flush();
    }
    Unlock();
}

void Debug::DebugInit()
{
    const DebugState& state = State();
    char buffer[kFormatSize];
    DebugRaw(std::string(50, '-'));
    DebugRaw(GetCopyright());
    std::snprintf(buffer, sizeof buffer, "Framework version: %s", state.frameworkVersion.c_str());
    DebugRaw(buffer);
    std::snprintf(buffer, sizeof buffer, "%s Version: %s (%s)", state.productName.c_str(),
                  state.productVersion.c_str(), state.productDistributor.c_str());
    DebugRaw(buffer);
    DebugRaw(std::string(49, '-'));
}

void Debug::CloseDebugFile()
{
    DebugState& state = State();
    auto reporter = std::make_unique<Debug>();
    Lock();
    const int32_t counter = state.idCounter;
    Unlock();
    int leaks = 0;
    for (int32_t id = kFirstReportedId; id <= counter - 2 && id < kTableSize; ++id) {
        Lock();
        const Debug* owner = state.owners[id];
        const std::string name =
            owner == nullptr ? std::string() : (owner->_name.empty() ? "noname" : owner->_name);
        Unlock();
        if (owner != nullptr) {
            reporter->DebugVar(0, "Object Not Cleaned UP: %d-%s, ", id, name.c_str());
            ++leaks;
        }
    }
    if (leaks > 0) {
        reporter->DebugVar(0, "You Left %d objects not cleaned up - out of %d objects used", leaks,
                           counter - 3);
    } else {
        reporter->DebugVar(0, "Total objects used - %d", counter - 3);
    }
    Lock();
    state.log.reset();
    Unlock();
}

void Debug::SetProductVersion(const std::string& text)
{
    State().productVersion = text;
}

void Debug::SetProductName(const std::string& text)
{
    State().productName = text;
}

void Debug::SetProductNameShort(const std::string& text)
{
    State().productNameShort = text;
}

void Debug::SetProductDistributor(const std::string& text)
{
    State().productDistributor = text;
}

std::string Debug::GetProductVersion()
{
    return State().productVersion;
}

std::string Debug::GetProductName()
{
    return State().productName;
}

std::string Debug::GetProductNameShort()
{
    return State().productNameShort;
}

std::string Debug::GetProductDistributor()
{
    return State().productDistributor;
}

std::string Debug::GetFrameworkVersion()
{
    return State().frameworkVersion;
}

void Debug::Lock()
{
    SDL_mutexP(State().mutex);
}

void Debug::Unlock()
{
    SDL_mutexV(State().mutex);
}
