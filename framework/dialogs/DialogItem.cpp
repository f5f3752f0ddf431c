#include "framework/dialogs/DialogItem.h"

#include "framework/core/StringUtils.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "framework/media/TextSurface.h"

#include <algorithm>
#include <new>

namespace {

// Room a text input or list box keeps free right of its text (caret, arrows, margins).
constexpr int kBoxTextSlack = 26;
// Bounds the cutting of a text that does not fit its box.
constexpr int kMaxCuts = 500;

int FloorToMultiple(int v, int m)
{
    const int r = v % m;
    return r < 0 ? v - r - m : v - r;
}

} // namespace

DialogItem::Owner::~Owner() = default;

DialogItem::DialogItem(Owner* dialog, int type, int x, int y, int id, int frames, bool immediate)
    : Debug("Dialog Item 1")
{
    DialogItemInit(dialog, type, x, y, id, 0, 0, immediate);
    _frames = std::max(frames, 1);
}

DialogItem::DialogItem(Owner* dialog, int type, int x, int y, int id, int alignment, int width,
                       bool immediate, int textHeight, int verticalAlignment)
    : Debug("Dialog Item 2")
{
    DialogItemInit(dialog, type, x, y, id, alignment, width, immediate);
    _textSize.Set(width, textHeight);
    _verticalAlignment = verticalAlignment;
    // A text box's frame is its box; one that fits its text gets its height when wrapped.
    if (type == kTextBox) {
        _frameHeight = std::max(textHeight, 0);
    }
}

DialogItem::DialogItem(Owner* dialog, int type, int x, int y, int id, int alignment, int boxWidth,
                       int boxHeight, const Color& boxColour, int maxChars, bool immediate)
    : Debug("Dialog Item 3")
{
    DialogItemInit(dialog, type, x, y, id, alignment, boxWidth, immediate);
    _boxSize.Set(boxWidth, boxHeight);
    _boxColour = boxColour;
    _maxChars = maxChars;
    // Pins place the box as a whole.
    _frameHeight = boxHeight;
}

DialogItem::~DialogItem()
{
    DeleteTextSurfaces();
    DeleteTextBoxSurfaces();
    if (_mustDestroyImage) {
        // One image may serve in two roles; delete each only once.
        if (_secondTrack == _image) {
            _secondTrack = nullptr;
        }
        if (_thumb == _image || _thumb == _secondTrack) {
            _thumb = nullptr;
        }
        delete _image;
        delete _secondTrack;
        delete _thumb;
    }
}

void DialogItem::DialogItemInit(Owner* dialog, int type, int x, int y, int id, int alignment,
                                int width, bool immediate)
{
    _dialog = dialog;
    _paintRect.Set(0, 0, 0, 0);
    _type = type;
    _id = id;
    _value = 0;
    _x = x;
    _y = y;
    _width = 0;
    _height = 0;
    _text.clear();
    _font = nullptr;
    _indent = 8;
    DeleteTextSurfaces();
    _textSize.Set(0, 0);
    _boxSize.Set(0, 0);
    DeleteTextBoxSurfaces();
    _verticalAlignment = 0;
    _selection = 0;
    _firstLine = 0;
    _hilightColour = Color(0, 0, 0, 255);
    _lineHeight = 0;
    _caret = true;
    _maxChars = 0;
    _colour = Color(0, 0, 0, 255);
    _shadowColour = dialog != nullptr ? dialog->GetSecondColor() : Color(0, 0, 0, 255);
    _boxColour = Color(0, 0, 0, 255);
    _alignment = alignment;
    _alignWidth = width;
    _inactive = false;
    _changed = true;
    _visible = true;
    _checked = false;
    _savedChecked = false;
    _image = nullptr;
    _frameWidth = width;
    _frameHeight = 0;
    _frames = 1;
    _frame = 0;
    _hover = false;
    _exitCode = 0;
    _mustDestroyImage = false;
    _immediate = immediate;
    _alphaNumericOnly = true;
    _sliderValue = 0;
    _horizontal = true;
    _endMargin = 0;
    _secondTrack = nullptr;
    _thumb = nullptr;
    _shadowDepth = 0;
    _pin = 0;
    _noMargins = false;
}

// ---- text ----

