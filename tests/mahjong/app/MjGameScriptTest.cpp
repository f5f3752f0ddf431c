#include "mahjong/app/MjGameScript.h"

#include "framework/core/ConfigFile.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Audio.h"
#include "framework/stage/CastMemberButton.h"
#include "mahjong/app/Mahjong.h"
#include "mahjong/screen/MjClassicConfig.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// The script with the variant that the menu's start buttons would have chosen.
class VariantScript : public MjGameScript
{
public:
    VariantScript(Framework* app, GameTime* clock, int variant)
        : MjGameScript(app, clock), variant(variant)
    {}
    int GetGameVariant() override { return variant; }
    int variant;
};

class MjGameScriptTest : public shelltest::ShellTest
{
protected:
    void SetUp() override
    {
        WriteData("allowloadingthread=0\n");
        // Each variant's look and the puzzle set it names, as little as a game starts from.
        const char* looks[] = {"cfg/mjlogic.cfg", "cfg/mjclassic.cfg", "cfg/mjzorvy.cfg"};
        for (int n = 0; n < 3; ++n) {
            const std::string set = std::to_string(n + 1);
            testsupport::WriteFile(looks[n],
                                   "[game]\ntype=" + std::to_string(n) + "\npuzzles=" + set + "\n");
            testsupport::WriteFile("cfg/puzzles" + set + ".cfg", "[puzzles]\nmax=3\n");
        }
        StartFramework();
    }
    VariantScript* Make(int variant)
    {
        auto* s = new VariantScript(app.get(), Manager()->GetGameTime(), variant);
        s->ChangeState(AppScript::kMenuLive, 0);
        Attach(s);
        return s;
    }
};

} // namespace

TEST_F(MjGameScriptTest, StartStateBuildsTheLookOfTheChosenVariant)
{
    struct Case
    {
        int variant;
        const char* file;
    };
    const Case cases[] = {{1, "cfg/mjlogic.cfg"},
                          {2, "cfg/mjclassic.cfg"},
                          {3, "cfg/mjzorvy.cfg"},
                          {0, nullptr},
                          {4, nullptr}};
    for (const Case& c : cases) {
        VariantScript* s = Make(c.variant);
        EXPECT_TRUE(s->NoGame());
        s->LoadGameConfigs(false);
        s->DoState(MjGameScript::kStartGame);
        EXPECT_FALSE(s->NoGame()) << c.variant;
        EXPECT_FALSE(s->Leaving());
        if (c.file == nullptr) {
            EXPECT_EQ(s->GetBoardConfig(), nullptr) << c.variant;
            EXPECT_EQ(s->GetMenuButton(), nullptr) << c.variant;
            continue;
        }
        ASSERT_NE(s->GetBoardConfig(), nullptr) << c.variant;
        EXPECT_EQ(s->GetBoardConfig()->GetFileName(), c.file);
        ASSERT_NE(s->GetMenuButton(), nullptr);
        EXPECT_EQ(s->GetMenuButton()->GetID(), MjGameScript::kMenuButtonId);
        EXPECT_EQ(s->GetMenuButton()->GetPriority(), MjGameScript::kMenuButtonPriority);
        Frame();
    }
}

TEST_F(MjGameScriptTest, StartRetriesUntilTheDialogConfigurationsAreLoaded)
{
    VariantScript* s = Make(2);
    s->DoState(MjGameScript::kStartGame);
    EXPECT_EQ(s->GetState(), MjGameScript::kStartGame);
    EXPECT_EQ(s->GetNextState(), MjGameScript::kStartGame);
    EXPECT_NE(s->GetBoardConfig(), nullptr); // the game is built all the same
    EXPECT_FALSE(s->NoGame());
}

