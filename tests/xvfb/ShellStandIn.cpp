// A stand-in for the game, built the way the game builds on the library: an application class
// derived from Framework and a script derived from AnimatedAppScript. It runs the whole shell
// (splash, menu, hand-over, return, quit) in the data folder it is started in; its "game" is a
// placeholder line naming the variant and the player file. It tells the Xvfb script where it is
// on stdout ("state N", "item NAME X Y", "dialog ID X Y W H" for the dialog on top of the stage
// whenever that changes, "dialog none" once none is, "player label TEXT" when the label changes),
// when the animation clock stops and runs again ("clock stopped", "clock running"), what an
// update or news notice shows ("notice ID", its place, its buttons and "notice line TEXT" per
// line) and which of its items was clicked.
#include "framework/core/ConfigFile.h"
#include "framework/core/Framework.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/CastMemberDialogResizable.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/AnimationManager.h"
#include "framework/shell/AnimatedAppScript.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberButton.h"
#include "framework/stage/CastMemberText.h"
#include "framework/stage/GameTime.h"
#include "tests/xvfb/XvfbSceneSupport.h"

#include <cstdio>
#include <string>

namespace {

constexpr int kGameFadeMs = 500;

class StandInScript final : public AnimatedAppScript
{
public:
    StandInScript(Framework* framework, GameTime* clock) : AnimatedAppScript(framework, clock) {}

    ~StandInScript() override { RemovePlaceholder(); }

    void DoState(int state) override
    {
        AnimatedAppScript::DoState(state);
        xvfbscene::Say("state " + std::to_string(state));
        Unsettle();
        if (state == kMenuLive) {
            SayButtons();
            if (GetPlayerLabel() != nullptr) {
                CastMemberText* label = GetPlayerLabel();
                xvfbscene::Say("label " + label->GetText());
                xvfbscene::Say("item welcome " + std::to_string(label->GetX()) + " " +
                               std::to_string(label->GetY()) + " " + std::to_string(label->GetW()) +
                               " " + std::to_string(label->GetH()));
            }
        }
        if (state == kFirstGameState) {
            ShowPlaceholder();
        }
    }

    bool KeyUp(SDLKey sym, SDLMod mod, unsigned short unicode, bool alphanumeric) override
    {
        if (GetState() == kFirstGameState) {
            if (sym == SDLK_ESCAPE) {
                ChangeState(kLeaveGame);
                return true;
            }
            if (sym == SDLK_q) {
                ChangeState(kQuit);
                return true;
            }
        }
        return AnimatedAppScript::KeyUp(sym, mod, unicode, alphanumeric);
    }

    void DestroyGame() override { RemovePlaceholder(); }

    void DoScript() override
    {
        AnimatedAppScript::DoScript();
        // Said on each change: opening a web link pauses the clock, and it must run again.
        const bool stopped = _framework->_animationManager->GetGameTime()->Stopped();
        if (!_clockSaid || stopped != _clockStopped) {
            xvfbscene::Say(stopped ? "clock stopped" : "clock running");
            _clockSaid = true;
            _clockStopped = stopped;
        }
        SayDialogOnTop();
        SaySettled();
        if (GetPlayerLabel() != nullptr && GetPlayerLabel()->GetText() != _saidLabel) {
            _saidLabel = GetPlayerLabel()->GetText();
            xvfbscene::Say("player label " + _saidLabel);
        }
    }

    void ShowUpdaterDialog(std::string text) override
    {
        AnimatedAppScript::ShowUpdaterDialog(text);
        if (CastMemberDialogResizable* notice = GetUpdateDialog()) {
            xvfbscene::Say("notice " + std::to_string(notice->GetID()));
            xvfbscene::SayDialog(*notice);
            for (const auto& item : notice->GetItems()) {
                if (item->GetID() == kNoticeYes || item->GetID() == kNoticeNo) {
                    xvfbscene::Say(std::string("item ") +
                                   (item->GetID() == kNoticeYes ? "yes " : "no ") +
                                   std::to_string(notice->GetX() + item->GetX()) + " " +
                                   std::to_string(notice->GetY() + item->GetY()) + " " +
                                   std::to_string(item->GetFrameWidth()) + " " +
                                   std::to_string(item->GetFrameHeight()));
                } else if (!item->GetText().empty()) {
                    xvfbscene::Say("notice line " + item->GetText());
                }
            }
        }
    }

    void DialogButtonClicked(int dialogId, int itemId, int how) override
    {
        xvfbscene::Say("notice " + std::to_string(dialogId) + " clicked " + std::to_string(itemId));
        AnimatedAppScript::DialogButtonClicked(dialogId, itemId, how);
    }

private:
    // The ids of the notices' Yes and No buttons in the menu description.
    static constexpr int kNoticeYes = 1;
    static constexpr int kNoticeNo = 2;

