// The portable GUI framework: records, controls, the graphics object's drawing, painting, value
// path and caches, and input turned into host gestures (driven without a window).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "framework/fxassert.h"
#include "framework/igraphicswin.h"
#include "raster/bitmap.h"
#include "test_binding.h"

namespace {
// Every pixel of row y holds 0xFF000000 | y, so a drawn pixel tells which source row it came from.
PIX_MemBitmap* RowNumberedBitmap(int w, int h) {
    auto* b = new PIX_MemBitmap(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) *PIX_PixelAt(b, x, y) = 0xFF000000u | static_cast<uint32_t>(y);
    return b;
}

// An editor whose images are generated: id 900 + n is a 10 x n strip.
class TestEditor : public IGraphicsWin {
public:
    explicit TestEditor(IFxBase* plug, int w = 100, int h = 100) : IGraphicsWin(plug, w, h, 0) {}
    PIX_IBitmap* LoadBitmapResource(int id, const char*) override {
        ++loads;
        return id >= 900 ? RowNumberedBitmap(10, id - 900) : nullptr;  // below 900: no such image
    }
    int loads = 0;
};

std::string Log(const TestBinding& plug) {
    std::string s;
    for (const RecordedCall& c : plug.calls) {
        if (c.what == "changed") continue;
        s += c.what + std::to_string(c.index) + " ";
    }
    return s;
}

class GuiInput : public ::testing::Test {
protected:
    void SetUp() override {
        plug.GetParam(0)->DefineRange("Knob", 0, 0, 100, 0.1, "", "", 1.0);
        plug.GetParam(1)->DefineToggle("Switch", false, "", "");
        editor = new TestEditor(&plug);
        const IBitmapStrip strip = editor->LoadBitmapStrip(964, "k.png", 1, false);
        knob = new IKnobMultiControl(&plug, {0, 0, 10, 64}, 0, strip);
        editor->AddControl(knob);
        editor->AddControl(new IInvisibleSwitchControl(&plug, {20, 0, 40, 20}, 1));
        plug.BindGraphics(editor);
        plug.calls.clear();
    }
    TestBinding plug{2};
    TestEditor* editor = nullptr;
    IKnobMultiControl* knob = nullptr;
    IMouseKeys left{true};
    IMouseKeys right{false, true};
};
}  // namespace

TEST(GuiRecords, BoundsFramesAndBlends) {
    EXPECT_EQ(IntersectBounds({0, 0, 10, 10}, {10, 0, 20, 10}), (IBounds{10, 0, 10, 10}));
    EXPECT_TRUE(IntersectBounds({0, 0, 10, 10}, {}).Empty());
    EXPECT_TRUE(IntersectBounds({0, 0, 10, 10}, {11, 0, 20, 10}).Empty());
    EXPECT_EQ(UnionBounds({}, {1, 2, 3, 4}), (IBounds{1, 2, 3, 4}));
    EXPECT_EQ(UnionBounds({5, 5, 6, 6}, {1, 2, 3, 4}), (IBounds{1, 2, 6, 6}));
    const IBounds r{2, 3, 8, 9};
    EXPECT_TRUE(r.Contains(2, 3));
    EXPECT_FALSE(r.Contains(8, 5));

    const struct {
        int frames;
        double value;
        int frame;
    } frames[] = {
        {100, 0.0, 1}, {100, 1.0, 100},   {100, 0.5, 51}, {100, 1.3, 100}, {100, -0.3, 1},
        {100, NAN, 1}, {100, 1e300, 100}, {1, 0.9, 1},    {2, 0.6, 2},
    };
    for (const auto& c : frames) EXPECT_EQ(FrameForValue(c.frames, c.value), c.frame) << c.value;

    const IBlend add{2, 1.0f}, copy{1, 0.5f}, other{7, 1.0f};
    EXPECT_EQ(BlendModeWord(&add), 0x10001);
    EXPECT_EQ(BlendModeWord(&copy), 0);
    EXPECT_EQ(BlendModeWord(&other), 0x10000);
    EXPECT_EQ(BlendModeWord(nullptr), 0x10000);
}

