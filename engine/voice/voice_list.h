#pragma once
// The chains that hang voices on channels. The first node of a channel's
// chain is its current voice; further nodes hold past notes still sounding.
// Nodes come from the voice-list pool, voices from the voice pool.

#include <cstdint>

class TesselVoice;
class TesselModule;
class TesselEngine;
class TesselChannel;
class TesselSubrow;

struct TesselVoiceListNode {
    TesselVoice* voice = nullptr;
    int8_t delay = -1;   // pending note delay in ticks; -1 = none
    TesselVoiceListNode* previous = nullptr;
    TesselVoiceListNode* next = nullptr;

    // The delay, then the voice: copied, returned to the voice pool, or
    // acquired as a copy, as the two nodes have one.
    void assign(const TesselVoiceListNode& source);
    // Delay -1, the voice reset and idle.
    void reset();
    // Returns the voice to the voice pool (a busy pool loses it), then
    // unlinks this node.
    void release();
    // Links a node assigned from the source after the last node of the chain.
    bool append(const TesselVoiceListNode& source);
    // Returns every later node to the voice-list pool. A busy pool is retried
    // for at most 100 ms; false when nodes had to be left in the chain.
    bool releaseFollowing();
    TesselVoiceListNode* last();

    // Setters and releases on the node's voice; nothing without a voice.
    void setState(uint8_t s);       // the voice and every event of its chain
    void setStateOnly(uint8_t s);
    void setNote(int8_t n);
    void setVelocity(uint8_t v);
    void setKey(int8_t k);
    // Instrument number n (1..99) of the module; 0 or out of range: none.
    void setInstrument(TesselModule& module, int n);
    void addFlags(uint16_t f);
    void cutAll();        // note text "^^^"
    void noteOffAll();    // note text "==="
    void fadeAll();
    // The voice's new-note action: cut, continue, note off or fade.
    void applyNewNoteAction();
    // Envelopes whose instrument setting carries them take the other voice's state.
    void carryEnvelopes(const TesselVoiceListNode& other);

    // Row processing, song lock held. The node row step: the subrow (null:
    // only count a pending note delay down) becomes the voice's row on the
    // live record `live`; frame `blockOffset` of the block. Returns a node
    // holding the displaced old voice, or null.
    TesselVoiceListNode* processRow(TesselEngine& engine, TesselModule& module, TesselChannel& live, int blockOffset,
                                    const TesselSubrow* subrow, int subrowIndex);
};

class TesselChannelVoiceList {
public:
    static constexpr int kCount = 65;        // 64 song channels and the preview channel
    static constexpr int kPreview = 64;

    TesselChannelVoiceList() = default;
    ~TesselChannelVoiceList();
    TesselChannelVoiceList(const TesselChannelVoiceList&) = delete;
    TesselChannelVoiceList& operator=(const TesselChannelVoiceList&) = delete;

    TesselVoiceListNode* nodeAt(int n) const;
    // Without a node: a new, reset node becomes the head (the old head, if
    // any, follows it as a past note). With a node: a node assigned from the
    // source is linked in front of it. False when no node was available.
    bool insert(TesselVoiceListNode* before, const TesselVoiceListNode* source);
    // Returns every node to the voice-list pool; the list is empty afterwards.
    void releaseAll();

    // Row processing, song lock held. The channel row step on the node at
    // `position` (0 = the current voice): past-note actions, the node row
    // step, new-note actions, envelope carry and the duplicate check. A null
    // subrow only counts a pending note delay down; subrowIndex -1 = none.
    void processRow(TesselEngine& engine, TesselModule& module, int blockOffset, int position,
                    const TesselSubrow* subrow, int subrowIndex);

    TesselVoiceListNode* head = nullptr;
    int32_t channel = -1;
};
