#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/Control.h"
#include "framework/dialogs/ControlBackground.h"
#include "framework/dialogs/DialogItem.h"
#include "tests/dialogs/ControlTestSupport.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace controltest;

namespace {

// Opens the protected factory of a single control.
class ConfigDialog : public CastMemberDialog
{
public:
    explicit ConfigDialog(Cast* cast) : CastMemberDialog(cast, 9, nullptr, nullptr) {}
    using CastMemberDialog::CreateControlFromConfig;
};

class CastMemberDialogConfigTest : public ControlFixture
{
};

std::vector<std::string> Texts(CastMemberDialog* dialog)
{
    std::vector<std::string> texts;
    for (const auto& item : dialog->GetItems()) {
        texts.push_back(item->GetText());
    }
    return texts;
}

} // namespace

TEST_F(CastMemberDialogConfigTest, ListKeysBuildInByteOrderAndEveryKeyCounts)
{
    ConfigFile* file = Description("[list]\nb2=two\nb10=ten\na=first\n"
                                   "[first]\ntype=label\nstr=A\n"
                                   "[ten]\ntype=label\nstr=B10\n"
                                   "[two]\ntype=label\nstr=B2\n");
    CastMemberDialog* dialog = NewDialog();
    EXPECT_EQ(dialog->AddControlsFromConfig(file, "list"), 3);
    EXPECT_EQ(Texts(dialog), (std::vector<std::string>{"A", "B10", "B2"}));
}

TEST_F(CastMemberDialogConfigTest, EntriesWithoutControlCountAndDoNotEndTheList)
{
    ConfigFile* file = Description("[list]\na=first\nb=_end_\nc=notype\nd=last\n"
                                   "[first]\ntype=label\nstr=A\n"
                                   "[notype]\nstr=ignored\n"
                                   "[last]\ntype=label\nstr=D\n");
    CastMemberDialog* dialog = NewDialog();
    EXPECT_EQ(dialog->AddControlsFromConfig(file, "list"), 4);
    EXPECT_EQ(Texts(dialog), (std::vector<std::string>{"A", "D"}));
    EXPECT_EQ(LogLines("unknown type"), 0) << "\"0\" is no control, not a fault";
}

TEST_F(CastMemberDialogConfigTest, EmptyOrMissingListBuildsNothing)
{
    ConfigFile* file = Description("[list]\n");
    CastMemberDialog* dialog = NewDialog();
    EXPECT_EQ(dialog->AddControlsFromConfig(file, "list"), 0);
    EXPECT_EQ(dialog->AddControlsFromConfig(file, "nosuchlist"), 0);
    EXPECT_EQ(dialog->AddControlsFromConfig(nullptr, "list"), 0);
    EXPECT_TRUE(dialog->GetItems().empty());
    EXPECT_EQ(dialog->GetBackgroundControl(), nullptr);
}

TEST_F(CastMemberDialogConfigTest, TypeWordsSelectTheirKindExactly)
{
    const std::string sections = "[label]\ntype=label\nstr=L\n"
                                 "[capital]\ntype=Button\nimg=img/button.png\n"
                                 "[blank]\ntype= button\nimg=img/button.png\n"
                                 "[zero]\ntype=0\n"
                                 "[none]\nstr=x\n";
    const struct
    {
        const char* section;
        int kind; // -1: no control
        bool logged;
    } cases[] = {{"label", Control::kLabel, false},
                 {"capital", -1, true},
                 {"blank", -1, true},
                 {"zero", -1, false},
                 {"none", -1, false}};
    ConfigFile* file = Description(sections);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.section);
        ConfigDialog dialog(cast);
        std::unique_ptr<Control> control(dialog.CreateControlFromConfig(file, c.section));
        if (c.kind < 0) {
            EXPECT_EQ(control, nullptr);
            EXPECT_TRUE(dialog.GetItems().empty());
        } else {
            ASSERT_NE(control, nullptr);
            EXPECT_EQ(control->GetKind(), c.kind);
            EXPECT_EQ(control->GetItem(), dialog.GetItems().front().get()) << "loaded and added";
        }
        const std::string line = std::string("section ") + c.section + " has the unknown type";
        EXPECT_EQ(LogLines(line), c.logged ? 1 : 0);
    }
}

TEST_F(CastMemberDialogConfigTest, LaterEnterButtonWinsAndOneButtonMayServeBothKeys)
{
    ConfigFile* file = Description("[list]\nb1=first\nb2=second\nb3=third\n"
                                   "[first]\ntype=button\nimg=img/button.png\nid=1\nenter=1\n"
                                   "[second]\ntype=button\nimg=img/button.png\nid=2\nenter=1\n"
                                   "esc=1\n"
                                   "[third]\ntype=button\nid=3\nenter=1\n");
    CastMemberDialog* dialog = NewDialog();
    EXPECT_EQ(dialog->AddControlsFromConfig(file, "list"), 3);
    DialogItem* second = dialog->GetItemByID(2);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(dialog->GetEnterKeyItem(), second)
        << "the later button; the third has no image and binds nothing";
    EXPECT_EQ(dialog->GetEscKeyItem(), second);
    EXPECT_EQ(LogLines("Control third (kind 3) not added to the dialog"), 1);
}

