#include "framework/shell/RulesDialog.h"

#include "framework/dialogs/DialogItem.h"
#include "framework/media/Sound.h"
#include "framework/shell/ConfigFileRulesDialog.h"

#include <algorithm>
#include <cstddef>
#include <string>

namespace {

// The entry of page (from 1), or the last one read when the lists are shorter.
const std::string& Entry(const std::vector<std::string>& entries, int page)
{
    static const std::string none;
    if (entries.empty()) {
        return none;
    }
    const std::size_t index = static_cast<std::size_t>(std::max(page - 1, 0));
    return entries[std::min(index, entries.size() - 1)];
}

} // namespace

RulesDialog::RulesDialog(ConfigFileRulesDialog* description, Cast* cast, int id,
                         DialogAttributes* attributes, DialogListener* listener)
    : CastMemberDialogResizable(description, cast, id, attributes, listener),
      _description(description)
{
    SetName("RulesDialog");
    UseTransparentBackground();
    AddItems();
}

RulesDialog::~RulesDialog() = default;

void RulesDialog::AddItems()
{
    if (_description == nullptr) {
        return;
    }
    ConfigFileRulesDialog& d = *_description;
    d._doneButton.AddTo(this, kDoneId, 1);
    if (d._pages > 1) {
        d._nextButton.AddTo(this, kNextId, 0);
        d._prevButton.AddTo(this, kPrevId, 0);
        _nextItem = d._nextButton.GetItem();
        _prevItem = d._prevButton.GetItem();
        if (_prevItem != nullptr) {
            _prevItem->SetInactive(true);
        }
    }
    // A sheet without pages still has its one frame.
    _pictureItem = AddImage(d._rulesImage, d._rulesImagePos.GetX(), d._rulesImagePos.GetY(),
                            std::max(d._pages, 1), 0, true);
    _titleItem = AddText(Entry(d._titles, 1), d._titlePos.GetX(), d._titlePos.GetY(), 0,
                         d._titleColor, d._titleFont, d._titleJustify, d._titleWidth);
    _ruleItem = AddTextBox(Entry(d._rules, 1), d._textPos.GetX(), d._textPos.GetY(), d._textColor,
                           d._textFont, d._textJustify, d._textDim, 2, 0);
    if (_titleItem != nullptr) {
        _titleItem->SetTextProperties(Entry(d._titles, 1), d._titleFont, d._titleColor,
                                      d._titleShadowDepth);
    }
    if (_ruleItem != nullptr) {
        _ruleItem->SetTextProperties(Entry(d._rules, 1), d._textFont, d._textColor,
                                     d._textShadowDepth);
    }
}

void RulesDialog::DialogButtonClicked(int dialogId, int itemId, int how)
{
    Sound::Play("AU_DIALOG_SELECT", 0);
    // Without the paging buttons (one page) an item that happens to carry their id turns
    // nothing.
    const int pages = _description != nullptr ? _description->_pages : 0;
    if (itemId == kNextId && _nextItem != nullptr) {
        _currentPage = std::min(_currentPage + 1, pages);
        if (_currentPage == pages) {
            _nextItem->SetInactive(true);
        }
        if (_prevItem != nullptr) {
            _prevItem->SetInactive(false);
        }
        ShowPage();
    } else if (itemId == kPrevId && _prevItem != nullptr) {
        _currentPage = std::max(_currentPage - 1, 1);
        if (_currentPage == 1) {
            _prevItem->SetInactive(true);
        }
        if (_nextItem != nullptr) {
            _nextItem->SetInactive(false);
        }
        ShowPage();
    }
    CastMemberDialogResizable::DialogButtonClicked(dialogId, itemId, how);
}

void RulesDialog::ShowPage()
{
    const ConfigFileRulesDialog& d = *_description;
    if (_titleItem != nullptr) {
        _titleItem->SetText(Entry(d._titles, _currentPage));
    }
    if (_ruleItem != nullptr) {
        _ruleItem->SetText(Entry(d._rules, _currentPage));
    }
    if (_pictureItem != nullptr) {
        _pictureItem->SetFrame(_currentPage - 1);
    }
}
