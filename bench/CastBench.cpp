// What the stage costs over SDL itself: a full board of 150 image sprites of 40 x 50 over a
// background on an 800 x 600 x 32 canvas, painted as the frame loop paints it (gather the dirty
// rectangles, merge them, mark the sprites they touch, background, sprites back to front), once
// with everything dirty and once with a single sprite changed; beside each, plain
// SDL_BlitSurface of the same rectangles. The ratios are printed after the runs.
#include "SDL.h"
#include "framework/core/Rectangle.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMember.h"
#include "framework/stage/CastMemberImage.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kCols = 15;
constexpr int kRows = 10;
constexpr int kTileW = 40;
constexpr int kTileH = 50;
constexpr int kTiles = kCols * kRows; // 150
constexpr int kBoardX = 100;
constexpr int kBoardY = 50;

struct Scene
{
    Scene()
    {
        screen = SDL_CreateRGBSurface(0, 800, 600, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
        Canvas::SetDefaultPixelFormat(screen->format);
        manager = std::make_unique<AnimationManager>(nullptr, screen, false);
        cast = manager->GetCast();
        paint.reset(Canvas::CreateRGB(0, 800, 600, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0));

        auto* backPixels =
            Canvas::CreateRGB(0, 800, 600, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
        for (int y = 0; y < 600; y += 2) {
            Rectangle line(0, static_cast<short>(y), 800, 1);
            backPixels->FillRect(line, Color(20, static_cast<unsigned char>(y / 3), 60));
        }
        Rectangle whole(0, 0, 800, 600);
        background = std::make_unique<Image>(backPixels, whole);
        cast->SetBackground(background.get());

        sheet = std::make_unique<ImageResource>(kCols * kTileW, kRows * kTileH, kCols, kRows);
        for (int y = 0; y < sheet->GetH(); ++y) {
            for (int x = 0; x < sheet->GetW(); ++x) {
                sheet->SetPixel(x, y,
                                Color(static_cast<unsigned char>(x), static_cast<unsigned char>(y),
                                      static_cast<unsigned char>(x ^ y), 255));
            }
        }
        for (int i = 0; i < kTiles; ++i) {
            const int col = i % kCols;
            const int row = i / kCols;
            // The sprite takes the image (last argument 1) and deletes it with itself.
            auto* image = new Image(sheet.get(), col, row, 0);
            tiles.push_back(new CastMemberImage(cast, image, kBoardX + col * kTileW,
                                                kBoardY + row * kTileH, 10, 1));
        }
        cast->GetCastMembers(); // the tiles join the stage
    }
    ~Scene()
    {
        cast->SetBackground(static_cast<Image*>(nullptr));
        manager.reset(); // deletes the stage and its tiles
        background.reset();
        sheet.reset();
        paint.reset();
        Canvas::SetDefaultPixelFormat(nullptr);
        SDL_FreeSurface(screen);
    }

    SDL_Surface* screen = nullptr;
    std::unique_ptr<AnimationManager> manager;
    Cast* cast = nullptr;
    std::unique_ptr<Canvas> paint;
    std::unique_ptr<Image> background;
    std::unique_ptr<ImageResource> sheet;
    std::vector<CastMemberImage*> tiles;
};

Scene& TheScene()
{
    static Scene scene;
    return scene;
}

// The painting half of one frame, as the frame loop does it onto its paint canvas.
void StageFrame(Scene& s, bool all)
{
    Canvas* paint = s.paint.get();
    s.cast->Animate(0);
    s.cast->AddCursorDirty();
    if (all) {
        paint->AddDirtyRect(0, 0, 800, 600);
    }
    for (const std::unique_ptr<Rectangle>& r : s.cast->GetDirtyRects()) {
        auto* copy = new Rectangle(*r);
        if (!paint->AddDirtyRect(copy)) {
            delete copy;
        }
    }
    for (CastMember* m : s.cast->GetCastMembers()) {
        if (!m->IsDirty()) {
            continue;
        }
        auto* copy = new Rectangle(m->GetDirtyRect());
        if (!copy->OnScreen() || !paint->AddDirtyRect(copy)) {
            delete copy;
        }
    }
    s.cast->ClearDirtyRects(true);

    paint->MergeDirtyRects();
    for (Rectangle* r : paint->GetDirtyRects()) {
        s.cast->MarkMoreDirty(r);
    }
    for (Rectangle* r : paint->GetDirtyRects()) {
        s.cast->PaintBackground(paint, r);
    }
    s.cast->Paint(paint, all);
    s.cast->PaintCursor(paint, false);
    paint->ClearDirtyRects();
    s.cast->EndAnimationCycle();
}

void BlitTile(Scene& s, int i)
{
    SDL_Rect src{static_cast<Sint16>((i % kCols) * kTileW),
                 static_cast<Sint16>((i / kCols) * kTileH), kTileW, kTileH};
    SDL_Rect dst{static_cast<Sint16>(kBoardX + (i % kCols) * kTileW),
                 static_cast<Sint16>(kBoardY + (i / kCols) * kTileH), 0, 0};
    SDL_BlitSurface(s.sheet->GetSurface(), &src, s.paint->GetSurface(), &dst);
}

void BM_StageEverythingDirty(benchmark::State& state)
{
    Scene& s = TheScene();
    for (auto _ : state) {
        StageFrame(s, true);
    }
}
BENCHMARK(BM_StageEverythingDirty);

void BM_SdlEverything(benchmark::State& state)
{
    Scene& s = TheScene();
    SDL_Surface* back = s.background->GetCanvas()->GetSurface();
    for (auto _ : state) {
        SDL_Rect dst{0, 0, 0, 0};
        SDL_BlitSurface(back, nullptr, s.paint->GetSurface(), &dst);
        for (int i = 0; i < kTiles; ++i) {
            BlitTile(s, i);
        }
    }
}
BENCHMARK(BM_SdlEverything);

void BM_StageOneSpriteChanged(benchmark::State& state)
{
    Scene& s = TheScene();
    int next = 0;
    for (auto _ : state) {
        s.tiles[next]->Repaint();
        next = (next + 37) % kTiles;
        StageFrame(s, false);
    }
}
BENCHMARK(BM_StageOneSpriteChanged);

void BM_SdlOneSprite(benchmark::State& state)
{
    Scene& s = TheScene();
    SDL_Surface* back = s.background->GetCanvas()->GetSurface();
    int next = 0;
    for (auto _ : state) {
        const int i = next;
        next = (next + 37) % kTiles;
        SDL_Rect area{static_cast<Sint16>(kBoardX + (i % kCols) * kTileW),
                      static_cast<Sint16>(kBoardY + (i / kCols) * kTileH), kTileW, kTileH};
        SDL_Rect dst = area;
        SDL_BlitSurface(back, &area, s.paint->GetSurface(), &dst);
        BlitTile(s, i);
    }
}
BENCHMARK(BM_SdlOneSprite);

// Console output as usual, and the times kept for the ratios printed at the end.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration) {
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
            }
        }
    }
    void PrintRatio(const char* label, const std::string& stage, const std::string& sdl) const
    {
        const auto a = times.find(stage);
        const auto b = times.find(sdl);
        if (a != times.end() && b != times.end() && b->second > 0.0) {
            std::printf("ratio %-40s stage / SDL_BlitSurface = %.2f\n", label,
                        a->second / b->second);
        }
    }
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char** argv)
{
    // Headless: no window is needed (the engine writes its "debug.txt" in the working folder).
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("everything dirty (150 sprites)", "BM_StageEverythingDirty",
                        "BM_SdlEverything");
    reporter.PrintRatio("one sprite changed", "BM_StageOneSpriteChanged", "BM_SdlOneSprite");
    std::fflush(stdout);
    benchmark::Shutdown();
    return 0;
}
