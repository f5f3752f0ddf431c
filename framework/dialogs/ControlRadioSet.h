#pragma once

#include "framework/core/Export.h"
#include "framework/dialogs/ControlRadio.h"

#include <string>
#include <vector>

class DialogItem;

// A group of radio buttons of a dialog description ("type" "radioset"): the radio keys plus
// "text1", "text2" ... up to the first that is missing or "_end_". The buttons' values run from
// "subid" upward; the first starts ticked. Layout stacks them with a gap of 10 pixels.
class FRAMEWORK_API ControlRadioSet : public ControlRadio
{
public:
    static constexpr const char* kEndMarker = "_end_";

    ControlRadioSet();

    // The texts, then the radio keys.
    bool Load(ConfigFile* file, const std::string& section) override;
    // Forgets the buttons; the dialog owns them.
    ~ControlRadioSet() override;

    // One radio button per text, all at the control's position (Move stacks them). The control's
    // item is the last button.
    void AddTo(CastMemberDialog* dialog) override;
    using ControlRadio::AddTo;
    // The buttons' heights and the gaps between them; 0 without texts.
    int GetH() override;
    // The widest text with the check image and indent; 0 without a check image.
    int GetW() override;
    // Places the buttons one below the other from (x, y).
    void Move(int x, int y) override;

    const std::vector<std::string>& GetTexts() const { return _texts; }
    // The buttons made by AddTo, in the order of the texts.
    const std::vector<DialogItem*>& GetItems() const { return _items; }
    int GetSpacing() const { return _spacing; }

private:
    std::vector<std::string> _texts;
    std::vector<DialogItem*> _items; // not owned: the dialog owns them
    int _spacing = 10;
};
