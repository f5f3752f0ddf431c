#include "framework/core/Debug.h"

#include "SDL.h"
#include "framework/core/Rectangle.h"
#include "tests/support/TestSupport.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

const char kLog[] = "debug.txt";

// Splits bytes at "\r\n"; every line must end so.
std::vector<std::string> SplitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    while (start < bytes.size()) {
        const std::string::size_type end = bytes.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "unterminated last line";
        if (end == std::string::npos) {
            break;
        }
        const std::string line = bytes.substr(start, end - start);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "stray line end in " << line;
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

// Lines of the log as written so far.
std::vector<std::string> LogLines()
{
    Debug::DebugFlush();
    return SplitLines(testsupport::ReadFile(kLog));
}

// Splits "%10d: text" into the stamp's number and the text; false when the stamp is malformed.
bool SplitStamp(const std::string& line, long* ticks, std::string* text)
{
    if (line.size() < 12 || line.compare(10, 2, ": ") != 0) {
        return false;
    }
    const std::string stamp = line.substr(0, 10);
    const std::string::size_type digits = stamp.find_first_not_of(' ');
    if (digits == std::string::npos ||
        stamp.find_first_not_of("0123456789", digits) != std::string::npos) {
        return false;
    }
    *ticks = std::stol(stamp);
    *text = line.substr(12);
    return true;
}

// The texts of the stamped lines; error-marker lines are kept as they stand.
std::vector<std::string> LogTexts()
{
    std::vector<std::string> texts;
    for (const std::string& line : LogLines()) {
        long ticks = 0;
        std::string text;
        if (SplitStamp(line, &ticks, &text)) {
            texts.push_back(text);
        } else {
            texts.push_back(line);
        }
    }
    return texts;
}

bool AnyEndsWith(const std::vector<std::string>& lines, const std::string& tail)
{
    for (const std::string& l : lines) {
        if (l.size() >= tail.size() && l.compare(l.size() - tail.size(), tail.size(), tail) == 0) {
            return true;
        }
    }
    return false;
}

// Makes and destroys objects until the next one made gets the given id.
void AdvanceIdsTo(int32_t id)
{
    while (true) {
        Debug probe;
        if (probe.GetObjectId() + 1 == id) {
            return;
        }
    }
}

} // namespace

TEST(DebugLog, BannerLinesAreStampedWithTheTickCount)
{
    Debug::SetProductName("Tile Test");
    Debug::SetProductVersion("2.5");
    Debug app("App");
    const long before = SDL_GetTicks();
    app.DebugInit();
    const long after = SDL_GetTicks();

    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 5u);
    const std::vector<std::string> expected = {
        std::string(50, '-'), app.GetCopyright(), "Framework version: 1.053",
        "Tile Test Version: 2.5 (kebo)", std::string(49, '-')};
    for (size_t i = 0; i < lines.size(); ++i) {
        long ticks = -1;
        std::string text;
        ASSERT_TRUE(SplitStamp(lines[i], &ticks, &text)) << lines[i];
        EXPECT_EQ(text, expected[i]);
        EXPECT_GE(ticks, before);
        EXPECT_LE(ticks, after);
    }
    EXPECT_NE(app.GetCopyright().find("Copyright"), std::string::npos);
}

TEST(DebugLog, ProductTextsStartWithTheirDefaults)
{
    EXPECT_EQ(Debug::GetProductVersion(), "Unknown");
    EXPECT_EQ(Debug::GetProductName(), "Unknwon");
    EXPECT_EQ(Debug::GetProductNameShort(), "Unknwon");
    EXPECT_EQ(Debug::GetProductDistributor(), "kebo");
    EXPECT_EQ(Debug::GetFrameworkVersion(), "1.053");
    Debug::SetProductNameShort("MJ");
    Debug::SetProductDistributor("us");
    EXPECT_EQ(Debug::GetProductNameShort(), "MJ");
    EXPECT_EQ(Debug::GetProductDistributor(), "us");
}

TEST(DebugLog, StartsEmptyEachRun)
{
    ASSERT_TRUE(testsupport::WriteFile(kLog, "last run\r\n"));
    Debug first("First");
    EXPECT_TRUE(LogLines().empty());
}

