#pragma once

#include <functional>
#include <string>

// Faults of the file system for tests that run with every right (as root, too).
namespace testsupport {

// Called by every fsync of the test program from now on, before the sync itself, with the path
// of what is synced and whether it is a folder; null stops it.
void OnSync(std::function<void(const std::string& path, bool folder)> observer);

// From now on every fsync of a file named "name" (in any folder) fails with the error "error",
// as a full disk reports the data it could not place; an error of 0 stops it.
void FailSync(const std::string& name, int error);

// Runs what in a child process as the user "nobody" when the test runs as root (in its own
// folder, opened to that user), else here; returns what it returned. A file of mode 000 is
// then unreadable to it, as it would be to a player whose file another user owns.
std::string RunWithoutRootRights(const std::function<std::string()>& what);

// The file "path" (written with bytes first) made unreadable: "folder" puts a folder in its
// place, "mode000" takes every right away.
void MakeUnreadable(const std::string& path, const std::string& how, const std::string& bytes);

} // namespace testsupport
