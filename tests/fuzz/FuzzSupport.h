#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzsupport {

// Ends the run with a message when ok is false: the fuzzer keeps the input that did it.
void Check(bool ok, const char* what);
// Writes the bytes to the file, replacing it.
void Put(const std::string& path, const uint8_t* data, size_t size);
// Makes a private folder (in memory where the system offers one), removed at exit, and makes it
// the working folder; with dataDir, the game's data folder is copied into it first.
void EnterScratchFolder(const char* prefix, const char* dataDir);

} // namespace fuzzsupport
