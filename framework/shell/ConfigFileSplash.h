#pragma once

#include "framework/core/ConfigFile.h"
#include "framework/core/Export.h"
#include "framework/core/Point.h"

#include <string>

// The start-up description ("cfg/splash.cfg"): the splash's fade time and music, whether the
// menu is skipped, the application's default font and the three software cursors. It keeps
// only names and numbers; the script and Framework::CreateCursors make the objects. Frame
// counts are kept as read (0 included); whoever builds a sheet counts 0 as 1.
class FRAMEWORK_API ConfigFileSplash : public ConfigFile
{
public:
    explicit ConfigFileSplash(const std::string& file);
    ~ConfigFileSplash() override;

    // Read directly by the application script, the intro script and CreateCursors.
    std::string _bgImg;
    int _fadeTime = 0; // ms
    bool _noMenu = false;
    std::string _music;
    std::string _defaultFont;
    bool _cursorsUsePerPixelAlpha = false;
    Point _cursorShadow;
    std::string _arrowImg;
    int _arrowFrames = 0;
    Point _arrowHotspot;
    int _arrowLoopDelay = 0;
    std::string _handImg;
    int _handFrames = 0;
    Point _handHotspot;
    int _handLoopDelay = 0;
    std::string _waitImg;
    int _waitFrames = 0;
    Point _waitHotspot;
    int _waitLoopDelay = 0;
};
