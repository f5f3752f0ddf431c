#include "framework/core/AssetManager.h"

#include "framework/core/Asset.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/TypedAsset.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <sys/stat.h>

namespace {

// Counts its live objects, so tests see what the registry deleted.
struct Thing
{
    explicit Thing(int& live) : live(live) { ++live; }
    ~Thing() { --live; }
    int& live;
};

// Makes a Thing for every name the list holds; names it lacks give a holder without object.
class ThingManager : public AssetManager
{
public:
    using AssetManager::AssetManager;
    Asset* LoadAsset(ConfigFile* cfg, const std::string& section, const std::string& name) override
    {
        if (Asset* existing = GetAsset(name)) {
            return existing;
        }
        ++loads;
        const bool listed = !cfg->Value(section, name, "", true).operator std::string().empty();
        auto holder = std::make_unique<TypedAsset<Thing>>(listed ? new Thing(live) : nullptr);
        Asset* asset = holder.get();
        Register(name, std::move(holder));
        return asset;
    }
    int loads = 0;
    int live = 0;
};

class AssetManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mkdir("cfg", 0755);
        ASSERT_TRUE(testsupport::WriteFile("cfg/things.cfg", "[main]\r\n"
                                                             "one=1\r\n"
                                                             "two=2\r\n"
                                                             "[level]\r\n"
                                                             "a=1\r\n"
                                                             "b=1\r\n"
                                                             "c=1\r\n"));
    }
};

} // namespace

TEST_F(AssetManagerTest, LoadsOnFirstRequestOnlyAndKeepsFailures)
{
    ThingManager m("cfg/things.cfg", "main");
    void* one = m.GetData("one");
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(m.GetData("one"), one);
    EXPECT_EQ(m.loads, 1);
    EXPECT_EQ(m.GetData("absent"), nullptr);
    EXPECT_EQ(m.GetData("absent"), nullptr);
    EXPECT_EQ(m.loads, 2); // not retried
    EXPECT_NE(m.GetAsset("absent"), nullptr);
    EXPECT_EQ(m.GetAsset("never"), nullptr);
    EXPECT_EQ(m.AssetCount(), 2);
}

TEST_F(AssetManagerTest, PurgeDropsOnlyUnlockedOwnedAssetsOfTheSection)
{
    ThingManager m("cfg/things.cfg", "main");
    m.LoadAssets("level");
    m.GetData("one");
    EXPECT_EQ(m.live, 4);
    m.LockAsset("a");
    m.GetAsset("b")->SetOwned(false);
    m.PurgeAssets("level");
    EXPECT_NE(m.GetAsset("a"), nullptr);
    EXPECT_NE(m.GetAsset("b"), nullptr);
    EXPECT_EQ(m.GetAsset("c"), nullptr);
    EXPECT_NE(m.GetAsset("one"), nullptr); // another section
    EXPECT_EQ(m.live, 3);

    // Extra unlocks stop at zero, so the next lock still protects.
    m.UnlockAsset("a");
    m.UnlockAsset("a");
    m.LockAsset("a");
    m.PurgeAssets("level");
    EXPECT_NE(m.GetAsset("a"), nullptr);
    m.UnlockAsset("a");
    m.PurgeAssets("level");
    EXPECT_EQ(m.GetAsset("a"), nullptr);

    const std::string log = testsupport::ReadLog();
    EXPECT_NE(log.find("Number of assets before purge= 4"), std::string::npos);
    EXPECT_NE(log.find("Number of assets after purge= 3"), std::string::npos);

    m.DeleteAll(); // owned or not, locked or not
    EXPECT_EQ(m.AssetCount(), 0);
    EXPECT_EQ(m.live, 0);
}

TEST_F(AssetManagerTest, LoadOneDropsTheRestOfItsGroup)
{
    ThingManager m("cfg/things.cfg", "main");
    m.LoadAssets("level");
    Asset* b = m.LoadOneAsset("level", "b");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->GetLockCount(), 0);
    EXPECT_EQ(m.AssetCount(), 1);
    EXPECT_EQ(m.GetAsset("b"), b);
    EXPECT_EQ(m.live, 1);
}

TEST_F(AssetManagerTest, LockingUnknownNamesAndDumpingTheRegistry)
{
    ThingManager m("cfg/things.cfg", "main");
    m.UnlockAsset("ghost");
    m.LockAsset("ghost");
    EXPECT_EQ(m.AssetCount(), 0);
    m.DebugDumpAssets();
    std::string log = testsupport::ReadLog();
    EXPECT_NE(log.find("Attempt to lock asset that has not been loaded, ghost"), std::string::npos);
    const size_t head = log.find("List of loaded assets: ");
    ASSERT_NE(head, std::string::npos);
    const size_t empty = log.find("): \r\n", head + 1); // the line of names is empty
    const size_t tail = log.find("End list of loaded assets.", head);
    ASSERT_NE(tail, std::string::npos);
    EXPECT_LT(empty, tail);

    m.GetData("two");
    m.GetData("one");
    m.DebugDumpAssets();
    log = testsupport::ReadLog();
    EXPECT_NE(log.find("one\ttwo\t"), std::string::npos);
}
