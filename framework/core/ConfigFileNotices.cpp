// ConfigFile: the files the player is told about, those that could not be read or saved.
#include "framework/core/ConfigFile.h"

#include <algorithm>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Failure
{
    std::string path;
    std::string reason;
    std::string cause; // the unreadable file that refused the write, if any
};

// Files are read on loading threads too.
struct Notices
{
    std::mutex mutex;
    std::vector<std::pair<std::string, std::string>> unread; // path and text, not yet told
    std::set<std::string> unreadKnown;
    std::vector<Failure> failed;       // not yet told, oldest first
    std::set<std::string> failureTold; // until one of its writes succeeds
};

Notices& TheNotices()
{
    static Notices notices;
    return notices;
}

void NoteUnreadAs(const std::string& path, const std::string& text)
{
    Notices& n = TheNotices();
    const std::lock_guard<std::mutex> lock(n.mutex);
    if (n.unreadKnown.insert(path).second) {
        n.unread.emplace_back(path, text);
    }
}

} // namespace

void ConfigFile::NoteUnread(const std::string& path)
{
    NoteUnreadAs(path, path + " could not be read; nothing was changed.");
}

void ConfigFile::NoteKeptAside(const std::string& path, const std::string& aside)
{
    NoteUnreadAs(path, path + " could not be read; it is kept as " + aside + ".");
}

void ConfigFile::NoteWrite(const std::string& path, const std::string& failure,
                           const std::string& cause)
{
    Notices& n = TheNotices();
    const std::lock_guard<std::mutex> lock(n.mutex);
    const auto pending = std::find_if(n.failed.begin(), n.failed.end(),
                                      [&](const Failure& f) { return f.path == path; });
    if (failure.empty()) {
        n.failureTold.erase(path);
        if (pending != n.failed.end()) {
            n.failed.erase(pending);
        }
    } else if (pending != n.failed.end()) {
        pending->reason = failure;
        pending->cause = cause;
    } else if (n.failureTold.count(path) == 0) {
        n.failed.push_back(Failure{path, failure, cause});
    }
}

std::vector<std::string> ConfigFile::TakeFileNotices(bool unreadToo)
{
    Notices& n = TheNotices();
    const std::lock_guard<std::mutex> lock(n.mutex);
    std::vector<std::string> texts;
    std::vector<std::string> named;
    if (unreadToo) {
        for (const auto& [path, text] : n.unread) {
            texts.push_back(text);
            named.push_back(path);
        }
        n.unread.clear();
    }
    for (const Failure& f : n.failed) {
        // "Nothing was changed" says it; a later failure of the file is still told.
        if (!f.cause.empty() && std::find(named.begin(), named.end(), f.cause) != named.end()) {
            continue;
        }
        texts.push_back("Your progress could not be saved: " + f.path + ": " + f.reason + ".");
        n.failureTold.insert(f.path);
    }
    n.failed.clear();
    return texts;
}
