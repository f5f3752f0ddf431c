#include "framework/core/ConfigFile.h"
#include "framework/core/LoadingThread.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Image.h"
#include "framework/media/Music.h"
#include "framework/media/Sound.h"
#include "framework/shell/KeyframeChange.h"
#include "framework/shell/SpriteRunnerConfigFile.h"
#include "framework/stage/CastMemberImage.h"
#include "mahjong/app/Mahjong.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/scene/SceneBackgroundListener.h"
#include "mahjong/scene/ZorvyAnimation.h"
#include "tests/mahjong/board/MjBoardCatalog.h"
#include "tests/mahjong/scene/ZorvyTestSupport.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using mjtest::BackgroundKeeper;
using mjtest::SceneScript;

// The shipped hero file and pictures, read as the game reads them from its working folder.
class ZorvySceneDataTest : public shelltest::ShellTest
{
protected:
    void SetUp() override
    {
        dataDir = mjtest::GameDataDir();
        WriteData("allowloadingthread=0\n");
        StartFramework();
        // Copies, not links: with scrambling on, reading a picture writes its scrambled twin
        // beside it, which must land here and never in the shared data folder that other tests
        // copy from while this one runs.
        std::error_code ignored;
        fs::copy(dataDir + "/images", "images", fs::copy_options::recursive, ignored);
        ASSERT_TRUE(fs::exists("images/quest")) << dataDir;
        config = std::make_unique<ConfigFile>(dataDir + "/cfg/zorvy.cfg", false, true, true);
        sceneScript = std::make_unique<SceneScript>(app.get(), Manager()->GetGameTime());
        Frame();
    }
    void TearDown() override
    {
        sceneScript.reset();
        config.reset();
        ShellTest::TearDown();
    }

    std::string Text(const std::string& section, const std::string& key)
    {
        return std::string(config->Value(section, key, std::string("0"), true));
    }
    int Int(const std::string& section, const std::string& key)
    {
        return ConfigFile::AsInt(config->Value(section, key, 0.0, true));
    }

    // Runs the script's clock until its pending state comes due.
    int NextState()
    {
        const size_t before = sceneScript->reached.size();
        for (int t = 0; t < 10000; t += 10) {
            sceneScript->Script::DoScript();
            if (sceneScript->reached.size() > before) {
                return sceneScript->reached.back();
            }
            clock.Advance(10);
        }
        return -1;
    }

    std::string dataDir;
    std::unique_ptr<ConfigFile> config;
    std::unique_ptr<SceneScript> sceneScript;
};

TEST_F(ZorvySceneDataTest, EveryShippedSceneLoadsAndPlaysToItsAnimation)
{
    // Listed once per key: only the names count.
    const std::vector<std::string> listed = config->GetSectionsThatStartWith("puzzle");
    const std::set<std::string> sections(listed.begin(), listed.end());
    // The opening scene and one per quest board.
    ASSERT_GE(sections.size(), 11u);

    for (size_t p = 0; p < sections.size(); ++p) {
        const std::string section = "puzzle" + std::to_string(p);
        SCOPED_TRACE(section);
        // Numbered without gaps.
        ASSERT_EQ(sections.count(section), 1u);

        // Every file the section names is there with the exact case.
        const std::string bg = Text(section, "bg");
        EXPECT_TRUE(fs::is_regular_file(dataDir + "/" + bg)) << bg;
        const int layers = Int(section, "numbgimages");
        const int steps = Int(section, "numfadeimages");
        EXPECT_GT(steps, 0);
        for (int n = 1; n <= std::max(layers, steps); ++n) {
            const std::string img = Text(section, "img" + std::to_string(n));
            EXPECT_TRUE(fs::is_regular_file(dataDir + "/" + img)) << img;
        }
        const std::string animation = Text(section, "animation");
        EXPECT_TRUE(fs::is_regular_file(dataDir + "/" + animation)) << animation;

        ZorvyAnimation scene(config.get(), sceneScript.get());
        BackgroundKeeper keeper;
        scene.SetBackgroundListener(&keeper);
        std::unique_ptr<Image> picture(
            scene.LoadBackground(static_cast<int>(p), nullptr, false, -1));
        ASSERT_NE(picture->GetCanvas(), nullptr);
        EXPECT_EQ(picture->GetW(), AnimationManager::kScreenWidth);
        EXPECT_EQ(picture->GetH(),
                  AnimationManager::kScreenHeight - 2 * ZorvyAnimation::kPictureTop);

        // The cleared board's series, step by step as the game script runs it.
        scene.LoadFadeImages(static_cast<int>(p), 500);
        int state = NextState();
        for (int guard = 0; guard < 100 && state == MjGameScript::kFadeStepState; ++guard) {
            scene.LoadFades(100);
            state = NextState();
        }
        EXPECT_EQ(state, MjGameScript::kPendingAnimationState);
        EXPECT_EQ(scene.GetPendingAnimation(), animation);
        EXPECT_GT(scene.GetSpriteCount(), 0);
        for (int n = 1; n <= std::max(layers, steps); ++n) {
            CastMemberImage* sprite = scene.LoadSprites(n);
            ASSERT_NE(sprite->GetImage(), nullptr);
            EXPECT_NE(sprite->GetImage()->GetCanvas(), nullptr) << n;
        }
        Frame();
        scene.Clear();
        Frame();
    }
    // Nothing failed to load, and every layer fits inside its picture.
    EXPECT_EQ(testsupport::CountLogLines("Init Failed"), 0);
    EXPECT_EQ(testsupport::CountLogLines("Can't open"), 0);
    EXPECT_EQ(testsupport::CountLogLines("Too big"), 0);
    EXPECT_EQ(testsupport::CountLogLines("out of range"), 0);
}

