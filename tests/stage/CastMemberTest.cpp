#include "framework/stage/CastMember.h"

#include "framework/core/Application.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CueListener.h"
#include "framework/stage/Receiver.h"
#include "tests/support/FakeClock.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

// A 40 x 30 sprite that records the hooks it is given. Its pixels are opaque except, when asked,
// a transparent left half.
class Sprite : public CastMember
{
public:
    Sprite(Cast* cast, int x, int y, int priority, bool* deleted = nullptr)
        : CastMember(cast, x, y, priority), _deleted(deleted)
    {
        SetDimensions(40, 30);
    }
    ~Sprite() override
    {
        if (_deleted != nullptr) {
            *_deleted = true;
        }
    }

    bool OnPixel(int x, int /*y*/) override { return !transparentLeft || x >= GetX() + 20; }
    bool Clicked(Receiver* receiver, int button) override
    {
        calls.push_back("Clicked " + std::to_string(button));
        return CastMember::Clicked(receiver, button);
    }
    bool Dragged(Receiver* receiver) override
    {
        calls.push_back("Dragged");
        CastMember::Dragged(receiver);
        return receiver != nullptr;
    }
    void OnMove(int x, int y, bool stepped) override
    {
        calls.push_back("OnMove " + std::to_string(x) + "," + std::to_string(y) +
                        (stepped ? " stepped" : ""));
    }
    void OnMouseEnter(int, int) override { calls.push_back("Enter"); }
    void OnMouseExit(int, int) override { calls.push_back("Exit"); }
    void Paint(Canvas*) override { ++paints; }
    bool ShowsDropShadow() { return ShowDropShadow(); }

    // Input on, the way a kind's constructor switches it on.
    void TakeInput(bool dragging, bool clicks)
    {
        AllowInput(true);
        AllowDragging(dragging);
        AllowClicks(clicks);
    }
    bool Called(const std::string& call) const
    {
        for (const auto& c : calls) {
            if (c == call) {
                return true;
            }
        }
        return false;
    }

    std::vector<std::string> calls;
    bool transparentLeft = false;
    int paints = 0;

private:
    bool* _deleted = nullptr;
};

// A kind that the stage keeps apart (the cursor's code).
class CursorLike : public CastMember
{
public:
    explicit CursorLike(Cast* cast) : CastMember(cast, 0, 0, 1) { SetDimensions(8, 8); }
    int GetClassMemberType() override { return 5; }
};

struct CueRecorder : CueListener
{
    void Cue(CastMember*, int cue, int) override { cues.push_back(cue); }
    std::vector<int> cues;
};

struct AcceptingReceiver : Receiver
{
    bool ReceiverContains(int x, int y) override
    {
        return x >= 500 && x < 600 && y >= 0 && y < 100;
    }
    bool ReceiverAccepts(CastMember*, bool onDrop) override { return onDrop; }
};

class CastMemberTest : public ::testing::Test
{
protected:
    void SetUp() override {}
    void TearDown() override { Application::AllowDropShadows(false); }

    testsupport::FakeClock _ticks{10000};

    // Priorities front to back.
    std::vector<int> Order()
    {
        std::vector<int> order;
        for (CastMember* m : _cast.GetCastMembers()) {
            order.push_back(m->GetPriority());
        }
        return order;
    }

    Cast _cast{nullptr, nullptr};
};

// --- membership ---

TEST_F(CastMemberTest, JoiningAStageAddsByPriorityAndShows)
{
    Sprite first(nullptr, 0, 0, 5);
    Sprite second(nullptr, 0, 0, 5);
    Sprite third(nullptr, 0, 0, 3);
    EXPECT_FALSE(first.IsVisible());
    first.ResetDirty();

    for (Sprite* s : {&first, &second, &third}) {
        s->SetCast(&_cast);
    }
    const std::vector<CastMember*> expected = {&third, &second, &first};
    EXPECT_EQ(expected, _cast.GetCastMembers());
    EXPECT_TRUE(first.IsVisible());
    EXPECT_TRUE(first.IsDirty());
    EXPECT_EQ(&_cast, first.GetCast());

    // Built on the stage: the same order rules.
    Sprite built(&_cast, 0, 0, 4);
    EXPECT_EQ((std::vector<int>{3, 4, 5, 5}), Order());
    EXPECT_TRUE(built.IsVisible());
}

