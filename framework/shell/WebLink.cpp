#include "framework/shell/WebLink.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

bool StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    if (text.size() < prefix.size()) {
        return false;
    }
    return std::equal(prefix.begin(), prefix.end(), text.begin(), [](char wanted, char c) {
        return std::tolower(static_cast<unsigned char>(c)) == wanted;
    });
}

} // namespace

std::string WebLink::Openable(const std::string& link)
{
    // Line ends too: the address may be the last field of a server's answer.
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    const auto first = std::find_if_not(link.begin(), link.end(), blank);
    const auto last = std::find_if_not(link.rbegin(), link.rend(), blank).base();
    const std::string address = first < last ? std::string(first, last) : std::string();
    for (const std::string scheme : {"http://", "https://"}) {
        if (!StartsWithNoCase(address, scheme)) {
            continue;
        }
        const std::string rest = address.substr(scheme.size());
        const bool hasHost = !rest.empty() && rest[0] != '/';
        // A control character could end the argument early for the opener's own parsing.
        const bool plain = std::none_of(address.begin(), address.end(), [](char c) {
            return std::iscntrl(static_cast<unsigned char>(c)) != 0 || c == ' ';
        });
        return hasHost && plain ? address : std::string();
    }
    return std::string();
}

bool WebLink::Open(const std::string& link)
{
    std::string address = Openable(link);
    if (address.empty()) {
        return false;
    }
    std::string program = "xdg-open";
    char* argv[] = {program.data(), address.data(), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv, environ) != 0) {
        return false;
    }
    // The opener may wait for the browser; the game must not.
    std::thread([child] {
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}
