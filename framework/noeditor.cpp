// The deliverables carry no editor yet: the plug-in never creates an editor object, so these
// operations of the core's editor declaration are never reached. The GUI framework replaces
// this file with the real editor.
#include "framework/igraphics.h"

IGraphics::~IGraphics() = default;
void IGraphics::PushParamToControls(int, double, bool) {}
void IGraphics::CreateDrawSurfaces() {}
