#include "tests/mahjong/support/FlowHarness.h"

#include "SDL.h"
#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialogResizable.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/AnimationManager.h"
#include "framework/stage/Cast.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTile.h"
#include "tests/support/TestSupport.h"

namespace mjtest {

namespace {

// A state of no script: the script stays out of the way of the game's stage.
constexpr int kNoScriptState = 9999;
// Long enough for the opening's first step and the tiles' fly-in.
constexpr unsigned int kOpeningMs = 3000;

} // namespace

void FlowScript::DialogButtonClicked(int dialogId, int itemId, int how)
{
    answers.push_back(dialogId);
    if (board != nullptr) {
        board->DialogButtonClicked(dialogId, itemId, how);
    }
}

void FlowHarness::SetUp()
{
    BoardHarness::SetUp();
    script = new FlowScript(app.get(), Manager()->GetGameTime());
    script->ChangeState(kNoScriptState, 0);
    Attach(script);
    script->LoadGameConfigs(false);
    Manager()->SetMasterInput(true);
    Frame();
}

void FlowHarness::TearDown()
{
    if (script != nullptr) {
        script->board = nullptr;
    }
    BoardHarness::TearDown();
}

void FlowHarness::EnterBoard(const FixtureBoard& board)
{
    if (screen == nullptr) {
        MakeScreen();
    }
    script->board = screen.get();
    screen->_firstBoard = false;
    StartBoard(board);
    screen->SetupBoard(0, board.seed, MjClassic::kStartOpening, "");
    Play(kOpeningMs);
    TakeCues();
}

void FlowHarness::SetPuzzleValue(const std::string& key, const std::string& value)
{
    screen->_puzzlesFile->Write("puzzle0", key, value);
}

void FlowHarness::Play(unsigned int ms)
{
    for (unsigned int t = 0; t < ms; t += 10) {
        Run(10);
        if (screen != nullptr) {
            screen->CheckAutoPause();
            screen->TellSaveFailures();
        }
    }
}

int FlowHarness::OpenPopupId() const
{
    CastMemberDialogResizable* popup = script->GetPromptDialog();
    return popup != nullptr && Manager()->GetCast()->Contains(popup) ? popup->GetID() : 0;
}

void FlowHarness::Answer(int itemId)
{
    CastMemberDialogResizable* popup = script->GetPromptDialog();
    ASSERT_NE(popup, nullptr);
    DialogItem* item = popup->GetItemByID(itemId);
    ASSERT_NE(item, nullptr);
    popup->SetEnterKeyItem(item);
    ASSERT_TRUE(popup->EnterKeyPressed());
}

void FlowHarness::PumpEvents()
{
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        app->OnEvent(&event);
    }
}

void FlowHarness::Type(const std::string& keys)
{
    for (char key : keys) {
        screen->KeyPressed(static_cast<unsigned char>(key));
    }
}

int FlowHarness::ShownTiles()
{
    int shown = 0;
    for (const TileState& t : Snapshot().tiles) {
        shown += t.active && t.visible ? 1 : 0;
    }
    return shown;
}

bool FlowHarness::LogHas(const std::string& text)
{
    return testsupport::ReadLog().find(text) != std::string::npos;
}

} // namespace mjtest
