#include "framework/shell/ConfigFileOptionsDialog.h"

ConfigFileOptionsDialog::ConfigFileOptionsDialog(const std::string& file, ConfigFile* parent,
                                                 bool yieldWhileLoading)
    : ConfigFile(file, parent, yieldWhileLoading, false, false)
{
    SetName("ConfigFileOptionsDialog");
    SetClassLabel("ConfigFileOptionsDialog");
    _highDetailUse = ConfigFile::AsInt(Value("highdetail", "use", "0", true));
    _soundsSlider.Load(this, "soundsslider");
    _musicSlider.Load(this, "musicslider");
    _fullScreen.Load(this, "fullscreen");
    _okButton.Load(this, "okbutton");
    if (_highDetailUse != 0) {
        _highDetail.Load(this, "highdetail");
        _moreInfo.Load(this, "moreinfo");
    }
}

ConfigFileOptionsDialog::~ConfigFileOptionsDialog() = default;
