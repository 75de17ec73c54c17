#pragma once
// Page numbers, as the toolbar's page buttons and the usage log know them.

#include <cstdint>

enum TesselPageNumber : int32_t {
    kNoPage = -1,
    kPatternEditorPage = 1,
    kSampleListPage = 2,
    kInstrumentListPage = 4,
    kInfoPage = 6,
    kOrderListPage = 7,
    kPreferencesPage = 8,
};
