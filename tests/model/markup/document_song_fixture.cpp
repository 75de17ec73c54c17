#include "document_song_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

void fillSamples(TesselModule& song)
{
    TesselSample& s = song.samples[0];
    s.setName("Kick <&> \"drum\"");
    s.defaultVolume = 50;
    s.globalVolume = 40;
    s.defaultPan = 10;
    s.speed = 44100;
    s.pitch = 72;
    s.filename = "kick's.wav";
    s.loop = {};
    s.loop.type = 1;
    s.loop.setBegin(100);
    s.loop.setEnd(2000);
    s.sustain.type = 2;
    s.sustain.setBegin(5);
    s.sustain.setEnd(6);
    s.vibrato = {3, 1, 7, 9};
    song.samples[98].setName("Last");
}

void fillEnvelope(TesselEnvelope& e, int nodes, int seed)
{
    e.enabled = static_cast<uint8_t>(1 + seed % 2);
    e.loop.type = 1;
    e.loop.setBegin(1);
    e.loop.setEnd(nodes - 1);
    e.sustain.type = 1;
    e.sustain.setBegin(0);
    e.sustain.setEnd(1);
    e.nodeCount = static_cast<uint32_t>(nodes);
    for (int i = 0; i < nodes; ++i) {
        e.node(i).tick = static_cast<uint16_t>(i * 10 + seed);
        e.node(i).value = static_cast<uint16_t>(64 - i);
        e.node(i).value2 = static_cast<uint16_t>(i * seed);
    }
    e.computeSlopes();
}

void fillInstrument(TesselInstrument& in)
{
    in.setName("Lead & pad");
    in.setLabel("Ld");
    in.colour = 0x123456;
    in.newNoteAction = 3;
    in.duplicateCheckType = 1;
    in.duplicateAction = 2;
    in.globalVolume = 30;
    in.fadeOut = 256;
    in.volumeSwing = 5;
    in.defaultPan = 12;
    in.pitchCentre = 48;
    in.pitchSeparation = -8;
    in.panningSwing = 4;
    in.filterCutoff = 90;
    in.filterResonance = 20;
    in.filterRange = 1;
    in.midiIn = 1;
    in.midiOut = 1;
    in.midiThru = 1;
    in.setMidiOutPort("Synth \"A\" <1>");
    in.midiPortNumber = 2;
    in.midiChannel = 10;
    in.midiProgram = 5;
    in.midiBankMsb = 1;
    in.midiBankLsb = 2;
    in.setMidiPitchBend(12);
    in.midiPitchBendHiRes = 1;
    in.midiDefaultVelocity = 100;
    for (int i = 0; i < kMidiEffects; ++i)
        in.midiEffects[static_cast<size_t>(i)] = 20 + i;
    fillEnvelope(in.volumeEnvelope(), kEnvelopeNodes, 1);
    fillEnvelope(in.panningEnvelope(), 3, 2);
    fillEnvelope(in.filterEnvelope(), 2, 3);
    in.pitchEnvelope().carry = 1;
    TesselRow& key = in.keymap.getRow(60);
    key.pitch = 72;
    key.volume = 40;
    key.panning = 3;
    key.effect.command = 'S';
    key.effect.parameter = 0x91;
    TesselSubrow later(2);
    later.pitch = 74;
    key.setSubrow(2, later);
    in.keymap.getRow(0).instrument = 7;
    in.keymap.regionsOf(60).insert({0, 63, 5});
    in.keymap.regionsOf(60).insert({64, 127, 6});
    in.keymap.regionsOf(119).insert({10, 20, -3});
}

void fillPatterns(TesselModule& song)
{
    TesselPattern& p = song.patterns[0];
    p.setLabel("Int");
    p.majorStep = 8;
    p.minorStep = 2;
    TesselTrack& t = p.tracks.getTrack(0);
    TesselRow& r = t.getRow(0);
    r.pitch = 60;
    r.instrument = 4;
    r.volume = 64;
    r.panning = 32;
    r.effect.command = 'D';
    TesselSubrow a(1);
    a.pitch = 255;
    a.effect.command = 'A';
    a.effect.parameter = 3;
    TesselSubrow b(3);
    b.volume = 10;
    b.panning = 0;
    r.setSubrow(1, a);
    r.setSubrow(3, b);
    p.tracks.getTrack(63).getRow(63).effect.parameter = 0x44;
    song.patterns[1].setLength(1);
    TesselPattern& last = song.patterns[199];
    last.setLength(kMaxRows);
    last.tracks.getTrack(7).getRow(255).pitch = 254;
    last.tracks.getTrack(8);   // empty track: not written
}

} // namespace

