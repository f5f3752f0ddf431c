// CastMemberDialog: building from a dialog description. A list section names the control
// sections, each of which names its kind under "type".
#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/ControlAnimation.h"
#include "framework/dialogs/ControlBackground.h"
#include "framework/dialogs/ControlButton.h"
#include "framework/dialogs/ControlCheckBox.h"
#include "framework/dialogs/ControlInput.h"
#include "framework/dialogs/ControlLabel.h"
#include "framework/dialogs/ControlRadio.h"
#include "framework/dialogs/ControlRadioSet.h"
#include "framework/dialogs/ControlSlider.h"
#include "framework/dialogs/ControlTextBox.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

// The kind a "type" word selects; null for "0" and for words that name no kind.
std::unique_ptr<Control> MakeControl(const std::string& type)
{
    if (type == "button") {
        return std::make_unique<ControlButton>();
    }
    if (type == "label") {
        return std::make_unique<ControlLabel>();
    }
    if (type == "animation") {
        return std::make_unique<ControlAnimation>();
    }
    if (type == "background") {
        return std::make_unique<ControlBackground>();
    }
    if (type == "checkbox") {
        return std::make_unique<ControlCheckBox>();
    }
    if (type == "radio") {
        return std::make_unique<ControlRadio>();
    }
    if (type == "input") {
        return std::make_unique<ControlInput>();
    }
    if (type == "slider") {
        return std::make_unique<ControlSlider>();
    }
    if (type == "textbox") {
        return std::make_unique<ControlTextBox>();
    }
    if (type == "radioset") {
        return std::make_unique<ControlRadioSet>();
    }
    return nullptr;
}

} // namespace

int CastMemberDialog::AddControlsFromConfig(ConfigFile* file, const std::string& listSection)
{
    if (file == nullptr) {
        return 0;
    }
    // The key names only order the controls, byte-wise ("b10" before "b2").
    std::vector<std::string> keys = file->GetKeysInSection(listSection);
    std::sort(keys.begin(), keys.end());
    for (const std::string& key : keys) {
        const std::string section = file->Value(listSection, key, "_end_", true);
        // An entry without a control stays as an empty entry; "_end_" ends nothing.
        _controls.push_back(CreateControlFromConfig(file, section));
    }
    SetKeyEquivalentsFromConfig();
    return static_cast<int>(keys.size());
}

Control* CastMemberDialog::CreateControlFromConfig(ConfigFile* file, const std::string& section)
{
    if (file == nullptr) {
        return nullptr;
    }
    const std::string type = file->Value(section, "type", "0", true);
    std::unique_ptr<Control> control = MakeControl(type);
    if (control == nullptr) {
        // "0" (or no "type") is how a description leaves an entry empty.
        if (type != "0") {
            DebugVar(-1, "CreateControlFromConfig: section %s has the unknown type \"%s\"",
                     section.c_str(), type.c_str());
        }
        return nullptr;
    }
    // An incomplete section still gives a control, with its defaults.
    control->Load(file, section);
    control->AddTo(this);
    return control.release();
}

void CastMemberDialog::SetKeyEquivalentsFromConfig()
{
    for (Control* control : _controls) {
        if (control == nullptr || control->GetKind() != Control::kButton) {
            continue;
        }
        auto* button = static_cast<ControlButton*>(control);
        // A button the dialog refused (no image) has no item and must not unbind a key.
        DialogItem* item = button->GetItem();
        if (item == nullptr) {
            continue;
        }
        if (button->IsEscItem()) {
            SetEscKeyItem(item);
        }
        if (button->IsEnterItem()) {
            SetEnterKeyItem(item);
        }
    }
}

ControlBackground* CastMemberDialog::GetBackgroundControl()
{
    for (Control* control : _controls) {
        if (control != nullptr && control->GetKind() == Control::kBackground) {
            return static_cast<ControlBackground*>(control);
        }
    }
    return nullptr;
}

void CastMemberDialog::DeleteControls()
{
    for (Control* control : _controls) {
        delete control;
    }
    _controls.clear();
}
