#include "framework/shell/OptionsDialog.h"

#include "framework/core/ConfigFileGame.h"
#include "framework/core/Debug.h"
#include "framework/core/Framework.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/Channel.h"
#include "framework/media/Music.h"
#include "framework/shell/ConfigFileHighDetailDialog.h"
#include "framework/shell/ConfigFileOptionsDialog.h"
#include "framework/shell/HighDetailDialog.h"
#include "framework/stage/Cast.h"
#include "tests/shell/MenuScriptTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

using shelldialogtest::RecordingScript;

TEST(OptionsDialogVolumes, SlidersShowVolumesAndGiveThemBack)
{
    const struct
    {
        int volume;
        int slider;
    } shown[] = {{0, 0}, {64, 50}, {127, 99}, {1, 0}, {2, 1}};
    for (const auto& c : shown) {
        EXPECT_EQ(OptionsDialog::VolumeToSlider(c.volume), c.slider) << c.volume;
    }
    // The factor lies a little below 1.28: 50 gives 63, not 64.
    const struct
    {
        int slider;
        int volume;
    } given[] = {{0, 0}, {100, 127}, {50, 63}, {25, 31}, {1, 1}};
    for (const auto& c : given) {
        EXPECT_EQ(OptionsDialog::SliderToVolume(c.slider), c.volume) << c.slider;
    }
}

class OptionsDialogTest : public shelldialogtest::MenuScriptFixture
{
protected:
    // The options as the menu's options button opens them.
    OptionsDialog* Open()
    {
        if (script == nullptr) {
            StartMenu();
        }
        script->ButtonClicked(AppScript::kOptionsButton, 1);
        OptionsDialog* options = script->GetOptionsDialog();
        if (options != nullptr) {
            RunTo(clock.Now() + 400);
        }
        return options;
    }
    // A drag of a slider from its middle to x in the track (0..width).
    void Drag(OptionsDialog* options, DialogItem* slider, int to)
    {
        const Rectangle area = ItemArea(options, slider);
        const int y = area.GetY() + area.GetH() / 2;
        cast->MouseDown(area.GetX() + area.GetW() / 2, y, 1);
        cast->MouseDrag(area.GetX() + to, y);
        Frame();
    }
    void Release(OptionsDialog* options, DialogItem* slider, int to)
    {
        const Rectangle area = ItemArea(options, slider);
        cast->MouseUp(area.GetX() + to, area.GetY() + area.GetH() / 2, 1);
        Frame();
    }
    ConfigFileGame* Settings() { return app->_gameConfig; }
};

TEST_F(OptionsDialogTest, OpensWithTheSettingsTheVersionAndTheHighDetailChoice)
{
    Settings()->SetMusicVolume(64, false);
    Settings()->SetSoundsVolume(127, false);
    OptionsDialog* options = Open();
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->GetID(), OptionsDialog::kDialogId);
    EXPECT_EQ(cast->GetDialog(), options);
    ASSERT_NE(options->GetItemByID(OptionsDialog::kMusicSliderId), nullptr);
    EXPECT_EQ(options->GetItemByID(OptionsDialog::kMusicSliderId)->GetSliderValue(), 50);
    EXPECT_EQ(options->GetItemByID(OptionsDialog::kSoundsSliderId)->GetSliderValue(), 99);
    ASSERT_NE(options->GetItemByID(OptionsDialog::kVersionId), nullptr);
    EXPECT_EQ(options->GetItemByID(OptionsDialog::kVersionId)->GetText(),
              "ver " + Debug::GetProductVersion());
    EXPECT_NE(options->GetItemByID(OptionsDialog::kHighDetailId), nullptr);
    EXPECT_NE(options->GetItemByID(OptionsDialog::kMoreInfoId), nullptr);
    ASSERT_NE(options->GetItemByID(OptionsDialog::kFullScreenId), nullptr);
    EXPECT_EQ(options->GetItemByID(OptionsDialog::kFullScreenId)->GetChecked(),
              Settings()->fullscreen);
}

