#pragma once
// The LZW decoder of GIF image data.
#include <cstddef>
#include <cstdint>
#include <span>

namespace quillet {

// The most pixels `codes` (a frame's data sub-blocks joined) can decode to
// with this minimum code size: the n-th code after a clear gives at most n
// pixels, and no string is longer than 4096. Bounds the buffer allocated
// for a frame by what its data can fill, so a tiny file never asks for a
// huge one.
uint64_t GifLzwOutputBound(size_t codeBytes, int minCodeSize);

// Decodes LZW codes (least significant bit first, clear and end codes, code
// sizes growing to 12 bits) into `out`, at most out.size() pixels, and
// returns how many were written. Decoding stops at the end code, at the
// end of the data, when `out` is full, or at the first code that cannot be
// right (a first code that is no literal, a code above the next free one):
// what was decoded before stays. Pixel values are the low 8 bits of the
// codes, so they always index a 256-entry colour table. A minimum code size
// outside 1 to 11 decodes nothing.
size_t DecodeGifLzw(int minCodeSize, std::span<const uint8_t> codes, std::span<uint8_t> out);

}  // namespace quillet
