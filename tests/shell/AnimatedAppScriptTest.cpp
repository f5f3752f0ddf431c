#include "framework/shell/AnimatedAppScript.h"

#include "framework/media/AnimationManager.h"
#include "framework/media/Image.h"
#include "framework/media/Music.h"
#include "framework/shell/KeyframeChange.h"
#include "framework/shell/SpriteRunnerConfigFile.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberImage.h"
#include "framework/stage/CastMemberText.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/shell/ShellTestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace {

using shelltest::Recording;
using shelltest::ShellTest;
using testsupport::CountLogLines;
using testsupport::WriteFile;

using AnimScript = Recording<AnimatedAppScript>;

// Two sprites on a sheet of four 20 x 20 frames, a background, and what the test adds.
std::string Description(const std::string& extra, int framemillis = 100, int seconds = 1)
{
    return "[main]\nbackground=bg.bmp\nseconds=" + std::to_string(seconds) +
           "\nframemillis=" + std::to_string(framemillis) +
           "\n[subtitle]\nfont=fonts/bankgbtm.ttf\nfontsize=16\npos=0,500\nwidth=800\n"
           "[animations]\nnum=2\nanim0img=anim.bmp\nanim0frames=4\nanim0pos=100,100\n"
           "anim0pri=3\nanim1img=anim.bmp\nanim1frames=4\nanim1pos=300,100\nanim1visible=0\n"
           "anim1mirror=h\nanim1scale=0.5\n" +
           extra;
}

class AnimatedAppScriptTest : public ShellTest
{
protected:
    void SetUp() override
    {
        WriteData("allowloadingthread=0\n");
        ASSERT_TRUE(shelltest::WriteSheet("anim.bmp", 80, 20));
        ASSERT_TRUE(shelltest::WriteSheet("bg.bmp", 800, 600));
        ASSERT_TRUE(shelltest::WriteSheet("other.bmp", 800, 600));
        StartFramework();
        auto* s = new AnimScript(app.get(), Manager()->GetGameTime());
        s->SetLogLevel(2);
        // The shell's own road is not taken here: its first state never comes.
        s->ChangeState(AppScript::kMenuLive, 0);
        Attach(s);
        Frame(); // the menu stage is shown
    }
    AnimScript* Anim() const { return static_cast<AnimScript*>(script.get()); }
    // Loads and sets up a description. Each goes to a file of its own: once read, a file is
    // read from its scrambled twin.
    void Load(const std::string& description)
    {
        const std::string file = "anim" + std::to_string(++_loads) + ".cfg";
        ASSERT_TRUE(WriteFile(file, description));
        Anim()->BeginAnimation(file, false);
        Anim()->SetupSprites();
    }
    CastMemberImage* Sprite(int i) const { return Anim()->GetSprites().at(i); }
    bool RunUntilEntered(int state, int times = 1)
    {
        return RunUntil([&] { return Anim()->Count(state) >= times; });
    }

private:
    int _loads = 0;
};

using Change = std::tuple<int, int, std::string>; // sprite, code, text

std::vector<Change> Changes(const std::vector<const KeyframeChange*>& changes)
{
    std::vector<Change> out;
    for (const KeyframeChange* c : changes) {
        out.emplace_back(c->_sprite, c->_code, c->_text);
    }
    return out;
}

// Within a frame the commands run section by section in name order and, within a section, in
// key order; a section named without leading zeros or without a sprite is read the same way.
TEST_F(AnimatedAppScriptTest, KeyframesAreStoredInSectionAndKeyOrder)
{
    Anim()->SetState(AppScript::kMenuLive); // no key of this test is a splash's
    ASSERT_TRUE(WriteFile("anim.cfg", Description("[frame00005-00001]\n20,20,100=3\nshow=0\n"
                                                  "[frame00005-00000]\nhide=0\n10,10,100=3.9\n"
                                                  "[frame5-1]\n80=1\n[frame00007]\n90=1\n")));
    Anim()->BeginAnimation("anim.cfg", false);
    EXPECT_TRUE(Anim()->AnimationPresent());
    const std::vector<Change> frame5 = {
        {0, 3, "10,10,100"}, {0, 0, "hide"}, {1, 3, "20,20,100"}, {1, 0, "show"}, {1, 1, "80"}};
    EXPECT_EQ(Changes(Anim()->GetKeyframe(5)), frame5);
    const std::vector<Change> frame7 = {{0, 1, "90"}};
    EXPECT_EQ(Changes(Anim()->GetKeyframe(7)), frame7);
    EXPECT_TRUE(Anim()->GetKeyframe(6).empty());

    Anim()->DeleteKeyFrame(5);
    Anim()->DeleteKeyFrame(6); // not stored: nothing happens
    EXPECT_TRUE(Anim()->GetKeyframe(5).empty());
    EXPECT_EQ(Anim()->GetKeyframe(7).size(), 1u);
}

