#pragma once

#include "framework/core/Export.h"
#include "framework/dialogs/CastMemberDialogResizable.h"

class Cast;
class ConfigFileHighDetailDialog;
class DialogAttributes;
class DialogListener;

// The notice that explains the high-detail setting: a text and an OK button (id 1, closes with
// exit code 1). The options dialog opens it nested over itself; the opener calls Init with a
// high-detail description and the section "dialog", then shows it.
class FRAMEWORK_API HighDetailDialog : public CastMemberDialogResizable
{
public:
    // Its id when the options dialog opens it.
    static constexpr int kDialogId = 6;

    // The description is not owned and must outlive the dialog.
    HighDetailDialog(ConfigFileHighDetailDialog* description, Cast* cast, int id,
                     DialogAttributes* attributes, DialogListener* listener);
    ~HighDetailDialog() override;

private:
    ConfigFileHighDetailDialog* _description; // not owned
};
