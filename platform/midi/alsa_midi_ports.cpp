// MIDI output through the ALSA sequencer: one client with one source port;
// each writable, subscribable port of another client is an output port.
#include "platform/midi/midi_ports.h"

#include <alsa/asoundlib.h>

#include <mutex>
#include <vector>

#include <unistd.h>

namespace platform {
namespace {

constexpr char kSequencerDevice[] = "/dev/snd/seq";

struct PortAddress {
    int client;
    int port;
    std::string name;
    bool connected;
};

class AlsaMidiPorts final : public MidiPorts {
public:
    AlsaMidiPorts()
    {
        // Without the sequencer device the library would only complain on stderr.
        if (access(kSequencerDevice, F_OK) != 0 || snd_seq_open(&seq_, "default", SND_SEQ_OPEN_OUTPUT, 0) < 0) {
            seq_ = nullptr;
            return;
        }
        snd_seq_set_client_name(seq_, "Quorbel");
        source_ = snd_seq_create_simple_port(seq_, "Quorbel MIDI out",
                                             SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
                                             SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
        if (source_ < 0) {
            snd_seq_close(seq_);
            seq_ = nullptr;
            return;
        }
        listPorts();
    }

    ~AlsaMidiPorts() override
    {
        if (!seq_)
            return;
        for (int i = 0; i < count(); ++i)
            close(i);
        snd_seq_close(seq_);
    }

    int count() const override { return static_cast<int>(ports_.size()); }

    std::string name(int port) const override { return valid(port) ? ports_[port].name : std::string(); }

    bool open(int port) override
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (!valid(port))
            return false;
        PortAddress& p = ports_[port];
        if (!p.connected)
            p.connected = snd_seq_connect_to(seq_, source_, p.client, p.port) >= 0;
        return p.connected;
    }

    void close(int port) override
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (!valid(port) || !ports_[port].connected)
            return;
        snd_seq_disconnect_to(seq_, source_, ports_[port].client, ports_[port].port);
        ports_[port].connected = false;
    }

    bool send(int port, uint32_t message) override
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (!valid(port) || !ports_[port].connected)
            return false;
        snd_seq_event_t ev;
        if (!encode(message, ev))
            return false;
        snd_seq_ev_set_source(&ev, source_);
        snd_seq_ev_set_dest(&ev, ports_[port].client, ports_[port].port);
        snd_seq_ev_set_direct(&ev);
        return snd_seq_event_output_direct(seq_, &ev) >= 0;
    }

private:
    bool valid(int port) const { return seq_ && port >= 0 && port < count(); }

    void listPorts()
    {
        const int self = snd_seq_client_id(seq_);
        snd_seq_client_info_t* client;
        snd_seq_port_info_t* port;
        snd_seq_client_info_alloca(&client);
        snd_seq_port_info_alloca(&port);
        const unsigned wanted = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
        snd_seq_client_info_set_client(client, -1);
        while (snd_seq_query_next_client(seq_, client) >= 0) {
            const int id = snd_seq_client_info_get_client(client);
            if (id == self || id == SND_SEQ_CLIENT_SYSTEM)
                continue;
            snd_seq_port_info_set_client(port, id);
            snd_seq_port_info_set_port(port, -1);
            while (snd_seq_query_next_port(seq_, port) >= 0) {
                if ((snd_seq_port_info_get_capability(port) & wanted) != wanted)
                    continue;
                ports_.push_back({id, snd_seq_port_info_get_port(port), snd_seq_port_info_get_name(port), false});
            }
        }
    }

    static bool encode(uint32_t message, snd_seq_event_t& ev)
    {
        snd_seq_ev_clear(&ev);
        const unsigned status = message & 0xF0;
        const unsigned channel = message & 0x0F;
        const unsigned data1 = (message >> 8) & 0x7F;
        const unsigned data2 = (message >> 16) & 0x7F;
        switch (status) {
        case 0x80:
            snd_seq_ev_set_noteoff(&ev, channel, data1, data2);
            return true;
        case 0x90:
            snd_seq_ev_set_noteon(&ev, channel, data1, data2);
            return true;
        case 0xA0:
            snd_seq_ev_set_keypress(&ev, channel, data1, data2);
            return true;
        case 0xB0:
            snd_seq_ev_set_controller(&ev, channel, data1, data2);
            return true;
        case 0xC0:
            snd_seq_ev_set_pgmchange(&ev, channel, data1);
            return true;
        case 0xD0:
            snd_seq_ev_set_chanpress(&ev, channel, data1);
            return true;
        case 0xE0:
            snd_seq_ev_set_pitchbend(&ev, channel, static_cast<int>((data2 << 7) | data1) - 8192);
            return true;
        default:
            return false;
        }
    }

    snd_seq_t* seq_ = nullptr;
    int source_ = -1;
    std::vector<PortAddress> ports_;
    std::mutex lock_;
};

} // namespace

std::unique_ptr<MidiPorts> openSystemMidiPorts()
{
    return std::make_unique<AlsaMidiPorts>();
}

} // namespace platform
