#pragma once

#include "framework/core/Color.h"
#include "framework/core/Dimension.h"
#include "framework/core/Export.h"
#include "framework/dialogs/Control.h"

#include <string>

// A text of a dialog description ("type" "label"), and the text style that the check box,
// radio, radio set, input and text box share: "str", "dim", "justify", "font", "fontsize",
// "fontstyle", "col", "shadowdepth", "shadowcol".
//
// A style key is taken from the control's own section, else from the same section of the
// description's parent file, else from the section "controllabel" of the theme configuration,
// else the built-in value.
class FRAMEWORK_API ControlLabel : public Control
{
public:
    // The text a label has when its section gives none.
    static constexpr const char* kNoText = "empty";

    ControlLabel();
    explicit ControlLabel(int kind);

    // The theme's "controllabel" style, the common keys, "str" and "dim" (0 x 0 when missing
    // everywhere), then the style keys of the own section. True when the label has a text.
    bool Load(ConfigFile* file, const std::string& section) override;
    ~ControlLabel() override;

    // A text item with the label's style.
    void AddTo(CastMemberDialog* dialog) override;
    // The height of the label's text in its font; 0 without a font.
    int GetH() override;
    // The width of the item's current text in the label's font; 0 without a font.
    int GetW() override;

    const std::string& GetText() const { return _text; }
    const Dimension& GetSize() const { return _size; }
    int GetJustification() const { return _justification; }
    Font* GetFont() const { return _font; }
    const Color& GetColour() const { return _colour; }
    int GetShadowDepth() const { return _shadowDepth; }
    const Color& GetShadowColour() const { return _shadowColour; }

protected:
    // Reads the style keys of one section, each defaulting to the current value.
    void LoadStyle(ConfigFile* file, const std::string& section);
    // The width of text in the label's font; 0 without a font.
    int TextWidth(const std::string& text);
    // Gives a freshly made item the label's text, font, colour and shadow depth.
    void ApplyTextStyle(DialogItem* item, const std::string& text);

    std::string _text = kNoText;
    Dimension _size{40, 15};
    int _justification = 2;
    Font* _font = nullptr; // owned
    Color _colour{0, 0, 0, 255};
    int _shadowDepth = 2;
    Color _shadowColour{0, 0, 0, 255};
};
