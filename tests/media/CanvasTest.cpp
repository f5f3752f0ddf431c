#include "framework/media/Canvas.h"

#include "SDL.h"
#include "framework/core/Application.h"
#include "framework/core/Color.h"
#include "framework/core/Rectangle.h"
#include "framework/media/AnimationManager.h"
#include "tests/support/TestSupport.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

SDL_Surface* Make32(int w, int h)
{
    return SDL_CreateRGBSurface(0, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
}

SDL_Surface* Make32Alpha(int w, int h)
{
    return SDL_CreateRGBSurface(0, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
}

SDL_Surface* Make16(int w, int h)
{
    return SDL_CreateRGBSurface(0, w, h, 16, 0xF800, 0x07E0, 0x001F, 0);
}

// Paints every pixel with a colour unique to its position (exact in 16 bits too).
void PaintPattern(Canvas& c)
{
    for (int y = 0; y < c.GetH(); ++y) {
        for (int x = 0; x < c.GetW(); ++x) {
            c.SetPixel(x, y,
                       Color(static_cast<unsigned char>(x * 8), static_cast<unsigned char>(y * 4),
                             static_cast<unsigned char>(64 + 8 * ((x + y) % 8)), 255));
        }
    }
}

using testsupport::SameRgb;

// Equal once both are mapped into the surface's format (16-bit surfaces round colours).
bool SamePixel(SDL_Surface* s, const Color& a, const Color& b)
{
    return SDL_MapRGB(s->format, a.GetR(), a.GetG(), a.GetB()) ==
           SDL_MapRGB(s->format, b.GetR(), b.GetG(), b.GetB());
}

// Records the dirty list when it is cleared, as the screen's frame loop does.
class RecordingCanvas : public Canvas
{
public:
    using Canvas::Canvas;
    void ClearDirtyRects() override
    {
        for (Rectangle* r : GetDirtyRects()) {
            seen.push_back(r != nullptr ? Rectangle(*r) : Rectangle(-1, -1, -1, -1));
        }
        ++clears;
        Canvas::ClearDirtyRects();
    }
    std::vector<Rectangle> seen;
    int clears = 0;
};

struct DirtyCase
{
    short x, y, w, h;
    bool accepted;
    short ex, ey, ew, eh;
};

} // namespace

TEST(CanvasTest, AddDirtyRectFoldsNegativeCornersAndRefusesEmptyAreas)
{
    const DirtyCase cases[] = {
        {-10, -5, 30, 20, true, 0, 0, 20, 15},      // folded into the size
        {-40, 0, 30, 10, false, 0, 0, 0, 0},        // width -10: refused
        {900, 700, 10, 10, true, 900, 700, 10, 10}, // off screen: kept unclipped
        {10, 10, 0, 5, false, 0, 0, 0, 0},
        {790, 590, 50, 50, true, 790, 590, 50, 50}, // right edge clipped only when shown
    };
    for (const DirtyCase& c : cases) {
        Canvas canvas(Make32(AnimationManager::kScreenWidth, AnimationManager::kScreenHeight));
        auto* r = new Rectangle(c.x, c.y, c.w, c.h);
        const bool accepted = canvas.AddDirtyRect(r);
        EXPECT_EQ(accepted, c.accepted) << c.x << "," << c.y << "," << c.w << "," << c.h;
        if (!accepted) {
            EXPECT_TRUE(canvas.GetDirtyRects().empty());
            delete r;
            continue;
        }
        ASSERT_EQ(canvas.GetDirtyRects().size(), 1u);
        EXPECT_EQ(canvas.GetDirtyRects().front(), r);
        EXPECT_EQ(*r, Rectangle(c.ex, c.ey, c.ew, c.eh));
    }
}

TEST(CanvasTest, DirtyListKeepsOrderDuplicatesAndRemovesByPointer)
{
    Canvas canvas(Make32(AnimationManager::kScreenWidth, AnimationManager::kScreenHeight));
    EXPECT_TRUE(canvas.AddDirtyRect(10, 10, 5, 5));
    EXPECT_TRUE(canvas.AddDirtyRect(10, 10, 5, 5)); // no merging, no duplicate test
    EXPECT_FALSE(canvas.AddDirtyRect(-20, 0, 10, 10));
    auto* mine = new Rectangle(1, 2, 3, 4);
    ASSERT_TRUE(canvas.AddDirtyRect(mine));
    ASSERT_EQ(canvas.GetDirtyRects().size(), 3u);
    EXPECT_EQ(canvas.GetDirtyRects().back(), mine);

    Rectangle stranger(1, 2, 3, 4);
    canvas.ClearDirtyRect(&stranger, true); // equal values, other pointer: nothing
    EXPECT_EQ(canvas.GetDirtyRects().size(), 3u);

    canvas.ClearDirtyRect(mine, false);
    EXPECT_EQ(canvas.GetDirtyRects().size(), 2u);
    delete mine;

    canvas.ClearDirtyRects();
    EXPECT_TRUE(canvas.GetDirtyRects().empty());
}

TEST(CanvasTest, UpdateRectsClipsToTheCanvasAndClearsThroughTheVirtualSlot)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    SDL_Surface* screen =
        SDL_SetVideoMode(AnimationManager::kScreenWidth, AnimationManager::kScreenHeight, 32, 0);
    ASSERT_NE(screen, nullptr);
    {
        RecordingCanvas canvas(screen);
        canvas.AddDirtyRect(790, 590, 50, 50);
        canvas.AddDirtyRect(900, 700, 10, 10); // off screen: clamped to the last pixel
        canvas.UpdateRects();
        ASSERT_EQ(canvas.clears, 1);
        ASSERT_EQ(canvas.seen.size(), 2u);
        EXPECT_EQ(canvas.seen[0], Rectangle(790, 590, 10, 10));
        EXPECT_EQ(canvas.seen[1], Rectangle(799, 599, 1, 1));
        EXPECT_TRUE(canvas.GetDirtyRects().empty());

        // A null entry stands for the whole canvas and ends the walk.
        canvas.seen.clear();
        canvas.AddDirtyRect(790, 590, 50, 50);
        canvas.GetDirtyRects().push_front(nullptr);
        canvas.UpdateRects();
        ASSERT_EQ(canvas.seen.size(), 2u);
        EXPECT_EQ(canvas.seen[1], Rectangle(790, 590, 50, 50)); // not visited
        EXPECT_TRUE(canvas.GetDirtyRects().empty());
        EXPECT_TRUE(canvas.Flip());
        canvas.SetSurface(nullptr); // the screen belongs to SDL
    }
    SDL_Quit();
}

