#include "engine/midi/midi_out.h"

#include "model/song/module.h"

#include <cmath>
#include <cstring>
#include <strings.h>

namespace {

constexpr char kHostPortName[] = "(VST host)";

void onTimer(void* context)
{
    static_cast<TesselMidiOut*>(context)->timerCallback();
}

// Signed distance from a to b on a wrapping millisecond clock.
int32_t since(uint32_t a, uint32_t b)
{
    return static_cast<int32_t>(b - a);
}

} // namespace

TesselMidiOut::TesselMidiOut()
    : TesselMidiOut(platform::openSystemMidiPorts(), [] { return platform::makeTimerThread(); })
{
}

TesselMidiOut::TesselMidiOut(std::unique_ptr<platform::MidiPorts> ports, TimerFactory makeTimers)
    : system_(std::move(ports)), makeTimers_(std::move(makeTimers))
{
    std::memset(hostEvents_, 0, sizeof hostEvents_);
    buildPortTable();
}

TesselMidiOut::~TesselMidiOut()
{
    close();
}

void TesselMidiOut::buildPortTable()
{
    const int devices = system_ ? system_->count() : 0;
    ports_.assign(static_cast<std::size_t>(devices) + 1, TesselMidiPortEntry{});
    for (int j = 0; j <= devices; ++j) {
        TesselMidiPortEntry& entry = ports_[j];
        std::string name = j == 0 ? std::string(kHostPortName) : system_->name(j - 1);
        std::size_t n = std::min(name.size(), sizeof entry.name - 1);
        std::memcpy(entry.name, name.data(), n);
        entry.name[n] = 0;
        resetPortState(entry.state);
    }
}

void TesselMidiOut::resetPortState(TesselMidiPortState& state)
{
    std::memset(state.noteOn, 0, sizeof state.noteOn);
    // Nothing has been sent since: the next value of each kind goes out.
    for (auto* last : {state.lastProgram, state.lastBankMsb, state.lastBankLsb, state.lastVolume, state.lastPanning,
                       state.lastBend})
        std::memset(last, kMidiNoneSent, kMidiChannels);
}

void TesselMidiOut::open()
{
    if (!timers_ && makeTimers_)
        timers_ = makeTimers_();
    for (int j = 1; j < portCount(); ++j)
        ports_[j].open = system_->open(j - 1);
}

void TesselMidiOut::close()
{
    if (timers_) {
        timers_->cancel(this);
        timers_.reset();
    }
    if (schedule_.lock()) {
        schedule_.clear();
        timerPending_ = false;
        schedule_.unlock();
    }
    for (int j = 1; j < portCount(); ++j) {
        if (ports_[j].open)
            system_->close(j - 1);
        ports_[j].open = false;
    }
}

int32_t TesselMidiOut::setDelay(int32_t milliseconds)
{
    const double rate = host_ ? host_->sampleRate() : 0.0;
    const int32_t block = host_ ? host_->blockFrames() : 0;
    if (milliseconds == -1)
        milliseconds = rate > 0.0 && block > 0 ? static_cast<int32_t>(block / (rate * 0.001)) : 0;
    if (milliseconds < 0)
        milliseconds = 0;
    delayMs_ = milliseconds;
    delayFrames_ = rate > 0.0 ? static_cast<int32_t>(std::min(milliseconds * 0.001 * rate, 1e9)) : 0;
    return delayFrames_;
}

int32_t TesselMidiOut::portIndex(const char* name) const
{
    if (!name)
        return -1;
    for (int32_t j = 0; j < portCount(); ++j)
        if (strcasecmp(ports_[j].name, name) == 0)
            return j;
    return -1;
}

void TesselMidiOut::resolveInstrumentPorts(TesselModule& song) const
{
    for (TesselInstrument& instrument : song.instruments)
        instrument.midiPortNumber = portIndex(instrument.midiOutPort);
}

bool TesselMidiOut::queueMessage(uint32_t message, int32_t port, int32_t time, bool beforeEqual)
{
    if (port < 0 || port >= portCount())
        return false;
    TesselQueuedMessage m{message, port, port - 1, time < 0 ? 0 : time};
    return (port == 0 ? hostQueue_ : hardwareQueue_).push(m, beforeEqual);
}

void TesselMidiOut::silenceVoices()
{
    if (host_)
        host_->idleMidiVoices();
}

void TesselMidiOut::notesOff()
{
    silenceVoices();
    for (int32_t port = 0; port < portCount(); ++port) {
        TesselMidiPortState& state = ports_[port].state;
        for (int channel = 0; channel < kMidiChannels; ++channel)
            for (int note = 0; note < kMidiNotes; ++note)
                while (state.noteOn[channel][note] > 0) {
                    --state.noteOn[channel][note];
                    queueMessage(midiMessage(0x80 + channel, note, 0), port, 0);
                }
    }
}

