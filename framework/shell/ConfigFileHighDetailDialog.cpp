#include "framework/shell/ConfigFileHighDetailDialog.h"

ConfigFileHighDetailDialog::ConfigFileHighDetailDialog(const std::string& file, ConfigFile* parent,
                                                       bool yieldWhileLoading)
    : ConfigFile(file, parent, yieldWhileLoading, false, false)
{
    SetName("ConfigFileHighDetailDialog");
    SetClassLabel("ConfigFileHighDetailDialog");
    _bodyText.Load(this, "bodytext");
    _okButton.Load(this, "okbutton");
}

ConfigFileHighDetailDialog::~ConfigFileHighDetailDialog() = default;
