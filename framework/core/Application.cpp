#include "framework/core/Application.h"

#include "SDL.h"

Application* Application::theApplication = nullptr;
bool Application::_quit = false;
int Application::_exitCode = 0;
bool Application::_idling = false;
uint32_t Application::_idleStart = 0;
bool Application::_dropShadows = false;
bool Application::_dialogDropShadows = false;

namespace {
constexpr int kSdlFailed = -1;
constexpr int kSecondApplication = -2;
constexpr int kNoApplication = -3;
constexpr int kInitFailed = -4;

constexpr int kKeyRepeatDelayMs = 500;
constexpr int kKeyRepeatIntervalMs = 60;
} // namespace

Application::Application()
{
    _quit = false;
    _exitCode = 0;
    SetApplication(this);

    _seed = SDL_GetTicks();

    if (SDL_Init(SDL_INIT_EVERYTHING) == -1) {
        DebugVar(-1, "Failed to Init SDL: %s", SDL_GetError());
        Quit(kSdlFailed);
    } else {
        // Nothing here uses SDL's timer callbacks (the engine's timers run on the main thread;
        // ticks and delays need no subsystem), and SDL 1.2 keeps a thread for them that wakes
        // every millisecond: most of what an idle program cost.
        SDL_QuitSubSystem(SDL_INIT_TIMER);
    }

    SDL_EnableUNICODE(1);
    SDL_EnableKeyRepeat(kKeyRepeatDelayMs, kKeyRepeatIntervalMs);
}

Application::~Application()
{
    // Nobody may reach a destroyed application through the static pointer.
    if (theApplication == this) {
        theApplication = nullptr;
    }
}

void Application::SetApplication(Application* app)
{
    if (theApplication != nullptr) {
        Quit(kSecondApplication);
    }
    theApplication = app;
}

Application* Application::GetApplication()
{
    return theApplication;
}

bool Application::OnInit(int, char**)
{
    DebugInit();
    return true;
}

void Application::OnEvent(SDL_Event*) {}

void Application::OnIdle(unsigned int) {}

void Application::OnExit()
{
    if (_exitCode == 0) {
        DebugOut("Exiting with code ", _exitCode);
    } else {
        DebugVar(-1, "Exiting (Possibly Abnormally) with code %d", _exitCode);
    }
}

void Application::DoIt() {}

unsigned int Application::GetSeed()
{
    return _seed;
}

void Application::OnIdle()
{
    const uint32_t now = SDL_GetTicks();
    if (!_idling) {
        _idling = true;
        _idleStart = now;
        OnIdle(0u);
    } else {
        OnIdle(static_cast<unsigned int>(now - _idleStart));
    }
}

void Application::Quit(int code)
{
    _quit = true;
    _exitCode = code;
}

int Application::Execute(int argc, char** argv)
{
    Application* const app = theApplication;
    if (app == nullptr) {
        return kNoApplication;
    }
    if (!app->OnInit(argc, argv)) {
        // The exit line reports the code the process really ends with.
        _exitCode = kInitFailed;
        app->OnExit();
        return kInitFailed;
    }

    while (!_quit) {
        SDL_Event event{};
        SDL_Event motion{};
        bool haveMotion = false;
        int count = 0;
        bool quitEvent = false;

        while (SDL_PollEvent(&event) != 0) {
            ++count;
            if (event.type == SDL_QUIT) {
                _idling = false;
                _quit = true;
                quitEvent = true;
                break;
            }
            if (event.type == SDL_MOUSEMOTION) {
                // Only the last motion of a batch matters; it is delivered after the others.
                motion = event;
                haveMotion = true;
            } else {
                app->OnEvent(&event);
            }
            _idling = false;
        }

        if (quitEvent || _quit) {
            break;
        }
        if (count == 0) {
            app->OnIdle();
        } else if (haveMotion) {
            app->OnEvent(&motion);
        }
        app->DoIt();
    }

    app->OnExit();
    return _exitCode;
}

void Application::AllowDropShadows(bool allow)
{
    _dropShadows = allow;
}

bool Application::DropShadowsAllowed()
{
    return _dropShadows;
}

void Application::AllowDialogDropShadows(bool allow)
{
    _dialogDropShadows = allow;
}

bool Application::DialogDropShadowsAllowed()
{
    return _dropShadows && _dialogDropShadows;
}