void fillEverything(TesselModule& song)
{
    song.tempo = 133.5;
    song.timingMode = TesselModule::Speed;
    song.resolution = 4.0;
    song.midiIn = 0;
    song.rowsPerQuarter = 3;
    fillSamples(song);
    fillInstrument(song.instruments[3]);
    song.instruments[98].setName("Only a name");
    TesselChannel& c = song.channels[63];
    c.panning = 1;
    c.volume = 2;
    c.cutoff = 3;
    c.resonance = 4;
    c.mute = 1;
    c.solo = 1;
    c.setName("Drums & more");
    c.colour = 0xABCDEF;
    song.orderList.entries[0].pattern = 0;
    song.orderList.entries[1].pattern = kOrderSkip;
    song.orderList.entries[2].pattern = 199;
    song.orderList.entries[255].pattern = kOrderEnd;
    song.outputBus.setName("Main");
    song.outputBus.type = 0;
    fillPatterns(song);
}

void resolveMidiPorts(TesselModule& song)
{
    for (TesselInstrument& in : song.instruments)
        if (std::strcmp(in.midiOutPort, kDefaultMidiOutPort) != 0)
            in.midiPortNumber = 2;
}

void checkEverything(const TesselModule& song)
{
    EXPECT_EQ(song.tempo, 133.5);
    EXPECT_EQ(song.timingMode, TesselModule::Speed);
    EXPECT_EQ(song.resolution, 4.0);
    EXPECT_EQ(song.midiIn, 0);
    EXPECT_EQ(song.rowsPerQuarter, 3);

    const TesselSample& s = song.samples[0];
    EXPECT_EQ(s.nameText(), "Kick <&> \"drum\"          ");
    EXPECT_EQ(s.defaultVolume, 50);
    EXPECT_EQ(s.globalVolume, 40);
    EXPECT_EQ(s.defaultPan, 10);
    EXPECT_EQ(s.speed, 44100);
    EXPECT_EQ(s.pitch, 72);
    EXPECT_EQ(s.filename, "kick's.wav");
    EXPECT_EQ(s.loop.type, 1);
    EXPECT_EQ(s.loop.workingEnd.frame, 2000);
    EXPECT_EQ(s.sustain.begin, 5);
    EXPECT_EQ(s.vibrato, (TesselVibrato{3, 1, 7, 9}));
    EXPECT_FALSE(song.samples[98].isEmpty());
    EXPECT_TRUE(song.samples[97].isEmpty());

    const TesselInstrument& in = song.instruments[3];
    EXPECT_EQ(in.nameText(), "Lead & pad               ");
    EXPECT_STREQ(in.label, "Ld");
    EXPECT_EQ(in.colour, 0x123456u);
    EXPECT_EQ(in.newNoteAction, 3);
    EXPECT_EQ(in.duplicateAction, 2);
    EXPECT_EQ(in.fadeOut, 256);
    EXPECT_EQ(in.pitchSeparation, -8);
    EXPECT_EQ(in.filterRange, 1);
    EXPECT_STREQ(in.midiOutPort, "Synth \"A\" <1>");
    EXPECT_EQ(in.midiProgram, 5);
    EXPECT_EQ(in.midiBankLsb, 2);
    EXPECT_EQ(in.midiPitchBend, 12);
    EXPECT_EQ(in.midiPitchBendHiRes, 1);
    EXPECT_EQ(in.midiEffects[9], 29);
    EXPECT_EQ(in.envelopes[kVolumeEnvelope].count(), kEnvelopeNodes);
    EXPECT_EQ(in.envelopes[kVolumeEnvelope].node(31).value, 64 - 31);
    EXPECT_NE(in.envelopes[kVolumeEnvelope].node(1).slope, 0.0f);
    EXPECT_EQ(in.envelopes[kPitchEnvelope].carry, 1);
    EXPECT_EQ(in.envelopes[kFilterEnvelope].enabled, 2);
    EXPECT_EQ(in.keymap.keyRow(60).pitch, 72);
    EXPECT_EQ(in.keymap.keyRow(60).effect.command, 'S');
    ASSERT_NE(in.keymap.keyRow(60).findSubrow(2), nullptr);
    EXPECT_EQ(in.keymap.keyRow(0).instrument, 7);
    EXPECT_EQ(in.keymap.keyRow(1).instrument, 4);
    EXPECT_EQ(in.keymap.regionsOf(60).count(), 2);
    EXPECT_EQ(in.keymap.regionsOf(119).regions[0], (TesselKeyRegion{10, 20, -3}));
    EXPECT_FALSE(song.instruments[98].isEmpty());

    EXPECT_EQ(song.channels[63].solo, 1);
    EXPECT_EQ(song.channels[63].colour, 0xABCDEFu);
    EXPECT_EQ(song.orderList.entries[2].pattern, 199);
    EXPECT_EQ(song.orderList.entries[255].pattern, kOrderEnd);
    EXPECT_STREQ(song.outputBus.name, "Main");
    EXPECT_EQ(song.outputBus.type, 0);

    const TesselRow* row = song.patterns[0].findRow(0, 0);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->effect.command, 'D');
    ASSERT_NE(row->findSubrow(3), nullptr);
    EXPECT_EQ(row->findSubrow(3)->panning, 0);
    EXPECT_EQ(row->findSubrow(1)->effect.parameter, 3);
    EXPECT_EQ(song.patterns[0].majorStep, 8);
    EXPECT_EQ(song.patterns[1].length(), 1);
    ASSERT_NE(song.patterns[199].findRow(7, 255), nullptr);
    EXPECT_EQ(song.patterns[199].findRow(7, 255)->pitch, 254);
}

