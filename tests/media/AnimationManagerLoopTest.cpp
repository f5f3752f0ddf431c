#include "SDL.h"
#include "framework/core/Debug.h"
#include "framework/core/IdleWake.h"
#include "framework/core/Rectangle.h"
#include "framework/core/Thread.h"
#include "framework/core/TickSource.h"
#include "framework/core/Timer.h"
#include "framework/core/TimerListener.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMember.h"
#include "framework/stage/CueListener.h"
#include "framework/stage/GameTime.h"
#include "framework/stage/InputCatcher.h"
#include "framework/stage/Script.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TestSupport.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <poll.h>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace {

using Calls = std::vector<std::string>;

std::string Xy(int x, int y)
{
    return std::to_string(x) + "," + std::to_string(y);
}

// Notes the mouse events that reach a stage, after routing.
class RecordingCatcher : public InputCatcher
{
public:
    explicit RecordingCatcher(Calls* calls) : _calls(calls) {}
    void MouseDown(int x, int y, int button, bool) override
    {
        _calls->push_back("down " + Xy(x, y) + " " + std::to_string(button));
    }
    void MouseUp(int x, int y, int, bool) override { _calls->push_back("up " + Xy(x, y)); }
    void MouseMove(int x, int y, bool) override { _calls->push_back("move " + Xy(x, y)); }

private:
    Calls* _calls;
};

// A filled square that notes its hovers.
class Square : public CastMember
{
public:
    Square(Cast* cast, int x, int y, int w, int h, Uint32 rgb, int priority)
        : CastMember(cast, x, y, priority), _rgb(rgb)
    {
        SetDimensions(w, h);
        AllowInput(true);
        Show();
    }

    void Paint(Canvas* canvas) override
    {
        Rectangle r(static_cast<short>(GetX()), static_cast<short>(GetY()),
                    static_cast<short>(GetW()), static_cast<short>(GetH()));
        canvas->FillRect(r, Color((_rgb >> 16) & 0xFF, (_rgb >> 8) & 0xFF, _rgb & 0xFF, 255));
    }
    void OnMouseHover(int x, int y) override { hovers.push_back(Xy(x, y)); }
    void OnMouseHoverEnded() override { ++hoversEnded; }
    // A timed state falls due while the stage animates, after the frame looked at the screen.
    void DoState(int state) override
    {
        if (onState) {
            onState(state);
        }
    }

    std::vector<std::string> hovers;
    int hoversEnded = 0;
    std::function<void(int)> onState;

private:
    Uint32 _rgb;
};

// Notes its frames and the keys it hears.
class RecordingScript : public Script
{
public:
    RecordingScript(GameTime* clock, Calls* calls) : Script(clock), _calls(calls) {}
    void DoScript() override
    {
        if (onFrame) {
            onFrame();
        }
        _calls->push_back("script");
    }
    bool KeyDown(SDLKey sym, SDLMod, unsigned short unicode, bool alphanumeric) override
    {
        _calls->push_back("key " + std::to_string(sym) + " " + std::to_string(unicode) + " " +
                          (alphanumeric ? "alnum" : "other"));
        return true;
    }
    std::function<void()> onFrame;

private:
    Calls* _calls;
};

class RecordingCue : public CueListener
{
public:
    void Cue(CastMember* member, int cue, int value) override
    {
        cues.push_back(cue);
        EXPECT_EQ(member, nullptr);
        EXPECT_EQ(value, 0);
    }
    std::vector<int> cues;
};

