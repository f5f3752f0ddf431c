#include "framework/core/DebugLifetime.h"

#include "SDL.h"
#include "framework/core/File.h"

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace {

constexpr int32_t kProfileSize = 100000;
constexpr int32_t kModuleCount = 500;
constexpr int kFormatSize = 4000;

// The statistics of the profiling points: made only when profiling is on (over a megabyte).
// Probes run on any thread without a lock, so every field is atomic: counts from two threads
// may interleave but are never torn.
struct ProfileTables
{
    std::atomic<int32_t> callCounts[kProfileSize] = {};
    std::atomic<uint32_t> startTimes[kProfileSize] = {};
    std::atomic<int32_t> totalTimes[kProfileSize] = {};
    std::atomic<int32_t> moduleLevels[kModuleCount] = {};
};

struct ProfileState
{
    std::atomic<int32_t> profileLevel{0};
    std::atomic<bool> profileAll{false};
    std::atomic<int32_t> entryCounter{0};
    // Set before profileLevel rises to 2 or more, and never freed (probes may outlive main).
    std::atomic<ProfileTables*> tables{nullptr};
};

ProfileState& Profile()
{
    // Never destroyed, like the Debug statics: probes may run from other files' static objects.
    static ProfileState* const state = new ProfileState();
    return *state;
}

// Only called at profile level 2 or more, where the tables exist.
ProfileTables& Tables()
{
    return *Profile().tables.load();
}

} // namespace

DebugLifetime::DebugLifetime(const std::string& name, int module, int number, const char* format,
                             ...)
{
    if (module < 0) {
        return;
    }
    ProfileState& profile = Profile();
    if (profile.profileLevel == 0) {
        StartProfiling();
    }
    if (profile.profileLevel < 2) {
        return;
    }
    if (number < 0 || module >= kProfileSize / kModuleCount ||
        number >= kProfileSize - module * kModuleCount) {
        // Outside the statistics tables: such a probe stays inert rather than write past them.
        return;
    }
    const int32_t profileNumber = module * kModuleCount + number;
    _module = module;
    ProfileTables& tables = Tables();
    SetLogLevel(module > 0 && module < kModuleCount ? tables.moduleLevels[module].load() : 2);

    char buffer[kFormatSize];
    buffer[0] = '\0';
    if (format != nullptr) {
        va_list args;
        va_start(args, format);
        std::vsnprintf(buffer, sizeof buffer, format, args);
        va_end(args);
    }
    _text = name + "::" + buffer;
    _profileNumber = profileNumber;

    if (module != 0 && tables.callCounts[_profileNumber] == 0) {
        DebugOut("Begin Profiling " + std::string(format != nullptr ? format : "") +
                     " Profile Number: ",
                 _profileNumber);
    }
    tables.startTimes[_profileNumber] = SDL_GetTicks();
    if (profile.profileLevel >= 3 && GetLogLevel() > 2) {
        _entryNumber = ++profile.entryCounter;
        DebugOut("Entering " + _text + " ", _entryNumber);
    }
}

DebugLifetime::~DebugLifetime()
{
    if (!Active()) {
        return;
    }
    ProfileTables& tables = Tables();
    tables.totalTimes[_profileNumber] +=
        static_cast<int32_t>(SDL_GetTicks() - tables.startTimes[_profileNumber]);
    ++tables.callCounts[_profileNumber];
    if (GetLogLevel() > 2) {
        DebugOut("Leaving " + _text + " ", _entryNumber);
    }
}

bool DebugLifetime::Active() const
{
    return _module >= 0 && Profile().profileLevel >= 3;
}

void DebugLifetime::PrintEnter()
{
    if (!Active() || GetLogLevel() <= 2) {
        return;
    }
    _entryNumber = ++Profile().entryCounter;
    DebugOut("Entering " + _text + " ", _entryNumber);
}

void DebugLifetime::Out()
{
    if (!Active() || GetLogLevel() <= 2) {
        return;
    }
    DebugOut("CodeExit " + _text + " ", _entryNumber);
}

void DebugLifetime::StartProfiling()
{
    ProfileState& profile = Profile();
    profile.profileAll = FileExists("debug/Profile.all");
    // Level 1 first: the marker look-ups below make objects that ask for the level again.
    profile.profileLevel = 1;
    int32_t level = 1;
    char path[64];
    for (int n = 9; n >= 0; --n) {
        std::snprintf(path, sizeof path, "debug/Profile.%d", n);
        if (FileExists(path)) {
            level = n + 1;
            break;
        }
    }
    if (level >= 2 && profile.tables.load() == nullptr) {
        profile.tables = new ProfileTables();
    }
    profile.profileLevel = level;
}

void DebugLifetime::DumpStats()
{
    const ProfileState& profile = Profile();
    if (profile.profileLevel < 2) {
        return;
    }
    const ProfileTables& tables = Tables();
    Debug reporter("DebugLifeTime::DumpStats");
    char buffer[kFormatSize];
    for (int32_t number = 0; number < kProfileSize; ++number) {
        if (tables.callCounts[number] != 0) {
            std::snprintf(buffer, sizeof buffer, "Profile: %d, Count: %d, Time: %d", number,
                          tables.callCounts[number].load(), tables.totalTimes[number].load());
            reporter.DebugOut(buffer);
        }
    }
}

bool DebugLifetime::FileExists(const std::string& path)
{
    if (Profile().profileLevel == 5) {
        return true;
    }
    File file(path);
    const bool found = file.OpenR();
    file.Close();
    return found;
}

int DebugLifetime::SetDebugLevel(const char* className, Debug* object, int level)
{
    ProfileState& profile = Profile();
    if (profile.profileLevel == 0) {
        DebugLifetime magic("Magic", 0, 0, "Trick");
    }
    if (profile.profileLevel == 1) {
        return -1;
    }
    const int use =
        (profile.profileAll && profile.profileLevel > 1) ? profile.profileLevel - 1 : level;
    if (use != 0) {
        if (object != nullptr) {
            object->SetLogLevel(use);
        }
        return use;
    }
    if (className == nullptr) {
        return -1;
    }
    const std::string prefix = std::string("debug/") + className + ".";
    for (int n = 9; n >= 0; --n) {
        if (FileExists(prefix + std::to_string(n))) {
            const int found = std::min(n + 1, profile.profileLevel - 1);
            if (object != nullptr) {
                object->SetLogLevel(found);
            }
            return found;
        }
    }
    return -1;
}

bool DebugLifetime::HasProfileTables()
{
    return Profile().tables.load() != nullptr;
}

int32_t DebugLifetime::GetProfileLevel()
{
    return Profile().profileLevel;
}

bool DebugLifetime::GetProfileAll()
{
    return Profile().profileAll;
}
