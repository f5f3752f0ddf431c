// The rules dialog in a real window, for the Xvfb test (rules_scene.sh): the rules description
// "rules3.cfg" in the work folder (a copy of the game's data with the theme "cfg/skin.cfg") is
// read and its dialog shown centred over a plain stage; the window's mouse events go to the
// stage.
//
// It reports on stdout: "dialog X Y W H", "item NAME X Y W H" for the buttons next, prev and
// done and the picture (screen coordinates), "ready" once it is on the screen, "page N" after
// each button report and "detached DIALOG" when it closes. Escape or closing the window ends it.
//
// Usage: rules_scene_xvfb WORK_FOLDER
#include "SDL.h"
#include "framework/core/Color.h"
#include "framework/core/ConfigFile.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Image.h"
#include "framework/shell/ConfigFileRulesDialog.h"
#include "framework/shell/RulesDialog.h"
#include "framework/stage/Cast.h"
#include "framework/stage/DialogListener.h"
#include "tests/xvfb/XvfbSceneSupport.h"

#include <cstdio>
#include <string>

namespace {

using xvfbscene::Say;

const Color kStage(20, 40, 80);
constexpr int kRulesId = 5;

struct Reporter : DialogListener
{
    void DialogButtonClicked(int, int, int) override
    {
        Say("page " + std::to_string(dialog->GetCurrentPage()));
    }
    void DialogDetached(int dialogId) override { Say("detached " + std::to_string(dialogId)); }
    RulesDialog* dialog = nullptr;
};

void SayItem(const char* name, RulesDialog& dialog, DialogItem* item)
{
    if (item == nullptr) {
        Say(std::string("missing ") + name);
        return;
    }
    Say(std::string("item ") + name + " " + std::to_string(dialog.GetX() + item->GetX()) + " " +
        std::to_string(dialog.GetY() + item->GetY()) + " " + std::to_string(item->GetFrameWidth()) +
        " " + std::to_string(item->GetFrameHeight()));
}

int Run(SDL_Surface* screen)
{
    auto stageBack = xvfbscene::Plain(screen->w, screen->h, kStage);
    int result = 0;
    AnimationManager manager(nullptr, screen, false);
    Cast* cast = manager.GetCast();
    cast->SetBackground(stageBack.get());
    {
        ConfigFile skin("cfg/skin.cfg", nullptr, false, false, false);
        ConfigFileRulesDialog description("rules3.cfg", &skin, false);
        Reporter reporter;
        RulesDialog dialog(&description, cast, kRulesId, nullptr, &reporter);
        reporter.dialog = &dialog;
        dialog.Init(&description, "dialog");
        dialog.Show(0, 0, -1, -1, false, 200);
        manager.DoIt();
        xvfbscene::SayDialog(dialog);
        SayItem("next", dialog, dialog.GetItemByID(RulesDialog::kNextId));
        SayItem("prev", dialog, dialog.GetItemByID(RulesDialog::kPrevId));
        SayItem("done", dialog, dialog.GetItemByID(RulesDialog::kDoneId));
        SayItem("picture", dialog, dialog.GetPictureItem());

        result = xvfbscene::RunStageScene(manager);
    }
    cast->SetBackground(nullptr);
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    if (!xvfbscene::EnterFolder(argc, argv, "WORK_FOLDER", 1)) {
        return 2;
    }
    SDL_Surface* screen = xvfbscene::OpenSceneWindow("RulesScene");
    if (screen == nullptr) {
        return 2;
    }
    const int result = Run(screen);
    xvfbscene::CloseSceneWindow(true);
    return result;
}
