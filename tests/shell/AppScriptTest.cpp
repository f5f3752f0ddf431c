#include "framework/shell/AppScript.h"

#include "SDL.h"
#include "framework/core/Application.h"
#include "framework/core/LoadingThread.h"
#include "framework/core/WebUpdater.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Image.h"
#include "framework/shell/ConfigFileMenu.h"
#include "framework/shell/ConfigFilePlayers.h"
#include "framework/shell/ConfigFileRulesDialog.h"
#include "framework/shell/MenuAnimInfo.h"
#include "framework/shell/MenuButtonInfo.h"
#include "framework/shell/RulesDialog.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberButton.h"
#include "framework/stage/CastMemberImage.h"
#include "framework/stage/CastMemberText.h"
#include "tests/shell/ShellTestSupport.h"

#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <thread>

namespace {

using shelltest::Recording;
using shelltest::ShellFramework;
using shelltest::ShellTest;
using testsupport::CountLogLines;

// What a subclass does with the splash: state 2 after the splash is made, state 6 after state 2.
// onState runs after each state, for the test to act as the player.
class FlowScript : public Recording<AppScript>
{
public:
    using Recording::Recording;

    void CreateSplashObjects() override
    {
        Recording::CreateSplashObjects();
        ChangeState(kSplashShown, 50);
    }
    void DoState(int state) override
    {
        Recording::DoState(state);
        if (state == kSplashShown) {
            ChangeState(kLeaveSplash, 50);
        }
        if (onState) {
            onState(state);
        }
    }

    ConfigFileRulesDialog* RulesDescription() const { return _rulesConfig; }

