#include "viewer/images/PlaceholderPictures.h"

#include <cstdint>
#include <span>

namespace quillet {

namespace {

struct PixelLegend {
  char Key;
  uint32_t Pixel;
};

#include "viewer/images/resources/PlaceholderPictures.inc"

Picture FromRows(const char* const (&rows)[kPlaceholderSide], std::span<const PixelLegend> legend) {
  Picture pic(kPlaceholderSide, kPlaceholderSide, 0);
  for (int y = 0; y < kPlaceholderSide; ++y)
    for (int x = 0; x < kPlaceholderSide && rows[y][x] != '\0'; ++x)
      for (const PixelLegend& l : legend)
        if (l.Key == rows[y][x]) pic.At(x, y) = l.Pixel;
  return pic;
}

}  // namespace

Picture ImagesOffPicture() { return FromRows(kImagesOffRows, kImagesOffLegend); }

Picture BrokenImagePicture() { return FromRows(kBrokenImageRows, kBrokenImageLegend); }

}  // namespace quillet
