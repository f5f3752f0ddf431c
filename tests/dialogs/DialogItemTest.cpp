#include "framework/dialogs/DialogItem.h"

#include "SDL.h"
#include "SDL_ttf.h"
#include "framework/core/Color.h"
#include "framework/core/Debug.h"
#include "framework/core/Rectangle.h"
#include "framework/media/Canvas.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// The dialog as an item sees it, recording every call back.
class FakeDialog : public DialogItem::Owner
{
public:
    Rectangle GetDialogRect() override { return rect; }
    Color GetSecondColor() override { return second; }
    std::vector<std::string>& GetListBoxEntries() override { return entries; }
    void SetRadioSetting(int value) override { radioSetting = value; }
    bool IsArrowHidden(const DialogItem* item) override { return hiddenArrows.count(item) != 0; }
    void RepaintAll(Rectangle* area) override
    {
        if (area == nullptr) {
            ++repaintAll;
        } else {
            repaintAreas.push_back(*area);
        }
    }
    void UpdateBackground() override { ++backgroundUpdates; }
    void SliderSet(int itemId, int value) override { sliderReports.emplace_back(itemId, value); }
    void ImmediateAction(DialogItem* item) override { immediate.push_back(item); }
    void CheckArrows() override { ++arrowChecks; }

    Rectangle rect{100, 50, 200, 100};
    Color second{0, 220, 0, 255};
    std::vector<std::string> entries;
    int radioSetting = -1;
    std::set<const DialogItem*> hiddenArrows;
    int repaintAll = 0;
    std::vector<Rectangle> repaintAreas;
    int backgroundUpdates = 0;
    std::vector<std::pair<int, int>> sliderReports;
    std::vector<DialogItem*> immediate;
    int arrowChecks = 0;
};

const Color kFrameColours[] = {Color(255, 0, 0),   Color(0, 255, 0),   Color(0, 0, 255),
                               Color(255, 255, 0), Color(255, 0, 255), Color(0, 255, 255)};
const Color kBackground(90, 90, 90);
const Color kWhite(255, 255, 255);
const Color kBlack(0, 0, 0);

using testsupport::SameRgb;

// An image whose frames lie side by side, frame i filled with kFrameColours[i].
std::unique_ptr<Image> Strip(int frames, int frameW, int frameH)
{
    auto* canvas = new Canvas(frames * frameW, frameH, nullptr);
    for (int i = 0; i < frames; ++i) {
        Rectangle r(static_cast<short>(i * frameW), 0, static_cast<short>(frameW),
                    static_cast<short>(frameH));
        canvas->FillRect(r, kFrameColours[i]);
    }
    Rectangle whole(0, 0, static_cast<short>(frames * frameW), static_cast<short>(frameH));
    return std::make_unique<Image>(canvas, whole);
}

using dialogtest::Plain;

class DialogItemTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(TTF_Init(), 0);
        _font = std::make_unique<Font>(mediatest::SansFont(), 12);
        ASSERT_NE(_font->GetRawFont(), nullptr);
        _lineHeight = _font->TextDim("W").GetH();
        ASSERT_GT(_lineHeight, 0);
        _canvas = std::make_unique<Canvas>(240, 160, nullptr);
        _canvas->Clear(kBackground);
    }

    void TearDown() override
    {
        _canvas.reset();
        _font.reset();
        TTF_Quit();
    }

    void ClearCanvas() { _canvas->Clear(kBackground); }

    Color PixelAt(int x, int y) { return _canvas->GetPixel(x, y); }

    // The first row (from the top) within [x0, x1) that differs from the background; -1 none.
    int FirstInkRow(int x0, int x1, int y0, int y1)
    {
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                if (!SameRgb(PixelAt(x, y), kBackground)) {
                    return y;
                }
            }
        }
        return -1;
    }

    bool HasInk(int x0, int x1, int y0, int y1) { return FirstInkRow(x0, x1, y0, y1) >= 0; }

    template <typename Predicate> bool Any(int x0, int x1, int y0, int y1, Predicate p)
    {
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                if (p(PixelAt(x, y))) {
                    return true;
                }
            }
        }
        return false;
    }

    // The rightmost column and the lowest row that hold ink on a white canvas; the red channel
    // marks black and green ink alike.
    std::pair<int, int> InkExtent()
    {
        int right = -1;
        int bottom = -1;
        for (int y = 0; y < _canvas->GetH(); ++y) {
            for (int x = 0; x < _canvas->GetW(); ++x) {
                if (PixelAt(x, y).GetR() != 255) {
                    right = std::max(right, x);
                    bottom = std::max(bottom, y);
                }
            }
        }
        return {right, bottom};
    }

    std::unique_ptr<DialogItem> TextBox(const std::string& text, int width, int boxHeight,
                                        int verticalAlignment, int alignment = 0)
    {
        auto item = std::make_unique<DialogItem>(&_dialog, DialogItem::kTextBox, 0, 0, 4, alignment,
                                                 width, false, boxHeight, verticalAlignment);
        item->SetTextProperties(text, _font.get(), kBlack, 0);
        return item;
    }

    std::unique_ptr<DialogItem> ListBox(int boxWidth, int lines, std::vector<std::string> entries)
    {
        _dialog.entries = std::move(entries);
        auto item = std::make_unique<DialogItem>(&_dialog, DialogItem::kListBox, 10, 20, 8, 0,
                                                 boxWidth, lines * _lineHeight, kWhite, 0, false);
        item->SetTextProperties(" ", _font.get(), kBlack, 0);
        return item;
    }

    std::unique_ptr<DialogItem> TextInput(int boxWidth, int maxChars, bool alphaNumericOnly)
    {
        auto item = std::make_unique<DialogItem>(&_dialog, DialogItem::kTextInput, 0, 0, 6, 0,
                                                 boxWidth, 24, kWhite, maxChars, false);
        item->SetAlphaNumericOnly(alphaNumericOnly);
        item->SetTextProperties("", _font.get(), Color(200, 0, 0), 0);
        return item;
    }

    // Stage y of the middle of list line `line` of a list box at item y 20.
    int LineY(int line) { return _dialog.rect.GetY() + 20 + line * _lineHeight + _lineHeight / 2; }

    FakeDialog _dialog;
    std::unique_ptr<Font> _font;
    std::unique_ptr<Canvas> _canvas;
    int _lineHeight = 0;
};