// The game itself, whose scene loader runs the keyframed animations' loader on its worker.
class ZorvySceneLoaderDataTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dataDir = mjtest::GameDataDir();
        shelltest::WriteShellData("allowloadingthread=1\n");
        // Copies, not links: reading a picture writes its scrambled twin beside it, and the
        // animation loader may write a description back; neither may reach the shared data.
        std::error_code ignored;
        fs::copy(dataDir + "/images", "images", fs::copy_options::recursive, ignored);
        fs::copy(dataDir + "/audio", "audio", fs::copy_options::recursive, ignored);
        fs::copy(dataDir + "/quest", "quest", fs::copy_options::recursive, ignored);
        ASSERT_TRUE(fs::exists("quest/scene00.cfg"));
        ASSERT_TRUE(app->OnInit(0, nullptr));
        config = std::make_unique<ConfigFile>(dataDir + "/cfg/zorvy.cfg", false, true, true);
    }
    void TearDown() override
    {
        if (app->GetGameScript() != nullptr) {
            app->GetGameScript()->WaitOnThreads();
        }
        config.reset();
        app.reset();
    }

    testsupport::FakeClock clock{1000};
    std::string dataDir;
    std::unique_ptr<Mahjong> app = std::make_unique<Mahjong>();
    std::unique_ptr<ConfigFile> config;
};

TEST_F(ZorvySceneLoaderDataTest, EveryShippedAnimationLoadsOnTheSceneLoader)
{
    MjGameScript* script = app->GetGameScript();
    ZorvyAnimation scene(config.get(), script);
    const std::vector<std::string> listed = config->GetSectionsThatStartWith("puzzle");
    const std::set<std::string> sections(listed.begin(), listed.end());
    for (size_t p = 0; p < sections.size(); ++p) {
        SCOPED_TRACE("puzzle" + std::to_string(p));
        scene.StartLoading(static_cast<int>(p));
        LoadingThread* loader = script->GetSceneLoader();
        ASSERT_NE(loader, nullptr);
        ASSERT_TRUE(testsupport::WaitUntilStopped(*loader, std::chrono::milliseconds(20000)));
        ASSERT_TRUE(testsupport::WaitUntilFinished(*loader));
        EXPECT_EQ(loader->GetReturnValue(), 1);
        EXPECT_EQ(script->GetAnimState(), MjGameScript::kAnimLoaded);
        // Freed as the script's poll frees it, without running the rest of its frame.
        script->SetSceneLoader(nullptr);
        EXPECT_TRUE(Thread::DeleteIfFinished(loader));

        ASSERT_TRUE(script->AnimationPresent());
        ASSERT_NE(script->GetDescription(), nullptr);
        EXPECT_FALSE(script->GetDescription()->_anims.empty());
        EXPECT_FALSE(script->GetKeyframe(1).empty());
        script->CleanUpAnimation(0);
        script->SetAnimState(MjGameScript::kAnimNone);
    }
    // The quest's closing animation is loaded by the script itself, the same way.
    script->BeginAnimation("quest/zorvy12b.cfg", false);
    EXPECT_TRUE(script->AnimationPresent());
    script->CleanUpAnimation(0);
    EXPECT_EQ(testsupport::CountLogLines("Can't open"), 0);
    EXPECT_EQ(testsupport::CountLogLines("Init Failed"), 0);
}

