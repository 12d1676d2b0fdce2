#pragma once
// IFxVST: the plug-in core behind a VST 2.4 effect record. The host gets the record from the
// module entry and drives the plug-in through its entries: the dispatcher for everything but
// audio and parameters, the three process entries, and the parameter read and write. Each entry
// holds the instance's plug-in mutex for its whole call, but for the editor's window work and the
// chunk calls' copies (see VSTDispatcher). In the other direction the core's host-facing
// operations become calls of the host callback audioMaster; only the audio thread's blocks call it
// under the mutex.
//
// Files: ifxvst.cpp (entry, construction), ifxvst_dispatcher.cpp (the opcode table),
// ifxvst_process.cpp (process entries, parameters), ifxvst_host.cpp (host callback queries),
// ifxvst_chunks.cpp (program and bank chunks).
#include <vector>

#include "framework/editorloop.h"
#include "framework/fxbase.h"
#include "sdk/vst2/aeffect.h"

class IFxVST : public IFxBase {
public:
    // The chunk header: the magic 'pfft' and the format version, each a little-endian int32.
    static constexpr int32_t kChunkMagic = 0x70666674;
    static constexpr int32_t kChunkVersion = 0x00010000;

    IFxVST(Vst2::audioMasterCallback audioMaster, const IFxOptions& options);
    // The shape every binding's constructor has: the host callback is the one the module entry is
    // creating this instance for (CreateEffect).
    explicit IFxVST(const IFxOptions& options);
    ~IFxVST() override;

    // The module entry's work, on the host's loading thread: under a process-wide lock, create
    // one plug-in for audioMaster, fill its empty presets and hand out its effect record, which
    // lives inside the plug-in until the host closes it. Null when no plug-in could be made.
    // [main thread, takes the module's creation lock]
    using CreateFn = IFxVST* (*)();
    static Vst2::AEffect* CreateEffect(Vst2::audioMasterCallback audioMaster, CreateFn create);

    Vst2::AEffect* GetEffect() { return &mEffect; }
    Vst2::audioMasterCallback GetAudioMaster() const { return mAudioMaster; }
    int GetHostFlags() const { return mHostFlags; }
    const Vst2::ERect& GetEditRect() const { return mEditRect; }

    // ---- Core operations answered through the host callback (ifxvst_host.cpp) ----
    // Edit gestures, on the editor's thread.
    // [UI thread]
    void BeginInformHostOfParamChange(int paramIdx) override;
    void InformHostOfParamChange(int paramIdx, double normalized) override;
    void EndInformHostOfParamChange(int paramIdx) override;
    // [any thread]
    void RequestHostRefresh() override;
    // Transport queries, normally from the audio thread inside ProcessDoubles; the host's time
    // record is valid there.
    // [audio thread]
    bool IsOfflineProcessing() override;
    int HostSamplePosition() override;
    double HostTempo() override;
    void HostTimeSignature(int* numerator, int* denominator) override;
    void HostTimeInfo(ITimeInfo* info) override;
    // Asks the host's product string and version until it has them; later calls return the kept
    // code. The open opcode asks first, before the dispatcher takes the plug-in lock.
    // [any thread]
    int GetHostCode() override;
    // The host learns the editor's new size when it next asks for the editor rectangle.
    // [UI thread]
    void RequestEditorResize(int width, int height) override;
    // From the open opcode, once per instance.
    // [main thread, plug-in lock held by caller]
    void HostQuirksSetup() override;
    // From the plug-in constructor: the record says there is an editor, of the editor's size.
    // [main thread, takes the plug-in lock]
    void BindGraphics(IFxEditor* editor) override;
    // [UI thread, takes the plug-in lock] (the host reads the new delay from the effect record)
    void ChangeLatency(int samples) override;
    // From the plug-in's processing.
    // [audio thread, plug-in lock held by caller]
    bool SendMidiEvent(IMidiEvent* event) override;
    bool SendSysExEvent(ISysExEvent* event) override;

    // Some hosts connect only the first two inputs: the others read silence, and with three or
    // more outputs every output from the third on is connected.
    // [main thread, plug-in lock held by caller] (HostQuirksSetup)
    void ForceExtraChannelConnections();
    // The float blocks' attach step: host buffers to the channel records.
    // [audio thread, plug-in lock held by caller]
    void AttachHostBuffers(float** inputs, float** outputs, int frames);

