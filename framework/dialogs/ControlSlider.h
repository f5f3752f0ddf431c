#pragma once

#include "framework/core/Export.h"
#include "framework/dialogs/Control.h"

// A slider of a dialog description ("type" "slider"): "leftimage" (the track, whose size is the
// control's), "rightimage" (the track beyond the knob), "knobimage", "knoboffset" (the knob's
// offset across the track), "knobleftrightoffset" (the track's ends that the knob never
// covers) and "orientation" (not 0: horizontal; 0, the default: vertical).
class FRAMEWORK_API ControlSlider : public Control
{
public:
    static constexpr int kStartValue = 50;

    ControlSlider();

    // The common keys and the slider's own. True when there is a track image.
    bool Load(ConfigFile* file, const std::string& section) override;
    ~ControlSlider() override;

    // With the control's id, starting at 50.
    void AddTo(CastMemberDialog* dialog) override;
    // The track image's size; 0 without one.
    int GetH() override;
    int GetW() override;

    // Stores id and adds the slider at value (0..100). Without a track image nothing is added.
    virtual void AddTo(CastMemberDialog* dialog, int id, int value);

    Image* GetLeftImage() const { return _leftImage; }
    Image* GetRightImage() const { return _rightImage; }
    Image* GetKnobImage() const { return _knobImage; }
    int GetKnobOffset() const { return _knobOffset; }
    int GetKnobSideOffset() const { return _knobSideOffset; }
    bool IsHorizontal() const { return _orientation; }

private:
    Image* _leftImage = nullptr;  // owned
    Image* _rightImage = nullptr; // owned
    Image* _knobImage = nullptr;  // owned
    int _knobOffset = 0;
    int _knobSideOffset = 0;
    bool _orientation = false;
};
