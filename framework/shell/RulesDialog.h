#pragma once

#include "framework/core/Export.h"
#include "framework/dialogs/CastMemberDialogResizable.h"

class Cast;
class ConfigFileRulesDialog;
class DialogAttributes;
class DialogItem;
class DialogListener;

// The rules as a book of pages: a title, a block of rule text and one frame of the picture sheet
// per page, Next and Previous to turn the pages (only with two pages or more) and Done to close.
// Everything it shows comes from its description, which it points to and does not own; Init
// with the description's section "dialog" and Show are the caller's.
class FRAMEWORK_API RulesDialog : public CastMemberDialogResizable
{
public:
    // Item ids of the buttons; Done closes the dialog with exit code 1, the other two keep it
    // open.
    static constexpr int kDoneId = 1;
    static constexpr int kNextId = 3;
    static constexpr int kPrevId = 4;

    // Adds the items at once (AddItems), on page 1.
    RulesDialog(ConfigFileRulesDialog* description, Cast* cast, int id,
                DialogAttributes* attributes, DialogListener* listener);
    ~RulesDialog() override;

    // Every button plays "AU_DIALOG_SELECT"; Next and Previous turn the page within 1..pages.
    void DialogButtonClicked(int dialogId, int itemId, int how) override;

    // Called once, by the constructor: the buttons, the picture, the title and the rule text.
    // Items the description cannot make (no picture, an empty rule) are left out.
    virtual void AddItems();

    int GetCurrentPage() const { return _currentPage; }
    DialogItem* GetTitleItem() const { return _titleItem; }
    DialogItem* GetRuleItem() const { return _ruleItem; }
    DialogItem* GetPictureItem() const { return _pictureItem; }

private:
    // Title, rule and picture of the current page.
    void ShowPage();

    int _currentPage = 1;
    ConfigFileRulesDialog* _description; // not owned
    // These belong to the dialog's items; null when not made.
    DialogItem* _titleItem = nullptr;
    DialogItem* _ruleItem = nullptr;
    DialogItem* _pictureItem = nullptr;
    // The paging buttons of this dialog. The description's button controls remember only the
    // dialog they were added to last, which may be another rules dialog by now.
    DialogItem* _nextItem = nullptr;
    DialogItem* _prevItem = nullptr;
};
