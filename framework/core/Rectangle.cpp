#include "framework/core/Rectangle.h"

#include "framework/core/Framework.h"

#include <algorithm>
#include <cstdint>

namespace {

short Cut(int v)
{
    return static_cast<short>(static_cast<std::uint16_t>(v));
}

// True when the narrow span's first or last cell lies within the wide span (edges inclusive).
bool SpanHit(int narrowPos, int narrowLen, int widePos, int wideLen)
{
    const int wideLast = widePos + wideLen - 1;
    const int narrowLast = narrowPos + narrowLen - 1;
    return (narrowPos >= widePos && narrowPos <= wideLast) ||
           (narrowLast >= widePos && narrowLast <= wideLast);
}

// The value brought into [origin, origin + len) by whole steps of len; len must be above 0.
int WrapInto(int v, int origin, int len)
{
    std::int64_t d = (static_cast<std::int64_t>(v) - origin) % len;
    if (d < 0) {
        d += len;
    }
    return static_cast<int>(origin + d);
}

} // namespace

Rectangle::Rectangle() = default;

Rectangle::Rectangle(short x, short y, short w, short h) : _x(x), _y(y), _w(w), _h(h) {}

Rectangle::Rectangle(const Rectangle* other)
{
    if (other != nullptr) {
        Set(other->_x, other->_y, other->_w, other->_h);
    }
}

Rectangle::Rectangle(SDL_Rect rect)
    : _x(rect.x), _y(rect.y), _w(static_cast<short>(rect.w)), _h(static_cast<short>(rect.h))
{}

Rectangle::Rectangle(const SDL_Rect* rect)
{
    if (rect != nullptr) {
        Set(rect->x, rect->y, static_cast<short>(rect->w), static_cast<short>(rect->h));
    }
}

Rectangle::Rectangle(const Rectangle& other)
    : _sdlRect(other._sdlRect), _x(other._x), _y(other._y), _w(other._w), _h(other._h),
      _frameCount(other._frameCount)
{}

Rectangle::~Rectangle() = default;

Rectangle& Rectangle::operator=(const Rectangle& other)
{
    return Set(other._x, other._y, other._w, other._h);
}

Rectangle& Rectangle::Copy(const Rectangle& other)
{
    return *this = other;
}

Rectangle& Rectangle::Set(short x, short y, short w, short h)
{
    _x = x;
    _y = y;
    _w = w;
    _h = h;
    return *this;
}

Rectangle& Rectangle::SetPoint(short x, short y)
{
    _x = x;
    _y = y;
    return *this;
}

Rectangle& Rectangle::SetDim(short w, short h)
{
    _w = w;
    _h = h;
    return *this;
}

Rectangle& Rectangle::Move(short x, short y)
{
    return SetPoint(x, y);
}

Rectangle& Rectangle::Move(const Point& p)
{
    return SetPoint(Cut(p.GetX()), Cut(p.GetY()));
}

Rectangle& Rectangle::Offset(short dx, short dy)
{
    _x = Cut(_x + dx);
    _y = Cut(_y + dy);
    return *this;
}

Rectangle& Rectangle::Offset(const Point& p)
{
    return Offset(Cut(p.GetX()), Cut(p.GetY()));
}

Rectangle& Rectangle::operator+=(const Point& p)
{
    return Offset(p);
}

Rectangle& Rectangle::operator-=(const Point& p)
{
    _x = Cut(_x - Cut(p.GetX()));
    _y = Cut(_y - Cut(p.GetY()));
    return *this;
}

Rectangle& Rectangle::SetEmpty()
{
    _frameCount = 2;
    return Set(0, 0, 0, 0);
}

bool Rectangle::IsEmpty() const
{
    return _w < 1 || _h < 1;
}

bool Rectangle::Contains(short x, short y) const
{
    return Contains(Point(x, y));
}

bool Rectangle::Contains(const Point& p) const
{
    // Full-width differences: 16-bit ones wrap and would take in points far to the left or top.
    const long long dx = static_cast<long long>(p.GetX()) - _x;
    const long long dy = static_cast<long long>(p.GetY()) - _y;
    return dx >= 0 && dy >= 0 && dx < _w && dy < _h;
}

bool Rectangle::OnScreen() const
{
    return _x < Framework::kScreenWidth && _y < Framework::kScreenHeight && _x + _w >= 1 &&
           _y + _h >= 1 && _w >= 1 && _h >= 1;
}

SDL_Rect* Rectangle::SdlRect()
{
    _sdlRect.x = _x;
    _sdlRect.y = _y;
    _sdlRect.w = static_cast<Uint16>(std::max<short>(_w, 0));
    _sdlRect.h = static_cast<Uint16>(std::max<short>(_h, 0));
    return &_sdlRect;
}

Rectangle::operator Point() const
{
    return Point(_x, _y);
}

