#include "mahjong/board/MjPuzzleRules.h"

#include "framework/core/ConfigFile.h"
#include "mahjong/board/MjScoring.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

MjPuzzleRules Read(const std::string& puzzles, const std::string& progress, bool quest,
                   int puzzle = 4)
{
    testsupport::WriteFile("puzzles.cfg", puzzles);
    testsupport::WriteFile("progress.cfg", progress);
    ConfigFile set("puzzles.cfg", false, true, false);
    ConfigFile player("progress.cfg", false, true, false);
    MjPuzzleRules rules;
    rules.ReadDescription(set, puzzle, 2, quest, &player, 3);
    rules.ReadSolvable(set, puzzle);
    return rules;
}

} // namespace

TEST(MjPuzzleRulesTest, MissingKeysTakeTheirDefaults)
{
    const MjPuzzleRules rules = Read("[puzzle4]\n", "", false);
    EXPECT_EQ(rules.layout, "puzzles/test.cfg");
    EXPECT_EQ(rules.tileSet, 2);
    EXPECT_EQ(rules.difficulty, 9);
    EXPECT_EQ(rules.matchSize, 2);
    EXPECT_EQ(rules.time, 2000);
    EXPECT_EQ(rules.useVortex, 1);
    EXPECT_EQ(rules.solvable, 1);
    EXPECT_EQ(rules.undos, 1);
    EXPECT_EQ(rules.speed, 1);
    for (int flag : {rules.doubleLayers, rules.triple, rules.skipBrick, rules.half, rules.justTwo,
                     rules.numbers, rules.harder, rules.easy, rules.fixedSeed}) {
        EXPECT_EQ(flag, 0);
    }
}

TEST(MjPuzzleRulesTest, KeysAndTheirInteractions)
{
    struct RuleCase
    {
        const char* name;
        std::string section;
        std::string progress;
        bool quest;
        int difficulty, easy, matchSize, fixedSeed, solvable;
    };
    const std::vector<RuleCase> cases = {
        {"easy 1 means difficulty 1", "easy=1\ndifficulty=5\n", "", false, 1, 0, 2, 0, 1},
        {"easy 2 kept", "easy=2\ndifficulty=5\n", "", false, 5, 2, 2, 0, 1},
        {"triple makes threes", "triple=1\n", "", false, 9, 0, 3, 0, 1},
        {"triple with matches 4", "triple=1\nmatches=4\n", "", false, 9, 0, 4, 0, 1},
        {"numbers truncate", "difficulty=3.9\nmatches=-2.5\n", "", false, 3, 0, -2, 0, 1},
        {"fixed seed", "seedMeFeeMore=77\n", "", false, 9, 0, 2, 77, 1},
        {"stored seed wins", "seedMeFeeMore=77\n", "[seed]\nt3p4=1234\n", false, 9, 0, 2, 1234, 1},
        {"stored seed of another board", "", "[seed]\nt3p5=1234\n", false, 9, 0, 2, 0, 1},
        {"quest seed 0 becomes 1", "", "", true, 9, 0, 2, 1, 1},
        {"open deal", "solvable=0\n", "", false, 9, 0, 2, 0, 0},
    };
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(c.name);
        const MjPuzzleRules rules = Read("[puzzle4]\n" + c.section, c.progress, c.quest);
        EXPECT_EQ(rules.difficulty, c.difficulty);
        EXPECT_EQ(rules.easy, c.easy);
        EXPECT_EQ(rules.matchSize, c.matchSize);
        EXPECT_EQ(rules.fixedSeed, c.fixedSeed);
        EXPECT_EQ(rules.solvable, c.solvable);
    }
}

TEST(MjPuzzleRulesTest, NamedLayoutReadsOnlySolvable)
{
    testsupport::WriteFile("puzzles.cfg", "[puzzle1]\nsolvable=0\ndifficulty=2\n");
    ConfigFile set("puzzles.cfg", false, true, false);
    MjPuzzleRules rules;
    rules.difficulty = 4;
    rules.ReadSolvable(set, 1);
    EXPECT_EQ(rules.solvable, 0);
    EXPECT_EQ(rules.difficulty, 4);
    EXPECT_EQ(MjPuzzleRules::SectionName(12), "puzzle12");
    EXPECT_EQ(MjPuzzleRules::SeedKey(2, 7), "t2p7");
}

TEST(MjScoringTest, MatchValues)
{
    const std::vector<std::pair<int, int>> values = {{0, 1},   {8, 9},   {26, 9},  {27, 10},
                                                     {33, 10}, {34, 15}, {50, 15}, {-1, 15}};
    for (const auto& [type, points] : values) {
        EXPECT_EQ(MjScoring::MatchValue(type), points) << type;
    }
}

TEST(MjScoringTest, NumbersGroupEveryThousandAndTimesShowMinutes)
{
    const std::vector<std::pair<int, std::string>> numbers = {{0, "0"},
                                                              {999, "999"},
                                                              {1000, "1,000"},
                                                              {12345, "12,345"},
                                                              {1234567, "1,234,567"},
                                                              {-1234, "-1,234"},
                                                              {-999, "-999"},
                                                              {2147483647, "2,147,483,647"}};
    for (const auto& [value, text] : numbers) {
        EXPECT_EQ(MjScoring::FormatNumber(value, 0), text);
    }
    EXPECT_EQ(MjScoring::FormatNumber(125, MjScoring::kTimedGameType), "2:05");
    EXPECT_EQ(MjScoring::FormatNumber(59, MjScoring::kTimedGameType), "0:59");
}
