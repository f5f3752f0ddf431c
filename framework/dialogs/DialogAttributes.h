#pragma once

#include "SDL.h"
#include "framework/core/Color.h"
#include "framework/core/Debug.h"
#include "framework/core/Export.h"

#include <array>
#include <string>

class Font;
class Image;

// A shared look for dialogs built in code: two fonts, the pixel format its images are loaded in,
// six images, five colours, a border width and a text shadow depth. A dialog copies what it
// needs when the attributes are set (CastMemberDialog::SetAttributes); dialogs read from
// descriptions take their look from there instead.
//
// Ownership is kept per image slot: an image the attributes loaded by name is theirs and is
// deleted when its slot is replaced, by DestroyImages and by the destructor; an image handed in
// stays the caller's. The fonts and the pixel format are never owned.
class FRAMEWORK_API DialogAttributes : public Debug
{
public:
    // The image slots, in the order of InitImages.
    enum Slot { kBack = 0, kFirstButton, kSecondButton, kRadio, kCheckBox, kIcon, kSlotCount };

    // format: what NewImage loads images in (null: the default pixel format). Colours white,
    // black, white, black, black; border width 1; text shadow depth 0; no images.
    DialogAttributes(Font* textFont, Font* titleFont, SDL_PixelFormat* format);
    ~DialogAttributes() override;

    // Deletes the images the attributes own and forgets all six.
    virtual void DestroyImages();
    // The caller's images (any may be null); the images owned so far are deleted first.
    virtual void InitImages(Image* back, Image* firstButton, Image* secondButton, Image* radio,
                            Image* checkBox, Image* icon);
    // Loads the six files (an empty name leaves its slot null); the images owned so far are
    // deleted first.
    virtual void InitImages(const std::string& back, const std::string& firstButton,
                            const std::string& secondButton, const std::string& radio,
                            const std::string& checkBox, const std::string& icon);
    // Replaces the back image alone; an owned back image is deleted.
    virtual void InitBackImage(Image* back);
    virtual void InitBackImage(const std::string& back);
    // Colours 1 to 5: text colour, second text colour, outer and inner border colour, and a
    // fifth colour that dialogs do not use.
    virtual void InitColors(const Color& first, const Color& second, const Color& third,
                            const Color& fourth, const Color& fifth);
    virtual void InitOtherAttributes(int borderWidth, int textShadowDepth);
    // A new image of the file in the attributes' pixel format (the caller owns it); null for an
    // empty name.
    virtual Image* NewImage(const std::string& file);

    Font* GetTextFont() const { return _textFont; }
    Font* GetTitleFont() const { return _titleFont; }
    SDL_PixelFormat* GetPixelFormat() const { return _pixelFormat; }
    Image* GetImage(Slot slot) const { return _images[slot]; }
    Image* GetBackImage() const { return _images[kBack]; }
    Image* GetFirstButtonImage() const { return _images[kFirstButton]; }
    Image* GetSecondButtonImage() const { return _images[kSecondButton]; }
    Image* GetRadioImage() const { return _images[kRadio]; }
    Image* GetCheckBoxImage() const { return _images[kCheckBox]; }
    Image* GetIconImage() const { return _images[kIcon]; }
    bool IsImageOwned(Slot slot) const { return _owned[slot]; }
    const Color& GetTextColor() const { return _colors[0]; }
    const Color& GetSecondTextColor() const { return _colors[1]; }
    const Color& GetOuterBorderColor() const { return _colors[2]; }
    const Color& GetInnerBorderColor() const { return _colors[3]; }
    const Color& GetFifthColor() const { return _colors[4]; }
    int GetBorderWidth() const { return _borderWidth; }
    int GetTextShadowDepth() const { return _textShadowDepth; }

private:
    // Puts image into the slot, deleting what the slot owned.
    void Replace(Slot slot, Image* image, bool owned);

    Font* _textFont = nullptr;                // not owned
    Font* _titleFont = nullptr;               // not owned
    SDL_PixelFormat* _pixelFormat = nullptr;  // not owned
    std::array<Image*, kSlotCount> _images{}; // owned where _owned says so
    std::array<bool, kSlotCount> _owned{};
    std::array<Color, 5> _colors;
    int _borderWidth = 1;
    int _textShadowDepth = 0;
};
