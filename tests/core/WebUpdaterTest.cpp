#include "framework/core/WebUpdater.h"

#include "SDL.h"
#include "framework/core/TcpClient.h"
#include "tests/support/TestSupport.h"

#include <arpa/inet.h>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <dirent.h>
#include <gtest/gtest.h>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr const char* kExpectedRequest = "GET /dgu?ver=1.131&game=mahjong&dist=kebo HTTP/1.1\r\n"
                                         "Host: %s\r\n"
                                         "Connection: close\r\n"
                                         "\r\n";

int MillisecondsLeft(Clock::time_point end)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// A one-shot HTTP server on 127.0.0.1 and an ephemeral port. It serves a single connection on
// its own thread: reads the request, then sends the reply segments (pausing between them, so
// they leave as separate TCP segments) and closes; or, when silent, holds the connection without
// a word until the client hangs up. Every wait is bounded, so it always stops by itself.
class TestServer
{
public:
    enum class Mode {
        Reply,
        Silent,
    };

    explicit TestServer(std::vector<std::string> segments, Mode mode = Mode::Reply,
                        std::chrono::milliseconds acceptLimit = 6000ms)
        : _segments(std::move(segments)), _mode(mode)
    {
        _listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        socklen_t length = sizeof(address);
        if (_listener < 0 ||
            bind(_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            listen(_listener, 1) != 0 ||
            getsockname(_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            return;
        }
        _port = ntohs(address.sin_port);
        _worker = std::thread([this, acceptLimit] { Serve(Clock::now() + acceptLimit); });
    }

    ~TestServer()
    {
        if (_worker.joinable()) {
            _worker.join();
        }
        if (_listener >= 0) {
            close(_listener);
        }
    }

    int Port() const { return _port; }

    // Waits for the server to end; what it saw is read afterwards.
    void Finish()
    {
        if (_worker.joinable()) {
            _worker.join();
        }
    }
    bool Accepted() const { return _accepted; }
    const std::string& Request() const { return _request; }

private:
    void Serve(Clock::time_point acceptEnd)
    {
        pollfd waiting{_listener, POLLIN, 0};
        if (poll(&waiting, 1, MillisecondsLeft(acceptEnd)) <= 0) {
            return;
        }
        const int client = accept(_listener, nullptr, nullptr);
        if (client < 0) {
            return;
        }
        _accepted = true;
        const int on = 1;
        setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));

        ReadRequest(client);
        if (_mode == Mode::Silent) {
            // Say nothing; end when the client gives up (or at the safety limit).
            char byte;
            pollfd peer{client, POLLIN, 0};
            while (poll(&peer, 1, 8000) > 0 && recv(client, &byte, 1, 0) > 0) {
            }
        } else {
            for (std::size_t i = 0; i < _segments.size(); ++i) {
                if (i > 0) {
                    std::this_thread::sleep_for(80ms);
                }
                send(client, _segments[i].data(), _segments[i].size(), MSG_NOSIGNAL);
            }
        }
        close(client);
    }

    // Everything the client sends up to the blank line, and whatever follows it soon after.
    void ReadRequest(int client)
    {
        const auto end = Clock::now() + 3s;
        char buffer[2048];
        for (;;) {
            const bool complete = _request.find("\r\n\r\n") != std::string::npos;
            pollfd peer{client, POLLIN, 0};
            const int wait = complete ? 150 : MillisecondsLeft(end);
            if (poll(&peer, 1, wait) <= 0) {
                return;
            }
            const ssize_t n = recv(client, buffer, sizeof(buffer), 0);
            if (n <= 0) {
                return;
            }
            _request.append(buffer, static_cast<std::size_t>(n));
        }
    }

    std::vector<std::string> _segments;
    Mode _mode;
    int _listener = -1;
    int _port = 0;
    bool _accepted = false;
    std::string _request;
    std::thread _worker;
};

// A port on 127.0.0.1 that nothing listens on.
int ClosedPort()
{
    const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    close(s);
    return ntohs(address.sin_port);
}

std::string ExpectedRequest(const std::string& host)
{
    char text[512];
    std::snprintf(text, sizeof(text), kExpectedRequest, host.c_str());
    return text;
}

