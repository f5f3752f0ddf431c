// Files that could not be read or written: never written over, and told to the player.
#include "framework/core/ConfigFile.h"
#include "tests/support/FileFaults.h"
#include "tests/support/TestSupport.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using testsupport::CountLogLines;
using testsupport::FileExists;
using testsupport::ReadFile;
using testsupport::WriteFile;

std::string Joined(const std::vector<std::string>& texts)
{
    std::string all;
    for (const std::string& text : texts) {
        all += text + "|";
    }
    return all;
}

// Notices left by an earlier test of the same process are not this test's.
void ForgetNotices()
{
    ConfigFile::TakeFileNotices(true);
}

// The file's bytes, or what stands in its place.
std::string Content(const std::string& path)
{
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) {
        return "<none>";
    }
    if (S_ISDIR(st.st_mode)) {
        return "<folder>";
    }
    return ReadFile(path) + (st.st_mode & 0777 ? "" : "<mode 000>");
}

struct UnreadCase
{
    const char* name;
    const char* how;        // "folder" or "mode000"
    bool plainObject;       // a plain object, else scrambled
    const char* unreadable; // the file that can't be read
    const char* readable;   // a readable file beside it, or null
    const char* entries;    // what the object reads
    const char* error;      // GetWriteError after a Flush
};

void PrintTo(const UnreadCase& c, std::ostream* os)
{
    *os << c.name;
}

class ConfigFileUnread : public ::testing::TestWithParam<UnreadCase>
{
};

// The old bytes of every file, read before and after the object was made, changed and flushed.
TEST_P(ConfigFileUnread, IsNeverWrittenOverAndNamedOnce)
{
    const UnreadCase& c = GetParam();
    ForgetNotices();
    const std::string old = "[s]\nk=old\n";
    testsupport::MakeUnreadable(c.unreadable, c.how, old);
    if (c.readable != nullptr) {
        ASSERT_TRUE(WriteFile(c.readable, old));
    }
    const std::string unreadableBefore = Content(c.unreadable);
    const std::string plainBefore = Content("t.cfg");

    const std::string seen = testsupport::RunWithoutRootRights([&] {
        std::string out;
        for (int run = 0; run < 2; ++run) {
            ConfigFile cfg("t.cfg", false, c.plainObject, false);
            out += "entries=" + static_cast<std::string>(cfg.Value("s", "k", "none", true));
            cfg.Write("s", "k", "new");
            out += cfg.Flush() ? " flushed" : " kept";
            out += " error=" + cfg.GetWriteError();
            out += " notices=" + Joined(ConfigFile::TakeFileNotices(true)) + "\n";
        }
        return out;
    });

    const std::string line = std::string("entries=") + c.entries + " kept error=" + c.error;
    EXPECT_EQ(seen, line + " notices=" + c.unreadable +
                        " could not be read; nothing was changed.|\n" + line + " notices=\n");
    EXPECT_EQ(Content(c.unreadable), unreadableBefore);
    EXPECT_EQ(Content("t.cfg"), plainBefore);
    EXPECT_FALSE(FileExists(std::string(c.unreadable) + ".tmp"));
    EXPECT_EQ(CountLogLines(std::string("-1 FILE NOT READ! IT IS LEFT AS IT IS - ") + c.unreadable),
              2);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ConfigFileUnread,
    ::testing::Values(UnreadCase{"PlainFolder", "folder", true, "t.cfg", nullptr, "none",
                                 "it could not be read"},
                      UnreadCase{"PlainMode000", "mode000", true, "t.cfg", nullptr, "none",
                                 "it could not be read"},
                      UnreadCase{"CopyFolder", "folder", false, "t.cfge", nullptr, "none",
                                 "it could not be read"},
                      UnreadCase{"CopyMode000", "mode000", false, "t.cfge", nullptr, "none",
                                 "it could not be read"},
                      // The plain file stands in for the copy, which still is never replaced.
                      UnreadCase{"CopyMode000BesidePlain", "mode000", false, "t.cfge", "t.cfg",
                                 "old", "it could not be read"},
                      // A copy made now would hide the plain file for ever after.
                      UnreadCase{"PlainMode000WithoutCopy", "mode000", false, "t.cfg", nullptr,
                                 "none", "t.cfg could not be read"},
                      UnreadCase{"PlainFolderWithoutCopy", "folder", false, "t.cfg", nullptr,
                                 "none", "t.cfg could not be read"}));

