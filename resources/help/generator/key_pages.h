#pragma once
// The key reference pages ("Keys_*.htm"): the keys of the default command
// scheme with the keys the pages handle themselves, one page per popup.

#include "key_rows.h"

#include <string>
#include <vector>

namespace helpgen {

struct KeyPage {
    std::string file;
    std::string title;
    std::vector<KeySection> sections;
};

std::vector<KeyPage> patternEditorKeyPages();   // Keys_PE_1 .. Keys_PE_3
std::vector<KeyPage> otherKeyPages();           // the global keys and one page per page

// The whole page: a table sized for the help popup, with the "header" the
// popup hides and the "navbar" it shows.
std::string renderKeyPage(const KeyPage& page);

} // namespace helpgen
