#include "framework/media/Audio.h"

#include "SDL.h"
#include "SDL_mixer.h"

namespace {

// Set by PauseWhileSilent; main thread only.
bool& SilencePause()
{
    static bool paused = false;
    return paused;
}

} // namespace

Audio::Audio() : Debug("Audio") {}

Audio::~Audio() = default;

bool Audio::Open(int bufferSize, int frequency, unsigned short format, int channels)
{
    Close();
    return Mix_OpenAudio(frequency, format, channels, bufferSize) == 0;
}

void Audio::Close()
{
    SilencePause() = false;
    const int openings = Mix_QuerySpec(nullptr, nullptr, nullptr);
    for (int i = 0; i < openings; ++i) {
        Mix_CloseAudio();
    }
}

void Audio::PauseWhileSilent()
{
    if (SilencePause() || !IsOpen() || Mix_Playing(-1) != 0) {
        return;
    }
    const bool musicHeard =
        Mix_PlayingMusic() != 0 && (Mix_VolumeMusic(-1) != 0 || Mix_FadingMusic() != MIX_NO_FADING);
    if (musicHeard) {
        return;
    }
    SDL_PauseAudio(1);
    SilencePause() = true;
}

void Audio::ResumeDevice()
{
    if (!SilencePause()) {
        return;
    }
    SilencePause() = false;
    if (IsOpen()) {
        SDL_PauseAudio(0);
    }
}

bool Audio::DevicePaused()
{
    return SilencePause();
}

bool Audio::IsOpen()
{
    return Mix_QuerySpec(nullptr, nullptr, nullptr) != 0;
}

int Audio::GetFrequency()
{
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    return Mix_QuerySpec(&frequency, &format, &channels) != 0 ? frequency : 0;
}

unsigned short Audio::GetFormat()
{
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    return Mix_QuerySpec(&frequency, &format, &channels) != 0 ? format : 0;
}

int Audio::GetChannels()
{
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    return Mix_QuerySpec(&frequency, &format, &channels) != 0 ? channels : 0;
}