// ---- frames by state ----

TEST_F(DialogItemTest, ButtonFrameFollowsPressHoverFrontAndInactive)
{
    struct Case
    {
        bool pressed, hover, front, inactive;
        int frame;
    };
    const Case cases[] = {
        {false, false, true, false, 0}, {true, false, true, false, 1},
        {false, true, true, false, 2},  {true, true, true, false, 2},
        {true, false, false, false, 0}, {false, true, false, false, 0},
        {false, false, true, true, 3},  {true, true, false, true, 3},
    };
    auto image = Strip(4, 10, 8);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "pressed " << c.pressed << " hover " << c.hover
                                        << " front " << c.front << " inactive " << c.inactive);
        DialogItem button(&_dialog, DialogItem::kButton, 20, 30, 1, 4, false);
        button.SetImage(image.get());
        button.SetChecked(c.pressed);
        button.SwapImages(c.hover);
        button.SetInactive(c.inactive);
        ClearCanvas();
        ASSERT_TRUE(button.Paint(_canvas.get(), 0, 0, c.front));
        EXPECT_EQ(button.GetFrame(), c.frame);
        EXPECT_TRUE(SameRgb(PixelAt(25, 34), kFrameColours[c.frame]));
        // Only the frame is drawn: its right neighbour stays background.
        EXPECT_TRUE(SameRgb(PixelAt(30, 34), kBackground));
    }
}

TEST_F(DialogItemTest, CheckBoxAndRadioFrameFollowsTickAndInactive)
{
    struct Case
    {
        int type;
        bool ticked, inactive;
        int frame;
    };
    const Case cases[] = {
        {DialogItem::kCheckBox, false, false, 0}, {DialogItem::kCheckBox, true, false, 1},
        {DialogItem::kCheckBox, true, true, 3},   {DialogItem::kCheckBox, false, true, 2},
        {DialogItem::kRadio, false, false, 0},    {DialogItem::kRadio, true, false, 1},
        {DialogItem::kRadio, true, true, 3},      {DialogItem::kRadio, false, true, 2},
    };
    auto image = Strip(4, 12, 12);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "type " << c.type << " ticked " << c.ticked << " inactive " << c.inactive);
        DialogItem box(&_dialog, c.type, 4, 4, 3, 4, false);
        box.SetImage(image.get());
        box.SetTextProperties("Sound", _font.get(), kBlack, 0);
        box.SetChecked(c.ticked);
        box.SetInactive(c.inactive);
        ClearCanvas();
        ASSERT_TRUE(box.Paint(_canvas.get(), 0, 0, true));
        EXPECT_EQ(box.GetFrame(), c.frame);
        EXPECT_TRUE(SameRgb(PixelAt(10, 10), kFrameColours[c.frame]));
        // The label starts after the box and the indent.
        EXPECT_FALSE(HasInk(16, 4 + 12 + 8, 0, 40));
        EXPECT_TRUE(HasInk(4 + 12 + 8, 80, 0, 40));
    }
}

TEST_F(DialogItemTest, CustomButtonUsesStateFramesOnlyWithThreeOrMore)
{
    struct Case
    {
        int frames;
        bool pressed, hover, inactive;
        int preset, frame;
    };
    const Case cases[] = {
        {2, true, true, true, 1, 1},    // two frames: the frame set for it stays
        {2, false, false, false, 0, 0}, //
        {3, false, true, false, 0, 2},  //
        {3, false, false, true, 0, 2},  // inactive: the last frame
        {4, false, false, true, 0, 3},  //
        {5, true, false, true, 0, 4},   //
        {5, true, false, false, 0, 1},  //
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "frames " << c.frames << " inactive " << c.inactive);
        auto image = Strip(c.frames, 6, 6);
        DialogItem button(&_dialog, DialogItem::kCustomButton, 0, 0, 9, c.frames, false);
        button.SetImage(image.get());
        button.SetFrame(c.preset);
        button.SetChecked(c.pressed);
        button.SwapImages(c.hover);
        button.SetInactive(c.inactive);
        ClearCanvas();
        ASSERT_TRUE(button.Paint(_canvas.get(), 0, 0, true));
        EXPECT_EQ(button.GetFrame(), c.frame);
        EXPECT_TRUE(SameRgb(PixelAt(3, 3), kFrameColours[c.frame]));
    }
}

TEST_F(DialogItemTest, PaintSkipsCleanHiddenAndArrowItems)
{
    auto image = Strip(4, 10, 10);
    DialogItem icon(&_dialog, DialogItem::kIcon, 0, 0, -1, 3, false);
    icon.SetImage(image.get());
    ASSERT_TRUE(icon.Paint(_canvas.get(), 0, 0, true));
    EXPECT_FALSE(icon.IsDirty());
    EXPECT_FALSE(icon.Paint(_canvas.get(), 0, 0, true)) << "clean items are not painted";

    icon.SetVisible(false);
    EXPECT_FALSE(icon.Paint(_canvas.get(), 0, 0, true));
    icon.SetVisible(true);

    _dialog.hiddenArrows.insert(&icon);
    EXPECT_FALSE(icon.Paint(_canvas.get(), 0, 0, true));
    EXPECT_TRUE(icon.IsDirty()) << "a hidden arrow paints once its arrow shows";
    _dialog.hiddenArrows.clear();

    Canvas empty(nullptr);
    EXPECT_FALSE(icon.Paint(&empty, 0, 0, true));
    EXPECT_FALSE(icon.IsDirty()) << "no pixels: nothing drawn, no longer dirty";
}

