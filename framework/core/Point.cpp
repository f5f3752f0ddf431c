#include "framework/core/Point.h"

Point::Point() : _x(0), _y(0) {}

Point::Point(int x, int y) : _x(x), _y(y) {}

Point::Point(const Point& other) = default;

Point::~Point() = default;

Point& Point::operator=(const Point& other) = default;

Point& Point::Set(int x, int y)
{
    _x = x;
    _y = y;
    return *this;
}

Point& Point::Copy(const Point& other)
{
    return *this = other;
}

Point& Point::Move(int dx, int dy)
{
    _x += dx;
    _y += dy;
    return *this;
}

Point& Point::Add(const Point& other)
{
    return Move(other._x, other._y);
}

Point& Point::operator+=(const Point& other)
{
    return Add(other);
}

Point& Point::Subtract(const Point& other)
{
    return Move(-other._x, -other._y);
}

Point& Point::operator-=(const Point& other)
{
    return Subtract(other);
}

Point& Point::Scale(int n)
{
    _x *= n;
    _y *= n;
    return *this;
}

Point& Point::operator*=(int n)
{
    return Scale(n);
}

Point& Point::operator/=(int n)
{
    // A zero divisor would trap; the point is left as it is. -1 is a negation, which avoids the
    // trap of INT_MIN / -1.
    if (n == 0) {
        return *this;
    }
    if (n == -1) {
        _x = static_cast<int>(0u - static_cast<unsigned>(_x));
    } else {
        _x /= n;
    }
    return *this;
}

Point Point::operator-() const
{
    return Point(-_x, -_y);
}

Point Point::operator+() const
{
    return *this;
}

Point Point::operator+(const Point& other) const
{
    return Point(*this) += other;
}

Point Point::operator-(const Point& other) const
{
    return Point(*this) -= other;
}

Point Point::operator*(int n) const
{
    return Point(*this) *= n;
}

Point Point::operator/(int n) const
{
    return Point(*this) /= n;
}

bool Point::operator==(const Point& other) const
{
    return _x == other._x && _y == other._y;
}

bool Point::operator!=(const Point& other) const
{
    return !(*this == other);
}

Point operator*(int n, const Point& p)
{
    return p * n;
}
