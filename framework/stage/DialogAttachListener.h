#pragma once

#include "framework/core/Export.h"

class CastMemberDialog;

// Hears when the stage attaches or lets go of a dialog, primary or nested.
class FRAMEWORK_API DialogAttachListener
{
public:
    DialogAttachListener() = default;
    virtual ~DialogAttachListener();

    // Called after the dialog was stored on the stage.
    virtual void DialogAttached(CastMemberDialog* dialog, int dialogId, bool nested);
    // Called after the stage let go of the dialog; the dialog itself is not deleted.
    virtual void DialogDetached(CastMemberDialog* dialog, int dialogId, bool nested);
};
