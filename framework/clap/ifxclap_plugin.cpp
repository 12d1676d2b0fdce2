// IFxCLAP: the record's entries and the life cycle. Each entry checks the stage the host's calls
// have brought the plug-in to; one out of order is answered false or ignored (and, on the main
// thread, reported to the host's log).
#include <cmath>
#include <cstring>

#include "framework/clap/ifxclap.h"

namespace {
constexpr double kHighestRate = 2147483647.0;  // the core keeps rates as int
}  // namespace

bool IFxCLAP::Init(const Clap::Plugin* p) {
    IFxCLAP* plug = From(p);
    if (!plug) return false;
    int expected = kCreated;
    if (!plug->mStage.compare_exchange_strong(expected, kReady)) {
        plug->Log(Clap::kLogHostMisbehaving, "init called twice");
        return false;
    }
    auto ext = [plug](const char* id) { return plug->HostExtension(id); };
    plug->mHostLog = static_cast<const Clap::HostLog*>(ext(Clap::kExtLog));
    plug->mHostThreadCheck = static_cast<const Clap::HostThreadCheck*>(ext(Clap::kExtThreadCheck));
    plug->mHostParams = static_cast<const Clap::HostParams*>(ext(Clap::kExtParams));
    plug->mHostLatency = static_cast<const Clap::HostLatency*>(ext(Clap::kExtLatency));
    plug->mHostState = static_cast<const Clap::HostState*>(ext(Clap::kExtState));
    plug->CheckThread(kMainThread, __func__);
    plug->SetHost(plug->mHost->name ? plug->mHost->name : "", 0);
    plug->HostKnown();
    ScopedPlugLock lock(plug->GetMutex());
    plug->RestorePresetSlot(0);
    return true;
}

void IFxCLAP::Destroy(const Clap::Plugin* p) {
    IFxCLAP* plug = From(p);
    if (!plug) return;
    plug->CheckThread(kMainThread, __func__);
    if (plug->mStage.load() >= kActive) {
        plug->Log(Clap::kLogHostMisbehaving, "destroy called while active");
        plug->ActivationChanged(false);
    }
    plug->CloseGui();
    delete plug;
}

bool IFxCLAP::Activate(const Clap::Plugin* p, double rate, uint32_t minFrames, uint32_t maxFrames) {
    IFxCLAP* plug = From(p);
    if (!plug) return false;
    plug->CheckThread(kMainThread, __func__);
    if (plug->mStage.load() != kReady) {
        plug->Log(Clap::kLogHostMisbehaving, "activate called before init or while active");
        return false;
    }
    if (!(rate >= 1.0 && rate <= kHighestRate) || maxFrames == 0 || minFrames > maxFrames) {
        plug->Log(Clap::kLogHostMisbehaving, "activate with a rate or block sizes no block can have");
        return false;
    }
    const int blockSize =
        maxFrames < static_cast<uint32_t>(kMaxBlockSize) ? static_cast<int>(maxFrames) : kMaxBlockSize;
    {
        ScopedPlugLock lock(plug->GetMutex());
        plug->ChangeBlockSize(blockSize);
        if (plug->GetBlockSize() != blockSize) return false;
        plug->SetSampleRate(rate);
        plug->ResetProcessing();
    }
    plug->ActivationChanged(true);
    plug->mStage.store(kActive);
    // The host takes a new latency only now.
    if (plug->GetLatency() != plug->mReportedLatency && plug->mHostLatency && plug->mHostLatency->changed)
        plug->mHostLatency->changed(plug->mHost);
    plug->mReportedLatency = plug->GetLatency();
    return true;
}

void IFxCLAP::Deactivate(const Clap::Plugin* p) {
    IFxCLAP* plug = From(p);
    if (!plug) return;
    plug->CheckThread(kMainThread, __func__);
    int expected = kActive;
    if (!plug->mStage.compare_exchange_strong(expected, kReady)) {
        plug->Log(Clap::kLogHostMisbehaving, "deactivate called while not active or still processing");
        return;
    }
    plug->ActivationChanged(false);
}

bool IFxCLAP::StartProcessing(const Clap::Plugin* p) {
    IFxCLAP* plug = From(p);
    if (!plug) return false;
    plug->CheckThread(kAudioThread, __func__);
    int expected = kActive;
    return plug->mStage.compare_exchange_strong(expected, kProcessing);
}

void IFxCLAP::StopProcessing(const Clap::Plugin* p) {
    IFxCLAP* plug = From(p);
    if (!plug) return;
    plug->CheckThread(kAudioThread, __func__);
    int expected = kProcessing;
    plug->mStage.compare_exchange_strong(expected, kActive);
}

void IFxCLAP::Reset(const Clap::Plugin* p) {
    IFxCLAP* plug = From(p);
    if (!plug || plug->mStage.load() < kActive) return;
    plug->CheckThread(kAudioThread, __func__);
    plug->ResetProcessing();
}

const void* IFxCLAP::GetExtension(const Clap::Plugin* /*p*/, const char* id) {
    static const Clap::PluginParams params = {ParamCount, ParamInfo, ParamValue, ValueToText, TextToValue, Flush};
    static const Clap::PluginState state = {SaveState, LoadState};
    static const Clap::PluginAudioPorts ports = {PortCount, PortInfo};
    static const Clap::PluginAudioPortsConfig configs = {ConfigCount, ConfigInfo, SelectConfig};
    static const Clap::PluginLatency latency = {LatencyGet};
    const struct {
        const char* id;
        const void* table;
    } tables[] = {{Clap::kExtParams, &params},
                  {Clap::kExtState, &state},
                  {Clap::kExtAudioPorts, &ports},
                  {Clap::kExtAudioPortsConfig, &configs},
                  {Clap::kExtLatency, &latency}};
    if (!id) return nullptr;
    for (const auto& t : tables)
        if (std::strcmp(id, t.id) == 0) return t.table;
    return GuiExtension(id);
}

void IFxCLAP::OnMainThread(const Clap::Plugin* /*p*/) {}
