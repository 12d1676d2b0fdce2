#pragma once
// The plug-in's description and the object the host drives it through.
#include "sdk/clap/abi.h"

namespace Clap {

struct Process;
struct Host;
using ProcessStatus = int32_t;  // kProcess... in process.h

struct PluginDescriptor {
    Version clap_version;
    const char* id;      // mandatory: reverse-domain
    const char* name;    // mandatory
    const char* vendor;  // this and the rest: may be "" or null
    const char* url;
    const char* manual_url;
    const char* support_url;
    const char* version;  // dotted numbers
    const char* description;
    const char* const* features;  // null-terminated; the Feature strings below
};

namespace Feature {
constexpr const char* kAudioEffect = "audio-effect";
constexpr const char* kInstrument = "instrument";
constexpr const char* kAnalyzer = "analyzer";
constexpr const char* kDistortion = "distortion";
constexpr const char* kFilter = "filter";
constexpr const char* kUtility = "utility";
constexpr const char* kMono = "mono";
constexpr const char* kStereo = "stereo";
}  // namespace Feature

// Threads and states of each entry as the host keeps them: see each comment.
struct Plugin {
    const PluginDescriptor* desc;
    void* plugin_data;                          // the plug-in's own
    bool(CLAP_CALL* init)(const Plugin* p);     // main; false: the host destroys
    void(CLAP_CALL* destroy)(const Plugin* p);  // main, deactivated
    bool(CLAP_CALL* activate)(const Plugin* p, double sample_rate, uint32_t min_frames_count,
                              uint32_t max_frames_count);                        // main, deactivated
    void(CLAP_CALL* deactivate)(const Plugin* p);                                // main, active
    bool(CLAP_CALL* start_processing)(const Plugin* p);                          // audio, active, not processing
    void(CLAP_CALL* stop_processing)(const Plugin* p);                           // audio, processing
    void(CLAP_CALL* reset)(const Plugin* p);                                     // audio, active
    ProcessStatus(CLAP_CALL* process)(const Plugin* p, const Process* process);  // audio, processing
    const void*(CLAP_CALL* get_extension)(const Plugin* p, const char* id);      // any thread, from init on
    void(CLAP_CALL* on_main_thread)(const Plugin* p);                            // main, after Host::request_callback
};

CLAP_SIZE(PluginDescriptor, 88, 48, 48, 8, 4, 4);
CLAP_AT(PluginDescriptor, id, 16, 12, 12);
CLAP_AT(PluginDescriptor, name, 24, 16, 16);
CLAP_AT(PluginDescriptor, vendor, 32, 20, 20);
CLAP_AT(PluginDescriptor, url, 40, 24, 24);
CLAP_AT(PluginDescriptor, manual_url, 48, 28, 28);
CLAP_AT(PluginDescriptor, support_url, 56, 32, 32);
CLAP_AT(PluginDescriptor, version, 64, 36, 36);
CLAP_AT(PluginDescriptor, description, 72, 40, 40);
CLAP_AT(PluginDescriptor, features, 80, 44, 44);

CLAP_TABLE(Plugin, 12);
CLAP_SLOT(Plugin, plugin_data, 1);
CLAP_SLOT(Plugin, init, 2);
CLAP_SLOT(Plugin, destroy, 3);
CLAP_SLOT(Plugin, activate, 4);
CLAP_SLOT(Plugin, deactivate, 5);
CLAP_SLOT(Plugin, start_processing, 6);
CLAP_SLOT(Plugin, stop_processing, 7);
CLAP_SLOT(Plugin, reset, 8);
CLAP_SLOT(Plugin, process, 9);
CLAP_SLOT(Plugin, get_extension, 10);
CLAP_SLOT(Plugin, on_main_thread, 11);

}  // namespace Clap
