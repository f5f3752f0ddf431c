#pragma once

#include <string>

class CastMember;
class MjTile;

// What a tile or a label tells its owner (the board screen). Every operation does nothing unless
// the owner overrides it.
class MjTileListener
{
public:
    // States that a tile only passes on to its owner (with 1-99; the states a tile acts on and
    // also reports are MjTile's). The screen sets some of them on its labels, which pass on
    // every state.
    static constexpr int kMagnetPulled = 10001; // the tile has moved onto the magnet
    static constexpr int kBonusTileArrived = 10004;
    static constexpr int kSwapDone = 10005;   // the two tiles have crossed
    static constexpr int kBackInCell = 10007; // set by the grid when a tile is put back
    static constexpr int kBesideArrived = 10010;
    static constexpr int kOverlayNearEnd = 10041; // the moment the brick bursts
    static constexpr int kOverlayEnded = 10042;
    static constexpr int kEndAnimation = 10044;
    static constexpr int kBoardWonPoll = 10056;

    virtual ~MjTileListener();

    // A tile was pressed: the button first, then the position.
    virtual void TileMouseDown(MjTile* tile, int button, int x, int y);
    virtual void TileMouseOver(MjTile* tile, int x, int y, bool entering);
    // A sprite reached a state it leaves to its owner; sender is null for labels.
    virtual void StateReached(CastMember* sender, int state, int value);
    virtual void PlaySound(std::string cue, int channel);
};
