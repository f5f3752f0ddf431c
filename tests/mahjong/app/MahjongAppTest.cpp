#include "framework/core/LoadingThread.h"
#include "framework/media/AnimationManager.h"
#include "mahjong/app/Mahjong.h"
#include "mahjong/app/MjGameScript.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

class MahjongAppTest : public ::testing::Test
{
protected:
    void Start()
    {
        shelltest::WriteShellData("allowloadingthread=1\n");
        ASSERT_TRUE(app->OnInit(0, nullptr));
        ASSERT_NE(app->GetGameScript(), nullptr);
    }
    void Frame()
    {
        clock.Advance(10);
        app->_animationManager->DoIt();
    }

    testsupport::FakeClock clock{1000};
    std::unique_ptr<Mahjong> app = std::make_unique<Mahjong>();
};

} // namespace

TEST_F(MahjongAppTest, LoadersBeforeTheScriptExistsReturnZero)
{
    EXPECT_EQ(app->GetGameScript(), nullptr);
    EXPECT_EQ(app->LoadGameResources(false), 0);
    EXPECT_EQ(app->LoadOtherResources(LoadingThread::kOtherResources, false), 0);
    EXPECT_EQ(app->GetGameName(), "MahJong");
    EXPECT_STREQ(app->GetDefaultFontName(), "fonts/MahJongNum.ttf");
    EXPECT_EQ(app->GetDefaultFontSize(), 24);
    EXPECT_EQ(app->GetDefaultSmallFontSize(), 16);
    EXPECT_EQ(app->GetDefaultDialogSize(), 16);

    Start();
    EXPECT_EQ(app->LoadGameResources(false), 1);
    EXPECT_EQ(app->LoadGameResources(false), 0);
}

TEST_F(MahjongAppTest, CheatChordSwitchesCheatModeAndOnlyThenAreLettersLogged)
{
    Start();
    const SDLMod chord = static_cast<SDLMod>(KMOD_LCTRL | KMOD_LSHIFT | KMOD_LALT);
    app->OnKeyDown(SDLK_a, KMOD_NONE, 'a');
    app->OnKeyDown(SDLK_q, static_cast<SDLMod>(KMOD_LCTRL | KMOD_LSHIFT), 'Q');
    EXPECT_FALSE(app->_cheatMode);
    app->OnKeyDown(SDLK_ESCAPE, KMOD_NONE, 27);
    app->OnKeyDown(SDLK_SPACE, KMOD_NONE, ' ');
    EXPECT_FALSE(app->_cheatMode);

    app->OnKeyDown(SDLK_q, chord, 'Q');
    EXPECT_TRUE(app->_cheatMode);
    app->OnKeyDown(SDLK_q, chord, 'Q');
    EXPECT_TRUE(app->_cheatMode);
    app->OnKeyDown(SDLK_b, KMOD_NONE, 'b');
    app->OnKeyDown(SDLK_SPACE, KMOD_NONE, ' ');
    EXPECT_EQ(testsupport::CountLogLines("Cheat Key = 97"), 0);
    EXPECT_EQ(testsupport::CountLogLines("Cheat Key = 113"), 0);
    EXPECT_EQ(testsupport::CountLogLines("Cheat Key = 32"), 0);
    EXPECT_EQ(testsupport::CountLogLines("Cheat Key = 98"), 1);

    // Leaving a game ends the cheat mode.
    app->GetGameScript()->LeaveGame();
    EXPECT_FALSE(app->_cheatMode);
}

TEST_F(MahjongAppTest, SceneLoaderHandsTheLoadedAnimationToTheMainThread)
{
    Start();
    MjGameScript* s = app->GetGameScript();
    for (int round = 0; round < 40; ++round) {
        s->SetAnimName("anim/none.cfg");
        s->SetAnimState(MjGameScript::kAnimLoading);
        s->SetSceneLoader(new LoadingThread(app.get(), LoadingThread::kOtherResources));
        for (int n = 0; n < 2000 && s->GetSceneLoader() != nullptr; ++n) {
            Frame();
            SDL_Delay(1);
        }
        ASSERT_EQ(s->GetSceneLoader(), nullptr) << round;
        ASSERT_EQ(s->GetAnimState(), MjGameScript::kAnimLoaded) << round;
        s->CleanUpAnimation(1);
        s->SetAnimState(MjGameScript::kAnimNone);
    }
}
