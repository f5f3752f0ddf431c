#include "framework/dialogs/ControlInput.h"

#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/DialogItem.h"

ControlInput::ControlInput() : ControlLabel(kInput)
{
    _id = kDefaultId;
}

ControlInput::~ControlInput() = default;

bool ControlInput::Load(ConfigFile* file, const std::string& section)
{
    if (file != nullptr) {
        // The box has a colour key of its own: sharing "col" with the text would paint the text
        // in the colour of the box it sits in.
        _inputColour = file->ValueAsColor(section, "backcol", _inputColour);
        _limit = ConfigFile::AsInt(file->Value(section, "limit", _limit, true));
    }
    return ControlLabel::Load(file, section);
}

void ControlInput::AddTo(CastMemberDialog* dialog)
{
    AddTo(dialog, _id);
}

void ControlInput::AddTo(CastMemberDialog* dialog, int id)
{
    if (dialog == nullptr) {
        return;
    }
    _id = id;
    // An input without a text of its own starts empty, not with the placeholder word.
    const std::string text = _text == kNoText ? std::string() : _text;
    DialogItem* item =
        dialog->AddTextInput(text, _position.GetX(), _position.GetY(), _size.GetW(), _size.GetH(),
                             id, _font, _colour, _inputColour, _limit, true);
    if (item == nullptr) {
        ReportRefused(dialog, "the dialog made no text input");
    }
    SetItem(item);
}

int ControlInput::GetH()
{
    return _size.GetH();
}

int ControlInput::GetW()
{
    return _size.GetW();
}
