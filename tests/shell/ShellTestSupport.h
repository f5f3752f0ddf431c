#pragma once

#include "framework/core/Framework.h"
#include "framework/core/TickSource.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TestSupport.h"

#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class AnimationManager;
class AppScript;

// A framework with a window on the dummy video driver, its frame loop on the fake clock, and an
// application script handed to it as a game would.
namespace shelltest {

// An application like the game: its loaders can be held at a gate and counted.
class ShellFramework : public Framework
{
public:
    ~ShellFramework() override;
    // With makeScript set: the framework's start, then the script made and handed to the frame
    // loop (as the game does); the framework owns it then.
    bool OnInit(int argc, char** argv) override;
    // With frameClock set, each frame first moves it on by frameMs.
    void DoIt() override;
    int LoadMenuResources(bool onThread) override;
    int LoadGameResources(bool onThread) override;
    // otherLoad when set (on the loader's worker), else the framework's.
    int LoadOtherResources(int mode, bool onThread) override;

    std::function<AppScript*(ShellFramework&)> makeScript;
    std::unique_ptr<AppScript> ownScript;
    testsupport::FakeClock* frameClock = nullptr;
    unsigned int frameMs = 10;

    // Closed: the loaders wait at them (on the loader's worker) before loading.
    testsupport::Gate menuGate{true};
    testsupport::Gate gameGate{true};
    std::atomic<int> menuLoads{0};
    std::atomic<int> gameLoads{0};
    std::atomic<bool> menuOnThread{false};
    int gameResult = 0; // what LoadGameResources returns
    std::function<int(int mode, bool onThread)> otherLoad;
    // Fails the menu loading on a loading thread: returns -1 without loading anything.
    std::atomic<bool> failMenuOnThread{false};
};

// The working folder: the default font, the settings (no update check; the rest as given, one
// "key=value" a line), a splash description (fade 200 ms, plus extra lines), a menu description
// with two start buttons and one animation (no pictures), the play-as texts and a player list
// naming Ann as current player.
void WriteShellData(const std::string& settings, const std::string& splashExtra = "");

// A picture of w x h pixels, left half red and right half blue, as a BMP file.
bool WriteSheet(const std::string& path, int w, int h);

// A script that notes every state it runs, with the clock's time, and what its hooks did.
template <class Base> class Recording : public Base
{
public:
    using Base::Base;

    void DoState(int state) override
    {
        entered.emplace_back(state, TickSource::Now());
        Base::DoState(state);
    }
    void CreateSplashObjects() override
    {
        ++splashCreated;
        Base::CreateSplashObjects();
    }
    void DeleteSplashObjects() override
    {
        ++splashDeleted;
        Base::DeleteSplashObjects();
    }
    void CreateMenuObjects() override
    {
        ++menuCreateCalls;
        Base::CreateMenuObjects();
    }
    void InitGame() override { ++gamesInitialised; }
    void DestroyGame() override { ++gamesDestroyed; }

    int Count(int state) const
    {
        int n = 0;
        for (const auto& e : entered) {
            n += e.first == state ? 1 : 0;
        }
        return n;
    }
    // Time of the first run of the state, 0 when it never ran.
    unsigned int TimeOf(int state) const
    {
        for (const auto& e : entered) {
            if (e.first == state) {
                return e.second;
            }
        }
        return 0;
    }
    // Every state run, in order.
    std::vector<int> States() const
    {
        std::vector<int> states;
        for (const auto& e : entered) {
            states.push_back(e.first);
        }
        return states;
    }

    std::vector<std::pair<int, unsigned int>> entered;
    int splashCreated = 0;
    int splashDeleted = 0;
    int menuCreateCalls = 0;
    int gamesInitialised = 0;
    int gamesDestroyed = 0;
};

class ShellTest : public ::testing::Test
{
protected:
    void WriteData(const std::string& settings, const std::string& splashExtra = "")
    {
        WriteShellData(settings, splashExtra);
    }
    // Makes and starts the framework (after WriteData).
    void StartFramework();
    // Hands the script to the frame loop; the fixture deletes it before the framework.
    void Attach(AppScript* script);
    // One frame after ms of the clock.
    void Frame(unsigned int ms = 10);
    // Frames until cond holds; real time passes too (loading threads), up to the limit.
    bool RunUntil(const std::function<bool()>& cond, unsigned int limitMs = 20000);
    void TearDown() override;

    AnimationManager* Manager() const;

    testsupport::FakeClock clock{1000};
    std::unique_ptr<ShellFramework> app;
    std::unique_ptr<AppScript> script;
};

} // namespace shelltest
