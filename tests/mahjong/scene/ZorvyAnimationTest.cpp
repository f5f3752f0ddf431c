#include "mahjong/scene/ZorvyAnimation.h"

#include "SDL.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/LoadingThread.h"
#include "framework/core/TickSource.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberImage.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/scene/SceneBackgroundListener.h"
#include "tests/mahjong/scene/ZorvyTestSupport.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/TestSupport.h"

#include <atomic>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// The game: its scene loader's work is counted and succeeds.
class SceneFramework : public shelltest::ShellFramework
{
public:
    int LoadOtherResources(int mode, bool onThread) override
    {
        lastMode = mode;
        lastOnThread = onThread;
        ++otherLoads;
        return 1;
    }
    std::atomic<int> otherLoads{0};
    std::atomic<int> lastMode{0};
    std::atomic<bool> lastOnThread{false};
};

using mjtest::BackgroundKeeper;
using mjtest::SceneScript;

// A scheduled state and the game-clock time until it came due.
struct Scheduled
{
    int state = -1;
    unsigned int afterMs = 0;
};

bool WriteSolid(const std::string& path, int w, int h, Uint8 r, Uint8 g, Uint8 b)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    SDL_Surface* s = SDL_CreateRGBSurface(0, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    if (s == nullptr) {
        return false;
    }
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, r, g, b));
    const bool ok = testsupport::SavePng(s, path.c_str());
    SDL_FreeSurface(s);
    return ok;
}

// Image n of a section, with the keys given beyond its file and position.
std::string ImageKeys(int n, const std::string& file, const std::string& pos,
                      const std::string& extra = "")
{
    const std::string i = std::to_string(n);
    return "img" + i + "=" + file + "\npos" + i + "=" + pos + "\n" + extra;
}

class ZorvyAnimationTest : public shelltest::ShellTest
{
protected:
    void SetUp() override { Start(false); }

    void Start(bool loadingThreads)
    {
        WriteData(loadingThreads ? "allowloadingthread=1\n" : "allowloadingthread=0\n");
        auto framework = std::make_unique<SceneFramework>();
        sceneApp = framework.get();
        app = std::move(framework);
        ASSERT_TRUE(app->OnInit(0, nullptr));
        ASSERT_TRUE(WriteSolid("images/bg.bmp", 80, 60, 0, 0, 255));
        ASSERT_TRUE(WriteSolid("images/red.bmp", 10, 10, 255, 0, 0));
        ASSERT_TRUE(WriteSolid("images/green.bmp", 10, 10, 0, 255, 0));
        ASSERT_TRUE(WriteSolid("images/strip.bmp", 30, 10, 0, 255, 0));
        sceneScript = std::make_unique<SceneScript>(app.get(), Manager()->GetGameTime());
        // The stage the framework starts with comes on in the first frame.
        Frame();
    }

    void TearDown() override
    {
        scene.reset();
        if (sceneScript != nullptr) {
            sceneScript->WaitOnThreads();
        }
        sceneScript.reset();
        config.reset();
        ShellTest::TearDown();
    }

    // The hero file with the given text, and a scene reading it.
    void Load(const std::string& text)
    {
        scene.reset();
        ASSERT_TRUE(testsupport::WriteFile("cfg/zorvy.cfg", text));
        config = std::make_unique<ConfigFile>("cfg/zorvy.cfg", false, true, false);
        scene = std::make_unique<ZorvyAnimation>(config.get(), sceneScript.get());
        scene->SetBackgroundListener(&keeper);
    }

    // Runs the script's clock, a millisecond at a time, until its pending state comes due.
    Scheduled NextState(unsigned int limitMs = 5000)
    {
        const size_t before = sceneScript->reached.size();
        for (unsigned int t = 0; t <= limitMs; ++t) {
            sceneScript->Script::DoScript();
            if (sceneScript->reached.size() > before) {
                return {sceneScript->reached.back(), t};
            }
            clock.Advance(1);
        }
        return {};
    }

    // Runs state-102 calls as the game script would, until the series hands over; the delays of
    // every state scheduled on the way.
    std::vector<Scheduled> RunSeries()
    {
        std::vector<Scheduled> seen;
        for (int guard = 0; guard < 200; ++guard) {
            const Scheduled next = NextState();
            seen.push_back(next);
            if (next.state != MjGameScript::kFadeStepState) {
                break;
            }
            scene->LoadFades(100);
        }
        return seen;
    }

