#pragma once

#include "SDL.h"
#include "framework/core/Export.h"
#include "framework/media/Canvas.h"
#include "framework/media/FramePool.h"

#include <memory>
#include <string>

class Image;

// A sheet of equal frames: one image file cut into columns and rows. Frames run along each row;
// pixels right of and below the last whole frame belong to no frame.
class FRAMEWORK_API ImageResource : public Canvas
{
public:
    // format: null for the default pixel format, Canvas::PerPixelFormat() to keep the file's own
    // format and alpha channel (the per-pixel form).
    ImageResource(std::string file, int cols, int rows, SDL_PixelFormat* format);
    // A blank sheet of w x h pixels in the default pixel format.
    ImageResource(int w, int h, int cols, int rows);
    // A blank sheet of other's size and grid with other's pixels blitted onto it.
    ImageResource(ImageResource& other);
    ~ImageResource() override;

    // A grid with a side below 1, or frames smaller than a pixel, leaves the sheet not loaded.
    void InitResource(int cols, int rows);
    // The number of columns (not the frame count).
    int GetNumFrames();
    int GetNumRows();
    int GetFrameCount() const { return _frameCount; }
    int GetFrameW() const { return _frameW; }
    int GetFrameH() const { return _frameH; }
    SDL_Rect GetFrameRect() const { return _frameRect; }
    // The sheet area that the last SetFrame showed.
    SDL_Rect GetSourceRect() const { return _srcRect; }
    bool IsPerPixelFormat();

    // Whether an Image built on this sheet deletes the sheet with itself.
    void AllowImageDelete(bool allow);
    bool AllowImageDelete();
    // Whether an image's frame canvas is its own: false for a one-frame sheet that is not in the
    // per-pixel form, whose frames are drawn from the sheet itself.
    bool DeleteCanvas();

    // A frame canvas showing (col, row), owned by the caller, or the sheet itself for a one-frame
    // sheet that is not in the per-pixel form; null when the sheet is not loaded.
    Canvas* GetNewFrame(int col, int row);
    // Copies frame (col, row) into target, mirrored as asked; a column or row outside the grid
    // becomes 0 in the caller's variable. False when the sheet is not loaded, target is null, or
    // target is the sheet itself.
    bool SetFrame(Canvas* target, int& col, int& row, bool mirrorH, bool mirrorV);
    // The next frame along the row, then the next row, wrapping to the first; false for a
    // one-frame sheet.
    bool NextFrame(Canvas* target, int& col, int& row);
    // Blits img into cell (col, row) at (x, y) inside the cell; nothing when it does not fit.
    void CopyIntoGrid(int col, int row, Image* img, int x, int y);
    // Blits img onto the sheet at (x, y); logs when it runs past the sheet's edge.
    void BlitInto(Image* img, int x, int y);

    // Expires when the sheet is destroyed: images that outlive a purged or deleted sheet must
    // not touch it.
    std::weak_ptr<const void> AliveToken() const { return _alive; }
    // The frame canvases that images of this sheet showing the same pixels hold in common.
    FramePool& SharedFrames() { return _sharedFrames; }

private:
    void RegisterDebugLevel();

    int _rows = 0;
    int _cols = 0;
    int _frameCount = 0;
    int _frameW = 0;
    int _frameH = 0;
    bool _allowImageDelete = false;
    SDL_PixelFormat* _format = nullptr; // not owned; may be the per-pixel marker
    SDL_Rect _frameRect{};
    SDL_Rect _srcRect{};
    std::shared_ptr<const void> _alive = std::make_shared<int>(0);
    FramePool _sharedFrames;
};
