#pragma once
// The program's version number as people read it: 1.74 as "1.74", 1.7 as
// "1.7", with a further ".n" when the thousandths carry more.

#include <string>

std::string formatVersionNumber(float version);
