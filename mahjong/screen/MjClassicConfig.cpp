#include "mahjong/screen/MjClassicConfig.h"

#include "framework/media/Font.h"

MjClassicConfig::MjClassicConfig(const std::string& fileName)
    : ConfigFile(fileName, nullptr, false, false, false)
{
    SetName("MjClassicConfig");
    DebugVar(1, "Constructor");

    _type = Int("game", "type");
    _puzzles = AsInt(Value("game", "puzzles", 0.0, true));
    for (int n = 0; n < 4; ++n) {
        _bgImg[n] = Text("bg", "img" + std::to_string(n));
    }
    _boardPos = At("board", "pos");
    _maxI = Int("board", "max_i");
    _maxJ = Int("board", "max_j");
    _maxK = Int("board", "max_k");
    _menuPos = At("b_menu", "pos");
    _menuImg = Text("b_menu", "img");
    _newGamePos = At("b_new_game", "pos");
    _newGameImg = Text("b_new_game", "img");
    _replayPos = At("b_replay", "pos");
    _replayImg = Text("b_replay", "img");
    _undoPos = At("b_undo", "pos");
    _undoImg = Text("b_undo", "img");
    _undoTilesPos = At("UndoTiles", "pos");
    _undoTilesSpace = Int("UndoTiles", "space");
    _hintPos = At("b_hint", "pos");
    _hintImg = Text("b_hint", "img");
    _pausePos = At("b_pause", "pos");
    _pauseImg = Text("b_pause", "img");
    _thirdPos = At("third", "pos");
    _thirdImg = Text("third", "img");
    _tileW = Int("tiles", "w");
    _tileH = Int("tiles", "h");
    _tileBorder = Int("tiles", "border");
    _topImg = Text("top", "img");
    _bottomImg = Text("bottom", "img");
    _shadowW = Int("shadow", "w");

    _popupPoints = new MjPopupPointsLook();
    _popupPoints->_shadow = _shadowW;
    _popupPoints->_color = ValueAsColor("popuppoints", "col", Color(0, 0, 0, 255));
    _popupPoints->_width = Int("popuppoints", "width");
    _popupPoints->_justify = Int("popuppoints", "justify");
    _popupPoints->_time = Int("popuppoints", "time");
    const std::string font = Text("popuppoints", "font");
    const int style = Int("popuppoints", "fontstyle");
    const int size = Int("popuppoints", "fontsize");
    _popupPoints->_font = new Font(font, size, style);
}

MjClassicConfig::~MjClassicConfig()
{
    DebugVar(1, "Destructor");
    delete _popupPoints->_font;
    delete _popupPoints;
}

int MjClassicConfig::Int(const std::string& section, const std::string& key)
{
    return AsInt(Value(section, key, std::string("0"), true));
}

std::string MjClassicConfig::Text(const std::string& section, const std::string& key)
{
    return Value(section, key, std::string("0"), true);
}

Point MjClassicConfig::At(const std::string& section, const std::string& key)
{
    return ValueAsPoint(section, key, Point(0, 0));
}
