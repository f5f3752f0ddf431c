#pragma once

#include "framework/core/Export.h"

#include <string>

// The value of one configuration entry, kept as text. There is no type tag: the caller's
// conversion decides how it is read, and nothing is cached.
class FRAMEWORK_API MultiType
{
public:
    MultiType();
    MultiType(const std::string& text);
    MultiType(const char* text);
    // Written with up to six significant digits, as a default output stream writes it.
    MultiType(double value);
    MultiType(const MultiType& other);
    ~MultiType();

    MultiType& operator=(const MultiType& other);
    MultiType& operator=(const std::string& text);
    MultiType& operator=(const char* text);
    MultiType& operator=(double value);

    operator std::string() const;
    // atof of the text: the longest leading number, 0 when there is none.
    operator double() const;

private:
    std::string _value;
};