TEST(CanvasTest, SoftwareSurfaceNeedsNoLock)
{
    Canvas canvas(Make32(4, 4));
    EXPECT_FALSE(canvas.Lock());
    canvas.Unlock();
    Canvas empty(nullptr);
    EXPECT_FALSE(empty.Lock());
    EXPECT_EQ(empty.GetW(), 0);
    EXPECT_EQ(empty.GetH(), 0);
    EXPECT_FALSE(empty.IsLoaded());
    EXPECT_TRUE(canvas.IsLoaded());
}

TEST(CanvasTest, PixelsOutsideTheSurfaceAreNeverTouched)
{
    for (SDL_Surface* s : {Make32(3, 2), Make16(3, 2)}) {
        Canvas canvas(s);
        canvas.Clear(Color(0, 0, 0, 255));
        const Color white(255, 255, 255, 255);
        const std::pair<int, int> outside[] = {{-1, 0}, {3, 0}, {0, 2}, {0, -1}, {100000, 100000}};
        for (auto [x, y] : outside) {
            canvas.SetPixel(x, y, white);
            EXPECT_EQ(canvas.GetPixel(x, y), Color(0, 0, 0, 0));
        }
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 3; ++x) {
                EXPECT_TRUE(SameRgb(canvas.GetPixel(x, y), Color(0, 0, 0, 255)));
            }
        }
        canvas.SetPixel(2, 1, white);
        EXPECT_TRUE(SameRgb(canvas.GetPixel(2, 1), white));
    }
}

