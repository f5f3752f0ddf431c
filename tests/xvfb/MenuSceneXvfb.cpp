// The main menu as its description places it, over a real Framework in a real window, for the
// Xvfb test (menu_scene.sh): background, welcome label, start and fixed buttons and the two
// animations from ConfigFileMenu, and the software cursor from the splash description through
// Framework::CreateCursors. The Framework's own frame loop paints it. It reports on stdout one
// line "item NAME X Y W H" per placed button, "ready" after the first frame, "moved X Y" once a
// frame after a mouse move is on the screen and "clicked ID BUTTON" for button clicks. Escape
// ends it.
//
// Usage: menu_scene_xvfb DATA_FOLDER   (a copy of the game's data folder; it is written to)
#include "SDL.h"
#include "framework/core/Framework.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Image.h"
#include "framework/shell/ConfigFileMenu.h"
#include "framework/shell/ConfigFileSplash.h"
#include "framework/shell/MenuAnimInfo.h"
#include "framework/shell/MenuButtonInfo.h"
#include "framework/stage/ButtonListener.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberButton.h"
#include "framework/stage/CastMemberImage.h"
#include "framework/stage/CastMemberText.h"
#include "tests/xvfb/XvfbSceneSupport.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

// The menu's button ids: start buttons 1 to 10, then the fixed ones.
constexpr int kQuitId = 11;
constexpr int kOptionsId = 12;
constexpr int kRulesId = 13;
constexpr int kPlayerId = 15;
constexpr int kShadowAlpha = 64;

struct ClickReporter : ButtonListener
{
    void ButtonClicked(int id, int button) override
    {
        xvfbscene::Say("clicked " + std::to_string(id) + " " + std::to_string(button));
    }
};

void AddButton(Cast* cast, const MenuButtonInfo& info, int id, const std::string& name,
               ButtonListener* listener)
{
    auto* button =
        new CastMemberButton(cast, info._image, id, info._pos.GetX(), info._pos.GetY(), info._pri);
    button->SetAlpha(info._alpha);
    button->UseTransparentBackground();
    button->SetDropShadow(info._shadow.GetX(), info._shadow.GetY(), Color(0, 0, 0, 255),
                          kShadowAlpha);
    button->SetButtonListener(listener);
    xvfbscene::Say("item " + name + " " + std::to_string(button->GetX()) + " " +
                   std::to_string(button->GetY()) + " " + std::to_string(button->GetW()) + " " +
                   std::to_string(button->GetH()));
}

int RunMenu()
{
    auto app = std::make_unique<Framework>();
    if (!app->OnInit(0, nullptr)) {
        std::fprintf(stderr, "the framework did not start\n");
        return 2;
    }
    app->SetTitle("MenuScene", nullptr);
    int result = 0;
    {
        ConfigFileSplash splash("cfg/splash.cfg");
        ConfigFileMenu menu("cfg/menu.cfg", app->GetThemeConfig(), false);
        Cast* cast = app->_animationManager->GetCast();
        cast->SetBackground(menu._bgImage);

        ClickReporter reporter;
        for (size_t i = 0; i < menu._startButtons.size(); ++i) {
            AddButton(cast, *menu._startButtons[i], static_cast<int>(i) + 1,
                      "start" + std::to_string(i + 1), &reporter);
        }
        AddButton(cast, *menu._playerButton, kPlayerId, "player", &reporter);
        AddButton(cast, *menu._optionsButton, kOptionsId, "options", &reporter);
        AddButton(cast, *menu._rulesButton, kRulesId, "rules", &reporter);
        AddButton(cast, *menu._quitButton, kQuitId, "quit", &reporter);

        auto* welcome =
            new CastMemberText(cast, "Welcome, Blue  Fox", menu._welcomeFont, menu._welcomeColor,
                               menu._welcomeColor, menu._welcomeShadowColor, menu._welcomeWidth,
                               menu._welcomePos.GetX(), menu._welcomePos.GetY(), menu._welcomePri);
        welcome->Justify(menu._welcomeJustify);
        welcome->SetDropShadow(menu._welcomeShadow.GetX(), menu._welcomeShadow.GetY(),
                               Color(0, 0, 0, 255), kShadowAlpha);

        for (const MenuAnimInfo* anim : menu._animations) {
            auto* sprite = new CastMemberImage(cast, anim->_image, anim->_pos.GetX(),
                                               anim->_pos.GetY(), anim->_pri, 0);
            sprite->SetDropShadow(anim->_shadow.GetX(), anim->_shadow.GetY(), Color(0, 0, 0, 255),
                                  kShadowAlpha);
            if (anim->_transparency) {
                sprite->UseTransparentBackground();
            }
            sprite->Loop(anim->_speed, anim->_loops > 0 ? anim->_loops : -1, anim->_beginDelay,
                         anim->_loopDelay);
        }

        app->CreateCursors(&splash, cast);
        app->ShowCursor();
        app->_animationManager->SetMasterInput(true);

        auto onEvent = [&](const SDL_Event& event) {
            if (xvfbscene::IsEscape(event)) {
                return false;
            }
            SDL_Event copy = event;
            app->OnEvent(&copy);
            return true;
        };
        auto onFrame = [&]() {
            app->DoIt();
            return true;
        };
        result = xvfbscene::RunScene(onEvent, onFrame, "no Escape");
        // The sprites go with the stage; the background image is the description's.
        cast->SetBackground(static_cast<Image*>(nullptr));
    }
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    if (!xvfbscene::EnterFolder(argc, argv, "DATA_FOLDER", 1)) {
        return 2;
    }
    return RunMenu();
}