TEST_F(DialogItemTest, ImageShowsItsCurrentFrameAtItsPositionPlusOffset)
{
    auto image = Strip(3, 10, 10);
    DialogItem picture(&_dialog, DialogItem::kImage, 5, 6, -1, 3, false);
    picture.SetImage(image.get());
    EXPECT_EQ(picture.GetFrameWidth(), 10);
    EXPECT_EQ(picture.GetFrameHeight(), 10);
    const int repaints = _dialog.repaintAll;
    picture.SetFrame(2);
    EXPECT_GT(_dialog.repaintAll, repaints);
    ASSERT_TRUE(picture.Paint(_canvas.get(), 20, 30, true));
    EXPECT_TRUE(SameRgb(PixelAt(30, 41), kFrameColours[2]));
    EXPECT_TRUE(SameRgb(PixelAt(24, 35), kBackground));
    EXPECT_EQ(picture.GetPaintRect(), Rectangle(25, 36, 10, 10));
}

// ---- texts ----

TEST_F(DialogItemTest, TextIsPlacedByItsAlignmentWithinItsWidth)
{
    const int textWidth = _font->TextDim("Hello").GetW();
    struct Case
    {
        int alignment, width, x;
    };
    const Case cases[] = {
        {0, 100, 10}, {2, 100, 10 + (100 - textWidth) / 2}, {3, 100, 10 + 100 - textWidth},
        {3, 0, 10}, // no width: drawn at its position
        {2, 0, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "alignment " << c.alignment << " width " << c.width);
        DialogItem text(&_dialog, DialogItem::kText, 10, 20, 0, c.alignment, c.width, false, 0, 2);
        text.SetTextProperties("Hello", _font.get(), kBlack, 0);
        const int updates = _dialog.backgroundUpdates;
        ClearCanvas();
        ASSERT_TRUE(text.Paint(_canvas.get(), 0, 0, true));
        EXPECT_EQ(text.GetPaintRect().GetX(), c.x);
        EXPECT_EQ(text.GetPaintRect().GetY(), 21);
        EXPECT_EQ(_dialog.backgroundUpdates, updates + 1) << "the background under the text";
        EXPECT_FALSE(HasInk(0, c.x, 0, 60));
        EXPECT_TRUE(HasInk(c.x, c.x + textWidth, 0, 60));
    }
}

TEST_F(DialogItemTest, TextShadowDepthDrawsOneOrTwoCopies)
{
    std::pair<int, int> plain;
    for (int depth : {0, 1, 2}) {
        SCOPED_TRACE(depth);
        DialogItem text(&_dialog, DialogItem::kText, 0, 0, 0, 0, 0, false, 0, 2);
        text.SetTextProperties("l", _font.get(), kBlack, depth);
        _canvas->Clear(kWhite);
        ASSERT_TRUE(text.Paint(_canvas.get(), 0, 0, true));
        const std::pair<int, int> extent = InkExtent();
        ASSERT_GE(extent.first, 0);
        if (depth == 0) {
            plain = extent;
        }
        // Each copy of the shadow lies one pixel further right and down.
        EXPECT_EQ(extent.first, plain.first + depth);
        EXPECT_EQ(extent.second, plain.second + depth);
        const bool greenSeen = Any(0, 40, 0, 40, [](const Color& c) {
            return c.GetG() > c.GetR() + 60 && c.GetG() > c.GetB() + 60;
        });
        EXPECT_EQ(greenSeen, depth > 0) << "the shadow takes the dialog's second colour";
    }
}

TEST_F(DialogItemTest, LineWithoutFontOrTextPaintsNothing)
{
    DialogItem line(&_dialog, DialogItem::kText, 5, 5, -1, 0, 0, false, 0, 2);
    line.SetTextProperties("", nullptr, kWhite, 0);
    line.SetLine(50, 5, -1);
    EXPECT_TRUE(line.Paint(_canvas.get(), 0, 0, true));
    EXPECT_FALSE(HasInk(0, 240, 0, 160));
}

// ---- text boxes ----

TEST_F(DialogItemTest, TextBoxBreaksLinesAtAtSigns)
{
    struct Case
    {
        std::string text;
        std::vector<bool> inkedLines;
    };
    const Case cases[] = {
        {"a@@b", {true, false, true}},
        {"a@b", {true, true}},
        {"a", {true}},
        {"aaa bbb ccc", {true, true}}, // two words fit the width
    };
    // Words are measured one by one, each with its leading space.
    const int width = _font->TextDim("aaa").GetW() + _font->TextDim(" bbb").GetW();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto box = TextBox(c.text, width, 0, 0);
        const int lines = static_cast<int>(c.inkedLines.size());
        EXPECT_EQ(box->GetFrameHeight(), lines * _lineHeight);
        ClearCanvas();
        ASSERT_TRUE(box->Paint(_canvas.get(), 0, 0, true));
        EXPECT_EQ(box->GetPaintRect(), Rectangle(0, 0, static_cast<short>(width + 2),
                                                 static_cast<short>(lines * _lineHeight + 2)));
        for (int i = 0; i < lines; ++i) {
            EXPECT_EQ(HasInk(0, width, i * _lineHeight, (i + 1) * _lineHeight), c.inkedLines[i])
                << "line " << i;
        }
        EXPECT_FALSE(HasInk(0, 240, lines * _lineHeight, 160));
    }
}

TEST_F(DialogItemTest, TextBoxWordWiderThanBoxFollowsAnEmptyLine)
{
    auto box = TextBox("Extraordinary", 20, 0, 0);
    EXPECT_EQ(box->GetFrameHeight(), 2 * _lineHeight);
    ASSERT_TRUE(box->Paint(_canvas.get(), 0, 0, true));
    EXPECT_FALSE(HasInk(0, 240, 0, _lineHeight));
    // The word, cut by the box's clip, stands on its own second line.
    EXPECT_TRUE(HasInk(0, 22, _lineHeight, 2 * _lineHeight));
}

