// IGraphicsWin on Win32: the "IFxWndClass" child window, its timer, painting and input messages,
// images from the module's "PNG" resources, and the window-system surface and fonts.
#include <windows.h>
// windows.h first
#include <commctrl.h>

#include "framework/fxassert.h"
#include "framework/fxbase.h"
#include "framework/igraphicswin.h"
#include "raster/png.h"
#include "raster/sysbitmap.h"

namespace {
constexpr const char* kWindowClass = "IFxWndClass";
constexpr UINT_PTR kTimerId = 2;

// Touched only when windows open and close, on the host's user-interface thread.
int gWindowClassUsers = 0;
double gGuiFrameRate = 25.0;

LRESULT CALLBACK GuiWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

bool RegisterWindowClass(HINSTANCE instance) {
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = GuiWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = kWindowClass;
    // A class left registered (its last window was destroyed from outside) is used as it is.
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void ReleaseWindowClass(HINSTANCE instance) {
    if (--gWindowClassUsers == 0) UnregisterClassA(kWindowClass, instance);
}

// At module unload the class must not outlive the window procedure it names (it can be left
// registered when a host destroyed an editor window from outside).
struct ClassAtUnload {
    ~ClassAtUnload() { UnregisterClassA(kWindowClass, static_cast<HINSTANCE>(IFxModuleInstance())); }
} gClassAtUnload;

IMouseKeys KeysOf(WPARAM wParam) {
    IMouseKeys keys;
    keys.L = (wParam & MK_LBUTTON) != 0;
    keys.R = (wParam & MK_RBUTTON) != 0;
    keys.S = (wParam & MK_SHIFT) != 0;
    keys.C = (wParam & MK_CONTROL) != 0;
    keys.A = GetKeyState(VK_MENU) < 0;
    return keys;
}

TTTOOLINFOA ToolOf(HWND window, const char* text) {
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    tool.lpszText = const_cast<char*>(text);
    return tool;
}

// A topmost tooltip window with one tool covering the whole editor window.
bool CreateTooltips(HWND window, HINSTANCE instance, IWindowHandle* tooltip) {
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_TAB_CLASSES};
    if (!InitCommonControlsEx(&init)) return false;
    HWND tip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, instance, nullptr);
    if (!tip) return false;
    SetWindowPos(tip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    TTTOOLINFOA tool = ToolOf(window, nullptr);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    if (!SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool))) {
        DestroyWindow(tip);
        return false;
    }
    *tooltip = tip;
    return true;
}

int LowWord(LPARAM p) { return static_cast<short>(LOWORD(p)); }
int HighWord(LPARAM p) { return static_cast<short>(HIWORD(p)); }

void PassToRoot(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (HWND root = GetAncestor(window, GA_ROOT); root && root != window) SendMessageA(root, message, wParam, lParam);
}
}  // namespace

int IGraphicsWin::WindowClassUsers() { return gWindowClassUsers; }
double IGraphicsWin::GuiFrameRate() { return gGuiFrameRate; }
void IGraphicsWin::SetImageFolder(const char*) {}

void* IFxModuleInstance() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&IFxModuleInstance), &module);
    return module;
}

IWindowHandle IGraphicsWin::OpenGuiWindow(IWindowHandle parent) {
    int x = 0, y = 0, w = mWidth, h = mHeight;
    if (mWindow) {  // keep the old window's place (relative to its parent) and outer size
        RECT r;
        GetWindowRect(static_cast<HWND>(mWindow), &r);
        MapWindowPoints(HWND_DESKTOP, static_cast<HWND>(mParentWindow), reinterpret_cast<POINT*>(&r), 2);
        x = r.left, y = r.top, w = r.right - r.left, h = r.bottom - r.top;
        CloseGuiWindow();
    }
    mParentWindow = parent;
    HINSTANCE instance = static_cast<HINSTANCE>(mHInstance);
    if (gWindowClassUsers++ == 0 && !RegisterWindowClass(instance)) {
        gWindowClassUsers = 0;
        return nullptr;
    }
    gGuiFrameRate = mFps;
    mWindow = CreateWindowExA(0, kWindowClass, "IFx", WS_CHILD | WS_VISIBLE, x, y, w, h, static_cast<HWND>(parent),
                              nullptr, instance, this);
    if (!mWindow) {
        ReleaseWindowClass(instance);
        return nullptr;
    }
    MarkAllDirty();
    if (mEnableTooltips && !CreateTooltips(static_cast<HWND>(mWindow), instance, &mTooltipWindow))
        mEnableTooltips = false;  // the window works without them
    return mWindow;
}

// Ends what the window held: an open gesture, the capture and a hidden pointer.
void IGraphicsWin::CloseGuiWindow() {
    HWND window = static_cast<HWND>(ForgetWindow());
    if (!window) return;
    DestroyWindow(window);
    ReleaseWindowClass(static_cast<HINSTANCE>(mHInstance));
}

