#include "mahjong/board/MjTile.h"

#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/stage/Cast.h"
#include "mahjong/board/MjRandom.h"
#include "mahjong/board/MjTileListener.h"
#include "tests/support/FakeClock.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

struct Recorder : MjTileListener, CueListener
{
    void TileMouseDown(MjTile* tile, int button, int x, int y) override
    {
        downs.emplace_back(tile, button, x, y);
    }
    void StateReached(CastMember* sender, int state, int value) override
    {
        states.push_back(state);
        senders.push_back(sender);
        EXPECT_EQ(value, 1);
    }
    void PlaySound(std::string cue, int channel) override { sounds.emplace_back(cue, channel); }
    void Cue(CastMember*, int cue, int) override { cues.push_back(cue); }
    int Count(int state) const
    {
        int n = 0;
        for (int s : states) {
            n += s == state ? 1 : 0;
        }
        return n;
    }

    std::vector<std::tuple<MjTile*, int, int, int>> downs;
    std::vector<int> states;
    std::vector<CastMember*> senders;
    std::vector<std::pair<std::string, int>> sounds;
    std::vector<int> cues;
};

// A tile that says when it is destroyed.
class WatchedTile : public MjTile
{
public:
    using MjTile::MjTile;
    ~WatchedTile() override
    {
        if (gone != nullptr) {
            *gone = true;
        }
    }
    bool* gone = nullptr;
};

class MjTileTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        for (MjTile* tile : _tiles) {
            _cast.SafeDelete(tile);
        }
        _cast.EndAnimationCycle();
        MjTile::SetAllHop(0);
    }

    MjTile* Make(int type, int face, int x, int y)
    {
        auto* tile = new WatchedTile(&_listener, &_cast, &_image, x, y, 1000, 0, 0, 0, 0, 0, 0);
        tile->SetType(type);
        tile->SetFace(face);
        tile->Animate(_clock.Now()); // the stage's time, so delays count from now
        _tiles.push_back(tile);
        return tile;
    }

    // Animates every tile once per millisecond for ms on the game clock.
    void Run(unsigned int ms)
    {
        for (unsigned int n = 0; n < ms; ++n) {
            _clock.Advance(1);
            for (MjTile* tile : _tiles) {
                tile->Animate(_clock.Now());
            }
        }
    }

    testsupport::FakeClock _clock;
    Cast _cast{nullptr, nullptr};
    ImageResource _sheet{60, 80, 6, 8};
    Image _image{&_sheet, 0, 0, 0};
    Recorder _listener;
    std::vector<MjTile*> _tiles;
};

} // namespace

TEST_F(MjTileTest, ReportsOnlyTheStatesItLeavesToItsOwner)
{
    struct Case
    {
        int state;
        bool reported;
    };
    const Case cases[] = {
        {0, false},     {10057, false}, {1, true},      {99, true},     {200, false},
        {300, true},    {1000, false},  {10001, true},  {10004, true},  {10005, true},
        {10007, true},  {10010, true},  {10041, true},  {10042, true},  {10044, true},
        {10056, true},  {10002, false}, {10011, false}, {10020, false}, {10024, false},
        {10025, true},  {10040, false}, {10043, false}, {10055, false}, {100, false},
        {10003, false}, {99999, false},
    };
    for (const Case& c : cases) {
        MjTile* tile = Make(5, 5, 100, 100);
        _listener.states.clear();
        tile->DoState(c.state);
        EXPECT_EQ(_listener.Count(c.state), c.reported ? 1 : 0) << c.state;
        EXPECT_EQ(_listener.states.size(), c.reported ? 1u : 0u) << c.state;
        if (c.reported) {
            EXPECT_EQ(_listener.senders.back(), tile);
        }
    }
}

TEST_F(MjTileTest, FadeStepsDownByFiftyToZeroAndType42StaysOpaque)
{
    MjTile* tile = Make(5, 5, 100, 100);
    std::vector<int> seen;
    for (int n = 0; n < 6; ++n) {
        tile->DoState(MjTile::kFadeAway);
        seen.push_back(tile->GetTileAlpha());
        EXPECT_EQ(tile->GetAlpha(), tile->GetTileAlpha());
    }
    EXPECT_EQ(seen, (std::vector<int>{205, 155, 105, 55, 5, 0}));

    // The fade goes on by itself, 500 to 1499 ms apart.
    MjTile* timed = Make(5, 5, 100, 100);
    timed->ChangeState(MjTile::kFadeAway, 1);
    Run(1);
    EXPECT_EQ(timed->GetTileAlpha(), 205);
    Run(499);
    EXPECT_EQ(timed->GetTileAlpha(), 205);
    Run(1000);
    EXPECT_EQ(timed->GetTileAlpha(), 155);

    MjTile* yinYang = Make(MjTile::kYinYang, 42, 100, 100);
    yinYang->DoState(MjTile::kFadeAway);
    yinYang->DoState(MjTile::kFadeAway);
    EXPECT_EQ(yinYang->GetTileAlpha(), 255);
    EXPECT_EQ(yinYang->GetAlpha(), 255);
}

