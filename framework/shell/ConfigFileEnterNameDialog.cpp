#include "framework/shell/ConfigFileEnterNameDialog.h"

#include "framework/media/Font.h"
#include "framework/media/Image.h"

namespace {

// A text key that is missing everywhere reads as "0", as every dialog text does.
std::string Text(ConfigFile& file, const char* section, const char* key)
{
    return file.Value(section, key, "0", true);
}

int Integer(ConfigFile& file, const char* section, const char* key)
{
    return ConfigFile::AsInt(file.Value(section, key, 0.0, true));
}

} // namespace

ConfigFileEnterNameDialog::ConfigFileEnterNameDialog(const std::string& file, ConfigFile* parent,
                                                     bool yieldWhileLoading)
    : ConfigFile(file, parent, yieldWhileLoading, false, false)
{
    SetName("ConfigFileEnterNameDialog");
    SetClassLabel("ConfigFileEnterNameDialog");
    const Color black(0, 0, 0, 255);
    const Point origin(0, 0);

    _bodyText = Text(*this, "bodytext", "str");
    _bodyTextPos = ValueAsPoint("bodytext", "pos", origin);
    _bodyTextDim = ValueAsDimension("bodytext", "dim", Dimension(0, 0));
    _bodyTextJustify = Integer(*this, "bodytext", "justify");
    _bodyTextFont.reset(NewFont("bodytext", "font", "fontsize", "fontstyle"));
    _bodyTextColor = ValueAsColor("bodytext", "col", black);
    _bodyTextShadowDepth = Integer(*this, "bodytext", "shadowdepth");
    _bodyTextShadowColor = ValueAsColor("bodytext", "shadowcol", black);

    _okButtonImage.reset(NewImage("okbutton", "img", false, 1, 1));
    _okButtonPos = ValueAsPoint("okbutton", "pos", origin);
    _cancelButtonImage.reset(NewImage("cancelbutton", "img", false, 1, 1));
    _cancelButtonPos = ValueAsPoint("cancelbutton", "pos", origin);

    _textInputPos = ValueAsPoint("textinput", "pos", origin);
    _textInputDim = ValueAsDimension("textinput", "dim", Dimension(0, 0));
    _textInputLimit = Integer(*this, "textinput", "limit");
    _textInputFont.reset(NewFont("textinput", "font", "fontsize", "fontstyle"));
    _textInputColor = ValueAsColor("textinput", "col", black);
    _textInputBackColor = ValueAsColor("textinput", "backcol", black);

    _infoPos = ValueAsPoint("info", "pos", origin);
    _infoWidth = Integer(*this, "info", "width");
    _infoFont.reset(NewFont("info", "font", "fontsize", "fontstyle"));
    _infoColor = ValueAsColor("info", "col", black);
    _infoShadowColor = ValueAsColor("info", "shadowcol", black);

    _enter1 = Text(*this, "text", "enter1");
    _enter2 = Text(*this, "text", "enter2");
    _cannotBeEmpty = Text(*this, "text", "cannotbeempty");
    _alreadyInUse = Text(*this, "text", "alreadyinuse");
}

ConfigFileEnterNameDialog::~ConfigFileEnterNameDialog() = default;
