#pragma once
// A decoded picture as a GDI bitmap, for a picture control.

#include <windows.h>

#include "host/gdi_objects.h"
#include "jpeg/jpeg_codec.h"

namespace tunora::host {

// A 24-bit DIB section of `width` x `height` pixels showing the whole
// picture stretched to fill it; empty for a picture whose pixels do not
// match its size, and when GDI cannot make one.
UniqueBitmap stretchedBitmap(const DecodedPicture& picture, int width, int height);

}  // namespace tunora::host
