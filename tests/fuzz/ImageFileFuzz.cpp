// Feeds arbitrary bytes to the engine's image reader as a plain image file and as a scrambled
// one, under the name endings the game uses and some it does not, and checks that whatever
// loads is a surface that can be converted and read to its last pixel.
#include "SDL.h"
#include "framework/core/Debug.h"
#include "framework/media/Canvas.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using fuzzsupport::Check;
using fuzzsupport::Put;

constexpr unsigned char kScrambleKey = 0xA5;

// Pictures are told by their content: no ending may let another reader in. The last has none.
const char* const kEndings[] = {".png", ".jpg", ".gif", ".bmp", ".tga", ".pcx", ".xpm", ""};

// Keeps the pixel reads from being optimised away.
volatile unsigned gSink = 0;

// Reads every pixel, so a surface whose size and pitch disagree with its memory is caught.
void Touch(SDL_Surface* s)
{
    if (s == nullptr) {
        return;
    }
    Check(s->w >= 0 && s->h >= 0 && s->format != nullptr, "surface with a bad header");
    SDL_LockSurface(s);
    const auto* pixels = static_cast<const uint8_t*>(s->pixels);
    unsigned sum = 0;
    const int rowBytes = s->w * s->format->BytesPerPixel;
    for (int y = 0; pixels != nullptr && y < s->h; ++y) {
        for (int x = 0; x < rowBytes; ++x) {
            sum += pixels[y * s->pitch + x];
        }
    }
    SDL_UnlockSurface(s);
    gSink = sum;
}

void Load(const std::string& name, SDL_PixelFormat* format)
{
    SDL_Surface* s = Canvas::LoadImgCompatibleToSurface(name, format);
    Touch(s);
    SDL_FreeSurface(s);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::EnterScratchFolder("imgfuzz", nullptr);
    SDL_putenv(const_cast<char*>("SDL_VIDEODRIVER=dummy"));
    Check(SDL_Init(SDL_INIT_VIDEO) == 0, "SDL does not start");
    Debug quiet;
    quiet.DebugOff(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // One ending per input, chosen by its size, so every reader sees every kind of input.
    const std::string ending = kEndings[size % (sizeof kEndings / sizeof kEndings[0])];

    // Plain: the reader loads the file and leaves a scrambled twin, which the second load reads.
    const std::string plain = "p" + ending;
    std::remove((plain + "e").c_str());
    Put(plain, data, size);
    Load(plain, Canvas::PerPixelFormat());
    Load(plain, Canvas::Get32PixelFormat());

    // Scrambled: the bytes are what the reader sees once it has unscrambled the file.
    std::vector<uint8_t> scrambled(data, data + size);
    for (uint8_t& b : scrambled) {
        b ^= kScrambleKey;
    }
    const std::string name = "s" + ending;
    Put(name + "e", scrambled.data(), scrambled.size());
    Load(name, Canvas::PerPixelFormat());
    return 0;
}
