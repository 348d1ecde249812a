#include "viewer/images/PictureReader.h"

#include "viewer/images/BmpReader.h"
#include "viewer/images/ImageSignature.h"
#include "viewer/images/JpegReader.h"
#include "viewer/images/PngReader.h"

namespace quillet {

std::optional<DecodedPicture> ReadPicture(std::span<const uint8_t> data, bool corner, uint64_t room) {
  std::optional<Picture> pic;
  switch (SignatureOf(data)) {
    case ImageSignature::Bmp:
      pic = ReadBmp(data, room);
      break;
    case ImageSignature::Jpeg:
      pic = ReadJpeg(data, room);
      break;
    case ImageSignature::Png:
      pic = ReadPng(data, room);
      break;
    default:
      return std::nullopt;
  }
  if (!pic) return std::nullopt;
  DecodedPicture out{std::move(*pic), Transparency::None};
  if (out.Pic.HasTransparency())
    out.Kind = Transparency::Alpha;
  else if (corner && MakeCornerTransparent(out.Pic))
    out.Kind = Transparency::Corner;
  return out;
}

bool MakeCornerTransparent(Picture& pic) {
  if (pic.Empty()) return false;
  const uint32_t key = pic.At(0, pic.Height - 1) & 0x00FFFFFFu;
  for (uint32_t& p : pic.Pixels)
    if ((p & 0x00FFFFFFu) == key) p = key;
  return true;
}

}  // namespace quillet
