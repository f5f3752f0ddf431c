#include "framework/dialogs/CastMemberDialogResizable.h"

#include "SDL.h"
#include "SDL_ttf.h"
#include "framework/core/Color.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Debug.h"
#include "framework/core/Dimension.h"
#include "framework/core/Point.h"
#include "framework/core/Rectangle.h"
#include "framework/dialogs/ControlBackground.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMember.h"
#include "framework/stage/DialogListener.h"
#include "framework/stage/GameTime.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/support/FakeClock.h"
#include "tests/support/LogListener.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using testsupport::Log;

// The tiles of img/tiles16.png and img/tiles10.png (make_images.py): each tile is flat colour
// with one black marker pixel at its top-left corner.
const Color kTopLeft(200, 0, 0);
const Color kTop(0, 200, 0);
const Color kTopRight(0, 0, 200);
const Color kLeft(200, 0, 200);
const Color kCentre(230, 230, 230);
const Color kRight(0, 200, 200);
const Color kBottomLeft(100, 50, 0);
const Color kBottom(50, 100, 0);
const Color kBottomRight(0, 50, 100);
const Color kMarker(0, 0, 0);
const Color kYellow(255, 255, 0);
const Color kStage(0, 0, 0);
constexpr int kDialogId = 12;
const char kCutMessage[] = "Text in CastMemberDialogResizable exceeded space to provided to "
                           "display it.";

using testsupport::SameRgb;

using testsupport::LogListener;

// The resizable dialog with its inner workings in reach.
class Probe : public CastMemberDialogResizable
{
public:
    Probe(ConfigFile* cfg, Cast* cast, DialogListener* listener, Log* log)
        : CastMemberDialogResizable(cfg, cast, kDialogId, nullptr, listener), _log(log)
    {
        // Level-1 lines (the cut message) are written.
        SetLogLevel(2);
    }

    using CastMemberDialogResizable::AddTextBlock;
    using CastMemberDialogResizable::CalculateButtonDims;
    using CastMemberDialogResizable::CalculateDialogDims;
    using CastMemberDialogResizable::CalculateTextDims;
    using CastMemberDialogResizable::GetHeaderHeight;
    using CastMemberDialogResizable::LoadConfigOptions;
    using CastMemberDialogResizable::PaintBackground;
    using CastMemberDialogResizable::PaintCorners;
    using CastMemberDialogResizable::PaintEdges;
    using CastMemberDialogResizable::UsesTiles;

    void LoadConfigOptions(ConfigFile* cfg, const std::string& section) override
    {
        loaded.push_back(section);
        CastMemberDialogResizable::LoadConfigOptions(cfg, section);
    }
    DialogItem* AddText(const std::string& text, int x, int y, int id, const Color& colour,
                        Font* font) override
    {
        styles.emplace_back(text, TTF_GetFontStyle(font->GetRawFont()));
        fonts.push_back(font);
        return CastMemberDialogResizable::AddText(text, x, y, id, colour, font);
    }
    using CastMemberDialogResizable::AddText;
    void DialogButtonClicked(int dialogId, int itemId, int how) override
    {
        _log->push_back("own clicked " + std::to_string(dialogId) + " " + std::to_string(itemId) +
                        " " + std::to_string(how));
    }

    // Starts the opening animation from a description section.
    void LoadOpenAnimation(ConfigFile* cfg, const std::string& section)
    {
        _openAnimation.Load(cfg, section);
        _openAnimation.AddTo(this);
    }
    const ControlAnimation& OpenAnimation() const { return _openAnimation; }

    std::string& Text() { return _text; }
    const std::vector<DialogItem*>& TextItems() const { return _textItems; }
    Font* DialogFont() { return _font.get(); }
    int ExtraWidth() const { return _extraWidth; }
    int ExtraHeight() const { return _extraHeight; }
    int TextWidth() const { return _textWidth; }
    void SetMaxLines(int lines) { _maxLines = lines; }
    int Margin() const { return _margin; }
    int MaxLines() const { return _maxLines; }
    int ShortestFullLine() const { return _shortestFullLine; }
    int Orientation() const { return _orientation; }
    int ButtonGap() const { return _buttonGap; }
    int Justification() const { return _justification; }
    int ShadowDepth() const { return _shadowDepth; }
    const Point& MinSize() const { return _minSize; }
    const Color& FontColor() const { return _fontColor; }
    const Color& ShadowColor() const { return _shadowColor; }
    const std::string& ControlsSection() const { return _controlsSection; }
    const std::string& SectionName() const { return _sectionName; }
    Image* FrameImage() const { return _frameImage.get(); }

    std::vector<std::string> loaded;
    std::vector<std::pair<std::string, int>> styles;
    std::vector<Font*> fonts;

private:
    Log* _log;
};

