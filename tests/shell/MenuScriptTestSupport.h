#pragma once

#include "framework/shell/AppScript.h"
#include "tests/shell/ShellDialogTestSupport.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

// The shell dialogs as the application script opens them: the game's data, the script made on
// the fixture's screen, its menu resources read and its menu built.
namespace shelldialogtest {

// An application script that notes the screen mode it is asked for instead of switching it.
class RecordingScript final : public AppScript
{
public:
    using AppScript::AppScript;
    void SetFullScreen(bool full) override { fullScreenCalls.push_back(full); }
    void DeletedPlayer(const std::string& name) override { deleted.push_back(name); }

    std::vector<bool> fullScreenCalls;
    std::vector<std::string> deleted;
};

class MenuScriptFixture : public ShellDialogFixture
{
protected:
    void TearDown() override;

    // Makes the script and reads its menu resources; with showMenu, runs its menu state once
    // (player list, menu sprites, menu music and sound). The stage is then the menu stage.
    RecordingScript* StartMenu(bool showMenu = true);
    // The player list on disk, read afresh: "section/key" to value.
    std::map<std::string, std::string> PlayersOnDisk();
    // Opens the audio device (dummy driver) with the mixer's channels; false when it can't.
    bool OpenAudio();

    std::unique_ptr<RecordingScript> script;

private:
    bool _audioOpen = false;
};

} // namespace shelldialogtest