TEST_F(CastMemberTest, KindBuiltOnAStageIsSeenAsItsKind)
{
    CursorLike cursor(&_cast);
    EXPECT_EQ(0, _cast.Size());
    EXPECT_EQ(&cursor, _cast.GetCursor());
}

TEST_F(CastMemberTest, SpriteMovedToAnotherStageLivesAndDetachedFlaggedOneIsDeletedAtFrameEnd)
{
    Cast other(nullptr, nullptr);
    bool movedDeleted = false;
    auto* moved = new Sprite(&_cast, 0, 0, 1, &movedDeleted);
    moved->DeleteOnRemovedFromCast(true);
    moved->SetCast(&other);
    _cast.EndAnimationCycle();
    EXPECT_FALSE(movedDeleted);
    EXPECT_TRUE(other.Contains(moved));
    EXPECT_FALSE(_cast.Contains(moved));

    moved->SetCast(nullptr);
    EXPECT_FALSE(movedDeleted);
    other.EndAnimationCycle();
    EXPECT_TRUE(movedDeleted);
}

TEST_F(CastMemberTest, DestroyedSpriteLeavesEveryStageSlot)
{
    auto* dragged = new Sprite(&_cast, 100, 100, 1);
    dragged->TakeInput(true, false);
    _cast.MouseDown(110, 110, 1);
    ASSERT_EQ(dragged, _cast.GetDragObj());
    delete dragged;
    EXPECT_EQ(nullptr, _cast.GetDragObj());
    EXPECT_EQ(0, _cast.Size());
    _cast.MouseUp(110, 110, 1); // nothing left to tell

    // Detached, then deleted before the frame ended: the stage must not call it.
    auto* detached = new Sprite(&_cast, 0, 0, 1);
    detached->SetCast(nullptr);
    delete detached;
    _cast.EndAnimationCycle();
}

// --- painting and areas ---

TEST_F(CastMemberTest, HideOffersTheAreaOnceAndOnlyWhenVisible)
{
    Sprite s(&_cast, 10, 20, 1);
    _cast.ClearDirtyRects(true);
    s.Hide();
    EXPECT_FALSE(s.IsVisible());
    ASSERT_EQ(1u, _cast.GetDirtyRects().size());
    EXPECT_EQ(Rectangle(10, 20, 40, 30), *_cast.GetDirtyRects()[0]);

    s.Hide();
    EXPECT_EQ(1u, _cast.GetDirtyRects().size());
}

TEST_F(CastMemberTest, DirtyRectIsTheTotalAreaOrEmptyWhenClean)
{
    Sprite s(&_cast, 10, 20, 1);
    s.SetDropShadow(5, -3, Color(0, 0, 0), 100);
    EXPECT_EQ(Rectangle(10, 17, 45, 33), s.GetDirtyRect());
    EXPECT_EQ(Rectangle(15, 17, 40, 30), s.GetShadowRect());
    EXPECT_EQ(Rectangle(0, 0, 40, 30), s.GetFromRect());

    s.ResetDirty();
    EXPECT_TRUE(s.GetDirtyRect().IsEmpty());
}

TEST_F(CastMemberTest, UpdatePaintsOnlyVisibleSpritesAndCleansThem)
{
    Sprite s(&_cast, 10, 20, 1);
    s.Update(nullptr);
    EXPECT_EQ(1, s.paints);
    EXPECT_FALSE(s.IsDirty());
    s.Hide();
    s.Update(nullptr);
    EXPECT_EQ(1, s.paints);
}

TEST_F(CastMemberTest, ShowNeedsASizeAndAStage)
{
    CastMember sizeless(&_cast, 0, 0, 1);
    sizeless.Hide();
    sizeless.Show();
    EXPECT_FALSE(sizeless.IsVisible());

    Sprite offStage(nullptr, 0, 0, 1);
    offStage.Show();
    EXPECT_FALSE(offStage.IsVisible());
}

TEST_F(CastMemberTest, DropShadowShowsOnlyWithAnOffsetAndWhenAllowed)
{
    const struct
    {
        int dx;
        int dy;
        bool allowed;
        bool shown;
    } table[] = {
        {0, 0, true, false}, {2, 2, true, true}, {2, 2, false, false}, {0, -1, true, true}};
    Sprite s(&_cast, 0, 0, 1);
    for (const auto& row : table) {
        Application::AllowDropShadows(row.allowed);
        s.SetDropShadow(row.dx, row.dy, Color(), 128);
        EXPECT_EQ(row.shown, s.ShowsDropShadow()) << row.dx << "," << row.dy << " " << row.allowed;
    }
}

