// IGraphicsWin on X11: the editor's child window in the host's window, on a connection of its own
// that the host's loop watches; the error trap around our requests; pointer hiding.
#include <cstdint>

#include "framework/x11/x11state.h"

namespace {
// Touched only when windows open and close, on the host's user-interface thread.
int gOpenWindows = 0;
double gGuiFrameRate = 25.0;
X11ErrorTrap* gInnermostTrap = nullptr;

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
                            KeyReleaseMask | FocusChangeMask | StructureNotifyMask | LeaveWindowMask;

// A visual whose pixels are the surface's words: 24 or 32 bits deep, TrueColor, red in bits 16-23.
bool SurfaceVisual(const Visual* v, int depth) {
    return (depth == 24 || depth == 32) && v->c_class == TrueColor && v->red_mask == 0xFF0000 &&
           v->green_mask == 0xFF00 && v->blue_mask == 0xFF;
}

// The parent's visual when it suits the surface, otherwise a 24-bit one with a colormap of its own.
bool ChooseVisual(X11State* s, const XWindowAttributes& parent) {
    if (SurfaceVisual(parent.visual, parent.depth)) {
        s->visual = parent.visual;
        s->depth = parent.depth;
        return true;
    }
    XVisualInfo info;
    if (!XMatchVisualInfo(s->display, DefaultScreen(s->display), 24, TrueColor, &info) ||
        !SurfaceVisual(info.visual, 24))
        return false;
    s->visual = info.visual;
    s->depth = 24;
    s->colormap = XCreateColormap(s->display, s->parent, info.visual, AllocNone);
    return true;
}

// Embedders that speak XEmbed read the protocol version and that the window wants to be mapped.
void AnnounceEmbedding(Display* display, Window window) {
    const Atom info = XInternAtom(display, "_XEMBED_INFO", False);
    const long versionAndFlags[2] = {0, 1};
    XChangeProperty(display, window, info, info, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(versionAndFlags), 2);
}

bool MakeWindow(X11State* s, int x, int y, int width, int height) {
    XWindowAttributes parent;
    if (!XGetWindowAttributes(s->display, s->parent, &parent) || !ChooseVisual(s, parent)) return false;
    XSetWindowAttributes attributes{};
    attributes.event_mask = kEventMask;
    attributes.background_pixmap = None;  // every pixel comes from the surface
    attributes.border_pixel = 0;
    attributes.colormap = s->colormap ? s->colormap : parent.colormap;
    s->window = XCreateWindow(s->display, s->parent, x, y, width, height, 0, s->depth, InputOutput, s->visual,
                              CWEventMask | CWBackPixmap | CWBorderPixel | CWColormap, &attributes);
    if (!s->window) return false;
    AnnounceEmbedding(s->display, s->window);
    s->gc = XCreateGC(s->display, s->window, 0, nullptr);
    XMapWindow(s->display, s->window);
    return IGraphicsWinAccess::MakeImage(s, width, height);
}

// Closing the connection frees whatever of ours the server still holds.
void Disconnect(X11State* s) {
    IGraphicsWinAccess::FreeImage(s);
    XCloseDisplay(s->display);
    delete s;
}
}  // namespace

X11ErrorTrap::X11ErrorTrap(Display* display)
    : mDisplay(display), mOuter(gInnermostTrap), mPrevious(XSetErrorHandler(&X11ErrorTrap::OnError)) {
    gInnermostTrap = this;
}

X11ErrorTrap::~X11ErrorTrap() {
    XSync(mDisplay, False);
    XSetErrorHandler(mPrevious);
    gInnermostTrap = mOuter;
}

int X11ErrorTrap::Errors() {
    XSync(mDisplay, False);
    return mErrors;
}

int X11ErrorTrap::OnError(Display* display, XErrorEvent* error) {
    X11ErrorTrap* outermost = gInnermostTrap;
    for (X11ErrorTrap* trap = gInnermostTrap; trap; trap = trap->mOuter) {
        if (trap->mDisplay == display) {
            ++trap->mErrors;
            return 0;
        }
        outermost = trap;
    }
    return outermost && outermost->mPrevious ? outermost->mPrevious(display, error) : 0;
}

int IGraphicsWin::WindowClassUsers() { return gOpenWindows; }
double IGraphicsWin::GuiFrameRate() { return gGuiFrameRate; }
void IGraphicsWin::SetImageFolder(const char*) {}
void* IFxModuleInstance() { return nullptr; }
void IGraphicsWin::SetTooltipText(const char*) {}  // no tooltips on X11

