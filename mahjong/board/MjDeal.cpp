#include "mahjong/board/MjDeal.h"

#include "framework/core/ConfigFile.h"
#include "framework/core/TickSource.h"
#include "mahjong/board/MjCell.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjRandom.h"
#include "mahjong/board/MjTileTypes.h"

#include <algorithm>

namespace {
// Deal types 0 to 33 are faces of their own; the last two stand for a group of four faces each.
constexpr int kFirstGroupType = MjTileTypes::kFirstGroupedFace;
constexpr int kLastDealType = MjDeal::kDealTypes - 1;
constexpr int kGroupedFaces = MjTileTypes::kLastGroupedFace - MjTileTypes::kFirstGroupedFace + 1;
constexpr int kLastSuited = MjTileTypes::kSuitedTypes - 1;
constexpr int kThirdSuit = MjTileTypes::FirstTypeOfSuit(2);
static_assert(kFirstGroupType + 2 == MjDeal::kDealTypes);
} // namespace

MjDeal::MjDeal() : Debug("MjDeal") {}

MjDeal::~MjDeal() = default;

void MjDeal::SetRules(const MjPuzzleRules& rules)
{
    _rules = rules;
    _workingHarder = rules.harder;
}

int MjDeal::Count(int dealType) const
{
    return dealType >= 0 && dealType < kDealTypes ? _counts[dealType] : 0;
}

int MjDeal::DealBoard(int seed, ConfigFile* progress, int gameType, int puzzle,
                      const std::string& layoutFile, bool rotateSuits)
{
    if (seed == 0 && _rules.fixedSeed == 0) {
        seed = static_cast<int>(TickSource::Now() % 32767) + 1;
        if (progress != nullptr) {
            progress->Write("seed", MjPuzzleRules::SeedKey(gameType, puzzle), seed);
            progress->Flush();
        }
    } else if (seed == 0) {
        seed = _rules.fixedSeed;
    }
    _seed = seed;
    MjRandom::Seed(static_cast<uint32_t>(seed));
    if (!_sanityCheck) {
        DebugVar(0, "Game = %d, Seed = %d", puzzle, seed);
        DebugVar(0, "Puzzle = %s", layoutFile.c_str());
        Debug::DebugFlush();
    }
    DealTiles();
    if (rotateSuits && _layout != nullptr) {
        MjRandom::Seed(TickSource::Now() % 32767 + 1);
        const int offset = MjRandom::Next() % MjTileTypes::kSuitedTypes;
        for (int index : _layout->OriginIndices()) {
            int i, j, k;
            MjLayout::IndexToCell(index, i, j, k);
            MjCell& cell = _layout->Cell(i, j, k);
            const int face = MjTileTypes::FaceAt(cell.faceCol, cell.faceRow);
            if (cell.state == MjCell::kOrigin && cell.faceCol >= 0 && MjTileTypes::IsSuited(face)) {
                const int turned = (face + offset) % MjTileTypes::kSuitedTypes;
                cell.faceCol = MjTileTypes::FaceColumn(turned);
                cell.faceRow = MjTileTypes::FaceRow(turned);
            }
        }
    }
    return seed;
}

int MjDeal::CountTilesToDeal()
{
    int tiles = 0;
    for (int index : _layout->OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        if (_layout->Cell(i, j, k).state != MjCell::kOrigin) {
            continue;
        }
        _layout->FillQuad(i, j, k);
        if (_layout->Cell(i, j, k).faceCol == MjCell::kNoFace) {
            ++tiles;
        }
    }
    return tiles;
}

