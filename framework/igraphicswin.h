#pragma once
// IGraphicsWin: the editor on a Win32 child window of class "IFxWndClass" inside the host's
// window. A 40 ms timer (25 frames per second) turns dirty controls into repaints from the
// off-screen surface; mouse, wheel and key messages become control input and host gestures.
// On X11 (x11/) it is a child of the host's X11 window, painted and fed by the host's loop
// (EventDescriptor, HandleWindowEvents, HandleTimerTick). Elsewhere the same class is a headless
// stand-in: no window ever opens, images are read from files, and everything portable (controls,
// painting, caches) works as on Windows.
//
// Threads: every message, the timer and painting run on the thread that owns the window (the
// host's user-interface thread); window opening and closing too, which is what the process-wide
// class count relies on.
#include "framework/igraphics.h"

struct X11State;  // x11/x11state.h: the connection, the windows and the input of an open editor

class IGraphicsWin : public IGraphics {
public:
    IGraphicsWin(IFxBase* plug, int width, int height, int fps);
    ~IGraphicsWin() override;

    // The module whose "PNG" resources hold the images; set before images load or the window opens.
    void SetHInstance(void* instance) { mHInstance = instance; }
    void* GetHInstance() const { return mHInstance; }

    // ---- Window (win32/igraphicswin_win.cpp, x11/window_x11.cpp; the stand-in in headless/ opens nothing) ----
    // Opens the child window in parent (closing an open one first, keeping its place); null when
    // no window could be made.
    // [UI thread, takes the plug-in lock only to mark the controls]
    IWindowHandle OpenGuiWindow(IWindowHandle parent) override;
    // Destroys the window; the last editor window unregisters the class.
    // [UI thread]
    void CloseGuiWindow() override;
    IWindowHandle GetWindowHandle() override { return mWindow; }
    bool IsWindowOpen() override { return mWindow != nullptr; }
    bool PaintToScreen(IBounds* area) override;
    const char* GetDrawingApiName() override { return "Windows GDI"; }
    void ResizeGui(int width, int height) override;
    void HidePointer() override;
    void ShowPointer() override;
    PIX_IBitmap* LoadBitmapResource(int id, const char* fileName) override;
#ifdef IFX_X11  // defined for whatever links the linux preset's ifx_gui
    // The X connection's descriptor while a window is open; -1 otherwise.
    // [UI thread]
    int EventDescriptor() override;
    // [UI thread]
    void HandleWindowEvents() override;
    // The tick of the Windows timer: the text entry's step, the dirty area painted, idle calls.
    // [UI thread]
    void HandleTimerTick() override;
#endif

    // ---- Text entry and popup menus (win32/prompts_win.cpp, x11/prompts_x11.cpp; window thread) ----
    // The entry closes without applying at the next tick.
    void CancelTextEntry() override {
        if (mTextEntryWindow) mTextEntryState = 3;
    }
    // Modal: returns when the menu closes, with the (sub)menu whose item was chosen, or null.
    IMenu* ShowPopupMenu(IMenu* menu, IBounds* rect) override;
    // An EDIT window over rect holding text; a second entry while one is open is not opened.
    void OpenTextEntry(IControl* control, ITextStyle* style, IBounds* rect, const char* text, IFxParam* param) override;
    bool TextEntryOpen() const { return mTextEntryWindow != nullptr; }
    // For the editor window's procedure: the field has the focus (a press now cancels it).
    bool TextEntryEditing() const { return mTextEntryWindow && mTextEntryState == 1; }
    // Step one of a timer tick: applies or drops an entry asked to close, or forgets that it had
    // the focus. True when the tick ends here.
    bool TextEntryTick();
    // A repaint while the entry is open must leave its field alone: the edited control's rectangle,
    // or false when no entry is open.
    bool TextEntryRepainting(IBounds* controlRect);
    // The brush of the WM_CTLCOLOREDIT answer for the entry (dc: its device context); null when no
    // entry is open.
    void* TextEntryColours(void* dc);
    // What a committed entry does with its text: the parameter's value through the control (inside
    // a host gesture of its own), or the control's OnTextEntered when it has no parameter.
    void ApplyTextEntry(IControl* control, IFxParam* param, const char* text);

