#include "framework/shell/ConfigFileSplash.h"

#include "framework/shell/DescriptionValues.h"

namespace {

constexpr int kDefaultLoopDelay = 32;

// The four keys every cursor section has, read in the file's order.
void ReadCursor(ConfigFile& file, const std::string& section, std::string& img, int& frames,
                Point& hotspot, int& loopDelay)
{
    img = DescriptionValues::Text(file, section, "img", "0");
    frames = DescriptionValues::Int(file, section, "frames", 0);
    hotspot = file.ValueAsPoint(section, "hotspot", Point(0, 0));
    loopDelay = DescriptionValues::Int(file, section, "loopdelay", kDefaultLoopDelay);
}

} // namespace

ConfigFileSplash::ConfigFileSplash(const std::string& file) : ConfigFile(file, false, false, false)
{
    SetClassLabel("ConfigFileSplash");
    SetName("ConfigFileSplash");
    using V = DescriptionValues;
    _bgImg = V::Text(*this, "background", "img", "0");
    _fadeTime = V::Int(*this, "background", "fadetime", 0);
    _music = V::Text(*this, "background", "music", "0");
    _noMenu = V::Bool(*this, "background", "nomenu", 0);
    _defaultFont = V::Text(*this, "background", "defaultfont", "fonts/arial.ttf");
    _cursorsUsePerPixelAlpha = V::Bool(*this, "background", "cursorsuseperpixelalpha", 0);
    _cursorShadow = ValueAsPoint("background", "cursorshadow", Point(4, 4));
    ReadCursor(*this, "arrowcursor", _arrowImg, _arrowFrames, _arrowHotspot, _arrowLoopDelay);
    ReadCursor(*this, "handcursor", _handImg, _handFrames, _handHotspot, _handLoopDelay);
    ReadCursor(*this, "waitcursor", _waitImg, _waitFrames, _waitHotspot, _waitLoopDelay);
}

ConfigFileSplash::~ConfigFileSplash() = default;
