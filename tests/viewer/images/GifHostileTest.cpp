// The GIF decoder on files made to hurt it.
#include <gtest/gtest.h>

#include "tests/viewer/images/PictureFiles.h"
#include "viewer/images/Gif.h"
#include "viewer/images/GifLzw.h"

namespace quillet {
namespace {

// LZW codes of the given sizes, packed least significant bit first.
std::vector<uint8_t> Codes(const std::vector<std::pair<int, int>>& codes) {
  std::vector<uint8_t> out;
  uint32_t acc = 0;
  int n = 0;
  for (const auto& [code, size] : codes) {
    acc |= static_cast<uint32_t>(code) << n;
    n += size;
    while (n >= 8) {
      out.push_back(static_cast<uint8_t>(acc));
      acc >>= 8;
      n -= 8;
    }
  }
  if (n) out.push_back(static_cast<uint8_t>(acc));
  return out;
}

std::vector<uint8_t> Decode(int minCodeSize, const std::vector<uint8_t>& codes, size_t room = 100) {
  std::vector<uint8_t> out(room);
  out.resize(DecodeGifLzw(minCodeSize, codes, out));
  return out;
}

// Minimum code size 2: clear 4, end 5, first free code 6, codes of 3 bits.
TEST(GifLzw, AddsEntriesGrowsTheCodeSizeAndHandlesACodeNotYetInTheTable) {
  // 1; 6 is the entry being made (1 1); 6 again adds 7 = 1 1 1 and fills
  // the 3-bit codes, so the end code comes in 4 bits.
  EXPECT_EQ(Decode(2, Codes({{4, 3}, {1, 3}, {6, 3}, {6, 3}, {5, 4}})), (std::vector<uint8_t>{1, 1, 1, 1, 1}));
  // A clear in the middle starts the table and code size again.
  EXPECT_EQ(Decode(2, Codes({{4, 3}, {2, 3}, {3, 3}, {4, 3}, {0, 3}, {6, 3}, {5, 3}})),
            (std::vector<uint8_t>{2, 3, 0, 0, 0}));
  // Without a leading clear the first code is a literal all the same.
  EXPECT_EQ(Decode(2, Codes({{3, 3}, {5, 3}})), (std::vector<uint8_t>{3}));
}

TEST(GifLzw, StopsAtCodesThatCannotBeRight) {
  // A code above the next free one: what came before stays.
  EXPECT_EQ(Decode(2, Codes({{4, 3}, {1, 3}, {7, 3}, {1, 3}})), (std::vector<uint8_t>{1}));
  // A first code that is no literal.
  EXPECT_TRUE(Decode(2, Codes({{4, 3}, {6, 3}, {1, 3}})).empty());
  EXPECT_TRUE(Decode(2, Codes({{7, 3}, {1, 3}})).empty());
  // Code sizes past 12 bits, or none.
  EXPECT_TRUE(Decode(12, Codes({{4096, 13}, {1, 13}})).empty());
  EXPECT_TRUE(Decode(0, Codes({{1, 1}, {0, 1}})).empty());
  EXPECT_EQ(GifLzwOutputBound(100, 12), 0u);
}

TEST(GifLzw, EarlyEndsAndAFullOutputKeepWhatWasDecoded) {
  // No end code; the data end with the last code's bits.
  EXPECT_EQ(Decode(2, Codes({{4, 3}, {1, 3}, {2, 3}, {4, 3}, {3, 3}, {0, 3}, {4, 3}, {1, 3}})),
            (std::vector<uint8_t>{1, 2, 3, 0, 1}));
  EXPECT_TRUE(Decode(2, {}).empty());
  // Room for 4 of the 5 pixels: the last string loses its tail.
  EXPECT_EQ(Decode(2, Codes({{4, 3}, {1, 3}, {6, 3}, {6, 3}, {5, 4}}), 4), (std::vector<uint8_t>{1, 1, 1, 1}));
  EXPECT_EQ(Decode(2, Codes({{4, 3}, {1, 3}, {2, 3}}), 1), (std::vector<uint8_t>{1}));
}

TEST(GifLzw, TheOutputBoundHoldsWhatTheDataCanMake) {
  // 3 bytes of 3-bit codes: 8 codes, at most 1 + 2 + ... + 8 pixels.
  EXPECT_EQ(GifLzwOutputBound(3, 2), 36u);
  std::vector<uint8_t> worst = Codes({{4, 3}, {1, 3}, {6, 3}, {7, 3}, {8, 4}, {9, 4}});
  EXPECT_LE(Decode(2, worst).size(), GifLzwOutputBound(worst.size(), 2));
}

// ---------------------------------------------------------------- files

// A GIF89a written byte by byte.
struct GifBytes {
  std::vector<uint8_t> D;