void TesselMidiOut::resetControllers()
{
    silenceVoices();
    for (int32_t port = 0; port < portCount(); ++port) {
        resetPortState(ports_[port].state);
        for (int channel = 0; channel < kMidiChannels; ++channel)
            for (int controller : {123, 121, 120})
                queueMessage(midiMessage(0xB0 + channel, controller, 0), port, 0);
    }
}

void TesselMidiOut::countQueued()
{
    hostCount_ = hostQueue_.count(hostCount_);
    hardwareCount_ = hardwareQueue_.count(hardwareCount_);
}

int TesselMidiOut::processBlock(bool immediate)
{
    int handled = sendHostEvents();
    const int moved = scheduleHardware();
    handled += moved;
    if (moved > 0 || immediate)
        sendDue(immediate, false);
    return handled;
}

// Everything left in the queue, due or not, belongs to the next block from
// here on, so its time moves back by one block whatever stopped the loop.
int TesselMidiOut::sendHostEvents()
{
    if (!host_ || hostQueue_.seemsEmpty() || !hostQueue_.lock())
        return 0;
    const int32_t block = host_->blockFrames();
    int n = 0;
    while (n < hostQueue_.size() && n < kMaxHostEvents) {
        const TesselQueuedMessage& m = hostQueue_.at(n);
        const int32_t delta = delayFrames_ + m.time;
        if (delta >= block)
            break;
        VstMidiEvent& e = hostEvents_[n];
        e.type = kVstMidiType;
        e.byteSize = kVstMidiEventByteSize;
        e.deltaFrames = delta < 0 ? 0 : delta;
        e.midiData[0] = static_cast<char>(m.message & 0xFF);
        e.midiData[1] = static_cast<char>((m.message >> 8) & 0xFF);
        e.midiData[2] = static_cast<char>((m.message >> 16) & 0xFF);
        e.midiData[3] = 0;
        eventList_.events[n] = reinterpret_cast<VstEvent*>(&e);
        ++n;
    }
    hostQueue_.dropFront(n);
    hostQueue_.shiftTimes(block > 0 ? block : 0);
    hostQueue_.unlock();
    if (n > 0) {
        eventList_.numEvents = n;
        host_->sendVstEventsToHost(eventList_.get());
    }
    return n;
}

int32_t TesselMidiOut::hardwareMilliseconds(int32_t frames) const
{
    const double rate = host_ ? host_->sampleRate() : 0.0;
    const double ms = rate > 0.0 ? frames * 1000.0 / rate : 0.0;
    return static_cast<int32_t>(std::trunc(ms + hardwareTimeOffset_ + 0.001)) + delayMs_;
}

int TesselMidiOut::scheduleHardware()
{
    if (hardwareQueue_.seemsEmpty() || !hardwareQueue_.lock())
        return 0;
    int moved = 0;
    if (!hardwareQueue_.empty() && schedule_.lock()) {
        const uint32_t now = timers_ ? timers_->now() : 0;
        schedule_.shiftTimes(since(scheduleEpoch_, now));
        scheduleEpoch_ = now;
        for (; moved < hardwareQueue_.size(); ++moved) {
            TesselQueuedMessage m = hardwareQueue_.at(moved);
            m.time = hardwareMilliseconds(m.time);
            if (!schedule_.insert(m, false))
                break;
        }
        schedule_.unlock();
        hardwareQueue_.clear();
    }
    hardwareQueue_.unlock();
    return moved;
}

void TesselMidiOut::timerCallback()
{
    sendDue(false, true);
}

// Sends every scheduled message whose time has come (with frontNow, also the
// earliest ones at once) and leaves one timer pending for the rest.
void TesselMidiOut::sendDue(bool frontNow, bool fromTimer)
{
    if (!schedule_.lock())
        return;
    const uint32_t now = timers_ ? timers_->now() : 0;
    const int32_t elapsed = since(scheduleEpoch_, now);
    int n = 0;
    if (frontNow && !schedule_.empty()) {
        const int32_t first = schedule_.at(0).time;
        for (; n < schedule_.size() && schedule_.at(n).time == first; ++n)
            system_->send(schedule_.at(n).device, schedule_.at(n).message);
    }
    while (n < schedule_.size() && (schedule_.at(n).time <= elapsed || !timers_)) {
        const TesselQueuedMessage& m = schedule_.at(n++);
        system_->send(m.device, m.message);
    }
    schedule_.dropFront(n);
    if (fromTimer)
        timerPending_ = false;
    if (!schedule_.empty() && timers_) {
        const uint32_t due = scheduleEpoch_ + static_cast<uint32_t>(schedule_.at(0).time);
        if (!timerPending_ || since(due, timerDue_) > 0) {
            const int32_t wait = since(now, due);
            if (timers_->schedule(wait > 0 ? static_cast<uint32_t>(wait) : 1, onTimer, this)) {
                timerPending_ = true;
                timerDue_ = due;
            }
        }
    }
    schedule_.unlock();
}
