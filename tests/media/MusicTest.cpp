#include "framework/media/Music.h"

#include "SDL.h"
#include "SDL_mixer.h"
#include "framework/media/Audio.h"
#include "framework/media/Channel.h"
#include "framework/media/Sound.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/support/TestSupport.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

using mediatest::WaitUntil;

constexpr char kSong[] = "audio/song.ogg";
constexpr char kShort[] = "audio/short.ogg";
constexpr int kShortMs = 250;

class MusicTest : public mediatest::AudioTestBase
{
protected:
    void SetUp() override
    {
        AudioTestBase::SetUp();
        ASSERT_TRUE(mediatest::WriteOgg(kSong, 3000)) << "oggenc (vorbis-tools) is needed";
        _song.reset(Music::LoadMusic(kSong));
        ASSERT_TRUE(_song->IsValid());
    }
    void TearDown() override
    {
        _song.reset();
        AudioTestBase::TearDown();
    }

    std::unique_ptr<Music> _song;
};

TEST_F(MusicTest, LoadsAnOggStream)
{
    EXPECT_EQ(_song->GetType(), MUS_OGG);
    EXPECT_NE(_song->GetMusic(), nullptr);
    EXPECT_EQ(_song->GetName(), std::string("Music") + kSong);
    EXPECT_EQ(_song->GetFile(), kSong);
    EXPECT_FALSE(Music::IsPlaying());
}

TEST_F(MusicTest, PlaysPausesResumesRewindsAndStops)
{
    ASSERT_TRUE(Music::Play(_song.get(), -1));
    EXPECT_TRUE(Music::IsPlaying());
    EXPECT_FALSE(Music::IsPaused());
    EXPECT_FALSE(Music::IsFading());

    Music::Pause();
    EXPECT_TRUE(Music::IsPaused());
    Music::Resume();
    EXPECT_FALSE(Music::IsPaused());
    Music::Rewind();
    EXPECT_TRUE(Music::IsPlaying());

    Music::Stop();
    EXPECT_FALSE(Music::IsPlaying());
}

TEST_F(MusicTest, FadeInStopsWhatPlaysAndFadesTheNewStreamIn)
{
    ASSERT_TRUE(mediatest::WriteWav("audio/old.wav", 3000, 12000));
    std::unique_ptr<Music> old(Music::LoadMusic("audio/old.wav"));
    ASSERT_TRUE(Music::Play(old.get(), -1));
    EXPECT_EQ(Mix_GetMusicType(nullptr), MUS_WAV);

    ASSERT_TRUE(Music::FadeIn(_song.get(), 500, -1, 0.0));
    EXPECT_EQ(Mix_GetMusicType(nullptr), MUS_OGG);
    EXPECT_TRUE(Music::IsFadingIn());
    EXPECT_TRUE(Music::IsFading());
    EXPECT_FALSE(Music::IsFadingOut());
    EXPECT_TRUE(Music::IsPlaying());

    ASSERT_TRUE(WaitUntil([] { return !Music::IsFading(); }, 5000));
    EXPECT_TRUE(Music::IsPlaying());
    EXPECT_FALSE(Music::IsPaused());
}

TEST_F(MusicTest, FadeOutEndsTheMusic)
{
    ASSERT_TRUE(Music::Play(_song.get(), -1));
    Music::FadeOut(600);
    EXPECT_TRUE(Music::IsFadingOut());
    EXPECT_TRUE(WaitUntil([] { return !Music::IsPlaying(); }, 5000));
}

TEST_F(MusicTest, VolumeIsTheMixers)
{
    Music::SetVolume(64);
    EXPECT_EQ(Music::GetVolume(), 64);
    Music::SetVolume(5);
    EXPECT_EQ(Mix_VolumeMusic(-1), 5);
}

TEST_F(MusicTest, LoopCountsArePlaysThrough)
{
    ASSERT_TRUE(mediatest::WriteOgg(kShort, kShortMs));
    struct Case
    {
        int loops;
        int plays;
    };
    // 2 is left out: it reaches the mixer as 1, which SDL_mixer plays once.
    const Case cases[] = {{1, 1}, {3, 3}, {0, 1}};
    const long framesPerPlay = 22050L * kShortMs / 1000;
    int round = 0;
    for (const Case& c : cases) {
        const std::string raw =
            testsupport::ScratchDir() + "/loops" + std::to_string(round++) + ".raw";
        ReopenOnDisk(raw);
        std::unique_ptr<Music> music(Music::LoadMusic(kShort));
        ASSERT_TRUE(Music::Play(music.get(), c.loops));
        ASSERT_TRUE(WaitUntil([] { return !Music::IsPlaying(); }, 5000)) << c.loops;
        SDL_Delay(100);
        music.reset();
        Audio::Close();
        const long loud = mediatest::CountLoudFrames(raw);
        EXPECT_GT(loud, c.plays * framesPerPlay * 85 / 100) << "loops " << c.loops;
        EXPECT_LT(loud, c.plays * framesPerPlay * 115 / 100) << "loops " << c.loops;
    }

    ASSERT_TRUE(Audio::Open(1024, 22050, AUDIO_S16LSB, 2));
    std::unique_ptr<Music> music(Music::LoadMusic(kShort));
    ASSERT_TRUE(Music::Play(music.get(), -1));
    SDL_Delay(4 * kShortMs);
    EXPECT_TRUE(Music::IsPlaying()); // for ever
    Music::Stop();
}

