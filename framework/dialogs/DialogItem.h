#pragma once

#include "framework/core/Color.h"
#include "framework/core/Debug.h"
#include "framework/core/Dimension.h"
#include "framework/core/Export.h"
#include "framework/core/Point.h"
#include "framework/core/Rectangle.h"

#include <memory>
#include <string>
#include <vector>

class Canvas;
class Font;
class Image;
class TextSurface;

// One element of a dialog: a text, a filled rectangle, a button, a check box, a radio button, an
// image, a custom button, an icon, a text input, a list box, a slider, a clickable text or a
// wrapped text box. Items are made only by the dialog's factories, painted by the dialog onto its
// canvas, hit-tested and set by the dialog's mouse handling, and placed by pins when the dialog
// lays itself out. Coordinates are inside the dialog's canvas unless said otherwise.
//
// The type code is fixed by the factory; radio buttons of one group share their id.
//
// Ownership: the dialog owns its items. An item owns its rendered texts, and its images only
// when flagged with SetMustDestroyImage(true). Fonts are never owned.
class FRAMEWORK_API DialogItem : public Debug
{
public:
    static constexpr int kText = 1; // also the line made by the dialog's AddLine
    static constexpr int kFilledRectangle = 2;
    static constexpr int kButton = 3;
    static constexpr int kCheckBox = 4;
    static constexpr int kRadio = 5;
    static constexpr int kImage = 6;
    static constexpr int kCustomButton = 7;
    static constexpr int kIcon = 8;
    static constexpr int kTextInput = 9;
    static constexpr int kListBox = 10;
    static constexpr int kSlider = 11;
    static constexpr int kClickableText = 12;
    static constexpr int kTextBox = 13;

    // What an item needs of the dialog that owns it; CastMemberDialog implements it and hands
    // itself to the item constructors. All calls come from the main thread.
    class FRAMEWORK_API Owner
    {
    public:
        virtual ~Owner();

        // The dialog's position on the stage and its current size.
        virtual Rectangle GetDialogRect() = 0;
        // The dialog's second text colour: the shadow colour of new items and of list entries.
        virtual Color GetSecondColor() = 0;
        // The entries of the dialog's one list box.
        virtual std::vector<std::string>& GetListBoxEntries() = 0;
        // Remembers the value of the radio button selected last.
        virtual void SetRadioSetting(int value) = 0;
        // True for the list box's up-arrow or down-arrow item while that arrow is not shown.
        virtual bool IsArrowHidden(const DialogItem* item) = 0;
        // Null repaints the whole dialog; otherwise that area of the dialog's canvas.
        virtual void RepaintAll(Rectangle* area) = 0;
        // Paints the dialog's background inside the canvas's current clip rectangle.
        virtual void UpdateBackground() = 0;
        // A slider's value changed (0..100).
        virtual void SliderSet(int itemId, int value) = 0;
        // Reports the item's change to the listeners at once.
        virtual void ImmediateAction(DialogItem* item) = 0;
        // Shows or hides the list box's scroll arrows after a scroll.
        virtual void CheckArrows() = 0;
    };

    // Image items: buttons, custom buttons, check boxes, radio buttons, images, icons, sliders.
    // A frame count below 1 counts as 1.
    DialogItem(Owner* dialog, int type, int x, int y, int id, int frames, bool immediate);
    // Text items: texts, lines, clickable texts (textHeight 0, verticalAlignment 2) and text
    // boxes (the box height, 0 to fit the text, and the vertical alignment).
    DialogItem(Owner* dialog, int type, int x, int y, int id, int alignment, int width,
               bool immediate, int textHeight, int verticalAlignment);
    // Text inputs and list boxes, whose frame is their box.
    DialogItem(Owner* dialog, int type, int x, int y, int id, int alignment, int boxWidth,
               int boxHeight, const Color& boxColour, int maxChars, bool immediate);
    ~DialogItem() override;

    DialogItem(const DialogItem&) = delete;
    DialogItem& operator=(const DialogItem&) = delete;