// Two keys of one section with one code: the last in key order stays, the other is logged and
// removed from the description, which is written back when it goes.
TEST_F(AnimatedAppScriptTest, DuplicateCodeKeepsTheLastKeyAndWritesTheFileBack)
{
    ASSERT_TRUE(WriteFile("anim.cfg", Description("[frame00003-00000]\nfadein=0\nshow=0\n"
                                                  "[frame00003-00001]\nhide=0\n")));
    Anim()->BeginAnimation("anim.cfg", false);
    const std::vector<Change> frame3 = {{0, 0, "show"}, {1, 0, "hide"}};
    EXPECT_EQ(Changes(Anim()->GetKeyframe(3)), frame3);
    EXPECT_EQ(CountLogLines("DELETING DUPLICATE FRAME!! 0"), 1);
    // The same command again changes nothing.
    Anim()->AddKeyframeChange(3, 0, "show", 0);
    EXPECT_EQ(Changes(Anim()->GetKeyframe(3)), frame3);

    Anim()->CleanUpAnimation(0);
    SpriteRunnerConfigFile reread("anim.cfg");
    EXPECT_EQ(reread.GetKeysInSection("frame00003-00000"), std::vector<std::string>{"show"});
}

struct RateCase
{
    int framemillis;
    int seconds;
    int frames; // frames stepped, (1000 / framemillis) x seconds
};

// The frame loop steps frames 1 to N - 1, one every framemillis, then ends N frames on; a rate
// of 0 or less, or above a second, gives no frame at all.
TEST_F(AnimatedAppScriptTest, FrameLoopStepsTheFramesOfTheRate)
{
    for (const RateCase& c : {RateCase{100, 1, 10}, RateCase{300, 3, 9}, RateCase{1500, 5, 0},
                              RateCase{0, 5, 0}, RateCase{-20, 5, 0}}) {
        SCOPED_TRACE(c.framemillis);
        Anim()->CleanUpAnimation(0);
        Anim()->entered.clear();
        // A command on the last stepped frame and one on the frame after it.
        const std::string marks = "[frame" + std::to_string(c.frames - 1) + "-0]\n77=1\n[frame" +
                                  std::to_string(c.frames) + "-0]\n99=1\n";
        Load(Description(marks, c.framemillis, c.seconds));
        Anim()->ChangeState(AppScript::kSplashStep);
        ASSERT_TRUE(RunUntilEntered(AppScript::kSplashEnded));
        EXPECT_EQ(Anim()->GetFrameCounter(), c.frames);
        EXPECT_EQ(Anim()->Count(AppScript::kSplashStep), std::max(c.frames, 1));
        if (c.frames > 1) {
            EXPECT_EQ(Sprite(0)->GetAlpha(), 77);
            const unsigned int first = Anim()->TimeOf(AppScript::kSplashStep);
            EXPECT_EQ(Anim()->TimeOf(AppScript::kSplashEnded) - first,
                      static_cast<unsigned int>((c.frames - 1) * c.framemillis + 500));
        }
    }
}

TEST_F(AnimatedAppScriptTest, SpritesTakeTheirRecordsStartingLook)
{
    Load(Description(""));
    ASSERT_EQ(Anim()->GetSprites().size(), 2u);
    Cast* stage = Anim()->GetMenuCast();
    EXPECT_TRUE(stage->Contains(Sprite(0)));
    EXPECT_EQ(Sprite(0)->GetID(), 100);
    EXPECT_EQ(Sprite(1)->GetID(), 101);
    EXPECT_EQ(Sprite(0)->GetName(), "anim.bmp");
    EXPECT_EQ(Sprite(0)->GetX(), 100);
    EXPECT_EQ(Sprite(0)->GetPriority(), 3);
    EXPECT_EQ(Sprite(0)->GetNumFrames(), 4);
    EXPECT_TRUE(Sprite(0)->IsVisible());
    EXPECT_FALSE(Sprite(0)->AllowInput());
    EXPECT_FALSE(Sprite(1)->IsVisible());
    Sprite(1)->Show();
    Frame(); // the starting scale is reached at the first step of a shown sprite
    EXPECT_FLOAT_EQ(Sprite(1)->GetScale(), 0.5f);
    EXPECT_TRUE(Sprite(1)->GetImage()->IsMirroredHorizontally());
    // The description's background is the stage's.
    ASSERT_NE(Anim()->GetBackgroundImage(), nullptr);
    EXPECT_EQ(stage->GetBackground(), Anim()->GetBackgroundImage());
}

