#include "framework/shell/ConfigFileMenu.h"

#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "framework/shell/DescriptionValues.h"
#include "framework/shell/MenuAnimInfo.h"
#include "framework/shell/MenuButtonInfo.h"

#include <algorithm>
#include <cstdio>

namespace {

using V = DescriptionValues;

constexpr int kButtonLooks = 4;
// The update and start buttons show unless told otherwise; the four fixed buttons default to
// priority 0 and alpha 0 (invisible), so a description must give their alpha.
constexpr int kShownPri = 1;
constexpr int kShownAlpha = 255;

std::string Numbered(const char* pattern, int i)
{
    char name[64];
    std::snprintf(name, sizeof name, pattern, i);
    return name;
}

bool IsControl(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f;
}

} // namespace

ConfigFileMenu::ConfigFileMenu(const std::string& file, ConfigFile* parent, bool yieldWhileLoading)
    : ConfigFile(file, parent, yieldWhileLoading, false, false)
{
    SetClassLabel("ConfigFileMenu");
    SetName("ConfigFileMenu");

    AddPicture(&_bgImage, "background", "img", 1);
    _fadeTime = V::Int(*this, "background", "fadetime", 0);
    _music = V::Text(*this, "background", "music", "0");
    _volumeSound = V::Text(*this, "background", "volumesound", "0");
    _dropShadowDefault = ValueAsPoint("background", "dropshadowdefault", Point(7, 7));

    _welcomePos = ValueAsPoint("welcome", "pos", Point(0, 0));
    _welcomeWidth = V::Int(*this, "welcome", "width", 0);
    _welcomeJustify = V::Int(*this, "welcome", "justify", 0);
    _welcomeColor = ValueAsColor("welcome", "col", Color(0, 0, 0, 255));
    _welcomeShadowColor = ValueAsColor("welcome", "shadowcol", Color(0, 0, 0, 255));
    _welcomeShadow = ValueAsPoint("welcome", "shadow", Point(0, 0));
    _welcomeFont = NewFont("welcome", "font", "fontsize", "fontstyle");
    _welcomePri = V::Int(*this, "welcome", "pri", 0);

    _updateButton = ReadButton("update", kShownPri, kShownAlpha);
    _updateAvailable = V::Text(*this, "update", "updateavailable", "Update Available!");
    _newerVersion =
        V::Text(*this, "update", "newerversion", "A newer version of the game is available.");
    _downloadNow = V::Text(*this, "update", "downloadnow", "Would you like to download it now?");
    _news = V::Text(*this, "update", "news", "Special News!");
    _clickYes = V::Text(*this, "update", "clickyes", "Click Yes to check it out now!");

    _playerButton = ReadButton("playerbutton", 0, 0);
    _optionsButton = ReadButton("optionsbutton", 0, 0);
    _rulesButton = ReadButton("rulesbutton", 0, 0);
    _quitButton = ReadButton("quitbutton", 0, 0);

    ReadStartButtons();
    ReadAnimations();
    _promoLink = V::Text(*this, "promolink", "url", "0");
    _imagesLoaded = true;
}

ConfigFileMenu::~ConfigFileMenu()
{
    ReleaseImages();
    for (MenuAnimInfo* anim : _animations) {
        delete anim;
    }
    _animations.clear();
    for (MenuButtonInfo* button : _startButtons) {
        delete button;
    }
    _startButtons.clear();
    for (MenuButtonInfo** button :
         {&_updateButton, &_playerButton, &_optionsButton, &_rulesButton, &_quitButton}) {
        delete *button;
        *button = nullptr;
    }
    delete _welcomeFont;
    _welcomeFont = nullptr;
}

void ConfigFileMenu::AddPicture(Image** slot, const std::string& section, const std::string& key,
                                int cols)
{
    _pictures.push_back(Picture{slot, section, key, cols});
    *slot = NewImage(section, key, false, cols, 1);
}

void ConfigFileMenu::ReleaseImages()
{
    for (const Picture& picture : _pictures) {
        delete *picture.slot;
        *picture.slot = nullptr;
    }
    _imagesLoaded = false;
}

void ConfigFileMenu::LoadImages()
{
    if (_imagesLoaded) {
        return;
    }
    for (const Picture& picture : _pictures) {
        *picture.slot = NewImage(picture.section, picture.key, false, picture.cols, 1);
    }
    _imagesLoaded = true;
}

void ConfigFileMenu::SetPromo(std::string link)
{
    link.erase(std::remove_if(link.begin(), link.end(), IsControl), link.end());
    Write("promolink", "url", link);
    _promoLink = link;
    Flush();
}

MenuButtonInfo* ConfigFileMenu::ReadButton(const std::string& section, int defaultPri,
                                           int defaultAlpha)
{
    auto* button = new MenuButtonInfo;
    AddPicture(&button->_image, section, "img", kButtonLooks);
    button->_pos = ValueAsPoint(section, "pos", Point(0, 0));
    button->_shadow = ValueAsPoint(section, "shadow", Point(0, 0));
    button->_pri = V::Int(*this, section, "pri", defaultPri);
    button->_alpha = V::Int(*this, section, "alpha", defaultAlpha);
    return button;
}

void ConfigFileMenu::ReadStartButtons()
{
    _numStartButtons =
        std::min(V::Int(*this, "background", "numstartbuttons", 0), kMaxStartButtons);
    for (int i = 1; i <= _numStartButtons; ++i) {
        const std::string section = Numbered("startbutton%d", i);
        // An empty img leaves the button out; an absent one ("0") keeps it, without a picture.
        if (V::Text(*this, section, "img", "0").empty()) {
            continue;
        }
        auto* button = new MenuButtonInfo;
        button->_pos = ValueAsPoint(section, "pos", Point(0, 0));
        button->_shadow = ValueAsPoint(section, "shadow", Point(0, 0));
        button->_pri = V::Int(*this, section, "pri", kShownPri);
        button->_alpha = V::Int(*this, section, "alpha", kShownAlpha);
        AddPicture(&button->_image, section, "img", kButtonLooks);
        _startButtons.push_back(button);
    }
}

void ConfigFileMenu::ReadAnimations()
{
    const std::string section = "animations";
    _numAnimations = V::Int(*this, section, "num", 0);
    for (int i = 1; i <= _numAnimations; ++i) {
        const std::string img = Numbered("anim%dimg", i);
        if (V::Text(*this, section, img, "0").empty()) {
            continue;
        }
        auto* anim = new MenuAnimInfo;
        anim->_frames = V::Int(*this, section, Numbered("anim%dframes", i), 0);
        anim->_pos = ValueAsPoint(section, Numbered("anim%dpos", i), Point(0, 0));
        anim->_shadow = ValueAsPoint(section, Numbered("anim%dshadow", i), Point(0, 0));
        anim->_pri = V::Int(*this, section, Numbered("anim%dpri", i), 0);
        anim->_loops = V::Int(*this, section, Numbered("anim%dloops", i), 0);
        anim->_speed = V::Int(*this, section, Numbered("anim%dspeed", i), 0);
        anim->_beginDelay = V::Int(*this, section, Numbered("anim%dbegindelay", i), 0);
        anim->_loopDelay = V::Int(*this, section, Numbered("anim%dloopdelay", i), 0);
        anim->_transparency = V::Bool(*this, section, Numbered("anim%dtransparency", i), 0);
        anim->_alpha = V::Int(*this, section, Numbered("anim%dalpha", i), 0);
        // A sheet of 0 frames (or 1) is shown whole, as one frame.
        AddPicture(&anim->_image, section, img, anim->_frames);
        _animations.push_back(anim);
    }
}
