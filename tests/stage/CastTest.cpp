#include "framework/stage/Cast.h"

#include "SDL.h"
#include "SDL_ttf.h"
#include "framework/core/Rectangle.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Font.h"
#include "framework/stage/CastMember.h"
#include "framework/stage/CastMemberText.h"
#include "framework/stage/GameTime.h"
#include "framework/stage/Receiver.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/stage/StageTestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

// A plain sprite that reports its end of frame and its deletion.
class Prop : public CastMember
{
public:
    Prop(Cast* cast, int x, int y, int w, int h, int priority, int kind = 0)
        : CastMember(cast, x, y, priority), _kind(kind)
    {
        SetDimensions(w, h);
    }
    ~Prop() override
    {
        if (deleted != nullptr) {
            ++*deleted;
        }
    }
    int GetClassMemberType() override { return _kind; }
    void RemovedFromCast() override
    {
        ++removedCalls;
        if (throwOnRemoved) {
            throw std::runtime_error("refused");
        }
        CastMember::RemovedFromCast();
    }
    void OnMouseHoverEnded() override { ++hoverEnds; }

    int removedCalls = 0;
    int hoverEnds = 0;
    bool throwOnRemoved = false;
    int* deleted = nullptr;

private:
    int _kind;
};

class Target : public Receiver
{
public:
    Target(int x, int y, int w, int h, bool accepts = true)
        : _area(static_cast<short>(x), static_cast<short>(y), static_cast<short>(w),
                static_cast<short>(h)),
          _accepts(accepts)
    {}
    bool ReceiverContains(int x, int y) override
    {
        return _area.Contains(static_cast<short>(x), static_cast<short>(y));
    }
    bool ReceiverAccepts(CastMember*, bool) override { return _accepts; }

private:
    Rectangle _area;
    bool _accepts;
};

class CastTest : public stagetest::StageTest
{
protected:
    void SetUp() override { OpenStage(); }
    void TearDown() override { CloseStage(); }

    std::vector<int> Priorities()
    {
        std::vector<int> out;
        for (CastMember* m : cast->GetCastMembers()) {
            out.push_back(m->GetPriority());
        }
        return out;
    }
};

} // namespace

TEST_F(CastTest, NewSpriteGoesInFrontOfEqualPriorities)
{
    auto* first = new Prop(cast, 0, 0, 10, 10, 5);
    auto* second = new Prop(cast, 0, 0, 10, 10, 5);
    auto* third = new Prop(cast, 0, 0, 10, 10, 3);

    const std::vector<CastMember*>& members = cast->GetCastMembers();
    ASSERT_EQ(members.size(), 3u);
    EXPECT_EQ(members[0], third);
    EXPECT_EQ(members[1], second);
    EXPECT_EQ(members[2], first);
    EXPECT_EQ(cast->Size(), 3);
}

TEST_F(CastTest, CursorKindBuiltThroughTheBaseConstructorFillsTheCursorSlot)
{
    // The base constructor joins the stage before the kind's GetClassMemberType exists; the
    // stage must still see kind 5.
    new Prop(cast, 0, 0, 10, 10, 4);
    auto* cursor = new Prop(cast, 5, 5, 8, 8, 1, 5);

    EXPECT_EQ(cast->Size(), 1);
    EXPECT_EQ(cast->GetCursor(), cursor);
    EXPECT_FALSE(cast->Contains(cursor));
}

TEST_F(CastTest, RemovalIsToldOnceAtTheEndOfTheFrame)
{
    auto* prop = new Prop(cast, 10, 20, 30, 40, 1);
    cast->GetCastMembers();
    cast->ClearDirtyRects(true);

    cast->Remove(prop, false);
    cast->Remove(prop, false);
    EXPECT_FALSE(cast->Contains(prop));
    EXPECT_EQ(prop->removedCalls, 0);
    ASSERT_EQ(cast->GetDirtyRects().size(), 1u);
    EXPECT_EQ(*cast->GetDirtyRects()[0], Rectangle(10, 20, 30, 40));
    EXPECT_EQ(cast->GetDirtyRects()[0]->GetFrameCount(), 2);

    cast->EndAnimationCycle();
    EXPECT_EQ(prop->removedCalls, 1);
    cast->EndAnimationCycle();
    EXPECT_EQ(prop->removedCalls, 1);
    delete prop;
}