// A record dropped for its empty image leaves no gap: the sprite numbers follow the records.
TEST_F(AnimatedAppScriptTest, DroppedRecordLeavesNoGapInTheSprites)
{
    Load("[main]\nbackground=bg.bmp\n[animations]\nnum=3\nanim0img=anim.bmp\nanim0frames=4\n"
         "anim1img=\nanim2img=anim.bmp\nanim2frames=4\nanim2pos=300,40\n");
    ASSERT_EQ(Anim()->GetSprites().size(), 2u);
    EXPECT_EQ(Sprite(1)->GetX(), 300);
    EXPECT_EQ(Sprite(1)->GetID(), 101);
}

TEST_F(AnimatedAppScriptTest, DescriptionWithoutBackgroundHasNoAnimation)
{
    Anim()->BeginAnimation("cfg/none.cfg", false);
    Anim()->SetupSprites();
    EXPECT_FALSE(Anim()->AnimationPresent());
    EXPECT_TRUE(Anim()->GetSprites().empty());
    Anim()->ChangeState(AppScript::kSplashShown);
    ASSERT_TRUE(RunUntilEntered(AppScript::kSplashEnded));
    EXPECT_EQ(Anim()->Count(AppScript::kSplashStep), 0);
    EXPECT_EQ(Anim()->TimeOf(AppScript::kSplashEnded) - Anim()->TimeOf(AppScript::kSplashShown),
              50u);
}

// The stage never keeps a background the script has let go.
TEST_F(AnimatedAppScriptTest, BackgroundLeavesTheStageBeforeItIsReleased)
{
    Load(Description(""));
    Cast* stage = Anim()->GetMenuCast();
    Anim()->ProcessSpriteCommand(nullptr, AnimatedAppScript::kBackground, "other.bmp");
    EXPECT_EQ(stage->GetBackground(), Anim()->GetBackgroundImage());
    EXPECT_EQ(Anim()->GetBackgroundImage()->GetW(), 800);
    Anim()->ProcessSpriteCommand(nullptr, AnimatedAppScript::kBackground, "");
    EXPECT_EQ(stage->GetBackground(), Anim()->GetBackgroundImage());
    Frame(); // painted
    Anim()->CleanUpAnimation(0);
    EXPECT_EQ(stage->GetBackground(), nullptr);
    EXPECT_EQ(Anim()->GetBackgroundImage(), nullptr);
    Frame(); // painting after the release must find no stale picture
}

struct FadeCase
{
    const char* text;
    int alphaBefore;
    int alphaAtStart; // right after the command
    int alphaHalfway; // after half the duration
    int alphaAtEnd;
    unsigned int ms;
};

TEST_F(AnimatedAppScriptTest, ShowHideAndFadeCommands)
{
    Load(Description(""));
    CastMemberImage* s = Sprite(0);
    for (const FadeCase& c : {FadeCase{"fadein,2000", 200, 0, 127, 255, 2000},
                              FadeCase{"fadein,1000,128", 50, 50, 89, 128, 1000},
                              FadeCase{"fadeout", 30, 255, 127, 0, 1000}}) {
        SCOPED_TRACE(c.text);
        s->SetAlpha(c.alphaBefore);
        Anim()->ProcessSpriteCommand(s, AnimatedAppScript::kShowHide, c.text);
        EXPECT_EQ(s->GetAlpha(), c.alphaAtStart);
        for (unsigned int t = 0; t < c.ms / 2; t += 10) {
            Frame(10);
        }
        EXPECT_NEAR(s->GetAlpha(), c.alphaHalfway, 4);
        for (unsigned int t = 0; t < c.ms / 2 + 20; t += 10) {
            Frame(10);
        }
        EXPECT_EQ(s->GetAlpha(), c.alphaAtEnd);
    }
    Anim()->ProcessSpriteCommand(s, AnimatedAppScript::kShowHide, "hide,500");
    EXPECT_FALSE(s->IsVisible());
    Anim()->ProcessSpriteCommand(s, AnimatedAppScript::kShowHide, "show");
    EXPECT_TRUE(s->IsVisible());
}

