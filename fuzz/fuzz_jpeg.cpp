// The libjpeg-turbo wrapper on arbitrary bytes: its error exits, the size
// checks before decoding, colour, grey and CMYK output.
#include <cstddef>
#include <cstdint>
#include <span>

#include "viewer/images/JpegReader.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto pic = ReadJpeg(std::span(data, size));
  if (!pic) return 0;
  if (!Picture::SizeAllowed(pic->Width, pic->Height) ||
      pic->Pixels.size() != static_cast<size_t>(pic->Width) * static_cast<size_t>(pic->Height))
    __builtin_trap();
  for (const uint32_t p : pic->Pixels)
    if (AlphaOf(p) != 0xFF) __builtin_trap();  // a JPEG is opaque
  return 0;
}
