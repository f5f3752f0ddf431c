#pragma once

#include "framework/core/Export.h"
#include "framework/core/Thread.h"

class Framework;

// Loads one group of resources through the framework's loaders on a worker thread, started at
// once, while the main thread keeps animating. The owner polls IsRunning, reads GetReturnValue
// (the loader's result) once it has turned false, and frees the object with
// Thread::DeleteIfFinished.
class FRAMEWORK_API LoadingThread final : public Thread
{
public:
    static constexpr int kMenuResources = 1;
    static constexpr int kGameResources = 2;
    // This mode and every one above go to LoadOtherResources with the mode (the game uses 100
    // for its per-puzzle scenes).
    static constexpr int kOtherResources = 100;

    // The framework becomes the parent and gives the loaders; the work starts at once.
    LoadingThread(Framework* framework, int mode);
    // Waits for the worker if it still runs: it reads this object until it ends.
    ~LoadingThread() override;

    // On the worker: the loader for the mode, told that it runs on a worker thread. Stores and
    // returns its result; 0 for a mode without a loader.
    int OnExecute() override;

private:
    const int _mode;
};
