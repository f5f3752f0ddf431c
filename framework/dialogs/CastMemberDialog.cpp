#include "framework/dialogs/CastMemberDialog.h"

#include "SDL_ttf.h"
#include "framework/dialogs/DialogAttributes.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "framework/stage/Cast.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kMaxFadeMs = 5000;
constexpr int kMaxBorderWidth = 10;

} // namespace

// --- the dialog as its items see it ---

CastMemberDialog::ItemOwner::~ItemOwner() = default;

Rectangle CastMemberDialog::ItemOwner::GetDialogRect()
{
    return _dialog.GetRect();
}

Color CastMemberDialog::ItemOwner::GetSecondColor()
{
    return _dialog._secondTextColor;
}

std::vector<std::string>& CastMemberDialog::ItemOwner::GetListBoxEntries()
{
    return _dialog._listBoxEntries;
}

void CastMemberDialog::ItemOwner::SetRadioSetting(int value)
{
    _dialog._radioSetting = value;
}

bool CastMemberDialog::ItemOwner::IsArrowHidden(const DialogItem* item)
{
    return (item == _dialog._upArrowItem && !_dialog._upArrowShown) ||
           (item == _dialog._downArrowItem && !_dialog._downArrowShown);
}

void CastMemberDialog::ItemOwner::RepaintAll(Rectangle* area)
{
    _dialog.RepaintAll(area);
}

void CastMemberDialog::ItemOwner::UpdateBackground()
{
    _dialog.UpdateBackground();
}

void CastMemberDialog::ItemOwner::SliderSet(int itemId, int value)
{
    _dialog.SliderSet(itemId, value);
}

void CastMemberDialog::ItemOwner::ImmediateAction(DialogItem* item)
{
    _dialog.ImmediateAction(item);
}

void CastMemberDialog::ItemOwner::CheckArrows()
{
    _dialog.CheckArrows();
}

// --- construction ---

CastMemberDialog::CastMemberDialog(Cast* cast, int id, DialogAttributes* attributes,
                                   DialogListener* listener)
    : CastMember(cast, 200, 200, 1)
{
    SetName("Dialog");
    DebugVar(1, "Constructor - 1");
    Init();
    _manager = cast != nullptr ? cast->GetAnimationManager() : nullptr;
    SetID(id);
    _borderWidth = 1;
    SetListener(listener);
    _fadeInTime = 0;
    // One frame of fade-out: a dialog without a fade of its own detaches at the next frame.
    _fadeOutTime = 1;
    _workingFadeOutTime = 1;
    _closing = false;
    SetAttributes(attributes);
    AllowInput(true);
    AllowKeystrokes(true);
    AllowDragging(_manager != nullptr && _manager->DefaultDialogDragging());
    DebugVar(1, "Leaving Constructor - 1");
}

CastMemberDialog::~CastMemberDialog()
{
    Clear();
}

void CastMemberDialog::Init()
{
    DebugVar(1, "Init");
    _listener = nullptr;
    _attributes = nullptr;
    _canvas.reset();
    _buttons.clear();
    _items.clear();
    _itemNotes.clear();
    _buttonRecords.clear();
    _listBoxEntries.clear();
    ForgetItemRoles();
    _upArrowShown = false;
    _downArrowShown = false;
    _radioSetting = 0;
    _shown = false;
    _hasButtonRow = false;
    _modeless = false;
    _modelessAtShow = false;
    _closing = false;
    _justShown = false;
    _disposeOnMouseDownOutside = false;
    _repaintAll = false;
    _fadeInAlpha = 255;
    _moveOnShowOffset.Set(0, 0);
    _moveOnShowTime = 0;
    _dropShadowOn = true;
    // An empty dialog is not shown until Show has laid it out.
    _rect.SetDim(0, 0);
    _visible = false;
}

int CastMemberDialog::GetClassMemberType()
{
    return CastMember::kDialogKind;
}