// From here on the window procedure no longer answers for this object.
IWindowHandle IGraphicsWin::ForgetWindow() {
    if (!mWindow) return nullptr;
    CloseTextEntry(false);  // its window goes with the editor's; its font and fields go here
    if (mMenuOpen) EndMenu();
    EndGesture();
    if (mCursorHidden) ShowPointer();
    ResetMouseState();
    if (mTooltipWindow) DestroyWindow(static_cast<HWND>(mTooltipWindow));
    mTooltipWindow = nullptr;
    mTooltipShown = false;
    mTooltipIndex = -1;
    IWindowHandle window = mWindow;
    mWindow = nullptr;
    return window;
}

void IGraphicsWin::SetTooltipText(const char* text) {
    if (!mTooltipWindow) return;
    TTTOOLINFOA tool = ToolOf(static_cast<HWND>(mWindow), text);
    SendMessageA(static_cast<HWND>(mTooltipWindow), TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

bool IGraphicsWin::PaintToScreen(IBounds* area) {
    HWND window = static_cast<HWND>(GetWindowHandle());
    if (!window) return true;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (mDrawSurface)
        BitBlt(dc, area->L, area->T, area->R - area->L, area->B - area->T,
               static_cast<HDC>(mDrawSurface->DeviceContext()), area->L, area->T, SRCCOPY);
    EndPaint(window, &ps);
    return true;
}

void IGraphicsWin::HidePointer() {
    if (mCursorHidden) return;
    POINT p;
    GetCursorPos(&p);
    mCursorX = p.x, mCursorY = p.y;
    ShowCursor(FALSE);
    mCursorHidden = true;
}

void IGraphicsWin::ShowPointer() {
    if (!mCursorHidden) return;
    SetCursorPos(mCursorX, mCursorY);
    ShowCursor(TRUE);
    mCursorHidden = false;
}

void IGraphicsWin::ResizeGui(int width, int height) {
    if (width == mWidth && height == mHeight) return;
    const int dw = width - mWidth, dh = height - mHeight;
    HideTooltip();
    mTooltipIndex = -1;     // the controls it indexed are gone
    CloseTextEntry(false);  // and the control it edits
    IGraphics::ResizeGui(width, height);
    HWND window = static_cast<HWND>(mWindow);
    if (!window) return;
    const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    auto grow = [&](HWND w) {
        RECT r;
        GetWindowRect(w, &r);
        SetWindowPos(w, nullptr, 0, 0, r.right - r.left + dw, r.bottom - r.top + dh, flags);
    };
    grow(window);
    auto isChild = [](HWND w) {
        return (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) && !(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_MDICHILD);
    };
    const int api = mPlug ? mPlug->GetApiCode() : -1;
    if (isChild(window) && api != kApiVST3 && api != 3) {
        HWND parent = GetParent(window);
        if (parent) {
            HWND grandparent = isChild(parent) ? GetParent(parent) : nullptr;
            grow(parent);
            if (grandparent) grow(grandparent);
        }
    }
    RECT all{0, 0, width, height};
    InvalidateRect(window, &all, FALSE);
}

// Only "png" files are looked up, as resources of type "PNG" with the given id.
PIX_IBitmap* IGraphicsWin::LoadBitmapResource(int id, const char* fileName) {
    if (!IsPngFileName(fileName)) return nullptr;
    HMODULE module = static_cast<HMODULE>(mHInstance);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), "PNG");
    if (!resource) return nullptr;
    const DWORD size = SizeofResource(module, resource);
    HGLOBAL loaded = size > 7 ? LoadResource(module, resource) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    return data ? PIX_ReadPngMemory(data, static_cast<int>(size)) : nullptr;
}

PIX_IBitmap* CreateSurfaceBitmap(int width, int height) { return new PIX_SysBitmap(width, height); }

void* CreateStyleFont(const ITextStyle& s) {
    static const DWORD kQuality[] = {DEFAULT_QUALITY, NONANTIALIASED_QUALITY, ANTIALIASED_QUALITY, CLEARTYPE_QUALITY};
    const DWORD quality = s.quality == 0 ? kQuality[0] : kQuality[s.quality >= 1 && s.quality <= 3 ? s.quality : 1];
    return CreateFontA(s.size, 0, s.orientation * 10, s.orientation * 10, s.style == 1 ? FW_BOLD : FW_NORMAL,
                       s.style == 2, FALSE, FALSE, 0, 0, 0, quality, 0, s.face);
}

