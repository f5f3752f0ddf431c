#pragma once

#include "framework/core/Export.h"

#include <chrono>
#include <cstddef>
#include <netinet/in.h>
#include <string>

// One IPv4 TCP connection over BSD sockets for the library's own short exchanges. Every call
// that can block is bounded by a deadline, so a worker thread always gets control back, and a
// peer that went away never raises SIGPIPE. Internal to the library; tests may replace the
// name lookup.
class TcpClient
{
public:
    using Clock = std::chrono::steady_clock;
    // Looks a host name up and gives its first IPv4 address; false when the name has none. It
    // runs on a helper thread of its own that Resolve leaves behind at its deadline, so it may
    // block as long as it likes and must touch nothing but its arguments.
    using Lookup = bool (*)(const std::string& host, in_addr* address);

    TcpClient();
    // Closes the socket.
    ~TcpClient();

    TcpClient(const TcpClient&) = delete;
    TcpClient& operator=(const TcpClient&) = delete;

    // Makes the socket; false when the system refuses one.
    bool Open();
    // Whether the host reads as a dotted IPv4 address rather than a name.
    static bool IsDottedAddress(const std::string& host);
    // Fills in the peer address: a dotted address as it stands, a name through the lookup
    // (IPv4 only, first address). False when it cannot be resolved or the deadline passed
    // first; a lookup still running then is abandoned and its answer dropped.
    bool Resolve(const std::string& host, int port, Clock::time_point deadline);
    // Replaces the lookup (the system resolver by default; null restores it). For tests.
    FRAMEWORK_API static void SetLookup(Lookup lookup);
    // The system resolver through getaddrinfo.
    static bool SystemLookup(const std::string& host, in_addr* address);
    // Connects to the resolved address; false on refusal, error or when the deadline passed.
    bool Connect(Clock::time_point deadline);
    // Sends every byte, however the system splits them; false on error or when the deadline
    // passed before all were sent.
    bool SendAll(const char* data, std::size_t size, Clock::time_point deadline);
    // Reads into the buffer until the peer closes, the buffer is full, an error occurs or the
    // deadline passes; returns the number of bytes read (what arrived before an error is kept).
    std::size_t ReceiveAll(char* buffer, std::size_t capacity, Clock::time_point deadline);
    void Close();

private:
    // Waits for the events on the socket; false on timeout or error.
    bool Wait(short events, Clock::time_point deadline);

    int _socket = -1; // owned; closed by Close
    sockaddr_in _address{};
    bool _resolved = false;
};
