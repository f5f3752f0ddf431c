#include "framework/shell/ConfigFileDeleteNameDialog.h"

ConfigFileDeleteNameDialog::ConfigFileDeleteNameDialog(const std::string& file, ConfigFile* parent,
                                                       bool yieldWhileLoading)
    : ConfigFile(file, parent, yieldWhileLoading, false, false)
{
    SetName("ConfigFileDeleteNameDialog");
    SetClassLabel("ConfigFileDeleteNameDialog");
    _bodyText.Load(this, "bodytext");
    _deleteText.Load(this, "deletetext");
    _yesButton.Load(this, "yesbutton");
    _noButton.Load(this, "nobutton");
}

ConfigFileDeleteNameDialog::~ConfigFileDeleteNameDialog() = default;