void DialogItem::SetTextProperties(const std::string& text, Font* font, const Color& colour,
                                   int shadowDepth)
{
    _colour = colour;
    _font = font;
    _shadowDepth = shadowDepth;
    SetText(text);
}

void DialogItem::SetText(const std::string& text)
{
    _text = text;
    if (_type != kTextBox) {
        _textSize = _font != nullptr ? _font->TextDim(_text) : Dimension(0, 0);
    }
    if ((_type == kTextInput || _type == kListBox) && _font != nullptr) {
        const int room = _boxSize.GetW() - kBoxTextSlack;
        for (int cuts = 0; cuts < kMaxCuts && !_text.empty() && _textSize.GetW() > room; ++cuts) {
            _text.pop_back();
            _textSize = _font->TextDim(_text);
        }
    }
    CheckTextSurfaces();
    CheckTextBoxSurfaces();
    _changed = true;
    RepaintDialog();
}

void DialogItem::CheckTextSurfaces()
{
    if (_type == kTextBox) {
        return;
    }
    DeleteTextSurfaces();
    if (_shadowDepth > 0) {
        _shadowSurface = std::make_unique<TextSurface>(_text, _font, _shadowColour, 255);
    }
    _textSurface = std::make_unique<TextSurface>(_text, _font, _colour, 255);
}

void DialogItem::DeleteTextSurfaces()
{
    _textSurface.reset();
    _shadowSurface.reset();
}

void DialogItem::DeleteTextBoxSurfaces()
{
    while (!_textBoxLines.empty()) {
        _textBoxLines.pop_back();
    }
    while (!_textBoxShadowLines.empty()) {
        _textBoxShadowLines.pop_back();
    }
}

bool DialogItem::CreateTextBoxSurface(const std::string& line)
{
    if (_shadowDepth > 0) {
        auto* shadow = new (std::nothrow) TextSurface(line, _font, _shadowColour, 255);
        if (shadow == nullptr) {
            return false;
        }
        _textBoxShadowLines.emplace_back(shadow);
    }
    auto* surface = new (std::nothrow) TextSurface(line, _font, _colour, 255);
    if (surface == nullptr) {
        return false;
    }
    _textBoxLines.emplace_back(surface);
    return true;
}

void DialogItem::CheckTextBoxSurfaces()
{
    if (_type != kTextBox) {
        return;
    }
    DeleteTextBoxSurfaces();
    const auto measure = [this](const std::string& s) {
        return _font != nullptr ? _font->TextDim(s).GetW() : 0;
    };

    // "@" breaks a line; the split leaves a second "@" of "@@" at the start of the next
    // paragraph, which stands for an empty line.
    std::vector<std::string> lines;
    std::vector<std::string> paragraphs;
    StringUtils::SplitString(_text, "@", paragraphs, false);
    for (std::string paragraph : paragraphs) {
        if (!paragraph.empty() && paragraph[0] == '@') {
            lines.emplace_back(" ");
            paragraph.erase(0, 1);
        }
        std::vector<std::string> words;
        StringUtils::SplitString(paragraph, " ", words, true);
        std::string line;
        int lineWidth = 0;
        for (const std::string& word : words) {
            lineWidth += measure(word);
            if (lineWidth <= _alignWidth) {
                line += word;
                continue;
            }
            lines.push_back(line);
            line = (!word.empty() && word[0] == ' ') ? word.substr(1) : word;
            lineWidth = measure(line);
        }
        if (!line.empty()) {
            lines.push_back(line);
        }
    }

    for (const std::string& line : lines) {
        if (!CreateTextBoxSurface(line)) {
            DebugVar(-1, "Text box line could not be made: %s", line.c_str());
            DeleteTextBoxSurfaces();
            break;
        }
    }
    if (_textSize.GetH() <= 0) {
        const int lineCount = static_cast<int>(_textBoxLines.size());
        _frameHeight = lineCount * (_textBoxLines.empty() ? 0 : TextBoxLineHeight());
    }
}

int DialogItem::TextBoxLineHeight()
{
    const int first = _textBoxLines.empty() ? 0 : _textBoxLines.front()->GetH();
    // A first line that rendered nothing (a word wider than the box) would stack every line on
    // the first; the font's height keeps them apart.
    if (first > 0 || _font == nullptr) {
        return first;
    }
    return _font->GetH();
}

