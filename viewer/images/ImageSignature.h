#pragma once
// What kind of picture a file or stream holds, from its first bytes.
#include <cstdint>
#include <span>

namespace quillet {

enum class ImageSignature { Unknown, Gif87a, Gif89a, Bmp, Png, Jpeg };

// "GIF8" then "9": GIF89a; any other "GIF8": GIF87a; "BM": BMP; 0x89 "PNG":
// PNG; 0xFF 0xD8: JPEG. Fewer bytes than a signature needs: Unknown.
ImageSignature SignatureOf(std::span<const uint8_t> head);

inline bool IsGif(ImageSignature s) { return s == ImageSignature::Gif87a || s == ImageSignature::Gif89a; }

}  // namespace quillet
