#include "common/help_pages.h"

#include <cctype>

namespace help {

namespace {

// Row numbers of the chain below.
enum ChainRowNumber { kPe1, kPe2, kPe3, kPlayback, kSampleKeys, kInstrumentKeys, kInfoKeys, kOrderKeys, kPrefKeys };

constexpr ChainRow kChain[] = {
    {kPe3, "Keys_PE_1.htm", kPe2},
    {kPe1, "Keys_PE_2.htm", kPe3},
    {kPe2, "Keys_PE_3.htm", kPe1},
    {-1, "Keys_PB_1.htm", -1},
    {-1, "Keys_SL_1.htm", -1},
    {-1, "Keys_IL_1.htm", -1},
    {-1, "Keys_IP_1.htm", -1},
    {-1, "Keys_OL_1.htm", -1},
    {-1, "Keys_PR_1.htm", -1},
};

const char* subcommandHelpPage(int32_t parameter)
{
    if (parameter < 0 || parameter > 255)
        return "FX_Sxx.htm";
    switch (parameter >> 4) {
    case 0x0:
        return (parameter & 15) != 0 ? "FX_S0x.htm" : "FX_Sxx.htm";
    case 0x3:
    case 0x4:
    case 0x5:
        return "FX_S3x.htm";
    case 0x7:
        return "FX_S7x.htm";
    case 0x8:
        return "FX_Xxx.htm";   // coarse panning sits with the fine one
    case 0x9:
        return "FX_S9x.htm";
    case 0xA:
        return "FX_SAx.htm";
    case 0xB:
        return "FX_SBx.htm";
    case 0xC:
        return "FX_SCx.htm";
    case 0xD:
        return "FX_SDx.htm";
    case 0xF:
        return "FX_Zxx.htm";
    default:
        return "FX_Sxx.htm";
    }
}

constexpr Topic kTopics[] = {
    {"Viewer: first page", kDefaultTopic},
    {"Viewer: contents", kContents},
    {"Toolbar: help button", kDefaultTopic},
    {"Help page: contents button", kWelcome},
    {"Help page: search button", kWelcome},
    {"Help page: getting started button", kGettingStarted},
    {"Help page: further button", kFurther},
    {"Pattern editor: F1 on the first cell", kPatternEditor},
    {"Pattern grid: F1 on the note", kPatternPitch},
    {"Pattern grid: F1 on the instrument", kPatternInstrument},
    {"Pattern grid: F1 on the volume column", kPatternVolume},
    {"Pattern grid: F1 on an unknown effect", kEffectList},
    {"Pattern overview: '('", kPatternModes},
    {"Pattern options: F1", kPatternModes},
    {"Sample list: F1", kSampleList},
    {"Instrument list: F1 on the list", kInstrumentList},
    {"Instrument list: F1 on General", kInstrumentGeneral},
    {"Instrument list: F1 on Volume", kInstrumentVolume},
    {"Instrument list: F1 on Panning", kInstrumentPanning},
    {"Instrument list: F1 on Pitch", kInstrumentPitch},
    {"Instrument list: F1 on Filter", kInstrumentFilter},
    {"Instrument MIDI panel: F1", kInstrumentMidi},
    {"Order list: F1 on the orders", kOrderList},
    {"Order list: F1 on the channels", kOrderListChannels},
    {"Info page: F1", kInfoPage},
    {"Preferences: F1", kPreferences},
    {"Keyboard shortcuts: F1", kPreferencesKeyboard},
    {"Keyboard reference: pattern editor", "Keys_PE_1.htm"},
    {"Keyboard reference: sample list", "Keys_SL_1.htm"},
    {"Keyboard reference: instrument list", "Keys_IL_1.htm"},
    {"Keyboard reference: info page", "Keys_IP_1.htm"},
    {"Keyboard reference: order list", "Keys_OL_1.htm"},
    {"Keyboard reference: preferences", "Keys_PR_1.htm"},
};

} // namespace

const char* effectHelpPage(unsigned char letter, int32_t parameter)
{
    static const char* const kLetterPages[26] = {
        "FX_Axx.htm", "FX_Bxx.htm", "FX_Cxx.htm", "FX_Dxx.htm", "FX_Exx.htm", "FX_Exx.htm", "FX_Gxx.htm",
        "FX_Hxx.htm", "FX_Ixx.htm", "FX_Jxx.htm", "FX_Kxx.htm", "FX_Lxx.htm", "FX_Mxx.htm", "FX_Nxx.htm",
        "FX_Oxx.htm", "FX_Pxx.htm", "FX_Qxx.htm", "FX_Rxx.htm", nullptr,      "FX_Txx.htm", "FX_Hxx.htm",
        "FX_Vxx.htm", "FX_Wxx.htm", "FX_Xxx.htm", "FX_Yxx.htm", "FX_Zxx.htm",
    };
    if (letter >= '0' && letter <= '9')
        return "FX_0xx.htm";
    if (letter == 'S')
        return subcommandHelpPage(parameter);
    if (letter >= 'A' && letter <= 'Z')
        return kLetterPages[letter - 'A'];
    return kEffectList;
}

const char* cellHelpPage(int column, unsigned char effectLetter, int32_t effectParameter)
{
    if (column <= 1)
        return kPatternPitch;
    if (column <= 3)
        return kPatternInstrument;
    if (column <= 5)
        return kPatternVolume;
    return effectHelpPage(effectLetter, effectParameter);
}

const char* instrumentHelpPage(int tab, bool listFocused)
{
    static const char* const kTabPages[] = {kInstrumentGeneral, kInstrumentVolume, kInstrumentPanning,
                                            kInstrumentPitch, kInstrumentFilter};
    if (listFocused || tab < 0 || tab > 4)
        return kInstrumentList;
    return kTabPages[tab];
}

const char* keyboardHelpPage(int pageNumber)
{
    switch (pageNumber) {
    case 2:
        return kChain[kSampleKeys].page;
    case 4:
        return kChain[kInstrumentKeys].page;
    case 6:
        return kChain[kInfoKeys].page;
    case 7:
        return kChain[kOrderKeys].page;
    case 8:
        return kChain[kPrefKeys].page;
    default:
        return kChain[kPe1].page;
    }
}

std::span<const ChainRow> keyReferenceChain()
{
    return kChain;
}

int chainRowOf(std::string_view page)
{
    for (int row = 0; row < int(std::size(kChain)); ++row)
        if (samePage(page, kChain[row].page))
            return row;
    return -1;
}

const char* chainNeighbour(std::string_view page, bool forward)
{
    const int row = chainRowOf(page);
    if (row < 0)
        return nullptr;
    const int neighbour = forward ? kChain[row].next : kChain[row].previous;
    return neighbour < 0 ? nullptr : kChain[neighbour].page;
}

std::span<const Topic> helpTopics()
{
    return kTopics;
}

bool samePage(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace help
