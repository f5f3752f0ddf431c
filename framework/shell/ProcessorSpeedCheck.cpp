#include "framework/shell/ProcessorSpeedCheck.h"

#include "framework/core/ConfigFileGame.h"
#include "framework/core/Debug.h"
#include "framework/core/Framework.h"
#include "framework/shell/SpeedCheckPlatform.h"

#include <cstdint>

bool ProcessorSpeedCheck::TimedWait(SpeedCheckPlatform& platform, int ms)
{
    int64_t frequency = 0;
    if (!platform.QueryFrequency(&frequency)) {
        return false;
    }
    const int64_t target = (frequency / 1000) * ms;
    const int64_t start = platform.QueryCounter();
    while (platform.QueryCounter() - start < target) {
    }
    return true;
}

bool ProcessorSpeedCheck::TimedSetUpOnly(SpeedCheckPlatform& platform, int ms)
{
    int64_t frequency = 0;
    if (!platform.QueryFrequency(&frequency)) {
        return false;
    }
    const int64_t target = (frequency / 1000) * ms;
    const int64_t start = platform.QueryCounter();
    while (platform.QueryCounter() - start == target) {
    }
    return true;
}

bool ProcessorSpeedCheck::Measure(SpeedCheckPlatform& platform, int* mhz)
{
    const bool processRaised = platform.RaiseProcessPriority();
    const bool threadRaised = platform.RaiseThreadPriority();

    uint64_t before = platform.ReadTimeStamp();
    const bool waited = TimedWait(platform, kWaitMs);
    const uint64_t waitCycles = platform.ReadTimeStamp() - before;

    before = platform.ReadTimeStamp();
    const bool setUp = TimedSetUpOnly(platform, kWaitMs);
    const uint64_t setUpCycles = platform.ReadTimeStamp() - before;

    if (threadRaised) {
        platform.RestoreThreadPriority();
    }
    if (processRaised) {
        platform.RestoreProcessPriority();
    }
    if (!waited || !setUp || mhz == nullptr) {
        return false;
    }
    const int64_t cycles = static_cast<int64_t>(waitCycles) - static_cast<int64_t>(setUpCycles);
    *mhz = static_cast<int>(cycles / kWaitMs / 1000);
    return true;
}

void ProcessorSpeedCheck::Run(SpeedCheckPlatform& platform, Debug& log, Framework* framework,
                              ConfigFileGame& settings)
{
    int mhz = 0;
    if (!Measure(platform, &mhz)) {
        log.DebugVar(0, "System MHz could not be measured; settings kept");
        return;
    }
    log.DebugVar(0, "System MHz = %d", mhz);
    const bool high = mhz > settings.cputhreshold;
    if (framework != nullptr) {
        framework->SetHighDetail(high);
    }
    settings.SetHighDetail(high, false);
    if (mhz < settings.cpusbthreshold) {
        settings.SetAllowDoubleBuffered(false, true);
    }
}
