#include "host/picture_bitmap.h"

#include <climits>
#include <cstdint>
#include <cstring>

namespace tunora::host {
namespace {

// A negative height lays the rows out top to bottom, as the decoder does.
BITMAPINFO blueGreenRedInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// GDI starts every row on a four-byte boundary.
std::size_t strideOf(std::size_t width) {
  return (width * 3 + 3) & ~std::size_t{3};
}

}  // namespace

UniqueBitmap stretchedBitmap(const DecodedPicture& picture, int width, int height) {
  const std::size_t row = std::size_t{picture.width} * 3;
  if (picture.width == 0 || picture.height == 0 || picture.width > INT_MAX / 4 ||
      picture.height > INT_MAX || std::uint64_t{row} * picture.height != picture.pixels.size() ||
      width <= 0 || height <= 0)
    return {};
  const int sourceWidth = static_cast<int>(picture.width);
  const int sourceHeight = static_cast<int>(picture.height);
  void* sourceBits = nullptr;
  const BITMAPINFO sourceInfo = blueGreenRedInfo(sourceWidth, -sourceHeight);
  const UniqueBitmap source(
      CreateDIBSection(nullptr, &sourceInfo, DIB_RGB_COLORS, &sourceBits, nullptr, 0));
  void* targetBits = nullptr;
  const BITMAPINFO targetInfo = blueGreenRedInfo(width, height);
  UniqueBitmap target(
      CreateDIBSection(nullptr, &targetInfo, DIB_RGB_COLORS, &targetBits, nullptr, 0));
  if (!source || !target) return {};
  const std::size_t stride = strideOf(picture.width);
  for (std::size_t y = 0; y < picture.height; ++y)
    std::memcpy(static_cast<std::uint8_t*>(sourceBits) + y * stride,
                picture.pixels.data() + y * row, row);

  const auto from = screenCompatibleContext();
  const auto to = screenCompatibleContext();
  if (!from || !to) return {};
  {
    const SelectedObject reading(from.get(), source.get());
    const SelectedObject writing(to.get(), target.get());
    if (!reading.selected() || !writing.selected()) return {};
    // Whole pixels, dropped or repeated: no blending of neighbours.
    SetStretchBltMode(to.get(), COLORONCOLOR);
    if (!StretchBlt(to.get(), 0, 0, width, height, from.get(), 0, 0, sourceWidth, sourceHeight,
                    SRCCOPY))
      return {};
  }
  GdiFlush();
  return target;
}

}  // namespace tunora::host