    std::function<void(int)> onState;
};

class AppScriptTest : public ShellTest
{
protected:
    FlowScript* Start(const std::string& settings, const std::string& splashExtra = "")
    {
        WriteData(settings, splashExtra);
        StartFramework();
        auto* flow = new FlowScript(app.get(), Manager()->GetGameTime());
        // The shell's progress lines are level 1.
        flow->SetLogLevel(2);
        Attach(flow);
        return flow;
    }
    FlowScript* Flow() const { return static_cast<FlowScript*>(script.get()); }
    bool RunUntilEntered(int state, int times = 1)
    {
        return RunUntil([&] { return Flow()->Count(state) >= times; });
    }
};

TEST_F(AppScriptTest, MakesTheMenuStageAndShowsItFromTheStart)
{
    WriteData("");
    StartFramework();
    Cast* gameCast = Manager()->GetCast();
    auto* s = new AppScript(app.get(), Manager()->GetGameTime());
    Attach(s);
    EXPECT_EQ(s->GetGameCast(), gameCast);
    ASSERT_NE(s->GetMenuCast(), nullptr);
    EXPECT_EQ(s->GetMenuCast()->GetName(), "MenuCast");
    // The swap is the frame loop's, at its next frame.
    EXPECT_EQ(Manager()->GetPendingCast(), s->GetMenuCast());
    Frame();
    EXPECT_EQ(s->GetCast(), s->GetMenuCast());
    EXPECT_EQ(s->GetGameVariant(), -1);
}

struct StartUpCase
{
    const char* settings;
    unsigned int splashAfter; // ms from state 0 to state 1, in 10 ms frames
};

TEST_F(AppScriptTest, StartUpWaitsForAFullScreenBeforeTheSplash)
{
    for (const StartUpCase& c :
         {StartUpCase{"fullscreen=0\n", 10}, StartUpCase{"fullscreen=1\n", 2000}}) {
        SCOPED_TRACE(c.settings);
        TearDown();
        FlowScript* flow = Start(c.settings);
        ASSERT_TRUE(RunUntilEntered(AppScript::kSplash));
        EXPECT_EQ(flow->TimeOf(AppScript::kSplash) - flow->TimeOf(AppScript::kStartUp),
                  c.splashAfter);
        EXPECT_EQ(app->GetScript(), flow);
        EXPECT_EQ(flow->splashCreated, 1);
    }
}

// The normal road with everything on the main thread: splash, menu, a game, back, quit.
TEST_F(AppScriptTest, WholeRoadOnTheMainThread)
{
    FlowScript* flow = Start("allowloadingthread=0\n");
    ASSERT_TRUE(RunUntilEntered(AppScript::kMenuLive));
    const std::vector<int> toMenu = {0, 1, 2, 6, 7, 8};
    EXPECT_EQ(flow->States(), toMenu);
    // Loaded in the cue that ended the splash, on this thread.
    EXPECT_EQ(app->menuLoads.load(), 1);
    EXPECT_FALSE(app->menuOnThread.load());
    EXPECT_EQ(flow->GetMenuLoader(), nullptr);
    EXPECT_EQ(flow->splashDeleted, 1);
    EXPECT_EQ(flow->menuCreateCalls, 1);
    ASSERT_NE(flow->GetPlayerLabel(), nullptr);
    EXPECT_EQ(flow->GetPlayerLabel()->GetText(), "Welcome, Ann");
    EXPECT_EQ(flow->GetStartButtons().size(), 2u);
    EXPECT_EQ(flow->GetMenuAnimations().size(), 1u);
    EXPECT_TRUE(Manager()->MasterInput());

    flow->ButtonClicked(2, 1);
    EXPECT_EQ(flow->GetGameVariant(), 2);
    EXPECT_EQ(app->GetPlayerName(), "Ann");
    EXPECT_EQ(app->GetPlayerFileName(), "ann.plr");
    ASSERT_TRUE(RunUntilEntered(Script::kFirstGameState));
    EXPECT_EQ(flow->GetCast(), flow->GetGameCast());
    EXPECT_EQ(flow->gamesInitialised, 1);
    EXPECT_EQ(app->gameLoads.load(), 1); // on this thread in state 12
    // The menu fades out over its own fade time, then the game stage comes.
    EXPECT_GE(flow->TimeOf(AppScript::kShowGameStage) - flow->TimeOf(AppScript::kLeaveMenu), 300u);

    // Back from the game: the menu built again (it was released while the game showed), and
    // the splash not deleted again.
    flow->ChangeState(AppScript::kLeaveGame);
    ASSERT_TRUE(RunUntilEntered(AppScript::kMenuLive, 2));
    EXPECT_EQ(flow->GetGameVariant(), -1);
    EXPECT_EQ(flow->gamesDestroyed, 1);
    EXPECT_EQ(flow->menuCreateCalls, 2);
    EXPECT_EQ(flow->GetStartButtons().size(), 2u);
    EXPECT_EQ(flow->splashDeleted, 1);
    EXPECT_EQ(flow->GetCast(), flow->GetMenuCast());
    for (CastMemberButton* button : flow->GetStartButtons()) {
        EXPECT_TRUE(flow->GetMenuCast()->Contains(button));
    }

    flow->ButtonClicked(AppScript::kQuitButton, 1);
    ASSERT_TRUE(RunUntilEntered(AppScript::kQuitNow));
    const std::vector<int> tail = {13, 14, 15, 7, 8, 16, 17, 18};
    const std::vector<int> all = flow->States();
    EXPECT_EQ(std::vector<int>(all.end() - static_cast<long>(tail.size()), all.end()), tail);
}

// A sheet of blue pixels but its corner, the colour key of a transparent sprite: every other
// pixel takes clicks.
bool WriteOpaqueSheet(const std::string& path, int w, int h)
{
    SDL_Surface* s = SDL_CreateRGBSurface(0, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    if (s == nullptr) {
        return false;
    }
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 0, 0, 255));
    SDL_Rect corner{0, 0, 1, 1};
    SDL_FillRect(s, &corner, SDL_MapRGB(s->format, 0, 255, 0));
    const bool written = SDL_SaveBMP(s, path.c_str()) == 0;
    SDL_FreeSurface(s);
    return written;
}