// parent: the host's X11 window id. A failed open leaves no connection behind.
IWindowHandle IGraphicsWin::OpenGuiWindow(IWindowHandle parent) {
    int x = 0, y = 0;
    if (mX11) {  // keep the old window's place in its parent
        Window root;
        unsigned w, h, border, depth;
        if (!mX11->destroyed) {
            X11ErrorTrap trap(mX11->display);
            XGetGeometry(mX11->display, mX11->window, &root, &x, &y, &w, &h, &border, &depth);
        }
        CloseGuiWindow();
    }
    Display* display = parent ? XOpenDisplay(nullptr) : nullptr;
    if (!display) return nullptr;
    auto* s = new X11State;
    s->display = display;
    s->parent = static_cast<Window>(reinterpret_cast<uintptr_t>(parent));
    bool made;
    {
        X11ErrorTrap trap(display);
        made = MakeWindow(s, x, y, mWidth, mHeight) && trap.Errors() == 0;
    }
    if (!made) {
        Disconnect(s);
        return nullptr;
    }
    mX11 = s;
    mParentWindow = parent;
    mWindow = reinterpret_cast<IWindowHandle>(static_cast<uintptr_t>(s->window));
    ++gOpenWindows;
    gGuiFrameRate = mFps;
    MarkAllDirty();
    return mWindow;
}

// Ends what the window held (an open gesture, the grab and a hidden pointer) as on Windows, then
// destroys the window unless the server already did, and closes the connection.
void IGraphicsWin::CloseGuiWindow() {
    X11State* s = mX11;
    if (!s) return;
    {
        X11ErrorTrap trap(s->display);
        ForgetWindow();
        if (s->captured) IGraphicsWinAccess::Ungrab(s, CurrentTime);
        if (!s->destroyed) XDestroyWindow(s->display, s->window);
    }
    mX11 = nullptr;
    --gOpenWindows;
    Disconnect(s);
}

// The connection stays until CloseGuiWindow; only the editor lets go of the window.
IWindowHandle IGraphicsWin::ForgetWindow() {
    if (!mWindow) return nullptr;
    CloseTextEntry(false);
    EndGesture();
    if (mCursorHidden) ShowPointer();
    ResetMouseState();
    IWindowHandle window = mWindow;
    mWindow = nullptr;
    return window;
}

int IGraphicsWin::EventDescriptor() { return mX11 ? ConnectionNumber(mX11->display) : -1; }

void IGraphicsWin::ResizeGui(int width, int height) {
    if (width == mWidth && height == mHeight) return;
    CloseTextEntry(false);  // the control it edits goes
    IGraphics::ResizeGui(width, height);
    X11State* s = mX11;
    if (!s || !mWindow) return;
    X11ErrorTrap trap(s->display);
    XResizeWindow(s->display, s->window, width, height);
    IGraphicsWinAccess::FreeImage(s);
    IGraphicsWinAccess::MakeImage(s, width, height);
}

// The pointer disappears over the editor (and wherever a drag's grab takes it) until ShowPointer
// puts it back where it was hidden.
void IGraphicsWin::HidePointer() {
    X11State* s = mX11;
    if (mCursorHidden || !s || !mWindow) return;
    X11ErrorTrap trap(s->display);
    Window root, child;
    int x, y;
    unsigned mask;
    if (!XQueryPointer(s->display, s->window, &root, &child, &mCursorX, &mCursorY, &x, &y, &mask)) return;
    if (!s->invisible) {
        const char empty[1] = {0};
        Pixmap blank = XCreateBitmapFromData(s->display, s->window, empty, 1, 1);
        XColor black{};
        s->invisible = XCreatePixmapCursor(s->display, blank, blank, &black, &black, 0, 0);
        XFreePixmap(s->display, blank);
    }
    XDefineCursor(s->display, s->window, s->invisible);
    if (s->captured) XChangeActivePointerGrab(s->display, kX11GrabMask, s->invisible, CurrentTime);
    mCursorHidden = true;
}

void IGraphicsWin::ShowPointer() {
    X11State* s = mX11;
    if (!mCursorHidden || !s) return;
    X11ErrorTrap trap(s->display);
    XWarpPointer(s->display, None, DefaultRootWindow(s->display), 0, 0, 0, 0, mCursorX, mCursorY);
    if (!s->destroyed) XUndefineCursor(s->display, s->window);
    if (s->captured) XChangeActivePointerGrab(s->display, kX11GrabMask, None, CurrentTime);
    mCursorHidden = false;
}
