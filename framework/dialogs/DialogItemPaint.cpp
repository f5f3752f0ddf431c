// DialogItem: painting each kind of item.

#include "SDL.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/Canvas.h"
#include "framework/media/ClipScope.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "framework/media/TextSurface.h"

#include <algorithm>

namespace {

Rectangle Rect(int x, int y, int w, int h)
{
    return Rectangle(static_cast<short>(x), static_cast<short>(y), static_cast<short>(w),
                     static_cast<short>(h));
}

// The whole of an image, whatever frame an earlier draw cut from it.
void BlitWhole(Image* image, Canvas* canvas, int x, int y)
{
    if (image == nullptr) {
        return;
    }
    image->SrcRect().Set(0, 0, static_cast<short>(image->GetSurfaceW()),
                         static_cast<short>(image->GetSurfaceH()));
    image->Blit(canvas, x, y);
}

} // namespace

bool DialogItem::Paint(Canvas* canvas, int dx, int dy, bool front)
{
    if (!_changed || !_visible) {
        return false;
    }
    if (_dialog != nullptr && _dialog->IsArrowHidden(this)) {
        return false;
    }
    SDL_Surface* surface = canvas != nullptr ? canvas->GetSurface() : nullptr;
    if (surface == nullptr || surface->pixels == nullptr) {
        _changed = false;
        return false;
    }

    switch (_type) {
    case kText:
    case kClickableText:
        DrawText(canvas, dx, dy, TextOffset(), 0);
        break;
    case kFilledRectangle: {
        _paintRect = Rect(_x + dx, _y + dy, _width, _height);
        canvas->FillRect(_paintRect, _colour);
        break;
    }
    case kButton:
        _frame = ButtonFrame(front, 3);
        DrawImg(canvas, dx, dy);
        break;
    case kCustomButton:
        if (_frames >= 3) {
            _frame = std::min(ButtonFrame(front, _frames - 1), _frames - 1);
        }
        DrawImg(canvas, dx, dy);
        break;
    case kCheckBox:
    case kRadio: {
        _frame = _checked ? 1 : 0;
        if (_inactive) {
            // Frame 1 is the ticked look; an unticked box that is inactive shows frame 2.
            _frame = _checked ? 3 : 2;
        }
        DrawImg(canvas, dx, dy);
        const Rectangle box = _paintRect;
        const int fontHeight = _font != nullptr ? _font->GetH() : 0;
        DrawText(canvas, dx + _indent, dy, _frameWidth, (fontHeight - _frameHeight) / 2);
        _paintRect.Union(box);
        break;
    }
    case kImage:
    case kIcon:
        DrawImg(canvas, dx, dy);
        break;
    case kTextInput:
        DrawTextInput(canvas, dx, dy, 2, 0);
        break;
    case kListBox:
        DrawListBox(canvas, dx, dy, 0, 0);
        break;
    case kSlider:
        DrawSlider(canvas, dx, dy);
        break;
    case kTextBox:
        DrawTextBox(canvas, dx, dy);
        break;
    default:
        break;
    }
    _changed = false;
    return true;
}

int DialogItem::ButtonFrame(bool front, int inactiveFrame) const
{
    int frame = _checked ? 1 : 0;
    if (_hover) {
        frame = 2;
    }
    if (!front) {
        frame = 0;
    }
    if (_inactive) {
        frame = inactiveFrame;
    }
    return frame;
}

void DialogItem::DrawText(Canvas* canvas, int dx, int dy, int xOffset, int yOffset)
{
    if (canvas == nullptr) {
        return;
    }
    const int tx = _x + dx + xOffset;
    const int ty = _y + dy - yOffset + 1;
    if (!_textSurface) {
        // A line made by AddLine has no text to draw.
        _paintRect = Rect(tx, ty, 0, 0);
        return;
    }
    ClipScope clip(canvas);
    _paintRect = Rect(tx, ty, _textSurface->GetW() + 2, _textSurface->GetH() + 2);
    canvas->SetClipRect(_paintRect);
    if (_dialog != nullptr) {
        _dialog->UpdateBackground();
    }
    if (_shadowSurface) {
        _shadowSurface->Blit(canvas, tx + 1, ty + 1);
        if (_shadowDepth > 1) {
            _shadowSurface->Blit(canvas, tx + 2, ty + 2);
        }
    }
    _textSurface->Blit(canvas, tx, ty);
}