bool CastMemberDialog::IsADialog()
{
    return true;
}

Cast* CastMemberDialog::Stage()
{
    if (_cast != nullptr) {
        return _cast;
    }
    return _manager != nullptr ? _manager->GetCast() : nullptr;
}

// --- set-up ---

void CastMemberDialog::SetListener(DialogListener* listener)
{
    // The own part hears every report anyway; keeping it as user listener would report twice.
    _listener = listener == static_cast<DialogListener*>(this) ? nullptr : listener;
}

void CastMemberDialog::SetAttributes(DialogAttributes* attributes)
{
    if (attributes == nullptr) {
        return;
    }
    _attributes = attributes;
    _textColor = attributes->GetTextColor();
    _secondTextColor = attributes->GetSecondTextColor();
    _outerBorderColor = attributes->GetOuterBorderColor();
    _innerBorderColor = attributes->GetInnerBorderColor();
    _borderWidth = std::clamp(attributes->GetBorderWidth(), 0, kMaxBorderWidth);
    _textFont = attributes->GetTextFont();
    _titleFont = attributes->GetTitleFont();
    // The attributes' second "other attribute" is the depth of the text shadow.
    _textShadowDepth = attributes->GetTextShadowDepth();
    _backImage = attributes->GetBackImage();
    SetButtonImages(attributes->GetFirstButtonImage(), attributes->GetSecondButtonImage());
    InitCheckBox(attributes->GetCheckBoxImage());
    InitRadio(attributes->GetRadioImage());
    InitIcon(attributes->GetIconImage());
    RepaintAll(nullptr);
}

DialogAttributes* CastMemberDialog::GetAttributes()
{
    return _attributes;
}

void CastMemberDialog::SetTransparency(Image* image)
{
    if (image != nullptr) {
        image->UseTransparency(true, false);
    }
}

void CastMemberDialog::SetButtonImages(Image* first, Image* second)
{
    _firstButtonImage = first;
    _secondButtonImage = second;
    SetTransparency(first);
    SetTransparency(second);
    // By role: the single button of mode 2 sits in the second slot but is an OK button.
    for (DialogItem* button : {_firstStandardButton, _secondStandardButton}) {
        if (button == nullptr) {
            continue;
        }
        Image* image = button->GetID() == kOkId ? first : second;
        if (image != nullptr) {
            button->SetImage(image);
        }
    }
    Repaint();
}

void CastMemberDialog::SetBackImage(Image* image)
{
    _backImage = image;
    UpdateBackground();
    RepaintAll(nullptr);
}

void CastMemberDialog::SetOverlayImage(Image* image, int x, int y)
{
    _overlayImage = image;
    if (x > 0) {
        _overlayPosition.SetX(x);
    }
    if (y > 0) {
        _overlayPosition.SetY(y);
    }
    _repaintAll = true;
    Repaint();
}

void CastMemberDialog::InitBackground(Image* image, bool transparent)
{
    _backImage = image;
    if (transparent) {
        UseTransparentBackground();
    }
}

void CastMemberDialog::InitOverlay(Image* image, const Point& position)
{
    _overlayImage = image;
    _overlayPosition = position;
}

void CastMemberDialog::InitButton(Image* image, const Point& position, int id, int exitCode)
{
    ButtonRecord record;
    record.image = image;
    record.position = position;
    record.id = id;
    record.exitCode = exitCode;
    _buttonRecords.push_back(record);
}

void CastMemberDialog::InitFade(int fadeIn, int fadeOut, int alpha)
{
    SetFadeInTime(fadeIn);
    SetFadeOutTime(fadeOut);
    _fadeInAlpha = LimitAlpha(alpha);
}

void CastMemberDialog::InitBorders(const Color& outer, const Color& inner, int width)
{
    _outerBorderColor = outer;
    _innerBorderColor = inner;
    _borderWidth = std::clamp(width, 0, kMaxBorderWidth);
}