    Cast* Stage() const { return Manager()->GetCast(); }

    SceneFramework* sceneApp = nullptr;
    std::unique_ptr<SceneScript> sceneScript;
    std::unique_ptr<ConfigFile> config;
    std::unique_ptr<ZorvyAnimation> scene;
    BackgroundKeeper keeper;
};

TEST_F(ZorvyAnimationTest, LayersAreDrawnIntoThePictureAtTheirScreenPositions)
{
    Load("[puzzle1]\nbg=images/bg.bmp\nnumbgimages=3\n" + ImageKeys(1, "images/red.bmp", "0,75") +
         ImageKeys(2, "images/green.bmp", "30,95") +
         ImageKeys(3, "images/red.bmp", "60,75", "dontadd3=1\n"));
    std::unique_ptr<Image> picture(scene->LoadBackground(1, nullptr, false, -1));
    ASSERT_NE(picture->GetCanvas(), nullptr);
    EXPECT_EQ(picture->GetW(), 80);
    EXPECT_EQ(picture->GetH(), 60);
    Canvas* c = picture->GetCanvas();
    EXPECT_TRUE(testsupport::SameRgb(c->GetPixel(0, 0), Color(255, 0, 0)));
    EXPECT_TRUE(testsupport::SameRgb(c->GetPixel(9, 9), Color(255, 0, 0)));
    EXPECT_TRUE(testsupport::SameRgb(c->GetPixel(10, 10), Color(0, 0, 255)));
    EXPECT_TRUE(testsupport::SameRgb(c->GetPixel(30, 20), Color(0, 255, 0)));
    // Left out by "dontadd3".
    EXPECT_TRUE(testsupport::SameRgb(c->GetPixel(65, 5), Color(0, 0, 255)));

    // The bare picture, and a count that stops after the first layer.
    std::unique_ptr<Image> bare(scene->LoadBackground(1, nullptr, true, -1));
    EXPECT_TRUE(testsupport::SameRgb(bare->GetCanvas()->GetPixel(0, 0), Color(0, 0, 255)));
    std::unique_ptr<Image> first(scene->LoadBackground(1, nullptr, false, 1));
    EXPECT_TRUE(testsupport::SameRgb(first->GetCanvas()->GetPixel(0, 0), Color(255, 0, 0)));
    EXPECT_TRUE(testsupport::SameRgb(first->GetCanvas()->GetPixel(30, 20), Color(0, 0, 255)));
    // Nothing of this went to the stage or the listener.
    EXPECT_TRUE(keeper.pictures.empty());
    EXPECT_EQ(scene->GetSpriteCount(), 0);
}

TEST_F(ZorvyAnimationTest, AColourKeyedLayerLeavesThePictureShowingThrough)
{
    // The key colour is the sheet's top-left pixel: a red frame around a green middle.
    SDL_Surface* s = SDL_CreateRGBSurface(0, 10, 10, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 255, 0, 0));
    SDL_Rect middle{3, 3, 4, 4};
    SDL_FillRect(s, &middle, SDL_MapRGB(s->format, 0, 255, 0));
    ASSERT_TRUE(testsupport::SavePng(s, "images/keyed.bmp"));
    SDL_FreeSurface(s);
    Load("[puzzle2]\nbg=images/bg.bmp\nnumbgimages=1\n" +
         ImageKeys(1, "images/keyed.bmp", "0,75", "img1trans=1\n"));
    std::unique_ptr<Image> picture(scene->LoadBackground(2, nullptr, false, -1));
    EXPECT_TRUE(testsupport::SameRgb(picture->GetCanvas()->GetPixel(0, 0), Color(0, 0, 255)));
    EXPECT_TRUE(testsupport::SameRgb(picture->GetCanvas()->GetPixel(4, 4), Color(0, 255, 0)));
}