std::string Log()
{
    Debug::DebugFlush();
    return testsupport::ReadFile("debug.txt");
}

int Count(const std::string& text, const std::string& part)
{
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

class WebUpdaterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Debug::SetProductVersion("1.131");
        Debug::SetProductNameShort("mahjong");
        Debug::SetProductDistributor("kebo");
        // Marker files raise the updater's log level to 2, so its detail lines are written.
        mkdir("debug", 0755);
        testsupport::WriteFile("debug/Profile.2", "");
        testsupport::WriteFile("debug/WebUpdater.1", "");
    }

    // Polls as the framework does at shut-down; the time it took to stop.
    static std::chrono::milliseconds WaitForStop(WebUpdater& updater)
    {
        const auto start = Clock::now();
        while (updater.IsRunning() && Clock::now() - start < 5000ms) {
            SDL_Delay(20);
        }
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    }
};

struct ReplyCase
{
    const char* name;
    std::vector<std::string> segments;
    bool connected;
    std::string response;
};

std::ostream& operator<<(std::ostream& out, const ReplyCase& c)
{
    return out << c.name;
}

const std::string kHeaders = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n";

std::vector<ReplyCase> ReplyCases()
{
    const std::string longMessage(900, 'x');
    // 199 letters, then a two-byte character that the length cap would cut in half.
    const std::string accented = std::string(199, 'a') + "\xC3\xA9" + "tail";
    // 1200 bytes of line ends push the "ok" marker past the reply buffer.
    std::string lineEnds;
    for (int i = 0; i < 600; ++i) {
        lineEnds += "\r\n";
    }
    return {
        {"Message", {kHeaders + "DGU:Version 1.2 is out"}, true, "Version 1.2 is out"},
        {"UpToDate", {kHeaders + "DGU*ok"}, true, ""},
        {"ServerError", {kHeaders + "DGU*err\r\n"}, true, ""},
        {"OkBesideAMessage", {kHeaders + "DGU:Version 2 DGU*ok"}, true, ""},
        {"NoMarker", {"HTTP/1.1 404 Not Found\r\n\r\nnothing here"}, true, ""},
        {"MarkerWithoutMessage", {kHeaders + "DGU:"}, true, ""},
        {"SeveralSegments",
         {kHeaders + "DG", "U:New ", "version today"},
         true,
         "New version today"},
        {"ControlCharactersDropped",
         {kHeaders + "DGU:Line one\r\nLine\ttwo\x07"},
         true,
         "Line oneLinetwo"},
        {"LongMessageCut",
         {kHeaders + "DGU:" + longMessage},
         true,
         std::string(WebUpdater::kMaxResponseLength, 'x')},
        {"CutBeforeAHalfCharacter", {kHeaders + "DGU:" + accented}, true, std::string(199, 'a')},
        {"OversizedReplyReadUpToTheBuffer",
         {kHeaders + "DGU:short" + lineEnds + "DGU*ok"},
         true,
         "short"},
        {"ClosedWithoutReply", {}, false, ""},
    };
}

class WebUpdaterReplyTest : public WebUpdaterTest, public ::testing::WithParamInterface<ReplyCase>
{
};

