#pragma once

#include "framework/core/Color.h"
#include "framework/core/Export.h"
#include "framework/core/Point.h"
#include "framework/dialogs/CastMemberDialogImage.h"
#include "framework/dialogs/ControlAnimation.h"

#include <memory>
#include <string>
#include <vector>

class Canvas;
class Cast;
class ConfigFile;
class DialogAttributes;
class DialogItem;
class DialogListener;
class Font;
class Image;

// The dialog whose size follows its content, read from a section of a dialog description laid
// over the description's section "dialog" (and the file's parent, the skin, under both). The
// section names its message ("text", "@" breaks a line), the section listing its controls
// ("controls"), margins, fonts and limits. The message is wrapped into lines, the buttons are
// measured, and the dialog is made just large enough for text, buttons, items and a minimum
// size, rounded to the tile grid of the background control's tile sheet (corners, edges, a
// header and a tiled middle) and centred on the 800 x 600 screen.
//
// The shell's dialogs derive from it: RepositionControls places their buttons, and their
// DialogListener part hears the clicks.
//
// Ownership: the dialog owns its frame image (also its back image), its font and the embedded
// opening animation; the text items belong to the dialog's items.
class FRAMEWORK_API CastMemberDialogResizable : public CastMemberDialogImage
{
public:
    // Painted first over the whole canvas of a dialog with a header or footer, then shown
    // transparent.
    static const Color kColourKey;

    // cfg is not kept: Init receives it again.
    CastMemberDialogResizable(ConfigFile* cfg, Cast* cast, int id, DialogAttributes* attributes,
                              DialogListener* listener);
    ~CastMemberDialogResizable() override;

    // The frame image's height; the sprite's before Init.
    int GetH() override;
    // The dialog's frame step; once the dialog's script has come to state 1 (a second after its
    // first frame on the stage) the opening animation steps too.
    void Animate(unsigned int now) override;
    // The dialog flashes (or closes) as any dialog, and the opening animation plays again.
    void MouseDownOutsideOfDialog() override;

    // A hook for derived dialogs; nothing here.
    virtual void HandleButtonClicked(int itemId, int button);
    // Builds the whole dialog from the description: options ("dialog", then section), controls,
    // size, position, frame, text block, controls placed, pins adjusted. Without a background
    // control that has a tile sheet (logged) the frame is plain grey, with no header or footer.
    virtual void Init(ConfigFile* cfg, const std::string& section);
    // The message the section gave the dialog.
    const std::string& GetMessage() const { return _text; }
    // Lines of marked-up text from below the header: "<BR>" ends a line, "<H>" makes it a
    // heading (in headingFont), "<B>", "<U>" and "<I>" with their closing tags keep only the
    // text between them, in bold, underlined or italic. A link of more than one character
    // follows as clickable text with id 5. The position is not used.
    virtual void SetHTMLText(std::string text, const std::string& link, const Color& colour,
                             const Point& position, Font* font, Font* headingFont);
    // The first button with that id becomes inactive (or active again); none: nothing.
    virtual void SetInactive(int id, bool inactive);

protected:
    // One text item per line of the text from (x, y) down, in place of those of an earlier
    // call; returns the y below the last line.
    virtual int AddTextBlock(int x, int y, int width);
    // The block of buttons, check boxes, radio buttons and radio sets among the controls:
    // stacked with the button gap (orientation 1) or side by side.
    virtual void CalculateButtonDims(int& width, int& height);
    // The dialog's size, rounded to the tiles, and the tops of its text and its buttons.
    virtual void CalculateDialogDims(int& width, int& height, int& textTop, int& buttonTop,
                                     int headerHeight, int footerHeight);
    // Wraps the text in place (after the first word that makes a line wider than
    // shortestFullLine, at most the maximum lines) and gives its size.
    virtual void CalculateTextDims(int& width, int& height, int shortestFullLine);
    // The background control's header height; 0 without one.
    virtual int GetHeaderHeight();
    // Reads the options of one section, each key defaulting to the field's current value (with
    // the file's parent asked first), except "controls" ("0") and "text" (empty).
    virtual void LoadConfigOptions(ConfigFile* cfg, const std::string& section);
    // The frame from the tile sheet into canvas (w x h, header top, footer bottom): the middle,
    // then the edges, then the corners.
    virtual void PaintBackground(Canvas* canvas, int w, int h, int top, int bottom);
    virtual void PaintEdges(Canvas* canvas, int w, int h, int top, int bottom);
    virtual void PaintCorners(Canvas* canvas, int w, int h, int top, int bottom);
    // Where derived dialogs place their buttons (buttonTop, dialog width); returns buttonTop.
    virtual int RepositionControls(int buttonTop, int width);
    // Whether the background control has a tile sheet to paint the frame from.
    virtual bool UsesTiles();

    // The text font, else the application's first framework font; null when neither exists.
    Font* TextFont();

    std::vector<DialogItem*> _textItems; // belong to the dialog's items
    std::string _sectionName;
    std::string _text;
    std::string _controlsSection;
    std::unique_ptr<Image> _frameImage;
    int _textWidth = 0;
    int _textHeight = 0;
    ControlAnimation _openAnimation;
    int _orientation = 2;
    int _buttonGap = 8;
    std::unique_ptr<Font> _font;
    Color _fontColor{0, 0, 0, 255};
    int _extraHeight = 0;
    int _justification = 2;
    int _margin = 20;
    int _maxLines = 10;
    Point _minSize{100, 40};
    int _shortestFullLine = 200;
    int _xOffset = 0;
    int _extraWidth = 0;
    int _shadowDepth = 2;
    Color _shadowColor{128, 128, 128, 255};

private:
    // Draws tile (col, row) of the tile sheet with its top-left corner at (x, y).
    void PaintTile(Canvas* canvas, int col, int row, int x, int y);

    unsigned int _lastAnimateTime = 0;
};