namespace {

struct ShortName {
    const char* element;
    const char* shortElement;
    std::vector<std::pair<const char*, const char*>> attributes;
};

const std::vector<ShortName>& shortNames()
{
    static const std::vector<ShortName> table = {
        {"module", "mo", {{"version", "v"}, {"tempo", "t"}, {"resolution", "r"}, {"speed", "s"}, {"midiIn", "m"},
                          {"rowsPerQuarter", "R"}}},
        {"sample", "sa", {{"index", "i"}, {"name", "n"}, {"defaultVolume", "v"}, {"globalVolume", "V"},
                          {"defaultPan", "p"}}},
        {"samplefile", "sf", {{"speed", "s"}, {"pitch", "p"}, {"filename", "f"}}},
        {"loop", "lo", {{"type", "t"}, {"begin", "b"}, {"end", "e"}}},
        {"sustain", "su", {{"type", "t"}, {"begin", "b"}, {"end", "e"}}},
        {"vi", "vi", {}},
        {"channel", "ch", {{"index", "i"}, {"panning", "p"}, {"volume", "v"}, {"cutoff", "f"}, {"resonance", "r"},
                           {"mute", "m"}, {"solo", "s"}, {"name", "n"}, {"colour", "c"}}},
        {"order", "or", {}},
        {"entry", "en", {{"index", "i"}, {"pattern", "p"}}},
        {"outputs", "ou", {}},
        {"bus", "b", {{"index", "i"}, {"name", "n"}, {"type", "t"}}},
        {"pattern", "pa", {{"index", "i"}, {"label", "lb"}, {"majorStep", "p"}, {"minorStep", "v"}, {"length", "l"}}},
        {"track", "tr", {{"index", "i"}, {"length", "l"}}},
        {"row", "ro", {{"index", "i"}, {"pitch", "p"}, {"volume", "v"}, {"panning", "b"}, {"instrument", "s"}}},
        {"effect", "ef", {{"index", "i"}, {"command", "c"}, {"parameter", "p"}}},
        {"instrument", "in", {{"index", "i"}, {"name", "n"}, {"label", "l"}, {"colour", "c"}}},
        {"general", "ge", {{"newNoteAction", "n"}, {"duplicateCheckType", "c"}, {"duplicateAction", "a"}}},
        {"keymap", "ke", {}},
        {"map", "mp", {}},
        {"region", "rg", {{"key", "k"}, {"from", "f"}, {"to", "t"}, {"value", "v"}}},
        {"volume", "vo", {{"global", "g"}, {"fadeOut", "f"}, {"swing", "s"}}},
        {"panning", "pa", {{"default", "d"}, {"pitchCentre", "c"}, {"pitchSeparation", "p"}, {"swing", "s"}}},
        {"filter", "fi", {{"cutoff", "c"}, {"resonance", "z"}, {"range", "r"}}},
        {"pitch", "pi", {{"MIDIIn", "i"}, {"MIDIOut", "o"}, {"MIDIThru", "t"}, {"MIDIOutPort", "p"},
                         {"MIDIChannel", "c"}, {"MIDIProgram", "P"}, {"MIDIBankMSB", "B"}, {"MIDIBankLSB", "b"},
                         {"MIDIPitchBend", "m"}, {"MIDIPitchBendHiRes", "M"}, {"MIDIDefaultVelocity", "v"},
                         {"MIDIEffect0", "m0"}, {"MIDIEffect1", "m1"}, {"MIDIEffect2", "m2"}, {"MIDIEffect3", "m3"},
                         {"MIDIEffect4", "m4"}, {"MIDIEffect5", "m5"}, {"MIDIEffect6", "m6"}, {"MIDIEffect7", "m7"},
                         {"MIDIEffect8", "m8"}, {"MIDIEffect9", "m9"}}},
        {"envelope", "en", {{"enabled", "e"}, {"carry", "c"}}},
        {"node", "no", {{"tick", "x"}, {"value", "y"}, {"value2", "z"}}},
    };
    return table;
}

const ShortName& shortNameOf(const std::string& element)
{
    for (const ShortName& n : shortNames())
        if (element == n.element)
            return n;
    ADD_FAILURE() << "no short name for element " << element;
    static const ShortName none{"", "", {}};
    return none;
}

} // namespace

