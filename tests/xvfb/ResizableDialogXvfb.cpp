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
#include "SDL_ttf.h"
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

#include <cstdio>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace {

// The stage behind the dialog; the driver script looks for it.
const Color kStage(20, 40, 80);
constexpr int kDialogId = 12;
constexpr Uint32 kGiveUpMs = 60000;

struct Reporter : DialogListener
{
    void DialogButtonClicked(int dialogId, int itemId, int how) override
    {
        std::printf("clicked %d %d %d\n", dialogId, itemId, how);
        std::fflush(stdout);
    }
    void DialogDetached(int dialogId) override
    {
        std::printf("detached %d\n", dialogId);
        std::fflush(stdout);
    }
};

int RunDialog(SDL_Surface* screen)
{
    auto* stageCanvas = new Canvas(screen->w, screen->h, screen->format);
    stageCanvas->Clear(kStage);
    Rectangle whole(0, 0, static_cast<short>(screen->w), static_cast<short>(screen->h));
    Image stageBack(stageCanvas, whole);

    int result = 0;
    AnimationManager manager(nullptr, screen, false);
    Cast* cast = manager.GetCast();
    cast->SetBackground(&stageBack);
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
        std::printf("dialog %d %d %d %d\n", dialog.GetX(), dialog.GetY(), dialog.GetW(),
                    dialog.GetH());
        std::printf("lines %d\n", lines);
        std::printf("ok %d %d\n", dialog.GetX() + ok->GetX() + ok->GetFrameWidth() / 2,
                    dialog.GetY() + ok->GetY() + ok->GetFrameHeight() / 2);

        bool announcedReady = false;
        const Uint32 start = SDL_GetTicks();
        for (bool running = true; running;) {
            SDL_Event event;
            while (SDL_PollEvent(&event) != 0) {
                switch (event.type) {
                case SDL_MOUSEMOTION:
                    cast->MouseMove(event.motion.x, event.motion.y);
                    break;
                case SDL_MOUSEBUTTONDOWN:
                    cast->MouseDown(event.button.x, event.button.y, event.button.button);
                    break;
                case SDL_MOUSEBUTTONUP:
                    cast->MouseUp(event.button.x, event.button.y, event.button.button);
                    break;
                case SDL_KEYDOWN:
                    running = event.key.keysym.sym != SDLK_ESCAPE;
                    break;
                case SDL_QUIT:
                    running = false;
                    break;
                default:
                    break;
                }
            }
            if (SDL_GetTicks() - start > kGiveUpMs) {
                std::fprintf(stderr, "no Escape within %u ms\n", kGiveUpMs);
                result = 3;
                break;
            }
            manager.DoIt();
            if (!announcedReady) {
                std::printf("ready\n");
                announcedReady = true;
            }
            std::fflush(stdout);
            SDL_Delay(10);
        }
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
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || TTF_Init() != 0) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return 2;
    }
    SDL_Surface* screen = SDL_SetVideoMode(800, 600, 32, SDL_SWSURFACE);
    if (screen == nullptr) {
        std::fprintf(stderr, "SDL_SetVideoMode: %s\n", SDL_GetError());
        SDL_Quit();
        return 2;
    }
    SDL_WM_SetCaption("ResizableDialog", nullptr);
    Canvas::SetDefaultPixelFormat(screen->format);

    const int result = RunDialog(screen);

    Canvas::SetDefaultPixelFormat(nullptr);
    TTF_Quit();
    SDL_Quit();
    std::fflush(stdout);
    return result;
}
