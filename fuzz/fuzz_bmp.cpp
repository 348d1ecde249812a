// Our BMP reader on arbitrary bytes: every header, depth, bit field and RLE
// path; a picture it returns is whole and within the limits, and the corner
// transparency runs over it.
#include <cstddef>
#include <cstdint>
#include <span>

#include "viewer/images/BmpReader.h"
#include "viewer/images/PictureReader.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto pic = ReadBmp(std::span(data, size));
  if (!pic) return 0;
  if (!Picture::SizeAllowed(pic->Width, pic->Height) ||
      pic->Pixels.size() != static_cast<size_t>(pic->Width) * static_cast<size_t>(pic->Height))
    __builtin_trap();
  MakeCornerTransparent(*pic);
  return 0;
}
