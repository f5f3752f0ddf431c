#include "tests/support/LogListener.h"

namespace testsupport {

namespace {

std::string Args(int a, int b, int c)
{
    return std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(c);
}

} // namespace

void LogListener::DialogTimesUp(int dialogId)
{
    _log->push_back("user timesup " + std::to_string(dialogId));
}

void LogListener::DialogButtonClicked(int dialogId, int itemId, int how)
{
    _log->push_back("user clicked " + Args(dialogId, itemId, how));
}

void LogListener::DialogItemSet(int dialogId, int itemId, int value, bool state)
{
    _log->push_back("user set " + Args(dialogId, itemId, value) + (state ? " 1" : " 0"));
}

void LogListener::DialogDetached(int dialogId)
{
    _log->push_back("user detached " + std::to_string(dialogId));
}

} // namespace testsupport