TEST_F(ZorvyAnimationTest, SpritesTakeTheirKeysAndAreMadeOncePerIndex)
{
    Load("[puzzle3]\n" + ImageKeys(1, "images/red.bmp", "100,200") +
         ImageKeys(2, "images/strip.bmp", "10,20",
                   "img2frames=3\nimg2mirror=h\nimg2scale=2.5\nimg2pri=7\nimg2trans=2\n") +
         ImageKeys(3, "images/red.bmp", "0,0", "img3mirror=v\nimg3scale=0\nimg3trans=1\n"));
    scene->LoadFadeImages(3, 0); // only to select the puzzle: it has no series
    CastMemberImage* plain = scene->LoadSprites(1);
    CastMemberImage* strip = scene->LoadSprites(2);
    CastMemberImage* flipped = scene->LoadSprites(3);
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(strip, nullptr);
    ASSERT_NE(flipped, nullptr);

    EXPECT_EQ(plain->GetCast(), Stage());
    EXPECT_EQ(plain->GetX(), 100);
    EXPECT_EQ(plain->GetY(), 200);
    EXPECT_EQ(plain->GetPriority(), ZorvyAnimation::kDefaultPriority);
    EXPECT_FLOAT_EQ(plain->GetScale(), 1.0f);
    EXPECT_TRUE(plain->IsVisible());
    EXPECT_FALSE(plain->GetImage()->GetImageResource()->IsPerPixelFormat());

    EXPECT_EQ(strip->GetPriority(), 7);
    EXPECT_EQ(strip->GetNumFrames(), 3);
    EXPECT_EQ(strip->GetFrame(), 0);
    EXPECT_TRUE(strip->GetImage()->IsMirroredHorizontally());
    EXPECT_FALSE(strip->GetImage()->IsMirroredVertically());
    EXPECT_FLOAT_EQ(strip->GetScale(), 2.5f);
    EXPECT_TRUE(strip->GetImage()->GetImageResource()->IsPerPixelFormat());

    EXPECT_TRUE(flipped->GetImage()->IsMirroredVertically());
    // A scale of 0 is applied, as far as the stage allows.
    EXPECT_FLOAT_EQ(flipped->GetScale(), 0.1f);

    // A second request reads nothing: a changed key does not reach the sprite.
    config->Write("puzzle3", "pos1", Point(5, 5));
    EXPECT_EQ(scene->LoadSprites(1), plain);
    EXPECT_EQ(plain->GetX(), 100);
    EXPECT_EQ(scene->GetSpriteCount(), 3);
    Frame();
    Frame();
}

TEST_F(ZorvyAnimationTest, ClearTakesTheSpritesOffAndLaterRequestsMakeFreshOnes)
{
    Load("[puzzle1]\n" + ImageKeys(1, "images/red.bmp", "10,10") +
         ImageKeys(2, "images/strip.bmp", "40,10", "img2frames=3\n"));
    scene->LoadFadeImages(1, 0);
    CastMemberImage* first = scene->LoadSprites(1);
    scene->LoadSprites(2);
    Frame();
    EXPECT_TRUE(Stage()->Contains(first));
    scene->Clear();
    EXPECT_EQ(scene->GetSpriteCount(), 0);
    EXPECT_FALSE(Stage()->Contains(first));
    // The images went at once; the sprites go at the end of the frame.
    Frame();
    Frame();
    CastMemberImage* again = scene->LoadSprites(1);
    EXPECT_EQ(scene->GetSpriteCount(), 1);
    EXPECT_TRUE(Stage()->Contains(again));
    Frame();
}

TEST_F(ZorvyAnimationTest, PreparationKeepsOnlyTheLayersBelowTheFadeCount)
{
    const std::string layers = "numbgimages=3\nnumfadeimages=1\nfadepause1=0\nhide1=1\n" +
                               ImageKeys(1, "images/red.bmp", "0,75") +
                               ImageKeys(2, "images/green.bmp", "20,75") +
                               ImageKeys(3, "images/green.bmp", "40,75");
    struct Case
    {
        const char* during;
        int pictures;     // backgrounds handed over
        int sprites;      // after the preparation
        bool secondDrawn; // layer 2 inside the picture
    };
    const Case cases[] = {
        {"", 0, 0, false}, // missing: -1
        {"numbgimagesduringfade=-1\n", 0, 0, false},
        {"numbgimagesduringfade=3\n", 0, 0, false}, // not below the layer count
        {"numbgimagesduringfade=7\n", 0, 0, false},
        {"numbgimagesduringfade=1\n", 1, 2, false},
        {"numbgimagesduringfade=2\n", 1, 1, true},
        {"numbgimagesduringfade=0\n", 1, 3, false},
    };
    for (const Case& c : cases) {
        keeper.pictures.clear();
        Load("[puzzle4]\nbg=images/bg.bmp\n" + layers + c.during);
        scene->LoadFadeImages(4, 0);
        EXPECT_EQ(static_cast<int>(keeper.pictures.size()), c.pictures) << c.during;
        EXPECT_EQ(scene->GetSpriteCount(), c.sprites) << c.during;
        if (!keeper.pictures.empty()) {
            Canvas* canvas = keeper.pictures.back()->GetCanvas();
            const bool firstDrawn = testsupport::SameRgb(canvas->GetPixel(0, 0), Color(255, 0, 0));
            const bool secondDrawn =
                testsupport::SameRgb(canvas->GetPixel(25, 5), Color(0, 255, 0));
            EXPECT_EQ(firstDrawn, std::string(c.during) != "numbgimagesduringfade=0\n");
            EXPECT_EQ(secondDrawn, c.secondDrawn) << c.during;
        }
        EXPECT_EQ(NextState().state, MjGameScript::kFadeStepState);
    }
}

