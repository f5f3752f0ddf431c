#include "framework/shell/EnterNameDialog.h"

#include "framework/core/StringUtils.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/shell/ConfigFileEnterNameDialog.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

const Color EnterNameDialog::kErrorColour(255, 110, 110, 255);

namespace {

std::string Lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

EnterNameDialog::EnterNameDialog(ConfigFileEnterNameDialog* description, Cast* cast, int id,
                                 const std::string& initialText,
                                 const std::vector<std::string>& namesInUse,
                                 DialogListener* listener)
    : CastMemberDialogResizable(description, cast, id, nullptr, listener),
      _description(description), _namesInUse(namesInUse)
{
    SetupDialog(description, initialText);
}

EnterNameDialog::~EnterNameDialog() = default;

void EnterNameDialog::SetupDialog(ConfigFileEnterNameDialog* description, std::string initialText)
{
    SetName("EnterNameDialog");
    UseTransparentBackground();
    _description = description;
    _initialText = initialText;
    if (_description == nullptr) {
        return;
    }
    const ConfigFileEnterNameDialog& d = *_description;

    _textInputItem = AddTextInput(initialText, d._textInputPos.GetX(), d._textInputPos.GetY(),
                                  d._textInputDim.GetW(), d._textInputDim.GetH(), kTextInputId,
                                  d._textInputFont.get(), d._textInputColor, d._textInputBackColor,
                                  d._textInputLimit, true);

    _bodyTextItem = AddText("", d._bodyTextPos.GetX(), d._bodyTextPos.GetY(), 0, d._bodyTextColor,
                            d._bodyTextFont.get(), d._bodyTextJustify, d._bodyTextDim.GetW());
    if (_bodyTextItem != nullptr) {
        _bodyTextItem->SetTextProperties(d._bodyText, d._bodyTextFont.get(), d._bodyTextColor,
                                         d._bodyTextShadowDepth);
    }

    char hint[512];
    std::snprintf(hint, sizeof(hint), "%s %d %s.", d._enter1.c_str(), d._textInputLimit,
                  d._enter2.c_str());
    _infoText = hint;
    _infoTextItem = AddText("", d._infoPos.GetX(), d._infoPos.GetY(), 0, d._infoColor,
                            d._infoFont.get(), d._bodyTextJustify, d._infoWidth);
    if (_infoTextItem != nullptr) {
        const int depth = d._infoShadowColor.GetA() != 0 ? 1 : 0;
        _infoTextItem->SetTextProperties(_infoText, d._infoFont.get(), d._infoColor, depth);
    }
}

std::string EnterNameDialog::GetTextInputString()
{
    if (_textInputItem == nullptr) {
        return std::string();
    }
    return StringUtils::Trim(_textInputItem->GetText());
}

void EnterNameDialog::ResetName()
{
    if (_textInputItem != nullptr) {
        _textInputItem->SetText(_initialText);
    }
}

void EnterNameDialog::ShowError(const std::string& message)
{
    if (_infoTextItem != nullptr && _description != nullptr) {
        _infoTextItem->SetTextProperties(message, _description->_infoFont.get(), kErrorColour, 1);
    }
    ChangeState(kRestoreHintState, kErrorShownMs);
}

bool EnterNameDialog::ValidateCloseDialog()
{
    const std::string name = GetTextInputString();
    if (name.empty()) {
        ShowError(_description != nullptr ? _description->_cannotBeEmpty : std::string());
        return false;
    }
    const std::string lowered = Lowered(name);
    for (const std::string& inUse : _namesInUse) {
        if (Lowered(inUse) == lowered) {
            ShowError(_description != nullptr ? _description->_alreadyInUse : std::string());
            return false;
        }
    }
    return true;
}

void EnterNameDialog::DoState(int state)
{
    if (state != kRestoreHintState) {
        CastMemberDialogResizable::DoState(state);
        return;
    }
    if (_infoTextItem != nullptr && _description != nullptr) {
        _infoTextItem->SetTextProperties(_infoText, _description->_infoFont.get(),
                                         _description->_infoColor, 1);
    }
    ChangeState(1);
}
