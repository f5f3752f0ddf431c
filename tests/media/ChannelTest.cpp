#include "framework/media/Channel.h"

#include "SDL.h"
#include "SDL_mixer.h"
#include "framework/media/Audio.h"
#include "framework/media/Sound.h"
#include "tests/media/MediaTestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <string>

namespace {

using mediatest::WaitUntil;

class ChannelTest : public mediatest::AudioTestBase
{
protected:
    void SetUp() override
    {
        AudioTestBase::SetUp();
        _tone = std::make_unique<Sound>(kTone, false);
        ASSERT_TRUE(_tone->IsValid());
    }
    void TearDown() override
    {
        Channel::Allocate(0);
        _tone.reset();
        AudioTestBase::TearDown();
    }

    // Starts the tone repeating for ever on pool channel n.
    void Loop(int n) { ASSERT_TRUE(Channel::GetChannel(n)->Play(_tone.get(), -1, -1)); }

    std::unique_ptr<Sound> _tone;
};

TEST_F(ChannelTest, PoolFollowsWhatTheMixerGrants)
{
    EXPECT_EQ(Channel::ChannelCount(), kChannels);
    for (int n = 0; n < kChannels; ++n) {
        EXPECT_EQ(Channel::GetChannel(n)->GetChannelNum(), n);
    }
    EXPECT_EQ(Mix_AllocateChannels(-1), kChannels);

    EXPECT_TRUE(Channel::Allocate(4));
    EXPECT_EQ(Channel::ChannelCount(), 4);
    EXPECT_EQ(Mix_AllocateChannels(-1), 4);
    EXPECT_EQ(Channel::GetChannel(5)->GetChannelNum(), -1);

    EXPECT_TRUE(Channel::Allocate(0));
    EXPECT_EQ(Channel::ChannelCount(), 0);
    EXPECT_EQ(Channel::GetChannel(-1)->GetChannelNum(), -1);
}

TEST_F(ChannelTest, GetChannelFindsTheFirstFreeEntryOrTheNullChannel)
{
    struct Case
    {
        int request;
        int expected;
    };
    const Case cases[] = {{3, 3}, {0, 0}, {9, 9}, {10, -1}, {12, -1}, {-2, -1}, {-1, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(Channel::GetChannel(c.request)->GetChannelNum(), c.expected) << c.request;
    }
    Loop(0);
    Loop(1);
    EXPECT_EQ(Channel::GetChannel(-1)->GetChannelNum(), 2);
    for (int n = 2; n < kChannels; ++n) {
        Loop(n);
    }
    Channel* none = Channel::GetChannel(-1);
    EXPECT_EQ(none->GetChannelNum(), -1);
    EXPECT_EQ(Channel::GetChannel(12), none);
}

// Every channel busy, as on a board playing many sounds at once: the null channel stands in,
// and it goes with the pool, so the shut-down report does not count it as left behind.
TEST_F(ChannelTest, TheNullChannelGoesWithThePool)
{
    for (int n = 0; n < kChannels; ++n) {
        Loop(n);
    }
    ASSERT_EQ(Channel::GetChannel(-1)->GetChannelNum(), -1);
    Channel::Allocate(0);
    _tone.reset();
    Debug::CloseDebugFile();
    std::ifstream log("debug.txt");
    const std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("Total objects used"), std::string::npos);
    EXPECT_EQ(text.find("-Channel,"), std::string::npos) << text;
}

TEST_F(ChannelTest, OperationsActOnTheirOwnChannelOnly)
{
    Loop(0);
    Loop(1);
    Channel* zero = Channel::GetChannel(0);
    Channel* one = Channel::GetChannel(1);
    EXPECT_TRUE(zero->IsPlaying());
    EXPECT_FALSE(zero->IsFading());

    EXPECT_TRUE(zero->Pause());
    EXPECT_TRUE(zero->IsPaused());
    EXPECT_FALSE(one->IsPaused());
    EXPECT_TRUE(zero->IsPlaying()); // a paused channel is still taken
    EXPECT_TRUE(zero->Resume());
    EXPECT_FALSE(zero->IsPaused());

    EXPECT_TRUE(zero->FadeOut(400));
    EXPECT_TRUE(zero->IsFadingOut());
    EXPECT_TRUE(zero->IsFading());
    EXPECT_FALSE(zero->IsFadingIn());
    EXPECT_FALSE(one->IsFading());
    EXPECT_TRUE(WaitUntil([&] { return !zero->IsPlaying(); }, 3000));
    EXPECT_TRUE(one->IsPlaying());

    EXPECT_TRUE(one->Expire(100));
    EXPECT_TRUE(WaitUntil([&] { return !one->IsPlaying(); }, 3000));

    Loop(2);
    Channel* two = Channel::GetChannel(2);
    EXPECT_TRUE(two->Stop());
    EXPECT_FALSE(two->IsPlaying());
}

TEST_F(ChannelTest, FadeInRisesThenPlays)
{
    Channel* three = Channel::GetChannel(3);
    ASSERT_TRUE(three->FadeIn(_tone.get(), 600, -1, -1));
    EXPECT_TRUE(three->IsFadingIn());
    EXPECT_TRUE(three->IsFading());
    EXPECT_TRUE(WaitUntil([&] { return !three->IsFading(); }, 3000));
    EXPECT_TRUE(three->IsPlaying());
}

TEST_F(ChannelTest, TicksLimitThePlay)
{
    Channel* zero = Channel::GetChannel(0);
    ASSERT_TRUE(zero->Play(_tone.get(), -1, 100));
    EXPECT_TRUE(WaitUntil([&] { return !zero->IsPlaying(); }, 3000));
}

// A cue played when no pool entry was free carries the number -1; the channel made from that
// number must still end it. The mixer reads -1 as every channel.
TEST_F(ChannelTest, NullChannelActsOnEveryChannelAsTheMixerReadsIt)
{
    Channel made(-1);
    Channel* found = Channel::GetChannel(12);
    ASSERT_EQ(found->GetChannelNum(), -1);
    for (Channel* every : {&made, found}) {
        SCOPED_TRACE(every == &made ? "made" : "found");
        Loop(0);
        ASSERT_TRUE(every->Play(_tone.get(), -1, -1)); // the mixer picks channel 1
        EXPECT_TRUE(every->IsPlaying());
        EXPECT_EQ(Mix_Playing(-1), 2);

        EXPECT_TRUE(every->Pause());
        EXPECT_TRUE(Channel::GetChannel(0)->IsPaused());
        EXPECT_TRUE(Channel::GetChannel(1)->IsPaused());
        EXPECT_TRUE(every->IsPaused());
        EXPECT_TRUE(every->Resume());
        EXPECT_FALSE(every->IsPaused());

        EXPECT_TRUE(every->FadeOut(5000));
        EXPECT_TRUE(Channel::GetChannel(0)->IsFadingOut());
        EXPECT_TRUE(Channel::GetChannel(1)->IsFadingOut());
        EXPECT_TRUE(every->Stop());
        EXPECT_EQ(Mix_Playing(-1), 0);
        EXPECT_FALSE(every->IsPlaying());

        // With nothing playing, Stop and Expire still answer for the open device (the mixer
        // sets every channel's expiry); a fade answers with the channels it reached.
        EXPECT_TRUE(every->Stop());
        EXPECT_TRUE(every->Expire(10));
        EXPECT_FALSE(every->FadeOut(10));
        every->Expire(0);

        Loop(0);
        Loop(1);
        EXPECT_TRUE(every->Expire(50));
        EXPECT_TRUE(WaitUntil([] { return Mix_Playing(-1) == 0; }, 3000));
    }
}

// Numbers the mixer has no channel for are left alone: it would index past its table.
TEST_F(ChannelTest, NumbersOutsideThePoolDoNothing)
{
    Loop(0);
    Loop(1);
    Channel::GetChannel(1)->Pause();
    for (int number : {-2, kChannels, 12}) {
        Channel none(number);
        EXPECT_FALSE(none.Stop()) << number;
        EXPECT_FALSE(none.Pause()) << number;
        EXPECT_FALSE(none.Resume()) << number;
        EXPECT_FALSE(none.FadeOut(10)) << number;
        EXPECT_FALSE(none.Expire(10)) << number;
        EXPECT_FALSE(none.IsPlaying()) << number;
        EXPECT_FALSE(none.IsPaused()) << number;
        EXPECT_FALSE(none.IsFading()) << number;
        EXPECT_FALSE(none.Play(_tone.get(), 0, -1)) << number;
    }
    SDL_Delay(100);
    EXPECT_TRUE(Channel::GetChannel(0)->IsPlaying());
    EXPECT_FALSE(Channel::GetChannel(0)->IsPaused());
    EXPECT_FALSE(Channel::GetChannel(0)->IsFading());
    EXPECT_TRUE(Channel::GetChannel(1)->IsPaused());
    EXPECT_EQ(Mix_Playing(-1), 2);
}

TEST_F(ChannelTest, StopAllAndFadeAllReachEveryPlayingEntry)
{
    Loop(0);
    Loop(4);
    Loop(9);
    Channel::FadeAll(2000);
    for (int n : {0, 4, 9}) {
        EXPECT_TRUE(Channel::GetChannel(n)->IsFadingOut()) << n;
    }
    EXPECT_FALSE(Channel::GetChannel(1)->IsFading());
    Channel::StopAll();
    EXPECT_EQ(Mix_Playing(-1), 0);
}

TEST_F(ChannelTest, SampleThatIsNotLoadedDoesNotPlay)
{
    Sound missing("audio/missing.wav", false);
    ASSERT_FALSE(missing.IsValid());
    Channel* zero = Channel::GetChannel(0);
    EXPECT_FALSE(zero->Play(&missing, 0, -1));
    EXPECT_FALSE(zero->FadeIn(&missing, 100, 0, -1));
    EXPECT_FALSE(zero->Play(nullptr, 0, -1));
    EXPECT_FALSE(zero->IsPlaying());
}

TEST_F(ChannelTest, ChannelsDoNothingOnceTheDeviceIsClosed)
{
    Loop(0);
    Audio::Close();
    Channel* zero = Channel::GetChannel(0);
    EXPECT_FALSE(zero->IsPlaying());
    EXPECT_FALSE(zero->Stop());
    EXPECT_FALSE(zero->Pause());
    EXPECT_FALSE(zero->Play(_tone.get(), 0, -1));
    Channel every(-1);
    EXPECT_FALSE(every.Stop());
    EXPECT_FALSE(every.Pause());
    EXPECT_FALSE(every.Expire(10));
    Channel::StopAll();
    Channel::FadeAll(10);
    Sound::Pause();
    Sound::Resume();
    EXPECT_EQ(Channel::GetChannel(-1)->GetChannelNum(), 0);
}

} // namespace
