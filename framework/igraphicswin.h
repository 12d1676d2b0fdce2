#pragma once
// IGraphicsWin: the editor on a Win32 child window of class "IFxWndClass" inside the host's
// window. A 40 ms timer (25 frames per second) turns dirty controls into repaints from the
// off-screen surface; mouse, wheel and key messages become control input and host gestures.
// Outside Windows the same class is a headless stand-in: no window ever opens, images are read
// from files, and everything portable (controls, painting, caches) works as on Windows.
//
// Threads: every message, the timer and painting run on the thread that owns the window (the
// host's user-interface thread); window opening and closing too, which is what the process-wide
// class count relies on.
#include "framework/igraphics.h"

class IGraphicsWin : public IGraphics {
public:
    IGraphicsWin(IFxBase* plug, int width, int height, int fps);
    ~IGraphicsWin() override;

    // The module whose "PNG" resources hold the images; set before images load or the window opens.
    void SetHInstance(void* instance) { mHInstance = instance; }
    void* GetHInstance() const { return mHInstance; }

    // ---- Window (igraphicswin_win.cpp; the headless stand-in opens nothing) ----
    // Host's UI thread. Opens the child window in parent (closing an open one first, keeping its
    // place); null when no window could be made.
    IWindowHandle OpenGuiWindow(IWindowHandle parent) override;
    // Host's UI thread. Destroys the window; the last editor window unregisters the class.
    void CloseGuiWindow() override;
    IWindowHandle GetWindowHandle() override { return mWindow; }
    bool IsWindowOpen() override { return mWindow != nullptr; }
    bool PaintToScreen(IBounds* area) override;
    const char* GetDrawingApiName() override { return "Windows GDI"; }
    void ResizeGui(int width, int height) override;
    void HidePointer() override;
    void ShowPointer() override;
    void SpareHookC() override {}
    PIX_IBitmap* LoadBitmapResource(int id, const char* fileName) override;

    // ---- Text entry, menus and dialogs: not offered by this editor yet ----
    void CancelTextEntry() override {}
    int ShowMessageBox(const char*, const char*, int) override { return 0; }
    IMenu* ShowPopupMenu(IMenu*, IBounds*) override { return nullptr; }
    void OpenTextEntry(IControl*, ITextStyle*, IBounds*, const char*, IFxParam*) override {}
    void GetHostFolder(GrowString*) override {}
    void GetPluginFolder(GrowString*) override {}
    void GetDesktopFolder(GrowString*) override {}
    void GetAppDataFolder(GrowString*, bool) override {}
    void GetUserAppDataFolder(GrowString*) override {}
    void AskForFile(GrowString*, int, GrowString*, const char*) override {}
    bool AskForColour(IArgb*, const char*) override { return false; }
    bool OpenUrl(const char*, const char*, const char*, const char*) override { return false; }
    bool GetClipboardText(GrowString*) override { return false; }

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
    void HideTooltip();
    // Ends a host gesture that a button press began and no release ended.
    void EndGesture();

    void* mHInstance = nullptr;
    IWindowHandle mWindow = nullptr;
    IWindowHandle mTextEntryWindow = nullptr;
    IWindowHandle mTooltipWindow = nullptr;
    IControl* mTextEntryControl = nullptr;
    IFxParam* mTextEntryParam = nullptr;
    void* mTextEntryDefaultProc = nullptr;
    int mTextEntryState = 0;
    bool mTooltipShown = false;
    int mTooltipIndex = -1;
    uint32_t* mCustomColours = nullptr;
    uint32_t mProcessId = 0;
    IWindowHandle mParentWindow = nullptr;
    IWindowHandle mMainWindow = nullptr;
    GrowString mMainWindowClass;
    // The parameter whose host gesture a button press began (-1: none open).
    int mGestureParam = -1;
};

// The instance handle of the module this code is linked into (the plug-in's DLL on Windows; null
// elsewhere).
void* IFxModuleInstance();
