#include "framework/core/Framework.h"

#include "SDL.h"
#include "SDL_mixer.h"
#include "SDL_ttf.h"
#include "framework/core/Application.h"
#include "framework/core/ImageResources.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Audio.h"
#include "framework/media/Canvas.h"
#include "framework/media/Channel.h"
#include "framework/media/Font.h"
#include "framework/media/Music.h"
#include "framework/media/Sound.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberCursor.h"
#include "framework/stage/CastMemberImage.h"
#include "framework/stage/GameTime.h"
#include "framework/stage/InputCatcher.h"
#include "framework/stage/Script.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/support/TestSupport.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using testsupport::ReadFile;
using testsupport::WriteFile;

constexpr const char* kFontFile = "fonts/bankgbtm.ttf";

// The data a framework needs in its working folder: the default font and the settings (the
// update check off unless a test asks for it).
void PrepareData(const std::string& settings = "allowwebupdater=0\n")
{
    std::filesystem::create_directories("fonts");
    std::filesystem::copy_file(mediatest::SansFont(), kFontFile,
                               std::filesystem::copy_options::overwrite_existing);
    ASSERT_TRUE(WriteFile("game.cfg", "[game]\n" + settings));
}

std::string Log()
{
    Debug::DebugFlush();
    return ReadFile("debug.txt");
}

bool LogHas(const std::string& log, const std::string& text)
{
    return log.find(text) != std::string::npos;
}

// Ends the main loop after a number of frames.
class QuitScript : public Script
{
public:
    QuitScript(GameTime* clock, int frames) : Script(clock), _frames(frames) {}

    void DoScript() override
    {
        Script::DoScript();
        if (++framesRun == _frames) {
            Application::Quit(0);
        }
    }

    int framesRun = 0;

private:
    int _frames;
};

// A game-like application: after the framework's start it hands a script to the frame loop, and
// it notes what stood when each start-up hook ran.
class TestFramework : public Framework
{
public:
    std::vector<std::string> steps;
    bool failManager = false;
    int quitAfterFrames = 3;
    std::unique_ptr<QuitScript> script; // goes before the framework part, as a game's does
    std::function<void()> onStarted;

    bool OnInit(int argc, char** argv) override
    {
        steps.push_back("OnInit");
        if (!Framework::OnInit(argc, argv)) {
            return false;
        }
        script = std::make_unique<QuitScript>(_animationManager->GetGameTime(), quitAfterFrames);
        _animationManager->SetScript(script.get());
        SetScript(script.get());
        if (onStarted) {
            onStarted();
        }
        return true;
    }

    AnimationManager* CreateAnimationManager(bool unused) override
    {
        steps.push_back(std::string("CreateAnimationManager") +
                        (_gameConfig != nullptr ? " settings" : "") +
                        (Audio::IsOpen() ? " audio" : "") + (TTF_WasInit() ? " ttf" : ""));
        return failManager ? nullptr : Framework::CreateAnimationManager(unused);
    }

    void CreateFonts() override
    {
        std::string step = "CreateFonts";
        if (_animationManager != nullptr && !_animationManager->MasterInput()) {
            step += " input-off";
        }
        if (Canvas::GetDefaultPixelFormat() != nullptr &&
            Canvas::GetDefaultPixelFormat() == GetSWPixelFormat()) {
            step += " pixel-format";
        }
        if (Audio::GetFrequency() == 22050 && Audio::GetFormat() == AUDIO_S16LSB &&
            Audio::GetChannels() == 2) {
            step += " audio-22050-s16-stereo";
        }
        step += " channels-" + std::to_string(Channel::ChannelCount());
        if (TTF_WasInit() != 0) {
            step += " ttf";
        }
        steps.push_back(step);
        Framework::CreateFonts();
    }

    void SetDialogAttributes() override
    {
        int fonts = 0;
        for (int i = 0; i < kFrameworkFontCount; ++i) {
            const Font* font = GetFrameworkFont(static_cast<FrameworkFont>(i));
            fonts += font != nullptr && font->GetRawFont() != nullptr ? 1 : 0;
        }
        steps.push_back("SetDialogAttributes fonts-" + std::to_string(fonts));
    }
};

// ---------------------------------------------------------------------------------------------
// A whole run through Application::Execute.

