#include "framework/shell/ConfigFilePlayers.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using testsupport::FileExists;
using testsupport::ReadFile;
using testsupport::WriteFile;
using Names = std::vector<std::string>;

std::string Entry(ConfigFile& cfg, const std::string& section, const std::string& key)
{
    return testsupport::ConfigValue(cfg, section, key);
}

TEST(ConfigFilePlayers, PlayersAddedToAFreshFileAreListedNewestFirst)
{
    {
        ConfigFilePlayers players("players.cfg");
        EXPECT_EQ(players._numPlayers, 1);
        EXPECT_EQ(players._curPlayer, "");
        EXPECT_TRUE(players.GetSortedPlayers().empty());
        for (const char* name : {"Bob", "ann", "Carl"}) {
            players.AddPlayer(name);
        }
        EXPECT_EQ(players._numPlayers, 4);
        EXPECT_EQ(players.GetSortedPlayers(), (Names{"Carl", "ann", "Bob"}));
    }
    // Each change was on disk at once.
    ConfigFilePlayers again("players.cfg");
    EXPECT_EQ(again._numPlayers, 4);
    EXPECT_EQ(Entry(again, "players", "Bob"), "1");
    EXPECT_EQ(Entry(again, "players", "ann"), "2");
    EXPECT_EQ(Entry(again, "players", "Carl"), "3");
    EXPECT_EQ(again.GetSortedPlayers(), (Names{"Carl", "ann", "Bob"}));
}

TEST(ConfigFilePlayers, RanksAreWholeNumbersAndTiesKeepByteOrderOfSectionPlayersOnly)
{
    ConfigFile::TurnEncryption(false);
    ASSERT_TRUE(WriteFile("players.cfg", "[info]\nn=9\ncurplayer=abe\n"
                                         "[players]\nabe=2\nZed=2\nAnn=2.9\nmax=3\nolga=-1\n"
                                         "[oldplayers]\nghost=8\n"));
    ConfigFilePlayers players("players.cfg");
    EXPECT_EQ(players._numPlayers, 9);
    EXPECT_EQ(players._curPlayer, "abe");
    // 2.9 ranks as 2; upper case sorts before lower case.
    EXPECT_EQ(players.GetSortedPlayers(), (Names{"max", "Ann", "Zed", "abe", "olga"}));
}

TEST(ConfigFilePlayers, DeletingRemovesTheEntryAndTheFilesUnderBothLetterCases)
{
    ConfigFile::TurnEncryption(false);
    ASSERT_TRUE(WriteFile("players.cfg", "[info]\nn=4\ncurplayer=Bob\n[players]\nBob=1\nann=2\n"));
    const Names files = {"Bob.plr", "Bob.plre", "bob.plr", "bob.plre", "ann.plr"};
    for (const std::string& f : files) {
        ASSERT_TRUE(WriteFile(f, "x"));
    }
    ConfigFilePlayers players("players.cfg");
    EXPECT_FALSE(players.DeletePlayer("bob")) << "the entry's letter case counts";
    EXPECT_TRUE(FileExists("bob.plr")) << "an unknown name deletes nothing";

    EXPECT_TRUE(players.DeletePlayer("Bob"));
    for (const char* gone : {"Bob.plr", "Bob.plre", "bob.plr", "bob.plre"}) {
        EXPECT_FALSE(FileExists(gone)) << gone;
    }
    EXPECT_TRUE(FileExists("ann.plr"));
    EXPECT_EQ(players.GetSortedPlayers(), Names{"ann"});
    EXPECT_FALSE(players.DeletePlayer("Bob")) << "gone already";

    // n and curplayer stay, on disk too; the next player still gets a fresh ordinal.
    ConfigFilePlayers again("players.cfg");
    EXPECT_EQ(again._numPlayers, 4);
    EXPECT_EQ(again._curPlayer, "Bob");
    EXPECT_EQ(Entry(again, "players", "Bob"), "<default>");
    again.AddPlayer("Dan");
    EXPECT_EQ(Entry(again, "players", "Dan"), "4");
}

