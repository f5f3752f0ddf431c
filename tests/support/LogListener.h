#pragma once

#include "framework/stage/DialogListener.h"

#include <string>
#include <vector>

namespace testsupport {

using Log = std::vector<std::string>;

// A user listener that writes each dialog report as one line: "user timesup D",
// "user clicked D ITEM HOW", "user set D ITEM VALUE STATE", "user detached D".
class LogListener : public DialogListener
{
public:
    explicit LogListener(Log* log) : _log(log) {}
    void DialogTimesUp(int dialogId) override;
    void DialogButtonClicked(int dialogId, int itemId, int how) override;
    void DialogItemSet(int dialogId, int itemId, int value, bool state) override;
    void DialogDetached(int dialogId) override;

private:
    Log* _log; // not owned
};

} // namespace testsupport
