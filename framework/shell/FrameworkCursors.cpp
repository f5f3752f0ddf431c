// Framework: the software cursor from the splash description.
#include "framework/core/Framework.h"
#include "framework/shell/ConfigFileSplash.h"

#include <algorithm>

namespace {

Framework::CursorLook Look(const std::string& image, int frames, const Point& hotspot,
                           int loopDelay)
{
    Framework::CursorLook look;
    look.image = image;
    // The description keeps 0 as read; a sheet of 0 frames is shown as one.
    look.frames = std::max(frames, 1);
    look.hotspot = hotspot;
    look.loopDelay = loopDelay;
    return look;
}

} // namespace

void Framework::CreateCursors(ConfigFileSplash* description, Cast* cast)
{
    if (description == nullptr) {
        return;
    }
    const ConfigFileSplash& d = *description;
    CreateCursorSprite(Look(d._arrowImg, d._arrowFrames, d._arrowHotspot, d._arrowLoopDelay),
                       Look(d._handImg, d._handFrames, d._handHotspot, d._handLoopDelay),
                       Look(d._waitImg, d._waitFrames, d._waitHotspot, d._waitLoopDelay),
                       d._cursorsUsePerPixelAlpha, d._cursorShadow, cast);
}
