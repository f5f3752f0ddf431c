// Frame rate and processor load of the whole frame loop in a real window, for a fixed time:
//   FrameLoopBench idle SECONDS     the framework's own stage with nothing on it;
//   FrameLoopBench sprites SECONDS  150 image sprites of 40 x 50, one of them moving.
// Run from a folder holding "fonts/bankgbtm.ttf" and "game.cfg" (bench/frame_loop.sh sets one
// up and runs this under Xvfb). Prints one line; it does not pass or fail.
#include "SDL.h"
#include "framework/core/Application.h"
#include "framework/core/Color.h"
#include "framework/core/Framework.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberImage.h"
#include "framework/stage/Script.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr int kCols = 15;
constexpr int kRows = 10;
constexpr int kSpriteW = 40;
constexpr int kSpriteH = 50;

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Counts frames from the first one on and ends the loop after the given time; moves one sprite
// back and forth across the screen when there is one.
class BenchScript : public Script
{
public:
    BenchScript(unsigned int ms, CastMember* mover) : Script(nullptr), _ms(ms), _mover(mover) {}

    void DoScript() override
    {
        const Uint32 now = SDL_GetTicks();
        if (frames == 0) {
            startTicks = now;
            startCpu = CpuSeconds();
        }
        ++frames;
        if (_mover != nullptr) {
            const int span = 800 - kSpriteW;
            const int step = static_cast<int>((now - startTicks) / 4) % (2 * span);
            _mover->Move(step < span ? step : 2 * span - step, 525, false);
        }
        if (now - startTicks >= _ms) {
            endTicks = now;
            endCpu = CpuSeconds();
            Application::Quit(0);
        }
    }

    int frames = 0;
    Uint32 startTicks = 0;
    Uint32 endTicks = 0;
    double startCpu = 0.0;
    double endCpu = 0.0;

private:
    unsigned int _ms;
    CastMember* _mover;
};

class BenchApp : public Framework
{
public:
    BenchApp(bool withSprites, unsigned int ms) : _withSprites(withSprites), _ms(ms) {}
    ~BenchApp() override
    {
        _sprites.clear();
        _sheet.reset();
    }

    bool OnInit(int argc, char** argv) override
    {
        if (!Framework::OnInit(argc, argv)) {
            return false;
        }
        CastMember* mover = nullptr;
        if (_withSprites) {
            MakeSprites();
            mover = _sprites.back().get();
        }
        script = std::make_unique<BenchScript>(_ms, mover);
        _animationManager->SetScript(script.get());
        return true;
    }

    std::unique_ptr<BenchScript> script;

private:
    void MakeSprites()
    {
        _sheet = std::make_unique<ImageResource>(kCols * kSpriteW, kRows * kSpriteH, kCols, kRows);
        for (int y = 0; y < _sheet->GetH(); ++y) {
            for (int x = 0; x < _sheet->GetW(); ++x) {
                _sheet->SetPixel(x, y,
                                 Color(static_cast<unsigned char>(x * 3),
                                       static_cast<unsigned char>(y * 2),
                                       static_cast<unsigned char>(x ^ y), 255));
            }
        }
        Cast* cast = _animationManager->GetCast();
        for (int i = 0; i < kCols * kRows; ++i) {
            Image frame(_sheet.get(), i % kCols, i / kCols, 0);
            // The sprites show copies of the frames; the sheet stays ours.
            _sprites.push_back(std::make_unique<CastMemberImage>(
                cast, &frame, (i % kCols) * (kSpriteW + 12), (i / kCols) * kSpriteH, 10 + i, 0));
        }
    }

    bool _withSprites;
    unsigned int _ms;
    std::unique_ptr<ImageResource> _sheet;
    std::vector<std::unique_ptr<CastMemberImage>> _sprites;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || (std::strcmp(argv[1], "idle") != 0 && std::strcmp(argv[1], "sprites") != 0)) {
        std::fprintf(stderr, "usage: %s idle|sprites SECONDS\n", argv[0]);
        return 2;
    }
    const bool withSprites = std::strcmp(argv[1], "sprites") == 0;
    const unsigned int ms = static_cast<unsigned int>(std::atof(argv[2]) * 1000.0);

    int code = 0;
    int frames = 0;
    double wall = 0.0;
    double cpu = 0.0;
    {
        BenchApp app(withSprites, ms);
        code = Application::Execute(0, nullptr);
        if (app.script) {
            frames = app.script->frames;
            wall = (app.script->endTicks - app.script->startTicks) / 1000.0;
            cpu = app.script->endCpu - app.script->startCpu;
        }
    }
    if (code != 0 || wall <= 0.0) {
        std::fprintf(stderr, "%s: the frame loop did not run (code %d)\n", argv[1], code);
        return 1;
    }
    std::printf("%-8s %6d frames in %5.2f s: %8.1f frames per second, %5.3f CPU s per wall s\n",
                argv[1], frames, wall, frames / wall, cpu / wall);
    std::fflush(stdout);
    return 0;
}
