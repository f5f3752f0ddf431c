#pragma once

#include "framework/core/Export.h"
#include "framework/dialogs/ControlCheckBox.h"

// One radio button of a dialog description ("type" "radio"): the check-box keys plus "subid",
// the button's value within its group. The group is the control's "id".
class FRAMEWORK_API ControlRadio : public ControlCheckBox
{
public:
    ControlRadio();
    explicit ControlRadio(int kind);

    // "subid", then the check-box keys.
    bool Load(ConfigFile* file, const std::string& section) override;
    ~ControlRadio() override;

    // Unticked, without immediate action, with the control's id and value.
    void AddTo(CastMemberDialog* dialog) override;
    using ControlCheckBox::AddTo;

    // Stores id and value in the control and adds the radio button; selected makes it the
    // group's choice.
    virtual void AddTo(CastMemberDialog* dialog, int id, int value, bool selected, bool immediate);

    int GetValue() const { return _value; }

protected:
    int _value = 0;
};