TEST(FrameworkRunTest, StartsRunsFramesAndShutsDownInOrderLeavingNoObject)
{
    PrepareData();
    int code = 99;
    std::vector<std::string> steps;
    int frames = 0;
    {
        TestFramework app;
        code = Application::Execute(0, nullptr);
        steps = app.steps;
        frames = app.script->framesRun;
        EXPECT_EQ(Framework::GetApp(), &app);
    }
    EXPECT_EQ(code, 0);
    EXPECT_EQ(frames, 3);
    const std::vector<std::string> expected = {
        "OnInit",
        "CreateAnimationManager settings",
        "CreateFonts input-off pixel-format audio-22050-s16-stereo channels-10 ttf",
        "SetDialogAttributes fonts-9",
    };
    EXPECT_EQ(steps, expected);

    // Shut down in full: fonts, audio, SDL_ttf and SDL are gone.
    EXPECT_EQ(Framework::GetApp(), nullptr);
    EXPECT_FALSE(Audio::IsOpen());
    EXPECT_EQ(TTF_WasInit(), 0);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);

    const std::string log = Log();
    const size_t banner = log.find(": " + std::string(50, '-') + "\r\n");
    const size_t video = log.find("Hardware Surfaces available: ");
    const size_t format = log.find("Display format: BitsPerPixel:  32");
    const size_t exit = log.find("Exiting with code  0");
    const size_t report = log.find("Total objects used - ");
    ASSERT_NE(banner, std::string::npos) << log;
    EXPECT_TRUE(LogHas(log, "Framework version: "));
    EXPECT_TRUE(LogHas(log, ": " + std::string(49, '-') + "\r\n"));
    ASSERT_NE(video, std::string::npos);
    EXPECT_TRUE(LogHas(log, "Video memory available after screen surface created: "));
    EXPECT_TRUE(LogHas(log, "fullScreen set:  0"));
    ASSERT_NE(format, std::string::npos);
    ASSERT_NE(exit, std::string::npos) << log;
    ASSERT_NE(report, std::string::npos) << log;
    EXPECT_LT(banner, video);
    EXPECT_LT(video, format);
    EXPECT_LT(format, exit);
    EXPECT_LT(exit, report);
    EXPECT_FALSE(LogHas(log, "You Left")) << log;
    EXPECT_FALSE(LogHas(log, "Object Not Cleaned UP")) << log;
    EXPECT_FALSE(LogHas(log, "Failed to Open Audio"));
}

TEST(FrameworkRunTest, ForceSixteenMakesTheWindowTwiceAndLogsTheSixteenBitFormat)
{
    PrepareData("allowwebupdater=0\nforcesixteen=1\n");
    {
        TestFramework app;
        EXPECT_EQ(Framework::SixteenBit(), 1);
        EXPECT_EQ(Application::Execute(0, nullptr), 0);
        ASSERT_NE(app._animationManager, nullptr);
        EXPECT_EQ(app._animationManager->GetSurface()->format->BitsPerPixel, 16);
        EXPECT_EQ(Canvas::GetDefaultPixelFormat()->BitsPerPixel, 16);
    }
    const std::string log = Log();
    EXPECT_TRUE(LogHas(log, "Display format: BitsPerPixel:  16")) << log;
    EXPECT_TRUE(LogHas(log, "Display format: Rmask:  63488")) << log;
    EXPECT_TRUE(LogHas(log, "Display format: Gmask:  2016"));
    EXPECT_TRUE(LogHas(log, "Display format: Bmask:  31"));
    EXPECT_FALSE(LogHas(log, "Display format: BitsPerPixel:  32"));
    EXPECT_TRUE(LogHas(log, "Total objects used - "));
}

// A failed start: Execute returns -4, and the exit line names that code, not 0.
TEST(FrameworkRunTest, NoWindowEndsTheStartWithMinusFourInTheLogToo)
{
    PrepareData();
    int code = 0;
    {
        TestFramework app;
        app.failManager = true;
        code = Application::Execute(0, nullptr);
        EXPECT_EQ(app.script, nullptr);
    }
    EXPECT_EQ(code, -4);
    const std::string log = Log();
    EXPECT_TRUE(LogHas(log, "Exiting (Possibly Abnormally) with code -4")) << log;
    EXPECT_FALSE(LogHas(log, "Exiting with code")) << log;
    EXPECT_TRUE(LogHas(log, "Total objects used - ")) << log;
}