TEST(DebugLog, ErrorLineIsFramedAndOnDiskWithoutFlush)
{
    std::vector<std::unique_ptr<Debug>> earlier;
    for (int i = 0; i < 17; ++i) {
        earlier.push_back(std::make_unique<Debug>());
    }
    Debug font("Font 2");
    ASSERT_EQ(font.GetObjectId(), 17);
    const long before = SDL_GetTicks();
    font.DebugVar(-1, "Bad %d", 5);
    const long after = SDL_GetTicks();

    // Read without flushing: an error line must already be on disk.
    const std::vector<std::string> lines = SplitLines(testsupport::ReadFile(kLog));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "***ERROR***");
    EXPECT_EQ(lines[2], "***ERROR***");
    ASSERT_EQ(lines[1].substr(0, 11), "***ERROR***");
    long ticks = -1;
    std::string text;
    ASSERT_TRUE(SplitStamp(lines[1].substr(11), &ticks, &text)) << lines[1];
    EXPECT_EQ(text, "(Font 2:::17): -1 Bad 5");
    EXPECT_GE(ticks, before);
    EXPECT_LE(ticks, after);
}

struct LevelCase
{
    int objectLevel;
    int lineLevel;
    bool written;
};

TEST(DebugLog, LineLevelsAgainstObjectLevels)
{
    const LevelCase cases[] = {
        {0, 1, false}, {2, 1, true},  {2, 2, false},  {2, 3, false}, {5, 4, true},  {0, 0, true},
        {7, 0, true},  {-1, 0, true}, {-1, 1, false}, {0, -1, true}, {3, -2, true},
    };
    std::vector<std::unique_ptr<Debug>> objects;
    for (const LevelCase& c : cases) {
        auto object = std::make_unique<Debug>("L" + std::to_string(objects.size()));
        object->SetLogLevel(c.objectLevel);
        object->DebugVar(c.lineLevel, "var %d/%d", c.objectLevel, c.lineLevel);
        object->DebugRect(c.lineLevel, "rect", Rectangle(1, 2, 3, 4));
        objects.push_back(std::move(object));
    }
    const std::vector<std::string> texts = LogTexts();
    for (size_t i = 0; i < objects.size(); ++i) {
        const LevelCase& c = cases[i];
        const std::string prefix = objects[i]->GetFullName() + ": " +
                                   (c.lineLevel < 0 ? std::to_string(c.lineLevel) + " " : "");
        const std::string var =
            prefix + "var " + std::to_string(c.objectLevel) + "/" + std::to_string(c.lineLevel);
        const std::string rect = prefix + "rect - 1, 2, 3, 4";
        SCOPED_TRACE("object level " + std::to_string(c.objectLevel) + ", line level " +
                     std::to_string(c.lineLevel));
        EXPECT_EQ(AnyEndsWith(texts, var), c.written);
        EXPECT_EQ(AnyEndsWith(texts, rect), c.written);
    }
}

TEST(DebugLog, OutputFormsAndFullName)
{
    Debug button("Button");
    button.SetPos("10,20");
    button.SetSize("30x40");
    const std::string id = std::to_string(button.GetObjectId());
    EXPECT_EQ(button.GetFullName(), "(Button:10,20:30x40:" + id + ")");

    button.DebugOut("plain");
    button.DebugOut("Entering", 3);
    button.DebugOut("a", "b");
    button.DebugRect(0, "Src", Rectangle(5, 6, 30, 40));
    button.DebugRect(0, "100%d%s", Rectangle(-1, 2, 3, 4));
    button.DebugRaw("raw text");

    const std::string name = button.GetFullName() + ": ";
    const std::vector<std::string> expected = {
        name + "plain",
        name + "Entering 3",
        name + "a b",
        name + "Src - 5, 6, 30, 40",
        name + "100%d%s - -1, 2, 3, 4",
        "raw text",
    };
    EXPECT_EQ(LogTexts(), expected);
}

TEST(DebugLog, FormattedTextIsCutAt3999Characters)
{
    Debug object("Long");
    const std::string big(5000, 'x');
    object.DebugVar(0, "%s", big.c_str());
    object.DebugVar(-1, "%s", big.c_str());
    object.DebugOut(big, 7);

    const std::string name = object.GetFullName() + ": ";
    const std::vector<std::string> texts = LogTexts();
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[0], name + std::string(3999, 'x'));
    EXPECT_EQ(texts[1], "***ERROR***");
    // The marker and the 12-character stamp come first.
    EXPECT_EQ(texts[2].substr(23), name + "-1 " + std::string(3996, 'x'));
    EXPECT_EQ(texts[4], name + std::string(3999, 'x'));
}

