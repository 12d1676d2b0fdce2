// The LV2 UI module as a host loads it, in a parent window of the test's own under Xvfb: synthetic
// input reaches the editor through the idle interface. Any X error fails the test.
#include <gtest/gtest.h>
// gtest before Xlib, whose None macro it would not survive
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dlfcn.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>
#include <unistd.h>

#include <cstdint>
#include <functional>
#include <string>

namespace {
int gErrors = 0;
int CountError(Display*, XErrorEvent*) { return ++gErrors, 0; }

// What the stand-in host heard: gestures and runs of writes ("touch1+ write1 touch1- "), the last
// value written, and the size reported (width * 1000 + height).
std::string gCalls;
float gValue = -1;
int gSize = 0;
void Write(LV2UI_Controller, uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
    const std::string call = format == 0 && size == sizeof(float) ? "write" + std::to_string(port) + " " : "bad ";
    if (gCalls.size() < call.size() || gCalls.compare(gCalls.size() - call.size(), call.size(), call)) gCalls += call;
    gValue = *static_cast<const float*>(buffer);
}
LV2_URID_Map gMap{nullptr, [](LV2_URID_Map_Handle, const char*) -> LV2_URID { return 1; }};
LV2UI_Touch gTouch{nullptr, [](LV2UI_Feature_Handle, uint32_t port, bool grabbed) {
                       gCalls += "touch" + std::to_string(port) + (grabbed ? "+ " : "- ");
                   }};
LV2UI_Resize gResize{nullptr,
                     [](LV2UI_Feature_Handle, int width, int height) { return gSize = width * 1000 + height, 0; }};
const float kTone = 90;
const LV2_Feature kMap{LV2_URID__map, &gMap}, kTouch{LV2_UI__touch, &gTouch}, kResize{LV2_UI__resize, &gResize};

// The pixels of the 90 x 90 knob at (x, y) of window w, as one number.
uint64_t Knob(Display* d, Window w, int x, int y) {
    XImage* image = XGetImage(d, w, x, y, 90, 90, AllPlanes, ZPixmap);
    uint64_t sum = 0;
    for (int j = 0; image && j < 90; ++j)
        for (int i = 0; i < 90; ++i) sum = sum * 31 + (XGetPixel(image, i, j) & 0xFFFFFF);
    if (image) XDestroyImage(image);
    return sum;
}

// The number of children of window w, and its parent.
unsigned Children(Display* d, Window w, Window* parent) {
    Window root = 0, *children = nullptr;
    unsigned n = 0;
    XQueryTree(d, w, &root, parent, &children, &n);
    return XFree(children), n;
}

TEST(Lv2Ui, OpensSendsEditsShowsPortValuesAndCloses) {
    ASSERT_NE(getenv("DISPLAY"), nullptr) << "run under Xvfb";
    XSetErrorHandler(CountError);
    void* module = dlopen(TZ_LV2_UI_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_TRUE(module) << dlerror();
    auto entry = reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(module, "lv2ui_descriptor"));
    const LV2UI_Descriptor* desc = entry ? entry(0) : nullptr;
    ASSERT_TRUE(desc && !entry(1) && desc->extension_data(LV2_UI__idleInterface));
    EXPECT_STREQ(desc->URI, "urn:tavrelzel4:ui");
    auto idle = static_cast<const LV2UI_Idle_Interface*>(desc->extension_data(LV2_UI__idleInterface))->idle;
    Display* d = XOpenDisplay(nullptr);
    // Clear of the other tests' windows on a shared server: the knobs are read from the screen.
    const Window parent = XCreateSimpleWindow(d, DefaultRootWindow(d), 770, 520, 500, 500, 0, 0, 0);
    XMapWindow(d, parent);
    XSync(d, False);  // the editor's connection must find it
    const LV2_Feature kParent{LV2_UI__parent, reinterpret_cast<void*>(static_cast<uintptr_t>(parent))};

    LV2UI_Widget widget = nullptr;
    const LV2_Feature *noParent[] = {&kMap, nullptr}, *noMap[] = {&kParent, &kTouch, nullptr},
                      *all[] = {&kParent, &kMap, &kTouch, &kResize, nullptr};
    for (const LV2_Feature** missing : {noParent, noMap})
        EXPECT_FALSE(desc->instantiate(desc, "urn:tavrelzel4:stereo", "", Write, nullptr, &widget, missing));
    LV2UI_Handle ui = desc->instantiate(desc, "urn:tavrelzel4:stereo", "", Write, nullptr, &widget, all);
    ASSERT_TRUE(ui && widget);
    const Window window = static_cast<Window>(reinterpret_cast<uintptr_t>(widget));
    Window up = 0;
    XWindowAttributes a{};
    EXPECT_TRUE(Children(d, window, &up) == 0 && up == parent && XGetWindowAttributes(d, window, &a));
    EXPECT_EQ(a.width * 1000 + a.height, 410460);
    EXPECT_EQ(gSize, 410460);
    auto loop = [&] {  // the host's idle call every 10 ms for 100 ms: two redraw ticks at least
        XSync(d, False);
        for (int i = 0; i < 10; ++i, usleep(10000)) EXPECT_EQ(idle(ui), 0);
    };
    loop();

    struct Row {
        const char* what;
        std::function<void()> act;
        int knobX, knobY;   // the knob that must move
        const char* calls;  // what the host hears
        float value;        // the last value written (-1: none)
    } rows[] = {
        // 30 pixels up on a 90-pixel knob geared 4: a twelfth of 0..100.
        {"drag up on Dist. Amount",
         [&] {
             XEvent e{};
             XButtonEvent& b = e.xbutton;  // the fields button and motion events share
             b.window = window, b.root = DefaultRootWindow(d), b.same_screen = True, b.button = Button1, b.x = 70;
             for (int type : {ButtonPress, MotionNotify, ButtonRelease}) {
                 b.type = type, b.y = type == ButtonPress ? 58 : 28, b.time += 50;
                 b.state = type == ButtonPress ? 0 : Button1Mask;
                 XSendEvent(d, window, False, 0, &e);
             }
         },
         25, 13, "touch1+ write1 touch1- ", 100.0f / 12},
        {"the host sets Tone", [&] { desc->port_event(ui, 2, sizeof(float), 0, &kTone); }, 116, 60, "", -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const uint64_t before = Knob(d, window, row.knobX, row.knobY);
        gCalls.clear(), gValue = -1;
        row.act();
        loop();
        EXPECT_NE(Knob(d, window, row.knobX, row.knobY), before);
        EXPECT_EQ(gCalls, row.calls);
        EXPECT_NEAR(gValue, row.value, 0.2);
    }

    desc->cleanup(ui);
    EXPECT_EQ(Children(d, parent, &up), 0u) << "the editor's window outlived cleanup";
    XDestroyWindow(d, parent);
    XCloseDisplay(d);
    EXPECT_EQ(gErrors, 0);
}
}  // namespace
