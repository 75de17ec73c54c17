#pragma once
// The instrument page's edit under way: a copy of an instrument (its own
// slot index included) and the copy's markup before the edit, so that the
// page writes back only what changed. Private to the page's files.

#include "editor/instrument_list/instrument_list_page.h"
#include "model/instrument/instrument.h"

#include <string>

// The instrument's document markup: equal texts, equal instruments.
std::string instrumentMarkup(const TesselInstrument& instrument);

struct TesselInstrumentListUI::Edit {
    explicit Edit(const TesselInstrument& source) : copy(source), before(instrumentMarkup(copy)) {}

    bool changed() const { return instrumentMarkup(copy) != before; }

    TesselInstrument copy;
    const std::string before;
};