TEST_F(MjGameScriptTest, DialogConfigurationsAreLoadedOnceAndNeverReplaced)
{
    VariantScript* s = Make(1);
    EXPECT_EQ(s->LoadGameConfigs(false), 1);
    ConfigFile* menu = s->GetMenuDialogConfig();
    ConfigFile* popup = s->GetPopupConfig();
    ConfigFile* radio = s->GetRadioConfig();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetFileName(), "cfg/menudialog.cfg");
    EXPECT_EQ(popup->GetFileName(), "cfg/popup.cfg");
    EXPECT_EQ(radio->GetFileName(), "cfg/radio.cfg");
    EXPECT_EQ(s->LoadGameConfigs(false), 0);
    EXPECT_EQ(s->LoadGameConfigs(true), 0);
    EXPECT_EQ(s->GetMenuDialogConfig(), menu);
    EXPECT_EQ(s->GetPopupConfig(), popup);
    EXPECT_EQ(s->GetRadioConfig(), radio);
}

// The menu loads the dialog configurations; closing the window there, before any game, must
// still delete them, whether or not the sound device opened. The exit report is read by the
// configurations' ids: objects of earlier tests in this process may be listed too.
TEST_F(MjGameScriptTest, DialogConfigurationsGoWithTheScriptWhenNoGameWasStarted)
{
    struct DriverReset
    {
        ~DriverReset() { setenv("SDL_AUDIODRIVER", "dummy", 1); }
    } driverReset;
    struct Case
    {
        const char* driver;
        bool audioOpens;
    };
    const Case cases[] = {{"dummy", true}, {"no-such-driver", false}};
    for (const Case& c : cases) {
        if (app == nullptr) {
            setenv("SDL_AUDIODRIVER", c.driver, 1);
            SetUp();
        }
        ASSERT_NE(app, nullptr) << c.driver;
        EXPECT_EQ(Audio::IsOpen(), c.audioOpens) << c.driver;
        VariantScript* s = Make(1);
        ASSERT_EQ(s->LoadGameConfigs(false), 1) << c.driver;
        std::vector<int> ids;
        for (ConfigFile* config :
             {s->GetMenuDialogConfig(), s->GetPopupConfig(), s->GetRadioConfig()}) {
            ASSERT_NE(config, nullptr) << c.driver;
            ids.push_back(config->GetObjectId());
        }

        const size_t before = testsupport::ReadLog().size();
        TearDown();
        const std::string log = testsupport::ReadLog();
        const std::string report = log.substr(std::min(before, log.size()));
        ASSERT_TRUE(report.find("Total objects used - ") != std::string::npos ||
                    report.find("You Left ") != std::string::npos)
            << c.driver << report;
        for (const int id : ids) {
            const std::string line = "Object Not Cleaned UP: " + std::to_string(id) + "-";
            EXPECT_EQ(report.find(line), std::string::npos) << c.driver << ": " << line;
        }
    }
}

TEST_F(MjGameScriptTest, DeletedPlayerRemovesTheLowerCasedProgressFiles)
{
    namespace fs = std::filesystem;
    VariantScript* s = Make(1);
    const char* kept[] = {"other.plr0", "bob.cfg", "bob.plr3"};
    for (const char* name : {"bob.plr0", "bob.plr1", "bob.plr0e", "bob.plr2e", "bob.plr1e.tmp"}) {
        ASSERT_TRUE(testsupport::WriteFile(name, "x"));
    }
    for (const char* name : kept) {
        ASSERT_TRUE(testsupport::WriteFile(name, "x"));
    }
    s->DeletedPlayer("Bob"); // bob.plr2 and bob.plr1e are missing: ignored
    for (const char* name : {"bob.plr0", "bob.plr1", "bob.plr2", "bob.plr0e", "bob.plr1e",
                             "bob.plr2e", "bob.plr1e.tmp"}) {
        EXPECT_FALSE(fs::exists(name)) << name;
    }
    for (const char* name : kept) {
        EXPECT_TRUE(fs::exists(name)) << name;
    }

    // A name that would leave the folder reaches no path.
    fs::create_directories("inner");
    ASSERT_TRUE(testsupport::WriteFile("x.plr0", "x"));
    fs::current_path("inner");
    s->DeletedPlayer("../x");
    fs::current_path("..");
    EXPECT_TRUE(fs::exists("x.plr0"));
}

