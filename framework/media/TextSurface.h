#pragma once

#include "SDL.h"
#include "framework/core/Color.h"
#include "framework/core/Debug.h"
#include "framework/core/Export.h"
#include "framework/core/Rectangle.h"

#include <cstdint>
#include <string>

class Canvas;
class Font;

// One piece of text rendered in one colour: the rendering as made (never changed), a working
// copy whose alpha is the rendered alpha scaled by the current alpha, the part of it to blit,
// where it goes relative to the blit position, and optionally a drop shadow.
//
// Surfaces are 32 bits per pixel with alpha in the top byte, as blended rendering makes them.
// An empty text, a font that is not open or a failed rendering leave no surface (GetSurface()
// null, empty rectangles); every operation then does nothing.
class FRAMEWORK_API TextSurface : public Debug
{
public:
    // An alpha below 255 scales the rendering at once.
    TextSurface(const std::string& text, Font* font, Color& color, int alpha);
    ~TextSurface() override;

    TextSurface(const TextSurface&) = delete;
    TextSurface& operator=(const TextSurface&) = delete;

    virtual SDL_Surface* GetSurface();
    virtual Rectangle& SrcRect();
    virtual Rectangle& DstRect();
    virtual int GetW();
    virtual int GetH();
    // Blits the source part of the working surface to the destination rectangle moved by (x, y).
    virtual bool Blit(Canvas* c, int x, int y);

    // Sets the text's alpha (0..255) from the rendering, and the drop shadow's alpha to its own
    // alpha scaled by it; SetAlpha(255) restores the rendered look.
    void SetAlpha(int alpha);
    int GetAlpha() const { return _alpha; }
    // The rendering's colour key, opaque; black without a rendering.
    Color GetColorKey();

    // A silhouette of the text in color with the given alpha, the same size as the text and
    // transparent elsewhere; the caller draws it at an offset. Replaces any earlier shadow and
    // changes color's alpha to alpha. Null without a rendering or with drop shadows switched off.
    // The text surface owns the shadow.
    SDL_Surface* CreateDropShadow(Color& color, int alpha);
    SDL_Surface* GetDropShadow() { return _dropShadow; }
    // The alpha given to the last CreateDropShadow; 0 before the first.
    int GetDropShadowAlpha() const { return _dropShadowAlpha; }

private:
    void DeleteDropShadow();

    SDL_Surface* _textSurfaceOrig = nullptr; // owned; the rendering, never changed
    SDL_Surface* _surface = nullptr;         // owned; the working copy that is blitted
    Rectangle _srcRect{0, 0, 0, 0};
    Rectangle _dstRect{0, 0, 0, 0};
    int32_t _alpha = 255;
    SDL_Surface* _dropShadow = nullptr; // owned
    int32_t _dropShadowAlpha = 0;
    uint32_t _shadowKeyPixel = 0;
};
