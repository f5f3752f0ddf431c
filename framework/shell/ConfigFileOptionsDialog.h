#pragma once

#include "framework/core/ConfigFile.h"
#include "framework/core/Export.h"
#include "framework/dialogs/ControlButton.h"
#include "framework/dialogs/ControlCheckBox.h"
#include "framework/dialogs/ControlSlider.h"

#include <string>

// The description of the options dialog ("cfg/doptions.cfg"): the sounds and music sliders, the
// full-screen check box, the OK button and, when "highdetail"/"use" offers it, the high-detail
// check box with its more-info button; read once. The labels ("optionslabel", "musiclabel",
// "soundslabel") are read by each dialog itself. The controls point at the items of the dialog
// they were last added to.
class FRAMEWORK_API ConfigFileOptionsDialog : public ConfigFile
{
public:
    ConfigFileOptionsDialog(const std::string& file, ConfigFile* parent, bool yieldWhileLoading);
    ~ConfigFileOptionsDialog() override;

    ControlSlider _soundsSlider;
    ControlSlider _musicSlider;
    // Not 0: the high-detail check box and the more-info button are offered (and read).
    int _highDetailUse = 0;
    ControlCheckBox _highDetail;
    ControlCheckBox _fullScreen;
    ControlButton _okButton;
    ControlButton _moreInfo;
};
