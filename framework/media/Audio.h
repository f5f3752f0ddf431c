#pragma once

#include "framework/core/Debug.h"
#include "framework/core/Export.h"

// Opens and closes the mixer's audio device and reports its format. Sound effects, channels and
// music play through the device opened here.
class FRAMEWORK_API Audio : public Debug
{
public:
    Audio();
    ~Audio() override;

    // Closes the device first, so the device is open exactly once afterwards. True when the
    // mixer accepted the format and the device; the program runs without sound otherwise.
    static bool Open(int bufferSize, int frequency, unsigned short format, int channels);
    // Closes the device however often it was opened; nothing when it is closed.
    static void Close();
    static bool IsOpen();

    // Pauses the open device while nothing can be heard: no channel plays (a paused channel
    // counts as playing) and the music is stopped, or plays at volume 0 without a fade. The
    // mixer's thread then mixes nothing. The frame loop calls it before an idle sleep.
    static void PauseWhileSilent();
    // Resumes a device that PauseWhileSilent paused; nothing otherwise. Called before every start
    // or resumption of a sound or the music and after a change of the music's volume.
    static void ResumeDevice();
    static bool DevicePaused();

    // The device's format; 0 while it is closed.
    static int GetFrequency();
    static unsigned short GetFormat();
    static int GetChannels();
};
