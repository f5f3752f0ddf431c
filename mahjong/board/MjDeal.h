#pragma once

#include "framework/core/Debug.h"
#include "mahjong/board/MjPuzzleRules.h"

#include <cstdint>
#include <vector>

class ConfigFile;
class MjLayout;

// The deal of a board: chooses the face of every undecided tile of a freshly loaded grid so that
// the board can be cleared. It plays the game forward on the grid, taking a group of free tiles
// off at a time and giving all tiles of a group one deal type, with moves of its own for the
// special tiles. The board screen owns it; it needs no screen.
class MjDeal : public Debug
{
public:
    static constexpr int kDealTypes = 36;
    static constexpr int kStackSize = 200;
    // A stuck deal starts again at most this often before the board is dealt at random.
    static constexpr int kMaxRetries = 100;
    // Special kinds the simulation has moves for.
    static constexpr int kFuse = 3, kTyphoon = 4, kMagnet = 5, kClone = 6, kSwapper = 7,
                         kDeepMagnet = 11;
    static constexpr int kUsed = 20; // added to the kind of a used special tile

    // One move of the simulated play, in the order the deal made them: the cells (grid
    // indices) of a group, or of what a special tile took, the special tile's own cell last.
    struct PlanStep
    {
        int kind; // 0 a group, else the special kind used
        std::vector<int> cells;
    };

    MjDeal();
    ~MjDeal() override;

    // Keeps the moves of the next deals' simulated play in plan (null: none), so that a check
    // can replay them by its own rules.
    void RecordPlan(std::vector<PlanStep>* plan) { _plan = plan; }

    // The puzzle description of the board; also restarts the working "harder" weight.
    void SetRules(const MjPuzzleRules& rules);
    const MjPuzzleRules& Rules() const { return _rules; }
    // The grid to deal (not owned); a stuck deal rebuilds it in place.
    void SetLayout(MjLayout* layout) { _layout = layout; }
    // While the selection screen shows, deals the fixed preview pattern without drawing.
    void SetPreview(bool preview) { _preview = preview; }
    // While the puzzle set's sanity check deals every board, the seed lines are not logged.
    void SetSanityCheck(bool running) { _sanityCheck = running; }

    // Chooses the seed (seed, else the fixed seed, else a new one from the clock written to
    // progress under "seed"/"t<gameType>p<puzzle>"), seeds the generator and deals. With
    // rotateSuits the suited faces are shifted by one offset drawn from the clock afterwards.
    // Returns the seed.
    int DealBoard(int seed, ConfigFile* progress, int gameType, int puzzle,
                  const std::string& layoutFile, bool rotateSuits);
    void DealTiles();
    void FillDealCounts(int tilesToDeal);
    int RemoveNextGroup(int groupNumber);
    int PickDealType();
    int PopDealFace(int dealType);
    int TakeWeightedCell(int face, int r);
    // rand() + the layout key + the seed, in unsigned arithmetic so every draw "mod n" is a
    // valid index whatever seed a progress file holds.
    uint32_t DealRandom();
    // The removers return whether they changed the simulated board.
    bool ConsumeSpecialCell(int kind, int unused = 0);
    bool RemoveKind11Cell();
    bool RemoveCloneCell();
    bool RemoveSwapperCell();
    bool RemoveFuseGroup();
    bool RemoveMagnetTile();
    bool RemoveWildCardGroup();
    void TakeNthOpenCell(int face, int n);

    int Seed() const { return _seed; }
    int Count(int dealType) const;
    int WorkingHarder() const { return _workingHarder; }
    // Whether the last DealTiles gave every position a face.
    bool Dealt() const { return _dealt; }
    // Stuck simulations of the last DealTiles.
    int Retries() const { return _retries; }

private:
    int CountTilesToDeal();
    bool CountsFit(int tilesToDeal) const;
    void OpenFill();
    void RemoveUndealt();
    void WriteResult();
    bool UseSpecial(int kind);
    uint32_t Draw(uint32_t n) { return DealRandom() % n; }

    MjPuzzleRules _rules;
    MjLayout* _layout = nullptr;
    bool _preview = false;
    bool _sanityCheck = false;
    int _seed = 0;
    int _workingHarder = 0;
    int _counts[kDealTypes] = {};
    int _stacks[kDealTypes][kStackSize] = {};
    int _previewS = 0;
    int _previewQ = 0;
    bool _dealt = false;
    int _retries = 0;
    bool _stuckOnDeepMagnet = false; // the last stuck play had a deep magnet with nothing to pull
    std::vector<PlanStep>* _plan = nullptr; // not owned
    void Note(int kind, int index);
};
