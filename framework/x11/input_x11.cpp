// IGraphicsWin on X11: pointer and key events turned into the editor's input as the Windows window
// procedure turns its messages: buttons 1 to 3 are left, middle and right; 4 to 7 a wheel notch
// (120) up, down, left and right; the double click follows the Windows rule; a press takes the focus and grabs
// the pointer until its release; keys the editor does not use go on to the host's window.
#include <X11/keysym.h>

#include <cstdlib>

#include "framework/x11/x11state.h"

namespace {
constexpr Time kDoubleClickTime = 500;  // ms between the presses
constexpr int kDoubleClickReach = 2;    // pixels either way: a 4 x 4 square around the first press
constexpr int kWheelNotch = 120;
constexpr unsigned kButtonRight = 7;  // the wheel's sideways notches: 6 left, 7 right

// Up and right turn a control up, as a notch away from the user does on Windows.
int WheelDelta(unsigned button) { return button == Button4 || button == kButtonRight ? kWheelNotch : -kWheelNotch; }

unsigned ButtonMask(unsigned button) { return button >= 1 && button <= 5 ? Button1Mask << (button - 1) : 0; }

// A press reports the buttons held before it, a release those held before it too: Windows counts
// the pressed button in and the released one out.
IMouseKeys KeysOf(unsigned state) {
    IMouseKeys keys;
    keys.L = (state & Button1Mask) != 0;
    keys.R = (state & Button3Mask) != 0;
    keys.S = (state & ShiftMask) != 0;
    keys.C = (state & ControlMask) != 0;
    keys.A = (state & Mod1Mask) != 0;
    return keys;
}

// Windows' virtual key code of the keys TranslateKey knows; 0 for any other.
int VirtualKey(KeySym sym) {
    switch (sym) {
        case XK_space: return 0x20;
        case XK_Left: return 0x25;
        case XK_Up: return 0x26;
        case XK_Right: return 0x27;
        case XK_Down: return 0x28;
        default: break;
    }
    if (sym >= XK_0 && sym <= XK_9) return '0' + static_cast<int>(sym - XK_0);
    if (sym >= XK_a && sym <= XK_z) return 'A' + static_cast<int>(sym - XK_a);
    if (sym >= XK_A && sym <= XK_Z) return 'A' + static_cast<int>(sym - XK_A);
    return 0;
}

// The second press of a button close to its first in time and place; the pair then starts over.
bool DoubleClick(X11State* s, const XButtonEvent& e) {
    const bool twice = e.button == s->lastButton && e.time - s->lastPressTime <= kDoubleClickTime &&
                       std::abs(e.x - s->lastPressX) <= kDoubleClickReach &&
                       std::abs(e.y - s->lastPressY) <= kDoubleClickReach;
    s->lastButton = twice ? 0 : e.button;
    s->lastPressTime = e.time;
    s->lastPressX = e.x;
    s->lastPressY = e.y;
    return twice;
}

// The key events of the editor window that it does not use go to the host's window.
void PassToHost(X11State* s, XKeyEvent* e) {
    XEvent forwarded;
    forwarded.xkey = *e;
    forwarded.xkey.window = s->parent;
    XSendEvent(s->display, s->parent, True, e->type == KeyPress ? KeyPressMask : KeyReleaseMask, &forwarded);
}
}  // namespace

void IGraphicsWinAccess::Grab(X11State* s, Time time) {
    XGrabPointer(s->display, s->window, False, kX11GrabMask, GrabModeAsync, GrabModeAsync, None, None, time);
    s->captured = true;
}

void IGraphicsWinAccess::Ungrab(X11State* s, Time time) {
    XUngrabPointer(s->display, time);
    s->captured = false;
}

void IGraphicsWinAccess::Press(IGraphicsWin* g, const XButtonEvent& e) {
    X11State* s = g->mX11;
    IMouseKeys keys = KeysOf(e.state | ButtonMask(e.button));
    if (e.button >= Button4 && e.button <= kButtonRight) {
        g->OnWheel(e.x, e.y, &keys, WheelDelta(e.button));
        return;
    }
    if (e.button > Button3 || EntryPress(g, e)) return;
    if (DoubleClick(s, e)) {  // only the left button's double click means anything to the editor
        if (e.button == Button1 && g->OnDoubleClick(e.x, e.y, &keys)) Grab(s, e.time);
        return;
    }
    // With an entry open a press commits it, or cancels it right after the entry got the focus
    // back (a middle press then does nothing), without taking the focus or the pointer.
    if (g->TextEntryEditing()) {
        if (e.button != Button2) g->CancelTextEntry();
        return;
    }
    if (!g->TextEntryOpen()) {
        XSetInputFocus(s->display, s->window, RevertToParent, e.time);
        Grab(s, e.time);
    }
    g->OnButtonDown(e.x, e.y, &keys);
}

void IGraphicsWinAccess::Release(IGraphicsWin* g, const XButtonEvent& e) {
    if (e.button > Button3 || EntryRelease(g, e)) return;
    Ungrab(g->mX11, e.time);
    IMouseKeys keys = KeysOf(e.state & ~ButtonMask(e.button));
    g->OnButtonUp(e.x, e.y, &keys);
}

// A move with the left or right button held is a drag while the pointer is grabbed; any other
// is a move over the editor.
void IGraphicsWinAccess::Motion(IGraphicsWin* g, const XMotionEvent& e) {
    if (EntryMotion(g, e)) return;
    X11State* s = g->mX11;
    IMouseKeys keys = KeysOf(e.state);
    if (!keys.L && !keys.R) {
        if (g->OnMouseMove(e.x, e.y, &keys, false)) s->trackLeave = true;
    } else if (s->captured) {
        g->OnMouseMove(e.x, e.y, &keys, true);
    }
}

void IGraphicsWinAccess::Key(IGraphicsWin* g, XKeyEvent* e) {
    if (EntryKey(g, e)) return;
    if (e->type == KeyPress) {
        const int code = IGraphicsWin::TranslateKey(VirtualKey(XLookupKeysym(e, 0)));
        if (code >= 0 && g->OnKey(e->x, e->y, code)) return;
    }
    PassToHost(g->mX11, e);
}

unsigned X11KeysymChar(KeySym sym) {
    if ((sym >= 0x20 && sym <= 0x7E) || (sym >= 0xA0 && sym <= 0xFF)) return static_cast<unsigned>(sym);
    if ((sym & 0xFF000000) == 0x01000000) return static_cast<unsigned>(sym & 0x00FFFFFF);  // Unicode keysyms
    if (sym >= XK_KP_0 && sym <= XK_KP_9) return '0' + static_cast<unsigned>(sym - XK_KP_0);
    switch (sym) {
        case XK_KP_Decimal: return '.';
        case XK_KP_Subtract: return '-';
        case XK_KP_Add: return '+';
        default: return 0;
    }
}
