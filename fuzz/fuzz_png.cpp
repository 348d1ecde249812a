// The libpng wrapper on arbitrary bytes: its error exits, the IHDR checks
// before allocating, every colour type, depth, tRNS and interlacing.
#include <cstddef>
#include <cstdint>
#include <span>

#include "viewer/images/PngReader.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto pic = ReadPng(std::span(data, size));
  if (!pic) return 0;
  if (!Picture::SizeAllowed(pic->Width, pic->Height) ||
      pic->Pixels.size() != static_cast<size_t>(pic->Width) * static_cast<size_t>(pic->Height))
    __builtin_trap();
  return 0;
}
