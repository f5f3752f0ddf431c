#pragma once

#include "framework/core/ConfigFile.h"
#include "framework/core/Export.h"
#include "framework/dialogs/ControlButton.h"
#include "framework/dialogs/ControlTextBox.h"

#include <string>

// The description of the high-detail notice ("cfg/dhighdetail.cfg"): the explaining text
// ("bodytext") and the OK button ("okbutton"), read once; the section "dialog" gives the frame.
// The controls point at the items of the dialog they were last added to.
class FRAMEWORK_API ConfigFileHighDetailDialog : public ConfigFile
{
public:
    ConfigFileHighDetailDialog(const std::string& file, ConfigFile* parent, bool yieldWhileLoading);
    ~ConfigFileHighDetailDialog() override;

    ControlTextBox _bodyText;
    ControlButton _okButton;
};
