// Reading a GIF file into TGIFImage's frames.
#include <algorithm>
#include <cstring>
#include <new>

#include "viewer/images/Gif.h"
#include "viewer/images/GifLzw.h"

namespace quillet {

namespace {

// All frames together may hold this many decoded pixels (a byte each), as
// many as the largest picture has. A file asking for more keeps the frames
// before: a small file of large frames cannot take gigabytes and seconds.
constexpr uint64_t kMaxDecodedPixels = static_cast<uint64_t>(Picture::kMaxPixels);

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// The graphic control extension waiting for the next image.
struct Control {
  uint8_t Packed = 0;
  uint16_t Delay = 0;
  uint8_t TransparentIndex = 0;
};

}  // namespace

class GifReader {
 public:
  GifReader(std::span<const uint8_t> data, bool scanOnly, uint64_t room)
      : D(data), ScanOnly(scanOnly), Room(room) {}

  bool Read(TGIFImage& image) {
    image.Clear();
    if (D.size() < 13 || std::memcmp(D.data(), "GIF", 3) != 0) return false;
    int64_t width = U16(&D[6]), height = U16(&D[8]);
    const uint8_t packed = D[10];
    Pos = 13;
    Global.fill(Rgb(0, 0, 0));
    int colorBits = 0;
    if (packed & 0x80) {
      colorBits = (packed & 7) + 1;
      if (!ReadTable(colorBits, Global)) return false;
    }
    // An empty screen is enlarged by its frames; one too large is broken.
    if (width > Picture::kMaxSide || height > Picture::kMaxSide || width * height > Picture::kMaxPixels)
      return false;
    if (!ScanOnly && Picture::BytesFor(width, height) > Room) return false;

    std::vector<TFrame> frames;
    int loopLimit = 1;
    bool anyTransparent = false;
    Control control;
    std::string comment;
    bool more = true;
    while (more && Pos < D.size()) {
      const uint8_t b = D[Pos];
      if (b == 0x21) {
        if (D.size() - Pos < 2) break;
        const uint8_t label = D[Pos + 1];
        Pos += 2;
        if (label == 0xF9) {
          // Block size 4: packed byte, delay, transparent index.
          if (Pos + 5 <= D.size() && D[Pos] >= 4) {
            control.Packed = D[Pos + 1];
            control.Delay = U16(&D[Pos + 2]);
            control.TransparentIndex = D[Pos + 4];
          }
          more = SkipBlocks(nullptr);
        } else if (label == 0xFE) {
          more = SkipBlocks(&comment);
        } else if (label == 0xFF) {
          more = ReadApplication(loopLimit);
        } else {
          // Plain text, and labels nobody defined: their sub-blocks are
          // stepped over, so the frames after them are still read.
          more = SkipBlocks(nullptr);
        }
      } else if (b == 0x2C) {
        if (frames.size() == static_cast<size_t>(TGIFImage::kMaxFrames)) break;
        TFrame frame;
        if (!ReadFrame(frame, control, width, height, more)) break;
        colorBits = std::max(colorBits, frame.ColorBits);
        anyTransparent = anyTransparent || frame.Transparent;
        frame.Comment = std::move(comment);
        comment.clear();
        control = Control();
        frames.push_back(std::move(frame));
      } else if (b == 0x00) {
        ++Pos;  // a stray block terminator some writers leave
      } else {
        break;  // the trailer, or a byte no block starts with
      }
    }
    if (frames.empty() || width <= 0 || height <= 0) return false;

    image.Frames_ = std::make_shared<const std::vector<TFrame>>(std::move(frames));
    image.Width_ = static_cast<int>(width);
    image.Height_ = static_cast<int>(height);
    image.LoopLimit_ = loopLimit;
    image.ColorBits_ = colorBits;
    image.AnyTransparent_ = anyTransparent;
    image.ScanOnly_ = ScanOnly;
    image.Empty_ = false;
    if (!ScanOnly) {
      image.Composed_ = Picture(image.Width_, image.Height_, 0);
      image.DrawFrame(1);
    }
    return true;
  }

 private:
  // A colour table of 2^bits entries at Pos into `table` (skipped when
  // scanning); false when the file ends inside it.
  bool ReadTable(int bits, std::array<uint32_t, 256>& table) {
    const size_t count = size_t{1} << bits;
    if (D.size() - Pos < 3 * count) return false;
    if (!ScanOnly) {
      table.fill(Rgb(0, 0, 0));
      for (size_t i = 0; i < count; ++i) {
        const uint8_t* p = &D[Pos + 3 * i];
        table[i] = Rgb(p[0], p[1], p[2]);
      }
    }
    Pos += 3 * count;
    return true;
  }

