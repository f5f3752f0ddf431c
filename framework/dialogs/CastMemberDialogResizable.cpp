#include "framework/dialogs/CastMemberDialogResizable.h"

#include "framework/core/ConfigFile.h"
#include "framework/core/Rectangle.h"
#include "framework/dialogs/Control.h"
#include "framework/dialogs/ControlBackground.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"

#include <algorithm>

namespace {

constexpr int kStacked = 1;
// The largest margin and least size a description may ask: past any screen the game opens.
constexpr int kMostSide = 2048;
// What an untiled dialog (no tile sheet to paint its frame) is filled with.
const Color kUntiledFill(192, 192, 192, 255);

// Tile size and the sheet's columns and rows, read once per paint pass.
struct TileGrid
{
    int tileW;
    int tileH;
    int cols;
    int rows;
};

TileGrid TileGridOf(ControlBackground* background)
{
    Image* tiles = background->GetTileImage();
    return {tiles->GetW(), tiles->GetH(), background->GetTileCols(), background->GetTileRows()};
}

// a mod b in 0..b-1 for b > 0, also for negative a.
int PositiveMod(int a, int b)
{
    const int r = a % b;
    return r < 0 ? r + b : r;
}

bool CountsAsButton(const Control* control)
{
    switch (control->GetKind()) {
    case Control::kButton:
    case Control::kCheckBox:
    case Control::kRadio:
    case Control::kRadioSet:
        return true;
    default:
        return false;
    }
}

} // namespace

const Color CastMemberDialogResizable::kColourKey(255, 255, 0, 255);

CastMemberDialogResizable::CastMemberDialogResizable(ConfigFile* /*cfg*/, Cast* cast, int id,
                                                     DialogAttributes* attributes,
                                                     DialogListener* listener)
    : CastMemberDialogImage(cast, id, attributes, listener)
{
    SetName("CastMemberDialogResizable");
}

CastMemberDialogResizable::~CastMemberDialogResizable()
{
    // The back image is the frame image: the dialog must not keep it once it is gone.
    InitBackground(nullptr, false);
    _frameImage.reset();
    _font.reset();
}

// --- options ---

void CastMemberDialogResizable::LoadConfigOptions(ConfigFile* cfg, const std::string& section)
{
    if (cfg == nullptr) {
        return;
    }
    // The two texts belong to one section each: a named section never shows the text or the
    // controls of "dialog".
    _controlsSection = static_cast<std::string>(cfg->Value(section, "controls", "0", true));
    _text = static_cast<std::string>(cfg->Value(section, "text", "", true));
    if (_text == "0") {
        _text.clear();
    }
    auto readInt = [&](const char* key, int& field) {
        field = ConfigFile::AsInt(cfg->Value(section, key, static_cast<double>(field), true));
    };
    readInt("maxlines", _maxLines);
    readInt("shortestfullline", _shortestFullLine);
    readInt("margin", _margin);
    readInt("justify", _justification);
    readInt("xoffset", _xOffset);
    readInt("buttonspacebetween", _buttonGap);
    readInt("orientation", _orientation);
    _minSize = cfg->ValueAsPoint(section, "minsize", _minSize);
    // A margin or least size past any screen is a damaged description; kept as read, the sums
    // of the layout would overflow into a negative dialog size.
    _margin = std::clamp(_margin, 0, kMostSide);
    _minSize =
        Point(std::clamp(_minSize.GetX(), 0, kMostSide), std::clamp(_minSize.GetY(), 0, kMostSide));
    readInt("shadowdepth", _shadowDepth);
    _shadowColor = cfg->ValueAsColor(section, "shadowcol", _shadowColor);
    _fontColor = cfg->ValueAsColor(section, "fontcolor", _fontColor);
    if (ConfigFile::AsInt(cfg->Value(section, "fontsize", 0.0, true)) != 0) {
        // A section that names a size but no font file keeps the font it has.
        if (Font* font = cfg->NewFont(section, "font", "fontsize", "fontstyle")) {
            _font.reset(font);
        }
    }
}

// --- layout ---

void CastMemberDialogResizable::CalculateButtonDims(int& width, int& height)
{
    width = 0;
    height = 0;
    int count = 0;
    for (Control* control : GetControls()) {
        if (control == nullptr || !CountsAsButton(control)) {
            continue;
        }
        if (_orientation == kStacked) {
            width = std::max(width, control->GetW());
            height += control->GetH() + (count > 0 ? _buttonGap : 0);
        } else {
            width += control->GetW();
            height = std::max(height, control->GetH());
        }
        ++count;
    }
}

