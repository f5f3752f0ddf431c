#pragma once

#include <string>

// Keeps a second copy of the game from running in the same folder: an exclusive lock on the
// marker file, held until the process ends. The file is never deleted: a second copy could
// otherwise unlink the held file and lock a fresh one.
class MjInstanceLock
{
public:
    enum Result {
        kAcquired,
        kHeldElsewhere, // another copy runs here: a refusal, not a failure
        kCannotCreate,  // the folder cannot take the file
    };

    static constexpr const char* kFileName = "exist.yes";

    // Locks folder + "/" + kFileName (the working folder for an empty folder). On kAcquired the
    // descriptor stays open for the life of the process (or until Release); otherwise message
    // holds the line to print.
    static Result Acquire(const std::string& folder, std::string* message);
    // Closes the held descriptor, which frees the lock; for tests.
    static void Release();
    // The exit code for a result that stops the program.
    static int ExitCode(Result result) { return result == kCannotCreate ? 1 : 0; }
};
