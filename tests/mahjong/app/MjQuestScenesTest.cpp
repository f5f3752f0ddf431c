// The quest's cut-scenes through the game script: intro, a cleared board's scene, the closing
// animation, skips and the bounded wait on the scene loader.

#include "framework/core/TickSource.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Music.h"
#include "framework/shell/KeyframeChange.h"
#include "framework/shell/SpriteRunnerConfigFile.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/scene/ZorvyAnimation.h"
#include "mahjong/screen/MjClassic.h"
#include "tests/mahjong/support/BoardHarness.h"
#include "tests/support/TestSupport.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace mjtest {
namespace {

constexpr int kNoScriptState = 9999;

class QuestScript : public MjGameScript
{
public:
    using MjGameScript::MjGameScript;
    int GetGameVariant() override { return 3; }
};

// Each read of the engine's clock moves the fake clock on by a second, so a wait on it ends
// without sleeping.
testsupport::FakeClock* gTickingClock = nullptr;
unsigned int TickingRead()
{
    gTickingClock->Advance(1000);
    return gTickingClock->Now();
}

class MjQuestScenesTest : public BoardHarness
{
protected:
    void SetUp() override
    {
        namespace fs = std::filesystem;
        const fs::path data = GAME_DATA_DIR;
        fs::copy(data / "quest", "quest",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        BoardHarness::SetUp();
        script = new QuestScript(app.get(), Manager()->GetGameTime());
        script->ChangeState(kNoScriptState, 0);
        Attach(script);
        script->LoadGameConfigs(false);
        // The stage dark, as the shell leaves it: the game's fade-in does not end at once, and
        // its end is not told, so that each test runs the scene step itself.
        Manager()->FadeTo(0, 1, nullptr);
        Run(10);
        script->DoState(MjGameScript::kStartGame);
        board = script->GetScreen();
        ASSERT_NE(board, nullptr);
        Manager()->ForgetFadeListener(board);
        ASSERT_NE(board->_scene, nullptr);
        Run(20);
    }

    // Frames of 10 ms until cond holds or limitMs of the game clock have passed.
    bool RunUntil(const std::function<bool()>& cond, unsigned int limitMs)
    {
        for (unsigned int t = 0; t < limitMs; t += 10) {
            if (cond()) {
                return true;
            }
            Run(10);
        }
        return cond();
    }

    QuestScript* script = nullptr;
    MjClassic* board = nullptr;
};

TEST_F(MjQuestScenesTest, IntroPlaysFadesThenItsAnimationThenOpensBoardZero)
{
    ASSERT_EQ(board->_puzzle, 0);
    board->SceneStep();
    EXPECT_TRUE(board->_sceneLoading);
    EXPECT_EQ(board->_puzzle, -1);

    // The fade series puts the scene's sprites on the stage first.
    EXPECT_TRUE(RunUntil([&] { return board->_scene->GetSpriteCount() > 0; }, 3000));
    // Then the animation plays, and its first frame takes the scene's layers off.
    EXPECT_TRUE(RunUntil([&] { return script->AnimationPresent(); }, 15000));
    EXPECT_TRUE(RunUntil([&] { return script->GetFrameCounter() > 1; }, 2000));
    EXPECT_EQ(board->_scene->GetSpriteCount(), 0);
    // At its end the next-board step opens board 0.
    EXPECT_TRUE(RunUntil([&] { return !script->AnimationPresent(); }, 20000));
    EXPECT_EQ(board->_puzzle, 0);
    EXPECT_FALSE(board->_sceneLoading);
    EXPECT_EQ(script->GetAnimState(), MjGameScript::kAnimNone);
    EXPECT_FALSE(script->ClosingPlayed());
    Run(100);
}

// With the data set's music and sounds in the working folder, as the game runs.
class MjQuestScenesAudioTest : public MjQuestScenesTest
{
protected:
    void SetUp() override
    {
        namespace fs = std::filesystem;
        fs::copy(fs::path(GAME_DATA_DIR) / "audio", "audio",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        MjQuestScenesTest::SetUp();
    }
};

// Nothing plays when a scene begins: the intro starts its own music at its music frame and lets
// it go at its end, where board 0 fades in its own.
TEST_F(MjQuestScenesAudioTest, IntroStartsItsOwnMusicAndHandsOverToBoardZero)
{
    ASSERT_FALSE(Music::IsPlaying());
    board->SceneStep();
    ASSERT_TRUE(RunUntil([&] { return script->AnimationPresent(); }, 15000));
    EXPECT_EQ(script->GetMusic(), nullptr);
    EXPECT_FALSE(Music::IsPlaying());

    // The intro's music command, as the game stored it.
    int musicFrame = 0;
    std::string musicFile;
    const SpriteRunnerConfigFile* description = script->GetDescription();
    ASSERT_NE(description, nullptr);
    const int frames = (1000 / description->_frameMillis) * description->_seconds;
    for (int frame = 1; frame < frames && musicFrame == 0; ++frame) {
        for (const KeyframeChange* change : script->GetKeyframe(frame)) {
            if (change->_code == AnimatedAppScript::kMusic) {
                musicFrame = frame;
                musicFile = change->_text.substr(0, change->_text.find(','));
            }
        }
    }
    ASSERT_GT(musicFrame, 0) << "the intro has no music";

    ASSERT_TRUE(RunUntil([&] { return script->GetFrameCounter() >= musicFrame; }, 3000));
    ASSERT_NE(script->GetMusic(), nullptr);
    EXPECT_EQ(script->GetMusic()->GetFile(), musicFile);
    EXPECT_TRUE(script->GetMusic()->IsValid());
    EXPECT_TRUE(Music::IsPlaying());
    // It plays on through the animation's frames.
    ASSERT_TRUE(RunUntil([&] { return script->GetFrameCounter() >= frames / 2; }, 10000));
    EXPECT_TRUE(Music::IsPlaying());

    ASSERT_TRUE(RunUntil([&] { return !script->AnimationPresent(); }, 20000));
    EXPECT_EQ(board->_puzzle, 0);
    EXPECT_EQ(script->GetMusic(), nullptr);
    // The intro's stream went with it: what plays now is board 0's.
    EXPECT_TRUE(Music::IsPlaying());
}

TEST_F(MjQuestScenesTest, ClearedBoardsSceneLeadsToTheNextBoard)
{
    board->_puzzle = 2;
    board->_puzzleNumber = 3;
    board->EndOfBoard(4);
    EXPECT_TRUE(RunUntil([&] { return script->AnimationPresent(); }, 15000));
    EXPECT_TRUE(RunUntil([&] { return !script->AnimationPresent(); }, 20000));
    EXPECT_EQ(board->_puzzle, 3);
    EXPECT_FALSE(script->Leaving());
}

TEST_F(MjQuestScenesTest, ClosingAnimationPlaysOnceThenTheNextBoardLeavesTheGame)
{
    board->_puzzle = board->_puzzleCount;
    script->DoState(MjGameScript::kAnimationEndedState);
    EXPECT_TRUE(script->ClosingPlayed());
    EXPECT_TRUE(script->AnimationPresent());
    EXPECT_FALSE(script->Leaving());
    // Played to its end, it is not played again: the game is left.
    EXPECT_TRUE(RunUntil([&] { return script->Leaving(); }, 20000));
    EXPECT_FALSE(script->ClosingPlayed());
    EXPECT_FALSE(script->AnimationPresent());
    // With no game running the end of an animation does nothing.
    board->_puzzle = board->_puzzleCount;
    script->DoState(MjGameScript::kAnimationEndedState);
    EXPECT_FALSE(script->AnimationPresent());
    EXPECT_FALSE(script->ClosingPlayed());
}

TEST_F(MjQuestScenesTest, ASkipEndsTheCutSceneAndAReplayRun)
{
    struct Row
    {
        int replayRun;
        int puzzleAfter;
        int replayRunAfter;
    };
    // Outside a run the next board follows; a run ends on its start board's selection screen.
    for (const Row& row : {Row{0, 3, 0}, Row{1, 1, -2}}) {
        SCOPED_TRACE("replay run " + std::to_string(row.replayRun));
        board->_puzzle = 2;
        board->_replayRun = row.replayRun;
        board->_replayRunStart = 1;
        board->_replayRunEnd = 61;
        // A run is started from the movie choice, whose page the run ends on.
        board->_selectionKind = row.replayRun != 0 ? 1 : 0;
        script->DoState(MjGameScript::kSequenceSkipped);
        Run(30);
        EXPECT_EQ(board->_puzzle, row.puzzleAfter);
        EXPECT_EQ(board->_replayRun, row.replayRunAfter);
        if (row.replayRun != 0) {
            EXPECT_EQ(board->_replayRunEnd, 0);
        }
    }
}

TEST_F(MjQuestScenesTest, WaitsOnTheSceneLoaderEndAfterTenSeconds)
{
    script->SetAnimState(MjGameScript::kAnimLoading);
    gTickingClock = &clock;
    const TickSource::Reader previous = TickSource::Get();
    TickSource::Set(&TickingRead);
    const unsigned int start = clock.Now();
    board->_puzzle = 2;
    board->_puzzleNumber = 3;
    board->EndOfBoard(4);
    const unsigned int waited = clock.Now() - start;
    board->_puzzle = 0;
    board->SceneStep();
    TickSource::Set(previous);

    EXPECT_GE(waited, static_cast<unsigned int>(MjClassic::kSceneLoaderWaitMs));
    EXPECT_LT(waited, static_cast<unsigned int>(2 * MjClassic::kSceneLoaderWaitMs));
    const std::string log = testsupport::ReadLog();
    EXPECT_NE(log.find("EndOfBoard: scene still loading after 10000 ms, going on without it"),
              std::string::npos);
    EXPECT_NE(log.find("SceneStep: scene still loading after 10000 ms, going on without it"),
              std::string::npos);
    // The loader's state is left as it was: its animation is not touched.
    EXPECT_EQ(script->GetAnimState(), MjGameScript::kAnimLoading);
    EXPECT_TRUE(board->_sceneLoading);
    script->SetAnimState(MjGameScript::kAnimNone);
}

} // namespace
} // namespace mjtest
