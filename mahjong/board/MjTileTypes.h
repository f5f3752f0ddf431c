#pragma once

// The board's vocabulary: tile types, faces and where a face sits on the tile sheet. A face is a
// frame of the sheet; the type says which tiles match and what a special tile does.
struct MjTileTypes
{
    // The tile sheet has this many columns: a face's frame is (face % 6, face / 6).
    static constexpr int kSheetColumns = 6;

    // Types 0 to 26 are suited, three suits of nine ranks (rank = type % 9).
    static constexpr int kRanks = 9;
    static constexpr int kSuits = 3;
    static constexpr int kSuitedTypes = kRanks * kSuits;
    // Types 27 to 41 are the other ordinary tiles, the first of them the three bonus types.
    static constexpr int kFirstHonourType = 27;
    static constexpr int kLastBonusType = 29;
    static constexpr int kLastHonourType = 33;
    // Faces 34-37 and 38-41 are two groups of four faces whose tiles match each other.
    static constexpr int kFirstGroupedFace = 34;
    static constexpr int kSecondGroupFace = 38;
    static constexpr int kLastGroupedFace = 41;
    static constexpr int kFacesPerGroup = 4;
    static constexpr int kOrdinaryFaces = 42;

    // Types 42 and above are special tiles.
    static constexpr int kFirstSpecialType = 42;
    static constexpr int kYinYangType = 42;
    static constexpr int kGoldYinYangType = 43;
    // Special tiles below this count with the ordinary ones when the board asks what is left.
    static constexpr int kFirstLeftoverType = 44;
    static constexpr int kBrickType = 45;
    static constexpr int kDownType = 46;
    static constexpr int kUpType = 47;
    static constexpr int kFuseType = 48;
    static constexpr int kCloneType = 49;
    static constexpr int kTyphoonType = 50;
    static constexpr int kNoAnimationType = 51;
    static constexpr int kSpecialCellCode = 52; // a layout code, not the type of a tile
    static constexpr int kPlainSpecialType = 53;
    static constexpr int kSwapperType = 54;
    static constexpr int kJadeYinYangType = 56;
    static constexpr int kWandType = 57;
    static constexpr int kMagnetType = 58;
    static constexpr int kDeepMagnetType = 59;
    static constexpr int kPlayTypes = 60;    // types 0 to 59
    static constexpr int kSpecialTypes = 18; // types 42 to 59
    static_assert(kFirstSpecialType + kSpecialTypes == kPlayTypes);

    static constexpr int FaceColumn(int face) { return face % kSheetColumns; }
    static constexpr int FaceRow(int face) { return face / kSheetColumns; }
    static constexpr int FaceAt(int column, int row) { return column + kSheetColumns * row; }

    static constexpr bool IsSuited(int type) { return type >= 0 && type < kSuitedTypes; }
    static constexpr int FirstTypeOfSuit(int suit) { return suit * kRanks; }

    // The type a tile of this face has: the Yin-Yang looks are Yin-Yang tiles, each group of
    // four faces one type, every other face its own type.
    static constexpr int TypeOfFace(int face)
    {
        if (face == kGoldYinYangType || face == kJadeYinYangType) {
            return kYinYangType;
        }
        if (face >= kFirstGroupedFace && face <= kLastGroupedFace) {
            return kFirstGroupedFace + (face - kFirstGroupedFace) / kFacesPerGroup;
        }
        return face;
    }

    // The type and face a magnet takes again once a pulled tile has taken its place.
    static constexpr int RenewedMagnet(bool deep) { return deep ? kDeepMagnetType : kMagnetType; }
};
