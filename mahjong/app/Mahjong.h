#pragma once

#include "framework/core/Framework.h"

class MjGameScript;

// The game's application: its identity, the game script once the framework runs, keys and the
// cheat chord.
class Mahjong : public Framework
{
public:
    static constexpr int kCheatCode = 1;

    Mahjong();
    ~Mahjong() override;

    bool OnInit(int argc, char** argv) override;
    void OnIdle(unsigned int ms) override;
    using Framework::OnIdle;
    void OnExit() override;
    void DoIt() override;
    void OnKeyDown(SDLKey key, SDLMod mod, unsigned short unicode) override;
    std::string GetGameName() override;
    const char* GetDefaultFontName() override;
    int GetDefaultFontSize() override;
    int GetDefaultSmallFontSize() override;
    int GetDefaultDialogSize() override;
    int LoadGameResources(bool onThread) override;
    int LoadOtherResources(int mode, bool onThread) override;

    MjGameScript* GetGameScript() const { return _script; }

    // Written directly by the script and the board screen.
    bool _cheatMode = false;

private:
    MjGameScript* _script = nullptr; // owned
};
