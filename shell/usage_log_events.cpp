#include "shell/usage_log_events.h"

#include "platform/key_event.h"
#include "shell/preferences.h"
#include "shell/usage_log_actions.h"

#include <cstdarg>
#include <cstring>

namespace OMBRIX {
namespace {

const char* const kActionNames[] = {
    "CMD_NEWMODULE", "CMD_LOADMODULE", "CMD_SAVEMODULE", "CMD_HOSTLOAD", "CMD_HOSTSAVE", "CMD_LOADSAMPLE",
    "CMD_SAVESAMPLE", "CMD_NEWINSTRUMENT", "CMD_LOADINSTRUMENT", "CMD_SAVEINSTRUMENT", "CMD_PLAYSONG",
    "CMD_PLAYPATTERN", "CMD_PLAYROW", "CMD_PLAYSAMPLE", "CMD_PLAYNOTE", "CMD_STOPNOTE", "CMD_STOPNOW", "CMD_STOP",
    "CMD_HOSTPLAY", "CMD_HOSTSTOP", "CMD_HOSTCYCLE", "CMD_UNDO", "CMD_REDO", "CMD_UNDOREDO", "CMD_RESET",
    "CMD_SETSAMPLERATE", "CMD_TEMPO", "CMD_MIDIPLAY", "CMD_MIDISTOP", "CMD_MIDIINPUT", "CMD_SETCURRENTPATTERN",
    "CMD_SETCURRENTORDER", "CMD_SHOWHELPBAR", "CMD_SETEDITMODE", "CMD_KEYBOARD", "CMD_ZOOM", "CMD_INFOBAR",
    "CMD_MOUSE", "CMD_MOUSE_MENU", "CMD_MOUSE_SELECTION", "CMD_MOUSE_DRAGGING", "CMD_SPLASH", "CMD_HELP",
    "CMD_CONTEXTHELP", "CMD_SETCURRENTLAYER", "CMD_MOUSE_ROW_MENU", "CMD_MOUSE_CHANNEL_MENU",
};
constexpr int kActionCount = sizeof kActionNames / sizeof kActionNames[0];
static_assert(kActionCount == kCmdActionCount);

const char* const kPageNames[] = {
    "HELP", "PATTERN_EDITOR", "SAMPLE_LIST", "SAMPLE_LIBRARY", "INSTRUMENT_LIST",
    "INSTRUMENT_LIBRARY", "INFO_PAGE", "ORDER_LIST", "PREFERENCES", "AUDITION_MODE",
};

struct Sections {
    int page;
    const char* const* names;
    int count;
};
const char* const kPatternSections[] = {"PATTERN", "TOOLBAR", "OPTIONS", "OVERVIEW", "UNDO", "INPUTBOX", "BROWSE",
                                        "FORMULA"};
const char* const kSampleSections[] = {"EDITOR", "LIBRARY"};
const char* const kInstrumentSections[] = {"GENERAL", "VOLUME", "PANNING", "PITCH_MIDI", "FILTER", "LIBRARY", "", "",
                                           "MIDI_SETTINGS"};
const char* const kOrderSections[] = {"123", "MIDI"};
const char* const kPreferenceSections[] = {"CHANNEL", "INSTRUMENT", "SAMPLE", "KEYBOARD"};
const Sections kSections[] = {
    {1, kPatternSections, 8}, {2, kSampleSections, 2}, {4, kInstrumentSections, 9},
    {7, kOrderSections, 2},   {8, kPreferenceSections, 4},
};

ControlNameLookup controlNames = nullptr;

std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* fmt, ...)
{
    char text[512];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(text, sizeof text, fmt, args);
    va_end(args);
    return text;
}

// Little-endian field writers.
uint8_t* put8(uint8_t* out, uint8_t v)
{
    *out = v;
    return out + 1;
}
uint8_t* put16(uint8_t* out, int16_t v)
{
    const auto u = static_cast<uint16_t>(v);
    out[0] = static_cast<uint8_t>(u);
    out[1] = static_cast<uint8_t>(u >> 8);
    return out + 2;
}
uint8_t* put32(uint8_t* out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<uint8_t>(v >> (8 * i));
    return out + 4;
}
uint8_t* put32(uint8_t* out, int32_t v)
{
    return put32(out, static_cast<uint32_t>(v));
}

} // namespace

const char* actionName(int kind)
{
    return kind >= 0 && kind < kActionCount ? kActionNames[kind] : "???";
}

void setControlNameLookup(ControlNameLookup lookup)
{
    controlNames = lookup;
}

bool _log::write(FILE* stream) const
{
    uint8_t bytes[kLargestPayload];
    const int n = payload(bytes);
    return std::fwrite(bytes, 1, static_cast<size_t>(n), stream) == static_cast<size_t>(n);
}

std::string iCOMMAND::text() const
{
    return format("command (%s, %d)", actionName(action), value);
}

int iCOMMAND::payload(uint8_t* out) const
{
    uint8_t* p = put8(out, 'a');
    p = put8(p, action);
    p = put32(p, value);
    return static_cast<int>(p - out);
}

iKEYBOARD::iKEYBOARD(const TesselKeyEvent& key)
    : character(static_cast<uint8_t>(key.character)), modifiers(key.modifiers), virtualKey(key.virtualKey),
      printable(key.printable), keyUp(key.keyUp), pressCount(static_cast<uint8_t>(key.pressCount))
{
}

