#pragma once
// Our own reader of Windows and OS/2 bitmap files.
#include <cstdint>
#include <optional>
#include <span>

#include "platform/Picture.h"

namespace quillet {

// The picture in a BMP file: 1, 4 and 8 bits with a colour table, 16 and 32
// bits (5-5-5 and 8-8-8 by default, or the file's bit fields), 24 bits; RLE8
// and RLE4; bottom-up and top-down rows; the OS/2 core header and the
// Windows headers up to V5. A V4/V5 or alpha-bitfield file's alpha is kept
// (unless every pixel's alpha is 0: then the file just never set it).
// Pixels an RLE stream skips (deltas, early line and bitmap ends) are
// transparent. Every size and offset is checked against the data before
// anything is allocated; nothing when the data is not a BMP, is
// inconsistent, is larger than the picture limits or than `room` bytes of
// pixels, or when its pixels cannot be allocated.
std::optional<Picture> ReadBmp(std::span<const uint8_t> data, uint64_t room = Picture::kAnyRoom);

}  // namespace quillet
