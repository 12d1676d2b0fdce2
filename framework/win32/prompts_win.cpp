// IGraphicsWin on Win32: the in-place text entry (an EDIT child window with id 99, subclassed for
// its key filter and its commit and cancel keys) and popup menus (TrackPopupMenu, modal).
// Everything here runs on the editor window's thread.
#include <windows.h>

#include <cstring>

#include "framework/igraphicswin.h"
#include "framework/imenu.h"
#include "framework/textentry.h"

namespace {
constexpr int kTextEntryId = 99;

COLORREF ColourOf(const IArgb& c) { return RGB(c.R & 255, c.G & 255, c.B & 255); }
}  // namespace

struct IGraphicsWinAccess {
    static LRESULT CALLBACK TextEntryProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
    static HMENU BuildNativeMenu(IMenu* menu, int* nextId);
};

void IGraphicsWin::OpenTextEntry(IControl* control, ITextStyle* style, IBounds* rect, const char* text,
                                 IFxParam* param) {
    if (!control || !style || !rect || mTextEntryWindow || !mWindow) return;
    DWORD editStyle = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL;
    if (style->align == 1) editStyle |= ES_CENTER;
    if (style->align == 2) editStyle |= ES_RIGHT;
    HWND edit = CreateWindowExA(0, "EDIT", text ? text : "", editStyle, rect->L, rect->T, rect->R - rect->L + 1,
                                rect->B - rect->T + 1, static_cast<HWND>(mWindow),
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextEntryId)),
                                static_cast<HINSTANCE>(mHInstance), nullptr);
    if (!edit) return;
    HFONT font = CreateFontA(style->size, 0, 0, 0, style->style == 1 ? FW_BOLD : 0, style->style == 2, 0, 0, 0, 0, 0, 0,
                             0, style->face);
    if (font) SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(edit, EM_LIMITTEXT, static_cast<WPARAM>(control->TextEntryLength()), 0);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    // Focus before the procedure is replaced: the entry starts in state 0, so a click on the
    // editor commits it; only a later return of the focus makes a click cancel.
    SetFocus(edit);
    mTextEntryWindow = edit;
    mTextEntryFont = font;
    mTextEntryState = 0;
    mTextEntryDefaultProc = reinterpret_cast<void*>(
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&IGraphicsWinAccess::TextEntryProc)));
    mTextEntryParam = param;
    mTextEntryControl = control;
}

// Also used when the window closes or the controls go (commit false): nothing is applied then.
void IGraphicsWin::CloseTextEntry(bool commit) {
    HWND edit = static_cast<HWND>(mTextEntryWindow);
    if (!edit) return;
    if (commit) {
        char text[kParamTextSize] = {};
        GetWindowTextA(edit, text, sizeof text);
        ApplyTextEntry(mTextEntryControl, mTextEntryParam, text);
    }
    if (mTextEntryDefaultProc) SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mTextEntryDefaultProc));
    mTextEntryWindow = nullptr;  // before DestroyWindow: its focus loss must not reach this object
    DestroyWindow(edit);
    if (mTextEntryFont) DeleteObject(static_cast<HFONT>(mTextEntryFont));
    mTextEntryFont = nullptr;
    mTextEntryParam = nullptr;
    mTextEntryControl = nullptr;
    mTextEntryDefaultProc = nullptr;
    mTextEntryState = 0;
}

// The field's whole background takes the entry colour, not only the text cells.
void* IGraphicsWin::TextEntryColours(void* dc) {
    if (!mTextEntryControl) return nullptr;
    const ITextStyle* style = mTextEntryControl->TextStyle();
    HDC hdc = static_cast<HDC>(dc);
    SetBkColor(hdc, ColourOf(style->entryBackground));
    SetTextColor(hdc, ColourOf(style->entryForeground));
    SetBkMode(hdc, OPAQUE);
    SetDCBrushColor(hdc, ColourOf(style->entryBackground));
    return GetStockObject(DC_BRUSH);
}