TEST_F(CastTest, MovingRemovalLeavesNoTrace)
{
    auto* prop = new Prop(cast, 10, 20, 30, 40, 1);
    cast->GetCastMembers();
    cast->ClearDirtyRects(true);

    cast->Remove(prop, true);
    cast->EndAnimationCycle();
    EXPECT_TRUE(cast->GetDirtyRects().empty());
    EXPECT_EQ(prop->removedCalls, 0);
    delete prop;
}

TEST_F(CastTest, SpriteBackOnStageBeforeTheFrameEndsIsNotTold)
{
    auto* prop = new Prop(cast, 0, 0, 10, 10, 1);
    cast->Remove(prop, false);
    cast->Add(prop);
    cast->EndAnimationCycle();
    EXPECT_EQ(prop->removedCalls, 0);
    EXPECT_TRUE(cast->Contains(prop));
}

TEST_F(CastTest, RemovedListWalksOnAfterAnException)
{
    auto* a = new Prop(cast, 0, 0, 10, 10, 1);
    auto* b = new Prop(cast, 0, 0, 10, 10, 1);
    a->throwOnRemoved = true;
    cast->Remove(a, false);
    cast->Remove(b, false);
    cast->EndAnimationCycle();
    EXPECT_EQ(a->removedCalls, 1);
    EXPECT_EQ(b->removedCalls, 1);
    delete a;
    delete b;
}

TEST_F(CastTest, SafeDeleteDefersMembersAndDeletesOthersAtOnce)
{
    int deleted = 0;
    auto* member = new Prop(cast, 0, 0, 10, 10, 1);
    member->deleted = &deleted;
    cast->SafeDelete(member);
    EXPECT_EQ(deleted, 0);
    EXPECT_FALSE(cast->Contains(member));
    cast->EndAnimationCycle();
    EXPECT_EQ(deleted, 1);

    auto* loose = new Prop(nullptr, 0, 0, 10, 10, 1);
    loose->deleted = &deleted;
    cast->SafeDelete(loose);
    EXPECT_EQ(deleted, 2);
}

// Sprites deleted while waiting on the removed list must not be told afterwards (the sanitizer
// build catches a call on freed memory).
TEST_F(CastTest, DeletedSpriteLeavesTheRemovedList)
{
    auto* deletedDirectly = new Prop(cast, 0, 0, 10, 10, 1);
    auto* safeDeleted = new Prop(cast, 0, 0, 10, 10, 1);
    cast->Remove(deletedDirectly, false);
    cast->Remove(safeDeleted, false);
    delete deletedDirectly;
    cast->SafeDelete(safeDeleted); // no longer a member: deleted at once
    cast->EndAnimationCycle();
    EXPECT_EQ(cast->Size(), 0);
}

TEST_F(CastTest, RemovalAndDeletionClearEveryInputSlot)
{
    struct Case
    {
        const char* name;
        bool deleteInstead;
    };
    for (const Case& c : {Case{"remove", false}, Case{"delete", true}}) {
        SCOPED_TRACE(c.name);
        auto* prop = new Prop(cast, 0, 0, 50, 50, 1);
        prop->AllowInput(true);
        cast->Dragging(prop);
        cast->Tracking(prop);
        cast->MouseMove(10, 10);
        cast->MouseHover(10, 10);
        ASSERT_EQ(cast->GetMouseOverObj(), prop);
        ASSERT_EQ(cast->GetHoverObj(), prop);

        if (c.deleteInstead) {
            delete prop;
        } else {
            cast->Remove(prop, false);
        }
        EXPECT_EQ(cast->GetDragObj(), nullptr);
        EXPECT_EQ(cast->GetTrackObj(), nullptr);
        EXPECT_EQ(cast->GetMouseOverObj(), nullptr);
        EXPECT_EQ(cast->GetHoverObj(), nullptr);
        cast->EndAnimationCycle();
        if (!c.deleteInstead) {
            delete prop;
        }
    }
}