TEST(ConfigFileSave, FailuresKeepTheOldFileAndSayWhy)
{
    struct Case
    {
        const char* name;
        void (*fault)();
        const char* error;
    };
    const Case cases[] = {
        // The disk has no room for the temporary file's data.
        {"full disk", [] { testsupport::FailSync("t.cfg.tmp", ENOSPC); },
         "No space left on device"},
        {"folder in the way of the temporary file", [] { ASSERT_EQ(mkdir("t.cfg.tmp", 0755), 0); },
         "Is a directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteFile("t.cfg", "[s]\nk=old\n"));
        ConfigFile cfg("t.cfg", false, true, false);
        c.fault();
        cfg.Write("s", "k", "new");
        EXPECT_FALSE(cfg.Flush());
        EXPECT_EQ(cfg.GetWriteError(), c.error);
        EXPECT_TRUE(cfg.IsChanged());
        EXPECT_EQ(ReadFile("t.cfg"), "[s]\nk=old\n");
        EXPECT_EQ(CountLogLines(std::string("-1 FILE NOT WRITTEN! - t.cfg (") + c.error + ")"), 1);

        EXPECT_FALSE(FileExists("t.cfg.tmp") && !std::filesystem::is_directory("t.cfg.tmp"))
            << "a failed temporary file is not left behind";
        std::error_code ignored;
        std::filesystem::remove("t.cfg.tmp", ignored);
        testsupport::FailSync("", 0);
        EXPECT_TRUE(cfg.Flush());
        EXPECT_EQ(cfg.GetWriteError(), "");
        EXPECT_EQ(ReadFile("t.cfg"), "\r\n[s]\r\nk=new\r\n");
    }
}

// Whatever stands at the temporary file's name, left by a write cut short or planted in the data
// folder, is replaced, never written through: a file outside the folder keeps its bytes.
TEST(ConfigFileSave, ATemporaryFileInTheWayIsReplacedNeverWrittenThrough)
{
    struct Case
    {
        const char* name;
        int (*plant)(const char* temporary);
        bool outsideExists; // before the save
    };
    const Case cases[] = {
        {"link to a file outside", [](const char* t) { return symlink("../outside/secret", t); },
         true},
        // Written through, it would make the file outside.
        {"link to nothing yet", [](const char* t) { return symlink("../outside/secret", t); },
         false},
        {"second name of a file outside", [](const char* t) { return link("outside/secret", t); },
         true},
    };
    const char* const outside = "outside/secret";
    const char* const temporary = "data/ann.plr0e.tmp";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all("outside");
        std::filesystem::remove_all("data");
        std::filesystem::create_directories("outside");
        std::filesystem::create_directories("data");
        if (c.outsideExists) {
            ASSERT_TRUE(WriteFile(outside, "not the player's\n"));
        }
        ASSERT_EQ(c.plant(temporary), 0);
        ConfigFile progress("data/ann.plr0", false, false, false);
        progress.MarkAsPlayerData();
        progress.Write("records", "t2p0", 1740);
        EXPECT_TRUE(progress.Flush()) << progress.GetWriteError();
        EXPECT_EQ(Content(outside), c.outsideExists ? "not the player's\n" : "<none>");
        EXPECT_EQ(Content(temporary), "<none>");
        ConfigFile back("data/ann.plr0", false, false, false);
        EXPECT_EQ(static_cast<std::string>(back.Value("records", "t2p0", "", true)), "1740");
    }
}

TEST(ConfigFileSave, APlayersFailureIsToldOnceUntilAWriteSucceeds)
{
    ForgetNotices();
    ASSERT_TRUE(WriteFile("p.cfge", ""));
    ConfigFile player("p.cfg", false, false, false);
    player.MarkAsPlayerData();
    ConfigFile other("o.cfg", false, true, false);
    ASSERT_EQ(mkdir("p.cfge.tmp", 0755), 0);
    ASSERT_EQ(mkdir("o.cfg.tmp", 0755), 0);

    const std::string told = "Your progress could not be saved: p.cfge: Is a directory.|";
    for (int attempt = 0; attempt < 3; ++attempt) {
        player.Write("s", "k", attempt);
        other.Write("s", "k", attempt);
        EXPECT_FALSE(player.Flush());
        EXPECT_FALSE(other.Flush());
        // Only the player's file, and only at its first failure.
        EXPECT_EQ(Joined(ConfigFile::TakeFileNotices(false)), attempt == 0 ? told : "")
            << "attempt " << attempt;
    }
    // Another object of the same file (the next game's) is the same file.
    {
        ConfigFile again("p.cfg", false, false, false);
        again.MarkAsPlayerData();
        again.Write("s", "j", "1");
        EXPECT_FALSE(again.Flush());
        EXPECT_EQ(Joined(ConfigFile::TakeFileNotices(false)), "");
        ASSERT_EQ(rmdir("p.cfge.tmp"), 0);
    }
    EXPECT_TRUE(player.Flush());
    ASSERT_EQ(mkdir("p.cfge.tmp", 0755), 0);
    player.Write("s", "k", "after");
    EXPECT_FALSE(player.Flush());
    EXPECT_EQ(Joined(ConfigFile::TakeFileNotices(false)), told);
    ASSERT_EQ(rmdir("p.cfge.tmp"), 0);
    ASSERT_EQ(rmdir("o.cfg.tmp"), 0);
}

TEST(ConfigFileSave, AnObjectWithoutAFileNameStaysInMemory)
{
    ForgetNotices();
    {
        ConfigFile memory("", false, false, false);
        memory.Write("s", "k", "v");
        EXPECT_EQ(static_cast<std::string>(memory.Value("s", "k", "", true)), "v");
        EXPECT_TRUE(memory.Flush());
    }
    EXPECT_EQ(CountLogLines("FILE NOT"), 0);
    for (const char* file : {"e", ".tmp", "e.tmp"}) {
        EXPECT_FALSE(FileExists(file)) << file;
    }
}

} // namespace