TEST(FrameworkRunTest, SdlThatDidNotStartFailsTheStart)
{
    PrepareData();
    // The window's icon, as the game names it in its constructor.
    SDL_Surface* icon = SDL_CreateRGBSurface(SDL_SWSURFACE, 16, 16, 24, 0xff0000, 0xff00, 0xff, 0);
    ASSERT_NE(icon, nullptr);
    ASSERT_TRUE(testsupport::SavePng(icon, "icon.bmp"));
    SDL_FreeSurface(icon);
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    int code = 0;
    {
        TestFramework app;
        // Without a display there is no window to name: the title and the icon are skipped.
        app.SetTitle("Title", "icon.bmp");
        code = Application::Execute(0, nullptr);
        EXPECT_EQ(app._animationManager, nullptr);
    }
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    EXPECT_EQ(code, -4);
    const std::string log = Log();
    EXPECT_TRUE(LogHas(log, "Failed to Init SDL")) << log;
    EXPECT_TRUE(LogHas(log, "Exiting (Possibly Abnormally) with code -4")) << log;
}

TEST(FrameworkRunTest, AudioThatWillNotOpenIsLoggedAndTheStartGoesOn)
{
    PrepareData();
    std::vector<std::string> steps;
    {
        TestFramework app;
        // The device opens its audio subsystem again on its own, with a driver that is missing.
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
        EXPECT_EQ(Application::Execute(0, nullptr), 0);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        steps = app.steps;
    }
    const std::string log = Log();
    EXPECT_TRUE(LogHas(log, "-1 Failed to Open Audio")) << log;
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps.back(), "SetDialogAttributes fonts-9");
    EXPECT_TRUE(LogHas(log, "Exiting with code  0"));
}

// The image assets are dropped at exit while sprites that show them still exist: one left on
// the stage (deleted with it) and one the game deletes after the loop.
TEST(FrameworkRunTest, ImageAssetsGoAtExitWithoutPullingSheetsFromUnderSprites)
{
    PrepareData();
    std::filesystem::create_directories("cfg");
    std::filesystem::copy_file(testsupport::FixturePath("images/sheet4x2.png"), "tile.png");
    ASSERT_TRUE(WriteFile("cfg/images.cfg", "[images]\ntile=tile.png,4,2\nwhole=tile.png\n"));
    {
        TestFramework app;
        std::vector<std::unique_ptr<CastMemberImage>> kept;
        app.onStarted = [&] {
            Cast* cast = app._animationManager->GetCast();
            // A sheet of frames, and a single picture that the image shows in place.
            for (const char* name : {"tile", "whole"}) {
                ASSERT_NE(ImageResources::Get(name), nullptr);
                kept.push_back(std::make_unique<CastMemberImage>(cast, name, 10, 10, 5, 0));
                auto* left = new CastMemberImage(cast, name, 100, 10, 5, 0);
                left->DeleteOnRemovedFromCast(true);
            }
        };
        EXPECT_EQ(Application::Execute(0, nullptr), 0);
        ASSERT_EQ(kept.size(), 2u);
        EXPECT_EQ(app.GetImageResources().AssetCount(), 0);
        kept.clear();
    }
    const std::string log = Log();
    EXPECT_TRUE(LogHas(log, "Total objects used - ")) << log;
    EXPECT_FALSE(LogHas(log, "You Left")) << log;
}

TEST(FrameworkRunTest, TheUpdateCheckRunsWhenAllowedAndIsGoneAtShutDown)
{
    // Nothing answers on the update host, so the check ends at once.
    PrepareData("allowwebupdater=1\nupdatehost=127.0.0.1\n");
    const auto start = std::chrono::steady_clock::now();
    {
        TestFramework app;
        ASSERT_EQ(Application::Execute(0, nullptr), 0);
        EXPECT_NE(app._webUpdater, nullptr);
    }
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::milliseconds(4000));
    const std::string log = Log();
    EXPECT_FALSE(LogHas(log, "Web Updater Did not Quit Properly!")) << log;
    EXPECT_FALSE(LogHas(log, "You Left")) << log;
}

TEST(FrameworkRunTest, WithoutTheUpdateCheckNoThreadIsMade)
{
    PrepareData();
    TestFramework app;
    ASSERT_TRUE(app.OnInit(0, nullptr));
    EXPECT_EQ(app._webUpdater, nullptr);
}

// ---------------------------------------------------------------------------------------------
// Services on a started framework.

class StartedFrameworkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PrepareData();
        app = std::make_unique<TestFramework>();
        ASSERT_TRUE(app->OnInit(0, nullptr));
        manager = app->_animationManager;
        clock = manager->GetGameTime();
    }
    void TearDown() override { app.reset(); }

    std::unique_ptr<TestFramework> app;
    AnimationManager* manager = nullptr;
    GameTime* clock = nullptr;
};

// A tone that plays until stopped, and (when oggenc is there) music.
class PlayingAudio
{
public:
    PlayingAudio()
    {
        mediatest::WriteWav("audio/tone.wav", 400, 8000);
        _sound = std::make_unique<Sound>("audio/tone.wav", false);
        _channel = _sound->Play(-1);
        if (mediatest::WriteOgg("audio/music.ogg", 1000)) {
            _music.reset(Music::LoadMusic("audio/music.ogg"));
            Music::Play(_music.get(), -1);
        }
    }
    ~PlayingAudio()
    {
        Music::Stop();
        Channel::StopAll();
    }
    bool SoundPaused() const { return Mix_Paused(_channel) != 0; }
    bool HasMusic() const { return _music != nullptr; }

private:
    std::unique_ptr<Sound> _sound;
    std::unique_ptr<Music> _music;
    int _channel = -1;
};

TEST_F(StartedFrameworkTest, LosingFocusStopsTheClockOnlyInShellStates)
{
    struct Case
    {
        int state;
        bool clockStops;
    };
    const Case cases[] = {{0, true}, {99, true}, {100, false}, {150, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE("state " + std::to_string(c.state));
        PlayingAudio audio;
        app->script->SetState(c.state);
        ASSERT_FALSE(clock->Stopped());

        app->OnInputBlur();
        EXPECT_FALSE(app->HasInputFocus());
        EXPECT_EQ(clock->Stopped(), c.clockStops);
        EXPECT_TRUE(audio.SoundPaused());
        if (audio.HasMusic()) {
            EXPECT_TRUE(Music::IsPaused());
        }

        app->OnInputFocus();
        EXPECT_TRUE(app->HasInputFocus());
        EXPECT_FALSE(clock->Stopped());
        EXPECT_FALSE(audio.SoundPaused());
        if (audio.HasMusic()) {
            EXPECT_FALSE(Music::IsPaused());
        }
    }
}

TEST_F(StartedFrameworkTest, RegainingFocusKeepsAPausedGamePaused)
{
    app->script->SetState(5);
    app->PauseGame();
    app->OnInputBlur();
    app->OnInputFocus();
    EXPECT_TRUE(clock->Stopped());
    app->UnPauseGame();
    EXPECT_FALSE(clock->Stopped());
}

TEST_F(StartedFrameworkTest, MinimiseStopsTheClockOnlyWithAScript)
{
    manager->SetScript(nullptr);
    app->OnMinimize();
    EXPECT_FALSE(clock->Stopped());
    manager->SetScript(app->script.get());
    app->OnMinimize();
    EXPECT_TRUE(clock->Stopped());
    app->OnRestore();
    EXPECT_FALSE(clock->Stopped());
}

TEST_F(StartedFrameworkTest, RestoreWhilePausedRepaintsAndResumesAudioButNotTheClock)
{
    PlayingAudio audio;
    app->PauseGame();
    EXPECT_TRUE(app->IsGamePaused());
    EXPECT_TRUE(clock->Stopped());
    EXPECT_TRUE(audio.SoundPaused());
    manager->DoIt(); // clears the start-up repaint
    ASSERT_FALSE(manager->RepaintAllPending());

    app->OnRestore();
    EXPECT_TRUE(clock->Stopped());
    EXPECT_TRUE(manager->RepaintAllPending());
    EXPECT_FALSE(audio.SoundPaused());
}

TEST_F(StartedFrameworkTest, TheCursorFollowsTheMouseAndJoinsTheShownStage)
{
    // Cursor pictures come from a sheet of four frames in the working folder.
    std::filesystem::copy_file(testsupport::FixturePath("images/sheet4x2.png"), "cursor.png");
    Framework::CursorLook arrow{"cursor.png", 4, Point(3, 2), 40};
    Framework::CursorLook hand{"cursor.png", 4, Point(5, 5), 50};
    Framework::CursorLook wait{"cursor.png", 4, Point(7, 7), 60};
    app->CreateCursorSprite(arrow, hand, wait, false, Point(4, 4), manager->GetCast());
    CastMemberCursor* cursor = app->GetCursor();
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(manager->GetCast()->GetCursor(), cursor);
    EXPECT_TRUE(cursor->GetLooping());

    // Input is off, yet the cursor moves with the mouse (hot spot on the pointer).
    ASSERT_FALSE(manager->MasterInput());
    app->OnMouseMove(100, 50, 0, 0, false, false, false);
    EXPECT_EQ(cursor->GetX(), 97);
    EXPECT_EQ(cursor->GetY(), 48);

    app->HideCursor();
    EXPECT_FALSE(app->CursorVisible());
    EXPECT_FALSE(cursor->IsVisible());
    app->OnMouseFocus(); // a hidden cursor stays hidden
    EXPECT_FALSE(cursor->IsVisible());

    // On another stage the cursor moves over when shown.
    Cast* game = manager->GetCast();
    auto other = std::make_unique<Cast>(manager, manager->GetFadeCanvas());
    manager->SetCast(other.get());
    manager->DoIt();
    app->ShowCursor();
    EXPECT_TRUE(app->CursorVisible());
    EXPECT_EQ(other->GetCursor(), cursor);
    EXPECT_TRUE(cursor->IsVisible());
    app->OnMouseBlur();
    EXPECT_FALSE(cursor->IsVisible());

    // Back to the framework's own stage, which the manager deletes; the cursor follows.
    manager->SetCast(game);
    manager->DoIt();
    app->ShowCursor();
    EXPECT_EQ(game->GetCursor(), cursor);
}

// Notes the mouse events that reach a stage.
class RecordingCatcher : public InputCatcher
{
public:
    std::vector<std::string> calls;
    void MouseDown(int x, int y, int button, bool) override { Add("down", x, y, button); }
    void MouseUp(int x, int y, int button, bool) override { Add("up", x, y, button); }
    void MouseMove(int x, int y, bool) override { Add("move", x, y, 0); }
    void MouseDrag(int x, int y, bool) override { Add("drag", x, y, 0); }

private:
    void Add(const char* what, int x, int y, int button)
    {
        calls.push_back(std::string(what) + " " + std::to_string(x) + "," + std::to_string(y) +
                        (button != 0 ? " " + std::to_string(button) : ""));
    }
};

TEST_F(StartedFrameworkTest, MouseInputReachesTheStageOnlyOnceSwitchedOn)
{
    RecordingCatcher catcher;
    manager->GetCast()->SetInputCatcher(&catcher);
    app->OnLButtonDown(1, 2);
    app->OnMouseMove(3, 3, 0, 0, false, false, false);
    manager->DoIt();
    EXPECT_TRUE(catcher.calls.empty());

    manager->SetMasterInput(true);
    app->OnLButtonDown(1, 2);
    app->OnLButtonUp(1, 2);
    app->OnMButtonDown(3, 4);
    app->OnMButtonUp(3, 4);
    app->OnRButtonDown(5, 6);
    app->OnRButtonUp(5, 6);
    app->OnMouseMove(7, 8, 0, 0, false, false, false);
    app->OnMouseMove(9, 10, 0, 0, false, true, false);
    manager->DoIt();
    const std::vector<std::string> expected = {
        "down 1,2 1", "up 1,2 1", "down 3,4 2", "up 3,4 2",
        "down 5,6 3", "up 5,6 3", "move 7,8",   "drag 9,10",
    };
    EXPECT_EQ(catcher.calls, expected);
    manager->GetCast()->SetInputCatcher(nullptr);
}

TEST_F(StartedFrameworkTest, CreateFontsAgainMakesTheNineFromTheDefaultFontName)
{
    ASSERT_FALSE(app->GetFrameworkFont(Framework::kFontNormal)->Monospaced());
    app->SetDefaultFontName(mediatest::MonoFont());
    app->CreateFonts();
    for (int i = 0; i < Framework::kFrameworkFontCount; ++i) {
        const Font* font = app->GetFrameworkFont(static_cast<Framework::FrameworkFont>(i));
        ASSERT_NE(font, nullptr);
        EXPECT_NE(font->GetRawFont(), nullptr);
    }
    EXPECT_TRUE(app->GetFrameworkFont(Framework::kDialogFontBold)->Monospaced());
    EXPECT_EQ(TTF_GetFontStyle(app->GetFrameworkFont(Framework::kSmallFontItalic)->GetRawFont()),
              TTF_STYLE_ITALIC);
}

// ---------------------------------------------------------------------------------------------
// Services that need no start.

class FrameworkServicesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PrepareData();
        app = std::make_unique<Framework>();
    }
    std::unique_ptr<Framework> app;
};

