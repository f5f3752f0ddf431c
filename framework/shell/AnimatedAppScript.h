#pragma once

#include "SDL_keysym.h"
#include "framework/core/Export.h"
#include "framework/shell/AppScript.h"

#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct AnimData;
class Cast;
class CastMemberImage;
class CastMemberText;
class Image;
class KeyframeChange;
class Music;
class Sound;
class SpriteRunnerConfigFile;

// The application script with a keyframed animation player: it loads an animation description
// (SpriteRunnerConfigFile) and its images, puts one image sprite per record on the current
// stage, and steps one frame every framemillis ms (states 3 and 4), running the commands stored
// for each frame. The splash plays "cfg/splashanim.cfg"; Return, Space or Escape skip it.
//
// BeginAnimation may run on a loading thread: it touches no sprite and no stage. Everything
// else runs on the main thread.
class FRAMEWORK_API AnimatedAppScript : public AppScript
{
public:
    // Command codes of the keyframe sections.
    static constexpr int kShowHide = 0;
    static constexpr int kAlpha = 1;
    static constexpr int kPriority = 2;
    static constexpr int kMoveTo = 3;
    static constexpr int kScaleTo = 4;
    static constexpr int kRotate = 5;
    static constexpr int kRotateTo = 6;
    static constexpr int kLoop = 7;
    static constexpr int kFrames = 8;
    static constexpr int kMirror = 9;
    static constexpr int kSmoothing = 10;
    static constexpr int kMusic = 94;
    static constexpr int kBackground = 95;
    static constexpr int kSubtitle = 96;
    static constexpr int kZoom = 97;
    static constexpr int kSound = 98;

    // Sprite ids are the record index plus this.
    static constexpr int kFirstSpriteId = 100;

    AnimatedAppScript(Framework* framework, GameTime* clock);
    // Ends the animation with its fades (which blocks for up to a second).
    ~AnimatedAppScript() override;

    // States 2 to 5: the animation's frame loop (see the source).
    void DoState(int state) override;
    bool KeyDown(SDLKey sym, SDLMod mod, unsigned short unicode, bool alphanumeric) override;
    // Return, Space and Escape are always handled; while the animation runs they skip it.
    bool KeyUp(SDLKey sym, SDLMod mod, unsigned short unicode, bool alphanumeric) override;
    // Plays "cfg/splashanim.cfg" on the current stage; state 2 follows after the splash fade.
    void CreateSplashObjects() override;
    void DeleteSplashObjects() override;

    // Loads the description, its keyframes and its images; no sprite, no stage. slow pauses
    // 5 ms after each command and image (for loading threads). End a previous animation first.
    virtual void BeginAnimation(std::string file, bool slow);
    // Ends the animation and releases what it made. fade: sounds and music fade out first, which
    // blocks for up to a second.
    virtual void CleanUpAnimation(int fade);
    // Runs one command; codes 94 to 98 act on the script and the stage and need no sprite.
    virtual void ProcessSpriteCommand(CastMemberImage* sprite, int code, std::string text);
    // Deletes the commands stored for the frame.
    virtual void DeleteKeyFrame(int frame);
    // Stores a command; one of the same sprite and code with another text is replaced (logged,
    // and its key removed from the description, which is then written back).
    virtual void AddKeyframeChange(int frame, int code, std::string text, int sprite);
    // Runs the commands stored for the current frame counter, in the order they were stored.
    virtual void ShowStuffAtFrame();
    virtual void GetDefaultStuff(int index, CastMemberImage* sprite, AnimData* record);
    // No zoom, no music or sounds, an empty subtitle, the description's background.
    virtual void ResetGlobalAnimationDefaults();
    // One sprite per loaded image on the current stage, on the main thread.
    virtual void SetupSprites();

    // Read by tests and the subclass.
    SpriteRunnerConfigFile* GetDescription() const { return _description.get(); }
    bool AnimationPresent() const { return _animationPresent; }
    int GetFrameCounter() const { return _frame; }
    void SetFrameCounter(int frame) { _frame = frame; }
    const std::vector<CastMemberImage*>& GetSprites() const { return _sprites; }
    CastMemberText* GetSubtitle() const { return _subtitle; }
    Image* GetBackgroundImage() const { return _backgroundImage.get(); }
    // The commands stored for a frame (none: empty).
    std::vector<const KeyframeChange*> GetKeyframe(int frame) const;
    int CountSounds() const { return static_cast<int>(_sounds.size()); }
    // What the last music command loaded, until the cleanup (none: nullptr).
    const Music* GetMusic() const { return _music.get(); }
    // Set by CreateSplashObjects, consumed when the splash ends.
    static bool& SplashPending();

private:
    // Frames stepped in the whole animation; 0 when the description gives no usable rate.
    int FrameCount() const;
    // Takes the background image off the stage that shows it, then deletes it.
    void ReleaseBackground();
    void SetBackgroundImage(const std::string& file);
    void ShowOrFade(CastMemberImage* sprite, const std::vector<std::string>& pieces);
    void SetFrames(CastMemberImage* sprite, const std::string& text);
    void PlayMusic(const std::vector<std::string>& pieces);
    void ShowSubtitle(const std::string& text);
    void PlaySound(const std::vector<std::string>& pieces);

    std::unique_ptr<Image> _backgroundImage;
    Cast* _backgroundCast = nullptr; // the stage given _backgroundImage
    std::unique_ptr<SpriteRunnerConfigFile> _description;
    std::map<int, std::vector<std::unique_ptr<KeyframeChange>>> _keyframes;
    int _frame = 0;
    // The stage deletes them: they are flagged to go when removed from it.
    std::vector<CastMemberImage*> _sprites;
    std::vector<std::unique_ptr<Image>> _images;
    std::map<std::string, std::unique_ptr<Sound>> _sounds;
    CastMemberText* _subtitle = nullptr; // deleted by its stage
    std::unique_ptr<Music> _music;
    bool _animationPresent = false;
    // Frame sequences handed to sprites, which keep only the pointer: held until the cleanup.
    std::list<std::vector<int>> _sequences;
};
