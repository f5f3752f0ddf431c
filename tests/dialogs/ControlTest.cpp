#include "framework/dialogs/Control.h"

#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/ControlLabel.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "tests/dialogs/ControlTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <string>

using namespace controltest;

namespace {

class ControlTest : public ControlFixture
{
};

// A control of no kind, to reach the image and font factories.
class ProbeControl : public Control
{
public:
    void AddTo(CastMemberDialog* /*dialog*/) override {}
    Image* Image_(ConfigFile* file, Image* current, const std::string& key)
    {
        return NewImage(file, current, "probe", key, false, 1, 1);
    }
    Font* Font_(ConfigFile* file, Font* current)
    {
        return NewFont(file, current, "probe", "font", "fontsize", "fontstyle");
    }
};

// An image that tells when it is deleted.
class TrackedImage : public Image
{
public:
    explicit TrackedImage(bool* deleted) : Image("img/knob.png", nullptr), _deleted(deleted) {}
    ~TrackedImage() override { *_deleted = true; }

private:
    bool* _deleted;
};

int FontHeight(int size)
{
    Font font("fonts/sans.ttf", size);
    return font.GetH();
}

} // namespace

// --- the keys every kind shares ---

TEST_F(ControlTest, SectionWithOnlyTypeGivesTheDefaults)
{
    ConfigFile* file = Description("[bare]\ntype=label\n");
    ControlLabel label;
    EXPECT_FALSE(label.Load(file, "bare")) << "no text of its own";

    EXPECT_EQ(label.GetPosition(), Point(-1, -1));
    EXPECT_EQ(label.GetID(), 0);
    EXPECT_EQ(label.GetPin(), 0);
    EXPECT_FALSE(label.GetNoMargins());
    EXPECT_TRUE(label.GetVisible());
    EXPECT_TRUE(label.IsEnabled());
    EXPECT_EQ(label.GetKind(), Control::kLabel);
    EXPECT_EQ(label.GetText(), "empty");
    EXPECT_EQ(label.GetSize(), Dimension(0, 0)) << "a missing \"dim\" is 0 x 0, not 40 x 15";
    EXPECT_EQ(label.GetItem(), nullptr);

    CastMemberDialog* dialog = NewDialog();
    label.AddTo(dialog);
    ASSERT_NE(label.GetItem(), nullptr);
    EXPECT_EQ(label.GetItem()->GetText(), "empty");
    EXPECT_TRUE(label.GetItem()->GetVisible());
    EXPECT_FALSE(label.GetItem()->GetInactive());
}

TEST_F(ControlTest, CommonKeysAreReadAndReachTheItem)
{
    ConfigFile* file = Description("[t]\ntype=label\nstr=Hi\npos=12, 34\nid=7.9\npin=3\n");
    ControlLabel label;
    EXPECT_TRUE(label.Load(file, "t"));
    EXPECT_EQ(label.GetPosition(), Point(12, 34));
    EXPECT_EQ(label.GetID(), 7) << "truncated";
    EXPECT_EQ(label.GetPin(), 3);

    CastMemberDialog* dialog = NewDialog();
    label.AddTo(dialog);
    DialogItem* item = label.GetItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetX(), 12);
    EXPECT_EQ(item->GetY(), 34);
    EXPECT_EQ(item->GetID(), 7);
    EXPECT_EQ(dialog->GetItemByID(7), item);

    label.Move(50, 60);
    EXPECT_EQ(item->GetX(), 50);
    EXPECT_EQ(item->GetY(), 60);
}

TEST_F(ControlTest, NoMarginsOnlyForExactlyOne)
{
    const struct
    {
        const char* value;
        bool noMargins;
    } cases[] = {{"1", true},  {"1.0", true},  {"2", false},
                 {"0", false}, {"1.5", false}, {"yes", false}};
    for (const auto& c : cases) {
        ConfigFile* file = Description(std::string("[t]\nstr=x\nnomargins=") + c.value + "\n");
        ControlLabel label;
        label.Load(file, "t");
        EXPECT_EQ(label.GetNoMargins(), c.noMargins) << "nomargins=" << c.value;
    }
}

TEST_F(ControlTest, VisibleZeroHidesTheItemAnyOtherNumberShowsIt)
{
    const struct
    {
        const char* value;
        bool visible;
    } cases[] = {{"0", false}, {"1", true}, {"5", true}, {"-1", true}};
    CastMemberDialog* dialog = NewDialog();
    for (const auto& c : cases) {
        ConfigFile* file = Description(std::string("[t]\nstr=x\nvisible=") + c.value + "\n");
        ControlLabel label;
        label.Load(file, "t");
        label.AddTo(dialog);
        ASSERT_NE(label.GetItem(), nullptr);
        EXPECT_EQ(label.GetItem()->GetVisible(), c.visible) << "visible=" << c.value;
    }
}

// --- label style: own section, parent's section, theme's "controllabel", built-in ---

