#pragma once

#include "framework/core/Export.h"
#include "framework/core/Point.h"
#include "framework/dialogs/ConfigSection.h"

#include <string>

class CastMemberDialog;
class ConfigFile;
class DialogItem;
class Font;
class Image;

// One element of a dialog description: a section of a configuration file that the control
// reads (Load) and then turns into an item of a dialog (AddTo). The dialog's layout then asks it
// for its size and moves it.
//
// Every key is read with the field's current value as default and with the file's parent asked
// for keys the section lacks, so a description only names what differs from its parent.
//
// Ownership: a control owns the images and fonts it loaded; its item belongs to the dialog. The
// control itself belongs to the dialog that built it from a description, or to the object that
// holds it as a member.
class FRAMEWORK_API Control : public ConfigSection
{
public:
    // Kind codes; the dialog finds its background control by kBackground.
    static constexpr int kControl = 0;
    static constexpr int kAnimation = 1;
    static constexpr int kBackground = 2;
    static constexpr int kButton = 3;
    static constexpr int kCheckBox = 4;
    static constexpr int kInput = 5;
    static constexpr int kLabel = 6;
    static constexpr int kRadio = 7;
    static constexpr int kRadioSet = 8;
    static constexpr int kSlider = 9;
    static constexpr int kTextBox = 10;

    Control();
    explicit Control(int kind);

    // The keys every kind shares: "pos", "id", "pin", "nomargins" (on only when exactly 1) and
    // "visible". Always true.
    bool Load(ConfigFile* file, const std::string& section) override;
    ~Control() override;

    // Creates the control's item (or items) in the dialog and keeps it. When the dialog refuses
    // the item (no image, no font) the refusal is logged and the control keeps no item.
    virtual void AddTo(CastMemberDialog* dialog) = 0;
    // The size the dialog's layout gives the control; 0 here.
    virtual int GetH();
    virtual int GetW();
    // Keeps the item (may be null: refused) and hands it the pin, the margins flag, the
    // visibility and the enabled flag.
    virtual void SetItem(DialogItem* item);
    // Moves the item; nothing without one.
    virtual void Move(int x, int y);

    // The item made by AddTo; null before, and when the dialog refused it.
    DialogItem* GetItem() const { return _item; }
    int GetKind() const { return _kind; }
    int GetID() const { return _id; }
    int GetPin() const { return _pin; }
    bool GetNoMargins() const { return _noMargins; }
    const Point& GetPosition() const { return _position; }
    bool GetVisible() const { return _visible != 0; }
    bool IsEnabled() const { return _enabled; }
    // The section this control was last loaded from.
    const std::string& GetSection() const { return _section; }

protected:
    // The image that the file names under key (a sheet of cols x rows frames when cols > 1).
    // A new image replaces current, which is deleted; without one (key missing or empty, or the
    // file does not load: logged) current is returned unchanged.
    virtual Image* NewImage(ConfigFile* file, Image* current, const std::string& section,
                            const std::string& key, bool perPixel, int cols, int rows);
    // The same rule for fonts: a font that cannot be opened is logged and current is kept.
    virtual Font* NewFont(ConfigFile* file, Font* current, const std::string& section,
                          const std::string& fileKey, const std::string& sizeKey,
                          const std::string& styleKey);

    // The size of one frame of an image's sheet (an image may show one frame of its sheet or the
    // whole sheet); 0 without an image or without pixels.
    static int FrameWidth(Image* image);
    static int FrameHeight(Image* image);

    // Logs that the dialog refused this control's item, naming what was missing.
    void ReportRefused(CastMemberDialog* dialog, const char* what);

    bool _enabled = true;
    int _id = 0;
    int _pin = 0;
    bool _noMargins = false;
    Point _position{-1, -1};
    int _visible = 1;
    int _kind = kControl;
    DialogItem* _item = nullptr; // not owned: the dialog owns its items
    std::string _section;
};