// ---- images and frames ----

void DialogItem::SetImage(Image* image)
{
    _image = image;
    _frameWidth = image != nullptr ? image->GetSurfaceW() / _frames : 0;
    _frameHeight = image != nullptr ? image->GetSurfaceH() : 0;
    _changed = true;
}

void DialogItem::SetFrameCount(int frames)
{
    _frames = std::max(frames, 1);
    if (_image != nullptr) {
        _frameWidth = _image->GetSurfaceW() / _frames;
    }
    _changed = true;
}

void DialogItem::SetFrame(int frame)
{
    _frame = frame;
    _changed = true;
    RepaintDialog();
}

void DialogItem::InitSlider(Image* track, Image* secondTrack, Image* thumb, int value,
                            bool horizontal, int endMargin)
{
    SetImage(track);
    _secondTrack = secondTrack;
    _thumb = thumb;
    _sliderValue = std::clamp(value, 0, 100);
    _horizontal = horizontal;
    _endMargin = endMargin;
}

void DialogItem::SetLine(int x2, int y2, int thickness)
{
    _lineEnd.Set(x2, y2);
    _lineThickness = thickness;
}

// ---- hit test and clicks ----

bool DialogItem::Contains(int x, int y)
{
    int left = _x;
    int w = 0;
    int h = 0;
    switch (_type) {
    case kListBox:
        w = _boxSize.GetW() - kArrowColumn;
        h = _boxSize.GetH();
        break;
    case kClickableText:
        // Where the text is drawn, not where its alignment width begins.
        left += TextOffset();
        w = _textSize.GetW();
        h = _textSize.GetH();
        break;
    case kButton:
    case kCustomButton:
    case kSlider:
        w = _frameWidth;
        h = _frameHeight;
        break;
    case kCheckBox:
    case kRadio:
        w = _frameWidth + _indent + _textSize.GetW();
        h = _frameHeight;
        break;
    default:
        return false;
    }
    const Rectangle d = DialogRect();
    left += d.GetX();
    const int top = _y + d.GetY();
    return x >= left && x <= left + w && y >= top && y <= top + h;
}

bool DialogItem::Set(std::vector<DialogItem*>* items, bool initial, int x, int y)
{
    static const std::vector<DialogItem*> kNone;
    return DoSet(items != nullptr ? *items : kNone, initial, x, y);
}

bool DialogItem::Set(const std::vector<std::unique_ptr<DialogItem>>& items, bool initial, int x,
                     int y)
{
    std::vector<DialogItem*> group;
    group.reserve(items.size());
    for (const auto& item : items) {
        group.push_back(item.get());
    }
    return DoSet(group, initial, x, y);
}

bool DialogItem::DoSet(const std::vector<DialogItem*>& items, bool initial, int /*x*/, int y)
{
    _changed = true;
    switch (_type) {
    case kCheckBox:
        _checked = !_checked;
        if (_immediate && _dialog != nullptr) {
            _dialog->ImmediateAction(this);
        }
        return true;
    case kRadio:
        // Only radio buttons form groups: a check box that happens to share the id stays.
        for (DialogItem* item : items) {
            if (item != nullptr && item->_type == kRadio && item->_id == _id) {
                item->_checked = false;
                item->_changed = true;
                if (initial) {
                    item->_savedChecked = false;
                }
            }
        }
        _checked = true;
        if (initial) {
            _savedChecked = true;
        }
        if (_dialog != nullptr) {
            _dialog->SetRadioSetting(_value);
            if (_immediate) {
                _dialog->ImmediateAction(this);
            }
            _dialog->RepaintAll(nullptr);
        }
        return true;
    case kListBox: {
        const int lineHeight = LineHeight();
        std::vector<std::string>* entries = Entries();
        if (lineHeight <= 0 || entries == nullptr) {
            return false;
        }
        const int offset = y - _y - DialogRect().GetY();
        if (offset < 0) {
            return false;
        }
        const int line = offset / lineHeight + _firstLine;
        if (line >= static_cast<int>(entries->size())) {
            return false;
        }
        const bool changed = line != _selection;
        _selection = line;
        _dialog->RepaintAll(nullptr);
        _dialog->ImmediateAction(this);
        return changed || line == 0;
    }
    default:
        if (_immediate) {
            _savedChecked = _checked;
            if (_dialog != nullptr) {
                _dialog->ImmediateAction(this);
            }
        }
        return true;
    }
}