// The screen as the frame loop has it, on a clock the test moves by hand; no framework.
class FrameLoopTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
        SDL_Surface* screen = SDL_SetVideoMode(AnimationManager::kScreenWidth,
                                               AnimationManager::kScreenHeight, 32, 0);
        ASSERT_NE(screen, nullptr);
        Canvas::SetDefaultPixelFormat(screen->format);
        manager = std::make_unique<AnimationManager>(nullptr, screen, false);
        game = manager->GetCast();
        // Two frames: the start-up repaint is done and the stage's rectangles have run out.
        manager->DoIt();
        manager->DoIt();
    }
    void TearDown() override
    {
        if (manager && manager->GetCast() != game) {
            manager->SetCast(game);
            manager->DoIt();
        }
        sprites.clear();
        other.reset();
        manager.reset();
        SDL_Quit();
    }

    void FrameAt(unsigned int t)
    {
        ticks.Set(t);
        manager->DoIt();
    }

    Square* AddSquare(Cast* cast, int x, int y, int size, Uint32 rgb)
    {
        sprites.push_back(std::make_unique<Square>(cast, x, y, size, size, rgb, 10));
        return sprites.back().get();
    }

    // A sprite over the whole screen behind everything else.
    Square* AddBackdrop(Uint32 rgb)
    {
        sprites.push_back(std::make_unique<Square>(game, 0, 0, AnimationManager::kScreenWidth,
                                                   AnimationManager::kScreenHeight, rgb, 1000));
        return sprites.back().get();
    }

    Uint32 ScreenPixel(int x, int y)
    {
        SDL_Surface* s = manager->GetSurface();
        SDL_LockSurface(s);
        const Uint32 pixel = static_cast<Uint32*>(s->pixels)[y * s->pitch / 4 + x];
        SDL_UnlockSurface(s);
        Uint8 r = 0;
        Uint8 g = 0;
        Uint8 b = 0;
        SDL_GetRGB(pixel, s->format, &r, &g, &b);
        return (static_cast<Uint32>(r) << 16) | (static_cast<Uint32>(g) << 8) | b;
    }

    std::vector<std::tuple<int, int, int, int>> DirtyList()
    {
        std::vector<std::tuple<int, int, int, int>> out;
        for (const Rectangle* r : manager->GetPaintCanvas()->GetDirtyRects()) {
            out.emplace_back(r->GetX(), r->GetY(), r->GetW(), r->GetH());
        }
        return out;
    }

    testsupport::FakeClock ticks;
    std::unique_ptr<AnimationManager> manager;
    Cast* game = nullptr;
    std::unique_ptr<Cast> other;
    std::vector<std::unique_ptr<Square>> sprites; // deleted before the stages
};

