#pragma once

#include "framework/core/Export.h"
#include "framework/dialogs/ControlLabel.h"

// A block of wrapped text of a dialog description ("type" "textbox"): the label keys, with "dim"
// as the box (its width wraps the text) and "justify" as the alignment of the lines.
class FRAMEWORK_API ControlTextBox : public ControlLabel
{
public:
    // The vertical alignment of the box's lines: from the top.
    static constexpr int kAlignTop = 4;

    ControlTextBox();

    // The label keys.
    bool Load(ConfigFile* file, const std::string& section) override;
    ~ControlTextBox() override;

    void AddTo(CastMemberDialog* dialog) override;
    // The item's frame; before the box is added (or when it was refused), the "dim" size.
    int GetH() override;
    int GetW() override;
};
