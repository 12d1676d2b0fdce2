#pragma once
// Fonts of the FreeType glyph source, the default source of the Linux deliverables.
#include "raster/pixtypes.h"

// A font of the face fontconfig matches to face, bold and italic, or of Liberation Sans (metric-compatible
// with Arial) when the match is another family. Sized as a Windows font asked for a positive height: its
// cell (ascent plus descent) is height pixels, which is its line height. Null when no face can be had.
// The glyph source's DeleteFont frees it (so does a font it is attached to with FontOwnsHandle).
PIX_FontHandle PIX_CreateFreeTypeFont(const char* face, int height, bool bold, bool italic);
