#pragma once
// The sixteen fields of the sample page (0 is the list, which the page
// draws itself) and its two read-outs. Each control shows a value of the
// current sample; after a key or a click the page compares the control's
// state with what it showed and stores the value only when it changed, so
// an untouched field never rewrites the sample. GUI thread only.

#include "gui/geometry.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class TesselButtonGroup;
class TesselControl;
class TesselDropList;
class TesselSample;
class TesselSlider;
class TesselTextBox;
class TesselUI;
namespace VSTGUI {
class CDrawContext;
}

class TesselSampleFields {
public:
    static constexpr int32_t kCount = 16;
    enum Field : int32_t {
        kList = 0,
        kFileName = 1,
        kSpeed = 2,
        kLoopType = 3,
        kLoopBegin = 4,
        kLoopEnd = 5,
        kSustainType = 6,
        kSustainBegin = 7,
        kSustainEnd = 8,
        kGlobalVolume = 9,
        kDefaultVolume = 10,
        kPan = 11,
        kVibratoWave = 12,
        kVibratoSpeed = 13,
        kVibratoDepth = 14,
        kVibratoRate = 15,
    };
    static constexpr int32_t kFileNameLength = 12;
    static constexpr int32_t kSpeedDigits = 6;

    // The drop lists go to the page, which owns them from then on.
    explicit TesselSampleFields(TesselUI& page);
    ~TesselSampleFields();
    TesselSampleFields(const TesselSampleFields&) = delete;
    TesselSampleFields& operator=(const TesselSampleFields&) = delete;

    // Null for the list and for numbers outside 1..15.
    TesselControl* control(int32_t field) const;
    // Every control takes the sample's value; the loop boxes the digits its
    // length needs.
    void show(const TesselSample& sample);
    // What a field's control holds now, to tell whether input changed it.
    std::string state(int32_t field) const;
    // The control's value into the sample; false when the sample had it.
    bool store(int32_t field, TesselSample& sample) const;
    // Digits typed into a slider become its value; true when there were any.
    bool commitTyping(int32_t field);
    // The first field whose control takes the point; 0 for none.
    int32_t fieldAt(const CPoint& point) const;

    static bool isLoopField(int32_t field);
    // Frames per zoomed column while a loop field has the focus: 10 to the
    // power of the digits right of its caret.
    int64_t zoomStep(int32_t field) const;

    // Controls and read-outs showing the sample, the focused one lit.
    void draw(VSTGUI::CDrawContext* context, const TesselSample& sample, int32_t focusedField);

private:
    TesselTextBox* numberBox(int32_t field) const;

    std::unique_ptr<TesselTextBox> fileName_;
    std::unique_ptr<TesselTextBox> format_;
    std::unique_ptr<TesselTextBox> length_;
    std::array<std::unique_ptr<TesselTextBox>, kCount> numbers_;
    std::array<std::unique_ptr<TesselSlider>, kCount> sliders_;
    std::unique_ptr<TesselButtonGroup> vibratoWave_;
    TesselDropList* loopType_ = nullptr;
    TesselDropList* sustainType_ = nullptr;
    std::array<TesselControl*, kCount> table_{};
};
