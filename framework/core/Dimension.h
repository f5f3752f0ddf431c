#pragma once

#include "framework/core/Export.h"

// An integer size; empty when either side is below 1.
class FRAMEWORK_API Dimension
{
public:
    Dimension();
    Dimension(int w, int h);
    Dimension(const Dimension& other);
    virtual ~Dimension();

    Dimension& operator=(const Dimension& other);
    Dimension& Set(int w, int h);
    Dimension& Copy(const Dimension& other);

    int GetW() const { return _w; }
    int GetH() const { return _h; }
    void SetW(int w) { _w = w; }
    void SetH(int h) { _h = h; }

    bool IsEmpty() const;
    // 0 empty, 1 wider than high, 2 higher than wide, 3 square.
    int Shape() const;

    bool operator==(const Dimension& other) const;
    bool operator!=(const Dimension& other) const;

private:
    int _w;
    int _h;
};