void MjDeal::DealTiles()
{
    _dealt = false;
    _retries = 0;
    _previewS = 0;
    _previewQ = 0;
    if (_layout == nullptr) {
        return;
    }
    for (;;) {
        Debug::DebugFlush();
        const int tilesToDeal = CountTilesToDeal();
        if (tilesToDeal == 0) {
            _dealt = true;
            return;
        }
        if (!_preview) {
            FillDealCounts(tilesToDeal);
        }
        const bool simulate = _rules.solvable != 0 && !_preview;
        const int matchSize = std::max(_layout->MatchSize(), 1);
        if (simulate && tilesToDeal % matchSize != 0) {
            DebugVar(-1, "Critical Error in Layout - Uneven Tiles left %d", tilesToDeal);
            RemoveUndealt();
            return;
        }
        if (!_preview && !CountsFit(tilesToDeal)) {
            DebugVar(-1, "Critical Error in Layout - Unsupported Tiles %d", tilesToDeal);
            RemoveUndealt();
            return;
        }
        if (!simulate) {
            OpenFill();
            return;
        }
        // The simulation: tiles to deal and special tiles are taken off in play order, tiles
        // with a preset face stay out of the way.
        for (int index : _layout->OriginIndices()) {
            int i, j, k;
            MjLayout::IndexToCell(index, i, j, k);
            MjCell& cell = _layout->Cell(i, j, k);
            cell.dealMark = 0;
            if (cell.state != MjCell::kOrigin) {
                continue;
            }
            if (cell.faceCol == MjCell::kNoFace || cell.specialKind != 0) {
                cell.dealMark = -2;
            } else {
                cell.dealMark = -1;
                _layout->EmptyQuad(i, j, k);
            }
        }
        if (_plan != nullptr) {
            _plan->clear();
        }
        bool stuck = false;
        for (int group = 1; group <= tilesToDeal / matchSize; ++group) {
            if (RemoveNextGroup(group) == 0) {
                stuck = true;
                break;
            }
        }
        if (!stuck) {
            WriteResult();
            _dealt = true;
            return;
        }
        _layout->Rebuild();
        if (++_retries > kMaxRetries && _stuckOnDeepMagnet) {
            // The plays stuck behind a deep magnet with nothing to pull: a random deal would hold
            // the same trap.
            DebugVar(-1, "Critical Error in Layout - A deep magnet has no fully covered tile to "
                         "pull, the board is not dealt");
            CountTilesToDeal();
            RemoveUndealt();
            return;
        }
        if (_retries > kMaxRetries) {
            DebugVar(-1,
                     "Critical Error in Layout - No solvable deal after %d tries, dealt at "
                     "random: the board may not be solvable",
                     kMaxRetries);
            FillDealCounts(CountTilesToDeal());
            OpenFill();
            return;
        }
    }
}

// Every nonzero count must fill whole groups and the counts together must cover the tiles;
// otherwise a type would run dry before the cells do.
bool MjDeal::CountsFit(int tilesToDeal) const
{
    const int matchSize = std::max(_layout->MatchSize(), 1);
    int sum = 0;
    for (int count : _counts) {
        if (count % matchSize != 0) {
            return false;
        }
        sum += count;
    }
    return sum >= tilesToDeal;
}

// An undealt board keeps no cell without a face.
void MjDeal::RemoveUndealt()
{
    for (int index : _layout->OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        const MjCell& cell = _layout->Cell(i, j, k);
        if (cell.state == MjCell::kOrigin && cell.faceCol == MjCell::kNoFace) {
            _layout->EmptyQuad(i, j, k);
            _layout->ClearCell(i, j, k);
        }
    }
}

void MjDeal::WriteResult()
{
    for (int index : _layout->OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        MjCell& cell = _layout->Cell(i, j, k);
        if (cell.dealMark == -1) {
            _layout->FillQuad(i, j, k);
        } else if (cell.dealMark >= 1) {
            _layout->FillQuad(i, j, k);
            cell.faceCol = MjTileTypes::FaceColumn(cell.dealMark - 1);
            cell.faceRow = MjTileTypes::FaceRow(cell.dealMark - 1);
        }
    }
}

void MjDeal::OpenFill()
{
    for (int index : _layout->OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        MjCell& cell = _layout->Cell(i, j, k);
        if (cell.state != MjCell::kOrigin || cell.faceCol != MjCell::kNoFace) {
            continue;
        }
        int face;
        if (_preview) {
            _previewS = (_previewS + 17) % kDealTypes;
            face = _previewS;
            if (_previewS > MjTileTypes::kLastHonourType) {
                _previewQ = (_previewQ + 1) % kGroupedFaces;
                face = MjTileTypes::kFirstGroupedFace + _previewQ;
            }
        } else {
            face = PopDealFace(PickDealType());
        }
        cell.faceCol = MjTileTypes::FaceColumn(face);
        cell.faceRow = MjTileTypes::FaceRow(face);
    }
    _dealt = true;
}

