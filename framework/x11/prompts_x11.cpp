// IGraphicsWin on X11: the text entry (an ITextField drawn over the control inside the editor) and
// popup menus (an IMenuView in override-redirect windows, modal), with the Win32 entry's states:
// 0 open, 1 the focus came back (a press now cancels), 2 repainted, 3 cancel and 4 commit at the
// next tick. Also the clipboard, read for pastes. Everything here runs on the editor's thread.
#include <X11/Xatom.h>
#include <X11/keysym.h>
#include <poll.h>

#include <chrono>
#include <climits>
#include <vector>

#include "framework/imenu.h"
#include "framework/menuview.h"
#include "framework/textfield.h"
#include "framework/x11/x11state.h"

struct X11TextEntry {
    ITextField field;
    unsigned long openSerial = 0;  // focus changes up to this request came before the entry
    unsigned pressed = 0;          // the buttons pressed in the field and not yet released
};

namespace {
constexpr int kClipboardWaitMs = 300;

IPromptKey PromptKey(KeySym sym) {
    switch (sym) {
        case XK_Left:
        case XK_KP_Left: return kPromptKeyLeft;
        case XK_Right:
        case XK_KP_Right: return kPromptKeyRight;
        case XK_Up:
        case XK_KP_Up: return kPromptKeyUp;
        case XK_Down:
        case XK_KP_Down: return kPromptKeyDown;
        case XK_Home:
        case XK_KP_Home: return kPromptKeyHome;
        case XK_End:
        case XK_KP_End: return kPromptKeyEnd;
        case XK_BackSpace: return kPromptKeyBackspace;
        case XK_Delete:
        case XK_KP_Delete: return kPromptKeyDelete;
        case XK_Return:
        case XK_KP_Enter: return kPromptKeyEnter;
        case XK_Escape: return kPromptKeyEscape;
        default: return X11KeysymChar(sym) ? kPromptKeyChar : kPromptKeyNone;
    }
}

KeySym LookupKeysym(XKeyEvent* e) {
    char text[8];
    KeySym sym = NoSymbol;
    XLookupString(e, text, sizeof text, &sym, nullptr);
    return sym;
}

// Waits up to ms for an event of type on window, leaving every other event queued.
bool WaitForEvent(Display* display, Window window, int type, XEvent* event, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        if (XCheckTypedWindowEvent(display, window, type, event)) return true;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(left.count()));
    }
}

// The windows of a menu's levels, on the screen's root, in the editor's visual.
class MenuWindows {
public:
    explicit MenuWindows(X11State* s) : mS(s) {
        mColormap = XCreateColormap(s->display, DefaultRootWindow(s->display), s->visual, AllocNone);
    }
    ~MenuWindows() {
        XUngrabKeyboard(mS->display, CurrentTime);
        XUngrabPointer(mS->display, CurrentTime);
        for (Window w : mWindows) XDestroyWindow(mS->display, w);
        XFreeColormap(mS->display, mColormap);
    }
    MenuWindows(const MenuWindows&) = delete;
    MenuWindows& operator=(const MenuWindows&) = delete;

    bool Owns(Window w) const {
        for (Window own : mWindows)
            if (own == w) return true;
        return false;
    }

    // One window per open level, placed and painted; the first holds the pointer and the keys.
    void Show(IMenuView* view) {
        while (static_cast<int>(mWindows.size()) > view->Levels()) {
            XDestroyWindow(mS->display, mWindows.back());
            mWindows.pop_back();
        }
        for (int level = 0; level < view->Levels(); ++level) {
            const IBounds b = view->LevelBounds(level);
            if (level == static_cast<int>(mWindows.size())) mWindows.push_back(Create(b));
            XMoveResizeWindow(mS->display, mWindows[level], b.L, b.T, b.W(), b.H());
            XMapRaised(mS->display, mWindows[level]);
            Paint(view, level);
        }
        if (mGrabbed || mWindows.empty()) return;
        mGrabbed = true;
        XGrabPointer(mS->display, mWindows[0], False, kX11GrabMask, GrabModeAsync, GrabModeAsync, None, None,
                     CurrentTime);
        XGrabKeyboard(mS->display, mWindows[0], False, GrabModeAsync, GrabModeAsync, CurrentTime);
    }

    void Paint(IMenuView* view, int level) {
        const IBounds b = view->LevelBounds(level);
        mBitmap.Resize(b.W(), b.H());
        view->Paint(&mBitmap, level);
        IGraphicsWinAccess::PutBitmap(mS, mWindows[level], &mBitmap, {0, 0, b.W(), b.H()});
    }

    int LevelOf(Window w) const {
        for (size_t i = 0; i < mWindows.size(); ++i)
            if (mWindows[i] == w) return static_cast<int>(i);
        return -1;
    }

private:
    Window Create(const IBounds& b) {
        XSetWindowAttributes a{};
        a.override_redirect = True;
        a.colormap = mColormap;
        a.border_pixel = 0;
        a.background_pixmap = None;
        a.event_mask = ExposureMask;
        return XCreateWindow(mS->display, DefaultRootWindow(mS->display), b.L, b.T, b.W(), b.H(), 0, mS->depth,
                             InputOutput, mS->visual,
                             CWOverrideRedirect | CWColormap | CWBorderPixel | CWBackPixmap | CWEventMask, &a);
    }

