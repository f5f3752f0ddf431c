// MjClassic: listener entries.
#include "mahjong/MjClassic.h"

// The screen's listener entries. Until the board's input and game-flow handling lands they keep
// the bases' behaviour: the screen does not react to presses, clicks, cues or states yet.

void MjClassic::TileMouseDown(MjTile* tile, int button, int x, int y)
{
    MjTileListener::TileMouseDown(tile, button, x, y);
}

void MjClassic::TileMouseOver(MjTile* tile, int x, int y, bool entering)
{
    MjTileListener::TileMouseOver(tile, x, y, entering);
}

void MjClassic::StateReached(CastMember* sender, int state, int value)
{
    MjTileListener::StateReached(sender, state, value);
}

void MjClassic::Cue(CastMember* sender, int cue, int value)
{
    CueListener::Cue(sender, cue, value);
}

void MjClassic::ButtonClicked(int id, int value)
{
    ButtonListener::ButtonClicked(id, value);
}

void MjClassic::DialogButtonClicked(int dialogId, int itemId, int value)
{
    DialogListener::DialogButtonClicked(dialogId, itemId, value);
}
