#pragma once

#include "SDL.h"
#include "framework/core/Color.h"
#include "framework/core/Export.h"
#include "framework/stage/CastMember.h"

#include <memory>
#include <string>

class Canvas;
class Cast;
class Font;
class TextSurface;

// A horizontal progress bar: a one-pixel frame, the unfilled inside, a bar filled to a
// percentage and an optional caption, drawn into a canvas of its own that is then drawn (or
// scaled) onto the stage.
//
// Ownership: the bar's canvas and the rendered caption belong to the sprite; the font stays the
// caller's.
class FRAMEWORK_API CastMemberProgress final : public CastMember
{
public:
    // frame: the frame and caption colour; bar: the filled part's colour.
    CastMemberProgress(Cast* cast, Font* font, const Color& frame, const Color& bar, int width,
                       int height, int x, int y, int priority);
    ~CastMemberProgress() override;

    int GetClassMemberType() override;
    void Paint(Canvas* canvas) override;
    // Grown by the drop shadow while the bar is scaled.
    Rectangle& GetScaledRect() override;
    // Applied to the bar and to the caption (unless it has an alpha of its own).
    void SetAlpha(int alpha) override;
    int GetScaledX() override;
    int GetScaledY() override;
    int GetScaledWidth() override;
    int GetScaledHeight() override;
    SDL_Surface* CreateScaledSurface(float angle, float zoom, bool smooth) override;
    void RefactorDropShadow() override;

    // Clamped to 0..100.
    virtual void SetPercent(int percent);
    virtual void SetColor(const Color& frame, const Color& bar);
    virtual void SetTextColor(const Color& color);
    virtual void SetUnderColor(const Color& color);
    // The caption: the first 90 characters of text, a blank and value clamped to 0..100.
    virtual void SetText(const std::string& text, int value);
    virtual void SetText(const std::string& text);
    // Renders the caption anew.
    virtual void ReplaceTextSurface();
    // Above 0: the caption's own alpha; 0 or below: the caption follows the sprite's alpha.
    virtual void SetTextAlpha(int alpha);
    virtual void CheckDropShadow();
    // Makes the scaled look again from the bar as it is now.
    virtual void UpdateScaledSurface();
    virtual void UseTransparency(const Color& key);
    // On: colour key (254, 0, 254); off: no colour key.
    virtual void UseTransparency(bool on);

    int GetPercent() const { return _percent; }
    const std::string& GetCaption() const { return _text; }
    // -999 until the first paint with a caption places it.
    int GetTextX() const { return _textX; }
    Canvas* GetCanvas() const { return _canvas.get(); }

private:
    static constexpr int kUnplaced = -999;

    void Init();

    std::string _text;
    int _textX = kUnplaced;
    std::unique_ptr<Canvas> _canvas;
    int _percent = 0;
    Color _frameColor{0, 0, 0, 255};
    Color _barColor{0, 0, 0, 255};
    Color _textColor{0, 0, 0, 255};
    Color _underColor{0, 0, 0, 255};
    Font* _font = nullptr; // not owned
    std::unique_ptr<TextSurface> _textSurface;
    bool _rebuildText = true;
    bool _ownTextAlpha = false;
    int _textAlpha = 255;
};
