// The editor of the built module, opened by the stand-in host in a window of its own (Wine with
// Xvfb): its window, its pixels against a reference composited here from the five PNG files, and
// posted mouse input turned into balanced host gestures that the parameters and audio follow.
#include <gtest/gtest.h>
#include <png.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "sdk/vst3/contextmenu.h"
#include "sdk/vst3/plugview.h"
#include "test_module.h"
#include "tests/host_window_win.h"
#include "vst3_host.h"

using namespace tzhost;
using namespace testwin;

namespace {
constexpr int kW = 410, kH = 460;
constexpr const char* kClass = "IFxWndClass";

// The host's parameter menu: records where it pops up.
class Menu : public HostObject<IContextMenu> {
public:
    explicit Menu(std::string& record) : log(record) {}
    int32 PLUGIN_API getItemCount() override { return 0; }
    tresult PLUGIN_API getItem(int32, Item&, IContextMenuTarget**) override { return kResultFalse; }
    tresult PLUGIN_API addItem(const Item&, IContextMenuTarget*) override { return kResultFalse; }
    tresult PLUGIN_API removeItem(const Item&, IContextMenuTarget*) override { return kResultFalse; }
    tresult PLUGIN_API popup(UCoord x, UCoord y) override {
        log += "popup" + std::to_string(x) + "," + std::to_string(y) + " ";
        return kResultOk;
    }
    std::string& log;
};

class Menus : public HostObject<IComponentHandler3> {
public:
    explicit Menus(std::string& record) : log(record), menu(record) {}
    IContextMenu* PLUGIN_API createContextMenu(IEditorView* view, const ParamID* id) override {
        log += std::string(view ? "menu" : "menu-without-view") + std::to_string(*id) + " ";
        menu.addRef();
        return &menu;
    }
    std::string& log;
    Menu menu;
};

// Records the edit calls the plug-in makes, as "begin1 perform1 end1 ", and the menus it asks for.
class Handler : public HostObject<IComponentHandler> {
public:
    tresult PLUGIN_API queryInterface(const TUID queryIid, void** obj) override {
        if (!iidEqual(queryIid, IComponentHandler3::iid))
            return HostObject<IComponentHandler>::queryInterface(queryIid, obj);
        menus.addRef();
        *obj = static_cast<IComponentHandler3*>(&menus);
        return kResultOk;
    }
    tresult PLUGIN_API beginEdit(ParamID id) override { return Log("begin", id); }
    tresult PLUGIN_API performEdit(ParamID id, ParamValue) override { return Log("perform", id); }
    tresult PLUGIN_API endEdit(ParamID id) override { return Log("end", id); }
    tresult PLUGIN_API restartComponent(int32) override { return kResultOk; }
    // Repeated performs of one gesture count once.
    tresult Log(const char* what, ParamID id) {
        const std::string entry = what + std::to_string(id) + " ";
        if (log.size() < entry.size() || log.compare(log.size() - entry.size(), entry.size(), entry) != 0) log += entry;
        return kResultOk;
    }
    std::string log;
    Menus menus{log};
};

HWND gWatched;
int gTicks;
LRESULT CALLBACK CountTicks(int code, WPARAM remove, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code >= 0 && remove == PM_REMOVE && msg->hwnd == gWatched && msg->message == WM_TIMER && msg->wParam == 2)
        ++gTicks;
    return CallNextHookEx(nullptr, code, remove, lParam);
}

WPARAM gForwardedKey;
LRESULT CALLBACK RecordKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN) gForwardedKey = wParam;
    return DefWindowProcA(window, message, wParam, lParam);
}

bool ClassRegistered() {
    WNDCLASSA wc;
    return GetClassInfoA(static_cast<HINSTANCE>(GetModuleHandleA("TavrelZel4.vst3")), kClass, &wc) != 0;
}

// One instance with its editor open in a host window of its own.
struct Editor {
    Plugin plugin;
    HostApplication app;
    Handler handler;
    HWND host = nullptr;
    IEditorView* view = nullptr;
    HWND window = nullptr;