    // Text colour, font and shadow depth (0 none, 1 one copy at (1, 1), 2 also one at (2, 2)),
    // then SetText.
    void SetTextProperties(const std::string& text, Font* font, const Color& colour,
                           int shadowDepth);
    // Stores and renders the text; a text input or list box cuts it to fit its box, a text box
    // wraps it into lines ("@" breaks a line).
    void SetText(const std::string& text);
    std::string GetText() const { return _text; }
    // Renders the text and its shadow again (every type but the text box).
    void CheckTextSurfaces();
    // Wraps a text box's text into rendered lines (text boxes only).
    void CheckTextBoxSurfaces();
    void DeleteTextSurfaces();
    void DeleteTextBoxSurfaces();

    void SetImage(Image* image);
    Image* GetImage() { return _image; }
    void SetFrameCount(int frames);
    void SetFrame(int frame);
    int GetFrame() const { return _frame; }
    int GetFrameWidth() const { return _frameWidth; }
    int GetFrameHeight() const { return _frameHeight; }
    void SetMustDestroyImage(bool destroy) { _mustDestroyImage = destroy; }
    // A slider: the track left of the thumb (the item image), the track right of it, the thumb,
    // the start value (0..100), the axis and the end margin that the thumb never covers (half at
    // each end). The indent is the thumb's offset across the track.
    void InitSlider(Image* track, Image* secondTrack, Image* thumb, int value, bool horizontal,
                    int endMargin);
    int GetSliderValue() const { return _sliderValue; }
    // The end point and thickness of a line made by the dialog's AddLine; kept, not painted.
    void SetLine(int x2, int y2, int thickness);

    // Paints a changed, visible item at its position plus (dx, dy); front tells whether the
    // dialog is the stage's current dialog. True when it painted (GetPaintRect is then the area).
    bool Paint(Canvas* canvas, int dx, int dy, bool front);
    // border and lift: the dialog passes 2 and 0.
    void DrawTextInput(Canvas* canvas, int dx, int dy, int border, int lift);
    void DrawTextBox(Canvas* canvas, int dx, int dy);
    void DrawSlider(Canvas* canvas, int dx, int dy);
    const Rectangle& GetPaintRect() const { return _paintRect; }

    // Hit test in stage coordinates, edges included; only items that take clicks answer true.
    bool Contains(int x, int y);
    // A click at (x, y) in stage coordinates, or with initial set the initial state of a radio
    // group (also the saved state). Check boxes flip, radio buttons clear their group (radio
    // items only) and take the dialog's radio setting, list boxes select the line under y.
    // Returns whether the click counts.
    bool Set(std::vector<DialogItem*>* items, bool initial, int x, int y);
    bool Set(const std::vector<std::unique_ptr<DialogItem>>& items, bool initial, int x, int y);
    // While a slider is dragged: the value under the mouse (stage coordinates), reported to the
    // dialog when it changed.
    int SetSlider(int mouseX, int mouseY);
    // The hover look of a button; true when it changed.
    bool SwapImages(bool hover);
    // Places the item by its pin bits within the dialog's current size: 0x01 left, 0x02 right,
    // 0x04 top, 0x08 bottom, 0x10 centre across, 0x20 centre down, 0x40 snap to multiples of 5.
    void PinAdjust(int margin, int top, int bottom);
    void SetPin(int pin) { _pin = pin; }
    void SetNoMargins(bool noMargins) { _noMargins = noMargins; }
    void Move(int x, int y);
    int GetX() const { return _x; }
    int GetY() const { return _y; }

    // Text input editing. TypeCharacter appends a printable character (letters, digits, space
    // and underscore only when alphanumeric-only) while the text is shorter than the maximum;
    // true when the key was taken as text, even when the input is full. EraseLastCharacter
    // removes the last character; true for a text input, even when empty. Other keys, and every
    // key for other item types, are left to the dialog (false).
    bool TypeCharacter(unsigned short unicode);
    bool EraseLastCharacter();
    int GetMaxChars() const { return _maxChars; }
    void SetAlphaNumericOnly(bool only) { _alphaNumericOnly = only; }
    bool AlphaNumericOnly() const { return _alphaNumericOnly; }
    void SetCaret(bool shown);

    // List box operations; other item types ignore them (or answer 0, -1 or "").
    void SetListBoxEntries(const std::vector<std::string>& entries);
    void SetListBoxIndex(int index);
    int GetListBoxIndex() const;
    std::string GetListBoxSelectedText();
    void SetListBoxHilightCol(const Color& colour);
    // Visible lines: box height / the height of "W" in the item's font, measured when first
    // needed; 0 while it cannot be measured.
    int GetListBoxNumLines();
    void SetListBoxScrollPos(int first);
    int GetListBoxScrollPos() const { return _firstLine; }
    void ListBoxScrollUp();
    void ListBoxScrollDown();

