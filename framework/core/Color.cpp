#include "framework/core/Color.h"

#include <algorithm>

namespace {

unsigned char Saturate(int v)
{
    return static_cast<unsigned char>(std::clamp(v, 0, 255));
}

// Unsigned so that a large n wraps instead of overflowing; only the low byte is kept.
unsigned char WrapTimes(unsigned char v, int n)
{
    return static_cast<unsigned char>((static_cast<unsigned>(v) * static_cast<unsigned>(n)) &
                                      0xFFu);
}

} // namespace

Color::Color() : _c{0, 0, 0, 255} {}

Color::Color(unsigned char r, unsigned char g, unsigned char b, unsigned char a) : _c{r, g, b, a} {}

Color::Color(const Color& other) = default;

Color::~Color() = default;

Color& Color::operator=(const Color& other) = default;

Color::operator SDL_Color() const
{
    return _c;
}

Color::operator SDL_Color*()
{
    return &_c;
}

bool Color::Equals(const Color& other) const
{
    return _c.r == other._c.r && _c.g == other._c.g && _c.b == other._c.b;
}

Color& Color::operator+=(const Color& other)
{
    _c.r = Saturate(_c.r + other._c.r);
    _c.g = Saturate(_c.g + other._c.g);
    _c.b = Saturate(_c.b + other._c.b);
    _c.unused = Saturate(_c.unused + other._c.unused);
    return *this;
}

Color& Color::operator-=(const Color& other)
{
    _c.r = Saturate(_c.r - other._c.r);
    _c.g = Saturate(_c.g - other._c.g);
    _c.b = Saturate(_c.b - other._c.b);
    _c.unused = Saturate(_c.unused - other._c.unused);
    return *this;
}

Color& Color::operator*=(const Color& other)
{
    _c.r = static_cast<unsigned char>(_c.r * other._c.r / 255);
    _c.g = static_cast<unsigned char>(_c.g * other._c.g / 255);
    _c.b = static_cast<unsigned char>(_c.b * other._c.b / 255);
    return *this;
}

Color& Color::operator*=(int n)
{
    if (n <= 0) {
        _c = SDL_Color{0, 0, 0, 0};
        return *this;
    }
    _c.r = WrapTimes(_c.r, n);
    _c.g = WrapTimes(_c.g, n);
    _c.b = WrapTimes(_c.b, n);
    return *this;
}

Color& Color::operator/=(int n)
{
    if (n <= 0) {
        _c = SDL_Color{0, 0, 0, 0};
        return *this;
    }
    _c.r = static_cast<unsigned char>(_c.r / n);
    _c.g = static_cast<unsigned char>(_c.g / n);
    _c.b = static_cast<unsigned char>(_c.b / n);
    return *this;
}

Color& Color::operator|=(const Color& other)
{
    _c.r |= other._c.r;
    _c.g |= other._c.g;
    _c.b |= other._c.b;
    return *this;
}

Color& Color::operator&=(const Color& other)
{
    _c.r &= other._c.r;
    _c.g &= other._c.g;
    _c.b &= other._c.b;
    return *this;
}

Color& Color::operator^=(const Color& other)
{
    _c.r ^= other._c.r;
    _c.g ^= other._c.g;
    _c.b ^= other._c.b;
    return *this;
}

Color Color::Red(unsigned char v)
{
    return Color(v, 0, 0, 255);
}

Color Color::Green(unsigned char v)
{
    return Color(0, v, 0, 255);
}

Color Color::Blue(unsigned char v)
{
    return Color(0, 0, v, 255);
}

Color Color::Yellow(unsigned char v)
{
    return Red(v) | Green(v);
}

Color Color::Cyan(unsigned char v)
{
    return Green(v) | Blue(v);
}

Color Color::Magenta(unsigned char v)
{
    return Red(v) | Blue(v);
}

Color Color::White(unsigned char v)
{
    return Red(v) | Green(v) | Blue(v);
}

Color Color::DarkRed(unsigned char v)
{
    return Red(v);
}

Color Color::DarkGreen(unsigned char v)
{
    return Green(v);
}

Color Color::DarkBlue(unsigned char v)
{
    return Blue(v);
}

Color Color::DarkYellow(unsigned char v)
{
    return Yellow(v);
}

Color Color::DarkCyan(unsigned char v)
{
    return Cyan(v);
}

Color Color::DarkMagenta(unsigned char v)
{
    return Magenta(v);
}

Color Color::LightGray(unsigned char v)
{
    return White(v);
}

Color Color::DarkGray(unsigned char v)
{
    return White(v);
}

Color Color::Black(unsigned char v)
{
    return White(v);
}

Color Color::LightRed(unsigned char w, unsigned char v)
{
    return Red(v) | White(w);
}

Color Color::LightGreen(unsigned char w, unsigned char v)
{
    return Green(v) | White(w);
}

Color Color::LightBlue(unsigned char w, unsigned char v)
{
    return Blue(v) | White(w);
}

Color Color::LightYellow(unsigned char w, unsigned char v)
{
    return Yellow(v) | White(w);
}

Color Color::LightCyan(unsigned char w, unsigned char v)
{
    return Cyan(v) | White(w);
}

Color Color::LightMagenta(unsigned char w, unsigned char v)
{
    return Magenta(v) | White(w);
}

bool operator==(const Color& a, const Color& b)
{
    return a.Equals(b) && a.GetA() == b.GetA();
}

bool operator!=(const Color& a, const Color& b)
{
    return !(a == b);
}

Color operator+(const Color& a, const Color& b)
{
    return Color(a) += b;
}

Color operator-(const Color& a, const Color& b)
{
    return Color(a) -= b;
}

Color operator*(const Color& a, const Color& b)
{
    return Color(a) *= b;
}

Color operator*(const Color& a, int n)
{
    return Color(a) *= n;
}

Color operator/(const Color& a, int n)
{
    return Color(a) /= n;
}

Color operator|(const Color& a, const Color& b)
{
    return Color(a) |= b;
}

Color operator&(const Color& a, const Color& b)
{
    return Color(a) &= b;
}

Color operator^(const Color& a, const Color& b)
{
    return Color(a) ^= b;
}

Color operator~(const Color& c)
{
    return Color(static_cast<unsigned char>(~c.GetR()), static_cast<unsigned char>(~c.GetG()),
                 static_cast<unsigned char>(~c.GetB()), c.GetA());
}