  // A logical screen with a global table of 4 colours (red, blue, green,
  // yellow) unless `table` is false.
  GifBytes(int w, int h, bool table = true) {
    Add({'G', 'I', 'F', '8', '9', 'a'});
    Add16(w);
    Add16(h);
    Add({static_cast<uint8_t>(table ? 0x81 : 0), 0, 0});
    if (table) Add({255, 0, 0, 0, 0, 255, 0, 200, 0, 255, 255, 0});
  }
  void Add(std::initializer_list<uint8_t> bytes) { D.insert(D.end(), bytes); }
  void Add16(int v) { Add({static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)}); }
  void Control(int disposal, int delay, int transparent = -1) {
    Add({0x21, 0xF9, 4, static_cast<uint8_t>((disposal << 2) | (transparent >= 0 ? 1 : 0))});
    Add16(delay);
    Add({static_cast<uint8_t>(transparent >= 0 ? transparent : 0), 0});
  }
  // An image of w x h with the given minimum code size and LZW data.
  void Image(int left, int top, int w, int h, const std::vector<uint8_t>& lzw, int minCodeSize = 2) {
    Add({0x2C});
    Add16(left);
    Add16(top);
    Add16(w);
    Add16(h);
    Add({0, static_cast<uint8_t>(minCodeSize)});
    for (size_t i = 0; i < lzw.size(); i += 255) {
      const size_t n = std::min<size_t>(255, lzw.size() - i);
      D.push_back(static_cast<uint8_t>(n));
      D.insert(D.end(), lzw.begin() + static_cast<std::ptrdiff_t>(i), lzw.begin() + static_cast<std::ptrdiff_t>(i + n));
    }
    D.push_back(0);
  }
  // A w x h image of colour index `v` in literal codes, a clear before
  // every second one so that the code size stays at 3 bits.
  void Plain(int left, int top, int w, int h, int v) {
    std::vector<std::pair<int, int>> codes;
    for (int i = 0; i < w * h; ++i) {
      if (i % 2 == 0) codes.push_back({4, 3});
      codes.push_back({v, 3});
    }
    codes.push_back({5, 3});
    Image(left, top, w, h, Codes(codes));
  }
  std::vector<uint8_t> End() {
    D.push_back(0x3B);
    return D;
  }
};

constexpr uint32_t kRed = Rgb(255, 0, 0), kBlue = Rgb(0, 0, 255);

TEST(GifHostile, FramesOutsideTheAllowedPictureEndTheRead) {
  GifBytes far(4, 4);
  far.Plain(65000, 0, 2, 2, 1);
  TGIFImage gif;
  EXPECT_FALSE(gif.Load(far.End()));

  GifBytes second(4, 4);
  second.Plain(0, 0, 4, 4, 1);
  second.Plain(0, 16383, 4, 4, 0);  // would make the screen 16387 tall
  second.Plain(0, 0, 4, 4, 2);
  ASSERT_TRUE(gif.Load(second.End()));
  EXPECT_EQ(gif.FrameCount(), 1);
  EXPECT_EQ(gif.Height(), 4);
  EXPECT_EQ(gif.Composed().At(0, 0), kBlue);
}

TEST(GifHostile, AZeroSizedScreenTakesItsFramesSize) {
  GifBytes bytes(0, 0);
  bytes.Plain(1, 2, 3, 2, 1);
  TGIFImage gif;
  ASSERT_TRUE(gif.Load(bytes.End()));
  EXPECT_EQ(gif.Width(), 4);
  EXPECT_EQ(gif.Height(), 4);
  EXPECT_EQ(gif.Composed().At(3, 3), kBlue);
  EXPECT_EQ(gif.Composed().At(0, 0), 0u);

  GifBytes empty(0, 0);
  empty.Image(0, 0, 0, 0, Codes({{4, 3}, {5, 3}}));
  EXPECT_FALSE(gif.Load(empty.End()));
}

TEST(GifHostile, AHugeScreenInATinyFileIsRefused) {
  for (const auto& [w, h] : {std::pair{65535, 65535}, std::pair{20000, 10}, std::pair{16384, 16384}}) {
    GifBytes bytes(w, h);
    bytes.Plain(0, 0, 1, 1, 1);
    TGIFImage gif;
    EXPECT_FALSE(gif.Load(bytes.End())) << w << " x " << h;
  }
}

TEST(GifHostile, AHugeFrameWithLittleDataAllocatesOnlyWhatTheDataCanFill) {
  GifBytes bytes(3000, 2000);
  // 6 million pixels; 5 of them in the data, which has no end code.
  bytes.Image(0, 0, 3000, 2000, Codes({{4, 3}, {1, 3}, {1, 3}, {4, 3}, {1, 3}, {1, 3}, {4, 3}, {1, 3}}));
  TGIFImage gif;
  ASSERT_TRUE(gif.Load(bytes.End()));
  EXPECT_EQ(gif.Frame(1).Indices.size(), 5u);
  EXPECT_LE(gif.Frame(1).Indices.capacity(), 36u);
  EXPECT_EQ(gif.Composed().At(4, 0), kBlue);
  EXPECT_EQ(gif.Composed().At(5, 0), 0u);  // never decoded: not drawn
  EXPECT_EQ(gif.Composed().At(2999, 1999), 0u);
}

TEST(GifHostile, FramesStopAt64MiBOfPixelsAndAtTheRoomGiven) {
  // Each frame's data could fill 4096 x 4096 (the first code ends it): the
  // fifth would pass 64 MiB, so four are kept.
  GifBytes big(4096, 4096);
  for (int i = 0; i < 5; ++i) big.Image(0, 0, 4096, 4096, std::vector<uint8_t>(9000, 0xFF), 8);
  TGIFImage gif;
  ASSERT_TRUE(gif.Load(big.End()));
  EXPECT_EQ(gif.FrameCount(), 4);

  // Room for the composed picture and what the frames hold, or not.
  GifBytes small(10, 10);
  small.Plain(0, 0, 10, 10, 1);
  small.Plain(0, 0, 10, 20, 2);  // grows the screen to 10 x 20
  const std::vector<uint8_t> file = small.End();
  const struct {
    uint64_t room;
    int frames;
  } cases[] = {{399, 0}, {400 + 100, 1}, {800 + 300 - 1, 1}, {800 + 300, 2}};
  for (const auto& c : cases) {
    EXPECT_EQ(gif.Load(file, false, c.room), c.frames > 0) << c.room;
    EXPECT_EQ(gif.FrameCount(), c.frames) << c.room;
    if (c.frames) {
      EXPECT_LE(gif.DecodedBytes(), c.room);
    }
  }
}

TEST(GifHostile, CodeSizesPastTwelveBitsDecodeNothing) {
  GifBytes bytes(2, 2);
  bytes.Image(0, 0, 2, 2, Codes({{4096, 13}, {1, 13}, {1, 13}}), 12);
  TGIFImage gif;
  ASSERT_TRUE(gif.Load(bytes.End()));
  EXPECT_TRUE(gif.Frame(1).Indices.empty());
  EXPECT_FALSE(gif.Composed().Empty());
  EXPECT_EQ(gif.Composed().At(1, 1), 0u);
}

TEST(GifHostile, IndicesPastTheColourTableAreBlackAndTransparentIndicesPastItHarmless) {
  // A 1-bit local table holds 2 colours; the code size of 2 allows 4.
  GifBytes bytes(2, 1, false);
  bytes.Control(0, 0, 200);
  bytes.D.insert(bytes.D.end(), {0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0x80, 9, 9, 9, 8, 8, 8, 2});
  const std::vector<uint8_t> lzw = Codes({{4, 3}, {1, 3}, {3, 3}, {5, 3}});
  bytes.D.push_back(static_cast<uint8_t>(lzw.size()));
  bytes.D.insert(bytes.D.end(), lzw.begin(), lzw.end());
  bytes.D.push_back(0);
  TGIFImage gif;
  ASSERT_TRUE(gif.Load(bytes.End()));
  EXPECT_EQ(gif.Composed().At(0, 0), Rgb(8, 8, 8));
  EXPECT_EQ(gif.Composed().At(1, 0), Rgb(0, 0, 0));
  EXPECT_EQ(gif.Frame(1).TransparentColor, Rgb(0, 0, 0));
}

TEST(GifHostile, AtMost256FramesAreKept) {
  GifBytes bytes(1, 1);
  for (int i = 0; i < 300; ++i) bytes.Plain(0, 0, 1, 1, i % 4);
  TGIFImage gif;
  ASSERT_TRUE(gif.Load(bytes.End()));
  EXPECT_EQ(gif.FrameCount(), 256);
}

TEST(GifHostile, UnknownBlocksAreSteppedOverAndStrayBytesEndTheRead) {
  GifBytes bytes(2, 2);
  bytes.Plain(0, 0, 2, 2, 1);
  bytes.Add({0x21, 0x99, 3, 1, 2, 3, 0});        // an extension nobody defined
  bytes.Add({0x21, 0x01, 12});                   // plain text: its header and text
  bytes.D.insert(bytes.D.end(), 12, 0);
  bytes.Add({2, 'h', 'i', 0, 0, 0});             // and stray terminators
  bytes.Add({0x21, 0xF9, 2, 9, 9, 0});           // a graphic control too short to use
  bytes.Plain(0, 0, 2, 2, 2);
  bytes.Add({0x55});                             // no block starts so
  bytes.Plain(0, 0, 2, 2, 3);
  TGIFImage gif;
  ASSERT_TRUE(gif.Load(bytes.End()));
  EXPECT_EQ(gif.FrameCount(), 2);
  EXPECT_EQ(gif.Frame(2).Delay, 0);
  EXPECT_FALSE(gif.Frame(2).Transparent);
}

TEST(GifHostile, EveryCutOfAFileIsSafe) {
  // Cut anywhere, a file gives the frames read so far, a frame cut in its
  // data keeps the pixels decoded, nothing is read past the end (the
  // sanitizer build checks).
  for (const char* name : {"gif/local-table.gif", "gif/noise256.gif", "gif/im-optimized.gif"}) {
    SCOPED_TRACE(name);
    const std::vector<uint8_t> whole = test::PictureData(name);
    TGIFImage full;
    ASSERT_TRUE(full.Load(whole));
    for (size_t n = 0; n < whole.size(); ++n) {
      TGIFImage gif;
      const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
      if (!gif.Load(cut)) continue;
      ASSERT_LE(gif.FrameCount(), full.FrameCount());
      if (n + 1 >= whole.size()) {
        EXPECT_EQ(gif.FrameCount(), full.FrameCount());  // only the trailer missing
        EXPECT_EQ(gif.Composed().Pixels, full.Composed().Pixels);
      }
      for (int f = 2; f <= gif.FrameCount(); ++f) gif.SetCurrentFrame(f);
    }
  }
}

}  // namespace
}  // namespace quillet
