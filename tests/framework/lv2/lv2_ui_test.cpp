// The LV2 UI module loaded as a host loads it (dlopen of the deliverable), in a parent window of
// the test's own under Xvfb, with stand-in write, touch and resize features. Input is sent as
// synthetic events through the server and reaches the editor through the idle interface. Any X
// error fails the test.
#include <gtest/gtest.h>
// gtest before Xlib, whose None macro it would not survive
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dlfcn.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

namespace {
int gErrors = 0;
int CountError(Display*, XErrorEvent*) { return ++gErrors, 0; }

// The stand-in host: its features, and what the UI told it ("touch1+ write1 touch1- ").
struct Host {
    std::string calls;
    float lastValue = -1;
    int width = 0, height = 0;

    static void Write(LV2UI_Controller host, uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
        auto* h = static_cast<Host*>(host);
        if (format != 0 || size != sizeof(float)) return void(h->calls += "bad-write ");
        h->lastValue = *static_cast<const float*>(buffer);
        const std::string call = "write" + std::to_string(port) + " ";
        const size_t n = h->calls.size();
        if (n < call.size() || h->calls.compare(n - call.size(), call.size(), call)) h->calls += call;  // one per run
    }
    static void Touch(LV2UI_Feature_Handle host, uint32_t port, bool grabbed) {
        static_cast<Host*>(host)->calls += "touch" + std::to_string(port) + (grabbed ? "+ " : "- ");
    }
    static int Resize(LV2UI_Feature_Handle host, int width, int height) {
        static_cast<Host*>(host)->width = width, static_cast<Host*>(host)->height = height;
        return 0;
    }
    static LV2_URID Map(LV2_URID_Map_Handle, const char*) { return 1; }
};

struct Ui {
    Display* d = XOpenDisplay(nullptr);
    Window parent = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 500, 500, 0, 0, 0);
    void* module = dlopen(TZ_LV2_UI_MODULE, RTLD_NOW | RTLD_LOCAL);
    const LV2UI_Descriptor* desc = nullptr;
    const LV2UI_Idle_Interface* idle = nullptr;
    Host host;
    LV2_URID_Map map{nullptr, Host::Map};
    LV2UI_Touch touch{&host, Host::Touch};
    LV2UI_Resize resize{&host, Host::Resize};
    LV2_Feature parentFeature{LV2_UI__parent, reinterpret_cast<void*>(static_cast<uintptr_t>(parent))};
    LV2_Feature mapFeature{LV2_URID__map, &map};
    LV2_Feature touchFeature{LV2_UI__touch, &touch};
    LV2_Feature resizeFeature{LV2_UI__resize, &resize};
    LV2UI_Handle handle = nullptr;
    Window window = 0;
    Time time = 1;

    ~Ui() {
        XDestroyWindow(d, parent);
        XCloseDisplay(d);
        if (module) dlclose(module);
    }
    LV2UI_Handle Instantiate(std::initializer_list<const LV2_Feature*> features, LV2UI_Widget* widget) {
        std::vector<const LV2_Feature*> list(features);
        list.push_back(nullptr);
        return desc->instantiate(desc, "urn:tavrelzel4:stereo", "", Host::Write, &host, widget, list.data());
    }
    // The host's loop: the idle call every 10 ms for 100 ms (two redraw ticks at least).
    void Loop() {
        XSync(d, False);
        for (int i = 0; i < 10; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(10)))
            EXPECT_EQ(idle->idle(handle), 0);
    }
    // A drag of the left button at x through the heights ys: a press, moves, a release.
    void Drag(int x, std::initializer_list<int> ys) {
        XEvent e{};
        XButtonEvent& b = e.xbutton;  // the fields button and motion events share
        b.window = window, b.root = DefaultRootWindow(d), b.same_screen = True, b.button = Button1, b.x = x;
        for (const int* y = ys.begin(); y != ys.end(); ++y) {
            b.type = y == ys.begin() ? ButtonPress : y + 1 == ys.end() ? ButtonRelease : MotionNotify;
            b.state = y == ys.begin() ? 0 : Button1Mask;
            b.y = *y, b.time = time += 50;
            XSendEvent(d, window, False, 0, &e);
        }
    }
    // The pixels of a 90 x 90 knob at (x, y), as one number.
    uint64_t Knob(int x, int y) {
        XImage* image = XGetImage(d, window, x, y, 90, 90, AllPlanes, ZPixmap);
        uint64_t sum = 0;
        for (int j = 0; image && j < 90; ++j)
            for (int i = 0; i < 90; ++i) sum = sum * 31 + (XGetPixel(image, i, j) & 0xFFFFFF);
        if (image) XDestroyImage(image);
        return sum;
    }
    Window ParentOf(Window w) {
        Window root = 0, up = 0, *children = nullptr;
        unsigned n = 0;
        XQueryTree(d, w, &root, &up, &children, &n);
        if (children) XFree(children);
        return up;
    }
};