TEST(DebugLog, GlobalSwitchSilencesEveryObjectButRawLines)
{
    Debug a("A");
    Debug b("B");
    a.DebugOff(true);
    a.DebugVar(0, "a off");
    b.DebugVar(0, "b off");
    b.DebugVar(-1, "b error off");
    b.DebugOut("b out off");
    b.DebugOut("b", "pair off");
    b.DebugOut("b count off", 1);
    b.DebugRect(0, "b rect off", Rectangle());
    b.DebugRaw("raw while off");
    EXPECT_EQ(LogTexts(), std::vector<std::string>{"raw while off"});

    // Back on globally: b logs; a's own flag is still clear until it is switched on.
    b.DebugOn(true);
    a.DebugVar(0, "a flag clear");
    b.DebugVar(0, "b on");
    a.DebugOn(false);
    a.DebugVar(0, "a on");
    EXPECT_EQ(LogTexts(), (std::vector<std::string>{"raw while off", b.GetFullName() + ": b on",
                                                    a.GetFullName() + ": a on"}));
    EXPECT_TRUE(a.GetDebugFlag());
}

TEST(DebugLog, LogThatCannotBeMadeIsRetriedByTheNextObject)
{
    ASSERT_EQ(mkdir(kLog, 0755), 0);
    {
        Debug first("First");
        first.DebugVar(-1, "lost");
        first.DebugRaw("lost too");
        Debug::DebugFlush();
    }
    ASSERT_EQ(rmdir(kLog), 0);
    Debug second("Second");
    second.DebugVar(0, "kept");
    EXPECT_EQ(LogTexts(), std::vector<std::string>{second.GetFullName() + ": kept"});
}

TEST(DebugLog, ThreadsWriteWholeLines)
{
    constexpr int kThreads = 4;
    constexpr int kLines = 500;
    struct Worker
    {
        int index;
        static int Run(void* data)
        {
            const int index = static_cast<Worker*>(data)->index;
            for (int i = 0; i < kLines; ++i) {
                Debug object("T" + std::to_string(index));
                object.DebugVar(i % 10 == 0 ? -1 : 0, "thread %d line %d", index, i);
            }
            return 0;
        }
    };
    Debug host("Host");
    Worker workers[kThreads];
    SDL_Thread* threads[kThreads];
    for (int t = 0; t < kThreads; ++t) {
        workers[t].index = t;
        threads[t] = SDL_CreateThread(&Worker::Run, &workers[t]);
        ASSERT_NE(threads[t], nullptr);
    }
    for (SDL_Thread* thread : threads) {
        SDL_WaitThread(thread, nullptr);
    }

    int seen[kThreads] = {};
    for (const std::string& text : LogTexts()) {
        if (text == "***ERROR***") {
            continue;
        }
        std::string body = text;
        long ticks = 0;
        if (text.rfind("***ERROR***", 0) == 0) {
            ASSERT_TRUE(SplitStamp(text.substr(11), &ticks, &body)) << text;
        }
        int nameIndex = -1;
        int id = -1;
        int index = -1;
        int number = -1;
        int end = -1;
        const char* format = body.find("): -1 ") != std::string::npos
                                 ? "(T%d:::%d): -1 thread %d line %d%n"
                                 : "(T%d:::%d): thread %d line %d%n";
        ASSERT_EQ(std::sscanf(body.c_str(), format, &nameIndex, &id, &index, &number, &end), 4)
            << body;
        ASSERT_EQ(end, static_cast<int>(body.size())) << body;
        EXPECT_EQ(nameIndex, index);
        ASSERT_GE(index, 0);
        ASSERT_LT(index, kThreads);
        ++seen[index];
    }
    for (int count : seen) {
        EXPECT_EQ(count, kLines);
    }
}