// The board's music stops when a board ends and the next board fades its own in, so each of the
// quest's animations, the intro and the closing one included, must start music of its own in its
// first second; every sound it plays must be a file of the data set. Read as the game stores the
// commands, and each file loaded as the animation loads it.
TEST_F(ZorvySceneLoaderDataTest, EveryQuestAnimationStartsItsMusicEarlyAndItsSoundsExist)
{
    std::vector<std::string> animations;
    const std::vector<std::string> listed = config->GetSectionsThatStartWith("puzzle");
    const std::set<std::string> sections(listed.begin(), listed.end());
    for (size_t p = 0; p < sections.size(); ++p) {
        const std::string name =
            config->Value("puzzle" + std::to_string(p), "animation", std::string("none"), true);
        // The intro (puzzle 0) and every board's scene have one.
        EXPECT_NE(name, "none") << "puzzle" << p;
        if (name != "none") {
            animations.push_back(name);
        }
    }
    animations.push_back(MjGameScript::kClosingAnimation);
    ASSERT_GE(animations.size(), 12u);

    MjGameScript* script = app->GetGameScript();
    for (const std::string& animation : animations) {
        SCOPED_TRACE(animation);
        script->BeginAnimation(animation, false);
        ASSERT_TRUE(script->AnimationPresent());
        const SpriteRunnerConfigFile& description = *script->GetDescription();
        ASSERT_GT(description._frameMillis, 0);
        const int frames = (1000 / description._frameMillis) * description._seconds;
        int firstMusicMs = -1;
        int sounds = 0;
        // Frame 0 is never shown; the player steps frames 1 to frames - 1.
        for (int frame = 1; frame < frames; ++frame) {
            for (const KeyframeChange* change : script->GetKeyframe(frame)) {
                const std::string file = change->_text.substr(0, change->_text.find(','));
                if (change->_code == AnimatedAppScript::kMusic && firstMusicMs < 0) {
                    firstMusicMs = frame * description._frameMillis;
                    EXPECT_NE(file, "fadeout") << "the first music command fades out";
                    EXPECT_TRUE(fs::is_regular_file(dataDir + "/" + file)) << file;
                    const Music music(file.c_str());
                    EXPECT_TRUE(music.IsValid()) << file;
                    EXPECT_EQ(music.GetType(), MUS_OGG) << file;
                } else if (change->_code == AnimatedAppScript::kSound) {
                    ++sounds;
                    EXPECT_TRUE(fs::is_regular_file(dataDir + "/" + file)) << file;
                    const std::unique_ptr<Sound> sound(Sound::LoadSound(file, false));
                    EXPECT_TRUE(sound->IsValid()) << file;
                }
            }
        }
        EXPECT_GE(firstMusicMs, 0) << "no music";
        EXPECT_LE(firstMusicMs, 1000) << "music starts late";
        EXPECT_GE(sounds, 1);
        script->CleanUpAnimation(0);
    }
    EXPECT_EQ(testsupport::CountLogLines("Cannot load"), 0);
}

// A game left while its scene loads: the end of the game waits for the loader, frees it and the
// animation it loaded, and the frames after touch nothing of it (the sanitizer build watches).
TEST_F(ZorvySceneLoaderDataTest, LeavingTheGameMidLoadWaitsForTheLoaderAndFreesItsAnimation)
{
    MjGameScript* script = app->GetGameScript();
    // The game's start takes the stage's cast as the game's (no variant chosen: no board).
    script->DoState(MjGameScript::kStartGame);
    ZorvyAnimation scene(config.get(), script);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        scene.StartLoading(1);
        ASSERT_NE(script->GetSceneLoader(), nullptr);
        script->EndGame(false);
        EXPECT_EQ(script->GetSceneLoader(), nullptr);
        EXPECT_EQ(script->GetAnimState(), MjGameScript::kAnimNone);
        EXPECT_FALSE(script->AnimationPresent());
        EXPECT_TRUE(script->GetSprites().empty());
        for (int frame = 0; frame < 10; ++frame) {
            clock.Advance(10);
            app->_animationManager->DoIt();
        }
    }
    // The next load starts from a clean state and succeeds.
    scene.StartLoading(2);
    LoadingThread* loader = script->GetSceneLoader();
    ASSERT_NE(loader, nullptr);
    ASSERT_TRUE(testsupport::WaitUntilStopped(*loader, std::chrono::milliseconds(20000)));
    ASSERT_TRUE(testsupport::WaitUntilFinished(*loader));
    EXPECT_EQ(script->GetAnimState(), MjGameScript::kAnimLoaded);
}

} // namespace