// While a game shows, the menu holds no picture and no sprite; on the way back (the pictures
// loaded during the fade, on a worker when loading threads are allowed) it is the same menu, and
// its buttons answer clicks.
TEST_F(AppScriptTest, MenuPicturesAreHeldOnlyWhileTheMenuShows)
{
    for (const char* settings : {"allowloadingthread=0\n", "allowloadingthread=1\n"}) {
        SCOPED_TRACE(settings);
        TearDown();
        WriteData(settings);
        ASSERT_TRUE(shelltest::WriteSheet("bg.bmp", 800, 600));
        ASSERT_TRUE(WriteOpaqueSheet("button.bmp", 4 * 120, 40));
        ASSERT_TRUE(shelltest::WriteSheet("anim.bmp", 3 * 30, 30));
        ASSERT_TRUE(testsupport::WriteFile(
            "cfg/menu.cfg", "[background]\nimg=bg.bmp\nfadetime=300\nnumstartbuttons=2\n"
                            "[welcome]\npos=10,560\nfont=fonts/bankgbtm.ttf\nfontsize=16\n"
                            "[startbutton1]\nimg=button.bmp\npos=100,100\npri=2\nalpha=255\n"
                            "[startbutton2]\nimg=button.bmp\npos=100,200\npri=2\nalpha=255\n"
                            "[quitbutton]\nimg=button.bmp\npos=100,300\nalpha=255\n"
                            "[animations]\nnum=1\nanim1img=anim.bmp\nanim1frames=3\n"
                            "anim1pos=5,5\n"));
        StartFramework();
        auto* flow = new FlowScript(app.get(), Manager()->GetGameTime());
        Attach(flow);
        ASSERT_TRUE(RunUntilEntered(AppScript::kMenuLive));
        ConfigFileMenu* menu = flow->GetMenuConfig();
        Cast* menuCast = flow->GetMenuCast();
        ASSERT_NE(menu->_bgImage, nullptr);
        EXPECT_EQ(menuCast->GetBackground(), menu->_bgImage);
        const int members = menuCast->Size();
        EXPECT_NE(flow->RulesDescription(), nullptr);
        const auto pictures = [&] {
            std::vector<Image*> held = {menu->_bgImage, menu->_quitButton->_image,
                                        menu->_animations.at(0)->_image};
            for (MenuButtonInfo* button : menu->_startButtons) {
                held.push_back(button->_image);
            }
            return held;
        };

        flow->ButtonClicked(2, 1);
        ASSERT_TRUE(RunUntilEntered(Script::kFirstGameState));
        for (Image* image : pictures()) {
            EXPECT_EQ(image, nullptr);
        }
        EXPECT_EQ(menuCast->GetBackground(), nullptr);
        EXPECT_EQ(menuCast->Size(), 0);
        EXPECT_TRUE(flow->GetStartButtons().empty());
        EXPECT_TRUE(flow->GetMenuAnimations().empty());
        EXPECT_EQ(flow->GetPlayerLabel(), nullptr);
        EXPECT_EQ(flow->RulesDescription(), nullptr);

        flow->ChangeState(AppScript::kLeaveGame);
        ASSERT_TRUE(RunUntilEntered(AppScript::kMenuLive, 2));
        for (Image* image : pictures()) {
            EXPECT_NE(image, nullptr);
        }
        EXPECT_EQ(flow->GetMenuPictureLoader(), nullptr);
        EXPECT_EQ(menuCast->GetBackground(), menu->_bgImage);
        EXPECT_EQ(menuCast->Size(), members);
        ASSERT_EQ(flow->GetStartButtons().size(), 2u);
        ASSERT_EQ(flow->GetMenuAnimations().size(), 1u);
        EXPECT_TRUE(menuCast->Contains(flow->GetMenuAnimations()[0]));
        EXPECT_EQ(flow->GetMenuAnimations()[0]->GetW(), 30);
        ASSERT_NE(flow->GetPlayerLabel(), nullptr);
        EXPECT_EQ(flow->GetPlayerLabel()->GetText(), "Welcome, Ann");
        // The rules are read again for their dialog.
        flow->ButtonClicked(AppScript::kRulesButton, 1);
        ASSERT_NE(flow->GetRulesDialog(), nullptr);
        EXPECT_NE(flow->RulesDescription(), nullptr);
        EXPECT_TRUE(menuCast->Contains(flow->GetRulesDialog()));
        menuCast->ForceDialogsDispose();
        // The stage takes no press for a moment after a dialog attached.
        Frame(400);
        CastMemberButton* classic = flow->GetStartButtons()[1];
        EXPECT_TRUE(menuCast->Contains(classic));
        EXPECT_EQ(classic->GetW(), 120);
        EXPECT_EQ(classic->GetH(), 40);
        menuCast->MouseDown(classic->GetX() + 10, classic->GetY() + 10, 1);
        menuCast->MouseUp(classic->GetX() + 10, classic->GetY() + 10, 1);
        EXPECT_EQ(flow->GetGameVariant(), 2);
        ASSERT_TRUE(RunUntilEntered(Script::kFirstGameState, 2));
    }
}