std::string iKEYBOARD::text() const
{
    std::string t = std::string("keyboard (") + modifierPrefix(modifiers);
    if (character != 0)
        t += static_cast<char>(character < 32 ? ' ' : character);
    if (printable != 0)
        t += format(" ('%c')", static_cast<char>(printable));
    if (virtualKey != 0)
        t += format("[%s]", virtualKey > 58 ? "?" : keyName(virtualKey));
    if (keyUp)
        t += ", UP";
    if (pressCount != 0)
        t += format(", x%d", pressCount);
    return t + ")";
}

int iKEYBOARD::payload(uint8_t* out) const
{
    uint8_t* p = put8(out, 'k');
    for (uint8_t field : {character, modifiers, virtualKey, printable, keyUp, pressCount})
        p = put8(p, field);
    return static_cast<int>(p - out);
}

std::string iFOCUS::text() const
{
    std::string t = "focus (";
    t += page < 10 ? kPageNames[page] : "???";
    for (const Sections& s : kSections) {
        if (s.page != page)
            continue;
        t += "/";
        t += state < s.count ? s.names[state] : "???";
    }
    const char* control = controlNames ? controlNames(page, state, item) : nullptr;
    t += "/";
    t += control ? control : "???";
    return t + ")";
}

int iFOCUS::payload(uint8_t* out) const
{
    uint8_t* p = put8(out, 'f');
    p = put8(p, page);
    p = put8(p, item);
    p = put8(p, state);
    return static_cast<int>(p - out);
}

iPREFS::iPREFS(const TesselPreferences& preferences) : prefs_(preferences) {}

std::string iPREFS::text() const
{
    const TesselPreferences& p = prefs_;
    return format("MIDIDelay=%d,KeyMode=%d,AlwaysOnTop=%d,UIPriority=%d,Follow=%d,Guide=%d,MIDIIn=%d,"
                  "Position=(%d,%d,%d,%d),Window=%d,Font=(%s,%d,%d),Resolution=%d,RowsPerQuarter=%d,"
                  "PagePos=(%d,%d,%d,%d)",
                  p.midiDelay, p.keyboardMode, p.alwaysOnTop, p.graphicsPriority, p.followPattern, p.showGuide,
                  p.midiInMode, p.positionX1, p.positionY1, p.positionX2, p.positionY2, p.windowState,
                  p.font.faceName, p.font.height, p.font.width, p.defaultResolution, p.defaultRowsPerBeat,
                  p.pagePosition[0], p.pagePosition[1], p.pagePosition[2], p.pagePosition[3]);
}

int iPREFS::payload(uint8_t* out) const
{
    const TesselPreferences& s = prefs_;
    uint8_t* p = put8(out, 'p');
    p = put32(p, s.midiDelay);
    for (uint8_t flag : {s.keyboardMode, s.alwaysOnTop, s.graphicsPriority, s.followPattern, s.showGuide})
        p = put8(p, flag);
    for (int32_t v : {s.midiInMode, s.positionX1, s.positionY1, s.positionX2, s.positionY2, s.windowState})
        p = put32(p, v);
    const TesselFontRecord& f = s.font;
    for (int32_t v : {f.height, f.width, f.escapement, f.orientation, f.weight})
        p = put32(p, v);
    for (uint8_t v : {f.italic, f.underline, f.strikeOut, f.charSet, f.outPrecision, f.clipPrecision, f.quality,
                      f.pitchAndFamily})
        p = put8(p, v);
    std::memcpy(p, f.faceName, sizeof f.faceName);
    p += sizeof f.faceName;
    p = put16(p, s.fontWidth);
    for (int32_t v : {s.defaultResolution, s.defaultRowsPerBeat, s.pagePosition[0], s.pagePosition[1],
                      s.pagePosition[2], s.pagePosition[3]})
        p = put32(p, v);
    return static_cast<int>(p - out);
}

std::string iDATA::text() const
{
    int32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return format("value (%d, %f)", bits, static_cast<double>(value));
}

int iDATA::payload(uint8_t* out) const
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    uint8_t* p = put8(out, 'd');
    p = put32(p, bits);
    return static_cast<int>(p - out);
}

std::string iCURSOR::text() const
{
    if (x < 256 && y < 256)
        return format("cursor (%d, %d) +(%d, %d)", x & 0xFF, y & 0xFF, dx, dy);
    return format("cursor (%d, %d) +(%d, %d) #(%d, %d)", (x >> 8) & 0xFF, (y >> 8) & 0xFF, dx, dy, x & 0xFF,
                  y & 0xFF);
}

int iCURSOR::payload(uint8_t* out) const
{
    uint8_t* p = put8(out, 'c');
    for (int16_t v : {x, y, dx, dy})
        p = put16(p, v);
    return static_cast<int>(p - out);
}

std::string iMOUSE::text() const
{
    std::string words;
    if ((buttons & 7) == 0)
        words += "UP ";
    const char* const names[] = {"LEFT ", "MIDDLE ", "RIGHT ", "SHIFT ", "CTRL ", "ALT "};
    for (int bit = 0; bit < 6; ++bit)
        if (buttons & (1 << bit))
            words += names[bit];
    return format("mouse (%d,%d) %s", x, y, words.c_str());
}

int iMOUSE::payload(uint8_t* out) const
{
    uint8_t* p = put8(out, 'm');
    p = put16(p, x);
    p = put16(p, y);
    p = put8(p, buttons);
    return static_cast<int>(p - out);
}

} // namespace OMBRIX
