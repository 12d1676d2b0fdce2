#include "framework/icontrol.h"

#include <cmath>
#include <cstring>

#include "framework/fxassert.h"
#include "framework/fxbase.h"
#include "framework/igraphics.h"

IBounds IntersectBounds(const IBounds& a, const IBounds& b) {
    if (a.Empty() || b.Empty() || !BoundsTouch(a, b)) return {};
    return {a.L > b.L ? a.L : b.L, a.T > b.T ? a.T : b.T, a.R < b.R ? a.R : b.R, a.B < b.B ? a.B : b.B};
}

IBounds UnionBounds(const IBounds& a, const IBounds& b) {
    if (a.Empty()) return b;
    if (b.Empty()) return a;
    return {a.L < b.L ? a.L : b.L, a.T < b.T ? a.T : b.T, a.R > b.R ? a.R : b.R, a.B > b.B ? a.B : b.B};
}

int BlendModeWord(const IBlend* blend) {
    if (!blend) return 0x10000;
    switch (blend->method) {
        case 1: return 0x00000;
        case 2: return 0x10001;
        case 3: return 0x10002;
        default: return 0x10000;
    }
}

int FrameForValue(int frames, double value) {
    if (frames < 2) return 1;
    const double product = (frames - 1) * value;
    if (!(product >= 0.0)) return 1;  // negative or not a number
    // Clamped in double first, so a huge pushed value cannot overflow the conversion.
    const double frame = std::floor((product > frames ? frames : product) + 0.5) + 1;
    return frame > frames ? frames : static_cast<int>(frame);
}

IControl::IControl(IFxBase* plug, const IBounds& rect, int paramIdx, const IBlend* blend)
    : mPlug(plug), mRect(rect), mTargetRect(rect), mParamIdx(paramIdx) {
    if (blend) mBlend = *blend;
}

IControl::~IControl() { mAuxParams.Free(); }

IAuxParam* IControl::GetAuxParam(int i) const {
    if (i < 0 || i >= NAuxParams()) return nullptr;
    return static_cast<IAuxParam*>(mAuxParams.Get()) + i;
}

void IControl::AddAuxParam(int paramIdx) {
    const int n = NAuxParams();
    mAuxParams.Resize((n + 1) * static_cast<int>(sizeof(IAuxParam)), false);
    if (NAuxParams() == n + 1) *GetAuxParam(n) = {0.0, paramIdx};
}

void IControl::OnMouseDown(int, int, IMouseKeys* keys) {
    if (keys && keys->R) PromptForValue();
}

void IControl::OnMouseDoubleClick(int, int, IMouseKeys*) {
    const double defaultValue = DefaultValue();
    if (!(defaultValue >= 0.0)) return;  // negative or not a number: no default known
    SetValue(defaultValue);
    MarkDirty(true);
}

// The first value a control receives is its default and is not drawn as a change. Redraw is
// asked before dirty, so a MarkClean on the editor's thread between the two leaves it dirty.
void IControl::ReceiveValue(double value) {
    if (DefaultValue() < 0.0) {
        mDefaultValue.store(value, std::memory_order_relaxed);
        SetValue(value);
        return;
    }
    if (!ValueChanged(value, Value())) return;
    SetValue(value);
    mDrawState |= kRedraw;
    MarkDirty(false);
}

void IControl::SetHidden(bool hidden) {
    mHidden = hidden;
    mDrawState |= kRedraw;
    mBlend.weight = hidden ? 0.0f : 1.0f;
    MarkDirty(false);
}

void IControl::SetGreyedOut(bool greyed) {
    mGreyed = greyed;
    mBlend.weight = greyed ? 0.25f : 1.0f;
    MarkDirty(false);
}

// The clamped value is stored only when clamping changes it, so the pushing thread never writes
// back a value that the editor's thread has replaced meanwhile.
void IControl::MarkDirty(bool pushToPlug) {
    const double value = Value();
    const double clamped = value < mClampLo ? mClampLo : (mClampHi < value ? mClampHi : value);
    if (ValueChanged(clamped, value)) SetValue(clamped);
    mDrawState |= kDirty;
    if (!pushToPlug || !mPlug || mParamIdx < 0) return;
    mPlug->SetParameterFromGUI(mParamIdx, Value());
    RefreshDisplays();
}

// The value and name displays follow user changes only.
void IControl::RefreshDisplays() {
    const IFxParam* param = mPlug->GetParam(mParamIdx);
    if (!param) return;
    if (mValueDisplay) {
        char text[kParamTextSize];
        param->FormatForHost(param->Value(), false, text, true);
        mValueDisplay->SetText(text);
    }
    if (mNameDisplay) mNameDisplay->SetText(param->ParamNameText());
}

