// IGraphicsWin on X11: images from the table the module carries (framework/embeddedimages.h) and
// the style's fonts.
#include "framework/embeddedimages.h"
#include "framework/x11/x11state.h"
#include "raster/ftfont.h"
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

// A FreeType font of the style's face, height, weight and slant (orientation and quality are
// Windows' alone).
void* CreateStyleFont(const ITextStyle& s) {
    return PIX_CreateFreeTypeFont(s.face, s.size, s.style == 1, s.style == 2);
}