TEST(ConfigFilePlayers, NamesAreCutAsTheNameBoxCutsThemAndLetterCaseTwinsDropped)
{
    ConfigFile::TurnEncryption(false);
    const std::string huge(10000, 'z');
    const std::string cut(16, 'z');
    const std::string longTwin = "Z" + std::string(17, 'z');
    ASSERT_TRUE(WriteFile("players.cfg", "[info]\nn=8\ncurplayer=ann\n[players]\nAnn=1\nann=2\n"
                                         "bob=3\n" +
                                             huge + "=4\nBOB=5\n" + longTwin + "=6\nCarl=7\n"));
    {
        ConfigFilePlayers players("players.cfg", 16);
        // The earlier added of two names that meet stays; the current player follows it.
        EXPECT_EQ(players.GetSortedPlayers(), (Names{"Carl", cut, "bob", "Ann"}));
        EXPECT_EQ(players._curPlayer, "Ann");
        EXPECT_EQ(testsupport::CountLogLines(
                      "-1 Player ann dropped: the same name as Ann but for letter case"),
                  1);
        EXPECT_EQ(testsupport::CountLogLines(
                      "-1 Player BOB dropped: the same name as bob but for letter case"),
                  1);
        EXPECT_EQ(testsupport::CountLogLines("-1 Player name cut to 16 characters: " + cut), 1);
        EXPECT_EQ(testsupport::CountLogLines("-1 Player " + longTwin +
                                             " dropped: the same name as " + cut +
                                             " but for letter case"),
                  1);
        // Deleting one deletes no other player's files: none is left to share them.
        ASSERT_TRUE(WriteFile("ann.plr", "x"));
        EXPECT_TRUE(players.DeletePlayer("Ann"));
        EXPECT_FALSE(FileExists("ann.plr"));
        EXPECT_FALSE(players.DeletePlayer("ann"));
    }
    // What the next write put on disk is the list as shown.
    ConfigFilePlayers again("players.cfg", 16);
    EXPECT_EQ(again.GetSortedPlayers(), (Names{"Carl", cut, "bob"}));
    EXPECT_EQ(testsupport::CountLogLines("dropped"), 3);

    // Without a limit, names keep their length; letter case twins still go.
    ASSERT_TRUE(WriteFile("players.cfg", "[players]\nANN=2\nAnn=1\n" + huge + "=3\n"));
    ConfigFilePlayers unlimited("players.cfg");
    EXPECT_EQ(unlimited.GetSortedPlayers(), (Names{huge, "Ann"}));
}

TEST(ConfigFilePlayers, NamesThatCouldLeaveTheFolderNeverBecomePaths)
{
    struct Case
    {
        std::string name;
        bool usable;
        std::string stem;
    };
    const std::vector<Case> cases = {
        {"Blue  Fox", true, "blue  fox"},
        {"ANN", true, "ann"},
        {"a.b", true, "a.b"},
        {"", false, ""},
        {"../x", false, ""},
        {"a/b", false, ""},
        {"..", false, ""},
        {"x..y", false, ""},
        {".hidden", false, ""},
        {"tab\there", false, ""},
        {std::string("nul\0x", 5), false, ""},
        {"del\x7f", false, ""},
    };
    for (const Case& c : cases) {
        std::string stem = "untouched";
        EXPECT_EQ(ConfigFilePlayers::PlayerFileStem(c.name, &stem), c.usable) << c.name;
        EXPECT_EQ(stem, c.usable ? c.stem : "untouched") << c.name;
    }
}

TEST(ConfigFilePlayers, DeletingAnUnsafeNameDropsTheEntryButTouchesNoFile)
{
    ConfigFile::TurnEncryption(false);
    // "sub/../victim" would reach "victim.plr" in the working folder.
    ASSERT_TRUE(WriteFile("players.cfg", "[players]\nsub/../victim=1\n"));
    ASSERT_TRUE(WriteFile("victim.plr", "keep"));
    ConfigFilePlayers players("players.cfg");
    EXPECT_TRUE(players.DeletePlayer("sub/../victim"));
    EXPECT_TRUE(FileExists("victim.plr"));
    EXPECT_TRUE(players.GetSortedPlayers().empty());
    EXPECT_EQ(testsupport::CountLogLines("not usable as a file name"), 1);
}

TEST(ConfigFilePlayers, ANameWithABlankRunSurvivesTheScrambledFile)
{
    ConfigFile::TurnEncryption(true);
    {
        ConfigFilePlayers players("players.cfg");
        players.AddPlayer("Blue  Fox");
        players.AddPlayer("a   b");
    }
    EXPECT_TRUE(FileExists("players.cfge"));
    EXPECT_EQ(ReadFile("players.cfge").find("Fox"), std::string::npos) << "scrambled on disk";
    ConfigFilePlayers again("players.cfg");
    EXPECT_EQ(again.GetSortedPlayers(), (Names{"a   b", "Blue  Fox"}));
}

} // namespace