void CastMemberDialog::InitCheckBox(Image* image)
{
    _checkBoxImage = image;
    SetTransparency(image);
}

void CastMemberDialog::InitRadio(Image* image)
{
    _radioImage = image;
    SetTransparency(image);
}

void CastMemberDialog::InitIcon(Image* image)
{
    _iconImage = image;
    SetTransparency(image);
}

void CastMemberDialog::InitTextFont(Font* font, const Color& first, int justification,
                                    const Color& second)
{
    _textFont = font;
    _textFontColor = first;
    _textJustification = justification;
    _secondTextFontColor = second;
    _textColor = first;
    _secondTextColor = second;
}

void CastMemberDialog::InitTitleFont(Font* font, const Color& colour, int justification,
                                     const Color& second)
{
    _titleFont = font;
    _titleColor = colour;
    _titleJustification = justification;
    _secondTitleColor = second;
}

void CastMemberDialog::InitMoveToOnShow(const Point& offset, int ms)
{
    _moveOnShowOffset = offset;
    _moveOnShowTime = std::max(ms, 1);
}

void CastMemberDialog::DisposeOnMouseDownOutside()
{
    _disposeOnMouseDownOutside = true;
}

void CastMemberDialog::SetFadeInTime(int ms)
{
    _fadeInTime = std::min(ms, kMaxFadeMs);
}

void CastMemberDialog::SetFadeOutTime(int ms)
{
    _fadeOutTime = std::min(ms, kMaxFadeMs);
    _workingFadeOutTime = _fadeOutTime;
}

void CastMemberDialog::SetModeless(bool modeless)
{
    // Also the value PreShow restores, so a choice made before Show holds.
    _modelessAtShow = modeless;
    _modeless = modeless;
}

bool CastMemberDialog::IsModeless()
{
    return _modeless;
}

void CastMemberDialog::SetEnterKeyItem(DialogItem* item)
{
    _enterItem = item;
}

void CastMemberDialog::SetEscKeyItem(DialogItem* item)
{
    _escItem = item;
}

void CastMemberDialog::SetUpArrowItem(DialogItem* item)
{
    _upArrowItem = item;
}

void CastMemberDialog::SetDownArrowItem(DialogItem* item)
{
    _downArrowItem = item;
}

// --- accessors ---

Color CastMemberDialog::GetForeColor()
{
    return _textColor;
}

int CastMemberDialog::GetFontSize()
{
    return _textFont != nullptr ? _textFont->GetH() : 0;
}

DialogItem* CastMemberDialog::GetItemByID(int id)
{
    for (const auto& item : _items) {
        if (item->GetID() == id) {
            return item.get();
        }
    }
    return nullptr;
}

DialogItem* CastMemberDialog::GetListboxItem()
{
    return _listBoxItem;
}

int CastMemberDialog::GetRadioSetting(int /*group*/)
{
    return _radioSetting;
}

Canvas* CastMemberDialog::GetCanvas()
{
    return _canvas.get();
}

void CastMemberDialog::SetMembersDirty()
{
    for (const auto& item : _items) {
        item->SetDirty();
    }
}

void CastMemberDialog::PinAdjust(int margin, int top, int bottom)
{
    for (const auto& item : _items) {
        item->PinAdjust(margin, top, bottom);
    }
}

void CastMemberDialog::UpdateRadioButton(int id, int value, bool on)
{
    for (const auto& entry : _items) {
        DialogItem* item = entry.get();
        const int type = item->GetType();
        if ((type != DialogItem::kCheckBox && type != DialogItem::kRadio) || item->GetID() != id ||
            item->GetValue() != value) {
            continue;
        }
        if (type == DialogItem::kRadio && on) {
            // Selecting clears the rest of the group, committed states included.
            item->Set(_items, true, -1, -1);
        } else {
            // A click on a check box flips it; a set state must not.
            item->SetChecked(on);
            item->SetSavedChecked(on);
        }
        RepaintAll(nullptr);
        return;
    }
}