TEST_F(OptionsDialogTest, WithoutHighDetailOfferedNeitherTheBoxNorMoreAppears)
{
    StartMenu();
    for (const char* use : {"use=0\n", ""}) {
        ConfigFile* text = Description(std::string("[dialog]\ncontrols=list\n[list]\na=background\n"
                                                   "[highdetail]\ntype=checkbox\nstr=High\n") +
                                       use +
                                       "[moreinfo]\ntype=button\n"
                                       "img=images/dialog/morebutton.png\n"
                                       "[fullscreen]\ntype=checkbox\nstr=Full\n"
                                       "img=images/dialog/checkbox.png\n");
        ConfigFileOptionsDialog description(text->GetFileName(), app->GetThemeConfig(), false);
        EXPECT_EQ(description._highDetailUse, 0);
        OptionsDialog options(app.get(), script.get(), Settings(), &description, nullptr, cast,
                              OptionsDialog::kDialogId, nullptr, nullptr);
        options.Init(&description, "dialog");
        EXPECT_EQ(options.GetItemByID(OptionsDialog::kHighDetailId), nullptr) << use;
        EXPECT_EQ(options.GetItemByID(OptionsDialog::kMoreInfoId), nullptr) << use;
        EXPECT_NE(options.GetItemByID(OptionsDialog::kFullScreenId), nullptr) << use;
    }
}

TEST_F(OptionsDialogTest, SettingsAreWrittenOnOkOnlyAndOnlyAfterAChange)
{
    std::remove("game.cfg");
    OptionsDialog* options = Open();
    ASSERT_NE(options, nullptr);
    Key(SDLK_RETURN, 13);
    RunTo(clock.Now() + 400);
    // Nothing changed: nothing written, the screen mode left alone.
    EXPECT_FALSE(testsupport::FileExists("game.cfg"));
    EXPECT_TRUE(script->fullScreenCalls.empty());

    options = Open();
    DialogItem* music = options->GetItemByID(OptionsDialog::kMusicSliderId);
    ASSERT_NE(music, nullptr);
    Drag(options, music, 0);
    Release(options, music, 0);
    EXPECT_EQ(music->GetSliderValue(), 0);
    EXPECT_EQ(Settings()->musicvol, 0);
    EXPECT_TRUE(options->IsChanged());
    EXPECT_FALSE(testsupport::FileExists("game.cfg"));

    Key(SDLK_RETURN, 13);
    ASSERT_TRUE(testsupport::FileExists("game.cfg"));
    EXPECT_NE(testsupport::ReadFile("game.cfg").find("musicvol=0"), std::string::npos);
    // The mode is asked for once, unchanged.
    ASSERT_EQ(script->fullScreenCalls.size(), 1u);
    EXPECT_EQ(script->fullScreenCalls[0], Settings()->fullscreen);
    // Written once: closing the dialog writes nothing more.
    std::remove("game.cfg");
    RunTo(clock.Now() + 400);
    EXPECT_FALSE(testsupport::FileExists("game.cfg"));
}

TEST_F(OptionsDialogTest, TheFullScreenBoxSwitchesTheModeOnlyOnOk)
{
    OptionsDialog* options = Open();
    ASSERT_NE(options, nullptr);
    const bool before = Settings()->fullscreen;
    ClickItem(options, options->GetItemByID(OptionsDialog::kFullScreenId));
    EXPECT_EQ(Settings()->fullscreen, !before);
    EXPECT_TRUE(script->fullScreenCalls.empty());
    Key(SDLK_RETURN, 13);
    ASSERT_EQ(script->fullScreenCalls.size(), 1u);
    EXPECT_EQ(script->fullScreenCalls[0], !before);
}

TEST_F(OptionsDialogTest, HighDetailBoxActsAtOnce)
{
    OptionsDialog* options = Open();
    ASSERT_NE(options, nullptr);
    const bool before = app->GetHighDetail();
    ClickItem(options, options->GetItemByID(OptionsDialog::kHighDetailId));
    EXPECT_EQ(app->GetHighDetail(), !before);
    EXPECT_EQ(Settings()->highdetail, !before);
    EXPECT_TRUE(options->IsChanged());
}

