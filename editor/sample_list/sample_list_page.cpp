// The sample list page: construction, modes, the current sample and the end
// of every action.

#include "editor/sample_list/sample_list_page.h"

#include "editor/core/page_factory.h"
#include "editor/sample_list/sample_edit.h"
#include "gui/bitmap.h"
#include "gui/controls/button_group.h"
#include "gui/controls/control_skin.h"
#include "pagekit/file_box.h"
#include "resources/sample_page_layout.h"

#include <algorithm>

namespace {

using namespace resources::sample_page;

CRect rectOf(const resources::SkinPlace& place)
{
    return CRect(place.left, place.top, place.right, place.bottom);
}

std::unique_ptr<TesselButtonGroup> popupButtons(VSTGUI::CBitmap* popupSkin)
{
    auto group = std::make_unique<TesselButtonGroup>(kPopupButtonsX, kPopupButtonsY, popupSkin, -1);
    const int32_t skins[2] = {resources::kNormaliseOk, resources::kNormaliseCancel};
    for (int32_t i = 0; i < 2; ++i) {
        const resources::SkinPlace& place = kPopupButtons[i];
        group->addButton(place.left, place.top, place.right, place.bottom, skins[i], control_skin::kButtonFace,
                         control_skin::kButtonFrame);
    }
    return group;
}

} // namespace

TesselSampleListPage* makeSampleListPage(TesselEditorPageServices* editor, const CRect& size)
{
    return new TesselSampleListUI(editor, size);
}

TesselSampleListUI::TesselSampleListUI(TesselEditorPageServices* editor, const CRect& size)
    : TesselSampleListPage(size, 0, nullptr, editor, kClassId), TesselEditorPageOwner(editor), scrollbar_(rectOf(kScrollbar)),
      waveformSkin_(new VSTGUI::CBitmap(resources::kSampleWaveform)),
      fieldsSkin_(new VSTGUI::CBitmap(resources::kSampleFieldsPanel)),
      frameSkin_(new VSTGUI::CBitmap(resources::kSampleBrowserFrame)),
      nameCursorSkin_(new VSTGUI::CBitmap(resources::kSampleNameCursor)),
      popupSkin_(new VSTGUI::CBitmap(resources::kNormalisePopup))
{
    auto* background = new VSTGUI::CBitmap(resources::kSamplePagePanel);
    setBackground(background);
    background->forget();
    fields_ = std::make_unique<TesselSampleFields>(*this);
    scrollbar_.setCounts(kSamples, kVisibleRows);
    normalise_.setImage(popupSkin_);
    normalise_.setButtonGroup(popupButtons(popupSkin_));
    TesselEditorPageServices* editorObject = owner();
    fileBox_ = std::make_unique<TesselFileBox>(rectOf(kFileBox), editorObject ? editorObject->sampleFolder() : "",
                                               editor, TesselFileBox::kSampleBrowser);
    sample_ = currentIndex();
}

TesselSampleListUI::~TesselSampleListUI()
{
    fileBox_.reset();
    for (VSTGUI::CBitmap* skin : {waveformSkin_, fieldsSkin_, frameSkin_, nameCursorSkin_, popupSkin_})
        skin->forget();
}

int32_t TesselSampleListUI::currentIndex() const
{
    const int32_t n = editor ? editor->currentSample() : 1;
    return std::clamp(n, 1, kSamples) - 1;
}

bool TesselSampleListUI::wantsKeys()
{
    return normalise_.isShown() || mode_ == kBrowserMode;
}

bool TesselSampleListUI::isDirty() const
{
    return CView::isDirty() || (mode_ == kBrowserMode && fileBox_ && fileBox_->hasChanged());
}

bool TesselSampleListUI::removed(CView* parent)
{
    dropPending();
    return TesselSampleListPage::removed(parent);
}

bool TesselSampleListUI::attached(CView* parent)
{
    // Files may have come or gone while another page showed.
    if (mode_ == kBrowserMode)
        fileBox_->relist();
    return TesselSampleListPage::attached(parent);
}

void TesselSampleListUI::setListMode(int32_t mode)
{
    if (mode == kBrowserMode && mode_ != kBrowserMode)
        fileBox_->relist();
    mode_ = mode == kBrowserMode ? kBrowserMode : kListMode;
    setFocused(mode_ == kBrowserMode);
    setDirty();
}

void TesselSampleListUI::showRow(int32_t index)
{
    if (index < firstRow_)
        firstRow_ = index;
    else if (index > firstRow_ + kVisibleRows - 1)
        firstRow_ = index - (kVisibleRows - 1);
    firstRow_ = std::clamp(firstRow_, 0, kSamples - kVisibleRows);
    scrollbar_.setPosition(firstRow_);
}

void TesselSampleListUI::selectSample(int32_t n, bool keepScroll)
{
    const int32_t index = std::clamp(n, 1, kSamples) - 1;
    if (index != sample_)
        dropPending();
    sample_ = index;
    if (!keepScroll)
        showRow(index);
    if (TesselEditorPageServices* editorObject = owner())
        editorObject->setCurrentSample(index + 1, true);
    drawnSample_ = index;
    setDirty();
}

void TesselSampleListUI::finishAction(TesselSampleEdit& edit)
{
    edit.commit();
    sample_ = std::clamp(sample_, 0, kSamples - 1);
    if (sample_ != edit.index())
        dropPending();
    showRow(sample_);
    if (TesselEditorPageServices* editorObject = owner())
        editorObject->setCurrentSample(sample_ + 1, true);
    drawnSample_ = sample_;
    setDirty();
}

void TesselSampleListUI::setField(int32_t field, TesselSampleEdit& edit)
{
    if (fields_->commitTyping(field_))
        storeField(edit);
    field_ = std::clamp(field, 0, TesselSampleFields::kCount - 1);
}

void TesselSampleListUI::storeField(TesselSampleEdit& edit)
{
    TesselSample* copy = edit.copy();
    if (copy && fields_->store(field_, *copy))
        edit.changed();
}

void TesselSampleListUI::rememberFolder()
{
    if (TesselEditorPageServices* editorObject = owner())
        editorObject->sampleFolder() = fileBox_->folder();
}
