// Framework: window events, audio and clock control, settings, resources and the script.

#include "SDL_mixer.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/ConfigFileGame.h"
#include "framework/core/Framework.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Audio.h"
#include "framework/media/Canvas.h"
#include "framework/media/Music.h"
#include "framework/media/Sound.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberCursor.h"
#include "framework/stage/GameTime.h"
#include "framework/stage/Script.h"

#include <cstdlib>
#include <memory>
#include <numeric>
#include <utility>

namespace {

constexpr int kDefaultFontSize = 24;
constexpr int kDefaultSmallFontSize = 16;
constexpr int kDefaultDialogSize = 16;

// The range of the random numbers RandInt scales: 0..kRandRange - 1.
constexpr int64_t kRandRange = 32768;

} // namespace

// --- input ---

void Framework::OnIdle(unsigned int) {}

void Framework::OnEvent(SDL_Event* event)
{
    // What the event set going may show only after a later step of this pass.
    if (_animationManager != nullptr) {
        _animationManager->EventArrived();
    }
    EventHandler::OnEvent(event);
}

void Framework::OnKeyDown(SDLKey sym, SDLMod mod, unsigned short unicode)
{
    if (_animationManager != nullptr) {
        _animationManager->KeyDown(sym, mod, unicode);
    }
}

void Framework::OnKeyUp(SDLKey sym, SDLMod mod, unsigned short unicode)
{
    if (_animationManager != nullptr) {
        _animationManager->KeyUp(sym, mod, unicode);
    }
}

void Framework::OnMouseMove(unsigned short x, unsigned short y, short, short, bool left, bool right,
                            bool middle)
{
    if (_cursor != nullptr) {
        _cursor->Move(x, y, false);
    }
    if (_animationManager == nullptr) {
        return;
    }
    if (left || right || middle) {
        _animationManager->MouseDrag(x, y);
    } else {
        _animationManager->MouseMove(x, y);
    }
}

void Framework::OnLButtonDown(unsigned short x, unsigned short y)
{
    if (_animationManager != nullptr) {
        _animationManager->MouseDown(x, y, SDL_BUTTON_LEFT);
    }
}

void Framework::OnLButtonUp(unsigned short x, unsigned short y)
{
    if (_animationManager != nullptr) {
        _animationManager->MouseUp(x, y, SDL_BUTTON_LEFT);
    }
}

void Framework::OnRButtonDown(unsigned short x, unsigned short y)
{
    if (_animationManager != nullptr) {
        _animationManager->MouseDown(x, y, SDL_BUTTON_RIGHT);
    }
}

void Framework::OnRButtonUp(unsigned short x, unsigned short y)
{
    if (_animationManager != nullptr) {
        _animationManager->MouseUp(x, y, SDL_BUTTON_RIGHT);
    }
}

void Framework::OnMButtonDown(unsigned short x, unsigned short y)
{
    if (_animationManager != nullptr) {
        _animationManager->MouseDown(x, y, SDL_BUTTON_MIDDLE);
    }
}

void Framework::OnMButtonUp(unsigned short x, unsigned short y)
{
    if (_animationManager != nullptr) {
        _animationManager->MouseUp(x, y, SDL_BUTTON_MIDDLE);
    }
}

// --- focus, minimise and pause ---

void Framework::PauseAudio()
{
    if (Music::IsPlaying()) {
        Music::Pause();
    }
    Sound::Pause();
}

void Framework::ResumeAudio()
{
    if (Music::IsPaused()) {
        Music::Resume();
    }
    Sound::Resume();
}

void Framework::StopClock()
{
    if (_animationManager != nullptr && _animationManager->GetGameTime() != nullptr) {
        _animationManager->GetGameTime()->Stop();
    }
}

void Framework::StartClock()
{
    if (_animationManager != nullptr && _animationManager->GetGameTime() != nullptr) {
        _animationManager->GetGameTime()->Start();
    }
}

void Framework::RepaintAll(bool unused)
{
    if (_animationManager != nullptr) {
        _animationManager->RepaintAll(unused);
    }
}

