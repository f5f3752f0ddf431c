#pragma once

#include "SDL_keysym.h"
#include "framework/core/Color.h"
#include "framework/core/Debug.h"
#include "framework/core/Export.h"

#include <list>
#include <memory>
#include <string>
#include <vector>

class AnimationManager;
class Canvas;
class CastMember;
class CastMemberDialog;
class CastMemberText;
class DialogAttachListener;
class Font;
class Image;
class InputCatcher;
class Receiver;
class Rectangle;
struct SDL_Surface;

// The stage: the sprites that the frame loop animates, hit-tests and paints, kept sorted by
// ascending priority (index 0 is the front: hit first, painted last). It also holds the stage
// background, the fade layer, up to two modal dialogs, the software cursor, the drop targets and
// the tick clock of velocity moves.
//
// Ownership: the stage owns its dirty rectangles and the background it loaded by name (with its
// zoomed copy). Sprites, receivers, listeners, the fade canvas and a background given by pointer
// stay their owners'. A sprite leaves through Remove and is told RemovedFromCast at the end of
// the frame (deleting itself when flagged); the destructor deletes the members still on stage.
class FRAMEWORK_API Cast final : public Debug
{
public:
    // fadeCanvas: the fade layer, owned by the animation manager.
    Cast(AnimationManager* manager, Canvas* fadeCanvas);
    ~Cast() override;

    // --- membership ---

    // Inserts in front of the members of equal priority and repaints the sprite; a cursor sprite
    // (kind 5) goes to the cursor slot instead. Null and members are ignored. The sprite must be
    // fully constructed: a sprite base's constructor uses AddWhenBuilt.
    void Add(CastMember* member);
    // For a sprite base's constructor: the sprite joins at the stage's next frame step or member
    // query, once its constructors have finished, so that the stage reads its own kind and
    // priority, not the base's. Until then Contains counts it, and Remove or Add take it off the
    // waiting list.
    void AddWhenBuilt(CastMember* member);
    // moving: the sprite only changes stage (or is re-sorted); no repaint and no RemovedFromCast.
    // Otherwise its area is repainted, it leaves every input slot, and RemovedFromCast follows at
    // the end of the frame.
    void Remove(CastMember* member, bool moving);
    // Called from the sprite base's destructor: forgets the sprite everywhere (members, removed
    // list, every slot, the dialog slots included) and repaints its area.
    void MemberDestroyed(CastMember* member);
    // Called once per frame after the frame is shown: RemovedFromCast for this frame's removals.
    void EndAnimationCycle();
    // A member is deleted at the end of the frame; anything else at once.
    void SafeDelete(CastMember* member);
    bool Contains(CastMember* member);
    int Size();
    // Front to back.
    const std::vector<CastMember*>& GetCastMembers();
    // Takes every member off the stage (deferred as Remove); the cursor stays.
    void RemoveAll();
    // Deletes every member whatever its delete flag; the cursor is not deleted.
    void DestroyCastMembers();
    bool IsMoving();

    // The cursor is a sprite of kind 5; it is never in the member list. No repaint, no check.
    void SetCursor(CastMember* cursor);
    CastMember* GetCursor();
    // Told of every mouse event after routing; null switches it off.
    void SetInputCatcher(InputCatcher* catcher);

    // Called when this stage becomes current / stops being current.
    void Start();
    void Stop();

    AnimationManager* GetAnimationManager() const { return _animationManager; }

    // --- dialogs ---

    // Attaches dialog as primary or nested modal dialog, or with null detaches the nested one
    // (re-attaching the primary one) or else the primary one. keepMouse: leave a drag, tracking
    // and mouse-over as they are. False when refused or when nothing is attached afterwards.
    bool AttachDialog(CastMemberDialog* dialog, bool keepMouse, bool nested);
    // Detaches dialog from the slot that holds it, as a closing dialog asks. The nested one
    // re-attaches the primary one, as AttachDialog(null) does; a primary one closing under a
    // nested one leaves the nested one as the stage's dialog, with the keys and the input it
    // had. False when dialog is in neither slot.
    bool DetachDialog(CastMemberDialog* dialog);
    // The nested dialog, else the primary one, else null.
    CastMemberDialog* GetDialog() const;
    bool ModalDialogUp();
    // Detaches every dialog sprite on stage and empties both slots; true when there was one.
    bool ForceDialogsDispose();
    void SetDialogAttachListener(DialogAttachListener* listener);
    // The tick count at the last successful attach; 0 when the last attach did not succeed.
    unsigned int GetDialogAttachTime() const { return _dialogAttachTime; }

