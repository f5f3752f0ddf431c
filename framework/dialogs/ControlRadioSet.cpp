#include "framework/dialogs/ControlRadioSet.h"

#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/Image.h"

#include <algorithm>
#include <cstddef>

ControlRadioSet::ControlRadioSet() : ControlRadio(kRadioSet) {}

ControlRadioSet::~ControlRadioSet()
{
    _texts.clear();
    _items.clear();
}

bool ControlRadioSet::Load(ConfigFile* file, const std::string& section)
{
    if (file != nullptr) {
        for (int n = 1;; ++n) {
            const std::string key = "text" + std::to_string(n);
            const std::string text = file->Value(section, key, kEndMarker, true);
            if (text == kEndMarker) {
                break;
            }
            _texts.push_back(text);
        }
    }
    return ControlRadio::Load(file, section);
}

void ControlRadioSet::AddTo(CastMemberDialog* dialog)
{
    if (dialog == nullptr) {
        return;
    }
    DialogItem* last = nullptr;
    for (size_t i = 0; i < _texts.size(); ++i) {
        const int number = static_cast<int>(i);
        DialogItem* item = dialog->AddRadioButton(_texts[i], _position.GetX(), _position.GetY(),
                                                  _id, _value + number, number == 0, _colour, _font,
                                                  false, _checkImage);
        if (item == nullptr) {
            ReportRefused(dialog, "a radio button without image, font or text");
            continue;
        }
        ApplyTextStyle(item, _texts[i]);
        _items.push_back(item);
        last = item;
    }
    if (_texts.empty()) {
        ReportRefused(dialog, "no texts");
    }
    SetItem(last);
    // Hiding or disabling the set must reach every button, not only the one that is the item.
    for (DialogItem* item : _items) {
        if (item != last) {
            item->SetVisible(_visible != 0);
            item->SetInactive(!_enabled);
        }
    }
}

int ControlRadioSet::GetH()
{
    const int count = static_cast<int>(_texts.size());
    if (count == 0) {
        return 0;
    }
    return count * ControlCheckBox::GetH() + (count - 1) * _spacing;
}

int ControlRadioSet::GetW()
{
    if (_checkImage == nullptr) {
        return 0;
    }
    int widest = 0;
    for (const std::string& text : _texts) {
        widest = std::max(widest, TextWidth(text));
    }
    return widest + FrameWidth(_checkImage) + _indent;
}

void ControlRadioSet::Move(int x, int y)
{
    for (DialogItem* item : _items) {
        item->Move(x, y);
        y += item->GetFrameHeight() + _spacing;
    }
}
