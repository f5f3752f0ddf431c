#include "framework/core/Application.h"

#include "SDL.h"
#include "framework/core/Debug.h"
#include "framework/core/EventHandler.h"
#include "tests/support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Calls = std::vector<std::string>;

// A loop that never ends would hang the test; this many passes means something is wrong.
constexpr int kRunawayPasses = 10000;
constexpr int kRunawayCode = 999;

std::string Xy(int x, int y)
{
    return std::to_string(x) + "," + std::to_string(y);
}

// Records every hook call as a line of text, in call order.
class RecordingApp : public EventHandler
{
public:
    Calls calls;
    std::vector<unsigned int> idles;
    bool initResult = true;
    bool filterAll = false;
    int passes = 0;
    std::function<void(int pass)> onDoIt;
    std::function<void(SDLKey sym)> onKeyDown;

    bool OnInit(int argc, char** argv) override
    {
        calls.push_back("Init");
        return EventHandler::OnInit(argc, argv) && initResult;
    }
    void OnIdle(unsigned int ms) override
    {
        calls.push_back("Idle");
        idles.push_back(ms);
    }
    void OnExit() override
    {
        calls.push_back("Exit");
        EventHandler::OnExit();
    }
    void DoIt() override
    {
        ++passes;
        calls.push_back("DoIt");
        if (onDoIt) {
            onDoIt(passes);
        }
        if (passes >= kRunawayPasses) {
            Quit(kRunawayCode);
        }
    }

    bool FilterEvent(SDL_Event*) override { return filterAll; }
    void OnInputFocus() override { calls.push_back("InputFocus"); }
    void OnInputBlur() override { calls.push_back("InputBlur"); }
    void OnMouseFocus() override { calls.push_back("MouseFocus"); }
    void OnMouseBlur() override { calls.push_back("MouseBlur"); }
    void ResetScreenMode() override { calls.push_back("ResetScreenMode"); }
    void OnMinimize() override { calls.push_back("Minimize"); }
    void OnRestore() override { calls.push_back("Restore"); }
    void OnKeyDown(SDLKey sym, SDLMod mod, unsigned short unicode) override
    {
        calls.push_back("KeyDown " + std::to_string(sym) + " " + std::to_string(mod) + " " +
                        std::to_string(unicode));
        if (onKeyDown) {
            onKeyDown(sym);
        }
    }
    void OnKeyUp(SDLKey sym, SDLMod mod, unsigned short unicode) override
    {
        calls.push_back("KeyUp " + std::to_string(sym) + " " + std::to_string(mod) + " " +
                        std::to_string(unicode));
    }
    void OnMouseMove(unsigned short x, unsigned short y, short xrel, short yrel, bool left,
                     bool right, bool middle) override
    {
        calls.push_back("MouseMove " + Xy(x, y) + " " + Xy(xrel, yrel) + " L" +
                        std::to_string(left) + " R" + std::to_string(right) + " M" +
                        std::to_string(middle));
    }
    void OnLButtonDown(unsigned short x, unsigned short y) override
    {
        calls.push_back("LButtonDown " + Xy(x, y));
    }
    void OnLButtonUp(unsigned short x, unsigned short y) override
    {
        calls.push_back("LButtonUp " + Xy(x, y));
    }
    void OnRButtonDown(unsigned short x, unsigned short y) override
    {
        calls.push_back("RButtonDown " + Xy(x, y));
    }
    void OnRButtonUp(unsigned short x, unsigned short y) override
    {
        calls.push_back("RButtonUp " + Xy(x, y));
    }
    void OnMButtonDown(unsigned short x, unsigned short y) override
    {
        calls.push_back("MButtonDown " + Xy(x, y));
    }
    void OnMButtonUp(unsigned short x, unsigned short y) override
    {
        calls.push_back("MButtonUp " + Xy(x, y));
    }
    void OnJoyAxis(unsigned char which, unsigned char axis, short value) override
    {
        calls.push_back("JoyAxis " + std::to_string(which) + " " + std::to_string(axis) + " " +
                        std::to_string(value));
    }
    void OnJoyButtonDown(unsigned char which, unsigned char button) override
    {
        calls.push_back("JoyButtonDown " + std::to_string(which) + " " + std::to_string(button));
    }
    void OnJoyButtonUp(unsigned char which, unsigned char button) override
    {
        calls.push_back("JoyButtonUp " + std::to_string(which) + " " + std::to_string(button));
    }
    void OnJoyHat(unsigned char which, unsigned char hat, unsigned char value) override
    {
        calls.push_back("JoyHat " + std::to_string(which) + " " + std::to_string(hat) + " " +
                        std::to_string(value));
    }
    void OnJoyBall(unsigned char which, unsigned char ball, short xrel, short yrel) override
    {
        calls.push_back("JoyBall " + std::to_string(which) + " " + std::to_string(ball) + " " +
                        Xy(xrel, yrel));
    }
    void OnResize(int w, int h) override { calls.push_back("Resize " + Xy(w, h)); }
    void OnExpose() override { calls.push_back("Expose"); }
    void OnUser(unsigned char type, int code, void* data1, void* data2) override
    {
        calls.push_back("User " + std::to_string(type) + " " + std::to_string(code) +
                        (data1 != nullptr ? " d1" : "") + (data2 != nullptr ? " d2" : ""));
    }
};