Rectangle Rectangle::operator+(const Point& p) const
{
    return Rectangle(*this) += p;
}

Rectangle Rectangle::operator-(const Point& p) const
{
    return Rectangle(*this) -= p;
}

Rectangle Rectangle::operator+(const Dimension& d) const
{
    Rectangle r(*this);
    return r.SetDim(Cut(_w + d.GetW()), Cut(_h + d.GetH()));
}

Rectangle Rectangle::operator-(const Dimension& d) const
{
    Rectangle r(*this);
    return r.SetDim(Cut(_w - d.GetW()), Cut(_h - d.GetH()));
}

Rectangle Rectangle::operator+(const Rectangle& other) const
{
    const int left = std::min<int>(_x, other._x);
    const int top = std::min<int>(_y, other._y);
    const int right = std::max(_x + _w, other._x + other._w);
    const int bottom = std::max(_y + _h, other._y + other._h);
    Rectangle r;
    if (right - left > 0 && bottom - top > 0) {
        r.Set(Cut(left), Cut(top), Cut(right - left), Cut(bottom - top));
        r._frameCount = std::max(_frameCount, other._frameCount);
    }
    return r;
}

Rectangle Rectangle::operator-(const Rectangle& other) const
{
    const int left = std::max<int>(_x, other._x);
    const int top = std::max<int>(_y, other._y);
    const int right = std::min(_x + _w, other._x + other._w);
    const int bottom = std::min(_y + _h, other._y + other._h);
    Rectangle r;
    if (right - left > 0 && bottom - top > 0) {
        r.Set(Cut(left), Cut(top), Cut(right - left), Cut(bottom - top));
    }
    return r;
}

Rectangle& Rectangle::Union(const Rectangle& other)
{
    return *this = *this + other;
}

Rectangle& Rectangle::operator+=(const Rectangle& other)
{
    return Union(other);
}

Rectangle& Rectangle::Intersect(const Rectangle& other)
{
    return *this = *this - other;
}

Rectangle& Rectangle::operator-=(const Rectangle& other)
{
    return Intersect(other);
}

bool Rectangle::operator==(const Rectangle& other) const
{
    return _x == other._x && _y == other._y && _w == other._w && _h == other._h;
}

bool Rectangle::operator!=(const Rectangle& other) const
{
    return !(*this == other);
}

Point Rectangle::Clip(Point p) const
{
    int x = std::max<int>(p.GetX(), _x);
    int y = std::max<int>(p.GetY(), _y);
    if (x >= _x + _w) {
        x = _x + _w - 1;
    }
    if (y >= _y + _h) {
        y = _y + _h - 1;
    }
    return Point(x, y);
}

Point Rectangle::Wrap(Point p) const
{
    if (_w < 1 || _h < 1) {
        return Point(0, 0);
    }
    return Point(WrapInto(p.GetX(), _x, _w), WrapInto(p.GetY(), _y, _h));
}

bool Rectangle::Intersects(const Rectangle& a, const Rectangle& b, int narrowLeft, int narrowTop,
                           int narrowRight, int narrowBottom, int wideLeft, int wideTop,
                           int wideRight, int wideBottom)
{
    (void)narrowTop;
    (void)narrowBottom;
    (void)wideTop;
    (void)wideBottom;

    const Rectangle& narrowX = (b._w < a._w) ? b : a;
    const Rectangle& wideX = (b._w < a._w) ? a : b;
    const bool hitX = SpanHit(narrowX._x + narrowLeft, narrowX._w - narrowLeft - narrowRight,
                              wideX._x + wideLeft, wideX._w - wideLeft - wideRight);

    const Rectangle& narrowY = (b._h < a._h) ? b : a;
    const Rectangle& wideY = (b._h < a._h) ? a : b;
    const bool hitY = SpanHit(narrowY._y, narrowY._h, wideY._y, wideY._h);
    return hitX && hitY;
}

bool Rectangle::Intersects(const Rectangle& other, int narrowLeft, int narrowTop, int narrowRight,
                           int narrowBottom, int wideLeft, int wideTop, int wideRight,
                           int wideBottom) const
{
    return Intersects(*this, other, narrowLeft, narrowTop, narrowRight, narrowBottom, wideLeft,
                      wideTop, wideRight, wideBottom);
}

bool Rectangle::Intersects(const Rectangle* other, int narrowLeft, int narrowTop, int narrowRight,
                           int narrowBottom, int wideLeft, int wideTop, int wideRight,
                           int wideBottom) const
{
    return other != nullptr && Intersects(*this, *other, narrowLeft, narrowTop, narrowRight,
                                          narrowBottom, wideLeft, wideTop, wideRight, wideBottom);
}

Rectangle operator+(const Point& p, const Rectangle& r)
{
    return r + p;
}

Rectangle operator-(const Point& p, const Rectangle& r)
{
    return r - p;
}