TEST_F(AnimatedAppScriptTest, FrameCommandShowsOneFrameOrRunsASequence)
{
    Load(Description(""));
    CastMemberImage* s = Sprite(0);
    Anim()->ProcessSpriteCommand(s, AnimatedAppScript::kFrames, "0,1,2,99");
    ASSERT_NE(s->GetFrameSequence(), nullptr);
    EXPECT_EQ(s->GetFrameSequenceString(), "0,1,2,3");
    EXPECT_TRUE(s->GetLooping());
    EXPECT_EQ(s->GetLoopSpeed(), 100);
    // The sequence lives on while the sprite steps through it.
    for (int i = 0; i < 30; ++i) {
        Frame(50);
    }
    EXPECT_EQ(s->GetFrameSequenceString(), "0,1,2,3");

    Anim()->ProcessSpriteCommand(s, AnimatedAppScript::kFrames, "2");
    EXPECT_FALSE(s->GetLooping());
    EXPECT_EQ(s->GetFrame(), 2);
    Anim()->ProcessSpriteCommand(s, AnimatedAppScript::kFrames, "-1");
    EXPECT_EQ(s->GetFrameSequence(), nullptr);
}

TEST_F(AnimatedAppScriptTest, SpriteCommandsMoveScaleTurnAndLayer)
{
    Load(Description(""));
    CastMemberImage* s = Sprite(0);
    Anim()->ProcessSpriteCommand(s, AnimatedAppScript::kAlpha, "90");
    EXPECT_EQ(s->GetAlpha(), 90);
    Anim()->ProcessSpriteCommand(s, AnimatedAppScript::kPriority, "7");
    EXPECT_EQ(s->GetPriority(), 7);
    Anim()->ProcessSpriteCommand(s, AnimatedAppScript::kMoveTo, "400,300,200");
    Anim()->ProcessSpriteCommand(s, AnimatedAppScript::kScaleTo, "1.5,200");
    Anim()->ProcessSpriteCommand(s, AnimatedAppScript::kRotateTo, "90,200");
    for (int i = 0; i < 25; ++i) {
        Frame(10);
    }
    EXPECT_EQ(s->GetX(), 400);
    EXPECT_EQ(s->GetY(), 300);
    EXPECT_FLOAT_EQ(s->GetScale(), 1.5f);
    EXPECT_FLOAT_EQ(s->GetRotation(), -90.0f); // the stage turns the other way
    Anim()->ProcessSpriteCommand(s, AnimatedAppScript::kMirror, "v");
    EXPECT_TRUE(s->GetImage()->IsMirroredVertically());
    Anim()->ProcessSpriteCommand(s, AnimatedAppScript::kMirror, "off");
    EXPECT_FALSE(s->GetImage()->IsMirroredVertically());
}

// Commands given too few values, and commands for a sprite that does not exist, are skipped and
// logged; the script's own commands need no sprite.
TEST_F(AnimatedAppScriptTest, IncompleteCommandsAndMissingSpritesAreSkipped)
{
    Load(Description("[frame00001-00009]\n55=1\n1.5,10,20=97\n"));
    CastMemberImage* s = Sprite(0);
    for (int code : {AnimatedAppScript::kMoveTo, AnimatedAppScript::kScaleTo,
                     AnimatedAppScript::kRotateTo, AnimatedAppScript::kLoop}) {
        SCOPED_TRACE(code);
        Anim()->ProcessSpriteCommand(s, code, "5");
    }
    Anim()->ProcessSpriteCommand(s, AnimatedAppScript::kZoom, "1.2,3");
    EXPECT_EQ(CountLogLines("needs"), 5);
    EXPECT_EQ(s->GetX(), 100);
    EXPECT_FLOAT_EQ(s->GetScale(), 1.0f);

    Anim()->SetFrameCounter(1);
    Anim()->ShowStuffAtFrame();
    EXPECT_EQ(CountLogLines("for a missing sprite skipped"), 1);
    EXPECT_EQ(s->GetAlpha(), 255);
}