TEST_F(DialogItemTest, TextBoxAlignsItsLinesVerticallyAndHorizontally)
{
    const int boxHeight = 60;
    const int wordWidth = _font->TextDim("ab").GetW();
    struct Case
    {
        int vertical, horizontal, top, left;
    };
    const Case cases[] = {
        {0, 0, 0, 0},
        {4, 0, 0, 0}, // any other value: top
        {2, 2, (boxHeight - _lineHeight) / 2, (100 - wordWidth) / 2},
        {5, 3, boxHeight - _lineHeight, 100 - wordWidth},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "vertical " << c.vertical);
        auto box = TextBox("ab", 100, boxHeight, c.vertical, c.horizontal);
        EXPECT_EQ(box->GetFrameHeight(), boxHeight);
        ClearCanvas();
        ASSERT_TRUE(box->Paint(_canvas.get(), 0, 0, true));
        const int ink = FirstInkRow(0, 102, 0, 160);
        EXPECT_GE(ink, c.top);
        EXPECT_LT(ink, c.top + _lineHeight);
        EXPECT_FALSE(HasInk(0, c.left, 0, 160));
        EXPECT_TRUE(HasInk(c.left, c.left + wordWidth, 0, 160));
    }
}

// ---- sliders ----

class SliderTest : public DialogItemTest
{
protected:
    // A 110-pixel track with a 10-pixel thumb at item (10, 5) of a dialog at (100, 50).
    std::unique_ptr<DialogItem> Slider(bool horizontal, int endMargin, int value = 0,
                                       int thumbHeight = 10)
    {
        _track = horizontal ? Plain(110, 8, Color(255, 0, 0)) : Plain(8, 110, Color(255, 0, 0));
        _second = horizontal ? Plain(110, 8, Color(0, 0, 255)) : Plain(8, 110, Color(0, 0, 255));
        _thumb = Plain(10, thumbHeight, Color(0, 255, 0));
        auto slider =
            std::make_unique<DialogItem>(&_dialog, DialogItem::kSlider, 10, 5, 11, 1, true);
        slider->InitSlider(_track.get(), _second.get(), _thumb.get(), value, horizontal, endMargin);
        return slider;
    }

    std::unique_ptr<Image> _track;
    std::unique_ptr<Image> _second;
    std::unique_ptr<Image> _thumb;
};

TEST_F(SliderTest, ValueFollowsTheMouseAlongTheTrack)
{
    struct Case
    {
        bool horizontal;
        int endMargin, mouse, value;
    };
    // The thumb's travel starts at dialog 100 + item 10 + half the thumb 5 = 115 across, and at
    // 50 + 5 + 5 = 60 down.
    const Case cases[] = {
        {true, 0, 115, 0},   {true, 0, 90, 0},    {true, 0, 165, 50},   {true, 0, 214, 99},
        {true, 0, 215, 100}, {true, 0, 400, 100}, {true, 20, 155, 50},  {true, 20, 195, 100},
        {false, 0, 60, 0},   {false, 0, 110, 50}, {false, 0, 500, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "horizontal " << c.horizontal << " margin "
                                        << c.endMargin << " mouse " << c.mouse);
        auto slider = Slider(c.horizontal, c.endMargin, 42);
        const int x = c.horizontal ? c.mouse : 0;
        const int y = c.horizontal ? 0 : c.mouse;
        EXPECT_EQ(slider->SetSlider(x, y), c.value);
        EXPECT_EQ(slider->GetSliderValue(), c.value);
    }
}

TEST_F(SliderTest, ReportsOnlyChangedValues)
{
    auto slider = Slider(true, 0);
    slider->SetSlider(115, 0);
    EXPECT_TRUE(_dialog.sliderReports.empty()) << "0 was the value already";
    slider->SetSlider(165, 0);
    slider->SetSlider(165, 77);
    slider->SetSlider(1000, 0);
    slider->SetSlider(1200, 0);
    const std::vector<std::pair<int, int>> expected{{11, 50}, {11, 100}};
    EXPECT_EQ(_dialog.sliderReports, expected);
}

TEST_F(SliderTest, TrackNoLongerThanItsThumbStaysAtZero)
{
    auto slider = Slider(true, 100);
    EXPECT_EQ(slider->SetSlider(400, 0), 0);
    EXPECT_TRUE(_dialog.sliderReports.empty());
}

TEST_F(SliderTest, TrackLeftOfTheThumbCentreShowsTheFirstImage)
{
    auto slider = Slider(true, 20, 50, 6);
    slider->SetIndent(-1);
    ASSERT_TRUE(slider->Paint(_canvas.get(), 0, 0, true));
    EXPECT_EQ(slider->GetPaintRect(), Rectangle(10, 5, 110, 8));
    // Length 80: the thumb starts at 10 + 10 + 40 = 60 and its centre is at 65; it covers the
    // rows 5 to 9 (lifted by the indent, clipped to the track).
    const Color red(255, 0, 0);
    const Color blue(0, 0, 255);
    const Color green(0, 255, 0);
    EXPECT_TRUE(SameRgb(PixelAt(10, 8), red));
    EXPECT_TRUE(SameRgb(PixelAt(59, 8), red));
    EXPECT_TRUE(SameRgb(PixelAt(60, 5), green));
    EXPECT_TRUE(SameRgb(PixelAt(69, 9), green));
    EXPECT_TRUE(SameRgb(PixelAt(70, 8), blue));
    EXPECT_TRUE(SameRgb(PixelAt(119, 12), blue));
    EXPECT_TRUE(SameRgb(PixelAt(64, 11), red)) << "under the thumb, left of its centre";
    EXPECT_TRUE(SameRgb(PixelAt(65, 11), blue)) << "under the thumb, from its centre on";
    EXPECT_TRUE(SameRgb(PixelAt(62, 4), kBackground));
    EXPECT_TRUE(SameRgb(PixelAt(120, 8), kBackground));
}