TEST_F(CastTest, CursorSlotIsClearedWhenTheCursorGoes)
{
    auto* cursor = new Prop(cast, 0, 0, 8, 8, 1, 5);
    ASSERT_EQ(cast->GetCursor(), cursor);
    cursor->SetCast(nullptr);
    EXPECT_EQ(cast->GetCursor(), nullptr);
    cast->EndAnimationCycle();
    EXPECT_EQ(cursor->removedCalls, 1);

    cursor->SetCast(cast);
    ASSERT_EQ(cast->GetCursor(), cursor);
    delete cursor;
    EXPECT_EQ(cast->GetCursor(), nullptr);
}

TEST_F(CastTest, RemoveAllDefersAndKeepsTheCursor)
{
    int deleted = 0;
    auto* a = new Prop(cast, 0, 0, 10, 10, 1);
    auto* b = new Prop(cast, 0, 0, 10, 10, 2);
    auto* cursor = new Prop(cast, 0, 0, 8, 8, 1, 5);
    a->DeleteOnRemovedFromCast(true);
    a->deleted = &deleted;
    cast->Dragging(b);

    cast->RemoveAll();
    EXPECT_EQ(cast->Size(), 0);
    EXPECT_EQ(cast->GetCursor(), cursor);
    EXPECT_EQ(cast->GetDragObj(), nullptr);
    EXPECT_EQ(deleted, 0);
    cast->EndAnimationCycle();
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(b->removedCalls, 1);
    delete b;
}

TEST_F(CastTest, StageDestructionDeletesMembersAndLetsTheCursorGo)
{
    int deleted = 0;
    auto* member = new Prop(cast, 0, 0, 10, 10, 1);
    member->deleted = &deleted;
    auto* cursor = new Prop(cast, 0, 0, 8, 8, 1, 5);

    manager.reset();
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(cursor->GetCast(), nullptr);
    delete cursor; // must not reach the deleted stage
}

TEST_F(CastTest, DropTargetIsTheFirstAcceptingReceiver)
{
    // A 40 x 40 sprite at (100, 100): centre (120, 120), quarter points at 110 and 130.
    auto* prop = new Prop(cast, 100, 100, 40, 40, 1);
    Target farAway(0, 0, 10, 10);
    Target coversCentre1(115, 115, 10, 10);
    Target coversCentre2(100, 100, 50, 50);
    Target refuses(100, 100, 50, 50, false);
    Target coversCorner(128, 128, 5, 5);

    EXPECT_EQ(cast->DetermineReceiverOnDrag(prop), nullptr) << "no drag under way";
    cast->Dragging(prop);
    EXPECT_EQ(cast->DetermineReceiverOnDrag(prop), nullptr);

    cast->AddReceiver(&farAway);
    cast->AddReceiver(&coversCorner);
    cast->AddReceiver(&refuses);
    EXPECT_EQ(cast->DetermineReceiverOnDrag(prop), &coversCorner) << "second pass: quarter point";

    cast->AddReceiver(&coversCentre1);
    cast->AddReceiver(&coversCentre2);
    EXPECT_EQ(cast->DetermineReceiverOnDrag(prop), &coversCentre1) << "centre wins, first added";

    cast->SetRestrictionOn(&coversCentre1);
    EXPECT_EQ(cast->DetermineReceiverOnDrag(prop), &coversCentre2);
    cast->LiftRestrictionOn(&coversCentre1);
    EXPECT_EQ(cast->DetermineReceiverOnDrag(prop), &coversCentre1);

    cast->RemoveReceiver(&coversCentre1);
    EXPECT_FALSE(cast->ReceiversContains(&coversCentre1));
    EXPECT_EQ(cast->DetermineReceiverOnDrag(prop), &coversCentre2);

    EXPECT_EQ(cast->DetermineReceiverOnClick(prop), &farAway);
    cast->SetRestrictionOn(&farAway);
    EXPECT_TRUE(cast->RestrictedContains(&farAway));
    EXPECT_EQ(cast->DetermineReceiverOnClick(prop), &coversCorner);
    cast->RemoveAllRestricted();
    EXPECT_FALSE(cast->RestrictedContains(&farAway));
    cast->RemoveAllReceivers();
    EXPECT_EQ(cast->DetermineReceiverOnClick(prop), nullptr);
}

