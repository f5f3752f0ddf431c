#pragma once

#include "SDL.h"
#include "framework/core/EventHandler.h"
#include "framework/core/Export.h"
#include "framework/core/ImageResources.h"
#include "framework/core/Point.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class AnimationManager;
class Cast;
class CastMemberCursor;
class ConfigFile;
class ConfigFileGame;
class ConfigFileSplash;
class Font;
class Script;
class WebUpdater;

// The engine's application class, one per process: it owns the settings, the framework fonts,
// the software cursor, the per-frame loop (AnimationManager) and the update check, brings them
// up in OnInit and down in its destructor, turns SDL input into frame-loop input and offers the
// application-wide services (clock pausing on focus changes, frame-rate statistics, random
// numbers, volumes, detail, cursor, theme). The game derives its application class from it;
// every virtual operation is a hook with a library default.
//
// Before OnInit only the settings, the image list and the default font name exist; between
// OnInit and OnExit every service is usable. All of it runs on the main thread, except the
// three resource loaders, which a LoadingThread calls on its worker.
class FRAMEWORK_API Framework : public EventHandler
{
public:
    // The nine framework fonts, in the order they are made.
    enum FrameworkFont {
        kFontNormal = 0,
        kFontBold,
        kFontItalic,
        kFontUnderline,
        kSmallFontNormal,
        kSmallFontBold,
        kSmallFontItalic,
        kSmallFontUnderline,
        kDialogFontBold,
        kFrameworkFontCount
    };

    // One software cursor's look: a sheet of frames side by side in one row, the hot spot and
    // the loop delay of the frames.
    struct CursorLook
    {
        std::string image;
        int frames = 1;
        Point hotspot;
        int loopDelay = 32;
    };

    static constexpr int kScreenWidth = 800;
    static constexpr int kScreenHeight = 600;

    // Runs the application set-up (SDL), then reads the settings "game.cfg" and the image list
    // "cfg/images.cfg" (section "images").
    Framework();
    // Closes everything OnInit opened, in reverse order, then writes the object report and
    // shuts SDL down. The game's own objects (its script, its sprites) must be gone before.
    ~Framework() override;

    static Framework* GetApp();
    // The "forcesixteen" setting as read when the framework was made.
    static int SixteenBit();

    // Log banner, hidden system cursor, update check, window and frame loop, audio at
    // 22050 Hz 16-bit stereo with 10 channels, fonts. Audio failures are logged and passed
    // over; false (and the exit code -4) when SDL is not running, the window could not be
    // made or SDL_ttf does not start.
    bool OnInit(int argc, char** argv) override;
    // Nothing.
    void OnIdle(unsigned int ms) override;
    // Tells the frame loop that this pass brought an event (its idle sleep waits for a pass
    // without one), then dispatches it.
    void OnEvent(SDL_Event* event) override;
    // Logs the exit code and drops the image assets.
    void OnExit() override;
    // One whole frame of the frame loop.
    void DoIt() override;

    // Losing the input focus stops the clock while the script is in a shell state (below 100;
    // the game's states handle focus themselves) and always pauses music and sounds.
    void OnInputFocus() override;
    void OnInputBlur() override;
    void OnMouseFocus() override;
    void OnMouseBlur() override;
    void ResetScreenMode() override;
    void OnMinimize() override;
    // Called after ResetScreenMode when the window is active again; a paused game stays paused.
    void OnRestore() override;
    void OnKeyDown(SDLKey sym, SDLMod mod, unsigned short unicode) override;
    void OnKeyUp(SDLKey sym, SDLMod mod, unsigned short unicode) override;
    // The cursor follows the mouse even while input is off; a move with a button held is a drag.
    void OnMouseMove(unsigned short x, unsigned short y, short xrel, short yrel, bool left,
                     bool right, bool middle) override;
    void OnLButtonDown(unsigned short x, unsigned short y) override;
    void OnLButtonUp(unsigned short x, unsigned short y) override;
    void OnRButtonDown(unsigned short x, unsigned short y) override;
    void OnRButtonUp(unsigned short x, unsigned short y) override;
    void OnMButtonDown(unsigned short x, unsigned short y) override;
    void OnMButtonUp(unsigned short x, unsigned short y) override;
    void OnExpose() override;

