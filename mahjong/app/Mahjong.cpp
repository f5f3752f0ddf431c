#include "mahjong/app/Mahjong.h"

#include "framework/core/Application.h"
#include "framework/media/AnimationManager.h"
#include "mahjong/app/MjGameScript.h"

Mahjong::Mahjong()
{
    SetName("Mahjong");
    SetTitle("Quorvane", "images/mahjong.gif");
    _script = nullptr;
    _cheatMode = false;
    Debug::SetProductVersion("1.131");
    Debug::SetProductName("Quorvane");
    Debug::SetProductNameShort("MJ");
}

Mahjong::~Mahjong()
{
    delete _script;
    _script = nullptr;
}

bool Mahjong::OnInit(int argc, char** argv)
{
    Application::AllowDropShadows(true);
    if (!Framework::OnInit(argc, argv)) {
        return false;
    }
    _script = new MjGameScript(this, _animationManager->GetGameTime());
    _animationManager->SetScript(_script);
    return true;
}

void Mahjong::OnIdle(unsigned int ms)
{
    Framework::OnIdle(ms);
}

void Mahjong::OnExit()
{
    Framework::OnExit();
}

void Mahjong::DoIt()
{
    Framework::DoIt();
    _script->DoFrame();
}

void Mahjong::OnKeyDown(SDLKey key, SDLMod mod, unsigned short unicode)
{
    Framework::OnKeyDown(key, mod, unicode);
    if (_script == nullptr) {
        return;
    }
    if (key == SDLK_ESCAPE || key == SDLK_SPACE) {
        _script->KeyPressed(key);
        return;
    }
    const bool chord =
        key == SDLK_q && (mod & KMOD_CTRL) != 0 && (mod & KMOD_SHIFT) != 0 && (mod & KMOD_ALT) != 0;
    if (chord) {
        _cheatMode = true;
        _script->KeyPressed(kCheatCode);
        return;
    }
    if (_cheatMode) {
        DebugVar(0, "Cheat Key = %d", static_cast<int>(key));
        _script->KeyPressed(key);
    }
}

std::string Mahjong::GetGameName()
{
    return "MahJong";
}

const char* Mahjong::GetDefaultFontName()
{
    return "fonts/MahJongNum.ttf";
}

int Mahjong::GetDefaultFontSize()
{
    return 24;
}

int Mahjong::GetDefaultSmallFontSize()
{
    return 16;
}

int Mahjong::GetDefaultDialogSize()
{
    return 16;
}

int Mahjong::LoadGameResources(bool onThread)
{
    return _script != nullptr ? _script->LoadGameConfigs(onThread) : 0;
}

int Mahjong::LoadOtherResources(int, bool onThread)
{
    return _script != nullptr ? _script->LoadSceneAnimation(onThread) : 0;
}
