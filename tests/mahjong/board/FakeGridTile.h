#pragma once

#include "framework/stage/CastMember.h"
#include "mahjong/board/MjGridTile.h"

#include <memory>
#include <string>
#include <vector>

namespace mjtest {

// A tile that records what the grid asks of it; its member is a sprite that is never on a stage.
class FakeGridTile final : public MjGridTile
{
public:
    FakeGridTile(int type, int i, int j, int k) : _type(type), _face(type), _i(i), _j(j), _k(k) {}

    CastMember* Member() override { return &_member; }
    int GetType() override { return _type; }
    void SetType(int type) override { _type = type; }
    int GetFace() override { return _face; }
    void SetFace(int face) override { _face = face; }
    void ShowFace() override { calls.push_back("ShowFace"); }
    void HideFace() override { calls.push_back("HideFace"); }
    void SetFaceShown(bool shown) override { faceShown = shown; }
    int GridI() override { return _i; }
    int GridJ() override { return _j; }
    int GridK() override { return _k; }
    void SetGridPosition(int i, int j, int k) override
    {
        _i = i;
        _j = j;
        _k = k;
    }
    MjGridTile* Linked() override { return linked; }
    void SetLinked(MjGridTile* tile) override { linked = tile; }
    bool IsLinkedToType59() override { return linkedTo59; }
    bool IsHopping() override { return hopping; }
    void SetActive(bool on) override { active = on; }
    void Leave() override { left = true; }
    void Move(int x, int y) override { jumps.push_back({x, y}); }
    void MoveTo(int x, int y, int ms) override { moves.push_back({x, y, ms}); }
    void SetPriority(int p) override { priority = p; }
    void AllowInput(bool allow) override { input = allow; }
    void ChangeState(int state) override { states.push_back(state); }
    void SetAlpha(int a) override { alpha = a; }
    void ResetFrame() override { calls.push_back("ResetFrame"); }
    void BlitInto(Image*, int x, int y) override
    {
        calls.push_back("BlitInto " + std::to_string(x) + "," + std::to_string(y));
    }
    void ListenForMove(CueListener* l) override { moveListener = l; }
    void BlinkWithCue(CueListener* l, int times, int rate) override
    {
        blinkListener = l;
        blinks.push_back({times, rate});
    }
    void FadeHide(int ms) override { fades.push_back(ms); }
    void MoveBeside(CastMember* target, int ms) override
    {
        besideTarget = target;
        besideMs = ms;
    }
    void MoveLater(int x, int y, int delay, int duration) override
    {
        laterMoves.push_back({x, y, delay, duration});
    }

    struct Move3
    {
        int x, y, ms;
    };
    struct Move4
    {
        int x, y, delay, duration;
    };
    std::vector<std::string> calls;
    std::vector<std::vector<int>> jumps;
    std::vector<Move3> moves;
    std::vector<Move4> laterMoves;
    std::vector<int> states;
    std::vector<std::vector<int>> blinks;
    std::vector<int> fades;
    MjGridTile* linked = nullptr;
    CueListener* moveListener = nullptr;
    CueListener* blinkListener = nullptr;
    CastMember* besideTarget = nullptr;
    int besideMs = 0;
    bool linkedTo59 = false;
    bool hopping = false;
    bool active = false;
    bool left = false;
    bool input = false;
    bool faceShown = true;
    int priority = 0;
    int alpha = 0;
    int startX = 0, startY = 0, order = 0;

private:
    CastMember _member;
    int _type;
    int _face;
    int _i, _j, _k;
};

// Makes fake tiles of the face given to AddImage and keeps them.
class FakeTileFactory final : public MjTileFactory
{
public:
    MjGridTile* MakeTile(MjTileListener*, Cast*, ImageResource*, int faceCol, int faceRow, int x,
                         int y, int priority, int order, int i, int j, int k) override
    {
        tiles.push_back(std::make_unique<FakeGridTile>(faceCol + 6 * faceRow, i, j, k));
        FakeGridTile* tile = tiles.back().get();
        tile->priority = priority;
        tile->startX = x;
        tile->startY = y;
        tile->order = order;
        return tile;
    }
    std::vector<std::unique_ptr<FakeGridTile>> tiles;
};

} // namespace mjtest
