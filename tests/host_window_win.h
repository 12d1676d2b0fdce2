// The host's side of an editor test on Win32: a top-level window for the editor to open in, and
// the host's message loop for a while.
#pragma once

#include <windows.h>

#include <chrono>
#include <vector>

namespace testwin {

// Windows handed back for the next test: destroying a top-level window under Wine with Xvfb
// takes about two seconds.
inline std::vector<HWND>& SpareHostWindows() {
    static std::vector<HWND> spare;
    return spare;
}

// A visible host window whose client area is width x height; a spare one when there is one.
inline HWND HostWindow(int width, int height) {
    RECT r{0, 0, width, height};
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    if (!SpareHostWindows().empty()) {
        HWND window = SpareHostWindows().back();
        SpareHostWindows().pop_back();
        SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
        return window;
    }
    static const ATOM atom = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TzHostWindow";
        return RegisterClassA(&wc);
    }();
    (void)atom;
    return CreateWindowExA(0, "TzHostWindow", "host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0,
                           r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// Keeps a window from HostWindow for the next test, with its own window procedure again.
inline void ReturnHostWindow(HWND window) {
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
    SpareHostWindows().push_back(window);
}

// Translates and dispatches this thread's messages for ms milliseconds, as a host's loop does.
inline void Pump(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    } while (std::chrono::steady_clock::now() < end);
}

}  // namespace testwin
