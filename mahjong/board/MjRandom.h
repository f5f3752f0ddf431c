#pragma once

#include <cstdint>

// The game's one pseudo-random generator. Every draw of the game goes through it (deal, tile
// fades and jitter, fly-ins), so a stored seed deals the same board on every machine: the rule is
// fixed here rather than left to the C library, whose range and sequence differ between systems.
class MjRandom
{
public:
    static constexpr int kMax = 32767;

    // Sets the state; the next Next() is the first draw of this seed.
    static void Seed(uint32_t seed) { State() = seed; }
    // A value from 0 to kMax.
    static int Next()
    {
        uint32_t& state = State();
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 32767u);
    }

private:
    static uint32_t& State()
    {
        static uint32_t state = 1;
        return state;
    }
};
