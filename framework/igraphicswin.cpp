// IGraphicsWin: what every platform shares — input turned into control calls and host gestures,
// the timer tick's dirty-area bookkeeping and the text entry's states. The window itself is in
// win32/ and x11/.
#include <cctype>
#include <cstring>

#include "framework/fxassert.h"
#include "framework/fxbase.h"
#include "framework/igraphicswin.h"
#include "framework/textentry.h"

IGraphicsWin::IGraphicsWin(IFxBase* plug, int width, int height, int fps) : IGraphics(plug, width, height, fps) {}

// The plug-in is being destroyed around its editor: a gesture still open is not reported to it.
IGraphicsWin::~IGraphicsWin() {
    mGestureParam = -1;
    CloseGuiWindow();
    delete[] mCustomColours;
    mCustomColours = nullptr;
    mMainWindowClass.Free();
}

void IGraphicsWin::EndGesture() {
    const int param = mGestureParam;
    mGestureParam = -1;
    if (param >= 0 && mPlug) mPlug->EndInformHostOfParamChange(param);
}

void IGraphicsWin::HideTooltip() {
    if (!mTooltipShown) return;
    SetTooltipText(nullptr);
    mTooltipShown = false;
}

bool IGraphicsWin::NextTooltip() {
    if (!mEnableTooltips || mMouseOver == mTooltipIndex) return false;
    mTooltipIndex = mMouseOver;
    HideTooltip();
    return mTooltipIndex >= 0;
}

void IGraphicsWin::OnMouseHover() {
    const IControl* control = mControls.Get(mTooltipIndex);
    const char* text = control ? control->Tooltip() : nullptr;
    if (!text) return;
    if (std::strlen(text) >= 80) {
        // The assertion text is fixed: kept for compatibility with existing logs.
        IFxAssert("strlen(tooltip) < 80", "igraphicswin", __LINE__);
        return;
    }
    SetTooltipText(text);
    mTooltipShown = true;
}

// The tooltip's control is forgotten too, so coming back to it shows its tooltip again.
void IGraphicsWin::OnMouseLeave() {
    HideTooltip();
    mTooltipIndex = -1;
    for (int i = 0; i < mControls.GetSize(); ++i) mControls.Get(i)->OnMouseOut();
    mMouseOver = -1;
}

void IGraphicsWin::OnButtonDown(int x, int y, IMouseKeys* keys) {
    HideTooltip();
    if (mTextEntryWindow) {
        mTextEntryState = 4;  // commit at the next tick
        return;
    }
    EndGesture();  // a second button pressed while one is held
    mMouseX = mMouseY = -1;
    mMouseCapture = -1;
    const int index = FindControl(x, y);
    if (index < 0) return;
    IControl* control = mControls.Get(index);
    mMouseCapture = index;
    mMouseX = x;
    mMouseY = y;
    const int param = control->ParamIdx();
    if (mPlug && mPlug->GetApiCode() == kApiVST3 && keys->R && param >= 0) {
        mMouseX = mMouseY = -1;
        mMouseCapture = -1;
        mPlug->OpenHostParamMenu(param, x, y);  // the host shows its parameter menu
        return;
    }
    if (param >= 0 && mPlug) {
        mPlug->BeginInformHostOfParamChange(param);
        mGestureParam = param;
    }
    mMenuTookMouse = false;
    control->OnMouseDown(x, y, keys);
    // A popup menu (a value prompt) took the mouse: the release goes to the menu, so the gesture
    // ends here, after the chosen value reached the host.
    if (mMenuTookMouse) {
        mMenuTookMouse = false;
        EndGesture();
    }
}

// Only a gesture that a press began is ended: a release after a double click, a host menu or a
// press outside every control sends the host nothing.
void IGraphicsWin::OnButtonUp(int x, int y, IMouseKeys* keys) {
    const int index = mMouseCapture >= 0 ? mMouseCapture : FindControl(x, y);
    mMouseX = mMouseY = -1;
    mMouseCapture = -1;
    if (IControl* control = mControls.Get(index)) control->OnMouseUp(x, y, keys);
    EndGesture();
}

// A double click that changes the value is a gesture of its own.
bool IGraphicsWin::OnDoubleClick(int x, int y, IMouseKeys* keys) {
    mMouseX = mMouseY = -1;
    mMouseCapture = -1;
    const int index = FindControl(x, y);
    IControl* control = mControls.Get(index);
    if (!control) return false;
    const int param = mPlug ? control->ParamIdx() : -1;
    EndGesture();
    if (param >= 0) mPlug->BeginInformHostOfParamChange(param);
    if (control->DoubleClickAsSingle()) {
        mMouseCapture = index;
        mMouseX = x;
        mMouseY = y;
        control->OnMouseDown(x, y, keys);
        mGestureParam = param;  // the release ends it
        return true;
    }
    control->OnMouseDoubleClick(x, y, keys);
    if (param >= 0) mPlug->EndInformHostOfParamChange(param);
    return false;
}

