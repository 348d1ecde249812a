#include "viewer/images/BmpReader.h"

#include <gtest/gtest.h>

#include "tests/viewer/images/PictureFiles.h"

namespace quillet {
namespace {

using test::PictureData;
using test::References;
using test::SamePicture;

class BmpFile : public ::testing::TestWithParam<const char*> {};

TEST_P(BmpFile, DecodesAsTheReferenceDecoderDoes) {
  const std::string name = std::string("bmp/") + GetParam();
  const auto pic = ReadBmp(PictureData(name));
  ASSERT_TRUE(pic);
  auto refs = References(name);
  ASSERT_EQ(refs.size(), 1u);
  EXPECT_TRUE(SamePicture(*pic, refs[0]));
}

INSTANTIATE_TEST_SUITE_P(EveryDepthAndHeader, BmpFile,
                         ::testing::Values("1bit.bmp", "4bit.bmp", "8bit.bmp", "os2-8bit.bmp", "16bit-555.bmp",
                                           "16bit-565.bmp", "24bit.bmp", "24bit-topdown.bmp", "32bit.bmp",
                                           "32bit-v4-alpha.bmp", "im-v5-argb.bmp", "im-os2-24bit.bmp",
                                           "im-rle8.bmp"));

// In these files colour 0 is magenta and no pixel uses it: the reference
// paints what the stream skips (a delta, a line ended early) in colour 0, we
// leave it transparent.
TEST(BmpRle, SkippedPixelsAreTransparentTheRestAsTheReference) {
  for (const char* name : {"bmp/rle4.bmp", "bmp/rle8.bmp"}) {
    SCOPED_TRACE(name);
    const auto pic = ReadBmp(PictureData(name));
    ASSERT_TRUE(pic);
    Picture ref = References(name).at(0);
    int skipped = 0;
    for (uint32_t& p : ref.Pixels)
      if (p == Rgb(255, 0, 255)) p = 0, ++skipped;
    EXPECT_GT(skipped, 3);
    EXPECT_TRUE(SamePicture(*pic, ref));
  }
}

// ---------------------------------------------------------------- made here

void Put16(std::vector<uint8_t>& d, size_t at, uint32_t v) {
  d[at] = static_cast<uint8_t>(v);
  d[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& d, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) d[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A BMP with a 40-byte header, `colours` table entries (entry i is grey
// i * 16) and the given pixel bytes.
std::vector<uint8_t> Bmp(int32_t w, int32_t h, int bits, uint32_t compression, const std::vector<uint8_t>& pixels,
                         int colours = 0) {
  const size_t offset = 14 + 40 + 4 * static_cast<size_t>(colours);
  std::vector<uint8_t> d(offset, 0);
  d[0] = 'B', d[1] = 'M';
  Put32(d, 2, static_cast<uint32_t>(offset + pixels.size()));
  Put32(d, 10, static_cast<uint32_t>(offset));
  Put32(d, 14, 40);
  Put32(d, 18, static_cast<uint32_t>(w));
  Put32(d, 22, static_cast<uint32_t>(h));
  Put16(d, 26, 1);
  Put16(d, 28, static_cast<uint32_t>(bits));
  Put32(d, 30, compression);
  Put32(d, 46, static_cast<uint32_t>(colours));
  for (int i = 0; i < colours; ++i)
    for (int c = 0; c < 3; ++c) d[54 + 4 * i + c] = static_cast<uint8_t>(i * 16);
  d.insert(d.end(), pixels.begin(), pixels.end());
  return d;
}

constexpr uint32_t kGrey1 = Rgb(16, 16, 16), kGrey2 = Rgb(32, 32, 32), kGrey3 = Rgb(48, 48, 48);

TEST(BmpRle, RunsPastTheRowEndAreCutAndEscapesMove) {
  // 4 x 3, bottom-up: a run of 9 on the bottom row is cut at 4; end of
  // line; a delta of (1, 1) from (0, 1) to (1, 2); two absolute pixels.
  const auto pic = ReadBmp(Bmp(4, 3, 8, 1, {9, 1, 0, 0, 0, 2, 1, 1, 2, 2, 0, 0, 0, 1}, 4));
  ASSERT_TRUE(pic);
  EXPECT_EQ(pic->At(0, 2), kGrey1);
  EXPECT_EQ(pic->At(3, 2), kGrey1);
  EXPECT_EQ(AlphaOf(pic->At(0, 1)), 0u);  // row 1 skipped entirely
  EXPECT_EQ(AlphaOf(pic->At(0, 0)), 0u);
  EXPECT_EQ(pic->At(1, 0), kGrey2);
  EXPECT_EQ(pic->At(2, 0), kGrey2);
  EXPECT_EQ(AlphaOf(pic->At(3, 0)), 0u);
}

TEST(BmpRle, Rle4AlternatesNibblesAndAStreamWithoutItsEndKeepsWhatItDrew) {
  // A run of 3 from 0x12, then an absolute run of 3 nibbles 3 2 1 padded to
  // a word; no end-of-bitmap escape.
  const auto pic = ReadBmp(Bmp(6, 1, 4, 2, {3, 0x12, 0, 3, 0x32, 0x10}, 4));
  ASSERT_TRUE(pic);
  EXPECT_EQ(pic->At(0, 0), kGrey1);
  EXPECT_EQ(pic->At(1, 0), kGrey2);
  EXPECT_EQ(pic->At(2, 0), kGrey1);
  EXPECT_EQ(pic->At(3, 0), kGrey3);
  EXPECT_EQ(pic->At(4, 0), kGrey2);
  EXPECT_EQ(pic->At(5, 0), kGrey1);
}

TEST(BmpRle, EscapesThatLeaveThePictureOrTheDataStopIt) {
  // A delta far below the picture, an absolute run longer than the data.
  EXPECT_TRUE(ReadBmp(Bmp(4, 2, 8, 1, {0, 2, 200, 200, 1, 1}, 4)));
  EXPECT_TRUE(ReadBmp(Bmp(4, 2, 8, 1, {0, 250, 1, 2}, 4)));
  const auto pic = ReadBmp(Bmp(4, 2, 8, 1, {2, 1, 0, 2, 255, 0, 9, 1}, 4));
  ASSERT_TRUE(pic);
  EXPECT_EQ(pic->At(1, 1), kGrey1);
}

TEST(BmpHeader, EightBitsWithFewerColoursThanIndicesShowsBlackBeyondTheTable) {
  const auto pic = ReadBmp(Bmp(2, 1, 8, 0, {1, 200, 0, 0}, 2));
  ASSERT_TRUE(pic);
  EXPECT_EQ(pic->At(0, 0), kGrey1);
  EXPECT_EQ(pic->At(1, 0), Rgb(0, 0, 0));
}

TEST(BmpHeader, AnAlphaMaskNoPixelUsesMeansOpaque) {
  // 32 bits with alpha bit fields (the masks after a 40-byte header), every
  // alpha 0: a writer that never filled the alpha in.
  std::vector<uint8_t> d = Bmp(1, 1, 32, 6, {});
  const std::vector<uint8_t> masks = {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0, 0xFF};
  d.insert(d.end(), masks.begin(), masks.end());
  Put32(d, 10, static_cast<uint32_t>(d.size()));
  for (const uint8_t b : {0x30, 0x20, 0x10, 0x00}) d.push_back(b);
  auto pic = ReadBmp(d);
  ASSERT_TRUE(pic);
  EXPECT_EQ(pic->At(0, 0), Rgb(0x10, 0x20, 0x30));
  d.back() = 0x80;
  pic = ReadBmp(d);
  ASSERT_TRUE(pic);
  EXPECT_EQ(pic->At(0, 0), Argb(0x80, 0x10, 0x20, 0x30));
}

TEST(BmpHeader, ThirtyTwoBitsWithAShortHeaderKeepAlphaWhenAnyPixelHasSome) {
  // Two pixels, no masks: the fourth bytes are alpha unless all are 0.
  const struct {
    uint8_t alpha0, alpha1;
    uint32_t pixel0, pixel1;
  } cases[] = {{0, 0, Rgb(3, 2, 1), Rgb(6, 5, 4)},
               {0, 0x80, Argb(0, 3, 2, 1), Argb(0x80, 6, 5, 4)},
               {0xFF, 0xFF, Rgb(3, 2, 1), Rgb(6, 5, 4)}};
  for (const auto& c : cases) {
    const auto pic = ReadBmp(Bmp(2, 1, 32, 0, {1, 2, 3, c.alpha0, 4, 5, 6, c.alpha1}));
    ASSERT_TRUE(pic);
    EXPECT_EQ(pic->At(0, 0), c.pixel0) << int(c.alpha1);
    EXPECT_EQ(pic->At(1, 0), c.pixel1) << int(c.alpha1);
  }
}

TEST(BmpBroken, InconsistentHeadersGiveNoPicture) {
  const std::vector<uint8_t> row = {1, 2, 3, 0};
  EXPECT_TRUE(ReadBmp(Bmp(1, 1, 24, 0, row)));
  EXPECT_FALSE(ReadBmp(Bmp(0, 1, 24, 0, row)));                      // no width
  EXPECT_FALSE(ReadBmp(Bmp(1, 0, 24, 0, row)));                      // no height
  EXPECT_FALSE(ReadBmp(Bmp(-1, 1, 24, 0, row)));                     // negative width
  EXPECT_FALSE(ReadBmp(Bmp(1, 1, 2, 0, row, 4)));                    // no such depth
  EXPECT_FALSE(ReadBmp(Bmp(1, 1, 24, 1, row)));                      // RLE8 of 24 bits
  EXPECT_FALSE(ReadBmp(Bmp(2, 1, 4, 1, row, 4)));                    // RLE8 of 4 bits
  EXPECT_FALSE(ReadBmp(Bmp(1, 1, 24, 4, row)));                      // an embedded JPEG
  EXPECT_FALSE(ReadBmp(Bmp(1, 1, 8, 0, row)));                       // no colour table
  EXPECT_FALSE(ReadBmp(Bmp(20000, 1, 24, 0, row)));                  // wider than a picture may be
  EXPECT_FALSE(ReadBmp(Bmp(16384, 16384, 1, 0, row)));               // more pixels than allowed
  EXPECT_FALSE(ReadBmp(Bmp(16384, 4096, 1, 2, row, 2)));             // RLE4 of 1 bit
  EXPECT_FALSE(ReadBmp(Bmp(8000, 8000, 24, 0, std::vector<uint8_t>(86, 0))));  // 100 bytes for 192 MB
  EXPECT_FALSE(ReadBmp(Bmp(2, 2, 24, 0, {1, 2, 3, 4, 5, 6, 0, 0, 1})));  // the last row cut short

  std::vector<uint8_t> d = Bmp(1, 1, 24, 0, row);
  Put32(d, 10, 5000);  // pixels past the end
  EXPECT_FALSE(ReadBmp(d));
  Put32(d, 10, 20);  // pixels inside the header
  EXPECT_FALSE(ReadBmp(d));
  d = Bmp(1, 1, 24, 0, row);
  Put32(d, 14, 4000);  // a header longer than the file
  EXPECT_FALSE(ReadBmp(d));
  d[0] = 'M';
  EXPECT_FALSE(ReadBmp(d));

  // Bit fields whose red mask has a gap.
  d = Bmp(1, 1, 16, 3, {});
  for (const uint8_t b : {0x05, 0, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0, 0, 0}) d.push_back(b);
  Put32(d, 10, 14 + 40 + 12);
  EXPECT_FALSE(ReadBmp(d));
  d[14 + 40] = 0x00, d[14 + 40 + 1] = 0xF8;  // 5-6-5 as it should be
  EXPECT_TRUE(ReadBmp(d));
}

TEST(BmpBroken, EveryCutOfEveryFileIsSafe) {
  // A cut file must not be read past its end (the sanitizer build checks);
  // uncompressed pixels cut short give no picture at all.
  for (const char* name : {"bmp/1bit.bmp", "bmp/4bit.bmp", "bmp/os2-8bit.bmp", "bmp/16bit-565.bmp",
                           "bmp/24bit-topdown.bmp", "bmp/32bit-v4-alpha.bmp", "bmp/im-v5-argb.bmp",
                           "bmp/rle4.bmp", "bmp/rle8.bmp"}) {
    SCOPED_TRACE(name);
    const std::vector<uint8_t> whole = PictureData(name);
    const bool rle = std::string(name).find("rle") != std::string::npos;
    for (size_t n = 0; n < whole.size(); ++n) {
      const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
      const auto pic = ReadBmp(cut);
      // The last row may go without its padding (at most 3 bytes).
      if (!rle && n + 3 < whole.size()) {
        ASSERT_FALSE(pic) << "cut at " << n;
      }
    }
  }
}

}  // namespace
}  // namespace quillet
