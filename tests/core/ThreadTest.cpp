#include "framework/core/Thread.h"

#include "SDL.h"
#include "SDL_thread.h"
#include "tests/support/TestSupport.h"

#include <atomic>
#include <chrono>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

std::atomic<int>& ReapCount()
{
    static std::atomic<int> count{0};
    return count;
}

} // namespace

// Link seam: the library's calls to SDL_WaitThread land here first, so the tests can see that a
// finished worker is reaped, and reaped once. Forwards to SDL.
extern "C" void SDL_WaitThread(SDL_Thread* thread, int* status)
{
    using WaitThread = void (*)(SDL_Thread*, int*);
    static const auto real = reinterpret_cast<WaitThread>(dlsym(RTLD_NEXT, "SDL_WaitThread"));
    ReapCount()++;
    real(thread, status);
}

namespace {

using testsupport::Gate;

// What a worker and its hooks did. Kept outside the thread object, which may be gone first.
struct Record
{
    Gate gate{false}; // holds the worker inside OnExecute until opened
    std::atomic<int> starts{0};
    std::atomic<int> stops{0};
    std::atomic<int> pauses{0};
    std::atomic<int> resumes{0};
    std::atomic<int> executions{0};
    std::atomic<bool> workDone{false};
    std::atomic<unsigned int> workerId{0};
};

class RecordingThread : public Thread
{
public:
    explicit RecordingThread(Record& record, MessageHandler* parent = nullptr)
        : Thread(parent), _record(&record)
    {}