  // Steps over data sub-blocks up to their terminator, appending their bytes
  // to `into` when given. False when the file ends first (Pos at its end).
  bool SkipBlocks(std::string* into) {
    while (Pos < D.size()) {
      const size_t n = D[Pos++];
      if (n == 0) return true;
      const size_t have = std::min(n, D.size() - Pos);
      if (into) into->append(reinterpret_cast<const char*>(&D[Pos]), have);
      Pos += have;
    }
    return false;
  }

  // An application extension; NETSCAPE2.0 (and its twin ANIMEXTS1.0) give
  // the loop count in a sub-block starting with 1.
  bool ReadApplication(int& loopLimit) {
    if (Pos < D.size() && D[Pos] == 11 && D.size() - Pos >= 12) {
      const char* id = reinterpret_cast<const char*>(&D[Pos + 1]);
      const bool loops = std::memcmp(id, "NETSCAPE2.0", 11) == 0 || std::memcmp(id, "ANIMEXTS1.0", 11) == 0;
      Pos += 12;
      while (loops && Pos < D.size() && D[Pos] != 0) {
        const size_t n = D[Pos];
        if (n >= 3 && D.size() - Pos > 3 && D[Pos + 1] == 1) loopLimit = U16(&D[Pos + 2]);
        Pos += 1 + std::min(n, D.size() - Pos - 1);
      }
    }
    return SkipBlocks(nullptr);
  }

  // An image descriptor at Pos and its data. `more` turns false when the
  // data ran to the end of the file.
  bool ReadFrame(TFrame& f, const Control& control, int64_t& width, int64_t& height, bool& more) {
    if (D.size() - Pos < 10) return false;
    const uint8_t* p = &D[Pos];
    f.Left = U16(p + 1);
    f.Top = U16(p + 3);
    f.Width = U16(p + 5);
    f.Height = U16(p + 7);
    const uint8_t packed = p[9];
    Pos += 10;
    f.Interlaced = (packed & 0x40) != 0;
    if (packed & 0x80) {
      f.HasLocalColorTable = true;
      f.ColorBits = (packed & 7) + 1;
      if (!ReadTable(f.ColorBits, f.ColorTable)) return false;
    } else if (!ScanOnly) {
      f.ColorTable = Global;
    }
    const int disposal = (control.Packed >> 2) & 7;
    f.Disposal = disposal == 0 || disposal == 1 || disposal == 3 ? disposal : 2;
    f.Delay = control.Delay * 10;
    f.Transparent = (control.Packed & 1) != 0;
    f.TransparentIndex = control.TransparentIndex;
    f.TransparentColor = f.ColorTable[f.TransparentIndex];

    // The screen grows to hold the frame, within the picture limits, once
    // the frame is taken.
    int64_t w = width, h = height;
    if (f.Width > 0 && f.Height > 0) {
      w = std::max<int64_t>(width, f.Left + f.Width);
      h = std::max<int64_t>(height, f.Top + f.Height);
      if (!Picture::SizeAllowed(w, h)) return false;
    }

    if (Pos >= D.size()) return false;
    const int minCodeSize = D[Pos++];
    Codes.clear();
    more = SkipBlocks(ScanOnly ? nullptr : &Codes);
    if (ScanOnly || f.Width == 0 || f.Height == 0) {
      width = w;
      height = h;
      return true;
    }

    const uint64_t area = static_cast<uint64_t>(f.Width) * static_cast<uint64_t>(f.Height);
    const uint64_t room = std::min(area, GifLzwOutputBound(Codes.size(), minCodeSize));
    if (room > kMaxDecodedPixels - Decoded) return false;
    // The frames and the picture they are composed into share the room.
    if (Decoded + room + Picture::BytesFor(w, h) > Room) return false;
    Decoded += room;
    width = w;
    height = h;
    f.Indices.resize(static_cast<size_t>(room));
    const size_t n = DecodeGifLzw(minCodeSize, std::span(reinterpret_cast<const uint8_t*>(Codes.data()), Codes.size()),
                                  f.Indices);
    f.Indices.resize(n);
    if (n < room / 2) f.Indices.shrink_to_fit();
    return true;
  }

  std::span<const uint8_t> D;
  bool ScanOnly;
  size_t Pos = 0;
  std::array<uint32_t, 256> Global{};
  std::string Codes;  // the current frame's sub-blocks joined
  uint64_t Room;
  uint64_t Decoded = 0;
};

bool TGIFImage::Load(std::span<const uint8_t> data, bool scanOnly, uint64_t room) {
  GifReader reader(data, scanOnly, room);
  try {
    if (reader.Read(*this)) return true;
  } catch (const std::bad_alloc&) {
    // Out of memory is a broken picture, like any other it cannot show.
  }
  Clear();
  return false;
}

}  // namespace quillet
