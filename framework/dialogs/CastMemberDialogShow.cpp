// CastMemberDialog: showing, laying out, attaching and closing a dialog; its time limit and flash
// script; its canvas, background, drop shadow, scaled look and painting.
#include "SDL.h"
#include "framework/core/Application.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/ClipScope.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "framework/stage/Cast.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

// Layout of Show.
constexpr int kWidthMargin = 20;
constexpr int kBoxTextGap = 17;   // a check box or radio button's box before its text
constexpr int kButtonRowGap = 17; // below the button row
constexpr int kButtonRightMargin = 15;
constexpr int kButtonGap = 7;

// The time limit and flash script.
constexpr int kStateStart = 0;
constexpr int kStateWait = 1;
constexpr int kStateTimeUp = 2;
constexpr int kStateFlashDown = 11;
constexpr int kStateFlashUp = 12;
constexpr int kStateFlashEnd = 13;
constexpr int kFirstCheckMs = 1000;
constexpr int kRecheckMs = 125;
constexpr int kFlashStepMs = 100;

constexpr unsigned int kCaretBlinkMs = 500;
constexpr int kHoverAlpha = 230;
constexpr float kSlideSpeed = 10.0f;

Rectangle Rect(int x, int y, int w, int h)
{
    return Rectangle(static_cast<short>(x), static_cast<short>(y), static_cast<short>(w),
                     static_cast<short>(h));
}

// Added to the centre of every dialog that Center places.
Point& CenterOffsetValue()
{
    static Point offset(0, 0);
    return offset;
}

} // namespace

// --- showing ---

bool CastMemberDialog::PreShow()
{
    // A detached dialog has left its stage; it is shown again on the current one.
    Cast* stage = Stage();
    if (stage == nullptr) {
        return false;
    }
    if (stage->GetDialog() == this) {
        stage->DetachDialog(this);
    }
    _modeless = _modelessAtShow;
    _workingFadeOutTime = _fadeOutTime;
    SetAlpha(255);
    AllowInput(true);
    _closing = false;
    _fadingIn = false;
    _fadingOut = false;
    _hasButtonRow = false;
    return true;
}

void CastMemberDialog::Show(int buttonsMode, int timeLimitMs, int x, int y, bool nested)
{
    if (!PreShow() || _shown) {
        return;
    }
    _timeLimit = timeLimitMs;
    _buttonsMode = buttonsMode;
    AddStandardButtons();

    int width = 0;
    int height = 0;
    for (const auto& entry : _items) {
        DialogItem* item = entry.get();
        const Dimension extent = LayoutExtent(item, height);
        width = std::max(width, item->GetX() + extent.GetW());
        height = std::max(height, item->GetY() + extent.GetH());
    }
    width = std::min(width, AnimationManager::kScreenWidth) + kWidthMargin;
    height = std::min(height, AnimationManager::kScreenHeight);
    if (_hasButtonRow) {
        PlaceButtons(width, height);
    }
    SetDimensions(width, height);

    // A dialog that gained items since it was last shown needs a canvas of its new size.
    if (_canvas == nullptr || _canvas->GetW() != width || _canvas->GetH() != height) {
        CreateCanvas(width, height);
    }
    InitCanvas();

    if (AttachDialog(nested)) {
        if (nested) {
            SetPriority(-1);
        }
        SetCast(_manager != nullptr ? _manager->GetCast() : Stage());
        if (x == -1 && y == -1) {
            Center();
        } else {
            Move(x, y, true);
        }
        _shown = true;
        if (_fadeInTime > 0) {
            SetAlpha(0);
            FadeIn(_fadeInAlpha, static_cast<unsigned int>(_fadeInTime), nullptr);
        } else {
            SetAlpha(255);
        }
        CastMember::Show();
    }
    _justShown = true;
}

