#pragma once

#include "framework/core/Export.h"

class ConfigFileGame;
class Debug;
class Framework;
class SpeedCheckPlatform;

// The processor speed check of the first start: the cycles counted during a 50 ms wait, less
// those the measuring itself costs, give the processor's MHz, which chooses high detail (above
// "cputhreshold") and turns double buffering off (below "cpusbthreshold").
class FRAMEWORK_API ProcessorSpeedCheck
{
public:
    static constexpr int kWaitMs = 50;

    // With the priorities raised for the measurement: false, and *mhz untouched, when the
    // counter's frequency cannot be read (the waits would not wait).
    static bool Measure(SpeedCheckPlatform& platform, int* mhz);
    // Measures, logs "System MHz = %d" through log and applies the result: high detail in the
    // framework (may be null) and in the settings (with "checkcpu" 0, not written yet); double
    // buffering off and written at once below the lower threshold. A failed measurement is
    // logged and changes no setting, so the next start measures again.
    static void Run(SpeedCheckPlatform& platform, Debug& log, Framework* framework,
                    ConfigFileGame& settings);

private:
    // Reads the counter until ms have passed; false at once without a frequency.
    static bool TimedWait(SpeedCheckPlatform& platform, int ms);
    // The same set-up, but ends on the first read that is not exactly at the target: the cost
    // of the measuring alone.
    static bool TimedSetUpOnly(SpeedCheckPlatform& platform, int ms);
};
