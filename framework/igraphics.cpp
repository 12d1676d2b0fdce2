#include "framework/igraphics.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "framework/fxassert.h"
#include "framework/fxbase.h"
#include "framework/imenu.h"
#include "framework/textentry.h"
#include "raster/blend.h"
#include "raster/font.h"
#include "raster/line.h"

IGraphics::IGraphics(IFxBase* plug, int width, int height, int fps)
    : mPlug(plug), mWidth(width), mHeight(height), mFps(fps > 0 ? fps : 25) {}

IGraphics::~IGraphics() {
    delete mKeyCatcher;
    mKeyCatcher = nullptr;
    mControls.DeleteAll();
    delete mDrawSurface;
    mDrawSurface = nullptr;
    delete mTempBitmap;
    mTempBitmap = nullptr;
    mControls.Free();
}

int IGraphics::AddControl(IControl* control) {
    mControls.Add(control);
    return mControls.GetSize() - 1;
}

void IGraphics::SetKeyCatcher(IControl* control) {
    delete mKeyCatcher;
    mKeyCatcher = control;
}

IBitmapStrip IGraphics::LoadBitmapStrip(int resourceId, const char* fileName, int frames, bool horizontal) {
    bool found = false;
    PIX_IBitmap* bitmap = FindCachedBitmap(resourceId, &found);
    if (!found) {
        bitmap = LoadBitmapResource(resourceId, fileName);
        // The assertion text is fixed: kept for compatibility with existing logs.
        if (!bitmap) IFxAssert("imgResourceFound", "igraphics", __LINE__);
        CacheBitmap(resourceId, bitmap);  // a failed load is cached too
    }
    IBitmapStrip strip;
    strip.bitmap = bitmap;
    strip.width = bitmap ? bitmap->Width() : 0;
    strip.height = bitmap ? bitmap->Height() : 0;
    strip.frames = frames;
    strip.horizontal = horizontal;
    return strip;
}

IControl* IGraphics::SetBackgroundBitmap(int resourceId, const char* fileName) {
    const IBitmapStrip strip = LoadBitmapStrip(resourceId, fileName, 1, false);
    const IBlend opaque{1, 1.0f};
    auto* control = new IBitmapControl(mPlug, {0, 0, strip.width, strip.height}, -1, strip, &opaque);
    mControls.Insert(0, control);
    return control;
}

void IGraphics::PushParamToControls(int paramIdx, double value, bool normalized) {
    if (!normalized) {
        const IFxParam* param = mPlug ? mPlug->GetParam(paramIdx) : nullptr;
        if (!param) return;
        value = param->ToNormalized(value);
    }
    for (int i = 0; i < mControls.GetSize(); ++i) {
        IControl* control = mControls.Get(i);
        if (control->ParamIdx() == paramIdx) control->ReceiveValue(value);
        for (int a = 0; a < control->NAuxParams(); ++a) {
            if (control->GetAuxParam(a)->paramIdx != paramIdx) continue;
            control->ReceiveAuxValue(a, value);
            break;
        }
    }
}

void IGraphics::MarkAllDirty() {
    auto mark = [this] {
        for (int i = 0; i < mControls.GetSize(); ++i) mControls.Get(i)->MarkDirty(false);
    };
    if (!mPlug) return mark();
    ScopedPlugLock lock(mPlug->GetMutex());
    mark();
}

void IGraphics::CreateDrawSurfaces() {
    delete mDrawSurface;
    delete mTempBitmap;
    mDrawSurface = CreateSurfaceBitmap(mWidth, mHeight);
    mTempBitmap = new PIX_MemBitmap(0, 0);
}