// ---- pins ----

TEST_F(DialogItemTest, PinsPlaceTheFrameWithinTheDialog)
{
    struct Case
    {
        int pin;
        bool noMargins;
        int dialogW, x, y;
    };
    // Frame 40 x 20 in a 200 x 100 dialog, margin 10, top 5, bottom 7, from (33, 47).
    const Case cases[] = {
        {0x00, false, 200, 33, 47},  {0x01, false, 200, 10, 47}, {0x01, true, 200, 0, 47},
        {0x02, false, 200, 150, 47}, {0x02, true, 200, 160, 47}, {0x04, false, 200, 33, 15},
        {0x04, true, 200, 33, 0},    {0x08, false, 200, 33, 63}, {0x08, true, 200, 33, 80},
        {0x10, false, 200, 80, 47},  {0x20, false, 200, 33, 40}, {0x30, false, 200, 80, 40},
        {0x11, false, 200, 10, 47},  {0x40, false, 200, 30, 45}, {0x50, false, 203, 80, 45},
        {0x0A, false, 200, 150, 63},
    };
    auto image = Strip(1, 40, 20);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "pin " << c.pin << " no margins " << c.noMargins);
        _dialog.rect = Rectangle(300, 200, static_cast<short>(c.dialogW), 100);
        DialogItem item(&_dialog, DialogItem::kImage, 33, 47, -1, 1, false);
        item.SetImage(image.get());
        item.SetPin(c.pin);
        item.SetNoMargins(c.noMargins);
        item.PinAdjust(10, 5, 7);
        EXPECT_EQ(item.GetX(), c.x);
        EXPECT_EQ(item.GetY(), c.y);
    }
}

TEST_F(DialogItemTest, PinsWithoutMarginsLogTheNewPosition)
{
    auto image = Strip(1, 40, 20);
    DialogItem item(&_dialog, DialogItem::kImage, 0, 0, -1, 1, false);
    item.SetImage(image.get());
    item.SetPin(0x0A);
    item.SetNoMargins(true);
    item.PinAdjust(10, 5, 7);
    const std::string log = mediatest::ReadLog();
    EXPECT_NE(log.find("PIN RIGHT NO-M 160"), std::string::npos);
    EXPECT_NE(log.find("PIN BOTTOM NO-M 80"), std::string::npos);
}

// ---- hit tests and clicks ----

TEST_F(DialogItemTest, ContainsUsesStagePositionAndItemKind)
{
    auto image = Strip(4, 10, 10);
    DialogItem button(&_dialog, DialogItem::kButton, 20, 30, 1, 4, false);
    button.SetImage(image.get());
    EXPECT_TRUE(button.Contains(120, 80));
    EXPECT_TRUE(button.Contains(130, 90)) << "edges included";
    EXPECT_FALSE(button.Contains(131, 85));
    EXPECT_FALSE(button.Contains(25, 35)) << "dialog coordinates are not stage coordinates";

    DialogItem picture(&_dialog, DialogItem::kImage, 20, 30, -1, 4, false);
    picture.SetImage(image.get());
    EXPECT_FALSE(picture.Contains(125, 85)) << "images take no clicks";

    DialogItem box(&_dialog, DialogItem::kCheckBox, 20, 30, 3, 4, false);
    box.SetImage(image.get());
    box.SetTextProperties("Music", _font.get(), kBlack, 0);
    const int right = 120 + 10 + 8 + _font->TextDim("Music").GetW();
    EXPECT_TRUE(box.Contains(right, 85)) << "the label counts";
    EXPECT_FALSE(box.Contains(right + 1, 85));
}

TEST_F(DialogItemTest, ClickableTextIsHitWhereItIsDrawn)
{
    DialogItem link(&_dialog, DialogItem::kClickableText, 0, 0, 12, 2, 200, false, 0, 2);
    link.SetTextProperties("web", _font.get(), kBlack, 0);
    const int textWidth = _font->TextDim("web").GetW();
    const int left = 100 + (200 - textWidth) / 2;
    EXPECT_FALSE(link.Contains(101, 55));
    EXPECT_TRUE(link.Contains(left + 1, 55));
    EXPECT_TRUE(link.Contains(left + textWidth, 55));
    EXPECT_FALSE(link.Contains(left + textWidth + 1, 55));
}

TEST_F(DialogItemTest, CheckBoxClickFlipsAndReportsWhenImmediate)
{
    auto image = Strip(4, 10, 10);
    std::vector<DialogItem*> items;
    DialogItem quiet(&_dialog, DialogItem::kCheckBox, 0, 0, 3, 4, false);
    DialogItem loud(&_dialog, DialogItem::kCheckBox, 0, 20, 4, 4, true);
    for (DialogItem* box : {&quiet, &loud}) {
        box->SetImage(image.get());
        items.push_back(box);
    }
    EXPECT_TRUE(quiet.Set(&items, false, 0, 0));
    EXPECT_TRUE(quiet.GetChecked());
    EXPECT_TRUE(quiet.Set(&items, false, 0, 0));
    EXPECT_FALSE(quiet.GetChecked());
    EXPECT_TRUE(_dialog.immediate.empty());

    EXPECT_TRUE(loud.Set(&items, false, 0, 0));
    ASSERT_EQ(_dialog.immediate.size(), 1u);
    EXPECT_EQ(_dialog.immediate[0], &loud);
    EXPECT_TRUE(loud.GetChecked());
    EXPECT_TRUE(loud.IsDirty());
}

