#pragma once
// IControl and its family: one rectangle of the editor bound to a parameter (or none), with a
// normalized value, a blend, and its reaction to mouse and wheel input. The graphics object owns
// every control, pushes plug-in values into it, draws it and forwards input to it.
//
// Threads: input, timer and painting on the editor window's thread; ReceiveValue and
// ReceiveAuxValue also on whatever thread pushes parameter values (the audio thread in VST3). No
// control takes a lock (SetParameterFromGUI takes the plug-in's): what both threads touch, the
// value, the default and the draw state, is atomic.
#include <atomic>

#include "base/growbuffer.h"
#include "base/growstring.h"
#include "framework/guitypes.h"

class IFxBase;
class IGraphics;
class ITextControl;

class IControl {
public:
    IControl(IFxBase* plug, const IBounds& rect, int paramIdx = -1, const IBlend* blend = nullptr);
    IControl(const IControl&) = delete;
    IControl& operator=(const IControl&) = delete;

    // ---- Virtual operations; nothing outside this module sees their order (README, "Binary layout") ----
    virtual ~IControl();
    virtual void OnMouseDown(int x, int y, IMouseKeys* keys);
    virtual void OnMouseUp(int /*x*/, int /*y*/, IMouseKeys* /*keys*/) {}
    virtual void OnMouseDrag(int /*x*/, int /*y*/, int /*dx*/, int /*dy*/, IMouseKeys* /*keys*/) {}
    virtual void OnMouseDoubleClick(int x, int y, IMouseKeys* keys);
    virtual void OnMouseWheel(int /*x*/, int /*y*/, IMouseKeys* /*keys*/, int /*steps*/) {}
    virtual bool OnKeyDown(int /*x*/, int /*y*/, int /*key*/) { return false; }
    virtual void OnMouseOver(int /*x*/, int /*y*/, IMouseKeys* /*keys*/) {}
    virtual void OnMouseOut() {}
    virtual bool Draw(IGraphics* graphics) = 0;
    virtual void ReceiveValue(double value);
    virtual void OnTextEntered(const char* /*text*/) {}
    virtual void SetHidden(bool hidden);
    virtual void SetGreyedOut(bool greyed);
    virtual bool HitTest(int x, int y) { return !mTargetRect.Empty() && mTargetRect.Contains(x, y); }
    virtual void MarkDirty(bool pushToPlug);
    virtual void MarkClean();
    virtual bool IsDirty() { return (mDrawState.load() & kDirty) != 0; }
    virtual void OnGuiIdle() {}
    virtual void ReceiveAuxValue(int auxIdx, double value);
    virtual void MoveTo(int x, int y);

    // Opens the value prompt of the bound parameter (unless prompts are disabled).
    void PromptForValue();
    // The result of a prompt: a changed value goes to the plug-in and is drawn twice.
    void ApplyUserValue(double normalized);

    // ---- Fields the graphics object and the plug-in read ----
    int ParamIdx() const { return mParamIdx; }
    double Value() const { return mValue.load(std::memory_order_relaxed); }
    void SetValue(double value) { mValue.store(value, std::memory_order_relaxed); }
    double DefaultValue() const { return mDefaultValue.load(std::memory_order_relaxed); }
    const IBounds& Rect() const { return mRect; }
    const IBounds& TargetRect() const { return mTargetRect; }
    bool IsHidden() const { return mHidden; }
    bool IsGreyed() const { return mGreyed; }
    bool DoubleClickAsSingle() const { return mDoubleClickAsSingle; }
    bool MouseOverWhenGreyed() const { return mMouseOverWhenGreyed; }
    // The wheel changes this control's value (the knobs); the editor sends a host gesture only then.
    bool TurnsOnWheel() const { return mTurnsOnWheel; }
    const IBlend& Blend() const { return mBlend; }
    ITextStyle* TextStyle() { return &mTextStyle; }
    int TextEntryLength() const { return mTextEntryLength; }
    const char* Tooltip() const { return mTooltip; }
    int NAuxParams() const { return mAuxParams.GetSize() / static_cast<int>(sizeof(IAuxParam)); }
    IAuxParam* GetAuxParam(int i) const;

    // ---- Optional settings, made after construction ----
    void SetTargetRect(const IBounds& rect) { mTargetRect = rect; }
    void SetClamp(double lo, double hi) { mClampLo = lo, mClampHi = hi; }
    void SetPromptDisabled(bool disabled) { mPromptDisabled = disabled; }
    void SetDoubleClickAsSingle(bool single) { mDoubleClickAsSingle = single; }
    void SetMouseOverWhenGreyed(bool over) { mMouseOverWhenGreyed = over; }
    void SetValueDisplay(ITextControl* display) { mValueDisplay = display; }
    void SetNameDisplay(ITextControl* display) { mNameDisplay = display; }
    void SetTooltip(const char* text) { mTooltip = text; }
    void SetTextStyle(const ITextStyle& style) { mTextStyle = style; }
    void AddAuxParam(int paramIdx);

protected:
    // True when a and b differ, or either is not a number.
    static bool ValueChanged(double a, double b) { return !(a == b); }
    void RefreshDisplays();