TEST_F(CastMemberTest, MoveRepaintsTheOldAreaAndNotifiesOnlyWhenAsked)
{
    Sprite s(&_cast, 10, 20, 1);
    _cast.ClearDirtyRects(true);
    s.Move(50, 60, false);
    s.Move(70, 80, true);
    EXPECT_EQ(std::vector<std::string>{"OnMove 70,80"}, s.calls);
    EXPECT_EQ(2u, _cast.GetDirtyRects().size());
    EXPECT_EQ(Point(10, 20), s.PredictNextLocation()); // the exact position stays
}

TEST_F(CastMemberTest, PriorityIsAtLeastOneAndTheStageFollows)
{
    Sprite a(&_cast, 0, 0, 2);
    Sprite b(&_cast, 0, 0, 3);
    b.SetPriority(0);
    EXPECT_EQ(1, b.GetPriority());
    EXPECT_EQ(3, b.GetPrevPri());
    EXPECT_EQ(&b, _cast.GetCastMembers().front());
}

// --- press, drag and release ---

TEST_F(CastMemberTest, ClickDistanceAndTimeLimits)
{
    const struct
    {
        int dx;
        int dy;
        unsigned int ms;
        bool click;
    } table[] = {{10, 0, 0, true},    {11, 0, 0, false},      {0, 10, 0, true},
                 {0, -11, 0, false},  {-10, -10, 1000, true}, {0, 0, 1001, false},
                 {10, 10, 1000, true}};
    for (const auto& row : table) {
        Sprite s(&_cast, 100, 100, 1);
        s.TakeInput(true, true);
        ASSERT_TRUE(s.MouseDown(120, 115, 1));
        _ticks.Advance(row.ms);
        EXPECT_TRUE(s.MouseUp(120 + row.dx, 115 + row.dy, 3));
        EXPECT_EQ(row.click, s.Called("Clicked 3"))
            << row.dx << "," << row.dy << " after " << row.ms << " ms";
        EXPECT_EQ(!row.click, s.Called("Dragged"));
        EXPECT_FALSE(s.IsDragging());
    }
}

TEST_F(CastMemberTest, DropSnapsBackWithin30PixelsAndFliesBackBeyond)
{
    const struct
    {
        int dx;
        int dy;
        bool fliesBack;
    } table[] = {{30, 0, false}, {0, -30, false}, {30, 30, false}, {31, 0, true}, {0, 31, true}};
    for (const auto& row : table) {
        Sprite s(&_cast, 100, 100, 4);
        s.TakeInput(true, false);
        _cast.MouseDown(110, 110, 1);
        EXPECT_EQ(0, s.GetPriority()); // raised in front of every sprite while dragged
        _cast.MouseDrag(110 + row.dx, 110 + row.dy);
        EXPECT_EQ(100 + row.dx, s.GetX());
        _cast.MouseUp(110 + row.dx, 110 + row.dy, 1);
        EXPECT_EQ(nullptr, _cast.GetDragObj());

        EXPECT_EQ(row.fliesBack, s.IsMoving()) << row.dx << "," << row.dy;
        unsigned int t = 0;
        while (s.IsMoving() && t < 10000) {
            t += 10;
            s.Animate(t);
        }
        EXPECT_EQ(100, s.GetX());
        EXPECT_EQ(100, s.GetY());
        EXPECT_EQ(4, s.GetPriority());
    }
}

TEST_F(CastMemberTest, DropTakenByAReceiverStaysAndCues)
{
    AcceptingReceiver receiver;
    CueRecorder listener;
    _cast.AddReceiver(&receiver);
    Sprite s(&_cast, 100, 20, 4);
    s.SetCueListener(&listener);
    s.TakeInput(true, false);
    _cast.MouseDown(110, 30, 1);
    _cast.MouseDrag(530, 30);
    _cast.MouseUp(530, 30, 1);
    EXPECT_EQ(520, s.GetX());
    EXPECT_EQ(&receiver, s.GetReceiver());
    EXPECT_EQ(std::vector<int>{CueListener::kDropTaken}, listener.cues);
    EXPECT_EQ(0, s.GetPriority());
    EXPECT_FALSE(s.IsMoving());
}

