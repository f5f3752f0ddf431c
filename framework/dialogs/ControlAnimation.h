#pragma once

#include "framework/core/Export.h"
#include "framework/dialogs/Control.h"

#include <string>

// An animated image of a dialog description ("type" "animation"): "img" (the frames side by
// side), "frames", "speed" (ms per frame), "sound" (played as each pass leaves frame 1; "none":
// silent) and "loops" (passes before it stops on frame 0). It runs from AddTo; whoever holds
// the dialog steps it once per frame with Animate.
class FRAMEWORK_API ControlAnimation : public Control
{
public:
    // The sound name that plays nothing and is not looked up.
    static constexpr const char* kNoSound = "none";

    ControlAnimation();

    // The common keys, then "img", "frames", "speed", "sound", "loops". True with an image.
    bool Load(ConfigFile* file, const std::string& section) override;
    ~ControlAnimation() override;

    // An image item (id -1) on frame 0, then starts the animation on the clock of the dialog's
    // stage.
    void AddTo(CastMemberDialog* dialog) override;
    // One frame of the strip ("frames" of them side by side); 0 without an image.
    int GetH() override;
    int GetW() override;

    // Called once per frame with the stage clock's time: once speed ms have passed since the
    // last step, shows the next frame; after the last frame it wraps to 0 and counts a pass,
    // stopping when loops passes are done. Changes only the control and its item.
    virtual void Animate(unsigned int time);

    // Runs again from the frame showing, with no pass counted, the last step at time.
    void Reset(int time);
    // Clock ms from time until Animate shows the next frame: 0 when it is due; ~0u when the
    // animation does not run.
    unsigned int MsUntilStep(unsigned int time) const;

    bool IsRunning() const { return _running; }
    int GetCurrentFrame() const { return _currentFrame; }
    int GetFrames() const { return _frames; }
    int GetSpeed() const { return _speed; }
    int GetLoops() const { return _loops; }
    int GetLoopCount() const { return _loopCount; }
    const std::string& GetSound() const { return _sound; }
    Image* GetImage() const { return _image; }

private:
    bool _running = false;
    int _frames = 2;
    Image* _image = nullptr; // owned
    int _speed = 100;
    std::string _sound;
    int _loops = 1;
    int _loopsAtAdd = 0;
    int _loopCount = 0;
    int _framesAtAdd = 0;
    int _currentFrame = 0;
    int _speedAtAdd = 0;
    unsigned int _lastStepTime = 0;
};