TEST(GuiControls, KnobsSwitchesAndTheValuePath) {
    TestBinding plug(2);
    plug.GetParam(0)->DefineRange("Knob", 50, 0, 100, 0.1, "", "", 1.0);
    IMouseKeys none, shift{false, false, true};
    IKnobMultiControl knob(&plug, {0, 0, 10, 64}, 0, IBitmapStrip{});
    knob.ReceiveValue(0.5);  // the first value is the default and is not a change
    EXPECT_EQ(knob.DefaultValue(), 0.5);
    knob.MarkClean();
    EXPECT_FALSE(knob.IsDirty());

    knob.OnMouseDrag(0, 0, 0, -64, &none);  // 64 px up over a 64 px knob at gearing 4
    EXPECT_DOUBLE_EQ(knob.Value(), 0.75);
    knob.OnMouseDrag(0, 0, 0, 64, &shift);
    EXPECT_DOUBLE_EQ(knob.Value(), 0.725);
    knob.OnMouseWheel(0, 0, &none, 3);
    EXPECT_DOUBLE_EQ(knob.Value(), 0.755);
    knob.OnMouseWheel(0, 0, &shift, 1000);
    EXPECT_EQ(knob.Value(), 1.0);  // clamped
    EXPECT_DOUBLE_EQ(plug.GetParam(0)->Value(), 100.0);
    knob.OnMouseDoubleClick(0, 0, &none);
    EXPECT_EQ(knob.Value(), 0.5);
    EXPECT_DOUBLE_EQ(plug.GetParam(0)->Value(), 50.0);

    IBitmapStrip two;
    two.frames = 2;
    ISwitchControl toggle(&plug, {}, 1, two), single(&plug, {}, -1, IBitmapStrip{});
    IInvisibleSwitchControl invisible(&plug, {}, -1);
    for (double expected : {1.0, 0.0, 1.0}) {
        toggle.OnMouseDown(0, 0, &none);
        single.OnMouseDown(0, 0, &none);
        invisible.OnMouseDown(0, 0, &none);
        EXPECT_EQ(toggle.Value(), expected);
        EXPECT_EQ(single.Value(), expected);
        EXPECT_EQ(invisible.Value(), expected);
    }

    knob.SetHidden(true);
    knob.SetHidden(false);
    EXPECT_EQ(knob.Blend().weight, 1.0f);
    knob.SetGreyedOut(true);
    EXPECT_EQ(knob.Blend().weight, 0.25f);
}

TEST(GuiControls, ValueDisplayFollowsUserChangesOnly) {
    TestBinding plug(1);
    plug.GetParam(0)->DefineRange("Drive", 0, 0, 10, 0.1, "", "", 1.0);
    ITextControl display(&plug, {}, ITextStyle{}, "", nullptr), name(&plug, {}, ITextStyle{}, "", nullptr);
    IKnobMultiControl knob(&plug, {0, 0, 10, 10}, 0, IBitmapStrip{});
    knob.SetValueDisplay(&display);
    knob.SetNameDisplay(&name);
    knob.ReceiveValue(0.0);
    knob.ReceiveValue(0.3);
    EXPECT_STREQ(display.GetText(), "");
    IMouseKeys none;
    knob.OnMouseWheel(0, 0, &none, 20);
    EXPECT_STREQ(display.GetText(), "5.0");
    EXPECT_STREQ(name.GetText(), "Drive");
}

