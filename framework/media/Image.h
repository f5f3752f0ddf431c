#pragma once

#include "SDL.h"
#include "framework/core/Color.h"
#include "framework/core/Debug.h"
#include "framework/core/Export.h"
#include "framework/core/Rectangle.h"

#include <memory>
#include <string>

class Canvas;
class ImageResource;

// What sprites draw: one frame of a sheet (or a region of a canvas), held in a canvas of the
// frame's size, blitted at a position.
//
// Ownership: the frame canvas belongs to the image unless it is the sheet itself or, once the
// image shares frames, a canvas it holds with the other images of the sheet that show the same
// pixels (the sheet's FramePool). The sheet is deleted with the image only when the sheet allows
// it and the image is not a copy.
class FRAMEWORK_API Image : public Debug
{
public:
    // A one-frame image of the file; the image owns the sheet it makes.
    Image(std::string file, SDL_PixelFormat* format);
    // Frame (col, row) of res; allowDelete other than 0 lets the image delete the sheet.
    Image(ImageResource* res, int col, int row, int allowDelete);
    // The rect region of canvas, which the image owns from now on.
    Image(Canvas* canvas, Rectangle& rect);
    // Shows other's sheet and frame; a copy never deletes the sheet it shares.
    explicit Image(Image* other);
    ~Image() override;

    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Takes frame (col, row) of res as the image's canvas.
    virtual void Init(ImageResource* res, int col, int row);

    // Draws the source rectangle at (x, y) plus the destination offset.
    bool Blit(Canvas* dst, int x, int y);
    bool Blit(SDL_Surface* dst, int x, int y);
    // Copies src's whole canvas into this image's canvas at (x, y).
    void BlitInto(Image* src, int x, int y);

    bool SetFrame(int col, int row);
    bool NextFrame();
    bool ResetFrame();
    bool IsCurrentFrame(int col, int row);
    // The current column.
    int GetFrame();
    int GetRow() const { return _row; }
    void MirrorHorizontal(bool mirror);
    void MirrorVertical(bool mirror);
    bool IsMirroredHorizontally() const { return _mirrorH; }
    bool IsMirroredVertically() const { return _mirrorV; }

    // Per-pixel sheets scale the frame's alpha channel; others set the canvas's surface alpha.
    void SetAlpha(int alpha);
    void UseTransparency(bool transparent, bool useRLE);
    void UseTransparency(const Color& key, bool useRLE);

    int GetW();
    int GetH();
    // GetW() and GetH() divided by the sheet's columns and rows; the plain size without a sheet.
    int GetFrameW();
    int GetFrameH();
    // The sheet's columns; 0 without canvas or sheet.
    int GetNumFrames();
    int GetNumRows();
    int GetSurfaceW();
    int GetSurfaceH();

    Canvas* GetCanvas() { return _canvas; }
    // The old canvas is not deleted.
    void SetCanvas(Canvas* canvas);
    ImageResource* GetImageResource() { return _sheet; }
    Rectangle& SrcRect();
    Rectangle& DestRect();
    // Re-cuts the sheet into a new grid.
    void SetFrames(int cols, int rows);
    // The image never deletes its sheet.
    void MarkAsCastMemberCopy();
    bool IsCastMemberCopy() const { return _castMemberCopy; }
    bool OwnsCanvas() const { return _ownsCanvas; }

    // From now on the frame canvas comes from the sheet's pool: images whose frames look alike
    // hold one canvas, and every change the image makes goes to a copy of its own first, offered
    // to the pool again afterwards. A shared canvas must not be drawn into from outside.
    void ShareFrames();
    bool SharesFrames() const { return _sharesFrames; }
    // Whether the frame canvas is held in common with the sheet's pool.
    bool HoldsSharedFrame() const { return _sharedFrame != nullptr; }
    // Gives the image a frame canvas of its own (a copy of the shared one) for a change made
    // from outside; the next change through the image offers it to the pool again. False when
    // no copy could be made.
    bool OwnFrame();

private:
    void RegisterDebugLevel();
    void ReleaseCanvas();
    void ReleaseSheet();
    // A mirrored image needs a frame canvas of its own when it draws from the sheet itself.
    void TakeOwnFrameCanvas();
    // Brackets every change of the frame canvas: a shared canvas is copied first (false: no copy
    // could be made, so nothing may be drawn), and the changed one is offered to the pool after.
    bool BeforeChange();
    void AfterChange();

    Canvas* _canvas = nullptr;            // owned when _ownsCanvas; _sharedFrame's when that is set
    std::shared_ptr<Canvas> _sharedFrame; // held with the images of the sheet that look alike
    Rectangle _src;
    Rectangle _dest;
    ImageResource* _sheet = nullptr;       // deleted with the image when allowed and not a copy
    std::weak_ptr<const void> _sheetAlive; // the sheet may go first (registry purge or exit)
    int _col = 0;
    int _row = 0;
    bool _ownsCanvas = false;
    bool _castMemberCopy = false;
    bool _mirrorH = false;
    bool _mirrorV = false;
    bool _sharesFrames = false;
};
