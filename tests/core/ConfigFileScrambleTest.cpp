#include "framework/core/ConfigFile.h"
#include "framework/core/Debug.h"
#include "tests/support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

using testsupport::ConfigEntries;
using testsupport::ConfigValue;
using testsupport::CountLogLines;
using testsupport::FileExists;
using testsupport::FixturePath;
using testsupport::ReadFile;
using testsupport::SplitCrlfLines;
using testsupport::WriteFile;

const std::vector<int> kEscapeTargets = {0, 8, 9, 10, 11, 12, 13, 26, 32};

int Shift(size_t position, int line)
{
    return static_cast<int>(position % ConfigFile::kScramblePositionModulus) +
           line % ConfigFile::kScrambleLineModulus + ConfigFile::kScrambleBase;
}

// Raises the log level of every configuration object to 2, so that level-1 lines are written.
void LogLevelOneLines()
{
    ASSERT_EQ(mkdir("debug", 0755), 0);
    ASSERT_TRUE(WriteFile("debug/Profile.2", ""));
    ASSERT_TRUE(WriteFile("debug/ConfigFile.1", ""));
}

// The control bytes that each escape in a scrambled file stands for.
std::set<int> EscapedTargets(const std::string& scrambledBytes)
{
    std::set<int> targets;
    const std::vector<std::string> lines = SplitCrlfLines(scrambledBytes);
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        for (size_t i = 0; i < line.size();) {
            if (line[i] == ' ' && i + 2 < line.size() && line[i + 1] == ' ') {
                const auto raw = static_cast<unsigned char>(line[i + 2]);
                targets.insert((raw + Shift(i, static_cast<int>(n))) & 0xff);
                i += 3;
            } else {
                ++i;
            }
        }
    }
    return targets;
}

TEST(ConfigFileScramble, LinesShiftByPositionAndLineNumber)
{
    const std::string line = "key=Value";
    for (int n : {0, 1, 5, ConfigFile::kScrambleLineModulus + 3}) {
        std::string expected;
        for (size_t i = 0; i < line.size(); ++i) {
            expected.push_back(static_cast<char>(line[i] + Shift(i, n)));
        }
        EXPECT_EQ(ConfigFile::EncryptLine(line, n), expected) << n;
    }
    EXPECT_NE(ConfigFile::EncryptLine(line, 0), ConfigFile::EncryptLine(line, 1));
    EXPECT_EQ(ConfigFile::EncryptLine(line, 2),
              ConfigFile::EncryptLine(line, 2 + ConfigFile::kScrambleLineModulus));
    EXPECT_EQ(ConfigFile::EncryptLine("", 4), "");
}

TEST(ConfigFileScramble, EscapeBytesAreWrittenAsTwoBlanksAndTheByte)
{
    for (int n = 0; n < ConfigFile::kScrambleLineModulus + 2; ++n) {
        for (int target : kEscapeTargets) {
            const char c = static_cast<char>((target - Shift(0, n)) & 0xff);
            EXPECT_EQ(ConfigFile::EncryptLine(std::string(1, c), n), std::string("  ") + c)
                << "line " << n << " target " << target;
        }
    }
}

TEST(ConfigFileScramble, FixtureReadsTheSameInBothForms)
{
    ASSERT_TRUE(WriteFile("s.cfg", ReadFile(FixturePath("config/scramble.cfg"))));
    ConfigFile plain("s.cfg", false, true, false);
    ConfigFile scrambled("s.cfg", false, false, false);
    ASSERT_TRUE(FileExists("s.cfge"));

    const std::map<std::string, std::string> entries = ConfigEntries(plain);
    ASSERT_GT(entries.size(), 40u);
    EXPECT_EQ(ConfigEntries(scrambled), entries);
    EXPECT_EQ(ConfigValue(scrambled, "blanks", "two"), "a  b");
    EXPECT_EQ(ConfigValue(scrambled, "blanks", "three"), "a   b");
    EXPECT_EQ(ConfigValue(scrambled, "blanks", "four"), "a    b");
    EXPECT_EQ(ConfigValue(scrambled, "blanks", "only"), "    ");
    EXPECT_EQ(ConfigValue(scrambled, "blanks", " spaced key "), " spaced value ");
    EXPECT_EQ(ConfigValue(scrambled, "late section", "line29"), "value 29  with  pairs");

    // The fixture is only worth it while it hits every escape, beyond the line period.
    const std::string bytes = ReadFile("s.cfge");
    const std::set<int> hit = EscapedTargets(bytes);
    for (int target : kEscapeTargets) {
        EXPECT_EQ(hit.count(target), 1u) << target;
    }
    EXPECT_GT(SplitCrlfLines(bytes).size(), 3u * ConfigFile::kScrambleLineModulus);
}

