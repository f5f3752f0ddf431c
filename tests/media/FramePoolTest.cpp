#include "framework/media/FramePool.h"

#include "SDL.h"
#include "framework/media/Canvas.h"
#include "tests/media/MediaTestSupport.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A 6 x 4 frame in the screen's format, grey with one red pixel.
std::unique_ptr<Canvas> Frame()
{
    auto frame = std::make_unique<Canvas>(6, 4, nullptr);
    frame->Clear(Color(90, 90, 90));
    frame->Lock();
    frame->SetPixel(2, 1, Color(200, 0, 0));
    frame->Unlock();
    return frame;
}

Color PixelOf(Canvas& canvas, int x, int y)
{
    canvas.Lock();
    const Color c = canvas.GetPixel(x, y);
    canvas.Unlock();
    return c;
}

class FramePoolTest : public ::testing::Test
{
protected:
    mediatest::ScreenFormat _screen{40, 30};
    FramePool _pool;
};

} // namespace

TEST_F(FramePoolTest, OnlyFramesAlikeInPixelsAndLookAreOne)
{
    const std::shared_ptr<Canvas> first = _pool.Share(Frame());
    EXPECT_EQ(_pool.Share(Frame()), first);
    EXPECT_EQ(_pool.CountShared(), 1);

    const struct
    {
        const char* difference;
        std::function<void(Canvas&)> make;
    } differences[] = {
        {"one pixel", [](Canvas& c) { c.SetPixel(5, 3, Color(90, 90, 91)); }},
        {"colour key", [](Canvas& c) { c.SetColorKey(Color(90, 90, 90), false); }},
        {"another colour key", [](Canvas& c) { c.SetColorKey(Color(200, 0, 0), false); }},
        {"surface alpha", [](Canvas& c) { c.SetAlpha(128); }},
        {"surface alpha set to opaque", [](Canvas& c) { c.SetAlpha(255); }},
        {"per-pixel alpha", [](Canvas& c) { c.SetPerPixelAlpha(10); }},
    };
    for (const auto& d : differences) {
        SCOPED_TRACE(d.difference);
        std::unique_ptr<Canvas> frame = Frame();
        d.make(*frame);
        const std::shared_ptr<Canvas> shared = _pool.Share(std::move(frame));
        EXPECT_NE(shared, first);
        // The same difference again is that frame once more.
        std::unique_ptr<Canvas> again = Frame();
        d.make(*again);
        EXPECT_EQ(_pool.Share(std::move(again)), shared);
    }
}

TEST_F(FramePoolTest, ADetachedCopyKeepsPixelsAndLookAndIsNoLongerTheSharedOne)
{
    std::unique_ptr<Canvas> keyed = Frame();
    keyed->SetColorKey(Color(90, 90, 90), false);
    keyed->SetAlpha(77);
    const std::shared_ptr<Canvas> shared = _pool.Share(std::move(keyed));
    std::unique_ptr<Canvas> own = FramePool::Detach(*shared);
    ASSERT_NE(own, nullptr);
    EXPECT_TRUE(own->HasColorKey());
    EXPECT_EQ(own->GetColorKey(), Color(90, 90, 90));
    EXPECT_EQ(own->GetSurfaceAlpha(), 77);
    EXPECT_EQ(own->GetSurface()->format->alpha, 77);
    EXPECT_EQ(PixelOf(*own, 2, 1), Color(200, 0, 0));

    // Drawing into the copy leaves the shared frame; offered back unchanged, it is the same one.
    own->Lock();
    own->SetPixel(0, 0, Color(1, 2, 3));
    own->Unlock();
    EXPECT_EQ(PixelOf(*shared, 0, 0), Color(90, 90, 90));
    EXPECT_NE(_pool.Share(std::move(own)), shared);
    EXPECT_EQ(_pool.Share(FramePool::Detach(*shared)), shared);
}

TEST_F(FramePoolTest, AFrameChangedByItsOnlyHolderIsNeverHandedOutForItsOldLook)
{
    std::shared_ptr<Canvas> changed = _pool.Share(Frame());
    changed->SetPixel(0, 0, Color(1, 2, 3));
    changed = _pool.Share(changed);
    const std::shared_ptr<Canvas> plain = _pool.Share(Frame());
    EXPECT_NE(plain, changed);
    EXPECT_EQ(PixelOf(*plain, 0, 0), Color(90, 90, 90));
    EXPECT_EQ(_pool.CountShared(), 2);
    // Changed back, it is found again under either look.
    changed->SetPixel(0, 0, Color(90, 90, 90));
    EXPECT_EQ(_pool.Share(changed), plain);
}

TEST_F(FramePoolTest, TheLastHolderFreesTheFrameAndThePoolForgetsIt)
{
    std::shared_ptr<Canvas> a = _pool.Share(Frame());
    std::shared_ptr<Canvas> b = _pool.Share(Frame());
    a.reset();
    EXPECT_EQ(_pool.CountShared(), 1);
    b.reset();
    EXPECT_EQ(_pool.CountShared(), 0);
    // A frame outlives its pool.
    std::shared_ptr<Canvas> kept;
    {
        FramePool gone;
        kept = gone.Share(Frame());
    }
    EXPECT_EQ(PixelOf(*kept, 2, 1), Color(200, 0, 0));
}
