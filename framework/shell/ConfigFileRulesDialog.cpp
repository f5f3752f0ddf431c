#include "framework/shell/ConfigFileRulesDialog.h"

#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "framework/shell/DescriptionValues.h"

#include <algorithm>

ConfigFileRulesDialog::ConfigFileRulesDialog(const std::string& file, ConfigFile* parent,
                                             bool yieldWhileLoading)
    : ConfigFile(file, parent, yieldWhileLoading, false, false)
{
    SetClassLabel("ConfigFileRulesDialog");
    SetName("ConfigFileRulesDialog");
    using V = DescriptionValues;
    const Color black(0, 0, 0, 255);

    // A negative count would read no page section at all and leave the dialog's first page
    // without an entry.
    _pages = std::max(0, V::Int(*this, "background", "pages", 0));
    _rulesImage = NewImage("background", "rulesimgs", false, 1, 1);
    _rulesImagePos = ValueAsPoint("background", "rulesimgspos", Point(0, 0));

    _doneButton.Load(this, "donebutton");
    _nextButton.Load(this, "nextbutton");
    _prevButton.Load(this, "prevbutton");

    _titleFont = NewFont("title", "font", "fontsize", "fontstyle");
    _titleColor = ValueAsColor("title", "col", black);
    _titlePos = ValueAsPoint("title", "pos", Point(0, 0));
    _titleWidth = V::Int(*this, "title", "width", 0);
    _titleJustify = V::Int(*this, "title", "justify", 0);
    _titleShadowColor = ValueAsColor("title", "textshadowcol", black);
    _titleShadowDepth = V::Int(*this, "title", "textshadowdepth", 1);

    _textFont = NewFont("text", "font", "fontsize", "fontstyle");
    _textColor = ValueAsColor("text", "col", black);
    _textPos = ValueAsPoint("text", "pos", Point(0, 0));
    _textDim = ValueAsDimension("text", "dim", Dimension(0, 0));
    _textJustify = V::Int(*this, "text", "justify", 0);
    _textShadowColor = ValueAsColor("text", "textshadowcol", black);
    _textShadowDepth = V::Int(*this, "text", "textshadowdepth", 1);

    for (int page = 0; page <= _pages; ++page) {
        const std::string section = "page" + std::to_string(page);
        _titles.push_back(V::Text(*this, section, "title", "0"));
        _rules.push_back(V::Text(*this, section, "rule", "0"));
    }
}

ConfigFileRulesDialog::~ConfigFileRulesDialog()
{
    delete _rulesImage;
    delete _titleFont;
    delete _textFont;
}
