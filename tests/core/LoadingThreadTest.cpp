#include "framework/core/LoadingThread.h"

#include "SDL.h"
#include "SDL_thread.h"
#include "framework/core/Framework.h"
#include "tests/support/TestSupport.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

using testsupport::Gate;

struct LoaderCall
{
    std::string loader;
    int mode;
    bool onThread;
    unsigned int threadId;
};

// A game-like framework whose loaders note each call and answer with a value that tells the
// loader (and the mode) apart.
class RecordingFramework : public Framework
{
public:
    static constexpr int kMenuResult = 11;
    static constexpr int kGameResult = 22;
    static int OtherResult(int mode) { return 1000 + mode; }

    int LoadMenuResources(bool onThread) override
    {
        return Record("menu", LoadingThread::kMenuResources, onThread, kMenuResult);
    }
    int LoadGameResources(bool onThread) override
    {
        return Record("game", LoadingThread::kGameResources, onThread, kGameResult);
    }
    int LoadOtherResources(int mode, bool onThread) override
    {
        return Record("other", mode, onThread, OtherResult(mode));
    }

    std::vector<LoaderCall> Calls()
    {
        const std::lock_guard<std::mutex> hold(_mutex);
        return _calls;
    }
    void ClearCalls()
    {
        const std::lock_guard<std::mutex> hold(_mutex);
        _calls.clear();
    }

    Gate gate{true}; // holds a loader once closed
    std::atomic<bool> loaderEntered{false};
    std::atomic<bool> loaderDone{false};

private:
    int Record(const char* loader, int mode, bool onThread, int result)
    {
        loaderEntered = true;
        {
            const std::lock_guard<std::mutex> hold(_mutex);
            _calls.push_back({loader, mode, onThread, SDL_ThreadID()});
        }
        gate.WaitOpen();
        loaderDone = true;
        return result;
    }

    std::mutex _mutex;
    std::vector<LoaderCall> _calls;
};

using testsupport::WaitUntilFinished;
using testsupport::WaitUntilStopped;

bool WaitUntil(const std::atomic<bool>& flag)
{
    const auto end = std::chrono::steady_clock::now() + 5s;
    while (!flag && std::chrono::steady_clock::now() < end) {
        SDL_Delay(1);
    }
    return flag;
}

bool LogHas(const std::string& text)
{
    return testsupport::ReadLog().find(text) != std::string::npos;
}

class LoadingThreadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testsupport::WriteFile("game.cfg", "[game]\nallowwebupdater=0\n"));
        app = std::make_unique<RecordingFramework>();
    }

    std::unique_ptr<RecordingFramework> app;
};

TEST_F(LoadingThreadTest, EachModeCallsItsLoaderOnTheWorkerAndIsReapedOnceFinished)
{
    struct Case
    {
        int mode;
        const char* loader;
        int result;
    };
    const Case cases[] = {
        {1, "menu", RecordingFramework::kMenuResult},
        {2, "game", RecordingFramework::kGameResult},
        {100, "other", RecordingFramework::OtherResult(100)},
        {257, "other", RecordingFramework::OtherResult(257)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode));
        app->ClearCalls();
        auto* thread = new LoadingThread(app.get(), c.mode);
        EXPECT_EQ(thread->GetParent(), app.get());
        ASSERT_NE(thread->GetThread(), nullptr);

        ASSERT_TRUE(WaitUntilStopped(*thread));
        EXPECT_EQ(thread->GetReturnValue(), c.result);
        const std::vector<LoaderCall> calls = app->Calls();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].loader, c.loader);
        EXPECT_EQ(calls[0].mode, c.mode);
        EXPECT_TRUE(calls[0].onThread);
        EXPECT_EQ(calls[0].threadId, thread->GetThreadID());
        EXPECT_NE(calls[0].threadId, SDL_ThreadID());

        // Once the worker has ended its SDL handle is released, and the object may go.
        ASSERT_TRUE(WaitUntilFinished(*thread));
        EXPECT_TRUE(thread->Reap());
        EXPECT_EQ(thread->GetThread(), nullptr);
        EXPECT_TRUE(Thread::DeleteIfFinished(thread));
    }
    EXPECT_FALSE(LogHas("still"));
}

TEST_F(LoadingThreadTest, ModesWithoutALoaderReturnZeroAndStop)
{
    for (const int mode : {0, 3, 99, -1}) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        auto* thread = new LoadingThread(app.get(), mode);
        ASSERT_TRUE(WaitUntilStopped(*thread));
        EXPECT_EQ(thread->GetReturnValue(), 0);
        ASSERT_TRUE(WaitUntilFinished(*thread));
        EXPECT_TRUE(Thread::DeleteIfFinished(thread));
    }
    EXPECT_TRUE(app->Calls().empty());
}

TEST_F(LoadingThreadTest, TheResultAppearsOnlyOnceTheThreadHasStopped)
{
    app->gate.Close();
    auto* thread = new LoadingThread(app.get(), LoadingThread::kMenuResources);
    ASSERT_TRUE(WaitUntil(app->loaderEntered));
    EXPECT_TRUE(thread->IsRunning());
    EXPECT_EQ(thread->GetReturnValue(), 0);

    // An owner that gives up early must not free it under the loader: it is left alive.
    EXPECT_FALSE(Thread::DeleteIfFinished(thread));
    EXPECT_TRUE(LogHas("Thread still working"));
    EXPECT_FALSE(app->loaderDone);

    app->gate.Open();
    ASSERT_TRUE(WaitUntilStopped(*thread));
    EXPECT_EQ(thread->GetReturnValue(), RecordingFramework::kMenuResult);
    ASSERT_TRUE(WaitUntilFinished(*thread));
    EXPECT_TRUE(Thread::DeleteIfFinished(thread));
}

TEST_F(LoadingThreadTest, DeletingItWhileItsLoaderRunsWaitsForTheLoader)
{
    app->gate.Close();
    auto* thread = new LoadingThread(app.get(), LoadingThread::kGameResources);
    ASSERT_TRUE(WaitUntil(app->loaderEntered));

    std::thread opener([this] {
        std::this_thread::sleep_for(150ms);
        app->gate.Open();
    });
    delete thread;
    EXPECT_TRUE(app->loaderDone);
    opener.join();
    EXPECT_TRUE(LogHas("Thread deleted while its worker still runs"));
}

TEST_F(LoadingThreadTest, WithoutAFrameworkItLoadsNothingAndSaysSo)
{
    auto* thread = new LoadingThread(nullptr, LoadingThread::kMenuResources);
    ASSERT_TRUE(WaitUntilStopped(*thread));
    EXPECT_EQ(thread->GetReturnValue(), 0);
    ASSERT_TRUE(WaitUntilFinished(*thread));
    EXPECT_TRUE(Thread::DeleteIfFinished(thread));
    EXPECT_TRUE(LogHas("Loading thread (mode 1) has no framework to load through"));
}

} // namespace
