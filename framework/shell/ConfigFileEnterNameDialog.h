#pragma once

#include "framework/core/Color.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Dimension.h"
#include "framework/core/Export.h"
#include "framework/core/Point.h"

#include <memory>
#include <string>

class Font;
class Image;

// The description of the name entry ("cfg/dentername.cfg"): the explaining text ("bodytext"),
// the name field ("textinput"), the hint and error line ("info") and its texts ("text"). Every
// key is read once here; a missing one is asked of the parent, then takes the built-in value (a
// text "0"). The "dialog" section's own controls give the OK (id 1) and Cancel (id 2) buttons.
//
// Ownership: the description owns the fonts and images it made.
class FRAMEWORK_API ConfigFileEnterNameDialog : public ConfigFile
{
public:
    ConfigFileEnterNameDialog(const std::string& file, ConfigFile* parent, bool yieldWhileLoading);
    ~ConfigFileEnterNameDialog() override;

    std::string _bodyText;
    Point _bodyTextPos;
    Dimension _bodyTextDim;
    int _bodyTextJustify = 0;
    std::unique_ptr<Font> _bodyTextFont;
    Color _bodyTextColor{0, 0, 0, 255};
    int _bodyTextShadowDepth = 0;
    Color _bodyTextShadowColor{0, 0, 0, 255}; // kept; the dialog does not use it

    // Kept; the buttons come from the "dialog" section's controls.
    std::unique_ptr<Image> _okButtonImage;
    Point _okButtonPos;
    std::unique_ptr<Image> _cancelButtonImage;
    Point _cancelButtonPos;

    Point _textInputPos;
    Dimension _textInputDim;
    // Most characters the field takes; 0 takes none.
    int _textInputLimit = 0;
    std::unique_ptr<Font> _textInputFont;
    Color _textInputColor{0, 0, 0, 255};
    Color _textInputBackColor{0, 0, 0, 255};

    Point _infoPos;
    int _infoWidth = 0;
    std::unique_ptr<Font> _infoFont;
    Color _infoColor{0, 0, 0, 255};
    // Alpha 0 (the colour missing or unreadable): the hint has no text shadow.
    Color _infoShadowColor{0, 0, 0, 255};

    std::string _enter1;
    std::string _enter2;
    std::string _cannotBeEmpty;
    std::string _alreadyInUse;
};
