#pragma once

#include "SDL.h"
#include "framework/core/Color.h"
#include "framework/core/Dimension.h"
#include "framework/core/Export.h"
#include "framework/core/Point.h"
#include "framework/core/Rectangle.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/stage/CastMember.h"
#include "framework/stage/CueListener.h"
#include "framework/stage/DialogListener.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class AnimationManager;
class Canvas;
class Cast;
class ConfigFile;
class Control;
class ControlBackground;
class DialogAttributes;
class Font;
class Image;
class Receiver;

// A dialog on the stage: a box painted into a canvas of its own, holding an ordered list of
// items (texts, lines, buttons, check boxes, radio buttons, images, icons, a text input, a list
// box, sliders, clickable texts, text boxes), key equivalents for Enter and Escape, a time limit,
// fades and a drop shadow. Show lays it out, adds the standard buttons (id 1 confirms, id 2
// cancels), attaches it to the stage as its modal (or modeless) dialog and fades it in; a button,
// Enter, Escape or the time limit closes it again.
//
// Reports go first to the dialog's own DialogListener part (derived dialogs override it), then to
// the user listener; every report carries the dialog's id (its sprite id) first. The stage lets go
// of a closing dialog through Detach, which clears the user listener: callers that report after
// closing take the listener first.
//
// Ownership: the dialog owns its items, its controls, its canvas and its standard-button records.
// Fonts, images given to the set-up operations and factories, the attributes and the listener
// stay their owners' (a factory that loads an image from a file owns that image through its
// item). The dialog keeps the animation manager of the stage it was made on.
class FRAMEWORK_API CastMemberDialog : public CastMember, public CueListener, public DialogListener
{
public:
    // Item ids of the standard buttons.
    static constexpr int kOkId = 1;
    static constexpr int kCancelId = 2;

    // On cast (may be null), not yet shown. A listener that is the dialog itself is not kept.
    CastMemberDialog(Cast* cast, int id, DialogAttributes* attributes, DialogListener* listener);
    ~CastMemberDialog() override;

    // --- sprite ---

    int GetClassMemberType() override;
    // A press on the front-most active item that takes clicks; elsewhere the sprite's own press
    // (a drag of the dialog). Refused while rotated, scaled or fading.
    bool MouseDown(int x, int y, int button) override;
    // Ends a press: a slider, a button that closes the dialog, a clickable text or a drag.
    bool MouseUp(int x, int y, int button) override;
    bool MouseDrag(int x, int y) override;
    bool MouseMove(int x, int y, bool inside) override;
    // Only while the dialog is the stage's current dialog: the text input's editing keys and
    // printable characters, then Return (EnterKeyPressed) and Escape (EscKeyPressed).
    bool KeyDown(SDLKey key, SDLMod mod, unsigned short unicode, bool nameChar) override;
    bool KeyUp(SDLKey key, SDLMod mod, unsigned short unicode, bool nameChar) override;
    // Keeps a dragged dialog on the screen; true when it did not have to be moved.
    bool Dragged(Receiver* receiver) override;
    void Paint(Canvas* target) override;
    Rectangle& GetScaledRect() override;
    // Not below -1 (the front of the stage); the stage re-sorts a visible dialog.
    void SetPriority(int p) override;
    void MoveEnded() override;
    // Per frame: the slide after Show, button hover, the caret blink, then the sprite's step.
    void Animate(unsigned int now) override;
    // The time limit and flash script (see Show and MouseDownOutsideOfDialog).
    void DoState(int state) override;
    void SetAlpha(int alpha) override;
    // Ignored while the dialog is closing.
    void FadeIn(int target, unsigned int ms, CueListener* listener) override;
    void FadeOut(int target, unsigned int ms, CueListener* listener) override;
    // Per-pixel hit test against the canvas's colour key; a canvas without one is opaque.
    bool OnPixel(int x, int y) override;
    int GetScaledX() override;
    int GetScaledY() override;
    int GetScaledWidth() override;
    int GetScaledHeight() override;
    SDL_Surface* CreateScaledSurface(float angle, float zoom, bool smooth) override;
    void RefactorDropShadow() override;
    bool IsADialog() override;

