#pragma once
// Stand-ins for pages not built yet: each has its page number, rectangle and
// skin, draws its skin with its name, wants no keys and records the keys and
// calls that reach it, so that the editor's road can be followed without
// the page. A built page replaces its stand-in through its maker
// (editor/page_factory.h).

#include "gui/bitmap.h"
#include "gui/tessel_ui.h"
#include "platform/key_event.h"

#include <cstdint>
#include <string>
#include <vector>

class TesselStandInRecord {
public:
    TesselStandInRecord(int32_t pageNumber, const char* name) : pageNumber(pageNumber), name(name) {}
    virtual ~TesselStandInRecord() = default;

    void note(std::string call) { calls.push_back(std::move(call)); }
    // Whether a call that starts with the text was recorded.
    bool called(const std::string& start) const;

    int32_t pageNumber;
    const char* name;
    std::vector<TesselKeyEvent> keys;
    std::vector<std::string> calls;
    int32_t draws = 0;
};

// The page base of every stand-in, over the kind of page it stands in for.
template <class Kind>
class TesselStandInPage : public Kind, public TesselStandInRecord {
public:
    TesselStandInPage(int32_t pageNumber, const char* name, const CRect& size, int32_t skin,
                      TesselEditorServices* editor, int32_t classId);
    ~TesselStandInPage() override = default;

    bool wantsKeys() override { return false; }
    int32_t onKeyEvent(const TesselKeyEvent& key) override
    {
        keys.push_back(key);
        return 0;
    }
    // The skin (or a plain fill without one) and the page's name.
    void draw(CDrawContext* context) override;
};

// Draws a stand-in: its rectangle filled, the skin at its top-left and the name.
void drawStandIn(CDrawContext* context, const CRect& size, CBitmap* skin, const char* name);
// A text for the records: "name a b".
std::string callText(const char* name, double a);
std::string callText(const char* name, double a, double b);

template <class Kind>
TesselStandInPage<Kind>::TesselStandInPage(int32_t pageNumber, const char* name, const CRect& size, int32_t skin,
                                           TesselEditorServices* editor, int32_t classId)
    : Kind(size, 0, nullptr, editor, classId), TesselStandInRecord(pageNumber, name)
{
    if (skin > 0) {
        auto* bitmap = new CBitmap(skin);
        this->setBackground(bitmap);
        bitmap->forget();
    }
}

template <class Kind>
void TesselStandInPage<Kind>::draw(CDrawContext* context)
{
    ++draws;
    if (context)
        drawStandIn(context, this->size, this->getBackground(), name);
    Kind::draw(context);
    this->setDirty(false);
}
