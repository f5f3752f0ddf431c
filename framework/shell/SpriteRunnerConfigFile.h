#pragma once

#include "framework/core/Color.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Export.h"
#include "framework/core/Point.h"
#include "framework/shell/AnimData.h"

#include <memory>
#include <string>
#include <vector>

class Font;

// An animation description ("cfg/splashanim.cfg" and the game's scenes): the background, the
// frame rate and length, the subtitle's look and one AnimData per animated sprite, all read once
// at construction. The keyframe sections ("frame%05d-%05d") are read by the script through the
// generic lookups; it may delete keys there, and the file is then written back on destruction.
class FRAMEWORK_API SpriteRunnerConfigFile : public ConfigFile
{
public:
    // A missing file reads as all defaults: background "0", that is no animation.
    explicit SpriteRunnerConfigFile(const std::string& file);
    ~SpriteRunnerConfigFile() override;

    std::string _background = "0";
    int _bgOffset = 0;
    Color _bgColor{0, 0, 0, 255};
    // The count the file gives; records with an empty image value are dropped, so _anims may be
    // shorter.
    int _num = 0;
    int _seconds = 60;
    int _frameMillis = 500;
    // In file order; the index is the sprite number of the keyframe sections.
    std::vector<std::unique_ptr<AnimData>> _anims;
    Point _subtitlePos;
    Point _subtitleShadow;
    Color _subtitleColor{0, 0, 0, 255};
    Color _subtitleShadowColor{0, 0, 0, 255};
    int _subtitleJustify = 0;
    int _subtitleWidth = 0;
    std::string _subtitleFontFile = "0";
    int _subtitleFontStyle = 0;
    int _subtitleFontSize = 0;
    std::unique_ptr<Font> _subtitleFont; // null when fontsize is 0

private:
    int ReadInt(const std::string& section, const std::string& key, double defaultValue);
    std::string ReadText(const std::string& section, const std::string& key,
                         const std::string& defaultValue);
    // Null when the record's image value is present but empty.
    std::unique_ptr<AnimData> ReadAnim(int index);
};
