#include "framework/dialogs/ControlAnimation.h"

#include "SDL_mixer.h"
#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/Audio.h"
#include "framework/media/Channel.h"
#include "tests/dialogs/ControlTestSupport.h"
#include "tests/media/MediaTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace controltest;

namespace {

// The frame loop's audio: ten channels, and a sample long enough to still be playing when the
// test counts the channels in use.
class ControlAnimationTest : public ControlFixture
{
protected:
    void SetUp() override
    {
        ControlFixture::SetUp();
        ASSERT_TRUE(Audio::Open(1024, 22050, AUDIO_S16LSB, 2)) << SDL_GetError();
        ASSERT_TRUE(Channel::Allocate(10));
        mediatest::MakeParentDirs("audio/tick.wav");
        ASSERT_TRUE(mediatest::WriteWav("audio/tick.wav", 5000, 8000));
    }
    void TearDown() override
    {
        Channel::Allocate(0);
        Audio::Close();
        ControlFixture::TearDown();
    }

    // A 4-frame, 2-loop animation at 100 ms with the given "sound" line, added and reset at 0.
    ControlAnimation* Added(const std::string& soundLine)
    {
        ConfigFile* file = Description("[sounds]\nAU_TICK=audio/tick.wav\n"
                                       "[a]\nimg=img/anim.png\nframes=4\nloops=2\nspeed=100\n"
                                       "id=5\npos=7,8\n" +
                                       soundLine);
        _animation = std::make_unique<ControlAnimation>();
        EXPECT_TRUE(_animation->Load(file, "a"));
        _animation->AddTo(NewDialog());
        _animation->Reset(0);
        return _animation.get();
    }

    // The frames shown by Animate every 100 ms from 100 to 1200.
    std::vector<int> Run(ControlAnimation* animation)
    {
        std::vector<int> shown;
        for (unsigned int t = 100; t <= 1200; t += 100) {
            animation->Animate(t);
            shown.push_back(animation->GetItem()->GetFrame());
            EXPECT_EQ(animation->GetCurrentFrame(), shown.back());
        }
        return shown;
    }

private:
    std::unique_ptr<ControlAnimation> _animation;
};

const std::vector<int> kTwoPasses = {1, 2, 3, 0, 1, 2, 3, 0, 0, 0, 0, 0};

} // namespace

TEST_F(ControlAnimationTest, FourFramesTwoLoopsStepTwiceThroughAndPlayTheSoundTwice)
{
    ControlAnimation* animation = Added("sound=AU_TICK\n");
    ASSERT_NE(animation->GetItem(), nullptr);
    EXPECT_TRUE(animation->IsRunning());
    EXPECT_EQ(Mix_Playing(-1), 0);

    EXPECT_EQ(Run(animation), kTwoPasses);
    EXPECT_FALSE(animation->IsRunning());
    EXPECT_EQ(animation->GetLoopCount(), 0);
    EXPECT_EQ(Mix_Playing(-1), 2) << "once per pass, on the step that leaves frame 1";
}

TEST_F(ControlAnimationTest, NoneAndMissingSoundsAreSilent)
{
    for (const char* soundLine : {"sound=none\n", ""}) {
        SCOPED_TRACE(soundLine);
        ControlAnimation* animation = Added(soundLine);
        EXPECT_EQ(Run(animation), kTwoPasses);
        EXPECT_EQ(Mix_Playing(-1), 0);
    }
}

TEST_F(ControlAnimationTest, NothingHappensBeforeTheSpeedHasPassed)
{
    ControlAnimation* animation = Added("sound=none\n");
    animation->Animate(99);
    EXPECT_EQ(animation->GetCurrentFrame(), 0);
    animation->Animate(100);
    EXPECT_EQ(animation->GetCurrentFrame(), 1);
    animation->Animate(150);
    EXPECT_EQ(animation->GetCurrentFrame(), 1);
    animation->Animate(200);
    EXPECT_EQ(animation->GetCurrentFrame(), 2);
}

TEST_F(ControlAnimationTest, ImageItemHasNoIdAndOneFrameIsTheSize)
{
    ControlAnimation* animation = Added("sound=none\n");
    DialogItem* item = animation->GetItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetType(), DialogItem::kImage);
    EXPECT_EQ(item->GetID(), -1) << "whatever the section's \"id\"";
    EXPECT_EQ(item->GetX(), 7);
    EXPECT_EQ(item->GetFrameWidth(), 20);
    EXPECT_EQ(animation->GetW(), 20) << "one frame of the 80-pixel strip";
    EXPECT_EQ(animation->GetH(), 20);
}

TEST_F(ControlAnimationTest, WithoutImageNothingIsAddedOrStepped)
{
    ConfigFile* file = Description("[a]\nframes=4\n");
    ControlAnimation animation;
    EXPECT_FALSE(animation.Load(file, "a"));
    EXPECT_EQ(animation.GetW(), 0);
    animation.AddTo(NewDialog());
    EXPECT_EQ(animation.GetItem(), nullptr);
    EXPECT_FALSE(animation.IsRunning());
    animation.Animate(1000);
    EXPECT_EQ(animation.GetCurrentFrame(), 0);
    EXPECT_EQ(LogLines("Control a (kind 1) not added to the dialog: no image"), 1);
}