int DialogItem::SetSlider(int mouseX, int mouseY)
{
    const Rectangle d = DialogRect();
    int track = 0;
    int thumb = 0;
    int position = 0;
    if (_horizontal) {
        track = _frameWidth;
        thumb = _thumb != nullptr ? _thumb->GetSurfaceW() : 0;
        position = mouseX - thumb / 2 - _x - d.GetX();
    } else {
        track = _frameHeight;
        thumb = _thumb != nullptr ? _thumb->GetSurfaceH() : 0;
        position = mouseY - thumb / 2 - _y - d.GetY();
    }
    const int length = track - _endMargin - thumb;
    int value = 0;
    // A track no longer than its thumb has nowhere to slide.
    if (length > 0) {
        position = std::clamp(position, 0, length);
        value = static_cast<int>(static_cast<double>(position) / length * 100.0);
    }
    if (value != _sliderValue) {
        _sliderValue = value;
        _changed = true;
        if (_dialog != nullptr) {
            _dialog->SliderSet(_id, value);
        }
    }
    return _sliderValue;
}

bool DialogItem::SwapImages(bool hover)
{
    if (hover == _hover) {
        return false;
    }
    _hover = hover;
    _changed = true;
    if (_image != nullptr && _dialog != nullptr) {
        Rectangle area(static_cast<short>(_x), static_cast<short>(_y),
                       static_cast<short>(_frameWidth), static_cast<short>(_frameHeight));
        _dialog->RepaintAll(&area);
    }
    return true;
}

void DialogItem::PinAdjust(int margin, int top, int bottom)
{
    const Rectangle d = DialogRect();
    const int w = d.GetW();
    const int h = d.GetH();
    if ((_pin & 0x10) != 0) {
        _x = (w - _frameWidth) / 2;
    }
    if ((_pin & 0x20) != 0) {
        _y = (h - _frameHeight) / 2;
    }
    if ((_pin & 0x40) != 0) {
        _x = FloorToMultiple(_x, 5);
        _y = FloorToMultiple(_y, 5);
    }
    if ((_pin & 0x01) != 0) {
        _x = _noMargins ? 0 : margin;
    }
    if ((_pin & 0x02) != 0) {
        if (_noMargins) {
            _x = w - _frameWidth;
            DebugVar(0, "PIN RIGHT NO-M %d", _x);
        } else {
            _x = w - _frameWidth - margin;
        }
    }
    if ((_pin & 0x04) != 0) {
        _y = _noMargins ? 0 : top + margin;
    }
    if ((_pin & 0x08) != 0) {
        if (_noMargins) {
            _y = h - _frameHeight;
            DebugVar(0, "PIN BOTTOM NO-M %d", _y);
        } else {
            _y = h - _frameHeight - margin - bottom;
        }
    }
    _changed = true;
}

void DialogItem::Move(int x, int y)
{
    _x = x;
    _y = y;
    _changed = true;
    RepaintDialog();
}

// ---- text input ----

bool DialogItem::TypeCharacter(unsigned short unicode)
{
    if (_type != kTextInput) {
        return false;
    }
    // Printable ASCII only: Return, Escape and other control codes must reach the dialog.
    if (unicode < 32 || unicode > 126) {
        return false;
    }
    const char c = static_cast<char>(unicode);
    const bool nameChar = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == ' ' || c == '_';
    if (_alphaNumericOnly && !nameChar) {
        return false;
    }
    if (static_cast<int>(_text.size()) < _maxChars) {
        SetText(_text + c);
    }
    return true;
}

bool DialogItem::EraseLastCharacter()
{
    if (_type != kTextInput) {
        return false;
    }
    if (!_text.empty()) {
        SetText(_text.substr(0, _text.size() - 1));
    }
    return true;
}

void DialogItem::SetCaret(bool shown)
{
    _caret = shown;
    if (_type == kTextInput) {
        _changed = true;
    }
}

// ---- list box ----

std::vector<std::string>* DialogItem::Entries()
{
    if (_type != kListBox || _dialog == nullptr) {
        return nullptr;
    }
    return &_dialog->GetListBoxEntries();
}

