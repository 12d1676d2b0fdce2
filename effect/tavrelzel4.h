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

    // Under the plug-in mutex: applies parameter paramIdx to both models (source is not looked at).
    void ParameterChanged(int paramIdx, int source) override;
    // Under the plug-in mutex: sample rate and oversampling factor to both models.
    void ResetProcessing() override;
    // Called with the mutex held by the binding's process entry.
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

// Constructs one instance under a process-wide lock; null when none could be made.
TavrelZel4* CreateInstance();