TEST(ConfigFileScramble, FlushedFileReadsBackExactly)
{
    ASSERT_TRUE(WriteFile("s.cfg", ReadFile(FixturePath("config/scramble.cfg"))));
    std::map<std::string, std::string> expected;
    {
        ConfigFile cfg("s.cfg", false, false, false);
        cfg.Write("blanks", "new", "  x  y   z    ");
        cfg.Write("", "top", " ");
        cfg.DeleteKey("escapes", "hit0");
        expected = ConfigEntries(cfg);
    }
    EXPECT_EQ(ReadFile("s.cfg"), ReadFile(FixturePath("config/scramble.cfg")))
        << "the plain file is never written in scrambled mode";
    ConfigFile back("s.cfg", false, false, false);
    EXPECT_EQ(ConfigEntries(back), expected);
    EXPECT_EQ(ConfigValue(back, "blanks", "new"), "  x  y   z    ");
}

TEST(ConfigFileScramble, RandomValuesSurviveTheRoundTrip)
{
    std::mt19937 random(12345);
    // Blanks and bytes that shift into escapes are the interesting ones.
    const std::string pool = std::string("      \t\x01\xe5\xec\xeb\xf7\xfe\xff\x80"
                                         "ab=[#;") +
                             std::string(1, '\0') + "\x07";
    std::uniform_int_distribution<size_t> pick(0, pool.size() - 1);
    std::uniform_int_distribution<int> length(0, 24);
    std::map<std::string, std::string> expected;
    {
        ConfigFile cfg("r.cfg", false, false, false);
        for (int i = 0; i < 600; ++i) {
            std::string value;
            for (int k = length(random); k > 0; --k) {
                value.push_back(pool[pick(random)]);
            }
            const std::string section = "s" + std::to_string(i % 13);
            const std::string key = "k" + std::to_string(i) + value.substr(0, i % 3);
            cfg.Write(section, key, value);
        }
        expected = ConfigEntries(cfg);
    }
    EXPECT_GT(expected.size(), 500u) << "most writes are accepted";
    ConfigFile back("r.cfg", false, false, false);
    EXPECT_EQ(ConfigEntries(back), expected);
}

TEST(ConfigFileScramble, FilesOfTheOldEncoderStillRead)
{
    // Written by an encoder that escaped only control bytes: its blank pairs were always lost.
    ASSERT_TRUE(WriteFile("l.cfge", ReadFile(FixturePath("config/legacy.cfge"))));
    ConfigFile cfg("l.cfg", false, false, false);
    EXPECT_EQ(ConfigValue(cfg, "legacy", "plain"), "value");
    EXPECT_EQ(ConfigValue(cfg, "legacy", "pair"), "ab");
    EXPECT_EQ(ConfigValue(cfg, "legacy", "triple"), "a b");
    EXPECT_EQ(ConfigValue(cfg, "legacy", "tab"), "x\ty");
    for (int k = 0; k < 12; ++k) {
        EXPECT_EQ(ConfigValue(cfg, "second", "k" + std::to_string(k)), "v" + std::to_string(k));
    }
    EXPECT_EQ(cfg.NumErrors(), 0);
    EXPECT_FALSE(FileExists("l.cfg"));
}

TEST(ConfigFileScramble, FlushEncodesEveryLineButTheSeparators)
{
    {
        ConfigFile cfg("f.cfg", false, false, false);
        cfg.Write("", "top", "1");
        cfg.Write("a", "k", "v");
        cfg.Write("b", "k", "w");
    }
    const std::vector<std::string> plainLines = {"top=1", "", "[a]", "k=v", "", "[b]", "k=w"};
    std::string expected;
    for (size_t n = 0; n < plainLines.size(); ++n) {
        expected += ConfigFile::EncryptLine(plainLines[n], static_cast<int>(n)) + "\r\n";
    }
    EXPECT_EQ(ReadFile("f.cfge"), expected);
    EXPECT_FALSE(FileExists("f.cfg"));
}

TEST(ConfigFileScramble, MissingCopyIsMadeFromThePlainFile)
{
    LogLevelOneLines();
    ASSERT_TRUE(WriteFile("x.cfg", "[s]\nk=plain\n"));
    {
        ConfigFile cfg("x.cfg", false, false, false);
        EXPECT_EQ(ConfigValue(cfg, "s", "k"), "plain");
    }
    EXPECT_EQ(CountLogLines("ENCRYPTED FILE NOT FOUND! ENCRYPTING...x.cfge"), 1);
    EXPECT_EQ(CountLogLines("READING FROM ENCRYPTED FILE x.cfge"), 1);
    EXPECT_EQ(ReadFile("x.cfge"), ConfigFile::EncryptLine("[s]", 0) + "\r\n" +
                                      ConfigFile::EncryptLine("k=plain", 1) + "\r\n");

    // From now on the copy wins, whatever happens to the plain file.
    ASSERT_TRUE(WriteFile("x.cfg", "[s]\nk=edited\n"));
    ConfigFile again("x.cfg", false, false, false);
    EXPECT_EQ(ConfigValue(again, "s", "k"), "plain");
}