    // "cfg/skin.cfg", made on first use: the parent of the dialog descriptions.
    virtual ConfigFile* GetThemeConfig();
    virtual void CloseFrameworkFonts();
    virtual void CreateFrameworkFonts();
    virtual std::string GetGameName();
    // Opens the 800 x 600 window (16 bits when "forcesixteen" is set) and makes the frame loop
    // on it; null (logged) when the window could not be made. The argument is not used.
    virtual AnimationManager* CreateAnimationManager(bool unused);
    // Closes the framework fonts and makes them again from the default font name and sizes.
    virtual void CreateFonts();
    // Called once at the end of OnInit so that dialogs can take their look; empty here.
    virtual void SetDialogAttributes();
    // Builds the software cursor on cast from the splash description's three cursors (see
    // CreateCursorSprite). Defined with the shell, which owns the description.
    virtual void CreateCursors(ConfigFileSplash* description, Cast* cast);
    // Window caption and icon; the icon file name is also the icon caption. Nothing while SDL's
    // video is not running.
    virtual void SetTitle(const char* title, const char* iconFile);
    virtual const char* GetDefaultFontName();
    virtual void SetDefaultFontName(std::string name);
    virtual int GetDefaultFontSize();
    virtual int GetDefaultSmallFontSize();
    virtual int GetDefaultDialogSize();
    // The pixel format of the surface sprites paint on; null before the frame loop exists.
    virtual SDL_PixelFormat* GetSWPixelFormat();
    // Puts the cursor sprite on the current stage when it is not there and shows it.
    virtual void ShowCursor();
    virtual void HideCursor();
    virtual bool CursorVisible();
    // Returns the setting before the call; a change repaints the screen.
    virtual bool ToggleDropShadows(bool on);
    // Stops the clock and pauses music and sounds until UnPauseGame.
    virtual void PauseGame();
    virtual void UnPauseGame();
    // 0..128; the mixer's answer.
    virtual int SetVolumeSounds(int volume);
    virtual int SetVolumeMusic(int volume);
    virtual void SetHighDetail(bool on);
    virtual bool GetHighDetail();
    virtual std::string GetPlayerFileName();
    virtual std::string GetPlayerName();
    virtual bool HasInputFocus();
    virtual void ShowFPS(bool on);
    virtual bool ShowFPS();
    // Called by the frame loop with each new frame-rate measurement.
    virtual void SetFPS(int fps);
    // The last value given to SetFPS.
    virtual int GetFPS();
    // The mean of the last 20 measurements; 0 until there were 20.
    virtual int GetMovingAverageFPS();
    virtual void SetSeed(unsigned int seed);
    // Uniform in a..b inclusive (the bounds in either order).
    virtual int RandInt(int a, int b);
    // The resource loaders; onThread is true on a loading thread's worker, where nothing the
    // main thread uses meanwhile may be touched. The menu loader asks the script.
    virtual int LoadMenuResources(bool onThread);
    virtual int LoadGameResources(bool onThread);
    virtual int LoadOtherResources(int mode, bool onThread);
    // Not owned.
    virtual void SetScript(Script* script);
    virtual bool AllowDoubleBufferMode();
    virtual bool AllowLoadingThread();

    // Builds the software cursor on cast from the arrow, hand and wait looks and keeps it; a
    // cursor made before is deleted. perPixelAlpha keeps the images' own alpha channel (and
    // then the cursor has no drop shadow); else the shadow is drawn at that offset.
    void CreateCursorSprite(const CursorLook& arrow, const CursorLook& hand, const CursorLook& wait,
                            bool perPixelAlpha, const Point& shadow, Cast* cast);
    CastMemberCursor* GetCursor() const { return _cursor; }
    Font* GetFrameworkFont(FrameworkFont which) const;
    Script* GetScript() const { return _script; }
    bool IsGamePaused() const { return _gamePaused; }
    ImageResources& GetImageResources() { return _imageResources; }

    // Read and changed directly by the application shell and the game.
    AnimationManager* _animationManager = nullptr; // owned; made by OnInit, deleted in ~Framework
    ConfigFileGame* _gameConfig = nullptr;         // owned; deleted in ~Framework
    // Owned; null unless started. The shell deletes it and clears this once it has the answer.
    WebUpdater* _webUpdater = nullptr;
    std::string _playerFileName;
    std::string _playerName;

private:
    // Music (when it plays) and every sound channel.
    void PauseAudio();
    void ResumeAudio();
    // The frame loop's clock; nothing before the frame loop exists.
    void StopClock();
    void StartClock();
    void RepaintAll(bool unused);
    // Whether the frame loop runs a script in one of the shell's states (below 100).
    bool ScriptInShellState();
    // Gives up the update check at shut-down: waits up to 5000 ms for it, then frees it only
    // when its worker has ended.
    void EndWebUpdater();
    // Marks a failed start so that the exit line and Execute agree on the code.
    bool FailInit();

    // Built before everything else the framework owns, so it is the first object after the
    // framework itself in the object report (which leaves the first few objects out).
    ImageResources _imageResources;
    CastMemberCursor* _cursor = nullptr; // owned; made by CreateCursorSprite
    bool _cursorVisible = true;
    std::array<std::unique_ptr<Font>, kFrameworkFontCount> _fonts;
    bool _gamePaused = false;
    bool _inputFocus = true;
    bool _highDetail = true;
    std::string _defaultFontName = "fonts/bankgbtm.ttf";
    int _fpsCalls = 0;
    int _lastFps = 0;
    bool _showFps = false;
    int _movingAverage = 0;
    std::array<int, 20> _fpsSamples{}; // oldest first
    Script* _script = nullptr;         // not owned
    std::unique_ptr<ConfigFile> _themeConfig;
    uint32_t _randState = 1; // our own 15-bit generator: glibc's rand() goes far beyond 32767

    static Framework* _theApp;
    static int _sixteenBit;
};
