#pragma once

class CastMember;
class CueListener;
class Image;
class ImageResource;
class Cast;
class MjTileListener;

// What the grid needs of a tile sprite. The tile sprite implements it; tests fake it, so the grid
// and its rules run without a screen.
class MjGridTile
{
public:
    virtual ~MjGridTile();

    // The sprite as the stage knows it (what cue listeners are called with).
    virtual CastMember* Member() = 0;

    virtual int GetType() = 0;
    virtual void SetType(int type) = 0;
    virtual int GetFace() = 0;
    virtual void SetFace(int face) = 0;
    virtual void ShowFace() = 0;
    virtual void HideFace() = 0;
    virtual void SetFaceShown(bool shown) = 0;

    virtual int GridI() = 0;
    virtual int GridJ() = 0;
    virtual int GridK() = 0;
    virtual void SetGridPosition(int i, int j, int k) = 0;

    // The tile this one moves onto or merges with, or null.
    virtual MjGridTile* Linked() = 0;
    virtual void SetLinked(MjGridTile* tile) = 0;
    virtual bool IsLinkedToType59() = 0;
    virtual bool IsHopping() = 0;
    // In play on the board (false while flying, merging or animating).
    virtual void SetActive(bool active) = 0;

    // Leaves the stage (which then ends the tile), with state 0 and without its overlay.
    virtual void Leave() = 0;
    virtual void Move(int x, int y) = 0;
    virtual void MoveTo(int x, int y, int ms) = 0;
    virtual void SetPriority(int priority) = 0;
    virtual void AllowInput(bool allow) = 0;
    virtual void ChangeState(int state) = 0;
    virtual void SetAlpha(int alpha) = 0;
    virtual void ResetFrame() = 0;
    virtual void BlitInto(Image* image, int x, int y) = 0;
    // Makes listener hear the end of the next move, respectively of a blink of times at rate ms.
    virtual void ListenForMove(CueListener* listener) = 0;
    virtual void BlinkWithCue(CueListener* listener, int times, int rate) = 0;
    virtual void FadeHide(int ms) = 0;
    virtual void MoveBeside(CastMember* target, int ms) = 0;
    virtual void MoveLater(int x, int y, int delay, int duration) = 0;
};

// Makes the tile sprites of a grid.
class MjTileFactory
{
public:
    virtual ~MjTileFactory();

    // A tile showing frame (faceCol, faceRow) of sheet at (x, y), on cast.
    virtual MjGridTile* MakeTile(MjTileListener* listener, Cast* cast, ImageResource* sheet,
                                 int faceCol, int faceRow, int x, int y, int priority, int order,
                                 int i, int j, int k) = 0;
};
