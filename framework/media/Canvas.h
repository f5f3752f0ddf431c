#pragma once

#include "SDL.h"
#include "framework/core/Color.h"
#include "framework/core/Debug.h"
#include "framework/core/Export.h"
#include "framework/core/Rectangle.h"

#include <list>
#include <memory>
#include <string>

// A drawing surface: one SDL surface with a list of dirty rectangles, blits, fills, pixel access,
// colour keys, alpha, mirrored frame copies and drop shadows. The screen is a Canvas too.
//
// Image files come in two forms: the plain file and a scrambled copy beside it whose name has "e"
// appended. The copy is preferred; when only the plain file exists the loaders write the copy.
class FRAMEWORK_API Canvas : public Debug
{
public:
    // Owns s (may be null).
    explicit Canvas(SDL_Surface* s = nullptr);
    // An empty name gives a canvas without surface. format: null for the default pixel format,
    // PerPixelFormat() to keep the file's own format and alpha channel, else converted to it.
    Canvas(std::string file, SDL_PixelFormat* format);
    // A blank software surface in format, or in the default pixel format when it is null.
    Canvas(int w, int h, SDL_PixelFormat* format);
    ~Canvas() override;

    // Resets the fields and takes s (the old surface is not freed).
    virtual void Init(SDL_Surface* s);
    virtual void DeleteDropShadow();
    // Drop shadows are made from this surface instead of the canvas's own (not owned; null for
    // the own surface).
    virtual void SetDropShadowSourceSurface(SDL_Surface* s);
    virtual SDL_Surface* GetSurface();
    // The pixels as a 32-bit surface; for a 16-bit canvas a copy kept until the next call.
    virtual SDL_Surface* Get32Surface();
    // Stores s (the old surface is not freed) and empties the dirty list.
    virtual void SetSurface(SDL_Surface* s);

    // Lock only when SDL needs it; true when a lock was taken.
    virtual bool Lock(SDL_Surface* s);
    virtual bool Lock();
    virtual void Unlock(SDL_Surface* s);
    virtual void Unlock();

    // The caller locks the surface around these. A position outside the surface reads as
    // transparent black and is never written.
    virtual Color GetPixel(SDL_Surface* s, int x, int y);
    virtual Color GetPixel(int x, int y);
    virtual void SetPixel(SDL_Surface* s, int x, int y, const Color& c);
    virtual void SetPixel(int x, int y, const Color& c);
    // Changes c's red, green and blue to the nearest colour the canvas holds and returns it.
    virtual Color MatchColor(Color& c);
    virtual int GetW();
    virtual int GetH();

    // On true the list owns r; on false the caller keeps it.
    virtual bool AddDirtyRect(Rectangle* r);
    virtual bool AddDirtyRect(short x, short y, short w, short h);
    virtual void ClearDirtyRects();
    // Removes the first entry equal to r, deleting it when deleteIt is set.
    virtual void ClearDirtyRect(Rectangle* r, bool deleteIt);
    // Unites overlapping dirty rectangles until none overlap, so no area is painted twice.
    void MergeDirtyRects();
    // Sends the dirty rectangles (clipped to the canvas) to the display and clears the list.
    virtual void UpdateRects();
    virtual bool Flip();

    virtual bool SetColorKey(const Color& c, bool useRLE);
    virtual Color GetColorKey();
    virtual bool ClearColorKey();
    virtual void SetClipRect(Rectangle& r);
    // Null clips nothing.
    virtual void SetClipRect(Rectangle* r);
    virtual Rectangle GetClipRect();
    virtual bool FillRect(Rectangle& r, const Color& c);
    // One-pixel outline, clipped to the canvas.
    virtual void DrawRect(Rectangle& r, const Color& c);
    virtual bool Clear(const Color& c);

    virtual bool Blit(SDL_Surface* src, int x, int y);
    virtual bool Blit(Canvas& src, int x, int y);
    virtual bool Blit(Rectangle& dst, SDL_Surface* src, Rectangle& srcRect);
    virtual bool Blit(Rectangle& dst, Canvas& src, Rectangle& srcRect);

