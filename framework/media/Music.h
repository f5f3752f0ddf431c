#pragma once

#include "SDL_mixer.h"
#include "framework/core/Debug.h"
#include "framework/core/Export.h"

#include <string>

// One music file loaded as a mixer stream. The mixer plays one stream at a time, so everything
// but loading acts on whatever stream plays.
//
// Loop counts here are one above the mixer's: a positive count n plays through n times and
// reaches the mixer as n - 1; 0 and negative counts reach it unchanged (-1 repeats for ever).
class FRAMEWORK_API Music : public Debug
{
public:
    // A file that cannot be loaded is logged and leaves an invalid music that never plays.
    explicit Music(const char* file);
    // Halts the stream first when it is the one playing, so that freeing it cannot wait for a
    // fade that a pause keeps from ending.
    ~Music() override;

    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;

    // A new music, owned by the caller.
    static Music* LoadMusic(const std::string& file);

    Mix_Music* GetMusic() const { return _music; }
    bool IsValid() const { return _music != nullptr; }
    // The file it was made from, loaded or not.
    const std::string& GetFile() const { return _file; }
    Mix_MusicType GetType() const;

    // Replaces the playing stream as the mixer does. False when nothing plays.
    static bool Play(Music* m, int loops);
    // Stops what plays, then fades m in over ms starting at position seconds.
    static bool FadeIn(Music* m, int ms, int loops, double position);
    static void FadeOut(int ms);
    static void Pause();
    static void Resume();
    static void Rewind();
    static void Stop();

    // Volume 0..128.
    static void SetVolume(int volume);
    static int GetVolume();

    static bool IsPlaying();
    static bool IsPaused();
    static bool IsFading();
    static bool IsFadingOut();
    static bool IsFadingIn();

private:
    // The mixer value of a loop count.
    static int MixerLoops(int loops);
    // A paused fade-out never ends, and the mixer waits for it before it starts or frees a
    // stream: halt such a stream first.
    static void HaltStalledFade();

    std::string _file;
    Mix_Music* _music = nullptr; // owned; freed by the destructor
};
