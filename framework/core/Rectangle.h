#pragma once

#include "SDL.h"
#include "framework/core/Dimension.h"
#include "framework/core/Export.h"
#include "framework/core/Point.h"

// A screen area with 16-bit corner and size. The frame count belongs to the dirty-rectangle lists:
// a dirty rectangle is repainted while its count runs down, once for each buffer of the screen.
class FRAMEWORK_API Rectangle
{
public:
    Rectangle();
    Rectangle(short x, short y, short w, short h);
    // A null source gives an empty rectangle.
    explicit Rectangle(const Rectangle* other);
    Rectangle(SDL_Rect rect);
    explicit Rectangle(const SDL_Rect* rect);
    // Copy construction copies the frame count; assignment does not.
    Rectangle(const Rectangle& other);
    virtual ~Rectangle();

    Rectangle& operator=(const Rectangle& other);
    Rectangle& Copy(const Rectangle& other);

    short GetX() const { return _x; }
    short GetY() const { return _y; }
    short GetW() const { return _w; }
    short GetH() const { return _h; }
    void SetX(short x) { _x = x; }
    void SetY(short y) { _y = y; }
    void SetW(short w) { _w = w; }
    void SetH(short h) { _h = h; }
    // Read and written by the dirty-rectangle lists and the union only.
    short GetFrameCount() const { return _frameCount; }
    void SetFrameCount(short count) { _frameCount = count; }

    Rectangle& Set(short x, short y, short w, short h);
    Rectangle& SetPoint(short x, short y);
    Rectangle& SetDim(short w, short h);
    Rectangle& Move(short x, short y);
    Rectangle& Move(const Point& p);
    Rectangle& Offset(short dx, short dy);
    Rectangle& Offset(const Point& p);
    Rectangle& operator+=(const Point& p);
    Rectangle& operator-=(const Point& p);
    Rectangle& SetEmpty();

    bool IsEmpty() const;
    bool Contains(short x, short y) const;
    bool Contains(const Point& p) const;
    // Overlaps the 800 x 600 screen.
    bool OnScreen() const;

    // Refreshes the SDL view and returns it; valid while the rectangle lives. A negative width or
    // height shows as 0, as SDL would read it as a huge unsigned size.
    SDL_Rect* SdlRect();

    operator Point() const;

    Rectangle operator+(const Point& p) const;
    Rectangle operator-(const Point& p) const;
    Rectangle operator+(const Dimension& d) const;
    Rectangle operator-(const Dimension& d) const;

    // Union (bounding box, empty operands included) and intersection.
    Rectangle operator+(const Rectangle& other) const;
    Rectangle operator-(const Rectangle& other) const;
    Rectangle& Union(const Rectangle& other);
    Rectangle& operator+=(const Rectangle& other);
    Rectangle& Intersect(const Rectangle& other);
    Rectangle& operator-=(const Rectangle& other);

    bool operator==(const Rectangle& other) const;
    bool operator!=(const Rectangle& other) const;

    Point Clip(Point p) const;
    Point Wrap(Point p) const;

    // Inclusive-edge overlap test. The narrower rectangle (by width, then again by height) is
    // tested against the other. The eight ints are insets (left, top, right, bottom), the first
    // four for the narrow rectangle and the last four for the wide one; only the left and right
    // ones are applied, horizontally. Every caller passes 0.
    static bool Intersects(const Rectangle& a, const Rectangle& b, int narrowLeft = 0,
                           int narrowTop = 0, int narrowRight = 0, int narrowBottom = 0,
                           int wideLeft = 0, int wideTop = 0, int wideRight = 0,
                           int wideBottom = 0);
    bool Intersects(const Rectangle& other, int narrowLeft = 0, int narrowTop = 0,
                    int narrowRight = 0, int narrowBottom = 0, int wideLeft = 0, int wideTop = 0,
                    int wideRight = 0, int wideBottom = 0) const;
    // A null rectangle intersects nothing.
    bool Intersects(const Rectangle* other, int narrowLeft = 0, int narrowTop = 0,
                    int narrowRight = 0, int narrowBottom = 0, int wideLeft = 0, int wideTop = 0,
                    int wideRight = 0, int wideBottom = 0) const;

private:
    SDL_Rect _sdlRect{};
    short _x = 0;
    short _y = 0;
    short _w = 0;
    short _h = 0;
    short _frameCount = 2;
};

FRAMEWORK_API Rectangle operator+(const Point& p, const Rectangle& r);
FRAMEWORK_API Rectangle operator-(const Point& p, const Rectangle& r);
