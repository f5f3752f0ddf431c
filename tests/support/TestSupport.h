#pragma once

#include <string>
#include <vector>

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

// Lines of a file written with "\r\n" line ends, without their ends.
std::vector<std::string> SplitCrlfLines(const std::string& bytes);

// The debug log "debug.txt" as written so far (flushed first).
std::string ReadLog();

// How many lines of the debug log contain part.
int CountLogLines(const std::string& part);

} // namespace testsupport
