#pragma once

#include "framework/stage/CastMemberImage.h"
#include "framework/stage/CueListener.h"
#include "mahjong/board/MjGridTile.h"
#include "mahjong/board/MjTileTypes.h"

class Image;
class MjTileListener;

// The sprite of one tile: its type and face, its cell, and the timed states with which the board
// screen animates it. States it does not handle itself go to its listener.
class MjTile : public CastMemberImage, public CueListener, public MjGridTile
{
public:
    // States a tile runs (the ones it only passes on are its listener's).
    static constexpr int kIdle = 0;
    static constexpr int kFadeAway = 200;
    static constexpr int kSpecialOpaque = 300;
    static constexpr int kOpaque = 1000;
    static constexpr int kHide = 10002;
    static constexpr int kCopyFace = 10006;
    static constexpr int kOverlayLoop = 10011;
    static constexpr int kDropFirst = 10020;
    // The last drop step: the tile has landed in the tray, and reports it.
    static constexpr int kLandedInTray = 10025;
    static constexpr int kOverlayStep = 10040;
    static constexpr int kDelayedMove = 10043;
    static constexpr int kMoveBeside = 10052;
    static constexpr int kJitter = 10055;
    static constexpr int kInFlight = 10057;

    // Types with a meaning of their own to the tile.
    static constexpr int kYinYang = MjTileTypes::kYinYangType;
    static constexpr int kFirstSpecial = MjTileTypes::kFirstSpecialType;
    static constexpr int kFireCracker = MjTileTypes::kFuseType;
    static constexpr int kTyphoon = MjTileTypes::kTyphoonType;
    static constexpr int kDeepMagnet = MjTileTypes::kDeepMagnetType;

    // The hidden face: column and row of the tile sheet.
    static constexpr int kHiddenCol = 2;
    static constexpr int kHiddenRow = 7;
    static constexpr int kSheetColumns = MjTileTypes::kSheetColumns;

    // The jitter keeps the tile inside this area.
    static constexpr int kJitterMaxX = 750;
    static constexpr int kJitterMinY = 85;
    static constexpr int kJitterMaxY = 455;

    MjTile(MjTileListener* listener, Cast* cast, Image* image, int x, int y, int priority,
           int order, int kind, int extra, int i, int j, int k);
    ~MjTile() override;

    void DoBlinkState(int state) override;
    void OnMouseDown(int x, int y, int button) override;
    void OnMouseUp(int x, int y, int button) override;
    void OnMouseOver(int x, int y, bool entering) override;
    void DoState(int state) override;
    // Deletes the tile (once, whatever the delete flag says).
    void RemovedFromCast() override;

    // MjGridTile
    CastMember* Member() override { return this; }
    int GetType() override { return _type; }
    void SetType(int type) override { _type = type; }
    int GetFace() override { return _face; }
    void SetFace(int face) override { _face = face; }
    void ShowFace() override;
    void HideFace() override;
    void SetFaceShown(bool shown) override { _faceShown = shown; }
    int GridI() override { return _gridI; }
    int GridJ() override { return _gridJ; }
    int GridK() override { return _gridK; }
    void SetGridPosition(int i, int j, int k) override;
    MjGridTile* Linked() override { return _linked; }
    void SetLinked(MjGridTile* tile) override;
    bool IsLinkedToType59() override { return _linkedToType59; }
    bool IsHopping() override { return _hopping; }
    void SetActive(bool active) override { _active = active; }
    void Leave() override;
    void Move(int x, int y) override;
    using CastMember::Move;
    void MoveTo(int x, int y, int ms) override;
    using CastMember::MoveTo;
    void SetPriority(int priority) override { CastMember::SetPriority(priority); }
    void AllowInput(bool allow) override { CastMember::AllowInput(allow); }
    using CastMember::AllowInput;
    void ChangeState(int state) override { CastMember::ChangeState(state); }
    using CastMember::ChangeState;
    void SetAlpha(int alpha) override { CastMemberImage::SetAlpha(alpha); }
    void ResetFrame() override { CastMemberImage::ResetFrame(); }
    void BlitInto(Image* image, int x, int y) override { CastMemberImage::BlitInto(image, x, y); }
    void ListenForMove(CueListener* listener) override;
    void BlinkWithCue(CueListener* listener, int times, int rate) override;
    void FadeHide(int ms) override;
    using CastMember::FadeHide;
    void MoveBeside(CastMember* target, int ms) override;
    void MoveLater(int x, int y, int delay, int duration) override;