void CastMemberDialogResizable::CalculateDialogDims(int& width, int& height, int& textTop,
                                                    int& buttonTop, int headerHeight,
                                                    int /*footerHeight*/)
{
    CalculateTextDims(_textWidth, _textHeight, _shortestFullLine);
    int buttonWidth = 0;
    int buttonHeight = 0;
    CalculateButtonDims(buttonWidth, buttonHeight);

    int w = std::max(_textWidth, buttonWidth) + _margin;
    textTop = _margin + headerHeight + _extraHeight / 2;
    buttonTop = textTop;
    if (_textHeight != 0) {
        buttonTop = textTop + _textHeight + _buttonGap;
    }
    int h = buttonTop + buttonHeight;
    for (const auto& item : GetItems()) {
        w = std::max(w, item->GetX() + item->GetFrameWidth());
        h = std::max(h, item->GetY() + item->GetFrameHeight());
    }
    w = std::max(w, _minSize.GetX()) + _margin;
    h = std::max(h, _minSize.GetY()) + _margin;

    // One pixel more than a whole number of tiles across, and down below the header.
    Image* tiles = UsesTiles() ? GetBackgroundControl()->GetTileImage() : nullptr;
    if (tiles != nullptr) {
        const int tileW = tiles->GetW();
        const int tileH = tiles->GetH();
        _extraWidth = tileW - PositiveMod(w - 1, tileW);
        _extraHeight = tileH - PositiveMod(h - headerHeight - 1, tileH);
    } else {
        _extraWidth = 0;
        _extraHeight = 0;
    }
    width = w + _extraWidth;
    height = h + _extraHeight;
}

int CastMemberDialogResizable::RepositionControls(int buttonTop, int /*width*/)
{
    return buttonTop;
}

// --- building ---

void CastMemberDialogResizable::Init(ConfigFile* cfg, const std::string& section)
{
    _sectionName = section;
    if (section != "dialog") {
        LoadConfigOptions(cfg, "dialog");
    }
    LoadConfigOptions(cfg, section);
    AddControlsFromConfig(cfg, _controlsSection);

    int top = 0;
    int bottom = 0;
    if (UsesTiles()) {
        ControlBackground* background = GetBackgroundControl();
        top = background->GetHeaderHeight();
        bottom = background->GetFooterHeight();
    } else {
        DebugVar(-1,
                 "Init: \"%s\" has no background control with a tile image among the controls "
                 "of \"%s\"; the dialog is drawn untiled",
                 section.c_str(), _controlsSection.c_str());
    }

    int width = 0;
    int height = 0;
    int textTop = 0;
    int buttonTop = 0;
    CalculateDialogDims(width, height, textTop, buttonTop, top, bottom);
    SetDimensions(width, height);
    Move((AnimationManager::kScreenWidth - width) / 2,
         (AnimationManager::kScreenHeight - height) / 2, true);

    auto* canvas = new Canvas(width, height, GetSWPixelFormat());
    if (top != 0 || bottom != 0) {
        canvas->Clear(kColourKey);
    } else if (!UsesTiles()) {
        canvas->Clear(kUntiledFill);
    }
    PaintBackground(canvas, width, height, top, bottom);
    PaintEdges(canvas, width, height, top, bottom);
    PaintCorners(canvas, width, height, top, bottom);
    Rectangle whole(0, 0, static_cast<short>(width), static_cast<short>(height));
    // The image owns the canvas; the dialog owns the image and shows it as its back image.
    auto frame = std::make_unique<Image>(canvas, whole);
    if (top != 0 || bottom != 0) {
        canvas->UseTransparency(kColourKey, false);
    }
    InitBackground(frame.get(), false);
    _frameImage = std::move(frame);

    int textX = _extraWidth / 2 + _margin;
    const int textY = textTop + _extraHeight / 2;
    int textWidth = _textWidth;
    if (_justification == 2 && textWidth < width) {
        // Centred lines are centred on the whole dialog.
        textWidth = width;
        textX = 0;
    }
    AddTextBlock(textX, textY, textWidth);
    RepositionControls(buttonTop, width);
    PinAdjust(_margin, top, bottom);
    if (top != 0 || bottom != 0) {
        UseTransparentBackground();
    }
    AllowDragging(true);
}