void CastMemberDialog::UpdateCheckbox(int id, bool on)
{
    UpdateRadioButton(id, 0, on);
}

// --- items ---

DialogItem* CastMemberDialog::AppendItem(DialogItem* item)
{
    if (item != nullptr) {
        _items.emplace_back(item);
        RepaintAll(nullptr);
    }
    return item;
}

DialogItem* CastMemberDialog::Refuse(DialogItem* item)
{
    ForgetItem(item);
    delete item;
    return nullptr;
}

void CastMemberDialog::SetItemText(DialogItem* item, const std::string& text, Font* font,
                                   const Color& colour)
{
    _itemNotes[item].font = font;
    item->SetTextProperties(text, font, colour, _textShadowDepth);
}

void CastMemberDialog::ForgetItem(const DialogItem* item)
{
    if (item == nullptr) {
        return;
    }
    _itemNotes.erase(item);
    _buttons.erase(std::remove(_buttons.begin(), _buttons.end(), item), _buttons.end());
    for (DialogItem** slot :
         {&_firstStandardButton, &_secondStandardButton, &_enterItem, &_escItem, &_upArrowItem,
          &_downArrowItem, &_listBoxItem, &_textInputItem, &_pressedItem}) {
        if (*slot == item) {
            *slot = nullptr;
        }
    }
}

void CastMemberDialog::RemoveElementFromItems(DialogItem* item)
{
    const auto it = std::find_if(_items.begin(), _items.end(),
                                 [item](const auto& entry) { return entry.get() == item; });
    if (item == nullptr || it == _items.end()) {
        return;
    }
    // No slot may keep pointing at it, the buttons (hover) least of all.
    ForgetItem(item);
    _items.erase(it);
    RepaintAll(nullptr);
}

void CastMemberDialog::RemoveElementFromButtons(DialogItem* item)
{
    const auto it = std::find(_buttons.begin(), _buttons.end(), item);
    if (it != _buttons.end()) {
        _buttons.erase(it);
    }
}

void CastMemberDialog::ChangeToOKButton()
{
    if (_firstStandardButton != nullptr) {
        DialogItem* ok = _firstStandardButton;
        RemoveElementFromButtons(ok);
        RemoveElementFromItems(ok);
        _firstStandardButton = nullptr;
    }
    Repaint();
}

void CastMemberDialog::Clear()
{
    _buttons.clear();
    DeleteControls();
    _buttonRecords.clear();
    ForgetItemRoles();
    _items.clear();
    _itemNotes.clear();
    _listBoxEntries.clear();
    _canvas.reset();
}

void CastMemberDialog::ForgetItemRoles()
{
    _firstStandardButton = nullptr;
    _secondStandardButton = nullptr;
    _enterItem = nullptr;
    _escItem = nullptr;
    _upArrowItem = nullptr;
    _downArrowItem = nullptr;
    _listBoxItem = nullptr;
    _textInputItem = nullptr;
    _pressedItem = nullptr;
}

bool CastMemberDialog::ValidateText(DialogItem* item)
{
    if (item == nullptr || item->GetText().empty()) {
        return false;
    }
    const auto note = _itemNotes.find(item);
    return note != _itemNotes.end() && note->second.font != nullptr;
}

Image* CastMemberDialog::LoadImageFile(const std::string& file)
{
    auto* image = new Image(file, nullptr);
    if (image->GetCanvas() == nullptr) {
        DebugVar(-1, "Dialog image %s could not be loaded", file.c_str());
        delete image;
        return nullptr;
    }
    return image;
}

// --- text factories ---

