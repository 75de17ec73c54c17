#pragma once
// The services' process-wide values: the report dialogs' remembered choices.

#include "services/report_choices.h"

namespace services {

struct ServicesGlobals {
    RememberedReportChoices reportChoices;

    // Back to the values the process starts with.
    void reset() { reportChoices = {}; }
};

ServicesGlobals& servicesGlobals();

} // namespace services