    // The silhouette of the image (colour with alpha), to be drawn at the image's position moved
    // by (dx, dy). Changes color's alpha. Null for zero offsets, with shadows switched off, and for
    // per-pixel-alpha images.
    virtual SDL_Surface* CreateDropShadow(Color& color, int alpha, int dx, int dy);
    // 16-bit form: a half-transparent black silhouette of the pixels that differ from pixel (0, 0).
    virtual SDL_Surface* CreateDropShadow16(Color& color, int alpha, int dx, int dy);
    virtual SDL_Surface* GetDropShadow();
    virtual int GetDropShadowAlpha();
    // Whether the drop shadow there is was made with this colour, alpha and offset.
    bool DropShadowMadeWith(const Color& color, int alpha, int dx, int dy) const;
    // Surface alpha of the canvas and of its drop shadow.
    virtual void SetAlpha(int alpha);
    // Copies rect of this canvas into dst raw (alpha channel kept), mirrored as asked, then scales
    // dst's alpha channel by its per-pixel alpha. False when nothing could be copied.
    virtual bool CopyFrame(SDL_Rect* rect, Canvas* dst, bool mirrorH, bool mirrorV);
    virtual std::list<Rectangle*>& GetDirtyRects();

    // Colour key from pixel (0, 0), or none.
    void UseTransparency(bool transparent, bool useRLE);
    void UseTransparency(const Color& key, bool useRLE);
    // The factor by which frame copies into this canvas scale the alpha channel (255: unchanged).
    void SetPerPixelAlpha(int alpha);
    int GetPerPixelAlpha() const { return _perPixelAlpha; }
    // Scales c's alpha channel by c's per-pixel alpha.
    void TransformPerPixelAlpha(Canvas* c);
    bool IsLoaded() const { return _loaded; }
    bool HasColorKey() const { return _hasColorKey; }
    int GetSurfaceAlpha() const { return _surfaceAlpha; }

    static Canvas* CreateRGB(unsigned flags, int w, int h, int depth, unsigned rMask,
                             unsigned gMask, unsigned bMask, unsigned aMask);
    // Under the Canvas mutex, in format, else the default pixel format, else the screen's.
    static Canvas* CreateRGBCompatible(unsigned flags, int w, int h, SDL_PixelFormat* format);
    static Canvas* CreateRGBCompatible(unsigned flags, int w, int h);

    // Image files: the surface as stored (caller owns it), or null.
    static SDL_Surface* LoadImgToSurface(std::string name);
    // As stored, then converted to format (null: the default pixel format).
    static SDL_Surface* LoadImgCompatibleToSurface(std::string name, SDL_PixelFormat* format);
    // The plain file only.
    static Canvas* LoadImg(std::string name);
    static Canvas* LoadImgCompatible(std::string name, SDL_PixelFormat* format);
    // Writes the scrambled form of plainFile's bytes to scrambledFile; false on any failure, in
    // which case no scrambled file is left behind.
    static bool ScrambleImageFile(const std::string& plainFile, const std::string& scrambledFile);

    // The pointer stored is the caller's (the screen's format); the first non-null one is also
    // copied as the 32-bit format.
    static void SetDefaultPixelFormat(SDL_PixelFormat* format);
    // Read under the Canvas mutex; a caller that keeps using the format across a possible screen
    // change holds LockAll() itself.
    static SDL_PixelFormat* GetDefaultPixelFormat();
    static SDL_PixelFormat* Get32PixelFormat();
    // The marker "keep the file's own format and alpha channel".
    static SDL_PixelFormat* PerPixelFormat();
    static bool IsPerPixelMarker(const SDL_PixelFormat* format);

    // The Canvas mutex (recursive): held while the screen mode and the default format change.
    static void LockAll();
    static void UnlockAll();

protected:
    virtual bool CopyFrameNoMirror(SDL_Rect* rect, Canvas* dst);
    void SetLoaded(bool loaded);

private:
    void ResetFields();
    bool CopyPixels(SDL_Rect* rect, Canvas* dst, bool mirrorH, bool mirrorV);
    // Converts loaded (freed here) to format, null meaning the default pixel format.
    static SDL_Surface* ConvertSurface(SDL_Surface* loaded, SDL_PixelFormat* format);

    std::list<Rectangle*> _dirtyRects; // owned
    SDL_Surface* _surface = nullptr;   // owned; freed by the destructor
    SDL_Surface* _dropShadowSource = nullptr;
    std::unique_ptr<Canvas> _surface32; // made by Get32Surface for a 16-bit canvas
    SDL_Surface* _dropShadow = nullptr; // owned
    int _dropShadowAlpha = 0;
    Color _dropShadowColor;
    int _dropShadowDx = 0;
    int _dropShadowDy = 0;
    Uint32 _shadowClearPixel = 0;
    int _perPixelAlpha = 255;
    int _surfaceAlpha = 255;
    Uint32 _colorKey = 0;
    bool _hasColorKey = false;
    bool _loaded = false;
};
