#include "framework/dialogs/ControlCheckBox.h"

#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/Image.h"

#include <algorithm>

ControlCheckBox::ControlCheckBox() : ControlCheckBox(kCheckBox) {}

ControlCheckBox::ControlCheckBox(int kind) : ControlLabel(kind) {}

ControlCheckBox::~ControlCheckBox()
{
    delete _checkImage;
}

bool ControlCheckBox::Load(ConfigFile* file, const std::string& section)
{
    if (file != nullptr) {
        _checkImage = NewImage(file, _checkImage, section, "img", false, 1, 1);
        if (_checkImage != nullptr) {
            _checkImage->SetFrames(4, 1);
        }
        _indent = ConfigFile::AsInt(file->Value(section, "indent", _indent, true));
    }
    return ControlLabel::Load(file, section);
}

void ControlCheckBox::AddTo(CastMemberDialog* dialog)
{
    AddTo(dialog, _id, false, false);
}

void ControlCheckBox::AddTo(CastMemberDialog* dialog, int id, bool selected, bool immediate)
{
    if (dialog == nullptr) {
        return;
    }
    _id = id;
    DialogItem* item = dialog->AddCheckBox(_text, _position.GetX(), _position.GetY(), id, selected,
                                           _indent, _colour, _font, immediate, _checkImage);
    if (item == nullptr) {
        ReportRefused(dialog, "no check image, no font or no text");
    }
    SetItem(item);
    ApplyTextStyle(item, _text);
}

int ControlCheckBox::GetH()
{
    const int imageH = FrameHeight(_checkImage);
    return std::max(ControlLabel::GetH(), imageH);
}

int ControlCheckBox::GetW()
{
    if (_checkImage == nullptr) {
        return 0;
    }
    return FrameWidth(_checkImage) + ControlLabel::GetW() + _indent;
}
