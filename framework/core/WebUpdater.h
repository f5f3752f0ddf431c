#pragma once

#include "framework/core/Export.h"
#include "framework/core/Thread.h"

#include <atomic>
#include <mutex>
#include <string>

// The update check: a thread, started at once, that asks the update server over HTTP
// ("GET /dgu?ver=...&game=...&dist=...") whether a newer version exists. The owner reads
// _connected and GetUpdaterResponse once IsRunning has turned false.
class FRAMEWORK_API WebUpdater final : public Thread
{
public:
    static constexpr const char* kDefaultHost = "localhost";
    static constexpr int kDefaultPort = 80;
    // The reply is read into a buffer of this many bytes; the rest is dropped.
    static constexpr int kReplySize = 1024;
    // The message shown to the player is cut to this many bytes.
    static constexpr int kMaxResponseLength = 200;
    // Looking the host up, connecting, sending and receiving together end within this time
    // (a lookup still running then is left behind), so the thread stops
    // well before the framework gives up on it at shut-down (5000 ms).
    static constexpr int kExchangeTimeoutMs = 3000;

    // Starts the check at once. The parent is the framework; the server is the creator's
    // setting (a host name or a dotted address, and a port).
    explicit WebUpdater(MessageHandler* framework, const std::string& host = kDefaultHost,
                        int port = kDefaultPort);
    // Waits for the worker if it still runs (it ends within the exchange time).
    ~WebUpdater() override;

    // On the worker: one request and its reply. Returns 1.
    int OnExecute() override;
    // The server's message, empty unless it sent one; cut to kMaxResponseLength bytes, with
    // control characters dropped.
    virtual std::string GetUpdaterResponse();

    // Whether a reply arrived from the server. Public: the application shell reads it.
    std::atomic<bool> _connected{false};

private:
    // The server's message from the reply text, or empty.
    static std::string ResponseFromReply(const std::string& reply);
    void SetResponse(const std::string& response);

    const std::string _host;
    const int _port;
    std::mutex _responseMutex; // the response is written on the worker
    std::string _response;
};
