#include "dsp/exp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

namespace {

// Position of a double on the number line, in ulps.
int64_t Ordinal(double x) {
    int64_t i;
    std::memcpy(&i, &x, sizeof i);
    return i < 0 ? INT64_MIN - i : i;
}

}  // namespace

// Within an ulp of the C library's exp everywhere: random bit patterns cover every exponent,
// a dense sweep the range between underflow and overflow (subnormal results included), and the
// special values.
TEST(Exp, WithinAnUlpOfTheCLibraryOverItsWholeRange) {
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> dense(-746.0, 710.0);
    int64_t worst = 0;
    double worstAt = 0.0;
    auto check = [&](double x) {
        const double ours = Dsp::Exp(x), theirs = std::exp(x);
        if (std::isnan(ours) || std::isnan(theirs)) {
            EXPECT_TRUE(std::isnan(ours) && std::isnan(theirs)) << std::hexfloat << x;
            return;
        }
        const int64_t d = std::llabs(Ordinal(ours) - Ordinal(theirs));
        if (d > worst) {
            worst = d;
            worstAt = x;
        }
    };
    for (int i = 0; i < 2000000; ++i) {
        const uint64_t bits = random();
        double x;
        std::memcpy(&x, &bits, sizeof x);
        check(x);
        check(dense(random));
    }
    for (double x :
         {0.0, -0.0, 1e-300, -1e-300, 1.0, -1.0, 709.782712893384, 709.7827128933841, -708.3964185322641,
          -745.1332191019411, -745.1332191019412, 512.0, -512.0, 1024.0, -1024.0, HUGE_VAL, -HUGE_VAL, double(NAN)})
        check(x);
    EXPECT_LE(worst, 1) << "at " << std::hexfloat << worstAt;
    EXPECT_EQ(Dsp::Exp(0.0), 1.0);
    EXPECT_EQ(Dsp::Exp(-HUGE_VAL), 0.0);
    EXPECT_EQ(Dsp::Exp(HUGE_VAL), HUGE_VAL);
}
