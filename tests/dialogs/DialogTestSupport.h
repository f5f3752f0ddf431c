#pragma once

#include "SDL.h"
#include "framework/core/Color.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/stage/DialogListener.h"
#include "tests/support/FakeClock.h"
#include "tests/support/LogListener.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class AnimationManager;
class Cast;
class Font;
class Image;

// Shared by the dialog tests: a headless screen with its frame loop on a clock moved by hand,
// a font, images for buttons, boxes and sliders, and dialogs that write every report into one
// log so that the order of reports shows.
namespace dialogtest {

using testsupport::Log;

// The colours the images and dialogs are made of (the screen test looks for them).
extern const Color kKey;        // pixel (0, 0) of every image: its transparent colour
extern const Color kOkLooks[4]; // normal, held, highlighted, inactive
extern const Color kCancelLooks[4];
extern const Color kBoxLooks[4];
extern const Color kBack;
extern const Color kOuterBorder;
extern const Color kInnerBorder;
extern const Color kText;
extern const Color kStage;

constexpr int kButtonW = 60;
constexpr int kButtonH = 24;
constexpr int kBoxSize = 14;

using testsupport::LogListener;

// A dialog whose own listener part writes "own <report> ..." into the log, and whose
// ValidateCloseDialog answers as told.
class LogDialog : public CastMemberDialog
{
public:
    LogDialog(Cast* cast, int id, DialogListener* listener, Log* log);
    ~LogDialog() override;
    void DialogTimesUp(int dialogId) override;
    void DialogButtonClicked(int dialogId, int itemId, int how) override;
    void DialogItemSet(int dialogId, int itemId, int value, bool state) override;
    void DialogDetached(int dialogId) override;
    bool ValidateCloseDialog() override { return validates; }
    // Turns the dialog at once, as a rotation in progress would.
    void SetRotation(float angle) { _rotation = angle; }

    bool validates = true;

private:
    Log* _log;
};

// Items of the dialog that DialogFixture::BuildFullDialog makes.
struct FullDialog
{
    DialogItem* text = nullptr;
    DialogItem* checkBox = nullptr;
    DialogItem* radio1 = nullptr;
    DialogItem* radio2 = nullptr;
    DialogItem* input = nullptr;
    DialogItem* listBox = nullptr;
    DialogItem* slider = nullptr;
};

class DialogFixture : public ::testing::Test
{
protected:
    static constexpr int kDialogId = 5;
    static constexpr int kCheckId = 10;
    static constexpr int kRadioGroup = 20;
    static constexpr int kInputId = 30;
    static constexpr int kListId = 40;
    static constexpr int kSliderId = 50;

    void SetUp() override;
    void TearDown() override;

    // One frame of the frame loop at tick t (the stage's and the sprites' clock follows it).
    void FrameAt(unsigned int t);
    // Frames every 10 ms from the current tick up to and including t.
    void RunTo(unsigned int t);
    // A press and a release through the stage, past the stage's guard after an attach.
    void Press(int x, int y);
    void Release(int x, int y);
    void Click(int x, int y);
    // A key through the stage, as the frame loop passes it.
    bool Key(SDLKey key, unsigned short unicode);

    // A dialog on the stage with the standard button images, text font and border set.
    LogDialog* NewDialog();
    // Text, a check box, two grouped radios (values 1 and 2, the first selected), a text input,
    // a list box and a slider.
    FullDialog BuildFullDialog(LogDialog* dialog);
    // The centre of an item on the screen.
    int CenterX(CastMemberDialog* dialog, DialogItem* item);
    int CenterY(CastMemberDialog* dialog, DialogItem* item);

    Color ScreenPixel(int x, int y);

    testsupport::FakeClock clock;
    SDL_Surface* screen = nullptr;
    std::unique_ptr<AnimationManager> manager;
    Cast* cast = nullptr;
    std::unique_ptr<Font> font;
    std::unique_ptr<Image> okImage;
    std::unique_ptr<Image> cancelImage;
    std::unique_ptr<Image> boxImage;
    std::unique_ptr<Image> backImage;
    std::unique_ptr<Image> track;
    std::unique_ptr<Image> thumb;
    Log log;
    LogListener user{&log};
    std::vector<std::unique_ptr<LogDialog>> dialogs;
};

// Sets the fake clock to 1000 ms, opens the video at 800 x 600
// x 32 and the font engine, makes the screen's format the canvases' default and puts a stage on
// the screen.
void OpenVideoStage(testsupport::FakeClock& clock, SDL_Surface** screen,
                    std::unique_ptr<AnimationManager>* manager);
// Undoes OpenVideoStage once the stage is gone; the video stays open.
void CloseVideoStage();

// frames strips of w x h side by side, frame i filled with colours[i]; pixel (0, 0) is kKey.
std::unique_ptr<Image> Strip(int frames, int w, int h, const Color* colours);
std::unique_ptr<Image> Plain(int w, int h, const Color& colour);
using testsupport::SameRgb;

} // namespace dialogtest
