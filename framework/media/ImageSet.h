#pragma once

#include "framework/core/Debug.h"
#include "framework/core/Export.h"

#include <vector>

class Image;

// An owning list of images, deleted together with the set. An image stands in at most one set,
// once; null entries are allowed.
class FRAMEWORK_API ImageSet : public Debug
{
public:
    ImageSet();
    ~ImageSet() override;

    ImageSet(const ImageSet&) = delete;
    ImageSet& operator=(const ImageSet&) = delete;

    void AddImage(Image* image);
    bool HasImage(Image* image);
    // Index of the first entry equal to image, -1 when absent.
    int FindImage(Image* image);
    // Removes the first entry equal to image without deleting it.
    void RemoveImage(Image* image);
    // The caller keeps i within 0 .. ImageCount() - 1.
    Image* GetImage(int i);
    int ImageCount();

private:
    std::vector<Image*> _images; // owned
};