LRESULT CALLBACK IGraphicsWinAccess::TextEntryProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* g = reinterpret_cast<IGraphicsWin*>(GetWindowLongPtrA(GetParent(edit), GWLP_USERDATA));
    if (!g || g->mTextEntryWindow != edit || !g->mTextEntryDefaultProc)
        return DefWindowProcA(edit, message, wParam, lParam);
    auto own = reinterpret_cast<WNDPROC>(g->mTextEntryDefaultProc);
    g->HideTooltip();
    switch (message) {
        case WM_SETFOCUS: g->mTextEntryState = 1; break;
        case WM_KILLFOCUS: g->mTextEntryState = 4; break;
        case WM_GETDLGCODE: {
            // lParam is null when the system only asks in general.
            LRESULT code = CallWindowProcA(own, edit, message, wParam, lParam);
            const MSG* msg = reinterpret_cast<const MSG*>(lParam);
            if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) code |= DLGC_WANTALLKEYS;
            return code;
        }
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
                g->mTextEntryState = wParam == VK_RETURN ? 4 : 3;
                return 0;
            }
            break;
        case WM_CHAR:
            if (g->mTextEntryParam && !TextEntryAccepts(g->mTextEntryParam, static_cast<unsigned>(wParam))) return 0;
            break;
        case WM_COMMAND:
            if (HIWORD(wParam) == 1) {
                g->mTextEntryState = 4;
                return 0;
            }
            break;
        default: break;
    }
    return CallWindowProcA(own, edit, message, wParam, lParam);
}

// Items take the ids nextId.. in order; submenus follow, depth first. Null when a menu cannot be made.
HMENU IGraphicsWinAccess::BuildNativeMenu(IMenu* menu, int* nextId) {
    HMENU native = CreatePopupMenu();
    if (!native) return nullptr;
    const int base = *nextId;
    *nextId += menu->NItems();
    GrowString label;
    for (int k = 0; k < menu->NItems(); ++k) {
        const IMenuItem* item = menu->GetItem(k);
        if (item->Flags() & IMenuItem::kSeparator) {
            AppendMenuA(native, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        menu->ItemLabel(k, &label);
        if (item->Submenu()) {
            if (HMENU sub = BuildNativeMenu(item->Submenu(), nextId))
                AppendMenuA(native, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), label.Get());
            continue;
        }
        UINT flags = MF_STRING;
        if (item->Flags() & IMenuItem::kGreyed) flags |= MF_GRAYED;
        if (item->Flags() & IMenuItem::kDisabled) flags |= MF_DISABLED;
        if (item->Flags() & IMenuItem::kChecked) flags |= MF_CHECKED;
        AppendMenuA(native, flags, static_cast<UINT_PTR>(base + k), label.Get());
    }
    return native;
}

// The menu pops up at the rectangle's bottom-left corner. When the editor window closes while it
// is up, the menu is ended and nothing is chosen.
IMenu* IGraphicsWin::ShowPopupMenu(IMenu* menu, IBounds* rect) {
    HWND window = static_cast<HWND>(mWindow);
    mMouseCapture = -1;
    mMouseX = mMouseY = -1;
    if (!menu || !rect || !window || mMenuOpen) return nullptr;
    mMenuTookMouse = true;
    int nextId = 0;
    HMENU native = IGraphicsWinAccess::BuildNativeMenu(menu, &nextId);
    if (!native) return nullptr;
    POINT at{rect->L, rect->B};
    ClientToScreen(window, &at);
    mMenuOpen = true;
    const BOOL tracked = TrackPopupMenu(native, TPM_LEFTBUTTON | TPM_LEFTALIGN, at.x, at.y, 0, window, nullptr);
    mMenuOpen = false;
    IMenu* result = nullptr;
    MSG msg;
    if (tracked && mWindow == window && PeekMessageA(&msg, window, WM_COMMAND, WM_COMMAND, PM_REMOVE) &&
        HIWORD(msg.wParam) == 0) {
        int counter = 0, index = -1;
        result = menu->FindMenuItemById(LOWORD(msg.wParam), &counter, &index);
        if (result) result->SetChosenItemIdx(index);
    }
    DestroyMenu(native);
    if (mWindow == window) {
        RECT all{0, 0, mWidth, mHeight};
        InvalidateRect(window, &all, FALSE);
    }
    return result;
}
