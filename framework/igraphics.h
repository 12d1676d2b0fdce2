#pragma once
// IGraphics: the editor of one plug-in instance. It owns the controls (index 0 is the background)
// and the off-screen surface of the whole editor, loads images through the process-wide caches,
// pushes parameter values into the controls and repaints dirty areas before they are copied to
// the window. The window itself is IGraphicsWin's.
//
// Threads: painting, input and the timer run on the editor window's thread; PushParamToControls
// runs on its caller's (BindGraphics and state restore, and the host's parameter changes, under the
// plug-in mutex; the VST3 process call on the audio thread under it too). Controls are not locked:
// a value written on one thread is drawn on the other at the next tick, through the controls'
// atomic values and draw state. Opening the window makes it without the plug-in mutex and takes
// the mutex only to mark the controls (MarkAllDirty).
#include "base/growstring.h"
#include "base/pointerlist.h"
#include "framework/fxeditor.h"
#include "framework/guitypes.h"
#include "framework/icontrol.h"
#include "framework/plugmutex.h"

class IFxBase;
class IFxParam;
class IMenu;
class PIX_MemBitmap;

using IWindowHandle = void*;  // HWND, kept opaque so portable code needs no system headers

class IGraphics : public IFxEditor {
public:
    IGraphics(IFxBase* plug, int width, int height, int fps);
    IGraphics(const IGraphics&) = delete;
    IGraphics& operator=(const IGraphics&) = delete;

    // ---- Virtual operations; nothing outside this module sees their order (README, "Binary layout") ----
    virtual bool PaintToScreen(IBounds* area) = 0;
    virtual bool MeasureText(ITextStyle* style, const char* text, IBounds* rect) {
        return DrawStyledText(style, text, rect, true);
    }
    virtual void CancelTextEntry() = 0;
    virtual void ResizeGui(int width, int height);
    virtual bool IsWindowOpen() { return GetWindowHandle() != nullptr; }
    virtual const char* GetDrawingApiName() { return ""; }
    virtual int ShowMessageBox(const char* text, const char* caption, int type) = 0;
    virtual IMenu* ShowPopupMenu(IMenu* menu, IBounds* rect) = 0;
    virtual void OpenTextEntry(IControl* control, ITextStyle* style, IBounds* rect, const char* text,
                               IFxParam* param) = 0;
    virtual void GetHostFolder(GrowString* path) = 0;
    virtual void GetPluginFolder(GrowString* path) = 0;
    virtual void GetDesktopFolder(GrowString* path) = 0;
    virtual void GetAppDataFolder(GrowString* path, bool allUsers) = 0;
    virtual void GetUserAppDataFolder(GrowString* path) = 0;
    virtual void AskForFile(GrowString* fileName, int action, GrowString* folder, const char* extensions) = 0;
    virtual bool AskForColour(IArgb* start, const char* prompt) = 0;
    virtual bool OpenUrl(const char* url, const char* caption, const char* confirm, const char* failure) = 0;
    // [UI thread, takes the plug-in lock only to mark the controls] (the bindings' editor open)
    virtual IWindowHandle OpenGuiWindow(IWindowHandle parent) = 0;
    // [UI thread]
    virtual void CloseGuiWindow() = 0;
    virtual IWindowHandle GetWindowHandle() = 0;
    virtual bool GetClipboardText(GrowString* text) = 0;
    // [main thread] (deleted with the plug-in)
    ~IGraphics() override;
    // [UI thread]
    virtual void HidePointer() {}
    virtual void ShowPointer() {}
    virtual void OnGuiIdle();
    // [main thread] (the plug-in's constructor builds the editor)
    virtual PIX_IBitmap* LoadBitmapResource(int id, const char* fileName) = 0;
    // ---- The host's loop, for window systems without one of their own (X11) ----
    // The descriptor whose readability the host watches for the window's events; -1 when the
    // window system needs none (Windows delivers messages and ticks to the window itself).
    // [UI thread]
    virtual int EventDescriptor() { return -1; }
    // The descriptor became readable (or the host polls): handles every pending window event.
    // [UI thread]
    virtual void HandleWindowEvents() {}
    // One redraw tick, Fps() times a second, from the host's timer or its idle call.
    // [UI thread]
    virtual void HandleTimerTick() {}