TEST_F(MjTileTest, JitterStaysInsideTheBoardArea)
{
    // A seed whose first jitter heads right and keeps the row.
    uint32_t seed = 0;
    for (;; ++seed) {
        MjRandom::Seed(seed);
        MjRandom::Next();
        const int dx = MjRandom::Next() % 3 - 1;
        const int dy = MjRandom::Next() % 3 - 1;
        if (dx == 1 && dy == 0) {
            break;
        }
    }
    MjRandom::Seed(seed);
    MjTile* edge = Make(5, 5, 748, 90);
    edge->DoState(MjTile::kJitter);
    EXPECT_EQ(edge->GetX(), 750);
    EXPECT_EQ(edge->GetY(), 90);

    MjRandom::Seed(seed);
    MjTile* high = Make(5, 5, 100, 80);
    high->DoState(MjTile::kJitter);
    EXPECT_EQ(high->GetX(), 110);
    EXPECT_EQ(high->GetY(), 85);

    // Left alone it wanders for good, never leaving the area.
    MjTile* wanderer = Make(5, 5, 0, 455);
    wanderer->ChangeState(MjTile::kJitter, 1);
    for (int n = 0; n < 400; ++n) {
        Run(10);
        ASSERT_GE(wanderer->GetX(), 0);
        ASSERT_LE(wanderer->GetX(), MjTile::kJitterMaxX);
        ASSERT_GE(wanderer->GetY(), MjTile::kJitterMinY);
        ASSERT_LE(wanderer->GetY(), MjTile::kJitterMaxY);
    }
    EXPECT_EQ(wanderer->GetState(), MjTile::kJitter);
}

TEST_F(MjTileTest, DropRunsSixStepsAndReportsItsEndOnce)
{
    MjTile* typhoon = Make(MjTile::kTyphoon, 11, 100, 100);
    typhoon->FlyTo(300, 200, 100);
    EXPECT_EQ(typhoon->GetLastState(), MjTile::kInFlight);
    Run(100);
    EXPECT_EQ(typhoon->GetLastState(), MjTile::kDropFirst);
    EXPECT_EQ(_listener.sounds,
              (std::vector<std::pair<std::string, int>>{{"stop", -2}, {"CFG_WATERDROP", 0}}));
    EXPECT_EQ(typhoon->GetFrame(), 11 % 6);
    EXPECT_EQ(typhoon->GetImage()->GetRow(), 11 / 6);
    for (int s = 0; s <= 5; ++s) {
        EXPECT_EQ(typhoon->GetLastState(), MjTile::kDropFirst + s);
        EXPECT_EQ(typhoon->GetX(), 300 - s - 1) << s;
        EXPECT_EQ(typhoon->GetY(), 200 + s + 1) << s;
        if (s < 5) {
            Run(69);
            EXPECT_EQ(typhoon->GetLastState(), MjTile::kDropFirst + s) << s;
            Run(1);
        }
    }
    Run(1000);
    EXPECT_EQ(_listener.Count(MjTile::kDropLast), 1);
    EXPECT_EQ(_listener.states.size(), 1u);
    EXPECT_TRUE(typhoon->IsVisible());

    _listener.sounds.clear();
    MjTile* cracker = Make(MjTile::kFireCracker, 0, 100, 100);
    cracker->SetNewFrameOnly(4, 1);
    cracker->FlyTo(300, 200, 10);
    Run(10);
    EXPECT_EQ(_listener.sounds, (std::vector<std::pair<std::string, int>>{{"CFG_WATERDROP", 0}}));
    EXPECT_EQ(cracker->GetFrame(), 4);
    EXPECT_EQ(cracker->GetImage()->GetRow(), 1);
}

TEST_F(MjTileTest, HideLaterWaitsForTheDropToEnd)
{
    MjTile* flying = Make(5, 5, 100, 100);
    flying->FlyTo(300, 200, 500);
    flying->HideLater(100);
    Run(99);
    EXPECT_TRUE(flying->IsVisible());
    Run(1); // the drop starts after the given delay, not on arrival
    EXPECT_EQ(flying->GetLastState(), MjTile::kDropFirst);
    Run(5 * 70 - 1);
    EXPECT_TRUE(flying->IsVisible());
    Run(1);
    EXPECT_FALSE(flying->IsVisible());

    MjTile* dropping = Make(5, 5, 100, 100);
    dropping->FlyTo(300, 200, 10);
    Run(10 + 70);
    ASSERT_EQ(dropping->GetLastState(), MjTile::kDropFirst + 1);
    dropping->HideLater(1);
    Run(4 * 70 - 1);
    EXPECT_TRUE(dropping->IsVisible());
    Run(1);
    EXPECT_FALSE(dropping->IsVisible());
    EXPECT_EQ(_listener.Count(MjTile::kDropLast), 2);

    MjTile* resting = Make(5, 5, 100, 100);
    resting->HideLater(300);
    Run(299);
    EXPECT_TRUE(resting->IsVisible());
    Run(1);
    EXPECT_FALSE(resting->IsVisible());
}