DialogItem* CastMemberDialog::AddText(const std::string& text, int x, int y, int id,
                                      const Color& colour, Font* font, int mode, int width)
{
    auto* item = new DialogItem(&_itemOwner, DialogItem::kText, x, y, id, mode, width, false, 0, 0);
    SetItemText(item, text.empty() ? " " : text, font, colour);
    if (!ValidateText(item)) {
        return Refuse(item);
    }
    return AppendItem(item);
}

DialogItem* CastMemberDialog::AddText(const std::string& text, int y, int mode, int width)
{
    return AddText(text, -1, y, 0, _textColor, _textFont, mode, width);
}

DialogItem* CastMemberDialog::AddText(const std::string& text, int y)
{
    return AddText(text, -1, y, 0, _textColor, _textFont, 1, 0);
}

DialogItem* CastMemberDialog::AddText(const std::string& text, int x, int y, int mode, int width)
{
    return AddText(text, x, y, 0, _textColor, _textFont, mode, width);
}

DialogItem* CastMemberDialog::AddText(const std::string& text, int x, int y)
{
    return AddText(text, x, y, 0, _textColor, _textFont, 1, 0);
}

DialogItem* CastMemberDialog::AddText(const std::string& text, int x, int y, int id,
                                      const Color& colour, Font* font)
{
    return AddText(text, x, y, id, colour, font, 0, 0);
}

DialogItem* CastMemberDialog::AddClickableText(const std::string& text, int x, int y,
                                               const Color& colour, Font* font, int justification,
                                               int justificationWidth, int id)
{
    auto* item = new DialogItem(&_itemOwner, DialogItem::kClickableText, x, y, id, justification,
                                justificationWidth, false, 0, 2);
    // Rendered underlined; the font is shared, so its style goes back at once.
    const int style = font != nullptr && font->GetRawFont() != nullptr
                          ? TTF_GetFontStyle(font->GetRawFont())
                          : TTF_STYLE_NORMAL;
    if (font != nullptr) {
        font->SetStyle(style | TTF_STYLE_UNDERLINE);
    }
    SetItemText(item, text.empty() ? " " : text, font, colour);
    if (font != nullptr) {
        font->SetStyle(style);
    }
    if (!ValidateText(item)) {
        return Refuse(item);
    }
    return AppendItem(item);
}

DialogItem* CastMemberDialog::AddClickableText(const std::string& text, int x, int y,
                                               const Color& colour, Font* font, int id)
{
    return AddClickableText(text, x, y, colour, font, 0, 0, id);
}

DialogItem* CastMemberDialog::AddTextBox(const std::string& text, int x, int y, const Color& colour,
                                         Font* font, int justification, Dimension size,
                                         int verticalAlignment, int id)
{
    if (text.empty()) {
        return nullptr;
    }
    auto* item = new DialogItem(&_itemOwner, DialogItem::kTextBox, x, y, id, justification,
                                size.GetW(), false, size.GetH(), verticalAlignment);
    SetItemText(item, text, font, colour);
    if (!ValidateText(item)) {
        return Refuse(item);
    }
    return AppendItem(item);
}

// --- check boxes and radio buttons ---

DialogItem* CastMemberDialog::AddCheckBox(const std::string& text, int x, int y, int id,
                                          bool checked, int spacing, const Color& colour,
                                          Font* font, bool immediate, Image* image)
{
    auto* item = new DialogItem(&_itemOwner, DialogItem::kCheckBox, x, y, id, 4, immediate);
    item->SetIndent(spacing);
    SetItemText(item, text, font, colour);
    item->SetChecked(checked);
    item->SetSavedChecked(checked);
    Image* box = _checkBoxImage != nullptr ? _checkBoxImage : image;
    if (!ValidateText(item) || box == nullptr) {
        return Refuse(item);
    }
    SetTransparency(box);
    item->SetImage(box);
    return AppendItem(item);
}

DialogItem* CastMemberDialog::AddCheckBox(const std::string& text, int x, int y, int id,
                                          bool checked, int spacing, bool immediate, Image* image)
{
    return AddCheckBox(text, x, y, id, checked, spacing, _textColor, _textFont, immediate, image);
}