    int mTextEntryLength = 7;
    ITextStyle mTextStyle;
    IFxBase* mPlug;
    IBounds mRect;
    IBounds mTargetRect;
    int mParamIdx;
    GrowBuffer mAuxParams{4096};
    std::atomic<double> mValue{0.0};
    std::atomic<double> mDefaultValue{-1.0};
    double mClampLo = 0.0;
    double mClampHi = 1.0;
    // Dirty: draw at the next tick; redraw: stay dirty once more after it. One word, changed only
    // by atomic operations, so a value pushed while the editor marks the control clean stays dirty.
    static constexpr unsigned kDirty = 1, kRedraw = 2;
    std::atomic<unsigned> mDrawState{kDirty};
    bool mHidden = false;
    bool mGreyed = false;
    bool mPromptDisabled = true;
    bool mDoubleClickAsSingle = false;
    bool mMouseOverWhenGreyed = false;
    bool mTurnsOnWheel = false;
    IBlend mBlend;
    ITextControl* mValueDisplay = nullptr;
    ITextControl* mNameDisplay = nullptr;
    const char* mTooltip = nullptr;
};

// Draws the frame of its strip that its value selects. The editor's background is one.
class IBitmapControl : public IControl {
public:
    IBitmapControl(IFxBase* plug, const IBounds& rect, int paramIdx, const IBitmapStrip& strip,
                   const IBlend* blend = nullptr)
        : IControl(plug, rect, paramIdx, blend), mBitmap(strip) {}
    bool Draw(IGraphics* graphics) override;
    const IBitmapStrip& Strip() const { return mBitmap; }

protected:
    IBitmapStrip mBitmap;
};

// Steps through its frames on each click, wrapping after the last.
class ISwitchControl : public IBitmapControl {
public:
    using IBitmapControl::IBitmapControl;
    void OnMouseDown(int x, int y, IMouseKeys* keys) override;
    void OnMouseDoubleClick(int x, int y, IMouseKeys* keys) override { OnMouseDown(x, y, keys); }
};

// Draws nothing; any click toggles between 0 and 1.
class IInvisibleSwitchControl : public IControl {
public:
    IInvisibleSwitchControl(IFxBase* plug, const IBounds& rect, int paramIdx);
    void OnMouseDown(int x, int y, IMouseKeys* keys) override;
    bool Draw(IGraphics*) override { return true; }
};

// A knob turned by dragging (vertical or horizontal) and by the wheel.
class IKnobControl : public IControl {
public:
    enum Direction { kVertical = 0, kHorizontal = 1 };
    IKnobControl(IFxBase* plug, const IBounds& rect, int paramIdx, const IBlend* blend, int direction = kVertical,
                 double gearing = 4.0)
        : IControl(plug, rect, paramIdx, blend), mDirection(direction), mGearing(gearing) {
        mTurnsOnWheel = true;
    }
    void OnMouseDrag(int x, int y, int dx, int dy, IMouseKeys* keys) override;
    void OnMouseWheel(int x, int y, IMouseKeys* keys, int steps) override;

protected:
    int mDirection;
    double mGearing;  // pixels per full range = the control's extent x gearing
};

// A knob drawn as one frame of a strip.
class IKnobMultiControl : public IKnobControl {
public:
    IKnobMultiControl(IFxBase* plug, const IBounds& rect, int paramIdx, const IBitmapStrip& strip,
                      const IBlend* blend = nullptr, int direction = kVertical, double gearing = 4.0)
        : IKnobControl(plug, rect, paramIdx, blend, direction, gearing), mBitmap(strip) {}
    bool Draw(IGraphics* graphics) override;

protected:
    IBitmapStrip mBitmap;
};

// A line of text in the control's style.
class ITextControl : public IControl {
public:
    ITextControl(IFxBase* plug, const IBounds& rect, const ITextStyle& style, const char* text,
                 const IBlend* blend = nullptr);
    ~ITextControl() override;
    bool Draw(IGraphics* graphics) override;
    // A different text marks the control dirty; an equal one changes nothing.
    void SetText(const char* text);
    const char* GetText() const { return mString.Get(); }

private:
    GrowString mString;
};

// The frame (1-based) that value selects in a strip of frames frames.
int FrameForValue(int frames, double value);
