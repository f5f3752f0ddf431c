#pragma once

#include "framework/core/Export.h"

// An integer position. Division touches x only, unlike multiplication; callers rely on that.
class FRAMEWORK_API Point
{
public:
    Point();
    Point(int x, int y);
    Point(const Point& other);
    virtual ~Point();

    Point& operator=(const Point& other);
    Point& Set(int x, int y);
    Point& Copy(const Point& other);

    int GetX() const { return _x; }
    int GetY() const { return _y; }
    void SetX(int x) { _x = x; }
    void SetY(int y) { _y = y; }

    Point& Move(int dx, int dy);
    Point& Add(const Point& other);
    Point& operator+=(const Point& other);
    Point& Subtract(const Point& other);
    Point& operator-=(const Point& other);
    Point& Scale(int n);
    Point& operator*=(int n);
    // Divides x only; n must not be 0.
    Point& operator/=(int n);

    Point operator-() const;
    Point operator+() const;
    Point operator+(const Point& other) const;
    Point operator-(const Point& other) const;
    Point operator*(int n) const;
    // Divides x only; n must not be 0.
    Point operator/(int n) const;

    bool operator==(const Point& other) const;
    bool operator!=(const Point& other) const;

private:
    int _x;
    int _y;
};

FRAMEWORK_API Point operator*(int n, const Point& p);
