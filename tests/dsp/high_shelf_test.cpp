#include "dsp/high_shelf.h"
#include "response_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

// Zero gain passes the signal; a boost gives unity gain at DC, the full boost at Nyquist, and a
// Direct Form I loop that realises the design.
TEST(HighShelf, PassesAtZeroGainBoostsHighsAndRunsAsDesigned) {
    Dsp::HighShelf flat, shelf;
    flat.Setup(0.1, 0.0, 0.707);
    for (int i = 0; i < 50; ++i) EXPECT_NEAR(flat.Process(std::sin(0.3 * i)), std::sin(0.3 * i), 1e-14);

    shelf.Setup(0.145, 15.0, 0.707);
    EXPECT_NEAR(Db(Dsp::Modulus(shelf.Response(0.0))), 0.0, 1e-12);
    EXPECT_NEAR(Db(Dsp::Modulus(shelf.Response(kTwoPi * 0.5))), 15.0, 1e-9);
    std::vector<double> h(4096, 0.0);
    h[0] = 1.0;
    for (double& x : h) x = shelf.Process(x);
    for (double fr : {0.0, 0.05, 0.145, 0.3, 0.5}) {
        const Dsp::Complex expected = shelf.Response(kTwoPi * fr);
        const Dsp::Complex got = Dtft(h, kTwoPi * fr);
        EXPECT_NEAR(got.re, expected.re, 1e-9) << fr;
        EXPECT_NEAR(got.im, expected.im, 1e-9) << fr;
    }
}
