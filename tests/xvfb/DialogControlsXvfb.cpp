// A dialog built from a dialog description in a real window, for the Xvfb test
// (dialog_controls.sh): the fixture description "controls.cfg" holds one control of every kind,
// its parent "cfg/skin.cfg" is the framework's theme. The window's events go through the frame
// loop, which paints every frame; the program steps the description's animation itself, as the
// owner of a dialog does.
//
// It reports on stdout: "controls N" (the keys of the list), "dialog X Y W H" and
// "item NAME X Y W H" (screen rectangles) once the dialog is up, then "ready"; "typed TEXT" after
// each key that changed the text input; "stopped" once the animation has played its loops; the
// dialog's reports as "clicked ID HOW" and "detached ID". It ends once the dialog has gone.
//
// Usage: dialog_controls_xvfb WORK_FOLDER (holding controls.cfg, cfg/skin.cfg, img/, fonts/)
#include "SDL.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Framework.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/Control.h"
#include "framework/dialogs/ControlAnimation.h"
#include "framework/dialogs/ControlBackground.h"
#include "framework/dialogs/ControlRadioSet.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "framework/stage/Cast.h"
#include "tests/xvfb/XvfbSceneSupport.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

// The stage around the dialog; the driver script looks for it.
const Color kStage(30, 90, 40);

constexpr int kDialogId = 4;

using xvfbscene::Say;

// A dialog whose owner reaches its controls after building them.
class DescribedDialog : public CastMemberDialog
{
public:
    using CastMemberDialog::CastMemberDialog;
    using CastMemberDialog::GetControls;
};

void SayItem(const std::string& name, CastMemberDialog& dialog, DialogItem* item)
{
    if (item == nullptr) {
        Say("missing " + name);
        return;
    }
    Say("item " + name + " " + std::to_string(dialog.GetX() + item->GetX()) + " " +
        std::to_string(dialog.GetY() + item->GetY()) + " " + std::to_string(item->GetFrameWidth()) +
        " " + std::to_string(item->GetFrameHeight()));
}

int RunScene(Framework& app, SDL_Surface* screen)
{
    auto stageBack =
        xvfbscene::Plain(AnimationManager::kScreenWidth, AnimationManager::kScreenHeight, kStage);

    int result = 0;
    {
        AnimationManager manager(nullptr, screen, false);
        Cast* cast = manager.GetCast();
        cast->SetBackground(stageBack.get());

        ConfigFile description("controls.cfg", app.GetThemeConfig(), false, false, false);
        xvfbscene::DialogReporter reporter;
        DescribedDialog dialog(cast, kDialogId, nullptr, &reporter);
        Say("controls " + std::to_string(dialog.AddControlsFromConfig(&description, "controls")));
        // The controls that the dialog's owner reaches after building: the animation, which it
        // steps, and the radio set, which a dialog's layout would stack.
        ControlAnimation* animation = nullptr;
        ControlRadioSet* radioSet = nullptr;
        for (Control* control : dialog.GetControls()) {
            if (control != nullptr && control->GetKind() == Control::kAnimation) {
                animation = static_cast<ControlAnimation*>(control);
            }
            if (control != nullptr && control->GetKind() == Control::kRadioSet) {
                radioSet = static_cast<ControlRadioSet*>(control);
            }
        }
        // A plain dialog takes the description's background picture as its back image.
        ControlBackground* background = dialog.GetBackgroundControl();
        if (background != nullptr && background->GetImage() != nullptr) {
            dialog.SetBackImage(background->GetImage());
        }
        if (radioSet != nullptr) {
            radioSet->Move(radioSet->GetPosition().GetX(), radioSet->GetPosition().GetY());
        }
        dialog.Show(0, 0, 100, 100, false);

        bool announcedStop = false;
        DialogItem* input = dialog.GetTextInputItem();
        std::string typed = input != nullptr ? input->GetText() : std::string();
        auto onEvent = [&](const SDL_Event& event) {
            xvfbscene::ForwardMouse(manager, event);
            if (event.type == SDL_KEYDOWN) {
                manager.KeyDown(event.key.keysym.sym, event.key.keysym.mod,
                                event.key.keysym.unicode);
            }
            return true;
        };
        auto sayPlaces = [&]() {
            xvfbscene::SayDialog(dialog);
            SayItem("title", dialog, dialog.GetItems().front().get());
            SayItem("check", dialog, dialog.GetItemByID(20));
            SayItem("single", dialog, dialog.GetItemByID(30));
            if (radioSet != nullptr && radioSet->GetItems().size() == 3) {
                SayItem("easy", dialog, radioSet->GetItems()[0]);
                SayItem("hard", dialog, radioSet->GetItems()[1]);
            }
            SayItem("input", dialog, input);
            SayItem("slider", dialog, dialog.GetItemByID(50));
            SayItem("spinner", dialog, animation != nullptr ? animation->GetItem() : nullptr);
            SayItem("ok", dialog, dialog.GetItemByID(1));
            SayItem("cancel", dialog, dialog.GetItemByID(2));
        };
        auto onFrame = [&]() {
            if (animation != nullptr) {
                animation->Animate(manager.Time());
            }
            manager.DoIt();
            if (input != nullptr && input->GetText() != typed) {
                typed = input->GetText();
                Say("typed " + typed);
            }
            if (!announcedStop && animation != nullptr && !animation->IsRunning()) {
                Say("stopped");
                announcedStop = true;
            }
            return !reporter.Detached();
        };
        // The script's first shot wants the dialog faded in and taking presses.
        result = xvfbscene::RunScene(
            onEvent, onFrame, "the dialog did not close", sayPlaces,
            [&manager, cast] { return xvfbscene::StageSettled(manager, cast); });
        cast->SetBackground(static_cast<Image*>(nullptr));
    }
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    // The description's files and the engine's log "debug.txt" are in the work folder.
    if (!xvfbscene::EnterFolder(argc, argv, "WORK_FOLDER", 1)) {
        return 2;
    }
    int result = 0;
    {
        // Starts SDL and owns the theme, the parent of the description.
        Framework app;
        SDL_Surface* screen = xvfbscene::OpenSceneWindow("DialogControls");
        if (screen == nullptr) {
            return 2;
        }
        SDL_ShowCursor(SDL_DISABLE);

        result = RunScene(app, screen);
        xvfbscene::CloseSceneWindow(false);
    }
    return result;
}
