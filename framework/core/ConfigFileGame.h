#pragma once

#include "framework/core/ConfigFile.h"
#include "framework/core/Export.h"

#include <cstdint>
#include <string>

// The user's settings, section "game" of "game.cfg". Every setting has a default, so the
// program runs without the file; the setters write back, the others are edited by hand. The
// file is always plain, whatever the scrambling switch says.
class FRAMEWORK_API ConfigFileGame : public ConfigFile
{
public:
    explicit ConfigFileGame(const std::string& file);
    ~ConfigFileGame() override;

    // Clamped to 0..127; written as "musicvol".
    void SetMusicVolume(int volume, bool flush);
    // Clamped to 0..127; written as "soundsvol".
    void SetSoundsVolume(int volume, bool flush);
    // Also writes "checkcpu" as 0, so the next start skips the speed check; the checkcpu
    // member keeps the value read at start.
    void SetHighDetail(bool on, bool flush);
    void SetFullScreen(bool on, bool flush);
    void SetAllowDoubleBuffered(bool on, bool flush);

    // Read directly by their users; named after their keys.
    int32_t musicvol = 64;
    int32_t soundsvol = 64;
    bool highdetail = true;
    bool fullscreen = true;
    bool fps = false;
    bool checkcpu = true;
    int32_t cputhreshold = 400;
    int32_t cpusbthreshold = 800;
    int32_t videomemthreshold = 4096;
    int32_t forcesixteen = 0;
    // 0..5 (0: off); a value beyond is logged and clamped.
    int32_t testslow = 0;
    bool allowloadingthread = true;
    bool allowdoublebuffered = true;
    // 256..4096, a multiple of 4.
    int32_t audiobuffersize = 1024;
    bool allowwebupdater = true;
    // Host asked by the update check; optional, so its absence is neither logged nor counted.
    std::string updatehost = "localhost";

private:
    int32_t ReadInt(const char* key, int32_t defaultValue);
    bool ReadBool(const char* key, bool defaultValue);
    void WriteFlag(const char* key, bool on);
};