    X11State* mS;
    Colormap mColormap;
    std::vector<Window> mWindows;
    PIX_MemBitmap mBitmap{0, 0};
    bool mGrabbed = false;
};

// What one event of the menu's windows does to the menu.
IMenuView::Event MenuEvent(IMenuView* view, MenuWindows* windows, XEvent* e) {
    switch (e->type) {
        case Expose: {
            const int level = windows->LevelOf(e->xexpose.window);
            if (level >= 0 && e->xexpose.count == 0) windows->Paint(view, level);
            return IMenuView::kUnchanged;
        }
        case MotionNotify: return view->Move(e->xmotion.x_root, e->xmotion.y_root);
        case ButtonPress:
            if (e->xbutton.button > Button3) return IMenuView::kUnchanged;
            return view->Press(e->xbutton.x_root, e->xbutton.y_root);
        case ButtonRelease:
            if (e->xbutton.button > Button3) return IMenuView::kUnchanged;
            return view->Release(e->xbutton.x_root, e->xbutton.y_root);
        case KeyPress: return view->Key(PromptKey(LookupKeysym(&e->xkey)));
        default: return IMenuView::kUnchanged;
    }
}
}  // namespace

void IGraphicsWin::OpenTextEntry(IControl* control, ITextStyle* style, IBounds* rect, const char* text,
                                 IFxParam* param) {
    X11State* s = mX11;
    if (!control || !style || !rect || mTextEntryWindow || !mWindow || !s) return;
    auto* entry = new X11TextEntry;
    entry->field.Open(text ? text : "", *rect, *style, param, control->TextEntryLength());
    X11ErrorTrap trap(s->display);
    entry->openSerial = NextRequest(s->display);
    XSetInputFocus(s->display, s->window, RevertToParent, CurrentTime);
    s->entry = entry;
    mTextEntryWindow = mWindow;  // the portable input rules see the entry
    mTextEntryState = 0;
    mTextEntryParam = param;
    mTextEntryControl = control;
    IBounds field = entry->field.Bounds();
    PaintToScreen(&field);
}

// Also used when the window closes or the controls go (commit false): nothing is applied then.
// What the field covered is painted again, as Windows repaints under a destroyed entry window.
void IGraphicsWin::CloseTextEntry(bool commit) {
    X11State* s = mX11;
    X11TextEntry* entry = s ? s->entry : nullptr;
    if (!entry) return;
    if (commit) ApplyTextEntry(mTextEntryControl, mTextEntryParam, entry->field.Text());
    IBounds covered = entry->field.Bounds();
    s->entry = nullptr;
    delete entry;
    mTextEntryWindow = nullptr;
    mTextEntryParam = nullptr;
    mTextEntryControl = nullptr;
    mTextEntryState = 0;
    if (mWindow && !s->destroyed && NControls() > 0) PaintArea(&covered);
}

void IGraphicsWinAccess::EntryBlink(IGraphicsWin* g) {
    X11TextEntry* entry = g->mX11->entry;
    IBounds field = entry ? entry->field.Bounds() : IBounds{};
    if (entry && entry->field.Tick()) g->PaintToScreen(&field);
}

bool IGraphicsWinAccess::EntryPress(IGraphicsWin* g, const XButtonEvent& e) {
    X11TextEntry* entry = g->mX11->entry;
    if (!entry || !entry->field.Bounds().Contains(e.x, e.y)) return false;
    entry->pressed |= 1u << e.button;
    if (e.button == Button1) {
        entry->field.Press(e.x);
        IBounds field = entry->field.Bounds();
        g->PaintToScreen(&field);
    }
    return true;
}

bool IGraphicsWinAccess::EntryRelease(IGraphicsWin* g, const XButtonEvent& e) {
    X11TextEntry* entry = g->mX11->entry;
    if (!entry || !(entry->pressed & (1u << e.button))) return false;
    entry->pressed &= ~(1u << e.button);
    return true;
}

bool IGraphicsWinAccess::EntryMotion(IGraphicsWin* g, const XMotionEvent& e) {
    X11TextEntry* entry = g->mX11->entry;
    if (!entry || !entry->pressed) return false;
    if (entry->pressed & (1u << Button1)) {
        entry->field.Drag(e.x);
        IBounds field = entry->field.Bounds();
        g->PaintToScreen(&field);
    }
    return true;
}

