// Feeds arbitrary bytes to the dialog builder as a dialog description whose parent is the
// game's skin: one section of it is built into a resizable dialog (with the controls its
// "controls" list names, of whatever kinds), shown and painted in a frame of the frame loop,
// then taken off the stage and repainted over.
#include "SDL.h"
#include "SDL_ttf.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Debug.h"
#include "framework/dialogs/CastMemberDialogResizable.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using fuzzsupport::Check;

// What one input may make the frame loop sleep in all: more is a stall, a fault of its own.
constexpr Uint32 kMostSleepMs = 1000;

SDL_Surface* gScreen = nullptr;
std::unique_ptr<AnimationManager> gManager;
std::unique_ptr<ConfigFile> gSkin;
Uint32 gSleptMs = 0;

} // namespace

// The frame loop gives the processor back for a millisecond after each frame painted straight
// to the screen. Here that would be most of the wall time, so the sleep is only counted.
extern "C" void SDL_Delay(Uint32 ms)
{
    gSleptMs += ms;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::EnterScratchFolder("dlgfuzz", GAME_DATA_DIR);
    SDL_putenv(const_cast<char*>("SDL_VIDEODRIVER=dummy"));
    Check(SDL_Init(SDL_INIT_VIDEO) == 0, "SDL does not start");
    Check(TTF_Init() == 0, "SDL_ttf does not start");
    gScreen =
        SDL_SetVideoMode(AnimationManager::kScreenWidth, AnimationManager::kScreenHeight, 32, 0);
    Check(gScreen != nullptr, "no screen");
    Canvas::SetDefaultPixelFormat(gScreen->format);
    Debug quiet;
    quiet.DebugOff(true);
    ConfigFile::TurnEncryption(false);
    gSkin = std::make_unique<ConfigFile>("cfg/skin.cfg", nullptr, false, true, false);
    gManager = std::make_unique<AnimationManager>(nullptr, gScreen, false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzsupport::Put("cfg/fuzz.cfg", data, size);
    ConfigFile description("cfg/fuzz.cfg", gSkin.get(), false, true, false);
    // Each section once (the list holds a section once per entry).
    std::vector<std::string> sections;
    for (const std::string& section : description.GetSectionsThatStartWith("")) {
        if (sections.empty() || sections.back() != section) {
            sections.push_back(section);
        }
    }
    // One section per input, chosen by its size, so that every section of a seed is reached
    // and each input costs one dialog. Without sections the dialog is the skin's alone.
    const std::string section = sections.empty() ? "dialog" : sections[size % sections.size()];

    gSleptMs = 0;
    {
        CastMemberDialogResizable dialog(&description, gManager->GetCast(), 3, nullptr, nullptr);
        dialog.Init(&description, section);
        dialog.Show(0, 0, -1, -1, false, 200);
        gManager->DoIt();
        dialog.DetachDialog();
    }
    // Repaints where the dialog was. A repainted area stays marked for two frames, so after
    // one more the stage holds nothing of this input: what an input leaves behind makes
    // libFuzzer run it again to look for a leak, and after a thousand such inputs it stops
    // looking.
    gManager->DoIt();
    gManager->DoIt();
    Check(gSleptMs <= kMostSleepMs, "the frame loop slept for more than a second");
    return 0;
}