TEST_F(ZorvyAnimationTest, ReversePreparationShowsTheBarePictureAndEveryAddedImage)
{
    Load("[puzzle5]\nbg=images/bg.bmp\nreverse=1\nnumbgimages=3\nnumfadeimages=3\n"
         "numbgimagesduringfade=1\ndontadd2=1\nshow1=1\nshow2=1\nshow3=1\n" +
         ImageKeys(1, "images/red.bmp", "0,75") + ImageKeys(2, "images/red.bmp", "20,95") +
         ImageKeys(3, "images/red.bmp", "40,75"));
    scene->LoadFadeImages(5, 0);
    ASSERT_EQ(keeper.pictures.size(), 1u);
    EXPECT_TRUE(
        testsupport::SameRgb(keeper.pictures[0]->GetCanvas()->GetPixel(0, 0), Color(0, 0, 255)));
    EXPECT_EQ(scene->GetSpriteCount(), 2);
    // Image 2 was left out; the step that names it makes it.
    scene->LoadFades(100);
    EXPECT_EQ(scene->GetSpriteCount(), 3);
}

TEST_F(ZorvyAnimationTest, EachStepTakesTheFirstActionItNames)
{
    struct Case
    {
        const char* keys;
        int alpha;
        bool fading;
        bool visible;
    };
    const Case cases[] = {
        {"fadein1=400\nhide1=1\n", 0, true, true},    {"fadeout1=400\nshow1=1\n", 255, true, true},
        {"hide1=1\nshow1=1\n", 255, false, false},    {"show1=1\n", 255, false, true},
        {"fadein1=-5\nhide1=1\n", 255, false, false},
    };
    for (const Case& c : cases) {
        Load("[puzzle6]\nnumfadeimages=1\n" + ImageKeys(1, "images/red.bmp", "0,100") + c.keys);
        scene->LoadFadeImages(6, 0);
        CastMemberImage* sprite = scene->LoadSprites(1);
        if (std::string(c.keys).rfind("show1", 0) == 0) {
            sprite->Hide();
        }
        ASSERT_EQ(NextState().state, MjGameScript::kFadeStepState);
        scene->LoadFades(100);
        EXPECT_EQ(sprite->GetAlpha(), c.alpha) << c.keys;
        EXPECT_EQ(sprite->Fading(), c.fading) << c.keys;
        EXPECT_EQ(sprite->IsVisible(), c.visible) << c.keys;
        Frame();
    }
}

TEST_F(ZorvyAnimationTest, FadesReachTheirTargetOnTheGameClock)
{
    Load("[puzzle7]\nnumfadeimages=2\nfadein1=300\nfadeout2=300\n" +
         ImageKeys(1, "images/red.bmp", "0,100") + ImageKeys(2, "images/green.bmp", "50,100"));
    scene->LoadFadeImages(7, 0);
    ASSERT_EQ(NextState().state, MjGameScript::kFadeStepState);
    scene->LoadFades(100);
    CastMemberImage* in = scene->LoadSprites(1);
    CastMemberImage* out = scene->LoadSprites(2);
    for (int i = 0; i < 40; ++i) {
        Frame(10);
    }
    EXPECT_EQ(in->GetAlpha(), 255);
    EXPECT_EQ(out->GetAlpha(), 0);
}