SDL_Event Key(Uint8 type, SDLKey sym, SDLMod mod = KMOD_NONE, Uint16 unicode = 0)
{
    SDL_Event e{};
    e.type = type;
    e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    e.key.keysym.unicode = unicode;
    return e;
}

SDL_Event Motion(Uint16 x, Uint16 y, Sint16 xrel = 0, Sint16 yrel = 0, Uint8 state = 0)
{
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    e.motion.xrel = xrel;
    e.motion.yrel = yrel;
    e.motion.state = state;
    return e;
}

SDL_Event Button(Uint8 type, Uint8 button, Uint16 x, Uint16 y)
{
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    e.button.x = x;
    e.button.y = y;
    return e;
}

SDL_Event Active(Uint8 state, Uint8 gain)
{
    SDL_Event e{};
    e.type = SDL_ACTIVEEVENT;
    e.active.state = state;
    e.active.gain = gain;
    return e;
}

SDL_Event OfType(Uint8 type)
{
    SDL_Event e{};
    e.type = type;
    return e;
}

SDL_Event User(Uint8 type, int code, void* data1 = nullptr, void* data2 = nullptr)
{
    SDL_Event e{};
    e.type = type;
    e.user.code = code;
    e.user.data1 = data1;
    e.user.data2 = data2;
    return e;
}

void Push(SDL_Event e)
{
    ASSERT_EQ(SDL_PushEvent(&e), 0) << SDL_GetError();
}

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const char* value) : _name(name)
    {
        const char* old = std::getenv(name);
        _had = old != nullptr;
        if (_had) {
            _old = old;
        }
        setenv(name, value, 1);
    }
    ~ScopedEnv()
    {
        if (_had) {
            setenv(_name, _old.c_str(), 1);
        } else {
            unsetenv(_name);
        }
    }

private:
    const char* _name;
    bool _had = false;
    std::string _old;
};

class ApplicationTest : public ::testing::Test
{
protected:
    void TearDown() override { SDL_Quit(); }

    // Drops what SDL queued during start-up, so a test's batch is exactly what it pushed.
    static void DrainQueue()
    {
        SDL_Event e;
        while (SDL_PollEvent(&e) != 0) {
        }
    }

    static std::string Log()
    {
        Debug::DebugFlush();
        return testsupport::ReadFile("debug.txt");
    }

    static bool Contains(const std::string& text, const std::string& part)
    {
        return text.find(part) != std::string::npos;
    }
};

TEST_F(ApplicationTest, MotionIsCoalescedToTheLastOneAfterTheBatch)
{
    RecordingApp app;
    DrainQueue();
    Push(Motion(10, 10, 1, 1));
    Push(Key(SDL_KEYDOWN, SDLK_a));
    Push(Motion(20, 20, 5, 5, SDL_BUTTON_LMASK));
    Push(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 5, 6));
    Push(Motion(30, 31, 2, -3, SDL_BUTTON_LMASK | SDL_BUTTON_MMASK));
    Push(Key(SDL_KEYUP, SDLK_a));
    app.onDoIt = [](int pass) {
        if (pass == 2) {
            Application::Quit(0);
        }
    };

    EXPECT_EQ(Application::Execute(0, nullptr), 0);
    EXPECT_EQ(app.calls, (Calls{"Init", "KeyDown 97 0 0", "LButtonDown 5,6", "KeyUp 97 0 0",
                                "MouseMove 30,31 2,-3 L1 R0 M1", "DoIt", "Idle", "DoIt", "Exit"}));
}

