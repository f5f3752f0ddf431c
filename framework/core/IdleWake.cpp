#include "framework/core/IdleWake.h"

#include <atomic>
#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

struct WakeState
{
    std::atomic<bool> pending{false};
    int fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
};

WakeState& State()
{
    static WakeState state;
    return state;
}

} // namespace

void IdleWake::Wake()
{
    WakeState& state = State();
    state.pending.store(true);
    if (state.fd >= 0) {
        const uint64_t one = 1;
        // Full only after 2^64 - 1 wakes nobody took: nothing to do then.
        [[maybe_unused]] const ssize_t written = write(state.fd, &one, sizeof one);
    }
}

bool IdleWake::Take()
{
    WakeState& state = State();
    bool woken = state.pending.exchange(false);
    if (state.fd >= 0) {
        // Emptied every time: a wake written after the flag was taken must not leave the
        // descriptor readable for ever.
        uint64_t count = 0;
        woken = read(state.fd, &count, sizeof count) == sizeof count || woken;
    }
    return woken;
}

int IdleWake::Fd()
{
    return State().fd;
}
