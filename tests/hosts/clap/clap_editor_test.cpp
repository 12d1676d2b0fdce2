// The CLAP module's editor in a window the raw-slot host makes (Win32 under Wine, X11 under Xvfb):
// the gui calls in and out of order, the editor at its fixed size in the window and gone from it
// at destroy, on Linux the host's timer and descriptor registered for exactly that time and
// driving it, and a knob drag reaching the host as one gesture of plain values.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "clap_host.h"
#include "clap_layout.h"
// last: Xlib's macros would break the declarations above
#include "tests/hosts/editor_host.h"

namespace {
constexpr uint32_t kW = 410, kH = 460;
#ifdef _WIN32
constexpr const char *kApi = "win32", *kOtherApi = "x11";
constexpr bool kHostLoop = false;  // Windows drives the editor's window itself
#else
constexpr const char *kApi = "x11", *kOtherApi = "win32";
constexpr bool kHostLoop = true;
#endif

// The slots of the plug-in's "clap.gui" table.
enum Slot {
    kIsApiSupported,
    kGetPreferredApi,
    kCreate,
    kDestroy,
    kSetScale,
    kGetSize,
    kCanResize,
    kGetResizeHints,
    kAdjustSize,
    kSetSize,
    kSetParent,
    kSetTransient,
    kSuggestTitle,
    kShow,
    kHide
};

// One instance of the module's plug-in, with its "clap.gui" table called by slot number.
struct Instance {
    tzclap::Module module;
    tzclap::Plugin plugin;
    const void* gui = nullptr;

    Instance() {
        std::string error;
        EXPECT_TRUE(module.Load(TZ_CLAP_MODULE, &error)) << error;
        EXPECT_TRUE(plugin.Create(module, "invalid.tavrel.tavrelzel4", &error)) << error;
        gui = plugin.Extension("clap.gui");
    }
    template <class R = bool, class... A>
    R Call(Slot slot, A... args) {
        return tzclap::CallSlot<R>(gui, slot, plugin.Raw(), args...);
    }
    // get_size or adjust_size from proposed, as width * 1000 + height; 0 when refused.
    uint32_t Size(Slot slot, uint32_t w = 0, uint32_t h = 0) { return Call(slot, &w, &h) ? w * 1000 + h : 0; }
    // What the host's loop holds for the editor: timers * 10 + descriptors (read interest only).
    size_t Registered() const {
        size_t fds = 0;
        for (const auto& fd : plugin.fds) fds += fd.flags == 1;
        return plugin.timers.size() * 10 + fds;
    }
};
}  // namespace