TEST_F(ApplicationTest, QuitEventEndsThePassAtOnce)
{
    RecordingApp app;
    DrainQueue();
    Push(Key(SDL_KEYDOWN, SDLK_a));
    Push(Motion(7, 8));
    Push(OfType(SDL_QUIT));
    Push(Key(SDL_KEYDOWN, SDLK_b));

    EXPECT_EQ(Application::Execute(0, nullptr), 0);
    // No motion, no DoIt: the held motion is dropped and the pass ends with the quit event.
    EXPECT_EQ(app.calls, (Calls{"Init", "KeyDown 97 0 0", "Exit"}));

    SDL_Event left;
    ASSERT_EQ(SDL_PollEvent(&left), 1);
    EXPECT_EQ(left.type, SDL_KEYDOWN);
    EXPECT_EQ(left.key.keysym.sym, SDLK_b);

    const std::string log = Log();
    EXPECT_TRUE(Contains(log, "Exiting with code ")) << log;
    EXPECT_FALSE(Contains(log, "Possibly Abnormally")) << log;
}

TEST_F(ApplicationTest, QuitFromAHandlerStillDispatchesTheRestOfTheBatch)
{
    RecordingApp app;
    DrainQueue();
    app.onKeyDown = [](SDLKey sym) {
        if (sym == SDLK_a) {
            Application::Quit(5);
        }
    };
    Push(Key(SDL_KEYDOWN, SDLK_a));
    Push(Motion(7, 8));
    Push(Key(SDL_KEYDOWN, SDLK_b));

    EXPECT_EQ(Application::Execute(0, nullptr), 5);
    EXPECT_EQ(app.calls, (Calls{"Init", "KeyDown 97 0 0", "KeyDown 98 0 0", "Exit"}));
    EXPECT_TRUE(Contains(Log(), "Exiting (Possibly Abnormally) with code 5"));
}

TEST_F(ApplicationTest, QuitFromDoItEndsTheLoopAfterThatPass)
{
    RecordingApp app;
    DrainQueue();
    app.onDoIt = [](int pass) {
        if (pass == 3) {
            Application::Quit(7);
        }
    };

    EXPECT_EQ(Application::Execute(0, nullptr), 7);
    EXPECT_EQ(app.calls, (Calls{"Init", "Idle", "DoIt", "Idle", "DoIt", "Idle", "DoIt", "Exit"}));

    // The quit flag stays set: a second run does no pass and returns the same code.
    app.calls.clear();
    EXPECT_EQ(Application::Execute(0, nullptr), 7);
    EXPECT_EQ(app.calls, (Calls{"Init", "Exit"}));
}

TEST_F(ApplicationTest, IdleCountsFromTheFirstEventlessPassAndRestartsAfterAnEvent)
{
    constexpr Uint32 kStepMs = 20;
    RecordingApp app;
    DrainQueue();
    app.onDoIt = [](int pass) {
        if (pass <= 2) {
            SDL_Delay(kStepMs);
        } else if (pass == 3) {
            Push(Key(SDL_KEYDOWN, SDLK_a));
        } else if (pass == 5) {
            Application::Quit(0);
        }
    };

    EXPECT_EQ(Application::Execute(0, nullptr), 0);
    EXPECT_EQ(app.calls, (Calls{"Init", "Idle", "DoIt", "Idle", "DoIt", "Idle", "DoIt",
                                "KeyDown 97 0 0", "DoIt", "Idle", "DoIt", "Exit"}));
    ASSERT_EQ(app.idles.size(), 4u);
    EXPECT_EQ(app.idles[0], 0u);
    EXPECT_GE(app.idles[1], kStepMs);
    EXPECT_GE(app.idles[2], app.idles[1] + kStepMs);
    EXPECT_EQ(app.idles[3], 0u);
}

