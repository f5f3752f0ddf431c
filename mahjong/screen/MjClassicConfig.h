#pragma once

#include "framework/core/Color.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Point.h"

#include <string>

class Font;

// The look of the points popup, read from section "popuppoints" of a board look file.
struct MjPopupPointsLook
{
    Color _color{0, 0, 0, 255};
    int _shadow = 0;
    int _width = 0;
    int _justify = 0;
    int _time = 0;
    Font* _font = nullptr; // owned by the look configuration
};

// The board screen's look, read once from the look file of a game variant. Missing keys take
// defaults: integers 0, image names "0", points (0, 0).
class MjClassicConfig : public ConfigFile
{
public:
    explicit MjClassicConfig(const std::string& fileName);
    ~MjClassicConfig() override;

    std::string _bgImg[4];
    int _type = 0;
    int _puzzles = 0;
    // The puzzle-set file of set number n (the look's "puzzles").
    static std::string PuzzleSetFile(int n) { return "cfg/puzzles" + std::to_string(n) + ".cfg"; }
    Point _boardPos;
    int _maxI = 0;
    int _maxJ = 0;
    int _maxK = 0;
    Point _menuPos;
    std::string _menuImg;
    Point _newGamePos;
    std::string _newGameImg;
    Point _replayPos;
    std::string _replayImg;
    Point _undoPos;
    std::string _undoImg;
    Point _undoTilesPos;
    int _undoTilesSpace = 0;
    Point _hintPos;
    std::string _hintImg;
    Point _pausePos;
    std::string _pauseImg;
    Point _thirdPos;
    std::string _thirdImg;
    std::string _topImg;
    std::string _bottomImg;
    int _tileW = 0;
    int _tileH = 0;
    int _tileBorder = 0;
    int _shadowW = 0;
    MjPopupPointsLook* _popupPoints = nullptr; // owned

private:
    int Int(const std::string& section, const std::string& key);
    std::string Text(const std::string& section, const std::string& key);
    Point At(const std::string& section, const std::string& key);
};
