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
        : IFxBase(Options(nParams, channelIo, nPresets), api) {}
    // The shape of every binding's constructor.
    explicit TestBinding(const IFxOptions& options) : IFxBase(options, kApiVST3) {}

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
    static IFxOptions Options(int nParams, const char* channelIo, int nPresets) {
        IFxOptions options;
        options.nParams = nParams;
        options.channelIo = channelIo;
        options.nPresets = nPresets;
        options.effectName = "Effect";
        options.productName = "Product";
        options.makerName = "Maker";
        options.version = 0x10101;
        options.uniqueId = FourCC("TZl4");
        options.makerId = FourCC("Tavr");
        options.doesChunks = true;
        return options;
    }
    void Record(const char* what, int index, double value) {
        calls.push_back({what, index, value, GetMutex().IsHeldByCurrentThread()});
    }
};
