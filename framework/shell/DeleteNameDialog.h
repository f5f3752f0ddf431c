#pragma once

#include "framework/core/Export.h"
#include "framework/dialogs/CastMemberDialogResizable.h"

#include <string>

class Cast;
class ConfigFileDeleteNameDialog;
class DialogAttributes;
class DialogListener;

// The question before a player is deleted: an explaining text, "<question> <name>?", Yes
// (id 1, exit code 1) and No (id 2, exit code 2). The play-as dialog opens it nested over
// itself and hears the answer; the opener calls Init with the description and "dialog".
class FRAMEWORK_API DeleteNameDialog : public CastMemberDialogResizable
{
public:
    // Its id when the play-as dialog opens it.
    static constexpr int kDialogId = 3;

    // The description is not owned and must outlive the dialog.
    DeleteNameDialog(ConfigFileDeleteNameDialog* description, Cast* cast, int id,
                     DialogAttributes* attributes, const std::string& name,
                     DialogListener* listener);
    ~DeleteNameDialog() override;

private:
    ConfigFileDeleteNameDialog* _description; // not owned
};
