#pragma once
// A binding for tests: answers the host-facing slots, and records every ParameterChanged and
// host notification together with whether the plug-in mutex was held at the time.
#include <string>
#include <vector>

#include "framework/fxbase.h"

struct RecordedCall {
    std::string what;
    int index;
    double value;
    bool locked;
};

class TestBinding : public IFxBase {
public:
    explicit TestBinding(int nParams = 8, const char* channelIo = "1-1 2-2", int nPresets = 1, ApiCode api = kApiVST3)
        : IFxBase(nParams, channelIo, nPresets, "Effect", "Product", "Maker", 0x10101, FourCC("TZl4"), FourCC("Tavr"),
                  0, false, true, false, api) {}
    // The shape of every binding's constructor: IFxBase's arguments without the ApiCode.
    TestBinding(int nParams, const char* channelIo, int nPresets, const char* effectName, const char* productName,
                const char* makerName, int version, int uniqueId, int makerId, int latency, bool doesMidi,
                bool doesChunks, bool isInstrument)
        : IFxBase(nParams, channelIo, nPresets, effectName, productName, makerName, version, uniqueId, makerId, latency,
                  doesMidi, doesChunks, isInstrument, kApiVST3) {}

    std::vector<RecordedCall> calls;

    void ParameterChanged(int paramIdx, int source) override {
        calls.push_back({"changed", paramIdx, double(source), GetMutex().IsHeldByCurrentThread()});
    }
    void BeginInformHostOfParamChange(int paramIdx) override { Record("begin", paramIdx, 0); }
    void InformHostOfParamChange(int paramIdx, double normalized) override { Record("inform", paramIdx, normalized); }
    void EndInformHostOfParamChange(int paramIdx) override { Record("end", paramIdx, 0); }
    void RequestHostRefresh() override {}
    int HostSamplePosition() override { return 0; }
    double HostTempo() override { return 120.0; }
    void HostTimeSignature(int* numerator, int* denominator) override { *numerator = *denominator = 4; }
    void HostTimeInfo(ITimeInfo*) override {}
    void RequestEditorResize(int, int) override {}
    bool SendMidiEvent(IMidiEvent* event) override {
        Record("midi", event->status, event->data1);
        return false;
    }

private:
    void Record(const char* what, int index, double value) {
        calls.push_back({what, index, value, GetMutex().IsHeldByCurrentThread()});
    }
};