TEST_P(WebUpdaterReplyTest, ConnectedFlagAndResponseFollowTheReply)
{
    const ReplyCase& c = GetParam();
    TestServer server(c.segments);
    ASSERT_NE(server.Port(), 0);

    WebUpdater updater(nullptr, "127.0.0.1", server.Port());
    EXPECT_LT(WaitForStop(updater), 4500ms);
    ASSERT_FALSE(updater.IsRunning());
    server.Finish();

    EXPECT_EQ(server.Request(), ExpectedRequest("127.0.0.1"));
    EXPECT_EQ(updater._connected, c.connected);
    EXPECT_EQ(updater.GetUpdaterResponse(), c.response);

    const std::string log = Log();
    if (c.response.empty()) {
        EXPECT_EQ(log.find("WEB UPDATER GOT RESPONSE"), std::string::npos);
    } else {
        EXPECT_NE(log.find("WEB UPDATER GOT RESPONSE " + c.response), std::string::npos);
    }
    EXPECT_EQ(Count(log, "NOT CONNECTED TO INTERNET - "), c.connected ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Replies, WebUpdaterReplyTest, ::testing::ValuesIn(ReplyCases()),
                         [](const ::testing::TestParamInfo<ReplyCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(WebUpdaterTest, HostNameIsResolvedAndSentInTheHostHeader)
{
    // The name comes from the system's resolver: a bare chroot without "/etc/hosts" knows no
    // "localhost", and the lookup failing there says nothing about the updater.
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo("localhost", nullptr, &hints, &found) != 0) {
        GTEST_SKIP() << "this system resolves no \"localhost\"";
    }
    freeaddrinfo(found);
    TestServer server({kHeaders + "DGU*ok"});
    WebUpdater updater(nullptr, "localhost", server.Port());
    WaitForStop(updater);
    server.Finish();

    EXPECT_EQ(server.Request(), ExpectedRequest("localhost"));
    EXPECT_TRUE(updater._connected);
    const std::string log = Log();
    // The steps in their order.
    const auto init = log.find("Initializing Winsock library.");
    const auto create = log.find("Create socket.");
    const auto dns = log.find("Get DNS of host.");
    const auto connect = log.find("Connect to updater server.");
    ASSERT_NE(init, std::string::npos);
    EXPECT_LT(init, create);
    EXPECT_LT(create, dns);
    EXPECT_LT(dns, connect);
    EXPECT_NE(connect, std::string::npos);
}

TEST_F(WebUpdaterTest, ClosedPortIsNotConnectedAndStopsAtOnce)
{
    WebUpdater updater(nullptr, "127.0.0.1", ClosedPort());
    EXPECT_LT(WaitForStop(updater), 1000ms);
    ASSERT_FALSE(updater.IsRunning());

    EXPECT_FALSE(updater._connected);
    EXPECT_EQ(updater.GetUpdaterResponse(), "");
    const std::string log = Log();
    EXPECT_EQ(Count(log, "NOT CONNECTED TO INTERNET - "), 1);
    EXPECT_NE(log.find("NOT CONNECTED TO INTERNET - socket connect fail"), std::string::npos);
}

TEST_F(WebUpdaterTest, SilentServerTimesOutWellBeforeShutDownGivesUp)
{
    TestServer server({}, TestServer::Mode::Silent);
    WebUpdater updater(nullptr, "127.0.0.1", server.Port());
    const auto took = WaitForStop(updater);
    ASSERT_FALSE(updater.IsRunning());
    EXPECT_LT(took, 4500ms);
    server.Finish();

    EXPECT_TRUE(server.Accepted());
    EXPECT_FALSE(updater._connected);
    EXPECT_EQ(updater.GetUpdaterResponse(), "");
    EXPECT_EQ(Count(Log(), "NOT CONNECTED TO INTERNET - "), 1);
}

TEST_F(WebUpdaterTest, DeletingBeforeTheAnswerWaitsForTheBoundedWorker)
{
    TestServer server({}, TestServer::Mode::Silent);
    const auto start = Clock::now();
    delete new WebUpdater(nullptr, "127.0.0.1", server.Port());
    EXPECT_LT(Clock::now() - start, 4500ms);
    server.Finish();
    EXPECT_TRUE(server.Accepted());
}

// Lookups the tests answer themselves. Installed for a scope; every lookup still blocked is
// let go, and waited for, when the scope ends.
class FakeResolver
{
public:
    // answer: the address every name resolves to; empty: lookups never answer until let go.
    explicit FakeResolver(const char* answer)
    {
        State& state = Shared();
        const std::lock_guard<std::mutex> hold(state.mutex);
        state.answer = answer;
        state.asked.clear();
        state.released = false;
        TcpClient::SetLookup(&Lookup);
    }
    ~FakeResolver()
    {
        TcpClient::SetLookup(nullptr);
        LetGo();
    }
    // Releases the lookups that never answer and waits until each has returned.
    void LetGo()
    {
        State& state = Shared();
        std::unique_lock<std::mutex> hold(state.mutex);
        state.released = true;
        state.changed.notify_all();
        state.changed.wait_for(hold, 5s, [&] { return state.running == 0; });
    }
    std::vector<std::string> Asked()
    {
        const std::lock_guard<std::mutex> hold(Shared().mutex);
        return Shared().asked;
    }

private:
    struct State
    {
        std::mutex mutex;
        std::condition_variable changed;
        std::string answer;
        std::vector<std::string> asked;
        int running = 0;
        bool released = false;
    };
    static State& Shared()
    {
        static State state;
        return state;
    }
    static bool Lookup(const std::string& host, in_addr* address)
    {
        State& state = Shared();
        std::unique_lock<std::mutex> hold(state.mutex);
        state.asked.push_back(host);
        if (state.answer.empty()) {
            ++state.running;
            state.changed.wait(hold, [&] { return state.released; });
            --state.running;
            state.changed.notify_all();
            return false;
        }
        return inet_aton(state.answer.c_str(), address) != 0;
    }
};

// Threads of this process, as the system lists them.
int ThreadCount()
{
    int count = 0;
    if (DIR* tasks = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(tasks)) {
            count += entry->d_name[0] != '.' ? 1 : 0;
        }
        closedir(tasks);
    }
    return count;
}

TEST_F(WebUpdaterTest, NameLookupGoesThroughTheReplaceableResolver)
{
    FakeResolver resolver("127.0.0.1");
    TestServer server({kHeaders + "DGU:From the fake name"});
    WebUpdater updater(nullptr, "updates.invalid", server.Port());
    WaitForStop(updater);
    server.Finish();

    EXPECT_EQ(resolver.Asked(), std::vector<std::string>{"updates.invalid"});
    EXPECT_EQ(server.Request(), ExpectedRequest("updates.invalid"));
    EXPECT_TRUE(updater._connected);
    EXPECT_EQ(updater.GetUpdaterResponse(), "From the fake name");
}

// A resolver that never answers must not hold up shut-down: the check gives up at its one
// deadline, and only the abandoned lookup is left, holding nothing of the updater's.
TEST_F(WebUpdaterTest, ResolverThatNeverAnswersEndsTheCheckWithinItsDeadline)
{
    FakeResolver resolver("");
    const int threadsBefore = ThreadCount();
    const auto start = Clock::now();
    std::chrono::milliseconds took{};
    {
        WebUpdater updater(nullptr, "updates.invalid", WebUpdater::kDefaultPort);
        took = WaitForStop(updater);
        ASSERT_FALSE(updater.IsRunning());
        EXPECT_FALSE(updater._connected);
        EXPECT_EQ(updater.GetUpdaterResponse(), "");
    }
    EXPECT_LT(Clock::now() - start, 4000ms) << "deleting the updater waits for nothing more";
    EXPECT_GE(took, std::chrono::milliseconds(WebUpdater::kExchangeTimeoutMs - 100));
    EXPECT_LT(took, 4000ms);
    EXPECT_EQ(resolver.Asked(), std::vector<std::string>{"updates.invalid"});
    const std::string log = Log();
    EXPECT_NE(log.find("NOT CONNECTED TO INTERNET - DNS failure"), std::string::npos);
    EXPECT_EQ(log.find("Connect to updater server."), std::string::npos);
    EXPECT_EQ(ThreadCount(), threadsBefore + 1) << "the updater's own thread has ended";

    // Once the resolver answers at last, its helper ends too.
    resolver.LetGo();
    const auto letGo = Clock::now();
    while (ThreadCount() != threadsBefore && Clock::now() - letGo < 5s) {
        SDL_Delay(5);
    }
    EXPECT_EQ(ThreadCount(), threadsBefore);
}

TEST_F(WebUpdaterTest, OverlongRequestIsNeverSent)
{
    Debug::SetProductVersion(std::string(1000, '9'));
    TestServer server({kHeaders + "DGU:never"}, TestServer::Mode::Reply, 500ms);
    WebUpdater updater(nullptr, "127.0.0.1", server.Port());
    WaitForStop(updater);
    server.Finish();

    EXPECT_FALSE(server.Accepted());
    EXPECT_FALSE(updater._connected);
    EXPECT_EQ(updater.GetUpdaterResponse(), "");
    EXPECT_NE(Log().find("Update request longer than 999 bytes"), std::string::npos);
}

} // namespace
