#pragma once
// The one picture type of the program: what every picture reader produces
// and what the canvas draws. 32-bit pixels with straight (not premultiplied)
// alpha, 0xAARRGGBB, rows from top to bottom with no padding: the layout of
// Qt's QImage::Format_ARGB32, so a picture reaches Qt without conversion.
// Masks are alpha: a transparent pixel has alpha 0.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillet {

struct Picture {
  // Readers treat anything larger as broken, and check a file's size fields
  // against these before allocating, so a tiny file cannot ask for gigabytes.
  static constexpr int kMaxSide = 16384;
  static constexpr int64_t kMaxPixels = int64_t{64} * 1024 * 1024;

  int Width = 0;
  int Height = 0;
  std::vector<uint32_t> Pixels;

  Picture() = default;
  // A picture of the given size filled with one pixel value; the size must
  // be allowed (SizeAllowed).
  Picture(int width, int height, uint32_t fill = 0)
      : Width(width), Height(height),
        Pixels(static_cast<size_t>(width) * static_cast<size_t>(height), fill) {}

  static bool SizeAllowed(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
           width * height <= kMaxPixels;
  }
  // The bytes a picture of that size holds.
  static uint64_t BytesFor(int64_t width, int64_t height) {
    return 4 * static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
  }
  // A reader given no room of its own: only the limits above count.
  static constexpr uint64_t kAnyRoom = UINT64_MAX;
  // Allowed, and its pixels fit in `room` bytes (what a document has left
  // for its pictures).
  static bool SizeAllowed(int64_t width, int64_t height, uint64_t room) {
    return SizeAllowed(width, height) && BytesFor(width, height) <= room;
  }

  bool Empty() const { return Width <= 0 || Height <= 0; }
  uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
  uint32_t& At(int x, int y) { return Pixels[static_cast<size_t>(y) * Width + x]; }
  // True when some pixel is not fully opaque.
  bool HasTransparency() const {
    for (const uint32_t p : Pixels)
      if ((p >> 24) != 0xFF) return true;
    return false;
  }
};

// Pixel helpers: a straight-alpha ARGB value from its parts, and its parts.
constexpr uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return Argb(0xFF, r, g, b); }
constexpr uint32_t AlphaOf(uint32_t p) { return p >> 24; }
constexpr uint32_t RedOf(uint32_t p) { return (p >> 16) & 0xFF; }
constexpr uint32_t GreenOf(uint32_t p) { return (p >> 8) & 0xFF; }
constexpr uint32_t BlueOf(uint32_t p) { return p & 0xFF; }

}  // namespace quillet
