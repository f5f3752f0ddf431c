#include "framework/core/File.h"

#include "SDL.h"
#include "framework/core/LogFile.h"
#include "tests/support/FileFaults.h"
#include "tests/support/TestSupport.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using testsupport::FileExists;
using testsupport::ReadFile;
using testsupport::WriteFile;

// The "%10d: " stamp: ten characters, blanks then digits.
bool IsStamp(const std::string& stamp)
{
    const std::string::size_type digits = stamp.find_first_not_of(' ');
    return stamp.size() == 10 && digits != std::string::npos &&
           stamp.find_first_not_of("0123456789", digits) == std::string::npos;
}

struct WriteCase
{
    std::string text;
    int count;
    int result;
    std::string written;
};

} // namespace

TEST(File, WriteCountSelectsThePrefix)
{
    const WriteCase cases[] = {
        {"abc", 2, 1, "ab"},  {"abc", 1, 1, "a"},      {"abc", 3, 1, "abc"},
        {"abc", 5, 1, "abc"}, {"abc", 0, 1, "abc"},    {"abc", -1, 1, "abc"},
        {"", -1, 0, ""},      {"a\nb", -1, 1, "a\nb"}, // bytes go through untranslated
    };
    int index = 0;
    for (const WriteCase& c : cases) {
        const std::string name = "w" + std::to_string(index++) + ".txt";
        SCOPED_TRACE(name);
        File file(name);
        ASSERT_TRUE(file.OpenW());
        EXPECT_EQ(file.Write(c.text, c.count), c.result);
        file.Close();
        EXPECT_EQ(ReadFile(name), c.written);
    }
}

TEST(File, ReadTakesWholeBlocksOnly)
{
    const std::string content = "0123456789abcdefghijklmnopqrstuvwxyzABCD";
    ASSERT_EQ(content.size(), 40u);
    ASSERT_TRUE(WriteFile("data.bin", content));
    File file("data.bin");
    ASSERT_TRUE(file.OpenR());

    char buffer[101] = {};
    EXPECT_EQ(file.Read(buffer, 4), 1);
    EXPECT_EQ(std::string(buffer, 4), "0123");
    EXPECT_EQ(file.Read(buffer, 100), 0); // only 36 bytes remain
    EXPECT_EQ(file.Read(nullptr, 1), 0);
    EXPECT_EQ(file.Read(buffer, 0), 0);
}

TEST(File, FailedOpenLeavesEveryOperationInert)
{
    File file("missing.txt");
    EXPECT_EQ(file.GetState(), File::kNeverOpened);
    EXPECT_FALSE(file.OpenR());
    EXPECT_EQ(file.GetState(), File::kOpenFailed);
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(file.Read(buffer, 4), 0);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(file.Write("abc", -1), 0);
    EXPECT_EQ(file.Seek(-1, 2), -1);
    EXPECT_EQ(file.Seek(0, 0), -1);
    EXPECT_EQ(file.Tell(), -1);
    file.Close();
    EXPECT_EQ(file.GetState(), File::kOpenFailed);
    EXPECT_FALSE(FileExists("missing.txt"));
}

TEST(File, StatesFollowOpenAndClose)
{
    File file("states.txt");
    file.Close();
    EXPECT_EQ(file.GetState(), File::kNeverOpened);
    EXPECT_EQ(file.GetExtension(), nullptr);
    ASSERT_TRUE(file.OpenW());
    EXPECT_EQ(file.GetState(), File::kOpen);
    ASSERT_NE(file.GetExtension(), nullptr);
    EXPECT_STREQ(file.GetExtension(), "txt");
    file.Close();
    EXPECT_EQ(file.GetState(), File::kClosed);
    EXPECT_TRUE(file.OpenR());
    EXPECT_EQ(file.GetState(), File::kOpen);
}

TEST(File, ExtensionIsTheTextAfterTheLastDot)
{
    ASSERT_EQ(mkdir("dir.d", 0755), 0);
    File twoDots("dir.d/archive.tar.gz");
    ASSERT_TRUE(twoDots.OpenW());
    EXPECT_STREQ(twoDots.GetExtension(), "gz");
    File noDot("plain");
    ASSERT_TRUE(noDot.OpenW());
    EXPECT_EQ(noDot.GetExtension(), nullptr);
}