TEST_F(CastMemberDialogConfigTest, TheBackgroundControlSetsTheDialogsTilesShadowAndFades)
{
    // "background" has no "type" of its own: the skin's section gives it, and its tiles.
    ConfigFile* file = Description("[list]\na=background\n[background]\nfadetime=300\n");
    CastMemberDialog* dialog = NewDialog();
    EXPECT_EQ(dialog->AddControlsFromConfig(file, "list"), 1);
    ControlBackground* background = dialog->GetBackgroundControl();
    ASSERT_NE(background, nullptr);
    ASSERT_NE(background->GetTileImage(), nullptr);
    EXPECT_EQ(background->GetTileCols(), 3);
    EXPECT_EQ(background->GetW(), 16);
    EXPECT_EQ(dialog->GetShadowPos(), Point(5, 6));
    EXPECT_EQ(dialog->GetFadeInTime(), 300);
    EXPECT_EQ(dialog->GetFadeOutTime(), 300);
    EXPECT_TRUE(dialog->GetItems().empty());

    dialog->Clear();
    EXPECT_EQ(dialog->GetBackgroundControl(), nullptr) << "the dialog deleted its controls";
}

TEST_F(CastMemberDialogConfigTest, FixtureDescriptionBuildsEveryKind)
{
    ConfigFile* file = FixtureDescription();
    CastMemberDialog* dialog = NewDialog();
    EXPECT_EQ(dialog->AddControlsFromConfig(file, "controls"), 12);

    std::map<int, int> types;
    for (const auto& item : dialog->GetItems()) {
        ++types[item->GetType()];
    }
    const std::map<int, int> expected = {
        {DialogItem::kText, 1},  {DialogItem::kTextBox, 1},   {DialogItem::kCheckBox, 1},
        {DialogItem::kRadio, 4}, {DialogItem::kTextInput, 1}, {DialogItem::kSlider, 1},
        {DialogItem::kImage, 1}, {DialogItem::kButton, 2},
    };
    EXPECT_EQ(types, expected);
    ASSERT_NE(dialog->GetBackgroundControl(), nullptr);
    EXPECT_NE(dialog->GetBackgroundControl()->GetImage(), nullptr);
    EXPECT_EQ(dialog->GetEnterKeyItem(), dialog->GetItemByID(1)) << "from the skin's okbutton";
    EXPECT_EQ(dialog->GetEscKeyItem(), dialog->GetItemByID(2));
    EXPECT_EQ(dialog->GetFadeInTime(), 250);
}

TEST_F(CastMemberDialogConfigTest, MissingImagesAndFontsAreLoggedRefusalsNotCrashes)
{
    ConfigFile* file =
        Description("[list]\n1=label\n2=button\n3=check\n4=radio\n5=set\n6=input\n7=box\n8=slider\n"
                    "9=anim\n10=bg\n"
                    "[label]\ntype=label\nstr=Hi\nfont=fonts/none.ttf\n"
                    "[button]\ntype=button\nimg=img/none.png\nenter=1\n"
                    "[check]\ntype=checkbox\nstr=Hi\nimg=img/none.png\n"
                    "[radio]\ntype=radio\nstr=Hi\nimg=img/none.png\n"
                    "[set]\ntype=radioset\ntext1=A\ntext2=B\nimg=img/none.png\n"
                    "[input]\ntype=input\ndim=100,20\nfont=fonts/none.ttf\n"
                    "[box]\ntype=textbox\nstr=Hi\ndim=100,40\n"
                    "[slider]\ntype=slider\nleftimage=img/none.png\nknobimage=img/none.png\n"
                    "[anim]\ntype=animation\nimg=img/none.png\n"
                    "[bg]\ntype=background\nimg=img/none.png\ntileimage=img/none.png\n");
    CastMemberDialog* dialog = NewDialog();
    EXPECT_EQ(dialog->AddControlsFromConfig(file, "list"), 10);
    EXPECT_EQ(LogLines("did not load; not used"), 9);
    EXPECT_EQ(LogLines("did not open; not used"), 2);
    // The label, the input and the text box keep the theme's font and are added.
    EXPECT_EQ(dialog->GetItems().size(), 3u);
    // The button, check box, radio, slider and animation once, the radio set per button.
    EXPECT_EQ(LogLines("not added to the dialog"), 7);
    EXPECT_EQ(dialog->GetEnterKeyItem(), nullptr);

    dialog->Show(0, 0, -1, -1, false);
    FrameAt(clock.Now() + 10);
    EXPECT_TRUE(dialog->IsShown());
}
