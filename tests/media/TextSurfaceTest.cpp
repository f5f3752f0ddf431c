#include "framework/media/TextSurface.h"

#include "SDL.h"
#include "SDL_ttf.h"
#include "framework/core/Application.h"
#include "framework/media/Canvas.h"
#include "framework/media/Font.h"
#include "tests/media/MediaTestSupport.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

constexpr char kText[] = "Mahjong 42";
constexpr Uint32 kAlphaMask = 0xFF000000u;

Uint32 PixelAt(SDL_Surface* s, int x, int y)
{
    return reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch)[x];
}

Uint32 AlphaOf(Uint32 pixel)
{
    return pixel >> 24;
}

Uint32 ColorOf(Uint32 pixel)
{
    return pixel & ~kAlphaMask;
}

bool SamePixels(SDL_Surface* a, SDL_Surface* b)
{
    if (a->w != b->w || a->h != b->h) {
        return false;
    }
    for (int y = 0; y < a->h; ++y) {
        for (int x = 0; x < a->w; ++x) {
            if (PixelAt(a, x, y) != PixelAt(b, x, y)) {
                return false;
            }
        }
    }
    return true;
}

// Every shadow pixel under a rendered pixel has the alpha; the others are clear.
::testing::AssertionResult ShadowAlphaIs(SDL_Surface* rendering, SDL_Surface* shadow, Uint32 alpha)
{
    for (int y = 0; y < rendering->h; ++y) {
        for (int x = 0; x < rendering->w; ++x) {
            const bool covered = AlphaOf(PixelAt(rendering, x, y)) != 0;
            const Uint32 expected = covered ? alpha : 0;
            if (AlphaOf(PixelAt(shadow, x, y)) != expected) {
                return ::testing::AssertionFailure()
                       << "shadow alpha " << AlphaOf(PixelAt(shadow, x, y)) << " at " << x << ","
                       << y << ", expected " << expected;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

class TextSurfaceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(TTF_Init(), 0);
        _font = std::make_unique<Font>(mediatest::SansFont(), 24, 0);
        ASSERT_NE(_font->GetRawFont(), nullptr);
        Application::AllowDropShadows(true);
    }

    // The rendering at full alpha, to compare against.
    std::unique_ptr<TextSurface> Rendered(Color color)
    {
        return std::make_unique<TextSurface>(kText, _font.get(), color, 255);
    }

    std::unique_ptr<Font> _font;
    Color _red = Color::Red();
};

TEST_F(TextSurfaceTest, RendersTheTextIntoA32BitSurfaceWithAlpha)
{
    TextSurface text(kText, _font.get(), _red, 255);
    SDL_Surface* s = text.GetSurface();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(text.GetName(), "Text Surface");
    EXPECT_EQ(s->format->BitsPerPixel, 32);
    EXPECT_EQ(s->format->Amask, kAlphaMask);
    EXPECT_EQ(Dimension(s->w, s->h), _font->TextDim(kText));
    EXPECT_EQ(text.SrcRect(), Rectangle(0, 0, s->w, s->h));
    EXPECT_EQ(text.DstRect(), text.SrcRect());
    EXPECT_EQ(text.GetW(), s->w);
    EXPECT_EQ(text.GetH(), s->h);
    EXPECT_EQ(text.GetAlpha(), 255);
    EXPECT_EQ(text.GetColorKey(), Color(0, 0, 0, 255));

    // Fully covered pixels are the text colour; edges are partly transparent.
    const Uint32 red = ColorOf(SDL_MapRGB(s->format, 255, 0, 0));
    int opaque = 0;
    int partial = 0;
    for (int y = 0; y < s->h; ++y) {
        for (int x = 0; x < s->w; ++x) {
            const Uint32 p = PixelAt(s, x, y);
            if (AlphaOf(p) == 255) {
                ++opaque;
                EXPECT_EQ(ColorOf(p), red);
            } else if (AlphaOf(p) > 0) {
                ++partial;
            }
        }
    }
    EXPECT_GT(opaque, 50);
    EXPECT_GT(partial, 0);
}

TEST_F(TextSurfaceTest, AlphaScalesTheRenderingAndFullAlphaRestoresIt)
{
    const auto reference = Rendered(_red);
    SDL_Surface* ref = reference->GetSurface();
    TextSurface text(kText, _font.get(), _red, 128);
    SDL_Surface* s = text.GetSurface();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(text.GetAlpha(), 128);
    for (int y = 0; y < s->h; ++y) {
        for (int x = 0; x < s->w; ++x) {
            const Uint32 r = PixelAt(ref, x, y);
            const Uint32 p = PixelAt(s, x, y);
            ASSERT_EQ(AlphaOf(p), AlphaOf(r) * 128 / 255) << x << "," << y;
            if (AlphaOf(r) > 0) {
                ASSERT_EQ(ColorOf(p), ColorOf(r));
            }
        }
    }

    text.SetAlpha(255);
    EXPECT_TRUE(SamePixels(s, ref));

    text.SetAlpha(0);
    for (int y = 0; y < s->h; ++y) {
        for (int x = 0; x < s->w; ++x) {
            ASSERT_EQ(AlphaOf(PixelAt(s, x, y)), 0u);
        }
    }
    text.SetAlpha(255);
    EXPECT_TRUE(SamePixels(s, ref));
}

TEST_F(TextSurfaceTest, SetAlphaWithTheCurrentAlphaChangesNoPixel)
{
    TextSurface text(kText, _font.get(), _red, 200);
    SDL_Surface* s = text.GetSurface();
    ASSERT_NE(s, nullptr);
    // Mark one pixel; an alpha pass would write it again from the rendering.
    int markX = -1;
    for (int x = 0; x < s->w && markX < 0; ++x) {
        if (AlphaOf(PixelAt(s, x, s->h / 2)) > 0) {
            markX = x;
        }
    }
    ASSERT_GE(markX, 0);
    reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + (s->h / 2) * s->pitch)[markX] =
        0x12345678u;
    text.SetAlpha(200);
    EXPECT_EQ(PixelAt(s, markX, s->h / 2), 0x12345678u);
}

TEST_F(TextSurfaceTest, EmptyTextLeavesNoSurfaceAndEveryCallIsHarmless)
{
    TextSurface text("", _font.get(), _red, 100);
    EXPECT_EQ(text.GetSurface(), nullptr);
    EXPECT_TRUE(text.SrcRect().IsEmpty());
    EXPECT_TRUE(text.DstRect().IsEmpty());
    EXPECT_EQ(text.GetW(), 0);
    EXPECT_EQ(text.GetName(), "");
    text.SetAlpha(10);
    Color black = Color::Black();
    EXPECT_EQ(text.CreateDropShadow(black, 100), nullptr);
    std::unique_ptr<Canvas> canvas(Canvas::CreateRGB(0, 50, 50, 32, 0xFF0000, 0xFF00, 0xFF, 0));
    EXPECT_FALSE(text.Blit(canvas.get(), 1, 1));

    TextSurface noFont("text", nullptr, _red, 255);
    EXPECT_EQ(noFont.GetSurface(), nullptr);
}

TEST_F(TextSurfaceTest, DropShadowIsTheSilhouetteOfTheRenderedPixels)
{
    const auto reference = Rendered(_red);
    SDL_Surface* ref = reference->GetSurface();
    TextSurface text(kText, _font.get(), _red, 255);
    ASSERT_NE(text.GetSurface(), nullptr);
    Color shadowColor(0, 0, 64, 255);
    SDL_Surface* shadow = text.CreateDropShadow(shadowColor, 100);
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(text.GetDropShadow(), shadow);
    EXPECT_EQ(text.GetDropShadowAlpha(), 100);
    EXPECT_EQ(shadowColor.GetA(), 100); // the caller's colour takes the alpha
    EXPECT_EQ(shadow->w, text.GetW());
    EXPECT_EQ(shadow->h, text.GetH());
    EXPECT_EQ(shadow->format->Amask, kAlphaMask);
    EXPECT_EQ(shadow->flags & SDL_SRCCOLORKEY, 0u);

    // Not offset: it lies exactly under the text; the caller moves it when painting.
    const Uint32 shadowPixel = SDL_MapRGBA(ref->format, 0, 0, 64, 0) | (100u << 24);
    const Uint32 keyPixel = SDL_MapRGBA(ref->format, 255, 255, 255, 0);
    for (int y = 0; y < ref->h; ++y) {
        for (int x = 0; x < ref->w; ++x) {
            const bool covered = AlphaOf(PixelAt(ref, x, y)) != 0;
            ASSERT_EQ(PixelAt(shadow, x, y), covered ? shadowPixel : keyPixel) << x << "," << y;
        }
    }

    // The shadow fades with the text, keeping its colour, and comes back with it.
    text.SetAlpha(128);
    const Uint32 fadedPixel = (shadowPixel & ~kAlphaMask) | ((100u * 128 / 255) << 24);
    for (int y = 0; y < ref->h; ++y) {
        for (int x = 0; x < ref->w; ++x) {
            const bool covered = AlphaOf(PixelAt(ref, x, y)) != 0;
            ASSERT_EQ(PixelAt(shadow, x, y), covered ? fadedPixel : keyPixel) << x << "," << y;
        }
    }
    text.SetAlpha(255);
    EXPECT_TRUE(ShadowAlphaIs(ref, shadow, 100));
}

TEST_F(TextSurfaceTest, WhiteShadowFadesToo)
{
    const auto reference = Rendered(_red);
    SDL_Surface* ref = reference->GetSurface();
    TextSurface text(kText, _font.get(), _red, 255);
    Color white = Color::White();
    SDL_Surface* shadow = text.CreateDropShadow(white, 200);
    ASSERT_NE(shadow, nullptr);
    text.SetAlpha(0);
    EXPECT_TRUE(ShadowAlphaIs(ref, shadow, 0));
    text.SetAlpha(255);
    EXPECT_TRUE(ShadowAlphaIs(ref, shadow, 200));
}

TEST_F(TextSurfaceTest, ShadowOfAFadedTextTakesTheSameShareOfItsAlpha)
{
    const auto reference = Rendered(_red);
    SDL_Surface* ref = reference->GetSurface();
    TextSurface text(kText, _font.get(), _red, 128);
    Color black = Color::Black();
    SDL_Surface* shadow = text.CreateDropShadow(black, 200);
    ASSERT_NE(shadow, nullptr);
    // The share SetAlpha(128) would give it, so text and shadow stay in step.
    EXPECT_TRUE(ShadowAlphaIs(ref, shadow, 200 * 128 / 255));
    text.SetAlpha(255);
    EXPECT_TRUE(ShadowAlphaIs(ref, shadow, 200));
}

TEST_F(TextSurfaceTest, ShadowsSwitchedOffGiveNoneAndDropTheOldOne)
{
    TextSurface text(kText, _font.get(), _red, 255);
    Color black = Color::Black();
    ASSERT_NE(text.CreateDropShadow(black, 100), nullptr);
    Application::AllowDropShadows(false);
    EXPECT_EQ(text.CreateDropShadow(black, 100), nullptr);
    EXPECT_EQ(text.GetDropShadow(), nullptr);
}

TEST_F(TextSurfaceTest, BlitDrawsAtTheOffsetAndKeepsTheDestination)
{
    TextSurface text(kText, _font.get(), _red, 255);
    SDL_Surface* s = text.GetSurface();
    ASSERT_NE(s, nullptr);
    std::unique_ptr<Canvas> canvas(
        Canvas::CreateRGB(0, s->w + 40, s->h + 40, 32, 0xFF0000, 0xFF00, 0xFF, 0));
    ASSERT_NE(canvas->GetSurface(), nullptr);
    Color black = Color::Black();
    canvas->Clear(black);

    const Rectangle before = text.DstRect();
    EXPECT_TRUE(text.Blit(canvas.get(), 30, 20));
    EXPECT_EQ(text.DstRect(), before);

    SDL_Surface* target = canvas->GetSurface();
    const Uint32 red = SDL_MapRGB(target->format, 255, 0, 0);
    for (int y = 0; y < target->h; ++y) {
        for (int x = 0; x < target->w; ++x) {
            const int tx = x - 30;
            const int ty = y - 20;
            const bool inside = tx >= 0 && ty >= 0 && tx < s->w && ty < s->h;
            const Uint32 alpha = inside ? AlphaOf(PixelAt(s, tx, ty)) : 0;
            const Uint32 p = PixelAt(target, x, y);
            if (alpha == 0) {
                ASSERT_EQ(p, 0u) << x << "," << y;
            } else if (alpha == 255) {
                ASSERT_EQ(p, red) << x << "," << y;
            }
        }
    }
}

} // namespace
