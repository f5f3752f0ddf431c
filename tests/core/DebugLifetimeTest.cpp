#include "framework/core/DebugLifetime.h"

#include "SDL.h"
#include "tests/support/TestSupport.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

// Texts of the log's stamped lines, stamps removed.
std::vector<std::string> LogTexts()
{
    Debug::DebugFlush();
    const std::string bytes = testsupport::ReadFile("debug.txt");
    std::vector<std::string> texts;
    std::string::size_type start = 0;
    while (start < bytes.size()) {
        std::string::size_type end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        const std::string line = bytes.substr(start, end - start);
        const bool stamped = line.size() >= 12 && line.compare(10, 2, ": ") == 0;
        texts.push_back(stamped ? line.substr(12) : line);
        start = end + 2;
    }
    return texts;
}

std::vector<std::string> LinesContaining(const std::string& part)
{
    std::vector<std::string> found;
    for (const std::string& text : LogTexts()) {
        if (text.find(part) != std::string::npos) {
            found.push_back(text);
        }
    }
    return found;
}

void MakeMarkers(const std::vector<std::string>& names)
{
    if (names.empty()) {
        return;
    }
    ASSERT_EQ(mkdir("debug", 0755), 0);
    for (const std::string& name : names) {
        ASSERT_TRUE(testsupport::WriteFile("debug/" + name, ""));
    }
}

struct ClassLevel
{
    const char* className;
    int result;   // what SetDebugLevel returns for a first object (remembered level 0)
    int logLevel; // the object's log level afterwards
};

struct MarkerCase
{
    const char* label;
    std::vector<std::string> markers;
    int profileLevel;
    bool profileAll;
    std::vector<ClassLevel> classes;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const MarkerCase& c, std::ostream* os)
{
    *os << c.label;
}

class MarkerFiles : public ::testing::TestWithParam<MarkerCase>
{
};

} // namespace