TEST_F(FrameworkServicesTest, RandIntCoversItsWholeRangeAndNothingElse)
{
    struct Case
    {
        int a;
        int b;
    };
    const Case cases[] = {{5, 5}, {9, 2}, {0, 1}, {-3, 3}, {0, 143}};
    app->SetSeed(12345);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.a) + ".." + std::to_string(c.b));
        const int low = std::min(c.a, c.b);
        const int high = std::max(c.a, c.b);
        std::set<int> seen;
        for (int i = 0; i < 20000; ++i) {
            const int r = app->RandInt(c.a, c.b);
            ASSERT_GE(r, low);
            ASSERT_LE(r, high);
            seen.insert(r);
        }
        EXPECT_EQ(static_cast<int>(seen.size()), high - low + 1);
    }
}

TEST_F(FrameworkServicesTest, TheSameSeedGivesTheSameNumbers)
{
    app->SetSeed(7);
    std::vector<int> first;
    for (int i = 0; i < 10; ++i) {
        first.push_back(app->RandInt(0, 1000));
    }
    app->SetSeed(7);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(app->RandInt(0, 1000), first[i]);
    }
}

TEST_F(FrameworkServicesTest, MovingAverageWaitsForTwentyMeasurements)
{
    EXPECT_EQ(app->GetMovingAverageFPS(), 0);
    int sum = 0;
    for (int i = 1; i <= 19; ++i) {
        app->SetFPS(i * 10);
        sum += i * 10;
        EXPECT_EQ(app->GetFPS(), i * 10);
    }
    EXPECT_EQ(app->GetMovingAverageFPS(), 0);
    app->SetFPS(207);
    sum += 207;
    EXPECT_EQ(app->GetMovingAverageFPS(), sum / 20);
    // The oldest (10) drops out; the mean truncates.
    app->SetFPS(11);
    EXPECT_EQ(app->GetMovingAverageFPS(), (sum - 10 + 11) / 20);
    EXPECT_EQ(app->GetFPS(), 11);
}

