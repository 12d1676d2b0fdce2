#pragma once
// The host's side of an editor test, per window system: a parent window for the editor, the
// editor's window in it, a mouse drag sent to it, and the host's loop for a while (on X11 the
// host's idle work, a callable of the test, is that loop: the VST2 idle call, the CLAP host's
// timers and descriptors).
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>

#include "tests/host_window_win.h"

class EditorHost {
public:
    EditorHost() : mParent(testwin::HostWindow(600, 600)) {}
    ~EditorHost() { testwin::ReturnHostWindow(mParent); }
    void* Parent() const { return mParent; }
    // The editor's window, or false when the parent holds none.
    bool FindEditor() { return (mWindow = FindWindowExA(mParent, nullptr, "IFxWndClass", nullptr)) != nullptr; }
    // Width * 1000 + height.
    int EditorSize() const {
        RECT client{};
        GetClientRect(mWindow, &client);
        return client.right * 1000 + client.bottom;
    }
    void Drag(int x, int y, int toY) {
        PostMessageA(mWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        PostMessageA(mWindow, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, toY));
        PostMessageA(mWindow, WM_LBUTTONUP, 0, MAKELPARAM(x, toY));
    }
    template <class Idle>
    void Loop(Idle&&) {
        testwin::Pump(50);
    }

private:
    HWND mParent;
    HWND mWindow = nullptr;
};
#else
#include <X11/Xlib.h>
#include <X11/Xutil.h>

class EditorHost {
public:
    EditorHost() : mDisplay(XOpenDisplay(nullptr)) {
        if (!mDisplay) return;
        mParent = XCreateSimpleWindow(mDisplay, DefaultRootWindow(mDisplay), 0, 0, 600, 600, 0, 0, 0);
        XMapWindow(mDisplay, mParent);
        XSync(mDisplay, False);  // the editor's connection must find it
    }
    ~EditorHost() {
        if (!mDisplay) return;
        XDestroyWindow(mDisplay, mParent);
        XCloseDisplay(mDisplay);
    }
    void* Parent() const { return mDisplay ? reinterpret_cast<void*>(static_cast<uintptr_t>(mParent)) : nullptr; }
    bool FindEditor() {
        ::Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        mWindow = 0;
        if (mDisplay && XQueryTree(mDisplay, mParent, &root, &parent, &children, &count) && count)
            mWindow = children[0];
        if (children) XFree(children);
        return mWindow != 0;
    }
    int EditorSize() const {
        XWindowAttributes a{};
        XGetWindowAttributes(mDisplay, mWindow, &a);
        return a.width * 1000 + a.height;
    }
    // The editor window's pixels as the server has them.
    std::string Pixels() const {
        const int size = EditorSize();
        XImage* image = XGetImage(mDisplay, mWindow, 0, 0, size / 1000, size % 1000, AllPlanes, ZPixmap);
        if (!image) return {};
        std::string bytes(image->data, static_cast<size_t>(image->bytes_per_line) * image->height);
        XDestroyImage(image);
        return bytes;
    }
    void Drag(int x, int y, int toY) {
        Send(ButtonPress, x, y, 0);
        Send(MotionNotify, x, toY, Button1Mask);
        Send(ButtonRelease, x, toY, Button1Mask);
    }
    // The host's idle work every 10 ms for 50 ms, after the server has the events sent.
    template <class Idle>
    void Loop(Idle&& idle) {
        XSync(mDisplay, False);
        for (int i = 0; i < 5; ++i) {
            idle();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

private:
    void Send(int type, int x, int y, unsigned state) {
        XEvent e{};
        XButtonEvent& b = e.xbutton;  // the fields button and motion events share
        b.type = type;
        b.window = mWindow;
        b.root = DefaultRootWindow(mDisplay);
        b.time = mTime += 50;
        b.x = x, b.y = y, b.state = state, b.same_screen = True;
        if (type != MotionNotify) b.button = Button1;
        XSendEvent(mDisplay, mWindow, False, 0, &e);
    }
    Display* mDisplay;
    ::Window mParent = 0, mWindow = 0;
    Time mTime = 1;
};
#endif