// A menu loader that is still busy keeps state 7 coming back every 100 ms, without side effects,
// until it has finished; then the menu is built once.
TEST_F(AppScriptTest, MenuWaitsForItsLoaderEvery100Ms)
{
    WriteData("allowloadingthread=1\n");
    StartFramework();
    app->menuGate.Close();
    auto* flow = new FlowScript(app.get(), Manager()->GetGameTime());
    flow->SetLogLevel(2);
    Attach(flow);
    ASSERT_TRUE(RunUntilEntered(AppScript::kMenu, 5));
    ASSERT_NE(flow->GetMenuLoader(), nullptr);
    EXPECT_EQ(flow->menuCreateCalls, 0);
    EXPECT_EQ(flow->splashDeleted, 0);
    std::vector<unsigned int> visits;
    for (const auto& e : flow->entered) {
        if (e.first == AppScript::kMenu) {
            visits.push_back(e.second);
        }
    }
    for (size_t i = 1; i < visits.size(); ++i) {
        EXPECT_EQ(visits[i] - visits[i - 1], 100u);
    }

    app->menuGate.Open();
    ASSERT_TRUE(RunUntilEntered(AppScript::kMenuLive));
    EXPECT_TRUE(app->menuOnThread.load());
    EXPECT_EQ(app->menuLoads.load(), 1);
    EXPECT_EQ(flow->menuCreateCalls, 1);
    EXPECT_EQ(flow->splashDeleted, 1);
    ASSERT_TRUE(RunUntil([&] { return flow->GetMenuLoader() == nullptr; }));
    EXPECT_EQ(CountLogLines("MENU Screen loaded resources: 1"), 1);
}

// A loader that failed (or never ran) leaves nothing to wait for: the menu loads on this thread.
TEST_F(AppScriptTest, FailedMenuLoaderIsReplacedByLoadingHere)
{
    WriteData("allowloadingthread=1\n");
    StartFramework();
    app->failMenuOnThread = true;
    auto* flow = new FlowScript(app.get(), Manager()->GetGameTime());
    flow->SetLogLevel(2);
    Attach(flow);
    ASSERT_TRUE(RunUntilEntered(AppScript::kMenuLive, 1));
    EXPECT_EQ(CountLogLines("MENU Screen failed to load some resources: -1"), 1);
    EXPECT_EQ(app->menuLoads.load(), 2);
    EXPECT_FALSE(app->menuOnThread.load());
    EXPECT_EQ(flow->menuCreateCalls, 1);
}

struct LoaderCountCase
{
    int result;
    const char* line; // null: no line at all
};

TEST_F(AppScriptTest, GameLoaderCountIsLoggedAndTheLoaderDeleted)
{
    for (const LoaderCountCase& c :
         {LoaderCountCase{-2, "GAME failed to load some resources: -2"},
          LoaderCountCase{0, nullptr}, LoaderCountCase{3, "GAME loaded resources: 3"}}) {
        SCOPED_TRACE(c.result);
        TearDown();
        WriteData("allowloadingthread=1\n");
        StartFramework();
        app->gameResult = c.result;
        auto* flow = new FlowScript(app.get(), Manager()->GetGameTime());
        flow->SetLogLevel(2);
        Attach(flow);
        const int failedBefore = CountLogLines("GAME failed to load some resources:");
        const int loadedBefore = CountLogLines("GAME loaded resources:");
        ASSERT_TRUE(RunUntilEntered(AppScript::kMenuLive));
        ASSERT_TRUE(RunUntil([&] { return app->gameLoads.load() == 1; }));
        ASSERT_TRUE(RunUntil([&] { return flow->GetGameLoader() == nullptr; }));
        const int lines = CountLogLines("GAME failed to load some resources:") - failedBefore +
                          CountLogLines("GAME loaded resources:") - loadedBefore;
        if (c.line == nullptr) {
            EXPECT_EQ(lines, 0);
        } else {
            EXPECT_EQ(lines, 1);
            EXPECT_GE(CountLogLines(c.line), 1);
        }
    }
}