void CastMemberDialog::AddStandardButtons()
{
    // Buttons of an earlier showing go first, so a dialog shown again keeps one set.
    RemoveStandardButtons();
    if (_buttonsMode == 0) {
        return;
    }
    if (_buttonsMode == 2) {
        _secondStandardButton = AddButton(_firstButtonImage, -1, -1, kOkId, kOkId);
        _escItem = _secondStandardButton;
        return;
    }
    _secondStandardButton = AddButton(_secondButtonImage, -1, -1, kCancelId, kCancelId);
    _firstStandardButton = AddButton(_firstButtonImage, -1, -1, kOkId, kOkId);
}

void CastMemberDialog::RemoveStandardButtons()
{
    for (DialogItem* button : {_firstStandardButton, _secondStandardButton}) {
        if (button != nullptr) {
            RemoveElementFromItems(button);
        }
    }
    _firstStandardButton = nullptr;
    _secondStandardButton = nullptr;
}

Dimension CastMemberDialog::LayoutExtent(DialogItem* item, int& height)
{
    const int type = item->GetType();
    // Boxes are measured as boxes whatever text they hold.
    if (type == DialogItem::kTextInput || type == DialogItem::kListBox ||
        type == DialogItem::kTextBox) {
        return Dimension(item->GetFrameWidth(), item->GetFrameHeight());
    }
    const auto note = _itemNotes.find(item);
    Font* font = note != _itemNotes.end() ? note->second.font : nullptr;
    const std::string text = item->GetText();
    if (!text.empty() && font != nullptr) {
        const Dimension size = font->TextDim(text);
        const int box = item->GetImage() != nullptr ? kBoxTextGap : 0;
        return Dimension(size.GetW() + box, size.GetH());
    }
    if (note != _itemNotes.end() && note->second.line) {
        return Dimension(note->second.lineWidth, note->second.lineThickness);
    }
    if (type == DialogItem::kButton && !_hasButtonRow) {
        height += item->GetFrameHeight() + kButtonRowGap;
        _hasButtonRow = true;
        return Dimension(0, 0);
    }
    return Dimension(item->GetFrameWidth(), item->GetFrameHeight());
}

void CastMemberDialog::PlaceButtons(int& width, int height)
{
    bool first = true;
    int x = 0;
    int y = 0;
    for (const auto& entry : _items) {
        DialogItem* button = entry.get();
        if (button->GetType() != DialogItem::kButton) {
            continue;
        }
        const int w = button->GetFrameWidth();
        const int h = button->GetFrameHeight();
        width = std::max({width, w + 14, 2 * w + 21});
        if (first) {
            x = width - w - kButtonRightMargin;
            y = height - h;
            first = false;
        } else {
            x -= w + kButtonGap;
        }
        button->Move(x, y);
    }
}

bool CastMemberDialog::AttachDialog(bool nested)
{
    Cast* stage = Stage();
    return stage != nullptr && stage->AttachDialog(this, _modeless, nested);
}

void CastMemberDialog::DetachDialog()
{
    AllowInput(false);
    _modelessAtShow = _modeless;
    if (_workingFadeOutTime > 0) {
        FadeOut(0, static_cast<unsigned int>(_workingFadeOutTime), this);
        _closing = true;
        // A hidden dialog cannot fade: it would wait for ever for the end of its fade.
        if (Fading()) {
            return;
        }
    }
    Cast* stage = Stage();
    if (stage != nullptr) {
        stage->DetachDialog(this);
    }
}

void CastMemberDialog::Detach()
{
    Hide();
    _shown = false;
    // Only this closing's copy: the next showing fades out again.
    _workingFadeOutTime = 0;
    SetCast(nullptr);
    const int id = GetID();
    DialogListener* user = _listener;
    DialogDetached(id);
    if (user != nullptr) {
        user->DialogDetached(id);
    }
    _listener = nullptr;
}

void CastMemberDialog::Cue(CastMember* /*member*/, int cue, int /*value*/)
{
    if (cue != CueListener::kFaded || GetAlpha() != 0) {
        return;
    }
    _workingFadeOutTime = 0;
    Cast* stage = Stage();
    if (stage != nullptr) {
        stage->DetachDialog(this);
    }
}

