// IGraphicsWin on X11: images from the table the module carries (framework/embeddedimages.h) and
// the style fonts.
#include "framework/embeddedimages.h"
#include "framework/x11/x11state.h"
#include "raster/png.h"

// A program or module built without the table carries no images.
__attribute__((weak)) const unsigned char* IFxEmbeddedImage(int, int* size) {
    *size = 0;
    return nullptr;
}

// Only "png" files are looked up, by id, as on Windows.
PIX_IBitmap* IGraphicsWin::LoadBitmapResource(int id, const char* fileName) {
    if (!IsPngFileName(fileName)) return nullptr;
    int size = 0;
    const unsigned char* data = IFxEmbeddedImage(id, &size);
    return data && size > 7 ? PIX_ReadPngMemory(data, size) : nullptr;
}

// No glyph source of X11's own yet: text is not drawn.
void* CreateStyleFont(const ITextStyle&) { return nullptr; }