TEST(CanvasTest, FillRectBlitAndOutlineAreExactIn32And16Bits)
{
    for (int depth : {32, 16}) {
        SCOPED_TRACE(depth);
        Canvas canvas(depth == 32 ? Make32(10, 8) : Make16(10, 8));
        const Color black(0, 0, 0, 255);
        const Color red(248, 0, 0, 255); // exact in 5 bits
        const Color green(0, 252, 0, 255);
        ASSERT_TRUE(canvas.Clear(black));
        Rectangle area(2, 1, 3, 2);
        ASSERT_TRUE(canvas.FillRect(area, red));
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 10; ++x) {
                const bool inside = x >= 2 && x < 5 && y >= 1 && y < 3;
                EXPECT_TRUE(
                    SamePixel(canvas.GetSurface(), canvas.GetPixel(x, y), inside ? red : black))
                    << x << "," << y;
            }
        }

        // A 2 x 2 green source with one magenta key pixel blitted at (8, 6): clipped at the
        // corner, the key pixel left out.
        Canvas src(depth == 32 ? Make32(3, 3) : Make16(3, 3));
        src.Clear(green);
        src.SetPixel(0, 0, Color(248, 0, 248, 255));
        src.UseTransparency(true, false);
        EXPECT_TRUE(SamePixel(src.GetSurface(), src.GetColorKey(), Color(248, 0, 248, 255)));
        ASSERT_TRUE(canvas.Blit(src, 7, 5));
        EXPECT_TRUE(SamePixel(canvas.GetSurface(), canvas.GetPixel(7, 5), black)); // the key pixel
        EXPECT_TRUE(SamePixel(canvas.GetSurface(), canvas.GetPixel(8, 5), green));
        EXPECT_TRUE(SamePixel(canvas.GetSurface(), canvas.GetPixel(9, 7), green));

        Rectangle fromRect(1, 1, 2, 2);
        Rectangle toRect(0, 6, 0, 0);
        ASSERT_TRUE(canvas.Blit(toRect, src, fromRect));
        EXPECT_TRUE(SamePixel(canvas.GetSurface(), canvas.GetPixel(0, 6), green));
        EXPECT_TRUE(SamePixel(canvas.GetSurface(), canvas.GetPixel(1, 7), green));
        EXPECT_TRUE(SamePixel(canvas.GetSurface(), canvas.GetPixel(2, 6), black));

        // An outline partly outside the canvas: only its inside pixels are set.
        canvas.Clear(black);
        Rectangle box(-2, 4, 5, 10);
        canvas.DrawRect(box, red);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 10; ++x) {
                const bool edge = y >= 4 && x <= 2 && (x == 2 || y == 4);
                EXPECT_TRUE(
                    SamePixel(canvas.GetSurface(), canvas.GetPixel(x, y), edge ? red : black))
                    << x << "," << y;
            }
        }
    }
}

TEST(CanvasTest, ColourKeyFromPixelZeroZeroAndClearing)
{
    Canvas canvas(Make32(4, 4));
    canvas.Clear(Color(10, 20, 30, 255));
    canvas.SetPixel(0, 0, Color(1, 2, 3, 255));
    canvas.UseTransparency(true, false);
    EXPECT_TRUE(canvas.HasColorKey());
    EXPECT_TRUE(canvas.GetSurface()->flags & SDL_SRCCOLORKEY);
    EXPECT_EQ(canvas.GetColorKey(), Color(1, 2, 3, 255));
    canvas.UseTransparency(false, false);
    EXPECT_FALSE(canvas.HasColorKey());
    EXPECT_FALSE(canvas.GetSurface()->flags & SDL_SRCCOLORKEY);
    EXPECT_EQ(canvas.GetColorKey(), Color(0, 0, 0, 255));

    Color wanted(13, 77, 201, 9);
    Canvas c16(Make16(1, 1));
    const Color matched = c16.MatchColor(wanted);
    EXPECT_EQ(matched, wanted);
    EXPECT_EQ(wanted.GetA(), 9);
    EXPECT_EQ(wanted.GetR() & 7, wanted.GetR() >> 5); // widened from 5 bits
}