// The fixture files of tests/fixtures/dialogs/resizable in the scratch folder (the skin, the
// description "dialogs.cfg", the images under "img/", DejaVu Sans as "fonts/sans.ttf") and a
// headless screen whose frame loop runs on a clock moved by hand.
class CastMemberDialogResizableTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        namespace fs = std::filesystem;
        const fs::path fixtures = testsupport::FixturePath("dialogs/resizable");
        fs::create_directories("fonts");
        fs::copy_file(fixtures / "skin.cfg", "skin.cfg");
        fs::copy_file(fixtures / "dialogs.cfg", "dialogs.cfg");
        fs::copy(fixtures / "img", "img", fs::copy_options::recursive);
        fs::copy_file(mediatest::SansFont(), "fonts/sans.ttf");

        ASSERT_NO_FATAL_FAILURE(dialogtest::OpenVideoStage(clock, &screen, &manager));
        cast = manager->GetCast();
        skin = std::make_unique<ConfigFile>("skin.cfg", nullptr, false, false, false);
        Frame(clock.Now());
    }
    void TearDown() override
    {
        dialog.reset();
        descriptions.clear();
        skin.reset();
        manager.reset();
        dialogtest::CloseVideoStage();
    }

    void Frame(unsigned int t)
    {
        clock.Set(t);
        manager->DoIt();
    }

    // A plain dialog shown with a two-frame opening animation of speed ms per frame.
    Probe* ShowWithOpenAnimation(int speed, int loops)
    {
        ConfigFile* cfg =
            Description("[dialog]\ncontrols=c\n[c]\na=background\n[anim]\n"
                        "img=img/anim.png\nframes=2\nspeed=" +
                        std::to_string(speed) + "\nloops=" + std::to_string(loops) + "\n");
        Probe* d = Build(cfg, "dialog");
        d->LoadOpenAnimation(cfg, "anim");
        d->Show(0, 0, -1, -1, false, 200);
        return d;
    }

    // A description file of this text over the skin.
    ConfigFile* Description(const std::string& text)
    {
        const std::string name = "description" + std::to_string(descriptions.size()) + ".cfg";
        EXPECT_TRUE(testsupport::WriteFile(name, text));
        descriptions.push_back(std::make_unique<ConfigFile>(name, skin.get(), false, false, false));
        return descriptions.back().get();
    }
    ConfigFile* FixtureDescription()
    {
        descriptions.push_back(
            std::make_unique<ConfigFile>("dialogs.cfg", skin.get(), false, false, false));
        return descriptions.back().get();
    }

    Probe* Make(ConfigFile* cfg)
    {
        dialog = std::make_unique<Probe>(cfg, cast, &user, &log);
        return dialog.get();
    }
    Probe* Build(ConfigFile* cfg, const std::string& section)
    {
        Make(cfg)->Init(cfg, section);
        return dialog.get();
    }

    static Color Pixel(Canvas* canvas, int x, int y)
    {
        canvas->Lock();
        const Color c = canvas->GetPixel(x, y);
        canvas->Unlock();
        return c;
    }
    // Every marker pixel of the canvas: the top-left corners of the tiles that show.
    static std::set<std::pair<int, int>> Markers(Canvas* canvas)
    {
        std::set<std::pair<int, int>> found;
        for (int y = 0; y < canvas->GetH(); ++y) {
            for (int x = 0; x < canvas->GetW(); ++x) {
                if (SameRgb(Pixel(canvas, x, y), kMarker)) {
                    found.emplace(x, y);
                }
            }
        }
        return found;
    }

    int TextWidth(const std::string& text) { return dialog->DialogFont()->TextDim(text).GetW(); }

    testsupport::FakeClock clock;
    SDL_Surface* screen = nullptr;
    std::unique_ptr<AnimationManager> manager;
    Cast* cast = nullptr;
    std::unique_ptr<ConfigFile> skin;
    std::vector<std::unique_ptr<ConfigFile>> descriptions;
    Log log;
    LogListener user{&log};
    std::unique_ptr<Probe> dialog;
};

// ---- construction and options ----

TEST_F(CastMemberDialogResizableTest, StartsWithTheBuiltInOptions)
{
    Make(nullptr);
    EXPECT_EQ(dialog->GetName(), "CastMemberDialogResizable");
    EXPECT_EQ(dialog->GetClassMemberType(), CastMember::kImageDialogKind);
    EXPECT_EQ(dialog->Orientation(), 2);
    EXPECT_EQ(dialog->ButtonGap(), 8);
    EXPECT_EQ(dialog->Justification(), 2);
    EXPECT_EQ(dialog->Margin(), 20);
    EXPECT_EQ(dialog->MaxLines(), 10);
    EXPECT_EQ(dialog->MinSize().GetX(), 100);
    EXPECT_EQ(dialog->MinSize().GetY(), 40);
    EXPECT_EQ(dialog->ShortestFullLine(), 200);
    EXPECT_EQ(dialog->ShadowDepth(), 2);
    EXPECT_TRUE(SameRgb(dialog->FontColor(), Color(0, 0, 0)));
    EXPECT_TRUE(SameRgb(dialog->ShadowColor(), Color(128, 128, 128)));
    EXPECT_EQ(dialog->DialogFont(), nullptr);
    EXPECT_EQ(dialog->GetHeaderHeight(), 0);
    EXPECT_FALSE(dialog->UsesTiles());
}