    // Ignored while the dialog is closing, like FadeIn and FadeOut.
    void FadeHide(unsigned int ms, CueListener* listener);
    void FadeShow(int target, unsigned int ms, CueListener* listener);
    using CastMember::Show;

    // --- cues and own reports ---

    // The end of the closing fade-out (cue 6 at alpha 0) lets the stage detach the dialog.
    void Cue(CastMember* member, int cue, int value) override;
    // The dialog's own listener part: empty here, for derived dialogs to fill.
    void DialogTimesUp(int dialogId) override;
    void DialogButtonClicked(int dialogId, int itemId, int how) override;
    void DialogItemSet(int dialogId, int itemId, int value, bool state) override;
    void DialogDetached(int dialogId) override;

protected:
    // Dialog descriptions: one control per section, made, loaded and added to the dialog.
    virtual Control* CreateControlFromConfig(ConfigFile* file, const std::string& section);
    // Binds Enter and Escape to the button controls that ask for them.
    virtual void SetKeyEquivalentsFromConfig();

public:
    // Colour-key transparency on a non-null image.
    virtual void SetTransparency(Image* image);
    // Deletes the items, controls, standard-button records and the canvas.
    virtual void Clear();
    virtual void SetListener(DialogListener* listener);
    // Takes the look of the attributes: colours, border, fonts, text shadow depth, back image,
    // button, box, radio and icon images. Null keeps the current look.
    virtual void SetAttributes(DialogAttributes* attributes);
    // The images of the OK (first) and Cancel (second) standard buttons, also given to the
    // standard buttons that exist.
    virtual void SetButtonImages(Image* first, Image* second);
    // Tiled over the canvas by UpdateBackground; not owned.
    virtual void SetBackImage(Image* image);
    // x and y replace the overlay position only when above 0.
    virtual void SetOverlayImage(Image* image, int x, int y);
    virtual Color GetForeColor();
    // The height of the text font; 0 without one.
    virtual int GetFontSize();
    // The first item in list order with that id; null when none.
    virtual DialogItem* GetItemByID(int id);
    // Makes the dialog showable again; false when there is no stage to show it on.
    virtual bool PreShow();
    // buttonsMode: 0 no standard buttons, 2 one OK button bound to Escape, other values OK and
    // Cancel. timeLimitMs above 0: DialogTimesUp and closing once it is up (counted from the
    // script's first check after it, see DoState). x = y = -1 centres the dialog. nested: shown
    // over the stage's current dialog.
    virtual void Show(int buttonsMode, int timeLimitMs, int x, int y, bool nested);
    // False for an empty text or an item without a font.
    virtual bool ValidateText(DialogItem* item);

