// The product's editor on X11 (under Xvfb) in a parent window the test makes: input is sent as
// synthetic events through the server and reaches the editor through HandleWindowEvents, as from a
// host's loop. Any X error, the editor's own included, fails the test.
#include <gtest/gtest.h>
// gtest before Xlib, whose None macro it would not survive
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "effect/tavrelzel4.h"
#include "framework/igraphicswin.h"
#include "framework/imenu.h"
#include "raster/bitmap.h"

namespace {
int gErrors = 0;
int CountError(Display*, XErrorEvent*) { return ++gErrors, 0; }

struct Editor {
    Display* d = XOpenDisplay(nullptr);
    Window parent = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 500, 500, 0, 0, 0);
    TavrelZel4 plug;
    IGraphicsWin* editor = static_cast<IGraphicsWin*>(plug.GetGraphics());
    Window window = 0;
    Time time = 1;

    // Whatever the server holds for the editor, handled as a host's loop would.
    void Pump() {
        XSync(d, False);
        editor->HandleWindowEvents();
        pollfd fd{editor->EventDescriptor(), POLLIN, 0};
        while (poll(&fd, 1, 100) > 0) editor->HandleWindowEvents();
    }
    void Send(int type, unsigned detail, int x, int y, unsigned state = 0) {
        XEvent e{};
        XButtonEvent& b = e.xbutton;  // the fields button, motion and key events share
        b.type = type;
        b.window = window;
        b.root = DefaultRootWindow(d);
        b.time = time += 50;
        b.x = x, b.y = y, b.state = state, b.same_screen = True;
        if (type == KeyPress || type == KeyRelease) e.xkey.keycode = XKeysymToKeycode(d, detail);
        if (type == ButtonPress || type == ButtonRelease) b.button = detail;
        XSendEvent(d, window, False, 0, &e);
    }
    void Click(unsigned button, int x, int y) {
        Send(ButtonPress, button, x, y);
        Send(ButtonRelease, button, x, y, Button1Mask << (button - 1));
    }
    void Type(const char* keys) {
        for (const char* k = keys; *k; ++k) {
            const KeySym sym = *k == '\n' ? XK_Return : static_cast<KeySym>(*k);
            Send(KeyPress, sym, 0, 0);
            Send(KeyRelease, sym, 0, 0);
        }
    }
    IControl* ControlOf(int param) {
        for (int i = 1; i < editor->NControls(); ++i)
            if (editor->GetControl(i)->ParamIdx() == param) return editor->GetControl(i);
        return nullptr;
    }
    // The host gestures recorded since the last call.
    std::string Gestures() {
        std::string s;
        for (const RecordedCall& c : plug.calls)
            if (c.what == "begin" || c.what == "end") s += c.what + std::to_string(c.index) + " ";
        plug.calls.clear();
        return s;
    }
    // True when every pixel of the window is the surface's.
    bool ShowsSurface() {
        XImage* image = XGetImage(d, window, 0, 0, 410, 460, AllPlanes, ZPixmap);
        bool same = image != nullptr;
        for (int y = 0; same && y < 460; ++y)
            for (int x = 0; same && x < 410; ++x)
                same = (XGetPixel(image, x, y) & 0xFFFFFF) == (PIX_PixelAt(editor->DrawSurface(), x, y)[0] & 0xFFFFFF);
        if (image) XDestroyImage(image);
        return same;
    }
};

// From another connection: the keys, sent to the first popup window that shows up on the screen.
void AnswerMenu(std::vector<KeySym> keys) {
    Display* d = XOpenDisplay(nullptr);
    for (int tries = 0; tries < 200; ++tries, usleep(10000)) {
        Window root, parent, *children = nullptr, popup = 0;
        unsigned n = 0;
        XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n);
        XWindowAttributes a;
        for (unsigned i = 0; i < n; ++i)
            if (XGetWindowAttributes(d, children[i], &a) && a.override_redirect && a.map_state == IsViewable)
                popup = children[i];
        XFree(children);
        if (!popup) continue;
        for (KeySym sym : keys) {
            XEvent e{};
            e.xkey.type = KeyPress;
            e.xkey.window = popup;
            e.xkey.keycode = XKeysymToKeycode(d, sym);
            XSendEvent(d, popup, False, 0, &e);
        }
        break;
    }
    XCloseDisplay(d);
}