std::string toShortNames(const std::string& text)
{
    std::string out;
    std::vector<std::string> open;
    size_t at = 0;
    while (at < text.size()) {
        const size_t lt = text.find('<', at);
        if (lt == std::string::npos) {
            out += text.substr(at);
            break;
        }
        out += text.substr(at, lt - at);
        const size_t gt = text.find('>', lt);
        std::string tag = text.substr(lt + 1, gt - lt - 1);
        at = gt + 1;
        if (tag[0] == '/') {
            out += "</" + std::string(shortNameOf(tag.substr(1)).shortElement) + ">";
            if (!open.empty())
                open.pop_back();
            continue;
        }
        const bool selfContained = tag.back() == '/';
        if (selfContained)
            tag.pop_back();
        const size_t space = tag.find(' ');
        const std::string name = tag.substr(0, space);
        const ShortName& table = shortNameOf(name);
        const bool nestedRow = name == "row" && !open.empty() && open.back() == "row";
        out += "<" + std::string(table.shortElement);
        size_t p = space;
        while (p != std::string::npos && p < tag.size()) {
            const size_t eq = tag.find('=', p);
            if (eq == std::string::npos)
                break;
            const std::string attribute = tag.substr(p + 1, eq - p - 1);
            const size_t close = tag.find('"', eq + 2);
            const std::string value = tag.substr(eq + 1, close - eq);
            std::string shortAttribute;
            for (const auto& [longName, shortName] : table.attributes)
                if (attribute == longName)
                    shortAttribute = shortName;
            if (name == "vi")
                shortAttribute = attribute;
            if (nestedRow && attribute == "panning")
                shortAttribute = "x";
            EXPECT_FALSE(shortAttribute.empty()) << name << " " << attribute;
            out += " " + shortAttribute + "=" + value;
            p = close + 1;
        }
        out += selfContained ? "/>" : ">";
        if (!selfContained)
            open.push_back(name);
    }
    return out;
}
