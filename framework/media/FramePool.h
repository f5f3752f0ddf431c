#pragma once

#include "framework/core/Export.h"

#include <cstddef>
#include <memory>
#include <unordered_map>

class Canvas;

// Frame canvases that images of one sheet hold in common: two images whose frames have the same
// pixels and the same look (colour key, surface and per-pixel alpha) show one canvas. A shared
// canvas is never drawn into; an image that must change its frame draws into a copy of its own
// (Detach) and offers the result again (Share).
//
// Ownership: the images own the shared canvases together; the pool only knows them and forgets
// each when its last image lets it go. Images may outlive the pool. Used from one thread, as
// the sprites that show the frames are.
class FRAMEWORK_API FramePool
{
public:
    FramePool() = default;
    FramePool(const FramePool&) = delete;
    FramePool& operator=(const FramePool&) = delete;

    // The pool's canvas equal to frame when there is one (frame is then let go), else frame
    // itself, known to the pool from now on. Null stays null. A canvas the pool knows may be
    // changed by its only holder and offered again.
    std::shared_ptr<Canvas> Share(std::shared_ptr<Canvas> frame);
    // A canvas of the caller's own with frame's pixels and look (no drop shadow); null when
    // frame has no surface or the copy cannot be made.
    static std::unique_ptr<Canvas> Detach(Canvas& frame);
    // Canvases the pool knows that some image still holds.
    int CountShared() const;

private:
    static std::size_t HashOf(Canvas& frame);
    static bool SameFrame(Canvas& a, Canvas& b);
    void ForgetReleased();

    std::unordered_multimap<std::size_t, std::weak_ptr<Canvas>> _frames;
    std::size_t _sweepAt = 64; // entries before released ones are swept out
};
