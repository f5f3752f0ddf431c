#include "framework/dialogs/CastMemberDialogResizable.h"
#include "framework/dialogs/DialogItem.h"
#include "mahjong/app/MjGameScript.h"
#include "tests/mahjong/support/FlowHarness.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace {

class PopupLayoutTest : public mjtest::FlowHarness
{
};

// A line of the popups' text (the theme's 18-point font) from its top.
constexpr int kLineHeight = 22;

} // namespace

// Every popup of a running game shows each of its buttons whole inside its frame, apart from
// the other button and below its text, so that a click reaches the button it sees.
TEST_F(PopupLayoutTest, ButtonsStandApartInsideTheirFrameBelowTheText)
{
    MakeScreen();
    MjGameScript* s = script;
    const char* sections[] = {"mainmenuprompt", "mainmenudeath", "quitprompt",
                              "quitdeath",      "replayboard",   "nzchooseboardconfirmation",
                              "youwinnewboard", "timesup",       "offerlife",
                              "zorvylose",      "paused",        "BonusMessage",
                              "BricksBlock",    "Magnet",        "welcome",
                              "triples",        "specialcells"};
    for (const char* section : sections) {
        SCOPED_TRACE(section);
        s->ShowPopup(section, 200, 0, -1, -1);
        CastMemberDialogResizable* popup = s->GetPromptDialog();
        ASSERT_NE(popup, nullptr);
        const int w = popup->GetW(), h = popup->GetH();
        int textBottom = 0;
        for (const auto& item : popup->GetItems()) {
            if (item->GetType() == DialogItem::kText) {
                textBottom = std::max(textBottom, item->GetY() + kLineHeight);
            }
        }
        std::vector<DialogItem*> buttons;
        for (const auto& item : popup->GetItems()) {
            if (item->GetType() == DialogItem::kButton) {
                buttons.push_back(item.get());
            }
        }
        ASSERT_FALSE(buttons.empty());
        for (size_t n = 0; n < buttons.size(); ++n) {
            const DialogItem& b = *buttons[n];
            EXPECT_GE(b.GetX(), 0);
            EXPECT_LE(b.GetX() + b.GetFrameWidth(), w);
            EXPECT_GE(b.GetY(), textBottom) << "text reaches " << textBottom;
            EXPECT_LE(b.GetY() + b.GetFrameHeight(), h);
            for (size_t m = n + 1; m < buttons.size(); ++m) {
                const DialogItem& o = *buttons[m];
                const bool apart = b.GetX() + b.GetFrameWidth() <= o.GetX() ||
                                   o.GetX() + o.GetFrameWidth() <= b.GetX() ||
                                   b.GetY() + b.GetFrameHeight() <= o.GetY() ||
                                   o.GetY() + o.GetFrameHeight() <= b.GetY();
                EXPECT_TRUE(apart) << "buttons at " << b.GetX() << "," << b.GetY() << " and "
                                   << o.GetX() << "," << o.GetY();
            }
        }
        Run(10);
    }
}