void DialogItem::SetListBoxEntries(const std::vector<std::string>& entries)
{
    std::vector<std::string>* own = Entries();
    if (own == nullptr) {
        return;
    }
    *own = entries;
    _changed = true;
}

void DialogItem::SetListBoxIndex(int index)
{
    std::vector<std::string>* entries = Entries();
    if (entries == nullptr || index < 0 || index >= static_cast<int>(entries->size())) {
        return;
    }
    _selection = index;
    _changed = true;
    RepaintDialog();
}

int DialogItem::GetListBoxIndex() const
{
    return _type == kListBox ? _selection : -1;
}

std::string DialogItem::GetListBoxSelectedText()
{
    std::vector<std::string>* entries = Entries();
    if (entries == nullptr || _selection < 0 || _selection >= static_cast<int>(entries->size())) {
        return std::string();
    }
    return (*entries)[_selection];
}

void DialogItem::SetListBoxHilightCol(const Color& colour)
{
    if (_type == kListBox) {
        _hilightColour = colour;
        _changed = true;
    }
}

int DialogItem::LineHeight()
{
    if (_lineHeight <= 0 && _font != nullptr) {
        _lineHeight = _font->TextDim("W").GetH();
    }
    return _lineHeight;
}

int DialogItem::GetListBoxNumLines()
{
    if (_type != kListBox) {
        return 0;
    }
    const int lineHeight = LineHeight();
    return lineHeight > 0 ? _boxSize.GetH() / lineHeight : 0;
}

void DialogItem::SetListBoxScrollPos(int first)
{
    std::vector<std::string>* entries = Entries();
    if (entries == nullptr) {
        return;
    }
    const int last = std::max(0, static_cast<int>(entries->size()) - GetListBoxNumLines());
    _firstLine = std::clamp(first, 0, last);
    _changed = true;
}

void DialogItem::ListBoxScrollUp()
{
    if (Entries() == nullptr) {
        return;
    }
    if (_firstLine > 0) {
        --_firstLine;
        _changed = true;
    }
    _dialog->CheckArrows();
}

void DialogItem::ListBoxScrollDown()
{
    std::vector<std::string>* entries = Entries();
    if (entries == nullptr) {
        return;
    }
    if (_firstLine < static_cast<int>(entries->size()) - GetListBoxNumLines()) {
        ++_firstLine;
        _changed = true;
        _dialog->CheckArrows();
    }
}

// ---- state ----

void DialogItem::SetAlpha(int alpha)
{
    const bool image = _type == kButton || _type == kImage || _type == kCustomButton ||
                       _type == kIcon || _type == kCheckBox || _type == kRadio;
    if (image && _image != nullptr) {
        _image->SetAlpha(alpha);
    }
    if (_type == kText || _type == kCheckBox || _type == kRadio) {
        if (_shadowSurface) {
            _shadowSurface->SetAlpha(alpha);
        }
        if (_textSurface) {
            _textSurface->SetAlpha(alpha);
        }
    }
    _changed = true;
}

void DialogItem::SetVisible(bool visible)
{
    _visible = visible;
    _changed = true;
    RepaintDialog();
}

void DialogItem::SetInactive(bool inactive)
{
    _inactive = inactive;
    _changed = true;
    RepaintDialog();
}

void DialogItem::SetChecked(bool checked)
{
    _checked = checked;
    _changed = true;
}

void DialogItem::SetExit(int exitCode)
{
    if (_type == kButton || _type == kCustomButton) {
        _exitCode = exitCode;
    }
}

void DialogItem::SetIndent(int indent)
{
    _indent = indent;
    _changed = true;
}

void DialogItem::RepaintAll()
{
    RepaintDialog();
}

void DialogItem::RepaintDialog()
{
    if (_dialog != nullptr) {
        _dialog->RepaintAll(nullptr);
    }
}

Rectangle DialogItem::DialogRect()
{
    return _dialog != nullptr ? _dialog->GetDialogRect() : Rectangle(0, 0, 0, 0);
}

int DialogItem::TextOffset() const
{
    if (_alignWidth == 0) {
        return 0;
    }
    if (_alignment == 2) {
        return (_alignWidth - _textSize.GetW()) / 2;
    }
    if (_alignment == 3) {
        return _alignWidth - _textSize.GetW();
    }
    return 0;
}