TEST_F(AppScriptTest, MenuStateStartsNoSecondGameLoaderWhileOneRuns)
{
    WriteData("allowloadingthread=1\n");
    StartFramework();
    app->gameGate.Close();
    auto* flow = new FlowScript(app.get(), Manager()->GetGameTime());
    Attach(flow);
    ASSERT_TRUE(RunUntilEntered(AppScript::kMenuLive));
    LoadingThread* first = flow->GetGameLoader();
    ASSERT_NE(first, nullptr);
    flow->ChangeState(AppScript::kMenuLive);
    ASSERT_TRUE(RunUntilEntered(AppScript::kMenuLive, 2));
    EXPECT_EQ(flow->GetGameLoader(), first);
    app->gameGate.Open();
    ASSERT_TRUE(RunUntil([&] { return flow->GetGameLoader() == nullptr; }));
    EXPECT_EQ(app->gameLoads.load(), 1);
}

TEST_F(AppScriptTest, NoMenuGoesFromTheSplashStraightToTheGame)
{
    FlowScript* flow = Start("allowloadingthread=0\n", "nomenu=1\n");
    ASSERT_TRUE(RunUntilEntered(Script::kFirstGameState));
    const std::vector<int> road = {0, 1, 2, 6, 11, 12, 100};
    EXPECT_EQ(flow->States(), road);
    EXPECT_EQ(flow->GetMenuConfig(), nullptr);
    EXPECT_EQ(flow->GetPlayers(), nullptr);
    EXPECT_EQ(flow->menuCreateCalls, 0);
    EXPECT_EQ(flow->splashDeleted, 1); // in state 12
    EXPECT_EQ(flow->GetCast(), flow->GetGameCast());

    // Leaving the game has no menu fade time of its own: the splash's serves.
    flow->ChangeState(AppScript::kLeaveGame);
    ASSERT_TRUE(RunUntilEntered(AppScript::kShowMenuStage));
    EXPECT_GE(flow->TimeOf(AppScript::kShowMenuStage) - flow->TimeOf(AppScript::kLeaveGame), 200u);
}

TEST_F(AppScriptTest, LoaderStillRunningAtExitIsWaitedFor)
{
    WriteData("allowloadingthread=1\n");
    StartFramework();
    app->menuGate.Close();
    auto* flow = new FlowScript(app.get(), Manager()->GetGameTime());
    Attach(flow);
    ASSERT_TRUE(RunUntil([&] { return flow->GetMenuLoader() != nullptr; }));
    std::thread opener([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        app->menuGate.Open();
    });
    app->OnExit();
    opener.join();
    EXPECT_EQ(flow->GetMenuLoader(), nullptr);
    EXPECT_EQ(app->menuLoads.load(), 1);
    EXPECT_TRUE(flow->MenuResourcesLoaded());
}

// The menu takes the update check's answer once the check has stopped, and lets the check go.
TEST_F(AppScriptTest, MenuReadsTheStoppedUpdateCheckAndDeletesIt)
{
    FlowScript* flow = Start("allowloadingthread=0\n");
    // Nothing listens on port 1: the check stops at once without a connection.
    app->_webUpdater = new WebUpdater(app.get(), "127.0.0.1", 1);
    ASSERT_TRUE(RunUntil([&] { return !app->_webUpdater->IsRunning(); }));
    ASSERT_TRUE(RunUntilEntered(AppScript::kMenuLive));
    EXPECT_EQ(app->_webUpdater, nullptr);
    EXPECT_EQ(CountLogLines("NETWORK CONNECTION = 0"), 1);
    EXPECT_EQ(flow->menuCreateCalls, 1);
}

class MenuTest : public AppScriptTest
{
protected:
    // playAs, when given, replaces the play-as description the menu reads its greeting from.
    FlowScript* ToMenu(const std::string& players, const std::string& playAs = "")
    {
        WriteData("allowloadingthread=0\n");
        EXPECT_TRUE(testsupport::WriteFile("players.cfg", players));
        if (!playAs.empty()) {
            EXPECT_TRUE(testsupport::WriteFile("cfg/dplayas.cfg", playAs));
        }
        StartFramework();
        auto* flow = new FlowScript(app.get(), Manager()->GetGameTime());
        flow->SetLogLevel(2);
        Attach(flow);
        EXPECT_TRUE(RunUntilEntered(AppScript::kMenuLive));
        return flow;
    }
};

