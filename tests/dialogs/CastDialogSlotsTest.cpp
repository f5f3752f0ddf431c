#include "SDL.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMember.h"
#include "framework/stage/DialogAttachListener.h"
#include "framework/stage/InputCatcher.h"
#include "tests/dialogs/DialogTestSupport.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

using namespace dialogtest;

namespace {

// The stage drops presses for this long after a dialog attached.
constexpr unsigned int kGuardMs = 350;

// A dialog that also notes the stage's calls into it: "dialog <id> down|up|outside|dirty".
class SlotDialog final : public LogDialog
{
public:
    SlotDialog(Cast* cast, int id, DialogListener* listener, Log* log)
        : LogDialog(cast, id, listener, log), _log(log)
    {}
    bool MouseDown(int x, int y, int button) override
    {
        Note("down");
        return LogDialog::MouseDown(x, y, button);
    }
    bool MouseUp(int x, int y, int button) override
    {
        Note("up");
        return LogDialog::MouseUp(x, y, button);
    }
    void MouseDownOutsideOfDialog() override
    {
        Note("outside");
        LogDialog::MouseDownOutsideOfDialog();
    }
    // Showing repaints the items too; only the calls made while this is on are noted.
    void SetMembersDirty() override
    {
        if (noteMembersDirty) {
            Note("dirty");
        }
        LogDialog::SetMembersDirty();
    }

    bool noteMembersDirty = false;

private:
    void Note(const std::string& what)
    {
        _log->push_back("dialog " + std::to_string(GetID()) + " " + what);
    }
    Log* _log;
};

// A plain sprite behind every dialog: "spr down|up <x>|over|out".
class Sprite final : public CastMember
{
public:
    Sprite(Cast* cast, Log* log, int x, int y, int w, int h) : CastMember(cast, x, y, 5), _log(log)
    {
        SetDimensions(w, h);
        AllowInput(true);
    }
    void OnMouseDown(int, int, int) override { _log->push_back("spr down"); }
    bool MouseUp(int x, int y, int button) override
    {
        _log->push_back("spr up " + std::to_string(x));
        return CastMember::MouseUp(x, y, button);
    }
    bool MouseMove(int x, int y, bool inside) override
    {
        _log->push_back(inside ? "spr over" : "spr out");
        return CastMember::MouseMove(x, y, inside);
    }

private:
    Log* _log;
};

// "stage attached|detached <id> <nested>".
class AttachLog final : public DialogAttachListener
{
public:
    explicit AttachLog(Log* log) : _log(log) {}
    void DialogAttached(CastMemberDialog*, int dialogId, bool nested) override
    {
        Note("attached", dialogId, nested);
    }
    void DialogDetached(CastMemberDialog*, int dialogId, bool nested) override
    {
        Note("detached", dialogId, nested);
    }

private:
    void Note(const char* what, int id, bool nested)
    {
        _log->push_back(std::string("stage ") + what + " " + std::to_string(id) +
                        (nested ? " 1" : " 0"));
    }
    Log* _log;
};

// "catcher down|up <handled>".
class Catcher final : public InputCatcher
{
public:
    explicit Catcher(Log* log) : _log(log) {}
    void MouseDown(int, int, int, bool handled) override { Note("down", handled); }
    void MouseUp(int, int, int, bool handled) override { Note("up", handled); }

private:
    void Note(const char* what, bool handled)
    {
        _log->push_back(std::string("catcher ") + what + (handled ? " 1" : " 0"));
    }
    Log* _log;
};

class CastDialogSlotsTest : public DialogFixture
{
protected:
    // Where the dialogs of a case stand; none of them overlaps the sprite or another.
    static constexpr int kPrimaryX = 100;
    static constexpr int kPrimaryY = 100;
    static constexpr int kNestedX = 400;
    static constexpr int kNestedY = 300;
    static constexpr int kSpriteX = 20;
    static constexpr int kSpriteY = 20;

    void SetUp() override
    {
        DialogFixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        cast->SetDialogAttachListener(&attachLog);
        cast->SetInputCatcher(&catcher);
        spr = new Sprite(cast, &log, 10, 10, 50, 50); // the stage deletes it
        log.clear();
    }
    void TearDown() override
    {
        if (cast != nullptr) {
            cast->SetDialogAttachListener(nullptr);
            cast->SetInputCatcher(nullptr);
        }
        DialogFixture::TearDown();
    }

