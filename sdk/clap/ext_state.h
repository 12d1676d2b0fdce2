#pragma once
// The state extension and its byte streams. Reads and writes may come up short: loop until done.
#include "sdk/clap/plugin.h"

namespace Clap {

constexpr const char* kExtState = "clap.state";

struct IStream {
    void* ctx;
    int64_t(CLAP_CALL* read)(const IStream* s, void* buffer, uint64_t size);  // bytes read; 0 end, -1 error
};

struct OStream {
    void* ctx;
    int64_t(CLAP_CALL* write)(const OStream* s, const void* buffer, uint64_t size);  // bytes written; -1 error
};

struct PluginState {  // main thread
    bool(CLAP_CALL* save)(const Plugin* p, const OStream* stream);
    bool(CLAP_CALL* load)(const Plugin* p, const IStream* stream);
};

struct HostState {
    void(CLAP_CALL* mark_dirty)(const Host* h);  // main
};

CLAP_TABLE(IStream, 2);
CLAP_SLOT(IStream, read, 1);
CLAP_TABLE(OStream, 2);
CLAP_SLOT(OStream, write, 1);
CLAP_TABLE(PluginState, 2);
CLAP_SLOT(PluginState, load, 1);
CLAP_TABLE(HostState, 1);

}  // namespace Clap
