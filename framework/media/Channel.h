#pragma once

#include "framework/core/Debug.h"
#include "framework/core/Export.h"

#include <cstdint>

class Sound;

// One of the mixer's channels, by number. The pool (Allocate) holds one object per allocated
// channel; anyone may make a Channel for a number to act on that channel.
//
// The null channel (number -1) is what a request gets when no pool entry fits; playing on it
// lets the mixer pick a free channel. Every other operation passes the number to the mixer as
// it is, and the mixer reads -1 as every channel: a sound played with Sound::Play on the null
// channel returns -1, and a Channel(-1) made from that number must still be able to stop it.
class FRAMEWORK_API Channel : public Debug
{
public:
    explicit Channel(int number);
    ~Channel() override;

    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    int GetChannelNum() const { return _number; }
    bool IsNull() const { return _number < 0; }

    // loops as the mixer counts them (0 once, -1 for ever); ticks -1 for no time limit.
    // False when the mixer refuses, also for a sound that is not loaded.
    bool Play(Sound* s, int loops, int ticks);
    // Fades in over ms, then plays as Play does.
    bool FadeIn(Sound* s, int ms, int loops, int ticks);
    // True while the device is open, for -1 and the allocated numbers; false for others.
    bool Pause();
    bool Resume();
    bool Stop();
    // True when the mixer reached a channel.
    bool FadeOut(int ms);
    // Stops the channel after ms.
    bool Expire(int ms);

    bool IsPlaying();
    bool IsPaused();
    bool IsFading();
    bool IsFadingIn();
    bool IsFadingOut();

    // Asks the mixer for n channels (none for n <= 0) and makes the pool match what it granted:
    // entry k has number k. True when it granted n.
    static bool Allocate(int n);
    static int ChannelCount();
    // n = -1: the first pool entry that is not playing; 0 <= n < ChannelCount(): that entry;
    // otherwise, and when every entry plays, the null channel. Never null; the null channel goes
    // with the pool (Allocate(0)), so a pointer to it is not kept across that.
    static Channel* GetChannel(int n);
    static void StopAll();
    static void FadeAll(int ms);

private:
    // An open device and a number the mixer can read (-1 or an allocated channel): mixer calls
    // on a closed device read freed memory, and other numbers index past its channel table.
    bool CanAct() const;
    int Fading() const;

    int32_t _number;
};
