#pragma once
// IFxBase: the base of every host binding and, through one of them, of the plug-in class. It owns
// the parameters, presets, channel configurations and records, the editor object and the
// per-instance plug-in mutex, and its virtual operations are where bindings, plug-in and editor
// meet.
//
// Threads: the process entries run on the host's audio thread, the editor on its window thread,
// everything else on whichever thread the host calls from. They serialize on the recursive
// PlugMutex (GetMutex), which the bindings hold for every block and for state save and restore.
// Each slot's thread tag (README, "Threads") says where the bindings and the editor call it.
#include <atomic>
#include <cstdint>

#include "base/byteblock.h"
#include "base/growstring.h"
#include "base/pointerlist.h"
#include "framework/channels.h"
#include "framework/fxeditor.h"
#include "framework/fxparam.h"
#include "framework/fxtypes.h"
#include "framework/midievent.h"
#include "framework/plugmutex.h"

constexpr int kNameSize = 128;        // effect, product and maker names: 127 characters and a NUL
constexpr int kPresetNameSize = 256;  // preset names: 255 characters and a NUL

struct IPresetSlot {
    bool initialized = false;
    char name[kPresetNameSize] = "empty";
    IByteBlock state;  // one parameter block
};

// What a plug-in declares about itself; it reaches IFxBase through its binding's constructor.
struct IFxOptions {
    int nParams = 0;
    const char* channelIo = "2-2";  // "inputs-outputs" configurations, separated by single spaces
    int nPresets = 1;
    const char* effectName = "";
    const char* productName = "";
    const char* makerName = "";
    int version = 0;  // 0xMMMMmmrr: major, minor, revision
    int uniqueId = 0;
    int makerId = 0;
    int latency = 0;  // in samples
    bool doesMidi = false;
    bool doesChunks = false;
    bool isInstrument = false;
};

class IFxBase {
public:
    IFxBase(const IFxOptions& options, int apiCode);
    IFxBase(const IFxBase&) = delete;
    IFxBase& operator=(const IFxBase&) = delete;

    // ---- Virtual operations; nothing outside this module sees their order (README, "Binary layout") ----
    virtual ~IFxBase();
    // [any thread, takes the plug-in lock]
    virtual void ResetProcessing();
    virtual void ParameterChanged(int paramIdx, int source);
    // [audio thread, plug-in lock held by caller]
    virtual void ProcessDoubles(double** inputs, double** outputs, int frames);
    // [UI thread, plug-in lock held by caller] (the bindings' editor open and close)
    virtual void EditorOpened() {}
    virtual void EditorClosed() {}
    // [UI thread]
    virtual void OnGuiIdle() {}
    // [main thread, takes the plug-in lock]
    virtual void ActivationChanged(bool active);
    // [audio thread, plug-in lock held by caller]
    virtual void ProcessMidiEvent(IMidiEvent* event);
    virtual void ProcessSysExEvent(ISysExEvent* /*event*/) {}
    // [any thread]
    virtual bool GetNoteName(int key, char* out);
    // [any thread, takes the plug-in lock]
    virtual bool WriteState(IByteBlock* block) { return SerializeParams(block); }
    virtual int ReadState(IByteBlock* block, int pos) { return UnserializeParams(block, pos); }
    // [any thread]
    virtual bool StateEquals(const double* values, int startIndex);
    // [UI thread]
    virtual void EditorResized() {}
    // [main thread]
    virtual void HostKnown() {}
    // [UI thread]
    virtual void OpenHostParamMenu(int /*paramIdx*/, int /*x*/, int /*y*/) {}
    // [UI thread, takes the plug-in lock only to tell the plug-in] (the host is told before, without it)
    virtual void SetParameterFromGUI(int paramIdx, double normalized);
    // [UI thread]
    virtual void BeginInformHostOfParamChange(int paramIdx) = 0;
    virtual void InformHostOfParamChange(int paramIdx, double normalized) = 0;
    virtual void EndInformHostOfParamChange(int paramIdx) = 0;
    // [any thread]
    virtual void RequestHostRefresh() = 0;
    // [audio thread, plug-in lock held by caller] (from the plug-in's processing)
    virtual bool IsOfflineProcessing() { return false; }
    virtual int HostSamplePosition() = 0;
    virtual double HostTempo() = 0;
    virtual void HostTimeSignature(int* numerator, int* denominator) = 0;
    virtual void HostTimeInfo(ITimeInfo* info) = 0;
    // [any thread]
    virtual int GetHostCode() { return mHostCode.load(std::memory_order_acquire); }
    virtual int GetApiCode() { return mApiCode; }
    // [UI thread]
    virtual void RequestEditorResize(int width, int height) = 0;
    // [main thread, plug-in lock held by caller]
    virtual void HostQuirksSetup() {}
    // [main thread, takes the plug-in lock] (from the plug-in's constructor)
    virtual void BindGraphics(IFxEditor* editor);
    // Called without the plug-in lock: the bindings tell the host after the core's part.
    // [UI thread, takes the plug-in lock only to resize the latency line] (the audio thread's)
    virtual void ChangeLatency(int samples);
    // [audio thread, plug-in lock held by caller]
    virtual bool SendMidiEvent(IMidiEvent* event) = 0;
    virtual bool SendSysExEvent(ISysExEvent* /*event*/) { return false; }
    // [any thread, takes the plug-in lock]
    virtual bool SerializeParams(IByteBlock* block);
    virtual int UnserializeParams(IByteBlock* block, int pos);
    // [any thread]
    virtual void PushValuesToGui();
    virtual void MarkStateChanged() {}
    virtual void PresetsChanged() {}
    // [any thread, plug-in lock held by caller]
    virtual void ChangeBlockSize(int frames);

