// Feeds arbitrary bytes to the dialog builder as a dialog description whose parent is the
// game's skin: every section of it is built into a resizable dialog (with the controls its
// "controls" list names, of whatever kinds), shown and painted in a frame of the frame loop.
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

// A description has few sections; beyond these the builder runs the same code again.
constexpr size_t kMostSections = 6;

SDL_Surface* gScreen = nullptr;
std::unique_ptr<AnimationManager> gManager;
std::unique_ptr<ConfigFile> gSkin;

} // namespace

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
    std::vector<std::string> sections = description.GetSectionsThatStartWith("");
    if (sections.size() > kMostSections) {
        sections.resize(kMostSections);
    }
    // A section the description lacks is built from the skin's alone.
    sections.push_back("dialog");
    for (const std::string& section : sections) {
        auto dialog = std::make_unique<CastMemberDialogResizable>(&description, gManager->GetCast(),
                                                                  3, nullptr, nullptr);
        dialog->Init(&description, section);
        dialog->Show(0, 0, -1, -1, false, 200);
        gManager->DoIt();
        dialog->DetachDialog();
        gManager->DoIt();
    }
    return 0;
}
