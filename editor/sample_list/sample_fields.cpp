#include "editor/sample_list/sample_fields.h"

#include "editor/sample_list/sample_texts.h"
#include "gui/bitmap_text.h"
#include "gui/controls/button_group.h"
#include "gui/controls/control_fonts.h"
#include "gui/controls/control_skin.h"
#include "gui/lists/drop_list.h"
#include "gui/controls/slider.h"
#include "pagekit/tessel_ui.h"
#include "gui/controls/text_box.h"
#include "model/sample/sample.h"
#include "resources/sample_page_layout.h"

#include <algorithm>
#include <climits>

namespace {

using namespace resources::sample_page;

constexpr int32_t kCell = 8;
constexpr int32_t kLoopBoxWidth = (TesselTextBox::kMaxDigits + 1) * kCell + 4;
constexpr int32_t kDropListWidth = 84;

// Column one's lines, by field: the read-outs sit on lines 1 and 2.
constexpr int32_t kLineOfField[TesselSampleFields::kCount] = {-1, 0, 3, 4, 5, 6, 7, 8, 9, -1, -1, -1, -1, -1, -1, -1};
constexpr int32_t kFormatLine = 1;
constexpr int32_t kLengthLine = 2;
// Column two's lines, by field 9..15.
constexpr int32_t kSliderLine[7] = {0, 1, 2, 3, 4, 5, 6};

struct SliderSpec {
    int32_t field;
    int32_t minimum;
    int32_t maximum;
    int32_t start;
    int32_t digits;
};
constexpr SliderSpec kSliders[] = {
    {TesselSampleFields::kGlobalVolume, 0, 64, 0, 2},  {TesselSampleFields::kDefaultVolume, 0, 64, 0, 2},
    {TesselSampleFields::kPan, -1, 64, 32, 2},         {TesselSampleFields::kVibratoSpeed, 0, 64, 0, 2},
    {TesselSampleFields::kVibratoDepth, 0, 32, 0, 2},  {TesselSampleFields::kVibratoRate, 0, 255, 0, 3},
};
constexpr int32_t kVibratoSkins[4] = {resources::kVibratoSine, resources::kVibratoRampDown, resources::kVibratoSquare,
                                      resources::kVibratoRandom};

CRect line(int32_t x, int32_t y, int32_t width)
{
    return CRect(x, y, x + width, y + kLineHeight);
}

int32_t columnOneY(int32_t lineIndex)
{
    return kColumnOne[lineIndex].y;
}

int32_t boxWidth(int32_t characters)
{
    return (characters + 1) * kCell + 4;
}

TesselDropList* makeLoopList(TesselUI& page, int32_t y)
{
    auto* list = new TesselDropList(line(kFieldX, y, kDropListWidth), nullptr, "Off");
    for (const char* entry : {"Off", "Forwards", "Ping Pong"})
        list->addEntry(entry);
    list->setValue(0.0f);
    page.adoptDropList(list);
    return list;
}

// The value a field holds in the sample; the file name has its own path.
int32_t valueOf(int32_t field, const TesselSample& s)
{
    switch (field) {
    case TesselSampleFields::kSpeed: return s.speed;
    case TesselSampleFields::kLoopType: return s.loop.type;
    case TesselSampleFields::kLoopBegin: return s.loop.begin;
    case TesselSampleFields::kLoopEnd: return s.loop.end;
    case TesselSampleFields::kSustainType: return s.sustain.type;
    case TesselSampleFields::kSustainBegin: return s.sustain.begin;
    case TesselSampleFields::kSustainEnd: return s.sustain.end;
    case TesselSampleFields::kGlobalVolume: return s.globalVolume;
    case TesselSampleFields::kDefaultVolume: return s.defaultVolume;
    case TesselSampleFields::kPan: return s.defaultPan;
    case TesselSampleFields::kVibratoWave: return s.vibrato.waveform;
    case TesselSampleFields::kVibratoSpeed: return s.vibrato.speed;
    case TesselSampleFields::kVibratoDepth: return s.vibrato.depth;
    case TesselSampleFields::kVibratoRate: return s.vibrato.rate;
    default: return 0;
    }
}

void setValueOf(int32_t field, TesselSample& s, int32_t v)
{
    switch (field) {
    case TesselSampleFields::kSpeed: s.speed = v; break;
    case TesselSampleFields::kLoopType: s.loop.type = std::clamp(v, 0, 2); break;
    case TesselSampleFields::kLoopBegin: s.loop.setBegin(v); break;
    case TesselSampleFields::kLoopEnd: s.loop.setEnd(v); break;
    case TesselSampleFields::kSustainType: s.sustain.type = std::clamp(v, 0, 2); break;
    case TesselSampleFields::kSustainBegin: s.sustain.setBegin(v); break;
    case TesselSampleFields::kSustainEnd: s.sustain.setEnd(v); break;
    case TesselSampleFields::kGlobalVolume: s.globalVolume = std::clamp(v, 0, 64); break;
    case TesselSampleFields::kDefaultVolume: s.defaultVolume = std::clamp(v, 0, 64); break;
    case TesselSampleFields::kPan: s.defaultPan = std::clamp(v, -1, 64); break;
    case TesselSampleFields::kVibratoWave: s.vibrato.waveform = std::clamp(v, 0, 3); break;
    case TesselSampleFields::kVibratoSpeed: s.vibrato.speed = std::clamp(v, 0, 64); break;
    case TesselSampleFields::kVibratoDepth: s.vibrato.depth = std::clamp(v, 0, 32); break;
    case TesselSampleFields::kVibratoRate: s.vibrato.rate = std::clamp(v, 0, 255); break;
    default: break;
    }
}

// Within what the box's digits hold, so that moving its caret changes nothing.
void showNumber(TesselTextBox& box, int32_t v)
{
    int32_t largest = 1;
    for (int32_t i = 0; i < box.getMaxLength(); ++i)
        largest = largest > INT32_MAX / 10 ? INT32_MAX : largest * 10;
    box.value = std::clamp(v, 0, largest - 1);
    box.name = box.numberText(box.value);
}

} // namespace

