#pragma once
// JPEG pictures, decoded by libjpeg-turbo.
#include <cstdint>
#include <optional>
#include <span>

#include "platform/Picture.h"

namespace quillet {

// The opaque picture in a JPEG file: colour, greyscale and CMYK (Adobe's
// inverted CMYK included). Nothing when the data is not a JPEG the library
// can decode, or when the header's size passes the picture limits or
// `room` bytes of pixels (checked before anything is decoded). A file cut
// short keeps the rows the library could decode; the rest is grey, as
// libjpeg fills it.
std::optional<Picture> ReadJpeg(std::span<const uint8_t> data, uint64_t room = Picture::kAnyRoom);

}  // namespace quillet
