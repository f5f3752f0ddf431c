#include "tests/stage/StageTestSupport.h"

#include "SDL.h"
#include "framework/core/Color.h"
#include "framework/core/Rectangle.h"
#include "framework/media/AnimationManager.h"
#include "framework/stage/Cast.h"
#include "framework/stage/GameTime.h"

namespace stagetest {

void StageTest::OpenStage()
{
    ticks.Set(1000);
    _screen =
        SDL_CreateRGBSurface(0, AnimationManager::kScreenWidth, AnimationManager::kScreenHeight, 32,
                             0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    ASSERT_NE(_screen, nullptr);
    Canvas::SetDefaultPixelFormat(_screen->format);
    manager = std::make_unique<AnimationManager>(nullptr, _screen, false);
    cast = manager->GetCast();
}

void StageTest::CloseStage()
{
    manager.reset();
    cast = nullptr;
    Canvas::SetDefaultPixelFormat(nullptr);
    SDL_FreeSurface(_screen);
    _screen = nullptr;
}

void PaintedStageTest::OpenPaintedStage()
{
    OpenStage();
    paint.reset(Canvas::CreateRGB(0, AnimationManager::kScreenWidth,
                                  AnimationManager::kScreenHeight, 32, 0x00FF0000, 0x0000FF00,
                                  0x000000FF, 0));
}

void PaintedStageTest::ClosePaintedStage()
{
    paint.reset();
    CloseStage();
}

void PaintedStageTest::PaintAll(const Color& background)
{
    paint->Clear(background);
    ASSERT_TRUE(paint->AddDirtyRect(
        new Rectangle(0, 0, AnimationManager::kScreenWidth, AnimationManager::kScreenHeight)));
    cast->Paint(paint.get(), true);
    paint->ClearDirtyRects();
}

} // namespace stagetest