DialogItem* CastMemberDialog::AddRadioButton(const std::string& text, int x, int y, int group,
                                             int value, bool selected, const Color& colour,
                                             Font* font, bool immediate, Image* image)
{
    auto* item = new DialogItem(&_itemOwner, DialogItem::kRadio, x, y, group, 4, immediate);
    item->SetValue(value);
    SetItemText(item, text, font, colour);
    Image* box = _radioImage != nullptr ? _radioImage : image;
    if (!ValidateText(item) || box == nullptr) {
        return Refuse(item);
    }
    SetTransparency(box);
    item->SetImage(box);
    AppendItem(item);
    // Selected only once it is in the list, so that a refused button cannot clear its group.
    if (selected) {
        _radioSetting = value;
        item->Set(_items, true, -1, -1);
    } else {
        item->SetSavedChecked(false);
    }
    return item;
}

DialogItem* CastMemberDialog::AddRadioButton(const std::string& text, int x, int y, int group,
                                             int value, bool selected, bool immediate)
{
    return AddRadioButton(text, x, y, group, value, selected, _textColor, _textFont, immediate,
                          nullptr);
}

// --- lines, images and icons ---

DialogItem* CastMemberDialog::AddLine(int x1, int y1, int x2, int y2, const Color& colour,
                                      int thickness)
{
    auto* item = new DialogItem(&_itemOwner, DialogItem::kText, x1, y1, -1, 0, 0, false, 0, 2);
    SetItemText(item, "", nullptr, colour);
    item->SetLine(x2, y2, thickness);
    ItemNote& note = _itemNotes[item];
    note.line = true;
    note.lineWidth = std::abs(x2 - x1);
    note.lineThickness = thickness;
    return AppendItem(item);
}

DialogItem* CastMemberDialog::AddLine(int x1, int y1, int x2, int y2)
{
    return AddLine(x1, y1, x2, y2, Color(255, 255, 255, 255), -1);
}

DialogItem* CastMemberDialog::AddImage(Image* image, int x, int y, int frames, int frame,
                                       bool transparent)
{
    if (image == nullptr) {
        return nullptr;
    }
    auto* item = new DialogItem(&_itemOwner, DialogItem::kImage, x, y, -1, frames, false);
    item->SetImage(image);
    if (frames > 1) {
        item->SetFrame(frame);
    }
    if (transparent) {
        SetTransparency(image);
    }
    return AppendItem(item);
}

DialogItem* CastMemberDialog::AddImage(const std::string& file, int x, int y, int frames, int frame,
                                       bool transparent)
{
    Image* image = LoadImageFile(file);
    DialogItem* item = AddImage(image, x, y, frames, frame, transparent);
    if (item == nullptr) {
        delete image;
        return nullptr;
    }
    item->SetMustDestroyImage(true);
    return item;
}

DialogItem* CastMemberDialog::AddIcon(int icon)
{
    if (icon < 1) {
        return nullptr;
    }
    auto* item = new DialogItem(&_itemOwner, DialogItem::kIcon, 10, 10, -1, 3, false);
    item->SetImage(_iconImage);
    item->SetFrame(icon - 1);
    return AppendItem(item);
}

// --- buttons ---

DialogItem* CastMemberDialog::DoAddButton(DialogItem* item, Image* image, int exitCode, int frames)
{
    if (item == nullptr || image == nullptr) {
        return nullptr;
    }
    item->SetFrameCount(frames);
    item->SetImage(image);
    item->SetExit(exitCode);
    SetTransparency(image);
    AppendItem(item);
    _buttons.push_back(item);
    return item;
}

DialogItem* CastMemberDialog::AddButton(Image* image, int x, int y, int id, int exitCode)
{
    auto* item = new DialogItem(&_itemOwner, DialogItem::kButton, x, y, id, 4, false);
    if (DoAddButton(item, image, exitCode, 4) == nullptr) {
        return Refuse(item);
    }
    return item;
}

