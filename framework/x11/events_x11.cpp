// IGraphicsWin on X11: the host's loop drives the editor. HandleWindowEvents takes what the
// connection has queued, HandleTimerTick is the Windows timer's tick.
#include "framework/x11/x11state.h"

namespace {
// The newest of the queued motions of the window (Windows, too, delivers one move for many).
void LatestMotion(Display* display, XEvent* event) {
    while (XCheckTypedWindowEvent(display, event->xmotion.window, MotionNotify, event)) {
    }
}

void PaintExposed(IGraphicsWin* g, X11State* s, const XExposeEvent& e) {
    s->exposed = UnionBounds(s->exposed, {e.x, e.y, e.x + e.width, e.y + e.height});
    if (e.count > 0) return;  // more of the series follow
    IBounds area = s->exposed;
    s->exposed = {};
    if (g->NControls() > 0) g->PaintArea(&area);
}
}  // namespace

void IGraphicsWinAccess::Dispatch(IGraphicsWin* g, XEvent* event) {
    X11State* s = g->mX11;
    if (event->type == MappingNotify) XRefreshKeyboardMapping(&event->xmapping);
    if (event->xany.window != s->window) return;
    switch (event->type) {
        case Expose: PaintExposed(g, s, event->xexpose); break;
        case ButtonPress: Press(g, event->xbutton); break;
        case ButtonRelease: Release(g, event->xbutton); break;
        case MotionNotify:
            LatestMotion(s->display, event);
            Motion(g, event->xmotion);
            break;
        case KeyPress:
        case KeyRelease: Key(g, &event->xkey); break;
        case FocusIn:
        case FocusOut: EntryFocus(g, event->xfocus); break;
        case LeaveNotify:
            if (event->xcrossing.mode == NotifyNormal && s->trackLeave) {
                s->trackLeave = false;
                g->OnMouseLeave();
            }
            break;
        case DestroyNotify:  // the host destroyed its window first
            s->destroyed = true;
            s->captured = false;
            g->ForgetWindow();
            break;
        default: break;
    }
}

// The error trap's closing sync may queue events the descriptor no longer tells of: they are
// handled before returning.
void IGraphicsWin::HandleWindowEvents() {
    X11State* s = mX11;
    if (!s) return;
    do {
        X11ErrorTrap trap(s->display);
        while (XPending(s->display)) {
            XEvent event;
            XNextEvent(s->display, &event);
            if (mWindow) IGraphicsWinAccess::Dispatch(this, &event);
        }
    } while (XQLength(s->display) > 0);
}

// Events the last sync queued first; then the tick.
void IGraphicsWin::HandleTimerTick() {
    if (!mX11 || !mWindow) return;
    HandleWindowEvents();
    IGraphicsWinAccess::Tick(this);
}

// As the Windows timer's tick: the text entry's step may end it; otherwise the dirty area is
// painted (the entry's field is drawn over it) and idle calls come at their rate.
void IGraphicsWinAccess::Tick(IGraphicsWin* g) {
    X11State* s = g->mX11;
    if (!s || !g->mWindow) return;
    X11ErrorTrap trap(s->display);
    if (g->TextEntryTick()) return;
    EntryBlink(g);
    IBounds area = g->TimerTick();
    if (area.Empty()) return;
    IBounds entry;
    g->TextEntryRepainting(&entry);
    g->PaintArea(&area);
}
