#include "framework/core/ConfigFileGame.h"

#include <algorithm>

namespace {

const char* const kSection = "game";

int32_t ClampVolume(int volume)
{
    return std::clamp(volume, 0, 127);
}

// In the slowed test mode every clock reading sleeps 10 n - 9 ms, and a frame of the menu reads
// the clock up to 17 times: beyond 5 a frame stalls for more than a second, and the window
// answers neither its close button nor SIGTERM meanwhile.
constexpr int32_t kMostTestSlow = 5;

// The mixer wants a multiple of 4 within what the audio device accepts.
int32_t ClampAudioBuffer(int size)
{
    return std::clamp(size, 256, 4096) & ~3;
}

} // namespace

ConfigFileGame::ConfigFileGame(const std::string& file) : ConfigFile(file, false, true, false)
{
    SetClassLabel("ConfigFileGame");
    // In this order: a missing key is logged and counted in the order read.
    musicvol = ReadInt("musicvol", musicvol);
    soundsvol = ReadInt("soundsvol", soundsvol);
    highdetail = ReadBool("highdetail", highdetail);
    fullscreen = ReadBool("fullscreen", fullscreen);
    fps = ReadBool("fps", fps);
    checkcpu = ReadBool("checkcpu", checkcpu);
    cputhreshold = ReadInt("cputhreshold", cputhreshold);
    forcesixteen = ReadInt("forcesixteen", forcesixteen);
    testslow = ReadInt("testslow", testslow);
    cpusbthreshold = ReadInt("cpusbthreshold", cpusbthreshold);
    videomemthreshold = ReadInt("videomemthreshold", videomemthreshold);
    allowloadingthread = ReadBool("allowloadingthread", allowloadingthread);
    allowdoublebuffered = ReadBool("allowdoublebuffered", allowdoublebuffered);
    allowwebupdater = ReadBool("allowwebupdater", allowwebupdater);
    audiobuffersize = ReadInt("audiobuffersize", audiobuffersize);
    const auto host = _values.find(std::string(kSection) + "/updatehost");
    if (host != _values.end() && !static_cast<std::string>(host->second).empty()) {
        updatehost = static_cast<std::string>(host->second);
    }

    const int32_t slow = std::clamp(testslow, 0, kMostTestSlow);
    if (slow != testslow) {
        DebugVar(0, "testslow=%d is out of range 0..%d: %d is used", static_cast<int>(testslow),
                 static_cast<int>(kMostTestSlow), static_cast<int>(slow));
        testslow = slow;
    }
    musicvol = ClampVolume(musicvol);
    soundsvol = ClampVolume(soundsvol);
    audiobuffersize = ClampAudioBuffer(audiobuffersize);
}

ConfigFileGame::~ConfigFileGame() = default;

int32_t ConfigFileGame::ReadInt(const char* key, int32_t defaultValue)
{
    return AsInt(Value(kSection, key, static_cast<double>(defaultValue), true));
}

bool ConfigFileGame::ReadBool(const char* key, bool defaultValue)
{
    return static_cast<double>(Value(kSection, key, defaultValue ? 1.0 : 0.0, true)) != 0.0;
}

void ConfigFileGame::WriteFlag(const char* key, bool on)
{
    Write(kSection, key, on ? 1 : 0);
}

void ConfigFileGame::SetMusicVolume(int volume, bool flush)
{
    musicvol = ClampVolume(volume);
    Write(kSection, "musicvol", static_cast<int>(musicvol));
    if (flush) {
        Flush();
    }
}

void ConfigFileGame::SetSoundsVolume(int volume, bool flush)
{
    soundsvol = ClampVolume(volume);
    Write(kSection, "soundsvol", static_cast<int>(soundsvol));
    if (flush) {
        Flush();
    }
}

void ConfigFileGame::SetHighDetail(bool on, bool flush)
{
    highdetail = on;
    WriteFlag("highdetail", on);
    WriteFlag("checkcpu", false);
    if (flush) {
        Flush();
    }
}

void ConfigFileGame::SetFullScreen(bool on, bool flush)
{
    fullscreen = on;
    WriteFlag("fullscreen", on);
    if (flush) {
        Flush();
    }
}

void ConfigFileGame::SetAllowDoubleBuffered(bool on, bool flush)
{
    allowdoublebuffered = on;
    WriteFlag("allowdoublebuffered", on);
    if (flush) {
        Flush();
    }
}
