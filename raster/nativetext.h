#pragma once
// The 64-bit Windows builds' native text path: whole strings drawn by the window system.
#include "raster/font.h"

#ifdef _WIN64
// -1 not probed yet, 0 the registry key "Software\Wine" was not found, 1 it was.
extern int WineProbeState;
// Probes the registry once per process; true when running under Wine.
bool PIX_RunningUnderWine();
// Draws or measures text with DrawText, directly into the bitmap's device context or through the
// scratch surface NativeTextSurface. Returns DrawText's result.
int PIX_NativeDrawString(PIX_CachedFont& font, PIX_IBitmap* bitmap, const char* text, int length, PIX_Rect* rect,
                         int flags);
#endif
