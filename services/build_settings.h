#pragma once
// Network addresses fixed when the program is built (QB_UPDATE_CHECK_ADDRESS,
// QB_REPORT_ADDRESS); both empty by default, and an empty one makes no request.

#include <string>

namespace services {

std::string updateCheckAddress();
std::string reportAddress();

} // namespace services
