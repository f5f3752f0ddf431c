#include "framework/media/FramePool.h"

#include "SDL.h"
#include "framework/media/Canvas.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>
#include <string_view>
#include <unordered_set>

namespace {

constexpr Uint32 kLookFlags = SDL_SRCCOLORKEY | SDL_SRCALPHA | SDL_RLEACCELOK;

// Reads a surface's pixels, locked for as long as SDL needs it (an RLE surface is decoded).
class PixelRead
{
public:
    explicit PixelRead(SDL_Surface* s) : _s(s), _locked(SDL_MUSTLOCK(s) && SDL_LockSurface(s) == 0)
    {}
    ~PixelRead()
    {
        if (_locked) {
            SDL_UnlockSurface(_s);
        }
    }
    PixelRead(const PixelRead&) = delete;
    PixelRead& operator=(const PixelRead&) = delete;

    bool Readable() const { return _locked || !SDL_MUSTLOCK(_s); }
    const Uint8* Row(int y) const { return static_cast<const Uint8*>(_s->pixels) + y * _s->pitch; }
    std::size_t RowBytes() const
    {
        return static_cast<std::size_t>(_s->w) * _s->format->BytesPerPixel;
    }

private:
    SDL_Surface* _s;
    bool _locked;
};

// Mixes values into one hash (boost's hash_combine).
struct HashMix
{
    std::size_t h = 0;
    void Add(std::size_t value) { h ^= value + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2); }
};

bool SameFormat(const SDL_PixelFormat* a, const SDL_PixelFormat* b)
{
    if (a->BitsPerPixel != b->BitsPerPixel || a->Rmask != b->Rmask || a->Gmask != b->Gmask ||
        a->Bmask != b->Bmask || a->Amask != b->Amask) {
        return false;
    }
    if ((a->palette == nullptr) != (b->palette == nullptr)) {
        return false;
    }
    return a->palette == nullptr ||
           (a->palette->ncolors == b->palette->ncolors &&
            std::memcmp(a->palette->colors, b->palette->colors,
                        sizeof(SDL_Color) * static_cast<std::size_t>(a->palette->ncolors)) == 0);
}

} // namespace

std::size_t FramePool::HashOf(Canvas& frame)
{
    SDL_Surface* s = frame.GetSurface();
    HashMix mix;
    for (const std::size_t v : {static_cast<std::size_t>(s->w), static_cast<std::size_t>(s->h),
                                static_cast<std::size_t>(s->format->BitsPerPixel),
                                static_cast<std::size_t>(s->flags & kLookFlags),
                                static_cast<std::size_t>(frame.GetSurfaceAlpha()),
                                static_cast<std::size_t>(frame.GetPerPixelAlpha()),
                                static_cast<std::size_t>(frame.HasColorKey())}) {
        mix.Add(v);
    }
    const PixelRead read(s);
    if (read.Readable()) {
        for (int y = 0; y < s->h; ++y) {
            const auto* row = reinterpret_cast<const char*>(read.Row(y));
            mix.Add(std::hash<std::string_view>()(std::string_view(row, read.RowBytes())));
        }
    }
    return mix.h;
}

bool FramePool::SameFrame(Canvas& a, Canvas& b)
{
    SDL_Surface* sa = a.GetSurface();
    SDL_Surface* sb = b.GetSurface();
    if (sa->w != sb->w || sa->h != sb->h || !SameFormat(sa->format, sb->format) ||
        (sa->flags & kLookFlags) != (sb->flags & kLookFlags)) {
        return false;
    }
    if ((sa->flags & SDL_SRCCOLORKEY) != 0 && sa->format->colorkey != sb->format->colorkey) {
        return false;
    }
    if ((sa->flags & SDL_SRCALPHA) != 0 && sa->format->alpha != sb->format->alpha) {
        return false;
    }
    if (a.HasColorKey() != b.HasColorKey() ||
        (a.HasColorKey() && !(a.GetColorKey() == b.GetColorKey())) ||
        a.GetSurfaceAlpha() != b.GetSurfaceAlpha() ||
        a.GetPerPixelAlpha() != b.GetPerPixelAlpha()) {
        return false;
    }
    const PixelRead ra(sa);
    const PixelRead rb(sb);
    if (!ra.Readable() || !rb.Readable()) {
        return false;
    }
    for (int y = 0; y < sa->h; ++y) {
        if (std::memcmp(ra.Row(y), rb.Row(y), ra.RowBytes()) != 0) {
            return false;
        }
    }
    return true;
}

std::shared_ptr<Canvas> FramePool::Share(std::shared_ptr<Canvas> frame)
{
    if (frame == nullptr || frame->GetSurface() == nullptr) {
        return frame;
    }
    // An entry whose canvas was changed since is still found under its old hash: the full
    // comparison tells it apart.
    const std::size_t hash = HashOf(*frame);
    bool known = false;
    const auto range = _frames.equal_range(hash);
    for (auto it = range.first; it != range.second; ++it) {
        std::shared_ptr<Canvas> other = it->second.lock();
        if (other == frame) {
            known = true; // another canvas alike is still the better answer: one fewer
        } else if (other != nullptr && SameFrame(*other, *frame)) {
            return other;
        }
    }
    if (!known) {
        if (_frames.size() >= _sweepAt) {
            ForgetReleased();
        }
        _frames.emplace(hash, frame);
    }
    return frame;
}

void FramePool::ForgetReleased()
{
    for (auto it = _frames.begin(); it != _frames.end();) {
        it = it->second.expired() ? _frames.erase(it) : std::next(it);
    }
    _sweepAt = std::max<std::size_t>(64, 2 * _frames.size());
}

int FramePool::CountShared() const
{
    // A canvas changed in place is known under its old hash too.
    std::unordered_set<const Canvas*> alive;
    for (const auto& entry : _frames) {
        if (const std::shared_ptr<Canvas> frame = entry.second.lock()) {
            alive.insert(frame.get());
        }
    }
    return static_cast<int>(alive.size());
}

std::unique_ptr<Canvas> FramePool::Detach(Canvas& frame)
{
    SDL_Surface* s = frame.GetSurface();
    if (s == nullptr) {
        return nullptr;
    }
    // A raw copy: SDL takes the colour key and surface alpha off the source for the copy and
    // gives both back to it and to the copy.
    SDL_Surface* dup = SDL_ConvertSurface(s, s->format, SDL_SWSURFACE);
    if (dup == nullptr) {
        return nullptr;
    }
    auto own = std::make_unique<Canvas>(dup);
    if (frame.HasColorKey()) {
        own->SetColorKey(frame.GetColorKey(), (s->flags & SDL_RLEACCELOK) != 0);
    }
    if ((s->flags & SDL_SRCALPHA) != 0) {
        own->SetAlpha(frame.GetSurfaceAlpha());
        SDL_SetAlpha(dup, s->flags & (SDL_SRCALPHA | SDL_RLEACCELOK), s->format->alpha);
    }
    own->SetPerPixelAlpha(frame.GetPerPixelAlpha());
    return own;
}