TEST_F(OptionsDialogTest, MoreOpensTheNoticeNestedOverTheOptionsAndItsOkChangesNothing)
{
    OptionsDialog* options = Open();
    ASSERT_NE(options, nullptr);
    ClickItem(options, options->GetItemByID(OptionsDialog::kMoreInfoId));
    HighDetailDialog* notice = script->GetHighDetailDialog();
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(cast->GetDialog(), notice);
    EXPECT_TRUE(options->IsShown());
    EXPECT_EQ(options->GetPressedItem(), nullptr);
    RunTo(clock.Now() + 400);

    Key(SDLK_RETURN, 13);
    RunTo(clock.Now() + 400);
    EXPECT_EQ(cast->GetDialog(), options);
    EXPECT_FALSE(options->IsChanged());

    // Open again: the notice in the slot makes way for a new one.
    ClickItem(options, options->GetItemByID(OptionsDialog::kMoreInfoId));
    EXPECT_NE(script->GetHighDetailDialog(), nullptr);
    EXPECT_EQ(cast->GetDialog(), script->GetHighDetailDialog());
}

TEST_F(OptionsDialogTest, WithoutMenuMusicOrSoundTheSlidersPlayNothing)
{
    // The menu was never shown, as in a game: the script has no menu music or sound.
    StartMenu(false);
    ASSERT_EQ(script->GetMenuMusic(), nullptr);
    ASSERT_EQ(script->GetMenuSound(), nullptr);
    OptionsDialog* options = Open();
    ASSERT_NE(options, nullptr);
    for (int id : {OptionsDialog::kMusicSliderId, OptionsDialog::kSoundsSliderId}) {
        DialogItem* slider = options->GetItemByID(id);
        Drag(options, slider, 20);
        EXPECT_FALSE(options->IsMusicPreviewing()) << id;
        EXPECT_EQ(options->GetSampleChannel(), nullptr) << id;
        Release(options, slider, 20);
    }
}

TEST_F(OptionsDialogTest, MusicSliderPreviewsTheMenuMusicOnlyWhenNoneIsPlaying)
{
    if (!OpenAudio()) {
        GTEST_SKIP() << "no audio device";
    }
    OptionsDialog* options = Open();
    ASSERT_NE(options, nullptr);
    ASSERT_NE(script->GetMenuMusic(), nullptr);
    DialogItem* music = options->GetItemByID(OptionsDialog::kMusicSliderId);

    // The menu's music plays: the drag leaves it alone.
    ASSERT_TRUE(Music::IsPlaying());
    Drag(options, music, 30);
    EXPECT_FALSE(options->IsMusicPreviewing());
    Release(options, music, 30);
    EXPECT_TRUE(Music::IsPlaying());
    EXPECT_FALSE(Music::IsFadingOut());

    // Silence: the drag fades the music in, the release out.
    Music::Stop();
    Drag(options, music, 60);
    EXPECT_TRUE(options->IsMusicPreviewing());
    EXPECT_TRUE(Music::IsPlaying());
    Release(options, music, 60);
    EXPECT_FALSE(options->IsMusicPreviewing());
    // The mixer fades out from the volume the fade-in had reached: right after the fade-in began
    // that takes only a few of its steps, which its thread may already have run under load, so
    // the music may be stopped already; either way it no longer plays on.
    EXPECT_TRUE(Music::IsFadingOut() || !Music::IsPlaying());
}

TEST_F(OptionsDialogTest, SoundsSliderPlaysASampleThatAnyButtonEnds)
{
    if (!OpenAudio()) {
        GTEST_SKIP() << "no audio device";
    }
    OptionsDialog* options = Open();
    ASSERT_NE(options, nullptr);
    ASSERT_NE(script->GetMenuSound(), nullptr);
    DialogItem* sounds = options->GetItemByID(OptionsDialog::kSoundsSliderId);
    Drag(options, sounds, 40);
    Channel* sample = options->GetSampleChannel();
    ASSERT_NE(sample, nullptr);
    EXPECT_TRUE(sample->IsPlaying());

    // Return closes the dialog in the middle of the drag: the sample fades, and the press is not
    // left on the music slider that the previews were ended with last.
    Key(SDLK_RETURN, 13);
    EXPECT_EQ(options->GetSampleChannel(), nullptr);
    EXPECT_TRUE(sample->IsFadingOut());
    EXPECT_NE(options->GetPressedItem(), options->GetItemByID(OptionsDialog::kMusicSliderId));
}

} // namespace
