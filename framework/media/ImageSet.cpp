#include "framework/media/ImageSet.h"

#include "framework/media/Image.h"

#include <algorithm>

ImageSet::ImageSet() : Debug("Image Set") {}

ImageSet::~ImageSet()
{
    for (Image* image : _images) {
        delete image;
    }
    _images.clear();
}

void ImageSet::AddImage(Image* image)
{
    _images.push_back(image);
}

bool ImageSet::HasImage(Image* image)
{
    return FindImage(image) >= 0;
}

int ImageSet::FindImage(Image* image)
{
    const auto it = std::find(_images.begin(), _images.end(), image);
    return it == _images.end() ? -1 : static_cast<int>(it - _images.begin());
}

void ImageSet::RemoveImage(Image* image)
{
    const auto it = std::find(_images.begin(), _images.end(), image);
    if (it != _images.end()) {
        _images.erase(it);
    }
}

Image* ImageSet::GetImage(int i)
{
    return _images.at(static_cast<size_t>(i));
}

int ImageSet::ImageCount()
{
    return static_cast<int>(_images.size());
}
