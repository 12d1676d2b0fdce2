# cmake -DRC=<images.rc> -DROOT=<source root> -DOUT=<file.cpp> -P embed_images.cmake
# Writes a C++ source holding the bytes of every "<id> PNG "<path>"" line of RC (paths relative to
# ROOT), looked up by id through IFxEmbeddedImage (framework/embeddedimages.h).
file(STRINGS ${RC} lines REGEX "^[0-9]+ PNG ")
set(arrays "")
set(entries "")
foreach(line IN LISTS lines)
    string(REGEX REPLACE "^([0-9]+) PNG \"(.+)\"$" "\\1" id "${line}")
    string(REGEX REPLACE "^([0-9]+) PNG \"(.+)\"$" "\\2" path "${line}")
    file(READ ${ROOT}/${path} hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND arrays "const unsigned char kImage${id}[] = {${bytes}};\n")
    string(APPEND entries "    {${id}, kImage${id}, sizeof kImage${id}},\n")
endforeach()
file(WRITE ${OUT}.new "// Generated at build time from ${RC}: the editor images this module carries.
#include \"framework/embeddedimages.h\"

namespace {
${arrays}
struct Image {
    int id;
    const unsigned char* bytes;
    int size;
};
const Image kImages[] = {
${entries}};
}  // namespace

const unsigned char* IFxEmbeddedImage(int id, int* size) {
    for (const Image& image : kImages) {
        if (image.id != id) continue;
        *size = image.size;
        return image.bytes;
    }
    *size = 0;
    return nullptr;
}
")
file(COPY_FILE ${OUT}.new ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.new)
