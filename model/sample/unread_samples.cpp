#include "model/sample/unread_samples.h"

#include "model/song/module.h"

#include <cstdio>

std::string unreadSampleNumbers(const TesselModule& song)
{
    std::string numbers;
    for (size_t slot = 0; slot < song.samples.size(); ++slot) {
        if (!song.samples[slot].unreadAudio)
            continue;
        char number[8];
        std::snprintf(number, sizeof number, "%.2d", static_cast<int>(slot + 1));
        numbers += (numbers.empty() ? "" : ", ") + std::string(number);
    }
    return numbers;
}

std::string unreadSamplesStatus(const std::string& numbers)
{
    return numbers.empty() ? std::string() : " Samples not read: " + numbers + ".";
}

std::string unreadSamplesMessage(const std::string& numbers)
{
    return "The audio of these samples could not be read: " + numbers +
           ".\nThe song keeps them as they were in the file until you replace or delete them.";
}
