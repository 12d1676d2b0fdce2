#pragma once
// TavrelZel4: the distortion plug-in. Eight parameters, one circuit model per channel, and every
// block run through both models. The class body is the same in every deliverable; its base is
// the binding library it is built with (see tz_plugin_library).
#include <memory>

#include "plugin_binding.h"  // from the include path of the binding library linked

class zl4;

class TavrelZel4 : public PluginBinding {
public:
    enum Param { kBypass, kDistAmount, kTone, kLevel, kSaturation, kHiss, kDryWet, kCompensation, kNumParams };

    TavrelZel4();
    ~TavrelZel4() override;

    // Applies parameter paramIdx to both models (source is not looked at).
    // [any thread, takes the plug-in lock]
    void ParameterChanged(int paramIdx, int source) override;
    // Sample rate and oversampling factor to both models.
    // [any thread, takes the plug-in lock]
    void ResetProcessing() override;
    // [audio thread, plug-in lock held by caller] (the binding's process entry)
    void ProcessDoubles(double** inputs, double** outputs, int frames) override;

    zl4* LeftModel() const { return mLeft.get(); }
    zl4* RightModel() const { return mRight.get(); }

private:
    void DefineParameters();
    // The editor with its images and ten controls (tavrelzel4_editor.cpp); then BindGraphics.
    void BuildEditor();
    // The bypass LED: lit while the effect is active.
    void ShowActiveOnLed(bool active);

    // Owned here, so a failed construction frees whichever model already exists.
    std::unique_ptr<zl4> mLeft;
    std::unique_ptr<zl4> mRight;
    int mLedControlIndex = -1;
};

// Constructs one instance; null when none could be made.
// [any thread, takes the module's creation lock]
TavrelZel4* CreateInstance();
