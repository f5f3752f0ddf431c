#pragma once

#include "SDL.h"
#include "framework/core/Color.h"
#include "framework/core/Export.h"
#include "framework/stage/CastMember.h"

#include <string>

class ButtonListener;
class Cast;
class Canvas;
class Image;
class ImageResource;
class Receiver;

// A sprite that shows one Image: a frame of a sheet chosen by column and row, stepped through by
// a frame loop (with a repeat count, a start delay and a pause between cycles, optionally in the
// order of a frame sequence), with colour-key transparency, mirroring, scaling and rotation, a
// per-pixel hit test and click reports to a ButtonListener. Base of the button and cursor sprites
// and of the game's tiles.
//
// Ownership: the sprite owns its Image (by default its own copy of the image it is given; with a
// non-zero keep-given-image flag the given image itself) and deletes it when it is replaced and
// in the destructor. A sprite that shares frames shows its image's frame from the sheet's pool
// (see Image::ShareFrames): sprites showing the same pixels hold one canvas, and a change made
// through the sprite goes to a copy of its own. The copy draws from the given image's sheet, so the
// given image must outlive the sprite. A frame sequence stays the caller's and must outlive its
// use. While the sprite shows a named image asset it holds a lock on that asset.
class FRAMEWORK_API CastMemberImage : public CastMember
{
public:
    // Without an image, on the stage the application shows (off stage before it has one).
    CastMemberImage();
    // keepGivenImage 0: the sprite shows its own copy of image; otherwise it takes image itself.
    CastMemberImage(Cast* cast, Image* image, int x, int y, int priority, int keepGivenImage);
    // An image of its own on the shared sheet, made with the frame and row counts given.
    CastMemberImage(Cast* cast, int x, int y, int priority, ImageResource* resource, int frames,
                    int rows);
    // The named image asset; the two trailing integers are not used.
    CastMemberImage(Cast* cast, int x, int y, int priority, const std::string& name, int unused1,
                    int unused2);
    // The named image asset; the trailing integer is not used.
    CastMemberImage(Cast* cast, const std::string& name, int x, int y, int priority, int unused);
    ~CastMemberImage() override;

    int GetClassMemberType() override;
    // Keeps the sprite on the screen; true only when it was dropped wholly inside it (a sprite
    // touching the right or bottom edge counts as pulled back).
    bool Dragged(Receiver* receiver) override;
    // Reports ButtonClicked(id, button) to the listener; always false.
    bool Clicked(Receiver* receiver, int button) override;
    void Paint(Canvas* canvas) override;
    Rectangle& GetFromRect() override;
    // The frame loop, then the base sprite's step.
    void Animate(unsigned int now) override;
    void UseTransparentBackground() override;
    void SetAlpha(int alpha) override;
    // False on colour-key pixels (when per-pixel accuracy is on) and outside the sprite.
    bool OnPixel(int x, int y) override;
    // The scaled look stays centred on the unscaled one.
    int GetScaledX() override;
    int GetScaledY() override;
    int GetScaledWidth() override;
    int GetScaledHeight() override;
    void Rotate(float increment, int ms) override;
    // A rotated and zoomed copy of the current frame; the base sprite keeps it.
    SDL_Surface* CreateScaledSurface(float angle, float zoom, bool smooth) override;
    void RefactorDropShadow() override;

    // Shows frames of the named image asset (an image the sprite already shows is replaced).
    virtual void SetImageResource(const std::string& name);

private:
    virtual void SetImageResource(ImageResource* resource, int frames, int rows);

public:
    // Deletes the image; the result carries no meaning.
    virtual int DeleteImage();
    virtual Image* GetImage();
    // Null empties the sprite and hides it.
    virtual void SetImage(Image* image);
    // Frame columns of the image; at least 1.
    virtual int GetNumFrames();
    virtual int GetFrame();
    virtual void SetNewFrameOnly(int column, int row);
    virtual void SetFrame(int column, int row);
    // Steps a frame every speed ms, times cycles (-1 for ever), the first step delay ms later,
    // a pause of pause ms after each cycle. Ignored for an image of fewer than two frames.
    virtual void Loop(int speed, int times, int delay, int pause);
    // Milliseconds of stage time until the frame loop shows its next frame (0: due already);
    // CastMember::kNothingDue while it does not loop.
    unsigned int MsUntilNextFrame(unsigned int now) const;
    virtual void Loop(int speed);
    virtual void Loop();
    // Stops the loop and shows frame 0.
    virtual void StopLooping();
    virtual void UseTransparency(const Color& key);
    virtual void UseTransparency(bool on);
    virtual bool GetLooping();
    virtual int GetLoopTimes();
    virtual int GetLoopSpeed();
    virtual void MirrorHorizontal(bool mirror);
    virtual void MirrorVertical(bool mirror);
    virtual void CheckDropShadow();
    // Also lets the sprite take input and clicks. Not owned.
    virtual void SetButtonListener(ButtonListener* listener);
    virtual int* GetFrameSequence();
    // The loop steps through frames[0..count-1] instead of the sheet's order; null clears it.
    // The array is borrowed, not copied.
    virtual void NewFrameSequence(int* frames, int count);
    // "None", or the entries joined by ",".
    virtual std::string GetFrameSequenceString();
    // Draws image into the sprite's own picture at (x, y); ResetFrame undoes it.
    virtual void BlitInto(Image* image, int x, int y);
    virtual void ResetFrame();
    // From now on the sprite's images share their frames with alike images of their sheet.
    void ShareFrames();

    int GetLoopDelay() const { return _loopDelay; }
    int GetLoopPause() const { return _loopPause; }

protected:
    // Button and cursor sprites report their own listener.
    ButtonListener* GetImageButtonListener() const { return _buttonListener; }

private:
    // Clears the sprite's own fields as every constructor does.
    void Init();
    static std::string NameAfter(Image* image);
    void FreeScaledSurfaces();
    // The surface the scaled look is drawn from: the second scaled surface when set.
    SDL_Surface* ScaledLook() const;

    Image* _image = nullptr;                   // owned; deleted by DeleteImage
    ButtonListener* _buttonListener = nullptr; // not owned
    bool _looping = false;
    int _loopTimes = 0;
    int _loopSpeed = 0;
    unsigned int _lastStep = 0;
    int _loopDelay = 0;
    int _loopPause = 0;
    int _wait = 0;
    int* _frameSequence = nullptr; // borrowed from the caller
    int _sequenceIndex = 0;
    int _sequenceLength = 0;
    int _keepGivenImage = 0;
    bool _shareFrames = false;
    std::string _resourceName; // non-empty exactly while the asset is locked
};
