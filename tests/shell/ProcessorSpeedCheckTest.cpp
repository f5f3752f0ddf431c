#include "framework/shell/ProcessorSpeedCheck.h"

#include "framework/core/ConfigFileGame.h"
#include "framework/core/Debug.h"
#include "framework/shell/SpeedCheckPlatform.h"
#include "tests/support/TestSupport.h"

#include <cstdint>
#include <deque>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Counters that move by fixed steps, and every call written down.
class FakePlatform : public SpeedCheckPlatform
{
public:
    bool QueryFrequency(int64_t* frequency) override
    {
        calls.push_back("frequency");
        if (!frequencyWorks) {
            return false;
        }
        *frequency = 1000000000;
        return true;
    }
    // Each read moves 10 ms on.
    int64_t QueryCounter() override
    {
        counter += 10000000;
        return counter;
    }
    // The time-stamp reads in order: before A, after A, before B, after B.
    uint64_t ReadTimeStamp() override
    {
        calls.push_back("stamp");
        const uint64_t value = stamps.empty() ? 0 : stamps.front();
        if (!stamps.empty()) {
            stamps.pop_front();
        }
        return value;
    }
    bool RaiseProcessPriority() override
    {
        calls.push_back("raise process");
        return processAllowed;
    }
    void RestoreProcessPriority() override { calls.push_back("restore process"); }
    bool RaiseThreadPriority() override
    {
        calls.push_back("raise thread");
        return threadAllowed;
    }
    void RestoreThreadPriority() override { calls.push_back("restore thread"); }

    // Waits of c1 and c2 cycles.
    void Cycles(uint64_t c1, uint64_t c2) { stamps = {1000, 1000 + c1, 5000, 5000 + c2}; }

    bool frequencyWorks = true;
    bool processAllowed = true;
    bool threadAllowed = true;
    int64_t counter = 0;
    std::deque<uint64_t> stamps;
    std::vector<std::string> calls;
};

class Logger : public Debug
{
};

TEST(ProcessorSpeedCheck, MegahertzAreTheCyclesOfTheWaitLessTheMeasuringPerMicrosecond)
{
    struct Case
    {
        uint64_t c1;
        uint64_t c2;
        int mhz;
    };
    const Case cases[] = {
        {150000000, 0, 3000},         // 3 GHz
        {100000000, 49999, 1999},     // the measuring's cost comes off, truncated
        {20000000, 20000000, 0},      // all of it was measuring
        {1000, 51000, -1},            // a dearer measuring than the wait: signed, toward zero
        {12000000000, 50000, 239999}, // past 32 bits before the division
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.c1) + " " + std::to_string(c.c2));
        FakePlatform platform;
        platform.Cycles(c.c1, c.c2);
        int mhz = -12345;
        ASSERT_TRUE(ProcessorSpeedCheck::Measure(platform, &mhz));
        EXPECT_EQ(mhz, c.mhz);
    }
}

TEST(ProcessorSpeedCheck, PrioritiesAreRaisedForTheMeasuringAndRestoredInReverse)
{
    FakePlatform platform;
    platform.Cycles(100000000, 0);
    int mhz = 0;
    ASSERT_TRUE(ProcessorSpeedCheck::Measure(platform, &mhz));
    const std::vector<std::string> expected = {
        "raise process", "raise thread", "stamp", "frequency",      "stamp",
        "stamp",         "frequency",    "stamp", "restore thread", "restore process"};
    EXPECT_EQ(platform.calls, expected);
    // Wait A read the 10 ms counter until 50 ms had passed: start and five more reads.
    EXPECT_EQ(platform.counter, 10000000 * (6 + 2));
}

TEST(ProcessorSpeedCheck, RefusedPrioritiesAreNotRestored)
{
    struct Case
    {
        bool process;
        bool thread;
        std::vector<std::string> restores;
    };
    const Case cases[] = {
        {false, false, {}},
        {true, false, {"restore process"}},
        {false, true, {"restore thread"}},
    };
    for (const Case& c : cases) {
        FakePlatform platform;
        platform.processAllowed = c.process;
        platform.threadAllowed = c.thread;
        platform.Cycles(100000000, 0);
        int mhz = 0;
        ASSERT_TRUE(ProcessorSpeedCheck::Measure(platform, &mhz));
        EXPECT_EQ(mhz, 2000) << "a refusal changes nothing of the measuring";
        std::vector<std::string> restores;
        for (const std::string& call : platform.calls) {
            if (call.rfind("restore", 0) == 0) {
                restores.push_back(call);
            }
        }
        EXPECT_EQ(restores, c.restores);
    }
}

TEST(ProcessorSpeedCheck, SpeedChoosesDetailAndDoubleBufferingAsTheThresholdsSay)
{
    struct Case
    {
        int mhz;
        bool high;
        bool doubleBuffered;
        bool written;
    };
    // Thresholds 400 (detail) and 800 (double buffering); both compares are strict.
    const Case cases[] = {
        {1200, true, true, false}, {800, true, true, false},  {799, true, false, true},
        {400, false, false, true}, {100, false, false, true},
    };
    int run = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mhz);
        const std::string file = "game" + std::to_string(++run) + ".cfg";
        ASSERT_TRUE(testsupport::WriteFile(file, "[game]\ncheckcpu=1\ncputhreshold=400\n"
                                                 "cpusbthreshold=800\nhighdetail=0\n"));
        ConfigFileGame settings(file);
        FakePlatform platform;
        platform.Cycles(static_cast<uint64_t>(c.mhz) * 50000, 0);
        Logger log;
        ProcessorSpeedCheck::Run(platform, log, nullptr, settings);

        EXPECT_EQ(testsupport::CountLogLines("System MHz = " + std::to_string(c.mhz)), 1);
        EXPECT_EQ(settings.highdetail, c.high);
        EXPECT_EQ(settings.allowdoublebuffered, c.doubleBuffered);
        EXPECT_EQ(testsupport::ConfigValue(settings, "game", "checkcpu"), "0");
        const std::string stored = testsupport::ReadFile(file);
        if (c.written) {
            // Written at once, with the detail and the check's end that came before.
            EXPECT_NE(stored.find("allowdoublebuffered=0"), std::string::npos) << stored;
            EXPECT_NE(stored.find("checkcpu=0"), std::string::npos) << stored;
        } else {
            EXPECT_NE(stored.find("checkcpu=1"), std::string::npos) << "only in memory";
        }
    }
}

TEST(ProcessorSpeedCheck, FailedFrequencyQueryChangesNoSetting)
{
    const std::string file = "game.cfg";
    const std::string before = "[game]\ncheckcpu=1\nhighdetail=1\nallowdoublebuffered=1\n";
    ASSERT_TRUE(testsupport::WriteFile(file, before));
    ConfigFileGame settings(file);
    FakePlatform platform;
    platform.frequencyWorks = false;
    platform.Cycles(0, 0);
    Logger log;
    ProcessorSpeedCheck::Run(platform, log, nullptr, settings);

    EXPECT_EQ(testsupport::CountLogLines("System MHz = "), 0);
    EXPECT_EQ(testsupport::CountLogLines("System MHz could not be measured"), 1);
    EXPECT_TRUE(settings.highdetail);
    EXPECT_TRUE(settings.allowdoublebuffered);
    EXPECT_TRUE(settings.checkcpu);
    EXPECT_EQ(testsupport::ConfigValue(settings, "game", "checkcpu"), "1");
    EXPECT_EQ(testsupport::ReadFile(file), before);
    // The priorities still went back.
    EXPECT_EQ(platform.calls.back(), "restore process");
}

} // namespace
