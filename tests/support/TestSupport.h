#pragma once

#include <string>

namespace testsupport {

// Folder of the committed test fixtures (read-only).
std::string FixturePath(const std::string& name);

// The scratch folder this test process runs in; it is also the working folder.
const std::string& ScratchDir();

// Whole content of a file as bytes; empty when it cannot be read.
std::string ReadFile(const std::string& path);

// Writes bytes to a file, replacing it; returns false on failure.
bool WriteFile(const std::string& path, const std::string& bytes);

bool FileExists(const std::string& path);

} // namespace testsupport
