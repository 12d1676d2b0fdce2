#include "igraphics_double.h"

GraphicsLog gGraphicsLog;
