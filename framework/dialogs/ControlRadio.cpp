#include "framework/dialogs/ControlRadio.h"

#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/DialogItem.h"

ControlRadio::ControlRadio() : ControlRadio(kRadio) {}

ControlRadio::ControlRadio(int kind) : ControlCheckBox(kind) {}

ControlRadio::~ControlRadio() = default;

bool ControlRadio::Load(ConfigFile* file, const std::string& section)
{
    if (file != nullptr) {
        _value = ConfigFile::AsInt(file->Value(section, "subid", _value, true));
    }
    return ControlCheckBox::Load(file, section);
}

void ControlRadio::AddTo(CastMemberDialog* dialog)
{
    AddTo(dialog, _id, _value, false, false);
}

void ControlRadio::AddTo(CastMemberDialog* dialog, int id, int value, bool selected, bool immediate)
{
    if (dialog == nullptr) {
        return;
    }
    _id = id;
    _value = value;
    DialogItem* item = dialog->AddRadioButton(_text, _position.GetX(), _position.GetY(), id, value,
                                              selected, _colour, _font, immediate, _checkImage);
    if (item == nullptr) {
        ReportRefused(dialog, "no radio image, no font or no text");
    }
    SetItem(item);
    ApplyTextStyle(item, _text);
}
