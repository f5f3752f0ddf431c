#pragma once

#include "framework/core/Color.h"
#include "framework/core/Export.h"
#include "framework/dialogs/ControlLabel.h"

// A text input of a dialog description ("type" "input"): the label keys (its "col" is the text
// colour, "dim" the box size, "str" the starting text) plus "backcol", the colour of the box,
// and "limit", the most characters it takes. Its id is 6 unless the section says otherwise.
class FRAMEWORK_API ControlInput : public ControlLabel
{
public:
    static constexpr int kDefaultId = 6;

    ControlInput();

    // "backcol", "limit", then the label keys.
    bool Load(ConfigFile* file, const std::string& section) override;
    ~ControlInput() override;

    // With the control's id.
    void AddTo(CastMemberDialog* dialog) override;
    // The size given by "dim", also before the input is added.
    int GetH() override;
    int GetW() override;

    // Stores id and adds the input box.
    virtual void AddTo(CastMemberDialog* dialog, int id);

    const Color& GetInputColour() const { return _inputColour; }
    int GetLimit() const { return _limit; }

private:
    Color _inputColour{0, 0, 0, 255};
    int _limit = 12;
};