TEST_F(FrameworkServicesTest, ToggleDropShadowsReportsTheSettingBefore)
{
    struct Case
    {
        bool before;
        bool on;
    };
    const Case cases[] = {{true, true}, {true, false}, {false, true}, {false, false}};
    for (const Case& c : cases) {
        Application::AllowDropShadows(c.before);
        EXPECT_EQ(app->ToggleDropShadows(c.on), c.before);
        EXPECT_EQ(Application::DropShadowsAllowed(), c.on);
    }
}

TEST_F(FrameworkServicesTest, TheMenuLoaderAsksTheScript)
{
    struct MenuScript : Script
    {
        MenuScript() : Script(nullptr) {}
        int LoadMenuResources(bool onThread) override { return onThread ? 11 : 12; }
    } script;
    EXPECT_EQ(app->LoadMenuResources(true), 0);
    app->SetScript(&script);
    EXPECT_EQ(app->LoadMenuResources(true), 11);
    EXPECT_EQ(app->LoadMenuResources(false), 12);
    EXPECT_EQ(app->LoadGameResources(true), 0);
    EXPECT_EQ(app->LoadOtherResources(100, true), 0);
    app->SetScript(nullptr);
}

TEST_F(FrameworkServicesTest, SetTitleNamesTheWindowAndItsIcon)
{
    std::filesystem::copy_file(testsupport::FixturePath("images/alpha.png"), "icon.png");
    struct Case
    {
        const char* title;
        const char* icon;
    };
    // A missing icon file leaves the caption only.
    const Case cases[] = {{"Quorvane", "icon.png"}, {"Other", "missing.png"}};
    for (const Case& c : cases) {
        app->SetTitle(c.title, c.icon);
        char* title = nullptr;
        char* icon = nullptr;
        SDL_WM_GetCaption(&title, &icon);
        EXPECT_STREQ(title, c.title);
        EXPECT_STREQ(icon, c.icon);
    }
}

TEST_F(FrameworkServicesTest, TheThemeIsMadeOnceOnFirstUse)
{
    ConfigFile* theme = app->GetThemeConfig();
    ASSERT_NE(theme, nullptr);
    EXPECT_EQ(app->GetThemeConfig(), theme);
}

} // namespace
