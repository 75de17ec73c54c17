#include "services/build_settings.h"

namespace services {

std::string updateCheckAddress()
{
    return QB_UPDATE_CHECK_ADDRESS;
}

std::string reportAddress()
{
    return QB_REPORT_ADDRESS;
}

std::string webPageAddress()
{
    return QB_WEB_PAGE_ADDRESS;
}

} // namespace services
