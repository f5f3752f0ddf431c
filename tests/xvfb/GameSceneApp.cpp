#include "tests/xvfb/GameSceneApp.h"

#include "framework/core/Application.h"
#include "framework/media/AnimationManager.h"
#include "mahjong/app/MjGameScript.h"

#include <utility>

namespace {

// The game script with the variant the menu would have chosen.
class VariantScript final : public MjGameScript
{
public:
    VariantScript(Framework* app, GameTime* clock, int variant)
        : MjGameScript(app, clock), _variant(variant)
    {}
    int GetGameVariant() override { return _variant; }

private:
    int _variant;
};

} // namespace

GameSceneApp::GameSceneApp(std::string caption, int variant)
    : _caption(std::move(caption)), _variant(variant)
{}

GameSceneApp::~GameSceneApp()
{
    if (_animationManager != nullptr) {
        _animationManager->SetScript(nullptr);
    }
    SetScript(nullptr);
    delete _script;
}

bool GameSceneApp::OnInit(int argc, char** argv)
{
    Application::AllowDropShadows(true);
    if (!Framework::OnInit(argc, argv)) {
        return false;
    }
    SetTitle(_caption.c_str(), "");
    _script = new VariantScript(this, _animationManager->GetGameTime(), _variant);
    // No splash and menu: the scene starts the game itself.
    _script->ChangeState(AppScript::kMenuLive, 0);
    _animationManager->SetScript(_script);
    return true;
}

void GameSceneApp::DoIt()
{
    Framework::DoIt();
    Step();
}

void GameSceneApp::OnKeyDown(SDLKey key, SDLMod mod, unsigned short unicode)
{
    Framework::OnKeyDown(key, mod, unicode);
    if (key == SDLK_ESCAPE) {
        _script->ChangeState(AppScript::kQuit);
    }
}