// While the entry is open every key is its: Enter commits and Escape cancels at the next tick,
// Ctrl+V and Shift+Insert paste the clipboard's text.
bool IGraphicsWinAccess::EntryKey(IGraphicsWin* g, XKeyEvent* e) {
    X11TextEntry* entry = g->mX11->entry;
    if (!entry) return false;
    if (e->type != KeyPress) return true;
    const KeySym sym = LookupKeysym(e);
    const bool shift = e->state & ShiftMask, ctrl = e->state & ControlMask;
    if ((ctrl && (sym == XK_v || sym == XK_V)) || (shift && sym == XK_Insert)) {
        GrowString text;
        if (g->GetClipboardText(&text)) entry->field.Insert(text.Get());
    } else if (ctrl && (sym == XK_a || sym == XK_A)) {
        entry->field.Key(kPromptKeySelectAll, 0, false, false);
    } else {
        const ITextField::Result result = entry->field.Key(PromptKey(sym), X11KeysymChar(sym), shift, ctrl);
        if (result != ITextField::kNone) g->mTextEntryState = result == ITextField::kCommit ? 4 : 3;
    }
    IBounds field = entry->field.Bounds();
    g->PaintToScreen(&field);
    return true;
}

// As the Win32 entry's focus messages: losing the focus commits, getting it back marks state 1.
void IGraphicsWinAccess::EntryFocus(IGraphicsWin* g, const XFocusChangeEvent& e) {
    X11TextEntry* entry = g->mX11->entry;
    if (!entry || e.serial <= entry->openSerial) return;
    if ((e.mode != NotifyNormal && e.mode != NotifyWhileGrabbed) || e.detail == NotifyPointer ||
        e.detail == NotifyInferior)
        return;
    g->mTextEntryState = e.type == FocusIn ? 1 : 4;
}

void IGraphicsWinAccess::EntryPaint(IGraphicsWin* g, const IBounds& area) {
    X11TextEntry* entry = g->mX11->entry;
    if (entry && BoundsTouch(area, entry->field.Bounds())) entry->field.Paint(g);
}

// The menu drops from the rectangle's bottom-left corner and keeps the pointer and the keys until
// it closes: a choice, Escape, or a press outside it. Meanwhile the editor's events and ticks go
// on, as in the modal loop of a Windows menu. When the editor window goes, nothing is chosen.
IMenu* IGraphicsWin::ShowPopupMenu(IMenu* menu, IBounds* rect) {
    X11State* s = mX11;
    mMouseCapture = -1;
    mMouseX = mMouseY = -1;
    if (!menu || !rect || !s || !mWindow || mMenuOpen) return nullptr;
    mMenuTookMouse = true;
    X11ErrorTrap trap(s->display);
    Window child;
    int x, y;
    XTranslateCoordinates(s->display, s->window, DefaultRootWindow(s->display), rect->L, rect->T, &x, &y, &child);
    const int screen = DefaultScreen(s->display);
    IMenuView view(this);
    if (!view.Open(menu, {x, y, x + rect->W(), y + rect->H()}, DisplayWidth(s->display, screen),
                   DisplayHeight(s->display, screen)))
        return nullptr;
    mMenuOpen = true;
    {
        MenuWindows windows(s);
        windows.Show(&view);
        const auto tick = std::chrono::microseconds(1000000 / mFps);
        auto nextTick = std::chrono::steady_clock::now() + tick;
        while (view.IsOpen() && mWindow) {
            while (view.IsOpen() && mWindow && XPending(s->display)) {
                XEvent e;
                XNextEvent(s->display, &e);
                if (!windows.Owns(e.xany.window)) {
                    IGraphicsWinAccess::Dispatch(this, &e);
                } else if (MenuEvent(&view, &windows, &e) == IMenuView::kChanged) {
                    windows.Show(&view);
                }
            }
            const auto now = std::chrono::steady_clock::now();
            if (now >= nextTick) {
                IGraphicsWinAccess::Tick(this);  // the queue holds the menu's events too
                nextTick = now + tick;
                continue;
            }
            pollfd fd{ConnectionNumber(s->display), POLLIN, 0};
            poll(&fd, 1,
                 static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(nextTick - now).count()) + 1);
        }
    }
    mMenuOpen = false;
    s->captured = false;  // the menu's grab ended the press's
    if (!mWindow) return nullptr;
    IBounds all{0, 0, mWidth, mHeight};
    PaintArea(&all);
    return view.Result();
}

// The CLIPBOARD selection as UTF-8, asked of its owner with a short wait; false when there is none.
bool IGraphicsWin::GetClipboardText(GrowString* text) {
    text->Set(0, "", 0);
    X11State* s = mX11;
    if (!s || !mWindow) return false;
    X11ErrorTrap trap(s->display);
    const Atom clipboard = XInternAtom(s->display, "CLIPBOARD", False);
    const Atom utf8 = XInternAtom(s->display, "UTF8_STRING", False);
    const Atom property = XInternAtom(s->display, "IFX_CLIPBOARD", False);
    if (XGetSelectionOwner(s->display, clipboard) == None) return false;
    XConvertSelection(s->display, clipboard, utf8, property, s->window, CurrentTime);
    XEvent e;
    if (!WaitForEvent(s->display, s->window, SelectionNotify, &e, kClipboardWaitMs) || e.xselection.property == None)
        return false;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    XGetWindowProperty(s->display, s->window, property, 0, INT_MAX / 4, True, AnyPropertyType, &type, &format, &count,
                       &after, &data);
    const bool got = data && type == utf8 && format == 8 && count > 0;
    if (got) text->Set(0, reinterpret_cast<const char*>(data), static_cast<int>(count));
    if (data) XFree(data);
    return got;
}