    // On the stage with a text line, not shown.
    SlotDialog* Make(int id)
    {
        auto owned = std::make_unique<SlotDialog>(cast, id, &user, &log);
        SlotDialog* dialog = owned.get();
        dialogs.push_back(std::move(owned));
        dialog->SetButtonImages(okImage.get(), cancelImage.get());
        dialog->InitTextFont(font.get(), kText, 0, Color(0, 0, 0));
        dialog->InitBorders(kOuterBorder, kInnerBorder, 2);
        dialog->SetBackImage(backImage.get());
        dialog->AddText("Slot", 10, 10, 0, kText, font.get());
        return dialog;
    }
    // Shown with OK and Cancel; the dialog attaches itself as Show does.
    SlotDialog* Open(int id, bool nested, bool modeless = false)
    {
        SlotDialog* dialog = Make(id);
        dialog->SetModeless(modeless);
        dialog->Show(1, 0, nested ? kNestedX : kPrimaryX, nested ? kNestedY : kPrimaryY, nested);
        return dialog;
    }
    void Delete(CastMemberDialog* dialog)
    {
        for (auto& owned : dialogs) {
            if (owned.get() == dialog) {
                owned.reset();
            }
        }
    }
    // Frames until the stage's current dialog is the one expected (a closing dialog detaches at
    // the end of its fade-out).
    void RunUntilCurrent(CastMemberDialog* expected)
    {
        for (int i = 0; i < 10 && cast->GetDialog() != expected; ++i) {
            FrameAt(clock.Now() + 10);
        }
        ASSERT_EQ(cast->GetDialog(), expected);
    }
    void PassGuard() { RunTo(std::max(clock.Now(), cast->GetDialogAttachTime() + kGuardMs + 50)); }

    void PressAt(unsigned int t, int x, int y)
    {
        clock.Set(t);
        cast->MouseDown(x, y, 1);
    }
    // A point inside the dialog's border, on none of its items.
    static int InsideX(CastMemberDialog* dialog) { return dialog->GetX() + 4; }
    static int InsideY(CastMemberDialog* dialog) { return dialog->GetY() + 4; }