    // ---- Chunks (ifxvst_chunks.cpp) ----
    // [any thread]
    static void WriteChunkHeader(IByteBlock* block);
    // The version after a header at *pos (advancing it), or 0 for a chunk without one.
    // [any thread]
    static int ReadChunkHeader(IByteBlock* block, int* pos);
    // Builds the program (isProgram) or bank chunk; *data points at it until the next chunk
    // call of the same kind. Returns its size, 0 on failure.
    // [any thread, takes the plug-in lock] (from the dispatcher, which does not hold it)
    int GetChunk(void** data, bool isProgram);
    // Copies size host bytes, then applies them as a program or bank chunk; true when every value
    // was read. The editor hears of the values after the lock is released.
    // [any thread, takes the plug-in lock only to apply the chunk] (from the dispatcher)
    bool SetChunk(const void* data, intptr_t size, bool isProgram);

private:
    // The effect record's entries. Each finds its plug-in through the record's object field and
    // does nothing (returns 0) when that is null.
    // The host calls the dispatcher on the thread each opcode belongs to: the editor opcodes on
    // its UI thread, process events on its audio thread, set-up and programs on its main thread,
    // queries on any; the plug-in lock keeps them apart from the blocks. The editor opcodes make
    // and destroy the window without it.
    // [any thread, takes the plug-in lock]
    static intptr_t VST2_CALL VSTDispatcher(Vst2::AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                            void* data, float opt);
    // [audio thread, takes the plug-in lock] for the whole block
    static void VST2_CALL VSTProcess(Vst2::AEffect* effect, float** inputs, float** outputs, int32_t frames);
    static void VST2_CALL VSTProcessReplacing(Vst2::AEffect* effect, float** inputs, float** outputs, int32_t frames);
    static void VST2_CALL VSTProcessDoubleReplacing(Vst2::AEffect* effect, double** inputs, double** outputs,
                                                    int32_t frames);
    // [any thread, takes the plug-in lock]
    static void VST2_CALL VSTSetParameter(Vst2::AEffect* effect, int32_t index, float value);
    static float VST2_CALL VSTGetParameter(Vst2::AEffect* effect, int32_t index);
    // [any thread]
    static IFxVST* FromEffect(Vst2::AEffect* effect);

    // The opcode table (ifxvst_dispatcher.cpp) and its handlers, under the plug-in mutex.
    // [any thread, plug-in lock held by caller]
    intptr_t Dispatch(int32_t opcode, int32_t index, intptr_t value, void* data, float opt);
    intptr_t StringToParameter(int index, const char* text);
    intptr_t PinProperties(int index, void* data, bool isInput);
    intptr_t VendorSpecific(int32_t index, intptr_t value, void* data, float opt);
    intptr_t CanDo(const char* text);
    // [audio thread, plug-in lock held by caller]
    void ProcessEvents(const Vst2::VstEvents* events);
    // [main thread, plug-in lock held by caller]
    void SetSpeakerArrangement(const Vst2::VstSpeakerArrangement* in, const Vst2::VstSpeakerArrangement* out);
    // Editor open (in the host's parent window) and close: 1 when done, 0 without an editor or window.
    // [UI thread, takes the plug-in lock only to tell the plug-in]
    intptr_t OpenEditor(void* parent);
    intptr_t CloseEditor();
    // The host's idle call for the editor: the plug-in's idle work, and outside Windows the open
    // editor's window events and redraw ticks. Returns 0.
    // [UI thread, takes the plug-in lock only for the plug-in's idle work]
    intptr_t IdleEditor();

    // One block on one of the three roads (ifxvst_process.cpp); the core runs a block longer
    // than the block size in pieces.
    // [audio thread, takes the plug-in lock]
    enum class Road { kFloatReplacing, kFloatAccumulating, kDouble };
    template <typename Sample>
    void ProcessBlock(Sample** inputs, Sample** outputs, int frames, Road road);

    // The host callback; 0 when the host gave none.
    // [any thread]
    intptr_t CallHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* data = nullptr, float opt = 0.0f);
    const Vst2::VstTimeInfo* HostTime(int32_t request);
    void SetArrangement(Vst2::VstSpeakerArrangement* arrangement, int channels);

    Vst2::ERect mEditRect{};
    // Whether the editor's window is open (from a successful open to the close), and the loop
    // the idle calls drive outside Windows. UI thread only.
    bool mEditorOpen = false;
    IEditorLoop mEditorLoop;
    Vst2::audioMasterCallback mAudioMaster;
    Vst2::VstSpeakerArrangement mInArrangement{};
    Vst2::VstSpeakerArrangement mOutArrangement{};
    bool mHostSetupDone = false;
    int32_t mHostFlags = 0;  // bit 0: asked "hasHostExtensions"; bit 1: asked "hasHostViewAsConfig"
    IByteBlock mStateChunk;
    IByteBlock mBankChunk;
    Vst2::AEffect mEffect{};
};