struct ModeCase
{
    const char* label;
    bool (File::*open)();
    bool existing;
    bool opens;
    std::string afterWrite; // file content after writing "XY" at the opening position
};

TEST(File, ModesMatchTheirMeaning)
{
    const ModeCase cases[] = {
        {"r existing", &File::OpenR, true, true, "hello"}, // writes fail
        {"r missing", &File::OpenR, false, false, ""},
        {"w existing", &File::OpenW, true, true, "XY"},
        {"w missing", &File::OpenW, false, true, "XY"},
        {"a existing", &File::OpenA, true, true, "helloXY"},
        {"a missing", &File::OpenA, false, true, "XY"},
        {"rw existing", &File::OpenRW, true, true, "XYllo"},
        {"rw missing", &File::OpenRW, false, false, ""},
        {"wa existing", &File::OpenWA, true, true, "helloXY"},
        {"wa missing", &File::OpenWA, false, true, "XY"},
    };
    int index = 0;
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string name = "mode" + std::to_string(index++) + ".txt";
        if (c.existing) {
            ASSERT_TRUE(WriteFile(name, "hello"));
        }
        File file(name);
        ASSERT_EQ((file.*c.open)(), c.opens);
        if (c.opens) {
            file.Write("XY", -1);
        }
        file.Close();
        EXPECT_EQ(FileExists(name), c.existing || c.opens);
        EXPECT_EQ(ReadFile(name), c.afterWrite);
    }
}

TEST(File, ReadWriteModeReadsTheExistingText)
{
    ASSERT_TRUE(WriteFile("rw.txt", "hello"));
    File file("rw.txt");
    ASSERT_TRUE(file.OpenRW());
    char buffer[5];
    ASSERT_EQ(file.Read(buffer, 5), 1);
    EXPECT_EQ(std::string(buffer, 5), "hello");
}

TEST(File, SeekMovesForEveryOffset)
{
    ASSERT_TRUE(WriteFile("seek.bin", "0123456789"));
    File file("seek.bin");
    ASSERT_TRUE(file.OpenR());
    char c = 0;
    EXPECT_EQ(file.Seek(-3, 2), 7);
    EXPECT_EQ(file.Tell(), 7);
    ASSERT_EQ(file.Read(&c, 1), 1);
    EXPECT_EQ(c, '7');
    EXPECT_EQ(file.Seek(-2, 1), 6);
    EXPECT_EQ(file.Seek(2, 0), 2);
    EXPECT_EQ(file.Seek(3, 1), 5);
    ASSERT_EQ(file.Read(&c, 1), 1);
    EXPECT_EQ(c, '5');
    EXPECT_EQ(file.Seek(0, 2), 10);
    EXPECT_EQ(file.Seek(-20, 0), -1); // before the start
    EXPECT_EQ(file.Tell(), 10);
}

TEST(File, FlushPutsWrittenTextOnDiskAndAppendsAfter)
{
    File file("flush.txt");
    ASSERT_TRUE(file.OpenW());
    file.Write("one", -1);
    file.Flush();
    EXPECT_EQ(ReadFile("flush.txt"), "one");
    EXPECT_EQ(file.GetState(), File::kOpen);
    file.Write("two", -1);
    file.Close();
    EXPECT_EQ(ReadFile("flush.txt"), "onetwo");
}

TEST(File, FlushThatCannotReopenDropsLaterWrites)
{
    ASSERT_EQ(mkdir("gone", 0755), 0);
    File file("gone/f.txt");
    ASSERT_TRUE(file.OpenW());
    ASSERT_EQ(unlink("gone/f.txt"), 0);
    ASSERT_EQ(rmdir("gone"), 0);
    file.Flush();
    EXPECT_EQ(file.GetState(), File::kOpenFailed);
    EXPECT_EQ(file.Write("lost", -1), 0);
    EXPECT_EQ(file.Tell(), -1);
}