    // ---- Dialogs and services (win32/dialogs_win.cpp; window thread, all modal) ----
    // A message box owned by the host's top-level window; its result (0 when none could be shown).
    int ShowMessageBox(const char* text, const char* caption, int type) override;
    // Folders end with a backslash; "" when unknown.
    void GetHostFolder(GrowString* path) override;
    void GetPluginFolder(GrowString* path) override;
    // Shell folders come without a trailing backslash; "" when the shell gives none.
    void GetDesktopFolder(GrowString* path) override;
    void GetAppDataFolder(GrowString* path, bool allUsers) override;
    void GetUserAppDataFolder(GrowString* path) override { GetAppDataFolder(path, false); }
    // action 1 saves, anything else opens. extensions: "fxp fxb". fileName becomes the chosen path
    // ("" when cancelled), folder its drive and directory.
    void AskForFile(GrowString* fileName, int action, GrowString* folder, const char* extensions) override;
    // True when confirmed; the colour is then ChosenColour() (start is not written).
    bool AskForColour(IArgb* start, const char* prompt) override;
    bool OpenUrl(const char* url, const char* caption, const char* confirm, const char* failure) override;
    bool GetClipboardText(GrowString* text) override;
    const IArgb& ChosenColour() const { return mChosenColour; }

    // ---- Input, as the window procedure delivers it (client coordinates) ----
    // Portable, so tests drive them directly.
    void OnButtonDown(int x, int y, IMouseKeys* keys);
    void OnButtonUp(int x, int y, IMouseKeys* keys);
    // True when the control took the mouse (a double click delivered as a press).
    bool OnDoubleClick(int x, int y, IMouseKeys* keys);
    // True when the window should ask for a mouse-leave notification.
    bool OnMouseMove(int x, int y, IMouseKeys* keys, bool buttonHeld);
    void OnWheel(int x, int y, IMouseKeys* keys, int delta);
    // code: the translated key (space 0, arrows 1..4, digits 5..14, letters 15..40).
    bool OnKey(int x, int y, int code);
    // Tooltips (when enabled): the pointer rests on, or left, the editor window.
    void OnMouseHover();
    void OnMouseLeave();
    // After a mouse-over move: true when the window should ask for a hover notification.
    bool NextTooltip();
    // The tooltip's text; null hides it.
    void SetTooltipText(const char* text);
    // One timer tick: the area to repaint (empty when nothing is dirty).
    IBounds TimerTick();
    // The key code for a virtual key, -1 when the editor does not use it.
    static int TranslateKey(int virtualKey);

    // Process-wide: editor windows holding the class, and the frame rate of the last opened one.
    static int WindowClassUsers();
    static double GuiFrameRate();
    // Where the headless stand-in reads image files from (a folder the file names are relative to).
    static void SetImageFolder(const char* folder);

    // Lets go of the window without destroying it (it is being destroyed); returns it.
    IWindowHandle ForgetWindow();

private:
    friend struct IGraphicsWinAccess;  // the window procedures
    void HideTooltip();
    // Closes an open entry: commit applies its text first; the state returns to 0.
    void CloseTextEntry(bool commit);
    // Ends a host gesture that a button press began and no release ended.
    void EndGesture();

    void* mHInstance = nullptr;
    IWindowHandle mWindow = nullptr;
    IWindowHandle mTextEntryWindow = nullptr;  // on X11 the editor's own while its field is open
    IWindowHandle mTooltipWindow = nullptr;
    IControl* mTextEntryControl = nullptr;
    IFxParam* mTextEntryParam = nullptr;
    void* mTextEntryDefaultProc = nullptr;
    int mTextEntryState = 0;
    void* mTextEntryFont = nullptr;  // the entry's own font, deleted when it closes
    bool mMenuOpen = false;          // a popup menu is being tracked
    bool mMenuTookMouse = false;     // a menu shown during a press swallowed its release
    bool mTooltipShown = false;
    int mTooltipIndex = -1;
    uint32_t* mCustomColours = nullptr;
    uint32_t mProcessId = 0;
    IWindowHandle mParentWindow = nullptr;
    IWindowHandle mMainWindow = nullptr;
    GrowString mMainWindowClass;
    // The parameter whose host gesture a button press began (-1: none open).
    int mGestureParam = -1;
    X11State* mX11 = nullptr;  // while an X11 window is open (its display connection too)
};

// The instance handle of the module this code is linked into (the plug-in's DLL on Windows; null
// elsewhere).
void* IFxModuleInstance();
// True for a name ending in ".png" in any case: the only images loaded by resource id.
bool IsPngFileName(const char* fileName);
