#include "framework/core/Thread.h"

#include "SDL.h"
#include "SDL_thread.h"
#include "framework/core/IdleWake.h"

Thread::Thread()
{
    SetName("Thread");
}

Thread::Thread(MessageHandler* parent) : MessageHandler(parent)
{
    SetName("Thread");
}

Thread::~Thread()
{
    if (_running) {
        _running = false;
        // Only the base hook: the derived parts are already gone.
        Thread::OnStop();
    }
    WaitForWorker();
}

void Thread::OnStart() {}

void Thread::OnStop() {}

void Thread::OnPause() {}

void Thread::OnResume() {}

SDL_Thread* Thread::GetThread()
{
    return _thread;
}

unsigned int Thread::GetThreadID()
{
    return _threadId;
}

void Thread::Stop()
{
    _running = false;
    OnStop();
}

void Thread::Pause()
{
    _paused = true;
    OnPause();
}

void Thread::Resume()
{
    _paused = false;
    OnResume();
}

bool Thread::IsPaused()
{
    return _paused;
}

bool Thread::IsRunning()
{
    return _running;
}

int Thread::GetReturnValue()
{
    return _returnValue;
}

int Thread::OnExecute()
{
    SetReturnValue(0);
    return 0;
}

void Thread::Start()
{
    if (_workerState == kExecuting) {
        DebugVar(-1, "Thread started again while its worker still runs; ignored");
        return;
    }
    Reap();

    _running = true;
    _returnValue = 0;
    OnStart();
    // Marked before the worker exists: it may finish before SDL_CreateThread returns.
    _workerState = kExecuting;
    _thread = SDL_CreateThread(Thread::ThreadFunction, this);
    if (_thread == nullptr) {
        _workerState = kNoWorker;
        // No worker will ever clear the flag, and owners poll it.
        _running = false;
        DebugVar(-1, "Could not create a thread: %s", SDL_GetError());
        return;
    }
    _threadId = SDL_GetThreadID(_thread);
}

bool Thread::IsFinished() const
{
    return _workerState != kExecuting;
}

bool Thread::Reap()
{
    if (_workerState == kExecuting) {
        return false;
    }
    if (_thread != nullptr) {
        // At most the worker's last few steps are left, so this returns at once.
        SDL_WaitThread(_thread, nullptr);
        _thread = nullptr;
    }
    return true;
}

bool Thread::DeleteIfFinished(Thread* thread)
{
    if (thread == nullptr) {
        return true;
    }
    if (!thread->IsFinished()) {
        thread->DebugVar(-1, "Thread still working; the object is left alive rather than freed "
                             "under its worker");
        return false;
    }
    delete thread;
    return true;
}

int Thread::ThreadFunction(void* thread)
{
    Thread* self = static_cast<Thread*>(thread);
    const int result = self->OnExecute();
    self->_workerState = kEnding;
    if (self->IsRunning()) {
        self->Stop();
    }
    // Last touch of the object: from here on the owner may delete it.
    self->_workerState = kNoWorker;
    // The owner polls for the end once per frame: an idle frame loop looks now, not after its
    // sleep.
    IdleWake::Wake();
    return result;
}

void Thread::SetReturnValue(int value)
{
    _returnValue = value;
}

void Thread::WaitForWorker()
{
    if (_thread == nullptr) {
        return;
    }
    if (SDL_ThreadID() == _threadId) {
        // Deleted from its own worker: waiting would never end, and SDL keeps the handle.
        return;
    }
    if (_workerState == kExecuting) {
        DebugVar(-1, "Thread deleted while its worker still runs; waiting for it");
    }
    SDL_WaitThread(_thread, nullptr);
    _thread = nullptr;
    _workerState = kNoWorker;
}
