#pragma once

#include "framework/core/Debug.h"
#include "framework/stage/CueListener.h"
#include "mahjong/board/MjCell.h"

#include <memory>
#include <string>
#include <vector>

class Cast;
class CastMember;
class Image;
class ImageResource;
class MjGridTile;
class MjTileFactory;
class MjTileListener;
struct MjBoardSettings;

// The board model: a grid of quarter-tile cells read from a layout file, centred on the screen,
// with the free rule, the free counts, match and hint choice, and a thin sprite layer that reaches
// the tiles through MjGridTile. Without tiles everything but the sprite calls runs headless.
class MjLayout : public Debug, public CueListener
{
public:
    static constexpr int kMaxI = 42;
    static constexpr int kMaxJ = 22;
    static constexpr int kMaxK = 22;
    static constexpr int kOrderRecords = 20000;
    static constexpr int kTypes = 100;
    static constexpr int kMatchListSize = 40;
    static constexpr int kHintListSize = 20;
    static constexpr int kFree = 0, kBlocked = 1, kCoveredAbove = 2;
    // A layout file's code of a position whose tile the deal chooses; the others are faces and
    // MjTileTypes::kSpecialCellCode.
    static constexpr int kCodeToDeal = -1;
    // Fly-in modes of AnimateAll.
    static constexpr int kFlyIn = -1, kGather = 6, kSnapBack = 7;

    // One position as the layout file gives it.
    struct Position
    {
        int i;
        int j;
        int level;
        int code;
    };

    MjLayout(Cast* cast, const std::string& fileName, MjBoardSettings* settings,
             ImageResource* tileImages, int matchSize, int doubleMode);
    ~MjLayout() override;

    // Reads a layout file into the grid (Clear first to replace the board).
    void Load(const std::string& fileName);
    // Reads layout text as a file would give it.
    void LoadText(const std::string& text);
    // The grid as the constructor leaves it, rebuilt from the positions of the last load without
    // reading the file again.
    void Rebuild();
    void Clear();

    // --- geometry and cells
    int CellX(int i, int j, int k) const;
    int CellY(int i, int j, int k) const;
    bool InBounds(int i, int j, int k) const;
    MjCell& Cell(int i, int j, int k) { return _cells[Index(i, j, k)]; }
    const MjCell& Cell(int i, int j, int k) const { return _cells[Index(i, j, k)]; }
    static int Index(int i, int j, int k) { return (i * kMaxJ + j) * kMaxK + k; }
    // Cell indices that have been origin cells since the last load, in scan order (i, j, k).
    const std::vector<int>& OriginIndices() const { return _origins; }
    static void IndexToCell(int index, int& i, int& j, int& k);
    static int Priority(int i, int j, int k);

    void ClearCell(int i, int j, int k);
    void EmptyQuad(int i, int j, int k);
    void FillQuad(int i, int j, int k);
    void RemoveTile(int i, int j, int k);

    // --- free rule and counts
    bool IsEmpty(int i, int j, int k) const;
    bool IsFullyCovered(int i, int j, int k) const;
    int FreeState(int i, int j, int k) const;
    void NextMatchFor(MjGridTile* tile, MjGridTile** out);
    bool ShowHint(bool shadeUnmatchable);
    int FreeCount(int type) const;
    int PairsAvailable(int type) const;
    int UpdateFree();
    bool OnlySpecialsLeft() const;
    void SetSpecialKind(int type, int i, int j, int k);

    // --- sprite layer
    void SetTileFactory(MjTileFactory* factory) { _tileFactory = factory; }
    MjGridTile* AddImage(MjTileListener* listener, Cast* cast, int faceCol, int faceRow, int i,
                         int j, int k, bool offscreen);
    void BlinkCell(int i, int j, int k);
    void UnHide(MjGridTile* tile);
    void ReplaceTile(MjGridTile* a, MjGridTile* b);
    void SwapTiles(MjGridTile* a, MjGridTile* b);
    void LoadShade();
    void Cue(CastMember* member, int cue, int value) override;

    // --- board-wide effects
    int AnimateAll(void* owner, int mode, int x);
    int EffectStep(CastMember* target1, CastMember* target2, CastMember* target3);

    // --- read by the board screen and the deal
    const std::string& Title() const { return _title; }
    const std::string& FileName() const { return _fileName; }
    int TileCount() const { return _tileCount; }
    int OriginX() const { return _originX; }
    int OriginY() const { return _originY; }
    int SpecialCount() const { return _specialCount; }
    int FirstKey() const { return _firstKey; }
    bool HasSpecialCells() const { return _hasSpecialCells; }
    int MatchSize() const { return _matchSize; }
    int DoubleMode() const { return _doubleMode; }
    void SetDoubleMode(int doubleMode) { _doubleMode = doubleMode; }
    int Columns() const { return _maxI; }
    int Rows() const { return _maxJ; }
    int Layers() const { return _maxK; }
    // False when the bounds did not fit: the layout then holds no cells.
    bool IsUsable() const { return _usable; }
    const std::vector<Position>& Positions() const { return _positions; }

    // The statics shared by every layout (priorities, rotating indices, effect state) back to
    // their start values; for tests.
    static void ResetShared();

private:
    // Shared by every layout, the board's and the deal's: priorities by cell index, the
    // rotating indices of NextMatchFor and ShowHint, the fly-in pattern and the clearing step.
    struct Shared
    {
        Shared();
        int priority[kMaxI * kMaxJ * kMaxK];
        int matchIndex = 0;
        int hintIndex = 0;
        int flyPattern = 0;
        int clearingStep = -1;
    };
    static Shared& SharedState();

    void NumberDrawingOrder();
    void Place(const std::vector<Position>& positions);
    bool Acceptable(const Position& p) const;
    void NoteOrigin(int index);
    MjGridTile* FindTile(CastMember* member);

    Cast* _cast;
    std::string _title;
    std::string _fileName;
    int _tileCount = 0;
    int _originX = 0;
    int _originY = 0;
    int _specialCount = 0;
    int _firstKey = 0;
    bool _hasSpecialCells = false;
    std::unique_ptr<Image> _shade;
    std::vector<MjCell> _cells;
    std::vector<int> _origins;
    std::vector<Position> _positions;
    MjBoardSettings* _settings; // not owned: the board screen's
    ImageResource* _tileImages; // not owned
    int _matchSize;
    int _doubleMode;
    int _typeCount[kTypes] = {};
    MjTileFactory* _tileFactory = nullptr; // not owned
    int _maxI = 0;
    int _maxJ = 0;
    int _maxK = 0;
    bool _usable = false;
};
