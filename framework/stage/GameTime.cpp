#include "framework/stage/GameTime.h"

#include "SDL.h"
#include "framework/core/TickSource.h"

#include <algorithm>
#include <cstdint>

namespace {

// Shared by all clocks; main thread only.
struct SharedTicks
{
    int testSlow = 0;
    unsigned int testClock = 0;
    // Real milliseconds the slowed mode did not count; taken off the real ticks after the mode
    // ends so the tick count goes on from the test clock instead of leaping to the real one.
    unsigned int skipped = 0;
    // The slowed mode's sleeps in the current second of real time: a frame that reads the clock
    // many times must still end, so the sleeps of one second stop at kMostSleepPerSecond.
    unsigned int sleepWindowStart = 0;
    unsigned int sleptInWindow = 0;
};

constexpr unsigned int kSleepWindowMs = 1000;
constexpr unsigned int kMostSleepPerSecond = 500;

SharedTicks& Shared()
{
    static SharedTicks shared;
    return shared;
}

// The tick count as Start and Stop see it: the test clock in the slowed mode (not advanced,
// only Time() advances it), else the real ticks less what the slowed mode skipped.
unsigned int CurrentTicks()
{
    const SharedTicks& shared = Shared();
    return shared.testSlow != 0 ? shared.testClock : TickSource::Now() - shared.skipped;
}

} // namespace

GameTime::GameTime(int testSlow)
{
    SetTestSlow(testSlow);
}

GameTime::~GameTime() = default;

void GameTime::Start()
{
    if (_running) {
        return;
    }
    _startTicks = CurrentTicks();
    _running = true;
}

void GameTime::Stop()
{
    if (!_running) {
        return;
    }
    _accumulated += CurrentTicks() - _startTicks;
    _running = false;
}

bool GameTime::Stopped()
{
    return !_running;
}

unsigned int GameTime::Time()
{
    SharedTicks& shared = Shared();
    unsigned int ticks = 0;
    if (shared.testSlow != 0) {
        const unsigned int now = TickSource::Now();
        if (now - shared.sleepWindowStart >= kSleepWindowMs) {
            shared.sleepWindowStart = now;
            shared.sleptInWindow = 0;
        }
        const int64_t sleepMs = std::min<int64_t>(10 * static_cast<int64_t>(shared.testSlow) - 9,
                                                  kMostSleepPerSecond - shared.sleptInWindow);
        if (sleepMs > 0) {
            SDL_Delay(static_cast<Uint32>(sleepMs));
            shared.sleptInWindow += static_cast<unsigned int>(sleepMs);
        }
        ticks = ++shared.testClock;
    } else {
        ticks = CurrentTicks();
    }
    // Unsigned arithmetic keeps the difference right across the 49-day wrap of the ticks.
    return _running ? _accumulated + ticks - _startTicks : _accumulated;
}

void GameTime::SetTestSlow(int n)
{
    // A negative factor would make the sleep of every reading wrap to weeks.
    const int factor = std::max(n, 0);
    SharedTicks& shared = Shared();
    // Both directions hand the current count over, so running clocks go on without a jump.
    const unsigned int now = CurrentTicks();
    if (factor != 0) {
        shared.testClock = now;
    } else if (shared.testSlow != 0) {
        shared.skipped = TickSource::Now() - now;
    }
    shared.testSlow = factor;
}
