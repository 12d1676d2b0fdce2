#pragma once
// IFxCLAP: the plug-in core behind a CLAP plug-in record. The module's factory makes the plug-in
// and hands the host its record (Record); the host drives it through the record's entries and
// the extensions get_extension hands out, and destroy deletes it.
//
// Life cycle, as the host must order it: init, then activate and deactivate any number of
// times, with start_processing, process, stop_processing and reset on the audio thread while
// active, then destroy. A call out of order is answered false (or an error status) or ignored.
//
// Threads (tags as in the README): process and flush hold the plug-in mutex for their work and
// allocate nothing; state save and load hold it only to take or apply the state, never while
// calling the host's stream. The host's calls are made without it.
//
// Parameters: CLAP id i is parameter i, values in plain units as the editor shows them.
// Audio: one main input and one main output port, the channels of one of the plug-in's
// channel configurations (audio-ports-config), the widest by default.
//
// Files: ifxclap.cpp (construction, the core's host operations, host extensions),
// ifxclap_plugin.cpp (the record's entries and the life cycle), ifxclap_process.cpp (process),
// ifxclap_params.cpp (params), ifxclap_state.cpp (state), ifxclap_ports.cpp (audio-ports,
// audio-ports-config, latency), ifxclap_gui.cpp (gui and the editor's timers and fds).
#include <atomic>
#include <vector>

#include "framework/clap/ifxclap_edits.h"
#include "framework/fxbase.h"
#include "sdk/clap/entry.h"
#include "sdk/clap/ext_audio_ports.h"
#include "sdk/clap/ext_audio_ports_config.h"
#include "sdk/clap/ext_latency.h"
#include "sdk/clap/ext_misc.h"
#include "sdk/clap/ext_params.h"
#include "sdk/clap/ext_state.h"
#include "sdk/clap/process.h"

class IFxCLAP : public IFxBase {
public:
    explicit IFxCLAP(const IFxOptions& options);
    ~IFxCLAP() override;

    // ---- Creation (ifxclap.cpp) ----
    // Whether a plug-in may be made for host: there is one, and its version is a released one.
    // [any thread]
    static bool HostUsable(const Clap::Host* host);
    // The record the factory's create_plugin hands the host: the plug-in described by desc,
    // serving host (both outlive it). Calls no host function. The record is the plug-in's; the
    // host's destroy deletes the plug-in.
    // [any thread] (create_plugin)
    const Clap::Plugin* Record(const Clap::PluginDescriptor* desc, const Clap::Host* host);
    // The plug-in behind a record; null for null.
    // [any thread]
    static IFxCLAP* From(const Clap::Plugin* p);
    const Clap::Host* Host() const { return mHost; }
    // The host's extension id, or null when it offers none or init has not run yet.
    // [any thread]
    const void* HostExtension(const char* id) const;

    // ---- Core operations answered for the host (ifxclap.cpp) ----
    // The editor's gestures: queued for the host (values dropped while a nearly full queue waits, never a gesture's
    // end), which is
    // asked to flush (or to process) and gets them from the next flush or process; a value also
    // marks the state dirty.
    // [UI thread]
    void BeginInformHostOfParamChange(int paramIdx) override;
    void InformHostOfParamChange(int paramIdx, double normalized) override;
    void EndInformHostOfParamChange(int paramIdx) override;
    // [any thread]
    void RequestHostRefresh() override {}
    // The transport of the block being processed (none: position 0, 120 beats a minute, 4/4,
    // stopped).
    // [audio thread, plug-in lock held by caller]
    int HostSamplePosition() override;
    double HostTempo() override;
    void HostTimeSignature(int* numerator, int* denominator) override;
    void HostTimeInfo(ITimeInfo* info) override;
    // The editor keeps its size.
    // [UI thread]
    void RequestEditorResize(int /*width*/, int /*height*/) override {}
    // The host hears of a new latency when it next activates the plug-in; an active one asks it
    // for a restart.
    // [UI thread, takes the plug-in lock only for the core's part]
    void ChangeLatency(int samples) override;
    // [audio thread, plug-in lock held by caller]
    bool SendMidiEvent(IMidiEvent* /*event*/) override { return false; }

    // ---- The editor (ifxclap_gui.cpp) ----
    // The plug-in's "clap.gui" table, and on Linux "clap.timer-support" and "clap.posix-fd-support";
    // null for any other id.
    // [any thread]
    static const void* GuiExtension(const char* id);
    // Closes the editor when the host left it open (destroy calls it).
    // [main thread]
    void CloseGui();
    struct Gui;           // defined in ifxclap_gui.cpp
    Gui* mGui = nullptr;  // the open editor's state; owned; null while none was created

private:
    enum Stage : int { kCreated, kReady, kActive, kProcessing };