void DialogItem::DrawImg(Canvas* canvas, int dx, int dy)
{
    if (canvas == nullptr || _image == nullptr) {
        return;
    }
    ClipScope clip(canvas);
    _paintRect = Rect(_x + dx, _y + dy, _frameWidth, _frameHeight);
    canvas->SetClipRect(_paintRect);
    _image->SrcRect().Set(static_cast<short>(_frame * _frameWidth), 0,
                          static_cast<short>(_frameWidth), static_cast<short>(_frameHeight));
    // No lock around the blit: SDL refuses to blit from a locked surface.
    _image->Blit(canvas, _x + dx, _y + dy);
}

void DialogItem::DrawListBox(Canvas* canvas, int dx, int dy, int /*unused1*/, int /*unused2*/)
{
    if (canvas == nullptr) {
        return;
    }
    const int bx = _x + dx;
    const int by = _y + dy;
    const int bw = _boxSize.GetW();
    const int bh = _boxSize.GetH();
    Rectangle box = Rect(bx, by, bw, bh);
    _paintRect = box;
    if (_boxColour.GetA() != 0) {
        canvas->FillRect(box, _boxColour);
    }
    {
        ClipScope clip(canvas);
        canvas->SetClipRect(box);
        std::vector<std::string>* entries = Entries();
        const int lineHeight = LineHeight();
        Color shadowColour = _dialog != nullptr ? _dialog->GetSecondColor() : _shadowColour;
        shadowColour.SetA(255);
        const int top = by + 4;
        const int count = entries != nullptr ? static_cast<int>(entries->size()) : 0;
        for (int i = std::max(_firstLine, 0); i < count; ++i) {
            const int k = i - _firstLine;
            // Entries below the box are clipped away; stop rendering them.
            if (k * lineHeight > bh) {
                break;
            }
            const std::string& entry = (*entries)[i];
            if (i == _selection) {
                Rectangle bar =
                    Rect(bx, top - 2 + k * lineHeight, bw - kArrowColumn, lineHeight + 2);
                canvas->FillRect(bar, _hilightColour);
            }
            if (_shadowDepth > 0) {
                TextSurface shadow(entry, _font, shadowColour, 255);
                shadow.Blit(canvas, bx + (bw - shadow.GetW() - kArrowColumn) / 2 + _shadowDepth,
                            top + k * shadow.GetH() + _shadowDepth);
            }
            Color colour = _colour;
            colour.SetA(255);
            TextSurface text(entry, _font, colour, 255);
            text.Blit(canvas, bx + (bw - text.GetW() - kArrowColumn) / 2, top + k * text.GetH());
        }
        canvas->DrawRect(box, _colour);
        Rectangle column = Rect(bx + bw - kArrowColumn, by, kArrowColumn, bh);
        canvas->DrawRect(column, _colour);
    }
}

void DialogItem::DrawTextInput(Canvas* canvas, int dx, int dy, int border, int lift)
{
    if (canvas == nullptr) {
        return;
    }
    const int bx = _x + dx;
    const int by = _y + dy;
    _paintRect = Rect(bx, by, _boxSize.GetW(), _boxSize.GetH());
    canvas->FillRect(_paintRect, _boxColour);
    const int tx = bx + border + 5;
    const int ty = by + 3 - lift;
    {
        ClipScope clip(canvas);
        canvas->SetClipRect(_paintRect);
        if (_shadowSurface) {
            _shadowSurface->Blit(canvas, tx + 1, ty + 1);
            if (_shadowDepth > 1) {
                _shadowSurface->Blit(canvas, tx + 2, ty + 2);
            }
        }
        if (_textSurface) {
            _textSurface->Blit(canvas, tx, ty);
        }
    }
    if (_caret) {
        const int textWidth = _textSurface ? _textSurface->GetW() : 0;
        Rectangle caret = Rect(tx + textWidth, by + 3, 3, _boxSize.GetH() - 6);
        canvas->FillRect(caret, _colour);
    }
}