bool IGraphics::DrawBitmapPart(IBitmapStrip* strip, IBounds* dest, int srcX, int srcY, IBlend* blend) {
    const IBounds clip = IntersectBounds(*dest, mDrawRect);
    const PIX_Rect source{srcX + clip.L - dest->L, srcY + clip.T - dest->T, srcX + clip.R - dest->L,
                          srcY + clip.B - dest->T};
    if (strip && strip->bitmap && mDrawSurface && !clip.Empty())
        PIX_CompositeBitmap(mDrawSurface, strip->bitmap, clip.L, clip.T, &source, BlendAlpha(blend),
                            BlendModeWord(blend));
    return true;
}

bool IGraphics::DrawBitmapFrame(IBitmapStrip* strip, IBounds* dest, int frame, IBlend* blend) {
    int offset = 0;
    if (strip->frames >= 2 && frame >= 2) {
        const int extent = strip->horizontal ? strip->width : strip->height;
        offset = static_cast<int>(static_cast<double>(extent) * (frame - 1) / strip->frames + 0.5);
    }
    return strip->horizontal ? DrawBitmapPart(strip, dest, offset, 0, blend)
                             : DrawBitmapPart(strip, dest, 0, offset, blend);
}

void IGraphics::DrawOutline(IBounds* r) {
    if (!mDrawSurface) return;
    const uint32_t green = 0xFF00FF00u;
    PIX_DrawSegment(mDrawSurface, r->L, r->T, r->R, r->T, green, 1.0f, 0, false);
    PIX_DrawSegment(mDrawSurface, r->L, r->B, r->R, r->B, green, 1.0f, 0, false);
    PIX_DrawSegment(mDrawSurface, r->L, r->T, r->L, r->B, green, 1.0f, 0, false);
    PIX_DrawSegment(mDrawSurface, r->R, r->T, r->R, r->B, green, 1.0f, 0, false);
}

bool IGraphics::DrawStyledText(ITextStyle* style, const char* text, IBounds* rect, bool measure) {
    if (!text || !text[0]) return true;
    PIX_CachedFont* font = style->cachedFont ? style->cachedFont : GetCachedFont(style);
    if (!font) return false;
    font->SetForeColor(style->colour.Packed());
    int flags = style->align == 0 ? 0x124 : (style->align == 2 ? 0x126 : 0x125);
    if (style->colour.A != 255) flags |= TextForeAlpha;
    if (!measure) {
        PIX_Rect r{rect->L, rect->T, rect->R, rect->B};
        if (mDrawSurface) font->DrawString(mDrawSurface, text, -1, &r, flags);
        return true;
    }
    PIX_Rect r{0, 0, 0, 0};
    font->DrawString(mDrawSurface, text, -1, &r, flags | PIX_TextCalcRect);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (style->align == 0) {
        rect->R = rect->L + w;  // the text's extent from the left edge
    } else if (style->align == 2) {
        rect->L = rect->R - w;
    } else {
        rect->L = static_cast<int>((rect->L + rect->R) * 0.5) - w / 2;
        rect->R = rect->L + w;
    }
    rect->B = rect->T + h;
    return true;
}

bool IGraphics::PaintArea(IBounds* area) {
    const int n = mControls.GetSize();
    if (n == 0) return true;
    if (mStrictDraw) {
        mDrawRect = *area;
        for (int i = 0; i < n; ++i) {
            IControl* c = mControls.Get(i);
            if (!c->IsHidden() && !area->Empty() && !c->Rect().Empty() && BoundsTouch(*area, c->Rect())) c->Draw(this);
            c->MarkClean();
        }
    } else if (mControls.Get(0)->IsDirty()) {
        mDrawRect = mControls.Get(0)->Rect();
        for (int i = 0; i < n; ++i) {
            IControl* c = mControls.Get(i);
            if (i == 0 || !c->IsHidden()) c->Draw(this);
            c->MarkClean();
        }
    } else {
        for (int s = 1; s < n; ++s) {
            IControl* dirty = mControls.Get(s);
            if (!dirty->IsDirty()) continue;
            mDrawRect = dirty->Rect();
            for (int j = 0; j < n; ++j) {
                IControl* c = mControls.Get(j);
                if (c->IsHidden()) continue;
                if (j == s || (!c->Rect().Empty() && !mDrawRect.Empty() && BoundsTouch(c->Rect(), mDrawRect)))
                    c->Draw(this);
            }
            dirty->MarkClean();
        }
    }
    if (mShowControlBounds) {
        for (int i = 1; i < n; ++i) {
            IBounds r = mControls.Get(i)->Rect();
            DrawOutline(&r);
        }
        ITextStyle style;
        style.size = 20;
        style.colour = {255, 0, 255, 0};
        char text[33];
        std::snprintf(text, sizeof text, "x: %i, y: %i", mMouseX, mMouseY);
        IBounds r{mWidth - 150, mHeight - 20, mWidth, mHeight};
        DrawStyledText(&style, text, &r, false);
    }
    return PaintToScreen(area);
}

