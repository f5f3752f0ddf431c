#include "framework/core/MultiType.h"

#include <cstdlib>
#include <locale>
#include <sstream>

namespace {

std::string NumberText(double value)
{
    std::ostringstream out;
    // Configuration files always use a decimal point, whatever the user's locale.
    out.imbue(std::locale::classic());
    out << value;
    return out.str();
}

} // namespace

MultiType::MultiType() = default;

MultiType::MultiType(const std::string& text) : _value(text) {}

MultiType::MultiType(const char* text) : _value(text != nullptr ? text : "") {}

MultiType::MultiType(double value) : _value(NumberText(value)) {}

MultiType::MultiType(const MultiType& other) = default;

MultiType::~MultiType() = default;

MultiType& MultiType::operator=(const MultiType& other) = default;

MultiType& MultiType::operator=(const std::string& text)
{
    _value = text;
    return *this;
}

MultiType& MultiType::operator=(const char* text)
{
    _value = text != nullptr ? text : "";
    return *this;
}

MultiType& MultiType::operator=(double value)
{
    _value = NumberText(value);
    return *this;
}

MultiType::operator std::string() const
{
    return _value;
}

MultiType::operator double() const
{
    return std::atof(_value.c_str());
}
