#pragma once
// IFxVST3: the plug-in core on a single-component VST3 effect (processor and edit controller in
// one object). One reference count serves every interface; the last release deletes the plug-in.
//
// Threads (tags as in the README): process runs on the host's audio thread and holds the plug-in
// mutex for the whole block; setupProcessing and setBusArrangements hold it too, getState and
// setState only to take or apply the state (never while calling the host). Every other entry
// takes no lock beyond what the core's own operations take.
#include <vector>

#include "framework/fxbase.h"
#include "sdk/vst3/midimapping.h"
#include "sdk/vst3/processcontext.h"
#include "sdk/vst3/singlecomponenteffect.h"
#include "sdk/vst3/unitinfo.h"

class IFxVST3View;

class IFxVST3 : public IFxBase,
                public Sdk::Vst::IUnitInfo,
                public Sdk::Vst::SingleComponentEffect,
                public Sdk::Vst::IMidiMapping {
public:
    using tresult = Sdk::tresult;
    using ParamID = Sdk::Vst::ParamID;
    using ParamValue = Sdk::Vst::ParamValue;
    using TChar = Sdk::Vst::TChar;
    using String128 = Sdk::Vst::String128;
    using IBStream = Sdk::IBStream;

    static constexpr ParamID kPresetTag = 0x70727374;  // 'prst'
    static constexpr ParamID kBypassTag = 0x62706173;  // 'bpas'

    explicit IFxVST3(const IFxOptions& options, int sidechainChannels = 0);
    ~IFxVST3() override;

    static Sdk::Vst::SpeakerArrangement SpeakerArrangementForChannels(int channels);
    int SidechainChannels() const { return mSidechainChannels; }

    // ---- FUnknown, shared by every interface (ifxvst3.cpp) ----
    // [any thread]
    tresult PLUGIN_API queryInterface(const Sdk::TUID iid, void** obj) override;
    Sdk::uint32 PLUGIN_API addRef() override { return SingleComponentEffect::addRef(); }
    Sdk::uint32 PLUGIN_API release() override { return SingleComponentEffect::release(); }
    FOBJECT_CLASS(IFxVST3, SingleComponentEffect)

    // ---- Life cycle (ifxvst3.cpp), host's main thread ----
    // Keeps the host name, exports buses and parameters, then restores preset 0. The SDK part's
    // terminate drops them again (the plug-in owns its core state, the SDK part its exports).
    // [main thread, takes the plug-in lock only to restore preset 0]
    tresult PLUGIN_API initialize(Sdk::FUnknown* context) override;
    // Forgets the open views (without destroying them), then the SDK part's terminate.
    // [main thread]
    tresult PLUGIN_API terminate() override;

    // ---- Editor views (ifxvst3_editor.cpp), host's editor thread ----
    // "editor" (exactly): a new view holding a reference on the plug-in; anything else null.
    // [UI thread]
    Sdk::IEditorView* PLUGIN_API createView(Sdk::FIDString name) override;
    // The views' own bookkeeping, from their constructor and destructor.
    // [UI thread]
    void AddView(IFxVST3View* view) { mOpenViews.push_back(view); }
    void RemoveView(IFxVST3View* view);
    int NOpenViews() const { return static_cast<int>(mOpenViews.size()); }

    // ---- Processing (ifxvst3_process.cpp): set-up on the host's main thread, process on its
    // audio thread under the plug-in mutex; the host owns every buffer and record it hands in ----
    // [main thread, takes the plug-in lock] (setActive through ActivationChanged)
    tresult PLUGIN_API setupProcessing(Sdk::Vst::ProcessSetup& setup) override;
    tresult PLUGIN_API setActive(Sdk::TBool state) override;
    // [main thread]
    tresult PLUGIN_API canProcessSampleSize(Sdk::int32 symbolicSampleSize) override;
    Sdk::uint32 PLUGIN_API getLatencySamples() override;
    Sdk::uint32 PLUGIN_API getTailSamples() override;
    // [audio thread, takes the plug-in lock] for the whole block
    tresult PLUGIN_API process(Sdk::Vst::ProcessData& data) override;

    // ---- State and bus arrangements (ifxvst3_state.cpp), on any host thread; the stream stays
    // the host's and is read and written outside the plug-in mutex. The component's and
    // controller's calls share these ----
    // [any thread, takes the plug-in lock only to take or apply the state]
    tresult PLUGIN_API getState(IBStream* stream) override;
    tresult PLUGIN_API setState(IBStream* stream) override;
    tresult PLUGIN_API setComponentState(IBStream* stream) override;
    // [any thread, takes the plug-in lock]
    tresult PLUGIN_API setBusArrangements(Sdk::Vst::SpeakerArrangement* inputs, Sdk::int32 numIns,
                                          Sdk::Vst::SpeakerArrangement* outputs, Sdk::int32 numOuts) override;

    // ---- Controller queries (ifxvst3_controller.cpp), no lock ----
    // [any thread]
    tresult PLUGIN_API setParamNormalized(ParamID id, ParamValue value) override;
    ParamValue PLUGIN_API getParamNormalized(ParamID id) override;
    tresult PLUGIN_API getParamStringByValue(ParamID id, ParamValue valueNormalized, String128 string) override;
    tresult PLUGIN_API getParamValueByString(ParamID id, TChar* string, ParamValue& valueNormalized) override;
    ParamValue PLUGIN_API normalizedParamToPlain(ParamID id, ParamValue valueNormalized) override;
    ParamValue PLUGIN_API plainParamToNormalized(ParamID id, ParamValue plainValue) override;
    tresult PLUGIN_API getMidiControllerAssignment(Sdk::int32 busIndex, Sdk::int16 channel,
                                                   Sdk::Vst::CtrlNumber midiControllerNumber, ParamID& id) override;

    // ---- Units and the program list (ifxvst3_controller.cpp), no lock ----
    // [any thread]
    Sdk::int32 PLUGIN_API getUnitCount() override;
    tresult PLUGIN_API getUnitInfo(Sdk::int32 unitIndex, Sdk::Vst::UnitInfo& info) override;
    Sdk::int32 PLUGIN_API getProgramListCount() override;
    tresult PLUGIN_API getProgramListInfo(Sdk::int32 listIndex, Sdk::Vst::ProgramListInfo& info) override;
    tresult PLUGIN_API getProgramName(Sdk::Vst::ProgramListID listId, Sdk::int32 programIndex, String128 name) override;
    tresult PLUGIN_API getProgramInfo(Sdk::Vst::ProgramListID listId, Sdk::int32 programIndex, Sdk::CString attributeId,
                                      String128 attributeValue) override;
    tresult PLUGIN_API hasProgramPitchNames(Sdk::Vst::ProgramListID listId, Sdk::int32 programIndex) override;
    tresult PLUGIN_API getProgramPitchName(Sdk::Vst::ProgramListID listId, Sdk::int32 programIndex,
                                           Sdk::int16 midiPitch, String128 name) override;
    Sdk::Vst::UnitID PLUGIN_API getSelectedUnit() override;
    tresult PLUGIN_API selectUnit(Sdk::Vst::UnitID unitId) override;
    tresult PLUGIN_API getUnitByBus(Sdk::Vst::MediaType type, Sdk::Vst::BusDirection dir, Sdk::int32 busIndex,
                                    Sdk::int32 channel, Sdk::Vst::UnitID& unitId) override;
    tresult PLUGIN_API setUnitProgramData(Sdk::int32 listOrUnitId, Sdk::int32 programIndex, IBStream* data) override;

    // ---- Core slots answered for the host (ifxvst3_host.cpp) ----
    // Editor gestures, on the editor's thread: forwarded to the host's component handler.
    // [UI thread]
    void BeginInformHostOfParamChange(int paramIdx) override;
    void InformHostOfParamChange(int paramIdx, double normalized) override;
    void EndInformHostOfParamChange(int paramIdx) override;
    // [any thread]
    void RequestHostRefresh() override {}
    // Read the kept set-up and process context, which change only under the plug-in mutex
    // (setupProcessing, and process for the context).
    // [audio thread, plug-in lock held by caller] (the plug-in's ProcessDoubles asks)
    bool IsOfflineProcessing() override;
    int HostSamplePosition() override;
    double HostTempo() override;
    void HostTimeSignature(int* numerator, int* denominator) override;
    void HostTimeInfo(ITimeInfo* info) override;
    // The host's parameter menu at (x, y) of the oldest open view.
    // [UI thread]
    void OpenHostParamMenu(int paramIdx, int x, int y) override;
    // Asks the host's frame of the oldest open view for the new size.
    // [UI thread]
    void RequestEditorResize(int width, int height) override;
    // Tells the host through restartComponent when it gave a component handler; VST3 hosts take
    // that call on their UI thread only.
    // [UI thread, takes the plug-in lock only for the core's part]
    void ChangeLatency(int samples) override;
    // [audio thread, plug-in lock held by caller]
    bool SendMidiEvent(IMidiEvent* /*event*/) override { return false; }

private:
    void AddBuses();
    void AddParameters();
    void AddFrameworkParameter(int index);
    Sdk::Vst::UnitID UnitForGroup(const char* group);
    IFxParam* FrameworkParam(ParamID id) const;
    tresult RestoreState(IBStream* stream);
    void ApplyParameterChanges(Sdk::Vst::IParameterChanges* changes);
    void ApplyEvents(Sdk::Vst::IEventList* events);
    void ConnectInputs(const Sdk::Vst::ProcessData& data);
    void ConnectOutputs(const Sdk::Vst::ProcessData& data);
    template <typename Sample>
    void RunAudio(int frames);

    std::vector<IFxVST3View*> mOpenViews;  // not owned; the oldest first
    int mSidechainChannels;
    bool mSidechainConnected = false;
    Sdk::Vst::ProcessContext mContext{};
    std::vector<const char*> mGroups;  // the parameters' own group texts; unit i is mGroups[i - 1]
    // Host channel pointers of the current block, per plug-in channel (null: not connected), and
    // the connected ones in order. Sized at construction.
    std::vector<void*> mHostIn, mHostOut;
    std::vector<void*> mConnectedIn, mConnectedOut;
};