TEST(CanvasTest, DropShadowOfAnUnkeyedImageIsTheUncoveredEdge)
{
    Application::AllowDropShadows(true);
    Canvas canvas(Make32(10, 8));
    canvas.Clear(Color(50, 60, 70, 255));
    Color shade(0, 0, 0, 255);
    SDL_Surface* shadow = canvas.CreateDropShadow(shade, 100, 4, 4);
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(shade.GetA(), 100);
    EXPECT_EQ(canvas.GetDropShadowAlpha(), 100);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 10; ++x) {
            const Color p = canvas.GetPixel(shadow, x, y);
            const bool dark = x >= 6 || y >= 4;
            EXPECT_EQ(p, dark ? Color(0, 0, 0, 100) : Color(255, 255, 255, 0)) << x << "," << y;
        }
    }

    // The shadow follows the canvas's alpha, scaled by its own.
    canvas.SetAlpha(128);
    EXPECT_EQ(canvas.GetPixel(shadow, 9, 7).GetA(), 100 * 128 / 255);
    EXPECT_EQ(canvas.GetPixel(shadow, 0, 0).GetA(), 0);
}

TEST(CanvasTest, DropShadowOfAKeyedImageIsItsSilhouetteMoved)
{
    Application::AllowDropShadows(true);
    // A 3 x 3 block at (1, 1) on a magenta key background of 8 x 8.
    Canvas canvas(Make32(8, 8));
    const Color key(255, 0, 255, 255);
    canvas.Clear(key);
    Rectangle block(1, 1, 3, 3);
    canvas.FillRect(block, Color(0, 0, 255, 255));
    canvas.SetColorKey(key, false);
    Color shade(20, 30, 40, 255);
    SDL_Surface* shadow = canvas.CreateDropShadow(shade, 200, 2, 2);
    ASSERT_NE(shadow, nullptr);
    // Shadow pixel (x, y) lands on (x + 2, y + 2): it is dark where the image is present at
    // (x, y) and does not itself cover (x + 2, y + 2).
    auto imageAt = [](int x, int y) { return x >= 1 && x < 4 && y >= 1 && y < 4; };
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool outside = x + 2 >= 8 || y + 2 >= 8;
            const bool dark = imageAt(x, y) && (outside || !imageAt(x + 2, y + 2));
            EXPECT_EQ(canvas.GetPixel(shadow, x, y),
                      dark ? Color(20, 30, 40, 200) : Color(255, 255, 255, 0))
                << x << "," << y;
        }
    }
}

TEST(CanvasTest, DropShadowRefusals)
{
    Application::AllowDropShadows(true);
    Canvas canvas(Make32(6, 6));
    canvas.Clear(Color(1, 1, 1, 255));
    Color shade(0, 0, 0, 255);
    SDL_Surface* first = canvas.CreateDropShadow(shade, 128, 1, 1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(canvas.CreateDropShadow(shade, 128, 0, 0), nullptr);
    EXPECT_EQ(canvas.GetDropShadow(), first); // zero offsets keep it

    Application::AllowDropShadows(false);
    EXPECT_EQ(canvas.CreateDropShadow(shade, 128, 1, 1), nullptr);
    EXPECT_EQ(canvas.GetDropShadow(), nullptr); // switched off: deleted

    Application::AllowDropShadows(true);
    Canvas perPixel(Make32Alpha(4, 4));
    EXPECT_EQ(perPixel.CreateDropShadow(shade, 128, 2, 2), nullptr);
    EXPECT_EQ(perPixel.CreateDropShadow16(shade, 128, 2, 2), nullptr); // not 16 bits
}

TEST(CanvasTest, SixteenBitDropShadowIsAHalfTransparentBlackSilhouette)
{
    Application::AllowDropShadows(true);
    Canvas canvas(Make16(6, 5));
    const Color magenta(248, 0, 248, 255);
    canvas.Clear(magenta);
    Rectangle body(2, 1, 3, 3);
    canvas.FillRect(body, Color(0, 252, 0, 255));
    Color asked(200, 100, 50, 255);
    SDL_Surface* shadow = canvas.CreateDropShadow(asked, 77, 3, 3); // goes the 16-bit way
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(shadow->format->BitsPerPixel, 16);
    EXPECT_TRUE(shadow->flags & SDL_SRCALPHA);
    EXPECT_EQ(shadow->format->alpha, 128);
    EXPECT_TRUE(shadow->flags & SDL_SRCCOLORKEY);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool body_ = x >= 2 && x < 5 && y >= 1 && y < 4;
            EXPECT_TRUE(SamePixel(shadow, canvas.GetPixel(shadow, x, y),
                                  body_ ? Color(0, 0, 0, 255) : magenta))
                << x << "," << y;
        }
    }
    Uint8 r, g, b;
    SDL_GetRGB(shadow->format->colorkey, shadow->format, &r, &g, &b);
    EXPECT_TRUE(SamePixel(shadow, Color(r, g, b, 255), magenta));
}

