// A resizable dialog in a real window, for the Xvfb test (resizable_dialog.sh): the description
// "dialogs.cfg" over its skin "skin.cfg" (tests/fixtures/dialogs/resizable) builds section
// "message", whose text is wrapped and cut to two lines, framed by 16-pixel tiles under a
// transparent header, with an OK button. The frame loop (AnimationManager::DoIt) paints it on a
// plain stage; the window's mouse events go to the stage.
//
// It reports on stdout: "dialog X Y W H" (its place and size), "lines N" (text lines shown),
// "ok X Y" (the OK button's centre on the screen) and "ready" once it is on the screen;
// "clicked DIALOG ITEM BUTTON" and "detached DIALOG" as its listener hears them. Escape or
// closing the window ends it.
//
// Usage: resizable_dialog_xvfb FIXTURE_FOLDER FONT_FILE WORK_FOLDER
#include "SDL.h"
#include "framework/core/Color.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Debug.h"
#include "framework/core/Rectangle.h"
#include "framework/dialogs/CastMemberDialogResizable.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "framework/stage/Cast.h"
#include "framework/stage/DialogListener.h"
#include "tests/xvfb/XvfbSceneSupport.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

using xvfbscene::Say;

// The stage behind the dialog; the driver script looks for it.
const Color kStage(20, 40, 80);
constexpr int kDialogId = 12;

struct Reporter : DialogListener
{
    void DialogButtonClicked(int dialogId, int itemId, int how) override
    {
        Say("clicked " + std::to_string(dialogId) + " " + std::to_string(itemId) + " " +
            std::to_string(how));
    }
    void DialogDetached(int dialogId) override { Say("detached " + std::to_string(dialogId)); }
};

int RunDialog(SDL_Surface* screen)
{
    auto stageBack = xvfbscene::Plain(screen->w, screen->h, kStage);

    int result = 0;
    AnimationManager manager(nullptr, screen, false);
    Cast* cast = manager.GetCast();
    cast->SetBackground(stageBack.get());
    ConfigFile skin("skin.cfg", nullptr, false, false, false);
    ConfigFile description("dialogs.cfg", &skin, false, false, false);
    Reporter reporter;
    {
        CastMemberDialogResizable dialog(&description, cast, kDialogId, nullptr, &reporter);
        // The cut of the text is logged at level 1.
        dialog.SetLogLevel(2);
        dialog.Init(&description, "message");
        dialog.Show(0, 0, -1, -1, false, 200);
        Debug::DebugFlush();

        int lines = 0;
        DialogItem* ok = nullptr;
        for (const auto& item : dialog.GetItems()) {
            if (item->GetType() == DialogItem::kText) {
                ++lines;
            } else if (item->GetID() == 1) {
                ok = item.get();
            }
        }
        if (ok == nullptr) {
            std::fprintf(stderr, "the description made no OK button\n");
            return 3;
        }
        manager.DoIt();
        xvfbscene::SayDialog(dialog);
        Say("lines " + std::to_string(lines));
        Say("ok " + std::to_string(dialog.GetX() + ok->GetX() + ok->GetFrameWidth() / 2) + " " +
            std::to_string(dialog.GetY() + ok->GetY() + ok->GetFrameHeight() / 2));

        result = xvfbscene::RunStageScene(manager);
    }
    cast->SetBackground(nullptr);
    return result;
}

// The fixture files and the font into the work folder, which becomes the working folder.
bool PrepareWorkFolder(const char* fixtures, const char* font, const char* work)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path from(fixtures);
    const fs::path to(work);
    fs::create_directories(to / "fonts", error);
    const auto overwrite = fs::copy_options::overwrite_existing | fs::copy_options::recursive;
    fs::copy(from / "skin.cfg", to / "skin.cfg", overwrite, error);
    fs::copy(from / "dialogs.cfg", to / "dialogs.cfg", overwrite, error);
    fs::copy(from / "img", to / "img", overwrite, error);
    fs::copy(font, to / "fonts" / "sans.ttf", overwrite, error);
    if (error) {
        std::fprintf(stderr, "cannot prepare %s: %s\n", work, error.message().c_str());
        return false;
    }
    if (chdir(work) != 0) {
        std::perror(work);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s FIXTURE_FOLDER FONT_FILE WORK_FOLDER\n", argv[0]);
        return 2;
    }
    if (!PrepareWorkFolder(argv[1], argv[2], argv[3])) {
        return 2;
    }
    SDL_Surface* screen = xvfbscene::OpenSceneWindow("ResizableDialog");
    if (screen == nullptr) {
        return 2;
    }

    const int result = RunDialog(screen);
    xvfbscene::CloseSceneWindow(true);
    return result;
}