DialogItem* CastMemberDialog::AddButton(const std::string& file, int x, int y, int id, int exitCode)
{
    Image* image = LoadImageFile(file);
    DialogItem* item = AddButton(image, x, y, id, exitCode);
    if (item == nullptr) {
        delete image;
        return nullptr;
    }
    item->SetMustDestroyImage(true);
    return item;
}

DialogItem* CastMemberDialog::AddCustomButton(Image* image, int x, int y, int id, int frames,
                                              int exitCode)
{
    auto* item = new DialogItem(&_itemOwner, DialogItem::kCustomButton, x, y, id, frames, false);
    if (DoAddButton(item, image, exitCode, frames) == nullptr) {
        return Refuse(item);
    }
    return item;
}

DialogItem* CastMemberDialog::AddCustomButton(const std::string& file, int x, int y, int id,
                                              int frames, int exitCode)
{
    Image* image = LoadImageFile(file);
    DialogItem* item = AddCustomButton(image, x, y, id, frames, exitCode);
    if (item == nullptr) {
        delete image;
        return nullptr;
    }
    item->SetMustDestroyImage(true);
    return item;
}

// --- text input, list box, slider ---

DialogItem* CastMemberDialog::AddTextInput(const std::string& text, int x, int y, int width,
                                           int height, int id, Font* font, const Color& textColour,
                                           const Color& boxColour, int maxChars,
                                           bool alphaNumericOnly)
{
    // An input that cannot show its text is not kept, nor handed out unowned.
    if (font == nullptr) {
        return nullptr;
    }
    auto* item = new DialogItem(&_itemOwner, DialogItem::kTextInput, x, y, id, 0, width, height,
                                boxColour, maxChars, false);
    item->SetAlphaNumericOnly(alphaNumericOnly);
    SetItemText(item, text, font, textColour);
    _textInputItem = item;
    return AppendItem(item);
}

DialogItem* CastMemberDialog::AddListBox(const std::vector<std::string>& entries, int selected,
                                         int x, int y, int width, int height, int id, Font* font,
                                         const Color& textColour, const Color& boxColour,
                                         const Color& highlightColour)
{
    if (font == nullptr) {
        return nullptr;
    }
    auto* item = new DialogItem(&_itemOwner, DialogItem::kListBox, x, y, id, 0, width, height,
                                boxColour, 0, false);
    SetItemText(item, " ", font, textColour);
    item->SetListBoxEntries(entries);
    item->SetListBoxIndex(selected);
    item->SetListBoxHilightCol(highlightColour);
    _listBoxItem = item;
    return AppendItem(item);
}

DialogItem* CastMemberDialog::AddSlider(Image* left, Image* right, Image* knob, int value,
                                        bool horizontal, int knobSideOffset, int x, int y, int id)
{
    auto* item = new DialogItem(&_itemOwner, DialogItem::kSlider, x, y, id, 1, true);
    item->InitSlider(left, right, knob, value, horizontal, knobSideOffset);
    return AppendItem(item);
}

DialogItem* CastMemberDialog::AddSlider(const std::string& left, const std::string& right,
                                        const std::string& knob, int value, bool horizontal,
                                        int knobSideOffset, int x, int y, int id)
{
    Image* images[] = {LoadImageFile(left), LoadImageFile(right), LoadImageFile(knob)};
    if (images[0] == nullptr || images[1] == nullptr || images[2] == nullptr) {
        for (Image* image : images) {
            delete image;
        }
        return nullptr;
    }
    for (Image* image : images) {
        SetTransparency(image);
    }
    DialogItem* item =
        AddSlider(images[0], images[1], images[2], value, horizontal, knobSideOffset, x, y, id);
    item->SetMustDestroyImage(true);
    return item;
}
