// The plug-in's editor: a 410 x 460 panel with three large knobs, three switches, the dry/wet
// knob, an invisible bypass switch over the panel's nameplate, the bypass LED and the version.
#include "effect/tavrelzel4.h"

#include <string>

#include "effect/product.h"
#include "framework/igraphicswin.h"

namespace {
enum ImageId { kBackground = 100, kKnob, kOnOff, kLed, kLineKnob };
constexpr int kKnobFrames = 100;
constexpr int kSwitchFrames = 2;
constexpr int kLedFrames = 2;
}  // namespace

void TavrelZel4::BuildEditor() {
    auto* editor = new IGraphicsWin(this, 410, 460, 0);
    editor->SetHInstance(IFxModuleInstance());
    editor->SetBackgroundBitmap(kBackground, "resources/img/bkg.png");
    const IBitmapStrip knob = editor->LoadBitmapStrip(kKnob, "resources/img/knob.png", kKnobFrames, false);
    const IBitmapStrip onoff = editor->LoadBitmapStrip(kOnOff, "resources/img/onoff.png", kSwitchFrames, false);
    const IBitmapStrip led = editor->LoadBitmapStrip(kLed, "resources/img/led.png", kLedFrames, false);
    const IBitmapStrip lineKnob = editor->LoadBitmapStrip(kLineKnob, "resources/img/line-knob.png", kKnobFrames, false);

    const IBlend blend{0, 1.0f};
    auto addKnob = [&](int param, const IBitmapStrip& strip, int x, int y) {
        editor->AddControl(new IKnobMultiControl(this, StripFrameBounds(x, y, strip), param, strip, &blend,
                                                 IKnobControl::kVertical, 4.0));
    };
    auto addSwitch = [&](int param, int x, int y) {
        editor->AddControl(new ISwitchControl(this, StripFrameBounds(x, y, onoff), param, onoff, &blend));
    };
    addKnob(kTone, knob, 116, 60);
    addKnob(kDistAmount, knob, 25, 13);
    addKnob(kLevel, knob, 209, 13);
    addSwitch(kSaturation, 314, 64);
    addSwitch(kHiss, 314, 139);
    addSwitch(kCompensation, 314, 210);
    addKnob(kDryWet, lineKnob, 342, 281);
    editor->AddControl(new IInvisibleSwitchControl(this, {36, 286, 276, 405}, kBypass));
    auto* ledControl = new IBitmapControl(this, StripFrameBounds(148, 17, led), -1, led, &blend);
    // The LED only shows whether the effect is active: it takes no input (a double click would
    // light it with its default), so the mouse reaches the panel beneath it.
    ledControl->SetTargetRect({});
    mLedControlIndex = editor->AddControl(ledControl);
    // The LED has no parameter, so binding sends it nothing: it is seeded lit, as the effect
    // starts active, and the first bypass change is then a change that gets drawn.
    ledControl->ReceiveValue(1.0);

    ITextStyle caption;  // Arial 12, opaque black, centred
    const std::string version = std::string("v") + Product::kVersionText;
    editor->AddControl(new ITextControl(this, {225, 431, 267, 443}, caption, version.c_str(), &blend));
    BindGraphics(editor);
}

void TavrelZel4::ShowActiveOnLed(bool active) {
    if (IControl* led = GetGraphics()->GetControl(mLedControlIndex)) led->ReceiveValue(active ? 1.0 : 0.0);
}