    void SayButtons()
    {
        int id = kFirstStartButton;
        for (CastMemberButton* button : GetStartButtons()) {
            SayCentre(("start" + std::to_string(id++)).c_str(), button);
        }
        for (CastMember* member : GetMenuCast()->GetCastMembers()) {
            if (member->GetID() == kQuitButton) {
                SayCentre("quit", member);
            } else if (member->GetID() == kOptionsButton) {
                SayCentre("options", member);
            } else if (member->GetID() == kPlayerButton) {
                SayCentre("player", member);
            }
        }
        if (CastMemberButton* update = GetUpdateButton();
            update != nullptr && update->IsVisible()) {
            xvfbscene::Say("item update " + std::to_string(update->GetX()) + " " +
                           std::to_string(update->GetY()) + " " + std::to_string(update->GetW()) +
                           " " + std::to_string(update->GetH()));
        }
    }

    // The dialog that takes the input now, in the frame it came or went.
    void SayDialogOnTop()
    {
        CastMemberDialog* top = _currentCast != nullptr ? _currentCast->GetDialog() : nullptr;
        if (top == _saidDialog) {
            return;
        }
        _saidDialog = top;
        Unsettle();
        if (top == nullptr) {
            xvfbscene::Say("dialog none");
            return;
        }
        xvfbscene::Say("dialog " + std::to_string(top->GetID()) + " " +
                       std::to_string(top->GetX()) + " " + std::to_string(top->GetY()) + " " +
                       std::to_string(top->GetW()) + " " + std::to_string(top->GetH()));
    }

    // "settled" once the stage has stood still (no fade of the screen, the dialog on top or any
    // sprite) and takes presses again (the stage drops them for a moment after a dialog came)
    // since a state began or a dialog came or went, said in the second frame of the stillness
    // (this runs before the frame paints): what the change brought is then on the screen and
    // answers the mouse, however slowly a busy machine runs the frames.
    void SaySettled()
    {
        if (!xvfbscene::StageSettled(*_framework->_animationManager, _currentCast)) {
            Unsettle();
        } else if (_settling && ++_stillFrames == 2) {
            xvfbscene::Say("settled");
            _settling = false;
        }
    }

    void Unsettle()
    {
        _settling = true;
        _stillFrames = 0;
    }

    void SayCentre(const char* name, CastMember* sprite)
    {
        xvfbscene::Say(std::string("item ") + name + " " +
                       std::to_string(sprite->GetX() + sprite->GetW() / 2) + " " +
                       std::to_string(sprite->GetY() + sprite->GetH() / 2));
    }

    void ShowPlaceholder()
    {
        RemovePlaceholder();
        const std::string text =
            "variant " + std::to_string(GetGameVariant()) + ", " + _framework->GetPlayerFileName();
        _placeholder = new CastMemberText(
            _currentCast, text, _framework->GetFrameworkFont(Framework::kFontBold),
            Color(255, 240, 200), Color(255, 240, 200), Color(0, 0, 0), 800, 0, 280, 1);
        _placeholder->Justify(2);
        _placeholder->DeleteOnRemovedFromCast(true);
        _placeholder->Show();
        _framework->_animationManager->FadeIn(kGameFadeMs, this);
        xvfbscene::Say("game " + text);
    }

    void RemovePlaceholder()
    {
        if (_placeholder != nullptr) {
            if (Cast* cast = _placeholder->GetCast()) {
                cast->SafeDelete(_placeholder);
            }
            _placeholder = nullptr;
        }
    }

    CastMemberText* _placeholder = nullptr;  // deleted by its stage
    CastMemberDialog* _saidDialog = nullptr; // only compared, never used
    std::string _saidLabel;
    bool _clockSaid = false;
    // Whether something changed since "settled" was said last; frames the stage stood still.
    bool _settling = true;
    int _stillFrames = 0;
    bool _clockStopped = false;
};

class StandInApp final : public Framework
{
public:
    // The game's objects go before the framework's.
    ~StandInApp() override
    {
        if (_animationManager != nullptr) {
            _animationManager->SetScript(nullptr);
        }
        SetScript(nullptr);
        delete _standInScript;
    }

    bool OnInit(int argc, char** argv) override
    {
        if (!Framework::OnInit(argc, argv)) {
            return false;
        }
        SetTitle("ShellStandIn", "");
        _standInScript = new StandInScript(this, _animationManager->GetGameTime());
        // The shell's progress lines (level 1) go to the debug log.
        _standInScript->SetLogLevel(2);
        _animationManager->SetScript(_standInScript);
        return true;
    }

    int LoadGameResources(bool) override { return 1; }

private:
    StandInScript* _standInScript = nullptr; // owned
};

} // namespace

int main(int argc, char** argv)
{
    ConfigFile::TurnEncryption(true);
    // Shown by the options dialog, as the game sets its own.
    Debug::SetProductVersion("1.0");
    StandInApp app;
    const int code = Application::Execute(argc, argv);
    std::fflush(stdout);
    return code;
}