void CastMemberDialog::SetCenterOffset(int x, int y)
{
    CenterOffsetValue().Set(x, y);
}

void CastMemberDialog::Center()
{
    if (_manager == nullptr) {
        return;
    }
    const int screenW = _manager->GetW();
    const int screenH = _manager->GetH();
    const int w = GetW();
    const int h = GetH();
    const Point& offset = CenterOffsetValue();
    int x = std::max((screenW - w) / 2 + offset.GetX(), 0);
    int y = std::max((screenH - h) / 2 + offset.GetY(), 0);
    if (x + w >= screenW) {
        x = screenW - w;
    }
    if (y + h >= screenH) {
        y = screenH - h;
    }
    Move(x, y, true);
}

bool CastMemberDialog::ForceOnScreen()
{
    if (_manager == nullptr) {
        return false;
    }
    const int screenW = _manager->GetW();
    const int screenH = _manager->GetH();
    int x = GetX();
    int y = GetY();
    if (x < 0) {
        x = 0;
    }
    if (y < 0) {
        y = 0;
    }
    if (x + GetW() >= screenW) {
        x = screenW - GetW();
    }
    if (y + GetH() >= screenH) {
        y = screenH - GetH();
    }
    if (x == GetX() && y == GetY()) {
        return false;
    }
    Move(x, y, false);
    SetPrevPosition(x, y);
    Repaint();
    return true;
}

bool CastMemberDialog::Dragged(Receiver* receiver)
{
    CastMember::Dragged(receiver);
    const bool moved = ForceOnScreen();
    Repaint();
    return !moved;
}

void CastMemberDialog::MoveEnded()
{
    ForceOnScreen();
    CastMember::MoveEnded();
}

void CastMemberDialog::SetPriority(int p)
{
    SetPrevPri(_priority);
    _priority = std::max(p, -1);
    if (_visible && _cast != nullptr) {
        _cast->Remove(this, true);
        _cast->Add(this);
    }
    Repaint();
}

// --- fades ---

void CastMemberDialog::SetAlpha(int alpha)
{
    CastMember::SetAlpha(alpha);
    if (_canvas != nullptr) {
        _canvas->SetAlpha(_alpha);
    }
    Repaint();
}

void CastMemberDialog::FadeIn(int target, unsigned int ms, CueListener* listener)
{
    if (!_closing) {
        CastMember::FadeIn(target, ms, listener);
    }
}

void CastMemberDialog::FadeOut(int target, unsigned int ms, CueListener* listener)
{
    if (!_closing) {
        CastMember::FadeOut(target, ms, listener);
    }
}

void CastMemberDialog::FadeHide(unsigned int ms, CueListener* listener)
{
    if (!_closing) {
        CastMember::FadeHide(ms, listener);
    }
}

void CastMemberDialog::FadeShow(int target, unsigned int ms, CueListener* listener)
{
    if (!_closing) {
        CastMember::FadeShow(target, ms, listener);
    }
}

// --- per frame ---

void CastMemberDialog::Animate(unsigned int now)
{
    _now = now;
    if (!_visible) {
        SetDirtyAdded(false);
        return;
    }
    if (_justShown) {
        _justShown = false;
        if (_moveOnShowOffset.GetX() != 0 || _moveOnShowOffset.GetY() != 0) {
            MoveTo(GetX() + _moveOnShowOffset.GetX(), GetY() + _moveOnShowOffset.GetY(),
                   static_cast<unsigned int>(std::max(_moveOnShowTime, 1)), false, kSlideSpeed);
        }
    }

    // Hover only while no other sprite is being dragged or tracked.
    Cast* stage = Stage();
    const auto idle = [this](CastMember* m) { return m == nullptr || m == this; };
    if (stage == nullptr || (idle(stage->GetDragObj()) && idle(stage->GetTrackObj()))) {
        bool changed = false;
        if (!RefuseMouse()) {
            if (_pressedItem == nullptr && (!Fading() || _alpha > kHoverAlpha) &&
                _manager != nullptr) {
                const int mx = _manager->GetLastMouseX();
                const int my = _manager->GetLastMouseY();
                for (DialogItem* button : _buttons) {
                    changed = button->SwapImages(button->Contains(mx, my)) || changed;
                }
            }
        } else if (_pressedItem == nullptr) {
            for (DialogItem* button : _buttons) {
                changed = button->SwapImages(false) || changed;
            }
        } else {
            _pressedItem->SetChecked(false);
            _pressedItem->SetDirty();
            changed = true;
        }
        if (changed) {
            Repaint();
        }
    }

    if (_textInputItem != nullptr) {
        Repaint();
        if (now - _caretTime > kCaretBlinkMs) {
            _caret = !_caret;
            _caretTime = now;
            _textInputItem->SetCaret(_caret);
        }
    }

    CastMember::Animate(now);
}