    // Text items (type 1). Colour and font default to the text colour and text font; mode aligns
    // the text within width (2 centred, 3 right, else left). An empty text becomes " ". Null when
    // the item has no font.
    virtual DialogItem* AddText(const std::string& text, int y, int mode, int width);
    virtual DialogItem* AddText(const std::string& text, int y);
    virtual DialogItem* AddText(const std::string& text, int x, int y, int mode, int width);
    virtual DialogItem* AddText(const std::string& text, int x, int y);
    virtual DialogItem* AddText(const std::string& text, int x, int y, int id, const Color& colour,
                                Font* font);
    virtual DialogItem* AddText(const std::string& text, int x, int y, int id, const Color& colour,
                                Font* font, int mode, int width);
    // Underlined text that reports a release on it as DialogButtonClicked(dialog, id, button).
    virtual DialogItem* AddClickableText(const std::string& text, int x, int y, const Color& colour,
                                         Font* font, int id);
    virtual DialogItem* AddClickableText(const std::string& text, int x, int y, const Color& colour,
                                         Font* font, int justification, int justificationWidth,
                                         int id);
    // spacing: the gap between box and text. The dialog's check-box image wins over image. Null
    // without an image or when the text is refused.
    virtual DialogItem* AddCheckBox(const std::string& text, int x, int y, int id, bool checked,
                                    int spacing, bool immediate, Image* image);
    virtual DialogItem* AddCheckBox(const std::string& text, int x, int y, int id, bool checked,
                                    int spacing, const Color& colour, Font* font, bool immediate,
                                    Image* image);
    // Builds the controls named by the list section's keys; returns the number of keys.
    virtual int AddControlsFromConfig(ConfigFile* file, const std::string& listSection);
    // Radio buttons of a group share the id (group); value is what they report.
    virtual DialogItem* AddRadioButton(const std::string& text, int x, int y, int group, int value,
                                       bool selected, bool immediate);
    virtual DialogItem* AddRadioButton(const std::string& text, int x, int y, int group, int value,
                                       bool selected, const Color& colour, Font* font,
                                       bool immediate, Image* image);
    // The first check box or radio button with that id and value takes the state (also as its
    // committed state); a radio button turned on clears the others of its group.
    virtual void UpdateRadioButton(int id, int value, bool on);
    virtual void UpdateCheckbox(int id, bool on);
    // A line item: kept for layout, not painted. The short form is white with thickness -1.
    virtual DialogItem* AddLine(int x1, int y1, int x2, int y2);
    virtual DialogItem* AddLine(int x1, int y1, int x2, int y2, const Color& colour, int thickness);
    // frame is shown when frames is above 1. Null for a null image.
    virtual DialogItem* AddImage(Image* image, int x, int y, int frames, int frame,
                                 bool transparent);
    // The image is loaded from the file and owned by the item; null when it does not load.
    virtual DialogItem* AddImage(const std::string& file, int x, int y, int frames, int frame,
                                 bool transparent);
    // icon 1..3: the frame of the dialog's icon image, at (10, 10). Null below 1.
    virtual DialogItem* AddIcon(int icon);
    // A four-frame button (normal, held, highlighted, inactive), placed by Show. exitCode 0 for a
    // button that does not close the dialog. Null without an image.
    virtual DialogItem* AddButton(const std::string& file, int x, int y, int id, int exitCode);
    virtual DialogItem* AddButton(Image* image, int x, int y, int id, int exitCode);
    virtual DialogItem* AddCustomButton(const std::string& file, int x, int y, int id, int frames,
                                        int exitCode);
    virtual DialogItem* AddCustomButton(Image* image, int x, int y, int id, int frames,
                                        int exitCode);
    // The dialog's text input, the item that takes typed keys. Null without a font.
    virtual DialogItem* AddTextInput(const std::string& text, int x, int y, int width, int height,
                                     int id, Font* font, const Color& textColour,
                                     const Color& boxColour, int maxChars, bool alphaNumericOnly);
    // The dialog's one list box; its entries are kept by the dialog. Null without a font.
    virtual DialogItem* AddListBox(const std::vector<std::string>& entries, int selected, int x,
                                   int y, int width, int height, int id, Font* font,
                                   const Color& textColour, const Color& boxColour,
                                   const Color& highlightColour);
    // value 0..100; knobSideOffset: the end margin the knob never covers. Reports through
    // SliderSet whenever its value changes.
    virtual DialogItem* AddSlider(Image* left, Image* right, Image* knob, int value,
                                  bool horizontal, int knobSideOffset, int x, int y, int id);
    // The images are loaded and owned by the item; null when one does not load.
    virtual DialogItem* AddSlider(const std::string& left, const std::string& right,
                                  const std::string& knob, int value, bool horizontal,
                                  int knobSideOffset, int x, int y, int id);
    // Text wrapped into size ("@" breaks lines); verticalAlignment 2 centred, 5 bottom, else top.
    // Null for an empty text.
    virtual DialogItem* AddTextBox(const std::string& text, int x, int y, const Color& colour,
                                   Font* font, int justification, Dimension size,
                                   int verticalAlignment, int id);
    virtual ControlBackground* GetBackgroundControl();
    virtual DialogItem* GetListboxItem();
    // The value of the radio button set last, whatever group is asked for.
    virtual int GetRadioSetting(int group);
    // Gives the item its frame count, image, exit code and transparency and appends it to the
    // items and the buttons. Null (nothing added) when either pointer is null.
    virtual DialogItem* DoAddButton(DialogItem* item, Image* image, int exitCode, int frames);
    virtual void SetModeless(bool modeless);
    // Called by the stage for a press outside the modal dialog: closes it through its Escape
    // item when DisposeOnMouseDownOutside was asked for, else makes it flash once.
    virtual void MouseDownOutsideOfDialog();
    // True while the dialog is rotated or scaled.
    virtual bool RefuseMouse();
    // Asked before a click on the OK button (id 1) closes the dialog; derived dialogs refuse.
    virtual bool ValidateCloseDialog();
    // A slider's value changed: DialogItemSet(dialog, itemId, value, false).
    virtual void SliderSet(int itemId, int value);
    // Whether a click on item closes the dialog. OK (id 1) commits and reports every check box
    // and radio button when ValidateCloseDialog allows; Cancel (id 2) restores their states.
    virtual bool ProcessDialogClosing(DialogItem* item, int button);
    // Close through the Enter (Escape) item; true when the dialog closed. Enter respects
    // ProcessDialogClosing, Escape closes whatever it says.
    virtual bool EnterKeyPressed();
    virtual bool EscKeyPressed();
    // Centres the dialog on the screen, moved by the centre offset, kept on the screen where it
    // fits.
    virtual void Center();
    virtual void PinAdjust(int margin, int top, int bottom);
    virtual bool AttachDialog(bool nested);
    // Closes the dialog: after its fade-out when it has one, else at once.
    virtual void DetachDialog();
    // Called by the stage when it lets go of the dialog: hidden, off the stage, DialogDetached
    // reported, user listener cleared.
    virtual void Detach();
    // Removes the first standard button (the OK button of a two-button dialog); the single
    // button of mode 2 sits in the second slot and stays.
    virtual void ChangeToOKButton();
    // Deletes the item; absent: nothing.
    virtual void RemoveElementFromItems(DialogItem* item);
    // Takes the item out of the buttons only; it is not deleted.
    virtual void RemoveElementFromButtons(DialogItem* item);
    virtual DialogAttributes* GetAttributes();
    // Reports the item's change at once: DialogItemSet(dialog, item, value, state).
    virtual void ImmediateAction(DialogItem* item);
    // A new canvas of width x height (the back image's size for 0), replacing the old one.
    virtual Canvas* CreateCanvas(int width, int height);
    virtual void InitCanvas();
    virtual Canvas* GetCanvas();
    virtual void CheckDropShadow();
    virtual void SetMembersDirty();
    // Milliseconds, at most 5000; 0 or less: no fade.
    virtual void SetFadeInTime(int ms);
    virtual void SetFadeOutTime(int ms);
    // The back image, the overlay image and the border, inside the canvas's clip rectangle.
    virtual void UpdateBackground();
    virtual bool IsModeless();
    virtual void SetEnterKeyItem(DialogItem* item);
    virtual void SetEscKeyItem(DialogItem* item);
    // The list box's scroll arrows: painted and clickable only while their arrow is shown.
    virtual void SetUpArrowItem(DialogItem* item);
    virtual void SetDownArrowItem(DialogItem* item);
    // Shows both arrows when the list box can scroll either way, else none.
    virtual void CheckArrows();
    // Null repaints the whole dialog, else that area of the canvas (dialog coordinates).
    virtual void RepaintAll(Rectangle* area);
    virtual void SliderStart();
    virtual void SliderStop();
    // Pulls the dialog back inside the screen; true when it moved.
    virtual bool ForceOnScreen();

