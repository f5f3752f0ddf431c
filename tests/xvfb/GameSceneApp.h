#pragma once

#include "framework/core/Framework.h"

#include <string>

class MjGameScript;

// The game's framework for a scene program that the Xvfb scripts drive: no splash and menu (the
// scene starts a game of its variant itself, through the game script), Step() after every frame,
// Escape quits.
class GameSceneApp : public Framework
{
public:
    GameSceneApp(std::string caption, int variant);
    // The game's objects go before the framework's.
    ~GameSceneApp() override;

    bool OnInit(int argc, char** argv) override;
    void DoIt() override;
    void OnKeyDown(SDLKey key, SDLMod mod, unsigned short unicode) override;

protected:
    virtual void Step() = 0;

    MjGameScript* _script = nullptr; // owned

private:
    std::string _caption;
    int _variant;
};