TEST_F(CastTest, DetachingWithNoDialogUpIsRefused)
{
    EXPECT_FALSE(cast->AttachDialog(nullptr, false, false));
    EXPECT_FALSE(cast->AttachDialog(nullptr, false, true));
    EXPECT_EQ(cast->GetDialogAttachTime(), 0u);
    EXPECT_EQ(cast->GetDialog(), nullptr);
    EXPECT_FALSE(cast->ModalDialogUp());
    EXPECT_FALSE(cast->ForceDialogsDispose());
}

TEST_F(CastTest, TicksPerFrameAddUpToTheRoundedTotal)
{
    // At 100 ticks per second: 1.6 ticks round to 2, the next 1.6 (3.2 in all) to 3 - 2 = 1.
    struct Step
    {
        unsigned int ms;
        int ticks;
    };
    const Step steps[] = {{16, 2}, {16, 1}, {16, 2}, {0, 0}, {5, 0}, {5, 1}, {1000, 100}};
    for (const Step& s : steps) {
        ticks.Advance(s.ms);
        cast->Animate(0);
        EXPECT_EQ(cast->GetTicksThisFrame(), s.ticks) << "at " << ticks.Now() << " ms";
    }

    cast->SetTicksPerSecond(1000.0);
    ticks.Advance(7);
    cast->Animate(0);
    EXPECT_EQ(cast->GetTicksThisFrame(), 7);
}

TEST_F(CastTest, FrameRateWindowClosesAfterMoreThan500Ms)
{
    // 28 frames inside the window, one at exactly 500 ms, the 30th just after it.
    for (int frame = 0; frame < 28; ++frame) {
        EXPECT_EQ(cast->Animate(0), 0);
        ticks.Advance(16);
    }
    ticks.Set(1000 + 500);
    EXPECT_EQ(cast->Animate(0), 0) << "exactly 500 ms keeps the window open";
    ticks.Advance(1);
    EXPECT_EQ(cast->Animate(0), 60);
    ticks.Advance(501);
    EXPECT_EQ(cast->Animate(0), 2);
}

TEST_F(CastTest, FrameRateTextIsMadeOnceAndShowsTheRate)
{
    ASSERT_EQ(TTF_Init(), 0);
    Font font(mediatest::SansFont(), 12);
    cast->ShowFPS(true, &font);
    cast->ShowFPS(true, &font);
    ASSERT_EQ(cast->Size(), 1);
    auto* text = dynamic_cast<CastMemberText*>(cast->GetCastMembers()[0]);
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->IsVisible());
    EXPECT_EQ(text->GetX(), 20);
    EXPECT_EQ(text->GetY(), 10);
    EXPECT_EQ(text->GetPriority(), 0);

    for (int frame = 0; frame < 29; ++frame) {
        cast->Animate(55);
        ticks.Advance(17);
    }
    ticks.Set(1000 + 501);
    EXPECT_EQ(cast->Animate(55), 60);
    EXPECT_EQ(text->GetText(), "FPS: 60, Ave: 55");

    cast->ShowFPS(false, &font);
    EXPECT_FALSE(text->IsVisible());
    cast->RemoveAll(); // the stage made the text, so it goes with the removal
    cast->EndAnimationCycle();
    EXPECT_EQ(cast->Size(), 0);
}

TEST_F(CastTest, AnimateSkipsSpritesDeletedDuringTheWalk)
{
    // The back sprite deletes the front one while the stage animates back to front.
    class Killer : public Prop
    {
    public:
        Killer(Cast* c, CastMember** victim) : Prop(c, 0, 0, 5, 5, 9), _victim(victim) {}
        void Animate(unsigned int now) override
        {
            delete *_victim;
            *_victim = nullptr;
            Prop::Animate(now);
        }

    private:
        CastMember** _victim;
    };
    CastMember* victim = nullptr;
    new Killer(cast, &victim);
    victim = new Prop(cast, 0, 0, 5, 5, 1);
    cast->Animate(0);
    EXPECT_EQ(victim, nullptr);
    EXPECT_EQ(cast->Size(), 1);
}