// --- the frame ---

bool CastMemberDialogResizable::UsesTiles()
{
    ControlBackground* background = GetBackgroundControl();
    if (background == nullptr) {
        return false;
    }
    Image* tiles = background->GetTileImage();
    return tiles != nullptr && tiles->GetW() > 0 && tiles->GetH() > 0 &&
           background->GetTileCols() > 0 && background->GetTileRows() > 0;
}

int CastMemberDialogResizable::GetHeaderHeight()
{
    ControlBackground* background = GetBackgroundControl();
    return background != nullptr ? background->GetHeaderHeight() : 0;
}

void CastMemberDialogResizable::PaintTile(Canvas* canvas, int col, int row, int x, int y)
{
    Image* tiles = GetBackgroundControl()->GetTileImage();
    tiles->SetFrame(col, row);
    tiles->Blit(canvas, x, y);
}

void CastMemberDialogResizable::PaintBackground(Canvas* canvas, int w, int h, int top, int bottom)
{
    if (canvas == nullptr || !UsesTiles()) {
        return;
    }
    const auto [tileW, tileH, cols, rows] = TileGridOf(GetBackgroundControl());
    for (int y = top + tileH; y < top + (h - tileH - bottom); y += tileH) {
        for (int x = tileW; x < w - tileW; x += tileW) {
            PaintTile(canvas, cols / 2, rows / 2, x, y);
        }
    }
}

void CastMemberDialogResizable::PaintEdges(Canvas* canvas, int w, int h, int top, int bottom)
{
    if (canvas == nullptr || !UsesTiles()) {
        return;
    }
    const auto [tileW, tileH, cols, rows] = TileGridOf(GetBackgroundControl());
    for (int x = tileW; x < w - tileW; x += tileW) {
        PaintTile(canvas, cols / 2, 0, x, top);
        PaintTile(canvas, cols / 2, rows - 1, x, h - tileH - bottom);
    }
    for (int y = top + tileH; y < top + (h - tileH - bottom); y += tileH) {
        PaintTile(canvas, 0, rows / 2, 0, y);
        PaintTile(canvas, cols - 1, rows / 2, w - tileW, y);
    }
}

void CastMemberDialogResizable::PaintCorners(Canvas* canvas, int w, int h, int top, int bottom)
{
    if (canvas == nullptr || !UsesTiles()) {
        return;
    }
    const auto [tileW, tileH, cols, rows] = TileGridOf(GetBackgroundControl());
    PaintTile(canvas, 0, 0, 0, top);
    PaintTile(canvas, cols - 1, 0, w - tileW, top);
    PaintTile(canvas, cols - 1, rows - 1, w - tileW, h - tileH - bottom);
    PaintTile(canvas, 0, rows - 1, 0, h - tileH - bottom);
}

// --- small operations ---

int CastMemberDialogResizable::GetH()
{
    Image* back = GetBackImage();
    return back != nullptr ? back->GetH() : CastMemberDialogImage::GetH();
}

void CastMemberDialogResizable::Animate(unsigned int now)
{
    _lastAnimateTime = now;
    CastMemberDialogImage::Animate(now);
    // The script writes state 1 on the first frame but completes the change only a second
    // later; the animation waits for that.
    if (GetState() >= 1 && GetPrevState() >= 1) {
        _openAnimation.Animate(now);
        // Its next frame is a step the frame loop's idle sleep would not know of.
        const unsigned int next = _openAnimation.MsUntilStep(now);
        if (next != ~0u && GetManager() != nullptr) {
            GetManager()->StepDueIn(next);
        }
    }
}

void CastMemberDialogResizable::MouseDownOutsideOfDialog()
{
    CastMemberDialogImage::MouseDownOutsideOfDialog();
    _openAnimation.Reset(static_cast<int>(_lastAnimateTime));
}

void CastMemberDialogResizable::SetInactive(int id, bool inactive)
{
    for (DialogItem* button : GetButtons()) {
        if (button->GetID() == id) {
            button->SetInactive(inactive);
            return;
        }
    }
}

void CastMemberDialogResizable::HandleButtonClicked(int /*itemId*/, int /*button*/) {}
