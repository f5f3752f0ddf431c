#include "framework/dialogs/ControlButton.h"

#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/Image.h"

namespace {

bool ReadFlag(ConfigFile* file, const std::string& section, const char* key, bool current)
{
    return static_cast<double>(file->Value(section, key, current ? 1 : 0, true)) != 0.0;
}

} // namespace

ControlButton::ControlButton() : Control(kButton) {}

ControlButton::~ControlButton()
{
    delete _image;
}

bool ControlButton::Load(ConfigFile* file, const std::string& section)
{
    Control::Load(file, section);
    if (file == nullptr) {
        return false;
    }
    _image = NewImage(file, _image, section, "img", false, 1, 1);
    if (_image != nullptr) {
        _image->SetFrames(4, 1);
    }
    _immediateAction = ReadFlag(file, section, "immediateaction", _immediateAction);
    _exitCode = ConfigFile::AsInt(file->Value(section, "exitcode", _exitCode, true));
    _enabled = ReadFlag(file, section, "enabled", _enabled);
    _enter = ReadFlag(file, section, "enter", _enter);
    _esc = ReadFlag(file, section, "esc", _esc);
    _sound = static_cast<std::string>(file->Value(section, "sound", _sound, true));
    return _image != nullptr;
}

void ControlButton::AddTo(CastMemberDialog* dialog)
{
    AddTo(dialog, _id, _exitCode);
}

void ControlButton::AddTo(CastMemberDialog* dialog, int id, int exitCode)
{
    if (dialog == nullptr) {
        return;
    }
    _id = id;
    DialogItem* item = nullptr;
    if (_image != nullptr) {
        item = dialog->AddButton(_image, _position.GetX(), _position.GetY(), id, exitCode);
    }
    if (item == nullptr) {
        ReportRefused(dialog, "no button image");
    }
    SetItem(item);
    if (item == nullptr) {
        return;
    }
    if (_enter) {
        dialog->SetEnterKeyItem(item);
    }
    if (_esc) {
        dialog->SetEscKeyItem(item);
    }
}

int ControlButton::GetH()
{
    return FrameHeight(_image);
}

int ControlButton::GetW()
{
    return FrameWidth(_image);
}
