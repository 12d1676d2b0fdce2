#pragma once
// The object the host passes to the plug-in it creates; valid until after Plugin::destroy.
#include "sdk/clap/abi.h"

namespace Clap {

struct Host {
    Version clap_version;
    void* host_data;   // the host's own
    const char* name;  // mandatory
    const char* vendor;
    const char* url;
    const char* version;  // mandatory
    // Any thread, not before Plugin::init; null for an extension the host lacks.
    const void*(CLAP_CALL* get_extension)(const Host* h, const char* extension_id);
    void(CLAP_CALL* request_restart)(const Host* h);   // any thread: deactivate, activate later
    void(CLAP_CALL* request_process)(const Host* h);   // any thread: activate and start processing
    void(CLAP_CALL* request_callback)(const Host* h);  // any thread: Plugin::on_main_thread later
};

CLAP_SIZE(Host, 88, 48, 48, 8, 4, 4);
CLAP_AT(Host, host_data, 16, 12, 12);
CLAP_AT(Host, name, 24, 16, 16);
CLAP_AT(Host, vendor, 32, 20, 20);
CLAP_AT(Host, url, 40, 24, 24);
CLAP_AT(Host, version, 48, 28, 28);
CLAP_AT(Host, get_extension, 56, 32, 32);
CLAP_AT(Host, request_restart, 64, 36, 36);
CLAP_AT(Host, request_process, 72, 40, 40);
CLAP_AT(Host, request_callback, 80, 44, 44);

}  // namespace Clap
