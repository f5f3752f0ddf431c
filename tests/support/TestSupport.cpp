#include "tests/support/TestSupport.h"

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

} // namespace testsupport
