#include "framework/dialogs/DialogAttributes.h"

#include "framework/media/Image.h"

DialogAttributes::DialogAttributes(Font* textFont, Font* titleFont, SDL_PixelFormat* format)
    : Debug("Dialog Attributes"), _textFont(textFont), _titleFont(titleFont),
      _pixelFormat(format), _colors{Color(255, 255, 255, 255), Color(0, 0, 0, 255),
                                    Color(255, 255, 255, 255), Color(0, 0, 0, 255),
                                    Color(0, 0, 0, 255)}
{}

DialogAttributes::~DialogAttributes()
{
    DestroyImages();
}

void DialogAttributes::Replace(Slot slot, Image* image, bool owned)
{
    if (_owned[slot] && _images[slot] != image) {
        delete _images[slot];
    }
    _images[slot] = image;
    _owned[slot] = owned && image != nullptr;
}

void DialogAttributes::DestroyImages()
{
    for (int slot = 0; slot < kSlotCount; ++slot) {
        Replace(static_cast<Slot>(slot), nullptr, false);
    }
}

void DialogAttributes::InitImages(Image* back, Image* firstButton, Image* secondButton,
                                  Image* radio, Image* checkBox, Image* icon)
{
    DestroyImages();
    Replace(kBack, back, false);
    Replace(kFirstButton, firstButton, false);
    Replace(kSecondButton, secondButton, false);
    Replace(kRadio, radio, false);
    Replace(kCheckBox, checkBox, false);
    Replace(kIcon, icon, false);
}

void DialogAttributes::InitImages(const std::string& back, const std::string& firstButton,
                                  const std::string& secondButton, const std::string& radio,
                                  const std::string& checkBox, const std::string& icon)
{
    DestroyImages();
    Replace(kBack, NewImage(back), true);
    Replace(kFirstButton, NewImage(firstButton), true);
    Replace(kSecondButton, NewImage(secondButton), true);
    Replace(kRadio, NewImage(radio), true);
    Replace(kCheckBox, NewImage(checkBox), true);
    Replace(kIcon, NewImage(icon), true);
}

void DialogAttributes::InitBackImage(Image* back)
{
    Replace(kBack, back, false);
}

void DialogAttributes::InitBackImage(const std::string& back)
{
    Replace(kBack, NewImage(back), true);
}

void DialogAttributes::InitColors(const Color& first, const Color& second, const Color& third,
                                  const Color& fourth, const Color& fifth)
{
    _colors = {first, second, third, fourth, fifth};
}

void DialogAttributes::InitOtherAttributes(int borderWidth, int textShadowDepth)
{
    _borderWidth = borderWidth;
    _textShadowDepth = textShadowDepth;
}

Image* DialogAttributes::NewImage(const std::string& file)
{
    if (file.empty()) {
        return nullptr;
    }
    return new Image(file, _pixelFormat);
}
