#include "framework/media/Channel.h"

#include "SDL_mixer.h"
#include "framework/media/Audio.h"
#include "framework/media/Sound.h"

#include <memory>
#include <vector>

namespace {

constexpr int kNullNumber = -1;

// Made on first use, so no engine object exists before the program has set itself up.
std::vector<std::unique_ptr<Channel>>& Pool()
{
    static std::vector<std::unique_ptr<Channel>> pool;
    return pool;
}

// Made when first asked for and released with the pool, so that the object report written at
// shut-down (after the pool is released) never counts it as left behind.
std::unique_ptr<Channel>& NullChannelSlot()
{
    static std::unique_ptr<Channel> nullChannel;
    return nullChannel;
}

Channel& NullChannel()
{
    std::unique_ptr<Channel>& slot = NullChannelSlot();
    if (slot == nullptr) {
        slot = std::make_unique<Channel>(kNullNumber);
    }
    return *slot;
}

} // namespace

Channel::Channel(int number) : Debug("Channel"), _number(number) {}

Channel::~Channel() = default;

bool Channel::CanAct() const
{
    return Audio::IsOpen() && _number >= kNullNumber && _number < Mix_AllocateChannels(-1);
}

bool Channel::Play(Sound* s, int loops, int ticks)
{
    if (s == nullptr || s->GetChunk() == nullptr || !CanAct()) {
        return false;
    }
    Audio::ResumeDevice();
    return Mix_PlayChannelTimed(_number, s->GetChunk(), loops, ticks) != -1;
}

bool Channel::FadeIn(Sound* s, int ms, int loops, int ticks)
{
    if (s == nullptr || s->GetChunk() == nullptr || !CanAct()) {
        return false;
    }
    Audio::ResumeDevice();
    return Mix_FadeInChannelTimed(_number, s->GetChunk(), loops, ms, ticks) != -1;
}

bool Channel::Pause()
{
    if (!CanAct()) {
        return false;
    }
    Mix_Pause(_number);
    return true;
}

bool Channel::Resume()
{
    if (!CanAct()) {
        return false;
    }
    Audio::ResumeDevice();
    Mix_Resume(_number);
    return true;
}

bool Channel::Stop()
{
    if (!CanAct()) {
        return false;
    }
    Mix_HaltChannel(_number);
    return true;
}

bool Channel::FadeOut(int ms)
{
    return CanAct() && Mix_FadeOutChannel(_number, ms) != 0;
}

bool Channel::Expire(int ms)
{
    return CanAct() && Mix_ExpireChannel(_number, ms) != 0;
}

bool Channel::IsPlaying()
{
    return CanAct() && Mix_Playing(_number) != 0;
}

bool Channel::IsPaused()
{
    return CanAct() && Mix_Paused(_number) != 0;
}

int Channel::Fading() const
{
    return CanAct() ? Mix_FadingChannel(_number) : MIX_NO_FADING;
}

bool Channel::IsFading()
{
    return Fading() != MIX_NO_FADING;
}

bool Channel::IsFadingIn()
{
    return Fading() == MIX_FADING_IN;
}

bool Channel::IsFadingOut()
{
    return Fading() == MIX_FADING_OUT;
}

bool Channel::Allocate(int n)
{
    const int granted = n > 0 ? Mix_AllocateChannels(n) : 0;
    auto& pool = Pool();
    while (static_cast<int>(pool.size()) > granted) {
        pool.pop_back();
    }
    while (static_cast<int>(pool.size()) < granted) {
        pool.push_back(std::make_unique<Channel>(static_cast<int>(pool.size())));
    }
    if (granted == 0) {
        NullChannelSlot().reset();
    }
    return granted == n;
}

int Channel::ChannelCount()
{
    return static_cast<int>(Pool().size());
}

Channel* Channel::GetChannel(int n)
{
    auto& pool = Pool();
    if (n == kNullNumber) {
        for (const auto& channel : pool) {
            if (!channel->IsPlaying()) {
                return channel.get();
            }
        }
        return &NullChannel();
    }
    if (n >= 0 && n < static_cast<int>(pool.size())) {
        return pool[n].get();
    }
    return &NullChannel();
}

void Channel::StopAll()
{
    for (const auto& channel : Pool()) {
        if (channel->IsPlaying()) {
            channel->Stop();
        }
    }
}

void Channel::FadeAll(int ms)
{
    for (const auto& channel : Pool()) {
        if (channel->IsPlaying()) {
            channel->FadeOut(ms);
        }
    }
}
