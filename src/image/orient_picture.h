#pragma once
// Turning and mirroring decoded pixels so that a picture stored sideways or
// mirrored (as its Exif orientation says) stands upright.

#include "image/exif_orientation.h"
#include "jpeg/jpeg_codec.h"

namespace tunora {

DecodedPicture orientPicture(const DecodedPicture& picture, Orientation orientation);

}  // namespace tunora