TEST_F(AnimatedAppScriptTest, SubtitleIsMadeOnceThenRetitled)
{
    Load(Description(""));
    Anim()->ProcessSpriteCommand(nullptr, AnimatedAppScript::kSubtitle, "First");
    CastMemberText* subtitle = Anim()->GetSubtitle();
    ASSERT_NE(subtitle, nullptr);
    EXPECT_EQ(subtitle->GetText(), "First");
    EXPECT_EQ(subtitle->GetY(), 500);
    EXPECT_TRUE(Anim()->GetMenuCast()->Contains(subtitle));
    Anim()->ProcessSpriteCommand(nullptr, AnimatedAppScript::kSubtitle, "Second");
    EXPECT_EQ(Anim()->GetSubtitle(), subtitle);
    EXPECT_EQ(subtitle->GetText(), "Second");
    // A reset empties it.
    Anim()->ResetGlobalAnimationDefaults();
    EXPECT_EQ(subtitle->GetText(), "");
}

class AnimatedAppScriptAudioTest : public AnimatedAppScriptTest
{
protected:
    void SetUp() override
    {
        AnimatedAppScriptTest::SetUp();
        ASSERT_TRUE(mediatest::WriteWav("tone.wav", 300, 12000));
        ASSERT_TRUE(mediatest::WriteWav("tone2.wav", 300, 12000));
        ASSERT_TRUE(mediatest::WriteOgg("tune.ogg", 2000));
    }
};

TEST_F(AnimatedAppScriptAudioTest, SoundIsLoadedOncePerText)
{
    Load(Description(""));
    Anim()->ProcessSpriteCommand(nullptr, AnimatedAppScript::kSound, "tone.wav");
    Anim()->ProcessSpriteCommand(nullptr, AnimatedAppScript::kSound, "tone.wav");
    EXPECT_EQ(Anim()->CountSounds(), 1);
    // The file is the key, whatever the loops.
    Anim()->ProcessSpriteCommand(nullptr, AnimatedAppScript::kSound, "tone.wav,2");
    EXPECT_EQ(Anim()->CountSounds(), 1);
    Anim()->ProcessSpriteCommand(nullptr, AnimatedAppScript::kSound, "tone2.wav");
    EXPECT_EQ(Anim()->CountSounds(), 2);
}

struct MusicCase
{
    const char* text;
    bool playing;
    bool fadingIn;
    bool fadingOut;
};

TEST_F(AnimatedAppScriptAudioTest, MusicCommandPlaysFadesInOrFadesOut)
{
    Load(Description(""));
    for (const MusicCase& c :
         {MusicCase{"tune.ogg", true, false, false}, MusicCase{"fadeout,2000", true, false, true},
          MusicCase{"tune.ogg,500,2", true, true, false}}) {
        SCOPED_TRACE(c.text);
        Anim()->ProcessSpriteCommand(nullptr, AnimatedAppScript::kMusic, c.text);
        EXPECT_EQ(Music::IsPlaying(), c.playing);
        EXPECT_EQ(Music::IsFadingIn(), c.fadingIn);
        EXPECT_EQ(Music::IsFadingOut(), c.fadingOut);
    }
    Music::Stop();
}

// The script holds the music its last command loaded until the cleanup, whose freeing of it stops
// the stream even without a fade.
TEST_F(AnimatedAppScriptAudioTest, MusicIsHeldUntilTheCleanUpStopsIt)
{
    Load(Description(""));
    EXPECT_EQ(Anim()->GetMusic(), nullptr);
    Anim()->ProcessSpriteCommand(nullptr, AnimatedAppScript::kMusic, "tune.ogg,500");
    ASSERT_NE(Anim()->GetMusic(), nullptr);
    EXPECT_EQ(Anim()->GetMusic()->GetFile(), "tune.ogg");
    EXPECT_TRUE(Anim()->GetMusic()->IsValid());
    EXPECT_TRUE(Music::IsPlaying());
    // A fade-out command lets the stream fade but keeps the music.
    Anim()->ProcessSpriteCommand(nullptr, AnimatedAppScript::kMusic, "fadeout,2000");
    EXPECT_NE(Anim()->GetMusic(), nullptr);
    Anim()->CleanUpAnimation(0);
    EXPECT_EQ(Anim()->GetMusic(), nullptr);
    EXPECT_FALSE(Music::IsPlaying());
}

struct KeyCase
{
    SDLKey key;
    bool handled;
};

