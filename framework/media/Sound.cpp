#include "framework/media/Sound.h"

#include "framework/media/Audio.h"
#include "framework/media/Channel.h"

#include <mutex>
#include <vector>

namespace {

using SoundMap = std::map<std::string, Sound*>;

struct Registry
{
    std::mutex lock;
    std::vector<SoundMap> maps; // in registration order
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

} // namespace

Sound::Sound(const char* file, bool deferLoad)
    : Debug(std::string("Sound") + (file != nullptr ? file : "")),
      _file(file != nullptr ? file : "")
{
    if (!deferLoad) {
        Init();
    }
}

Sound::~Sound()
{
    if (_chunk != nullptr) {
        Mix_FreeChunk(_chunk);
    }
}

Sound* Sound::LoadSound(const std::string& file, bool deferLoad)
{
    return new Sound(file.c_str(), deferLoad);
}

void Sound::Init()
{
    if (_chunk != nullptr) {
        return;
    }
    SDL_RWops* stream = SDL_RWFromFile(_file.c_str(), "rb");
    if (stream != nullptr) {
        _chunk = Mix_LoadWAV_RW(stream, 1); // the mixer closes the stream
    }
    if (_chunk == nullptr && !_reportedLoadFailure) {
        _reportedLoadFailure = true;
        DebugVar(-1, "Cannot load sound %s: %s", _file.c_str(), Mix_GetError());
    }
}

Sound* Sound::Find(const std::string& name)
{
    for (const SoundMap& map : TheRegistry().maps) {
        const auto it = map.find(name);
        if (it != map.end()) {
            return it->second;
        }
    }
    return nullptr;
}

void Sound::Init(const std::string& name)
{
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> guard(registry.lock);
    if (Sound* sound = Find(name)) {
        sound->Init();
    }
}

void Sound::SetVolume(int volume)
{
    if (_chunk != nullptr) {
        Mix_VolumeChunk(_chunk, volume);
    }
}

int Sound::GetVolume()
{
    return _chunk != nullptr ? Mix_VolumeChunk(_chunk, -1) : -1;
}

int Sound::Play(int loops)
{
    Init();
    Channel* channel = Channel::GetChannel(-1);
    channel->Play(this, loops, -1);
    return channel->GetChannelNum();
}

int Sound::Play(const std::string& name, int loops)
{
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> guard(registry.lock);
    Sound* sound = Find(name);
    if (sound == nullptr) {
        return kNotPlayed;
    }
    return sound->Play(loops);
}

int Sound::FadeIn(const std::string& name, int ms, int loops)
{
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> guard(registry.lock);
    Sound* sound = Find(name);
    if (sound == nullptr) {
        return kNotPlayed;
    }
    sound->Init();
    Channel* channel = Channel::GetChannel(-1);
    channel->FadeIn(sound, ms, loops, -1);
    return channel->GetChannelNum();
}

void Sound::RegisterSounds(std::map<std::string, Sound*>& sounds)
{
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> guard(registry.lock);
    registry.maps.push_back(sounds);
}

void Sound::UnRegisterSounds(std::map<std::string, Sound*>& sounds)
{
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> guard(registry.lock);
    for (auto it = registry.maps.begin(); it != registry.maps.end(); ++it) {
        if (*it == sounds) {
            registry.maps.erase(it);
            return;
        }
    }
}

void Sound::Pause()
{
    // With the device closed the mixer's channel table is gone.
    if (Audio::IsOpen()) {
        Mix_Pause(-1);
    }
}

void Sound::Resume()
{
    if (Audio::IsOpen()) {
        Audio::ResumeDevice();
        Mix_Resume(-1);
    }
}
