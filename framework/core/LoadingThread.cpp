#include "framework/core/LoadingThread.h"

#include "framework/core/Framework.h"

LoadingThread::LoadingThread(Framework* framework, int mode) : Thread(framework), _mode(mode)
{
    SetName("LoadingThread");
    Start();
}

LoadingThread::~LoadingThread()
{
    WaitForWorker();
}

int LoadingThread::OnExecute()
{
    int result = 0;
    // Asked through the parent, which may be null or changed since: only a framework has loaders.
    Framework* framework = dynamic_cast<Framework*>(GetParent());
    if (framework == nullptr) {
        DebugVar(-1, "Loading thread (mode %d) has no framework to load through", _mode);
    } else if (_mode == kMenuResources) {
        result = framework->LoadMenuResources(true);
    } else if (_mode == kGameResources) {
        result = framework->LoadGameResources(true);
    } else if (_mode >= kOtherResources) {
        result = framework->LoadOtherResources(_mode, true);
    }
    SetReturnValue(result);
    return result;
}
