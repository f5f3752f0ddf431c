#include "framework/shell/SpriteRunnerConfigFile.h"

#include "framework/media/Font.h"

#include <cstdio>

namespace {

const Color kBlack(0, 0, 0, 255);

std::string AnimKey(int index, const char* suffix)
{
    char key[64];
    std::snprintf(key, sizeof key, "anim%d%s", index, suffix);
    return key;
}

} // namespace

SpriteRunnerConfigFile::SpriteRunnerConfigFile(const std::string& file)
    : ConfigFile(file, nullptr, false, false, false)
{
    SetClassLabel("SpriteRunnerConfigFile");

    _background = ReadText("main", "background", "0");
    _seconds = ReadInt("main", "seconds", 60);
    _frameMillis = ReadInt("main", "framemillis", 500);
    _bgOffset = ReadInt("main", "bgoffset", 0);
    _bgColor = ValueAsColor("main", "bgcolor", kBlack);

    _subtitlePos = ValueAsPoint("subtitle", "pos", Point(0, 0));
    _subtitleShadow = ValueAsPoint("subtitle", "shadow", Point(0, 0));
    _subtitleColor = ValueAsColor("subtitle", "col", kBlack);
    _subtitleShadowColor = ValueAsColor("subtitle", "shadowcol", kBlack);
    _subtitleJustify = ReadInt("subtitle", "justify", 0);
    _subtitleWidth = ReadInt("subtitle", "width", 0);
    _subtitleFontFile = ReadText("subtitle", "font", "0");
    _subtitleFontStyle = ReadInt("subtitle", "fontstyle", 0);
    _subtitleFontSize = ReadInt("subtitle", "fontsize", 0);
    if (_subtitleFontSize != 0) {
        _subtitleFont =
            std::make_unique<Font>(_subtitleFontFile, _subtitleFontSize, _subtitleFontStyle);
    }

    _num = ReadInt("animations", "num", 0);
    for (int i = 0; i < _num; ++i) {
        if (auto record = ReadAnim(i)) {
            _anims.push_back(std::move(record));
        }
    }
}

SpriteRunnerConfigFile::~SpriteRunnerConfigFile()
{
    // Records first, then the font; the base then writes the file back when keys were deleted.
    _anims.clear();
    _subtitleFont.reset();
}

int SpriteRunnerConfigFile::ReadInt(const std::string& section, const std::string& key,
                                    double defaultValue)
{
    return AsInt(Value(section, key, defaultValue, true));
}

std::string SpriteRunnerConfigFile::ReadText(const std::string& section, const std::string& key,
                                             const std::string& defaultValue)
{
    return Value(section, key, defaultValue, true);
}

std::unique_ptr<AnimData> SpriteRunnerConfigFile::ReadAnim(int index)
{
    auto record = std::make_unique<AnimData>();
    record->_image = ReadText("animations", AnimKey(index, "img"), "0");
    if (record->_image.empty()) {
        return nullptr;
    }
    record->_frames = ReadInt("animations", AnimKey(index, "frames"), 1);
    record->_pos = ValueAsPoint("animations", AnimKey(index, "pos"), Point(0, 0));
    record->_shadow = ValueAsPoint("animations", AnimKey(index, "shadow"), Point(0, 0));
    record->_pri = ReadInt("animations", AnimKey(index, "pri"), 5);
    record->_loops = ReadInt("animations", AnimKey(index, "loops"), 0);
    record->_speed = ReadInt("animations", AnimKey(index, "speed"), 0);
    record->_beginDelay = ReadInt("animations", AnimKey(index, "begindelay"), 0);
    record->_loopDelay = ReadInt("animations", AnimKey(index, "loopdelay"), 0);
    record->_transparency = ReadInt("animations", AnimKey(index, "transparency"), 1);
    record->_alpha = ReadInt("animations", AnimKey(index, "alpha"), 255);
    record->_visible =
        static_cast<double>(Value("animations", AnimKey(index, "visible"), 1.0, true)) != 0.0;
    record->_smooth =
        static_cast<double>(Value("animations", AnimKey(index, "smooth"), 1.0, true)) != 0.0;
    record->_scale = static_cast<float>(
        static_cast<double>(Value("animations", AnimKey(index, "scale"), 1.0, true)));
    record->_rotation = static_cast<float>(
        static_cast<double>(Value("animations", AnimKey(index, "rotation"), 0.0, true)));
    record->_rotMillis = ReadInt("animations", AnimKey(index, "rotmillis"), 0);
    record->_sequence = ReadText("animations", AnimKey(index, "sequence"), "");
    record->_mirror = ReadText("animations", AnimKey(index, "mirror"), "");
    return record;
}
