#include "framework/media/Music.h"

#include "framework/media/Audio.h"

namespace {

// The stream last handed to the mixer: the only one that can be playing, paused or fading.
Mix_Music*& CurrentStream()
{
    static Mix_Music* current = nullptr;
    return current;
}

} // namespace

Music::Music(const char* file)
    : Debug(std::string("Music") + (file != nullptr ? file : "")),
      _file(file != nullptr ? file : ""), _music(file != nullptr ? Mix_LoadMUS(file) : nullptr)
{
    if (_music == nullptr) {
        DebugVar(-1, "Cannot load music %s: %s", file != nullptr ? file : "(null)", Mix_GetError());
    }
}

Music::~Music()
{
    if (_music == nullptr) {
        return;
    }
    if (CurrentStream() == _music) {
        Mix_HaltMusic();
        CurrentStream() = nullptr;
    }
    Mix_FreeMusic(_music);
}

Music* Music::LoadMusic(const std::string& file)
{
    return new Music(file.c_str());
}

Mix_MusicType Music::GetType() const
{
    // The mixer answers for the playing stream when given none.
    return _music != nullptr ? Mix_GetMusicType(_music) : MUS_NONE;
}

int Music::MixerLoops(int loops)
{
    return loops > 0 ? loops - 1 : loops;
}

void Music::HaltStalledFade()
{
    if (Mix_PausedMusic() == 1 && Mix_FadingMusic() == MIX_FADING_OUT) {
        Mix_HaltMusic();
    }
}

bool Music::Play(Music* m, int loops)
{
    if (m == nullptr || m->_music == nullptr || !Audio::IsOpen()) {
        return false;
    }
    HaltStalledFade();
    Audio::ResumeDevice();
    if (Mix_PlayMusic(m->_music, MixerLoops(loops)) != 0) {
        return false;
    }
    CurrentStream() = m->_music;
    return true;
}

bool Music::FadeIn(Music* m, int ms, int loops, double position)
{
    Stop();
    if (m == nullptr || m->_music == nullptr || !Audio::IsOpen()) {
        return false;
    }
    Audio::ResumeDevice();
    if (Mix_FadeInMusicPos(m->_music, MixerLoops(loops), ms, position) != 0) {
        return false;
    }
    CurrentStream() = m->_music;
    return true;
}

void Music::FadeOut(int ms)
{
    Mix_FadeOutMusic(ms);
}

void Music::Pause()
{
    Mix_PauseMusic();
}

void Music::Resume()
{
    Audio::ResumeDevice();
    Mix_ResumeMusic();
}

void Music::Rewind()
{
    Mix_RewindMusic();
}

void Music::Stop()
{
    Mix_HaltMusic();
}

void Music::SetVolume(int volume)
{
    Mix_VolumeMusic(volume);
}

int Music::GetVolume()
{
    return Mix_VolumeMusic(-1);
}

bool Music::IsPlaying()
{
    return Mix_PlayingMusic() == 1;
}

bool Music::IsPaused()
{
    return Mix_PausedMusic() == 1;
}

bool Music::IsFading()
{
    return Mix_FadingMusic() != MIX_NO_FADING;
}

bool Music::IsFadingOut()
{
    return Mix_FadingMusic() == MIX_FADING_OUT;
}

bool Music::IsFadingIn()
{
    return Mix_FadingMusic() == MIX_FADING_IN;
}
