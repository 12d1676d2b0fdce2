#pragma once
// The params extension: the plug-in's parameters, their values and texts, and the host's
// rescan/clear/flush requests.
#include "sdk/clap/events.h"
#include "sdk/clap/plugin.h"

namespace Clap {

constexpr const char* kExtParams = "clap.params";

enum ParamInfoFlags : uint32_t {
    kParamIsStepped = 1 << 0,  // values convert by truncation
    kParamIsPeriodic = 1 << 1,
    kParamIsHidden = 1 << 2,
    kParamIsReadonly = 1 << 3,
    kParamIsBypass = 1 << 4,  // implies stepped: 0 off, 1 on; at most one
    kParamIsAutomatable = 1 << 5,
    kParamIsAutomatablePerNoteId = 1 << 6,
    kParamIsAutomatablePerKey = 1 << 7,
    kParamIsAutomatablePerChannel = 1 << 8,
    kParamIsAutomatablePerPort = 1 << 9,
    kParamIsModulatable = 1 << 10,
    kParamIsModulatablePerNoteId = 1 << 11,
    kParamIsModulatablePerKey = 1 << 12,
    kParamIsModulatablePerChannel = 1 << 13,
    kParamIsModulatablePerPort = 1 << 14,
    kParamRequiresProcess = 1 << 15,
    kParamIsEnum = 1 << 16,  // requires stepped
};

struct ParamInfo {
    Id id;           // stable forever
    uint32_t flags;  // ParamInfoFlags
    void* cookie;    // echoed in the parameter events
    char name[kNameSize];
    char module[kPathSize];  // '/'-separated group path
    double min_value;        // plain units, finite
    double max_value;
    double default_value;
};

// Entries 0-4 on the main thread; flush on the audio thread while active, else the main thread,
// never beside process.
struct PluginParams {
    uint32_t(CLAP_CALL* count)(const Plugin* p);
    bool(CLAP_CALL* get_info)(const Plugin* p, uint32_t param_index, ParamInfo* out);
    bool(CLAP_CALL* get_value)(const Plugin* p, Id id, double* out);
    bool(CLAP_CALL* value_to_text)(const Plugin* p, Id id, double value, char* out, uint32_t out_capacity);
    bool(CLAP_CALL* text_to_value)(const Plugin* p, Id id, const char* text, double* out);
    void(CLAP_CALL* flush)(const Plugin* p, const InputEvents* in, const OutputEvents* out);
};

enum ParamRescanFlags : uint32_t {
    kParamRescanValues = 1,
    kParamRescanText = 2,
    kParamRescanInfo = 4,
    kParamRescanAll = 8,  // deactivated only; invalidates the cookies
};

enum ParamClearFlags : uint32_t { kParamClearAll = 1, kParamClearAutomations = 2, kParamClearModulations = 4 };

struct HostParams {
    void(CLAP_CALL* rescan)(const Host* h, uint32_t rescan_flags);       // main
    void(CLAP_CALL* clear)(const Host* h, Id id, uint32_t clear_flags);  // main
    void(CLAP_CALL* request_flush)(const Host* h);                       // any thread but the audio thread
};

CLAP_SIZE(ParamInfo, 1320, 1320, 1316, 8, 8, 4);
CLAP_AT(ParamInfo, flags, 4, 4, 4);
CLAP_AT(ParamInfo, cookie, 8, 8, 8);
CLAP_AT(ParamInfo, name, 16, 12, 12);
CLAP_AT(ParamInfo, module, 272, 268, 268);
CLAP_AT(ParamInfo, min_value, 1296, 1296, 1292);
CLAP_AT(ParamInfo, max_value, 1304, 1304, 1300);
CLAP_AT(ParamInfo, default_value, 1312, 1312, 1308);

CLAP_TABLE(PluginParams, 6);
CLAP_SLOT(PluginParams, get_info, 1);
CLAP_SLOT(PluginParams, get_value, 2);
CLAP_SLOT(PluginParams, value_to_text, 3);
CLAP_SLOT(PluginParams, text_to_value, 4);
CLAP_SLOT(PluginParams, flush, 5);

CLAP_TABLE(HostParams, 3);
CLAP_SLOT(HostParams, clear, 1);
CLAP_SLOT(HostParams, request_flush, 2);

}  // namespace Clap