TEST_F(MjGameScriptTest, LeavingSetsTheFlagsAndAsksTheShellToLeave)
{
    VariantScript* s = Make(3);
    s->LoadGameConfigs(false);
    s->DoState(MjGameScript::kStartGame);
    ASSERT_FALSE(s->NoGame());
    s->LeaveGame();
    EXPECT_TRUE(s->NoGame());
    EXPECT_TRUE(s->Leaving());
    EXPECT_EQ(s->GetNextState(), AppScript::kLeaveGame);

    // The next start clears what the last one left and builds afresh.
    s->DoState(MjGameScript::kStartGame);
    EXPECT_FALSE(s->NoGame());
    EXPECT_FALSE(s->Leaving());
    ASSERT_NE(s->GetBoardConfig(), nullptr);
    Frame();
}

// A look file or a puzzle set that holds nothing to build a game from: the game does not start
// and the shell goes back to the menu, which names the file (as does the log).
TEST_F(MjGameScriptTest, AnUnusableLookOrPuzzleSetGoesBackToTheMenu)
{
    struct Case
    {
        const char* file;
        const char* bytes; // null: a folder in the file's place
    };
    const Case cases[] = {
        {"cfg/mjclassic.cfg", ""},
        {"cfg/mjclassic.cfg", "\x89PNG\r\n\x1a\n\x01\x02 not a configuration file"},
        {"cfg/mjclassic.cfg", nullptr},
        {"cfg/puzzles2.cfg", ""},
        {"cfg/puzzles2.cfg", "[replay8]\npos=20,33\n"},
        {"cfg/puzzles2.cfg", nullptr},
    };
    std::vector<std::string> told; // the menu's notices
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + (c.bytes == nullptr ? " folder" : " bytes"));
        const std::string kept = std::string(c.file) + ".kept";
        std::filesystem::rename(c.file, kept);
        std::filesystem::remove(std::string(c.file) + "e");
        if (c.bytes == nullptr) {
            std::filesystem::create_directory(c.file);
        } else {
            testsupport::WriteFile(c.file, c.bytes);
        }
        const std::string line = std::string(c.file) + " could not be read; the game cannot start";
        const int logged = testsupport::CountLogLines(line);
        VariantScript* s = Make(2);
        s->LoadGameConfigs(false);
        s->DoState(MjGameScript::kStartGame);
        EXPECT_EQ(s->GetBoardConfig(), nullptr);
        EXPECT_EQ(s->GetMenuButton(), nullptr);
        EXPECT_TRUE(s->NoGame());
        EXPECT_TRUE(s->Leaving());
        EXPECT_EQ(s->GetNextState(), AppScript::kLeaveGame);
        EXPECT_EQ(testsupport::CountLogLines(line) - logged, 1);
        for (const std::string& text : ConfigFile::TakeFileNotices(true)) {
            told.push_back(text);
        }
        Frame();
        std::filesystem::remove_all(c.file);
        std::filesystem::remove(std::string(c.file) + "e");
        std::filesystem::rename(kept, c.file);
    }
    // The menu names each file once.
    EXPECT_EQ(told, (std::vector<std::string>{
                        "cfg/mjclassic.cfg could not be read; nothing was changed.",
                        "cfg/puzzles2.cfg could not be read; nothing was changed."}));
    // With the files whole again the game starts.
    VariantScript* s = Make(2);
    s->LoadGameConfigs(false);
    s->DoState(MjGameScript::kStartGame);
    EXPECT_NE(s->GetBoardConfig(), nullptr);
    EXPECT_FALSE(s->NoGame());
    Frame();
}
