#include "framework/core/WebUpdater.h"

#include "framework/core/DebugLifetime.h"
#include "framework/core/TcpClient.h"

#include <cstdio>

namespace {

constexpr const char* kPath = "/dgu";
constexpr int kRequestSize = 1000;

// The class-wide log level that the first updater found in the marker files.
int& ClassLogLevel()
{
    static int level = 0;
    return level;
}

// Length of the UTF-8 sequence a lead byte starts; 1 for anything else.
std::size_t SequenceLength(unsigned char lead)
{
    if ((lead & 0xE0) == 0xC0) {
        return 2;
    }
    if ((lead & 0xF0) == 0xE0) {
        return 3;
    }
    if ((lead & 0xF8) == 0xF0) {
        return 4;
    }
    return 1;
}

// The text as it may be shown to the player: no control characters, at most maxLength bytes,
// and no multi-byte character cut in half at the end.
std::string Displayable(const std::string& text, std::size_t maxLength)
{
    std::string shown;
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            shown += c;
        }
    }
    if (shown.size() <= maxLength) {
        return shown;
    }
    shown.resize(maxLength);
    std::size_t lead = shown.size();
    while (lead > 0 && shown.size() - lead < 4 &&
           (static_cast<unsigned char>(shown[lead - 1]) & 0xC0) == 0x80) {
        --lead;
    }
    if (lead > 0) {
        const std::size_t start = lead - 1;
        if (start + SequenceLength(static_cast<unsigned char>(shown[start])) > shown.size()) {
            shown.resize(start);
        }
    }
    return shown;
}

} // namespace

WebUpdater::WebUpdater(MessageHandler* framework, const std::string& host, int port)
    : Thread(framework), _host(host), _port(port)
{
    SetName("WebUpdater");
    ClassLogLevel() = DebugLifetime::SetDebugLevel("WebUpdater", this, ClassLogLevel());
    Start();
}

WebUpdater::~WebUpdater()
{
    // OnExecute writes this object's members until it returns.
    WaitForWorker();
}

int WebUpdater::OnExecute()
{
    const std::string version = Debug::GetProductVersion();
    const std::string distributor = Debug::GetProductDistributor();
    const std::string game = Debug::GetProductNameShort();

    // The step names are those of the Windows sockets layer, so logs read alike everywhere.
    // One deadline for the whole exchange, the name lookup included.
    const auto deadline = TcpClient::Clock::now() + std::chrono::milliseconds(kExchangeTimeoutMs);
    DebugVar(1, "Initializing Winsock library.");
    TcpClient client;

    DebugVar(1, "Create socket.");
    if (!client.Open()) {
        _connected = false;
        DebugVar(1, "NOT CONNECTED TO INTERNET - Can't Initialize Socket");
        return 1;
    }

    DebugVar(1, "Get DNS of host.");
    if (!client.Resolve(_host, _port, deadline)) {
        _connected = false;
        if (TcpClient::IsDottedAddress(_host)) {
            DebugVar(1, "NOT CONNECTED TO INTERNET - Host Lookup failure");
        } else {
            DebugVar(1, "NOT CONNECTED TO INTERNET - DNS failure");
        }
        return 1;
    }

    char request[kRequestSize];
    const int length =
        std::snprintf(request, sizeof(request),
                      "GET %s?ver=%s&game=%s&dist=%s HTTP/1.1\r\n"
                      "Host: %s\r\n"
                      "Connection: close\r\n"
                      "\r\n",
                      kPath, version.c_str(), game.c_str(), distributor.c_str(), _host.c_str());
    if (length < 0 || length >= kRequestSize) {
        // A cut request would be malformed; better not to ask at all.
        _connected = false;
        DebugVar(-1, "Update request longer than %d bytes; not sent", kRequestSize - 1);
        return 1;
    }

    DebugVar(1, "Connect to updater server.");
    if (!client.Connect(deadline)) {
        _connected = false;
        DebugVar(1, "NOT CONNECTED TO INTERNET - socket connect fail");
        return 1;
    }

    if (!client.SendAll(request, static_cast<std::size_t>(length), deadline)) {
        _connected = false;
        DebugVar(1, "NOT CONNECTED TO INTERNET - socket send fail");
        return 1;
    }

    char reply[kReplySize + 1] = {};
    const std::size_t received = client.ReceiveAll(reply, kReplySize, deadline);
    client.Close();
    if (received == 0) {
        _connected = false;
        DebugVar(1, "NOT CONNECTED TO INTERNET - no reply from server");
        return 1;
    }
    _connected = true;

    // The reply is text: it ends at the first zero byte.
    const std::string response = ResponseFromReply(std::string(reply));
    if (!response.empty()) {
        SetResponse(response);
        DebugVar(0, "WEB UPDATER GOT RESPONSE %s", response.c_str());
    }
    return 1;
}

std::string WebUpdater::GetUpdaterResponse()
{
    const std::lock_guard<std::mutex> hold(_responseMutex);
    return _response;
}

std::string WebUpdater::ResponseFromReply(const std::string& reply)
{
    if (reply.find("DGU*ok") != std::string::npos || reply.find("DGU*err") != std::string::npos) {
        return std::string();
    }
    const std::size_t marker = reply.find("DGU");
    // The character after the marker is a separator; the message follows it.
    const std::size_t start = marker == std::string::npos ? reply.size() : marker + 4;
    if (start >= reply.size()) {
        return std::string();
    }
    return Displayable(reply.substr(start), kMaxResponseLength);
}

void WebUpdater::SetResponse(const std::string& response)
{
    const std::lock_guard<std::mutex> hold(_responseMutex);
    _response = response;
}