void MjDeal::FillDealCounts(int n)
{
    int sizeClass = 0;
    if (n >= 144) {
        sizeClass = 144;
    } else if (n >= 108) {
        sizeClass = 108;
    } else if (n >= 96) {
        sizeClass = 96;
    } else if (n >= 72) {
        sizeClass = 72;
    } else if (n >= 54) {
        sizeClass = 54;
    } else if (n >= 36) {
        sizeClass = 36;
    }
    std::fill(std::begin(_counts), std::end(_counts), 0);
    const int matchSize = _layout != nullptr ? _layout->MatchSize() : _rules.matchSize;
    if (matchSize == 2) {
        const int each = (n == 288 || _rules.half != 0) ? 8 : (_rules.justTwo != 0 ? 2 : 4);
        std::fill(std::begin(_counts), std::end(_counts), each);
    } else if (matchSize == 3) {
        std::fill(_counts + kThirdSuit, _counts + kFirstGroupType, n == 96 ? 6 : 9);
    } else if (matchSize == 4) {
        std::fill(_counts, _counts + kThirdSuit, 8);
    }
    const auto zero = [this](int from, int to) { std::fill(_counts + from, _counts + to + 1, 0); };
    const auto halve = [this](int from, int to) {
        for (int t = from; t <= to; ++t) {
            _counts[t] /= 2;
        }
    };
    if (sizeClass == 36) {
        zero(0, kLastSuited);
    } else if (sizeClass == 54) {
        zero(MjTileTypes::kFirstHonourType, kLastDealType);
        halve(0, kLastSuited);
    } else if (sizeClass == 72 && _rules.justTwo != 0 && _rules.half == 0) {
        // every type twice
    } else if (sizeClass == 72 || _rules.half != 0) {
        if (_rules.numbers != 0) {
            zero(kThirdSuit, kLastDealType);
        } else {
            zero(0, kThirdSuit - 1);
        }
    } else if (sizeClass == 108) {
        if (_rules.numbers != 0) {
            zero(MjTileTypes::kFirstHonourType, kLastDealType);
        } else {
            halve(0, kThirdSuit - 1);
        }
    }
    for (int t = 0; t < kDealTypes; ++t) {
        _counts[t] = std::min(_counts[t], kStackSize);
        for (int m = 0; m < _counts[t]; ++m) {
            _stacks[t][m] = t < kFirstGroupType
                                ? t
                                : (t == kFirstGroupType ? MjTileTypes::kFirstGroupedFace
                                                        : MjTileTypes::kSecondGroupFace) +
                                      m % MjTileTypes::kFacesPerGroup;
        }
    }
}

int MjDeal::PickDealType()
{
    int max = 0, left = 0;
    for (int count : _counts) {
        max = std::max(max, count);
        left += count;
    }
    if (left < 72) {
        _workingHarder = 0;
    }
    int weights[kDealTypes];
    int total = 0;
    for (int t = 0; t < kDealTypes; ++t) {
        const int c = _counts[t];
        int weight = c;
        if (_rules.solvable != 0 && _workingHarder != 0) {
            weight = c == 0 ? 0 : (c == max ? 1 : _workingHarder + 1);
        } else if (_rules.solvable != 0 && _rules.easy != 0) {
            weight = c == max ? 1 : (c == 0 ? 0 : _rules.easy);
        }
        weights[t] = weight;
        total += weight;
    }
    if (total <= 0) {
        return -1;
    }
    const uint32_t r = Draw(static_cast<uint32_t>(total));
    uint32_t sum = 0;
    for (int t = 0; t < kDealTypes; ++t) {
        if (_counts[t] == 0) {
            continue;
        }
        sum += static_cast<uint32_t>(std::max(weights[t], 0));
        if (r < sum) {
            return t;
        }
    }
    return -1;
}

int MjDeal::PopDealFace(int dealType)
{
    if (dealType < 0 || dealType >= kDealTypes || _counts[dealType] < 1) {
        return 0;
    }
    --_counts[dealType];
    return _stacks[dealType][_counts[dealType]];
}

// Adds a cell to the plan: to the open step of that kind, or to a new one.
void MjDeal::Note(int kind, int index)
{
    if (_plan == nullptr) {
        return;
    }
    if (_plan->empty()) {
        _plan->push_back({kind, {}});
    }
    _plan->back().kind = kind;
    _plan->back().cells.push_back(index);
}

uint32_t MjDeal::DealRandom()
{
    const uint32_t key = _layout != nullptr ? static_cast<uint32_t>(_layout->FirstKey()) : 0;
    return static_cast<uint32_t>(MjRandom::Next()) + key + static_cast<uint32_t>(_seed);
}
