#pragma once

#include "framework/core/Export.h"
#include "framework/dialogs/ControlLabel.h"

// A check box of a dialog description ("type" "checkbox"): the label keys plus "img" (the check
// image, four looks side by side) and "indent" (the gap between the image and the text).
class FRAMEWORK_API ControlCheckBox : public ControlLabel
{
public:
    ControlCheckBox();
    explicit ControlCheckBox(int kind);

    // "img", "indent", then the label keys. True when the label has a text.
    bool Load(ConfigFile* file, const std::string& section) override;
    ~ControlCheckBox() override;

    // Unticked, without immediate action, with the control's id.
    void AddTo(CastMemberDialog* dialog) override;
    // The larger of the text height and the check image's height.
    int GetH() override;
    // Check image, indent and the item's text; 0 without a check image.
    int GetW() override;

    // Stores id as the control's id and adds the check box ticked or not; immediate: the dialog
    // reports every change of the box at once.
    virtual void AddTo(CastMemberDialog* dialog, int id, bool selected, bool immediate);

    Image* GetCheckImage() const { return _checkImage; }
    int GetIndent() const { return _indent; }

protected:
    Image* _checkImage = nullptr; // owned
    int _indent = 8;
};
