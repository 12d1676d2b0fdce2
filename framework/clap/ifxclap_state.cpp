// IFxCLAP: the state extension. The bytes are those of the VST3 state (framework/statechunk.h),
// so a setting moves between the formats. The host's stream may take or give fewer bytes a call
// than asked: both directions loop until done.
#include "framework/clap/ifxclap.h"
#include "framework/statechunk.h"

namespace {
constexpr int kReadPiece = 4096;
// More than any state of ours: a stream that never ends is refused, not read into memory.
constexpr int kMostStateBytes = 1 << 24;

bool WriteAll(const Clap::OStream* stream, const unsigned char* bytes, int64_t count) {
    while (count > 0) {
        const int64_t written = stream->write(stream, bytes, static_cast<uint64_t>(count));
        if (written <= 0 || written > count) return false;
        bytes += written;
        count -= written;
    }
    return true;
}

// The stream's bytes up to its end; false on a read error or a stream too long.
bool ReadAll(const Clap::IStream* stream, IByteBlock* block) {
    unsigned char piece[kReadPiece];
    for (;;) {
        const int64_t got = stream->read(stream, piece, kReadPiece);
        if (got == 0) return true;
        if (got < 0 || got > kReadPiece || block->Size() > kMostStateBytes - kReadPiece) return false;
        const int before = block->Size();
        if (block->Put(piece, static_cast<int>(got)) != before + got) return false;
    }
}
}  // namespace

// Host's main thread. The chunk is taken under the plug-in mutex and written after it is released.
bool IFxCLAP::SaveState(const Clap::Plugin* p, const Clap::OStream* stream) {
    IFxCLAP* plug = From(p);
    if (!plug || !stream || !stream->write) return false;
    plug->CheckThread(kMainThread, __func__);
    IByteBlock block;
    return TakeStateChunk(plug, &block) && WriteAll(stream, block.GetBytes(), block.Size());
}

// Host's main thread. The whole stream is read first; then, under the plug-in mutex, the bytes
// apply by the rules of the VST3 state. Bytes those rules refuse leave every value as it was
// (the values before are put back), and the load answers false. The editor hears of the values
// and the host is asked to read them again after the mutex is released.
bool IFxCLAP::LoadState(const Clap::Plugin* p, const Clap::IStream* stream) {
    IFxCLAP* plug = From(p);
    if (!plug || !stream || !stream->read) return false;
    plug->CheckThread(kMainThread, __func__);
    IByteBlock bytes, before;
    if (!ReadAll(stream, &bytes) || bytes.Size() == 0) return false;
    bool applied = false;
    {
        ScopedPlugLock lock(plug->GetMutex());
        if (!TakeStateChunk(plug, &before)) return false;
        applied = ApplyStateChunk(plug, &bytes) >= 0;
        if (!applied) ApplyStateChunk(plug, &before);
    }
    if (!applied) {
        plug->Log(Clap::kLogHostMisbehaving, "state load with data that is no state of this plug-in");
        return false;
    }
    plug->PushValuesToGui();
    if (plug->mHostParams && plug->mHostParams->rescan)
        plug->mHostParams->rescan(plug->mHost, Clap::kParamRescanValues);
    return true;
}
