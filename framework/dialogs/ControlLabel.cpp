#include "framework/dialogs/ControlLabel.h"

#include "framework/core/ConfigFile.h"
#include "framework/core/Framework.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/Font.h"

namespace {

const char* const kThemeSection = "controllabel";

} // namespace

ControlLabel::ControlLabel() : ControlLabel(kLabel) {}

ControlLabel::ControlLabel(int kind) : Control(kind) {}

ControlLabel::~ControlLabel()
{
    delete _font;
}

bool ControlLabel::Load(ConfigFile* file, const std::string& section)
{
    Framework* app = Framework::GetApp();
    ConfigFile* theme = app != nullptr ? app->GetThemeConfig() : nullptr;
    if (theme != nullptr) {
        LoadStyle(theme, kThemeSection);
    }
    Control::Load(file, section);
    if (file != nullptr) {
        _text = static_cast<std::string>(file->Value(section, "str", _text, true));
        _size = file->ValueAsDimension(section, "dim", _size);
        LoadStyle(file, section);
    }
    return _text != kNoText;
}

void ControlLabel::LoadStyle(ConfigFile* file, const std::string& section)
{
    _justification = ConfigFile::AsInt(file->Value(section, "justify", _justification, true));
    _font = NewFont(file, _font, section, "font", "fontsize", "fontstyle");
    _colour = file->ValueAsColor(section, "col", _colour);
    _shadowDepth = ConfigFile::AsInt(file->Value(section, "shadowdepth", _shadowDepth, true));
    _shadowColour = file->ValueAsColor(section, "shadowcol", _shadowColour);
}

void ControlLabel::AddTo(CastMemberDialog* dialog)
{
    if (dialog == nullptr) {
        return;
    }
    // Made with a placeholder, so that a label whose text is empty is still accepted.
    DialogItem* item = dialog->AddText(kNoText, _position.GetX(), _position.GetY(), _id, _colour,
                                       _font, _justification, _size.GetW());
    if (item == nullptr) {
        ReportRefused(dialog, "no font");
    }
    SetItem(item);
    ApplyTextStyle(item, _text);
}

void ControlLabel::ApplyTextStyle(DialogItem* item, const std::string& text)
{
    if (item != nullptr) {
        item->SetTextProperties(text, _font, _colour, _shadowDepth);
    }
}

int ControlLabel::GetH()
{
    return _font != nullptr ? _font->TextDim(_text).GetH() : 0;
}

int ControlLabel::GetW()
{
    return TextWidth(_item != nullptr ? _item->GetText() : _text);
}

int ControlLabel::TextWidth(const std::string& text)
{
    return _font != nullptr ? _font->TextDim(text).GetW() : 0;
}
