// ConfigFile: queries and changes of the entries in memory.
#include "framework/core/ConfigFile.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdint>
#include <locale>
#include <sstream>

// Leading white space, an optional sign, the digits up to the first other byte; no digits give 0.
int ConfigFile::ParseInt(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t n = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (n <= static_cast<int64_t>(INT_MAX) + 1) {
            n = n * 10 + (text[i] - '0');
        }
        ++i;
    }
    if (negative) {
        n = -n;
    }
    if (n > INT_MAX) {
        return INT_MAX;
    }
    if (n < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(n);
}

int ConfigFile::AsInt(const MultiType& value)
{
    const double n = value;
    if (std::isnan(n)) {
        return 0;
    }
    if (n >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    if (n <= static_cast<double>(INT_MIN)) {
        return INT_MIN;
    }
    return static_cast<int>(n);
}

namespace {

// "%f" whatever the user's locale: files always use a decimal point.
std::string Fixed(double value)
{
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out.setf(std::ios::fixed, std::ios::floatfield);
    out.precision(6);
    out << value;
    return out.str();
}

std::string Combined(const std::string& section, const std::string& key)
{
    std::string combined;
    combined.reserve(section.size() + key.size() + 1);
    combined += section;
    combined += '/';
    combined += key;
    return combined;
}

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

void ConfigFile::ReportMiss(const std::string& section, const std::string& key, const char* what)
{
    ++_numErrors;
    // Names go in as arguments, so a "%" in them is written as it stands.
    DebugVar(1, "INFO: %s %s/%s%s", _classLabel.c_str(), section.c_str(), key.c_str(), what);
}

const MultiType* ConfigFile::Find(const std::string& section, const std::string& key)
{
    const auto it = _values.find(Combined(section, key));
    if (it != _values.end()) {
        return &it->second;
    }
    ReportMiss(section, key, " does not exist");
    return nullptr;
}

MultiType ConfigFile::GetValue(const std::string& section, const std::string& key)
{
    if (const MultiType* found = Find(section, key)) {
        return *found;
    }
    throw kDoesNotExist;
}

MultiType ConfigFile::Value(const std::string& section, const std::string& key,
                            std::string defaultValue, bool useDefault)
{
    if (!useDefault) {
        return GetValue(section, key);
    }
    if (const MultiType* found = Find(section, key)) {
        return *found;
    }
    if (_parent != nullptr) {
        return _parent->Value(section, key, defaultValue, true);
    }
    return MultiType(defaultValue);
}

MultiType ConfigFile::Value(const std::string& section, const std::string& key, double defaultValue,
                            bool useDefault)
{
    if (!useDefault) {
        return GetValue(section, key);
    }
    if (const MultiType* found = Find(section, key)) {
        return *found;
    }
    // Formatted only on a miss: a hit never needs the default's text.
    const std::string text = Fixed(defaultValue);
    if (_parent != nullptr) {
        return _parent->Value(section, key, text, true);
    }
    return MultiType(text);
}

Point ConfigFile::ValueAsPoint(const std::string& section, const std::string& key,
                               Point defaultValue)
{
    if (const MultiType* found = Find(section, key)) {
        const std::string text = *found;
        const size_t comma = text.find(',');
        if (comma != std::string::npos && text.find(',', comma + 1) == std::string::npos) {
            const std::string_view view(text);
            return Point(ParseInt(view), ParseInt(view.substr(comma + 1)));
        }
        ReportMiss(section, key, " does not represent a Point");
    }
    if (_parent != nullptr) {
        return _parent->ValueAsPoint(section, key, defaultValue);
    }
    return defaultValue;
}

Dimension ConfigFile::ValueAsDimension(const std::string& section, const std::string& key,
                                       Dimension /*defaultValue*/)
{
    // Callers have always received 0 x 0 for a missing size, never their default.
    const Point p = ValueAsPoint(section, key, Point(0, 0));
    return Dimension(p.GetX(), p.GetY());
}

Color ConfigFile::ValueAsColor(const std::string& section, const std::string& key,
                               Color defaultValue)
{
    if (const MultiType* found = Find(section, key)) {
        const std::string text = *found;
        const size_t first = text.find(',');
        const size_t second =
            first == std::string::npos ? std::string::npos : text.find(',', first + 1);
        if (second != std::string::npos) {
            const std::string_view view(text);
            const int red = ParseInt(view);
            const int green = ParseInt(view.substr(first + 1));
            const int blue = ParseInt(view.substr(second + 1));
            auto inRange = [](int v) { return v >= 0 && v <= 255; };
            const unsigned char alpha = inRange(red) && inRange(green) && inRange(blue) ? 255 : 0;
            return Color(static_cast<unsigned char>(red & 0xff),
                         static_cast<unsigned char>(green & 0xff),
                         static_cast<unsigned char>(blue & 0xff), alpha);
        }
        ReportMiss(section, key, " does not represent a Color");
    }
    if (_parent != nullptr) {
        return _parent->ValueAsColor(section, key, defaultValue);
    }
    return defaultValue;
}

std::vector<std::string> ConfigFile::GetKeysInSection(std::string section)
{
    std::vector<std::string> keys;
    // The section part of a combined key ends at its first "/", so it never holds one.
    if (section.find('/') != std::string::npos) {
        return keys;
    }
    const std::string prefix = section + "/";
    for (auto it = _values.lower_bound(prefix);
         it != _values.end() && StartsWith(it->first, prefix); ++it) {
        keys.push_back(it->first.substr(prefix.size()));
    }
    return keys;
}

std::vector<std::string> ConfigFile::GetSectionsThatStartWith(std::string prefix)
{
    std::vector<std::string> sections;
    for (auto it = _values.lower_bound(prefix);
         it != _values.end() && StartsWith(it->first, prefix); ++it) {
        sections.push_back(it->first.substr(0, it->first.find('/')));
    }
    return sections;
}

const char* ConfigFile::BreaksFile(std::string_view section, std::string_view key,
                                   std::string_view value, bool strict)
{
    const char* breaks = strict ? "\r\n" : "\n";
    if (section.find_first_of(breaks) != std::string_view::npos ||
        key.find_first_of(breaks) != std::string_view::npos ||
        value.find_first_of(breaks) != std::string_view::npos) {
        return "line break";
    }
    if (section.find(']') != std::string_view::npos) {
        return "\"]\" in the section";
    }
    if (key.find('=') != std::string_view::npos) {
        return "\"=\" in the key";
    }
    if (!key.empty() && (key[0] == '#' || key[0] == ';' || key[0] == '[')) {
        return "key starts a comment or a header";
    }
    return nullptr;
}

void ConfigFile::Store(const std::string& section, const std::string& key, const std::string& value)
{
    if (const char* why = BreaksFile(section, key, value, true)) {
        DebugVar(-1, "WRITE REFUSED (%s)! - %s/%s", why, section.c_str(), key.c_str());
        return;
    }
    _values.insert_or_assign(Combined(section, key), MultiType(value));
    _changed = true;
}

void ConfigFile::Write(std::string section, std::string key, std::string value)
{
    Store(section, key, value);
}

void ConfigFile::Write(std::string section, std::string key, int value)
{
    Store(section, key, std::to_string(value));
}

void ConfigFile::Write(std::string section, std::string key, float value)
{
    Store(section, key, Fixed(value));
}

void ConfigFile::Write(std::string section, std::string key, Point value)
{
    Store(section, key, std::to_string(value.GetX()) + "," + std::to_string(value.GetY()));
}

void ConfigFile::Write(std::string section, std::string key, Dimension value)
{
    Store(section, key, std::to_string(value.GetW()) + "," + std::to_string(value.GetH()));
}

void ConfigFile::Write(std::string section, std::string key, Color value)
{
    Store(section, key,
          std::to_string(value.GetR()) + "," + std::to_string(value.GetG()) + "," +
              std::to_string(value.GetB()));
}

void ConfigFile::DeleteKey(std::string section, std::string key)
{
    // A key that is not there changes nothing, so the file is not written again for it.
    if (_values.erase(Combined(section, key)) > 0) {
        _changed = true;
    }
}

void ConfigFile::DeleteSection(std::string section)
{
    if (_values.empty()) {
        return;
    }
    _changed = true;
    if (section.find('/') != std::string::npos) {
        return;
    }
    const std::string prefix = section + "/";
    auto it = _values.lower_bound(prefix);
    while (it != _values.end() && StartsWith(it->first, prefix)) {
        it = _values.erase(it);
    }
}

ConfigFile* ConfigFile::NewMemoryCopy() const
{
    auto* copy = new ConfigFile("", _parent, false, true, false);
    copy->_values = _values;
    return copy;
}