TEST(CanvasTest, CopyFrameTurnsAndMirrorsIn32And16Bits)
{
    for (int depth : {32, 16}) {
        SCOPED_TRACE(depth);
        Canvas sheet(depth == 32 ? Make32(12, 9) : Make16(12, 9));
        PaintPattern(sheet);
        SDL_Rect frame{4, 3, 5, 4};
        struct Case
        {
            bool h, v;
        };
        for (const Case c :
             {Case{false, false}, Case{true, false}, Case{false, true}, Case{true, true}}) {
            Canvas target(depth == 32 ? Make32(5, 4) : Make16(5, 4));
            ASSERT_TRUE(sheet.CopyFrame(&frame, &target, c.h, c.v));
            for (int y = 0; y < 4; ++y) {
                for (int x = 0; x < 5; ++x) {
                    const int sx = frame.x + (c.h ? 4 - x : x);
                    const int sy = frame.y + (c.v ? 3 - y : y);
                    EXPECT_EQ(target.GetPixel(x, y), sheet.GetPixel(sx, sy))
                        << c.h << c.v << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(CanvasTest, CopyFrameStaysInsideBothSurfaces)
{
    // The target sits in a larger buffer with guard bytes behind every row and after the end.
    const int w = 4, h = 3, pitch = 24; // 16 bytes of pixels and 8 guard bytes per row
    std::vector<Uint8> buffer(pitch * h + 64, 0xAB);
    SDL_Surface* view = SDL_CreateRGBSurfaceFrom(buffer.data(), w, h, 32, pitch, 0x00FF0000,
                                                 0x0000FF00, 0x000000FF, 0);
    Canvas target(view);
    Canvas sheet(Make32(6, 6));
    PaintPattern(sheet);

    SDL_Rect tooBig{3, 3, 10, 10}; // runs past the sheet and the target
    ASSERT_TRUE(sheet.CopyFrame(&tooBig, &target, true, true));
    for (int y = 0; y < h; ++y) {
        for (int i = 16; i < pitch; ++i) {
            EXPECT_EQ(buffer[y * pitch + i], 0xAB) << "row " << y;
        }
    }
    for (size_t i = pitch * h; i < buffer.size(); ++i) {
        EXPECT_EQ(buffer[i], 0xAB);
    }
    SDL_Rect outside{50, 50, 4, 3};
    EXPECT_FALSE(sheet.CopyFrame(&outside, &target, false, false));
    EXPECT_FALSE(sheet.CopyFrame(&tooBig, &sheet, true, false)); // never onto itself

    // A target in another format gets the converted pixels.
    Canvas target16(Make16(3, 3));
    SDL_Rect small{0, 0, 3, 3};
    ASSERT_TRUE(sheet.CopyFrame(&small, &target16, true, false));
    const Color want = sheet.GetPixel(2, 1);
    const Color got = target16.GetPixel(0, 1);
    EXPECT_EQ(got.GetR() >> 3, want.GetR() >> 3);
    EXPECT_EQ(got.GetG() >> 2, want.GetG() >> 2);
    EXPECT_EQ(got.GetB() >> 3, want.GetB() >> 3);
}

TEST(CanvasTest, PerPixelAlphaScalingRespectsFormatAndPitch)
{
    // 16-bit ARGB4444 surface inside a padded buffer: scaling must not walk 32-bit words.
    const int w = 3, h = 2, pitch = 10;
    std::vector<Uint8> buffer(pitch * h + 16, 0xCD);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Uint16 v = static_cast<Uint16>((x == 0 ? 0x0 : 0xF) << 12 | 0x0ABC);
            std::memcpy(&buffer[y * pitch + x * 2], &v, 2);
        }
    }
    SDL_Surface* view =
        SDL_CreateRGBSurfaceFrom(buffer.data(), w, h, 16, pitch, 0x0F00, 0x00F0, 0x000F, 0xF000);
    Canvas c(view);
    c.SetPerPixelAlpha(128);
    c.TransformPerPixelAlpha(&c);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            Uint16 v;
            std::memcpy(&v, &buffer[y * pitch + x * 2], 2);
            EXPECT_EQ(v & 0x0FFF, 0x0ABC);
            EXPECT_EQ(v >> 12, x == 0 ? 0 : 15 * 128 / 255) << x << "," << y;
        }
        for (int i = w * 2; i < pitch; ++i) {
            EXPECT_EQ(buffer[y * pitch + i], 0xCD);
        }
    }
    for (size_t i = pitch * h; i < buffer.size(); ++i) {
        EXPECT_EQ(buffer[i], 0xCD);
    }

    // 255 means unchanged.
    Canvas full(Make32Alpha(2, 1));
    full.SetPixel(0, 0, Color(1, 2, 3, 200));
    full.TransformPerPixelAlpha(&full);
    EXPECT_EQ(full.GetPixel(0, 0).GetA(), 200);
}

TEST(CanvasTest, Get32SurfaceCopiesA16BitCanvasAndRestoresItsColourKey)
{
    Canvas c16(Make16(4, 3));
    c16.Clear(Color(0, 252, 0, 255));
    c16.SetPixel(0, 0, Color(248, 0, 248, 255));
    c16.SetPixel(3, 2, Color(248, 0, 0, 255));
    c16.SetColorKey(Color(0, 252, 0, 255), false);
    c16.SetAlpha(100);

    SDL_Surface* s32 = c16.Get32Surface();
    ASSERT_NE(s32, nullptr);
    EXPECT_EQ(s32->format->BitsPerPixel, 32);
    EXPECT_TRUE(SamePixel(c16.GetSurface(), c16.GetPixel(s32, 3, 2), Color(248, 0, 0, 255)));
    EXPECT_TRUE(SamePixel(c16.GetSurface(), c16.GetPixel(s32, 1, 1),
                          Color(0, 252, 0, 255))); // keyed pixels copied
    // The copy's key is its corner colour; its alpha is the canvas's.
    Uint8 r, g, b;
    SDL_GetRGB(s32->format->colorkey, s32->format, &r, &g, &b);
    EXPECT_TRUE(SamePixel(c16.GetSurface(), Color(r, g, b, 255), Color(248, 0, 248, 255)));
    EXPECT_EQ(s32->format->alpha, 100);

    // The 16-bit canvas keeps its key and its alpha.
    EXPECT_TRUE(c16.HasColorKey());
    EXPECT_TRUE(c16.GetSurface()->flags & SDL_SRCCOLORKEY);
    EXPECT_TRUE(SamePixel(c16.GetSurface(), c16.GetColorKey(), Color(0, 252, 0, 255)));
    EXPECT_TRUE(c16.GetSurface()->flags & SDL_SRCALPHA);
    EXPECT_EQ(c16.GetSurface()->format->alpha, 100);

    Canvas c32(Make32(2, 2));
    EXPECT_EQ(c32.Get32Surface(), c32.GetSurface());
}

TEST(CanvasTest, DefaultPixelFormatAndFactories)
{
    SDL_Surface* s32 = Make32(1, 1);
    SDL_Surface* s16 = Make16(1, 1);
    Canvas::SetDefaultPixelFormat(s32->format);
    Canvas::SetDefaultPixelFormat(s16->format);
    EXPECT_EQ(Canvas::GetDefaultPixelFormat(), s16->format);
    ASSERT_NE(Canvas::Get32PixelFormat(), nullptr);
    EXPECT_EQ(Canvas::Get32PixelFormat()->BitsPerPixel, 32);
    EXPECT_EQ(Canvas::Get32PixelFormat()->Rmask, 0x00FF0000u);

    Canvas blank(5, 4, nullptr);
    ASSERT_NE(blank.GetSurface(), nullptr);
    EXPECT_EQ(blank.GetSurface()->format->BitsPerPixel, 16);
    EXPECT_TRUE(blank.IsLoaded());

    Canvas* compatible = Canvas::CreateRGBCompatible(0, 3, 2);
    EXPECT_EQ(compatible->GetSurface()->format->BitsPerPixel, 16);
    EXPECT_FALSE(compatible->IsLoaded());
    delete compatible;

    Canvas* given = Canvas::CreateRGBCompatible(0, 3, 2, s32->format);
    EXPECT_EQ(given->GetSurface()->format->BitsPerPixel, 32);
    delete given;

    Canvas::SetDefaultPixelFormat(nullptr);
    EXPECT_EQ(Canvas::GetDefaultPixelFormat(), nullptr);
    EXPECT_NE(Canvas::Get32PixelFormat(), nullptr);
    SDL_FreeSurface(s32);
    SDL_FreeSurface(s16);
}

TEST(CanvasTest, SizesSdlCannotAddressGiveNoSurface)
{
    // SDL makes a surface of negative width with no pixels and a clipping rectangle 65531 wide:
    // a blit into it writes past its memory.
    struct Case
    {
        int w;
        int h;
        bool made;
    };
    const Case cases[] = {
        {-5, 100, false},  {100, -5, false}, {-1, -1, false},  {16384, 4, false},
        {4, 16384, false}, {16383, 1, true}, {1, 16383, true}, {0, 10, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
        Canvas blank(c.w, c.h, nullptr);
        EXPECT_EQ(blank.GetSurface() != nullptr, c.made);
        std::unique_ptr<Canvas> factory(
            Canvas::CreateRGB(0, c.w, c.h, 32, 0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u));
        ASSERT_NE(factory, nullptr);
        EXPECT_EQ(factory->GetSurface() != nullptr, c.made);
        if (!c.made) {
            // Painting on what was refused does nothing.
            Canvas source(8, 8, nullptr);
            EXPECT_FALSE(blank.Blit(source, 0, 0));
            EXPECT_FALSE(factory->Blit(source, 0, 0));
        }
    }
}

namespace {

struct ThreadResult
{
    SDL_PixelFormat* seen = nullptr;
    int depth = 0;
    bool done = false;
};

int MakeBlankCanvas(void* data)
{
    auto* result = static_cast<ThreadResult*>(data);
    Canvas c(4, 4, nullptr);
    result->depth = c.GetSurface() != nullptr ? c.GetSurface()->format->BitsPerPixel : 0;
    result->done = true;
    return 0;
}

} // namespace

TEST(CanvasTest, LoadingThreadWaitsWhileTheScreenFormatIsReplaced)
{
    SDL_Surface* s32 = Make32(1, 1);
    SDL_Surface* s16 = Make16(1, 1);
    Canvas::SetDefaultPixelFormat(s32->format);

    ThreadResult result;
    Canvas::LockAll();
    SDL_Thread* thread = SDL_CreateThread(MakeBlankCanvas, &result);
    ASSERT_NE(thread, nullptr);
    SDL_Delay(100);
    EXPECT_FALSE(result.done); // blocked on the lock
    Canvas::SetDefaultPixelFormat(s16->format);
    SDL_FreeSurface(s32); // the old format is gone before the thread may look
    Canvas::UnlockAll();
    SDL_WaitThread(thread, nullptr);
    EXPECT_TRUE(result.done);
    EXPECT_EQ(result.depth, 16);
    Canvas::SetDefaultPixelFormat(nullptr);
    SDL_FreeSurface(s16);
}
