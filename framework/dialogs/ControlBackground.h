#pragma once

#include "framework/core/Export.h"
#include "framework/core/Point.h"
#include "framework/dialogs/Control.h"

// The background of a dialog description ("type" "background"): "img" (a plain background
// image), "tileimage" (the sheet of "tilecols" x "tilerows" tiles from which a resizable dialog
// paints its frame), "headerheight", "footerheight", "shadow" (the drop shadow's offset),
// "fadetime" (the dialog's fade-in and fade-out time) and "dimalpha". It makes no item: the
// dialog finds it by its kind and reads its values.
class FRAMEWORK_API ControlBackground : public Control
{
public:
    // Opaque black, of this strength, is the dialog's drop shadow.
    static constexpr int kShadowValue = 64;

    ControlBackground();

    // The common keys and the background's own. True with an image or a tile image.
    bool Load(ConfigFile* file, const std::string& section) override;
    ~ControlBackground() override;

    // Gives the dialog its drop shadow and fade times; adds no item.
    void AddTo(CastMemberDialog* dialog) override;
    // The tile's height, else the image's; 0 without either.
    int GetH() override;
    // The image's width, else the tile's; 0 without either.
    int GetW() override;

    Image* GetImage() const { return _image; }
    Image* GetTileImage() const { return _tileImage; }
    int GetTileCols() const { return _tileCols; }
    int GetTileRows() const { return _tileRows; }
    int GetHeaderHeight() const { return _headerHeight; }
    int GetFooterHeight() const { return _footerHeight; }
    int GetFadeTime() const { return _fadeTime; }
    const Point& GetShadow() const { return _shadow; }
    int GetDimAlpha() const { return _dimAlpha; }

private:
    Image* _image = nullptr; // owned
    int _dimAlpha = 160;
    int _headerHeight = 1;
    int _footerHeight = 0;
    int _fadeTime = -1;
    Point _shadow{7, 7};
    Image* _tileImage = nullptr; // owned
    int _tileRows = 3;
    int _tileCols = 3;
};