    // ---- Host identification ----
    void SetHost(const char* hostName, int hostVersion);
    static int IdentifyHost(const char* hostName);
    int GetHostVersion() const { return mHostVersion.load(std::memory_order_relaxed); }

    // ---- Identity ----
    const char* GetEffectName() const { return mEffectName; }
    const char* GetProductName() const { return mProductName; }
    const char* GetMakerName() const { return mMakerName; }
    int GetUniqueId() const { return mUniqueId; }
    int GetMakerId() const { return mMakerId; }
    int GetEffectVersion(bool decimal) const;
    bool DoesMidi() const { return mDoesMidi; }
    bool DoesChunks() const { return mDoesChunks; }
    bool IsInstrument() const { return mIsInstrument; }

    // ---- Parameters ----
    int NParams() const { return mParams.GetSize(); }
    IFxParam* GetParam(int i) const { return mParams.Get(i); }
    void ResetAllParams(int source);

    // ---- Processing set-up ----
    double GetSampleRate() const { return mSampleRate; }
    void SetSampleRate(double sampleRate) { mSampleRate = sampleRate; }
    // Every scratch buffer holds this many doubles. Blocks longer than it run in pieces.
    int GetBlockSize() const { return mBlockSize; }
    // The largest block size taken; a host that announces more gets this, and its blocks run in
    // pieces of it.
    static constexpr int kMaxBlockSize = 1 << 16;
    int GetLatency() const { return mLatency; }
    int GetTailSize() const { return mTailSize; }
    void SetTailSize(int samples) { mTailSize = samples; }
    // Set and read by controller calls beside the audio thread, without a lock.
    // [any thread]
    bool IsBypassed() const { return mBypassed.load(std::memory_order_relaxed); }
    void SetBypassed(bool bypassed) { mBypassed.store(bypassed, std::memory_order_relaxed); }
    PlugMutex& GetMutex() { return mMutex; }
    IGraphics* GetGraphics() const { return mEditor ? mEditor->Graphics() : nullptr; }

    // ---- Channels and the block road (every call below runs under the plug-in mutex) ----
    int NChannelPairs() const { return mChannelPairs.GetSize(); }
    const IChannelPair* GetChannelPair(int i) const { return mChannelPairs.Get(i); }
    bool LegalIO(int nIn, int nOut) const;
    int NInChannels() const { return mInputChannels.GetSize(); }
    int NOutChannels() const { return mOutputChannels.GetSize(); }
    IInputChannel* GetInChannel(int i) const { return mInputChannels.Get(i); }
    IOutputChannel* GetOutChannel(int i) const { return mOutputChannels.Get(i); }
    // The binding's process, set-up or bus-arrangement calls; also its constructor, before any
    // other thread can reach the plug-in.
    // [any thread, plug-in lock held by caller]
    void SetInputsConnected(int start, int count, bool connected);
    void SetOutputsConnected(int start, int count, bool connected);
    // The block itself; the attach and run calls check the lock in debug and test builds.
    // [audio thread, plug-in lock held by caller]
    void AttachInputs(int start, int count, double** buffers);
    void AttachFloatInputs(int start, int count, float** buffers, int frames);
    void AttachOutputs(int start, int count, double** buffers);
    void AttachFloatOutputs(int start, int count, float** buffers);
    void ProcessAttached(int frames);
    void ProcessAttachedFloat(int frames);
    void ProcessAttachedAccumulating(int frames);
    void PassThrough(int frames);
    void PassThroughFloat(int frames);
    void ClearScratch();
    // [any thread]
    static void DoublesToFloats(float* dst, const double* src, int n);

