#include "framework/core/TcpClient.h"

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

int MillisecondsLeft(TcpClient::Clock::time_point deadline)
{
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TcpClient::Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

std::atomic<TcpClient::Lookup>& CurrentLookup()
{
    static std::atomic<TcpClient::Lookup> lookup{&TcpClient::SystemLookup};
    return lookup;
}

// What a lookup hands back; shared by the caller and the helper thread, so whichever of them
// lets go last frees it.
struct LookupAnswer
{
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    bool found = false;
    in_addr address{};
};

} // namespace

TcpClient::TcpClient() = default;

TcpClient::~TcpClient()
{
    Close();
}

bool TcpClient::Open()
{
    Close();
    // Non-blocking from the start: every wait goes through poll with a deadline.
    _socket = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    return _socket >= 0;
}

bool TcpClient::IsDottedAddress(const std::string& host)
{
    in_addr address{};
    return inet_aton(host.c_str(), &address) != 0;
}

bool TcpClient::Resolve(const std::string& host, int port, Clock::time_point deadline)
{
    _resolved = false;
    if (port <= 0 || port > 65535) {
        return false;
    }
    _address = sockaddr_in{};
    _address.sin_family = AF_INET;
    _address.sin_port = htons(static_cast<uint16_t>(port));
    if (inet_aton(host.c_str(), &_address.sin_addr) != 0) {
        _resolved = true;
        return true;
    }

    // The system resolver has no time limit of its own: it runs on a helper thread, and the
    // caller waits only until its deadline.
    auto answer = std::make_shared<LookupAnswer>();
    const Lookup lookup = CurrentLookup().load();
    try {
        std::thread([answer, lookup, host] {
            in_addr address{};
            const bool found = lookup(host, &address);
            const std::lock_guard<std::mutex> hold(answer->mutex);
            answer->found = found;
            answer->address = address;
            answer->finished = true;
            answer->done.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return false; // no thread to be had
    }
    std::unique_lock<std::mutex> hold(answer->mutex);
    if (!answer->done.wait_until(hold, deadline, [&] { return answer->finished; }) ||
        !answer->found) {
        return false;
    }
    _address.sin_addr = answer->address;
    _resolved = true;
    return true;
}

void TcpClient::SetLookup(Lookup lookup)
{
    CurrentLookup() = lookup != nullptr ? lookup : &TcpClient::SystemLookup;
}

bool TcpClient::SystemLookup(const std::string& host, in_addr* address)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
        return false;
    }
    bool resolved = false;
    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addrlen >= sizeof(sockaddr_in)) {
            *address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr;
            resolved = true;
            break;
        }
    }
    freeaddrinfo(found);
    return resolved;
}

bool TcpClient::Connect(Clock::time_point deadline)
{
    if (_socket < 0 || !_resolved) {
        return false;
    }
    if (connect(_socket, reinterpret_cast<const sockaddr*>(&_address), sizeof(_address)) == 0) {
        return true;
    }
    if (errno != EINPROGRESS && errno != EINTR) {
        return false;
    }
    if (!Wait(POLLOUT, deadline)) {
        return false;
    }
    int error = 0;
    socklen_t length = sizeof(error);
    if (getsockopt(_socket, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
        return false;
    }
    return error == 0;
}

bool TcpClient::SendAll(const char* data, std::size_t size, Clock::time_point deadline)
{
    if (_socket < 0) {
        return false;
    }
    std::size_t sent = 0;
    while (sent < size) {
        const ssize_t n = send(_socket, data + sent, size - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!Wait(POLLOUT, deadline)) {
                return false;
            }
            continue;
        }
        return false;
    }
    return true;
}

std::size_t TcpClient::ReceiveAll(char* buffer, std::size_t capacity, Clock::time_point deadline)
{
    if (_socket < 0) {
        return 0;
    }
    std::size_t received = 0;
    while (received < capacity) {
        const ssize_t n = recv(_socket, buffer + received, capacity - received, 0);
        if (n > 0) {
            received += static_cast<std::size_t>(n);
            continue;
        }
        if (n == 0) {
            break; // the peer closed: the reply is complete
        }
        if (errno == EINTR) {
            continue;
        }
        if ((errno == EAGAIN || errno == EWOULDBLOCK) && Wait(POLLIN, deadline)) {
            continue;
        }
        break;
    }
    return received;
}

void TcpClient::Close()
{
    if (_socket >= 0) {
        close(_socket);
        _socket = -1;
    }
}

bool TcpClient::Wait(short events, Clock::time_point deadline)
{
    for (;;) {
        pollfd entry{};
        entry.fd = _socket;
        entry.events = events;
        const int ready = poll(&entry, 1, MillisecondsLeft(deadline));
        if (ready > 0) {
            // Errors and hang-ups are reported to the caller by the next call on the socket.
            return true;
        }
        if (ready == 0) {
            return false;
        }
        if (errno != EINTR) {
            return false;
        }
    }
}
