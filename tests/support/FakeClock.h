#pragma once

#include "framework/core/TickSource.h"

namespace testsupport {

// The engine's one tick source, held at a time the test sets. Installs itself on construction
// and restores the previous reader when it goes out of scope. One at a time, main thread.
class FakeClock
{
public:
    explicit FakeClock(unsigned int start = 1000);
    ~FakeClock();
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    unsigned int Now() const;
    void Set(unsigned int ms);
    void Advance(unsigned int ms);

private:
    TickSource::Reader _previous;
};

} // namespace testsupport
