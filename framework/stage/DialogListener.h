#pragma once

#include "framework/core/Export.h"

// Hears what happens in a dialog. Each report goes first to the dialog's own listener part,
// then to the dialog's user listener; every call carries the dialog's id first.
class FRAMEWORK_API DialogListener
{
public:
    DialogListener() = default;
    virtual ~DialogListener();

    // The dialog's time limit ran out; the dialog is being closed.
    virtual void DialogTimesUp(int dialogId);
    // A button item closed or acted on the dialog; `how` tells which path reported it.
    virtual void DialogButtonClicked(int dialogId, int itemId, int how);
    // A check box, radio button or slider item reports its value and state.
    virtual void DialogItemSet(int dialogId, int itemId, int value, bool state);
    // The stage let go of the dialog.
    virtual void DialogDetached(int dialogId);
};
