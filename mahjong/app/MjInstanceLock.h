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
        kHeldElsewhere, // another copy runs here
        kCannotCreate,  // the folder cannot take the file
    };

    static constexpr const char* kFileName = "exist.yes";
    // The log a refusal is added to: the running copy's, which is never emptied by it.
    static constexpr const char* kLogName = "debug.txt";

    // Locks folder + "/" + kFileName (the working folder for an empty folder). On kAcquired the
    // descriptor stays open for the life of the process (or until Release); otherwise message
    // holds the line to print.
    static Result Acquire(const std::string& folder, std::string* message);
    // Closes the held descriptor, which frees the lock; for tests.
    static void Release();
    // Says why the program stops before it starts: the line on stderr, and added as an error
    // line at the end of folder + "/" + kLogName (best effort: the folder may take no file).
    static void Refuse(const std::string& folder, const std::string& message);
    // The exit code for a result that stops the program: never 0, so that whoever started it
    // learns that it did not run.
    static int ExitCode(Result result) { return result == kAcquired ? 0 : 1; }
};