    Editor() {
        std::string error;
        EXPECT_TRUE(plugin.Create(TheModule().Factory(), &error)) << error;
        EXPECT_TRUE(plugin.Initialize(&app));
        EXPECT_EQ(plugin.Prepare(1, 48000, 256), kResultOk);
        plugin.controller->setComponentHandler(&handler);
        host = HostWindow(kW, kH);
        view = plugin.controller->createView("editor");
        EXPECT_NE(view, nullptr);
        Attach();
    }
    ~Editor() {
        Detach();
        if (view) view->release();
        plugin.controller->setComponentHandler(nullptr);
        plugin.Shutdown();
        ReturnHostWindow(host);
    }
    void Attach() {
        EXPECT_EQ(view->attached(host, "HWND"), kResultOk);
        window = FindWindowExA(host, nullptr, kClass, nullptr);
        SendMessageA(window, WM_TIMER, 2, 0);  // one tick: paints what opening marked dirty
    }
    void Detach() {
        if (window) {
            EXPECT_EQ(view->removed(), kResultOk);
        }
        window = nullptr;
    }
    void Click(int x, int y, int dy = 0) {
        PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        if (dy) PostMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y + dy));
        PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y + dy));
        Pump(20);
        SendMessageA(window, WM_TIMER, 2, 0);
    }
    // Windows reports a double click as down, up, double click, up.
    void DoubleClick(int x, int y) {
        for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
            PostMessageA(window, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
        Pump(20);
        SendMessageA(window, WM_TIMER, 2, 0);
    }
    double Normalized(int id) { return plugin.controller->getParamNormalized(static_cast<ParamID>(id)); }
    // One block of a fixed tone; returns the left output.
    std::vector<double> Block(IParameterChanges* changes = nullptr) {
        std::vector<double> in(256), out0(256), out1(256);
        for (int i = 0; i < 256; ++i) in[i] = 0.5 * std::sin(0.05 * i);
        double* ins[2] = {in.data(), in.data()};
        double* outs[2] = {out0.data(), out1.data()};
        EXPECT_EQ(plugin.Process64(ins, outs, 2, 256, changes), kResultOk);
        return out0;
    }
};

// The window's pixels (0xAARRGGBB words, alpha ignored), captured from its device context.
std::vector<uint32_t> Capture(HWND window) {
    HDC dc = GetDC(window);
    HDC mem = CreateCompatibleDC(dc);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), kW, -kH, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, kW, kH, dc, 0, 0, SRCCOPY);
    GdiFlush();
    std::vector<uint32_t> pixels(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + kW * kH);
    for (uint32_t& p : pixels) p |= 0xFF000000u;
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(window, dc);
    return pixels;
}

void WritePng(const std::vector<uint32_t>& pixels, const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = kW;
    image.height = kH;
    image.format = PNG_FORMAT_BGRA;
    EXPECT_TRUE(png_image_write_to_file(&image, WindowsPath(path).c_str(), 0, pixels.data(), 0, nullptr));
}

// The blend of every control image (weight 1.0, weighted by the source's alpha), one colour
// channel at a time; the window has no alpha channel.
template <int (*Channel)(int s, int d, int a)>
uint32_t Blend(uint32_t dest, uint32_t src) {
    const int a = int(src >> 24);
    if (a == 0) return dest;
    uint32_t out = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8)
        out |= uint32_t(Channel(int(src >> shift) & 255, int(dest >> shift) & 255, a)) << shift;
    return out;
}
// Integer arithmetic, the division truncating toward zero (also for a negative product).
int Truncating(int s, int d, int a) { return s + (d - s) * (255 - a) / 256; }
// Near misses: each must fail the exact comparison.
int Rounded255(int s, int d, int a) { return (s * a + d * (255 - a) + 127) / 255; }
int Flooring(int s, int d, int a) { return s + ((d - s) * (255 - a) >> 8); }
int Weight256(int s, int d, int a) { return s + (d - s) * (256 - a) / 256; }
using Formula = uint32_t (*)(uint32_t dest, uint32_t src);
constexpr Formula kExact = &Blend<Truncating>;