    int OnExecute() override
    {
        Record* record = _record; // the object may be in its destructor while we wait
        record->executions++;
        record->workerId = SDL_ThreadID();
        record->gate.WaitOpen();
        SetReturnValue(42);
        record->workDone = true;
        return 42;
    }

protected:
    void OnStart() override { _record->starts++; }
    void OnStop() override { _record->stops++; }
    void OnPause() override { _record->pauses++; }
    void OnResume() override { _record->resumes++; }

private:
    Record* _record;
};

using testsupport::WaitUntilFinished;
using testsupport::WaitUntilStopped;

std::string Log()
{
    Debug::DebugFlush();
    return testsupport::ReadFile("debug.txt");
}

class Parent : public MessageHandler
{
public:
    void OnAddChild(MessageHandler* child) override { added = child; }
    void OnRemoveChild(MessageHandler* child) override { removed = child; }
    MessageHandler* added = nullptr;
    MessageHandler* removed = nullptr;
};

TEST(ThreadTest, NewThreadIsIdleUntilStarted)
{
    Record record;
    Parent parent;
    auto* thread = new RecordingThread(record, &parent);
    const MessageHandler* address = thread;
    EXPECT_EQ(parent.added, thread);
    EXPECT_FALSE(thread->IsRunning());
    EXPECT_FALSE(thread->IsPaused());
    EXPECT_EQ(thread->GetReturnValue(), 0);
    EXPECT_EQ(thread->GetThread(), nullptr);
    EXPECT_EQ(thread->GetThreadID(), 0u);
    EXPECT_TRUE(thread->IsFinished());
    EXPECT_EQ(record.executions, 0);

    EXPECT_TRUE(Thread::DeleteIfFinished(thread));
    EXPECT_EQ(parent.removed, address);
    EXPECT_EQ(record.stops, 0);
}

TEST(ThreadTest, WorkerRunsOnItsOwnThreadStoresResultAndStopsItself)
{
    Record record;
    RecordingThread thread(record);
    thread.Start();
    EXPECT_TRUE(thread.IsRunning());
    EXPECT_EQ(record.starts, 1);
    ASSERT_NE(thread.GetThread(), nullptr);
    EXPECT_NE(thread.GetThreadID(), 0u);
    EXPECT_NE(thread.GetThreadID(), SDL_ThreadID());

    record.gate.Open();
    ASSERT_TRUE(WaitUntilStopped(thread));
    EXPECT_EQ(thread.GetReturnValue(), 42);
    EXPECT_EQ(record.executions, 1);
    EXPECT_EQ(record.workerId.load(), thread.GetThreadID());
    // The worker's own Stop at the end of its work.
    EXPECT_EQ(record.stops, 1);

    ASSERT_TRUE(WaitUntilFinished(thread));
    EXPECT_EQ(ReapCount(), 0);
    EXPECT_TRUE(thread.Reap());
    EXPECT_EQ(ReapCount(), 1);
    EXPECT_EQ(thread.GetThread(), nullptr);
    // Reaped once only: neither a second Reap nor the destructor waits again.
    EXPECT_TRUE(thread.Reap());
    EXPECT_EQ(ReapCount(), 1);
}

TEST(ThreadTest, DefaultWorkReturnsZeroAndTheFinishedThreadIsDeleted)
{
    auto* thread = new Thread();
    thread->Start();
    ASSERT_TRUE(WaitUntilStopped(*thread));
    EXPECT_EQ(thread->GetReturnValue(), 0);
    ASSERT_TRUE(WaitUntilFinished(*thread));
    EXPECT_TRUE(Thread::DeleteIfFinished(thread));
    EXPECT_EQ(ReapCount(), 1);
    EXPECT_EQ(Log().find("still"), std::string::npos);
}

TEST(ThreadTest, StopClearsTheFlagAtOnceWhileTheWorkerGoesOn)
{
    Record record;
    auto* thread = new RecordingThread(record);
    thread->Start();
    thread->Stop();
    EXPECT_FALSE(thread->IsRunning());
    EXPECT_EQ(record.stops, 1);
    EXPECT_FALSE(thread->IsFinished());
    EXPECT_FALSE(thread->Reap());

    // The owner must not free it under its worker: it is left alive, with an error line.
    EXPECT_FALSE(Thread::DeleteIfFinished(thread));
    EXPECT_NE(Log().find("Thread still working"), std::string::npos);
    EXPECT_FALSE(record.workDone);
    EXPECT_EQ(ReapCount(), 0);

    record.gate.Open();
    ASSERT_TRUE(WaitUntilFinished(*thread));
    EXPECT_TRUE(record.workDone);
    EXPECT_EQ(thread->GetReturnValue(), 42);
    // Already stopped: the worker does not stop it a second time.
    EXPECT_EQ(record.stops, 1);
    EXPECT_TRUE(Thread::DeleteIfFinished(thread));
}

TEST(ThreadTest, PauseAndResumeOnlySetTheFlagAndCallTheHooks)
{
    Record record;
    RecordingThread thread(record);
    thread.Pause();
    EXPECT_TRUE(thread.IsPaused());
    // Start leaves the paused flag alone, and a paused worker still works.
    thread.Start();
    EXPECT_TRUE(thread.IsPaused());
    record.gate.Open();
    ASSERT_TRUE(WaitUntilStopped(thread));
    EXPECT_TRUE(record.workDone);
    EXPECT_TRUE(thread.IsPaused());

    thread.Resume();
    EXPECT_FALSE(thread.IsPaused());
    EXPECT_EQ(record.pauses, 1);
    EXPECT_EQ(record.resumes, 1);
}

TEST(ThreadTest, StartIsRefusedWhileTheWorkerRunsAndRestartsAfterwards)
{
    Record record;
    RecordingThread thread(record);
    thread.Start();
    const unsigned int firstId = thread.GetThreadID();
    thread.Start();
    EXPECT_EQ(record.starts, 1);
    EXPECT_EQ(thread.GetThreadID(), firstId);
    EXPECT_NE(Log().find("Thread started again while its worker still runs"), std::string::npos);

    record.gate.Open();
    ASSERT_TRUE(WaitUntilStopped(thread));
    ASSERT_TRUE(WaitUntilFinished(thread));
    EXPECT_EQ(thread.GetReturnValue(), 42);

    // A second run reaps the first worker and clears the result until the new work sets it.
    record.gate.Close();
    thread.Start();
    EXPECT_EQ(ReapCount(), 1);
    EXPECT_EQ(record.starts, 2);
    EXPECT_TRUE(thread.IsRunning());
    EXPECT_EQ(thread.GetReturnValue(), 0);
    record.gate.Open();
    ASSERT_TRUE(WaitUntilStopped(thread));
    EXPECT_EQ(thread.GetReturnValue(), 42);
    EXPECT_EQ(record.executions, 2);
}

TEST(ThreadTest, DeletingARunningThreadCallsOnlyTheBaseStopHookAndWaitsForTheWorker)
{
    Record record;
    auto* thread = new RecordingThread(record);
    thread->Start();
    // Deleted while inside its work, not before the worker got there.
    const auto end = std::chrono::steady_clock::now() + 5s;
    while (record.executions == 0 && std::chrono::steady_clock::now() < end) {
        SDL_Delay(1);
    }
    ASSERT_EQ(record.executions, 1);

    std::thread opener([&record] {
        std::this_thread::sleep_for(150ms);
        record.gate.Open();
    });
    delete thread;
    // The worker ended before the object was freed, and the override never ran.
    EXPECT_TRUE(record.workDone);
    EXPECT_EQ(record.stops, 0);
    opener.join();
    EXPECT_NE(Log().find("Thread deleted while its worker still runs"), std::string::npos);
}

} // namespace