// Dirty stays only when a redraw was asked; one exchange, so a concurrent push is never lost.
void IControl::MarkClean() {
    unsigned state = mDrawState.load();
    while (!mDrawState.compare_exchange_weak(state, (state & kRedraw) ? kDirty : 0u)) continue;
}

void IControl::ReceiveAuxValue(int auxIdx, double value) {
    IAuxParam* aux = GetAuxParam(auxIdx);
    if (!aux) {
        // The assertion text is fixed: kept for compatibility with existing logs.
        IFxAssert("idx > -1 && idx < mAuxParams.GetSize()", "icontrol", __LINE__);
        return;
    }
    if (!ValueChanged(value, aux->value)) return;
    aux->value = value;
    mDrawState |= kRedraw;
    MarkDirty(false);
}

void IControl::MoveTo(int x, int y) {
    mRect.R += x - mRect.L;
    mRect.L = x;
    mRect.B = y + (mRect.B - mRect.T);
    mRect.T = y;
    mTargetRect = mRect;
}

void IControl::PromptForValue() {
    if (mParamIdx < 0 || mPromptDisabled || !mPlug) return;
    IFxParam* param = mPlug->GetParam(mParamIdx);
    IGraphics* graphics = mPlug->GetGraphics();
    if (!param || !graphics) return;
    IBounds rect = mRect;
    if (param->GetValueTextCount() == 0) {
        const int cx = static_cast<int>((mRect.L + mRect.R) * 0.5), cy = static_cast<int>((mRect.T + mRect.B) * 0.5);
        rect = {cx - 20, cy - 8, cx + 20, cy + 8};
    }
    graphics->PromptForParamValue(this, param, &rect);
    mDrawState |= kRedraw;
}

void IControl::ApplyUserValue(double normalized) {
    if (!ValueChanged(normalized, Value())) return;
    SetValue(normalized);
    MarkDirty(true);
    mDrawState |= kRedraw;
}

bool IBitmapControl::Draw(IGraphics* graphics) {
    return graphics->DrawBitmapFrame(&mBitmap, &mRect, FrameForValue(mBitmap.frames, Value()), &mBlend);
}

void ISwitchControl::OnMouseDown(int, int, IMouseKeys* keys) {
    if (keys && keys->R) {
        PromptForValue();
    } else {
        const double next = Value() + (mBitmap.frames < 2 ? 1.0 : 1.0 / (mBitmap.frames - 1));
        SetValue(next > 1.001 ? 0.0 : next);
    }
    MarkDirty(true);
}

IInvisibleSwitchControl::IInvisibleSwitchControl(IFxBase* plug, const IBounds& rect, int paramIdx)
    : IControl(plug, rect, paramIdx) {
    mBlend = {1, 1.0f};
    mPromptDisabled = true;
}

void IInvisibleSwitchControl::OnMouseDown(int, int, IMouseKeys*) {
    SetValue(Value() < 0.5 ? 1.0 : 0.0);
    MarkDirty(true);
}

void IKnobControl::OnMouseDrag(int, int, int dx, int dy, IMouseKeys* keys) {
    double gearing = mGearing;
    if (keys && (keys->C || keys->S)) gearing *= 10.0;
    const int extent = mDirection == kHorizontal ? mRect.R - mRect.L : mRect.T - mRect.B;
    if (extent == 0 || gearing == 0.0) return;  // no travel to map the movement onto
    SetValue(Value() + (mDirection == kHorizontal ? dx : dy) / static_cast<double>(extent) / gearing);
    MarkDirty(true);
}

void IKnobControl::OnMouseWheel(int, int, IMouseKeys* keys, int steps) {
    SetValue(Value() + steps * (keys && (keys->C || keys->S) ? 0.001 : 0.01));
    MarkDirty(true);
}

bool IKnobMultiControl::Draw(IGraphics* graphics) {
    return graphics->DrawBitmapFrame(&mBitmap, &mRect, FrameForValue(mBitmap.frames, Value()), &mBlend);
}

ITextControl::ITextControl(IFxBase* plug, const IBounds& rect, const ITextStyle& style, const char* text,
                           const IBlend* blend)
    : IControl(plug, rect, -1, blend), mString(text) {
    mTextStyle = style;
}

ITextControl::~ITextControl() { mString.Free(); }

bool ITextControl::Draw(IGraphics* graphics) {
    const char* text = mString.Get();
    if (!text[0]) return true;
    IBounds rect = mRect;
    return graphics->DrawStyledText(&mTextStyle, text, &rect, false);
}

void ITextControl::SetText(const char* text) {
    if (!text) text = "";
    if (std::strcmp(text, mString.Get()) == 0) return;
    MarkDirty(false);
    mString.Set(0, text, static_cast<int>(std::strlen(text)));
}
