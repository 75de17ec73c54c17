#pragma once
// Network addresses fixed when the program is built (QB_UPDATE_CHECK_ADDRESS,
// QB_REPORT_ADDRESS, QB_WEB_PAGE_ADDRESS); all empty by default, and an empty one makes no request.

#include <string>

namespace services {

std::string updateCheckAddress();
std::string reportAddress();
// The product's web page that the toolbar and the logo open; empty: none.
std::string webPageAddress();

} // namespace services
