#include "framework/media/Sound.h"

#include "SDL_mixer.h"
#include "framework/core/ConfigFile.h"
#include "framework/media/Audio.h"
#include "framework/media/Channel.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/support/TestSupport.h"

#include <atomic>
#include <cstdio>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <thread>

namespace {

using mediatest::ReadLog;
using mediatest::WaitUntil;
using SoundMap = std::map<std::string, Sound*>;

bool Playing(int channel)
{
    return Channel::GetChannel(channel)->IsPlaying();
}

class SoundTest : public mediatest::AudioTestBase
{
protected:
    // A configuration file whose "sounds" section names the given entries.
    std::unique_ptr<ConfigFile> SoundsFile(const std::string& name, const std::string& entries)
    {
        const std::string path = "cfg/" + name + ".cfg";
        mediatest::MakeParentDirs(path);
        EXPECT_TRUE(testsupport::WriteFile(path, "[sounds]\n" + entries));
        return std::make_unique<ConfigFile>(path, false, true, false);
    }
};

TEST_F(SoundTest, SoundsSectionRegistersEffectsByName)
{
    ASSERT_TRUE(mediatest::WriteWav("audio/late.wav", 400, 12000));
    auto config = SoundsFile("ui", "CLICK=audio/tone.wav\nDELAY_LATE=audio/late.wav\n");

    // Played by name on the first free channel: 0, then 1 while 0 still plays.
    EXPECT_EQ(Sound::Play("CLICK", -1), 0);
    EXPECT_EQ(Sound::Play("CLICK", 0), 1);
    EXPECT_TRUE(Playing(0));
    EXPECT_TRUE(Playing(1));
    EXPECT_EQ(Sound::Play("LATE", 0), 2);
    EXPECT_TRUE(Playing(2));
    // The prefix only asks for the late load; it is not part of the name.
    EXPECT_EQ(Sound::Play("DELAY_LATE", 0), Sound::kNotPlayed);
}

TEST_F(SoundTest, DelayedEntryLoadsOnFirstPlay)
{
    ASSERT_TRUE(mediatest::WriteWav("audio/late.wav", 400, 12000));
    auto config = SoundsFile("ui", "NOW=audio/tone.wav\nDELAY_LATE=audio/late.wav\n");
    // Take both files away: only the sound loaded at construction can still play.
    ASSERT_EQ(std::rename("audio/late.wav", "audio/late.away"), 0);
    ASSERT_EQ(std::rename("audio/tone.wav", "audio/tone.away"), 0);
    EXPECT_EQ(Sound::Play("NOW", 0), 0);
    EXPECT_TRUE(Playing(0));
    EXPECT_EQ(Sound::Play("LATE", 0), 1); // the channel it was given, silent
    EXPECT_FALSE(Playing(1));

    // A failed load is tried again by the next play.
    ASSERT_EQ(std::rename("audio/late.away", "audio/late.wav"), 0);
    EXPECT_EQ(Sound::Play("LATE", 0), 1);
    EXPECT_TRUE(Playing(1));
}

TEST_F(SoundTest, DeferredSoundHasNoSampleUntilItIsPlayed)
{
    Sound late(kTone, true);
    EXPECT_EQ(late.GetName(), std::string("Sound") + kTone);
    EXPECT_FALSE(late.IsValid());
    SoundMap sounds{{"LATE", &late}};
    Sound::RegisterSounds(sounds);
    EXPECT_FALSE(late.IsValid());
    EXPECT_EQ(Sound::Play("LATE", 0), 0);
    EXPECT_TRUE(late.IsValid());

    Sound other(kTone, true);
    SoundMap more{{"OTHER", &other}};
    Sound::RegisterSounds(more);
    Sound::Init("OTHER");
    EXPECT_TRUE(other.IsValid());
    Sound::Init("NOBODY");

    Sound direct(kTone, true);
    EXPECT_EQ(direct.Play(0), 1);
    EXPECT_TRUE(direct.IsValid());
    Sound::UnRegisterSounds(sounds);
    Sound::UnRegisterSounds(more);
}

TEST_F(SoundTest, UnregisteringWithItsConfigurationFreesTheSounds)
{
    ASSERT_TRUE(mediatest::WriteWav("audio/other.wav", 400, 12000));
    auto first = SoundsFile("first", "A=audio/tone.wav\n");
    auto second = SoundsFile("second", "B=audio/other.wav\n");
    EXPECT_EQ(Sound::Play("A", -1), 0);
    EXPECT_EQ(Sound::Play("B", -1), 1);

    first.reset();
    // A's sample is gone with its file, and the mixer stopped it; B plays on.
    EXPECT_FALSE(Playing(0));
    EXPECT_TRUE(Playing(1));
    EXPECT_EQ(Sound::Play("A", 0), Sound::kNotPlayed);
    EXPECT_EQ(Sound::Play("B", 0), 0);
}

TEST_F(SoundTest, UnknownNamePlaysNothingAndGetsNoChannel)
{
    auto config = SoundsFile("ui", "CLICK=audio/tone.wav\n");
    EXPECT_EQ(Sound::Play("NOSUCH", 0), Sound::kNotPlayed);
    EXPECT_EQ(Sound::FadeIn("NOSUCH", 100, 0), Sound::kNotPlayed);
    EXPECT_EQ(Mix_Playing(-1), 0);

    // So stopping "its" channel later cannot silence another sound.
    EXPECT_EQ(Sound::Play("CLICK", -1), 0);
    EXPECT_FALSE(Channel(Sound::Play("NOSUCH", 0)).Stop());
    EXPECT_TRUE(Playing(0));
}

TEST_F(SoundTest, FullPoolGivesNoChannel)
{
    auto config = SoundsFile("ui", "CLICK=audio/tone.wav\n");
    for (int n = 0; n < kChannels; ++n) {
        ASSERT_EQ(Sound::Play("CLICK", -1), n);
    }
    EXPECT_EQ(Sound::Play("CLICK", 0), Sound::kNoChannel);
    EXPECT_EQ(Sound::FadeIn("CLICK", 100, 0), Sound::kNoChannel);
    Channel::GetChannel(4)->Stop();
    EXPECT_EQ(Sound::Play("CLICK", 0), 4);
}

TEST_F(SoundTest, FadeInByNameFadesOnTheFirstFreeChannel)
{
    auto config = SoundsFile("ui", "CLICK=audio/tone.wav\n");
    EXPECT_EQ(Sound::Play("CLICK", -1), 0);
    EXPECT_EQ(Sound::FadeIn("CLICK", 1000, -1), 1);
    EXPECT_TRUE(Channel::GetChannel(1)->IsFadingIn());
    EXPECT_FALSE(Channel::GetChannel(0)->IsFading());
}

TEST_F(SoundTest, FirstRegisteredMapWinsAndOnlyAnEqualMapIsRemoved)
{
    Sound a(kTone, true);
    Sound b(kTone, true);
    SoundMap first{{"SAME", &a}};
    SoundMap second{{"SAME", &b}};
    Sound::RegisterSounds(first);
    Sound::RegisterSounds(second);
    Sound::Play("SAME", 0);
    EXPECT_TRUE(a.IsValid());
    EXPECT_FALSE(b.IsValid());

    // Same name, other sound: not the registered map, nothing is removed.
    Sound c(kTone, true);
    SoundMap lookalike{{"SAME", &c}};
    Sound::UnRegisterSounds(lookalike);
    Sound::UnRegisterSounds(first);
    Sound::Play("SAME", 0);
    EXPECT_TRUE(b.IsValid());
    Sound::UnRegisterSounds(second);
    EXPECT_EQ(Sound::Play("SAME", 0), Sound::kNotPlayed);
    EXPECT_FALSE(c.IsValid());
}

TEST_F(SoundTest, VolumeOfTheSample)
{
    Sound tone(kTone, false);
    tone.SetVolume(32);
    EXPECT_EQ(tone.GetVolume(), 32);
    // Without a sample there is nothing to set; the mixer would crash on it.
    Sound late(kTone, true);
    late.SetVolume(32);
    EXPECT_EQ(late.GetVolume(), -1);
}

TEST_F(SoundTest, PauseAndResumeEveryChannel)
{
    auto config = SoundsFile("ui", "CLICK=audio/tone.wav\n");
    Sound::Play("CLICK", -1);
    Sound::Play("CLICK", -1);
    Sound::Pause();
    EXPECT_TRUE(Channel::GetChannel(0)->IsPaused());
    EXPECT_TRUE(Channel::GetChannel(1)->IsPaused());
    Sound::Resume();
    EXPECT_FALSE(Channel::GetChannel(0)->IsPaused());
    EXPECT_FALSE(Channel::GetChannel(1)->IsPaused());
}

TEST_F(SoundTest, MissingSoundFileIsLoggedAndPlaysNothing)
{
    auto config = SoundsFile("ui", "GONE=audio/missing.wav\n");
    EXPECT_EQ(Sound::Play("GONE", 0), 0);
    EXPECT_EQ(Sound::Play("GONE", 0), 0);
    EXPECT_EQ(Mix_Playing(-1), 0);

    Sound* direct = Sound::LoadSound("audio/missing.wav", false);
    EXPECT_FALSE(direct->IsValid());
    EXPECT_EQ(direct->Play(0), 0);
    delete direct;
    EXPECT_EQ(Mix_Playing(-1), 0);

    const std::string log = ReadLog();
    EXPECT_NE(log.find("Missing Sound file audio/missing.wav"), std::string::npos);
    // Once per sound, however often it is played.
    const std::string line = "Cannot load sound audio/missing.wav";
    const auto first = log.find(line);
    ASSERT_NE(first, std::string::npos);
    const auto second = log.find(line, first + 1);
    ASSERT_NE(second, std::string::npos);
    EXPECT_EQ(log.find(line, second + 1), std::string::npos);
}

TEST_F(SoundTest, PlayedSoundIsMixedOnceIntoTheOutput)
{
    const std::string raw = testsupport::ScratchDir() + "/mixed.raw";
    ReopenOnDisk(raw);
    ASSERT_TRUE(mediatest::WriteWav("audio/click.wav", 200, 12000));
    auto config = SoundsFile("ui", "CLICK=audio/click.wav\nDELAY_LATE=audio/click.wav\n");
    SDL_Delay(150);
    EXPECT_EQ(mediatest::CountLoudFrames(raw), 0);

    ASSERT_EQ(Sound::Play("CLICK", 0), 0);
    ASSERT_TRUE(WaitUntil([] { return !Playing(0); }, 3000));
    ASSERT_EQ(Sound::Play("LATE", 0), 0);
    ASSERT_TRUE(WaitUntil([] { return !Playing(0); }, 3000));
    SDL_Delay(150);
    Channel::Allocate(0);
    Audio::Close();
    // Two plays of 200 ms at 22050 frames a second.
    const long loud = mediatest::CountLoudFrames(raw);
    EXPECT_GT(loud, 2 * 4410 * 9 / 10);
    EXPECT_LT(loud, 2 * 4410 * 11 / 10);
}

TEST_F(SoundTest, RegistryServesLoadingThreadsAndTheMainThread)
{
    std::atomic<bool> done{false};
    std::thread loader([&] {
        // As configuration files on a loading thread: register, then unregister and delete.
        for (int i = 0; i < 300; ++i) {
            std::map<std::string, Sound*> sounds;
            for (int k = 0; k < 4; ++k) {
                sounds["S" + std::to_string(k)] = Sound::LoadSound(kTone, k % 2 == 1);
            }
            Sound::RegisterSounds(sounds);
            SDL_Delay(i % 3);
            Sound::UnRegisterSounds(sounds);
            for (auto& entry : sounds) {
                delete entry.second;
            }
        }
        done = true;
    });
    int plays = 0;
    while (!done) {
        const int channel = Sound::Play("S" + std::to_string(plays % 4), 0);
        if (channel >= 0) {
            Channel::GetChannel(channel)->Stop();
        }
        Sound::Init("S1");
        ++plays;
    }
    loader.join();
    EXPECT_GT(plays, 0);
    EXPECT_EQ(Sound::Play("S0", 0), Sound::kNotPlayed);
}

} // namespace