class RadioGroupTest : public DialogItemTest
{
protected:
    void SetUp() override
    {
        DialogItemTest::SetUp();
        _image = Strip(4, 10, 10);
        for (int value = 1; value <= 3; ++value) {
            auto radio = std::make_unique<DialogItem>(&_dialog, DialogItem::kRadio, 0, value * 20,
                                                      7, 4, value == 3);
            radio->SetValue(value);
            radio->SetImage(_image.get());
            _items.push_back(std::move(radio));
        }
        // A check box that shares the group's id is no member of it.
        auto box =
            std::make_unique<DialogItem>(&_dialog, DialogItem::kCheckBox, 0, 90, 7, 4, false);
        box->SetImage(_image.get());
        box->SetChecked(true);
        box->SetSavedChecked(true);
        _items.push_back(std::move(box));
    }

    DialogItem& Radio(int value) { return *_items[value - 1]; }
    DialogItem& Box() { return *_items[3]; }

    std::unique_ptr<Image> _image;
    std::vector<std::unique_ptr<DialogItem>> _items;
};

TEST_F(RadioGroupTest, InitialSelectionSetsCurrentAndSavedStates)
{
    Radio(1).SetChecked(true);
    Radio(1).SetSavedChecked(true);
    EXPECT_TRUE(Radio(2).Set(_items, true, -1, -1));
    EXPECT_FALSE(Radio(1).GetChecked());
    EXPECT_FALSE(Radio(1).GetSavedChecked());
    EXPECT_TRUE(Radio(2).GetChecked());
    EXPECT_TRUE(Radio(2).GetSavedChecked());
    EXPECT_EQ(_dialog.radioSetting, 2);
    EXPECT_TRUE(Box().GetChecked());
    EXPECT_TRUE(Box().GetSavedChecked());
}

TEST_F(RadioGroupTest, ClickLeavesSavedStatesForCancel)
{
    Radio(1).Set(_items, true, -1, -1);
    const int repaints = _dialog.repaintAll;
    EXPECT_TRUE(Radio(2).Set(_items, false, 0, 0));
    EXPECT_FALSE(Radio(1).GetChecked());
    EXPECT_TRUE(Radio(1).GetSavedChecked());
    EXPECT_TRUE(Radio(2).GetChecked());
    EXPECT_FALSE(Radio(2).GetSavedChecked());
    EXPECT_EQ(_dialog.radioSetting, 2);
    EXPECT_GT(_dialog.repaintAll, repaints);
    EXPECT_TRUE(_dialog.immediate.empty());
    EXPECT_TRUE(Box().GetChecked()) << "only radio buttons are cleared";

    // The raw-pointer list of the dialog works the same.
    std::vector<DialogItem*> raw;
    for (auto& item : _items) {
        raw.push_back(item.get());
    }
    EXPECT_TRUE(Radio(3).Set(&raw, false, 0, 0));
    EXPECT_FALSE(Radio(2).GetChecked());
    EXPECT_TRUE(Radio(3).GetChecked());
    ASSERT_EQ(_dialog.immediate.size(), 1u);
    EXPECT_EQ(_dialog.immediate[0], &Radio(3));
}

// ---- list boxes ----

TEST_F(DialogItemTest, ListBoxClickSelectsTheLineUnderTheMouse)
{
    auto list = ListBox(120, 4, {"e0", "e1", "e2", "e3", "e4"});
    // The line height is measured on the first click: no division by zero.
    EXPECT_TRUE(list->Set(nullptr, false, 150, LineY(2)));
    EXPECT_EQ(list->GetListBoxIndex(), 2);
    EXPECT_EQ(list->GetListBoxSelectedText(), "e2");
    ASSERT_EQ(_dialog.immediate.size(), 1u);

    EXPECT_FALSE(list->Set(nullptr, false, 150, LineY(2))) << "selection unchanged";
    EXPECT_EQ(_dialog.immediate.size(), 2u) << "reported for every line inside the entries";

    EXPECT_TRUE(list->Set(nullptr, false, 150, LineY(0)));
    EXPECT_TRUE(list->Set(nullptr, false, 150, LineY(0))) << "line 0 always counts";
    EXPECT_EQ(list->GetListBoxIndex(), 0);

    list->SetListBoxScrollPos(1);
    EXPECT_TRUE(list->Set(nullptr, false, 150, LineY(3)));
    EXPECT_EQ(list->GetListBoxSelectedText(), "e4") << "the first visible line counts";
}

TEST_F(DialogItemTest, ListBoxClickPastTheEntriesSelectsNothing)
{
    auto list = ListBox(120, 4, {"e0", "e1"});
    list->SetListBoxIndex(1);
    const size_t reports = _dialog.immediate.size();
    EXPECT_FALSE(list->Set(nullptr, false, 150, LineY(3)));
    EXPECT_EQ(list->GetListBoxIndex(), 1);
    EXPECT_EQ(_dialog.immediate.size(), reports);
}

TEST_F(DialogItemTest, ListBoxWithoutFontRefusesClicks)
{
    _dialog.entries = {"e0", "e1"};
    DialogItem list(&_dialog, DialogItem::kListBox, 10, 20, 8, 0, 120, 60, kWhite, 0, false);
    EXPECT_FALSE(list.Set(nullptr, false, 150, 75));
    EXPECT_EQ(list.GetListBoxNumLines(), 0);
    EXPECT_EQ(list.GetListBoxIndex(), 0);
}

TEST_F(DialogItemTest, ListBoxArrowColumnTakesNoClicks)
{
    auto list = ListBox(120, 4, {"e0", "e1", "e2"});
    const int left = 100 + 10;
    EXPECT_TRUE(list->Contains(left, LineY(1)));
    EXPECT_TRUE(list->Contains(left + 120 - 16, LineY(1))) << "edges included";
    for (int x = left + 120 - 15; x < left + 120; ++x) {
        EXPECT_FALSE(list->Contains(x, LineY(1))) << x;
    }
    EXPECT_FALSE(list->Contains(left + 20, 50 + 20 + 4 * _lineHeight + 1));
}

