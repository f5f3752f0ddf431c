#include "framework/media/Font.h"

#include "SDL.h"
#include "SDL_ttf.h"
#include "framework/core/Color.h"
#include "framework/media/TextSurface.h"
#include "tests/media/MediaTestSupport.h"

#include <atomic>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace {

// Sizes of the framework fonts: default 24, small and dialog 16.
constexpr int kDefaultSize = 24;
constexpr int kSmallSize = 16;

class FontTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(TTF_Init(), 0);
        _reference = TTF_OpenFont(mediatest::SansFont().c_str(), kDefaultSize);
        ASSERT_NE(_reference, nullptr) << "DejaVu fonts (fonts-dejavu-core) are needed";
    }
    void TearDown() override
    {
        if (_reference != nullptr) {
            TTF_CloseFont(_reference);
        }
    }

    // The size SDL_ttf gives one line in a separately opened copy of the font.
    Dimension RefSize(const std::string& line)
    {
        int w = 0;
        int h = 0;
        TTF_SizeText(_reference, line.c_str(), &w, &h);
        return Dimension(w, h);
    }

    TTF_Font* _reference = nullptr;
};

TEST_F(FontTest, OpensTheFileWithMetricsAndStyle)
{
    Font font(mediatest::SansFont(), kDefaultSize, TTF_STYLE_ITALIC);
    ASSERT_NE(font.GetRawFont(), nullptr);
    EXPECT_EQ(font.GetName(), "Font 2");
    EXPECT_EQ(TTF_GetFontStyle(font.GetRawFont()), TTF_STYLE_ITALIC);
    EXPECT_EQ(font.GetH(), TTF_FontHeight(_reference));
    EXPECT_EQ(font.Ascent(), TTF_FontAscent(_reference));
    EXPECT_EQ(font.Descent(), TTF_FontDescent(_reference));
    EXPECT_EQ(font.LineSkip(), TTF_FontLineSkip(_reference));
    EXPECT_FALSE(font.Monospaced());

    Font mono(mediatest::MonoFont(), kSmallSize);
    EXPECT_EQ(mono.GetName(), "Font 1");
    EXPECT_TRUE(mono.Monospaced());
}

TEST_F(FontTest, SetStyleAcceptsOnlyCombinationsOfTheThreeStyles)
{
    struct Case
    {
        int style;
        int expected;
    };
    const Case cases[] = {{9, TTF_STYLE_NORMAL},
                          {3, TTF_STYLE_BOLD | TTF_STYLE_ITALIC},
                          {7, 7},
                          {4, TTF_STYLE_UNDERLINE},
                          {8, TTF_STYLE_NORMAL},
                          {-1, TTF_STYLE_NORMAL},
                          {0, TTF_STYLE_NORMAL}};
    Font font(mediatest::SansFont(), kDefaultSize, TTF_STYLE_BOLD);
    for (const Case& c : cases) {
        font.SetStyle(TTF_STYLE_BOLD);
        font.SetStyle(c.style);
        EXPECT_EQ(TTF_GetFontStyle(font.GetRawFont()), c.expected) << "style " << c.style;
    }
}

TEST_F(FontTest, TextDimTakesTheWidestLineAndSumsTheHeights)
{
    Font font(mediatest::SansFont(), kDefaultSize, 0);
    const Dimension wide = RefSize("A rather wide first line");
    const Dimension narrow = RefSize("gy");
    const Dimension empty = RefSize("");

    EXPECT_EQ(font.TextDim("A rather wide first line"), wide);
    EXPECT_EQ(font.TextDim("gy\nA rather wide first line"),
              Dimension(wide.GetW(), narrow.GetH() + wide.GetH()));
    // A trailing line feed adds an empty line, which still has a height.
    EXPECT_EQ(font.TextDim("gy\n"), Dimension(narrow.GetW(), narrow.GetH() + empty.GetH()));
    EXPECT_EQ(font.TextDim(""), empty);

    // Bold text is wider: the measure follows the style.
    font.SetStyle(TTF_STYLE_BOLD);
    EXPECT_GT(font.TextDim("A rather wide first line").GetW(), wide.GetW());
}