IBounds IGraphics::DirtyArea() {
    IBounds area;
    for (int i = 0; i < mControls.GetSize(); ++i) {
        IControl* c = mControls.Get(i);
        if (c->IsDirty()) area = UnionBounds(area, c->Rect());
    }
    return area;
}

void IGraphics::OnGuiIdle() {
    if (mPlug) mPlug->OnGuiIdle();
    for (int i = 0; i < mControls.GetSize(); ++i) mControls.Get(i)->OnGuiIdle();
}

int IGraphics::FindControl(int x, int y) {
    for (int i = mControls.GetSize() - 1; i >= 0; --i) {
        IControl* c = mControls.Get(i);
        if (!c->IsHidden() && !c->IsGreyed() && c->HitTest(x, y)) return i;
    }
    return -1;
}

bool IGraphics::TrackMouseOver(int x, int y, IMouseKeys* keys) {
    if (!mHandleMouseOver) return false;
    int index = mMouseCapture;
    for (int i = mControls.GetSize() - 1; index < 0 && i >= 0; --i) {
        IControl* c = mControls.Get(i);
        if (!c->IsHidden() && (!c->IsGreyed() || c->MouseOverWhenGreyed()) && c->HitTest(x, y)) index = i;
    }
    if (index < 0) return true;
    mMouseX = x;
    mMouseY = y;
    mControls.Get(index)->OnMouseOver(x, y, keys);
    if (mMouseOver >= 0 && mMouseOver != index && mControls.Get(mMouseOver)) mControls.Get(mMouseOver)->OnMouseOut();
    mMouseOver = index;
    return true;
}

// Lists, and bools with value texts, are picked from a menu of their texts; every other parameter
// is typed into a text entry over rect.
void IGraphics::PromptForParamValue(IControl* control, IFxParam* param, IBounds* rect) {
    if (!control || !param || !rect) return;
    const int n = param->GetValueTextCount();
    if (param->Kind() == kParamList || (param->Kind() == kParamBool && n > 0)) {
        char current[kParamTextSize];
        param->FormatForHost(param->Value(), false, current, true);
        IMenu menu;
        for (int i = 0; i < n; ++i) {
            const char* text = param->GetValueText(i);
            menu.AddItem(text, std::strcmp(text, current) == 0 ? IMenuItem::kChecked : 0);
        }
        if (IMenu* chosen = ShowPopupMenu(&menu, rect))
            control->ApplyUserValue(param->ToNormalized(chosen->ChosenItemIdx()));
        return;
    }
    char text[kParamTextSize];
    TextEntryInitialText(*param, text);
    OpenTextEntry(control, control->TextStyle(), rect, text, param);
}

void IGraphics::ResetMouseState() {
    mMouseCapture = -1;
    mMouseX = mMouseY = -1;
    mMouseOver = -1;
}

void IGraphics::ResizeGui(int width, int height) {
    mWidth = width;
    mHeight = height;
    ResetMouseState();
    mControls.DeleteAll();
    CreateDrawSurfaces();
    if (mPlug) mPlug->RequestEditorResize(width, height);
}