TEST(File, DeleteTreatsAnAbsentFileAsRemoved)
{
    ASSERT_TRUE(WriteFile("victim.txt", "x"));
    EXPECT_EQ(File::Delete("victim.txt"), 0);
    EXPECT_FALSE(FileExists("victim.txt"));
    EXPECT_EQ(File::Delete("victim.txt"), 0);
    EXPECT_EQ(File::Delete("no/such/folder/file.txt"), 0);

    // A folder that is not empty cannot be removed.
    ASSERT_EQ(mkdir("full", 0755), 0);
    ASSERT_TRUE(WriteFile("full/inside.txt", "x"));
    EXPECT_EQ(File::Delete("full"), -1);
    EXPECT_TRUE(FileExists("full/inside.txt"));
    EXPECT_EQ(File::Delete(nullptr), -1);
}

TEST(File, ExistsForAnythingUnderThePathReadableOrNot)
{
    ASSERT_TRUE(WriteFile("plain", "x"));
    ASSERT_TRUE(WriteFile("locked", "x"));
    ASSERT_EQ(chmod("locked", 0), 0);
    ASSERT_EQ(mkdir("folder", 0755), 0);
    ASSERT_EQ(symlink("nowhere", "dangling"), 0);
    for (const char* there : {"plain", "locked", "folder", "dangling"}) {
        EXPECT_TRUE(File::Exists(there)) << there;
    }
    EXPECT_FALSE(File::Exists("missing"));
    EXPECT_FALSE(File::Exists("folder/missing"));
}

TEST(File, SyncFolderOfSyncsTheFolderThatHoldsThePath)
{
    ASSERT_EQ(mkdir("sub", 0755), 0);
    std::vector<std::string> synced;
    testsupport::OnSync([&](const std::string& path, bool folder) {
        synced.push_back(std::string(folder ? "folder " : "file ") + path);
    });
    const std::string here = std::filesystem::canonical(".").string();
    EXPECT_TRUE(File::SyncFolderOf("name"));
    EXPECT_TRUE(File::SyncFolderOf("sub/name"));
    EXPECT_TRUE(File::SyncFolderOf(here + "/sub/name"));
    EXPECT_FALSE(File::SyncFolderOf("no/such/name"));
    testsupport::OnSync(nullptr);
    EXPECT_EQ(synced, (std::vector<std::string>{"folder " + here, "folder " + here + "/sub",
                                                "folder " + here + "/sub"}));
}

TEST(LogFile, ConstructionEmptiesAnExistingLog)
{
    ASSERT_TRUE(WriteFile("log.txt", "old text\r\n"));
    LogFile log("log.txt");
    EXPECT_EQ(log.GetState(), File::kOpen);
    EXPECT_EQ(ReadFile("log.txt"), "");
}

TEST(LogFile, KeepingTheOldTextAppends)
{
    ASSERT_TRUE(WriteFile("log.txt", "old text\r\n"));
    {
        LogFile log("log.txt", true);
        log.OutLine("new");
    }
    const std::string bytes = ReadFile("log.txt");
    ASSERT_EQ(bytes.size(), 10u + 10u + 2u + 5u) << bytes;
    EXPECT_EQ(bytes.substr(0, 10), "old text\r\n");
    EXPECT_TRUE(IsStamp(bytes.substr(10, 10))) << bytes;
    EXPECT_EQ(bytes.substr(20), ": new\r\n");
}

TEST(LogFile, LinesCarryAStampAndCrLf)
{
    LogFile log("log.txt");
    const Uint32 before = SDL_GetTicks();
    log.OutLine("first");
    log.ErrLine("Bad");
    const Uint32 after = SDL_GetTicks();

    // The error line flushes, so everything is on disk without closing.
    // Each stamp is checked, then replaced by "@", the last one first.
    std::string bytes = ReadFile("log.txt");
    const std::string::size_type stamps[] = {10 + 9 + 13 + 11, 0};
    ASSERT_GT(bytes.size(), stamps[0] + 10);
    for (const std::string::size_type at : stamps) {
        const std::string stamp = bytes.substr(at, 10);
        ASSERT_TRUE(IsStamp(stamp)) << bytes;
        const long ticks = std::stol(stamp);
        EXPECT_GE(ticks, static_cast<long>(before));
        EXPECT_LE(ticks, static_cast<long>(after));
        bytes.replace(at, 10, "@");
    }
    EXPECT_EQ(bytes, "@: first\r\n"
                     "***ERROR***\r\n"
                     "***ERROR***@: Bad\r\n"
                     "***ERROR***\r\n");
}
