#include "framework/dialogs/CastMemberDialogImage.h"

#include "framework/core/Rectangle.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "framework/stage/DialogListener.h"

#include <algorithm>
#include <memory>

namespace {

constexpr int kConfirmExit = 1;
constexpr int kCancelExit = 2;

bool IsChoice(const DialogItem* item)
{
    return item->GetType() == DialogItem::kCheckBox || item->GetType() == DialogItem::kRadio;
}

} // namespace

CastMemberDialogImage::CastMemberDialogImage(Cast* cast, int id, DialogAttributes* attributes,
                                             DialogListener* listener)
    : CastMemberDialog(cast, id, attributes, listener)
{
    SetName("DialogImage");
}

CastMemberDialogImage::~CastMemberDialogImage() = default;

int CastMemberDialogImage::GetClassMemberType()
{
    return CastMember::kImageDialogKind;
}

void CastMemberDialogImage::Show(int /*first*/, int timeLimitMs, int x, int y, bool nested,
                                 int /*last*/)
{
    if (!PreShow() || IsShown()) {
        return;
    }
    Image* back = GetBackImage();
    if (back == nullptr || back->GetW() <= 0 || back->GetH() <= 0) {
        DebugVar(-1, "Show: an image dialog needs a back image; dialog %d not shown", GetID());
        return;
    }
    SetTimeLimit(timeLimitMs);

    // The descriptions stay: a dialog shown again gets its buttons again, over the old ones.
    for (const ButtonRecord& record : GetButtonRecords()) {
        if (record.image == nullptr) {
            continue;
        }
        DialogItem* button = AddButton(record.image, record.position.GetX(), record.position.GetY(),
                                       record.id, record.exitCode);
        if (button == nullptr) {
            continue;
        }
        if (record.exitCode == kConfirmExit) {
            SetEnterKeyItem(button);
        } else if (record.exitCode == kCancelExit) {
            SetEscKeyItem(button);
        }
    }

    const int width = back->GetW();
    const int height = back->GetH();
    // The sprite never grows beyond the screen; the canvas keeps the back image's full size.
    SetDimensions(std::min(width, AnimationManager::kScreenWidth),
                  std::min(height, AnimationManager::kScreenHeight));
    // A new back image of another size needs a canvas of its size.
    Canvas* canvas = GetCanvas();
    if (canvas == nullptr || canvas->GetW() != width || canvas->GetH() != height) {
        CreateCanvas(width, height);
    }
    InitCanvas();

    if (AttachDialog(nested)) {
        if (nested) {
            SetPriority(-1);
        }
        AnimationManager* manager = GetManager();
        SetCast(manager != nullptr ? manager->GetCast() : Stage());
        if (x == -1 && y == -1) {
            Center();
        } else {
            Move(x, y, true);
        }
        SetShown(true);
        if (GetFadeInTime() > 0) {
            SetAlpha(0);
            FadeIn(GetFadeInAlpha(), static_cast<unsigned int>(GetFadeInTime()), nullptr);
        } else {
            SetAlpha(255);
        }
        CastMember::Show();
    }
    SetJustShown(true);
}

void CastMemberDialogImage::InitCanvas()
{
    Canvas* canvas = GetCanvas();
    if (canvas == nullptr) {
        return;
    }
    UpdateBackground();
    if (_transparentBackground) {
        // The back image's own colour key when it has one, else the colour at (0, 0).
        Image* back = GetBackImage();
        Canvas* backCanvas = back != nullptr ? back->GetCanvas() : nullptr;
        if (backCanvas != nullptr && backCanvas->HasColorKey()) {
            canvas->UseTransparency(backCanvas->GetColorKey(), false);
        } else {
            canvas->UseTransparency(true, false);
        }
    }
    SetMembersDirty();
}

void CastMemberDialogImage::UpdateBackground()
{
    Canvas* canvas = GetCanvas();
    Image* back = GetBackImage();
    if (canvas == nullptr || back == nullptr) {
        return;
    }
    canvas->Lock();
    // Where a keyed back image is transparent the canvas shows its key, and so stays so.
    Canvas* backCanvas = back->GetCanvas();
    if (backCanvas != nullptr && backCanvas->HasColorKey()) {
        canvas->Clear(backCanvas->GetColorKey());
    }
    back->Blit(canvas, 0, 0);
    if (Image* overlay = GetOverlayImage()) {
        overlay->Blit(canvas, GetOverlayPosition().GetX(), GetOverlayPosition().GetY());
    }
    auto whole = std::make_unique<Rectangle>(0, 0, static_cast<short>(canvas->GetW()),
                                             static_cast<short>(canvas->GetH()));
    if (canvas->AddDirtyRect(whole.get())) {
        whole.release();
    }
    canvas->UpdateRects();
    canvas->Unlock();
}

bool CastMemberDialogImage::ProcessDialogClosing(DialogItem* item, int /*button*/)
{
    if (item == nullptr) {
        return true;
    }
    const int exitCode = item->GetExit();
    if (exitCode == kConfirmExit) {
        if (!ValidateCloseDialog()) {
            return false;
        }
        // Items that report at once have told their listeners already.
        DialogListener* user = GetListener();
        for (const auto& entry : GetItems()) {
            DialogItem* choice = entry.get();
            if (!IsChoice(choice) || choice->ImmediateAction()) {
                continue;
            }
            choice->SetSavedChecked(choice->GetChecked());
            DialogItemSet(GetID(), choice->GetID(), choice->GetValue(), choice->GetChecked());
            if (user != nullptr) {
                user->DialogItemSet(GetID(), choice->GetID(), choice->GetValue(),
                                    choice->GetChecked());
            }
        }
        return true;
    }
    if (exitCode == kCancelExit) {
        for (const auto& entry : GetItems()) {
            DialogItem* choice = entry.get();
            if (IsChoice(choice)) {
                choice->SetChecked(choice->GetSavedChecked());
            }
        }
    }
    return true;
}

bool CastMemberDialogImage::MouseUp(int x, int y, int button)
{
    DialogItem* item = GetPressedItem();
    if (item != nullptr) {
        if (item->GetType() == DialogItem::kSlider) {
            SliderStop();
        } else {
            const bool inside = item->Contains(x, y);
            // The held look never outlives the press, inside or not.
            item->SetChecked(false);
            item->SetDirty();
            if (inside) {
                const int itemId = item->GetID();
                if (item->GetExit() != 0) {
                    if (ProcessDialogClosing(item, button)) {
                        // Detaching clears the user listener: take it first.
                        DialogListener* user = GetListener();
                        DetachDialog();
                        DialogButtonClicked(GetID(), itemId, button);
                        if (user != nullptr) {
                            user->DialogButtonClicked(GetID(), itemId, button);
                        }
                        SetPressedItem(nullptr);
                        return true;
                    }
                } else {
                    DialogButtonClicked(GetID(), itemId, button);
                    if (DialogListener* user = GetListener()) {
                        user->DialogButtonClicked(GetID(), itemId, button);
                    }
                }
            }
        }
        SetPressedItem(nullptr);
        Repaint();
        return true;
    }

    Repaint();
    // Only a press that the sprite itself took (a drag of the dialog) has a sprite release.
    if (!IsDragging() && !IsTracking()) {
        return true;
    }
    const bool wasDragging = IsDragging();
    const bool result = CastMember::MouseUp(x, y, button);
    if (wasDragging && !IsMoving() && _highestPriorityOnDrag) {
        SetPriority(GetPrevPri());
    }
    return result;
}
