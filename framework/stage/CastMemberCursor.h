#pragma once

#include "framework/core/Export.h"
#include "framework/core/Point.h"
#include "framework/stage/CastMemberImage.h"

class Cast;
class Image;

// The software mouse pointer: an image sprite that the stage keeps apart from its members and
// paints after them, always at priority -99, whose hot spot sits on the pointer position. It
// shows one of three kinds given at construction (1 arrow, 2 hand, 3 wait) or a custom kind 4;
// each kind has a picture, a hot spot and a loop value, the pause between the picture's cycles
// when it has several frames. It takes no input and is never scaled through SetScale.
//
// Ownership: the pictures of kinds 1 to 3 belong to the cursor and are deleted with it; the
// custom picture stays the caller's. The sprite shows its own copy of the current picture.
class FRAMEWORK_API CastMemberCursor final : public CastMemberImage
{
public:
    static constexpr int kPriority = -99;

    CastMemberCursor(Cast* cast, Image* image1, Point hotSpot1, Image* image2, Point hotSpot2,
                     Image* image3, Point hotSpot3, int loopValue1, int loopValue2, int loopValue3);
    ~CastMemberCursor() override;

    int GetClassMemberType() override;
    // (x, y) is the pointer position; the sprite goes to it minus the hot spot.
    void Move(int x, int y, bool notify) override;
    // Nothing: the stage repaints the cursor's area every frame itself.
    void SetDirtyRect() override;
    // Keeps -99 whatever is asked.
    void SetPriority(int p) override;
    // The image sprite's step, then the hot spot follows the scale; repaints every frame.
    void Animate(unsigned int now) override;
    // Colour-key transparency on every picture the cursor has.
    void UseTransparentBackground() override;
    // Nothing: the cursor is never scaled this way.
    void SetScale(float scale) override;
    int GetScaledX() override;
    int GetScaledY() override;

    // Kinds 2, 3 and 4 (4 only once a custom picture is set); anything else, or a kind without a
    // picture, shows kind 1. Starts the picture's frame loop.
    virtual void SetCursor(int kind);
    virtual int GetCursor();
    // Picture (not owned), hot spot and loop value of kind 4; SetCursor(4) shows it.
    virtual void InitCustomCursor(Image* image, Point hotSpot, int loopValue);
    // The hot spot in use becomes p times the sprite's scale.
    virtual void SetOriginToScale(Point p);

    // The hot spot in use, already scaled.
    Point GetHotSpot() const { return _hotSpot; }

private:
    void Init();
    // Priority -99 and re-sorted on the stage, where it goes to the cursor slot.
    void KeepPriority();
    Point KindHotSpot() const;

    int _kind = 1;
    Point _hotSpot;
    Image* _image1 = nullptr;      // owned
    Image* _image2 = nullptr;      // owned
    Image* _image3 = nullptr;      // owned
    Image* _customImage = nullptr; // not owned
    Point _hotSpot1;
    Point _hotSpot2;
    Point _hotSpot3;
    Point _customHotSpot;
    int _loopValue1 = 0;
    int _loopValue2 = 0;
    int _loopValue3 = 0;
    int _customLoopValue = 0;
};
