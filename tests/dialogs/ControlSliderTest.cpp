#include "framework/dialogs/ControlSlider.h"

#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "tests/dialogs/ControlTestSupport.h"

#include <gtest/gtest.h>
#include <string>

using namespace controltest;

namespace {

class ControlSliderTest : public ControlFixture
{
};

const char* const kSlider = "[s]\nleftimage=img/sliderleft.png\nrightimage=img/sliderright.png\n"
                            "knobimage=img/knob.png\nknoboffset=-4\nknobleftrightoffset=10\n"
                            "pos=30,40\nid=50\n";

} // namespace

TEST_F(ControlSliderTest, SliderStartsAtFiftyWithItsImagesAndSize)
{
    ConfigFile* file = Description(kSlider);
    ControlSlider slider;
    EXPECT_TRUE(slider.Load(file, "s"));
    EXPECT_EQ(slider.GetKind(), Control::kSlider);
    EXPECT_EQ(slider.GetW(), 120);
    EXPECT_EQ(slider.GetH(), 12);
    EXPECT_EQ(slider.GetKnobOffset(), -4);
    EXPECT_EQ(slider.GetKnobSideOffset(), 10);
    EXPECT_FALSE(slider.IsHorizontal()) << "no \"orientation\": vertical";
    for (Image* image : {slider.GetLeftImage(), slider.GetRightImage(), slider.GetKnobImage()}) {
        ASSERT_NE(image, nullptr);
        EXPECT_TRUE(image->GetCanvas()->GetSurface()->flags & SDL_SRCCOLORKEY)
            << "drawn transparent";
    }

    slider.AddTo(NewDialog());
    DialogItem* item = slider.GetItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetType(), DialogItem::kSlider);
    EXPECT_EQ(item->GetID(), 50);
    EXPECT_EQ(item->GetSliderValue(), 50);
    EXPECT_EQ(item->GetImage(), slider.GetLeftImage());
    EXPECT_EQ(item->GetX(), 30);
}

TEST_F(ControlSliderTest, OrientationNotZeroIsHorizontal)
{
    const struct
    {
        const char* value;
        bool horizontal;
    } cases[] = {{"1", true}, {"2", true}, {"0.5", true}, {"0", false}, {"abc", false}};
    for (const auto& c : cases) {
        ConfigFile* file = Description(std::string(kSlider) + "orientation=" + c.value + "\n");
        ControlSlider slider;
        slider.Load(file, "s");
        EXPECT_EQ(slider.IsHorizontal(), c.horizontal) << "orientation=" << c.value;
    }
}

TEST_F(ControlSliderTest, AddedWithTheCallersIdAndValue)
{
    ConfigFile* file = Description(kSlider);
    ControlSlider slider;
    slider.Load(file, "s");
    slider.AddTo(NewDialog(), 51, 80);
    ASSERT_NE(slider.GetItem(), nullptr);
    EXPECT_EQ(slider.GetID(), 51);
    EXPECT_EQ(slider.GetItem()->GetID(), 51);
    EXPECT_EQ(slider.GetItem()->GetSliderValue(), 80);
}

TEST_F(ControlSliderTest, WithoutTrackImageNothingIsAdded)
{
    ConfigFile* file = Description("[s]\nknobimage=img/knob.png\n");
    ControlSlider slider;
    EXPECT_FALSE(slider.Load(file, "s"));
    EXPECT_EQ(slider.GetW(), 0);
    EXPECT_EQ(slider.GetH(), 0);

    CastMemberDialog* dialog = NewDialog();
    slider.AddTo(dialog);
    EXPECT_EQ(slider.GetItem(), nullptr);
    EXPECT_TRUE(dialog->GetItems().empty());
    EXPECT_EQ(LogLines("Control s (kind 9) not added to the dialog: no track image"), 1);
}