TEST_F(CastMemberDialogResizableTest, NamedSectionLiesOverTheDialogSectionAndTheSkin)
{
    ConfigFile* cfg = Description("[dialog]\n"
                                  "controls=somecontrols\n"
                                  "text=Inherited by nobody\n"
                                  "margin=30\n"
                                  "maxlines=4\n"
                                  "fontsize=20\n"
                                  "minsize=50,60\n"
                                  "shadowcol=1,2,3\n"
                                  "[named]\n"
                                  "margin=5\n"
                                  "orientation=1\n"
                                  "fontcolor=200,100,50\n"
                                  "[sized]\n"
                                  "fontsize=0\n");
    Build(cfg, "named");
    EXPECT_EQ(dialog->loaded, (std::vector<std::string>{"dialog", "named"}));
    EXPECT_EQ(dialog->SectionName(), "named");
    // The named section's own values.
    EXPECT_EQ(dialog->Margin(), 5);
    EXPECT_EQ(dialog->Orientation(), 1);
    EXPECT_TRUE(SameRgb(dialog->FontColor(), Color(200, 100, 50)));
    // The dialog section's, where the named one is silent.
    EXPECT_EQ(dialog->MaxLines(), 4);
    EXPECT_EQ(dialog->MinSize().GetX(), 50);
    EXPECT_EQ(dialog->MinSize().GetY(), 60);
    EXPECT_TRUE(SameRgb(dialog->ShadowColor(), Color(1, 2, 3)));
    // The skin's "dialog" section under the description's (justify 0 there).
    EXPECT_EQ(dialog->Justification(), 0);
    // Built-in, where nobody says.
    EXPECT_EQ(dialog->ButtonGap(), 8);
    EXPECT_EQ(dialog->ShortestFullLine(), 200);
    // The texts are never inherited.
    EXPECT_EQ(dialog->Text(), "");
    EXPECT_EQ(dialog->ControlsSection(), "0");
    // The font made from the dialog section (20 points) is kept.
    ASSERT_NE(dialog->DialogFont(), nullptr);
    Font twenty("fonts/sans.ttf", 20);
    EXPECT_EQ(dialog->DialogFont()->GetH(), twenty.GetH());

    // A section that says "fontsize" 0 keeps the font as well.
    Font* before = dialog->DialogFont();
    dialog->LoadConfigOptions(cfg, "sized");
    EXPECT_EQ(dialog->DialogFont(), before);
}

TEST_F(CastMemberDialogResizableTest, TheDialogSectionIsReadOnce)
{
    ConfigFile* cfg = FixtureDescription();
    Build(cfg, "dialog");
    EXPECT_EQ(dialog->loaded, std::vector<std::string>{"dialog"});
    EXPECT_EQ(dialog->ControlsSection(), "plaincontrols");
}

TEST_F(CastMemberDialogResizableTest, TextValueZeroMeansNoText)
{
    ConfigFile* cfg = Description("[dialog]\ntext=0\ncontrols=none\n");
    Make(cfg)->LoadConfigOptions(cfg, "dialog");
    EXPECT_EQ(dialog->Text(), "");
    EXPECT_EQ(dialog->ControlsSection(), "none");
}

// ---- wrapping ----