TEST_F(ApplicationTest, ExecuteWithoutApplicationReturnsMinus3)
{
    EXPECT_EQ(Application::Execute(0, nullptr), -3);

    // A deleted application is no longer the application.
    auto* app = new RecordingApp;
    EXPECT_EQ(Application::GetApplication(), app);
    delete app;
    EXPECT_EQ(Application::GetApplication(), nullptr);
    EXPECT_EQ(Application::Execute(0, nullptr), -3);
}

TEST_F(ApplicationTest, FailedInitRunsExitOnceAndReturnsMinus4)
{
    RecordingApp app;
    app.initResult = false;
    DrainQueue();
    Push(Key(SDL_KEYDOWN, SDLK_a));

    EXPECT_EQ(Application::Execute(0, nullptr), -4);
    EXPECT_EQ(app.calls, (Calls{"Init", "Exit"}));
    // The exit line names the code that is returned, not the 0 stored before.
    const std::string log = Log();
    EXPECT_TRUE(Contains(log, "Exiting (Possibly Abnormally) with code -4")) << log;
    EXPECT_FALSE(Contains(log, "Exiting with code ")) << log;
}

TEST_F(ApplicationTest, SecondApplicationReturnsMinus2)
{
    RecordingApp first;
    RecordingApp second;
    EXPECT_EQ(Application::GetApplication(), &second);

    EXPECT_EQ(Application::Execute(0, nullptr), -2);
    EXPECT_EQ(second.calls, (Calls{"Init", "Exit"}));
    EXPECT_TRUE(first.calls.empty());
    EXPECT_TRUE(Contains(Log(), "Exiting (Possibly Abnormally) with code -2"));
}

TEST_F(ApplicationTest, SdlFailureReturnsMinus1)
{
    ScopedEnv video("SDL_VIDEODRIVER", "no-such-driver");
    RecordingApp app;

    EXPECT_EQ(Application::Execute(0, nullptr), -1);
    EXPECT_EQ(app.calls, (Calls{"Init", "Exit"}));
    const std::string log = Log();
    EXPECT_TRUE(Contains(log, "Failed to Init SDL: ")) << log;
    EXPECT_TRUE(Contains(log, "Exiting (Possibly Abnormally) with code -1")) << log;
}

// Threads of this process now.
int ThreadCount()
{
    int count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/task")) {
        ++count;
    }
    return count;
}

TEST_F(ApplicationTest, StartsSdlWithoutItsTimerThreadAndKeepsTicksAndDelays)
{
    const int before = ThreadCount();
    RecordingApp app;
    // Every subsystem but SDL's callback timers, whose thread woke every millisecond.
    EXPECT_NE(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    EXPECT_NE(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_TIMER), 0u);
    EXPECT_EQ(ThreadCount(), before);
    // The tick count still runs and a delay still waits.
    const Uint32 start = SDL_GetTicks();
    SDL_Delay(2);
    EXPECT_GE(SDL_GetTicks() - start, 1u);
}

struct DispatchCase
{
    const char* what;
    SDL_Event event;
    Calls expected;
};

