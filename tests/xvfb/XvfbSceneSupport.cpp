#include "tests/xvfb/XvfbSceneSupport.h"

#include "SDL_ttf.h"
#include "framework/core/Color.h"
#include "framework/core/Rectangle.h"
#include "framework/core/TickSource.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMember.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace xvfbscene {

namespace {

// Says "moved X Y" for the last mouse move once the frame after the one that took it is on the
// screen: a hover that the move starts is painted by then, however slow the frames are.
class MoveAnnouncer final
{
public:
    void Moved(int x, int y)
    {
        _x = x;
        _y = y;
        _framesToGo = 2;
    }
    // Called after each frame is on the screen.
    void FrameShown()
    {
        if (_framesToGo > 0 && --_framesToGo == 0) {
            Say("moved " + std::to_string(_x) + " " + std::to_string(_y));
        }
    }

private:
    int _framesToGo = 0;
    int _x = 0;
    int _y = 0;
};

} // namespace

unsigned int TimeScale()
{
    static const unsigned int scale = [] {
        const char* text = std::getenv("E2E_TIME_SCALE");
        if (text == nullptr || *text == '\0') {
            return 1u;
        }
        char* end = nullptr;
        const unsigned long value = std::strtoul(text, &end, 10);
        if (*end != '\0' || value < 1 || value > 1000) {
            std::fprintf(stderr, "E2E_TIME_SCALE=%s is not a whole number from 1: using 1\n", text);
            return 1u;
        }
        return static_cast<unsigned int>(value);
    }();
    return scale;
}

unsigned int Scaled(unsigned int ms)
{
    return ms * TimeScale();
}

bool EnterFolder(int argc, char** argv, const char* usage, int folder)
{
    int words = 1;
    for (const char* c = usage; *c != '\0'; ++c) {
        words += *c == ' ' ? 1 : 0;
    }
    if (argc != words + 1) {
        std::fprintf(stderr, "usage: %s %s\n", argv[0], usage);
        return false;
    }
    if (chdir(argv[folder]) != 0) {
        std::perror(argv[folder]);
        return false;
    }
    return true;
}

SDL_Surface* OpenSceneWindow(const char* caption)
{
    if ((SDL_WasInit(SDL_INIT_VIDEO) == 0 && SDL_Init(SDL_INIT_VIDEO) != 0) || TTF_Init() != 0) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return nullptr;
    }
    SDL_Surface* screen = SDL_SetVideoMode(AnimationManager::kScreenWidth,
                                           AnimationManager::kScreenHeight, 32, SDL_SWSURFACE);
    if (screen == nullptr) {
        std::fprintf(stderr, "SDL_SetVideoMode: %s\n", SDL_GetError());
        return nullptr;
    }
    SDL_WM_SetCaption(caption, nullptr);
    Canvas::SetDefaultPixelFormat(screen->format);
    return screen;
}

void CloseSceneWindow(bool quitSdl)
{
    Canvas::SetDefaultPixelFormat(nullptr);
    if (quitSdl) {
        TTF_Quit();
        SDL_Quit();
    }
    std::fflush(stdout);
}

int RunScene(const std::function<bool(const SDL_Event&)>& onEvent,
             const std::function<bool()>& onFrame, const char* awaited,
             const std::function<void()>& sayPlaces, const std::function<bool()>& readyWhen)
{
    const Uint32 start = SDL_GetTicks();
    const Uint32 giveUpMs = Scaled(kGiveUpMs);
    bool announcedReady = false;
    MoveAnnouncer moves;
    for (bool running = true; running;) {
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
            if (event.type == SDL_MOUSEMOTION) {
                moves.Moved(event.motion.x, event.motion.y);
            }
            if (event.type == SDL_QUIT || !onEvent(event)) {
                running = false;
            }
        }
        if (SDL_GetTicks() - start > giveUpMs) {
            std::fprintf(stderr, "%s within %u ms\n", awaited, giveUpMs);
            return 3;
        }
        if (!onFrame()) {
            running = false;
        }
        if (!announcedReady && (!readyWhen || readyWhen())) {
            if (sayPlaces) {
                sayPlaces();
            }
            Say("ready");
            announcedReady = true;
        }
        moves.FrameShown();
        SDL_Delay(10);
    }
    return 0;
}

bool StageSettled(AnimationManager& manager, Cast* cast)
{
    if (manager.FadingIn()) {
        return false;
    }
    if (cast == nullptr) {
        return true;
    }
    // A little more than the stage's own moment.
    constexpr unsigned int kDialogGuardMs = 400;
    const unsigned int attached = cast->GetDialogAttachTime();
    if (attached != 0 && TickSource::Now() - attached < kDialogGuardMs) {
        return false;
    }
    CastMemberDialog* dialog = cast->GetDialog();
    if (dialog != nullptr && dialog->Fading()) {
        return false;
    }
    const std::vector<CastMember*>& members = cast->GetCastMembers();
    return std::none_of(members.begin(), members.end(),
                        [](CastMember* member) { return member->Fading(); });
}

int RunStageScene(AnimationManager& manager)
{
    Cast* cast = manager.GetCast();
    const auto onEvent = [cast](const SDL_Event& event) {
        ForwardMouse(*cast, event);
        return !IsEscape(event);
    };
    const auto onFrame = [&manager] {
        manager.DoIt();
        return true;
    };
    const auto settled = [&manager, cast] { return StageSettled(manager, cast); };
    return RunScene(onEvent, onFrame, "no Escape", nullptr, settled);
}

bool IsEscape(const SDL_Event& event)
{
    return event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE;
}

void Say(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

void SayDialog(CastMember& dialog)
{
    Say("dialog " + std::to_string(dialog.GetX()) + " " + std::to_string(dialog.GetY()) + " " +
        std::to_string(dialog.GetW()) + " " + std::to_string(dialog.GetH()));
}

std::unique_ptr<Image> Plain(int w, int h, const Color& colour)
{
    auto* canvas = new Canvas(w, h, nullptr);
    canvas->Clear(colour);
    Rectangle whole(0, 0, static_cast<short>(w), static_cast<short>(h));
    return std::make_unique<Image>(canvas, whole);
}

void DialogReporter::DialogButtonClicked(int, int itemId, int how)
{
    Say("clicked " + std::to_string(itemId) + " " + std::to_string(how));
}

void DialogReporter::DialogDetached(int dialogId)
{
    Say("detached " + std::to_string(dialogId));
    _detached = true;
}

} // namespace xvfbscene
