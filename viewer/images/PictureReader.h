#pragma once
// Reading a BMP, JPEG or PNG picture by its signature, and corner-colour
// transparency. GIF pictures go through TGIFImage (viewer/images/Gif.h).
#include <cstdint>
#include <optional>
#include <span>

#include "platform/Picture.h"

namespace quillet {

// Where a picture's transparent pixels come from; the image cache keeps it
// beside the picture. The numbers are the cache's.
enum class Transparency : uint8_t {
  None = 0,
  Corner = 1,    // the lower-left pixel's colour was made transparent (TRANSP)
  GifColor = 2,  // a GIF's transparent colour index
  Alpha = 3,     // the file's own alpha: a PNG's (tRNS included) or a BMP's
};

struct DecodedPicture {
  Picture Pic;
  Transparency Kind = Transparency::None;
};

// The picture in a BMP, JPEG or PNG file, chosen by the first bytes, not by
// a file name. A picture with alpha of its own keeps it (kind Alpha);
// otherwise, when `corner` is asked (TRANSP), its lower-left colour becomes
// transparent (kind Corner). Nothing for any other signature, a broken
// file, or a picture whose pixels would not fit in `room` bytes.
std::optional<DecodedPicture> ReadPicture(std::span<const uint8_t> data, bool corner,
                                          uint64_t room = Picture::kAnyRoom);

// Makes every pixel of the lower-left pixel's colour transparent (alpha 0;
// the colour is kept). Colours are compared without their alpha. False for
// an empty picture.
bool MakeCornerTransparent(Picture& pic);

}  // namespace quillet