TEST_F(CastMemberTest, CancelledDragNeitherClicksNorDrops)
{
    Sprite s(&_cast, 100, 100, 1);
    s.TakeInput(true, true);
    _cast.MouseDown(110, 110, 1);
    _cast.MouseDrag(150, 110);
    _cast.CancelDragging();
    EXPECT_FALSE(s.Called("Clicked 1"));
    EXPECT_FALSE(s.Called("Dragged"));
    EXPECT_TRUE(s.IsMoving()); // 40 pixels away: it flies back
    EXPECT_FALSE(s.IsDragging());
}

TEST_F(CastMemberTest, TrackedReleaseClicksOnlyOverTheSprite)
{
    const struct
    {
        int releaseX;
        bool click;
    } table[] = {{130, true}, {105, false}, {10000, false}};
    for (const auto& row : table) {
        Sprite s(&_cast, 100, 100, 1);
        s.TakeInput(false, false);
        s.transparentLeft = true;
        _cast.MouseDown(130, 110, 2);
        ASSERT_EQ(&s, _cast.GetTrackObj());
        _ticks.Advance(5000); // long after the press: not a click by time
        _cast.MouseDrag(row.releaseX, 110);
        _cast.MouseUp(row.releaseX, 110, 2);
        EXPECT_EQ(row.click, s.Called("Clicked 2")) << row.releaseX;
        EXPECT_EQ(nullptr, _cast.GetTrackObj());
    }
}

TEST_F(CastMemberTest, TrackingReportsLeavingAndComingBack)
{
    Sprite s(&_cast, 100, 100, 1);
    s.TakeInput(false, false);
    s.transparentLeft = true;
    _cast.MouseDown(130, 110, 1);
    _cast.MouseDrag(135, 110);
    _cast.MouseDrag(105, 110);
    _cast.MouseDrag(106, 110);
    _cast.MouseDrag(125, 110);
    EXPECT_EQ((std::vector<std::string>{"OnMove 100,100", "Exit", "Enter"}), s.calls);
}

TEST_F(CastMemberTest, RefusedPressesGoToTheSpriteBehind)
{
    Sprite back(&_cast, 100, 100, 5);
    back.TakeInput(false, false);
    Sprite front(&_cast, 100, 100, 1);
    front.TakeInput(false, false);

    front.transparentLeft = true;
    _cast.MouseDown(105, 110, 1);
    EXPECT_EQ(&back, _cast.GetTrackObj());
    _cast.MouseUp(105, 110, 1);

    front.transparentLeft = false;
    front.Hide();
    EXPECT_FALSE(front.MouseDown(130, 110, 1));
    front.Show();
    front.AllowInput(false);
    EXPECT_FALSE(front.MouseDown(130, 110, 1));
    EXPECT_FALSE(front.MouseUp(130, 110, 1));
}

TEST_F(CastMemberTest, MouseDownAdjustmentMovesThePressedSprite)
{
    Sprite s(&_cast, 100, 100, 1);
    s.TakeInput(true, false);
    s.SetMouseDownAdjustment(0, -5);
    _cast.MouseDown(110, 110, 1);
    EXPECT_EQ(95, s.GetY());
    EXPECT_EQ(100, s.GetPrevY());
    _cast.MouseDrag(110, 140);
    EXPECT_EQ(125, s.GetY()); // the grab offset was taken after the adjustment
}

TEST_F(CastMemberTest, ClickedAndDraggedKeepTheReceiver)
{
    AcceptingReceiver receiver;
    CastMember s(&_cast, 0, 0, 1);
    EXPECT_FALSE(s.Clicked(&receiver, 1));
    EXPECT_EQ(&receiver, s.GetReceiver());
    EXPECT_FALSE(s.Dragged(nullptr));
    EXPECT_EQ(nullptr, s.GetReceiver());
}

TEST_F(CastMemberTest, ContainsUsesTheRectangleAtFullSize)
{
    Sprite s(&_cast, 100, 100, 1);
    const struct
    {
        int x;
        int y;
        bool inside;
    } table[] = {
        {100, 100, true}, {139, 129, true}, {140, 110, false}, {110, 130, false}, {99, 110, false}};
    for (const auto& row : table) {
        EXPECT_EQ(row.inside, s.Contains(row.x, row.y)) << row.x << "," << row.y;
    }
}

} // namespace
