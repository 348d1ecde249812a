#include "viewer/images/ImageSignature.h"

namespace quillet {

ImageSignature SignatureOf(std::span<const uint8_t> head) {
  const auto starts = [&](std::initializer_list<uint8_t> bytes) {
    if (head.size() < bytes.size()) return false;
    size_t i = 0;
    for (const uint8_t b : bytes)
      if (head[i++] != b) return false;
    return true;
  };
  if (starts({'G', 'I', 'F', '8'}))
    return head.size() > 4 && head[4] == '9' ? ImageSignature::Gif89a : ImageSignature::Gif87a;
  if (starts({'B', 'M'})) return ImageSignature::Bmp;
  if (starts({0x89, 'P', 'N', 'G'})) return ImageSignature::Png;
  if (starts({0xFF, 0xD8})) return ImageSignature::Jpeg;
  return ImageSignature::Unknown;
}

}  // namespace quillet