TEST_F(CastMemberDialogResizableTest, TextIsWrappedAfterTheWordThatPassesTheShortestFullLine)
{
    Build(FixtureDescription(), "dialog");
    const int alphaBeta = TextWidth("alpha beta");
    const int huge = 10000;
    struct Case
    {
        std::string text;
        int shortest;
        int maxLines;
        std::string wrapped;
        int cutMessages;
    };
    const Case cases[] = {
        // A single word wider than the limit stays whole.
        {"Extraordinarily", 10, 10, "Extraordinarily", 0},
        // "@" breaks the line without counting towards the maximum.
        {"ab@cd", huge, 1, "ab\ncd", 0},
        {"alpha beta gamma delta", alphaBeta - 1, 10, "alpha beta\ngamma delta", 0},
        // The widest line of a run decides: the line after "@" starts a new measure.
        {"alpha beta@gamma delta", alphaBeta, 10, "alpha beta\ngamma delta", 0},
        // Three lines needed, one allowed: only the first is kept.
        {"alpha beta gamma delta epsilon zeta", alphaBeta - 1, 1, "alpha beta", 1},
        // The last word needs the break: nothing is cut or added, the cut is logged all the same.
        {"alpha beta", alphaBeta - 1, 1, "alpha beta", 1},
        {"", 10, 1, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("\"" + c.text + "\"");
        const int before = testsupport::CountLogLines(kCutMessage);
        dialog->SetMaxLines(c.maxLines);
        dialog->Text() = c.text;
        int width = -1;
        int height = -1;
        dialog->CalculateTextDims(width, height, c.shortest);
        EXPECT_EQ(dialog->Text(), c.wrapped);
        EXPECT_EQ(testsupport::CountLogLines(kCutMessage) - before, c.cutMessages);
        const Dimension size = dialog->DialogFont()->TextDim(c.wrapped);
        EXPECT_EQ(width, c.wrapped.empty() ? 0 : size.GetW());
        EXPECT_EQ(height, c.wrapped.empty() ? 0 : size.GetH());
    }
}

// ---- sizes ----

TEST_F(CastMemberDialogResizableTest, SizeIsRoundedToTheTiles)
{
    // Tiles of 10 pixels, no margin, no content: the size before rounding is the minimum size.
    // Down, the header is left out of the tiles.
    struct Case
    {
        int before;
        int header;
        int height;
    };
    const Case cases[] = {
        {100, 0, 101}, {91, 0, 101}, {90, 0, 91}, {60, 10, 61}, {65, 10, 71},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.before) + " with a header of " + std::to_string(c.header));
        ConfigFile* cfg =
            Description("[dialog]\ncontrols=c\nmargin=0\nminsize=100," + std::to_string(c.before) +
                        "\n[c]\na=bg\n[bg]\ntype=background\n"
                        "tileimage=img/tiles10.png\nheaderheight=" +
                        std::to_string(c.header) + "\n");
        Build(cfg, "dialog");
        ASSERT_TRUE(dialog->UsesTiles());
        EXPECT_EQ(dialog->GetH(), c.height);
        ASSERT_NE(dialog->FrameImage(), nullptr);
        EXPECT_EQ(dialog->FrameImage()->GetW(), dialog->GetW());
        EXPECT_EQ(dialog->GetX(), (AnimationManager::kScreenWidth - dialog->GetW()) / 2);
        EXPECT_EQ(dialog->GetY(), (AnimationManager::kScreenHeight - c.height) / 2);
        dialog.reset();
    }
    for (const int before : {100, 91, 90}) {
        ConfigFile* cfg =
            Description("[dialog]\ncontrols=c\nmargin=0\nminsize=" + std::to_string(before) +
                        ",40\n[c]\na=bg\n[bg]\ntype=background\n"
                        "tileimage=img/tiles10.png\nheaderheight=0\n");
        Build(cfg, "dialog");
        EXPECT_EQ(dialog->GetW(), before == 90 ? 91 : 101) << before;
        dialog.reset();
    }
}

