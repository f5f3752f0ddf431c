#include "framework/dialogs/DialogAttributes.h"

#include "SDL.h"
#include "framework/core/Color.h"
#include "framework/core/Debug.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

using testsupport::SameRgba;

// Image files "a.bmp" ... "f.bmp" of 8 x 8 pixels, and a 32-bit default pixel format.
class DialogAttributesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        _format32 = SDL_CreateRGBSurface(0, 1, 1, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
        Canvas::SetDefaultPixelFormat(_format32->format);
        for (const char* name : {"a", "b", "c", "d", "e", "f", "g"}) {
            SDL_Surface* s = SDL_CreateRGBSurface(0, 8, 8, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
            SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 10, 200, 30));
            ASSERT_TRUE(testsupport::SavePng(s, (std::string(name) + ".bmp").c_str()));
            SDL_FreeSurface(s);
        }
    }
    void TearDown() override
    {
        Canvas::SetDefaultPixelFormat(nullptr);
        SDL_FreeSurface(_format32);
    }

    // Closes the shared log and gives back the object report's complaints.
    static std::string LeakReport()
    {
        Debug::CloseDebugFile();
        const std::string log = testsupport::ReadFile("debug.txt");
        EXPECT_NE(log.find("Total objects used"), std::string::npos) << log;
        const size_t leak = log.find("Not Cleaned UP");
        return leak == std::string::npos ? "" : log.substr(leak);
    }

    SDL_Surface* _format32 = nullptr;
};

TEST_F(DialogAttributesTest, StartsWithTheDefaultLookAndNoImages)
{
    DialogAttributes attributes(nullptr, nullptr, nullptr);
    EXPECT_EQ(attributes.GetName(), "Dialog Attributes");
    EXPECT_TRUE(SameRgba(attributes.GetTextColor(), Color(255, 255, 255, 255)));
    EXPECT_TRUE(SameRgba(attributes.GetSecondTextColor(), Color(0, 0, 0, 255)));
    EXPECT_TRUE(SameRgba(attributes.GetOuterBorderColor(), Color(255, 255, 255, 255)));
    EXPECT_TRUE(SameRgba(attributes.GetInnerBorderColor(), Color(0, 0, 0, 255)));
    EXPECT_TRUE(SameRgba(attributes.GetFifthColor(), Color(0, 0, 0, 255)));
    EXPECT_EQ(attributes.GetBorderWidth(), 1);
    EXPECT_EQ(attributes.GetTextShadowDepth(), 0);
    for (int slot = 0; slot < DialogAttributes::kSlotCount; ++slot) {
        EXPECT_EQ(attributes.GetImage(static_cast<DialogAttributes::Slot>(slot)), nullptr);
        EXPECT_FALSE(attributes.IsImageOwned(static_cast<DialogAttributes::Slot>(slot)));
    }
}

TEST_F(DialogAttributesTest, NamedImagesLoadInTheirSlotsAndAnEmptyNameLeavesItsSlotEmpty)
{
    DialogAttributes attributes(nullptr, nullptr, nullptr);
    attributes.InitImages("a.bmp", "b.bmp", "", "d.bmp", "e.bmp", "f.bmp");
    ASSERT_NE(attributes.GetBackImage(), nullptr);
    EXPECT_EQ(attributes.GetBackImage()->GetW(), 8);
    EXPECT_NE(attributes.GetFirstButtonImage(), nullptr);
    EXPECT_EQ(attributes.GetSecondButtonImage(), nullptr);
    EXPECT_FALSE(attributes.IsImageOwned(DialogAttributes::kSecondButton));
    EXPECT_NE(attributes.GetRadioImage(), nullptr);
    EXPECT_NE(attributes.GetCheckBoxImage(), nullptr);
    EXPECT_NE(attributes.GetIconImage(), nullptr);
    EXPECT_TRUE(attributes.IsImageOwned(DialogAttributes::kIcon));
    EXPECT_EQ(attributes.NewImage(""), nullptr);
}

TEST_F(DialogAttributesTest, NewImageLoadsInTheAttributesPixelFormat)
{
    SDL_Surface* sixteen = SDL_CreateRGBSurface(0, 1, 1, 16, 0xF800, 0x07E0, 0x001F, 0);
    {
        DialogAttributes attributes(nullptr, nullptr, sixteen->format);
        std::unique_ptr<Image> image(attributes.NewImage("a.bmp"));
        ASSERT_NE(image, nullptr);
        ASSERT_NE(image->GetCanvas(), nullptr);
        EXPECT_EQ(image->GetCanvas()->GetSurface()->format->BitsPerPixel, 16);

        DialogAttributes byDefault(nullptr, nullptr, nullptr);
        std::unique_ptr<Image> plain(byDefault.NewImage("a.bmp"));
        ASSERT_NE(plain->GetCanvas(), nullptr);
        EXPECT_EQ(plain->GetCanvas()->GetSurface()->format->BitsPerPixel, 32);
    }
    SDL_FreeSurface(sixteen);
}

