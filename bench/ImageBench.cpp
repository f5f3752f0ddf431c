// What the image classes cost over SDL itself: 150 frames of 40 x 50 from one sheet onto an
// 800 x 600 x 32 canvas, through Image and, beside it, with plain SDL_BlitSurface.
#include "SDL.h"
#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr int kCols = 15;
constexpr int kRows = 10;
constexpr int kFrameW = 40;
constexpr int kFrameH = 50;
constexpr int kFrames = kCols * kRows; // 150

struct Scene
{
    Scene()
    {
        screen = SDL_CreateRGBSurface(0, 800, 600, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
        Canvas::SetDefaultPixelFormat(screen->format);
        canvas = std::make_unique<Canvas>(screen); // owns the surface
        sheet = std::make_unique<ImageResource>(kCols * kFrameW, kRows * kFrameH, kCols, kRows);
        for (int y = 0; y < sheet->GetH(); ++y) {
            for (int x = 0; x < sheet->GetW(); ++x) {
                sheet->SetPixel(x, y,
                                Color(static_cast<unsigned char>(x), static_cast<unsigned char>(y),
                                      static_cast<unsigned char>(x ^ y), 255));
            }
        }
        for (int i = 0; i < kFrames; ++i) {
            images.push_back(std::make_unique<Image>(sheet.get(), i % kCols, i / kCols, 0));
            positions.push_back({(i * 97) % (800 - kFrameW), (i * 61) % (600 - kFrameH)});
        }
    }
    ~Scene()
    {
        images.clear();
        sheet.reset();
        canvas.reset();
        Canvas::SetDefaultPixelFormat(nullptr);
    }

    SDL_Surface* screen = nullptr;
    std::unique_ptr<Canvas> canvas;
    std::unique_ptr<ImageResource> sheet;
    std::vector<std::unique_ptr<Image>> images;
    std::vector<std::pair<int, int>> positions;
};

Scene& TheScene()
{
    static Scene scene;
    return scene;
}

// Each image holds its frame already: one Image::Blit per frame.
void BM_ImageBlit(benchmark::State& state)
{
    Scene& s = TheScene();
    for (auto _ : state) {
        for (int i = 0; i < kFrames; ++i) {
            s.images[i]->Blit(s.canvas.get(), s.positions[i].first, s.positions[i].second);
        }
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
}
BENCHMARK(BM_ImageBlit);

// The same rectangles straight from the sheet with SDL.
void BM_SdlBlitSurface(benchmark::State& state)
{
    Scene& s = TheScene();
    SDL_Surface* sheet = s.sheet->GetSurface();
    for (auto _ : state) {
        for (int i = 0; i < kFrames; ++i) {
            SDL_Rect src{static_cast<Sint16>((i % kCols) * kFrameW),
                         static_cast<Sint16>((i / kCols) * kFrameH), kFrameW, kFrameH};
            SDL_Rect dst{static_cast<Sint16>(s.positions[i].first),
                         static_cast<Sint16>(s.positions[i].second), 0, 0};
            SDL_BlitSurface(sheet, &src, s.screen, &dst);
        }
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
}
BENCHMARK(BM_SdlBlitSurface);

// An animated sprite's frame: SetFrame copies the frame from the sheet, then the blit.
void BM_ImageSetFrameAndBlit(benchmark::State& state)
{
    Scene& s = TheScene();
    Image& image = *s.images[0];
    int frame = 0;
    for (auto _ : state) {
        for (int i = 0; i < kFrames; ++i) {
            image.SetFrame(frame % kCols, frame / kCols);
            frame = (frame + 1) % kFrames;
            image.Blit(s.canvas.get(), s.positions[i].first, s.positions[i].second);
        }
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
}
BENCHMARK(BM_ImageSetFrameAndBlit);

} // namespace

int main(int argc, char** argv)
{
    // Headless: no window is needed (the engine writes its "debug.txt" in the working folder).
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