TEST_F(MusicTest, DeletingTheMusicStopsItButLeavesAnotherPlaying)
{
    std::unique_ptr<Music> other(Music::LoadMusic(kSong));
    ASSERT_TRUE(Music::Play(_song.get(), -1));
    other.reset();
    EXPECT_TRUE(Music::IsPlaying());
    _song.reset();
    EXPECT_FALSE(Music::IsPlaying());
}

// Runs the action on a thread and reports whether it finished in time. A hung action would
// keep the process from ending, so the process leaves at once in that case.
bool FinishesWithin(std::function<void()> action, int ms)
{
    std::packaged_task<void()> task(std::move(action));
    std::future<void> finished = task.get_future();
    std::thread worker(std::move(task));
    if (finished.wait_for(std::chrono::milliseconds(ms)) != std::future_status::ready) {
        ADD_FAILURE() << "still blocked after " << ms << " ms";
        std::fflush(stdout);
        _exit(1);
    }
    worker.join();
    return true;
}

TEST_F(MusicTest, FreeingAPausedFadingMusicReturns)
{
    ASSERT_TRUE(Music::Play(_song.get(), -1));
    Music::FadeOut(2000);
    SDL_Delay(100);
    Music::Pause();
    ASSERT_TRUE(Music::IsPaused());
    ASSERT_TRUE(Music::IsFadingOut());
    EXPECT_TRUE(FinishesWithin([this] { _song.reset(); }, 3000));
    EXPECT_FALSE(Music::IsPlaying());
}

TEST_F(MusicTest, PlayingOverAPausedFadingMusicReturns)
{
    std::unique_ptr<Music> next(Music::LoadMusic(kSong));
    ASSERT_TRUE(Music::Play(_song.get(), -1));
    Music::FadeOut(2000);
    SDL_Delay(100);
    Music::Pause();
    EXPECT_TRUE(FinishesWithin([&] { EXPECT_TRUE(Music::Play(next.get(), -1)); }, 3000));
    EXPECT_TRUE(Music::IsPlaying());
    EXPECT_FALSE(Music::IsPaused());
    EXPECT_FALSE(Music::IsFading());
}

TEST_F(MusicTest, TheDeviceRestsOnlyWhileNothingCanBeHeard)
{
    const auto paused = [] { return SDL_GetAudioStatus() == SDL_AUDIO_PAUSED; };
    Channel::Allocate(kChannels);
    Sound tone(kTone, false);
    ASSERT_TRUE(tone.IsValid());
    // Nothing plays: the device rests.
    Audio::PauseWhileSilent();
    EXPECT_TRUE(Audio::DevicePaused());
    EXPECT_TRUE(paused());

    // Music starts the device first, and is not silenced while it is heard.
    ASSERT_TRUE(Music::Play(_song.get(), -1));
    EXPECT_FALSE(paused());
    Audio::PauseWhileSilent();
    EXPECT_FALSE(paused());
    // At volume 0 it is not heard.
    const int volume = Mix_VolumeMusic(0);
    Audio::PauseWhileSilent();
    EXPECT_TRUE(paused());
    Audio::ResumeDevice();
    Mix_VolumeMusic(volume);
    Music::Stop();

    // A sound on a channel, started or resumed, likewise.
    Audio::PauseWhileSilent();
    ASSERT_TRUE(paused());
    ASSERT_TRUE(Channel::GetChannel(0)->Play(&tone, -1, -1));
    EXPECT_FALSE(paused());
    Audio::PauseWhileSilent();
    EXPECT_FALSE(paused());
    Sound::Pause();
    Audio::PauseWhileSilent();
    EXPECT_FALSE(paused()); // a paused channel still counts as playing
    Sound::Resume();
    EXPECT_FALSE(paused());
    Channel::GetChannel(0)->Stop();
    Audio::PauseWhileSilent();
    EXPECT_TRUE(paused());

    // Closing forgets the rest: a device opened again plays.
    Audio::Close();
    EXPECT_FALSE(Audio::DevicePaused());
    Channel::Allocate(0);
}

TEST_F(MusicTest, MissingFileIsLoggedAndPlaysNothing)
{
    std::unique_ptr<Music> missing(Music::LoadMusic("audio/missing.ogg"));
    EXPECT_FALSE(missing->IsValid());
    // The file stays known, so that a caller can tell which one failed.
    EXPECT_EQ(missing->GetFile(), "audio/missing.ogg");
    EXPECT_NE(mediatest::ReadLog().find("Cannot load music audio/missing.ogg"), std::string::npos);
    EXPECT_FALSE(Music::Play(missing.get(), 1));
    EXPECT_FALSE(Music::IsPlaying());

    ASSERT_TRUE(Music::Play(_song.get(), -1));
    EXPECT_EQ(missing->GetType(), MUS_NONE); // not the playing stream's type
    // Fading in stops the old music first, even when the new one cannot play.
    EXPECT_FALSE(Music::FadeIn(missing.get(), 500, -1, 0.0));
    EXPECT_FALSE(Music::IsPlaying());
    EXPECT_FALSE(Music::Play(nullptr, 1));
    missing.reset();
}

} // namespace
