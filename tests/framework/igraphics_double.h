#pragma once
// What the test double of the editor object records.
#include <vector>

struct PushedValue {
    int paramIdx;
    double value;
    bool normalized;
};

struct GraphicsLog {
    std::vector<PushedValue> pushed;
    int surfacesCreated = 0;
    int deleted = 0;
};

extern GraphicsLog gGraphicsLog;
