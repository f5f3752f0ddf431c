#pragma once

#include "framework/core/Color.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Export.h"
#include "framework/core/Point.h"

#include <string>
#include <vector>

class Font;
class Image;
struct MenuAnimInfo;
struct MenuButtonInfo;

// The main menu's description ("cfg/menu.cfg"): read once, images and font built at once so that
// the menu is later put together from memory. May be made on a loading thread; the members are
// read only once it is done. Writes back one value, the last promotion link (SetPromo).
class FRAMEWORK_API ConfigFileMenu : public ConfigFile
{
public:
    static constexpr int kMaxStartButtons = 10;

    // parent answers what the file misses (the theme); yieldWhileLoading pauses before each
    // image and font.
    ConfigFileMenu(const std::string& file, ConfigFile* parent, bool yieldWhileLoading);
    // Releases every record, image and font below, then writes the file when it changed.
    ~ConfigFileMenu() override;

    // The pictures (background, buttons, animations) while the menu is not shown: every image
    // pointer below goes null, the records and the font stay. LoadImages makes them again from
    // the same keys, on a worker thread too (nothing may read them until it has returned).
    void ReleaseImages();
    void LoadImages();
    bool ImagesLoaded() const { return _imagesLoaded; }

    // Stores the link as [promolink] url and on disk at once. Control characters are left out,
    // so an answer from the network can never add a line to the file.
    void SetPromo(std::string link);

    // Read directly by the application script. Every pointer here is owned by the description.
    Image* _bgImage = nullptr;
    int _fadeTime = 0; // ms
    std::string _music;
    std::string _volumeSound;
    Point _dropShadowDefault;
    Point _welcomePos;
    int _welcomeWidth = 0;
    int _welcomeJustify = 0;
    Color _welcomeColor;
    Color _welcomeShadowColor;
    Point _welcomeShadow;
    int _welcomePri = 0;
    Font* _welcomeFont = nullptr;
    MenuButtonInfo* _updateButton = nullptr;
    std::string _updateAvailable;
    std::string _newerVersion;
    std::string _downloadNow;
    std::string _news;
    std::string _clickYes;
    MenuButtonInfo* _playerButton = nullptr;
    MenuButtonInfo* _optionsButton = nullptr;
    MenuButtonInfo* _rulesButton = nullptr;
    MenuButtonInfo* _quitButton = nullptr;
    // As read; the records are the animations actually described.
    int _numAnimations = 0;
    std::vector<MenuAnimInfo*> _animations;
    // As read, at most kMaxStartButtons; the records are the buttons actually described, the
    // k-th (from 1) choosing game variant k.
    int _numStartButtons = 0;
    std::vector<MenuButtonInfo*> _startButtons;
    std::string _promoLink;

private:
    // Where one picture comes from and the member that holds it.
    struct Picture
    {
        Image** slot;
        std::string section;
        std::string key;
        int cols;
    };

    // Loads the picture and remembers where it came from for LoadImages.
    void AddPicture(Image** slot, const std::string& section, const std::string& key, int cols);
    // A record of section's img (a four-look sheet), pos, shadow, pri and alpha.
    MenuButtonInfo* ReadButton(const std::string& section, int defaultPri, int defaultAlpha);
    void ReadStartButtons();
    void ReadAnimations();

    std::vector<Picture> _pictures;
    bool _imagesLoaded = false;
};