// From another connection: owns the clipboard, holding text, until stop.
void ServeClipboard(const char* text, std::atomic<bool>* ready, std::atomic<bool>* stop) {
    Display* d = XOpenDisplay(nullptr);
    Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(d, XInternAtom(d, "CLIPBOARD", False), w, CurrentTime);
    XSync(d, False);
    *ready = true;
    for (; !*stop; usleep(5000)) {
        while (XPending(d)) {
            XEvent e, answer{};
            XNextEvent(d, &e);
            if (e.type != SelectionRequest) continue;
            const XSelectionRequestEvent& r = e.xselectionrequest;
            XChangeProperty(d, r.requestor, r.property, r.target, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(text), static_cast<int>(std::strlen(text)));
            answer.xselection = {SelectionNotify, 0, True, d, r.requestor, r.selection, r.target, r.property, r.time};
            XSendEvent(d, r.requestor, False, 0, &answer);
            XFlush(d);
        }
    }
    XCloseDisplay(d);
}

TEST(X11Editor, OpensTakesInputAsOnWindowsAndCloses) {
    ASSERT_NE(getenv("DISPLAY"), nullptr) << "run under Xvfb";
    XInitThreads();  // a thread answers the popup menu
    XSetErrorHandler(CountError);
    Editor t;
    ASSERT_TRUE(t.d);
    XMapWindow(t.d, t.parent);
    XSync(t.d, False);  // the editor's connection must find the parent
    t.window = static_cast<Window>(reinterpret_cast<uintptr_t>(
        t.editor->OpenGuiWindow(reinterpret_cast<IWindowHandle>(static_cast<uintptr_t>(t.parent)))));
    ASSERT_NE(t.window, 0u);
    XWindowAttributes a;
    Window root, parent, *children = nullptr;
    unsigned n = 0;
    ASSERT_TRUE(XGetWindowAttributes(t.d, t.window, &a) && XQueryTree(t.d, t.window, &root, &parent, &children, &n));
    EXPECT_EQ(parent, t.parent);
    EXPECT_TRUE(a.width == 410 && a.height == 460 && a.map_state == IsViewable);
    EXPECT_GE(t.editor->EventDescriptor(), 0);
    bool found = false;
    EXPECT_NE(FindCachedBitmap(100, &found), nullptr);  // the background, from the images the program carries
    t.Pump();
    t.editor->HandleTimerTick();  // the whole editor is dirty at first
    EXPECT_TRUE(t.ShowsSurface());

    const double kRises = -1;  // the value ends above where it started
    struct Row {
        const char* what;
        int param;
        std::function<void(Editor&)> act;
        double expected;  // normalized
        const char* gestures;
    } rows[] = {
        {"drag up on a knob", TavrelZel4::kDistAmount,
         [](Editor& e) {
             e.Send(ButtonPress, 1, 70, 58);
             for (int y : {48, 38, 28}) e.Send(MotionNotify, 0, 70, y, Button1Mask);
             e.Send(ButtonRelease, 1, 70, 28, Button1Mask);
         },
         kRises, "begin1 end1 "},
        {"wheel notch up", TavrelZel4::kTone, [](Editor& e) { e.Click(Button4, 161, 105); }, kRises, "begin2 end2 "},
        {"double click back to the default", TavrelZel4::kLevel,
         [](Editor& e) {
             e.ControlOf(TavrelZel4::kLevel)->ApplyUserValue(0.8);
             e.Gestures();
             e.Click(Button1, 254, 58);
             e.Click(Button1, 255, 59);
         },
         0.5, "begin3 end3 begin3 end3 "},  // the default, 25, on its square-root curve
        {"two clicks too far apart for a double click", TavrelZel4::kLevel,
         [](Editor& e) {
             e.ControlOf(TavrelZel4::kLevel)->ApplyUserValue(0.8);
             e.Gestures();
             e.Click(Button1, 254, 58);
             e.Click(Button1, 257, 58);
         },
         0.8, "begin3 end3 begin3 end3 "},
        {"text entry typed and committed", TavrelZel4::kDryWet,
         [](Editor& e) {
             IControl* knob = e.ControlOf(TavrelZel4::kDryWet);
             IBounds rect = knob->Rect();
             e.editor->PromptForParamValue(knob, e.plug.GetParam(TavrelZel4::kDryWet), &rect);
             e.Type("x42\n");  // the parameter's entry keeps digits only
             e.Pump();
             e.editor->HandleTimerTick();  // Enter commits at the next tick
         },
         0.42, "begin6 end6 "},
        {"text entry with the clipboard pasted", TavrelZel4::kDryWet,
         [](Editor& e) {
             std::atomic<bool> ready{false}, stop{false};
             std::thread owner(ServeClipboard, "37", &ready, &stop);
             while (!ready) usleep(1000);
             IControl* knob = e.ControlOf(TavrelZel4::kDryWet);
             IBounds rect = knob->Rect();
             e.editor->PromptForParamValue(knob, e.plug.GetParam(TavrelZel4::kDryWet), &rect);
             e.Send(KeyPress, XK_v, 0, 0, ControlMask);
             e.Type("\n");
             e.Pump();
             stop = true;
             owner.join();
             e.editor->HandleTimerTick();
         },
         0.37, "begin6 end6 "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        t.time += 1000;
        const double before = t.plug.GetParam(row.param)->NormalizedValue();
        row.act(t);
        t.Pump();
        t.editor->HandleTimerTick();
        const double after = t.plug.GetParam(row.param)->NormalizedValue();
        if (row.expected == kRises)
            EXPECT_GT(after, before);
        else
            EXPECT_NEAR(after, row.expected, 1e-9);
        EXPECT_EQ(t.Gestures(), row.gestures);
        EXPECT_FALSE(t.editor->TextEntryOpen());
        EXPECT_TRUE(t.ShowsSurface());
    }

    // The modal menu, answered with keys: to the submenu's second item.
    IMenu menu, sub;
    sub.AddItem("a");
    sub.AddItem("b");
    menu.AddItem("x");
    menu.AddItem("more", 0, &sub);
    std::thread answer(AnswerMenu, std::vector<KeySym>{XK_Down, XK_Down, XK_Right, XK_Down, XK_Return});
    IBounds anchor{0, 0, 10, 10};
    IMenu* chosen = t.editor->ShowPopupMenu(&menu, &anchor);
    answer.join();
    EXPECT_EQ(chosen, &sub);
    EXPECT_EQ(sub.ChosenItemIdx(), 1);

    // Reopened in a second window, which the host destroys first: what the editor then asks of its
    // window fails inside its own error trap.
    Window second = XCreateSimpleWindow(t.d, DefaultRootWindow(t.d), 0, 0, 500, 500, 0, 0, 0);
    XSync(t.d, False);
    ASSERT_TRUE(t.editor->OpenGuiWindow(reinterpret_cast<IWindowHandle>(static_cast<uintptr_t>(second))));
    XDestroyWindow(t.d, second);
    XSync(t.d, False);
    t.editor->CloseGuiWindow();
    XFree(children);
    ASSERT_TRUE(XQueryTree(t.d, t.parent, &root, &parent, &children, &n));
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(t.editor->EventDescriptor(), -1);
    XFree(children);
    XCloseDisplay(t.d);
    EXPECT_EQ(gErrors, 0);
}
}  // namespace
