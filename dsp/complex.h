#pragma once

namespace Dsp {

// A complex number as a pair of doubles. The filter design needs only these few operations,
// and spelling them out keeps the arithmetic identical on every target.
struct Complex {
    double re = 0.0;
    double im = 0.0;
};

inline Complex operator+(Complex a, Complex b) { return {a.re + b.re, a.im + b.im}; }
inline Complex operator-(Complex a, Complex b) { return {a.re - b.re, a.im - b.im}; }
inline Complex operator*(double s, Complex a) { return {s * a.re, s * a.im}; }
inline Complex operator*(Complex a, Complex b) { return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re}; }

// a / b by Smith's scaled method; (NaN, NaN) when b has a NaN part or the scaled divisor is
// zero or NaN.
Complex Divide(Complex a, Complex b);

// |a|, computed without overflow for large parts.
double Modulus(Complex a);

}  // namespace Dsp