TEST(Lv2Ui, OpensSendsEditsShowsPortValuesAndCloses) {
    ASSERT_NE(getenv("DISPLAY"), nullptr) << "run under Xvfb";
    XSetErrorHandler(CountError);
    Ui t;
    ASSERT_TRUE(t.d);
    ASSERT_TRUE(t.module) << dlerror();
    auto entry = reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(t.module, "lv2ui_descriptor"));
    ASSERT_TRUE(entry);
    t.desc = entry(0);
    ASSERT_TRUE(t.desc && !entry(1));
    EXPECT_STREQ(t.desc->URI, "urn:tavrelzel4:ui");
    t.idle = static_cast<const LV2UI_Idle_Interface*>(t.desc->extension_data(LV2_UI__idleInterface));
    ASSERT_TRUE(t.idle);
    XMapWindow(t.d, t.parent);
    XSync(t.d, False);  // the editor's connection must find the parent

    // Without a required feature there is no UI.
    LV2UI_Widget widget = nullptr;
    EXPECT_FALSE(t.Instantiate({&t.mapFeature}, &widget)) << "no ui:parent";
    EXPECT_FALSE(t.Instantiate({&t.parentFeature, &t.touchFeature}, &widget)) << "no urid:map";

    t.handle = t.Instantiate({&t.parentFeature, &t.mapFeature, &t.touchFeature, &t.resizeFeature}, &widget);
    ASSERT_TRUE(t.handle && widget);
    t.window = static_cast<Window>(reinterpret_cast<uintptr_t>(widget));
    XWindowAttributes a{};
    ASSERT_TRUE(XGetWindowAttributes(t.d, t.window, &a));
    EXPECT_EQ(t.ParentOf(t.window), t.parent);
    EXPECT_TRUE(a.width == 410 && a.height == 460) << a.width << " x " << a.height;
    EXPECT_TRUE(t.host.width == 410 && t.host.height == 460) << t.host.width << " x " << t.host.height;
    t.Loop();

    struct Row {
        const char* what;
        std::function<void(Ui&)> act;
        int knobX, knobY;   // the knob that must move
        const char* calls;  // what the host hears
        float value;        // the last value written (-1: none)
    } rows[] = {
        // 30 pixels up on a 90-pixel knob geared 4: a twelfth of 0..100.
        {"drag up on Dist. Amount",
         [](Ui& u) {
             u.Drag(70, {58, 48, 38, 28, 28});
         },
         25, 13, "touch1+ write1 touch1- ", 100.0f / 12},
        {"the host sets Tone",
         [](Ui& u) {
             const float value = 90;
             u.desc->port_event(u.handle, 2, sizeof value, 0, &value);
         },
         116, 60, "", -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const uint64_t before = t.Knob(row.knobX, row.knobY);
        t.host.calls.clear();
        t.host.lastValue = -1;
        row.act(t);
        t.Loop();
        EXPECT_NE(t.Knob(row.knobX, row.knobY), before);
        EXPECT_EQ(t.host.calls, row.calls);
        EXPECT_NEAR(t.host.lastValue, row.value, 0.2);
    }

    t.desc->cleanup(t.handle);
    Window root = 0, up = 0, *children = nullptr;
    unsigned n = 1;
    XQueryTree(t.d, t.parent, &root, &up, &children, &n);
    if (children) XFree(children);
    EXPECT_EQ(n, 0u) << "the editor's window outlived cleanup";
    XSync(t.d, False);
    EXPECT_EQ(gErrors, 0);
}
}  // namespace