    // --- set-up ---

    // transparent: the canvas takes the colour key (254, 0, 254).
    void InitBackground(Image* image, bool transparent);
    void InitOverlay(Image* image, const Point& position);
    // A standard-button record for the image dialogs: image at position with that id; exit
    // codes 1 and 2 also bind Enter and Escape.
    void InitButton(Image* image, const Point& position, int id, int exitCode);
    // Fade times (see SetFadeInTime) and the alpha that the fade-in of Show reaches.
    void InitFade(int fadeIn, int fadeOut, int alpha);
    // The outer and inner border colours and the border width, clamped to 0..10.
    void InitBorders(const Color& outer, const Color& inner, int width);
    void InitCheckBox(Image* image);
    void InitRadio(Image* image);
    void InitIcon(Image* image);
    // The default font and colours of new items; second is the shadow colour.
    void InitTextFont(Font* font, const Color& first, int justification, const Color& second);
    void InitTitleFont(Font* font, const Color& colour, int justification, const Color& second);
    // A glide by offset over ms (at least 1), started on the first frame after Show.
    void InitMoveToOnShow(const Point& offset, int ms);
    // A press outside the dialog closes it through its Escape item instead of flashing it.
    void DisposeOnMouseDownOutside();
    // The depth of the shadow copies of new text items (0 none, 1, 2).
    void SetTextShadowDepth(int depth) { _textShadowDepth = depth; }
    // Paints the background and marks every item for painting.
    void UpdateAll();
    // Added to the centre of every dialog that Center places.
    static void SetCenterOffset(int x, int y);

