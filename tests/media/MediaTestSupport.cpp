#include "tests/media/MediaTestSupport.h"

#include "SDL.h"
#include "framework/core/Debug.h"
#include "framework/media/Audio.h"
#include "framework/media/Canvas.h"
#include "framework/media/Channel.h"
#include "tests/support/TestSupport.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>

namespace mediatest {

namespace {

constexpr int kRate = 22050;
constexpr int kSilenceThreshold = 200;

void PutLE(std::string& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

} // namespace

std::string SansFont()
{
    return "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
}

std::string MonoFont()
{
    return "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
}

void MakeParentDirs(const std::string& path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) {
        std::filesystem::create_directories(parent);
    }
}

bool WriteWav(const std::string& path, int ms, int amplitude)
{
    const uint32_t frames = static_cast<uint32_t>(kRate) * static_cast<uint32_t>(ms) / 1000;
    const uint32_t dataBytes = frames * 4;
    std::string out = "RIFF";
    PutLE(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    PutLE(out, 16, 4);
    PutLE(out, 1, 2); // PCM
    PutLE(out, 2, 2); // stereo
    PutLE(out, kRate, 4);
    PutLE(out, kRate * 4, 4);
    PutLE(out, 4, 2);
    PutLE(out, 16, 2);
    out += "data";
    PutLE(out, dataBytes, 4);
    for (uint32_t i = 0; i < frames; ++i) {
        // 441 Hz square wave.
        const int16_t sample = static_cast<int16_t>((i / 25) % 2 == 0 ? amplitude : -amplitude);
        PutLE(out, static_cast<uint16_t>(sample), 2);
        PutLE(out, static_cast<uint16_t>(sample), 2);
    }
    MakeParentDirs(path);
    return testsupport::WriteFile(path, out);
}

bool WriteOgg(const std::string& path, int ms)
{
    const std::string wav = path + ".source.wav";
    if (!WriteWav(wav, ms, 12000)) {
        return false;
    }
    const std::string command = "oggenc -Q -o '" + path + "' '" + wav + "'";
    const bool ok = std::system(command.c_str()) == 0;
    std::filesystem::remove(wav);
    return ok && testsupport::FileExists(path);
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    const Uint32 start = SDL_GetTicks();
    while (!condition()) {
        if (static_cast<int>(SDL_GetTicks() - start) >= timeoutMs) {
            return condition();
        }
        SDL_Delay(5);
    }
    return true;
}

std::string ReadLog()
{
    return testsupport::ReadLog();
}

long CountLoudFrames(const std::string& rawPath)
{
    std::ifstream in(rawPath, std::ios::binary);
    long loud = 0;
    int16_t frame[2];
    while (in.read(reinterpret_cast<char*>(frame), sizeof frame)) {
        if (std::abs(frame[0]) > kSilenceThreshold || std::abs(frame[1]) > kSilenceThreshold) {
            ++loud;
        }
    }
    return loud;
}

void UseDiskAudio(const std::string& rawPath)
{
    // The test main only sets the dummy driver when none is set: replace it.
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", rawPath.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "46", 1);
}

void AudioTestBase::SetUp()
{
    ASSERT_TRUE(Audio::Open(1024, 22050, AUDIO_S16LSB, 2)) << SDL_GetError();
    ASSERT_TRUE(Channel::Allocate(kChannels));
    ASSERT_TRUE(WriteWav(kTone, 400, 12000));
    // The mixer marks a paused channel with SDL's tick count, and reads a pause made at tick 0
    // as none: a fast set-up must not leave a test pausing in SDL's first millisecond.
    while (SDL_GetTicks() == 0) {
        SDL_Delay(1);
    }
}

void AudioTestBase::TearDown()
{
    Channel::Allocate(0);
    Audio::Close();
}

void AudioTestBase::ReopenOnDisk(const std::string& rawPath)
{
    Channel::Allocate(0);
    Audio::Close();
    UseDiskAudio(rawPath);
    ASSERT_TRUE(Audio::Open(1024, 22050, AUDIO_S16LSB, 2)) << SDL_GetError();
    ASSERT_TRUE(Channel::Allocate(kChannels));
}

Color FramePixel(int frame, int x, int y)
{
    return Color(static_cast<unsigned char>(frame * 30 + 10), static_cast<unsigned char>(x * 2),
                 static_cast<unsigned char>(y * 4), 255);
}

bool CopyImageFixture(const std::string& name, const std::string& target)
{
    mkdir("images", 0755);
    return testsupport::WriteFile(
        target, testsupport::ReadFile(testsupport::FixturePath("images/" + name)));
}

ScreenFormat::ScreenFormat(int w, int h)
    : _surface(SDL_CreateRGBSurface(0, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0))
{
    Canvas::SetDefaultPixelFormat(_surface->format);
}

ScreenFormat::~ScreenFormat()
{
    Canvas::SetDefaultPixelFormat(nullptr);
    SDL_FreeSurface(_surface);
}

} // namespace mediatest