    // The bypass path's delay line; the VST3 and AAX bindings create it when there are inputs.
    void CreateLatencyLine();
    const ILatencyLine* GetLatencyLine() const { return mLatencyLine; }

    // ---- Bus labels ----
    void LabelInputBus(int index, const char* text);
    void LabelOutputBus(int index, const char* text);
    const char* GetInputBusLabel(int index) const;
    const char* GetOutputBusLabel(int index) const;

    // ---- Presets ----
    int NPresets() const { return mPresets.GetSize(); }
    int GetCurrentPresetIdx() const { return mCurrentPreset; }
    IPresetSlot* GetPresetSlot(int i) const { return mPresets.Get(i); }
    void FillDefaultPresets(const char* name, int count);
    void FillEmptyPresets();
    // The current index and a captured slot's name change outside the core's state lock, so the
    // caller holds the plug-in lock (the bindings' set-up excepted, before other threads come).
    // [any thread, plug-in lock held by caller]
    bool RestorePresetSlot(int index);
    // A name changes only under the plug-in lock (a rename, a bank, an empty slot captured).
    // [any thread]
    const char* GetPresetSlotName(int index) const;

    // ---- Preset banks (the VST2 binding's bank chunk) ----
    // Re-captures the current values into the current slot; a non-empty name renames it.
    // [any thread, plug-in lock held by caller] (the dispatcher)
    void ModifyCurrentPreset(const char* name);
    // Appends every slot: int32 name length, the name's bytes, a flag byte, and when the flag is
    // set the slot's parameter block. False when the block could not grow.
    // [any thread, plug-in lock held by caller] (the dispatcher)
    bool SerializePresets(IByteBlock* block);
    // Reads slots written by SerializePresets from pos into the slots and the live parameters,
    // then restores the current slot; returns the position after them, or -1.
    // [any thread, plug-in lock held by caller] (the dispatcher)
    int UnserializePresets(IByteBlock* block, int pos);

private:
    void ParseChannelIo(const char* text);
    void CreateChannels(int nIn, int nOut);
    bool CaptureIntoSlot(IPresetSlot* slot, const char* name);
    double** InputPointers() const { return static_cast<double**>(mInputPointers.Get()); }
    double** OutputPointers() const { return static_cast<double**>(mOutputPointers.Get()); }
    void CopyInputsToOutputs(int frames);
    void ConvertOutputs(int offset, int frames);
    void PassThroughPiece(int frames);
    template <typename Step>
    void InPieces(int frames, Step step);
    void MoveAttached(int delta);

    PointerList<IChannelPair> mChannelPairs;
    PlugMutex mMutex;
    char mEffectName[kNameSize];
    char mProductName[kNameSize];
    char mMakerName[kNameSize];
    int32_t mUniqueId;
    int32_t mMakerId;
    int32_t mVersion;
    int32_t mApiCode;
    std::atomic<int32_t> mHostCode{kHostNotIdentified};  // set once a binding knows its host
    std::atomic<int32_t> mHostVersion{0};
    bool mDoesChunks;
    bool mIsInstrument;
    bool mDoesMidi;
    std::atomic<bool> mBypassed{false};
    int32_t mCurrentPreset = 0;
    double mSampleRate = 44100.0;
    int32_t mBlockSize = 0;
    int32_t mLatency;
    int32_t mTailSize = 0;
    ILatencyLine* mLatencyLine = nullptr;
    IFxEditor* mEditor = nullptr;
    PointerList<IFxParam> mParams;
    PointerList<IPresetSlot> mPresets;
    GrowBuffer mInputPointers{4096};
    GrowBuffer mOutputPointers{4096};
    PointerList<IInputChannel> mInputChannels;
    PointerList<IOutputChannel> mOutputChannels;
    PointerList<GrowString> mInputBusLabels;
    PointerList<GrowString> mOutputBusLabels;
};