TEST_P(MarkerFiles, SetProfileAndClassLevels)
{
    const MarkerCase& c = GetParam();
    MakeMarkers(c.markers);
    Debug early("Early"); // made before profiling starts

    for (const ClassLevel& expected : c.classes) {
        SCOPED_TRACE(expected.className);
        Debug object(expected.className);
        EXPECT_EQ(DebugLifetime::SetDebugLevel(expected.className, &object, 0), expected.result);
        EXPECT_EQ(object.GetLogLevel(), expected.logLevel);
    }
    EXPECT_EQ(DebugLifetime::GetProfileLevel(), c.profileLevel);
    EXPECT_EQ(DebugLifetime::GetProfileAll(), c.profileAll);
    // The statistics (over a megabyte) exist only while profiling is on.
    EXPECT_EQ(DebugLifetime::HasProfileTables(), c.profileLevel >= 2);

    Debug late("Late");
    EXPECT_EQ(early.GetLogLevel(), 0);
    EXPECT_EQ(late.GetLogLevel(), c.profileAll && c.profileLevel > 1 ? c.profileLevel - 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MarkerFiles,
    ::testing::Values(
        MarkerCase{"NoDebugFolder", {}, 1, false, {{"Image", -1, 0}, {"Canvas", -1, 0}}},
        MarkerCase{"OnlyProfile0", {"Profile.0", "Image.5"}, 1, false, {{"Image", -1, 0}}},
        MarkerCase{"Profile2WithImage7",
                   {"Profile.2", "Image.7"},
                   3,
                   false,
                   {{"Image", 2, 2}, {"Canvas", -1, 0}}},
        MarkerCase{"Profile9WithConfigFile0",
                   {"Profile.9", "ConfigFile.0", "ConfigFile.2"},
                   10,
                   false,
                   {{"ConfigFile", 3, 3}, {"ImageResource", -1, 0}}},
        MarkerCase{"HighestProfileMarkerWins",
                   {"Profile.1", "Profile.6", "Canvas.2"},
                   7,
                   false,
                   {{"Canvas", 3, 3}, {"Image", -1, 0}}},
        MarkerCase{"Profile4MakesEveryMarkerPresent",
                   {"Profile.4"},
                   5,
                   false,
                   {{"Image", 4, 4}, {"WebUpdater", 4, 4}, {"AppScript", 4, 4}}},
        MarkerCase{"ProfileAllWithProfile3",
                   {"Profile.all", "Profile.3", "Image.0"},
                   4,
                   true,
                   {{"Image", 3, 3}, {"Canvas", 3, 3}}},
        MarkerCase{"ProfileAllWithoutProfiling", {"Profile.all"}, 1, true, {{"Image", -1, 0}}}),
    [](const ::testing::TestParamInfo<MarkerCase>& info) { return info.param.label; });

TEST(DebugLifetime, RememberedLevelIsPassedOnWhileProfiling)
{
    MakeMarkers({"Profile.2", "Image.7"});
    int remembered = 0;
    Debug first("first");
    remembered = DebugLifetime::SetDebugLevel("Image", &first, remembered);
    EXPECT_EQ(remembered, 2);

    // A later object gets the remembered level without a search, even once the marker is gone.
    ASSERT_EQ(std::remove("debug/Image.7"), 0);
    Debug second("second");
    EXPECT_EQ(DebugLifetime::SetDebugLevel("Image", &second, remembered), 2);
    EXPECT_EQ(second.GetLogLevel(), 2);

    // A class without a marker remembers -1, which then becomes the later objects' level.
    Debug canvas("canvas");
    const int none = DebugLifetime::SetDebugLevel("Canvas", &canvas, 0);
    EXPECT_EQ(none, -1);
    EXPECT_EQ(canvas.GetLogLevel(), 0);
    Debug nextCanvas("nextCanvas");
    EXPECT_EQ(DebugLifetime::SetDebugLevel("Canvas", &nextCanvas, none), -1);
    EXPECT_EQ(nextCanvas.GetLogLevel(), -1);
}

TEST(DebugLifetime, MarkersAddedAfterTheStartHaveNoEffect)
{
    Debug object("object");
    EXPECT_EQ(DebugLifetime::SetDebugLevel("Image", &object, 0), -1);
    MakeMarkers({"Profile.4", "Image.3"});
    EXPECT_EQ(DebugLifetime::SetDebugLevel("Image", &object, 0), -1);
    EXPECT_EQ(DebugLifetime::GetProfileLevel(), 1);
    EXPECT_EQ(object.GetLogLevel(), 0);
}

TEST(DebugLifetime, FileExistsOpensForReading)
{
    EXPECT_FALSE(DebugLifetime::FileExists("absent.txt"));
    ASSERT_TRUE(testsupport::WriteFile("present.txt", "x"));
    EXPECT_TRUE(DebugLifetime::FileExists("present.txt"));
}

TEST(DebugLifetime, ProbesCountRunsAndTime)
{
    MakeMarkers({"Profile.2"});
    {
        DebugLifetime probe("Loader", 2, 7, "Load %s", "tiles.png");
        EXPECT_EQ(DebugLifetime::GetProfileLevel(), 3);
        EXPECT_EQ(probe.GetLogLevel(), 0); // the level of module 2, never raised
        SDL_Delay(30);
    }
    {
        DebugLifetime again("Loader", 2, 7, "Load %s", "other.png");
    }
    {
        DebugLifetime rootProbe("Root", 0, 3, "root");
    }
    const std::vector<std::string> begins = LinesContaining("Begin Profiling");
    ASSERT_EQ(begins.size(), 1u);
    EXPECT_EQ(begins[0], "(:::0): Begin Profiling Load %s Profile Number:  1007");

    DebugLifetime::DumpStats();
    const std::vector<std::string> stats = LinesContaining("Profile: ");
    ASSERT_EQ(stats.size(), 2u);
    EXPECT_EQ(stats[0], "(DebugLifeTime::DumpStats:::3): Profile: 3, Count: 1, Time: 0");
    int number = 0;
    int count = 0;
    int time = -1;
    int end = -1;
    ASSERT_EQ(std::sscanf(stats[1].c_str(),
                          "(DebugLifeTime::DumpStats:::3): Profile: %d, Count: %d, Time: %d%n",
                          &number, &count, &time, &end),
              3)
        << stats[1];
    EXPECT_EQ(end, static_cast<int>(stats[1].size()));
    EXPECT_EQ(number, 1007);
    EXPECT_EQ(count, 2);
    EXPECT_GE(time, 30);
}

TEST(DebugLifetime, EnteringAndLeavingNeedALogLevelAbove2)
{
    MakeMarkers({"Profile.2"});
    {
        DebugLifetime quiet("Quiet", 3, 1, "step");
        quiet.PrintEnter();
        quiet.Out();
    }
    {
        DebugLifetime loud("Loud", 3, 2, "step %d", 4);
        loud.SetLogLevel(3);
        loud.PrintEnter();
        loud.Out();
        loud.PrintEnter();
    }
    const std::vector<std::string> flow = LinesContaining("Loud::");
    const std::vector<std::string> expected = {
        "(:::1): Entering Loud::step 4  1",
        "(:::1): CodeExit Loud::step 4  1",
        "(:::1): Entering Loud::step 4  2",
        "(:::1): Leaving Loud::step 4  2",
    };
    EXPECT_EQ(flow, expected);
    EXPECT_TRUE(LinesContaining("Quiet::").empty());
}

TEST(DebugLifetime, ProfileLevel2RecordsStartsButCountsNothing)
{
    MakeMarkers({"Profile.1"});
    {
        DebugLifetime first("P", 1, 1, "x");
    }
    {
        DebugLifetime second("P", 1, 1, "x");
    }
    EXPECT_EQ(DebugLifetime::GetProfileLevel(), 2);
    EXPECT_EQ(LinesContaining("Begin Profiling x Profile Number:  501").size(), 2u);
    DebugLifetime::DumpStats();
    EXPECT_TRUE(LinesContaining("Profile: ").empty());
}

TEST(DebugLifetime, InertProbesDoNothing)
{
    MakeMarkers({"Profile.2"});
    {
        DebugLifetime inert("Inert", -1, 7, "never");
        inert.SetLogLevel(5);
        inert.PrintEnter();
        inert.Out();
    }
    EXPECT_EQ(DebugLifetime::GetProfileLevel(), 0); // an inert probe does not start profiling
    {
        // Outside the statistics tables: inert as well.
        DebugLifetime beyond("Beyond", 200, 0, "past the end");
        DebugLifetime negative("Negative", 1, -600, "before the start");
    }
    {
        DebugLifetime lastSlot("Last", 199, 499, "last");
    }
    EXPECT_TRUE(LinesContaining("Inert").empty());
    EXPECT_TRUE(LinesContaining("past the end").empty());
    EXPECT_TRUE(LinesContaining("before the start").empty());
    DebugLifetime::DumpStats();
    const std::vector<std::string> stats = LinesContaining("Profile: ");
    ASSERT_EQ(stats.size(), 1u);
    EXPECT_NE(stats[0].find("Profile: 99999, Count: 1"), std::string::npos);
}

TEST(DebugLifetime, NoDebugFolderDumpsNothing)
{
    {
        DebugLifetime probe("P", 1, 1, "x");
    }
    DebugLifetime::DumpStats();
    EXPECT_EQ(DebugLifetime::GetProfileLevel(), 1);
    EXPECT_TRUE(LogTexts().empty());
}
