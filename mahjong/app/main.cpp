#include "framework/core/Application.h"
#include "framework/core/ConfigFile.h"
#include "mahjong/app/Mahjong.h"
#include "mahjong/app/MjInstanceLock.h"

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

int main(int argc, char** argv)
{
    ConfigFile::TurnEncryption(true);

    std::string message;
    const MjInstanceLock::Result lock = MjInstanceLock::Acquire("", &message);
    if (lock != MjInstanceLock::kAcquired) {
        std::fprintf(stderr, "%s\n", message.c_str());
        std::exit(MjInstanceLock::ExitCode(lock));
    }

    Mahjong* app = new (std::nothrow) Mahjong();
    const int rc = Application::Execute(argc, argv);
    delete app;
    std::exit(rc);
}
