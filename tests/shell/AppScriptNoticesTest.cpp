#include "framework/core/ConfigFile.h"
#include "framework/core/ConfigFileGame.h"
#include "framework/dialogs/CastMemberDialogResizable.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/AnimationManager.h"
#include "framework/shell/AppScript.h"
#include "framework/shell/ConfigFileMenu.h"
#include "framework/shell/ConfigFilePlayers.h"
#include "framework/shell/RulesDialog.h"
#include "framework/shell/SpeedCheckPlatform.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberButton.h"
#include "framework/stage/GameTime.h"
#include "tests/shell/ShellTestSupport.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <thread>

namespace {

using testsupport::CountLogLines;

constexpr const char kNewer[] = "A newer version of the game is available.";

// The splash leads on to the menu by itself, as a subclass's would.
class MenuScript : public AppScript
{
public:
    using AppScript::AppScript;
    void CreateSplashObjects() override { ChangeState(kLeaveSplash, 50); }
};

class NoticeTest : public shelltest::ShellTest
{
protected:
    // The menu, with the stored answer of an earlier run; before runs once the data is written.
    MenuScript* ToMenu(const std::string& stored, const std::function<void()>& before = {})
    {
        WriteData("allowloadingthread=0\n");
        // A twin written by an earlier run in this folder would be read in place of the file.
        std::filesystem::remove("cfg/menu.cfge");
        EXPECT_TRUE(shelltest::WriteSheet("update.bmp", 40, 20));
        std::string menu = testsupport::ReadFile("cfg/menu.cfg");
        menu += "[update]\nimg=update.bmp\nfont=fonts/bankgbtm.ttf\nfontsize=16\nheadersize=20\n"
                "textcolor=250,238,210\n[updatedialog]\ncontrols=updatecontrols\n"
                "[updatecontrols]\n1=yesbutton\n2=nobutton\n"
                "[yesbutton]\ntype=button\nid=1\nexitcode=1\n"
                "[nobutton]\ntype=button\nid=2\nexitcode=2\n"
                "[filenotice]\ncontrols=filenoticecontrols\n[filenoticecontrols]\n1=okbutton\n"
                "[okbutton]\ntype=button\nimg=update.bmp\nid=1\nexitcode=1\n"
                "[promolink]\nurl=" +
                stored + "\n";
        EXPECT_TRUE(testsupport::WriteFile("cfg/menu.cfg", menu));
        if (before) {
            before();
        }
        StartFramework();
        auto* menuScript = new MenuScript(app.get(), Manager()->GetGameTime());
        Attach(menuScript);
        EXPECT_TRUE(RunUntil([&] { return menuScript->GetState() == AppScript::kMenuLive; }));
        return menuScript;
    }
    MenuScript* Script() const { return static_cast<MenuScript*>(script.get()); }

    // The notice's message as its text lines show it.
    std::string Message() const
    {
        std::string text;
        for (const auto& item : Script()->GetUpdateDialog()->GetItems()) {
            if (item->GetType() == DialogItem::kText && !item->GetText().empty()) {
                text += (text.empty() ? "" : " ") + item->GetText();
            }
        }
        const auto first = text.find_first_not_of(' ');
        return first == std::string::npos
                   ? ""
                   : text.substr(first, text.find_last_not_of(' ') - first + 1);
    }
};

TEST_F(NoticeTest, AnswerAndStoredLinkDecideNoticeAndButton)
{
    struct Case
    {
        const char* answer;
        const char* stored;
        const char* storedAfter;
        bool button; // shown and blinking
        int dialog;  // 0: none
        const char* message;
        const char* pending;
    };
    const Case cases[] = {
        {"ood*https://u.invalid/get*A*", "0", "ood*https://u.invalid/get*A*", true, 0, "", ""},
        {"promo*Spring puzzles are here*https://n.invalid/*", "0",
         "promo*Spring puzzles are here*https://n.invalid/*", false, AppScript::kNewsDialog,
         "Spring puzzles are here", "https://n.invalid/"},
        // The same news a second time: nothing.
        {"promo*Spring puzzles are here*https://n.invalid/*",
         "promo*Spring puzzles are here*https://n.invalid/*",
         "promo*Spring puzzles are here*https://n.invalid/*", false, 0, "", ""},
        // An update found in an earlier run keeps being offered.
        {"", "ood*https://u.invalid/get*A*", "ood*https://u.invalid/get*A*", true, 0, "", ""},
        {"", "0", "0", false, 0, "", ""},
        {"nothing to say", "0", "0", false, 0, "", ""},
        // Missing separators give empty fields, never a throw.
        {"promo*", "0", "promo*", false, AppScript::kNewsDialog, "", ""},
        {"promo*only a message", "0", "promo*only a message", false, AppScript::kNewsDialog,
         "only a message", ""},
        {"ood*", "0", "ood*", true, 0, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.answer) + " / " + c.stored);
        TearDown();
        MenuScript* s = ToMenu(c.stored);
        // The visit of state 7 with this answer.
        ASSERT_NO_THROW(s->ShowUpdateNotice(c.answer));
        EXPECT_EQ(s->GetMenuConfig()->_promoLink, c.storedAfter);
        EXPECT_EQ(s->GetUpdateButton()->IsVisible(), c.button);
        EXPECT_EQ(s->GetUpdateButton()->GetBlinkState() != 0, c.button);
        if (c.dialog == 0) {
            EXPECT_EQ(s->GetUpdateDialog(), nullptr);
        } else {
            ASSERT_NE(s->GetUpdateDialog(), nullptr);
            EXPECT_EQ(s->GetUpdateDialog()->GetID(), c.dialog);
            EXPECT_EQ(Message(), c.message);
            EXPECT_EQ(s->GetPendingLink(), c.pending);
        }
    }
}