TEST(GuiGraphics, DrawingPaintingAndDirtyAreas) {
    TestBinding plug(2);
    plug.GetParam(0)->DefineRange("a", 0, 0, 10, 1, "", "", 2.0);
    TestEditor editor(&plug, 60, 40);
    editor.CreateDrawSurfaces();
    IBitmapStrip strip = editor.LoadBitmapStrip(900 + 4500, "strip.PNG", 100, false);
    auto* knob = new IKnobMultiControl(&plug, {0, 0, 10, 45}, 0, strip);
    knob->AddAuxParam(1);
    editor.AddControl(knob);
    auto* edge = new IBitmapControl(&plug, {30, 20, 40, 30}, -1, editor.LoadBitmapStrip(930, "e.png", 1, false));
    editor.AddControl(edge);
    EXPECT_EQ(editor.loads, 2);
    editor.LoadBitmapStrip(930, "again.png", 1, false);
    EXPECT_EQ(editor.loads, 2);  // served from the process-wide cache

    editor.PushParamToControls(0, 2.5, false);  // plain: (0.25)^(1/2)
    editor.PushParamToControls(1, 0.75, true);
    EXPECT_EQ(knob->DefaultValue(), 0.5);
    EXPECT_EQ(knob->GetAuxParam(0)->value, 0.75);
    knob->SetValue(0.5);  // frame 51 of a 4500-pixel strip starts at row 2250

    IBounds area{0, 0, 30, 20};
    EXPECT_TRUE(editor.PaintArea(&area));
    EXPECT_EQ(*PIX_PixelAt(editor.DrawSurface(), 3, 0), 0xFF000000u | 2250u);
    EXPECT_EQ(*PIX_PixelAt(editor.DrawSurface(), 3, 19), 0xFF000000u | 2269u);
    EXPECT_EQ(*PIX_PixelAt(editor.DrawSurface(), 3, 25), 0u);  // outside the painted area
    // The pushed auxiliary value is drawn on one more paint.
    EXPECT_TRUE(knob->IsDirty());
    editor.PaintArea(&area);

    EXPECT_TRUE(editor.TimerTick().Empty());
    knob->ReceiveValue(0.9);
    edge->MarkDirty(false);
    EXPECT_EQ(editor.TimerTick(), (IBounds{0, 0, 40, 45}));
    IBounds all{0, 0, 60, 40};
    editor.PaintArea(&all);
    editor.PaintArea(&all);
    EXPECT_TRUE(editor.TimerTick().Empty());
}

TEST_F(GuiInput, GesturesReachTheHostBalanced) {
    editor->OnButtonDown(5, 32, &left);
    editor->OnMouseMove(5, 16, &left, true);
    editor->OnMouseMove(5, 100, &left, true);  // captured: the drag goes on outside the knob
    editor->OnButtonUp(5, 100, &left);
    EXPECT_EQ(Log(plug), "begin0 inform0 inform0 end0 ");
    EXPECT_EQ(knob->Value(), 0.0);

    // Windows reports a double click as down, up, double click, up.
    plug.calls.clear();
    knob->SetValue(0.7);
    editor->OnButtonDown(5, 5, &left);
    editor->OnButtonUp(5, 5, &left);
    editor->OnDoubleClick(5, 5, &left);
    editor->OnButtonUp(5, 5, &left);
    EXPECT_EQ(Log(plug), "begin0 end0 begin0 inform0 end0 ");
    EXPECT_EQ(knob->Value(), 0.0);  // the default

    plug.calls.clear();
    editor->OnButtonDown(30, 5, &left);
    editor->OnButtonUp(30, 5, &left);
    editor->OnWheel(5, 5, &left, 240);
    editor->OnWheel(5, 5, &left, 60);
    editor->OnWheel(30, 5, &left, 120);   // the wheel does not turn a switch: no gesture
    editor->OnButtonDown(80, 80, &left);  // no control: no gesture
    editor->OnButtonUp(5, 5, &left);
    EXPECT_EQ(Log(plug), "begin1 inform1 end1 begin0 inform0 end0 begin0 inform0 end0 ");
    EXPECT_EQ(plug.GetParam(1)->Value(), 1.0);
    EXPECT_DOUBLE_EQ(knob->Value(), 0.02);

    plug.calls.clear();
    editor->OnButtonDown(5, 5, &right);  // VST3: the host's parameter menu; the knob is untouched
    editor->OnButtonUp(5, 5, &right);
    EXPECT_EQ(Log(plug), "");
    EXPECT_DOUBLE_EQ(knob->Value(), 0.02);
}

