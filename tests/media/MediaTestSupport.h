#pragma once

#include "framework/core/Color.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

struct SDL_Surface;

// Fixtures and helpers shared by the font, text, sound and music tests.
namespace mediatest {

// DejaVu fonts from Debian's fonts-dejavu-core.
std::string SansFont();
std::string MonoFont();

// A 16-bit stereo WAV at 22050 Hz: a square wave of the given amplitude (0 gives silence).
bool WriteWav(const std::string& path, int ms, int amplitude);
// A real Ogg Vorbis file of a tone (made with oggenc).
bool WriteOgg(const std::string& path, int ms);

// Creates the folders on the way to path.
void MakeParentDirs(const std::string& path);

// Polls until the condition holds or timeoutMs passed; returns the condition's last value.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs);

// The shared log "debug.txt" of this test, flushed first.
std::string ReadLog();

// Frames of a raw 16-bit stereo file (the disk audio driver's output) that are not silent.
long CountLoudFrames(const std::string& rawPath);

// Points the disk audio driver at a file for the next opening of the device.
void UseDiskAudio(const std::string& rawPath);

// The audio device as the framework opens it (22050 Hz, 16-bit, stereo) with ten channels, and
// a loud 400 ms sample in "audio/tone.wav". Closed again after the test.
class AudioTestBase : public ::testing::Test
{
protected:
    static constexpr int kChannels = 10;
    static constexpr char kTone[] = "audio/tone.wav";

    void SetUp() override;
    void TearDown() override;
    // Closes the device and opens it again on the disk driver, writing to rawPath.
    void ReopenOnDisk(const std::string& rawPath);
};

// A pixel of the fixture sheet "images/sheet4x2.png": 4 x 2 frames of 100 x 50; red tells the
// frame, green the column and blue the row inside the frame.
Color FramePixel(int frame, int x, int y);

// Copies the fixture "images/<name>" to target in the scratch folder, creating "images" first.
bool CopyImageFixture(const std::string& name, const std::string& target);

// A 32-bit screen of w x h whose format is the canvases' default while it lives.
class ScreenFormat
{
public:
    ScreenFormat(int w, int h);
    ~ScreenFormat();
    ScreenFormat(const ScreenFormat&) = delete;
    ScreenFormat& operator=(const ScreenFormat&) = delete;

private:
    SDL_Surface* _surface; // owned
};

} // namespace mediatest