TEST_F(ZorvyAnimationTest, SeriesRunsItsStepsInOrderAndHandsOver)
{
    struct Case
    {
        const char* name;
        std::string keys;
        std::vector<std::pair<int, unsigned int>> states; // after the first step-state
        int sprites;
    };
    const int step = MjGameScript::kFadeStepState;
    const int pending = MjGameScript::kPendingAnimationState;
    const int ended = MjGameScript::kAnimationEndedState;
    const std::string images = ImageKeys(1, "images/red.bmp", "0,100") +
                               ImageKeys(2, "images/red.bmp", "20,100") +
                               ImageKeys(3, "images/red.bmp", "40,100");
    const Case cases[] = {
        {"no pauses: one call, then the end after a second",
         "numfadeimages=3\nshow1=1\nshow2=1\nshow3=1\n",
         {{ended, 1000}},
         3},
        {"pauses schedule the next step",
         "numfadeimages=3\nshow1=1\nfadepause1=30\nshow2=1\nfadepause2=20\nshow3=1\n"
         "fadepause3=10\n",
         {{step, 30}, {step, 20}, {ended, 1010}},
         3},
        {"reverse: 4 (empty), 3, 2, 1",
         "numfadeimages=3\nreversefade=1\nshow1=1\nfadepause1=10\nshow2=1\nfadepause2=20\n"
         "show3=1\nfadepause3=30\n",
         {{step, 30}, {step, 20}, {ended, 1010}},
         3},
        {"a step without action keeps the pause",
         "numfadeimages=3\nshow1=1\nfadepause1=40\nfadepause2=99\nshow3=1\n",
         {{step, 40}, {ended, 1000}},
         2},
        {"a negative pause does not stop the series",
         "numfadeimages=2\nshow1=1\nfadepause1=-50\nshow2=1\n",
         {{ended, 1000}},
         2},
        {"an animation follows",
         "numfadeimages=1\nanimation=quest/a.cfg\nshow1=1\nfadepause1=5\n",
         {{pending, 1005}},
         1},
    };
    for (const Case& c : cases) {
        Load("[puzzle8]\n" + images + c.keys);
        scene->LoadFadeImages(8, 0);
        const Scheduled first = NextState();
        EXPECT_EQ(first.state, step) << c.name;
        EXPECT_EQ(first.afterMs, static_cast<unsigned int>(ZorvyAnimation::kFirstFadeStepMs));
        scene->LoadFades(100);
        std::vector<std::pair<int, unsigned int>> seen;
        for (const Scheduled& s : RunSeries()) {
            seen.emplace_back(s.state, s.afterMs);
        }
        EXPECT_EQ(seen, c.states) << c.name;
        EXPECT_EQ(scene->GetSpriteCount(), c.sprites) << c.name;
        scene->Clear();
        Frame();
    }
}

TEST_F(ZorvyAnimationTest, PreparationChoosesAnimationSeriesOrNextBoard)
{
    // Fade series with an animation: the animation waits as pending.
    Load("[puzzle1]\nnumfadeimages=2\nanimation=quest/one.cfg\nreversefade=1\n"
         "[puzzle2]\nanimation=quest/two.cfg\n"
         "[puzzle3]\nbg=images/bg.bmp\n");
    scene->LoadFadeImages(1, 0);
    EXPECT_EQ(scene->GetPendingAnimation(), "quest/one.cfg");
    EXPECT_EQ(scene->GetPuzzle(), 1);
    EXPECT_EQ(scene->GetNumFadeImages(), 2);
    EXPECT_TRUE(scene->IsReverseFade());
    EXPECT_EQ(scene->GetFadeStep(), 2);
    Scheduled next = NextState();
    EXPECT_EQ(next.state, MjGameScript::kFadeStepState);
    EXPECT_EQ(next.afterMs, 500u);

    // An animation without a series plays after the given delay.
    scene->ClearPendingAnimation();
    scene->LoadFadeImages(2, 2);
    next = NextState();
    EXPECT_EQ(next.state, MjGameScript::kPlayAnimationState);
    EXPECT_EQ(next.afterMs, 2u);
    EXPECT_TRUE(scene->GetPendingAnimation().empty());

    // Neither: the next board after a second, with a log line.
    scene->LoadFadeImages(3, 2);
    next = NextState();
    EXPECT_EQ(next.state, MjGameScript::kAnimationEndedState);
    EXPECT_EQ(next.afterMs, 1000u);
    EXPECT_EQ(testsupport::CountLogLines("No Fade Images Set Here puzzle3"), 1);
    EXPECT_TRUE(keeper.pictures.empty());
}

