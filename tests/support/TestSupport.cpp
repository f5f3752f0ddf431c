#include "tests/support/TestSupport.h"

#include "framework/core/Debug.h"

#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace testsupport {

std::string FixturePath(const std::string& name)
{
    return std::string(FRAMEWORK_TEST_FIXTURES) + "/" + name;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::string();
    }
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    out << bytes;
    return static_cast<bool>(out);
}

bool FileExists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

std::vector<std::string> SplitCrlfLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string ReadLog()
{
    Debug::DebugFlush();
    return ReadFile("debug.txt");
}

int CountLogLines(const std::string& part)
{
    int n = 0;
    for (const std::string& line : SplitCrlfLines(ReadLog())) {
        if (line.find(part) != std::string::npos) {
            ++n;
        }
    }
    return n;
}

} // namespace testsupport
