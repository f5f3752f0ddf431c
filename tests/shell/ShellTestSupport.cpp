#include "tests/shell/ShellTestSupport.h"

#include "SDL.h"
#include "framework/media/AnimationManager.h"
#include "framework/shell/AppScript.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/support/TestSupport.h"

#include <filesystem>
#include <thread>

namespace shelltest {

ShellFramework::~ShellFramework()
{
    // The game's objects go before the framework's.
    if (ownScript != nullptr && _animationManager != nullptr) {
        _animationManager->SetScript(nullptr);
        SetScript(nullptr);
        ownScript.reset();
    }
}

bool ShellFramework::OnInit(int argc, char** argv)
{
    if (!Framework::OnInit(argc, argv)) {
        return false;
    }
    if (makeScript) {
        ownScript.reset(makeScript(*this));
        _animationManager->SetScript(ownScript.get());
    }
    return true;
}

void ShellFramework::DoIt()
{
    if (frameClock != nullptr) {
        frameClock->Advance(frameMs);
    }
    Framework::DoIt();
}

int ShellFramework::LoadMenuResources(bool onThread)
{
    menuOnThread = onThread;
    menuGate.WaitOpen();
    ++menuLoads;
    if (onThread && failMenuOnThread) {
        return -1;
    }
    return Framework::LoadMenuResources(onThread);
}

int ShellFramework::LoadGameResources(bool onThread)
{
    gameGate.WaitOpen();
    ++gameLoads;
    Framework::LoadGameResources(onThread);
    return gameResult;
}

int ShellFramework::LoadOtherResources(int mode, bool onThread)
{
    return otherLoad ? otherLoad(mode, onThread) : Framework::LoadOtherResources(mode, onThread);
}

bool WriteSheet(const std::string& path, int w, int h)
{
    SDL_Surface* s = SDL_CreateRGBSurface(0, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    if (s == nullptr) {
        return false;
    }
    SDL_Rect left{0, 0, static_cast<Uint16>(w / 2), static_cast<Uint16>(h)};
    SDL_Rect right{static_cast<Sint16>(w / 2), 0, static_cast<Uint16>(w - w / 2),
                   static_cast<Uint16>(h)};
    SDL_FillRect(s, &left, SDL_MapRGB(s->format, 200, 0, 0));
    SDL_FillRect(s, &right, SDL_MapRGB(s->format, 0, 0, 200));
    const bool ok = testsupport::SavePng(s, path.c_str());
    SDL_FreeSurface(s);
    return ok;
}

void WriteShellData(const std::string& settings, const std::string& splashExtra)
{
    namespace fs = std::filesystem;
    fs::create_directories("fonts");
    fs::create_directories("cfg");
    fs::copy_file(mediatest::SansFont(), "fonts/bankgbtm.ttf",
                  fs::copy_options::overwrite_existing);
    ASSERT_TRUE(testsupport::WriteFile("game.cfg", "[game]\nallowwebupdater=0\n" + settings));
    ASSERT_TRUE(testsupport::WriteFile("cfg/splash.cfg", "[background]\nfadetime=200\n"
                                                         "defaultfont=fonts/bankgbtm.ttf\n" +
                                                             splashExtra));
    ASSERT_TRUE(testsupport::WriteFile(
        "cfg/menu.cfg", "[background]\nfadetime=300\nnumstartbuttons=2\n"
                        "[welcome]\npos=10,560\nfont=fonts/bankgbtm.ttf\nfontsize=16\n"
                        "[startbutton1]\npos=100,100\npri=2\nalpha=255\n"
                        "[startbutton2]\npos=100,200\npri=2\nalpha=255\n"
                        "[quitbutton]\npos=100,300\n[animations]\nnum=1\nanim1pos=5,5\n"));
    ASSERT_TRUE(testsupport::WriteFile("cfg/dplayas.cfg", "[text]\nwelcome=Welcome,\n"));
    ASSERT_TRUE(
        testsupport::WriteFile("players.cfg", "[info]\nn=2\ncurplayer=Ann\n[players]\nAnn=1\n"));
}

void ShellTest::StartFramework()
{
    app = std::make_unique<ShellFramework>();
    ASSERT_TRUE(app->OnInit(0, nullptr));
}

void ShellTest::Attach(AppScript* s)
{
    script.reset(s);
    Manager()->SetScript(script.get());
}

AnimationManager* ShellTest::Manager() const
{
    return app->_animationManager;
}

void ShellTest::Frame(unsigned int ms)
{
    clock.Advance(ms);
    Manager()->DoIt();
}

bool ShellTest::RunUntil(const std::function<bool()>& cond, unsigned int limitMs)
{
    for (unsigned int t = 0; t < limitMs; t += 10) {
        if (cond()) {
            return true;
        }
        Frame(10);
        // A loading thread runs in real time: give it a moment now and then.
        if (t % 200 == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    return cond();
}

void ShellTest::TearDown()
{
    if (app != nullptr) {
        if (script != nullptr) {
            script->WaitOnThreads();
            Manager()->SetScript(nullptr);
            app->SetScript(nullptr);
        }
        script.reset();
        app.reset();
    }
}

} // namespace shelltest
