#pragma once

#include <string>

class CastMember;
class MjTile;

// What a tile or a label tells its owner (the board screen). Every operation does nothing unless
// the owner overrides it.
class MjTileListener
{
public:
    virtual ~MjTileListener();

    // A tile was pressed: the button first, then the position.
    virtual void TileMouseDown(MjTile* tile, int button, int x, int y);
    virtual void TileMouseOver(MjTile* tile, int x, int y, bool entering);
    // A sprite reached a state it leaves to its owner; sender is null for labels.
    virtual void StateReached(CastMember* sender, int state, int value);
    virtual void PlaySound(std::string cue, int channel);
};