TEST_F(FontTest, ParseStrAppendsTheLinesAndCountsLineSkips)
{
    Font font(mediatest::SansFont(), kDefaultSize, 0);
    // At this size the line skip is smaller than the height, so the two rules differ.
    ASSERT_NE(font.LineSkip(), font.GetH());
    const Dimension wide = RefSize("A rather wide first line");
    const Dimension last = RefSize("gy");

    std::vector<std::string> lines;
    Dimension size;
    font.ParseStr("A rather wide first line\ngy", lines, size);
    EXPECT_EQ(lines, (std::vector<std::string>{"A rather wide first line", "gy"}));
    EXPECT_EQ(size, Dimension(wide.GetW(), font.LineSkip() + last.GetH()));
    EXPECT_NE(size, font.TextDim("A rather wide first line\ngy"));

    // Entries already in the list stay in front and count for the height, not the width.
    std::vector<std::string> more{"kept"};
    font.ParseStr("gy\n\ngy", more, size);
    EXPECT_EQ(more, (std::vector<std::string>{"kept", "gy", "", "gy"}));
    EXPECT_EQ(size, Dimension(last.GetW(), 3 * font.LineSkip() + last.GetH()));

    std::vector<std::string> noSize;
    font.ParseStr("one", noSize);
    EXPECT_EQ(noSize, (std::vector<std::string>{"one"}));
}

TEST_F(FontTest, MissingFileIsLoggedAndMeasuresNothing)
{
    Font font("fonts/missing.ttf", kSmallSize, TTF_STYLE_BOLD);
    EXPECT_EQ(font.GetRawFont(), nullptr);
    EXPECT_NE(mediatest::ReadLog().find("Cannot create fonts/missing.ttf font of size:"),
              std::string::npos);

    EXPECT_EQ(font.GetH(), 0);
    EXPECT_EQ(font.Ascent(), 0);
    EXPECT_EQ(font.Descent(), 0);
    EXPECT_EQ(font.LineSkip(), 0);
    EXPECT_FALSE(font.Monospaced());
    font.SetStyle(TTF_STYLE_ITALIC);
    EXPECT_EQ(font.TextDim("two\nlines"), Dimension(0, 0));
    std::vector<std::string> lines;
    Dimension size(5, 5);
    font.ParseStr("two\nlines", lines, size);
    EXPECT_EQ(lines.size(), 2u);
    EXPECT_EQ(size, Dimension(0, 0));

    Color white = Color::White();
    TextSurface text("two", &font, white, 255);
    EXPECT_EQ(text.GetSurface(), nullptr);
    EXPECT_EQ(text.GetW(), 0);
    EXPECT_NE(mediatest::ReadLog().find("TextSurface called without an open font"),
              std::string::npos);
}

TEST_F(FontTest, ClosedFontMeasuresNothingAndSaysSoOnce)
{
    Font font(mediatest::SansFont(), kSmallSize, 0);
    font.Close();
    font.Close();
    EXPECT_EQ(font.GetRawFont(), nullptr);
    EXPECT_EQ(font.GetH(), 0);
    EXPECT_EQ(font.TextDim("text"), Dimension(0, 0));

    const std::string log = mediatest::ReadLog();
    const std::string line = "Font used while not open";
    const auto first = log.find(line);
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(log.find(line, first + 1), std::string::npos);
}

} // namespace

// A loading thread opens fonts while the main thread opens and closes others; FreeType's library
// takes one face at a time, so unguarded this corrupts its face list or crashes.
TEST_F(FontTest, FontsOpenAndCloseOnTwoThreadsAtOnce)
{
    constexpr int kRounds = 150;
    std::atomic<int> opened{0};
    auto work = [&opened](int size) {
        for (int i = 0; i < kRounds; ++i) {
            Font font(mediatest::SansFont(), size + i % 5);
            if (font.GetRawFont() != nullptr && font.GetH() > 0) {
                ++opened;
            }
        }
    };
    std::thread other(work, 12);
    work(20);
    other.join();
    EXPECT_EQ(opened.load(), 2 * kRounds);
}