    // Passed on to the images and rendered texts of buttons, images, icons, check boxes, radio
    // buttons and texts.
    void SetAlpha(int alpha);
    void SetVisible(bool visible);
    bool GetVisible() const { return _visible; }
    void SetInactive(bool inactive);
    bool GetInactive() const { return _inactive; }
    // The current state of a check box or radio button, the held look of a button.
    void SetChecked(bool checked);
    bool GetChecked() const { return _checked; }
    // The state as last committed by the dialog (OK) and restored by it (Cancel).
    void SetSavedChecked(bool saved) { _savedChecked = saved; }
    bool GetSavedChecked() const { return _savedChecked; }
    void SetValue(int value) { _value = value; }
    int GetValue() const { return _value; }
    // Buttons and custom buttons only.
    void SetExit(int exitCode);
    int GetExit() const { return _exitCode; }
    void SetIndent(int indent);
    void SetDirty() { _changed = true; }
    bool IsDirty() const { return _changed; }
    // The dialog repaints everything.
    void RepaintAll();
    bool ImmediateAction() const { return _immediate; }
    int GetID() const { return _id; }
    int GetType() const { return _type; }

protected:
    void DrawText(Canvas* canvas, int dx, int dy, int xOffset, int yOffset);
    void DrawImg(Canvas* canvas, int dx, int dy);
    // The last two arguments are not used.
    void DrawListBox(Canvas* canvas, int dx, int dy, int unused1, int unused2);

private:
    // The column at the right of a list box that holds the dialog's scroll arrows.
    static constexpr int kArrowColumn = 16;

    void DialogItemInit(Owner* dialog, int type, int x, int y, int id, int alignment, int width,
                        bool immediate);
    bool CreateTextBoxSurface(const std::string& line);
    // The height of one text box line.
    int TextBoxLineHeight();
    // A list box's line height, measured on first use.
    int LineHeight();
    std::vector<std::string>* Entries();
    Rectangle DialogRect();
    void RepaintDialog();
    bool DoSet(const std::vector<DialogItem*>& group, bool initial, int x, int y);
    // Frame of a button, or of a custom button with three frames or more.
    int ButtonFrame(bool front, int inactiveFrame) const;
    int TextOffset() const;

    Owner* _dialog = nullptr; // the dialog that owns the item; not owned
    Rectangle _paintRect{0, 0, 0, 0};
    int _type = 0;
    int _id = 0;
    int _value = 0;
    int _x = 0;
    int _y = 0;
    int _width = 0;
    int _height = 0;
    std::string _text;
    Font* _font = nullptr; // not owned
    int _indent = 8;
    std::unique_ptr<TextSurface> _textSurface;
    std::unique_ptr<TextSurface> _shadowSurface;
    Dimension _textSize{0, 0};
    Dimension _boxSize{0, 0};
    std::vector<std::unique_ptr<TextSurface>> _textBoxLines;
    std::vector<std::unique_ptr<TextSurface>> _textBoxShadowLines;
    int _verticalAlignment = 0;
    int _selection = 0;
    int _firstLine = 0;
    Color _hilightColour;
    int _lineHeight = 0;
    bool _caret = true;
    int _maxChars = 0;
    Color _colour;
    Color _shadowColour;
    Color _boxColour;
    int _alignment = 0;
    int _alignWidth = 0;
    bool _inactive = false;
    bool _changed = true;
    bool _visible = true;
    bool _checked = false;
    bool _savedChecked = false;
    Image* _image = nullptr; // owned when _mustDestroyImage
    int _frameWidth = 0;
    int _frameHeight = 0;
    int _frames = 1;
    int _frame = 0;
    bool _hover = false;
    int _exitCode = 0;
    bool _mustDestroyImage = false;
    bool _immediate = false;
    bool _alphaNumericOnly = true;
    int _sliderValue = 0;
    bool _horizontal = true;
    int _endMargin = 0;
    Image* _secondTrack = nullptr; // owned when _mustDestroyImage
    Image* _thumb = nullptr;       // owned when _mustDestroyImage
    int _shadowDepth = 0;
    int _pin = 0;
    bool _noMargins = false;
    Point _lineEnd;
    int _lineThickness = 0;
};