// Without a current player a start button keeps the variant and asks for a player; once one is
// chosen, the same button starts the game under the player's own file name.
TEST_F(MenuTest, StartButtonWithoutPlayerWaitsForOne)
{
    FlowScript* flow = ToMenu("[info]\nn=1\n");
    ASSERT_EQ(flow->GetPlayerLabel()->GetText(), "Welcome, ");
    flow->ButtonClicked(1, 1);
    EXPECT_EQ(flow->GetGameVariant(), 1);
    EXPECT_EQ(flow->GetState(), AppScript::kMenuLive);
    EXPECT_NE(flow->GetPlayAsDialog(), nullptr);

    flow->PlayAsDialogClosed(false, "Nobody");
    EXPECT_EQ(flow->GetPlayerLabel()->GetText(), "Welcome, ");
    flow->PlayAsDialogClosed(true, "Blue Fox");
    EXPECT_EQ(flow->GetPlayerLabel()->GetText(), "Welcome, Blue Fox");
    {
        ConfigFilePlayers reread("players.cfg");
        EXPECT_EQ(reread._curPlayer, "Blue Fox");
    }
    flow->ButtonClicked(1, 1);
    EXPECT_EQ(flow->GetState(), AppScript::kGameChosen);
    EXPECT_EQ(app->GetPlayerName(), "Blue Fox");
    EXPECT_EQ(app->GetPlayerFileName(), "blue fox.plr");
}

// With no player the greeting is the description's sentence for nobody, not the prefix alone;
// a start button still waits for a player, whose name then follows the prefix.
TEST_F(MenuTest, WithoutPlayerTheGreetingIsASentenceAndTheStartButtonsWait)
{
    FlowScript* flow =
        ToMenu("[info]\nn=1\n", "[text]\nwelcome=Welcome,\nnoplayer=Welcome! Who is playing?\n");
    ASSERT_EQ(flow->GetPlayerLabel()->GetText(), "Welcome! Who is playing?");
    flow->ButtonClicked(2, 1);
    EXPECT_EQ(flow->GetState(), AppScript::kMenuLive);
    EXPECT_NE(flow->GetPlayAsDialog(), nullptr);
    flow->PlayAsDialogClosed(true, "Ann");
    EXPECT_EQ(flow->GetPlayerLabel()->GetText(), "Welcome, Ann");
    flow->ButtonClicked(2, 1);
    EXPECT_EQ(flow->GetState(), AppScript::kGameChosen);
    EXPECT_EQ(app->GetPlayerName(), "Ann");
}

TEST_F(MenuTest, UnknownCurrentPlayerIsForgottenOnDiskToo)
{
    FlowScript* flow = ToMenu("[info]\nn=2\ncurplayer=Zed\n[players]\nAnn=1\n");
    EXPECT_EQ(flow->GetPlayerLabel()->GetText(), "Welcome, ");
    EXPECT_EQ(flow->GetPlayers()->_curPlayer, "");
    ConfigFilePlayers reread("players.cfg");
    EXPECT_EQ(testsupport::ConfigValue(reread, "info", "curplayer"), "<default>");
    EXPECT_EQ(testsupport::ConfigValue(reread, "players", "Ann"), "1");
}

