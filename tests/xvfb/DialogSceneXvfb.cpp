// A dialog over a stage in a real window, for the Xvfb test (dialog_scene.sh): a stage with a
// background and an image sprite, and a dialog built in code (text, a check box, two grouped
// radio buttons, a text input, a list box and a slider) shown with OK and Cancel, centred. The
// window's events go through the frame loop, which paints every frame.
//
// It reports on stdout: "dialog X Y W H" and "item NAME X Y" (screen centres) once the dialog is
// up, then "ready"; "moved X Y" once a frame after a mouse move is on the screen; the dialog's
// reports as "set ID VALUE STATE", "clicked ID HOW" and "detached ID"; "typed TEXT" after each
// key that reached the text input. Escape while no dialog is up ends it.
//
// Usage: dialog_scene_xvfb FONT_FILE WORK_FOLDER
#include "SDL.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberImage.h"
#include "tests/xvfb/XvfbSceneSupport.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

// The colours the driver script looks for; keep both in step.
const Color kKey(255, 0, 255);
const Color kStage(30, 90, 40);
const Color kSprite(200, 60, 60);
const Color kBack(40, 60, 120);
const Color kOuterBorder(255, 200, 0);
const Color kInnerBorder(0, 255, 255);
const Color kText(255, 255, 255);
const Color kOkLooks[] = {Color(0, 160, 0), Color(0, 100, 0), Color(120, 255, 120),
                          Color(80, 80, 80)};
const Color kCancelLooks[] = {Color(160, 0, 0), Color(100, 0, 0), Color(255, 120, 120),
                              Color(90, 90, 90)};
const Color kBoxLooks[] = {Color(250, 250, 250), Color(0, 0, 250), Color(200, 200, 200),
                           Color(0, 0, 120)};
const Color kTrack[] = {Color(100, 100, 100)};
const Color kThumb[] = {Color(255, 255, 255)};

constexpr int kDialogId = 3;

// frames cells of w x h side by side, cell i in colours[i]; pixel (0, 0) is the colour key.
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

using xvfbscene::Plain;
using xvfbscene::Say;

// The dialog's clicks and its detach, and also every box and radio button it reports.
struct Reporter : xvfbscene::DialogReporter
{
    void DialogItemSet(int, int itemId, int value, bool state) override
    {
        Say("set " + std::to_string(itemId) + " " + std::to_string(value) + " " +
            std::to_string(state ? 1 : 0));
    }
};

void SayItem(const std::string& name, CastMemberDialog& dialog, DialogItem* item)
{
    if (item == nullptr) {
        Say("missing " + name);
        return;
    }
    Say("item " + name + " " +
        std::to_string(dialog.GetX() + item->GetX() + item->GetFrameWidth() / 2) + " " +
        std::to_string(dialog.GetY() + item->GetY() + item->GetFrameHeight() / 2));
}

int RunScene(SDL_Surface* screen, const char* fontFile)
{
    Font font(fontFile, 16, 0);
    if (font.GetRawFont() == nullptr) {
        std::fprintf(stderr, "cannot open font %s\n", fontFile);
        return 2;
    }
    auto stageBack = Plain(AnimationManager::kScreenWidth, AnimationManager::kScreenHeight, kStage);
    auto spriteImage = Plain(120, 120, kSprite);
    auto okImage = Strip(4, 70, 26, kOkLooks);
    auto cancelImage = Strip(4, 70, 26, kCancelLooks);
    auto boxImage = Strip(4, 16, 16, kBoxLooks);
    auto dialogBack = Plain(32, 32, kBack);
    auto track = Strip(1, 130, 12, kTrack);
    auto thumb = Strip(1, 12, 12, kThumb);

    int result = 0;
    {
        AnimationManager manager(nullptr, screen, false);
        Cast* cast = manager.GetCast();
        cast->SetBackground(stageBack.get());
        // Half under the dialog's left edge: the dialog paints over it.
        new CastMemberImage(cast, spriteImage.get(), 140, 200, 5, 0);

        Reporter reporter;
        CastMemberDialog dialog(cast, kDialogId, nullptr, &reporter);
        dialog.SetButtonImages(okImage.get(), cancelImage.get());
        dialog.InitTextFont(&font, kText, 0, Color(0, 0, 0));
        dialog.SetTextShadowDepth(1);
        dialog.InitBorders(kOuterBorder, kInnerBorder, 2);
        dialog.SetBackImage(dialogBack.get());
        dialog.AddText("Game options", 20, 16, 0, kText, &font);
        DialogItem* box = dialog.AddCheckBox("Sound", 20, 56, 10, false, 8, false, boxImage.get());
        dialog.AddRadioButton("Easy", 20, 92, 20, 1, true, kText, &font, false, boxImage.get());
        DialogItem* hard = dialog.AddRadioButton("Hard", 130, 92, 20, 2, false, kText, &font, false,
                                                 boxImage.get());
        DialogItem* input = dialog.AddTextInput("Ann", 20, 130, 180, 28, 30, &font, kText,
                                                Color(0, 0, 0), 12, false);
        DialogItem* list =
            dialog.AddListBox({"Classic", "Pyramid", "Fortress", "Bridge", "Tower"}, 0, 240, 56,
                              150, 80, 40, &font, kText, Color(20, 20, 20), Color(0, 0, 160));
        DialogItem* slider =
            dialog.AddSlider(track.get(), track.get(), thumb.get(), 50, true, 0, 240, 150, 50);
        if (slider != nullptr) {
            slider->SetIndent(0); // the knob on the track, not below it
        }
        dialog.Show(1, 0, -1, -1, false);

        std::string typed = input != nullptr ? input->GetText() : std::string();
        auto onEvent = [&](const SDL_Event& event) {
            if (event.type == SDL_MOUSEMOTION && event.motion.state != 0) {
                manager.MouseDrag(event.motion.x, event.motion.y);
            } else {
                xvfbscene::ForwardMouse(manager, event);
            }
            if (event.type == SDL_KEYDOWN) {
                if (xvfbscene::IsEscape(event) && cast->GetDialog() == nullptr) {
                    return false;
                }
                manager.KeyDown(event.key.keysym.sym, event.key.keysym.mod,
                                event.key.keysym.unicode);
            }
            return true;
        };
        auto sayPlaces = [&]() {
            xvfbscene::SayDialog(dialog);
            SayItem("box", dialog, box);
            SayItem("hard", dialog, hard);
            SayItem("input", dialog, input);
            SayItem("list", dialog, list);
            SayItem("slider", dialog, slider);
            SayItem("ok", dialog, dialog.GetItemByID(CastMemberDialog::kOkId));
            SayItem("cancel", dialog, dialog.GetItemByID(CastMemberDialog::kCancelId));
        };
        auto onFrame = [&]() {
            manager.DoIt();
            if (input != nullptr && input->GetText() != typed) {
                typed = input->GetText();
                Say("typed " + typed);
            }
            return true;
        };
        result = xvfbscene::RunScene(onEvent, onFrame, "no Escape", sayPlaces);
        cast->SetBackground(static_cast<Image*>(nullptr));
    }
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    // The engine's log "debug.txt" goes to the work folder.
    if (!xvfbscene::EnterFolder(argc, argv, "FONT_FILE WORK_FOLDER", 2)) {
        return 2;
    }
    SDL_Surface* screen = xvfbscene::OpenSceneWindow("DialogScene");
    if (screen == nullptr) {
        return 2;
    }
    SDL_EnableUNICODE(1);

    const int result = RunScene(screen, argv[1]);
    xvfbscene::CloseSceneWindow(true);
    return result;
}
