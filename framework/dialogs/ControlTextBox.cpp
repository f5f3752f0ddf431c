#include "framework/dialogs/ControlTextBox.h"

#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/DialogItem.h"

ControlTextBox::ControlTextBox() : ControlLabel(kTextBox) {}

ControlTextBox::~ControlTextBox() = default;

bool ControlTextBox::Load(ConfigFile* file, const std::string& section)
{
    return ControlLabel::Load(file, section);
}

void ControlTextBox::AddTo(CastMemberDialog* dialog)
{
    if (dialog == nullptr) {
        return;
    }
    DialogItem* item = dialog->AddTextBox(_text, _position.GetX(), _position.GetY(), _colour, _font,
                                          _justification, _size, kAlignTop, _id);
    if (item == nullptr) {
        ReportRefused(dialog, "no font or no text");
    }
    SetItem(item);
    ApplyTextStyle(item, _text);
}

int ControlTextBox::GetH()
{
    return _item != nullptr ? _item->GetFrameHeight() : _size.GetH();
}

int ControlTextBox::GetW()
{
    return _item != nullptr ? _item->GetFrameWidth() : _size.GetW();
}
