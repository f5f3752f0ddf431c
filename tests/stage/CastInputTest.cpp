#include "SDL.h"
#include "framework/media/AnimationManager.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMember.h"
#include "framework/stage/GameTime.h"
#include "framework/stage/InputCatcher.h"
#include "framework/stage/MouseMoveListener.h"
#include "tests/stage/StageTestSupport.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// A sprite that writes what reaches it into a shared log, named so the order shows.
class Actor : public CastMember
{
public:
    Actor(Cast* cast, std::string name, Log* log, int x, int y, int w, int h, int priority)
        : CastMember(cast, x, y, priority), _name(std::move(name)), _log(log)
    {
        SetDimensions(w, h);
        AllowInput(true);
        AllowKeystrokes(true);
        DeleteOnRemovedFromCast(true);
    }
    bool OnPixel(int, int) override { return onPixel; }
    void OnMouseDown(int, int, int) override { Note("down"); }
    bool MouseUp(int x, int y, int button) override
    {
        Note("up");
        return CastMember::MouseUp(x, y, button);
    }
    bool MouseDrag(int x, int y) override
    {
        Note("drag");
        return CastMember::MouseDrag(x, y);
    }
    bool MouseMove(int x, int y, bool inside) override
    {
        Note(inside ? "over" : "out");
        return CastMember::MouseMove(x, y, inside);
    }
    void OnMouseHover(int, int) override { Note("hover"); }
    void OnMouseHoverEnded() override { Note("hoverEnd"); }
    bool KeyDown(SDLKey, SDLMod, unsigned short, bool) override
    {
        Note("key");
        if (onKey) {
            onKey();
        }
        return takesKeys;
    }
    bool KeyUp(SDLKey, SDLMod, unsigned short, bool) override
    {
        Note("keyUp");
        return takesKeys;
    }

    bool onPixel = true;
    bool takesKeys = true;
    std::function<void()> onKey;

private:
    void Note(const std::string& what) { _log->push_back(_name + " " + what); }

    std::string _name;
    Log* _log;
};

class Catcher : public InputCatcher
{
public:
    explicit Catcher(Log* log) : _log(log) {}
    void MouseDown(int, int, int, bool handled) override { Note("down", handled); }
    void MouseUp(int, int, int, bool handled) override { Note("up", handled); }
    void MouseDrag(int, int, bool handled) override { Note("drag", handled); }
    void MouseMove(int, int, bool handled) override { Note("move", handled); }
    void MouseHover(int, int, bool handled) override { Note("hover", handled); }
    void MouseHoverEnded(int, int, bool handled) override { Note("hoverEnd", handled); }

private:
    void Note(const std::string& what, bool handled)
    {
        _log->push_back("catcher " + what + (handled ? " 1" : " 0"));
    }
    Log* _log;
};

class CastInputTest : public stagetest::StageTest
{
protected:
    void SetUp() override
    {
        OpenStage();
        cast->SetInputCatcher(&catcher);
    }
    void TearDown() override { CloseStage(); }

    Actor* Make(const std::string& name, int x, int y, int w, int h, int priority)
    {
        return new Actor(cast, name, &log, x, y, w, h, priority);
    }

    // Ends any press and empties the stage (the actors delete themselves).
    void Clear()
    {
        cast->MouseUp(-1, -1, 1);
        cast->RemoveAll();
        cast->EndAnimationCycle();
        log.clear();
    }

    Log log;
    Catcher catcher{&log};
};

} // namespace