TEST(ConfigFileScramble, RequiredCopyIsNeverMade)
{
    ASSERT_TRUE(WriteFile("x.cfg", "[s]\nk=plain\n"));
    ConfigFile cfg("x.cfg", false, false, true);
    EXPECT_EQ(CountLogLines("-1 FILE NOT FOUND!(required encrypt)! - x.cfg"), 1);
    EXPECT_EQ(ConfigValue(cfg, "s", "k"), "<default>");
    EXPECT_FALSE(FileExists("x.cfge"));
}

TEST(ConfigFileScramble, BothFormsMissing)
{
    LogLevelOneLines();
    ConfigFile cfg("x.cfg", false, false, false);
    EXPECT_EQ(CountLogLines("ENCRYPTED FILE NOT FOUND! ENCRYPTING...x.cfge"), 1);
    EXPECT_EQ(CountLogLines("READING FROM ENCRYPTED FILE x.cfge"), 1);
    EXPECT_EQ(CountLogLines("-1 FILE NOT FOUND! - x.cfg"), 1);
    EXPECT_TRUE(cfg.GetSectionsThatStartWith("").empty());
    EXPECT_FALSE(FileExists("x.cfge"));
    EXPECT_FALSE(FileExists("x.cfg"));
}

TEST(ConfigFileScramble, CopyThatCannotBeWrittenFallsBackToThePlainFile)
{
    ASSERT_TRUE(WriteFile("x.cfg", "[s]\nk=plain\n"));
    // Stands in for a read-only folder, also when the test runs with every right.
    ASSERT_EQ(mkdir("x.cfge.tmp", 0755), 0);
    ConfigFile cfg("x.cfg", false, false, false);
    EXPECT_EQ(ConfigValue(cfg, "s", "k"), "plain");
    EXPECT_EQ(CountLogLines("FILE NOT FOUND"), 0);
    EXPECT_FALSE(FileExists("x.cfge"));
}

TEST(ConfigFileScramble, HalfWrittenCopyIsNeverRead)
{
    ASSERT_TRUE(WriteFile("x.cfg", "[s]\nk=plain\n"));
    ASSERT_TRUE(WriteFile("x.cfge.tmp", ConfigFile::EncryptLine("[s]", 0) + "\r\n"));
    ConfigFile cfg("x.cfg", false, false, false);
    EXPECT_EQ(ConfigValue(cfg, "s", "k"), "plain");
}

TEST(ConfigFileScramble, FailedFlushKeepsTheOldCopy)
{
    ASSERT_TRUE(WriteFile("x.cfg", "[s]\nk=plain\n"));
    ConfigFile cfg("x.cfg", false, false, false);
    const std::string copy = ReadFile("x.cfge");
    ASSERT_EQ(mkdir("x.cfge.tmp", 0755), 0);
    cfg.Write("s", "k", "changed");
    cfg.Flush();
    EXPECT_TRUE(cfg.IsChanged());
    EXPECT_EQ(ReadFile("x.cfge"), copy);
    EXPECT_EQ(CountLogLines("-1 FILE NOT WRITTEN! - x.cfge"), 1);
    ASSERT_EQ(rmdir("x.cfge.tmp"), 0);
}

TEST(ConfigFileScramble, SwitchOffAndPlainObjectsLeaveTheCopyAlone)
{
    ASSERT_TRUE(WriteFile("x.cfg", "[s]\nk=old\n"));
    {
        ConfigFile make("x.cfg", false, false, false);
    }
    const std::string copy = ReadFile("x.cfge");
    ASSERT_FALSE(copy.empty());
    ASSERT_TRUE(WriteFile("x.cfg", "[s]\nk=plain\n"));

    ConfigFile::TurnEncryption(false);
    {
        ConfigFile cfg("x.cfg", false, false, false);
        EXPECT_EQ(ConfigValue(cfg, "s", "k"), "plain");
        cfg.Write("s", "k", "off");
    }
    EXPECT_EQ(ReadFile("x.cfg"), "\r\n[s]\r\nk=off\r\n");
    ConfigFile::TurnEncryption(true);
    {
        ConfigFile cfg("x.cfg", false, true, false);
        EXPECT_EQ(ConfigValue(cfg, "s", "k"), "off");
        cfg.Write("s", "k", "plain object");
    }
    EXPECT_EQ(ReadFile("x.cfg"), "\r\n[s]\r\nk=plain object\r\n");
    EXPECT_EQ(ReadFile("x.cfge"), copy);
}