TEST_F(DialogItemTest, ListBoxIndexAcceptsOnlyEntries)
{
    auto list = ListBox(120, 4, {"e0", "e1", "e2"});
    list->SetListBoxIndex(2);
    list->SetListBoxIndex(-1);
    EXPECT_EQ(list->GetListBoxIndex(), 2);
    list->SetListBoxIndex(3);
    EXPECT_EQ(list->GetListBoxIndex(), 2);

    list->SetListBoxEntries({"x", "y"});
    EXPECT_EQ(_dialog.entries, (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(list->GetListBoxSelectedText(), "") << "the selection lies past the new entries";

    DialogItem text(&_dialog, DialogItem::kText, 0, 0, 0, 0, 0, false, 0, 2);
    EXPECT_EQ(text.GetListBoxIndex(), -1);
    EXPECT_EQ(text.GetListBoxNumLines(), 0);
    EXPECT_EQ(text.GetListBoxSelectedText(), "");
    text.SetListBoxEntries({"z"});
    EXPECT_EQ(_dialog.entries, (std::vector<std::string>{"x", "y"}));
}

TEST_F(DialogItemTest, ListBoxScrollsWithinItsEntries)
{
    std::vector<std::string> ten;
    for (int i = 0; i < 10; ++i) {
        ten.push_back("e" + std::to_string(i));
    }
    auto list = ListBox(120, 4, ten);
    EXPECT_EQ(list->GetListBoxNumLines(), 4);

    for (int i = 0; i < 8; ++i) {
        list->ListBoxScrollDown();
    }
    EXPECT_EQ(list->GetListBoxScrollPos(), 6);
    EXPECT_EQ(_dialog.arrowChecks, 6) << "arrows are checked after each scroll";

    list->ListBoxScrollUp();
    EXPECT_EQ(list->GetListBoxScrollPos(), 5);
    list->SetListBoxScrollPos(9);
    EXPECT_EQ(list->GetListBoxScrollPos(), 6);
    list->SetListBoxScrollPos(0);
    list->ListBoxScrollUp();
    EXPECT_EQ(list->GetListBoxScrollPos(), 0);

    auto shortList = ListBox(120, 4, {"a", "b"});
    shortList->ListBoxScrollDown();
    EXPECT_EQ(shortList->GetListBoxScrollPos(), 0);
    shortList->SetListBoxScrollPos(5);
    EXPECT_EQ(shortList->GetListBoxScrollPos(), 0);
}

TEST_F(DialogItemTest, ListBoxPaintsBarEntriesAndArrowColumn)
{
    const Color blue(0, 0, 255);
    const auto greenish = [](const Color& c) {
        return c.GetG() > c.GetR() + 60 && c.GetG() > c.GetB() + 60;
    };
    for (int depth : {0, 1}) {
        SCOPED_TRACE(depth);
        _dialog.entries = {"e0", "e1", "e2"};
        DialogItem list(&_dialog, DialogItem::kListBox, 0, 0, 8, 0, 120, 4 * _lineHeight, kWhite, 0,
                        false);
        list.SetTextProperties(" ", _font.get(), kBlack, depth);
        list.SetListBoxHilightCol(blue);
        list.SetListBoxIndex(1);
        ClearCanvas();
        ASSERT_TRUE(list.Paint(_canvas.get(), 0, 0, true));
        const int barY = 4 - 2 + _lineHeight + 1;
        EXPECT_TRUE(SameRgb(PixelAt(1, barY), blue));
        EXPECT_TRUE(SameRgb(PixelAt(103, barY), blue));
        EXPECT_TRUE(SameRgb(PixelAt(104, barY), kBlack)) << "the arrow column's outline";
        EXPECT_TRUE(SameRgb(PixelAt(110, barY), kWhite)) << "the bar stops 16 pixels short";
        EXPECT_TRUE(SameRgb(PixelAt(0, 5), kBlack));
        EXPECT_TRUE(SameRgb(PixelAt(119, 5), kBlack));
        // Entries are centred in the width left of the arrow column.
        const auto dark = [](const Color& c) {
            return c.GetR() < 100 && c.GetG() < 100 && c.GetB() < 100;
        };
        EXPECT_TRUE(Any(40, 64, 4, 4 + _lineHeight, dark));
        EXPECT_FALSE(Any(2, 30, 2, 4 * _lineHeight - 2, dark));
        EXPECT_FALSE(HasInk(120, 240, 0, 160));
        EXPECT_EQ(Any(1, 103, 1, 4 * _lineHeight - 1, greenish), depth > 0);
    }
}

// ---- text input ----

TEST_F(DialogItemTest, TextInputTakesPrintableCharactersOnly)
{
    struct Case
    {
        bool alphaNumericOnly;
        unsigned short key;
        bool taken;
        std::string text;
    };
    const Case cases[] = {
        {false, 'a', true, "a"}, {false, '!', true, "!"}, {false, ' ', true, " "},
        {false, 13, false, ""},  {false, 27, false, ""},  {false, 8, false, ""},
        {false, 127, false, ""}, {false, 0, false, ""},   {false, 0xE9, false, ""},
        {true, 'Z', true, "Z"},  {true, '7', true, "7"},  {true, '_', true, "_"},
        {true, ' ', true, " "},  {true, '!', false, ""},  {true, 13, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "alphanumeric " << c.alphaNumericOnly << " key " << c.key);
        auto input = TextInput(200, 10, c.alphaNumericOnly);
        EXPECT_EQ(input->TypeCharacter(c.key), c.taken);
        EXPECT_EQ(input->GetText(), c.text);
    }
}

TEST_F(DialogItemTest, TextInputEditsWithinItsLimits)
{
    auto input = TextInput(300, 10, true);
    EXPECT_TRUE(input->EraseLastCharacter()) << "handled on an empty input";
    EXPECT_EQ(input->GetText(), "");
    for (char c : std::string("abcdefghijkl")) {
        EXPECT_TRUE(input->TypeCharacter(static_cast<unsigned short>(c)));
    }
    EXPECT_EQ(input->GetText(), "abcdefghij");
    EXPECT_TRUE(input->EraseLastCharacter());
    EXPECT_EQ(input->GetText(), "abcdefghi");
    EXPECT_EQ(input->GetMaxChars(), 10);

    DialogItem text(&_dialog, DialogItem::kText, 0, 0, 0, 0, 0, false, 0, 2);
    text.SetTextProperties("x", _font.get(), kBlack, 0);
    EXPECT_FALSE(text.TypeCharacter('a'));
    EXPECT_FALSE(text.EraseLastCharacter());
    EXPECT_EQ(text.GetText(), "x");
}

TEST_F(DialogItemTest, TextInputCutsTextThatDoesNotFitItsBox)
{
    auto input = TextInput(100, 100, true);
    for (int i = 0; i < 30; ++i) {
        input->TypeCharacter('W');
    }
    const std::string kept = input->GetText();
    ASSERT_FALSE(kept.empty());
    EXPECT_LE(_font->TextDim(kept).GetW(), 74);
    EXPECT_GT(_font->TextDim(kept + "W").GetW(), 74);
}

TEST_F(DialogItemTest, TextInputPaintsBoxTextAndCaret)
{
    const Color red(200, 0, 0);
    auto input = TextInput(120, 10, true);
    input->TypeCharacter('i');
    ASSERT_TRUE(input->Paint(_canvas.get(), 0, 0, true));
    EXPECT_EQ(input->GetPaintRect(), Rectangle(0, 0, 120, 24));
    const int caretX = 7 + _font->TextDim("i").GetW() + 1;
    EXPECT_TRUE(SameRgb(PixelAt(caretX, 12), red));
    EXPECT_TRUE(SameRgb(PixelAt(caretX, 2), kWhite)) << "the caret starts 3 pixels down";
    EXPECT_TRUE(SameRgb(PixelAt(100, 12), kWhite));
    EXPECT_TRUE(SameRgb(PixelAt(121, 12), kBackground));

    input->SetCaret(false);
    EXPECT_TRUE(input->IsDirty());
    ASSERT_TRUE(input->Paint(_canvas.get(), 0, 0, true));
    EXPECT_TRUE(SameRgb(PixelAt(caretX, 12), kWhite));
}

// ---- small state operations ----

TEST_F(DialogItemTest, KindSpecificSettersIgnoreOtherKinds)
{
    auto image = Strip(4, 10, 10);
    DialogItem box(&_dialog, DialogItem::kCheckBox, 0, 0, 3, 4, false);
    box.SetExit(5);
    EXPECT_EQ(box.GetExit(), 0);
    DialogItem button(&_dialog, DialogItem::kButton, 0, 0, 1, 4, false);
    button.SetExit(5);
    EXPECT_EQ(button.GetExit(), 5);

    button.SetImage(image.get());
    ASSERT_TRUE(button.Paint(_canvas.get(), 0, 0, true));
    button.SetCaret(false);
    EXPECT_FALSE(button.IsDirty()) << "the caret belongs to text inputs";
}

TEST_F(DialogItemTest, HoverChangeRepaintsTheButtonArea)
{
    auto image = Strip(4, 10, 12);
    DialogItem button(&_dialog, DialogItem::kButton, 20, 30, 1, 4, false);
    button.SetImage(image.get());
    EXPECT_TRUE(button.SwapImages(true));
    EXPECT_FALSE(button.SwapImages(true));
    EXPECT_TRUE(button.SwapImages(false));
    ASSERT_EQ(_dialog.repaintAreas.size(), 2u);
    EXPECT_EQ(_dialog.repaintAreas[0], Rectangle(20, 30, 10, 12));
}

TEST_F(DialogItemTest, ShadowColourIsTheDialogsSecondColourAtConstruction)
{
    _dialog.second = Color(10, 20, 230);
    DialogItem text(&_dialog, DialogItem::kText, 0, 0, 0, 0, 0, false, 0, 2);
    _dialog.second = Color(0, 220, 0);
    text.SetTextProperties("l", _font.get(), kBlack, 2);
    _canvas->Clear(kWhite);
    ASSERT_TRUE(text.Paint(_canvas.get(), 0, 0, true));
    EXPECT_TRUE(Any(0, 40, 0, 40, [](const Color& c) {
        return c.GetB() > c.GetR() + 60 && c.GetB() > c.GetG() + 60;
    }));
    EXPECT_FALSE(Any(0, 40, 0, 40, [](const Color& c) { return c.GetG() > c.GetR() + 60; }));
}

// ---- ownership ----

TEST(DialogItemOwnershipTest, FlaggedItemDeletesItsImagesOnce)
{
    FakeDialog dialog;
    Image* track = Plain(30, 6, Color(255, 0, 0)).release();
    Image* second = Plain(30, 6, Color(0, 0, 255)).release();
    auto* slider = new DialogItem(&dialog, DialogItem::kSlider, 0, 0, 11, 1, true);
    // The track serves as thumb too: it must be deleted once.
    slider->InitSlider(track, second, track, 50, true, 0);
    slider->SetMustDestroyImage(true);
    delete slider;
    Debug::CloseDebugFile();
    const std::string log = testsupport::ReadFile("debug.txt");
    EXPECT_EQ(log.find("Not Cleaned UP"), std::string::npos) << log;
    EXPECT_NE(log.find("Total objects used"), std::string::npos);
}

TEST(DialogItemOwnershipTest, UnflaggedItemLeavesItsImages)
{
    FakeDialog dialog;
    auto image = Strip(4, 10, 10);
    {
        DialogItem button(&dialog, DialogItem::kButton, 0, 0, 1, 4, false);
        button.SetImage(image.get());
    }
    EXPECT_EQ(image->GetSurfaceW(), 40);
}

} // namespace
