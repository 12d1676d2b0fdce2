#pragma once
// What the X11 editor keeps while its window is open (IGraphicsWin::mX11), and the operations the
// files of framework/x11/ share. Only those files include this header (it brings in Xlib).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include "framework/igraphicswin.h"

struct X11TextEntry;  // prompts_x11.cpp: the field drawn over a control while it is edited

// The pointer events a drag's grab reports.
constexpr unsigned kX11GrabMask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;

struct X11State {
    Display* display = nullptr;  // the editor's own connection
    Window window = 0;
    Window parent = 0;
    bool destroyed = false;  // the server destroyed the window (the host destroyed its parent first)
    Visual* visual = nullptr;
    int depth = 0;
    Colormap colormap = 0;  // made for the window when the parent's visual does not suit it
    GC gc = nullptr;
    Cursor invisible = 0;  // while the pointer is hidden; made on first use
    // The image XShmPutImage sends (null: each paint sends the surface with XPutImage).
    XImage* shared = nullptr;
    XShmSegmentInfo segment{};
    IBounds exposed;  // the union of the exposures of one series
    // Pointer state.
    bool captured = false;    // a press grabbed the pointer; its release lets go
    bool trackLeave = false;  // the editor asked to hear of the pointer leaving
    unsigned lastButton = 0;  // the press a second one may make a double click with (0: none)
    Time lastPressTime = 0;
    int lastPressX = 0, lastPressY = 0;
    X11TextEntry* entry = nullptr;
};

// Catches the X errors of the editor's own requests on one display while it lives, and restores
// the previous handler afterwards (errors of other connections go to that handler): a window the
// host destroyed first must not end the host. Traps nest.
class X11ErrorTrap {
public:
    explicit X11ErrorTrap(Display* display);
    // Waits for the server to have handled every request made so far.
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;
    // Errors caught so far (after a sync).
    int Errors();

private:
    static int OnError(Display* display, XErrorEvent* error);

    Display* mDisplay;
    X11ErrorTrap* mOuter;
    int (*mPrevious)(Display*, XErrorEvent*);
    int mErrors = 0;
};

// The operations of the x11/ files on an editor and its private state.
struct IGraphicsWinAccess {
    // paint_x11.cpp: the window's pixels.
    static bool MakeImage(X11State* s, int width, int height);
    static void FreeImage(X11State* s);
    // The area of a top-down bitmap to the same place of target (a window of the visual), with XPutImage.
    static void PutBitmap(X11State* s, Drawable target, PIX_IBitmap* bitmap, const IBounds& area);
    // events_x11.cpp: one event of the connection; one redraw tick.
    static void Dispatch(IGraphicsWin* g, XEvent* event);
    static void Tick(IGraphicsWin* g);
    // input_x11.cpp: one pointer or key event.
    static void Press(IGraphicsWin* g, const XButtonEvent& e);
    static void Release(IGraphicsWin* g, const XButtonEvent& e);
    static void Motion(IGraphicsWin* g, const XMotionEvent& e);
    static void Key(IGraphicsWin* g, XKeyEvent* e);
    static void Grab(X11State* s, Time time);
    static void Ungrab(X11State* s, Time time);
    // prompts_x11.cpp: the open text entry's share of input and painting; false when it takes no
    // part (no entry open, or the event is not its).
    static bool EntryPress(IGraphicsWin* g, const XButtonEvent& e);
    static bool EntryRelease(IGraphicsWin* g, const XButtonEvent& e);
    static bool EntryMotion(IGraphicsWin* g, const XMotionEvent& e);
    static bool EntryKey(IGraphicsWin* g, XKeyEvent* e);
    static void EntryFocus(IGraphicsWin* g, const XFocusChangeEvent& e);
    static void EntryPaint(IGraphicsWin* g, const IBounds& area);
    // A tick that the entry's state does not end: its caret blinks.
    static void EntryBlink(IGraphicsWin* g);
    static X11State* State(IGraphicsWin* g) { return g->mX11; }
};

// The UTF-32 character of a keysym (0 when it stands for none).
unsigned X11KeysymChar(KeySym sym);
