#include "framework/core/Dimension.h"

Dimension::Dimension() : _w(0), _h(0) {}

Dimension::Dimension(int w, int h) : _w(w), _h(h) {}

Dimension::Dimension(const Dimension& other) = default;

Dimension::~Dimension() = default;

Dimension& Dimension::operator=(const Dimension& other) = default;

Dimension& Dimension::Set(int w, int h)
{
    _w = w;
    _h = h;
    return *this;
}

Dimension& Dimension::Copy(const Dimension& other)
{
    return *this = other;
}

bool Dimension::IsEmpty() const
{
    return _w < 1 || _h < 1;
}

int Dimension::Shape() const
{
    if (IsEmpty()) {
        return 0;
    }
    if (_w > _h) {
        return 1;
    }
    if (_w < _h) {
        return 2;
    }
    return 3;
}

bool Dimension::operator==(const Dimension& other) const
{
    return _w == other._w && _h == other._h;
}

bool Dimension::operator!=(const Dimension& other) const
{
    return !(*this == other);
}
