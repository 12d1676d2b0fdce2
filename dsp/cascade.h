#pragma once

#include "dsp/complex.h"

namespace Dsp {

class Layout;

// One second-order section: (b0 + b1 z^-1 + b2 z^-2) / (1 - c1 z^-1 - c2 z^-2).
struct Stage {
    double c1 = 0.0;
    double c2 = 0.0;
    double b0 = 1.0;
    double b1 = 0.0;
    double b2 = 0.0;
    // The coefficients the two-channel Direct Form II loop ran with last: it moves them toward
    // the five above over each block, so that a redesign glides instead of jumping.
    double rampC1 = 0.0;
    double rampC2 = 0.0;
    double rampB0 = 1.0;
    double rampB1 = 0.0;
    double rampB2 = 0.0;

    void SetPassThrough() {
        c1 = c2 = b1 = b2 = 0.0;
        b0 = 1.0;
    }
};

// The stage list of a filter; the stages live in storage owned by a CascadeSpace.
class Cascade {
public:
    Cascade(const Cascade&) = delete;
    Cascade& operator=(const Cascade&) = delete;

    int StageCount() const { return mNumStages; }
    const Stage& GetStage(int i) const { return mStages[i]; }

    // Every current stage becomes pass-through; sample memories are not touched.
    void SetIdentity();

    // Frequency response at angular frequency w (radians per sample).
    Complex Response(double w) const;

    // Builds the stages from a digital layout and normalizes the gain at the layout's
    // normal frequency.
    void ApplyLayout(const Layout& digital);

protected:
    Cascade() = default;
    ~Cascade() = default;

    int mNumStages = 0;
    int mMaxStages = 0;
    Stage* mStages = nullptr;
};

// A cascade with built-in storage for the stages of a filter of order MaxOrder.
template <int MaxOrder>
class CascadeSpace : public virtual Cascade {
public:
    static constexpr int kMaxStages = (MaxOrder + 1) / 2;

    CascadeSpace() {
        mStages = mStageStorage;
        mMaxStages = kMaxStages;
        mNumStages = kMaxStages;
    }

private:
    Stage mStageStorage[kMaxStages];
};

}  // namespace Dsp
