#pragma once

#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/stage/ButtonListener.h"
#include "framework/stage/CueListener.h"
#include "tests/support/FakeClock.h"

#include <gtest/gtest.h>
#include <memory>
#include <utility>
#include <vector>

class Cast;
class CastMember;

// Fixtures shared by the stage and sprite tests.
namespace stagetest {

// Every click a button reports, as (id, mouse button).
struct ClickLog : ButtonListener
{
    void ButtonClicked(int id, int button) override { clicks.emplace_back(id, button); }
    std::vector<std::pair<int, int>> clicks;
};

// Every cue a sprite reports, in order.
struct CueLog : CueListener
{
    void Cue(CastMember*, int cue, int) override { cues.push_back(cue); }
    std::vector<int> cues;
};

// An 800 x 600, 32-bit stage with no window, on the fake clock.
class StageTest : public ::testing::Test
{
protected:
    // Starts the fake clock at 1000 ms, opens the screen surface (it becomes the default pixel
    // format) and the stage on it.
    void OpenStage();
    // Deletes the stage with its sprites, then the screen, and gives the clocks back.
    void CloseStage();

    testsupport::FakeClock ticks;
    std::unique_ptr<AnimationManager> manager;
    Cast* cast = nullptr;

private:
    SDL_Surface* _screen = nullptr;
};

// A stage with an off-screen canvas of the same size to paint it on.
class PaintedStageTest : public StageTest
{
protected:
    // Opens the stage and the (uncleared) paint canvas.
    void OpenPaintedStage();
    // Deletes the paint canvas, then closes the stage.
    void ClosePaintedStage();

    // Clears the paint canvas to background and repaints the whole stage on it.
    void PaintAll(const Color& background);

    std::unique_ptr<Canvas> paint;
};

} // namespace stagetest
