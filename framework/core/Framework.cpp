#include "framework/core/Framework.h"

#include "SDL_ttf.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/ConfigFileGame.h"
#include "framework/core/DebugLifetime.h"
#include "framework/core/WebUpdater.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Audio.h"
#include "framework/media/Canvas.h"
#include "framework/media/Channel.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/shell/AppScript.h"
#include "framework/stage/CastMemberCursor.h"
#include "framework/stage/GameTime.h"

Framework* Framework::_theApp = nullptr;
int Framework::_sixteenBit = 0;

namespace {

constexpr int kInitFailed = -4;

constexpr int kAudioFrequency = 22050;
constexpr int kAudioChannels = 2;
constexpr int kMixerChannels = 10;

constexpr Uint32 kUpdaterWaitMs = 5000;
constexpr Uint32 kThreadPollMs = 20;

constexpr int kCursorLoopSpeed = 32;
constexpr int kCursorShadowAlpha = 48;

int Flag(Uint32 flags, Uint32 bit)
{
    return (flags & bit) != 0 ? 1 : 0;
}

} // namespace

Framework::Framework() : _imageResources("cfg/images.cfg", "images")
{
    _theApp = this;
    Canvas::SetDefaultPixelFormat(nullptr);
    _gameConfig = new ConfigFileGame("game.cfg");
    _sixteenBit = _gameConfig->forcesixteen;
}

Framework::~Framework()
{
    CloseFrameworkFonts();
    _themeConfig.reset();
    delete _gameConfig;
    _gameConfig = nullptr;

    EndWebUpdater();

    Channel::Allocate(0);
    Audio::Close();

    delete _cursor;
    _cursor = nullptr;
    delete _animationManager;
    _animationManager = nullptr;
    // Sheets still held by sprites are dropped only now that the stage and the cursor are gone,
    // and before the object report, which would count them.
    _imageResources.DeleteAll();

    DebugLifetime::DumpStats();
    Debug::CloseDebugFile();

    if (TTF_WasInit() != 0) {
        TTF_Quit();
    }
    SDL_Quit();

    if (_theApp == this) {
        _theApp = nullptr;
    }
}

Framework* Framework::GetApp()
{
    return _theApp;
}

int Framework::SixteenBit()
{
    return _sixteenBit;
}

bool Framework::FailInit()
{
    // Execute returns -4 for a failed start; the exit line must say so too.
    Application::Quit(kInitFailed);
    return false;
}

bool Framework::OnInit(int argc, char** argv)
{
    Application::OnInit(argc, argv);
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        DebugVar(-1, "SDL is not running: cannot start");
        return FailInit();
    }

    // The mouse cursor is a sprite.
    SDL_ShowCursor(SDL_DISABLE);

    if (_gameConfig->allowwebupdater) {
        _webUpdater = new WebUpdater(this, _gameConfig->updatehost);
    }

    _animationManager = CreateAnimationManager(false);
    if (_animationManager == nullptr) {
        return FailInit();
    }
    // The slowed test clock is shared by every clock, the frame loop's included.
    GameTime::SetTestSlow(_gameConfig->testslow);
    // Mouse input stays off until the application script shows something to click.
    _animationManager->SetMasterInput(false);
    _animationManager->SetHighDetail(_highDetail);
    _animationManager->SetInputFocus(_inputFocus);
    // Nothing moving on the screen: sleep until input, a worker's end or the next timed step.
    _animationManager->SetIdleWait(true);

    Canvas::SetDefaultPixelFormat(GetSWPixelFormat());

    if (!Audio::Open(_gameConfig->audiobuffersize, kAudioFrequency, AUDIO_S16LSB, kAudioChannels)) {
        DebugVar(-1, "Failed to Open Audio");
    }
    if (!Channel::Allocate(kMixerChannels)) {
        DebugVar(-1, "Could not Allocate all requested sound channels. Some may have initialized");
    }

    if (TTF_WasInit() == 0 && TTF_Init() == -1) {
        DebugVar(-1, "Could not initialize TTF system");
        return FailInit();
    }

    CreateFonts();
    SetDialogAttributes();
    return true;
}

