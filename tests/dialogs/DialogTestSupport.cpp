#include "tests/dialogs/DialogTestSupport.h"

#include "SDL_ttf.h"
#include "framework/core/Rectangle.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMember.h"
#include "framework/stage/GameTime.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TestSupport.h"

namespace dialogtest {

const Color kKey(255, 0, 255);
const Color kOkLooks[4] = {Color(0, 160, 0), Color(0, 100, 0), Color(120, 255, 120),
                           Color(80, 80, 80)};
const Color kCancelLooks[4] = {Color(160, 0, 0), Color(100, 0, 0), Color(255, 120, 120),
                               Color(90, 90, 90)};
const Color kBoxLooks[4] = {Color(250, 250, 250), Color(0, 0, 250), Color(200, 200, 200),
                            Color(0, 0, 120)};
const Color kBack(40, 60, 120);
const Color kOuterBorder(255, 200, 0);
const Color kInnerBorder(0, 255, 255);
const Color kText(255, 255, 255);
const Color kStage(0, 0, 0);

namespace {

std::string Args(int a, int b, int c)
{
    return std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(c);
}

} // namespace

void OpenVideoStage(testsupport::FakeClock& clock, SDL_Surface** screen,
                    std::unique_ptr<AnimationManager>* manager)
{
    clock.Set(1000);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    ASSERT_EQ(TTF_Init(), 0);
    *screen =
        SDL_SetVideoMode(AnimationManager::kScreenWidth, AnimationManager::kScreenHeight, 32, 0);
    ASSERT_NE(*screen, nullptr);
    Canvas::SetDefaultPixelFormat((*screen)->format);
    *manager = std::make_unique<AnimationManager>(nullptr, *screen, false);
}

void CloseVideoStage()
{
    Canvas::SetDefaultPixelFormat(nullptr);
    TTF_Quit();
}

std::unique_ptr<Image> Strip(int frames, int w, int h, const Color* colours)
{
    auto* canvas = new Canvas(frames * w, h, nullptr);
    for (int i = 0; i < frames; ++i) {
        Rectangle cell(static_cast<short>(i * w), 0, static_cast<short>(w), static_cast<short>(h));
        canvas->FillRect(cell, colours[i]);
    }
    Rectangle corner(0, 0, 1, 1);
    canvas->FillRect(corner, kKey);
    Rectangle whole(0, 0, static_cast<short>(frames * w), static_cast<short>(h));
    return std::make_unique<Image>(canvas, whole);
}

std::unique_ptr<Image> Plain(int w, int h, const Color& colour)
{
    auto* canvas = new Canvas(w, h, nullptr);
    canvas->Clear(colour);
    Rectangle whole(0, 0, static_cast<short>(w), static_cast<short>(h));
    return std::make_unique<Image>(canvas, whole);
}

// --- listeners ---

LogDialog::LogDialog(Cast* cast, int id, DialogListener* listener, Log* log)
    : CastMemberDialog(cast, id, nullptr, listener), _log(log)
{}

LogDialog::~LogDialog() = default;

void LogDialog::DialogTimesUp(int dialogId)
{
    _log->push_back("own timesup " + std::to_string(dialogId));
}

void LogDialog::DialogButtonClicked(int dialogId, int itemId, int how)
{
    _log->push_back("own clicked " + Args(dialogId, itemId, how));
}

void LogDialog::DialogItemSet(int dialogId, int itemId, int value, bool state)
{
    _log->push_back("own set " + Args(dialogId, itemId, value) + (state ? " 1" : " 0"));
}

void LogDialog::DialogDetached(int dialogId)
{
    _log->push_back("own detached " + std::to_string(dialogId));
}

// --- fixture ---

void DialogFixture::SetUp()
{
    ASSERT_NO_FATAL_FAILURE(OpenVideoStage(clock, &screen, &manager));
    cast = manager->GetCast();

    font = std::make_unique<Font>(mediatest::SansFont(), 14);
    ASSERT_NE(font->GetRawFont(), nullptr);
    okImage = Strip(4, kButtonW, kButtonH, kOkLooks);
    cancelImage = Strip(4, kButtonW, kButtonH, kCancelLooks);
    boxImage = Strip(4, kBoxSize, kBoxSize, kBoxLooks);
    backImage = Plain(16, 16, kBack);
    const Color trackColours[] = {Color(100, 100, 100)};
    track = Strip(1, 110, 10, trackColours);
    const Color thumbColours[] = {Color(255, 255, 255)};
    thumb = Strip(1, 10, 10, thumbColours);

    FrameAt(clock.Now());
    FrameAt(clock.Now() + 10);
}

void DialogFixture::TearDown()
{
    // Dialogs first: each takes itself off the stage, which goes with the manager.
    dialogs.clear();
    manager.reset();
    okImage.reset();
    cancelImage.reset();
    boxImage.reset();
    backImage.reset();
    track.reset();
    thumb.reset();
    font.reset();
    CloseVideoStage();
    SDL_Quit();
    CastMemberDialog::SetCenterOffset(0, 0);
}

void DialogFixture::FrameAt(unsigned int t)
{
    clock.Set(t);
    manager->DoIt();
}

void DialogFixture::RunTo(unsigned int t)
{
    while (clock.Now() + 10 < t) {
        FrameAt(clock.Now() + 10);
    }
    FrameAt(t);
}

void DialogFixture::Press(int x, int y)
{
    // The stage drops presses for a moment after a dialog attached.
    const unsigned int attached = cast->GetDialogAttachTime();
    if (attached != 0 && clock.Now() < attached + 400) {
        RunTo(attached + 400);
    }
    cast->MouseDown(x, y, 1);
}

void DialogFixture::Release(int x, int y)
{
    cast->MouseUp(x, y, 1);
}

void DialogFixture::Click(int x, int y)
{
    Press(x, y);
    Release(x, y);
}

bool DialogFixture::Key(SDLKey key, unsigned short unicode)
{
    const bool alphaNumeric = manager->AlphaNumeric(key, KMOD_NONE, unicode);
    return cast->KeyDown(key, KMOD_NONE, manager->TranslateKey(key, KMOD_NONE, unicode),
                         alphaNumeric);
}

LogDialog* DialogFixture::NewDialog()
{
    dialogs.push_back(std::make_unique<LogDialog>(cast, kDialogId, &user, &log));
    LogDialog* dialog = dialogs.back().get();
    dialog->SetButtonImages(okImage.get(), cancelImage.get());
    dialog->InitTextFont(font.get(), kText, 0, Color(0, 0, 0));
    dialog->InitBorders(kOuterBorder, kInnerBorder, 2);
    dialog->SetBackImage(backImage.get());
    return dialog;
}

FullDialog DialogFixture::BuildFullDialog(LogDialog* dialog)
{
    FullDialog d;
    d.text = dialog->AddText("Choose your options", 20, 16);
    d.checkBox = dialog->AddCheckBox("Sound", 20, 50, kCheckId, false, 8, false, boxImage.get());
    d.radio1 = dialog->AddRadioButton("Easy", 20, 80, kRadioGroup, 1, true, kText, font.get(),
                                      false, boxImage.get());
    d.radio2 = dialog->AddRadioButton("Hard", 120, 80, kRadioGroup, 2, false, kText, font.get(),
                                      false, boxImage.get());
    d.input = dialog->AddTextInput("Ann", 20, 110, 160, 24, kInputId, font.get(), kText,
                                   Color(0, 0, 0), 10, false);
    d.listBox =
        dialog->AddListBox({"one", "two", "three", "four", "five", "six"}, 0, 200, 50, 140, 70,
                           kListId, font.get(), kText, Color(20, 20, 20), Color(0, 0, 160));
    d.slider =
        dialog->AddSlider(track.get(), track.get(), thumb.get(), 50, true, 0, 200, 140, kSliderId);
    return d;
}

int DialogFixture::CenterX(CastMemberDialog* dialog, DialogItem* item)
{
    return dialog->GetX() + item->GetX() + item->GetFrameWidth() / 2;
}

int DialogFixture::CenterY(CastMemberDialog* dialog, DialogItem* item)
{
    return dialog->GetY() + item->GetY() + item->GetFrameHeight() / 2;
}

Color DialogFixture::ScreenPixel(int x, int y)
{
    Canvas* canvas = manager.get();
    const bool locked = canvas->Lock();
    const Color c = canvas->GetPixel(x, y);
    if (locked) {
        canvas->Unlock();
    }
    return c;
}

} // namespace dialogtest