    // ---- The record's entries (ifxclap_plugin.cpp); the host owns nothing of the plug-in's ----
    // Takes the host's extensions and restores preset 0; false when called twice.
    // [main thread, takes the plug-in lock only to restore preset 0]
    static bool CLAP_CALL Init(const Clap::Plugin* p);
    // Deletes the plug-in; one the host left active is deactivated first.
    // [main thread]
    static void CLAP_CALL Destroy(const Clap::Plugin* p);
    // Sets the rate and the block size (frames beyond max run in pieces of it); false when not
    // initialised, already active, or for a rate or sizes no block can have.
    // [main thread, takes the plug-in lock]
    static bool CLAP_CALL Activate(const Clap::Plugin* p, double rate, uint32_t minFrames, uint32_t maxFrames);
    // Ignored unless active and not processing.
    // [main thread, takes the plug-in lock]
    static void CLAP_CALL Deactivate(const Clap::Plugin* p);
    // False unless active and not processing; stop_processing is ignored unless processing.
    // [audio thread]
    static bool CLAP_CALL StartProcessing(const Clap::Plugin* p);
    static void CLAP_CALL StopProcessing(const Clap::Plugin* p);
    // The core's reset, parameters kept; ignored unless active.
    // [audio thread, takes the plug-in lock]
    static void CLAP_CALL Reset(const Clap::Plugin* p);
    // [audio thread, takes the plug-in lock] for the whole block
    static Clap::ProcessStatus CLAP_CALL ProcessEntry(const Clap::Plugin* p, const Clap::Process* process);
    // The plug-in's extensions by id; null for any other.
    // [any thread]
    static const void* CLAP_CALL GetExtension(const Clap::Plugin* p, const char* id);
    // [main thread]
    static void CLAP_CALL OnMainThread(const Clap::Plugin* p);

    // ---- params (ifxclap_params.cpp); flush holds the plug-in lock ----
    // [main thread]
    static uint32_t CLAP_CALL ParamCount(const Clap::Plugin* p);
    static bool CLAP_CALL ParamInfo(const Clap::Plugin* p, uint32_t index, Clap::ParamInfo* info);
    static bool CLAP_CALL ParamValue(const Clap::Plugin* p, Clap::Id id, double* value);
    static bool CLAP_CALL ValueToText(const Clap::Plugin* p, Clap::Id id, double value, char* out, uint32_t capacity);
    static bool CLAP_CALL TextToValue(const Clap::Plugin* p, Clap::Id id, const char* text, double* value);
    // [audio thread, takes the plug-in lock] (the main thread while not active)
    static void CLAP_CALL Flush(const Clap::Plugin* p, const Clap::InputEvents* in, const Clap::OutputEvents* out);

    // ---- state (ifxclap_state.cpp); the streams stay the host's ----
    // [main thread, takes the plug-in lock only to take or apply the state]
    static bool CLAP_CALL SaveState(const Clap::Plugin* p, const Clap::OStream* stream);
    static bool CLAP_CALL LoadState(const Clap::Plugin* p, const Clap::IStream* stream);

    // ---- audio-ports, audio-ports-config, latency (ifxclap_ports.cpp) ----
    // [main thread]
    static uint32_t CLAP_CALL PortCount(const Clap::Plugin* p, bool isInput);
    static bool CLAP_CALL PortInfo(const Clap::Plugin* p, uint32_t index, bool isInput, Clap::AudioPortInfo* info);
    static uint32_t CLAP_CALL ConfigCount(const Clap::Plugin* p);
    static bool CLAP_CALL ConfigInfo(const Clap::Plugin* p, uint32_t index, Clap::AudioPortsConfig* config);
    // False while active or for an unknown id.
    // [main thread, takes the plug-in lock]
    static bool CLAP_CALL SelectConfig(const Clap::Plugin* p, Clap::Id configId);
    // [main thread]
    static uint32_t CLAP_CALL LatencyGet(const Clap::Plugin* p);

    // ---- Helpers ----
    // Connects the channels of configuration index (a valid one).
    // [main thread, takes the plug-in lock]
    void UseConfig(int index);
    // Reports host misbehaviour through the host's log, when it has one.
    // [main thread]
    void Log(Clap::LogSeverity severity, const char* text) const;
    // Debug and test builds report an entry called on the wrong thread (fxassert).
    // [any thread]
    enum Thread { kMainThread, kAudioThread };
    void CheckThread(Thread thread, const char* where) const;
    // The events of a host's list; none when it has no functions.
    // [audio thread] (or the main thread in a flush while not active)
    static uint32_t EventCount(const Clap::InputEvents* in);
    // Applies one host event (a parameter value; others are passed over).
    // [audio thread, plug-in lock held by caller] (or the main thread in a flush while not active)
    void ApplyEvent(const Clap::EventHeader& event);
    // Hands the queued editor gestures to out, oldest first, at frame 0, until it takes no more.
    // [audio thread, plug-in lock held by caller] (as ApplyEvent)
    void PushEdits(const Clap::OutputEvents* out);
    // The block's frames offset.. offset + frames through the core.
    // [audio thread, plug-in lock held by caller]
    void RunFrames(const Clap::Process& process, uint32_t offset, uint32_t frames);
    // [UI thread]
    void QueueEdit(uint16_t type, int paramIdx, double plain);

    Clap::Plugin mRecord{};
    const Clap::Host* mHost = nullptr;
    std::atomic<int> mStage{kCreated};
    int mConfig = 0;  // the channel configuration in use
    int mReportedLatency = 0;
    // The host's extensions, taken at init; null where it offers none.
    const Clap::HostParams* mHostParams = nullptr;
    const Clap::HostLatency* mHostLatency = nullptr;
    const Clap::HostState* mHostState = nullptr;
    const Clap::HostLog* mHostLog = nullptr;
    const Clap::HostThreadCheck* mHostThreadCheck = nullptr;
    IFxClapEdits mEdits;
    // The block's transport (null: none), and per channel the piece's buffers, sized at
    // construction so process allocates nothing.
    const Clap::EventTransport* mTransport = nullptr;
    std::vector<float*> mIn32, mOut32;
    std::vector<double*> mIn64, mOut64;
};