AnimationManager* Framework::CreateAnimationManager(bool)
{
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (info != nullptr) {
        DebugOut("Hardware Surfaces available: ", static_cast<int>(info->hw_available));
        DebugOut("Video memory available: ", static_cast<int>(info->video_mem));
        DebugOut("Best supported Display Mode: BitsPP: ",
                 info->vfmt != nullptr ? info->vfmt->BitsPerPixel : 0);
    }

    SDL_Surface* surface = SDL_SetVideoMode(kScreenWidth, kScreenHeight, 32, 0);
    if (surface != nullptr) {
        Canvas::SetDefaultPixelFormat(surface->format);
    }
    if (_sixteenBit != 0) {
        // The video surface is SDL's: setting the mode again replaces it.
        surface = SDL_SetVideoMode(kScreenWidth, kScreenHeight, 16, 0);
        // The format given above went with the 32-bit mode.
        Canvas::SetDefaultPixelFormat(surface != nullptr ? surface->format : nullptr);
    }
    if (surface == nullptr) {
        DebugOut("Could not create primary Video Surface.");
        Debug::DebugFlush();
        return nullptr;
    }

    info = SDL_GetVideoInfo();
    DebugOut("Video memory available after screen surface created: ",
             info != nullptr ? static_cast<int>(info->video_mem) : 0);
    DebugOut("fullScreen set: ", Flag(surface->flags, SDL_FULLSCREEN));
    DebugOut("doublebuf set: ", Flag(surface->flags, SDL_DOUBLEBUF));
    DebugOut("hwsurface set: ", Flag(surface->flags, SDL_HWSURFACE));
    const SDL_PixelFormat* f = surface->format;
    const std::string prefix = "Display format: ";
    DebugOut(prefix + "BitsPerPixel: ", f->BitsPerPixel);
    DebugOut(prefix + "Rmask: ", static_cast<int>(f->Rmask));
    DebugOut(prefix + "Gmask: ", static_cast<int>(f->Gmask));
    DebugOut(prefix + "Bmask: ", static_cast<int>(f->Bmask));
    DebugOut(prefix + "Amask: ", static_cast<int>(f->Amask));
    DebugOut(prefix + "Rloss: ", f->Rloss);
    DebugOut(prefix + "Gloss: ", f->Gloss);
    DebugOut(prefix + "Bloss: ", f->Bloss);
    DebugOut(prefix + "Aloss: ", f->Aloss);
    DebugOut(prefix + "Rshift: ", f->Rshift);
    DebugOut(prefix + "Gshift: ", f->Gshift);
    DebugOut(prefix + "Bshift: ", f->Bshift);
    DebugOut(prefix + "Ashift: ", f->Ashift);
    Debug::DebugFlush();

    return new AnimationManager(this, surface, (surface->flags & SDL_FULLSCREEN) != 0);
}

void Framework::CreateFonts()
{
    CloseFrameworkFonts();
    CreateFrameworkFonts();
}

void Framework::CreateFrameworkFonts()
{
    static constexpr int kStyles[] = {TTF_STYLE_NORMAL, TTF_STYLE_BOLD, TTF_STYLE_ITALIC,
                                      TTF_STYLE_UNDERLINE};
    const std::string file = GetDefaultFontName();
    int next = 0;
    for (const int size : {GetDefaultFontSize(), GetDefaultSmallFontSize()}) {
        for (const int style : kStyles) {
            _fonts[next++] = std::make_unique<Font>(file, size, style);
        }
    }
    _fonts[kDialogFontBold] = std::make_unique<Font>(file, GetDefaultDialogSize(), TTF_STYLE_BOLD);
}

void Framework::CloseFrameworkFonts()
{
    // Cleared as well as freed, so nothing can reach a closed font.
    for (auto& font : _fonts) {
        if (font) {
            font->Close();
            font.reset();
        }
    }
}

Font* Framework::GetFrameworkFont(FrameworkFont which) const
{
    return which >= 0 && which < kFrameworkFontCount ? _fonts[which].get() : nullptr;
}

void Framework::CreateCursorSprite(const CursorLook& arrow, const CursorLook& hand,
                                   const CursorLook& wait, bool perPixelAlpha, const Point& shadow,
                                   Cast* cast)
{
    SDL_PixelFormat* format = perPixelAlpha ? Canvas::PerPixelFormat() : nullptr;
    Image* images[3] = {};
    const CursorLook* looks[3] = {&arrow, &hand, &wait};
    for (int i = 0; i < 3; ++i) {
        auto* sheet = new ImageResource(looks[i]->image, looks[i]->frames, 1, format);
        // The cursor's images own their sheets.
        sheet->AllowImageDelete(true);
        images[i] = new Image(sheet, 0, 0, 0);
    }

    delete _cursor;
    _cursor =
        new CastMemberCursor(cast, images[0], arrow.hotspot, images[1], hand.hotspot, images[2],
                             wait.hotspot, arrow.loopDelay, hand.loopDelay, wait.loopDelay);
    _cursor->UseTransparentBackground();
    if (!perPixelAlpha) {
        _cursor->SetDropShadow(shadow.GetX(), shadow.GetY(), Color(0, 0, 0, 255),
                               kCursorShadowAlpha);
    }
    _cursor->Loop(kCursorLoopSpeed, -1, 0, arrow.loopDelay);
}

void Framework::DoIt()
{
    Application::DoIt();
    if (_animationManager != nullptr) {
        _animationManager->DoIt();
    }
}

void Framework::OnExit()
{
    Application::OnExit();
    // Loaders still at work read the image list and the fonts: they finish first.
    if (auto* script = dynamic_cast<AppScript*>(_script)) {
        script->WaitOnThreads();
    }
    _imageResources.DeleteAll();
}

void Framework::EndWebUpdater()
{
    if (_webUpdater == nullptr) {
        return;
    }
    const Uint32 start = SDL_GetTicks();
    while (_webUpdater->IsRunning()) {
        SDL_Delay(kThreadPollMs);
        if (SDL_GetTicks() - start > kUpdaterWaitMs) {
            DebugVar(-1, "Web Updater Did not Quit Properly! Please check the readme.rtf for "
                         "information about disabling your personal firewall.");
            break;
        }
    }
    // A worker that still runs would use freed memory: such a thread is left alive (and logged).
    Thread::DeleteIfFinished(_webUpdater);
    _webUpdater = nullptr;
}
