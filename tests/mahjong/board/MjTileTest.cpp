#include "mahjong/board/MjTile.h"

#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/stage/Cast.h"
#include "mahjong/board/MjRandom.h"
#include "mahjong/board/MjTileListener.h"
#include "tests/support/FakeClock.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
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
    EXPECT_EQ(_listener.Count(MjTile::kLandedInTray), 1);
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
    EXPECT_EQ(_listener.Count(MjTile::kLandedInTray), 2);

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

namespace {

// Tiles over a sheet whose 6 x 8 frames of 10 x 10 each have a colour of their own, with a small
// white highlight to stamp on them.
class MjTileSharingTest : public ::testing::Test
{
protected:
    static constexpr int kFrame = 10;

    void SetUp() override
    {
        for (int row = 0; row < 8; ++row) {
            for (int col = 0; col < MjTile::kSheetColumns; ++col) {
                Rectangle cell(static_cast<short>(col * kFrame), static_cast<short>(row * kFrame),
                               kFrame, kFrame);
                _sheet->FillRect(cell, FaceColor(col + MjTile::kSheetColumns * row));
            }
        }
        auto* white = new Canvas(4, 4, nullptr);
        Rectangle all(0, 0, 4, 4);
        white->FillRect(all, Color(255, 255, 255, 255));
        _highlight = std::make_unique<Image>(white, all);
    }
    void TearDown() override
    {
        for (MjTile* tile : _tiles) {
            _cast.SafeDelete(tile);
        }
        _cast.EndAnimationCycle();
    }

    static Color FaceColor(int face) { return Color(static_cast<unsigned char>(face * 5), 40, 90); }

    MjTile* Make(int face)
    {
        Image picture(_sheet.get(), face % MjTile::kSheetColumns, face / MjTile::kSheetColumns, 0);
        auto* tile = new MjTile(&_listener, &_cast, &picture, 0, 0, 1000, 0, 0, 0, 0, 0, 0);
        tile->SetType(face);
        tile->SetFace(face);
        _tiles.push_back(tile);
        return tile;
    }
    void Free(MjTile* tile)
    {
        _tiles.erase(std::remove(_tiles.begin(), _tiles.end(), tile), _tiles.end());
        _cast.SafeDelete(tile);
        _cast.EndAnimationCycle();
    }

    static Canvas* Picture(MjTile* tile) { return tile->GetImage()->GetCanvas(); }
    // Every pixel of the tile's picture, with its surface alpha and colour key.
    static std::vector<std::string> Look(MjTile* tile)
    {
        Canvas* canvas = Picture(tile);
        std::vector<std::string> look{std::to_string(canvas->GetSurfaceAlpha()) + " key " +
                                      std::to_string(canvas->HasColorKey())};
        canvas->Lock();
        for (int y = 0; y < canvas->GetH(); ++y) {
            for (int x = 0; x < canvas->GetW(); ++x) {
                const Color c = canvas->GetPixel(x, y);
                look.push_back(std::to_string(c.GetR()) + "," + std::to_string(c.GetG()) + "," +
                               std::to_string(c.GetB()));
            }
        }
        canvas->Unlock();
        return look;
    }

    Cast _cast{nullptr, nullptr};
    std::unique_ptr<ImageResource> _sheet = std::make_unique<ImageResource>(60, 80, 6, 8);
    std::unique_ptr<Image> _highlight;
    Recorder _listener;
    std::vector<MjTile*> _tiles;
};

} // namespace

TEST_F(MjTileSharingTest, TilesShowingOneFaceHoldOnePicture)
{
    MjTile* a = Make(7);
    MjTile* b = Make(7);
    MjTile* other = Make(8);
    EXPECT_EQ(Picture(a), Picture(b));
    EXPECT_NE(Picture(a), Picture(other));
    EXPECT_EQ(_sheet->SharedFrames().CountShared(), 2);

    // The same look reached another way is the same picture too: a face shown anew, the same
    // highlight on two tiles, the same transparency.
    other->SetFace(7);
    other->ShowFace();
    EXPECT_EQ(Picture(other), Picture(a));
    for (MjTile* tile : {a, b}) {
        tile->BlitInto(_highlight.get(), 2, 2);
        tile->UseTransparency(true);
    }
    EXPECT_EQ(Picture(a), Picture(b));
    EXPECT_NE(Picture(a), Picture(other));
    a->ResetFrame();
    EXPECT_NE(Picture(a), Picture(b)); // the colour key stays; the highlight goes
    other->UseTransparency(true);
    EXPECT_EQ(Picture(a), Picture(other));
}

