#pragma once

#include "framework/core/Export.h"
#include "framework/core/MessageHandler.h"

#include <atomic>
#include <cstdint>

struct SDL_Thread;

// One piece of work on an SDL worker thread. Threads are cooperative: Stop, Pause and Resume
// only set flags and call the hooks; owners poll IsRunning. The main thread reads a thread's
// results only after IsRunning has turned false, and frees a thread object only once its worker
// has ended (IsFinished; DeleteIfFinished does both).
class FRAMEWORK_API Thread : public MessageHandler
{
protected:
    // Hooks, called on the thread that calls Start, Stop, Pause or Resume (Stop also on the
    // worker when it ends by itself). Empty by default.
    virtual void OnStart();
    virtual void OnStop();
    virtual void OnPause();
    virtual void OnResume();

public:
    Thread();
    // The parent (usually the framework) is told of the new child at once.
    explicit Thread(MessageHandler* parent);
    // Clears the running flag through the base OnStop hook. A worker that still runs is waited
    // for (after an error line), since it would otherwise run on freed memory; a finished one is
    // reaped.
    ~Thread() override;

    // Null until started, and again once the worker was reaped.
    virtual SDL_Thread* GetThread();
    virtual unsigned int GetThreadID();
    // Clears the running flag and calls OnStop; the worker is not touched.
    virtual void Stop();
    // Sets the paused flag and calls OnPause; the worker is not touched.
    virtual void Pause();
    // Clears the paused flag and calls OnResume.
    virtual void Resume();
    virtual bool IsPaused();
    virtual bool IsRunning();
    virtual int GetReturnValue();
    // The work, on the worker thread. Implementations store their result as the return value
    // before they return; the default stores and returns 0.
    virtual int OnExecute();

    // Marks the thread running, calls OnStart and starts a worker that runs OnExecute. Refused
    // (with an error line) while an earlier worker of this object still runs.
    void Start();
    // True when no worker was started or the worker has left OnExecute: the object may be
    // deleted (the destructor waits for the worker's last few steps).
    bool IsFinished() const;
    // Waits for a worker that has left OnExecute and releases its SDL handle; false, without
    // waiting, while the worker is still in OnExecute.
    bool Reap();

    // Deletes a thread whose worker has ended and returns true. A thread whose worker still
    // runs is logged and left alive (it is leaked rather than freed under its worker); false.
    static bool DeleteIfFinished(Thread* thread);

protected:
    // Runs on the worker: OnExecute, then Stop when the thread is still marked running.
    static int ThreadFunction(void* thread);
    // OnExecute stores its result here, before the worker clears the running flag.
    void SetReturnValue(int value);
    // Blocks until the worker has ended and reaps it; an error line first when it is still in
    // OnExecute. Leaf classes whose OnExecute uses their own members call it first thing in
    // their destructor, before those members go.
    void WaitForWorker();

private:
    enum WorkerState : int {
        kNoWorker = 0,  // never started, or the worker has ended
        kExecuting = 1, // created, running OnExecute
        kEnding = 2,    // left OnExecute; only the running flag and hooks are left to touch
    };

    SDL_Thread* _thread = nullptr; // owned SDL handle; released by Reap
    unsigned int _threadId = 0;
    // Plain flags in spirit, atomic so the worker's writes are seen by the main thread in order.
    std::atomic<bool> _running{false};
    std::atomic<bool> _paused{false};
    std::atomic<int> _returnValue{0};
    std::atomic<int> _workerState{kNoWorker};
};
