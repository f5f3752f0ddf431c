#include "framework/dialogs/Control.h"

#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"

Control::Control() : Control(kControl) {}

Control::Control(int kind) : _kind(kind) {}

Control::~Control()
{
    // The dialog deletes the item.
    _item = nullptr;
}

bool Control::Load(ConfigFile* file, const std::string& section)
{
    _section = section;
    if (file == nullptr) {
        return true;
    }
    _position = file->ValueAsPoint(section, "pos", _position);
    _id = ConfigFile::AsInt(file->Value(section, "id", _id, true));
    _pin = ConfigFile::AsInt(file->Value(section, "pin", _pin, true));
    _noMargins = static_cast<double>(file->Value(section, "nomargins", 0, true)) == 1.0;
    _visible = ConfigFile::AsInt(file->Value(section, "visible", _visible, true));
    return true;
}

int Control::GetH()
{
    return 0;
}

int Control::GetW()
{
    return 0;
}

void Control::SetItem(DialogItem* item)
{
    _item = item;
    if (_item == nullptr) {
        return;
    }
    _item->SetPin(_pin);
    _item->SetNoMargins(_noMargins);
    _item->SetVisible(_visible != 0);
    _item->SetInactive(!_enabled);
}

void Control::Move(int x, int y)
{
    if (_item != nullptr) {
        _item->Move(x, y);
    }
}

Image* Control::NewImage(ConfigFile* file, Image* current, const std::string& section,
                         const std::string& key, bool perPixel, int cols, int rows)
{
    if (file == nullptr) {
        return current;
    }
    Image* image = file->NewImage(section, key, perPixel, cols, rows);
    if (image == nullptr) {
        return current;
    }
    if (image->GetCanvas() == nullptr) {
        // A file that does not load leaves an image with nothing to draw or measure.
        file->DebugVar(-1, "Control: the image of %s/%s did not load; not used", section.c_str(),
                       key.c_str());
        delete image;
        return current;
    }
    delete current;
    return image;
}

Font* Control::NewFont(ConfigFile* file, Font* current, const std::string& section,
                       const std::string& fileKey, const std::string& sizeKey,
                       const std::string& styleKey)
{
    if (file == nullptr) {
        return current;
    }
    Font* font = file->NewFont(section, fileKey, sizeKey, styleKey);
    if (font == nullptr) {
        return current;
    }
    if (font->GetRawFont() == nullptr) {
        file->DebugVar(-1, "Control: the font of %s/%s did not open; not used", section.c_str(),
                       fileKey.c_str());
        delete font;
        return current;
    }
    delete current;
    return font;
}

int Control::FrameWidth(Image* image)
{
    if (image == nullptr || image->GetCanvas() == nullptr) {
        return 0;
    }
    ImageResource* sheet = image->GetImageResource();
    return sheet != nullptr ? sheet->GetFrameW() : image->GetW();
}

int Control::FrameHeight(Image* image)
{
    if (image == nullptr || image->GetCanvas() == nullptr) {
        return 0;
    }
    ImageResource* sheet = image->GetImageResource();
    return sheet != nullptr ? sheet->GetFrameH() : image->GetH();
}

void Control::ReportRefused(CastMemberDialog* dialog, const char* what)
{
    if (dialog != nullptr) {
        dialog->DebugVar(-1, "Control %s (kind %d) not added to the dialog: %s", _section.c_str(),
                         _kind, what);
    }
}
