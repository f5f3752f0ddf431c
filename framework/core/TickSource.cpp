#include "framework/core/TickSource.h"

#include "SDL.h"

#include <atomic>

namespace {

std::atomic<TickSource::Reader>& Slot()
{
    static std::atomic<TickSource::Reader> reader{nullptr};
    return reader;
}

} // namespace

unsigned int TickSource::Now()
{
    const Reader reader = Slot().load();
    return reader != nullptr ? reader() : SDL_GetTicks();
}

void TickSource::Set(Reader reader)
{
    Slot().store(reader);
}

TickSource::Reader TickSource::Get()
{
    return Slot().load();
}
