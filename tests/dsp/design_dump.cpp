// Prints the analog prototype and the digital resampling filter designs as JSON, for
// check_design.py to compare against an independent design.
#include "dsp/chebyshev_lowpass.h"

#include <cstdio>

namespace {

void PrintRoots(const char* name, const Dsp::RootList& roots) {
    std::printf("\"%s\": [", name);
    for (int i = 0; i < roots.mCount; ++i)
        std::printf("%s[%.17g, %.17g]", i ? ", " : "", roots.mRoots[i].re, roots.mRoots[i].im);
    std::printf("]");
}

}  // namespace

int main() {
    const int order = 6;
    const double stopBandDb = 9.0;

    Dsp::LayoutSpace<6> analog;
    Dsp::DesignAnalogLowPass(analog, order, stopBandDb);
    std::printf("{\"order\": %d, \"stopBandDb\": %.17g,\n\"analog\": {", order, stopBandDb);
    PrintRoots("poles", analog.mPoles);
    std::printf(", ");
    PrintRoots("zeros", analog.mZeros);
    std::printf("},\n\"designs\": [");

    const double cutoffs[] = {0.125, 0.25};
    for (int c = 0; c < 2; ++c) {
        Dsp::ChebyIILowPass<6, 1> f;
        f.Setup(cutoffs[c], stopBandDb);
        std::printf("%s\n{\"cutoff\": %.17g, ", c ? "," : "", cutoffs[c]);
        PrintRoots("poles", f.mPoles);
        std::printf(", ");
        PrintRoots("zeros", f.mZeros);
        std::printf(", \"stages\": [");
        for (int s = 0; s < f.StageCount(); ++s) {
            const Dsp::Stage& st = f.GetStage(s);
            std::printf("%s[%.17g, %.17g, %.17g, %.17g, %.17g]", s ? ", " : "", st.b0, st.b1, st.b2, st.c1, st.c2);
        }
        std::printf("], \"response\": [");
        for (int i = 0; i <= 256; ++i) {
            const double w = 3.141592653589793 * i / 256;
            const Dsp::Complex h = f.Response(w);
            std::printf("%s[%.17g, %.17g, %.17g]", i ? ", " : "", w, h.re, h.im);
        }
        std::printf("]}");
    }
    std::printf("]}\n");
    return 0;
}