void DialogItem::DrawTextBox(Canvas* canvas, int dx, int dy)
{
    if (canvas == nullptr || _textBoxLines.empty()) {
        return;
    }
    const int lineHeight = TextBoxLineHeight();
    const int lineCount = static_cast<int>(_textBoxLines.size());
    int textHeight = lineCount * lineHeight;
    int boxHeight = _textSize.GetH();
    if (boxHeight <= 0) {
        boxHeight = textHeight;
    }
    textHeight = std::min(textHeight, boxHeight);

    const int bx = _x + dx;
    const int by = _y + dy;
    ClipScope clip(canvas);
    _paintRect = Rect(bx, by, _alignWidth + 2, boxHeight + 2);
    canvas->SetClipRect(_paintRect);
    if (_dialog != nullptr) {
        _dialog->UpdateBackground();
    }
    int top = by;
    if (_verticalAlignment == 2) {
        top += (boxHeight - textHeight) / 2;
    } else if (_verticalAlignment == 5) {
        top += boxHeight - textHeight;
    }
    for (int i = 0; i < lineCount; ++i) {
        TextSurface* line = _textBoxLines[i].get();
        int offset = 0;
        if (_alignWidth != 0) {
            if (_alignment == 2) {
                offset = (_alignWidth - line->GetW()) / 2;
            } else if (_alignment == 3) {
                offset = _alignWidth - line->GetW();
            }
        }
        const int lx = bx + offset;
        const int ly = top + i * lineHeight;
        if (i < static_cast<int>(_textBoxShadowLines.size())) {
            TextSurface* shadow = _textBoxShadowLines[i].get();
            shadow->Blit(canvas, lx + 1, ly + 1);
            if (_shadowDepth > 1) {
                shadow->Blit(canvas, lx + 2, ly + 2);
            }
        }
        line->Blit(canvas, lx, ly);
    }
}

void DialogItem::DrawSlider(Canvas* canvas, int dx, int dy)
{
    if (canvas == nullptr || _image == nullptr) {
        return;
    }
    const int trackW = _image->GetSurfaceW();
    const int trackH = _image->GetSurfaceH();
    const int thumbLength =
        _thumb == nullptr ? 0 : (_horizontal ? _thumb->GetSurfaceW() : _thumb->GetSurfaceH());
    const int trackLength = _horizontal ? trackW : trackH;
    const int length = trackLength - _endMargin - thumbLength;
    const int halfMargin = _endMargin / 2;
    const int thumbStart = _sliderValue * length / 100;
    // The thumb's centre along the track, from the start of the thumb's travel.
    const int centre = thumbStart + thumbLength / 2;
    const int X = _x + dx;
    const int Y = _y + dy;

    ClipScope clip(canvas);
    _paintRect = Rect(X, Y, trackW, trackH);
    // The track's images may be see-through beside the groove, where the knob reaches: the
    // knob's old place there shows the dialog again, not a copy of the knob.
    canvas->SetClipRect(_paintRect);
    if (_dialog != nullptr) {
        _dialog->UpdateBackground();
    }
    Rectangle first = _horizontal ? Rect(X, Y, halfMargin + centre, trackH)
                                  : Rect(X, Y, trackW, halfMargin + centre);
    canvas->SetClipRect(first);
    BlitWhole(_image, canvas, X, Y);
    Rectangle second = _horizontal
                           ? Rect(X + halfMargin + centre, Y, trackW - halfMargin - centre, trackH)
                           : Rect(X, Y + halfMargin + centre, trackW, trackH - halfMargin - centre);
    canvas->SetClipRect(second);
    BlitWhole(_secondTrack, canvas, X, Y);
    canvas->SetClipRect(_paintRect);
    // Across the track the thumb sits at the indent, whichever the axis.
    if (_horizontal) {
        BlitWhole(_thumb, canvas, X + halfMargin + thumbStart, Y + _indent);
    } else {
        BlitWhole(_thumb, canvas, X + _indent, Y + halfMargin + thumbStart);
    }
}