// An image file decoded straight with libpng, as 0xAARRGGBB words, not premultiplied.
struct Image {
    int w = 0, h = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(w) + size_t(x)]; }
};
Image ReadImage(const std::string& path) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    Image image;
    if (!png_image_begin_read_from_file(&png, WindowsPath(path).c_str())) return image;
    png.format = PNG_FORMAT_BGRA;
    image.pixels.resize(size_t(png.width) * png.height);
    if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) return image;
    image.w = int(png.width), image.h = int(png.height);
    return image;
}

// The editor composited from the image files, independently of the plug-in's raster code: the
// background copied, then each control's frame, chosen from the parameter's normalized value,
// blended over it in the order the controls were added.
class Reference {
public:
    Reference() {
        for (const char* name : {"bkg", "knob", "onoff", "led", "line-knob"}) {
            images.push_back(ReadImage(std::string(TZ_SOURCE_DIR) + "/resources/img/" + name + ".png"));
            EXPECT_GT(images.back().w, 0) << name;
        }
    }
    // values: normalized parameters 0..7; led: 1 lit.
    std::vector<uint32_t> Compose(const double* v, double led, Formula blend = kExact) const {
        std::vector<uint32_t> out(kW * kH);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) out[y * kW + x] = images[0].At(x, y) | 0xFF000000u;
        const struct {
            int image, frames, x, y;
            double value;
        } placed[] = {
            {1, 100, 116, 60, v[2]}, {1, 100, 25, 13, v[1]}, {1, 100, 209, 13, v[3]},  {2, 2, 314, 64, v[4]},
            {2, 2, 314, 139, v[5]},  {2, 2, 314, 210, v[7]}, {4, 100, 342, 281, v[6]}, {3, 2, 148, 17, led},
        };
        for (const auto& c : placed) Place(out, images[c.image], c.frames, c.x, c.y, c.value, blend);
        return out;
    }

private:
    // Frame i (1-based) = int((frames - 1) x value + 0.5) + 1; it starts int(h x (i - 1) / frames + 0.5) down.
    static void Place(std::vector<uint32_t>& out, const Image& strip, int frames, int x0, int y0, double value,
                      Formula blend) {
        const int frame = std::clamp(int((frames - 1) * value + 0.5) + 1, 1, frames);
        const int top = int(double(strip.h) * (frame - 1) / frames + 0.5), h = strip.h / frames;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < strip.w; ++x) {
                uint32_t& d = out[(y0 + y) * kW + x0 + x];
                d = blend(d, strip.At(x, top + y));
            }
    }
    std::vector<Image> images;
};

// Pixels of rect {l, t, r, b} that differ in any colour channel; the caption's rectangle, drawn
// with whatever font the system substitutes, is left out.
int Mismatches(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, RECT r = {0, 0, kW, kH}) {
    int bad = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            if (x >= 225 && x < 267 && y >= 431 && y < 443) continue;
            bad += ((a[y * kW + x] ^ b[y * kW + x]) & 0xFFFFFFu) != 0;
        }
    return bad;
}
}  // namespace

TEST(Vst3Editor, OpensInTheHostWindowWithItsClassSizeAndTimer) {
    Editor editor;
    ASSERT_NE(editor.window, nullptr);
    char name[64] = {};
    GetClassNameA(editor.window, name, sizeof name);
    EXPECT_STREQ(name, kClass);
    GetWindowTextA(editor.window, name, sizeof name);
    EXPECT_STREQ(name, "IFx");
    RECT client;
    GetClientRect(editor.window, &client);
    EXPECT_EQ(client.right, kW);
    EXPECT_EQ(client.bottom, kH);
    EXPECT_TRUE(GetWindowLongA(editor.window, GWL_STYLE) & WS_CHILD);
    ViewRect size;
    EXPECT_EQ(editor.view->getSize(&size), kResultOk);
    EXPECT_EQ(size.getWidth(), kW);
    EXPECT_EQ(size.getHeight(), kH);

    // The timer: id 2 every 40 ms, about 25 ticks a second.
    gWatched = editor.window;
    gTicks = 0;
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, CountTicks, nullptr, GetCurrentThreadId());
    Pump(1000);
    UnhookWindowsHookEx(hook);
    EXPECT_GE(gTicks, 12);  // a busy machine may let a few go by
    EXPECT_LE(gTicks, 27);
}

