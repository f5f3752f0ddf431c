#pragma once

#include "SDL.h"
#include "framework/stage/DialogListener.h"

#include <functional>
#include <memory>
#include <string>

class AnimationManager;
class Cast;
class CastMember;
class Color;
class Image;

// Helpers shared by the scene programs that the Xvfb test scripts drive. The scripts read what
// the programs print on stdout, so the texts here are what they wait for.
namespace xvfbscene {

// The factor every bound of the Xvfb and end-to-end tests is scaled by: E2E_TIME_SCALE, a whole
// number from 1 (1 when unset or not such a number, said once on stderr).
unsigned int TimeScale();

// A bound of ms milliseconds on a machine that runs little beside the tests, times the factor.
unsigned int Scaled(unsigned int ms);

// How long a scene may run before it gives up on the script (times the factor): a bound for a
// script that failed and left it running, far beyond what a passing one takes on a busy machine.
constexpr Uint32 kGiveUpMs = 180000;

// Checks the program's arguments (usage names them, "FONT_FILE WORK_FOLDER") and moves into the
// folder that argument number `folder` names, where the engine writes its log "debug.txt".
// False, with the reason on stderr, when either fails.
bool EnterFolder(int argc, char** argv, const char* usage, int folder);

// Starts SDL's video (unless a Framework already did) and SDL_ttf, opens the 800 x 600 window
// the scripts find by its caption and makes new canvases take the screen's format. nullptr, with
// the reason on stderr, when any of it fails.
SDL_Surface* OpenSceneWindow(const char* caption);

// Undoes OpenSceneWindow; quitSdl is false where a Framework started SDL and quits it itself.
void CloseSceneWindow(bool quitSdl);

// Runs frames until the window is closed or onEvent or onFrame returns false. Each frame hands
// every queued event but SDL_QUIT to onEvent, then calls onFrame, which paints and reports. It
// says what the scripts wait for: "ready" once the first frame is on the screen, or the first
// one after which readyWhen holds, when given (after the lines sayPlaces prints, when given), and
// "moved X Y" for the last mouse move once the frame after the one that took it is on the screen,
// so that whatever the move started is painted. Returns 0, or 3 once the run has lasted kGiveUpMs,
// scaled ("<awaited> within N ms" on stderr).
int RunScene(const std::function<bool(const SDL_Event&)>& onEvent,
             const std::function<bool()>& onFrame, const char* awaited,
             const std::function<void()>& sayPlaces = nullptr,
             const std::function<bool()>& readyWhen = nullptr);

// Whether the stage stands still and takes presses: the screen is not fading in, no sprite of
// the cast (nor its dialog) is fading, and the moment after a dialog came, when the stage drops
// presses, is over. What a script sees then is what stays.
bool StageSettled(AnimationManager& manager, Cast* cast);

// Hands a mouse event on to a stage or its frame loop (a Cast or an AnimationManager, which take
// the same calls); other events are left alone.
template <class Target> void ForwardMouse(Target& target, const SDL_Event& event)
{
    switch (event.type) {
    case SDL_MOUSEMOTION:
        target.MouseMove(event.motion.x, event.motion.y);
        break;
    case SDL_MOUSEBUTTONDOWN:
        target.MouseDown(event.button.x, event.button.y, event.button.button);
        break;
    case SDL_MOUSEBUTTONUP:
        target.MouseUp(event.button.x, event.button.y, event.button.button);
        break;
    default:
        break;
    }
}

// Whether the event is a press of Escape, which ends most scenes.
bool IsEscape(const SDL_Event& event);

// RunScene for a scene that is a frame loop's stage alone: each frame is the loop's DoIt, the
// mouse goes to its cast (as ForwardMouse), Escape ends the run, and "ready" waits until the
// stage has settled (StageSettled), so that the script's first shot sees what stays.
int RunStageScene(AnimationManager& manager);

// One line on stdout, flushed at once: the script reads it while the scene runs.
void Say(const std::string& line);

// "dialog X Y W H": the dialog's place and size on the screen.
void SayDialog(CastMember& dialog);

// A w x h image of one colour, in the screen's format; the image owns its canvas.
std::unique_ptr<Image> Plain(int w, int h, const Color& colour);

// Says "clicked ITEM HOW" and "detached DIALOG"; remembers that the dialog has gone.
class DialogReporter : public DialogListener
{
public:
    void DialogButtonClicked(int dialogId, int itemId, int how) override;
    void DialogDetached(int dialogId) override;

    bool Detached() const { return _detached; }

private:
    bool _detached = false;
};

} // namespace xvfbscene