// A list without a current player has nothing to forget: it is not written at every start.
TEST_F(MenuTest, ListWithoutCurrentPlayerIsNotWrittenAgain)
{
    // The scrambled list as an earlier run left it.
    ASSERT_TRUE(testsupport::WriteFile("players.cfg", "[info]\nn=1\n"));
    {
        ConfigFilePlayers made("players.cfg");
    }
    struct stat before;
    ASSERT_EQ(stat("players.cfge", &before), 0);
    FlowScript* flow = ToMenu("[info]\nn=1\n");
    EXPECT_EQ(flow->GetPlayers()->_curPlayer, "");
    EXPECT_FALSE(flow->GetPlayers()->IsChanged());
    struct stat after;
    ASSERT_EQ(stat("players.cfge", &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "a save puts a new file in the old one's place";
}

// The name becomes a file name: one that would leave the working folder starts no game.
TEST_F(MenuTest, PlayerNameThatCannotBeAFileStartsNoGame)
{
    FlowScript* flow = ToMenu("[info]\nn=2\ncurplayer=Ann\n[players]\nAnn=1\n");
    flow->PlayAsDialogClosed(true, "../../etc/x");
    flow->ButtonClicked(2, 1);
    EXPECT_EQ(flow->GetState(), AppScript::kMenuLive);
    EXPECT_EQ(app->GetPlayerFileName(), "");
}

// The fixture's buttons and first animation name no picture: their sprites are empty and take
// no clicks. Animations with a picture loop as often as told, or for ever for 0 or less.
TEST_F(MenuTest, SpritesWithoutPicturesTakeNoInputAndAnimationsLoop)
{
    ASSERT_TRUE(shelltest::WriteSheet("anim.bmp", 40, 10));
    WriteData("allowloadingthread=0\n");
    const std::string menu = testsupport::ReadFile("cfg/menu.cfg");
    ASSERT_TRUE(testsupport::WriteFile(
        "cfg/menu.cfg",
        menu +
            "[animations]\nnum=3\nanim2img=anim.bmp\nanim2frames=2\n"
            "anim2loops=0\nanim3img=anim.bmp\nanim3frames=2\nanim3loops=4\nanim3speed=100000\n"));
    StartFramework();
    auto* flow = new FlowScript(app.get(), Manager()->GetGameTime());
    Attach(flow);
    ASSERT_TRUE(RunUntilEntered(AppScript::kMenuLive));
    for (CastMemberButton* button : flow->GetStartButtons()) {
        EXPECT_EQ(button->GetW(), 0);
        EXPECT_FALSE(button->AllowInput());
    }
    ASSERT_EQ(flow->GetMenuAnimations().size(), 3u);
    EXPECT_FALSE(flow->GetMenuAnimations()[0]->AllowInput());
    EXPECT_EQ(flow->GetMenuAnimations()[1]->GetLoopTimes(), -1);
    EXPECT_EQ(flow->GetMenuAnimations()[2]->GetLoopTimes(), 4);
    EXPECT_TRUE(flow->GetMenuAnimations()[2]->GetLooping());
    EXPECT_FALSE(flow->GetUpdateButton()->IsVisible());
}

struct ButtonCase
{
    int id;
    const char* line; // what the not yet available operation logs; null: nothing
    int state;        // the state after the click
};

TEST_F(MenuTest, OtherButtonsOnlyPlayTheirSoundOrLogWhatIsMissing)
{
    FlowScript* flow = ToMenu("[info]\nn=2\ncurplayer=Ann\n[players]\nAnn=1\n");
    for (const ButtonCase& c : {ButtonCase{AppScript::kRulesButton, nullptr, AppScript::kMenuLive},
                                ButtonCase{AppScript::kUpdateButton, nullptr, AppScript::kMenuLive},
                                ButtonCase{14, nullptr, AppScript::kMenuLive},
                                ButtonCase{AppScript::kQuitButton, nullptr, AppScript::kQuit}}) {
        SCOPED_TRACE(c.id);
        const int before = c.line != nullptr ? CountLogLines(c.line) : 0;
        flow->ButtonClicked(c.id, 1);
        EXPECT_EQ(flow->GetState(), c.state);
        if (c.line != nullptr) {
            EXPECT_EQ(CountLogLines(c.line), before + 1);
        }
        EXPECT_EQ(flow->GetGameVariant(), -1);
    }
}

// The whole program as the game runs it: the main loop ends through the quit button with 0, and
// the framework's exit waits for the loaders.
TEST(AppScriptRunTest, QuitFromTheMenuEndsTheProgramWithZero)
{
    testsupport::FakeClock clock(1000);
    int code = 99;
    {
        shelltest::WriteShellData("allowloadingthread=1\n");
        ShellFramework app;
        app.frameClock = &clock;
        app.makeScript = [](ShellFramework& fw) {
            auto* flow = new FlowScript(&fw, fw._animationManager->GetGameTime());
            flow->onState = [flow](int state) {
                if (state == AppScript::kMenuLive) {
                    flow->ButtonClicked(AppScript::kQuitButton, 1);
                }
            };
            return flow;
        };
        code = Application::Execute(0, nullptr);
        EXPECT_EQ(app.ownScript->GetMenuLoader(), nullptr);
        EXPECT_EQ(app.ownScript->GetGameLoader(), nullptr);
    }
    EXPECT_EQ(code, 0);
    EXPECT_EQ(CountLogLines("Exiting with code  0"), 1);
}

} // namespace
