#include "framework/dialogs/ControlBackground.h"

#include "framework/core/Color.h"
#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/media/Image.h"

ControlBackground::ControlBackground() : Control(kBackground) {}

ControlBackground::~ControlBackground()
{
    delete _image;
    delete _tileImage;
}

bool ControlBackground::Load(ConfigFile* file, const std::string& section)
{
    Control::Load(file, section);
    if (file == nullptr) {
        return false;
    }
    _image = NewImage(file, _image, section, "img", false, 1, 1);
    _dimAlpha = ConfigFile::AsInt(file->Value(section, "dimalpha", _dimAlpha, true));
    _shadow = file->ValueAsPoint(section, "shadow", _shadow);
    _fadeTime = ConfigFile::AsInt(file->Value(section, "fadetime", _fadeTime, true));
    _tileCols = ConfigFile::AsInt(file->Value(section, "tilecols", _tileCols, true));
    _tileRows = ConfigFile::AsInt(file->Value(section, "tilerows", _tileRows, true));
    _headerHeight = ConfigFile::AsInt(file->Value(section, "headerheight", _headerHeight, true));
    _footerHeight = ConfigFile::AsInt(file->Value(section, "footerheight", 0, true));
    _tileImage = NewImage(file, _tileImage, section, "tileimage", false, _tileCols, _tileRows);
    return _image != nullptr || _tileImage != nullptr;
}

void ControlBackground::AddTo(CastMemberDialog* dialog)
{
    if (dialog == nullptr) {
        return;
    }
    dialog->SetDropShadow(_shadow.GetX(), _shadow.GetY(), Color(0, 0, 0, 255), kShadowValue);
    dialog->SetFadeInTime(_fadeTime);
    dialog->SetFadeOutTime(_fadeTime);
}

int ControlBackground::GetH()
{
    return _tileImage != nullptr ? FrameHeight(_tileImage) : FrameHeight(_image);
}

int ControlBackground::GetW()
{
    return _image != nullptr ? FrameWidth(_image) : FrameWidth(_tileImage);
}
