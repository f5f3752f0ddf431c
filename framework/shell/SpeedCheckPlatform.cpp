#include "framework/shell/SpeedCheckPlatform.h"

#include <cerrno>
#include <ctime>
#include <fstream>
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

namespace {

constexpr int64_t kNanosecondsPerSecond = 1000000000;

int64_t MonotonicNanoseconds()
{
    timespec now{};
    if (clock_gettime(CLOCK_MONOTONIC, &now) != 0) {
        return 0;
    }
    return static_cast<int64_t>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

#if !defined(__x86_64__) && !defined(__i386__)
// The processor's fastest clock in kHz, or 0 when the system does not say.
int64_t MaximumKilohertz()
{
    std::ifstream in("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq");
    int64_t khz = 0;
    if (!(in >> khz) || khz < 0) {
        return 0;
    }
    return khz;
}
#endif

class SystemPlatform final : public SpeedCheckPlatform
{
public:
    bool QueryFrequency(int64_t* frequency) override
    {
        timespec resolution{};
        if (frequency == nullptr || clock_getres(CLOCK_MONOTONIC, &resolution) != 0) {
            return false;
        }
        *frequency = kNanosecondsPerSecond;
        return true;
    }

    int64_t QueryCounter() override { return MonotonicNanoseconds(); }

    uint64_t ReadTimeStamp() override
    {
#if defined(__x86_64__) || defined(__i386__)
        return __rdtsc();
#else
        static const int64_t khz = MaximumKilohertz();
        // ns * kHz / 10^6 = cycles; split to stay inside 64 bits for long uptimes.
        const int64_t ns = MonotonicNanoseconds();
        const int64_t seconds = ns / kNanosecondsPerSecond;
        const int64_t rest = ns % kNanosecondsPerSecond;
        return static_cast<uint64_t>(seconds * khz * 1000 + rest * khz / 1000000);
#endif
    }

    bool RaiseProcessPriority() override
    {
        errno = 0;
        const int current = getpriority(PRIO_PROCESS, 0);
        if (current == -1 && errno != 0) {
            return false;
        }
        if (setpriority(PRIO_PROCESS, 0, PRIO_MIN) != 0) {
            return false;
        }
        _savedNice = current;
        return true;
    }

    void RestoreProcessPriority() override
    {
        setpriority(PRIO_PROCESS, 0, _savedNice);
    }

    bool RaiseThreadPriority() override
    {
        if (pthread_getschedparam(pthread_self(), &_savedPolicy, &_savedParam) != 0) {
            return false;
        }
        sched_param raised{};
        raised.sched_priority = sched_get_priority_max(SCHED_FIFO);
        return pthread_setschedparam(pthread_self(), SCHED_FIFO, &raised) == 0;
    }

    void RestoreThreadPriority() override
    {
        pthread_setschedparam(pthread_self(), _savedPolicy, &_savedParam);
    }

private:
    int _savedNice = 0;
    int _savedPolicy = SCHED_OTHER;
    sched_param _savedParam{};
};

SpeedCheckPlatform*& Installed()
{
    static SpeedCheckPlatform* platform = nullptr;
    return platform;
}

} // namespace

SpeedCheckPlatform::~SpeedCheckPlatform() = default;

SpeedCheckPlatform& SpeedCheckPlatform::Current()
{
    static SystemPlatform system;
    SpeedCheckPlatform* installed = Installed();
    return installed != nullptr ? *installed : system;
}

void SpeedCheckPlatform::Install(SpeedCheckPlatform* platform)
{
    Installed() = platform;
}