    // --- drop targets ---

    void AddReceiver(Receiver* receiver);
    void RemoveReceiver(Receiver* receiver);
    void RemoveAllReceivers();
    bool ReceiversContains(Receiver* receiver);
    void SetRestrictionOn(Receiver* receiver);
    void LiftRestrictionOn(Receiver* receiver);
    bool RestrictedContains(Receiver* receiver);
    void RemoveAllRestricted();
    // Only during a drag: the first unrestricted receiver that contains the sprite's centre and
    // accepts it, else the first that contains one of its quarter points and accepts it.
    Receiver* DetermineReceiverOnDrag(CastMember* member);
    Receiver* DetermineReceiverOnClick(CastMember* member);

    // --- input ---

    void MouseDown(int x, int y, int button);
    void MouseUp(int x, int y, int button);
    void MouseMove(int x, int y);
    void MouseDrag(int x, int y);
    void MouseHover(int x, int y);
    // True when the hover goes on (stillInside and the point still on the hovered sprite).
    bool MouseHoverEnded(int x, int y, bool stillInside);
    // Every visible member that takes keystrokes gets the key; true when any took it.
    bool KeyDown(SDLKey key, SDLMod mod, unsigned short unicode, bool alphaNumeric);
    bool KeyUp(SDLKey key, SDLMod mod, unsigned short unicode, bool alphaNumeric);

    // Called by a sprite's own press and release.
    void Dragging(CastMember* member);
    void Tracking(CastMember* member);
    CastMember* GetDragObj() const { return _dragObj; }
    CastMember* GetTrackObj() const { return _trackObj; }
    // Tell the drag (track) sprite to cancel; the stage's slot is left to the release.
    void CancelDragging();
    void CancelTracking();
    void ResetMouseOverObj();
    CastMember* GetMouseOverObj() const { return _mouseOverObj; }
    CastMember* GetHoverObj() const { return _hoverObj; }

    // --- frame ---

    // Once per frame before painting: the tick clock, every member's and the cursor's Animate,
    // the frame-rate window. Returns the frame rate when a window closed, else 0.
    int Animate(int averageFps);
    // Milliseconds of stage time until the first timed step of a member or of the cursor falls
    // due (0: due already); CastMember::kNothingDue when none is pending.
    unsigned int MsUntilDue(unsigned int now) const;
    // Whole velocity ticks of this frame, and whether velocity moves are paused.
    int GetTicksThisFrame() const { return _ticksThisFrame; }
    bool VelocityPaused() const { return _velocityPaused; }
    void PauseVelocity();
    void UnPauseVelocity();
    // ticksPerSecond × 0.001 ticks per millisecond (the default is 100 per second).
    void SetTicksPerSecond(double ticksPerSecond);
    // Creates the frame-rate text on first use and shows or hides it.
    void ShowFPS(bool on, Font* font);

    // --- dirty rectangles and painting ---

    // On true the stage owns r (frame count 2); on false (null, off screen) the caller keeps it.
    bool AddDirtyRect(Rectangle* r);
    // Counts every rectangle down (all: to 0), deleting those that reach 0.
    void ClearDirtyRects(bool all);
    const std::vector<std::unique_ptr<Rectangle>>& GetDirtyRects() const { return _dirtyRects; }
    void AddCursorDirty();
    // One pass: marks dirty every visible, clean member that overlaps area; returns the count.
    int MarkMoreDirty(Rectangle* area);
    // Paints the members back to front into canvas's dirty rectangles, with the fade layer at the
    // fade priority. all: repaint every member in every rectangle.
    void Paint(Canvas* canvas, bool all);
    // The low-detail screen fade; true when it drew (then no sprite is painted this frame).
    bool FadeSpecial(Canvas* canvas);
    void PaintCursor(Canvas* canvas, bool separate);
    void PaintBackground(Canvas* canvas, Rectangle* clip);

    // --- background and fade layer ---

    // Not owned: the caller keeps and frees it (after setting another background).
    void SetBackground(Image* image);
    // Loads the named image asset; the stage owns that image.
    void SetBackground(const std::string& imageName);
    Image* GetBackground() const { return _background; }
    // Zoom 1.0 drops the zoomed copy. (x, y): the copy's point shown at the screen's corner.
    void ZoomBackground(float zoom, int x, int y);
    void DeleteBackground();
    // The background image is drawn at y = offset; above it the colour fills the area.
    void SetBackgroundOffset(int offset, Color& color);
    // Members with a priority below it are painted over the fade layer.
    void SetFadePriority(int priority);
    int GetFadePriority() const { return _fadePriority; }
    // The layer's colour, kept by the stage: a layer made again when the screen fades takes it.
    void SetFadeColor(Color color);
    Color GetFadeColor() const { return _fadeColor; }
    int GetFadeAlpha() const { return _fadeAlpha; }
    bool FadeOn() const { return _fadeOn; }

private:
    friend class AnimationManager;