void CastMemberDialog::DoState(int state)
{
    switch (state) {
    case kStateStart:
        ChangeState(kStateWait, kFirstCheckMs);
        break;
    case kStateWait:
        if (_timeLimit > kFirstCheckMs) {
            ChangeState(kStateTimeUp, _timeLimit - kFirstCheckMs);
        } else if (_timeLimit > 0) {
            ChangeState(kStateTimeUp, 1);
        } else {
            ChangeState(kStateWait, kRecheckMs);
        }
        break;
    case kStateTimeUp: {
        const int id = GetID();
        DialogListener* user = _listener;
        // Used up: the script waits again, so a later showing can time out (and flash) anew.
        _timeLimit = 0;
        ChangeState(kStateWait, kRecheckMs);
        DialogTimesUp(id);
        if (user != nullptr) {
            user->DialogTimesUp(id);
        }
        DetachDialog();
        break;
    }
    case kStateFlashDown:
        FadeOut(_flashLowAlpha, kFlashStepMs, nullptr);
        ChangeState(kStateFlashUp, kFlashStepMs);
        break;
    case kStateFlashUp:
        FadeIn(_flashHighAlpha, kFlashStepMs, nullptr);
        ChangeState(kStateFlashEnd, kFlashStepMs);
        break;
    case kStateFlashEnd:
        ChangeState(kStateWait, 1);
        break;
    default:
        break;
    }
}

void CastMemberDialog::CheckArrows()
{
    if (_listBoxItem == nullptr) {
        return;
    }
    const int first = _listBoxItem->GetListBoxScrollPos();
    const int count = static_cast<int>(_listBoxEntries.size());
    const int visible = _listBoxItem->GetListBoxNumLines();
    _upArrowShown = first > 0;
    _downArrowShown = first < count - visible;
    if (_upArrowShown || _downArrowShown) {
        _upArrowShown = true;
        _downArrowShown = true;
    }
    RepaintAll(nullptr);
}

// --- canvas and background ---

Canvas* CastMemberDialog::CreateCanvas(int width, int height)
{
    _canvas.reset();
    if (_scaledSurface != nullptr) {
        SDL_FreeSurface(_scaledSurface);
        _scaledSurface = nullptr;
    }
    if ((width == 0 || height == 0) && _backImage != nullptr) {
        width = _backImage->GetW();
        height = _backImage->GetH();
    }
    if (width > 0 && height > 0) {
        _canvas = std::make_unique<Canvas>(width, height, GetSWPixelFormat());
        if (_canvas->GetSurface() == nullptr) {
            DebugVar(-1, "Dialog canvas of %d x %d could not be made", width, height);
            _canvas.reset();
        }
    }
    _rotation = 0.0f;
    _scale = 1.0f;
    _scaling = false;
    _rotating = false;
    _fromRect.Set(0, 0, static_cast<short>(_canvas != nullptr ? width : 0),
                  static_cast<short>(_canvas != nullptr ? height : 0));
    return _canvas.get();
}

