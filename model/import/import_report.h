#pragma once
// What an importer could not take over from a damaged or unusual file. A
// well-formed file imports without warnings.

#include <string>
#include <vector>

struct TesselImportReport {
    std::vector<std::string> warnings;
};
