#pragma once
// The posix-fd-support extension: a file descriptor (the X connection) watched by the host's
// main loop, level-triggered.
#include "sdk/clap/plugin.h"

namespace Clap {

constexpr const char* kExtPosixFdSupport = "clap.posix-fd-support";

enum PosixFdFlags : uint32_t { kPosixFdRead = 1, kPosixFdWrite = 2, kPosixFdError = 4 };

struct PluginPosixFdSupport {
    void(CLAP_CALL* on_fd)(const Plugin* p, int fd, uint32_t flags);  // main
};

struct HostPosixFdSupport {  // main thread
    bool(CLAP_CALL* register_fd)(const Host* h, int fd, uint32_t flags);
    bool(CLAP_CALL* modify_fd)(const Host* h, int fd, uint32_t flags);
    bool(CLAP_CALL* unregister_fd)(const Host* h, int fd);
};

CLAP_TABLE(PluginPosixFdSupport, 1);
CLAP_TABLE(HostPosixFdSupport, 3);
CLAP_SLOT(HostPosixFdSupport, modify_fd, 1);
CLAP_SLOT(HostPosixFdSupport, unregister_fd, 2);

}  // namespace Clap
