#pragma once

#include "framework/core/Color.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Dimension.h"
#include "framework/core/Export.h"
#include "framework/core/Point.h"

#include <string>

class Font;
class Image;

// The play-as dialog's description ("cfg/dplayas.cfg"): its five buttons, the player list's
// place and look, and its two texts. The section "title" is read by the title label itself.
// Images and the font are made at once and owned here.
class FRAMEWORK_API ConfigFilePlayAsDialog : public ConfigFile
{
public:
    // parent answers what the file misses (the theme); yieldWhileLoading pauses before each
    // image and font.
    ConfigFilePlayAsDialog(const std::string& file, ConfigFile* parent, bool yieldWhileLoading);
    ~ConfigFilePlayAsDialog() override;

    // Read directly by the play-as dialog. Images are single frames; null when not named.
    std::string _openAnimSound; // kept; nothing plays it
    Image* _okButtonImage = nullptr;
    Point _okButtonPos;
    Image* _cancelButtonImage = nullptr;
    Point _cancelButtonPos;
    Image* _deleteButtonImage = nullptr;
    Point _deleteButtonPos;
    Image* _upButtonImage = nullptr;
    Point _upButtonPos;
    Image* _downButtonImage = nullptr;
    Point _downButtonPos;
    Point _playerListPos;
    Dimension _playerListDim;
    Color _playerListTextColor;
    Color _playerListHilightColor;
    Color _playerListBackColor;
    Font* _playerListFont = nullptr; // null when not named
    // The start of the menu's greeting: this, a blank and the player's name.
    std::string _welcomeText;
    // The menu's greeting while nobody plays; without the key the welcome text and a blank.
    std::string _noPlayerText;
    // The list's first line, which opens the name entry.
    std::string _clickHereText;
};