TEST(ConfigFileScramble, SwitchingOnAfterReadingMakesFlushScramble)
{
    ASSERT_TRUE(WriteFile("x.cfg", "[s]\nk=plain\n"));
    ConfigFile::TurnEncryption(false);
    ConfigFile cfg("x.cfg", false, false, false);
    ConfigFile::TurnEncryption(true);
    cfg.Write("s", "j", "new");
    cfg.Flush();
    EXPECT_EQ(ReadFile("x.cfg"), "[s]\nk=plain\n");
    ConfigFile back("x.cfg", false, false, false);
    EXPECT_EQ(ConfigEntries(back),
              (std::map<std::string, std::string>{{"s/j", "new"}, {"s/k", "plain"}}));
}

} // namespace

namespace {

TEST(ConfigFileScramble, EmptyCopyGivesWayToThePlainFileAndIsMadeAgain)
{
    ASSERT_TRUE(WriteFile("x.cfg", "[s]\nk=plain\n"));
    ASSERT_TRUE(WriteFile("x.cfge", ""));
    {
        ConfigFile cfg("x.cfg", false, false, false);
        EXPECT_EQ(ConfigValue(cfg, "s", "k"), "plain");
    }
    EXPECT_EQ(CountLogLines("-1 ENCRYPTED FILE EMPTY! READING x.cfg"), 1);
    EXPECT_EQ(ReadFile("x.cfge"), ConfigFile::EncryptLine("[s]", 0) + "\r\n" +
                                      ConfigFile::EncryptLine("k=plain", 1) + "\r\n");

    // An empty copy beside an empty (or no) plain file is simply empty.
    ASSERT_TRUE(WriteFile("y.cfge", ""));
    ConfigFile empty("y.cfg", false, false, false);
    EXPECT_TRUE(empty.GetSectionsThatStartWith("").empty());
    EXPECT_EQ(CountLogLines("ENCRYPTED FILE EMPTY"), 1);
}

TEST(ConfigFileScramble, CopyThatDoesNotDecodeToEntriesIsSetAsideAndNotWrittenOver)
{
    struct Case
    {
        const char* name;
        const char* plain; // null: none
        const char* readsAs;
    };
    const Case cases[] = {{"beside its plain file", "[s]\nk=plain\n", "plain"},
                          {"alone", nullptr, "<default>"}};
    // A plain file where its copy belongs, as another program might leave it: no line of it
    // decodes to an entry.
    const std::string damaged = "[records]\nt2p0=1740\nAnn has the best score\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::error_code ignored;
        std::filesystem::remove("x.cfg", ignored);
        std::filesystem::remove("x.cfge.bad", ignored);
        if (c.plain != nullptr) {
            ASSERT_TRUE(WriteFile("x.cfg", c.plain));
        }
        ASSERT_TRUE(WriteFile("x.cfge", damaged));
        {
            ConfigFile cfg("x.cfg", false, false, false);
            EXPECT_EQ(ConfigValue(cfg, "s", "k"), c.readsAs);
            cfg.Write("s", "j", "new");
            EXPECT_TRUE(cfg.Flush());
        }
        EXPECT_EQ(ReadFile("x.cfge.bad"), damaged);
        EXPECT_EQ(CountLogLines("-1 ENCRYPTED FILE DAMAGED! KEPT AS x.cfge.bad"),
                  c.plain != nullptr ? 1 : 2);
        ConfigFile back("x.cfg", false, false, false);
        EXPECT_EQ(ConfigValue(back, "s", "j"), "new");
        EXPECT_EQ(ConfigValue(back, "s", "k"), c.readsAs);
    }
}

TEST(ConfigFileScramble, CopyOfAPlainFileWithLinesOfItsOwnIsNoDamage)
{
    // A line without "=" is an entry of the plain format; its faithful copy reads as it.
    ASSERT_TRUE(WriteFile("x.cfg", "[s]\nlonely line\n"));
    {
        ConfigFile make("x.cfg", false, false, false);
    }
    const std::string copy = ReadFile("x.cfge");
    ConfigFile cfg("x.cfg", false, false, false);
    EXPECT_EQ(ConfigValue(cfg, "s", "lonely line"), "lonely line");
    EXPECT_EQ(ReadFile("x.cfge"), copy);
    EXPECT_FALSE(FileExists("x.cfge.bad"));
    EXPECT_EQ(CountLogLines("DAMAGED"), 0);
}

} // namespace
