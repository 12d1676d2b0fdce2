// The VST3 state stream, handed to the component (setState) and then to the controller
// (setComponentState) as a host does. Whatever the bytes, the values stay in range, the next
// block of finite input gives finite output, and the saved state reads back to the same values.
#include <cmath>
#include <cstdint>
#include <memory>

#include "fuzz_check.h"
#include "host_doubles.h"

using namespace testhost;

namespace {
constexpr int kFrames = 32;

// One plug-in per host identity, set up once: every input restores over the last one's state.
Plugin& PluginFor(bool waveLab) {
    static Plugin* plugins[2] = {};
    Plugin*& p = plugins[waveLab];
    if (!p) {
        p = new Plugin(waveLab ? "WaveLab 8" : "Test Host");
        p->Setup(kSample32, kFrames);
    }
    return *p;
}

std::vector<double> Values(TavrelZel4* plug) {
    std::vector<double> v;
    for (int i = 0; i < plug->NParams(); ++i) v.push_back(plug->GetParam(i)->Value());
    return v;
}
}  // namespace

// First byte: bit 0 makes reads report failure after delivering bytes, bit 1 identifies the host
// as the one that does so, bits 2 to 7 give the stream position the state starts at.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 4096) return 0;
    Plugin& p = PluginFor(data[0] & 2);
    const std::vector<char> bytes(data + 1, data + size);
    const int32 start = std::min<int32>(data[0] >> 2, static_cast<int32>(bytes.size()));
    for (int entry = 0; entry < 2; ++entry) {
        MemoryStream stream(bytes);
        stream.pos = start;
        stream.failReads = data[0] & 1;
        const tresult result = entry == 0 ? p.plug->setState(&stream) : p.plug->setComponentState(&stream);
        FUZZ_CHECK(result == kResultOk || result == kResultFalse);
        if (result == kResultOk) FUZZ_CHECK(stream.pos == start + 8 * p.plug->NParams() + 4);
    }
    for (int i = 0; i < p.plug->NParams(); ++i) {
        const IFxParam* param = p.plug->GetParam(i);
        FUZZ_CHECK(param->Value() >= param->Min() && param->Value() <= param->Max());
    }

    float in[2][kFrames], out[2][kFrames];
    for (int i = 0; i < kFrames; ++i) in[0][i] = in[1][i] = 0.9f * std::sin(0.3f * i);
    float* ins[] = {in[0], in[1]};
    float* outs[] = {out[0], out[1]};
    p.Process(nullptr, ins, outs, kFrames);
    for (int i = 0; i < kFrames; ++i) FUZZ_CHECK(std::isfinite(out[0][i]) && std::isfinite(out[1][i]));

    MemoryStream saved;
    FUZZ_CHECK(p.plug->getState(&saved) == kResultOk && saved.data.size() == 8u * p.plug->NParams() + 4);
    const std::vector<double> before = Values(p.plug);
    const bool bypassed = p.plug->IsBypassed();
    saved.pos = 0;
    saved.failReads = false;
    FUZZ_CHECK(p.plug->setState(&saved) == kResultOk);
    FUZZ_CHECK(Values(p.plug) == before && p.plug->IsBypassed() == bypassed);
    return 0;
}