TEST(Vst3Editor, PixelsMatchTheImagesAndFollowInput) {
    Reference reference;
    Editor editor;
    ASSERT_NE(editor.window, nullptr);
    double values[8];
    for (int i = 0; i < 8; ++i) values[i] = editor.Normalized(i);
    const std::vector<uint32_t> shot = Capture(editor.window);
    WritePng(shot, "editor.png");  // in the test's folder of the build tree, for a person to look at
    EXPECT_EQ(Mismatches(shot, reference.Compose(values, 1.0)), 0);
    // The comparison is exact: blends that are nearly right fail it.
    for (Formula wrong : {&Blend<Rounded255>, &Blend<Flooring>, &Blend<Weight256>})
        EXPECT_GT(Mismatches(shot, reference.Compose(values, 1.0, wrong)), 0);
    int captionInk = 0;
    for (int y = 431; y < 443; ++y)
        for (int x = 225; x < 267; ++x) captionInk += (shot[y * kW + x] & 0xFFFFFF) < 0x404040;
    EXPECT_GT(captionInk, 10);  // the version caption is drawn

    // Dragging "Dist. Amount" 90 px up over its 90 px knob at gearing 4: a quarter of the range.
    const std::vector<double> before = editor.Block();
    editor.Click(70, 58, -90);
    EXPECT_EQ(editor.handler.log, "begin1 perform1 end1 ");
    EXPECT_DOUBLE_EQ(editor.Normalized(1), 0.25);
    EXPECT_NE(editor.Block(), before);  // the audio follows

    editor.handler.log.clear();
    editor.Click(332, 92);  // "Analog Saturation" off
    EXPECT_EQ(editor.handler.log, "begin4 perform4 end4 ");
    EXPECT_EQ(editor.Normalized(4), 0.0);

    editor.handler.log.clear();
    editor.Click(150, 350);  // the invisible bypass switch over the nameplate
    EXPECT_EQ(editor.handler.log, "begin0 perform0 end0 ");
    EXPECT_EQ(editor.Normalized(0), 1.0);
    values[1] = 0.25, values[4] = 0.0, values[0] = 1.0;
    EXPECT_EQ(Mismatches(Capture(editor.window), reference.Compose(values, 0.0)), 0);  // LED dark

    // The LED only shows the effect's state: a double click on it changes nothing, also after reopening.
    editor.handler.log.clear();
    editor.DoubleClick(157, 26);
    EXPECT_EQ(editor.handler.log, "");
    editor.Detach();
    editor.Attach();
    EXPECT_EQ(Mismatches(Capture(editor.window), reference.Compose(values, 0.0)), 0);

    // A right click on a knob opens the host's menu for its parameter and leaves the knob alone.
    editor.handler.log.clear();
    PostMessageA(editor.window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(160, 100));
    PostMessageA(editor.window, WM_RBUTTONUP, 0, MAKELPARAM(160, 100));
    Pump(20);
    EXPECT_EQ(editor.handler.log, "menu2 popup160,100 ");
    EXPECT_EQ(editor.Normalized(2), values[2]);
    EXPECT_EQ(editor.handler.menus.References(), 1);  // every interface handed over was released
    EXPECT_EQ(editor.handler.menus.menu.References(), 1);

    // A double click on a knob restores its default in a gesture of its own.
    editor.handler.log.clear();
    editor.DoubleClick(70, 58);
    EXPECT_EQ(editor.handler.log, "begin1 end1 begin1 perform1 end1 ");
    EXPECT_EQ(editor.Normalized(1), 0.0);
}

