#pragma once
// The editor images a Linux module carries in its code: tz_editor_images (effect/CMakeLists.txt)
// generates their table from resources/img/images.rc, under the same ids as the Windows resources.

// The PNG bytes of image id and their count in size; null (size 0) when the module carries none.
const unsigned char* IFxEmbeddedImage(int id, int* size);