bool Framework::ScriptInShellState()
{
    if (_animationManager == nullptr) {
        return false;
    }
    Script* script = _animationManager->GetScript();
    // The shell's states lie below the game's and pause the clock on focus loss.
    return script != nullptr && script->GetState() < Script::kFirstGameState;
}

void Framework::OnInputBlur()
{
    _inputFocus = false;
    if (_animationManager != nullptr) {
        _animationManager->SetInputFocus(false);
    }
    if (ScriptInShellState()) {
        StopClock();
        RepaintAll(false);
    }
    PauseAudio();
}

void Framework::OnInputFocus()
{
    _inputFocus = true;
    if (_animationManager != nullptr) {
        _animationManager->SetInputFocus(true);
    }
    if (ScriptInShellState()) {
        if (!_gamePaused) {
            StartClock();
        }
        RepaintAll(false);
    }
    ResumeAudio();
}

void Framework::OnMinimize()
{
    if (_animationManager != nullptr && _animationManager->GetScript() != nullptr) {
        StopClock();
    }
    PauseAudio();
}

void Framework::OnRestore()
{
    if (_animationManager != nullptr) {
        if (!_gamePaused) {
            StartClock();
        }
        RepaintAll(true);
    }
    ResumeAudio();
}

void Framework::OnMouseFocus()
{
    if (CursorVisible() && _cursor != nullptr) {
        _cursor->Show();
    }
    RepaintAll(false);
}

void Framework::OnMouseBlur()
{
    if (_cursor != nullptr) {
        _cursor->Hide();
    }
}

void Framework::ResetScreenMode()
{
    if (_animationManager != nullptr) {
        _animationManager->ResetScreenMode();
    }
}

void Framework::OnExpose()
{
    RepaintAll(false);
}

void Framework::PauseGame()
{
    _gamePaused = true;
    StopClock();
    PauseAudio();
}

void Framework::UnPauseGame()
{
    _gamePaused = false;
    StartClock();
    ResumeAudio();
}

bool Framework::HasInputFocus()
{
    return _inputFocus;
}

// --- look ---

ConfigFile* Framework::GetThemeConfig()
{
    if (!_themeConfig) {
        _themeConfig = std::make_unique<ConfigFile>("cfg/skin.cfg", false, false, false);
    }
    return _themeConfig.get();
}

std::string Framework::GetGameName()
{
    return "None";
}

void Framework::SetDialogAttributes() {}

void Framework::SetTitle(const char* title, const char* iconFile)
{
    // SDL 1.2 sets an icon through its video device unchecked: without one (SDL did not start,
    // as with no display) the failed start must still end cleanly.
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        return;
    }
    SDL_WM_SetCaption(title, iconFile);
    // Read as every picture is, so that a damaged icon file is refused before decoding.
    const std::unique_ptr<Canvas> icon(iconFile != nullptr ? Canvas::LoadImg(iconFile) : nullptr);
    if (icon != nullptr && icon->GetSurface() != nullptr) {
        // SDL makes its own copy of the icon.
        SDL_WM_SetIcon(icon->GetSurface(), nullptr);
    }
}

const char* Framework::GetDefaultFontName()
{
    return _defaultFontName.c_str();
}

void Framework::SetDefaultFontName(std::string name)
{
    _defaultFontName = std::move(name);
}

int Framework::GetDefaultFontSize()
{
    return kDefaultFontSize;
}

int Framework::GetDefaultSmallFontSize()
{
    return kDefaultSmallFontSize;
}

int Framework::GetDefaultDialogSize()
{
    return kDefaultDialogSize;
}

SDL_PixelFormat* Framework::GetSWPixelFormat()
{
    if (_animationManager == nullptr) {
        return nullptr;
    }
    Canvas* canvas = _animationManager->GetPaintCanvas();
    SDL_Surface* surface = canvas != nullptr ? canvas->GetSurface() : nullptr;
    return surface != nullptr ? surface->format : nullptr;
}

