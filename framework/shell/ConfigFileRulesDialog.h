#pragma once

#include "framework/core/Color.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Dimension.h"
#include "framework/core/Export.h"
#include "framework/core/Point.h"
#include "framework/dialogs/ControlButton.h"

#include <string>
#include <vector>

class Font;
class Image;

// A rules description ("cfg/drules.cfg", or the game's own): the number of pages, the picture
// sheet with one frame per page, the Done, Next and Previous buttons, the look of the title and
// of the rule text, and the page sections "page0", "page1", ... with a title and a rule each.
// The section "dialog" is read by the dialog itself. Images and fonts are made at once and owned
// here; the rules dialog only points to them.
class FRAMEWORK_API ConfigFileRulesDialog : public ConfigFile
{
public:
    // parent answers what the file misses (the theme); yieldWhileLoading pauses before each
    // image and font.
    ConfigFileRulesDialog(const std::string& file, ConfigFile* parent, bool yieldWhileLoading);
    ~ConfigFileRulesDialog() override;

    // Never below 0: a negative count reads as no pages.
    int _pages = 0;
    Image* _rulesImage = nullptr; // owned; null when not named
    Point _rulesImagePos;
    ControlButton _doneButton;
    ControlButton _nextButton;
    ControlButton _prevButton;
    Font* _titleFont = nullptr; // owned; null when not named
    Color _titleColor{0, 0, 0, 255};
    Point _titlePos;
    int _titleWidth = 0;
    int _titleJustify = 0;
    Color _titleShadowColor{0, 0, 0, 255};
    int _titleShadowDepth = 1;
    Font* _textFont = nullptr; // owned; null when not named
    Color _textColor{0, 0, 0, 255};
    Point _textPos;
    Dimension _textDim;
    int _textJustify = 0;
    Color _textShadowColor{0, 0, 0, 255};
    int _textShadowDepth = 1;
    // One entry per page section read, "page0" to "page<pages>": pages + 1 entries. Page p of
    // the dialog (from 1) shows entry p - 1.
    std::vector<std::string> _titles;
    std::vector<std::string> _rules;
};