TEST_F(MjTileSharingTest, ATileThatChangesLeavesTheOtherTilesPixels)
{
    const struct
    {
        const char* change;
        std::function<void(MjTile* tile, MjTile* partner)> apply;
    } changes[] = {
        {"selected (highlight stamped)",
         [this](MjTile* tile, MjTile*) { tile->BlitInto(_highlight.get(), 3, 1); }},
        {"faded", [](MjTile* tile, MjTile*) { tile->DoState(MjTile::kFadeAway); }},
        {"face hidden", [](MjTile* tile, MjTile*) { tile->HideFace(); }},
        {"face swapped", [](MjTile* tile, MjTile* partner) { tile->SwapWith(partner); }},
        {"transparent", [](MjTile* tile, MjTile*) { tile->UseTransparency(true); }},
        {"mirrored", [](MjTile* tile, MjTile*) { tile->MirrorHorizontal(true); }},
        {"next frame", [](MjTile* tile, MjTile*) { tile->SetFrame(tile->GetFrame() + 1, 1); }},
    };
    for (const auto& c : changes) {
        SCOPED_TRACE(c.change);
        MjTile* changed = Make(9);
        MjTile* watched = Make(9);
        MjTile* partner = Make(20);
        // The highlight's corner makes a mirrored frame differ from the plain one.
        for (MjTile* tile : {changed, watched}) {
            tile->BlitInto(_highlight.get(), 0, 0);
        }
        const std::vector<std::string> watchedBefore = Look(watched);
        const std::vector<std::string> partnerBefore = Look(partner);
        const std::vector<std::string> changedBefore = Look(changed);
        c.apply(changed, partner);
        EXPECT_NE(Look(changed), changedBefore);
        EXPECT_EQ(Look(watched), watchedBefore);
        EXPECT_NE(Picture(changed), Picture(watched));
        if (changed->GetFace() == 9) {
            EXPECT_EQ(Look(partner), partnerBefore);
        }
        for (MjTile* tile : {changed, watched, partner}) {
            Free(tile);
        }
    }
}

TEST_F(MjTileSharingTest, FreeingTilesInAnyOrderLeavesNoDanglingPicture)
{
    const std::vector<std::vector<int>> orders = {{0, 1, 2}, {2, 1, 0}, {1, 0, 2}};
    for (bool sheetFirst : {false, true}) {
        for (const std::vector<int>& order : orders) {
            SCOPED_TRACE(std::string(sheetFirst ? "sheet first, " : "") + "order " +
                         std::to_string(order[0]) + std::to_string(order[1]) +
                         std::to_string(order[2]));
            auto sheet = std::make_unique<ImageResource>(60, 80, 6, 8);
            Rectangle all(0, 0, 60, 80);
            sheet->FillRect(all, FaceColor(4));
            std::swap(_sheet, sheet);
            std::vector<MjTile*> tiles{Make(4), Make(4), Make(4)};
            std::swap(_sheet, sheet);
            if (sheetFirst) {
                sheet.reset();
            }
            for (int n : order) {
                Free(tiles[static_cast<std::size_t>(n)]);
                // The tiles left still show the face, and may still change it.
                for (MjTile* tile : _tiles) {
                    Canvas* picture = Picture(tile);
                    picture->Lock();
                    EXPECT_EQ(picture->GetPixel(5, 5), FaceColor(4));
                    picture->Unlock();
                }
                if (!_tiles.empty()) {
                    _tiles.back()->BlitInto(_highlight.get(), 1, 1);
                }
            }
        }
    }
}