    // Master alpha of the fade layer: 255 hides it, less shows it more opaque.
    void AdjustAlpha(int alpha);
    // Brings the sprites waiting from their constructors onto the stage.
    void Settle();
    void InsertSorted(CastMember* member);
    // Repaints member's area for two frames.
    void AddTotalScreenRectDirty(CastMember* member);
    // Clears the input slots that point at member; with dialogs also the dialog slots.
    void ForgetSlots(CastMember* member, bool dialogs);
    void DrawFadeLayer(Canvas* canvas, const std::vector<Rectangle>& rects);
    void DeleteZoomedBackground();
    // Deletes the background image when the stage owns it; leaves the sheet's lock alone.
    void DropBackgroundImage();
    void RequestRepaintAll();
    bool HighDetail();
    bool HasInputFocus();

    // A copy of the members for a walk during which sprites may leave the stage or be deleted;
    // the entries of sprites destroyed meanwhile read null.
    class Walk
    {
    public:
        Walk(Cast& cast, bool backToFront);
        ~Walk();
        Walk(const Walk&) = delete;
        Walk& operator=(const Walk&) = delete;
        const std::vector<CastMember*>& Members() const { return *_members; }

    private:
        Cast& _cast;
        std::vector<CastMember*>* _members;
    };

    // Dialog operations the stage needs of its dialogs (defined where the dialog is known).
    static CastMember* AsMember(CastMemberDialog* dialog);
    static bool IsModeless(CastMemberDialog* dialog);
    static CastMemberDialog* AsDialog(CastMember* member);
    static void DetachSprite(CastMemberDialog* dialog);
    static void SetDialogMembersDirty(CastMemberDialog* dialog);
    static void DialogMouseDownOutside(CastMemberDialog* dialog);
    static int DialogId(CastMemberDialog* dialog);

    std::vector<CastMember*> _members;                   // front to back
    std::vector<std::unique_ptr<Rectangle>> _dirtyRects; // owned
    std::vector<CastMember*> _waiting;                   // added from constructors
    std::vector<CastMember*> _removed;                   // told at the end of the frame
    std::list<std::vector<CastMember*>> _walks;          // copies being walked, innermost last
    std::vector<Receiver*> _receivers;
    std::vector<Receiver*> _restricted;
    AnimationManager* _animationManager = nullptr;
    Image* _background = nullptr;             // owned only when _ownsBackground
    SDL_Surface* _zoomedBackground = nullptr; // owned
    int _zoomOffsetX = 0;
    int _zoomOffsetY = 0;
    CastMember* _dragObj = nullptr;
    CastMember* _trackObj = nullptr;
    CastMember* _mouseOverObj = nullptr;
    CastMember* _hoverObj = nullptr;
    CastMemberDialog* _dialog = nullptr;
    CastMemberDialog* _nestedDialog = nullptr;
    int _fadeAlpha = 255;
    Canvas* _fadeCanvas = nullptr; // the animation manager's
    bool _fadeOn = false;
    int _fadePriority = -2;
    CastMemberDialog* _pressedDialog = nullptr;
    CastMember* _cursor = nullptr;
    InputCatcher* _inputCatcher = nullptr;
    CastMemberText* _fpsText = nullptr; // a member; deleted with the members
    CastMember* _fpsMember = nullptr;   // the same sprite
    bool _showFps = false;
    unsigned int _windowStart = 0;
    int _lastFrameRate = 0;
    int _framesInWindow = 0;
    DialogAttachListener* _dialogAttachListener = nullptr;
    int _backgroundOffset = 0;
    Color _backgroundColor{0, 0, 0, 255};
    Color _fadeColor{0, 0, 0, 255};
    std::string _backgroundFile;
    bool _ownsBackground = false;
    unsigned int _dialogAttachTime = 0;
    double _tickAccumulator = 0.0;
    double _previousAccumulator = 0.0;
    unsigned int _lastTime = 0;
    double _ticksPerMs = 0.1;
    bool _velocityPaused = false;
    int _ticksThisFrame = 0;
};
