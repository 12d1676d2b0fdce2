#pragma once
// A test double of the editor object: records what the plug-in core asks of it.
#include <vector>

#include "framework/igraphicswin.h"

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

class GraphicsDouble : public IGraphicsWin {
public:
    GraphicsDouble() : IGraphicsWin(nullptr, 10, 10, 0) {}
    ~GraphicsDouble() override { ++gGraphicsLog.deleted; }
    void PushParamToControls(int paramIdx, double value, bool normalized) override {
        gGraphicsLog.pushed.push_back({paramIdx, value, normalized});
    }
    void CreateDrawSurfaces() override { ++gGraphicsLog.surfacesCreated; }
};