TEST_F(NoticeTest, UpdaterDialogReadsItsFieldsByKind)
{
    struct Case
    {
        const char* text;
        int dialog;
        const char* message;
        const char* pending;
    };
    const Case cases[] = {
        {"ood*https://u.invalid/x*1*", AppScript::kUpdateDialog, kNewer, "https://u.invalid/x"},
        {"ood*https://u.invalid/x*Version 2 is out*", AppScript::kUpdateDialog, "Version 2 is out",
         "https://u.invalid/x"},
        {"ood*", AppScript::kUpdateDialog, kNewer, ""},
        {"promo*News*https://n.invalid/*", AppScript::kNewsDialog, "News", "https://n.invalid/"},
        {"", AppScript::kNewsDialog, "", ""},
    };
    MenuScript* s = ToMenu("0");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_NO_THROW(s->ShowUpdaterDialog(c.text));
        ASSERT_NE(s->GetUpdateDialog(), nullptr);
        EXPECT_EQ(s->GetUpdateDialog()->GetID(), c.dialog);
        EXPECT_EQ(Message(), c.message);
        EXPECT_EQ(s->GetPendingLink(), c.pending);
        // Only the newest notice is on the stage.
        EXPECT_TRUE(s->GetMenuCast()->Contains(s->GetUpdateDialog()));
    }
}

TEST_F(NoticeTest, FilesThatCouldNotBeReadOrSavedAreToldOnTheMenuOneNoticeAtATime)
{
    ConfigFile::TakeFileNotices(true);
    // A folder in the player list's place cannot be read, whoever runs the test. (The game
    // ships no plain list: it would be read in its place.)
    MenuScript* s = ToMenu("0", [] {
        ASSERT_EQ(std::remove("players.cfg"), 0);
        ASSERT_EQ(mkdir("players.cfge", 0755), 0);
    });
    const auto noticeUp = [&] {
        return s->GetUpdateDialog() != nullptr &&
               s->GetUpdateDialog()->GetID() == AppScript::kFileNoticeDialog &&
               s->GetMenuCast()->GetDialog() == s->GetUpdateDialog();
    };
    ASSERT_TRUE(RunUntil(noticeUp));
    EXPECT_EQ(Message(), "players.cfge could not be read; nothing was changed.");
    EXPECT_TRUE(s->GetPlayers()->GetSortedPlayers().empty()) << "the run goes on without it";

    // A player added meanwhile is not saved; that is told once the notice is closed.
    s->GetPlayers()->AddPlayer("Bob");
    CastMemberDialogResizable* first = s->GetUpdateDialog();
    Frame();
    EXPECT_EQ(s->GetUpdateDialog(), first);
    // Its OK button closes it.
    const auto pressOk = [&] {
        DialogItem* ok = s->GetUpdateDialog()->GetItemByID(1);
        ASSERT_NE(ok, nullptr);
        s->GetUpdateDialog()->SetEnterKeyItem(ok);
        ASSERT_TRUE(s->GetUpdateDialog()->EnterKeyPressed());
    };
    pressOk();
    const std::string failed =
        "Your progress could not be saved: players.cfge: it could not be read.";
    ASSERT_TRUE(RunUntil([&] { return noticeUp() && Message() == failed; })) << Message();

    // Said once: closed, it does not come back.
    pressOk();
    for (int i = 0; i < 5; ++i) {
        Frame();
    }
    EXPECT_EQ(s->GetMenuCast()->GetDialog(), nullptr);
    EXPECT_TRUE(std::filesystem::is_directory("players.cfge"));
}

TEST_F(NoticeTest, TurningTheUpdateDownKeepsItOnOfferAndRefusedLinksPauseNothing)
{
    MenuScript* s = ToMenu("ood*file:///etc/passwd*1*");
    s->ButtonClicked(AppScript::kUpdateButton, 1);
    ASSERT_NE(s->GetUpdateDialog(), nullptr);
    EXPECT_EQ(s->GetUpdateDialog()->GetID(), AppScript::kUpdateDialog);
    EXPECT_EQ(Message(), kNewer);
    s->GetUpdateButton()->Hide();
    s->DialogButtonClicked(AppScript::kUpdateDialog, 2, 1);
    EXPECT_TRUE(s->GetUpdateButton()->IsVisible());

    // Yes on a link that is not a web address: logged, and the clock keeps running.
    s->DialogButtonClicked(AppScript::kUpdateDialog, 1, 1);
    EXPECT_EQ(CountLogLines("Link not opened (only http and https addresses open): "
                            "file:///etc/passwd"),
              1);
    EXPECT_FALSE(Manager()->GetGameTime()->Stopped());
    // The news notice's other items do nothing.
    s->GetUpdateButton()->Hide();
    s->DialogButtonClicked(AppScript::kNewsDialog, 2, 1);
    EXPECT_FALSE(s->GetUpdateButton()->IsVisible());
}