    // --- state ---

    struct ButtonRecord
    {
        Image* image = nullptr; // not owned
        Point position;
        int id = 0;
        int exitCode = 0;
    };

    const std::vector<std::unique_ptr<DialogItem>>& GetItems() const { return _items; }
    const std::vector<DialogItem*>& GetButtons() const { return _buttons; }
    const std::vector<ButtonRecord>& GetButtonRecords() const { return _buttonRecords; }
    DialogListener* GetListener() const { return _listener; }
    DialogItem* GetEnterKeyItem() const { return _enterItem; }
    DialogItem* GetEscKeyItem() const { return _escItem; }
    DialogItem* GetTextInputItem() const { return _textInputItem; }
    DialogItem* GetPressedItem() const { return _pressedItem; }
    DialogItem* GetFirstStandardButton() const { return _firstStandardButton; }
    DialogItem* GetSecondStandardButton() const { return _secondStandardButton; }
    bool IsUpArrowShown() const { return _upArrowShown; }
    bool IsDownArrowShown() const { return _downArrowShown; }
    bool IsShown() const { return _shown; }
    bool IsClosing() const { return _closing; }
    int GetTimeLimit() const { return _timeLimit; }
    int GetButtonsMode() const { return _buttonsMode; }
    int GetFadeInTime() const { return _fadeInTime; }
    int GetFadeOutTime() const { return _fadeOutTime; }
    int GetBorderWidth() const { return _borderWidth; }
    int GetTextShadowDepth() const { return _textShadowDepth; }
    Image* GetBackImage() const { return _backImage; }

protected:
    // What items use to reach their dialog; for derived dialogs that make items themselves.
    DialogItem::Owner* GetItemOwner() { return &_itemOwner; }
    // Appends an item that a derived dialog made (the dialog owns it from now on).
    DialogItem* AppendItem(DialogItem* item);
    // Text, font and colour of a new item with the dialog's text shadow depth; the font is
    // remembered for layout and ValidateText.
    void SetItemText(DialogItem* item, const std::string& text, Font* font, const Color& colour);
    // The stage the dialog is on, else the current stage of its animation manager.
    Cast* Stage();
    // For derived dialogs that show themselves in their own way.
    AnimationManager* GetManager() const { return _manager; }
    void SetTimeLimit(int ms) { _timeLimit = ms; }
    void SetShown(bool shown) { _shown = shown; }
    void SetJustShown(bool justShown) { _justShown = justShown; }
    int GetFadeInAlpha() const { return _fadeInAlpha; }
    // For derived dialogs that take presses and paint their background in their own way.
    void SetPressedItem(DialogItem* item) { _pressedItem = item; }
    Image* GetOverlayImage() const { return _overlayImage; }
    const Point& GetOverlayPosition() const { return _overlayPosition; }
    // Empty entries stand for list keys that made no control.
    const std::vector<Control*>& GetControls() const { return _controls; }

private:
    // The dialog as its items see it.
    class ItemOwner final : public DialogItem::Owner
    {
    public:
        explicit ItemOwner(CastMemberDialog& dialog) : _dialog(dialog) {}
        ~ItemOwner() override;
        Rectangle GetDialogRect() override;
        Color GetSecondColor() override;
        std::vector<std::string>& GetListBoxEntries() override;
        void SetRadioSetting(int value) override;
        bool IsArrowHidden(const DialogItem* item) override;
        void RepaintAll(Rectangle* area) override;
        void UpdateBackground() override;
        void SliderSet(int itemId, int value) override;
        void ImmediateAction(DialogItem* item) override;
        void CheckArrows() override;

    private:
        CastMemberDialog& _dialog;
    };

