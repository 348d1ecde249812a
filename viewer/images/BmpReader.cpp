#include "viewer/images/BmpReader.h"

#include <array>
#include <bit>
#include <new>
#include <vector>

namespace quillet {

namespace {

constexpr size_t kFileHeader = 14;
constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

uint16_t U16(std::span<const uint8_t> d, size_t at) {
  return static_cast<uint16_t>(d[at] | (d[at + 1] << 8));
}
uint32_t U32(std::span<const uint8_t> d, size_t at) {
  return static_cast<uint32_t>(d[at]) | (static_cast<uint32_t>(d[at + 1]) << 8) |
         (static_cast<uint32_t>(d[at + 2]) << 16) | (static_cast<uint32_t>(d[at + 3]) << 24);
}

// One colour channel of a 16- or 32-bit pixel, as selected by a bit mask.
struct Channel {
  uint32_t Mask = 0;
  int Shift = 0;
  int Bits = 0;

  // False for a mask whose bits are not contiguous.
  bool Set(uint32_t mask) {
    Mask = mask;
    if (mask == 0) return true;
    Shift = std::countr_zero(mask);
    Bits = std::popcount(mask);
    return (mask >> Shift) == (Bits == 32 ? 0xFFFFFFFFu : (1u << Bits) - 1);
  }
  uint32_t Of(uint32_t pixel) const {
    if (Mask == 0) return 0;
    const uint32_t v = (pixel & Mask) >> Shift;
    if (Bits >= 8) return v >> (Bits - 8);
    // Fewer bits are widened by repeating them (5 bits abcde: abcdeabc).
    uint32_t wide = 0;
    int filled = 0;
    for (; filled < 8; filled += Bits) wide = (wide << Bits) | v;
    return wide >> (filled - 8);
  }
};

struct Header {
  bool Core = false;  // OS/2 core header: 16-bit sizes, 3-byte colour table entries
  int64_t Width = 0;
  int64_t Height = 0;  // rows in the file; negative when they run top-down
  int Bits = 0;
  uint32_t Compression = kRgb;
  uint32_t ColorsUsed = 0;
  uint32_t ImageSize = 0;
  size_t TableStart = 0;  // where the colour table begins
  bool HasMasks = false;
  uint32_t Masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
  bool AlphaMaskGiven = false;  // the header has room for an alpha mask
};

bool ReadHeader(std::span<const uint8_t> d, Header& h) {
  if (d.size() < kFileHeader + 12 || d[0] != 'B' || d[1] != 'M') return false;
  const uint32_t size = U32(d, kFileHeader);
  if (size < 12 || size > d.size() - kFileHeader) return false;
  const size_t at = kFileHeader;
  if (size == 12) {
    h.Core = true;
    h.Width = U16(d, at + 4);
    h.Height = U16(d, at + 6);
    h.Bits = U16(d, at + 10);
    h.TableStart = at + size;
    return true;
  }
  if (size < 16) return false;
  h.Width = static_cast<int32_t>(U32(d, at + 4));
  h.Height = static_cast<int32_t>(U32(d, at + 8));
  h.Bits = U16(d, at + 14);
  if (size >= 20) h.Compression = U32(d, at + 16);
  if (size >= 24) h.ImageSize = U32(d, at + 20);
  if (size >= 36) h.ColorsUsed = U32(d, at + 32);
  // The OS/2 2.x header (64 bytes) uses compressions 3 and 4 for Huffman
  // and RLE24, which nobody writes any more.
  if (size == 64 && h.Compression >= 3) return false;
  size_t end = at + size;
  if (h.Compression == kBitFields || h.Compression == kAlphaBitFields) {
    const int count = h.Compression == kAlphaBitFields ? 4 : 3;
    if (size >= 52) {
      for (int i = 0; i < count; ++i) h.Masks[i] = U32(d, at + 40 + 4 * i);
    } else {
      // A short header has the masks after it.
      if (d.size() - end < static_cast<size_t>(4 * count)) return false;
      for (int i = 0; i < count; ++i) h.Masks[i] = U32(d, end + 4 * i);
      end += 4 * count;
    }
    h.HasMasks = true;
  }
  // V3 and later headers carry an alpha mask whatever the compression.
  if (size >= 56 && h.Compression != kAlphaBitFields) h.Masks[3] = U32(d, at + 52);
  h.AlphaMaskGiven = size >= 56 || h.Compression == kAlphaBitFields;
  h.TableStart = end;
  return true;
}

// Reads a colour table of `count` entries as opaque pixels; entries past it
// are black, so every 8-bit index is bounded.
std::array<uint32_t, 256> ReadTable(std::span<const uint8_t> d, size_t at, size_t count, bool core) {
  std::array<uint32_t, 256> table;
  table.fill(Rgb(0, 0, 0));
  const size_t step = core ? 3 : 4;
  for (size_t i = 0; i < count; ++i) {
    const size_t p = at + i * step;
    table[i] = Rgb(d[p + 2], d[p + 1], d[p]);
  }
  return table;
}

// Uncompressed rows.
void ReadRows(std::span<const uint8_t> d, size_t offset, size_t stride, const Header& h,
              const std::array<uint32_t, 256>& table, const Channel (&ch)[4], Picture& pic) {
  const int w = pic.Width;
  const bool topDown = h.Height < 0;
  for (int y = 0; y < pic.Height; ++y) {
    const uint8_t* src = d.data() + offset + static_cast<size_t>(topDown ? y : pic.Height - 1 - y) * stride;
    uint32_t* dst = &pic.Pixels[static_cast<size_t>(y) * w];
    switch (h.Bits) {
      case 1:
        for (int x = 0; x < w; ++x) dst[x] = table[(src[x >> 3] >> (7 - (x & 7))) & 1];
        break;
      case 4:
        for (int x = 0; x < w; ++x) dst[x] = table[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F];
        break;
      case 8:
        for (int x = 0; x < w; ++x) dst[x] = table[src[x]];
        break;
      case 24:
        for (int x = 0; x < w; ++x, src += 3) dst[x] = Rgb(src[2], src[1], src[0]);
        break;
      case 16:
      case 32: {
        const int bytes = h.Bits / 8;
        for (int x = 0; x < w; ++x, src += bytes) {
          const uint32_t p = bytes == 2 ? static_cast<uint32_t>(src[0] | (src[1] << 8))
                                        : static_cast<uint32_t>(src[0]) | (static_cast<uint32_t>(src[1]) << 8) |
                                              (static_cast<uint32_t>(src[2]) << 16) |
                                              (static_cast<uint32_t>(src[3]) << 24);
          const uint32_t a = ch[3].Mask ? ch[3].Of(p) : 0xFF;
          dst[x] = Argb(a, ch[0].Of(p), ch[1].Of(p), ch[2].Of(p));
        }
        break;
      }
    }
  }
}

// RLE8 and RLE4. Runs past a row's end are cut; the stream's end, with or
// without its end-of-bitmap escape, ends the picture.
void ReadRle(std::span<const uint8_t> d, size_t pos, size_t end, const Header& h,
             const std::array<uint32_t, 256>& table, Picture& pic) {
  const bool four = h.Compression == kRle4;
  const bool topDown = h.Height < 0;
  int64_t x = 0, y = 0;  // y counts rows in file order
  const auto put = [&](int index) {
    if (x < pic.Width) {
      const int64_t row = topDown ? y : pic.Height - 1 - y;
      pic.Pixels[static_cast<size_t>(row) * pic.Width + static_cast<size_t>(x)] = table[index];
    }
    ++x;
  };
  while (end - pos >= 2 && y < pic.Height) {
    const int n = d[pos];
    const int v = d[pos + 1];
    pos += 2;
    if (n > 0) {
      for (int k = 0; k < n && x < pic.Width; ++k) put(four ? ((k & 1) ? (v & 0x0F) : (v >> 4)) : v);
      continue;
    }
    if (v == 0) {  // end of line
      x = 0;
      ++y;
    } else if (v == 1) {  // end of bitmap
      return;
    } else if (v == 2) {  // delta
      if (end - pos < 2) return;
      x += d[pos];
      y += d[pos + 1];
      pos += 2;
    } else {  // absolute run of v pixels, padded to a 16-bit boundary
      const size_t bytes = four ? (static_cast<size_t>(v) + 1) / 2 : static_cast<size_t>(v);
      if (end - pos < bytes) return;
      for (int k = 0; k < v && x < pic.Width; ++k) {
        const uint8_t b = d[pos + (four ? k / 2 : k)];
        put(four ? ((k & 1) ? (b & 0x0F) : (b >> 4)) : b);
      }
      pos += bytes + (bytes & 1);
      if (pos > end) return;
    }
  }
}

// The compressions read, each with the bit depths it allows. Embedded
// JPEG or PNG and OS/2 Huffman are not read.
bool BitsFitCompression(const Header& h) {
  switch (h.Compression) {
    case kRgb:
      return h.Bits == 1 || h.Bits == 4 || h.Bits == 8 || h.Bits == 16 || h.Bits == 24 || h.Bits == 32;
    case kRle8:
      return h.Bits == 8;
    case kRle4:
      return h.Bits == 4;
    case kBitFields:
    case kAlphaBitFields:
      return h.Bits == 16 || h.Bits == 32;
    default:
      return false;
  }
}

// The channels of 16- and 32-bit pixels: the header's masks, or those of
// the depth; false for a mask that is no run of bits.
bool SetChannels(const Header& h, Channel (&ch)[4]) {
  uint32_t masks[4];
  if (h.HasMasks) {
    for (int i = 0; i < 4; ++i) masks[i] = h.Masks[i];
  } else if (h.Bits == 16) {
    masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F, masks[3] = h.Masks[3];
  } else {
    // A header too short to say whether the fourth byte is alpha: it is
    // taken as alpha, and dropped when every pixel's is 0.
    masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    masks[3] = h.AlphaMaskGiven ? h.Masks[3] : 0xFF000000u;
  }
  if (h.Bits == 16)
    for (uint32_t& m : masks) m &= 0xFFFF;
  for (int i = 0; i < 4; ++i)
    if (!ch[i].Set(masks[i])) return false;
  return true;
}

void MakeOpaqueWithoutAlpha(Picture& pic) {
  for (const uint32_t p : pic.Pixels)
    if (AlphaOf(p) != 0) return;
  for (uint32_t& p : pic.Pixels) p |= 0xFF000000u;
}

std::optional<Picture> Read(std::span<const uint8_t> data, uint64_t room) {
  Header h;
  if (!ReadHeader(data, h)) return std::nullopt;
  const int64_t width = h.Width;
  const int64_t height = h.Height < 0 ? -h.Height : h.Height;
  if (!Picture::SizeAllowed(width, height, room)) return std::nullopt;

  if (!BitsFitCompression(h)) return std::nullopt;

  const size_t offset = U32(data, 10);
  if (offset < h.TableStart || offset >= data.size()) return std::nullopt;

  std::array<uint32_t, 256> table{};
  if (h.Bits <= 8) {
    size_t count = size_t{1} << h.Bits;
    if (h.ColorsUsed != 0 && h.ColorsUsed < count) count = h.ColorsUsed;
    const size_t step = h.Core ? 3 : 4;
    // Some writers count more entries than they leave room for: take what
    // lies before the pixels, but a table there must be.
    const size_t room = (offset - h.TableStart) / step;
    if (room < count) count = room;
    if (count == 0) return std::nullopt;
    table = ReadTable(data, h.TableStart, count, h.Core);
  }

  Channel ch[4];
  if ((h.Bits == 16 || h.Bits == 32) && !SetChannels(h, ch)) return std::nullopt;

  const bool rle = h.Compression == kRle8 || h.Compression == kRle4;
  const uint64_t stride = (static_cast<uint64_t>(width) * h.Bits + 31) / 32 * 4;
  if (!rle) {
    // The last row need not carry its padding.
    const uint64_t needed = stride * static_cast<uint64_t>(height - 1) +
                            (static_cast<uint64_t>(width) * h.Bits + 7) / 8;
    if (needed > data.size() - offset) return std::nullopt;
  }

  Picture pic(static_cast<int>(width), static_cast<int>(height), rle ? 0u : Rgb(0, 0, 0));
  if (rle) {
    size_t end = data.size();
    if (h.ImageSize != 0 && h.ImageSize < end - offset) end = offset + h.ImageSize;
    ReadRle(data, offset, end, h, table, pic);
  } else {
    ReadRows(data, offset, static_cast<size_t>(stride), h, table, ch, pic);
    // An alpha mask with every alpha 0 means the writer never filled it in.
    if (ch[3].Mask != 0) MakeOpaqueWithoutAlpha(pic);
  }
  return pic;
}

}  // namespace

std::optional<Picture> ReadBmp(std::span<const uint8_t> data, uint64_t room) {
  try {
    return Read(data, room);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace quillet
