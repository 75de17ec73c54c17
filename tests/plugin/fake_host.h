#pragma once
// A host callback that records every request and answers from a table the
// test fills. One recorder per process; each test resets it.

#include "vst2/effect_record.h"

#include <map>
#include <vector>

struct HostCall {
    AEffect* effect;
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    void* ptr;
    float opt;
};

struct FakeHost {
    std::vector<HostCall> calls;
    std::map<VstInt32, VstIntPtr> answers;

    static FakeHost& get()
    {
        static FakeHost host;
        return host;
    }
    static void reset()
    {
        get().calls.clear();
        get().answers.clear();
    }
    static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                              float opt)
    {
        FakeHost& host = get();
        host.calls.push_back({effect, opcode, index, value, ptr, opt});
        auto it = host.answers.find(opcode);
        return it == host.answers.end() ? 0 : it->second;
    }
};