TEST(DebugIds, CounterWrapsFrom99998To999)
{
    Debug first;
    EXPECT_EQ(first.GetObjectId(), 0);
    AdvanceIdsTo(99998);
    Debug last;
    Debug wrapped;
    EXPECT_EQ(last.GetObjectId(), 99998);
    EXPECT_EQ(wrapped.GetObjectId(), 999);
    EXPECT_EQ(wrapped.GetFullName(), "(:::999)");
}

class DebugReport : public ::testing::Test
{
protected:
    // Ids 0 to 3 are held by the application's first objects and never reported.
    void SetUp() override
    {
        for (int i = 0; i < 4; ++i) {
            _first.push_back(std::make_unique<Debug>("First"));
        }
    }

    // The report lines: everything after the last line this test wrote before closing.
    std::vector<std::string> CloseAndReport()
    {
        const size_t before = LogTexts().size();
        Debug::CloseDebugFile();
        std::vector<std::string> texts = LogTexts();
        texts.erase(texts.begin(), texts.begin() + before);
        return texts;
    }

    std::vector<std::unique_ptr<Debug>> _first;
};

TEST_F(DebugReport, NoLeakGivesTheTotal)
{
    {
        Debug a("A");
        Debug b("B");
    }
    // Ids 0..5 used, the report's own object takes 6: C = 7.
    const std::vector<std::string> report = CloseAndReport();
    EXPECT_EQ(report, std::vector<std::string>{"(:::6): Total objects used - 4"});
}

TEST_F(DebugReport, LeakedObjectsAreNamed)
{
    auto kept = std::make_unique<Debug>("Kept");
    auto renamed = std::make_unique<Debug>("Before");
    renamed->SetName("After");
    auto anonymous = std::make_unique<Debug>();
    EXPECT_EQ(anonymous->GetName(), "");
    EXPECT_EQ(anonymous->GetFullName().substr(0, 2), "(:");
    {
        Debug gone("Gone");
    }
    const std::vector<std::string> report = CloseAndReport();
    const std::vector<std::string> expected = {
        "(:::8): Object Not Cleaned UP: 4-Kept, ",
        "(:::8): Object Not Cleaned UP: 5-After, ",
        "(:::8): Object Not Cleaned UP: 6-noname, ",
        "(:::8): You Left 3 objects not cleaned up - out of 6 objects used",
    };
    EXPECT_EQ(report, expected);
}

TEST_F(DebugReport, ObjectsAfterCloseWriteNothing)
{
    Debug survivor("Survivor");
    Debug::CloseDebugFile();
    const std::string closed = testsupport::ReadFile(kLog);
    ASSERT_FALSE(closed.empty());

    survivor.DebugVar(0, "after");
    survivor.DebugVar(-1, "after");
    survivor.DebugOut("after");
    survivor.DebugRaw("after");
    Debug::DebugFlush();
    EXPECT_EQ(testsupport::ReadFile(kLog), closed);
}

TEST_F(DebugReport, ObjectMadeAfterCloseKeepsTheReport)
{
    Debug::CloseDebugFile();
    const std::string closed = testsupport::ReadFile(kLog);
    ASSERT_NE(closed.find("Total objects used"), std::string::npos);

    Debug late("Late");
    late.DebugVar(0, "late line");
    Debug::DebugFlush();
    const std::string bytes = testsupport::ReadFile(kLog);
    EXPECT_EQ(bytes.substr(0, closed.size()), closed);
    EXPECT_NE(bytes.find("(Late:::"), std::string::npos);
}

TEST_F(DebugReport, ReusedIdStaysWithItsNewestHolder)
{
    AdvanceIdsTo(999);
    auto old = std::make_unique<Debug>("Old");
    ASSERT_EQ(old->GetObjectId(), 999);
    AdvanceIdsTo(99998);
    Debug last;
    auto reused = std::make_unique<Debug>("New");
    ASSERT_EQ(reused->GetObjectId(), 999);

    // The old holder of id 999 goes first; the new holder is still alive and must be reported.
    old.reset();
    const std::vector<std::string> report = CloseAndReport();
    ASSERT_EQ(report.size(), 2u);
    EXPECT_EQ(report[0], "(:::1000): Object Not Cleaned UP: 999-New, ");
    EXPECT_EQ(report[1], "(:::1000): You Left 1 objects not cleaned up - out of 998 objects used");
}
