#pragma once

#include "framework/core/Debug.h"
#include "framework/stage/Script.h"
#include "mahjong/scene/SceneSprite.h"

#include <memory>
#include <string>
#include <vector>

class Cast;
class CastMemberImage;
class ConfigFile;
class Image;
class MjGameScript;
class SceneBackgroundListener;

// The scene behind the quest's boards: for each puzzle a stage background made of a picture and
// layers drawn into it, further images as sprites on the stage and, once a board is cleared, a
// series of fades, hides and shows on them, handed over to the game script at its end. It also
// starts loading the puzzle's keyframed animation on the scene loader while the board is played.
// Everything it reads comes from the "puzzle%d" sections of the hero file.
class ZorvyAnimation : public Debug
{
public:
    // Delays of the game script's states this scene schedules, in milliseconds of the game clock.
    static constexpr int kFirstFadeStepMs = 500;
    static constexpr int kSeriesEndMs = 1000;
    static constexpr int kNoSeriesMs = 1000;
    // Most layers or fade steps a section may ask for.
    static constexpr int kMaxImages = 64;
    // The picture is shown this far below the top of the screen, under the top bar.
    static constexpr int kPictureTop = 75;
    static constexpr int kDefaultPriority = 50;

    // Both are borrowed and must outlive the scene; nothing is loaded yet.
    ZorvyAnimation(ConfigFile* config, MjGameScript* script);
    ~ZorvyAnimation() override;
    ZorvyAnimation(const ZorvyAnimation&) = delete;
    ZorvyAnimation& operator=(const ZorvyAnimation&) = delete;

    // A new background for the puzzle, owned by the caller: the picture with its first
    // `layerCount` layers drawn in (-1: all of "numbgimages"), or the bare picture. The caller
    // shows it on the stage before it frees the one it replaces. The cast is not used.
    Image* LoadBackground(int puzzle, Cast* cast, bool pictureOnly, int layerCount);
    // The scene sprite of image `index` of the current puzzle, made on first use.
    CastMemberImage* LoadSprites(int index);
    // Starts loading the puzzle's keyframed animation on the scene loader, which the game script
    // polls and frees. Nothing while a loader exists or an animation is loaded.
    void StartLoading(int puzzle);
    // Prepares the fade series of a cleared board and schedules its first step (or the
    // animation, or the next board) on the game script.
    void LoadFadeImages(int puzzle, int delay);
    // Runs the next step of the fade series, and every later one that follows without a pause;
    // called by the game script's fade-step state. The argument has no effect.
    void LoadFades(int unused);
    // Takes every scene sprite off the stage (the stage deletes it at the end of the frame) and
    // frees the scene images.
    void Clear();

    // Receives the backgrounds of the fade series; borrowed. Without one such a background is
    // freed at once and the series runs on its sprites alone.
    void SetBackgroundListener(SceneBackgroundListener* listener)
    {
        _backgroundListener = listener;
    }

    const std::string& GetPendingAnimation() const { return _pendingAnimation; }
    void ClearPendingAnimation() { _pendingAnimation.clear(); }
    int GetPuzzle() const { return _puzzle; }
    int GetNumFadeImages() const { return _numFadeImages; }
    int GetFadeStep() const { return _fadeStep; }
    bool IsReverseFade() const { return _reverseFade; }
    int GetSpriteCount() const { return static_cast<int>(_sprites.size()); }

private:
    struct ImageKeys;

    static std::string Section(int puzzle);
    std::string ReadText(const std::string& section, const std::string& key,
                         const char* defaultValue);
    int ReadInt(const std::string& section, const std::string& key, int defaultValue);
    bool ReadFlag(const std::string& section, const std::string& key);
    // A count key clamped to 0..kMaxImages, logged when it had to be.
    int ReadCount(const std::string& section, const std::string& key, int defaultValue);
    ImageKeys ReadImageKeys(const std::string& section, int n, bool sprite);
    // Frame 0 of the image's sheet, mirrored as asked; the image owns the sheet.
    static Image* MakeImage(const ImageKeys& keys);
    // Hands a fade-series background to the listener, or frees it when there is none.
    void ShowBackground(Image* picture);
    void ScheduleScript(int state, int delay);

    std::string _pendingAnimation;
    ConfigFile* _config = nullptr;   // borrowed
    MjGameScript* _script = nullptr; // borrowed
    int _puzzle = 0;
    int _numFadeImages = 0;
    int _fadeStep = 0;
    // In creation order. The records are owned; their sprites live on the stage.
    std::vector<std::unique_ptr<SceneSprite>> _sprites;
    // Each with its sheet; the sprites draw from them.
    std::vector<std::unique_ptr<Image>> _images;
    bool _reverseFade = false;
    SceneBackgroundListener* _backgroundListener = nullptr; // borrowed
};