TesselSampleFields::TesselSampleFields(TesselUI& page)
{
    fileName_ = std::make_unique<TesselTextBox>(line(kFieldX, columnOneY(0), boxWidth(kFileNameLength)),
                                                kFileNameLength, "", false);
    for (auto* readout : {&format_, &length_}) {
        const int32_t y = columnOneY(readout == &format_ ? kFormatLine : kLengthLine);
        *readout = std::make_unique<TesselTextBox>(line(kFieldX, y, boxWidth(kFileNameLength)), kFileNameLength,
                                                   "", false);
        (*readout)->editable = false;
    }
    table_[kFileName] = fileName_.get();
    numbers_[kSpeed] =
        std::make_unique<TesselTextBox>(line(kFieldX, columnOneY(kLineOfField[kSpeed]), boxWidth(kSpeedDigits)),
                                        kSpeedDigits, "000000", true);
    for (int32_t field : {kLoopBegin, kLoopEnd, kSustainBegin, kSustainEnd})
        numbers_[static_cast<size_t>(field)] = std::make_unique<TesselTextBox>(
            line(kFieldX, columnOneY(kLineOfField[field]), kLoopBoxWidth), 6, "000000", true);
    for (int32_t field : {kSpeed, kLoopBegin, kLoopEnd, kSustainBegin, kSustainEnd})
        table_[static_cast<size_t>(field)] = numbers_[static_cast<size_t>(field)].get();

    loopType_ = makeLoopList(page, columnOneY(kLineOfField[kLoopType]));
    sustainType_ = makeLoopList(page, columnOneY(kLineOfField[kSustainType]));
    table_[kLoopType] = loopType_;
    table_[kSustainType] = sustainType_;

    for (const SliderSpec& spec : kSliders) {
        const int32_t y = kColumnTwo[kSliderLine[spec.field - kGlobalVolume]].y;
        auto slider = std::make_unique<TesselSlider>(line(kSliderX, y, kSliderRight - kSliderX), spec.minimum,
                                                     spec.maximum, spec.start, spec.digits);
        slider->setDefaultValue(spec.start);
        table_[static_cast<size_t>(spec.field)] = slider.get();
        sliders_[static_cast<size_t>(spec.field)] = std::move(slider);
    }

    vibratoWave_ = std::make_unique<TesselButtonGroup>(kVibratoX, kVibratoY, page.getBackground(), 0);
    for (int32_t i = 0; i < 4; ++i) {
        const resources::SkinPlace& place = kVibratoButtons[i];
        vibratoWave_->addButton(place.left, place.top, place.right, place.bottom, kVibratoSkins[i],
                                control_skin::kButtonFace, control_skin::kButtonFrame);
    }
    table_[kVibratoWave] = vibratoWave_.get();
}

