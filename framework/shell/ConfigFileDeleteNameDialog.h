#pragma once

#include "framework/core/ConfigFile.h"
#include "framework/core/Export.h"
#include "framework/dialogs/ControlButton.h"
#include "framework/dialogs/ControlLabel.h"
#include "framework/dialogs/ControlTextBox.h"

#include <string>

// The description of the delete question ("cfg/ddelname.cfg"): the explaining text
// ("bodytext"), the question ("deletetext", to which the player's name is added) and the Yes and
// No buttons ("yesbutton", "nobutton"), read once. The controls point at the items of the
// dialog they were last added to.
class FRAMEWORK_API ConfigFileDeleteNameDialog : public ConfigFile
{
public:
    ConfigFileDeleteNameDialog(const std::string& file, ConfigFile* parent, bool yieldWhileLoading);
    ~ConfigFileDeleteNameDialog() override;

    ControlTextBox _bodyText;
    ControlLabel _deleteText;
    ControlButton _yesButton;
    ControlButton _noButton;
};
