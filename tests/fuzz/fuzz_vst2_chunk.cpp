// VST2 program and bank chunks as a host hands them back (set chunk). Whatever the bytes, the
// values stay in range, and a chunk the plug-in writes reads back to the same chunk.
#include <cstdint>
#include <cstring>
#include <vector>

#include "effect/tavrelzel4.h"
#include "fuzz_check.h"

extern "C" Vst2::AEffect* VST2_CALL VSTPluginMain(Vst2::audioMasterCallback audioMaster);

namespace {
intptr_t VST2_CALL Host(Vst2::AEffect*, int32_t, int32_t, intptr_t, void*, float) {
    return 0;  // a host that answers nothing
}

Vst2::AEffect* Effect() {
    static Vst2::AEffect* effect = [] {
        Vst2::AEffect* e = VSTPluginMain(Host);
        e->dispatcher(e, Vst2::EffectOp::kOpen, 0, 0, nullptr, 0.0f);
        return e;
    }();
    return effect;
}

std::vector<unsigned char> GetChunk(Vst2::AEffect* e, bool program) {
    void* data = nullptr;
    const intptr_t size = e->dispatcher(e, Vst2::EffectOp::kGetChunk, program, 0, &data, 0.0f);
    FUZZ_CHECK(size > 0 && data);
    const auto* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + size);
}
}  // namespace

// First byte: bit 0 selects a program chunk (else a bank); then the chunk.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 65536) return 0;
    Vst2::AEffect* e = Effect();
    const bool program = data[0] & 1;
    std::vector<unsigned char> chunk(data + 1, data + size);
    e->dispatcher(e, Vst2::EffectOp::kSetChunk, program, static_cast<intptr_t>(chunk.size()), chunk.data(), 0.0f);
    auto* plug = static_cast<TavrelZel4*>(static_cast<IFxVST*>(e->object));
    for (int i = 0; i < plug->NParams(); ++i) {
        const IFxParam* p = plug->GetParam(i);
        FUZZ_CHECK(p->Value() >= p->Min() && p->Value() <= p->Max());
    }
    std::vector<unsigned char> saved = GetChunk(e, program);
    FUZZ_CHECK(e->dispatcher(e, Vst2::EffectOp::kSetChunk, program, static_cast<intptr_t>(saved.size()), saved.data(),
                             0.0f) == 1);
    FUZZ_CHECK(GetChunk(e, program) == saved);
    return 0;
}