    bool IsFaceShown() const { return _faceShown; }
    bool IsActive() const { return _active; }
    int GetKind() const { return _kind; }
    int GetOrder() const { return _order; }
    int GetExtra() const { return _extra; }
    int GetTileAlpha() const { return _tileAlpha; }
    int GetLastState() const { return _lastState; }
    int GetPrevTileState() const { return _prevTileState; }
    Image* GetOverlay() const { return _overlay; }
    int GetOverlayFirst() const { return _overlayFirst; }
    int GetOverlayLast() const { return _overlayLast; }
    int GetOverlayDelay() const { return _overlayDelay; }
    int GetOverlayForward() const { return _overlayForward; }

    // Exchanges type, face and shown frame with other.
    void SwapWith(MjTile* other);
    // Flies to (x, y) in ms and drops there.
    void FlyTo(int x, int y, int ms);
    void HideLater(int delay);
    void MoveOnto(MjTile* other);
    void MergeInto(MjTile* other);
    void CopyToLater(MjTile* other, int delay);
    // Owned from here on.
    void SetOverlay(Image* image, int first, int last, int delay, int x, int y, int forward);
    void StartOverlayAnimation(MjTile* overlayTile, CastMember* partner, int delay);
    void DrawOverlay(int frame);

    // Owned by the class from here on; the images held so far are deleted.
    static void SetMagnetSprites(Image* first, Image* second);
    // Every tile hops on a hint, whatever its type; 0 also forgets the hopping type.
    static void SetAllHop(int on);
    static int HopType() { return s_hopType; }

private:
    // Hop states that replace the stage's blinking.
    static constexpr int kHopEnd = 0;
    static constexpr int kHopStart = 1;
    static constexpr int kHopLift = 2;
    static constexpr int kHopLand = 3;
    static constexpr int kHopDone = 4;
    static constexpr int kHopPixels = 3;

    bool Report(int state);
    void FadeStep();
    void Jitter();
    void Drop(int step);
    void OverlayStep();
    void OverlayLoop();
    void ApplyAlpha() { CastMemberImage::SetAlpha(_tileAlpha); }

    int _lastState = 0;
    int _prevTileState = 0;
    int _hideAfterDrop = 0;
    int _order;
    int _kind;
    MjTileListener* _listener; // not owned
    int _extra;
    int _gridI;
    int _gridJ;
    int _gridK;
    int _type = -1;
    int _face = -1;
    int _tileAlpha = 255;
    int _flyX = 0;
    int _flyY = 0;
    bool _active = true;
    bool _hopping = false;
    bool _faceShown = true;
    bool _linkedToType59 = false;
    Image* _overlay = nullptr; // owned
    int _overlayFirst = 0;
    int _overlayLast = 0;
    int _overlayFrame = 0;
    int _overlayDelay = 0;
    int _overlayX = 0;
    int _overlayY = 0;
    int _overlayForward = 0;
    int _moveDuration = 0;
    int _moveX = 0;
    int _moveY = 0;
    int _jitterDX = 0;
    int _jitterDY = 0;
    int _jitterSteps = 0;
    MjTile* _overlayTile = nullptr;      // not owned
    MjTile* _linked = nullptr;           // not owned
    CastMember* _linkedSprite = nullptr; // not owned; the linked tile or MoveBeside's target
    CastMember* _partner = nullptr;      // not owned

    static int s_hopType;
    static int s_allHop;
    static Image* s_magnetA;
    static Image* s_magnetB;
};