TesselSampleFields::~TesselSampleFields() = default;

TesselControl* TesselSampleFields::control(int32_t field) const
{
    return field > kList && field < kCount ? table_[static_cast<size_t>(field)] : nullptr;
}

TesselTextBox* TesselSampleFields::numberBox(int32_t field) const
{
    return field > kList && field < kCount ? numbers_[static_cast<size_t>(field)].get() : nullptr;
}

bool TesselSampleFields::isLoopField(int32_t field)
{
    return field == kLoopBegin || field == kLoopEnd || field == kSustainBegin || field == kSustainEnd;
}

void TesselSampleFields::show(const TesselSample& sample)
{
    fileName_->name = sample.filename.substr(0, kFileNameLength);
    const int32_t digits = loopDigits(sample.length);
    for (int32_t field = kSpeed; field < kCount; ++field) {
        const int32_t v = valueOf(field, sample);
        if (TesselTextBox* box = numberBox(field)) {
            if (isLoopField(field) && box->getMaxLength() != digits)
                box->init(*box->getRect(), digits, box->numberText(v), true);
            showNumber(*box, v);
        } else if (TesselSlider* slider = sliders_[static_cast<size_t>(field)].get()) {
            if (!slider->isTyping())
                slider->value = v;
        }
    }
    loopType_->setValue(static_cast<float>(sample.loop.type));
    sustainType_->setValue(static_cast<float>(sample.sustain.type));
    vibratoWave_->value = sample.vibrato.waveform;
}

std::string TesselSampleFields::state(int32_t field) const
{
    if (field == kFileName)
        return fileName_->name;
    if (field == kLoopType || field == kSustainType)
        return std::to_string((field == kLoopType ? loopType_ : sustainType_)->currentValue());
    const TesselControl* c = control(field);
    return c ? std::to_string(c->value) : std::string();
}

bool TesselSampleFields::store(int32_t field, TesselSample& sample) const
{
    if (field == kFileName) {
        if (sample.filename == fileName_->name)
            return false;
        sample.filename = fileName_->name;
        return true;
    }
    const TesselControl* c = control(field);
    if (!c)
        return false;
    const int32_t v = field == kLoopType ? loopType_->currentValue()
                    : field == kSustainType ? sustainType_->currentValue()
                                            : c->value;
    if (v == valueOf(field, sample))
        return false;
    setValueOf(field, sample, v);
    return true;
}

bool TesselSampleFields::commitTyping(int32_t field)
{
    TesselSlider* slider = field > kList && field < kCount ? sliders_[static_cast<size_t>(field)].get() : nullptr;
    if (!slider || !slider->isTyping())
        return false;
    slider->onMouseUp(CPoint());
    return true;
}

int32_t TesselSampleFields::fieldAt(const CPoint& point) const
{
    for (int32_t field = kFileName; field < kCount; ++field)
        if (table_[static_cast<size_t>(field)]->hitTest(point))
            return field;
    return kList;
}

int64_t TesselSampleFields::zoomStep(int32_t field) const
{
    const TesselTextBox* box = isLoopField(field) ? numberBox(field) : nullptr;
    if (!box)
        return 1;
    const int32_t right = std::clamp(box->getMaxLength() - 1 - box->getCaret(), 0, TesselTextBox::kMaxDigits - 1);
    int64_t step = 1;
    for (int32_t i = 0; i < right; ++i)
        step *= 10;
    return step;
}

void TesselSampleFields::draw(VSTGUI::CDrawContext* context, const TesselSample& sample, int32_t focusedField)
{
    show(sample);
    fileName_->drawText(context, fileName_->name.c_str(), focusedField == kFileName);
    format_->drawText(context, sampleFormatText(sample).c_str(), false);
    length_->drawText(context, sampleLengthText(sample).c_str(), false);
    for (int32_t field = kSpeed; field < kCount; ++field) {
        TesselControl* c = table_[static_cast<size_t>(field)];
        const int32_t v = field == kLoopType ? loopType_->currentValue()
                        : field == kSustainType ? sustainType_->currentValue()
                                                : c->value;
        c->draw(context, v, field == focusedField);
    }
    const std::string note = sampleNoteText(sample.pitch);
    drawBitmapText(context, note.c_str(), kNoteX, columnOneY(kLineOfField[kSpeed]) + 2,
                   controlFont(TesselControlFont::Normal, false));
}
