#include "framework/media/Audio.h"

#include "SDL_mixer.h"

Audio::Audio() : Debug("Audio") {}

Audio::~Audio() = default;

bool Audio::Open(int bufferSize, int frequency, unsigned short format, int channels)
{
    Close();
    return Mix_OpenAudio(frequency, format, channels, bufferSize) == 0;
}

void Audio::Close()
{
    const int openings = Mix_QuerySpec(nullptr, nullptr, nullptr);
    for (int i = 0; i < openings; ++i) {
        Mix_CloseAudio();
    }
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