void Framework::ShowCursor()
{
    _cursorVisible = true;
    if (_cursor == nullptr) {
        return;
    }
    Cast* cast = _animationManager != nullptr ? _animationManager->GetCast() : nullptr;
    if (cast != nullptr && !cast->Contains(_cursor)) {
        Cast* previous = _cursor->GetCast();
        _cursor->SetCast(cast);
        // The stage left behind must not keep pointing at the cursor, which may go before it.
        if (previous != nullptr && previous != cast && previous->GetCursor() == _cursor) {
            previous->SetCursor(nullptr);
        }
    }
    _cursor->Show();
}

void Framework::HideCursor()
{
    _cursorVisible = false;
    if (_cursor != nullptr) {
        _cursor->Hide();
    }
}

bool Framework::CursorVisible()
{
    return _cursorVisible;
}

bool Framework::ToggleDropShadows(bool on)
{
    const bool before = Application::DropShadowsAllowed();
    if (on != before) {
        Application::AllowDropShadows(!before);
        RepaintAll(false);
    }
    return before;
}

void Framework::SetHighDetail(bool on)
{
    _highDetail = on;
    if (_animationManager != nullptr) {
        _animationManager->SetHighDetail(on);
    }
}

bool Framework::GetHighDetail()
{
    return _highDetail;
}

// --- sound ---

int Framework::SetVolumeSounds(int volume)
{
    return Mix_Volume(-1, volume);
}

int Framework::SetVolumeMusic(int volume)
{
    // Music kept quiet at volume 0 may have let the device pause: it is heard again.
    Audio::ResumeDevice();
    return Mix_VolumeMusic(volume);
}

// --- player ---

std::string Framework::GetPlayerFileName()
{
    return _playerFileName;
}

std::string Framework::GetPlayerName()
{
    return _playerName;
}

// --- frame rate ---

void Framework::ShowFPS(bool on)
{
    _showFps = on;
}

bool Framework::ShowFPS()
{
    return _showFps;
}

void Framework::SetFPS(int fps)
{
    ++_fpsCalls;
    _lastFps = fps;
    for (size_t i = 1; i < _fpsSamples.size(); ++i) {
        _fpsSamples[i - 1] = _fpsSamples[i];
    }
    _fpsSamples.back() = fps;
    const int64_t sum = std::accumulate(_fpsSamples.begin(), _fpsSamples.end(), int64_t{0});
    _movingAverage = static_cast<int>(sum / static_cast<int64_t>(_fpsSamples.size()));
}

int Framework::GetFPS()
{
    return _lastFps;
}

int Framework::GetMovingAverageFPS()
{
    return _fpsCalls >= static_cast<int>(_fpsSamples.size()) ? _movingAverage : 0;
}

// --- random numbers ---

void Framework::SetSeed(unsigned int seed)
{
    std::srand(seed);
    _randState = seed;
}

int Framework::RandInt(int a, int b)
{
    if (a > b) {
        std::swap(a, b);
    }
    // The classic 15-bit linear congruential generator, whatever rand() of the C library gives.
    _randState = _randState * 1103515245u + 12345u;
    const int64_t r = (_randState / 65536u) % kRandRange;
    const int64_t span = static_cast<int64_t>(b) - a + 1;
    return static_cast<int>(a + r * span / kRandRange);
}

// --- resources, script, settings ---

int Framework::LoadMenuResources(bool onThread)
{
    return _script != nullptr ? _script->LoadMenuResources(onThread) : 0;
}

int Framework::LoadGameResources(bool)
{
    return 0;
}

int Framework::LoadOtherResources(int, bool)
{
    return 0;
}

void Framework::SetScript(Script* script)
{
    _script = script;
}

bool Framework::AllowDoubleBufferMode()
{
    return _gameConfig != nullptr && _gameConfig->allowdoublebuffered;
}

bool Framework::AllowLoadingThread()
{
    return _gameConfig != nullptr && _gameConfig->allowloadingthread;
}