// Every way of replacing images: the attributes delete exactly what they loaded, once, and
// never what they were handed.
TEST_F(DialogAttributesTest, OwnershipCasesLeaveNoObjectBehind)
{
    auto callerBack = std::make_unique<Image>("g.bmp", nullptr);
    auto callerButton = std::make_unique<Image>("g.bmp", nullptr);
    {
        DialogAttributes attributes(nullptr, nullptr, nullptr);
        // Loaded twice: the first six go before the second six come.
        attributes.InitImages("a.bmp", "b.bmp", "c.bmp", "d.bmp", "e.bmp", "f.bmp");
        attributes.InitImages("f.bmp", "e.bmp", "d.bmp", "c.bmp", "b.bmp", "a.bmp");
        // A named back image replaces the loaded one, twice.
        attributes.InitBackImage("a.bmp");
        attributes.InitBackImage("b.bmp");
        // The caller's back image over loaded images: the loaded back image goes, the
        // caller's stays the caller's.
        attributes.InitBackImage(callerBack.get());
        EXPECT_EQ(attributes.GetBackImage(), callerBack.get());
        EXPECT_FALSE(attributes.IsImageOwned(DialogAttributes::kBack));
        EXPECT_TRUE(attributes.IsImageOwned(DialogAttributes::kFirstButton));
        // And a named back image over the caller's one leaves the caller's alone.
        attributes.InitBackImage("c.bmp");
        EXPECT_TRUE(attributes.IsImageOwned(DialogAttributes::kBack));
    }
    {
        DialogAttributes attributes(nullptr, nullptr, nullptr);
        attributes.InitImages("a.bmp", "b.bmp", "c.bmp", "d.bmp", "e.bmp", "f.bmp");
        // The caller's images in place of loaded ones: the loaded ones are deleted now.
        attributes.InitImages(callerBack.get(), callerButton.get(), nullptr, nullptr, nullptr,
                              nullptr);
        EXPECT_FALSE(attributes.IsImageOwned(DialogAttributes::kBack));
        EXPECT_EQ(attributes.GetFirstButtonImage(), callerButton.get());
    }
    // The caller's images are whole after both attributes are gone.
    EXPECT_EQ(callerBack->GetW(), 8);
    EXPECT_EQ(callerButton->GetW(), 8);
    callerBack.reset();
    callerButton.reset();
    EXPECT_EQ(LeakReport(), "");
}

TEST_F(DialogAttributesTest, DestroyImagesLeavesNoDanglingImage)
{
    auto caller = std::make_unique<Image>("g.bmp", nullptr);
    {
        DialogAttributes attributes(nullptr, nullptr, nullptr);
        attributes.InitImages("a.bmp", "b.bmp", "c.bmp", "d.bmp", "e.bmp", "f.bmp");
        attributes.InitBackImage(caller.get());
        attributes.DestroyImages();
        for (int slot = 0; slot < DialogAttributes::kSlotCount; ++slot) {
            EXPECT_EQ(attributes.GetImage(static_cast<DialogAttributes::Slot>(slot)), nullptr);
        }
        // Called again, and by the destructor: nothing is deleted twice.
        attributes.DestroyImages();
    }
    EXPECT_EQ(caller->GetW(), 8);
    caller.reset();
    EXPECT_EQ(LeakReport(), "");
}

TEST_F(DialogAttributesTest, DialogTakesColoursOneToFourAndTheBorderWidth)
{
    DialogAttributes attributes(nullptr, nullptr, nullptr);
    const Color colours[5] = {Color(1, 2, 3), Color(4, 5, 6), Color(7, 8, 9), Color(10, 11, 12),
                              Color(13, 14, 15)};
    attributes.InitColors(colours[0], colours[1], colours[2], colours[3], colours[4]);
    attributes.InitOtherAttributes(25, 2);
    EXPECT_TRUE(SameRgba(attributes.GetFifthColor(), colours[4]));
    EXPECT_EQ(attributes.GetBorderWidth(), 25);
    EXPECT_EQ(attributes.GetTextShadowDepth(), 2);

    CastMemberDialog dialog(nullptr, 3, nullptr, nullptr);
    dialog.SetAttributes(&attributes);
    EXPECT_EQ(dialog.GetAttributes(), &attributes);
    EXPECT_TRUE(SameRgba(dialog.GetForeColor(), colours[0]));
    // The dialog clamps the border width to 0..10.
    EXPECT_EQ(dialog.GetBorderWidth(), 10);
}

} // namespace
