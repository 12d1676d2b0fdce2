#pragma once
// IFxAAX: the plug-in core on the AAX library's effect-parameters object. The host creates the
// plug-in through the effect description's factory, initializes it with its controller (which
// registers the parameters), renders through RenderBlock, and releases it through CACFUnknown.
//
// Threads: RenderBlock runs on the host's audio thread and holds the plug-in mutex for the whole
// block. UpdateParameterFromHost holds it only around the framework update; the chunk entries
// lock inside the core's WriteState and ReadState. Everything else runs on whichever thread the
// host calls from.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "aax-library/effect_parameters.h"
#include "aax-library/parameter.h"
#include "framework/fxbase.h"

// The instance context of one rendered block, as declared by the effect description.
struct AAX_CMidiPacket {
    uint32_t timestamp;  // sample offset in the block
    uint8_t status, data1, data2, reserved;
};
struct AAX_CMidiStream {
    uint32_t count;
    const AAX_CMidiPacket* packets;
};
class AAX_CIFxParameters;
struct AAX_CIFxContext {
    float** inputs;   // 0
    float** outputs;  // 1
    void* field2;
    int32_t* frames;  // 3
    void* field4;
    const AAX_CMidiStream* midi;      // 5 (when the plug-in takes MIDI)
    void* globalMidi;                 // 6
    AAX_ITransport* transport;        // 7
    AAX_CIFxParameters* const* self;  // 8: private data filled by QueryCustomData(8)
    void* meters;                     // 9
};
enum AAX_CIFxField : uint32_t {
    kFieldInputs = 0,
    kFieldOutputs = 1,
    kFieldFrames = 3,
    kFieldMidi = 5,
    kFieldGlobalMidi = 6,
    kFieldTransport = 7,
    kFieldPrivate = 8,
    kFieldMeters = 9
};
// The host lays the context out as one pointer per field, in field order; a MIDI packet is 8 bytes.
#define IFX_AAX_FIELD_AT(field, index) \
    static_assert(offsetof(AAX_CIFxContext, field) == (index) * sizeof(void*), "context field " #field)
IFX_AAX_FIELD_AT(inputs, kFieldInputs);
IFX_AAX_FIELD_AT(outputs, kFieldOutputs);
IFX_AAX_FIELD_AT(frames, kFieldFrames);
IFX_AAX_FIELD_AT(midi, kFieldMidi);
IFX_AAX_FIELD_AT(globalMidi, kFieldGlobalMidi);
IFX_AAX_FIELD_AT(transport, kFieldTransport);
IFX_AAX_FIELD_AT(self, kFieldPrivate);
IFX_AAX_FIELD_AT(meters, kFieldMeters);
#undef IFX_AAX_FIELD_AT
static_assert(sizeof(AAX_CIFxContext) == (kFieldMeters + 1) * sizeof(void*), "context size");
static_assert(sizeof(AAX_CMidiPacket) == 8, "MIDI packet size");

// The effect-parameters part the host holds: the master bypass, the transport of the block being
// rendered, and the AAX id text of every framework parameter.
class AAX_CIFxParameters : public AAX_CEffectParameters {
public:
    AAX_CIFxParameters();
    ~AAX_CIFxParameters() override;

    // Forgets the master bypass before the library deletes the parameters.
    // [main thread]
    int32_t ACF_CALL Uninitialize() override;
    // Id 8 receives this object's address (when the block can hold a pointer); any other id, or a
    // too small block, is zero-filled. The host asks while it sets up the render context, the GUI
    // object when it looks for the editor.
    // [any thread]
    int32_t ACF_CALL QueryCustomData(uint32_t dataId, void* out, uint32_t size) const override;
    // Renders one block, through the process procedure.
    // [audio thread, takes the plug-in lock] for the whole block
    virtual void RenderBlock(const AAX_CIFxContext* context) = 0;  // 49

protected:
    // The AAX id of framework parameter i ("" when there is none).
    const char* ParamId(int paramIdx) const;

    AAX_IParameter* mMasterBypass = nullptr;  // owned by the library's registry
    AAX_ITransport* mCurrentTransport = nullptr;
    PointerList<GrowString> mParamIds;
};

class IFxAAX : public IFxBase, public AAX_CIFxParameters {
public:
    explicit IFxAAX(const IFxOptions& options);
    ~IFxAAX() override;

    // ---- Set-up and parameters (ifxaax.cpp), host thread ----
    // Called by the library's initialization: the master bypass, then one AAX parameter per
    // framework parameter, then the host's sample rate; preset 0 is then applied so processing
    // follows the values the host sees. The library's registry owns the parameters.
    // [main thread, takes the plug-in lock only to reset processing and restore preset 0]
    int32_t ACF_CALL SetUpParameters() override;
    // Any host thread, possibly re-entered from an editor edit: clamps the host's value to 0..1,
    // stores it and, for ids "1" to "N", applies it to the framework parameter, holding the
    // plug-in mutex only for that; the host reads back the value the plug-in runs at.
    // [any thread, takes the plug-in lock only around the framework update]
    int32_t ACF_CALL UpdateParameterFromHost(const char* id, double value, int32_t source) override;

    // ---- Render and chunk (ifxaax_render.cpp) ----
    // The host owns the context.
    // [audio thread, takes the plug-in lock] for the whole block
    void RenderBlock(const AAX_CIFxContext* context) override;
    // Any host thread; no lock of their own (the core's WriteState and ReadState lock). One chunk
    // under the plug-in's unique id holding the parameter block; the host owns every record.
    // [any thread]
    int32_t ACF_CALL GetStateChunkId(int32_t index, uint32_t* out) const override;
    // [any thread, takes the plug-in lock only inside the core's state and parameter updates]
    int32_t ACF_CALL GetStateChunkSize(uint32_t chunkId, int32_t* out) override;
    int32_t ACF_CALL GetStateChunk(uint32_t chunkId, AAX_ChunkRecord* out) override;
    int32_t ACF_CALL SetStateChunk(uint32_t chunkId, const AAX_ChunkRecord* chunk) override;
    // [any thread]
    int32_t ACF_CALL CompareStateChunk(const AAX_ChunkRecord* chunk, bool* out) override;

    // ---- Editor, host GUI thread ----
    // The GUI object hands over the view container it opened the editor in (null when closed).
    // [UI thread]
    void SetViewContainer(AAX_IViewContainer* container) { mViewContainer = container; }
    AAX_IViewContainer* ViewContainer() const { return mViewContainer; }
    // Asks the container the editor is open in for {height, width}, then tells the plug-in;
    // nothing while no container holds the editor.
    // [UI thread]
    void RequestEditorResize(int width, int height) override;

    // ---- Core slots answered for the host (ifxaax.cpp) ----
    // Editor gestures, on the editor's thread: touch, value and release through the library,
    // which asks the host; the host answers through UpdateParameterFromHost.
    // [UI thread]
    void BeginInformHostOfParamChange(int paramIdx) override;
    void InformHostOfParamChange(int paramIdx, double normalized) override;
    void EndInformHostOfParamChange(int paramIdx) override;
    // [any thread]
    void RequestHostRefresh() override {}
    bool IsOfflineProcessing() override { return false; }
    // Transport of the block being rendered; 0 (or untouched) before the first block.
    // [audio thread, plug-in lock held by caller] (the plug-in's processing)
    int HostSamplePosition() override;
    double HostTempo() override;
    void HostTimeSignature(int* numerator, int* denominator) override;
    void HostTimeInfo(ITimeInfo* info) override;
    // The core's part, then the host controller hears of the new latency.
    // [UI thread, takes the plug-in lock only for the core's part]
    void ChangeLatency(int samples) override;
    // [audio thread, plug-in lock held by caller]
    bool SendMidiEvent(IMidiEvent*) override { return false; }
    bool SendSysExEvent(ISysExEvent*) override { return false; }
    // [any thread]
    void MarkStateChanged() override { CountChange(); }

private:
    void AddFrameworkParameter(int index, const char* id);
    void ConnectInputs(float* const* inputs, int count);

    AAX_IViewContainer* mViewContainer = nullptr;  // the GUI object's; not owned
    std::vector<float*> mHostInputs;               // the block's connected input buffers
};
