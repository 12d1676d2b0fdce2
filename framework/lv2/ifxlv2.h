#pragma once
// IFxLV2: the plug-in core behind LV2 plug-in descriptors. The host finds a descriptor through the
// module's lv2_descriptor, instantiates it and drives the instance through the descriptor's
// functions and the state extension. run holds the plug-in mutex for its whole block; state save
// and restore hold it only to take or apply the state. connect_port never runs beside run, and
// the life-cycle functions beside no other function of the instance.
//
// Ports, in this order: one input control port per parameter (port i is parameter i, in plain
// units), the latency output port when the plug-in has latency, the audio inputs, the audio
// outputs (one of each per channel).
//
// Files: ifxlv2.cpp (construction, the core's host operations), ifxlv2_descriptor.cpp (the
// descriptor functions, instantiate), ifxlv2_run.cpp (ports and run), ifxlv2_state.cpp (the state
// extension).
#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <vector>

#include "framework/fxbase.h"

// Where the edits an editor makes go on the UI side: its instance of the plug-in class has no
// host of its own. Values are plain, as the control ports take them.
struct IFxLV2EditSink {
    // [UI thread]
    virtual void BeginEdit(int paramIdx) = 0;
    virtual void Edit(int paramIdx, double plain) = 0;
    virtual void EndEdit(int paramIdx) = 0;
};

class IFxLV2;

// One plug-in of the module: the host's descriptor first (the host hands its address back to
// instantiate), then what instantiate makes of it.
struct IFxLV2Descriptor {
    LV2_Descriptor lv2;
    int channels;               // audio inputs and outputs, each
    IFxLV2* (*create)();        // a new plug-in, or null
    const char* stateProperty;  // the URI the state is saved under
};

class IFxLV2 : public IFxBase {
public:
    explicit IFxLV2(const IFxOptions& options);
    ~IFxLV2() override;

    // The descriptor record of one plug-in; the caller keeps it for the module's lifetime.
    // [any thread]
    static IFxLV2Descriptor Describe(const char* uri, int channels, IFxLV2* (*create)(), const char* stateProperty);

    // The port layout.
    // [any thread]
    bool HasLatencyPort() const { return GetLatency() > 0; }
    int FirstAudioPort() const { return NParams() + (HasLatencyPort() ? 1 : 0); }

    // Set by the UI side (null to stop): the editor's gestures go to sink. The DSP side has none.
    // [UI thread]
    void SetEditSink(IFxLV2EditSink* sink) { mEditSink = sink; }

    // ---- Core operations answered for the host (ifxlv2.cpp) ----
    // Forwarded to the edit sink when there is one.
    // [UI thread]
    void BeginInformHostOfParamChange(int paramIdx) override;
    void InformHostOfParamChange(int paramIdx, double normalized) override;
    void EndInformHostOfParamChange(int paramIdx) override;
    // [any thread]
    void RequestHostRefresh() override {}
    // No transport reaches the plug-in: position 0, 120 beats a minute in 4/4, stopped.
    // [audio thread, plug-in lock held by caller]
    int HostSamplePosition() override { return 0; }
    double HostTempo() override { return 120.0; }
    void HostTimeSignature(int* numerator, int* denominator) override;
    void HostTimeInfo(ITimeInfo* info) override;
    // The editor keeps its size: the UI side reports it to the host.
    // [UI thread]
    void RequestEditorResize(int /*width*/, int /*height*/) override {}
    // [audio thread, plug-in lock held by caller]
    bool SendMidiEvent(IMidiEvent* /*event*/) override { return false; }

private:
    // ---- The descriptor functions (ifxlv2_descriptor.cpp, ifxlv2_run.cpp, ifxlv2_state.cpp) ----
    // Null when it cannot serve: no urid:map, a rate outside 8 kHz..768 kHz, no bundle folder, no
    // plug-in.
    // [main thread, takes the plug-in lock only to set up the channels and the rate]
    static LV2_Handle Instantiate(const LV2_Descriptor* descriptor, double rate, const char* bundlePath,
                                  const LV2_Feature* const* features);
    // Between blocks, or before the first.
    // [audio thread]
    static void ConnectPort(LV2_Handle instance, uint32_t port, void* data);
    // [main thread, takes the plug-in lock]
    static void Activate(LV2_Handle instance);
    static void Deactivate(LV2_Handle instance);
    // [main thread]
    static void Cleanup(LV2_Handle instance);
    // [any thread]
    static const void* ExtensionData(const char* uri);
    // [audio thread, takes the plug-in lock] for the whole block
    static void Run(LV2_Handle instance, uint32_t frames);
    // [any thread, takes the plug-in lock only to take the state]
    static LV2_State_Status Save(LV2_Handle instance, LV2_State_Store_Function store, LV2_State_Handle handle,
                                 uint32_t flags, const LV2_Feature* const* features);
    // [main thread, takes the plug-in lock only to apply the state]
    static LV2_State_Status Restore(LV2_Handle instance, LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle,
                                    uint32_t flags, const LV2_Feature* const* features);

    // Sizes the ports for channels, maps the URIs and sets the rate. False when it cannot.
    // [main thread, takes the plug-in lock only to set up the channels and the rate]
    bool SetUp(const IFxLV2Descriptor& descriptor, double rate, const LV2_URID_Map& map);
    // Each control port whose value changed since the last block, as the host's automation.
    // [audio thread, plug-in lock held by caller]
    void ApplyControlPorts();
    // [audio thread, plug-in lock held by caller]
    void ProcessBlock(uint32_t frames);

    IFxLV2EditSink* mEditSink = nullptr;
    int mChannels = 0;
    // Port buffers as the host connected them (null: not yet), and the control values last applied.
    std::vector<const float*> mControls;
    std::vector<float> mApplied;
    float* mLatencyPort = nullptr;
    std::vector<float*> mAudioIn, mAudioOut;
    LV2_URID mStateKey = 0;
    LV2_URID mChunkType = 0;
};
