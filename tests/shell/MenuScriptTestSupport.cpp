#include "tests/shell/MenuScriptTestSupport.h"

#include "SDL_mixer.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Framework.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Channel.h"
#include "framework/media/Music.h"
#include "tests/support/TestSupport.h"

namespace shelldialogtest {

void MenuScriptFixture::TearDown()
{
    // No frame after this: the menu stage's background belongs to the script's menu description.
    script.reset();
    if (app != nullptr) {
        app->_animationManager = nullptr;
    }
    if (_audioOpen) {
        Music::Stop();
        Channel::Allocate(0);
        Mix_CloseAudio();
    }
    ShellDialogFixture::TearDown();
}

RecordingScript* MenuScriptFixture::StartMenu(bool showMenu)
{
    // The script reaches the frame loop through the framework, which must not delete it.
    app->_animationManager = manager.get();
    script = std::make_unique<RecordingScript>(app.get(), manager->GetGameTime());
    script->LoadMenuResources(false);
    if (showMenu) {
        script->DoState(AppScript::kMenu);
    }
    Frame();
    cast = script->GetCast();
    return script.get();
}

std::map<std::string, std::string> MenuScriptFixture::PlayersOnDisk()
{
    ConfigFile players("players.cfg", false, false, false);
    return testsupport::ConfigEntries(players);
}

bool MenuScriptFixture::OpenAudio()
{
    if (Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024) != 0) {
        return false;
    }
    _audioOpen = true;
    Channel::Allocate(10);
    return true;
}

} // namespace shelldialogtest