    // What layout needs to know of an item that the item does not tell.
    struct ItemNote
    {
        Font* font = nullptr; // not owned
        bool line = false;
        int lineWidth = 0;
        int lineThickness = 0;
    };

    void Init();
    // Deletes a refused item made by a factory; returns null for the factory to return.
    DialogItem* Refuse(DialogItem* item);
    // Clears every slot that points at item (before it is deleted).
    void ForgetItem(const DialogItem* item);
    // Deletes the controls; defined with the control kinds.
    void DeleteControls();
    // Nulls every pointer into _items; call wherever the items go.
    void ForgetItemRoles();
    // The size that Show's layout gives the item; adds the button row on the first button.
    Dimension LayoutExtent(DialogItem* item, int& height);
    void AddStandardButtons();
    void RemoveStandardButtons();
    void PlaceButtons(int& width, int height);
    void ReportButtonClicked(DialogListener* user, int itemId, int ownHow, int userHow);
    bool CloseByKey(DialogItem* item, bool mustValidate);
    Image* LoadImageFile(const std::string& file);

    ItemOwner _itemOwner{*this};
    std::unordered_map<const DialogItem*, ItemNote> _itemNotes;

    DialogListener* _listener = nullptr;     // not owned
    DialogAttributes* _attributes = nullptr; // not owned
    AnimationManager* _manager = nullptr;    // not owned; the stage's at construction
    std::unique_ptr<Canvas> _canvas;
    std::vector<std::unique_ptr<DialogItem>> _items; // painting order; hit-tested from the end
    std::vector<DialogItem*> _buttons;               // not owned: the items made by DoAddButton
    std::vector<Control*> _controls;                 // owned; deleted by DeleteControls
    std::vector<ButtonRecord> _buttonRecords;
    std::vector<std::string> _listBoxEntries;

    // Items that these point at belong to _items.
    DialogItem* _firstStandardButton = nullptr;
    DialogItem* _secondStandardButton = nullptr;
    DialogItem* _enterItem = nullptr;
    DialogItem* _escItem = nullptr;
    DialogItem* _upArrowItem = nullptr;
    DialogItem* _downArrowItem = nullptr;
    DialogItem* _listBoxItem = nullptr;
    DialogItem* _textInputItem = nullptr;
    DialogItem* _pressedItem = nullptr;
    bool _upArrowShown = false;
    bool _downArrowShown = false;
    int _radioSetting = 0;

    // Images are not owned.
    Image* _backImage = nullptr;
    Image* _overlayImage = nullptr;
    Point _overlayPosition;
    Image* _firstButtonImage = nullptr;
    Image* _secondButtonImage = nullptr;
    Image* _checkBoxImage = nullptr;
    Image* _radioImage = nullptr;
    Image* _iconImage = nullptr;

    Color _textColor{0, 0, 0, 255};
    Color _secondTextColor{0, 0, 0, 255};
    Color _outerBorderColor{0, 0, 0, 255};
    Color _innerBorderColor{0, 0, 0, 255};
    int _borderWidth = 1;
    Font* _textFont = nullptr; // not owned
    Color _textFontColor{0, 0, 0, 255};
    int _textJustification = 0;
    Color _secondTextFontColor{0, 0, 0, 255};
    Font* _titleFont = nullptr; // not owned
    Color _titleColor{0, 0, 0, 255};
    int _titleJustification = 0;
    Color _secondTitleColor{0, 0, 0, 255};
    int _textShadowDepth = 0;

    int _buttonsMode = 0;
    int _timeLimit = 0;
    bool _shown = false;
    bool _hasButtonRow = false;
    bool _modeless = false;
    bool _modelessAtShow = false;
    bool _closing = false;
    int _fadeInAlpha = 255;
    int _fadeInTime = 0;
    int _fadeOutTime = 1;
    int _workingFadeOutTime = 1;
    int _flashLowAlpha = 0;
    int _flashHighAlpha = 255;
    Point _moveOnShowOffset;
    int _moveOnShowTime = 0;
    bool _justShown = false;
    bool _disposeOnMouseDownOutside = false;
    bool _repaintAll = false;
    bool _dropShadowOn = true;
    bool _caret = true;
    unsigned int _caretTime = 0;
};
