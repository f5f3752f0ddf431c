#pragma once

#include <string>

// Points of tile types and the number texts of the heads-up display.
class MjScoring
{
public:
    // The board file's game type whose numbers are times.
    static constexpr int kTimedGameType = 1;

    static int MatchValue(int type);
    // Minutes and seconds "m:ss" in the timed game type, else the number with a comma between
    // every group of three digits.
    static std::string FormatNumber(int value, int gameType);
};