// Return, Space and Escape skip a running animation (state 5 after 10 ms) and are handled in
// every state; other keys are not.
TEST_F(AnimatedAppScriptTest, KeysSkipOnlyARunningAnimation)
{
    for (const KeyCase& c : {KeyCase{SDLK_RETURN, true}, KeyCase{SDLK_SPACE, true},
                             KeyCase{SDLK_ESCAPE, true}, KeyCase{SDLK_a, false}}) {
        SCOPED_TRACE(c.key);
        Anim()->entered.clear();
        EXPECT_FALSE(Anim()->KeyDown(c.key, KMOD_NONE, 0, false));

        Anim()->SetState(AppScript::kMenuLive);
        EXPECT_EQ(Anim()->KeyUp(c.key, KMOD_NONE, 0, false), c.handled);
        EXPECT_EQ(Anim()->GetState(), AppScript::kMenuLive);

        Anim()->SetState(AppScript::kSplashStep);
        const unsigned int pressed = clock.Now();
        EXPECT_EQ(Anim()->KeyUp(c.key, KMOD_NONE, 0, false), c.handled);
        for (int i = 0; i < 3; ++i) {
            Frame(5);
        }
        if (c.handled) {
            EXPECT_EQ(Anim()->TimeOf(AppScript::kSplashSkipped) - pressed, 10u);
        } else {
            EXPECT_EQ(Anim()->Count(AppScript::kSplashSkipped), 0);
        }
    }
}

class SplashTest : public ShellTest
{
protected:
    AnimScript* Start(const std::string& splashExtra = "")
    {
        WriteData("allowloadingthread=0\n", splashExtra);
        EXPECT_TRUE(shelltest::WriteSheet("anim.bmp", 80, 20));
        EXPECT_TRUE(shelltest::WriteSheet("bg.bmp", 800, 600));
        EXPECT_TRUE(WriteFile("cfg/splashanim.cfg", Description("[frame00002-00000]\n"
                                                                "fadein,300=0\n")));
        StartFramework();
        auto* s = new AnimScript(app.get(), Manager()->GetGameTime());
        Attach(s);
        return s;
    }
    bool RunUntilEntered(int state)
    {
        auto* s = static_cast<AnimScript*>(script.get());
        return RunUntil([&] { return s->Count(state) >= 1; });
    }
};

// The splash plays to its end and the menu follows; its objects go when the menu comes.
TEST_F(SplashTest, SplashPlaysThenTheMenuComes)
{
    AnimScript* s = Start();
    ASSERT_TRUE(RunUntilEntered(AppScript::kMenuLive));
    EXPECT_EQ(s->Count(AppScript::kSplashStep), 10);
    EXPECT_EQ(s->TimeOf(AppScript::kSplashShown) - s->TimeOf(AppScript::kSplash), 200u);
    EXPECT_FALSE(AnimatedAppScript::SplashPending());
    EXPECT_EQ(s->splashDeleted, 1);
    EXPECT_TRUE(s->GetSprites().empty());
    EXPECT_EQ(s->GetDescription(), nullptr);
}

// A splash description without a fade time still starts the animation (a delay of 0 would never
// come).
TEST_F(SplashTest, SplashWithoutFadeTimeStillPlays)
{
    AnimScript* s = Start("fadetime=0\n");
    ASSERT_TRUE(RunUntilEntered(AppScript::kMenuLive));
    EXPECT_EQ(s->Count(AppScript::kSplashStep), 10);
}

// Escape during the splash ends it as a finished one would: the menu still comes.
TEST_F(SplashTest, SkippedSplashGoesOnToTheMenu)
{
    AnimScript* s = Start();
    ASSERT_TRUE(RunUntilEntered(AppScript::kSplashStep));
    Frame(100);
    EXPECT_TRUE(s->KeyUp(SDLK_ESCAPE, KMOD_NONE, 0, false));
    ASSERT_TRUE(RunUntilEntered(AppScript::kMenuLive));
    const std::vector<int> states = s->States();
    const auto skipped = std::find(states.begin(), states.end(), AppScript::kSplashSkipped);
    ASSERT_NE(skipped, states.end());
    const std::vector<int> after(skipped, skipped + 4);
    const std::vector<int> expected = {5, 4, 6, 7};
    EXPECT_EQ(after, expected);
    EXPECT_LT(s->Count(AppScript::kSplashStep), 10);
}

} // namespace