void CastMemberDialog::InitCanvas()
{
    if (_canvas == nullptr) {
        return;
    }
    UpdateBackground();
    if (_transparentBackground) {
        _canvas->UseTransparency(Color(254, 0, 254, 255), false);
    }
    _canvas->SetAlpha(_alpha);
    SetMembersDirty();
}

void CastMemberDialog::UpdateBackground()
{
    if (_canvas == nullptr) {
        return;
    }
    const int w = _canvas->GetW();
    const int h = _canvas->GetH();
    if (_backImage != nullptr) {
        const int stepX = _backImage->GetW();
        const int stepY = _backImage->GetH();
        if (stepX > 0 && stepY > 0) {
            for (int x = 0; x < w; x += stepX) {
                for (int y = 0; y < h; y += stepY) {
                    _backImage->Blit(_canvas.get(), x, y);
                }
            }
        }
    }
    if (_overlayImage != nullptr) {
        _overlayImage->Blit(_canvas.get(), _overlayPosition.GetX(), _overlayPosition.GetY());
    }
    auto whole = std::make_unique<Rectangle>(Rect(0, 0, w, h));
    if (_canvas->AddDirtyRect(whole.get())) {
        whole.release();
    }
    _canvas->UpdateRects();

    int i = 0;
    for (; i < _borderWidth; ++i) {
        Rectangle ring = Rect(i, i, w - 2 * i, h - 2 * i);
        _canvas->DrawRect(ring, _outerBorderColor);
    }
    Rectangle inner = Rect(i, i, w - 2 * i, h - 2 * i);
    _canvas->DrawRect(inner, _innerBorderColor);
}

void CastMemberDialog::UpdateAll()
{
    _repaintAll = false;
    UpdateBackground();
    SetMembersDirty();
}

void CastMemberDialog::RepaintAll(Rectangle* area)
{
    _repaintAll = true;
    if (area == nullptr) {
        Repaint();
        return;
    }
    Cast* stage = _cast;
    if (stage == nullptr || !_visible) {
        return;
    }
    auto onStage = std::make_unique<Rectangle>(*area);
    onStage->Offset(static_cast<short>(GetX()), static_cast<short>(GetY()));
    onStage->SetFrameCount(2);
    if (stage->AddDirtyRect(onStage.get())) {
        onStage.release();
    }
}

// --- drop shadow and scaled look ---

void CastMemberDialog::CheckDropShadow()
{
    if (Application::DialogDropShadowsAllowed()) {
        AttachDropShadow(_canvas.get());
    }
}

void CastMemberDialog::RefactorDropShadow()
{
    RebaseDropShadow(_canvas.get());
}

SDL_Surface* CastMemberDialog::CreateScaledSurface(float angle, float zoom, bool smooth)
{
    return ScaleCanvas(_canvas.get(), angle, zoom, smooth);
}

int CastMemberDialog::GetScaledX()
{
    const int w = _canvas != nullptr ? _canvas->GetW() : GetW();
    return GetX() + (w - GetScaledWidth()) / 2;
}

int CastMemberDialog::GetScaledY()
{
    const int h = _canvas != nullptr ? _canvas->GetH() : GetH();
    return GetY() + (h - GetScaledHeight()) / 2;
}

int CastMemberDialog::GetScaledWidth()
{
    if (_scaledSurface != nullptr) {
        return _scaledSurface->w;
    }
    return _canvas != nullptr ? _canvas->GetW() : GetW();
}

int CastMemberDialog::GetScaledHeight()
{
    if (_scaledSurface != nullptr) {
        return _scaledSurface->h;
    }
    return _canvas != nullptr ? _canvas->GetH() : GetH();
}

Rectangle& CastMemberDialog::GetScaledRect()
{
    if (_canvas == nullptr || ScaleIsFullSize() || !_dropShadowOn) {
        return CastMember::GetRect();
    }
    _scaledRect =
        Rect(GetScaledX() + std::min(_shadowX, 0), GetScaledY() + std::min(_shadowY, 0),
             GetScaledWidth() + std::abs(_shadowX), GetScaledHeight() + std::abs(_shadowY));
    return _scaledRect;
}

