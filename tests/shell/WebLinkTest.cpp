#include "framework/shell/WebLink.h"

#include "tests/support/TestSupport.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <thread>

namespace {

TEST(WebLink, OnlyHttpAndHttpsAddressesWithAHostAreOpenable)
{
    struct Case
    {
        const char* link;
        const char* openable;
    };
    const Case cases[] = {
        {"https://example.invalid/x", "https://example.invalid/x"},
        {"  http://example.invalid/a?b=c&d  \r\n", "http://example.invalid/a?b=c&d"},
        {"HTTPS://Example.invalid", "HTTPS://Example.invalid"},
        {"file:///etc/passwd", ""},
        {"javascript:alert(1)", ""},
        {"ftp://example.invalid/", ""},
        {"/usr/bin/xterm", ""},
        {"-e http://example.invalid", ""},
        {"https://", ""},
        {"http:///path", ""},
        {"https://a.invalid/x y", ""},
        {"https://a.invalid/\x01", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WebLink::Openable(c.link), c.openable) << c.link;
    }
}

// A fake opener first on PATH that writes its arguments, one a line, into a record file.
class WebLinkOpenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        namespace fs = std::filesystem;
        const fs::path bin = fs::current_path() / "bin";
        fs::create_directories(bin);
        _record = (fs::current_path() / "opened.txt").string();
        const std::string script = "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > " +
                                   _record + ".part\nmv " + _record + ".part " + _record + "\n";
        ASSERT_TRUE(testsupport::WriteFile((bin / "xdg-open").string(), script));
        chmod((bin / "xdg-open").c_str(), 0755);
        const char* path = std::getenv("PATH");
        _oldPath = path != nullptr ? path : "";
        setenv("PATH", (bin.string() + ":" + _oldPath).c_str(), 1);
    }
    void TearDown() override { setenv("PATH", _oldPath.c_str(), 1); }

    // The record once the opener has written it; empty after 10 s without one.
    std::string Recorded()
    {
        for (int i = 0; i < 1000 && !testsupport::FileExists(_record); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return testsupport::FileExists(_record) ? testsupport::ReadFile(_record) : "";
    }

    std::string _record;
    std::string _oldPath;
};

TEST_F(WebLinkOpenTest, OpenerGetsTheAddressAsItsOneArgumentWithoutAShell)
{
    // Shell syntax stays inside the one argument.
    const std::string link = " https://example.invalid/x?a=1&b=$(touch%20pwned);c ";
    ASSERT_TRUE(WebLink::Open(link));
    EXPECT_EQ(Recorded(), "https://example.invalid/x?a=1&b=$(touch%20pwned);c\n");
    EXPECT_FALSE(testsupport::FileExists("pwned"));
}

TEST_F(WebLinkOpenTest, RefusedAddressStartsNothing)
{
    EXPECT_FALSE(WebLink::Open("file:///etc/passwd"));
    // The opener runs for accepted addresses only: the next accepted one is the first record.
    ASSERT_TRUE(WebLink::Open("http://example.invalid/next"));
    EXPECT_EQ(Recorded(), "http://example.invalid/next\n");
}

TEST_F(WebLinkOpenTest, MissingOpenerIsReportedAsFailure)
{
    setenv("PATH", "/nonexistent", 1);
    EXPECT_FALSE(WebLink::Open("https://example.invalid/x"));
}

} // namespace
