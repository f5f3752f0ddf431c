#pragma once

#include "framework/core/Color.h"
#include "framework/core/Dimension.h"
#include "framework/core/Export.h"
#include "framework/stage/CastMember.h"

#include <memory>
#include <string>

class ButtonListener;
class Canvas;
class Cast;
class Font;
class Receiver;
class TextSurface;

// A sprite showing one line of text in a font: in its colour, over a hard shadow copy moved
// right and down by the shadow distance (optionally a second one a pixel further), with a hover
// rendering in a second colour shown while the pointer is over it or presses it, justified left
// (1), centred (2) or right (3) inside a box of a minimum width. A text whose hover colour differs
// from its colour takes clicks and reports them as ButtonClicked(id, button).
//
// The sprite is as wide as the larger of the text and the minimum width and as high as the text
// plus the shadow distance plus 1; it takes that size again whenever its text is set.
//
// Ownership: the three renderings belong to the sprite; the font stays the caller's and must
// outlive the sprite or be replaced.
class FRAMEWORK_API CastMemberText : public CastMember
{
public:
    CastMemberText(Cast* cast, const std::string& text, Font* font, const Color& color,
                   const Color& hoverColor, const Color& shadowColor, int minimumWidth, int x,
                   int y, int priority);
    ~CastMemberText() override;

    int GetClassMemberType() override;
    // Entering and pressing show the hover rendering; leaving and releasing the normal one.
    void OnMouseEnter(int x, int y) override;
    void OnMouseExit(int x, int y) override;
    void OnMouseDown(int x, int y, int button) override;
    void OnMouseUp(int x, int y, int button) override;
    void OnMouseOver(int x, int y, bool over) override;
    // Reports to the listener when one is set; always false.
    bool Clicked(Receiver* receiver, int button) override;
    void Paint(Canvas* canvas) override;
    void SetAlpha(int alpha) override;

    // Starts the sprite afresh with these values (the renderings are made again).
    virtual void Init(const std::string& text, Font* font, const Color& color,
                      const Color& hoverColor, const Color& shadowColor, int minimumWidth);
    // Store only; they show at the next paint.
    virtual void SetExtraShadow(bool on);
    virtual void SetNoShadow(bool on);
    virtual void SetColor(const Color& color);
    // Also makes the text take clicks.
    virtual void SetColor2(const Color& color);
    virtual void SetColorBoth(const Color& color);
    virtual void SetShadowColor(const Color& color);
    // 1 left, 2 centred, 3 right; other values act as left.
    virtual void Justify(int justification);
    // The x offset of the text inside the sprite.
    virtual int JustifyOffset();
    // Stored only; the size follows at the next SetText or SetFont.
    virtual void SetShadowDist(int distance);
    // Not owned. Renders the text anew and sizes the sprite.
    virtual void SetFont(Font* font);
    // Renders all three renderings anew (the normal one is shown) and sizes the sprite.
    virtual void SetText(const std::string& text);
    // With grouped, thousands are separated by ",".
    virtual void SetTextNumber(int value, bool grouped);
    virtual std::string GetText();
    virtual Font* GetFont();
    // The normal rendering (made the shown one), the hover rendering, the shadow rendering.
    virtual void RefreshSurface1();
    virtual void RefreshSurface1Hi();
    virtual void RefreshSurface2();
    // Stores the listener only. Not owned.
    virtual void SetButtonListener(ButtonListener* listener);
    virtual void CheckDropShadow();

    int GetJustification() const { return _justification; }
    int GetShadowDist() const { return _shadowDist; }
    int GetMinimumWidth() const { return _minimumWidth; }
    const Dimension& GetTextSize() const { return _textSize; }
    // Whether the hover rendering is the one shown.
    bool HoverShown() const;

private:
    // The defaults, before the values of Init.
    void Init();
    // Width: the larger of text and minimum width; height: text + shadow distance + 1.
    void SizeToText();
    std::unique_ptr<TextSurface> Render(Color& color);
    // Shows surface (the normal or the hover rendering), repainting when that changes.
    void ShowSurface(TextSurface* surface);

    std::string _text;
    Dimension _textSize;
    int _justification = 1;
    int _shadowDist = 1;
    Font* _font = nullptr; // not owned
    int _ascent = 0;
    int _minimumWidth = 1;
    Color _color{0, 0, 0, 255};
    Color _hoverColor{0, 0, 0, 255};
    Color _textShadowColor{0, 0, 0, 255};      // the hard shadow; the base's is the drop shadow's
    ButtonListener* _buttonListener = nullptr; // not owned
    bool _extraShadow = false;
    bool _noShadow = false;
    std::unique_ptr<TextSurface> _textSurface;
    std::unique_ptr<TextSurface> _hoverSurface;
    std::unique_ptr<TextSurface> _shadowSurface;
    TextSurface* _shownSurface = nullptr; // one of the two above
};