TEST_F(NoticeTest, OpeningALinkPausesTheClockUntilTheWindowIsSeenStillActive)
{
    namespace fs = std::filesystem;
    fs::create_directories("bin");
    const std::string record = (fs::current_path() / "opened.txt").string();
    ASSERT_TRUE(testsupport::WriteFile("bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$1\" > " +
                                                           record + ".part\nmv " + record +
                                                           ".part " + record + "\n"));
    chmod("bin/xdg-open", 0755);
    const std::string oldPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    setenv("PATH", ((fs::current_path() / "bin").string() + ":" + oldPath).c_str(), 1);

    MenuScript* s = ToMenu("0");
    s->ShowUpdaterDialog("ood*https://example.invalid/x*1*");
    s->DialogButtonClicked(AppScript::kUpdateDialog, 5, 1);
    EXPECT_TRUE(Manager()->GetGameTime()->Stopped());
    Frame(400);
    EXPECT_TRUE(Manager()->GetGameTime()->Stopped()) << "not before about 500 ms";
    Frame(200);
    EXPECT_FALSE(Manager()->GetGameTime()->Stopped()) << "no window manager took the window";
    for (int i = 0; i < 1000 && !testsupport::FileExists(record); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(testsupport::ReadFile(record), "https://example.invalid/x\n");
    setenv("PATH", oldPath.c_str(), 1);
}

TEST_F(NoticeTest, RulesButtonOpensTheBookAndTheScriptLetsGoOfItsDialogs)
{
    MenuScript* s = ToMenu("0");
    s->ButtonClicked(AppScript::kRulesButton, 1);
    ASSERT_NE(s->GetRulesDialog(), nullptr);
    EXPECT_EQ(s->GetRulesDialog()->GetID(), AppScript::kRulesDialog);
    RulesDialog* first = s->GetRulesDialog();
    EXPECT_TRUE(s->GetMenuCast()->Contains(first));
    // A second opening replaces the first; the notice is replaced the same way, even while the
    // stage still lists it. Run under ASan, this shows no use after free.
    s->ButtonClicked(AppScript::kRulesButton, 1);
    EXPECT_TRUE(s->GetMenuCast()->Contains(s->GetRulesDialog()));
    s->ShowUpdaterDialog("promo*One*https://n.invalid/*");
    s->ShowUpdaterDialog("promo*Two*https://n.invalid/*");
    Frame();
    Frame();
    // The fixture deletes the script before the framework: what it holds is freed once.
}

} // namespace

namespace {

// Counters of a 2000 MHz processor: each counter read is 10 ms on, each time-stamp read 20 ms.
class SteadyPlatform : public SpeedCheckPlatform
{
public:
    bool QueryFrequency(int64_t* frequency) override
    {
        *frequency = 1000000000;
        return true;
    }
    int64_t QueryCounter() override { return _counter += 10000000; }
    uint64_t ReadTimeStamp() override { return static_cast<uint64_t>(_counter) * 2; }
    bool RaiseProcessPriority() override { return false; }
    void RestoreProcessPriority() override {}
    bool RaiseThreadPriority() override { return false; }
    void RestoreThreadPriority() override {}

private:
    int64_t _counter = 0;
};

TEST_F(NoticeTest, StartUpMeasuresTheProcessorWhenTheSettingsAskForIt)
{
    SteadyPlatform platform;
    SpeedCheckPlatform::Install(&platform);
    WriteData("allowloadingthread=0\ncheckcpu=1\ncputhreshold=400\ncpusbthreshold=800\n"
              "highdetail=0\n");
    StartFramework();
    auto* menuScript = new MenuScript(app.get(), Manager()->GetGameTime());
    menuScript->SetLogLevel(2);
    Attach(menuScript);
    EXPECT_TRUE(RunUntil([&] { return menuScript->GetState() >= AppScript::kSplash; }));
    SpeedCheckPlatform::Install(nullptr);
    // Wait A: 60 ms of counter reads at 2 cycles a nanosecond; B: 20 ms.
    EXPECT_EQ(CountLogLines("System MHz = 1600"), 1);
    EXPECT_TRUE(app->GetHighDetail());
    EXPECT_TRUE(app->_gameConfig->highdetail);
    EXPECT_EQ(testsupport::ConfigValue(*app->_gameConfig, "game", "checkcpu"), "0");
}

} // namespace
