#include "framework/core/LogFile.h"

#include "SDL.h"

#include <cstdio>

namespace {
const char kLineEnd[] = "\r\n";
const char kErrorMarker[] = "***ERROR***";
} // namespace

LogFile::LogFile(const std::string& name, bool keepOld) : File(name)
{
    // Without SDL_Init the tick count is wall-clock time; starting the timer here makes the stamps
    // count from the first log line instead. SDL_Init later keeps this start.
    SDL_InitSubSystem(0);
    if (!keepOld) {
        OpenW();
        Close();
    }
    OpenA();
}

LogFile::~LogFile()
{
    Close();
}

void LogFile::OutLine(const std::string& text)
{
    WriteTime();
    Write(text, -1);
    Write(kLineEnd, -1);
}

void LogFile::ErrLine(const std::string& text)
{
    Write(kErrorMarker, -1);
    Write(kLineEnd, -1);
    Write(kErrorMarker, -1);
    WriteTime();
    Write(text, -1);
    Write(kLineEnd, -1);
    Write(kErrorMarker, -1);
    Write(kLineEnd, -1);
    Flush();
}

void LogFile::WriteTime()
{
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%10d: ", static_cast<int>(SDL_GetTicks()));
    Write(stamp, -1);
}
