// A finished board's two record files, written by a game that is killed at each of their
// renames: what the next start shows never contradicts itself.
#include "framework/core/ConfigFile.h"
#include "framework/shell/AppScript.h"
#include "mahjong/screen/MjClassic.h"
#include "tests/mahjong/support/BoardHarness.h"

#include <cstdio>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Renames left before the process dies as if killed; -1: never.
int gRenamesBeforeKill = -1;
constexpr int kKilled = 42;

} // namespace

// Every rename of this process passes here first (the library's calls included), so a test can
// stop the process just before a chosen one.
extern "C" int rename(const char* from, const char* to)
{
    using RenameFn = int (*)(const char*, const char*);
    static const RenameFn real = reinterpret_cast<RenameFn>(dlsym(RTLD_NEXT, "rename"));
    if (gRenamesBeforeKill == 0) {
        _exit(kKilled);
    }
    if (gRenamesBeforeKill > 0) {
        --gRenamesBeforeKill;
    }
    return real(from, to);
}

namespace {

class RecordKillTest : public mjtest::BoardHarness
{
protected:
    void Player(const std::string& name)
    {
        app->_playerName = name;
        app->_playerFileName = name + ".plr";
    }
    void ReopenScreen()
    {
        if (screen != nullptr) {
            screen->ReleaseSprites();
            screen.reset();
        }
        MakeScreen();
        screen->_puzzleCount = 10;
    }
};

TEST_F(RecordKillTest, AKillAtAnyRenameLeavesRecordsThatAgree)
{
    const std::string key = "t0p3";
    bool finished = false;
    for (int renames = 0; !finished; ++renames) {
        SCOPED_TRACE(::testing::Message() << "killed before rename " << renames + 1);
        ASSERT_LT(renames, 10) << "the board never finished being recorded";
        for (const char* file : {"HighScores.cfge", "Bob.plr0e", "Ann.plr0e"}) {
            std::remove(file);
        }
        // Bob holds the board's high score; Ann has not played it.
        Player("Bob");
        ReopenScreen();
        screen->SelectPuzzle(3);
        screen->_boardScore = 1500;
        screen->RecordBoard();
        Player("Ann");
        ReopenScreen();
        screen->SelectPuzzle(3);

        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            gRenamesBeforeKill = renames;
            screen->_boardScore = 1740;
            screen->RecordBoard();
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        finished = WEXITSTATUS(status) == 0;
        if (!finished) {
            ASSERT_EQ(WEXITSTATUS(status), kKilled);
        }

        // The next start, as Ann: her best and the high score beside it.
        ReopenScreen();
        screen->SelectPuzzle(3);
        const MjClassic::BoardRecords shown = screen->ReadBoardRecords(key);
        if (shown.best == 0) {
            EXPECT_EQ(shown.high, 1500);
            EXPECT_EQ(shown.holder, "Bob");
        } else {
            EXPECT_EQ(shown.best, 1740);
            EXPECT_EQ(shown.high, 1740);
            EXPECT_EQ(shown.holder, "Ann");
        }
        EXPECT_EQ(screen->_recordValues[0], shown.high);
        EXPECT_EQ(screen->_recordValues[1], shown.best);
        // What Bob sees next agrees with Ann's result once her own file holds it.
        Player("Bob");
        ReopenScreen();
        const MjClassic::BoardRecords bob = screen->ReadBoardRecords(key);
        EXPECT_EQ(bob.best, 1500);
        EXPECT_EQ(bob.high, shown.high);
        EXPECT_EQ(bob.holder, shown.holder);
        if (finished) {
            EXPECT_EQ(shown.best, 1740) << "the whole record reached the files";
        }
    }
}

} // namespace