TEST_F(FrameLoopTest, OverlappingDirtyRectanglesMergeUntilNoneOverlap)
{
    using R = std::tuple<int, int, int, int>;
    struct Case
    {
        const char* name;
        std::vector<R> in;
        std::vector<R> out;
    };
    const Case cases[] = {
        {"two overlap, one apart",
         {R{0, 0, 10, 10}, R{5, 5, 10, 10}, R{100, 100, 5, 5}},
         {R{0, 0, 15, 15}, R{100, 100, 5, 5}}},
        {"a union reaches a third",
         {R{0, 0, 10, 10}, R{30, 0, 10, 10}, R{5, 0, 30, 2}},
         {R{0, 0, 40, 10}}},
        {"none overlap",
         {R{0, 0, 10, 10}, R{50, 50, 10, 10}},
         {R{0, 0, 10, 10}, R{50, 50, 10, 10}}},
        {"one inside another", {R{0, 0, 100, 100}, R{10, 10, 5, 5}}, {R{0, 0, 100, 100}}},
        {"a single one", {R{7, 8, 9, 10}}, {R{7, 8, 9, 10}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        manager->ClearDirtyRects();
        for (const R& r : c.in) {
            ASSERT_TRUE(manager->AddDirtyRect(new Rectangle(
                static_cast<short>(std::get<0>(r)), static_cast<short>(std::get<1>(r)),
                static_cast<short>(std::get<2>(r)), static_cast<short>(std::get<3>(r)))));
        }
        manager->ProcessDirtyRects(false);
        EXPECT_EQ(DirtyList(), c.out);
    }
    manager->ClearDirtyRects();
}

TEST_F(FrameLoopTest, FadesEndWithTheirCue)
{
    struct Case
    {
        const char* name;
        int startAlpha;
        int kind; // 0 in, 1 out, 2 to target
        int target;
        unsigned int ms;
        bool cueAtOnce;
        int cue;
        int midAlpha; // half-way; -1 when not looked at
    };
    const Case cases[] = {
        {"in from full: at once", 255, 0, 255, 500, true, CueListener::kScreenFadedIn, -1},
        {"out from black: at once", 0, 1, 0, 500, true, CueListener::kScreenFadedOut, -1},
        {"to the same alpha: at once", 100, 2, 100, 500, true, CueListener::kScreenFadedOther, -1},
        {"out over 200 ms", 255, 1, 0, 200, false, CueListener::kScreenFadedOut, 128},
        {"in over 200 ms", 0, 0, 255, 200, false, CueListener::kScreenFadedIn, 127},
        {"to 100 from full", 255, 2, 100, 200, false, CueListener::kScreenFadedOther, 178},
        {"to 200 from black", 0, 2, 200, 200, false, CueListener::kScreenFadedOther, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingCue listener;
        manager->SetMasterAlpha(c.startAlpha);
        unsigned int t = ticks.Now();
        FrameAt(t);
        if (c.kind == 0) {
            manager->FadeIn(c.ms, &listener);
        } else if (c.kind == 1) {
            manager->FadeOut(c.ms, &listener);
        } else {
            manager->FadeTo(c.target, c.ms, &listener);
        }
        if (c.cueAtOnce) {
            EXPECT_EQ(listener.cues, std::vector<int>{c.cue});
            EXPECT_FALSE(manager->FadingIn() || manager->FadingOut());
            continue;
        }
        EXPECT_TRUE(listener.cues.empty());
        FrameAt(t + c.ms / 2);
        EXPECT_EQ(manager->GetMasterAlpha(), c.midAlpha);
        EXPECT_TRUE(listener.cues.empty());
        FrameAt(t + c.ms);
        EXPECT_EQ(manager->GetMasterAlpha(), c.target);
        EXPECT_EQ(listener.cues, std::vector<int>{c.cue});
        FrameAt(t + c.ms + 50);
        EXPECT_EQ(listener.cues.size(), 1u);
    }
}

TEST_F(FrameLoopTest, AFadeOfNoTimeLastsOneMillisecond)
{
    RecordingCue listener;
    FrameAt(5000);
    manager->FadeOut(0, &listener);
    FrameAt(5000);
    EXPECT_EQ(manager->GetMasterAlpha(), 255);
    EXPECT_TRUE(listener.cues.empty());
    FrameAt(5001);
    EXPECT_EQ(manager->GetMasterAlpha(), 0);
    EXPECT_EQ(listener.cues, std::vector<int>{CueListener::kScreenFadedOut});
}

TEST_F(FrameLoopTest, AForgottenListenerIsNotToldWhenTheFadeEnds)
{
    RecordingCue listener;
    RecordingCue other;
    manager->SetMasterAlpha(0);
    FrameAt(6000);
    manager->FadeIn(200, &listener);
    // Only the fade's own listener is forgotten.
    manager->ForgetFadeListener(&other);
    FrameAt(6100);
    manager->ForgetFadeListener(&listener);
    FrameAt(6200);
    EXPECT_EQ(manager->GetMasterAlpha(), 255);
    EXPECT_TRUE(listener.cues.empty());
    EXPECT_TRUE(other.cues.empty());
}

TEST_F(FrameLoopTest, AFrameRunsTimersThenScriptThenMouseOnTheNewStage)
{
    Calls calls;
    RecordingCatcher gameCatcher(&calls);
    game->SetInputCatcher(&gameCatcher);
    other = std::make_unique<Cast>(manager.get(), manager->GetFadeCanvas());
    RecordingCatcher otherCatcher(&calls);
    other->SetInputCatcher(&otherCatcher);

    struct TickListener : TimerListener
    {
        Calls* calls = nullptr;
        void TimerTicked(int, unsigned int, int) override { calls->push_back("timer"); }
    } tick;
    tick.calls = &calls;
    Timer timer(manager->GetGameTime(), 1, manager.get(), &tick);
    timer.Start(100000, 10);
    FrameAt(2000);

    RecordingScript script(manager->GetGameTime(), &calls);
    script.onFrame = [&] { calls.push_back(manager->GetCast() == other.get() ? "new" : "old"); };
    manager->SetScript(&script);

    // Queued for the old stage: dropped by the swap.
    manager->MouseDown(10, 10, 1);
    manager->SetCast(other.get());
    EXPECT_EQ(manager->GetCast(), game);
    FrameAt(2100);
    EXPECT_EQ(manager->GetCast(), other.get());
    EXPECT_EQ(calls, (Calls{"timer", "new", "script"}));

    calls.clear();
    manager->MouseDown(20, 30, 3);
    FrameAt(2200);
    EXPECT_EQ(calls, (Calls{"timer", "new", "script", "down 20,30 3"}));
    EXPECT_EQ(manager->GetLastMouseX(), 20);
    EXPECT_EQ(manager->GetLastMouseY(), 30);
    manager->SetScript(nullptr);
    game->SetInputCatcher(nullptr);
    other->SetInputCatcher(nullptr);
}

TEST_F(FrameLoopTest, WithMouseInputOffClicksAreLostAndKeysStillReachTheScript)
{
    Calls calls;
    RecordingCatcher catcher(&calls);
    game->SetInputCatcher(&catcher);
    RecordingScript script(nullptr, &calls);
    manager->SetScript(&script);

    manager->SetMasterInput(false);
    EXPECT_TRUE(manager->MouseDown(5, 5, 1));
    EXPECT_TRUE(manager->MouseUp(5, 5, 1));
    EXPECT_TRUE(manager->MouseMove(6, 6));
    EXPECT_TRUE(manager->KeyDown(SDLK_a, KMOD_NONE, 'a'));
    FrameAt(3000);
    EXPECT_EQ(calls, (Calls{"key 97 97 alnum", "script"}));

    calls.clear();
    manager->SetMasterInput(true);
    manager->MouseDown(5, 5, 1);
    manager->KeyDown(SDLK_PERIOD, KMOD_NONE, '.');
    FrameAt(3100);
    EXPECT_EQ(calls, (Calls{"key 46 46 other", "script", "down 5,5 1"}));
    manager->SetScript(nullptr);
    game->SetInputCatcher(nullptr);
}

TEST_F(FrameLoopTest, KeysAreTranslatedAndJudgedAlphanumeric)
{
    struct Case
    {
        SDLKey sym;
        int mod;
        unsigned short unicode;
        unsigned short key;
        bool alphanumeric;
    };
    const Case cases[] = {
        {SDLK_a, KMOD_NONE, 'a', 'a', true},
        {SDLK_a, KMOD_LSHIFT, 'A', 'A', true},
        {SDLK_SPACE, KMOD_NONE, ' ', ' ', true},
        {SDLK_MINUS, KMOD_LSHIFT, '_', '_', true},
        {SDLK_1, KMOD_NONE, '1', '1', true},
        {SDLK_1, KMOD_LSHIFT, '!', '!', false},
        {SDLK_1, KMOD_RSHIFT, '1', '1', false}, // a digit with Shift alone
        {SDLK_1, KMOD_LCTRL, '1', '1', true},
        {SDLK_1, KMOD_LCTRL | KMOD_LSHIFT, '1', '1', true},
        {SDLK_1, KMOD_NUM, '1', '1', true}, // lock keys are no held modifier
        {SDLK_1, KMOD_NUM | KMOD_LSHIFT, '1', '1', false},
        {SDLK_PERIOD, KMOD_NONE, '.', '.', false},
        {SDLK_b, KMOD_NONE, 0, 0, true}, // key up: no character, the symbol decides
        {SDLK_e, KMOD_NONE, 0xE9, 127, false},
        {SDLK_F1, KMOD_NONE, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.sym) + " mod " + std::to_string(c.mod) + " char " +
                     std::to_string(c.unicode));
        const SDLMod mod = static_cast<SDLMod>(c.mod);
        EXPECT_EQ(manager->TranslateKey(c.sym, mod, c.unicode), c.key);
        EXPECT_EQ(manager->AlphaNumeric(c.sym, mod, c.unicode), c.alphanumeric);
    }
    EXPECT_EQ(manager->GetFPS(), 0);
}

TEST_F(FrameLoopTest, OneHoverAfterASecondWithoutMouseEventsThenTheNextEventEndsIt)
{
    Square* square = AddSquare(game, 0, 0, 100, 0xFF0000);
    manager->MouseMove(10, 10);
    manager->DoIt();
    ticks.Advance(1100);
    for (int i = 0; i < 5; ++i) {
        manager->DoIt();
    }
    EXPECT_EQ(square->hovers, std::vector<std::string>{"10,10"});

    // Still over the same sprite: the hover goes on.
    manager->MouseMove(12, 12);
    manager->DoIt();
    EXPECT_EQ(square->hoversEnded, 0);
    manager->MouseMove(300, 300);
    manager->DoIt();
    EXPECT_EQ(square->hoversEnded, 1);
    EXPECT_EQ(square->hovers.size(), 1u);
}

TEST_F(FrameLoopTest, DirtySpritesArePaintedAndShownOnTheScreen)
{
    AddBackdrop(0x0000FF);
    Square* square = AddSquare(game, 40, 30, 20, 0xFF0000);
    manager->DoIt();
    EXPECT_EQ(ScreenPixel(50, 40), 0xFF0000u);
    EXPECT_EQ(ScreenPixel(70, 40), 0x0000FFu);

    // Moved: the sprites behind its old place are painted there again.
    square->Move(200, 100, false);
    manager->DoIt();
    EXPECT_EQ(ScreenPixel(210, 110), 0xFF0000u);
    EXPECT_EQ(ScreenPixel(50, 40), 0x0000FFu);
}

TEST_F(FrameLoopTest, AScreenModeChangeWaitsForTheEndOfTheFrame)
{
    manager->SetLogLevel(5);
    manager->SetScreenMode(true);
    EXPECT_TRUE(manager->AboutToSetNewScreenMode());
    EXPECT_FALSE(manager->IsFullScreen());
    manager->DoIt();
    EXPECT_FALSE(manager->AboutToSetNewScreenMode());
    EXPECT_TRUE(manager->IsFullScreen());
    // The dummy video driver reports no video memory: single buffering.
    ASSERT_NE(manager->GetSurface(), nullptr);
    EXPECT_EQ(manager->GetSurface()->flags & (SDL_DOUBLEBUF | SDL_HWSURFACE), 0u);
    EXPECT_EQ(manager->GetPaintCanvas(), manager.get());
    const std::string log = (Debug::DebugFlush(), testsupport::ReadFile("debug.txt"));
    EXPECT_NE(log.find("SET SCREEN MODE 1"), std::string::npos) << log;
    EXPECT_NE(log.find("Not enough video memory -- using single buffering: 0"), std::string::npos);
    EXPECT_NE(log.find("Not Using Double Buffering"), std::string::npos);
    EXPECT_NE(log.find("Globals = 1, 0, 0"), std::string::npos);

    // Asking for the mode in use changes nothing.
    manager->SetScreenMode(true);
    EXPECT_FALSE(manager->AboutToSetNewScreenMode());
    manager->SetScreenMode(false);
    manager->DoIt();
    EXPECT_FALSE(manager->IsFullScreen());
}

TEST_F(FrameLoopTest, DoubleBufferedFullScreenPaintsBehindAndRepaintsTwoPagesOnly)
{
    manager->SetVideoMemThreshold(0);
    manager->SetScreenMode(true);
    manager->DoIt();
    ASSERT_TRUE(manager->IsFullScreen());
    Canvas* back = manager->GetPaintCanvas();
    ASSERT_NE(back, manager.get());

    AddSquare(game, 40, 30, 20, 0x00FF00);
    manager->DoIt();
    EXPECT_EQ(ScreenPixel(50, 40), 0x00FF00u);

    // The whole screen is painted on the next frames for both pages, then no more.
    int frames = 0;
    while (manager->RepaintAllPending() && frames < 10) {
        manager->DoIt();
        ++frames;
    }
    EXPECT_LE(frames, 2);
    manager->DoIt();
    EXPECT_FALSE(manager->RepaintAllPending());
}

// A clock that moves one millisecond each time it is read: a sleep by the tick source ends
// without real waiting, and the time it reports says how long it would have lasted.
unsigned int gSteppingTicks = 0;
unsigned int SteppingTicks()
{
    return ++gSteppingTicks;
}

TEST_F(FrameLoopTest, AnIdleFrameSleepsUntilTheNextTimedStepAndNeverAfterAChange)
{
    struct Case
    {
        const char* name;
        std::function<void()> before; // what the frame finds
        unsigned int idleMs;          // what the frame leaves to sleep
    };
    Square* still = AddSquare(game, 10, 10, 20, 0x00FF00);
    RecordingCue fades;
    struct : CueListener
    {
        void Cue(CastMember*, int, int) override {}
    } timeCues;
    Calls calls;
    RecordingScript script(manager->GetGameTime(), &calls);
    script.ChangeState(0, 0);
    manager->SetScript(&script);
    struct : TimerListener
    {
        void TimerTicked(int, unsigned int, int) override {}
    } tickListener;
    Timer timer(manager->GetGameTime(), 1, manager.get(), &tickListener);
    const std::unique_ptr<Cast> other =
        std::make_unique<Cast>(manager.get(), manager->GetFadeCanvas());
    const Case cases[] = {
        {"nothing moves, nothing due", [] {}, AnimationManager::kIdleFrameMs},
        {"a sprite's state due in 4 ms", [&] { still->ChangeState(5, 4); }, 4},
        {"a sprite's time cue due in 3 ms",
         [&] {
             still->SetCueListener(&timeCues);
             still->SetTimeCue(3);
         },
         3},
        {"a state far off: one idle frame", [&] { still->ChangeState(5, 5000); },
         AnimationManager::kIdleFrameMs},
        {"the script's state due in 2 ms", [&] { script.ChangeState(7, 2); }, 2},
        // Started in this frame: the tick is due once more than its 30 ms have passed.
        {"a timer ticking every 30 ms", [&] { timer.Start(100000, 30); }, 31},
        {"a sprite moved", [&] { still->Move(40, 40, false); }, 0},
        {"a mouse event to hand on", [&] { manager->MouseMove(5, 5); }, 0},
        {"a fade running", [&] { manager->FadeOut(200, &fades); }, 0},
        {"a full repaint", [&] { manager->RepaintAll(false); }, 0},
        // Started by a sprite's state in the middle of the frame: the fade's first steps are due.
        {"a screen fade started by a sprite's state",
         [&] {
             still->onState = [&](int) { manager->FadeOut(200, &fades); };
             still->ChangeState(5, 1);
             ticks.Advance(1);
         },
         0},
        // Asked for in the middle of the frame: the next frame shows the new stage.
        {"a stage swap asked for by a sprite's state",
         [&] {
             still->onState = [&](int) { manager->SetCast(other.get()); };
             still->ChangeState(5, 1);
             ticks.Advance(1);
         },
         0},
        // Its alpha steps with the time, often not in every frame: each frame is due. Last: the
        // fade outlasts the settling frames.
        {"a sprite fading out over 5 s", [&] { still->FadeOut(0, 5000, nullptr); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Settle: two frames without change, every timed step out of the way.
        still->onState = nullptr;
        manager->SetCast(game);
        still->ChangeState(0, 0);
        still->CancelAllCues();
        script.ChangeState(0, 0);
        timer.Stop(true);
        manager->SetMasterAlpha(255);
        FrameAt(ticks.Now() + 500);
        FrameAt(ticks.Now() + 500);
        ASSERT_EQ(manager->IdleMs(), AnimationManager::kIdleFrameMs);
        c.before();
        FrameAt(ticks.Now());
        EXPECT_EQ(manager->IdleMs(), c.idleMs);
    }
    manager->SetScript(nullptr);
}

TEST_F(FrameLoopTest, PollersStepsAndTheFrameRateTextBoundTheIdleSleep)
{
    // Settled: nothing due.
    FrameAt(ticks.Now() + 500);
    FrameAt(ticks.Now() + 500);
    ASSERT_EQ(manager->IdleMs(), AnimationManager::kIdleFrameMs);

    // A step that only its owner's per-frame look takes, announced during the frame: the
    // earliest of two counts, and it lasts until the next frame begins.
    manager->StepDueIn(40);
    manager->StepDueIn(7);
    manager->StepDueIn(60);
    EXPECT_EQ(manager->IdleMs(), 7u);
    FrameAt(ticks.Now() + 1);
    EXPECT_EQ(manager->IdleMs(), AnimationManager::kIdleFrameMs);

    // The frame-rate text changes when its half-second window of ticks closes.
    game->ShowFPS(true, nullptr);
    for (int n = 0; n < 3; ++n) {
        FrameAt(ticks.Now() + 600);
    }
    FrameAt(ticks.Now() + 450);
    const unsigned int idle = manager->IdleMs();
    EXPECT_GT(idle, 0u);
    EXPECT_LE(idle, 51u);
    game->ShowFPS(false, nullptr);
}

TEST_F(FrameLoopTest, AWorkerThatEndedEndsTheNextIdleSleep)
{
    IdleWake::Take();
    const TickSource::Reader fake = TickSource::Get();
    gSteppingTicks = 0;
    TickSource::Set(&SteppingTicks);
    // A loader that finished while the main thread was busy: its owner looks in the next frame.
    Thread worker;
    worker.Start();
    while (!worker.IsFinished()) {
        SDL_Delay(1);
    }
    EXPECT_LE(manager->SleepUntilInput(AnimationManager::kIdleFrameMs), 1u);
    // Taken: the sleep after it is whole again.
    EXPECT_GE(manager->SleepUntilInput(AnimationManager::kIdleFrameMs),
              AnimationManager::kIdleFrameMs);
    // Woken from another thread in the middle of a sleep, through the descriptor the display
    // sleep watches.
    IdleWake::Wake();
    ASSERT_GE(IdleWake::Fd(), 0);
    pollfd readable{IdleWake::Fd(), POLLIN, 0};
    EXPECT_EQ(poll(&readable, 1, 0), 1);
    EXPECT_TRUE(IdleWake::Take());
    EXPECT_EQ(poll(&readable, 1, 0), 0);
    TickSource::Set(fake);
}

TEST_F(FrameLoopTest, WorkDoneAfterAFrameOrForAnEventIsNotHeldBackByAnIdleSleep)
{
    manager->SetIdleWait(true);
    Square* square = AddSquare(game, 10, 10, 20, 0x00FF00);
    const TickSource::Reader fake = TickSource::Get();
    gSteppingTicks = 100000;
    TickSource::Set(&SteppingTicks);
    const auto settle = [&] {
        for (int n = 0; n < 3; ++n) {
            manager->DoIt();
        }
    };

    // A sprite's timed state changes nothing on the screen, but the game's own per-frame step,
    // which runs after the loop's frame, answers it by moving a sprite: shown in the next frame,
    // with no idle sleep between the state and the move.
    settle();
    bool answer = false;
    square->onState = [&](int) { answer = true; };
    square->ChangeState(5, 1);
    unsigned int start = gSteppingTicks;
    manager->DoIt();
    ASSERT_TRUE(answer);
    square->Move(300, 200, false);
    manager->DoIt();
    EXPECT_LT(gSteppingTicks - start, AnimationManager::kIdleFrameMs);
    EXPECT_EQ(ScreenPixel(310, 210), 0x00FF00u);

    // An SDL event handled before the frame (a focus change) whose answer comes after it.
    settle();
    manager->EventArrived();
    start = gSteppingTicks;
    manager->DoIt();
    square->Move(500, 100, false);
    manager->DoIt();
    EXPECT_LT(gSteppingTicks - start, AnimationManager::kIdleFrameMs);
    EXPECT_EQ(ScreenPixel(510, 110), 0x00FF00u);
    TickSource::Set(fake);
    manager->SetIdleWait(false);
}

TEST_F(FrameLoopTest, AnIdleSleepEndsAsSoonAsInputIsQueued)
{
    IdleWake::Take();
    const TickSource::Reader fake = TickSource::Get();
    gSteppingTicks = 0;
    TickSource::Set(&SteppingTicks);
    // Nothing queued: the whole sleep.
    EXPECT_GE(manager->SleepUntilInput(AnimationManager::kIdleFrameMs),
              AnimationManager::kIdleFrameMs);
    // A press waiting: no sleep at all, and the press stays queued for the main loop.
    SDL_Event press{};
    press.type = SDL_MOUSEBUTTONDOWN;
    press.button.button = SDL_BUTTON_LEFT;
    press.button.state = SDL_PRESSED;
    ASSERT_EQ(SDL_PushEvent(&press), 0);
    EXPECT_LE(manager->SleepUntilInput(AnimationManager::kIdleFrameMs), 1u);
    SDL_Event got{};
    EXPECT_EQ(SDL_PollEvent(&got), 1);
    EXPECT_EQ(got.type, SDL_MOUSEBUTTONDOWN);
    TickSource::Set(fake);
}

TEST_F(FrameLoopTest, WithIdleWaitOnAnIdleFrameSleepsAndABusyOneDoesNot)
{
    IdleWake::Take();
    manager->SetIdleWait(true);
    const TickSource::Reader fake = TickSource::Get();
    gSteppingTicks = 100000;
    TickSource::Set(&SteppingTicks);
    manager->DoIt();
    manager->DoIt();
    unsigned int start = gSteppingTicks;
    manager->DoIt();
    EXPECT_GE(gSteppingTicks - start, AnimationManager::kIdleFrameMs);

    Square* square = AddSquare(game, 10, 10, 20, 0x00FF00);
    square->MoveTo(700, 500, 100000, false, 10.0);
    manager->DoIt();
    start = gSteppingTicks;
    manager->DoIt();
    EXPECT_LT(gSteppingTicks - start, AnimationManager::kIdleFrameMs);
    TickSource::Set(fake);
}

TEST_F(FrameLoopTest, TheFadeLayerHoldsPixelsOnlyBelowFullAlphaAndKeepsItsColour)
{
    AddBackdrop(0xFFFFFF);
    Canvas* layer = manager->GetFadeCanvas();
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->GetSurface(), nullptr);

    // Half faded: the layer exists and darkens the screen.
    manager->SetMasterAlpha(128);
    manager->DoIt();
    ASSERT_NE(layer->GetSurface(), nullptr);
    EXPECT_EQ(ScreenPixel(400, 300), 0x808080u);

    // A fade back up to full lets the pixels go; the stages keep the same canvas.
    RecordingCue listener;
    FrameAt(ticks.Now());
    manager->FadeIn(100, &listener);
    FrameAt(ticks.Now() + 100);
    EXPECT_EQ(listener.cues, std::vector<int>{CueListener::kScreenFadedIn});
    EXPECT_EQ(manager->GetFadeCanvas(), layer);
    EXPECT_EQ(layer->GetSurface(), nullptr);
    EXPECT_EQ(ScreenPixel(400, 300), 0xFFFFFFu);

    // Made again in the fade colour set while it was gone.
    manager->SetFadeColor(Color(255, 0, 0, 255));
    manager->SetMasterAlpha(0);
    manager->DoIt();
    ASSERT_NE(layer->GetSurface(), nullptr);
    EXPECT_EQ(ScreenPixel(400, 300), 0xFF0000u);
}

TEST_F(FrameLoopTest, TheScreenIsReplacedUnderTheCanvasLock)
{
    std::atomic<bool> held{false};
    std::thread holder([&] {
        Canvas::LockAll();
        held = true;
        SDL_Delay(300);
        Canvas::UnlockAll();
    });
    while (!held) {
        SDL_Delay(1);
    }
    const auto start = std::chrono::steady_clock::now();
    manager->DoIt(); // no change: does not wait for the lock
    const auto plainFrame = std::chrono::steady_clock::now() - start;
    manager->SetScreenMode(true);
    manager->DoIt();
    const auto changeFrame = std::chrono::steady_clock::now() - start;
    holder.join();
    EXPECT_LT(plainFrame, std::chrono::milliseconds(200));
    EXPECT_GE(changeFrame, std::chrono::milliseconds(280));
    EXPECT_TRUE(manager->IsFullScreen());
}

} // namespace
