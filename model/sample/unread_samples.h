#pragma once
// The samples of a loaded song whose audio entry could not be read (see
// TesselSample::unreadAudio), as the user is told of them.

#include <string>

class TesselModule;

// The slots as the sample list numbers them ("02, 17"); empty when every
// sample was read. Caller holds the song lock.
std::string unreadSampleNumbers(const TesselModule& song);
// " Samples not read: 02, 17." for the end of a status line; empty for none.
std::string unreadSamplesStatus(const std::string& numbers);
// The message box's text: which samples, and that they are kept.
std::string unreadSamplesMessage(const std::string& numbers);