bool IGraphicsWin::OnMouseMove(int x, int y, IMouseKeys* keys, bool buttonHeld) {
    if (!buttonHeld) return TrackMouseOver(x, y, keys);
    if (mTextEntryWindow || mMouseCapture < 0) return false;
    if (x == mMouseX && y == mMouseY) return false;
    const int dx = x - mMouseX, dy = y - mMouseY;
    mMouseX = x;
    mMouseY = y;
    if (IControl* control = mControls.Get(mMouseCapture)) control->OnMouseDrag(x, y, dx, dy, keys);
    return false;
}

// One notch (120) is one step; a partial notch is none. A wheel turn on a control that the wheel
// turns is a gesture of its own; over any other control it sends the host nothing, as a host
// recording touch automation would record an empty gesture.
void IGraphicsWin::OnWheel(int x, int y, IMouseKeys* keys, int delta) {
    if (mTextEntryWindow) {
        mTextEntryState = 3;  // cancel
        return;
    }
    const int index = mMouseCapture >= 0 ? mMouseCapture : FindControl(x, y);
    IControl* control = mControls.Get(index);
    if (!control) return;
    const int param = mPlug && mGestureParam < 0 && control->TurnsOnWheel() ? control->ParamIdx() : -1;
    if (param >= 0) mPlug->BeginInformHostOfParamChange(param);
    control->OnMouseWheel(x, y, keys, delta / 120);
    if (param >= 0) mPlug->EndInformHostOfParamChange(param);
}

bool IGraphicsWin::OnKey(int x, int y, int code) {
    const int index = mMouseCapture >= 0 ? mMouseCapture : FindControl(x, y);
    if (index >= 1) return mControls.Get(index)->OnKeyDown(x, y, code);
    return mKeyCatcher ? mKeyCatcher->OnKeyDown(x, y, code) : false;
}

int IGraphicsWin::TranslateKey(int virtualKey) {
    switch (virtualKey) {
        case 0x20: return 0;  // space
        case 0x25: return 3;  // left
        case 0x26: return 1;  // up
        case 0x27: return 4;  // right
        case 0x28: return 2;  // down
        default: break;
    }
    if (virtualKey >= '0' && virtualKey <= '9') return 5 + virtualKey - '0';
    if (virtualKey >= 'A' && virtualKey <= 'Z') return 15 + virtualKey - 'A';
    return -1;
}

IBounds IGraphicsWin::TimerTick() {
    if (mShowControlBounds) return mDrawRect;
    const IBounds area = DirtyArea();
    if (!area.Empty()) {
        mIdleTicks = 0;
        return area;
    }
    if (++mIdleTicks > 20) {
        OnGuiIdle();
        mIdleTicks = 0;
    }
    return area;
}

// The commit comes at a timer tick, long after the press that opened the entry ended its gesture,
// so the change gets a gesture of its own.
void IGraphicsWin::ApplyTextEntry(IControl* control, IFxParam* param, const char* text) {
    if (!control) return;
    if (!param) {
        control->OnTextEntered(text);
        return;
    }
    const double normalized = param->ToNormalized(TextEntryValue(*param, text));
    if (normalized == control->Value()) return;
    const int index = mPlug ? control->ParamIdx() : -1;
    if (index >= 0) mPlug->BeginInformHostOfParamChange(index);
    control->ApplyUserValue(normalized);
    if (index >= 0) mPlug->EndInformHostOfParamChange(index);
}

bool IGraphicsWin::TextEntryTick() {
    if (!mTextEntryWindow || mTextEntryState == 0) return false;
    if (mTextEntryState == 3 || mTextEntryState == 4)
        CloseTextEntry(mTextEntryState == 4);
    else
        mTextEntryState = 0;
    return true;
}

bool IGraphicsWin::TextEntryRepainting(IBounds* controlRect) {
    if (!mTextEntryWindow || !mTextEntryControl) return false;
    *controlRect = mTextEntryControl->Rect();
    mTextEntryState = 2;
    return true;
}

// A name without a dot is taken from its second character, as it always was.
bool IsPngFileName(const char* fileName) {
    if (!fileName || !fileName[0]) return false;
    const char* dot = std::strrchr(fileName, '.');
    const char* ext = dot ? dot + 1 : fileName + 1;
    return std::strlen(ext) == 3 && std::tolower(ext[0]) == 'p' && std::tolower(ext[1]) == 'n' &&
           std::tolower(ext[2]) == 'g';
}