TEST_F(CastMemberDialogResizableTest, DamagedSizesAreBoundedBeforeTheLayoutAddsThem)
{
    // A least size read as the largest int plus the margin overflowed into a negative width,
    // and the frame was painted into a surface SDL made without pixels. A margin is added on
    // both sides, so the dialog with the largest margin (over 4000 pixels square) is not built.
    struct Case
    {
        const char* options;
        int margin;
        int minW;
        int minH;
        bool build;
    };
    const Case cases[] = {
        {"margin=10\nminsize=99999999999999999999,40", 10, 2048, 40, true},
        {"margin=99999999999\nminsize=100,40", 2048, 100, 40, false},
        {"margin=-2147483648\nminsize=-5,-99999999999", 0, 0, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        ConfigFile* cfg = Description(std::string("[dialog]\ncontrols=c\n") + c.options +
                                      "\n[c]\na=bg\n[bg]\ntype=background\n"
                                      "tileimage=img/tiles10.png\n");
        if (c.build) {
            Build(cfg, "dialog");
        } else {
            Make(cfg)->LoadConfigOptions(cfg, "dialog");
        }
        EXPECT_EQ(dialog->Margin(), c.margin);
        EXPECT_EQ(dialog->MinSize().GetX(), c.minW);
        EXPECT_EQ(dialog->MinSize().GetY(), c.minH);
        if (c.build) {
            EXPECT_GT(dialog->GetW(), 0);
            EXPECT_GT(dialog->GetH(), 0);
            ASSERT_NE(dialog->FrameImage(), nullptr);
            EXPECT_EQ(dialog->FrameImage()->GetW(), dialog->GetW());
        }
        dialog.reset();
    }
}

TEST_F(CastMemberDialogResizableTest, ButtonBlockStacksWithGapsOrLiesSideBySide)
{
    // img/ok.png: 48 x 24 per look. Labels and backgrounds do not count.
    struct Case
    {
        int orientation;
        int buttons;
        int width;
        int height;
    };
    const Case cases[] = {
        {1, 1, 48, 24}, {1, 3, 48, 3 * 24 + 2 * 8}, {2, 3, 3 * 48, 24}, {0, 2, 2 * 48, 24},
        {1, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("orientation " + std::to_string(c.orientation) + ", " +
                     std::to_string(c.buttons) + " buttons");
        std::string text = "[dialog]\ncontrols=c\norientation=" + std::to_string(c.orientation) +
                           "\nbuttonspacebetween=8\n[c]\na=background\nb=label\n";
        for (int i = 0; i < c.buttons; ++i) {
            text += "k" + std::to_string(i) + "=okbutton\n";
        }
        text += "[label]\ntype=label\nstr=Words\n";
        Build(Description(text), "dialog");
        int width = -1;
        int height = -1;
        dialog->CalculateButtonDims(width, height);
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
        dialog.reset();
    }
}

TEST_F(CastMemberDialogResizableTest, ContentTakesTheWiderOfTextAndButtons)
{
    // Three buttons side by side (144) are wider than the text; 16-pixel tiles.
    ConfigFile* cfg = Description("[dialog]\ncontrols=c\nmargin=10\nminsize=0,0\ntext=Hi\n"
                                  "[c]\na=background\nb=okbutton\nc=okbutton\nd=okbutton\n");
    Build(cfg, "dialog");
    int width = 0;
    int height = 0;
    int textTop = 0;
    int buttonTop = 0;
    dialog->Text() = "Hi";
    const int extraBefore = dialog->ExtraHeight();
    dialog->CalculateDialogDims(width, height, textTop, buttonTop, 0, 0);
    EXPECT_EQ(width - dialog->ExtraWidth(), 144 + 10 + 10);
    EXPECT_EQ((width - 1) % 16, 0);
    EXPECT_EQ((height - 1) % 16, 0);
    const int textHeight = dialog->DialogFont()->TextDim("Hi").GetH();
    // The extra height of the earlier layout (Init's) moves the text down by its half.
    EXPECT_EQ(textTop, 10 + extraBefore / 2);
    EXPECT_EQ(buttonTop, textTop + textHeight + 8);

    // A wider text wins.
    dialog->Text() = "A much longer text than three buttons are wide together";
    dialog->CalculateDialogDims(width, height, textTop, buttonTop, 0, 0);
    EXPECT_EQ(width - dialog->ExtraWidth(), dialog->TextWidth() + 20);
    EXPECT_GT(dialog->TextWidth(), 144);
}

// ---- the frame ----

TEST_F(CastMemberDialogResizableTest, TilesOfSixteenPixelsFrameAHundredBySixty)
{
    ConfigFile* cfg = Description("[dialog]\ncontrols=c\n[c]\na=background\n");
    Build(cfg, "dialog");
    ASSERT_TRUE(dialog->UsesTiles());
    Canvas canvas(100, 60, nullptr);
    canvas.Clear(kYellow);
    dialog->PaintBackground(&canvas, 100, 60, 0, 0);
    dialog->PaintEdges(&canvas, 100, 60, 0, 0);
    dialog->PaintCorners(&canvas, 100, 60, 0, 0);

    // Edge tiles at x = 16 ... 80 (the last partly under the corner at 84), middle rows at
    // y = 16 and 32, the bottom edge at 60 - 16 = 44.
    std::set<std::pair<int, int>> expected;
    for (int x : {0, 16, 32, 48, 64, 80, 84}) {
        for (int y : {0, 16, 32, 44}) {
            expected.emplace(x, y);
        }
    }
    EXPECT_EQ(Markers(&canvas), expected);
    const std::pair<std::pair<int, int>, Color> looks[] = {
        {{8, 8}, kTopLeft},       {{50, 8}, kTop},    {{92, 8}, kTopRight},   {{8, 24}, kLeft},
        {{50, 24}, kCentre},      {{92, 40}, kRight}, {{8, 52}, kBottomLeft}, {{50, 52}, kBottom},
        {{92, 52}, kBottomRight}, {{81, 2}, kTop},
    };
    for (const auto& [point, colour] : looks) {
        EXPECT_TRUE(SameRgb(Pixel(&canvas, point.first, point.second), colour))
            << point.first << "," << point.second;
    }
}

TEST_F(CastMemberDialogResizableTest, HeaderStripStaysInTheColourKeyAndShowsTransparent)
{
    Probe* d = Build(FixtureDescription(), "message");
    ASSERT_EQ(d->GetHeaderHeight(), 10);
    Canvas* frame = d->FrameImage()->GetCanvas();
    const int w = d->GetW();
    for (int x : {0, 5, w / 2, w - 1}) {
        EXPECT_TRUE(SameRgb(Pixel(frame, x, 0), kYellow)) << x;
        EXPECT_TRUE(SameRgb(Pixel(frame, x, 9), kYellow)) << x;
    }
    // The top edge and the top corners start at y = 10.
    EXPECT_TRUE(SameRgb(Pixel(frame, 0, 10), kMarker));
    EXPECT_TRUE(SameRgb(Pixel(frame, 16, 10), kMarker));
    EXPECT_TRUE(SameRgb(Pixel(frame, 3, 13), kTopLeft));
    EXPECT_TRUE(SameRgb(Pixel(frame, w - 3, 13), kTopRight));
    // Whole tiles below the header, plus one pixel.
    EXPECT_EQ((w - 1) % 16, 0);
    EXPECT_EQ((d->GetH() - 10 - 1) % 16, 0);

    d->Show(0, 0, -1, -1, false, 200);
    Frame(clock.Now() + 20);
    ASSERT_TRUE(d->GetCanvas()->HasColorKey());
    EXPECT_TRUE(SameRgb(d->GetCanvas()->GetColorKey(), kYellow));
    // On the screen the header is the stage behind the dialog; the frame starts below it.
    EXPECT_TRUE(SameRgb(manager->GetPixel(d->GetX() + w / 2, d->GetY() + 4), kStage));
    EXPECT_TRUE(SameRgb(manager->GetPixel(d->GetX() + 3, d->GetY() + 13), kTopLeft));
}

TEST_F(CastMemberDialogResizableTest, WithoutBackgroundControlTheDialogIsUntiled)
{
    ConfigFile* cfg = Description("[dialog]\ncontrols=c\nmargin=10\nminsize=100,50\n"
                                  "text=No frame\n[c]\nb=okbutton\n");
    Probe* d = Build(cfg, "dialog");
    EXPECT_EQ(testsupport::CountLogLines("no background control with a tile image"), 1);
    EXPECT_FALSE(d->UsesTiles());
    EXPECT_EQ(d->GetHeaderHeight(), 0);
    EXPECT_EQ(d->ExtraWidth(), 0);
    EXPECT_EQ(d->ExtraHeight(), 0);
    // Text over the button, the minimum size, the margins, and nothing added for tiles.
    const Dimension text = d->DialogFont()->TextDim("No frame");
    EXPECT_EQ(d->GetW(), std::max(std::max(text.GetW(), 48) + 10, 100) + 10);
    EXPECT_EQ(d->GetH(), std::max(10 + text.GetH() + 8 + 24, 50) + 10);
    d->Show(0, 0, -1, -1, false, 200);
    EXPECT_EQ(cast->GetDialog(), d);
    EXPECT_FALSE(d->GetCanvas()->HasColorKey());

    // A missing description altogether ends the same way.
    dialog.reset();
    Build(Description(""), "nothing");
    EXPECT_FALSE(dialog->UsesTiles());
    EXPECT_GT(dialog->GetW(), 0);
}

// ---- text ----

TEST_F(CastMemberDialogResizableTest, TextBlockLaysOutOneItemPerLine)
{
    ConfigFile* cfg = Description("[dialog]\ncontrols=c\njustify=0\nshadowdepth=1\n"
                                  "fontcolor=10,20,30\n[c]\na=background\n");
    Probe* d = Build(cfg, "dialog");
    d->Text() = "First line\nSecond\n\nFourth";
    const int end = d->AddTextBlock(30, 40, 200);
    ASSERT_EQ(d->TextItems().size(), 4u);
    int y = 40;
    const std::string lines[] = {"First line", "Second", " ", "Fourth"};
    for (size_t i = 0; i < 4; ++i) {
        DialogItem* item = d->TextItems()[i];
        EXPECT_EQ(item->GetText(), lines[i]);
        EXPECT_EQ(item->GetType(), DialogItem::kText);
        EXPECT_EQ(item->GetX(), 30);
        EXPECT_EQ(item->GetY(), y);
        y += d->DialogFont()->TextDim(lines[i]).GetH();
    }
    EXPECT_EQ(end, y);

    // A second block takes the place of the first: its items leave the dialog.
    const size_t items = d->GetItems().size();
    d->Text() = "Only";
    EXPECT_EQ(d->AddTextBlock(30, 40, 200), 40 + d->DialogFont()->TextDim("Only").GetH());
    ASSERT_EQ(d->TextItems().size(), 1u);
    EXPECT_EQ(d->GetItems().size(), items - 3);
    d->Text().clear();
    EXPECT_EQ(d->AddTextBlock(30, 40, 200), 40);
    EXPECT_TRUE(d->TextItems().empty());
    EXPECT_EQ(d->GetItems().size(), items - 4);
}

TEST_F(CastMemberDialogResizableTest, MarkedTextOfInitIsPlacedInTheFrame)
{
    // Left-justified text starts after the margin and half the tile slack; centred text spans
    // the whole dialog.
    for (const int justify : {0, 2}) {
        ConfigFile* cfg =
            Description("[dialog]\ncontrols=c\nmargin=12\nminsize=300,40\n"
                        "justify=" +
                        std::to_string(justify) + "\ntext=One@Two\n[c]\na=background\n");
        Probe* d = Build(cfg, "dialog");
        ASSERT_EQ(d->TextItems().size(), 2u);
        const int x = justify == 2 ? 0 : d->ExtraWidth() / 2 + 12;
        EXPECT_EQ(d->TextItems()[0]->GetX(), x) << justify;
        EXPECT_EQ(d->TextItems()[0]->GetY(), 12 + d->ExtraHeight() / 2);
        EXPECT_EQ(d->TextItems()[1]->GetY(),
                  12 + d->ExtraHeight() / 2 + d->DialogFont()->TextDim("One").GetH());
        dialog.reset();
    }
}

TEST_F(CastMemberDialogResizableTest, HtmlTextMakesStyledLinesAndALink)
{
    Probe* d =
        Build(Description("[dialog]\ncontrols=c\nmargin=10\nminsize=400,100\n[c]\na=background\n"),
              "dialog");
    Font font("fonts/sans.ttf", 14);
    Font heading("fonts/sans.ttf", 22);
    const size_t before = d->GetItems().size();
    d->SetHTMLText("<B>Bold words</B> dropped<BR>plain part<BR><H><I>Title</I><BR><H>Chapter", "x",
                   Color(1, 2, 3), Point(500, 500), &font, &heading);
    const std::vector<std::pair<std::string, int>> expected = {
        {"Bold words", TTF_STYLE_BOLD},
        {"plain part", TTF_STYLE_NORMAL},
        {"Title", TTF_STYLE_ITALIC},
        {"Chapter", TTF_STYLE_NORMAL},
    };
    EXPECT_EQ(d->styles, expected);
    EXPECT_EQ(d->fonts, (std::vector<Font*>{&font, &font, &heading, &heading}));
    ASSERT_EQ(d->GetItems().size(), before + 4);
    // Below the header, one line skip less 2 apart, indented by 10 past the margin.
    int y = 10;
    Font* used[] = {&font, &font, &heading, &heading};
    for (size_t i = 0; i < 4; ++i) {
        DialogItem* item = d->GetItems()[before + i].get();
        EXPECT_EQ(item->GetX(), 20);
        EXPECT_EQ(item->GetY(), y);
        y += used[i]->LineSkip() - 2;
    }
    // Both fonts are back to normal, and a one-character link adds nothing.
    EXPECT_EQ(TTF_GetFontStyle(font.GetRawFont()), TTF_STYLE_NORMAL);
    EXPECT_EQ(TTF_GetFontStyle(heading.GetRawFont()), TTF_STYLE_NORMAL);
    EXPECT_EQ(d->GetPriority(), -1);

    d->SetHTMLText("Read more", "More", Color(1, 2, 3), Point(0, 0), &font, nullptr);
    const auto& items = d->GetItems();
    DialogItem* link = items.back().get();
    EXPECT_EQ(link->GetType(), DialogItem::kClickableText);
    EXPECT_EQ(link->GetID(), 5);
    EXPECT_EQ(link->GetY(), 10 + font.LineSkip() - 2);
    // The items hold the fonts: they go first.
    dialog.reset();
}

// A line wider than the frame goes on over more lines, broken after whole words, each within
// the frame; a word wider than the frame stands on a line of its own.
TEST_F(CastMemberDialogResizableTest, HtmlTextWrapsALineTooWideForTheFrame)
{
    Probe* d =
        Build(Description("[dialog]\ncontrols=c\nmargin=10\nminsize=200,100\n[c]\na=background\n"),
              "dialog");
    Font font("fonts/sans.ttf", 14);
    const int room = d->GetW() - 20 - 10;
    ASSERT_GT(room, 0);
    const std::string news = "A new version of the game is ready with new boards and scenes, "
                             "Supercalifragilisticexpialidociousnessfulness too";
    const size_t before = d->GetItems().size();
    d->SetHTMLText(news, "", Color(1, 2, 3), Point(0, 0), &font, nullptr);
    ASSERT_GT(d->GetItems().size(), before + 2);
    std::string joined;
    int y = 10;
    for (size_t i = before; i < d->GetItems().size(); ++i) {
        SCOPED_TRACE(i);
        DialogItem* item = d->GetItems()[i].get();
        const std::string text = d->styles[i - before].first;
        const bool lone = text.find(' ') == std::string::npos;
        if (!lone) {
            EXPECT_LE(font.TextDim(text).GetW(), room) << text;
        }
        EXPECT_EQ(item->GetY(), y);
        y += font.LineSkip() - 2;
        joined += (joined.empty() ? "" : " ") + text;
    }
    // Nothing lost or doubled, the long word whole on a line of its own.
    EXPECT_EQ(joined, news);
    const auto lines = std::vector<std::pair<std::string, int>>(d->styles.begin(), d->styles.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        std::make_pair(std::string("Supercalifragilisticexpialidociousnessfulness"),
                                       static_cast<int>(TTF_STYLE_NORMAL))),
              lines.end());
    dialog.reset();
}

// ---- small operations ----

TEST_F(CastMemberDialogResizableTest, SetInactiveReachesTheFirstButtonOfThatId)
{
    Probe* d = Build(FixtureDescription(), "dialog");
    DialogItem* ok = d->GetItemByID(1);
    ASSERT_NE(ok, nullptr);
    d->SetInactive(1, true);
    EXPECT_TRUE(ok->GetInactive());
    d->SetInactive(77, false);
    EXPECT_TRUE(ok->GetInactive());
    d->SetInactive(1, false);
    EXPECT_FALSE(ok->GetInactive());
}

TEST_F(CastMemberDialogResizableTest, OpeningAnimationWaitsASecondAndPlaysAgainAfterAPressOutside)
{
    Probe* d = ShowWithOpenAnimation(100, 1);
    const unsigned int shown = clock.Now();
    for (unsigned int t = shown + 10; t <= shown + 900; t += 100) {
        Frame(t);
    }
    EXPECT_EQ(d->OpenAnimation().GetCurrentFrame(), 0);
    EXPECT_TRUE(d->OpenAnimation().IsRunning());
    // The dialog's script reaches state 1 a second after its first frame.
    for (unsigned int t = shown + 1000; t <= shown + 1300; t += 100) {
        Frame(t);
    }
    EXPECT_GE(d->GetState(), 1);
    EXPECT_FALSE(d->OpenAnimation().IsRunning());

    d->MouseDownOutsideOfDialog();
    EXPECT_TRUE(d->OpenAnimation().IsRunning());
    EXPECT_EQ(d->OpenAnimation().GetLoopCount(), 0);
}

TEST_F(CastMemberDialogResizableTest, TheOpeningAnimationsNextFrameBoundsTheIdleSleep)
{
    Probe* d = ShowWithOpenAnimation(30, 5);
    const unsigned int shown = clock.Now();
    for (unsigned int t = shown + 10; t <= shown + 1100; t += 100) {
        Frame(t);
    }
    ASSERT_TRUE(d->OpenAnimation().IsRunning());
    // Two frames at the same time: nothing is left to paint, only the animation's next step.
    Frame(clock.Now() + 5);
    Frame(clock.Now());
    const unsigned int idle = manager->IdleMs();
    EXPECT_GT(idle, 0u);
    EXPECT_LE(idle, 30u);
    // Once it has stopped, it holds nothing back.
    for (int n = 0; n < 20 && d->OpenAnimation().IsRunning(); ++n) {
        Frame(clock.Now() + 30);
    }
    ASSERT_FALSE(d->OpenAnimation().IsRunning());
    Frame(clock.Now() + 500);
    Frame(clock.Now());
    EXPECT_GT(manager->IdleMs(), 30u);
}

TEST_F(CastMemberDialogResizableTest, ClickOnOkReportsAndCloses)
{
    Probe* d = Build(FixtureDescription(), "dialog");
    d->SetFadeOutTime(0);
    d->Show(0, 0, -1, -1, false, 200);
    DialogItem* ok = d->GetItemByID(1);
    ASSERT_NE(ok, nullptr);
    // Pinned to the bottom centre.
    EXPECT_EQ(ok->GetX(), (d->GetW() - 48) / 2);
    EXPECT_EQ(ok->GetY(), d->GetH() - 24 - 12);
    EXPECT_EQ(d->GetEnterKeyItem(), ok);
    Frame(clock.Now() + 400);
    const int x = d->GetX() + ok->GetX() + 24;
    const int y = d->GetY() + ok->GetY() + 12;
    cast->MouseDown(x, y, 1);
    cast->MouseUp(x, y, 1);
    EXPECT_EQ(log, (Log{"user detached 12", "own clicked 12 1 1", "user clicked 12 1 1"}));
    EXPECT_EQ(cast->GetDialog(), nullptr);
    EXPECT_FALSE(d->IsShown());
}

TEST_F(CastMemberDialogResizableTest, GetHIsTheFrameHeight)
{
    Make(nullptr);
    dialog->SetDimensions(30, 40);
    EXPECT_EQ(dialog->GetH(), 40);
    dialog.reset();
    Probe* d = Build(FixtureDescription(), "dialog");
    EXPECT_EQ(d->GetH(), d->FrameImage()->GetH());
    EXPECT_EQ(d->GetBackImage(), d->FrameImage());
}

TEST(CastMemberDialogResizableLifetimeTest, BuiltDialogLeavesNoObjectBehind)
{
    namespace fs = std::filesystem;
    const fs::path fixtures = testsupport::FixturePath("dialogs/resizable");
    fs::create_directories("fonts");
    fs::copy_file(fixtures / "skin.cfg", "skin.cfg");
    fs::copy_file(fixtures / "dialogs.cfg", "dialogs.cfg");
    fs::copy(fixtures / "img", "img", fs::copy_options::recursive);
    fs::copy_file(mediatest::SansFont(), "fonts/sans.ttf");
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    ASSERT_EQ(TTF_Init(), 0);
    SDL_Surface* screen =
        SDL_SetVideoMode(AnimationManager::kScreenWidth, AnimationManager::kScreenHeight, 32, 0);
    ASSERT_NE(screen, nullptr);
    Canvas::SetDefaultPixelFormat(screen->format);
    {
        AnimationManager manager(nullptr, screen, false);
        ConfigFile skin("skin.cfg", nullptr, false, false, false);
        ConfigFile description("dialogs.cfg", &skin, false, false, false);
        auto dialog = std::make_unique<CastMemberDialogResizable>(&description, manager.GetCast(),
                                                                  3, nullptr, nullptr);
        dialog->Init(&description, "message");
        dialog->Init(&description, "dialog");
        dialog->Show(0, 0, -1, -1, false, 200);
        manager.DoIt();
    }
    Canvas::SetDefaultPixelFormat(nullptr);
    TTF_Quit();
    Debug::CloseDebugFile();
    const std::string report = testsupport::ReadFile("debug.txt");
    EXPECT_EQ(report.find("Not Cleaned UP"), std::string::npos) << report;
}

} // namespace
