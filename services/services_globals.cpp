#include "services/services_globals.h"

namespace services {

ServicesGlobals& servicesGlobals()
{
    static ServicesGlobals globals;
    return globals;
}

RememberedReportChoices& rememberedReportChoices()
{
    return servicesGlobals().reportChoices;
}

} // namespace services
