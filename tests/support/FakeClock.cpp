#include "tests/support/FakeClock.h"

#include <atomic>

namespace testsupport {

namespace {

std::atomic<unsigned int> g_now{0};

unsigned int ReadFake()
{
    return g_now.load();
}

} // namespace

FakeClock::FakeClock(unsigned int start) : _previous(TickSource::Get())
{
    g_now.store(start);
    TickSource::Set(&ReadFake);
}

FakeClock::~FakeClock()
{
    TickSource::Set(_previous);
}

unsigned int FakeClock::Now() const
{
    return g_now.load();
}

void FakeClock::Set(unsigned int ms)
{
    g_now.store(ms);
}

void FakeClock::Advance(unsigned int ms)
{
    g_now.fetch_add(ms);
}

} // namespace testsupport
