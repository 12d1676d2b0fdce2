#pragma once

// First-order filter: y = a1 * x1 + a0 * x + b1 * y1.
struct OnePoleFilter {
    double y1 = 0.0;
    double x1 = 0.0;
    double a0 = 0.0;
    double a1 = 0.0;
    double b1 = 0.0;

    // The corner is divided by the rate in single precision; existing projects sound that way.
    void SetLowPass(float hz, long long rate);
    void SetHighPass(float hz, long long rate);

    double Process(double x) {
        const double y = a1 * x1 + a0 * x + b1 * y1;
        x1 = x;
        y1 = y;
        return y;
    }

    bool IsFinite() const;
    void Clear() { y1 = x1 = 0.0; }
};
