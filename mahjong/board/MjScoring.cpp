#include "mahjong/board/MjScoring.h"

#include "mahjong/board/MjTileTypes.h"

#include <cstdio>

int MjScoring::MatchValue(int type)
{
    if (MjTileTypes::IsSuited(type)) {
        return type % MjTileTypes::kRanks + 1;
    }
    if (type >= MjTileTypes::kFirstHonourType && type <= MjTileTypes::kLastHonourType) {
        return 10;
    }
    return 15;
}

std::string MjScoring::FormatNumber(int value, int gameType)
{
    char text[32];
    if (gameType == kTimedGameType) {
        std::snprintf(text, sizeof(text), "%d:%02d", value / 60, value % 60);
        return text;
    }
    std::snprintf(text, sizeof(text), "%d", value);
    std::string digits = text;
    const size_t sign = digits[0] == '-' ? 1 : 0;
    for (long pos = static_cast<long>(digits.size()) - 3; pos > static_cast<long>(sign); pos -= 3) {
        digits.insert(static_cast<size_t>(pos), ",");
    }
    return digits;
}