TEST_F(ZorvyAnimationTest, CountsOutOfRangeAreBoundedAndLogged)
{
    Load("[puzzle9]\nbg=images/bg.bmp\nnumfadeimages=100000\nnumbgimages=100000\n"
         "numbgimagesduringfade=0\n"
         "[puzzle10]\nnumfadeimages=-3\n");
    scene->LoadFadeImages(9, 0);
    EXPECT_EQ(scene->GetNumFadeImages(), ZorvyAnimation::kMaxImages);
    EXPECT_EQ(scene->GetSpriteCount(), ZorvyAnimation::kMaxImages);
    EXPECT_GE(testsupport::CountLogLines("numfadeimages=100000 out of range"), 1);
    EXPECT_GE(testsupport::CountLogLines("numbgimages=100000 out of range"), 1);
    scene->Clear();
    scene->LoadFadeImages(10, 0);
    EXPECT_EQ(scene->GetNumFadeImages(), 0);
    EXPECT_EQ(NextState().state, MjGameScript::kAnimationEndedState);
    Frame();
}

TEST_F(ZorvyAnimationTest, WithoutAListenerTheSeriesBackgroundIsFreed)
{
    Load("[puzzle1]\nbg=images/bg.bmp\nnumbgimages=2\nnumbgimagesduringfade=1\n"
         "numfadeimages=1\nshow2=1\n" +
         ImageKeys(1, "images/red.bmp", "0,75") + ImageKeys(2, "images/red.bmp", "20,75"));
    scene->SetBackgroundListener(nullptr);
    scene->LoadFadeImages(1, 0);
    EXPECT_EQ(scene->GetSpriteCount(), 1);
    EXPECT_EQ(testsupport::CountLogLines("No one takes the scene background of puzzle 1"), 1);
}

TEST_F(ZorvyAnimationTest, WithoutLoadingThreadsNothingIsStarted)
{
    Load("[puzzle1]\nanimation=quest/one.cfg\n");
    scene->StartLoading(1);
    EXPECT_EQ(sceneScript->GetAnimState(), MjGameScript::kAnimNone);
    EXPECT_EQ(sceneScript->GetSceneLoader(), nullptr);
}

class ZorvyLoaderTest : public ZorvyAnimationTest
{
protected:
    void SetUp() override { Start(true); }
};

TEST_F(ZorvyLoaderTest, StartsTheSceneLoaderOnlyFromTheIdleState)
{
    Load("[puzzle1]\nanimation=quest/one.cfg\n[puzzle2]\nanimation=none\n[puzzle3]\n");
    // No animation: nothing to load.
    scene->StartLoading(2);
    scene->StartLoading(3);
    EXPECT_EQ(sceneScript->GetSceneLoader(), nullptr);
    EXPECT_EQ(sceneScript->GetAnimState(), MjGameScript::kAnimNone);

    // Loading or loaded already: nothing started.
    sceneScript->SetAnimState(MjGameScript::kAnimLoading);
    scene->StartLoading(1);
    EXPECT_EQ(sceneScript->GetSceneLoader(), nullptr);
    sceneScript->SetAnimState(MjGameScript::kAnimLoaded);
    scene->StartLoading(1);
    EXPECT_EQ(sceneScript->GetSceneLoader(), nullptr);
    EXPECT_EQ(testsupport::CountLogLines("Animation already loaded for puzzle 1"), 1);

    sceneScript->SetAnimState(MjGameScript::kAnimNone);
    scene->StartLoading(1);
    LoadingThread* loader = sceneScript->GetSceneLoader();
    ASSERT_NE(loader, nullptr);
    EXPECT_EQ(sceneScript->GetAnimState(), MjGameScript::kAnimLoading);
    ASSERT_TRUE(testsupport::WaitUntilStopped(*loader));
    EXPECT_EQ(sceneApp->otherLoads.load(), 1);
    EXPECT_EQ(sceneApp->lastMode.load(), LoadingThread::kOtherResources);
    EXPECT_TRUE(sceneApp->lastOnThread.load());

    // The script has not freed its loader yet: a new request must not replace it.
    sceneScript->SetAnimState(MjGameScript::kAnimNone);
    scene->StartLoading(1);
    EXPECT_EQ(sceneScript->GetSceneLoader(), loader);
    EXPECT_EQ(sceneApp->otherLoads.load(), 1);
    EXPECT_EQ(testsupport::CountLogLines("Scene loader still busy"), 1);

    // Once the script has polled it, the next load may start.
    sceneScript->DoScript();
    EXPECT_EQ(sceneScript->GetSceneLoader(), nullptr);
    EXPECT_EQ(sceneScript->GetAnimState(), MjGameScript::kAnimLoaded);
}

} // namespace
