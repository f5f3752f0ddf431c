#pragma once

#include "mahjong/app/MjGameScript.h"
#include "tests/mahjong/support/BoardHarness.h"

#include <string>
#include <vector>

class CastMemberDialogResizable;

// The board harness with a game script that opens the board's popups and hands their answers to
// the screen, as a running game does; boards are entered as the board chooser's play button does.
namespace mjtest {

class FlowScript : public MjGameScript
{
public:
    using MjGameScript::MjGameScript;
    int GetGameVariant() override { return 2; }
    void DialogButtonClicked(int dialogId, int itemId, int how) override;

    MjClassic* board = nullptr;
    std::vector<int> answers;
};

class FlowHarness : public BoardHarness
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The board as the chooser's play button enters it: _firstBoard cleared, set up with its
    // opening, played once the opening is over.
    void EnterBoard(const FixtureBoard& board);
    // Writes a key of the fixture set's board description.
    void SetPuzzleValue(const std::string& key, const std::string& value);
    // Frames of 10 ms, each followed by the script's per-frame step of a running game.
    void Play(unsigned int ms);
    // The open popup's dialog id, 0 when none is open.
    int OpenPopupId() const;
    // Answers the open popup as a left click on the item does.
    void Answer(int itemId);
    // Hands the queued SDL events to the application, as its main loop does.
    void PumpEvents();
    // Types the keys as the game script hands them over.
    void Type(const std::string& keys);
    int ShownTiles();
    bool LogHas(const std::string& text);

    FlowScript* script = nullptr;
};

} // namespace mjtest