bool CastMemberDialog::OnPixel(int x, int y)
{
    if (!_perPixelAccuracy) {
        return true;
    }
    if (_canvas == nullptr || _canvas->GetSurface() == nullptr) {
        return false;
    }
    SDL_Surface* surface = _canvas->GetSurface();
    const bool scaled = _scaledSurface != nullptr;
    const int px = x - (scaled ? GetScaledX() : GetX());
    const int py = y - (scaled ? GetScaledY() : GetY());
    const int w = scaled ? _scaledSurface->w : _canvas->GetW();
    const int h = scaled ? _scaledSurface->h : _canvas->GetH();
    if (px < 0 || py < 0 || px >= w || py >= h) {
        return false;
    }
    // Without a colour key every pixel of the dialog is solid.
    if (!_canvas->HasColorKey()) {
        return true;
    }
    SDL_Surface* source = scaled ? _scaledSurface : surface;
    Color pixel;
    if (scaled) {
        const bool locked = SDL_MUSTLOCK(source) && SDL_LockSurface(source) == 0;
        pixel = _canvas->GetPixel(source, px, py);
        if (locked) {
            SDL_UnlockSurface(source);
        }
    } else {
        const bool locked = _canvas->Lock();
        pixel = _canvas->GetPixel(source, px, py);
        if (locked) {
            _canvas->Unlock();
        }
    }
    const Color key = _canvas->GetColorKey();
    return pixel.GetR() != key.GetR() || pixel.GetG() != key.GetG() || pixel.GetB() != key.GetB();
}

// --- painting ---

void CastMemberDialog::Paint(Canvas* target)
{
    if (_repaintAll) {
        _repaintAll = false;
        UpdateBackground();
        SetMembersDirty();
    }
    if (!_shown || _canvas == nullptr || target == nullptr || target->GetSurface() == nullptr) {
        return;
    }
    const bool scaled = _scaledSurface != nullptr && !ScaleIsFullSize();

    ClipScope clip(target);
    // The dialog with its drop shadow, never outside the area the stage is repainting.
    Rectangle area = GetTotalScreenRect() - clip.Saved();
    if (area.IsEmpty()) {
        return;
    }
    target->SetClipRect(area);

    CheckDropShadow();
    SDL_Surface* shadow = _canvas->GetDropShadow();
    if (ShowDropShadow() && shadow != nullptr) {
        SDL_Rect at{static_cast<Sint16>((scaled ? GetScaledX() : GetX()) + _shadowX),
                    static_cast<Sint16>((scaled ? GetScaledY() : GetY()) + _shadowY), 0, 0};
        SDL_UpperBlit(shadow, nullptr, target->GetSurface(), &at);
    }

    // Items draw into the dialog's own canvas, which the dialog never locks: they blit.
    Cast* stage = Stage();
    const bool front = stage != nullptr && stage->GetDialog() == this;
    bool painted = false;
    for (const auto& item : _items) {
        if (item->Paint(_canvas.get(), 0, 0, front)) {
            painted = true;
            auto changed = std::make_unique<Rectangle>(item->GetPaintRect());
            if (_canvas->AddDirtyRect(changed.get())) {
                changed.release();
            }
        }
    }
    _canvas->UpdateRects();

    if (scaled) {
        if (painted) {
            SetScale(_scale);
        }
        if (_scaledSurface != nullptr) {
            Rectangle to = Rect(GetScaledX(), GetScaledY(), _scaledSurface->w, _scaledSurface->h);
            Rectangle from = Rect(0, 0, _scaledSurface->w, _scaledSurface->h);
            target->Blit(to, _scaledSurface, from);
        }
        return;
    }
    Rectangle to = Rect(GetX(), GetY(), _canvas->GetW(), _canvas->GetH());
    Rectangle from = Rect(0, 0, _canvas->GetW(), _canvas->GetH());
    target->Blit(to, *_canvas, from);
}