TEST_F(ControlTest, LabelStyleComesFromOwnSectionThenParentThenThemeThenBuiltIn)
{
    const struct
    {
        const char* what;
        const char* description;
        const char* section;
        Color colour;
        int justification;
        int shadowDepth;
        Color shadowColour;
        int fontSize;
    } cases[] = {
        {"nothing of its own, no parent section", "[plain]\nstr=Plain\n", "plain", kThemeColour,
         kBuiltInJustification, kThemeShadowDepth, kThemeShadowColour, kThemeFontSize},
        // The parent's "title" gives a colour, and a size without a font, which makes no font.
        {"the parent's section of the same name", "[title]\nstr=Title\n", "title", Color(200, 0, 0),
         kBuiltInJustification, kThemeShadowDepth, kThemeShadowColour, kThemeFontSize},
        {"its own colour over the parent's", "[title]\nstr=Title\ncol=1,2,3\n", "title",
         Color(1, 2, 3), kBuiltInJustification, kThemeShadowDepth, kThemeShadowColour,
         kThemeFontSize},
        {"everything of its own",
         "[own]\nstr=Own\ncol=1,2,3\njustify=3\nshadowdepth=0\nshadowcol=4,5,6\n"
         "font=fonts/sans.ttf\nfontsize=30\n",
         "own", Color(1, 2, 3), 3, 0, Color(4, 5, 6), 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ConfigFile* file = Description(c.description);
        ControlLabel label;
        EXPECT_TRUE(label.Load(file, c.section));
        EXPECT_TRUE(SameRgb(label.GetColour(), c.colour));
        EXPECT_EQ(label.GetJustification(), c.justification);
        EXPECT_EQ(label.GetShadowDepth(), c.shadowDepth);
        EXPECT_TRUE(SameRgb(label.GetShadowColour(), c.shadowColour));
        ASSERT_NE(label.GetFont(), nullptr);
        EXPECT_EQ(label.GetFont()->GetH(), FontHeight(c.fontSize));
    }
}

TEST_F(ControlTest, LabelIsMeasuredByTheItemsCurrentText)
{
    ConfigFile* file = Description("[t]\nstr=Short\npos=5,5\ndim=100,20\n");
    ControlLabel label;
    ASSERT_TRUE(label.Load(file, "t"));
    EXPECT_EQ(label.GetSize(), Dimension(100, 20));
    CastMemberDialog* dialog = NewDialog();
    label.AddTo(dialog);
    ASSERT_NE(label.GetItem(), nullptr);
    EXPECT_EQ(label.GetItem()->GetText(), "Short");

    Font* font = label.GetFont();
    EXPECT_EQ(label.GetW(), font->TextDim("Short").GetW());
    EXPECT_EQ(label.GetH(), font->TextDim("Short").GetH());
    label.GetItem()->SetText("A much longer text");
    EXPECT_EQ(label.GetW(), font->TextDim("A much longer text").GetW());
}

TEST_F(ControlTest, EmptyTextStillMakesTheLabel)
{
    ConfigFile* file = Description("[t]\nstr=\n");
    ControlLabel label;
    EXPECT_TRUE(label.Load(file, "t"));
    label.AddTo(NewDialog());
    ASSERT_NE(label.GetItem(), nullptr);
    EXPECT_EQ(label.GetItem()->GetText(), "");
}

// --- missing fonts and images ---

TEST_F(ControlTest, FontThatDoesNotOpenIsLoggedAndTheThemeFontKept)
{
    ConfigFile* file = Description("[t]\nstr=Hi\nfont=fonts/missing.ttf\nfontsize=40\n");
    ControlLabel label;
    EXPECT_TRUE(label.Load(file, "t"));
    ASSERT_NE(label.GetFont(), nullptr);
    EXPECT_EQ(label.GetFont()->GetH(), FontHeight(kThemeFontSize));
    EXPECT_EQ(LogLines("the font of t/font did not open"), 1);
    label.AddTo(NewDialog());
    EXPECT_NE(label.GetItem(), nullptr);
}

TEST_F(ControlTest, LabelWithoutAnyFontIsRefusedAndLogged)
{
    // A theme that names no font, read on first use.
    ASSERT_TRUE(testsupport::WriteFile("cfg/skin.cfg", "[controllabel]\ncol=1,1,1\n"));
    ConfigFile* file = Description("[t]\nstr=Hi\n");
    ControlLabel label;
    EXPECT_TRUE(label.Load(file, "t"));
    EXPECT_EQ(label.GetFont(), nullptr);

    CastMemberDialog* dialog = NewDialog();
    label.AddTo(dialog);
    EXPECT_EQ(label.GetItem(), nullptr);
    EXPECT_TRUE(dialog->GetItems().empty());
    EXPECT_EQ(LogLines("Control t (kind 6) not added to the dialog: no font"), 1);
    EXPECT_EQ(label.GetW(), 0);
    EXPECT_EQ(label.GetH(), 0);
    label.Move(10, 10);
}

TEST_F(ControlTest, NewImageKeepsTheCurrentImageUnlessANewOneLoads)
{
    ConfigFile* file = Description("[probe]\nimg=img/anim.png\nbroken=img/missing.png\nempty=\n");
    ProbeControl probe;
    bool deleted = false;
    Image* current = new TrackedImage(&deleted);

    for (const char* key : {"absent", "empty", "broken"}) {
        EXPECT_EQ(probe.Image_(file, current, key), current) << key;
        EXPECT_FALSE(deleted) << key;
    }
    EXPECT_EQ(LogLines("the image of probe/broken did not load"), 1);

    Image* loaded = probe.Image_(file, current, "img");
    ASSERT_NE(loaded, nullptr);
    EXPECT_NE(loaded, current);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(loaded->GetW(), 80);
    delete loaded;
}

TEST_F(ControlTest, NewFontKeepsTheCurrentFontWithoutAFontFile)
{
    ConfigFile* file = Description("[probe]\nfontsize=30\n");
    ProbeControl probe;
    auto* current = new Font("fonts/sans.ttf", 10);
    EXPECT_EQ(probe.Font_(file, current), current);
    EXPECT_EQ(probe.Font_(file, nullptr), nullptr);

    ConfigFile* withFont = Description("[probe]\nfont=fonts/sans.ttf\nfontsize=30\n");
    Font* font = probe.Font_(withFont, current); // deletes current
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->GetH(), FontHeight(30));
    delete font;
}
