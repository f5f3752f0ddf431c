#include "framework/core/ConfigFile.h"

#include "framework/core/Debug.h"
#include "tests/support/FileFaults.h"
#include "tests/support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <ostream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

using testsupport::ConfigEntries;
using testsupport::ConfigValue;
using testsupport::CountLogLines;
using testsupport::ReadFile;
using testsupport::WriteFile;

// A plain object, with the level-1 lines written.
struct Plain
{
    explicit Plain(const std::string& file, ConfigFile* parent = nullptr)
        : cfg(file, parent, false, true, false)
    {
        cfg.SetLogLevel(2);
    }
    ConfigFile cfg;
};

struct LineCase
{
    const char* name;
    std::string file;
    std::string section;
    std::string key;
    bool found;
    std::string value;
};

// Test names carry the case; the default printer would dump its bytes.
void PrintTo(const LineCase& c, std::ostream* os)
{
    *os << c.name;
}

class ConfigFileLines : public ::testing::TestWithParam<LineCase>
{
};

TEST_P(ConfigFileLines, ParseAsTheFormatSays)
{
    const LineCase& c = GetParam();
    ASSERT_TRUE(WriteFile("t.cfg", c.file));
    ConfigFile cfg("t.cfg", false, true, false);
    const std::string got = ConfigValue(cfg, c.section, c.key);
    if (c.found) {
        EXPECT_EQ(got, c.value);
        EXPECT_EQ(cfg.NumErrors(), 0);
    } else {
        EXPECT_EQ(got, "<default>");
        EXPECT_EQ(cfg.NumErrors(), 1);
    }
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    OddLines, ConfigFileLines,
    ::testing::Values(
        LineCase{"BlanksBelongToKey", "[a]\nx = 1\n", "a", "x ", true, " 1"},
        LineCase{"BlanksNotTrimmed", "[a]\nx = 1\n", "a", "x", false, ""},
        LineCase{"TabsKept", "[a]\n\tx\t=\t1\t\n", "a", "\tx\t", true, "\t1\t"},
        LineCase{"HashComment", "#k=v\n", "", "#k", false, ""},
        LineCase{"SemicolonComment", "[s]\n;k=v\n", "s", ";k", false, ""},
        LineCase{"BlankBeforeHashIsEntry", " #k=v\n", "", " #k", true, "v"},
        LineCase{"BlankBeforeBracketIsEntry", " [s]\n", "", " [s]", true, " [s]"},
        LineCase{"HeaderWithoutClose", "[a\nk=v\n", "a", "k", true, "v"},
        LineCase{"TextAfterHeaderIgnored", "[a]junk]\nk=v\n", "a", "k", true, "v"},
        LineCase{"EmptyHeaderIsEmptySection", "[x]\n[]\nk=v\n", "", "k", true, "v"},
        LineCase{"EntriesBeforeHeader", "k=v\n[s]\n", "", "k", true, "v"},
        LineCase{"NoEqualsKeyIsValue", "[s]\nnoequals\n", "s", "noequals", true, "noequals"},
        LineCase{"EmptyValue", "[s]\nk=\n", "s", "k", true, ""},
        LineCase{"EmptyKey", "[s]\n=v\n", "s", "", true, "v"},
        LineCase{"SplitAtFirstEquals", "[s]\nk=a=b==c\n", "s", "k", true, "a=b==c"},
        LineCase{"CaseKept", "[s]\nMusicvol=1\n", "s", "musicvol", false, ""},
        LineCase{"LastDuplicateWins", "[s]\nk=1\nk=2\n[t]\nk=9\n[s]\nk=3\n[t]\n", "s", "k", true,
                 "3"},
        LineCase{"CrLfLineEnds", "[s]\r\nk=v\r\n", "s", "k", true, "v"},
        LineCase{"OnlyOneCarriageReturnDropped", "[s]\nk=v\r\r\n", "s", "k", true, "v\r"},
        LineCase{"CarriageReturnAtEndWithoutLineFeedKept", "[s]\nk=v\r", "s", "k", true, "v\r"},
        LineCase{"LastLineWithoutLineEnd", "[s]\nlast=1", "s", "last", true, "1"},
        LineCase{"SlashInSectionName", "[a/b]\nk=v\n", "a/b", "k", true, "v"},
        LineCase{"NulInValueKept", "[s]\nk=a\0b\n"s, "s", "k", true, "a\0b"s},
        LineCase{"EmptyLinesSkipped", "\n\n[s]\n\n\nk=v\n\n", "s", "k", true, "v"}),
    [](const ::testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

TEST(ConfigFile, EmptyFileHasNoEntriesAndNoMissingLine)
{
    ASSERT_TRUE(WriteFile("empty.cfg", ""));
    ConfigFile cfg("empty.cfg", false, true, false);
    EXPECT_TRUE(cfg.GetSectionsThatStartWith("").empty());
    EXPECT_EQ(CountLogLines("FILE NOT FOUND!"), 0);
}

TEST(ConfigFile, MissingFileIsEmptyAndCountsOnlyQueries)
{
    ConfigFile cfg("missing.cfg", false, true, false);
    EXPECT_EQ(CountLogLines("-1 FILE NOT FOUND! - missing.cfg"), 1);
    EXPECT_EQ(cfg.NumErrors(), 0);
    EXPECT_EQ(ConfigValue(cfg, "a", "b"), "<default>");
    EXPECT_EQ(cfg.NumErrors(), 1);
    // Reading never makes a file.
    EXPECT_FALSE(testsupport::FileExists("missing.cfg"));
}

TEST(ConfigFile, NumberDefaultIsFormattedAndCounted)
{
    ConfigFile cfg("missing.cfg", false, true, false);
    const MultiType v = cfg.Value("game", "musicvol", 64, true);
    EXPECT_EQ(static_cast<std::string>(v), "64.000000");
    EXPECT_EQ(static_cast<double>(v), 64.0);
    EXPECT_EQ(static_cast<std::string>(cfg.Value("game", "x", -0.5, true)), "-0.500000");
    EXPECT_EQ(cfg.NumErrors(), 2);
}

TEST(ConfigFile, ValueWithoutDefaultThrowsDoesNotExist)
{
    ASSERT_TRUE(WriteFile("t.cfg", "[s]\nk=v\n"));
    Plain p("t.cfg");
    EXPECT_EQ(static_cast<std::string>(p.cfg.Value("s", "k", "x", false)), "v");
    try {
        p.cfg.Value("s", "nope", "x", false);
        FAIL() << "no exception";
    } catch (const char* what) {
        EXPECT_STREQ(what, "does not exist");
    }
    EXPECT_THROW(p.cfg.Value("s", "nope", 1.0, false), const char*);
    EXPECT_EQ(p.cfg.NumErrors(), 2);
    EXPECT_EQ(CountLogLines("INFO: Config File s/nope does not exist"), 2);
}

TEST(ConfigFile, MissLineTakesNamesLiterally)
{
    Plain p("missing.cfg");
    ConfigValue(p.cfg, "sec%s", "k%d%n");
    EXPECT_EQ(CountLogLines(": INFO: Config File sec%s/k%d%n does not exist"), 1);
}

TEST(ConfigFile, MissLinesNeedLogLevelAboveOneButAlwaysCount)
{
    ConfigFile cfg("missing.cfg", false, true, false);
    ConfigValue(cfg, "s", "k");
    cfg.ValueAsPoint("s", "k", Point(1, 2));
    EXPECT_EQ(CountLogLines("INFO:"), 0);
    EXPECT_EQ(cfg.NumErrors(), 2);
}

struct PointCase
{
    const char* text;
    bool valid;
    int x;
    int y;
};

TEST(ConfigFile, PointsNeedExactlyOneComma)
{
    const std::vector<PointCase> cases = {
        {"3,4", true, 3, 4},       {"3, 4", true, 3, 4},
        {" -3 ,+4x", true, -3, 4}, {",", true, 0, 0},
        {"a,b", true, 0, 0},       {"99999999999,-99999999999", true, 2147483647, -2147483647 - 1},
        {"3", false, 0, 0},        {"1,2,3", false, 0, 0},
        {"", false, 0, 0},
    };
    for (const PointCase& c : cases) {
        ASSERT_TRUE(WriteFile("t.cfg", std::string("[s]\np=") + c.text + "\n"));
        const int lines = CountLogLines("INFO: Config File s/p does not represent a Point");
        Plain p("t.cfg");
        const Point got = p.cfg.ValueAsPoint("s", "p", Point(7, 8));
        if (c.valid) {
            EXPECT_EQ(got, Point(c.x, c.y)) << c.text;
            EXPECT_EQ(p.cfg.NumErrors(), 0) << c.text;
        } else {
            EXPECT_EQ(got, Point(7, 8)) << c.text;
            EXPECT_EQ(p.cfg.NumErrors(), 1) << c.text;
            EXPECT_EQ(CountLogLines("INFO: Config File s/p does not represent a Point"), lines + 1)
                << c.text;
        }
    }
}

struct ColorCase
{
    const char* text;
    bool valid;
    Color expected;
};

TEST(ConfigFile, ColoursAlphaTellsWhetherAllWereInRange)
{
    const std::vector<ColorCase> cases = {
        {"255,0,0", true, Color(255, 0, 0, 255)},
        {"256,0,0", true, Color(0, 0, 0, 0)},
        {"-1,-1,-1", true, Color(255, 255, 255, 0)},
        {"300, 10, 20", true, Color(44, 10, 20, 0)},
        {"1,2,3,4", true, Color(1, 2, 3, 255)},
        {"1,2,", true, Color(1, 2, 0, 255)},
        {"1,2", false, Color()},
        {"red", false, Color()},
    };
    for (const ColorCase& c : cases) {
        ASSERT_TRUE(WriteFile("t.cfg", std::string("[s]\nc=") + c.text + "\n"));
        const int lines = CountLogLines("INFO: Config File s/c does not represent a Color");
        Plain p("t.cfg");
        const Color fallback(9, 9, 9, 9);
        const Color got = p.cfg.ValueAsColor("s", "c", fallback);
        EXPECT_EQ(got, c.valid ? c.expected : fallback) << c.text;
        EXPECT_EQ(p.cfg.NumErrors(), c.valid ? 0 : 1) << c.text;
        EXPECT_EQ(CountLogLines("INFO: Config File s/c does not represent a Color"),
                  lines + (c.valid ? 0 : 1))
            << c.text;
    }
}

TEST(ConfigFile, DimensionIgnoresItsDefault)
{
    ASSERT_TRUE(WriteFile("t.cfg", "[s]\nd=40,15\nbad=4\n"));
    Plain p("t.cfg");
    EXPECT_EQ(p.cfg.ValueAsDimension("s", "d", Dimension(1, 1)), Dimension(40, 15));
    EXPECT_EQ(p.cfg.ValueAsDimension("s", "none", Dimension(40, 15)), Dimension(0, 0));
    EXPECT_EQ(p.cfg.ValueAsDimension("s", "bad", Dimension(40, 15)), Dimension(0, 0));
    EXPECT_EQ(p.cfg.NumErrors(), 2);
}

TEST(ConfigFile, MissesFallBackAlongTheParentChain)
{
    ASSERT_TRUE(WriteFile("grand.cfg", "[s]\ndeep=grand\ncol=1,2,3\np=5,6\n"));
    ASSERT_TRUE(WriteFile("parent.cfg", "[s]\nmid=parent\nbadp=1\n"));
    ASSERT_TRUE(WriteFile("child.cfg", "[s]\nown=child\nbadp=2,2,2\n"));
    Plain grand("grand.cfg");
    Plain parent("parent.cfg", &grand.cfg);
    Plain child("child.cfg", &parent.cfg);

    EXPECT_EQ(ConfigValue(child.cfg, "s", "own"), "child");
    EXPECT_EQ(parent.cfg.NumErrors(), 0) << "a hit never asks the parent";
    EXPECT_EQ(ConfigValue(child.cfg, "s", "mid"), "parent");
    EXPECT_EQ(ConfigValue(child.cfg, "s", "deep"), "grand");
    EXPECT_EQ(static_cast<double>(child.cfg.Value("s", "none", 3, true)), 3.0);
    EXPECT_EQ(child.cfg.ValueAsColor("s", "col", Color()), Color(1, 2, 3, 255));
    // Unreadable here, missing in the parent, found in the grandparent.
    EXPECT_EQ(child.cfg.ValueAsPoint("s", "p", Point()), Point(5, 6));
    // Unreadable in child and parent alike: the default.
    EXPECT_EQ(child.cfg.ValueAsPoint("s", "badp", Point(-1, -1)), Point(-1, -1));

    EXPECT_EQ(child.cfg.NumErrors(), 6);
    EXPECT_EQ(parent.cfg.NumErrors(), 5);
    EXPECT_EQ(grand.cfg.NumErrors(), 2);
    // Without useDefault the parent is not asked.
    EXPECT_THROW(child.cfg.Value("s", "mid", "", false), const char*);
}

TEST(ConfigFile, ListsKeysAndSectionsInByteOrder)
{
    ASSERT_TRUE(WriteFile("t.cfg", "[level2]\nz=1\n[level1]\nb=1\na=1\nc=1\n[levelX]\nq=1\n"
                                   "[level]\nk=1\n[a/b]\nk=v\n"));
    Plain p("t.cfg");
    EXPECT_EQ(p.cfg.GetKeysInSection("level1"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_TRUE(p.cfg.GetKeysInSection("level3").empty());
    EXPECT_TRUE(p.cfg.GetKeysInSection("lev").empty());
    EXPECT_EQ(p.cfg.GetKeysInSection("a"), (std::vector<std::string>{"b/k"}));
    EXPECT_EQ(
        p.cfg.GetSectionsThatStartWith("level"),
        (std::vector<std::string>{"level", "level1", "level1", "level1", "level2", "levelX"}));
    EXPECT_EQ(p.cfg.GetSectionsThatStartWith("level1/b"), (std::vector<std::string>{"level1"}));
    EXPECT_EQ(p.cfg.GetSectionsThatStartWith("").size(), 7u);
    EXPECT_EQ(p.cfg.NumErrors(), 0);
}

TEST(ConfigFile, FlushWritesTheFileByteForByte)
{
    ASSERT_TRUE(WriteFile("t.cfg", ReadFile(testsupport::FixturePath("config/flush-in.cfg"))));
    {
        ConfigFile cfg("t.cfg", false, true, false);
        cfg.Write("new", "int", 42);
        cfg.Write("new", "float", 2.5f);
        cfg.Write("new", "point", Point(-3, 4));
        cfg.Write("new", "size", Dimension(640, 480));
        cfg.Write("new", "colour", Color(1, 2, 3, 4));
        cfg.Write("video", "depth", "16");
        cfg.DeleteKey("video", "gone");
        cfg.DeleteSection("dropped");
        cfg.Flush();
        EXPECT_FALSE(cfg.IsChanged());
    }
    EXPECT_EQ(ReadFile("t.cfg"), ReadFile(testsupport::FixturePath("config/flush-out.cfg")));
}

TEST(ConfigFile, FlushLayoutCases)
{
    struct Case
    {
        std::string in;
        std::string out;
    };
    const std::vector<Case> cases = {
        // Entries of the empty section alone: no header, no empty line.
        {"b=2\na=1\n", "a=1\r\nb=2\r\n"},
        // The empty section first, then the others.
        {"[x]\nk=v\n[]\ne=1\n", "e=1\r\n\r\n[x]\r\nk=v\r\n"},
        // A section sorting before "/" puts the empty section under an empty header.
        {"[!]\nk=v\n[]\ne=1\n", "\r\n[!]\r\nk=v\r\n\r\n[]\r\ne=1\r\n"},
        // A section name with "/" comes back cut at it.
        {"[a/b]\nk=v\n", "\r\n[a]\r\nb/k=v\r\n"},
        {"[a]\nline without equals\n", "\r\n[a]\r\nline without equals=line without equals\r\n"},
        // Cut at a later "/" where the first would put "=" or "[" at the start of the key.
        {"[a/=2]\nk=v\n[a/[b]\nk=w\n", "\r\n[a/=2]\r\nk=v\r\n\r\n[a/[b]\r\nk=w\r\n"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteFile("t.cfg", c.in));
        std::map<std::string, std::string> before;
        {
            ConfigFile cfg("t.cfg", false, true, false);
            before = ConfigEntries(cfg);
            cfg.Write("zz", "k", "v");
            cfg.DeleteKey("zz", "k");
        }
        EXPECT_EQ(ReadFile("t.cfg"), c.out) << c.in;
        // What was written reads back the same.
        ConfigFile again("t.cfg", false, true, false);
        EXPECT_EQ(ConfigEntries(again), before) << c.in;
    }
}

TEST(ConfigFile, FlushOfUnchangedObjectLeavesTheFile)
{
    const std::string original = "# comment\n\n[s]\nk=v\nk=w\n; more\n";
    ASSERT_TRUE(WriteFile("t.cfg", original));
    {
        ConfigFile cfg("t.cfg", false, true, false);
        ConfigValue(cfg, "s", "k");
        cfg.Flush();
    }
    EXPECT_EQ(ReadFile("t.cfg"), original);
}

TEST(ConfigFile, ChangedFlagFollowsWritesAndDeletes)
{
    ConfigFile none("missing.cfg", false, true, false);
    none.DeleteSection("s");
    EXPECT_FALSE(none.IsChanged()) << "nothing to delete from";
    none.DeleteKey("s", "k");
    EXPECT_FALSE(none.IsChanged()) << "a key that is not there changes nothing";

    ASSERT_TRUE(WriteFile("t.cfg", "[s]\nk=v\n[t]\nk=v\n"));
    ConfigFile cfg("t.cfg", false, true, false);
    EXPECT_FALSE(cfg.IsChanged());
    cfg.DeleteSection("other");
    EXPECT_TRUE(cfg.IsChanged());
    cfg.DeleteSection("s");
    EXPECT_EQ(cfg.GetSectionsThatStartWith(""), std::vector<std::string>{"t"});

    // Only a key that is there makes a file to write.
    ASSERT_TRUE(WriteFile("u.cfg", "[s]\nk=v\n[t]\nk=v\n"));
    ConfigFile keys("u.cfg", false, true, false);
    keys.DeleteKey("s", "missing");
    keys.DeleteKey("missing", "k");
    EXPECT_FALSE(keys.IsChanged());
    keys.DeleteKey("t", "k");
    EXPECT_TRUE(keys.IsChanged());
    EXPECT_TRUE(keys.Flush());
    EXPECT_EQ(ReadFile("u.cfg"), "\r\n[s]\r\nk=v\r\n");
}

TEST(ConfigFile, FailedFlushKeepsOldFileAndChange)
{
    ASSERT_TRUE(WriteFile("t.cfg", "[s]\nk=old\n"));
    // A folder where the temporary file would go: the write fails, whoever runs the test.
    ASSERT_EQ(mkdir("t.cfg.tmp", 0755), 0);
    ConfigFile cfg("t.cfg", false, true, false);
    cfg.Write("s", "k", "new");
    cfg.Flush();
    EXPECT_TRUE(cfg.IsChanged());
    EXPECT_EQ(ReadFile("t.cfg"), "[s]\nk=old\n");
    EXPECT_EQ(CountLogLines("-1 FILE NOT WRITTEN! - t.cfg"), 1);

    ASSERT_EQ(rmdir("t.cfg.tmp"), 0);
    cfg.Flush();
    EXPECT_FALSE(cfg.IsChanged());
    EXPECT_EQ(ReadFile("t.cfg"), "\r\n[s]\r\nk=new\r\n");
    EXPECT_FALSE(testsupport::FileExists("t.cfg.tmp"));
}

TEST(ConfigFile, FlushOverAFolderFailsWithoutLosingIt)
{
    ASSERT_EQ(mkdir("dir.cfg", 0755), 0);
    ConfigFile cfg("dir.cfg", false, true, false);
    cfg.Write("s", "k", "v");
    cfg.Flush();
    EXPECT_TRUE(cfg.IsChanged());
    struct stat st;
    ASSERT_EQ(stat("dir.cfg", &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_FALSE(testsupport::FileExists("dir.cfg.tmp"));
    // Not written again by the destructor either.
}

TEST(ConfigFile, WritesSyncTheFileBeforeItsRenameAndTheFolderAfter)
{
    ASSERT_TRUE(WriteFile("x.cfg", "[s]\nk=plain\n"));
    const std::string here = std::filesystem::canonical(".").string();
    std::vector<std::string> synced;
    testsupport::OnSync([&](const std::string& path, bool folder) {
        // What each sync finds on disk: the temporary file, or the renamed copy.
        synced.push_back(std::string(folder ? "folder" : path.substr(here.size() + 1)) +
                         (testsupport::FileExists("x.cfge.tmp") ? " tmp" : "") +
                         (testsupport::FileExists("x.cfge") ? " copy" : ""));
    });
    // The copy made from the plain file, then a change written.
    ConfigFile cfg("x.cfg", false, false, false);
    cfg.Write("s", "k", "new");
    EXPECT_TRUE(cfg.Flush());
    testsupport::OnSync(nullptr);
    EXPECT_EQ(synced, (std::vector<std::string>{"x.cfge.tmp tmp", "folder copy",
                                                "x.cfge.tmp tmp copy", "folder copy"}));
}

TEST(ConfigFile, FlushKeepsThePermissionsOfTheOldFile)
{
    ASSERT_TRUE(WriteFile("t.cfg", "[s]\nk=v\n"));
    ASSERT_EQ(chmod("t.cfg", 0600), 0);
    {
        ConfigFile cfg("t.cfg", false, true, false);
        cfg.Write("s", "k", "w");
    }
    struct stat st;
    ASSERT_EQ(stat("t.cfg", &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

struct WriteCase
{
    const char* name;
    std::string section;
    std::string key;
    std::string value;
};

TEST(ConfigFile, WritesThatWouldInjectLinesAreRefused)
{
    const std::vector<WriteCase> refused = {
        {"LineFeedInValue", "s", "k", "v\n[evil]"}, {"CarriageReturnInValue", "s", "k", "v\rw"},
        {"LineFeedInKey", "s", "k\nx", "v"},        {"LineFeedInSection", "s\n", "k", "v"},
        {"EqualsInKey", "s", "a=b", "v"},           {"HashKey", "s", "#k", "v"},
        {"SemicolonKey", "s", ";k", "v"},           {"BracketKey", "s", "[k]", "v"},
        {"BracketInSection", "a]b", "k", "v"},
    };
    for (const WriteCase& c : refused) {
        ASSERT_TRUE(WriteFile("t.cfg", "[s]\nk=old\n"));
        const int refusals = CountLogLines("-1 WRITE REFUSED");
        {
            Plain p("t.cfg");
            p.cfg.Write(c.section, c.key, c.value);
            EXPECT_FALSE(p.cfg.IsChanged()) << c.name;
            EXPECT_EQ(CountLogLines("-1 WRITE REFUSED"), refusals + 1) << c.name;
            p.cfg.Write("s", "ok", 1);
        }
        ConfigFile back("t.cfg", false, true, false);
        EXPECT_EQ(ConfigEntries(back),
                  (std::map<std::string, std::string>{{"s/k", "old"}, {"s/ok", "1"}}))
            << c.name;
    }
    // Only the first byte of a key can start a comment or a header.
    Plain p("t.cfg");
    p.cfg.Write("s", " [k", "v=w;#");
    p.cfg.Write("s", "k#;[", "[x]");
    EXPECT_EQ(ConfigValue(p.cfg, "s", " [k"), "v=w;#");
    EXPECT_EQ(ConfigValue(p.cfg, "s", "k#;["), "[x]");
}

TEST(ConfigFile, FactoriesWithoutAFileNameGiveNull)
{
    ASSERT_TRUE(WriteFile("t.cfg", "[img]\nempty=\n[sounds]\nDELAY_CLICK=missing.wav\n"));
    ConfigFile cfg("t.cfg", false, true, false);
    EXPECT_EQ(CountLogLines("-1 Missing Sound file missing.wav"), 1);
    EXPECT_EQ(cfg.NewImage("img", "none", false, 1, 1), nullptr);
    EXPECT_EQ(cfg.NewImage("img", "empty", true, 4, 2), nullptr);
    EXPECT_EQ(cfg.NewImageResource("img", "none"), nullptr);
    EXPECT_EQ(cfg.NewImageResource("img", "empty"), nullptr);
    EXPECT_EQ(cfg.NumErrors(), 2);
    // Size and style are read, and counted, before the missing font file is noticed.
    EXPECT_EQ(cfg.NewFont("img", "font", "fontsize", "fontstyle"), nullptr);
    EXPECT_EQ(cfg.NumErrors(), 5);
}

} // namespace