    AttachLog attachLog{&log};
    Catcher catcher{&log};
    Sprite* spr = nullptr;
};

template <class Row> std::string RowName(const ::testing::TestParamInfo<Row>& info)
{
    return info.param.name;
}

// --- the press guard after an attach ---

enum class Opening { ModelessDialog, ModalDialog, NestedClosedOverModal, ModalClosed };

struct GuardRow
{
    const char* name;
    Opening opening;
    bool guarded; // false: the attach time is 0 and a press goes through at once
    Log delivered;
};

void PrintTo(const GuardRow& row, std::ostream* os)
{
    *os << row.name;
}

class CastDialogSlotsGuardTest : public CastDialogSlotsTest,
                                 public ::testing::WithParamInterface<GuardRow>
{
};

TEST_P(CastDialogSlotsGuardTest, PressReachesNobodyUntil350MsAfterTheAttach)
{
    const GuardRow& row = GetParam();
    switch (row.opening) {
    case Opening::ModelessDialog:
        Open(5, false, true);
        break;
    case Opening::ModalDialog:
        Open(5, false);
        break;
    case Opening::NestedClosedOverModal: {
        SlotDialog* primary = Open(5, false);
        SlotDialog* nested = Open(6, true);
        RunTo(clock.Now() + 1000);
        nested->DetachDialog();
        RunUntilCurrent(primary);
        // Re-attaching the primary dialog is an attach: the guard starts again.
        EXPECT_EQ(cast->GetDialogAttachTime(), clock.Now());
        break;
    }
    case Opening::ModalClosed: {
        SlotDialog* primary = Open(5, false);
        primary->DetachDialog();
        RunUntilCurrent(nullptr);
        break;
    }
    }
    if (HasFatalFailure()) {
        return;
    }
    log.clear();

    const unsigned int attached = cast->GetDialogAttachTime();
    if (!row.guarded) {
        EXPECT_EQ(attached, 0u);
        PressAt(clock.Now(), kSpriteX, kSpriteY);
        EXPECT_EQ(log, row.delivered);
        return;
    }
    ASSERT_NE(attached, 0u);
    ASSERT_LT(clock.Now(), attached + kGuardMs - 1);
    PressAt(attached + kGuardMs - 1, kSpriteX, kSpriteY);
    EXPECT_EQ(log, Log{}) << "349 ms after the attach: not even the input catcher hears of it";
    PressAt(attached + kGuardMs, kSpriteX, kSpriteY);
    EXPECT_EQ(log, row.delivered);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CastDialogSlotsGuardTest,
    ::testing::Values(
        GuardRow{"ModelessDialog", Opening::ModelessDialog, true, {"spr down", "catcher down 1"}},
        GuardRow{"ModalDialog", Opening::ModalDialog, true, {"dialog 5 outside"}},
        GuardRow{
            "NestedClosedOverModal", Opening::NestedClosedOverModal, true, {"dialog 5 outside"}},
        GuardRow{"ModalClosed", Opening::ModalClosed, false, {"spr down", "catcher down 1"}}),
    RowName<GuardRow>);

// --- refusals ---

TEST_F(CastDialogSlotsTest, RefusedAttachesChangeNoSlotTellNobodyAndEndTheGuard)
{
    SlotDialog* first = Make(5);
    SlotDialog* second = Make(7);
    SlotDialog* nested = Make(6);
    SlotDialog* another = Make(8);

    const auto expectRefused = [&](bool result, CastMemberDialog* front, const char* what) {
        SCOPED_TRACE(what);
        EXPECT_FALSE(result);
        EXPECT_EQ(cast->GetDialog(), front);
        EXPECT_EQ(cast->GetDialogAttachTime(), 0u);
        EXPECT_EQ(log, Log{});
    };

    expectRefused(cast->AttachDialog(nested, false, true), nullptr, "nested without a primary");

    clock.Advance(10);
    ASSERT_TRUE(cast->AttachDialog(first, false, false));
    ASSERT_EQ(cast->GetDialogAttachTime(), clock.Now());
    log.clear();
    expectRefused(cast->AttachDialog(second, false, false), first, "primary over a modal one");
    EXPECT_TRUE(cast->ModalDialogUp());

    // A modeless primary dialog is replaced without being told.
    first->SetModeless(true);
    EXPECT_FALSE(cast->ModalDialogUp());
    clock.Advance(10);
    EXPECT_TRUE(cast->AttachDialog(second, false, false));
    EXPECT_EQ(log, (Log{"stage attached 7 0"}));
    EXPECT_EQ(cast->GetDialog(), second);
    EXPECT_EQ(cast->GetDialogAttachTime(), clock.Now());

    ASSERT_TRUE(cast->AttachDialog(nested, false, true));
    log.clear();
    struct Attempt
    {
        const char* what;
        CastMemberDialog* dialog;
        bool nested;
    };
    const Attempt attempts[] = {
        {"primary while a nested one is up", first, false},
        {"nested over a nested one", another, true},
        {"detach flagged nested", nullptr, true},
    };
    for (const Attempt& attempt : attempts) {
        clock.Advance(10);
        expectRefused(cast->AttachDialog(attempt.dialog, false, attempt.nested), nested,
                      attempt.what);
        EXPECT_TRUE(cast->ModalDialogUp());
    }

    // A dialog whose attach is refused does not show.
    another->Show(1, 0, -1, -1, false);
    EXPECT_FALSE(another->IsShown());
    EXPECT_FALSE(another->IsVisible());
    EXPECT_EQ(cast->GetDialog(), nested);
    EXPECT_EQ(log, Log{});
}

// --- nested detach ---

TEST_F(CastDialogSlotsTest, DetachingTheNestedDialogReattachesThePrimaryAndStampsTheAttachTime)
{
    SlotDialog* primary = Open(5, false);
    EXPECT_EQ(log, (Log{"stage attached 5 0"}));
    RunTo(clock.Now() + 500);
    primary->noteMembersDirty = true;
    log.clear();
    SlotDialog* nested = Open(6, true);
    // The primary dialog repaints its items once the listener has heard of the nested one.
    EXPECT_EQ(log, (Log{"stage attached 6 1", "dialog 5 dirty"}));
    EXPECT_EQ(cast->GetDialog(), nested);
    primary->noteMembersDirty = false;

    log.clear();
    clock.Set(7000);
    EXPECT_TRUE(cast->AttachDialog(nullptr, false, false));
    EXPECT_EQ(log, (Log{"own detached 6", "user detached 6", "stage detached 6 1",
                        "stage attached 5 0"}));
    EXPECT_EQ(cast->GetDialog(), primary);
    EXPECT_EQ(cast->GetDialogAttachTime(), 7000u);
    EXPECT_TRUE(cast->ModalDialogUp());
    EXPECT_FALSE(cast->Contains(nested));

    // The primary dialog takes presses again once the guard is over.
    log.clear();
    PressAt(7000 + kGuardMs, InsideX(primary), InsideY(primary));
    cast->MouseUp(InsideX(primary), InsideY(primary), 1);
    EXPECT_EQ(log, (Log{"dialog 5 down", "dialog 5 up", "catcher up 1"}));

    log.clear();
    clock.Set(8000);
    EXPECT_FALSE(cast->AttachDialog(nullptr, false, false));
    EXPECT_EQ(log, (Log{"own detached 5", "user detached 5", "stage detached 5 0"}));
    EXPECT_EQ(cast->GetDialogAttachTime(), 0u);
    EXPECT_EQ(cast->GetDialog(), nullptr);
    EXPECT_FALSE(cast->ModalDialogUp());
    EXPECT_FALSE(cast->Contains(primary));
}

// --- the primary dialog closes under a nested one ---

enum class Closing { TimeLimit, DetachDialog, DetachDialogAfterFade };

struct UnderRow
{
    const char* name;
    Closing closing;
    Log reports; // from the moment the primary dialog starts to close until it is gone
    SDLKey key;  // then closes the nested dialog
    int button;  // the standard button that key stands for
};

void PrintTo(const UnderRow& row, std::ostream* os)
{
    *os << row.name;
}

class CastDialogSlotsUnderTest : public CastDialogSlotsTest,
                                 public ::testing::WithParamInterface<UnderRow>
{
};

TEST_P(CastDialogSlotsUnderTest, ClosingPrimaryLeavesTheNestedDialogInCharge)
{
    const UnderRow& row = GetParam();
    SlotDialog* primary = Make(5);
    if (row.closing == Closing::DetachDialogAfterFade) {
        primary->SetFadeOutTime(200);
    }
    const unsigned int shown = clock.Now();
    primary->Show(1, row.closing == Closing::TimeLimit ? 3000 : 0, kPrimaryX, kPrimaryY, false);
    SlotDialog* nested = Open(6, true);
    nested->SetEnterKeyItem(nested->GetItemByID(1));
    nested->SetEscKeyItem(nested->GetItemByID(2));
    ASSERT_EQ(cast->GetDialog(), nested);
    PassGuard();
    log.clear();

    const unsigned int guardBefore = cast->GetDialogAttachTime();
    if (row.closing == Closing::TimeLimit) {
        RunTo(shown + 3500);
    } else {
        primary->DetachDialog();
        RunTo(clock.Now() + 400);
    }
    EXPECT_EQ(log, row.reports);
    EXPECT_FALSE(cast->Contains(primary)) << "the closing dialog must not stay as an invisible one";
    EXPECT_TRUE(cast->Contains(nested));
    EXPECT_TRUE(nested->IsShown());
    EXPECT_EQ(cast->GetDialog(), nested);
    EXPECT_TRUE(cast->ModalDialogUp());
    EXPECT_EQ(cast->GetDialogAttachTime(), guardBefore) << "nothing new attached";

    // The nested dialog takes presses where it stands and hears of those elsewhere.
    log.clear();
    PressAt(clock.Now(), InsideX(nested), InsideY(nested));
    cast->MouseUp(InsideX(nested), InsideY(nested), 1);
    PressAt(clock.Now(), kPrimaryX + 4, kPrimaryY + 4);
    cast->MouseUp(kPrimaryX + 4, kPrimaryY + 4, 1);
    EXPECT_EQ(log, (Log{"dialog 6 down", "dialog 6 up", "catcher up 1", "dialog 6 outside",
                        "catcher up 0"}));
    RunTo(clock.Now() + 500); // the nested dialog flashes at a press outside it

    // Enter and Escape close it as the stage's only dialog.
    log.clear();
    EXPECT_TRUE(Key(row.key, static_cast<unsigned short>(row.key)));
    RunUntilCurrent(nullptr);
    const std::string clicked = "clicked 6 " + std::to_string(row.button);
    EXPECT_EQ(log, (Log{"own " + clicked + " 0", "user " + clicked + " 1", "own detached 6",
                        "user detached 6", "stage detached 6 0"}));
    EXPECT_FALSE(cast->ModalDialogUp());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CastDialogSlotsUnderTest,
    ::testing::Values(UnderRow{"TimeLimit",
                               Closing::TimeLimit,
                               {"own timesup 5", "user timesup 5", "own detached 5",
                                "user detached 5", "stage detached 5 0"},
                               SDLK_ESCAPE,
                               2},
                      UnderRow{"DetachDialog",
                               Closing::DetachDialog,
                               {"own detached 5", "user detached 5", "stage detached 5 0"},
                               SDLK_RETURN,
                               1},
                      UnderRow{"DetachDialogAfterFade",
                               Closing::DetachDialogAfterFade,
                               {"own detached 5", "user detached 5", "stage detached 5 0"},
                               SDLK_ESCAPE,
                               2}),
    RowName<UnderRow>);

// Notes "user detached <id>" like the fixture's listener, then acts.
class ActingListener final : public LogListener
{
public:
    ActingListener(Log* log, std::function<void()> action)
        : LogListener(log), _action(std::move(action))
    {}
    void DialogDetached(int dialogId) override
    {
        LogListener::DialogDetached(dialogId);
        _action();
    }

private:
    std::function<void()> _action;
};

// The stage's own attach listener that also acts when it hears of a detach.
class ActingAttachLog final : public DialogAttachListener
{
public:
    ActingAttachLog(Log* log, std::function<void()> action) : _log(log), _action(std::move(action))
    {}
    void DialogAttached(CastMemberDialog* dialog, int dialogId, bool nested) override
    {
        AttachLog(_log).DialogAttached(dialog, dialogId, nested);
    }
    void DialogDetached(CastMemberDialog* dialog, int dialogId, bool nested) override
    {
        AttachLog(_log).DialogDetached(dialog, dialogId, nested);
        _action();
    }

private:
    Log* _log;
    std::function<void()> _action;
};

// A closing dialog's listeners commonly open the next one.
TEST_F(CastDialogSlotsTest, DialogShownWhileTheStageLetsGoOfAnotherKeepsTheSlot)
{
    SlotDialog* first = Open(5, false);
    SlotDialog* second = Make(7);
    SlotDialog* third = Make(8);
    ActingListener opensSecond(&log, [&] { second->Show(1, 0, kPrimaryX, kPrimaryY, false); });
    first->SetListener(&opensSecond);
    PassGuard();

    log.clear();
    first->DetachDialog();
    RunUntilCurrent(second);
    EXPECT_EQ(log, (Log{"own detached 5", "user detached 5", "stage attached 7 0",
                        "stage detached 5 0"}));
    EXPECT_TRUE(second->IsShown());
    EXPECT_TRUE(cast->ModalDialogUp());
    EXPECT_NE(cast->GetDialogAttachTime(), 0u) << "the new dialog's guard holds";

    ActingAttachLog opensThird(&log, [&] { third->Show(1, 0, kPrimaryX, kPrimaryY, false); });
    cast->SetDialogAttachListener(&opensThird);
    PassGuard();
    log.clear();
    second->DetachDialog();
    RunUntilCurrent(third);
    EXPECT_EQ(log, (Log{"own detached 7", "user detached 7", "stage detached 7 0",
                        "stage attached 8 0"}));
    cast->SetDialogAttachListener(&attachLog);

    // The dialog that took the slot closes like any other and can be shown again.
    log.clear();
    third->DetachDialog();
    RunUntilCurrent(nullptr);
    EXPECT_EQ(log, (Log{"own detached 8", "user detached 8", "stage detached 8 0"}));
    EXPECT_FALSE(cast->Contains(third));
    third->SetListener(&user);
    third->Show(1, 0, kPrimaryX, kPrimaryY, false);
    EXPECT_EQ(cast->GetDialog(), third);
}

// --- an attach ends a drag, a tracking and the mouse-over ---

enum class Attach {
    ModalPrimary,
    ModelessPrimary,        // Show keeps the mouse for a modeless dialog
    NestedAskingToKeepMouse // a nested attach never keeps it
};

struct CancelRow
{
    const char* name;
    bool drag; // else the sprite tracks the press
    Attach attach;
    bool cancels;
};

void PrintTo(const CancelRow& row, std::ostream* os)
{
    *os << row.name;
}

class CastDialogSlotsCancelTest : public CastDialogSlotsTest,
                                  public ::testing::WithParamInterface<CancelRow>
{
};

TEST_P(CastDialogSlotsCancelTest, AttachEndsThePressAndTheMouseOverUnlessItKeepsTheMouse)
{
    const CancelRow& row = GetParam();
    spr->AllowDragging(row.drag);
    if (row.attach == Attach::NestedAskingToKeepMouse) {
        Open(5, false, true);
        PassGuard();
    }
    cast->MouseMove(kSpriteX, kSpriteY);
    cast->MouseDown(kSpriteX, kSpriteY, 1);
    ASSERT_EQ(row.drag ? cast->GetDragObj() : cast->GetTrackObj(), spr);
    ASSERT_EQ(cast->GetMouseOverObj(), spr);
    log.clear();

    switch (row.attach) {
    case Attach::ModalPrimary:
        Open(6, false);
        break;
    case Attach::ModelessPrimary:
        Open(6, false, true);
        break;
    case Attach::NestedAskingToKeepMouse:
        EXPECT_TRUE(cast->AttachDialog(Make(6), true, true));
        break;
    }
    const std::string attached =
        row.attach == Attach::NestedAskingToKeepMouse ? "stage attached 6 1" : "stage attached 6 0";
    if (row.cancels) {
        // The far-away release and move end the press and the mouse-over without a click.
        EXPECT_EQ(log,
                  (Log{attached, "spr up " + std::to_string(CastMember::kCancelX), "spr out"}));
        EXPECT_EQ(cast->GetDragObj(), nullptr);
        EXPECT_EQ(cast->GetTrackObj(), nullptr);
        EXPECT_EQ(cast->GetMouseOverObj(), nullptr);
    } else {
        EXPECT_EQ(log, (Log{attached}));
        EXPECT_EQ(row.drag ? cast->GetDragObj() : cast->GetTrackObj(), spr);
        EXPECT_EQ(cast->GetMouseOverObj(), spr);
    }

    // The real release comes later; a cancelled press is not released twice.
    log.clear();
    cast->MouseUp(kSpriteX, kSpriteY, 1);
    EXPECT_EQ(log, row.cancels ? (Log{"catcher up 0"}) : (Log{"spr up 20", "catcher up 1"}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CastDialogSlotsCancelTest,
    ::testing::Values(
        CancelRow{"DragUnderModalDialog", true, Attach::ModalPrimary, true},
        CancelRow{"TrackingUnderModalDialog", false, Attach::ModalPrimary, true},
        CancelRow{"DragUnderModelessDialog", true, Attach::ModelessPrimary, false},
        CancelRow{"DragUnderNestedDialog", true, Attach::NestedAskingToKeepMouse, true},
        CancelRow{"TrackingUnderNestedDialog", false, Attach::NestedAskingToKeepMouse, true}),
    RowName<CancelRow>);

// --- press routing with dialogs up ---

enum class Up { Modal, NestedOverModal, Modeless, NestedOverModeless };

enum class At {
    FrontDialog, // inside the current dialog
    PrimaryOnly, // inside the primary dialog, outside the nested one
    Sprite
};

struct RouteRow
{
    const char* name;
    Up up;
    At at;
    Log press;
    Log release;
};

void PrintTo(const RouteRow& row, std::ostream* os)
{
    *os << row.name;
}

class CastDialogSlotsRouteTest : public CastDialogSlotsTest,
                                 public ::testing::WithParamInterface<RouteRow>
{
};

TEST_P(CastDialogSlotsRouteTest, PressAndReleaseGoWhereTheDialogsSay)
{
    const RouteRow& row = GetParam();
    const bool modeless = row.up == Up::Modeless || row.up == Up::NestedOverModeless;
    SlotDialog* primary = Open(5, false, modeless);
    if (row.up == Up::NestedOverModal || row.up == Up::NestedOverModeless) {
        Open(6, true);
    }
    PassGuard();
    int x = kSpriteX;
    int y = kSpriteY;
    if (row.at == At::FrontDialog) {
        x = InsideX(cast->GetDialog());
        y = InsideY(cast->GetDialog());
    } else if (row.at == At::PrimaryOnly) {
        x = InsideX(primary);
        y = InsideY(primary);
    }
    log.clear();
    cast->MouseDown(x, y, 1);
    EXPECT_EQ(log, row.press);
    log.clear();
    cast->MouseUp(x, y, 1);
    EXPECT_EQ(log, row.release);
}

INSTANTIATE_TEST_SUITE_P(Cases, CastDialogSlotsRouteTest,
                         ::testing::Values(RouteRow{"ModalTakesAPressInside",
                                                    Up::Modal,
                                                    At::FrontDialog,
                                                    {"dialog 5 down"},
                                                    {"dialog 5 up", "catcher up 1"}},
                                           RouteRow{"ModalHearsOfAPressOnASprite",
                                                    Up::Modal,
                                                    At::Sprite,
                                                    {"dialog 5 outside"},
                                                    {"catcher up 0"}},
                                           RouteRow{"NestedTakesAPressInside",
                                                    Up::NestedOverModal,
                                                    At::FrontDialog,
                                                    {"dialog 6 down"},
                                                    {"dialog 6 up", "catcher up 1"}},
                                           RouteRow{"NestedHearsOfAPressOnThePrimary",
                                                    Up::NestedOverModal,
                                                    At::PrimaryOnly,
                                                    {"dialog 6 outside"},
                                                    {"catcher up 0"}},
                                           RouteRow{"NestedOverModelessHearsOfAPressOnASprite",
                                                    Up::NestedOverModeless,
                                                    At::Sprite,
                                                    {"dialog 6 outside"},
                                                    {"catcher up 0"}},
                                           RouteRow{"ModelessLetsTheSpriteTakeIt",
                                                    Up::Modeless,
                                                    At::Sprite,
                                                    {"spr down", "catcher down 1"},
                                                    {"spr up 20", "catcher up 1"}},
                                           RouteRow{"ModelessTakesAPressAsAMember",
                                                    Up::Modeless,
                                                    At::FrontDialog,
                                                    {"dialog 5 down", "catcher down 1"},
                                                    {"dialog 5 up", "catcher up 1"}}),
                         RowName<RouteRow>);

// --- deleted dialogs leave the slots ---

enum class Gone {
    Nested,
    PrimaryUnderNested,
    LonePrimary,
    PressedPrimary // deleted between the press and the release
};

struct DeleteRow
{
    const char* name;
    Gone gone;
    int frontId; // 0: none
    Log press;   // a press on the sprite afterwards
    Log detach;  // what a detach then tells; it always returns false
};

void PrintTo(const DeleteRow& row, std::ostream* os)
{
    *os << row.name;
}

class CastDialogSlotsDeleteTest : public CastDialogSlotsTest,
                                  public ::testing::WithParamInterface<DeleteRow>
{
};

TEST_P(CastDialogSlotsDeleteTest, DeletedDialogLeavesItsSlot)
{
    const DeleteRow& row = GetParam();
    SlotDialog* primary = Open(5, false);
    SlotDialog* nested = nullptr;
    if (row.gone == Gone::Nested || row.gone == Gone::PrimaryUnderNested) {
        nested = Open(6, true);
    }
    PassGuard();
    if (row.gone == Gone::PressedPrimary) {
        cast->MouseDown(InsideX(primary), InsideY(primary), 1);
    }
    Delete(row.gone == Gone::Nested ? nested : primary);
    const CastMemberDialog* front = row.frontId == 0   ? nullptr
                                    : row.frontId == 5 ? static_cast<CastMemberDialog*>(primary)
                                                       : nested;
    EXPECT_EQ(cast->GetDialog(), front);
    EXPECT_EQ(cast->ModalDialogUp(), front != nullptr);

    log.clear();
    cast->MouseUp(kSpriteX, kSpriteY, 1);
    EXPECT_EQ(log, (Log{"catcher up 0"})) << "the release finds no dialog to give it to";
    log.clear();
    cast->MouseDown(kSpriteX, kSpriteY, 1);
    EXPECT_EQ(log, row.press);
    cast->MouseUp(kSpriteX, kSpriteY, 1);

    log.clear();
    EXPECT_FALSE(cast->AttachDialog(nullptr, false, false));
    EXPECT_EQ(log, row.detach);
    EXPECT_EQ(cast->GetDialog(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CastDialogSlotsDeleteTest,
    ::testing::Values(
        DeleteRow{"Nested",
                  Gone::Nested,
                  5,
                  {"dialog 5 outside"},
                  {"own detached 5", "user detached 5", "stage detached 5 0"}},
        DeleteRow{"PrimaryUnderNested",
                  Gone::PrimaryUnderNested,
                  6,
                  {"dialog 6 outside"},
                  {"own detached 6", "user detached 6", "stage detached 6 1"}},
        DeleteRow{"LonePrimary", Gone::LonePrimary, 0, {"spr down", "catcher down 1"}, {}},
        DeleteRow{"PressedPrimary", Gone::PressedPrimary, 0, {"spr down", "catcher down 1"}, {}}),
    RowName<DeleteRow>);

// --- ForceDialogsDispose while the stage changes under it ---

enum class During { Nothing, LastDialogDeleted, LastDialogDetached };

struct DisposeRow
{
    const char* name;
    During during; // what the front dialog's listener does when it is detached
};

void PrintTo(const DisposeRow& row, std::ostream* os)
{
    *os << row.name;
}

class CastDialogSlotsDisposeTest : public CastDialogSlotsTest,
                                   public ::testing::WithParamInterface<DisposeRow>
{
};

TEST_P(CastDialogSlotsDisposeTest, ForcedDisposeDetachesEveryDialogOnStageOnce)
{
    const DisposeRow& row = GetParam();
    // A modeless dialog replaced by a modal one stays on stage in no slot.
    Open(7, false, true);
    Open(5, false);
    SlotDialog* nested = Open(6, true);
    PassGuard();

    std::vector<CastMemberDialog*> order; // front to back
    for (CastMember* member : cast->GetCastMembers()) {
        if (member->IsADialog()) {
            order.push_back(static_cast<CastMemberDialog*>(member));
        }
    }
    ASSERT_EQ(order.size(), 3u);
    ASSERT_EQ(order[0], nested);
    CastMemberDialog* last = order[2];

    ActingListener acting(&log, [&] {
        if (row.during == During::LastDialogDeleted) {
            Delete(last);
        } else if (row.during == During::LastDialogDetached) {
            last->Detach();
        }
    });
    nested->SetListener(&acting);

    std::vector<int> told;
    for (CastMemberDialog* dialog : order) {
        told.push_back(dialog->GetID());
    }
    if (row.during == During::LastDialogDeleted) {
        told.pop_back();
    } else if (row.during == During::LastDialogDetached) {
        std::swap(told[1], told[2]);
    }
    Log expected;
    for (const int id : told) {
        expected.push_back("own detached " + std::to_string(id));
        expected.push_back("user detached " + std::to_string(id));
    }

    log.clear();
    EXPECT_TRUE(cast->ForceDialogsDispose());
    // Each dialog once, in stage order; the attach listener is not told.
    EXPECT_EQ(log, expected);
    EXPECT_EQ(cast->GetDialog(), nullptr);
    EXPECT_FALSE(cast->ModalDialogUp());
    for (const auto& dialog : dialogs) {
        if (dialog != nullptr) {
            EXPECT_FALSE(cast->Contains(dialog.get())) << dialog->GetID();
        }
    }
    EXPECT_FALSE(cast->ForceDialogsDispose());

    log.clear();
    cast->MouseDown(kSpriteX, kSpriteY, 1);
    EXPECT_EQ(log, (Log{"spr down", "catcher down 1"}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CastDialogSlotsDisposeTest,
    ::testing::Values(DisposeRow{"Nothing", During::Nothing},
                      DisposeRow{"LastDialogDeleted", During::LastDialogDeleted},
                      DisposeRow{"LastDialogDetached", During::LastDialogDetached}),
    RowName<DisposeRow>);

} // namespace
