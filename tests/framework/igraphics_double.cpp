// Test double for the editor object: records what the plug-in core asks of it.
#include "framework/igraphics.h"
#include "igraphics_double.h"

GraphicsLog gGraphicsLog;

IGraphics::~IGraphics() { ++gGraphicsLog.deleted; }

void IGraphics::PushParamToControls(int paramIdx, double value, bool normalized) {
    gGraphicsLog.pushed.push_back({paramIdx, value, normalized});
}

void IGraphics::CreateDrawSurfaces() { ++gGraphicsLog.surfacesCreated; }