TEST_F(GuiInput, IdleTicksAndKeys) {
    for (int i = 0; i < 25; ++i) editor->TimerTick();  // dirty from binding: no idle count yet
    IBounds all{0, 0, 100, 100};
    editor->PaintArea(&all);
    editor->PaintArea(&all);
    EXPECT_TRUE(editor->TimerTick().Empty());
    EXPECT_EQ(IGraphicsWin::TranslateKey('Q'), 31);
    EXPECT_EQ(IGraphicsWin::TranslateKey(0x0D), -1);
    EXPECT_FALSE(editor->OnKey(5, 5, 31));  // no control takes keys, and there is no key catcher
}

// Needs a window-system font (Windows); the headless build cannot make one.
TEST(GuiGraphics, TextIsMeasuredWhereItIsDrawnAndFontsAreShared) {
    TestEditor editor(nullptr, 200, 40);
    editor.CreateDrawSurfaces();
    ITextStyle style, same;
    if (!editor.GetCachedFont(&style)) GTEST_SKIP() << "no system fonts";
    const int fonts = CachedFontCount();
    EXPECT_EQ(editor.GetCachedFont(&same), style.cachedFont);
    EXPECT_EQ(CachedFontCount(), fonts);

    IBounds centred{10, 0, 50, 20};
    ASSERT_TRUE(editor.MeasureText(&style, "abc", &centred));
    const int w = centred.R - centred.L;
    EXPECT_GT(w, 0);
    EXPECT_LE(std::abs(centred.L + centred.R - 60), 1);
    style.align = 0;
    IBounds left{100, 5, 100, 5};
    ASSERT_TRUE(editor.MeasureText(&style, "abc", &left));
    EXPECT_EQ(left, (IBounds{100, 5, 100 + w, centred.B + 5}));  // from the left edge, not from 0

    IBounds box{0, 0, 200, 40};
    ASSERT_TRUE(editor.DrawStyledText(&style, "abc", &box, false));
    int ink = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x) ink += *PIX_PixelAt(editor.DrawSurface(), x, y) != 0;
    EXPECT_GT(ink, 10);
}

TEST_F(GuiInput, MouseOverTracksTooltipsOnlyWhenAskedFor) {
    IMouseKeys none;
    EXPECT_FALSE(editor->OnMouseMove(5, 5, &none, false));  // mouse-over is off by default
    editor->SetHandleMouseOver(true);
    editor->SetEnableTooltips(true);
    knob->SetTooltip("Drive");
    EXPECT_TRUE(editor->OnMouseMove(5, 5, &none, false));
    EXPECT_TRUE(editor->NextTooltip());  // a new control under the pointer: ask for a hover
    EXPECT_TRUE(editor->OnMouseMove(6, 6, &none, false));
    EXPECT_FALSE(editor->NextTooltip());  // still the same control
    editor->OnMouseHover();
    editor->OnMouseLeave();
    EXPECT_TRUE(editor->OnMouseMove(5, 5, &none, false));
    EXPECT_TRUE(editor->NextTooltip());  // back on the same control after leaving the window
}

TEST(GuiGraphics, AMissingImageIsReportedAndDrawsNothing) {
    static std::string reported;
    IFxAssertHandler previous = SetAssertHandler([](const char* text, const char*, int) { reported = text; });
    TestEditor editor(nullptr, 20, 20);
    editor.CreateDrawSurfaces();
    IControl* background = editor.SetBackgroundBitmap(7, "missing.png");
    EXPECT_EQ(reported, "imgResourceFound");
    EXPECT_TRUE(background->Rect().Empty());
    IBounds all{0, 0, 20, 20};
    EXPECT_TRUE(editor.PaintArea(&all));

    auto* knob = new IKnobMultiControl(nullptr, {0, 0, 10, 10}, -1, IBitmapStrip{});
    editor.AddControl(knob);
    knob->ReceiveAuxValue(0, 0.5);  // no such binding
    EXPECT_EQ(reported, "idx > -1 && idx < mAuxParams.GetSize()");
    SetAssertHandler(previous);
}