TEST_F(CastInputTest, PressGoesToTheFrontmostSpriteThatTakesIt)
{
    struct Case
    {
        const char* name;
        bool frontOnPixel;
        bool frontVisible;
        bool frontInput;
        bool backInput;
        Log expected;
    };
    const Case cases[] = {
        {"front takes it", true, true, true, true, {"front down", "catcher down 1"}},
        {"front pixel refuses", false, true, true, true, {"back down", "catcher down 1"}},
        {"front hidden", true, false, true, true, {"back down", "catcher down 1"}},
        {"front input off", true, true, false, true, {"back down", "catcher down 1"}},
        {"nobody", false, true, true, false, {"catcher down 0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Actor* back = Make("back", 0, 0, 100, 100, 5);
        Actor* front = Make("front", 50, 50, 100, 100, 3);
        front->onPixel = c.frontOnPixel;
        if (!c.frontVisible) {
            front->Hide();
        }
        front->AllowInput(c.frontInput);
        back->AllowInput(c.backInput);

        cast->MouseDown(75, 75, 1);
        EXPECT_EQ(log, c.expected);
        Clear();
    }
}

TEST_F(CastInputTest, PressDuringATrackingReachesNobodyAndTheReleaseEndsIt)
{
    Actor* actor = Make("a", 0, 0, 100, 100, 1);
    cast->MouseDown(10, 10, 1);
    ASSERT_EQ(cast->GetTrackObj(), actor);
    log.clear();

    cast->MouseDown(20, 20, 1);
    EXPECT_TRUE(log.empty()) << "not even the catcher hears of it";

    cast->MouseDrag(30, 30);
    cast->MouseUp(30, 30, 1);
    EXPECT_EQ(log, (Log{"a drag", "catcher drag 1", "a up", "catcher up 1"}));
    EXPECT_EQ(cast->GetTrackObj(), nullptr);

    log.clear();
    cast->MouseUp(30, 30, 1);
    cast->MouseDrag(30, 30);
    EXPECT_EQ(log, (Log{"catcher up 0", "catcher drag 0"}));
}

TEST_F(CastInputTest, PressDuringADragReachesNobody)
{
    Actor* actor = Make("a", 0, 0, 100, 100, 1);
    Make("b", 200, 0, 100, 100, 1);
    actor->AllowDragging(true);
    cast->MouseDown(10, 10, 1);
    ASSERT_EQ(cast->GetDragObj(), actor);
    log.clear();

    cast->MouseDown(250, 50, 1);
    EXPECT_TRUE(log.empty());
    cast->MouseUp(40, 40, 1);
    EXPECT_EQ(log, (Log{"a up", "catcher up 1"}));
    EXPECT_EQ(cast->GetDragObj(), nullptr);
}

TEST_F(CastInputTest, KeysReachEveryVisibleSpriteThatTakesKeystrokes)
{
    Make("a", 0, 0, 10, 10, 1);
    Make("b", 0, 0, 10, 10, 2);
    Actor* hidden = Make("hidden", 0, 0, 10, 10, 3);
    hidden->Hide();
    Actor* deaf = Make("deaf", 0, 0, 10, 10, 4);
    deaf->AllowKeystrokes(false);
    Actor* noInput = Make("noInput", 0, 0, 10, 10, 5);
    noInput->AllowInput(false);

    EXPECT_TRUE(cast->KeyDown(SDLK_a, KMOD_NONE, 'a', true));
    EXPECT_EQ(log, (Log{"a key", "b key"}));

    log.clear();
    EXPECT_TRUE(cast->KeyUp(SDLK_a, KMOD_NONE, 'a', true));
    EXPECT_EQ(log, (Log{"a keyUp", "b keyUp"}));
}

TEST_F(CastInputTest, KeyWalkSurvivesSpritesLeavingDuringIt)
{
    Actor* first = Make("first", 0, 0, 10, 10, 1);
    Actor* removed = Make("removed", 0, 0, 10, 10, 2);
    Actor* deleted = Make("deleted", 0, 0, 10, 10, 3);
    Actor* last = Make("last", 0, 0, 10, 10, 4);
    first->takesKeys = false;
    removed->takesKeys = false;
    deleted->takesKeys = false;
    last->takesKeys = false;
    first->onKey = [&] {
        cast->Remove(removed, false);
        delete deleted;
    };

    EXPECT_FALSE(cast->KeyDown(SDLK_a, KMOD_NONE, 'a', true));
    EXPECT_EQ(log, (Log{"first key", "last key"}));
    cast->EndAnimationCycle(); // deletes "removed"
    EXPECT_EQ(cast->Size(), 2);
}

TEST_F(CastInputTest, MovesTrackTheSpriteUnderTheMouse)
{
    Make("a", 0, 0, 100, 100, 1);
    Make("b", 200, 0, 100, 100, 1);

    cast->MouseMove(10, 10);
    cast->MouseMove(20, 20); // still over a: the catcher only
    cast->MouseMove(210, 10);
    cast->MouseMove(500, 500);
    EXPECT_EQ(log, (Log{"a over", "catcher move 1", "catcher move 1", "b over", "a out",
                        "catcher move 1", "b out", "catcher move 0"}));
    EXPECT_EQ(cast->GetMouseOverObj(), nullptr);
}

TEST_F(CastInputTest, WithoutInputFocusMovesAndHoversDoNothing)
{
    Make("a", 0, 0, 100, 100, 1);
    manager->SetInputFocus(false);
    cast->MouseMove(10, 10);
    cast->MouseHover(10, 10);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(cast->GetHoverObj(), nullptr);
}

TEST_F(CastInputTest, HoverEndsOrGoesOnAsThePointerSays)
{
    struct Case
    {
        const char* name;
        int x;
        int y;
        bool stillInside;
        bool goesOn;
        Log expected;
    };
    const Case cases[] = {
        {"still over the hovered sprite", 150, 150, true, true, {}},
        {"over a sprite in front", 60, 60, true, false, {"back hoverEnd", "catcher hoverEnd 1"}},
        {"not checked", 150, 150, false, false, {"back hoverEnd", "catcher hoverEnd 0"}},
        {"over nothing", 500, 500, true, false, {"back hoverEnd", "catcher hoverEnd 0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Actor* back = Make("back", 50, 50, 200, 200, 5);
        Actor* front = Make("front", 0, 0, 100, 100, 1);
        front->AllowInput(false); // hovers ignore input permissions
        cast->MouseHover(150, 150);
        ASSERT_EQ(cast->GetHoverObj(), back);
        cast->MouseHover(20, 20);
        ASSERT_EQ(cast->GetHoverObj(), front);
        cast->MouseHover(150, 150);
        log.clear();

        EXPECT_EQ(cast->MouseHoverEnded(c.x, c.y, c.stillInside), c.goesOn);
        EXPECT_EQ(log, c.expected);
        EXPECT_EQ(cast->GetHoverObj() != nullptr, c.goesOn);
        Clear();
    }
}

TEST_F(CastInputTest, QueuedEventsReachTheStageInOrder)
{
    class MoveEater : public MouseMoveListener
    {
    public:
        bool MouseMoved(int, int) override { return eat; }
        bool eat = false;
    };
    MoveEater eater;
    Make("a", 0, 0, 100, 100, 1);

    manager->MouseMove(10, 10);
    manager->MouseDown(10, 10, 1);
    manager->MouseUp(12, 14, 1);
    EXPECT_TRUE(log.empty()) << "queued until the frame takes them";
    manager->ProcessMouseEvents();
    EXPECT_EQ(
        log, (Log{"a over", "catcher move 1", "a down", "catcher down 1", "a up", "catcher up 1"}));
    EXPECT_EQ(manager->GetLastMouseX(), 12);
    EXPECT_EQ(manager->GetLastMouseY(), 14);

    log.clear();
    manager->SetMasterInput(false);
    manager->MouseDown(10, 10, 1);
    manager->SetMasterInput(true);
    eater.eat = true;
    manager->SetMouseMoveListener(&eater);
    manager->MouseMove(300, 300);
    manager->ProcessMouseEvents();
    EXPECT_TRUE(log.empty()) << "input switched off is lost; the listener ate the move";
    EXPECT_EQ(manager->GetLastMouseX(), 300);
    manager->SetMouseMoveListener(nullptr);
}
