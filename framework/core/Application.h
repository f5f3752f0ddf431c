#pragma once

#include "framework/core/Export.h"
#include "framework/core/MessageHandler.h"

#include <cstdint>

union SDL_Event;

// The one application object of the process: starts SDL, owns the quit flag and the exit code,
// and runs the main loop. The game program makes it, calls Execute and deletes it afterwards.
class FRAMEWORK_API Application : public MessageHandler
{
public:
    // Starts SDL (every subsystem), Unicode key translation and key repeat. A second object, or
    // SDL failing to start, sets the quit flag with code -2 or -1; the start still goes on.
    Application();
    ~Application() override;

    // Called once by Execute before the first pass; false ends Execute with -4. The default
    // writes the log banner.
    virtual bool OnInit(int argc, char** argv);
    // Called for each event of a pass but the quit event; a batch's last mouse motion comes
    // after its other events.
    virtual void OnEvent(SDL_Event* event);
    // Called on a pass without events with the milliseconds since the first such pass after the
    // last event (0 on that first pass).
    virtual void OnIdle(unsigned int ms);
    // Called once when the loop has ended, or after OnInit failed; logs the exit code.
    virtual void OnExit();
    // Called at the end of every pass that did not end the loop; may call Quit.
    virtual void DoIt();
    // The tick count taken at construction.
    virtual unsigned int GetSeed();

    // One idle step, exactly as the loop does it on a pass without events. A class that
    // overrides OnIdle(ms) hides this name: call it as Application::OnIdle().
    void OnIdle();

    // The main loop of the current application object; argc and argv only go to OnInit.
    // Returns the code given to Quit, or -1 (SDL failed to start), -2 (a second application
    // object was made), -3 (no application object), -4 (OnInit failed).
    static int Execute(int argc, char** argv);
    // Ends the loop after the current pass with the given exit code.
    static void Quit(int code);
    static Application* GetApplication();

    static void AllowDropShadows(bool allow);
    static bool DropShadowsAllowed();
    static void AllowDialogDropShadows(bool allow);
    // Dialog shadows need both switches.
    static bool DialogDropShadowsAllowed();

    // The current application object (the newest one made); cleared when that object is
    // destroyed. Prefer GetApplication().
    static Application* theApplication;

private:
    static void SetApplication(Application* app);

    uint32_t _seed = 0;

    // Process-wide loop state. All constant-initialised, so they hold their start values before
    // any static constructor of the library runs.
    static bool _quit;
    static int _exitCode;
    static bool _idling;        // a pass without events happened since the last event
    static uint32_t _idleStart; // tick of that pass
    static bool _dropShadows;
    static bool _dialogDropShadows;
};
