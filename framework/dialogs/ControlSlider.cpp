#include "framework/dialogs/ControlSlider.h"

#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/Image.h"

ControlSlider::ControlSlider() : Control(kSlider) {}

ControlSlider::~ControlSlider()
{
    delete _leftImage;
    delete _rightImage;
    delete _knobImage;
}

bool ControlSlider::Load(ConfigFile* file, const std::string& section)
{
    Control::Load(file, section);
    if (file == nullptr) {
        return false;
    }
    _leftImage = NewImage(file, _leftImage, section, "leftimage", false, 1, 1);
    _rightImage = NewImage(file, _rightImage, section, "rightimage", false, 1, 1);
    _knobImage = NewImage(file, _knobImage, section, "knobimage", false, 1, 1);
    _knobOffset = ConfigFile::AsInt(file->Value(section, "knoboffset", _knobOffset, true));
    _knobSideOffset =
        ConfigFile::AsInt(file->Value(section, "knobleftrightoffset", _knobSideOffset, true));
    for (Image* image : {_leftImage, _rightImage, _knobImage}) {
        if (image != nullptr) {
            image->UseTransparency(true, false);
        }
    }
    _orientation = static_cast<double>(file->Value(section, "orientation", "0", true)) != 0.0;
    return _leftImage != nullptr;
}

void ControlSlider::AddTo(CastMemberDialog* dialog)
{
    AddTo(dialog, _id, kStartValue);
}

void ControlSlider::AddTo(CastMemberDialog* dialog, int id, int value)
{
    if (dialog == nullptr) {
        return;
    }
    _id = id;
    if (_leftImage == nullptr) {
        // A slider without its track has nothing to draw and nowhere to be dragged.
        ReportRefused(dialog, "no track image (\"leftimage\")");
        SetItem(nullptr);
        return;
    }
    DialogItem* item = dialog->AddSlider(_leftImage, _rightImage, _knobImage, value, _orientation,
                                         _knobSideOffset, _position.GetX(), _position.GetY(), id);
    if (item == nullptr) {
        ReportRefused(dialog, "the dialog made no slider");
    }
    SetItem(item);
    if (item != nullptr) {
        item->SetIndent(_knobOffset);
    }
}

int ControlSlider::GetH()
{
    return _leftImage != nullptr ? _leftImage->GetH() : 0;
}

int ControlSlider::GetW()
{
    return _leftImage != nullptr ? _leftImage->GetW() : 0;
}
