#include "framework/core/StringUtils.h"

#include <cstdio>

namespace {

constexpr const char* kBlanks = " \t";

} // namespace

std::string StringUtils::Trim(const std::string& text)
{
    const std::string::size_type first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos) {
        return std::string();
    }
    const std::string::size_type last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

std::string StringUtils::FormatNum(int n)
{
    char buffer[32];
    if (n < 1000) {
        std::snprintf(buffer, sizeof buffer, "%d", n);
    } else if (n < 1000000) {
        std::snprintf(buffer, sizeof buffer, "%d,%.3d", n / 1000, n % 1000);
    } else if (n < 1000000000) {
        std::snprintf(buffer, sizeof buffer, "%d,%.3d,%.3d", n / 1000000, (n / 1000) % 1000,
                      n % 1000);
    } else {
        std::snprintf(buffer, sizeof buffer, "%d,%.3d,%.3d,%.3d", n / 1000000000,
                      (n / 1000000) % 1000, (n / 1000) % 1000, n % 1000);
    }
    return buffer;
}

int StringUtils::SplitString(const std::string& text, const std::string& delimiter,
                             std::vector<std::string>& out, bool keepDelimiter)
{
    const std::string::size_type delimLen = delimiter.size();
    std::vector<std::string::size_type> cuts;
    std::string::size_type p = text.find(delimiter);
    while (p != std::string::npos) {
        cuts.push_back(p);
        // One past the end of the occurrence: a delimiter right after it is not a cut.
        const std::string::size_type next = p + delimLen + 1;
        if (next > text.size()) {
            break;
        }
        p = text.find(delimiter, next);
    }

    int appended = 0;
    const auto append = [&](std::string::size_type from, std::string::size_type to) {
        if (from < to && from < text.size()) {
            out.push_back(text.substr(from, to - from));
            ++appended;
        }
    };

    if (cuts.empty()) {
        append(0, text.size());
        return appended;
    }
    append(0, cuts.front());
    for (std::size_t i = 0; i < cuts.size(); ++i) {
        const std::string::size_type from = keepDelimiter ? cuts[i] : cuts[i] + delimLen;
        const std::string::size_type to = (i + 1 < cuts.size()) ? cuts[i + 1] : text.size();
        append(from, to);
    }
    return appended;
}
