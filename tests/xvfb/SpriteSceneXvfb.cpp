// A scene of every sprite kind in a real window, for the Xvfb test (sprite_scene.sh): it shows
// an image, a button, a text, a progress bar and the software cursor, feeds the window's mouse
// events to the stage and paints every frame itself (stage paint, cursor, flip). It reports on
// stdout: "ready" after the first frame, "moved X Y" once a frame after a mouse move is on the
// screen, and "clicked ID BUTTON" for each click on the button. Escape or closing ends it.
//
// Usage: sprite_scene_xvfb FONT_FILE WORK_FOLDER
#include "SDL.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/stage/ButtonListener.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberButton.h"
#include "framework/stage/CastMemberCursor.h"
#include "framework/stage/CastMemberImage.h"
#include "framework/stage/CastMemberProgress.h"
#include "framework/stage/CastMemberText.h"
#include "tests/xvfb/XvfbSceneSupport.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

// The colours the driver script looks for; keep both in step.
const Color kBackground(20, 40, 80);
const Color kImageFrames[] = {Color(200, 60, 60), Color(60, 200, 60)};
const Color kButtonLooks[] = {Color(90, 90, 90), Color(60, 120, 255), Color(255, 160, 0),
                              Color(40, 40, 40)};
const Color kText(255, 255, 255);
const Color kTextHover(255, 255, 0);
const Color kTextShadow(0, 0, 0);
const Color kBarFrame(230, 230, 230);
const Color kBar(0, 200, 0);
const Color kBarUnder(50, 50, 50);
const Color kCursor(250, 250, 250);

constexpr int kButtonId = 7;

// cols frames of w x h side by side, frame n in colors[n]; the image owns the sheet.
std::unique_ptr<Image> Strip(int w, int h, int cols, const Color* colors)
{
    auto* sheet = new ImageResource(w * cols, h, cols, 1);
    for (int i = 0; i < cols; ++i) {
        Rectangle cell(static_cast<short>(i * w), 0, static_cast<short>(w), static_cast<short>(h));
        sheet->FillRect(cell, colors[i]);
    }
    return std::make_unique<Image>(sheet, 0, 0, 1);
}

struct ClickReporter : ButtonListener
{
    void ButtonClicked(int id, int button) override
    {
        xvfbscene::Say("clicked " + std::to_string(id) + " " + std::to_string(button));
    }
};

int RunScene(SDL_Surface* screen, const char* fontFile)
{
    Font font(fontFile, 28, 0);
    if (font.GetRawFont() == nullptr) {
        std::fprintf(stderr, "cannot open font %s\n", fontFile);
        return 2;
    }
    auto imageStrip = Strip(60, 60, 2, kImageFrames);
    auto buttonLooks = Strip(120, 40, 4, kButtonLooks);

    int result = 0;
    {
        AnimationManager manager(nullptr, screen, false);
        Cast* cast = manager.GetCast();
        std::unique_ptr<Canvas> back(
            Canvas::CreateRGBCompatible(0, screen->w, screen->h, screen->format));

        // The stage deletes its sprites; the cursor is kept apart and owned here.
        auto* image = new CastMemberImage(cast, imageStrip.get(), 400, 100, 5, 0);
        image->SetFrame(1, 0);
        auto* button = new CastMemberButton(cast, buttonLooks.get(), kButtonId, 100, 300, 5);
        ClickReporter reporter;
        button->SetButtonListener(&reporter);
        new CastMemberText(cast, "Sprites", &font, kText, kTextHover, kTextShadow, 10, 100, 100, 5);
        auto* bar = new CastMemberProgress(cast, nullptr, kBarFrame, kBar, 202, 24, 100, 200, 5);
        bar->SetUnderColor(kBarUnder);
        bar->SetPercent(50);
        const Color arrowColor[] = {kCursor};
        CastMemberCursor cursor(cast, Strip(12, 16, 1, arrowColor).release(), Point(0, 0),
                                Strip(12, 16, 1, arrowColor).release(), Point(0, 0),
                                Strip(12, 16, 1, arrowColor).release(), Point(0, 0), 0, 0, 0);

        auto onEvent = [&](const SDL_Event& event) {
            if (event.type == SDL_MOUSEMOTION) {
                cursor.Move(event.motion.x, event.motion.y, false);
            }
            xvfbscene::ForwardMouse(*cast, event);
            return !xvfbscene::IsEscape(event);
        };
        auto onFrame = [&]() {
            // Every sprite into the back canvas, the cursor last, then the screen.
            cast->Animate(0);
            back->Clear(kBackground);
            back->AddDirtyRect(
                new Rectangle(0, 0, static_cast<short>(screen->w), static_cast<short>(screen->h)));
            cast->Paint(back.get(), true);
            cast->PaintCursor(back.get(), false);
            back->ClearDirtyRects();
            cast->ClearDirtyRects(true);
            cast->EndAnimationCycle();
            SDL_BlitSurface(back->GetSurface(), nullptr, screen, nullptr);
            SDL_Flip(screen);
            return true;
        };
        result = xvfbscene::RunScene(onEvent, onFrame, "no Escape");
    }
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    // The engine's log "debug.txt" goes to the work folder.
    if (!xvfbscene::EnterFolder(argc, argv, "FONT_FILE WORK_FOLDER", 2)) {
        return 2;
    }
    SDL_Surface* screen = xvfbscene::OpenSceneWindow("SpriteScene");
    if (screen == nullptr) {
        return 2;
    }
    SDL_ShowCursor(SDL_DISABLE);

    const int result = RunScene(screen, argv[1]);
    xvfbscene::CloseSceneWindow(true);
    return result;
}
