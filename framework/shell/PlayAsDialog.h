#pragma once

#include "framework/core/Export.h"
#include "framework/dialogs/CastMemberDialogResizable.h"

#include <memory>

class AppScript;
class Cast;
class ConfigFilePlayAsDialog;
class ConfigFilePlayers;
class ControlLabel;
class DialogAttributes;
class DialogItem;
class DialogListener;
class Framework;

// Who plays: a list whose first line adds a player (it opens the name entry) and whose other
// lines are the players, most recent first, with OK, Cancel, Delete (asks first) and two scroll
// arrows. A click on a player line selects it; a second click on it within half a second counts
// as OK. OK hands the chosen player to the script and, when a start button led here, starts
// that game. With no players yet, the name entry opens by itself once.
//
// The name entry and the delete question live in the script's slots; this dialog listens to
// them. Ownership: the title label is the dialog's; the descriptions, the player list, the
// script and the framework are not.
class FRAMEWORK_API PlayAsDialog : public CastMemberDialogResizable
{
public:
    // Its id when the script opens it, and its item ids.
    static constexpr int kDialogId = 1;
    static constexpr int kOkId = CastMemberDialog::kOkId;
    static constexpr int kCancelId = CastMemberDialog::kCancelId;
    static constexpr int kUpArrowId = 3;
    static constexpr int kDownArrowId = 4;
    static constexpr int kListId = 5;
    static constexpr int kDeleteId = 100;
    // Two clicks on one player line closer than this act as OK.
    static constexpr unsigned int kDoubleClickMs = 500;

    // None of the pointers is owned.
    PlayAsDialog(ConfigFilePlayers* players, ConfigFilePlayAsDialog* description, AppScript* script,
                 Cast* cast, int id, DialogAttributes* attributes, Framework* framework,
                 DialogListener* listener);
    ~PlayAsDialog() override;

    // The dialog's step; then, the first time the dialog is the stage's current dialog, no
    // longer fading and without players, the name entry opens.
    void Animate(unsigned int now) override;
    // With the first line selected, OK opens the name entry instead of closing.
    bool ValidateCloseDialog() override;
    // Its own buttons and the answers of the name entry and the delete question.
    void DialogButtonClicked(int dialogId, int itemId, int how) override;
    // A click on a line of the list.
    void DialogItemSet(int dialogId, int itemId, int value, bool state) override;

    DialogItem* GetDeleteItem() const { return _deleteItem; }
    // The list's lines: the first line, then the players.
    std::vector<std::string>& Lines();

private:
    void OpenNameEntry();
    void OpenDeleteQuestion();
    void NameEntered();
    void DeleteConfirmed();
    // The list scrolled so that its last line shows.
    void ScrollToEnd(DialogItem* list);
    // The menu's player label shows the welcome text alone.
    void ResetPlayerLabel();

    ConfigFilePlayAsDialog* _description; // not owned
    AppScript* _script;                   // not owned
    int _deleteIndex = 0;
    Framework* _framework;             // not owned
    DialogItem* _deleteItem = nullptr; // belongs to the dialog
    std::unique_ptr<ControlLabel> _title;
    int _lastClickedLine = -1;
    unsigned int _lastClickTime = 0;
    ConfigFilePlayers* _players; // not owned
    bool _nameEntryOpened = false;
};