TEST_F(MjTileTest, CopyEndsTheTileAndTheLinkedTileShowsTheCopiedFace)
{
    bool gone = false;
    auto* source = static_cast<WatchedTile*>(Make(7, 13, 100, 100));
    source->gone = &gone;
    MjTile* target = Make(3, 3, 200, 100);
    source->CopyToLater(target, 50);
    Run(49);
    EXPECT_EQ(target->GetType(), 3);
    Run(1);
    EXPECT_EQ(target->GetType(), 7);
    EXPECT_EQ(target->GetFace(), 13);
    EXPECT_EQ(target->GetFrame(), 13 % 6);
    EXPECT_EQ(target->GetImage()->GetRow(), 13 / 6);
    EXPECT_EQ(source->GetCast(), nullptr);
    EXPECT_FALSE(gone);
    _tiles.erase(_tiles.begin());
    _cast.EndAnimationCycle(); // one deletion, though the tile was also flagged
    EXPECT_TRUE(gone);
}

TEST_F(MjTileTest, NewerHintStopsTheOlderHopUnlessAllHop)
{
    for (int allHop : {0, 1}) {
        MjTile::SetAllHop(allHop);
        MjTile* older = Make(3, 3, 100, 100);
        MjTile* newer = Make(4, 4, 200, 100);
        older->BlinkWithCue(&_listener, 10, 100);
        Run(2);
        EXPECT_TRUE(older->IsHopping());
        EXPECT_EQ(older->GetX(), 103);
        EXPECT_EQ(older->GetY(), 97);
        Run(100);
        EXPECT_EQ(older->GetX(), 100);

        newer->Blink(10, 100);
        Run(300);
        EXPECT_EQ(MjTile::HopType(), 4);
        EXPECT_EQ(older->IsHopping(), allHop != 0) << allHop;
        EXPECT_TRUE(newer->IsHopping());
        EXPECT_EQ(older->GetY() == 100 || older->GetY() == 97, true);
        if (allHop == 0) {
            EXPECT_EQ(older->GetX(), 100);
            EXPECT_EQ(_listener.cues, (std::vector<int>{CueListener::kBlinkEnded}));
        }
        Run(3000);
        EXPECT_FALSE(older->IsHopping());
        EXPECT_FALSE(newer->IsHopping());
        EXPECT_EQ(older->GetX(), 100);
        EXPECT_EQ(newer->GetY(), 100);
        EXPECT_EQ(_listener.cues, (std::vector<int>{CueListener::kBlinkEnded}));
        _listener.cues.clear();
    }
}

TEST_F(MjTileTest, StopBlinkingEndsTheHopOnTheGround)
{
    MjTile* tile = Make(3, 3, 100, 100);
    tile->Blink(10, 100);
    Run(50);
    tile->StopBlinking();
    Run(300);
    EXPECT_FALSE(tile->IsHopping());
    EXPECT_EQ(tile->GetX(), 100);
    EXPECT_EQ(tile->GetY(), 100);
}

TEST_F(MjTileTest, MouseInputReachesTheListenerButtonFirst)
{
    MjTile* tile = Make(3, 3, 100, 100);
    tile->OnMouseDown(11, 22, 3);
    tile->OnMouseUp(11, 22, 3);
    ASSERT_EQ(_listener.downs.size(), 1u);
    EXPECT_EQ(_listener.downs[0], std::make_tuple(tile, 3, 11, 22));
    EXPECT_TRUE(tile->AllowInput());
    EXPECT_TRUE(tile->AllowClicks());
}

TEST_F(MjTileTest, HideFaceLeavesSpecialTilesAlone)
{
    MjTile* plain = Make(41, 41, 0, 0);
    MjTile* special = Make(42, 42, 0, 0);
    plain->ShowFace();
    special->ShowFace();
    plain->HideFace();
    special->HideFace();
    EXPECT_EQ(plain->GetFrame(), MjTile::kHiddenCol);
    EXPECT_EQ(plain->GetImage()->GetRow(), MjTile::kHiddenRow);
    EXPECT_EQ(special->GetFrame(), 42 % 6);
    EXPECT_EQ(special->GetImage()->GetRow(), 42 / 6);
}
