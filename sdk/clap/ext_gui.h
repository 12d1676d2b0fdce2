#pragma once
// The gui extension: the editor embedded in a host window (or floating). Sizes in pixels; every
// plug-in entry on the main thread.
#include "sdk/clap/plugin.h"

namespace Clap {

constexpr const char* kExtGui = "clap.gui";

// Window APIs: win32 and x11 in physical pixels; cocoa and uikit in logical pixels (no set_scale);
// wayland floating only.
constexpr const char* kWindowApiWin32 = "win32";
constexpr const char* kWindowApiX11 = "x11";
constexpr const char* kWindowApiCocoa = "cocoa";
constexpr const char* kWindowApiUikit = "uikit";
constexpr const char* kWindowApiWayland = "wayland";

struct Window {
    const char* api;  // one of the kWindowApi... strings
    union {
        void* cocoa;
        void* uikit;
        unsigned long x11;  // an X Window id
        void* win32;        // an HWND
        void* ptr;
    };
};

struct GuiResizeHints {
    bool can_resize_horizontally;
    bool can_resize_vertically;
    bool preserve_aspect_ratio;
    uint32_t aspect_ratio_width;
    uint32_t aspect_ratio_height;
};

// Embedded: is_api_supported, create, set_scale, can_resize, get_size (or set_size), set_parent,
// show; hide and show at will; destroy.
struct PluginGui {
    bool(CLAP_CALL* is_api_supported)(const Plugin* p, const char* api, bool is_floating);
    bool(CLAP_CALL* get_preferred_api)(const Plugin* p, const char** api, bool* is_floating);  // our string
    bool(CLAP_CALL* create)(const Plugin* p, const char* api, bool is_floating);               // not shown yet
    void(CLAP_CALL* destroy)(const Plugin* p);
    bool(CLAP_CALL* set_scale)(const Plugin* p, double scale);  // false: ignored
    bool(CLAP_CALL* get_size)(const Plugin* p, uint32_t* width, uint32_t* height);
    bool(CLAP_CALL* can_resize)(const Plugin* p);
    bool(CLAP_CALL* get_resize_hints)(const Plugin* p, GuiResizeHints* hints);
    bool(CLAP_CALL* adjust_size)(const Plugin* p, uint32_t* width, uint32_t* height);  // must not resize
    bool(CLAP_CALL* set_size)(const Plugin* p, uint32_t width, uint32_t height);
    bool(CLAP_CALL* set_parent)(const Plugin* p, const Window* window);     // embedded
    bool(CLAP_CALL* set_transient)(const Plugin* p, const Window* window);  // floating
    void(CLAP_CALL* suggest_title)(const Plugin* p, const char* title);     // floating
    bool(CLAP_CALL* show)(const Plugin* p);
    bool(CLAP_CALL* hide)(const Plugin* p);  // keeps the resources
};

// Every entry from any thread.
struct HostGui {
    void(CLAP_CALL* resize_hints_changed)(const Host* h);
    bool(CLAP_CALL* request_resize)(const Host* h, uint32_t width, uint32_t height);  // true: accepted or queued
    bool(CLAP_CALL* request_show)(const Host* h);
    bool(CLAP_CALL* request_hide)(const Host* h);
    void(CLAP_CALL* closed)(const Host* h, bool was_destroyed);  // was_destroyed: destroy follows
};

CLAP_SIZE(Window, 16, 8, 8, 8, 4, 4);
CLAP_AT(Window, cocoa, 8, 4, 4);
CLAP_AT(Window, x11, 8, 4, 4);
CLAP_AT(Window, win32, 8, 4, 4);
static_assert(sizeof(unsigned long) == (Layout::P == 8 && !Layout::kWindows ? 8 : 4), "X Window id size");

CLAP_SIZE(GuiResizeHints, 12, 12, 12, 4, 4, 4);
CLAP_AT(GuiResizeHints, can_resize_vertically, 1, 1, 1);
CLAP_AT(GuiResizeHints, preserve_aspect_ratio, 2, 2, 2);
CLAP_AT(GuiResizeHints, aspect_ratio_width, 4, 4, 4);
CLAP_AT(GuiResizeHints, aspect_ratio_height, 8, 8, 8);

CLAP_TABLE(PluginGui, 15);
CLAP_SLOT(PluginGui, get_preferred_api, 1);
CLAP_SLOT(PluginGui, create, 2);
CLAP_SLOT(PluginGui, destroy, 3);
CLAP_SLOT(PluginGui, set_scale, 4);
CLAP_SLOT(PluginGui, get_size, 5);
CLAP_SLOT(PluginGui, can_resize, 6);
CLAP_SLOT(PluginGui, get_resize_hints, 7);
CLAP_SLOT(PluginGui, adjust_size, 8);
CLAP_SLOT(PluginGui, set_size, 9);
CLAP_SLOT(PluginGui, set_parent, 10);
CLAP_SLOT(PluginGui, set_transient, 11);
CLAP_SLOT(PluginGui, suggest_title, 12);
CLAP_SLOT(PluginGui, show, 13);
CLAP_SLOT(PluginGui, hide, 14);

CLAP_TABLE(HostGui, 5);
CLAP_SLOT(HostGui, request_resize, 1);
CLAP_SLOT(HostGui, request_show, 2);
CLAP_SLOT(HostGui, request_hide, 3);
CLAP_SLOT(HostGui, closed, 4);

}  // namespace Clap
