// IFxCLAP: construction, the record, the core's host operations and the host's extensions.
#include "framework/clap/ifxclap.h"

#include <cmath>

#include "framework/fxassert.h"

IFxCLAP::IFxCLAP(const IFxOptions& options)
    : IFxBase(options, kApiCLAP),
      mIn32(NInChannels()),
      mOut32(NOutChannels()),
      mIn64(NInChannels()),
      mOut64(NOutChannels()) {
    // The widest configuration, as the channels were made for it.
    UseConfig(NChannelPairs() > 0 ? NChannelPairs() - 1 : 0);
}

IFxCLAP::~IFxCLAP() = default;

bool IFxCLAP::HostUsable(const Clap::Host* host) { return host && Clap::isCompatible(host->clap_version); }

const Clap::Plugin* IFxCLAP::Record(const Clap::PluginDescriptor* desc, const Clap::Host* host) {
    mHost = host;
    mRecord = {desc,           this,  Init,         Destroy,      Activate,    Deactivate, StartProcessing,
               StopProcessing, Reset, ProcessEntry, GetExtension, OnMainThread};
    return &mRecord;
}

IFxCLAP* IFxCLAP::From(const Clap::Plugin* p) { return p ? static_cast<IFxCLAP*>(p->plugin_data) : nullptr; }

const void* IFxCLAP::HostExtension(const char* id) const {
    if (mStage.load() == kCreated || !mHost || !mHost->get_extension || !id) return nullptr;
    return mHost->get_extension(mHost, id);
}

void IFxCLAP::Log(Clap::LogSeverity severity, const char* text) const {
    if (mHostLog && mHostLog->log) mHostLog->log(mHost, severity, text);
}

// Only the builds that check the plug-in lock check threads too; the others ask the host nothing.
void IFxCLAP::CheckThread(Thread thread, const char* where) const {
#if IFX_LOCK_CHECKS
    const Clap::HostThreadCheck* check = mHostThreadCheck;
    const auto on = !check ? nullptr : thread == kMainThread ? check->is_main_thread : check->is_audio_thread;
    if (on && !on(mHost))
        IFxAssert(thread == kMainThread ? "called on the host's main thread" : "called on the host's audio thread",
                  where, __LINE__);
#else
    (void)thread, (void)where;
#endif
}

void IFxCLAP::QueueEdit(uint16_t type, int paramIdx, double plain) {
    if (static_cast<unsigned>(paramIdx) >= static_cast<unsigned>(NParams())) return;
    mEdits.Push({type, static_cast<Clap::Id>(paramIdx), plain});
    if (mHostParams && mHostParams->request_flush)
        mHostParams->request_flush(mHost);
    else if (mHost && mHost->request_process)
        mHost->request_process(mHost);
}

void IFxCLAP::BeginInformHostOfParamChange(int paramIdx) { QueueEdit(Clap::kEventParamGestureBegin, paramIdx, 0.0); }

// Editor's thread, from SetParameterFromGUI, without the plug-in mutex: the value is already set.
void IFxCLAP::InformHostOfParamChange(int paramIdx, double normalized) {
    const IFxParam* param = GetParam(paramIdx);
    if (!param) return;
    QueueEdit(Clap::kEventParamValue, paramIdx, param->FromNormalized(normalized));
    if (mHostState && mHostState->mark_dirty) mHostState->mark_dirty(mHost);
}

void IFxCLAP::EndInformHostOfParamChange(int paramIdx) { QueueEdit(Clap::kEventParamGestureEnd, paramIdx, 0.0); }

namespace {
constexpr double kFixedPointUnit = static_cast<double>(Clap::kSecTimeFactor);
bool Has(const Clap::EventTransport* t, uint32_t flag) { return t && (t->flags & flag) != 0; }
}  // namespace

int IFxCLAP::HostSamplePosition() {
    if (!Has(mTransport, Clap::kTransportHasSecondsTimeline)) return 0;
    const double frames =
        std::floor(static_cast<double>(mTransport->song_pos_seconds) / kFixedPointUnit * GetSampleRate());
    return frames > 0.0 && frames < 2147483647.0 ? static_cast<int>(frames) : 0;
}

double IFxCLAP::HostTempo() { return Has(mTransport, Clap::kTransportHasTempo) ? mTransport->tempo : 120.0; }

void IFxCLAP::HostTimeSignature(int* numerator, int* denominator) {
    const bool known = Has(mTransport, Clap::kTransportHasTimeSignature);
    if (numerator) *numerator = known ? mTransport->tsig_num : 4;
    if (denominator) *denominator = known ? mTransport->tsig_denom : 4;
}

void IFxCLAP::HostTimeInfo(ITimeInfo* info) {
    if (!info) return;
    *info = ITimeInfo{};
    info->tempo = HostTempo();
    info->samplePos = HostSamplePosition();
    HostTimeSignature(&info->numerator, &info->denominator);
    if (Has(mTransport, Clap::kTransportHasBeatsTimeline)) {
        info->ppqPos = static_cast<double>(mTransport->song_pos_beats) / kFixedPointUnit;
        info->lastBar = static_cast<double>(mTransport->bar_start) / kFixedPointUnit;
        info->cycleStart = static_cast<double>(mTransport->loop_start_beats) / kFixedPointUnit;
        info->cycleEnd = static_cast<double>(mTransport->loop_end_beats) / kFixedPointUnit;
    }
    info->playing = Has(mTransport, Clap::kTransportIsPlaying);
    info->looping = Has(mTransport, Clap::kTransportIsLoopActive);
}

void IFxCLAP::ChangeLatency(int samples) {
    IFxBase::ChangeLatency(samples);
    const int stage = mStage.load();
    if ((stage == kActive || stage == kProcessing) && mHost && mHost->request_restart) mHost->request_restart(mHost);
}
