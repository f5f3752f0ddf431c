// MjClassic: a finished board's records: the shared high score, the player's best, the seed of
// the next deal and, in the quest, the total, the losses, the bonus life and the highest board.

#include "framework/core/ConfigFile.h"
#include "mahjong/board/MjPuzzleRules.h"
#include "mahjong/screen/MjClassic.h"
#include "mahjong/screen/MjClassicConfig.h"

namespace {

constexpr int kDefaultThreshold = 20000;

// A time is better when lower (a stored 0 means none yet), a score when not lower.
bool IsNewRecord(bool timed, int score, int stored)
{
    return timed ? stored == 0 || score <= stored : score >= stored;
}

} // namespace

void MjClassic::RecordBoard()
{
    const std::string key = MjPuzzleRules::SeedKey(_config->_type, _puzzle);
    const int score = _boardScore;
    const bool timed = _config->_type == kTimedType;
    const bool newHigh = IsNewRecord(timed, score, _recordValues[0]);
    if (newHigh) {
        _recordValues[0] = score;
        if (_highScoresFile != nullptr) {
            _highScoresFile->Write("prevHighScore", key, score);
            _highScoresFile->Write("achieved", key, _playerName);
        }
    }
    if (IsNewRecord(timed, score, _recordValues[1])) {
        if (_progressFile != nullptr) {
            _progressFile->Write("prevBestScore", key, score);
        }
        _recordValues[1] = score;
    }
    if ((!_quest || _cheatMode == 0) && _progressFile != nullptr) {
        _progressFile->Write("seed", key, 0);
    }
    if (_quest && Shared().savedBoard == -1) {
        int threshold = ConfigInt(_config, "threshold", "points", kDefaultThreshold);
        if (threshold <= 0) {
            // A bonus life for every total would divide by zero or hand out lives backwards.
            DebugVar(-1, "Threshold points %d unusable; %d used", threshold, kDefaultThreshold);
            threshold = kDefaultThreshold;
        }
        const int before = _score / threshold;
        _score += score;
        AddToTotal(0);
        _losses = 0;
        if (_progressFile != nullptr) {
            _progressFile->Write("global", "losses", 0);
        }
        if (_score / threshold != before) {
            _bonusLifeEarned = 1;
        }
        if (_puzzle > _highestGameReached) {
            _highestGameReached = _puzzle;
            if (_progressFile != nullptr) {
                _progressFile->Write("global", "highestGameReached", _puzzle);
            }
        }
        if (_progressFile != nullptr) {
            _progressFile->Write("global", "score", _score);
            _progressFile->Write("global", "lives", _lives);
        }
    }
    // The player's own file first: a game stopped before the shared file is written leaves a
    // best that beats the high score, which reading takes as the high score (ReadBoardRecords);
    // the other order would leave a high score held by a player whose best is unplayed.
    if (_progressFile != nullptr) {
        _progressFile->Flush();
    }
    if (newHigh && _highScoresFile != nullptr) {
        _highScoresFile->Flush();
    }
}

MjClassic::BoardRecords MjClassic::ReadBoardRecords(const std::string& key)
{
    BoardRecords records;
    records.high = ConfigInt(_highScoresFile.get(), "prevHighScore", key, 0);
    records.holder = ConfigText(_highScoresFile.get(), "achieved", key, "");
    records.best = ConfigInt(_progressFile.get(), "prevBestScore", key, 0);
    const bool timed = _config->_type == kTimedType;
    const bool beaten =
        timed ? records.high == 0 || records.best < records.high : records.best > records.high;
    if (records.best != 0 && beaten) {
        records.high = records.best;
        records.holder = _playerName;
        records.fromBest = true;
    }
    return records;
}
