#pragma once
// A small plug-in on the VST2 binding for in-process tests: three parameters (a toggle, a range
// shown with two decimals, a range shown negated), output = input x 0.5 on every channel, and
// counters for what the binding calls.
#include <algorithm>
#include <string>
#include <vector>

#include "framework/vst2/ifxvst.h"
#include "tests/framework/lock_probe.h"
#include "vst2_host.h"

struct TestConfig {
    const char* channelIo = "1-1 2-2";
    int presets = 1;
    bool doesMidi = false;
    bool doesChunks = false;
    bool isInstrument = false;
    bool namePresets = true;  // the constructor fills its presets, named "-"
};

class TestVst : public IFxVST {
public:
    enum { kSwitch, kGain, kTrim, kNumParams };
    static TestConfig next;  // the configuration of the next instance CreateEffect makes

    TestVst() : IFxVST(Options(next)) {
        GetParam(kSwitch)->DefineToggle("Switch", false, "", "");
        GetParam(kGain)->DefineRange("Gain", 5, 0, 10, 0.01, "dB", "", 1.0);
        GetParam(kTrim)->DefineRange("Trim", 0, 0, 10, 1, "", "", 1.0);
        GetParam(kTrim)->SetNegateDisplay(true);
        if (next.namePresets) FillDefaultPresets("-", next.presets);
    }

    static IFxOptions Options(const TestConfig& config) {
        IFxOptions options;
        options.nParams = kNumParams;
        options.channelIo = config.channelIo;
        options.nPresets = config.presets;
        options.effectName = "Test Effect";
        options.productName = "Test Product";
        options.makerName = "Test Maker";
        options.version = 0x10101;
        options.uniqueId = FourCC("TvT2");
        options.makerId = FourCC("TvRl");
        options.doesMidi = config.doesMidi;
        options.doesChunks = config.doesChunks;
        options.isInstrument = config.isInstrument;
        return options;
    }
    static Vst2::AEffect* Create(const TestConfig& config = TestConfig(),
                                 Vst2::audioMasterCallback audioMaster = vst2host::Host::Callback) {
        next = config;
        return CreateEffect(audioMaster, [] { return static_cast<IFxVST*>(new TestVst()); });
    }
    static TestVst* Of(Vst2::AEffect* effect) { return static_cast<TestVst*>(static_cast<IFxVST*>(effect->object)); }

    void ParameterChanged(int paramIdx, int source) override { changes.push_back({paramIdx, source}); }
    void ResetProcessing() override { ++resets; }
    void OnGuiIdle() override { ++idles; }
    void ProcessDoubles(double** inputs, double** outputs, int frames) override {
        largestPiece = std::max(largestPiece, frames);
        for (int c = 0; c < NOutChannels(); ++c)
            for (int k = 0; k < frames; ++k) outputs[c][k] = c < NInChannels() ? inputs[c][k] * 0.5 : 0.0;
    }

    void EditorOpened() override { NoteEditor("opened"); }
    void EditorClosed() override { NoteEditor("closed"); }
    // Notes what happened to the editor and whether another thread (the audio thread) could take
    // the plug-in mutex meanwhile.
    void NoteEditor(const char* what) {
        editorLog += std::string(what) + (FreeForAnotherThread(GetMutex()) ? " free, " : " held, ");
    }

    struct Change {
        int index, source;
    };
    std::vector<Change> changes;
    std::string editorLog;
    int resets = 0, idles = 0, largestPiece = 0;
};
