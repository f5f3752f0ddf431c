#include "framework/core/Application.h"
#include "framework/core/ConfigFile.h"
#include "mahjong/app/Mahjong.h"
#include "mahjong/app/MjInstanceLock.h"

#include <cstdlib>
#include <new>
#include <string>
#ifdef __GLIBC__
#include <malloc.h>
#endif

int main(int argc, char** argv)
{
#ifdef __GLIBC__
    // Pictures are large and come and go with the screens: each one gets its own mapping, handed
    // back to the system when it is freed. Left to itself glibc raises this bound to the size of
    // every mapping freed, after which the next screen's pictures fill holes in the heap that
    // stay resident for the rest of the run.
    constexpr int kOwnMappingBytes = 128 * 1024;
    mallopt(M_MMAP_THRESHOLD, kOwnMappingBytes);
#endif
    ConfigFile::TurnEncryption(true);

    std::string message;
    const MjInstanceLock::Result lock = MjInstanceLock::Acquire("", &message);
    if (lock != MjInstanceLock::kAcquired) {
        MjInstanceLock::Refuse("", message);
        std::exit(MjInstanceLock::ExitCode(lock));
    }

    Mahjong* app = new (std::nothrow) Mahjong();
    const int rc = Application::Execute(argc, argv);
    delete app;
    std::exit(rc);
}