namespace {
void HandlePaint(IGraphicsWin* g, HWND window) {
    RECT r;
    if (GetUpdateRect(window, &r, FALSE)) {
        IBounds area{r.left, r.top, r.right, r.bottom};
        if (g->NControls() > 0) {
            g->PaintArea(&area);
            return;
        }
    }
    ValidateRect(window, nullptr);  // nothing to paint must not leave the region pending
}

void HandleTick(IGraphicsWin* g, HWND window) {
    if (g->TextEntryTick()) return;
    IBounds area = g->TimerTick();
    if (area.Empty()) return;
    RECT r{area.L, area.T, area.R, area.B};
    InvalidateRect(window, &r, FALSE);
    IBounds entry;
    if (g->TextEntryRepainting(&entry)) {  // the open field is not painted over
        RECT e{entry.L, entry.T, entry.R, entry.B};
        ValidateRect(window, &e);
    }
    UpdateWindow(window);
}

LRESULT HandleKeyDown(IGraphicsWin* g, HWND window, WPARAM wParam, LPARAM lParam) {
    const int code = IGraphicsWin::TranslateKey(static_cast<int>(wParam));
    if (code >= 0) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(window, &p);
        if (g->OnKey(p.x, p.y, code)) return 0;
    }
    PassToRoot(window, WM_KEYDOWN, wParam, lParam);  // the host sees every key the editor does not use
    return DefWindowProcA(window, WM_KEYDOWN, wParam, lParam);
}

LRESULT HandleWheel(IGraphicsWin* g, HWND window, WPARAM wParam, LPARAM lParam) {
    RECT r;
    GetWindowRect(window, &r);
    IMouseKeys keys = KeysOf(GET_KEYSTATE_WPARAM(wParam));
    g->OnWheel(LowWord(lParam) - r.left, HighWord(lParam) - r.top, &keys, static_cast<short>(HIWORD(wParam)));
    return 0;
}

LRESULT CALLBACK GuiWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        SetTimer(window, kTimerId, static_cast<UINT>(1000.0 / IGraphicsWin::GuiFrameRate()), nullptr);
        SetFocus(window);
        return 0;
    }
    auto* g = reinterpret_cast<IGraphicsWin*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!g || g->GetWindowHandle() != window) return DefWindowProcA(window, message, wParam, lParam);
    const int x = LowWord(lParam), y = HighWord(lParam);
    IMouseKeys keys = KeysOf(wParam);
    // A left or right press soon after the entry took the focus cancels it (a middle one does
    // nothing then); with an entry open any other press commits it, without taking the focus or the
    // mouse. Timer and painting go on as usual while the entry has the focus.
    const bool pressed = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
    if (pressed && g->TextEntryEditing()) {
        if (message != WM_MBUTTONDOWN) g->CancelTextEntry();
        return 0;
    }
    if (pressed && g->TextEntryOpen()) {
        g->OnButtonDown(x, y, &keys);
        return 0;
    }
    switch (message) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS: return 0;
        case WM_PAINT: HandlePaint(g, window); return 0;
        case WM_CLOSE: g->CloseGuiWindow(); return 0;
        case WM_KEYDOWN: return HandleKeyDown(g, window, wParam, lParam);
        case WM_KEYUP:
            PassToRoot(window, message, wParam, lParam);
            return DefWindowProcA(window, message, wParam, lParam);
        case WM_TIMER:
            if (wParam == kTimerId) HandleTick(g, window);
            return 0;
        case WM_MOUSEMOVE:
            if (!(wParam & (MK_LBUTTON | MK_RBUTTON))) {
                if (g->OnMouseMove(x, y, &keys, false)) {
                    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window, HOVER_DEFAULT};
                    if (g->NextTooltip()) track.dwFlags |= TME_HOVER;
                    TrackMouseEvent(&track);
                }
            } else if (GetCapture() == window) {
                g->OnMouseMove(x, y, &keys, true);
            }
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            SetFocus(window);
            SetCapture(window);
            g->OnButtonDown(x, y, &keys);
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            ReleaseCapture();
            g->OnButtonUp(x, y, &keys);
            return 0;
        case WM_LBUTTONDBLCLK:
            if (g->OnDoubleClick(x, y, &keys)) SetCapture(window);
            return 0;
        case WM_MOUSEWHEEL: return HandleWheel(g, window, wParam, lParam);
        case WM_CTLCOLOREDIT: return reinterpret_cast<LRESULT>(g->TextEntryColours(reinterpret_cast<void*>(wParam)));
        case WM_MOUSEHOVER: g->OnMouseHover(); return 0;
        case WM_MOUSELEAVE: g->OnMouseLeave(); return 0;
        case WM_NCDESTROY:  // destroyed from outside (the host closed its window first)
            if (g->ForgetWindow()) ReleaseWindowClass(static_cast<HINSTANCE>(g->GetHInstance()));
            return DefWindowProcA(window, message, wParam, lParam);
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}
}  // namespace
