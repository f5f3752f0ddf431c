#include "framework/shell/ConfigFilePlayAsDialog.h"

#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "framework/shell/DescriptionValues.h"

ConfigFilePlayAsDialog::ConfigFilePlayAsDialog(const std::string& file, ConfigFile* parent,
                                               bool yieldWhileLoading)
    : ConfigFile(file, parent, yieldWhileLoading, false, false)
{
    SetClassLabel("ConfigFilePlayAsDialog");
    SetName("ConfigFilePlayAsDialog");
    using V = DescriptionValues;
    _openAnimSound = V::Text(*this, "openanim", "sound", "none");

    struct Button
    {
        const char* section;
        Image** image;
        Point* pos;
    };
    const Button buttons[] = {
        {"okbutton", &_okButtonImage, &_okButtonPos},
        {"cancelbutton", &_cancelButtonImage, &_cancelButtonPos},
        {"deletebutton", &_deleteButtonImage, &_deleteButtonPos},
        {"upbutton", &_upButtonImage, &_upButtonPos},
        {"downbutton", &_downButtonImage, &_downButtonPos},
    };
    for (const Button& button : buttons) {
        *button.image = NewImage(button.section, "img", false, 1, 1);
        *button.pos = ValueAsPoint(button.section, "pos", Point(0, 0));
    }

    const Color black(0, 0, 0, 255);
    _playerListPos = ValueAsPoint("playerlist", "pos", Point(0, 0));
    _playerListDim = ValueAsDimension("playerlist", "dim", Dimension(0, 0));
    _playerListTextColor = ValueAsColor("playerlist", "textcol", black);
    _playerListHilightColor = ValueAsColor("playerlist", "hilightcol", black);
    _playerListBackColor = ValueAsColor("playerlist", "backcol", black);
    _playerListFont = NewFont("playerlist", "font", "fontsize", "fontstyle");

    _welcomeText = V::Text(*this, "text", "welcome", "0");
    _noPlayerText = V::Text(*this, "text", "noplayer", _welcomeText + " ");
    _clickHereText = V::Text(*this, "text", "clickhere", "0");
}

ConfigFilePlayAsDialog::~ConfigFilePlayAsDialog()
{
    for (Image* image : {_okButtonImage, _cancelButtonImage, _deleteButtonImage, _upButtonImage,
                         _downButtonImage}) {
        delete image;
    }
    delete _playerListFont;
}
