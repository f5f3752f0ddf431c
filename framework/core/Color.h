#pragma once

#include "SDL.h"
#include "framework/core/Export.h"

// Red, green, blue and alpha bytes, kept as an SDL colour so that SDL can read them in place
// (alpha in its fourth byte).
class FRAMEWORK_API Color
{
public:
    // Opaque black.
    Color();
    Color(unsigned char r, unsigned char g, unsigned char b, unsigned char a = 255);
    Color(const Color& other);
    virtual ~Color();

    Color& operator=(const Color& other);

    unsigned char GetR() const { return _c.r; }
    unsigned char GetG() const { return _c.g; }
    unsigned char GetB() const { return _c.b; }
    unsigned char GetA() const { return _c.unused; }
    void SetR(unsigned char v) { _c.r = v; }
    void SetG(unsigned char v) { _c.g = v; }
    void SetB(unsigned char v) { _c.b = v; }
    void SetA(unsigned char v) { _c.unused = v; }
    unsigned char& R() { return _c.r; }
    unsigned char& G() { return _c.g; }
    unsigned char& B() { return _c.b; }
    unsigned char& A() { return _c.unused; }

    operator SDL_Color() const;
    // The colour's own bytes; never null.
    operator SDL_Color*();

    // Red, green and blue only; == compares alpha too.
    bool Equals(const Color& other) const;

    // Sum and difference saturate, all four bytes.
    Color& operator+=(const Color& other);
    Color& operator-=(const Color& other);
    // Modulates red, green and blue; alpha kept.
    Color& operator*=(const Color& other);
    // Red, green and blue times n keep the low 8 bits of the product; n <= 0 clears all four.
    Color& operator*=(int n);
    // Red, green and blue divided by n; n <= 0 clears all four.
    Color& operator/=(int n);
    Color& operator|=(const Color& other);
    Color& operator&=(const Color& other);
    Color& operator^=(const Color& other);

    // Opaque colours from their intensities. A dark or black shade comes only from the
    // intensity passed.
    static Color Red(unsigned char v = 255);
    static Color Green(unsigned char v = 255);
    static Color Blue(unsigned char v = 255);
    static Color Yellow(unsigned char v = 255);
    static Color Cyan(unsigned char v = 255);
    static Color Magenta(unsigned char v = 255);
    static Color White(unsigned char v = 255);
    static Color DarkRed(unsigned char v = 128);
    static Color DarkGreen(unsigned char v = 128);
    static Color DarkBlue(unsigned char v = 128);
    static Color DarkYellow(unsigned char v = 128);
    static Color DarkCyan(unsigned char v = 128);
    static Color DarkMagenta(unsigned char v = 128);
    static Color LightGray(unsigned char v = 192);
    static Color DarkGray(unsigned char v = 64);
    static Color Black(unsigned char v = 0);
    // The pure colour at v OR-ed with White(w).
    static Color LightRed(unsigned char w = 128, unsigned char v = 255);
    static Color LightGreen(unsigned char w = 128, unsigned char v = 255);
    static Color LightBlue(unsigned char w = 128, unsigned char v = 255);
    static Color LightYellow(unsigned char w = 128, unsigned char v = 255);
    static Color LightCyan(unsigned char w = 128, unsigned char v = 255);
    static Color LightMagenta(unsigned char w = 128, unsigned char v = 255);

private:
    SDL_Color _c;
};

FRAMEWORK_API bool operator==(const Color& a, const Color& b);
FRAMEWORK_API bool operator!=(const Color& a, const Color& b);
// As the compound forms applied to a copy of the left operand.
FRAMEWORK_API Color operator+(const Color& a, const Color& b);
FRAMEWORK_API Color operator-(const Color& a, const Color& b);
FRAMEWORK_API Color operator*(const Color& a, const Color& b);
FRAMEWORK_API Color operator*(const Color& a, int n);
FRAMEWORK_API Color operator/(const Color& a, int n);
FRAMEWORK_API Color operator|(const Color& a, const Color& b);
FRAMEWORK_API Color operator&(const Color& a, const Color& b);
FRAMEWORK_API Color operator^(const Color& a, const Color& b);
// Red, green and blue inverted, alpha kept.
FRAMEWORK_API Color operator~(const Color& c);
