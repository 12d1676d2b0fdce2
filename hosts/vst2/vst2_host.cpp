#include "vst2_host.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace vst2host {
namespace {
Host* gHost = nullptr;
}

Host::Host() { gHost = this; }
Host::~Host() {
    if (gHost == this) gHost = nullptr;
}

intptr_t VST2_CALL Host::Callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* data,
                                  float opt) {
    if (!gHost) return 0;
    intptr_t answer;
    {
        // The plug-in calls from the audio thread and the host's other threads alike.
        std::lock_guard<std::mutex> guard(gHost->lock);
        gHost->calls.push_back({opcode, index, value, opt});
        answer = gHost->Answer(effect, opcode, index, value, data, opt);
    }
    if (gHost->onCall) gHost->onCall(effect, opcode);
    return answer;
}

intptr_t Host::Answer(AEffect*, int32_t opcode, int32_t, intptr_t, void* data, float) {
    switch (opcode) {
        case HostOp::kAutomate:
        case HostOp::kWantMidi:
        case HostOp::kUpdateDisplay:
        case HostOp::kBeginEdit:
        case HostOp::kEndEdit: return 0;
        case HostOp::kGetTime: return hasTime ? reinterpret_cast<intptr_t>(&time) : 0;
        case HostOp::kGetCurrentProcessLevel: return processLevel;
        case HostOp::kGetVendorVersion: return vendorVersion;
        case HostOp::kGetProductString:
            if (data) std::snprintf(static_cast<char*>(data), 256, "%s", productString.c_str());
            return data ? 1 : 0;
        case HostOp::kProcessEvents: {
            const auto* events = static_cast<const VstEvents*>(data);
            for (int32_t i = 0; events && i < events->numEvents; ++i) {
                const VstEvent* e = events->events[i];
                if (e && e->type == kEventMidi) midiReceived.push_back(*reinterpret_cast<const VstMidiEvent*>(e));
                if (e && e->type == kEventSysEx) {
                    const auto* s = reinterpret_cast<const VstMidiSysexEvent*>(e);
                    sysexReceived.emplace_back(s->sysexDump, s->sysexDump + s->dumpBytes);
                }
            }
            return eventsAnswer;
        }
        default: unexpected.push_back(opcode); return 0;
    }
}

int Host::Count(int32_t opcode) const {
    return static_cast<int>(
        std::count_if(calls.begin(), calls.end(), [&](const HostCall& c) { return c.opcode == opcode; }));
}

std::vector<int32_t> Host::Opcodes() const {
    std::vector<int32_t> out;
    for (const HostCall& c : calls)
        if (c.opcode != HostOp::kGetTime) out.push_back(c.opcode);
    return out;
}

intptr_t Plugin::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* data, float opt) {
    return effect->dispatcher(effect, opcode, index, value, data, opt);
}

void Plugin::Open(float sampleRate, int blockSize) {
    Dispatch(EffectOp::kOpen);
    Dispatch(EffectOp::kSetSampleRate, 0, 0, nullptr, sampleRate);
    Dispatch(EffectOp::kSetBlockSize, 0, blockSize);
    Dispatch(EffectOp::kMainsChanged, 0, 1);
}

void Plugin::Close() {
    if (!effect) return;
    Dispatch(EffectOp::kMainsChanged, 0, 0);
    Dispatch(EffectOp::kClose);
    effect = nullptr;
}

std::string Plugin::Text(int32_t opcode, int32_t index, intptr_t value, float opt) {
    char text[256];
    std::memset(text, 0, sizeof text);
    Dispatch(opcode, index, value, text, opt);
    text[255] = 0;
    return text;
}

std::vector<unsigned char> Plugin::GetChunk(bool isProgram) {
    void* data = nullptr;
    const intptr_t size = Dispatch(EffectOp::kGetChunk, isProgram ? 1 : 0, 0, &data);
    if (size <= 0 || !data) return {};
    const auto* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + size);
}

intptr_t Plugin::SetChunk(const std::vector<unsigned char>& bytes, bool isProgram) {
    std::vector<unsigned char> copy = bytes;  // the plug-in must not keep or read past the host's bytes
    return Dispatch(EffectOp::kSetChunk, isProgram ? 1 : 0, static_cast<intptr_t>(copy.size()), copy.data());
}

namespace {
template <typename Sample>
void RunBlocks(AEffect* effect, const std::vector<std::vector<double>>& input, std::vector<std::vector<double>>* output,
               int block, Plugin::Mode mode) {
    const size_t frames = input.empty() ? 0 : input[0].size();
    std::vector<std::vector<Sample>> in(input.size(), std::vector<Sample>(block)),
        out(output->size(), std::vector<Sample>(block));
    std::vector<Sample*> inPtrs, outPtrs;
    for (auto& c : in) inPtrs.push_back(c.data());
    for (auto& c : out) outPtrs.push_back(c.data());
    for (size_t start = 0; start < frames; start += block) {
        const int n = static_cast<int>(std::min<size_t>(block, frames - start));
        for (size_t c = 0; c < in.size(); ++c)
            for (int k = 0; k < n; ++k) in[c][k] = static_cast<Sample>(input[c][start + k]);
        for (auto& c : out) std::fill(c.begin(), c.end(), Sample(0));
        if constexpr (sizeof(Sample) == sizeof(double)) {
            effect->processDoubleReplacing(effect, inPtrs.data(), outPtrs.data(), n);
        } else if (mode == Plugin::Mode::kAccumulating) {
            effect->process(effect, inPtrs.data(), outPtrs.data(), n);
        } else {
            effect->processReplacing(effect, inPtrs.data(), outPtrs.data(), n);
        }
        for (size_t c = 0; c < out.size(); ++c)
            for (int k = 0; k < n; ++k) (*output)[c][start + k] = out[c][k];
    }
}
}  // namespace

std::vector<std::vector<double>> Plugin::Run(const std::vector<std::vector<double>>& input, int outputs, int block,
                                             Mode mode) {
    std::vector<std::vector<double>> output(outputs, std::vector<double>(input.empty() ? 0 : input[0].size()));
    if (mode == Mode::kDouble)
        RunBlocks<double>(effect, input, &output, block, mode);
    else
        RunBlocks<float>(effect, input, &output, block, mode);
    return output;
}

#ifdef _WIN32
Module::~Module() {
    if (handle) FreeLibrary(static_cast<HMODULE>(handle));
}

bool Module::Open(const std::string& path, std::string* error) {
    handle = LoadLibraryA(WindowsPath(path).c_str());
    if (!handle) *error = "cannot load " + path;
    return handle != nullptr;
}

void* Module::Symbol(const char* name) const {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

std::string WindowsPath(const std::string& path) { return !path.empty() && path[0] == '/' ? "Z:" + path : path; }
#else
Module::~Module() {
    if (handle) dlclose(handle);
}

// Every symbol bound at load and none of the module's seen by later loads, as hosts load plug-ins.
bool Module::Open(const std::string& path, std::string* error) {
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) *error = "cannot load " + path + ": " + dlerror();
    return handle != nullptr;
}

void* Module::Symbol(const char* name) const { return dlsym(handle, name); }

std::string WindowsPath(const std::string& path) { return path; }
#endif

bool Module::Load(const std::string& path, std::string* error) {
    if (!Open(path, error)) return false;
    entry = reinterpret_cast<EntryProc>(Symbol("VSTPluginMain"));
    mainEntry = reinterpret_cast<EntryProc>(Symbol("main"));
    if (!entry) *error = path + " exports no VSTPluginMain";
    return entry != nullptr;
}

}  // namespace vst2host
