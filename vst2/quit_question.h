#pragma once
// What the stand-alone host asks its plug-in before it quits, through the
// VST 2 vendor-specific call (effVendorSpecific with index kVendorQuitQuestion):
// the plug-in may offer to save what the user would lose and answers
// whether the host may go. A plug-in that knows nothing of it answers 0,
// and the host asks its own question; no other host sends it, so a DAW
// closing the editor is asked nothing.

#include "vst2/effect_record.h"

// 'QbQt' as a four-character code.
constexpr VstInt32 kVendorQuitQuestion = ('Q' << 24) | ('b' << 16) | ('Q' << 8) | 't';

enum QuitAnswer : VstIntPtr {
    kQuitNotAnswered = 0,   // the host asks its own question
    kQuitNothingLost = 1,   // nothing unsaved: the host asks its own question
    kQuitGo = 2,            // the user answered (saved, or let the edits go): quit now
    kQuitStay = 3,          // the user cancelled: the host stays
};
