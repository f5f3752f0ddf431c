#pragma once

#include "framework/core/Rectangle.h"
#include "framework/media/Canvas.h"

// Restores a canvas's clip rectangle when painting ends, however it ends. Internal to the
// library's painters; the canvas must outlive the scope.
class ClipScope
{
public:
    explicit ClipScope(Canvas* canvas) : _canvas(canvas), _saved(canvas->GetClipRect()) {}
    ~ClipScope() { _canvas->SetClipRect(_saved); }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

    const Rectangle& Saved() const { return _saved; }

private:
    Canvas* _canvas;
    Rectangle _saved;
};
