#pragma once

namespace Dsp {

// e to the power x, from a table of 2^(i / 128) and a polynomial, in plain double arithmetic:
// the same result on every target (the Windows runtime's exp runs on the x87 unit), within an
// ulp of the correctly rounded value. Subnormal results, infinities and NaN are handled.
double Exp(double x);

}  // namespace Dsp
