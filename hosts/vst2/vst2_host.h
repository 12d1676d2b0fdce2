#pragma once
// A stand-in VST2 host: answers the host-callback opcodes the plug-in uses and records every
// call, and drives an effect record through its entries; the module loader loads a plug-in DLL
// on Windows and a shared object elsewhere. All but the loader also serves in-process tests of
// the binding.
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "sdk/vst2/aeffect.h"

namespace vst2host {
using namespace Vst2;

struct HostCall {
    int32_t opcode;
    int32_t index;
    intptr_t value;
    float opt;
};

// One host at a time: the callback reaches the host object that was constructed last.
class Host {
public:
    Host();
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    static intptr_t VST2_CALL Callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* data,
                                       float opt);

    // What the host answers; tests set these.
    std::string productString = "Stand-in host";
    intptr_t vendorVersion = 10000;
    intptr_t processLevel = 0;
    bool hasTime = true;
    VstTimeInfo time{};
    intptr_t eventsAnswer = 1;
    // Runs inside every callback after it is recorded, e.g. to call back into the plug-in.
    std::function<void(AEffect* effect, int32_t opcode)> onCall;

    std::vector<HostCall> calls;
    std::vector<int32_t> unexpected;  // opcodes the plug-in has no business asking
    std::vector<VstMidiEvent> midiReceived;
    std::vector<std::vector<char>> sysexReceived;

    int Count(int32_t opcode) const;
    // The opcodes in call order, without get-time queries (which the audio thread makes often).
    std::vector<int32_t> Opcodes() const;

private:
    std::mutex lock;  // guards the records while a callback fills them
    intptr_t Answer(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* data, float opt);
};

// Drives one effect record. Owns nothing: Close hands the plug-in back to itself.
class Plugin {
public:
    explicit Plugin(AEffect* record = nullptr) : effect(record) {}

    intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* data = nullptr, float opt = 0.0f);
    // Open, sample rate, block size and resume, as a host does before audio.
    void Open(float sampleRate, int blockSize);
    void Close();
    // A text opcode into a 256-byte buffer.
    std::string Text(int32_t opcode, int32_t index = 0, intptr_t value = 0, float opt = 0.0f);
    std::vector<unsigned char> GetChunk(bool isProgram);
    intptr_t SetChunk(const std::vector<unsigned char>& bytes, bool isProgram);

    // Channel-major audio through one of the three process entries, in host blocks of `block`.
    enum class Mode { kReplacing, kAccumulating, kDouble };
    std::vector<std::vector<double>> Run(const std::vector<std::vector<double>>& input, int outputs, int block,
                                         Mode mode);

    AEffect* effect;
};

// A plug-in module and its entries.
class Module {
public:
    Module() = default;
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;
    ~Module();
    bool Load(const std::string& path, std::string* error);
    EntryProc entry = nullptr;      // VSTPluginMain
    EntryProc mainEntry = nullptr;  // the older name, which only the Windows modules export
    void* handle = nullptr;

private:
    bool Open(const std::string& path, std::string* error);
    void* Symbol(const char* name) const;
};

// A Unix path as Wine's programs see it; unchanged elsewhere.
std::string WindowsPath(const std::string& path);

}  // namespace vst2host