TEST_F(ApplicationTest, EachEventTypeReachesItsHandler)
{
    static int marker = 0;
    const std::vector<DispatchCase> cases = {
        {"input and active lost",
         Active(SDL_APPINPUTFOCUS | SDL_APPACTIVE, 0),
         {"InputBlur", "Minimize"}},
        {"all gained",
         Active(SDL_APPMOUSEFOCUS | SDL_APPINPUTFOCUS | SDL_APPACTIVE, 1),
         {"MouseFocus", "InputFocus", "ResetScreenMode", "Restore"}},
        {"mouse lost", Active(SDL_APPMOUSEFOCUS, 0), {"MouseBlur"}},
        {"key down", Key(SDL_KEYDOWN, SDLK_a, KMOD_LSHIFT, 'A'), {"KeyDown 97 1 65"}},
        {"key up", Key(SDL_KEYUP, SDLK_ESCAPE, KMOD_NONE, 27), {"KeyUp 27 0 27"}},
        {"motion, right held",
         Motion(7, 8, -1, -2, SDL_BUTTON_RMASK),
         {"MouseMove 7,8 -1,-2 L0 R1 M0"}},
        {"left down", Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 2), {"LButtonDown 1,2"}},
        {"middle down", Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 3, 4), {"MButtonDown 3,4"}},
        {"right down", Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 5, 6), {"RButtonDown 5,6"}},
        {"wheel down", Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELUP, 5, 6), {}},
        {"left up", Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 2), {"LButtonUp 1,2"}},
        {"middle up", Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 3, 4), {"MButtonUp 3,4"}},
        {"right up", Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 5, 6), {"RButtonUp 5,6"}},
        {"wheel up", Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_WHEELDOWN, 5, 6), {}},
        {"quit", OfType(SDL_QUIT), {}},
        {"window manager", OfType(SDL_SYSWMEVENT), {}},
        {"no event", OfType(SDL_NOEVENT), {}},
        {"resize",
         [] {
             SDL_Event e = OfType(SDL_VIDEORESIZE);
             e.resize.w = 640;
             e.resize.h = 480;
             return e;
         }(),
         {"Resize 640,480"}},
        {"expose", OfType(SDL_VIDEOEXPOSE), {"Expose"}},
        {"reserved 14", User(14, 1), {"User 14 1"}},
        {"reserved 15", User(15, 2), {"User 15 2"}},
        {"reserved 18", User(18, 3), {"User 18 3"}},
        {"user event", User(SDL_USEREVENT, 42, &marker, &marker), {"User 24 42 d1 d2"}},
        {"last user type", User(SDL_NUMEVENTS - 1, -7, nullptr, &marker), {"User 31 -7 d2"}},
    };

    RecordingApp app;
    for (const DispatchCase& c : cases) {
        app.calls.clear();
        SDL_Event event = c.event;
        app.OnEvent(&event);
        EXPECT_EQ(app.calls, c.expected) << c.what;
    }
}

TEST_F(ApplicationTest, JoystickEventsReachTheirHandlers)
{
    SDL_Event axis = OfType(SDL_JOYAXISMOTION);
    axis.jaxis.which = 1;
    axis.jaxis.axis = 2;
    axis.jaxis.value = -300;
    SDL_Event ball = OfType(SDL_JOYBALLMOTION);
    ball.jball.which = 1;
    ball.jball.ball = 3;
    ball.jball.xrel = 4;
    ball.jball.yrel = -5;
    SDL_Event hat = OfType(SDL_JOYHATMOTION);
    hat.jhat.which = 2;
    hat.jhat.hat = 0;
    hat.jhat.value = SDL_HAT_RIGHTUP;
    SDL_Event down = OfType(SDL_JOYBUTTONDOWN);
    down.jbutton.which = 0;
    down.jbutton.button = 6;
    SDL_Event up = OfType(SDL_JOYBUTTONUP);
    up.jbutton.which = 0;
    up.jbutton.button = 6;

    RecordingApp app;
    for (SDL_Event* e : {&axis, &ball, &hat, &down, &up}) {
        app.OnEvent(e);
    }
    EXPECT_EQ(app.calls, (Calls{"JoyAxis 1 2 -300", "JoyBall 1 3 4,-5", "JoyHat 2 0 3",
                                "JoyButtonDown 0 6", "JoyButtonUp 0 6"}));
}

TEST_F(ApplicationTest, FilteredEventsAreDropped)
{
    RecordingApp app;
    app.filterAll = true;
    SDL_Event key = Key(SDL_KEYDOWN, SDLK_a);
    SDL_Event active = Active(SDL_APPACTIVE, 0);
    SDL_Event user = User(SDL_USEREVENT, 1);
    app.OnEvent(&key);
    app.OnEvent(&active);
    app.OnEvent(&user);
    EXPECT_TRUE(app.calls.empty());
}

TEST_F(ApplicationTest, DialogShadowsNeedBothSwitches)
{
    struct Case
    {
        bool shadows;
        bool dialog;
        bool dialogAllowed;
    };
    for (const Case c : {Case{false, false, false}, Case{true, false, false},
                         Case{false, true, false}, Case{true, true, true}}) {
        Application::AllowDropShadows(c.shadows);
        Application::AllowDialogDropShadows(c.dialog);
        EXPECT_EQ(Application::DropShadowsAllowed(), c.shadows);
        EXPECT_EQ(Application::DialogDropShadowsAllowed(), c.dialogAllowed)
            << c.shadows << " " << c.dialog;
    }
}

} // namespace