// Every gui entry of the table in a host's order, with the calls out of order mixed in: each
// answers as the row says, and the window holds the editor between set_parent and destroy.
TEST(ClapEditor, GuiCallsAnswerInOrderAndOutOfIt) {
    Instance in;
    ASSERT_NE(in.gui, nullptr);
    EditorHost window;
    ASSERT_NE(window.Parent(), nullptr);
    const auto parent = [&](const char* api) {  // a clap_window: the api, then the window one pointer in
        alignas(8) unsigned char raw[16] = {};
        tzclap::Put(raw, 0, api);
        tzclap::Put(raw, tzclap::L.P, reinterpret_cast<uintptr_t>(window.Parent()));
        return in.Call(kSetParent, static_cast<const void*>(raw));
    };
    const size_t loop = kHostLoop ? 11 : 0;  // one timer and one descriptor on X11
    const struct {
        const char* what;
        std::function<bool()> call;
        bool answer;
    } rows[] = {
        {"its api, embedded", [&] { return in.Call(kIsApiSupported, kApi, false); }, true},
        {"its api, floating", [&] { return in.Call(kIsApiSupported, kApi, true); }, false},
        {"the other api", [&] { return in.Call(kIsApiSupported, kOtherApi, false); }, false},
        {"preferred api",
         [&] {
             const char* api = nullptr;
             bool floating = true;
             return in.Call(kGetPreferredApi, &api, &floating) && !std::strcmp(api, kApi) && !floating;
         },
         true},
        {"get_size before create", [&] { return in.Size(kGetSize) != 0; }, false},
        {"show before create", [&] { return in.Call(kShow); }, false},
        {"destroy without create, then floating", [&] { return in.Call<void>(kDestroy), in.Call(kCreate, kApi, true); },
         false},
        {"create", [&] { return in.Call(kCreate, kApi, false); }, true},
        {"second create", [&] { return in.Call(kCreate, kApi, false); }, false},
        {"show before set_parent", [&] { return in.Call(kShow); }, false},
        {"set_scale", [&] { return in.Call(kSetScale, 2.0); }, false},
        {"can_resize", [&] { return in.Call(kCanResize); }, false},
        {"get_size", [&] { return in.Size(kGetSize) == kW * 1000 + kH; }, true},
        {"adjust_size", [&] { return in.Size(kAdjustSize, 800, 100) == kW * 1000 + kH; }, true},
        {"set_size, another size", [&] { return in.Call(kSetSize, kW, kH + 1); }, false},
        {"set_size, its size", [&] { return in.Call(kSetSize, kW, kH); }, true},
        {"set_parent, the other api", [&] { return parent(kOtherApi) || window.FindEditor(); }, false},
        {"set_parent",
         [&] {
             return parent(kApi) && window.FindEditor() && window.EditorSize() == 410460 && in.Registered() == loop;
         },
         true},
        {"set_parent twice", [&] { return parent(kApi); }, false},
        {"set_transient", [&] { return in.Call(kSetTransient, static_cast<const void*>(nullptr)); }, false},
        {"show", [&] { return in.Call(kShow); }, true},
        {"hide", [&] { return in.Call(kHide); }, true},
        {"destroy", [&] { return in.Call<void>(kDestroy), window.FindEditor() || in.Registered() != 0; }, false},
        {"show after destroy", [&] { return in.Call(kShow); }, false},
        {"create again", [&] { return in.Call(kCreate, kApi, false); }, true},
    };
    for (const auto& row : rows) EXPECT_EQ(row.call(), row.answer) << row.what;
}

// A drag on "Dist. Amount" (its knob at 70, 58): the editor's window events come through the host's
// descriptor, its repaint with the host's timer, and the host hears GESTURE_BEGIN, PARAM_VALUE
// (plain: a quarter of 0..100) and GESTURE_END of parameter 1 at its flush.
TEST(ClapEditor, ADragReachesTheHostAsAGestureOfPlainValues) {
    Instance in;
    EditorHost window;
    uint32_t w = 0, h = 0;
    ASSERT_TRUE(in.plugin.GuiOpen(reinterpret_cast<uintptr_t>(window.Parent()), &w, &h));
    EXPECT_EQ(w * 1000 + h, kW * 1000 + kH);
    ASSERT_TRUE(window.FindEditor());
    EXPECT_EQ(window.EditorSize(), 410460);
    if (kHostLoop) {
        ASSERT_EQ(in.plugin.timers.size(), 1u);
        EXPECT_EQ(in.plugin.timers[0].periodMs, 40u);  // 25 frames a second
    }
    window.Loop([&] { in.plugin.FireTimers(); });  // the first paint

#ifndef _WIN32
    const std::string before = window.Pixels();
#endif
    window.Drag(70, 58, -32);
    window.Loop([&] { in.plugin.FireFds(); });
    EXPECT_GT(in.plugin.requestFlush, 0);
#ifndef _WIN32
    EXPECT_TRUE(window.Pixels() == before);  // the knob waits for a tick
    window.Loop([&] { in.plugin.FireTimers(); });
    EXPECT_FALSE(window.Pixels() == before);
#endif

    in.plugin.Flush();
    const auto& events = in.plugin.outEvents;
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events.front().type, 7);
    EXPECT_EQ(events.back().type, 8);
    for (size_t i = 1; i + 1 < events.size(); ++i) EXPECT_EQ(events[i].type, 5);
    for (const tzclap::OutEvent& e : events) EXPECT_EQ(e.id, 1u);
    double value = 0;
    EXPECT_TRUE(in.plugin.GetParamValue(1, &value));
    EXPECT_EQ(value, 25.0);
    EXPECT_EQ(events[events.size() - 2].value, value);

    in.plugin.GuiClose();
    EXPECT_FALSE(window.FindEditor());
    EXPECT_TRUE(in.plugin.timers.empty());
    EXPECT_TRUE(in.plugin.fds.empty());
}