    // ---- What the plug-in core calls (IFxEditor) ----
    // Plug-in-to-editor value path, on the caller's thread; nothing is sent back to the plug-in.
    // [any thread]
    void PushParamToControls(int paramIdx, double value, bool normalized) override;
    // The editor-sized surface and the (empty) spare bitmap; BindGraphics calls it once.
    // [main thread, plug-in lock held by caller]
    void CreateDrawSurfaces() override;
    IGraphics* Graphics() override { return this; }

    // ---- Building the editor (plug-in constructor) ----
    // Takes ownership of control; returns its index.
    int AddControl(IControl* control);
    // Inserts the background at index 0: the image as one opaque frame at (0, 0).
    IControl* SetBackgroundBitmap(int resourceId, const char* fileName);
    IBitmapStrip LoadBitmapStrip(int resourceId, const char* fileName, int frames, bool horizontal);
    int NControls() const { return mControls.GetSize(); }
    IControl* GetControl(int i) const { return mControls.Get(i); }
    void SetKeyCatcher(IControl* control);
    void SetStrictDraw(bool strict) { mStrictDraw = strict; }
    void SetShowControlBounds(bool show) { mShowControlBounds = show; }
    void SetHandleMouseOver(bool handle) { mHandleMouseOver = handle; }
    void SetEnableTooltips(bool enable) { mEnableTooltips = enable; }

    // ---- Drawing into the surface, for the controls' Draw (clipped to the paint in progress) ----
    bool DrawBitmapPart(IBitmapStrip* strip, IBounds* dest, int srcX, int srcY, IBlend* blend);
    bool DrawBitmapFrame(IBitmapStrip* strip, IBounds* dest, int frame, IBlend* blend);
    bool DrawStyledText(ITextStyle* style, const char* text, IBounds* rect, bool measure);
    void DrawOutline(IBounds* rect);
    PIX_CachedFont* GetCachedFont(ITextStyle* style);

    // Redraws area into the surface (strict: every control touching it) and copies it to the
    // window. Window thread.
    bool PaintArea(IBounds* area);
    // Mouse-over tracking; true when the caller should ask for a leave notification.
    bool TrackMouseOver(int x, int y, IMouseKeys* keys);
    // The value prompt of a control's parameter: a menu of its value texts or a text entry over rect.
    void PromptForParamValue(IControl* control, IFxParam* param, IBounds* rect);
    // The union of the rectangles of every dirty control (empty when none is dirty).
    IBounds DirtyArea();
    // Marks every control dirty, so the next tick paints the whole editor. Takes the plug-in
    // mutex: marking clamps each control's value, which a value pushed meanwhile must not lose.
    void MarkAllDirty();

    IFxBase* GetPlug() const { return mPlug; }
    PIX_IBitmap* DrawSurface() const { return mDrawSurface; }
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    int Fps() const { return mFps; }

protected:
    // Index of the topmost control under (x, y) that is shown, not greyed and hit; -1 for none.
    int FindControl(int x, int y);
    void ResetMouseState();

    PlugMutex mLock;
    IArgb mChosenColour{255, 0, 0, 0};
    PointerList<IControl> mControls;
    IFxBase* mPlug;
    IBounds mDrawRect;
    bool mCursorHidden = false;
    int mCursorX = -1, mCursorY = -1;
    PIX_IBitmap* mDrawSurface = nullptr;
    PIX_MemBitmap* mTempBitmap = nullptr;
    int mWidth, mHeight;
    int mFps;
    int mIdleTicks = 0;
    int mMouseCapture = -1;
    int mMouseOver = -1;
    int mMouseX = 0, mMouseY = 0;
    bool mHandleMouseOver = false;
    bool mStrictDraw = true;
    bool mEnableTooltips = false;
    bool mShowControlBounds = false;
    IControl* mKeyCatcher = nullptr;
};

// ---- Process-wide caches of decoded images and fonts, shared by every editor of the module ----
// Each has a lock of its own; entries are never removed before FreeGuiCaches (module unload).
PIX_IBitmap* FindCachedBitmap(int resourceId, bool* found);
void CacheBitmap(int resourceId, PIX_IBitmap* bitmap);
void FreeGuiCaches();
int CachedBitmapCount();
int CachedFontCount();

// ---- What the platform supplies (framework/win32/, or the stand-in in framework/headless/) ----
// The editor's surface: a window-system bitmap on Windows, a heap bitmap elsewhere.
PIX_IBitmap* CreateSurfaceBitmap(int width, int height);
// A window-system font for the style; null when none can be made.
void* CreateStyleFont(const ITextStyle& style);
