#include "framework/media/Audio.h"

#include "SDL.h"
#include "SDL_mixer.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

class AudioTest : public ::testing::Test
{
protected:
    void TearDown() override { Audio::Close(); }
};

TEST_F(AudioTest, ReportsTheOpenDeviceAndZeroWhenClosed)
{
    EXPECT_FALSE(Audio::IsOpen());
    EXPECT_EQ(Audio::GetFrequency(), 0);
    EXPECT_EQ(Audio::GetFormat(), 0);
    EXPECT_EQ(Audio::GetChannels(), 0);

    ASSERT_TRUE(Audio::Open(1024, 22050, AUDIO_S16LSB, 2));
    EXPECT_TRUE(Audio::IsOpen());
    EXPECT_EQ(Audio::GetFrequency(), 22050);
    EXPECT_EQ(Audio::GetFormat(), AUDIO_S16LSB);
    EXPECT_EQ(Audio::GetChannels(), 2);

    Audio::Close();
    EXPECT_FALSE(Audio::IsOpen());
    EXPECT_EQ(Audio::GetFrequency(), 0);
    EXPECT_EQ(Audio::GetFormat(), 0);
    EXPECT_EQ(Audio::GetChannels(), 0);
    Audio::Close(); // closing a closed device does nothing
}

TEST_F(AudioTest, OneCloseEndsEveryOpening)
{
    ASSERT_TRUE(Audio::Open(1024, 22050, AUDIO_S16LSB, 2));
    ASSERT_TRUE(Audio::Open(512, 44100, AUDIO_S16LSB, 1));
    EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(Audio::GetFrequency(), 44100);
    EXPECT_EQ(Audio::GetChannels(), 1);

    // Openings made past this class count too (the mixer counts one in the same format).
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 1, 512), 0);
    EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 2);
    Audio::Close();
    EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 0);
}

TEST_F(AudioTest, DeviceThatCannotOpenLeavesTheAudioClosed)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_FALSE(Audio::Open(1024, 22050, AUDIO_S16LSB, 2));
    EXPECT_FALSE(Audio::IsOpen());
    EXPECT_EQ(Audio::GetFrequency(), 0);
}

} // namespace
