// The CLAP module's editor in a window the raw-slot host makes (Win32 under Wine, X11 under Xvfb):
// gui calls in order and out of it, the editor at its size in the window between set_parent and
// destroy, on Linux driven by the host's timer and descriptor, and a knob drag as one gesture.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "clap_host.h"
#include "clap_layout.h"
// last: Xlib's macros would break the declarations above
#include "tests/hosts/editor_host.h"

namespace {
constexpr uint32_t kSize = 410460;  // width * 1000 + height
#ifdef _WIN32
constexpr const char *kApi = "win32", *kOtherApi = "x11";
constexpr size_t kLoop = 0;  // Windows drives the editor's window itself
#else
constexpr const char *kApi = "x11", *kOtherApi = "win32";
constexpr size_t kLoop = 11;  // one timer of 40 ms (25 frames a second), one descriptor to read
#endif

// Slots of the plug-in's "clap.gui" table.
constexpr size_t kIsApiSupported = 0, kCreate = 2, kDestroy = 3, kSetScale = 4, kGetSize = 5, kCanResize = 6,
                 kAdjustSize = 8, kSetSize = 9, kSetParent = 10, kShow = 13, kHide = 14;

// One instance of the module's plug-in, its "clap.gui" table called by slot number.
struct Instance {
    tzclap::Module module;
    tzclap::Plugin plugin;
    Instance() {
        std::string error;
        EXPECT_TRUE(module.Load(TZ_CLAP_MODULE, &error)) << error;
        EXPECT_TRUE(plugin.Create(module, "invalid.tavrel.tavrelzel4", &error)) << error;
    }
    template <class R = bool, class... A>
    R Call(size_t slot, A... args) {
        return tzclap::CallSlot<R>(plugin.Extension("clap.gui"), slot, plugin.Raw(), args...);
    }
    // get_size or adjust_size of w x h, as width * 1000 + height; 0 when refused.
    uint32_t Size(size_t slot, uint32_t w = 0, uint32_t h = 0) { return Call(slot, &w, &h) ? w * 1000 + h : 0; }
    // What the host's loop holds: timers of 40 ms * 10 + descriptors watched for reading.
    size_t Registered() const {
        size_t n = 0;
        for (const auto& timer : plugin.timers) n += timer.periodMs == 40 ? 10 : 100;
        for (const auto& fd : plugin.fds) n += fd.flags == 1 ? 1 : 100;
        return n;
    }
};
}  // namespace

TEST(ClapEditor, OpensInTheHostWindowAnswersOutOfOrderCallsAndReportsADrag) {
    auto instance = std::make_unique<Instance>();
    Instance& in = *instance;
    EditorHost window;
    ASSERT_NE(window.Parent(), nullptr);
    const auto parent = [&](const char* api) {  // a clap_window: the api, then the window one pointer in
        alignas(8) unsigned char raw[16] = {};
        tzclap::Put(raw, 0, api);
        tzclap::Put(raw, tzclap::L.P, reinterpret_cast<uintptr_t>(window.Parent()));
        return in.Call(kSetParent, static_cast<const void*>(raw));
    };
    const auto open = [&] { return window.FindEditor() && window.EditorSize() == kSize && in.Registered() == kLoop; };
    const struct {
        const char* what;
        std::function<bool()> call;
        bool answer;
    } rows[] = {
        {"floating, other api",
         [&] { return in.Call(kIsApiSupported, kApi, true) || in.Call(kIsApiSupported, kOtherApi, false); }, false},
        {"get_size before create", [&] { return in.Size(kGetSize) != 0; }, false},
        {"destroy, then floating", [&] { return in.Call<void>(kDestroy), in.Call(kCreate, kApi, true); }, false},
        {"create", [&] { return in.Call(kCreate, kApi, false); }, true},
        {"second create", [&] { return in.Call(kCreate, kApi, false); }, false},
        {"show before set_parent", [&] { return in.Call(kShow); }, false},
        {"set_scale", [&] { return in.Call(kSetScale, 2.0); }, false},
        {"can_resize", [&] { return in.Call(kCanResize); }, false},
        {"get_size", [&] { return in.Size(kGetSize) == kSize; }, true},
        {"adjust_size", [&] { return in.Size(kAdjustSize, 800, 100) == kSize; }, true},
        {"set_size", [&] { return !in.Call(kSetSize, 410u, 461u) && in.Call(kSetSize, 410u, 460u); }, true},
        {"set_parent, the other api", [&] { return parent(kOtherApi) || window.FindEditor(); }, false},
        {"set_parent", [&] { return parent(kApi) && open(); }, true},
        {"set_parent twice", [&] { return parent(kApi); }, false},
        {"show, hide", [&] { return in.Call(kShow) && in.Call(kHide); }, true},
        {"destroy", [&] { return in.Call<void>(kDestroy), window.FindEditor() || in.Registered() != 0; }, false},
        {"create, set_parent again", [&] { return in.Call(kCreate, kApi, false) && parent(kApi) && open(); }, true},
    };
    for (const auto& row : rows) EXPECT_EQ(row.call(), row.answer) << row.what;

    // "Dist. Amount" (its knob at 70, 58) dragged up a quarter of its range: the events come
    // through the host's descriptor, the knob's repaint with its timer.
    window.Loop([&] { in.plugin.FireTimers(); });  // the first paint
#ifndef _WIN32
    const std::string before = window.Pixels();
#endif
    window.Drag(70, 58, -32);
    window.Loop([&] { in.plugin.FireFds(); });
    EXPECT_GT(in.plugin.requestFlush, 0);
#ifndef _WIN32
    EXPECT_TRUE(window.Pixels() == before);
    window.Loop([&] { in.plugin.FireTimers(); });
    EXPECT_FALSE(window.Pixels() == before);
#endif
    in.plugin.Flush();
    std::string flushed;  // "type/id/value "
    for (const tzclap::OutEvent& e : in.plugin.outEvents)
        flushed += std::to_string(e.type) + "/" + std::to_string(e.id) + "/" + std::to_string(int(e.value)) + " ";
    EXPECT_EQ(flushed, "7/1/0 5/1/25 8/1/0 ");  // begin, value 25 of 0..100, end

    instance.reset();  // the plug-in destroyed with its editor open closes it
    EXPECT_FALSE(window.FindEditor());
}