TEST(Vst3Editor, WheelTurnsAKnobAndUnusedKeysReachTheHost) {
    Editor editor;
    ASSERT_NE(editor.window, nullptr);
    const double level = editor.Normalized(3), saturation = editor.Normalized(4), bypass = editor.Normalized(0);
    // Over a switch and the bypass area the wheel does nothing and the host hears nothing; over
    // the "Level" knob it turns it. Wheel messages have screen coordinates.
    const struct {
        POINT at;
        short delta;
    } turns[] = {{{332, 92}, 240}, {{150, 350}, 240}, {{254, 58}, 240}, {{254, 58}, 60}};  // 60: no step
    for (auto turn : turns) {
        ClientToScreen(editor.window, &turn.at);
        PostMessageA(editor.window, WM_MOUSEWHEEL, MAKEWPARAM(0, turn.delta), MAKELPARAM(turn.at.x, turn.at.y));
    }
    Pump(20);
    EXPECT_EQ(editor.handler.log, "begin3 perform3 end3 begin3 perform3 end3 ");
    EXPECT_NEAR(editor.Normalized(3), level + 0.02, 1e-12);
    EXPECT_EQ(editor.Normalized(4), saturation);
    EXPECT_EQ(editor.Normalized(0), bypass);

    gForwardedKey = 0;
    SetWindowLongPtrA(editor.host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordKeys));
    PostMessageA(editor.window, WM_KEYDOWN, 'Q', 0);
    Pump(20);
    EXPECT_EQ(gForwardedKey, static_cast<WPARAM>('Q'));
}

TEST(Vst3Editor, HostChangesShowOnTheNextTick) {
    Reference reference;
    Editor editor;
    ASSERT_NE(editor.window, nullptr);
    ParameterChanges changes;
    changes.Add(3, 0, 1.0);  // "Level" to its maximum, on the audio thread
    std::thread audio([&] { editor.Block(&changes); });
    audio.join();
    double values[8];
    for (int i = 0; i < 8; ++i) values[i] = editor.Normalized(i);
    EXPECT_EQ(values[3], 1.0);
    const RECT level{209, 13, 299, 103};
    EXPECT_GT(Mismatches(Capture(editor.window), reference.Compose(values, 1.0), level), 100);
    SendMessageA(editor.window, WM_TIMER, 2, 0);
    EXPECT_EQ(Mismatches(Capture(editor.window), reference.Compose(values, 1.0)), 0);
}

TEST(Vst3Editor, ReopeningAndSeveralInstancesShareOneClass) {
    EXPECT_FALSE(ClassRegistered());
    {
        Editor first;
        EXPECT_TRUE(ClassRegistered());
        for (int i = 0; i < 5; ++i) {
            first.Detach();
            EXPECT_EQ(FindWindowExA(first.host, nullptr, kClass, nullptr), nullptr);
            first.Attach();
            ASSERT_NE(first.window, nullptr);
        }
        {
            Editor second, third;
            ASSERT_NE(second.window, nullptr);
            ASSERT_NE(third.window, nullptr);
        }
        EXPECT_TRUE(ClassRegistered());  // the first editor's window still holds it
        RECT client;
        GetClientRect(first.window, &client);
        EXPECT_EQ(client.right, kW);
    }
    EXPECT_FALSE(ClassRegistered());  // unregistered with the last window

    // A host that destroys its window before removing the view: the editor lets go of its
    // window, opens again, and the class still goes with the last window.
    {
        Editor orphan;
        DestroyWindow(orphan.host);
        orphan.host = HostWindow(kW, kH);
        orphan.Attach();
        EXPECT_NE(orphan.window, nullptr);
    }
    EXPECT_FALSE(ClassRegistered());
}
