#include <gtest/gtest.h>

#include <cmath>

#include "tests/viewer/images/PictureFiles.h"
#include "viewer/images/JpegReader.h"
#include "viewer/images/PngReader.h"

namespace quillet {
namespace {

using test::PictureData;
using test::References;
using test::SamePicture;

// ---------------------------------------------------------------- PNG

struct PngCase {
  const char* Name;
  int Tolerance;  // 16-bit samples: the reference rounds them its own way
};

class PngFile : public ::testing::TestWithParam<PngCase> {};

TEST_P(PngFile, DecodesAsTheReferenceDecoderDoes) {
  const std::string name = std::string("png/") + GetParam().Name;
  const auto pic = ReadPng(PictureData(name));
  ASSERT_TRUE(pic);
  EXPECT_TRUE(SamePicture(*pic, References(name).at(0), GetParam().Tolerance));
}

INSTANTIATE_TEST_SUITE_P(EveryKind, PngFile,
                         ::testing::Values(PngCase{"rgba.png", 0}, PngCase{"rgba16.png", 1},
                                           PngCase{"rgb16.png", 1}, PngCase{"gray.png", 0},
                                           PngCase{"interlaced.png", 0}, PngCase{"palette-trns.png", 0},
                                           PngCase{"gray-trns.png", 0}));

TEST(Png, PaletteAlphaComesFromTrnsAndEntriesPastItAreOpaque) {
  const auto pic = ReadPng(PictureData("png/palette-trns.png"));
  ASSERT_TRUE(pic);
  // Pixel (x + y) % 5 is the palette entry; tRNS gives entry 0 alpha 0 and
  // entry 1 alpha 128.
  EXPECT_EQ(pic->At(0, 0) >> 24, 0u);
  EXPECT_EQ(pic->At(1, 0), Argb(128, 200, 0, 0));
  EXPECT_EQ(pic->At(2, 0), Rgb(0, 200, 0));
  EXPECT_EQ(pic->At(4, 0), Rgb(250, 250, 250));
}

TEST(Png, TheInterlacedFileEqualsItsSource) {
  const auto plain = ReadPng(PictureData("png/rgba.png"));
  const auto interlaced = ReadPng(PictureData("png/interlaced.png"));
  ASSERT_TRUE(plain && interlaced);
  EXPECT_EQ(plain->Pixels, interlaced->Pixels);
}

// A PNG of the given IHDR and raw IDAT bytes (CRCs as they should be).
std::vector<uint8_t> Png(uint32_t w, uint32_t h, uint8_t depth, uint8_t type, const std::vector<uint8_t>& idat) {
  std::vector<uint8_t> d = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  const auto chunk = [&](const char* kind, const std::vector<uint8_t>& body) {
    for (int i = 3; i >= 0; --i) d.push_back(static_cast<uint8_t>(body.size() >> (8 * i)));
    const size_t start = d.size();
    d.insert(d.end(), kind, kind + 4);
    d.insert(d.end(), body.begin(), body.end());
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = start; i < d.size(); ++i) {
      crc ^= d[i];
      for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    crc ^= 0xFFFFFFFFu;
    for (int i = 3; i >= 0; --i) d.push_back(static_cast<uint8_t>(crc >> (8 * i)));
  };
  std::vector<uint8_t> ihdr;
  for (const uint32_t v : {w, h})
    for (int i = 3; i >= 0; --i) ihdr.push_back(static_cast<uint8_t>(v >> (8 * i)));
  for (const uint8_t b : {depth, type, uint8_t{0}, uint8_t{0}, uint8_t{0}}) ihdr.push_back(b);
  chunk("IHDR", ihdr);
  chunk("IDAT", idat);
  chunk("IEND", {});
  return d;
}

TEST(PngBroken, DamagedOrOversizedFilesGiveNoPicture) {
  // A stored (uncompressed) deflate block of one row: filter 0, grey 0x7F.
  const std::vector<uint8_t> row = {0x78, 0x01, 0x01, 0x02, 0x00, 0xFD, 0xFF, 0x00, 0x7F, 0x00, 0x81, 0x00, 0x80};
  const auto good = ReadPng(Png(1, 1, 8, 0, row));
  ASSERT_TRUE(good);
  EXPECT_EQ(good->At(0, 0), Rgb(0x7F, 0x7F, 0x7F));

  EXPECT_FALSE(ReadPng(Png(20000, 1, 8, 0, row)));       // wider than a picture may be
  EXPECT_FALSE(ReadPng(Png(16384, 16384, 8, 0, row)));   // more pixels than allowed
  EXPECT_FALSE(ReadPng(Png(8000, 8000, 8, 6, row)));     // 13 bytes of data for 244 MiB
  EXPECT_FALSE(ReadPng(Png(1, 3, 8, 0, row)));           // rows missing
  EXPECT_FALSE(ReadPng(Png(1, 1, 8, 0, {0x78, 0x01, 0x01, 0x02})));  // the data cut short
  EXPECT_FALSE(ReadPng(Png(1, 1, 7, 0, row)));           // no such depth
  std::vector<uint8_t> d = Png(1, 1, 8, 0, row);
  d[40] ^= 1;  // inside IDAT: its CRC no longer holds
  EXPECT_FALSE(ReadPng(d));
  // A chunk whose length passes the end of the file (found by fuzzing:
  // libpng allocated the 1.9 GB the length asked for).
  d = Png(1, 1, 8, 0, row);
  const std::vector<uint8_t> huge = {0x74, 0x52, 0x4E, 0x53, 's', 'P', 'L', 'T', 0, 0, 0, 0};
  d.insert(d.begin() + 33, huge.begin(), huge.end());
  EXPECT_FALSE(ReadPng(d));

  const std::vector<uint8_t> whole = PictureData("png/interlaced.png");
  for (size_t n = 0; n + 12 < whole.size(); ++n)  // every cut before IEND
    ASSERT_FALSE(ReadPng(std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n))))
        << "cut at " << n;
}

// ---------------------------------------------------------------- JPEG

// Mean and largest channel difference from the source the JPEGs were made
// of: lossy, so only roughly the right colours.
void ExpectRoughly(const Picture& pic, const Picture& source, bool grey) {
  ASSERT_EQ(pic.Width, source.Width);
  ASSERT_EQ(pic.Height, source.Height);
  double sum = 0;
  int worst = 0;
  for (size_t i = 0; i < pic.Pixels.size(); ++i) {
    const uint32_t p = pic.Pixels[i], s = source.Pixels[i];
    ASSERT_EQ(AlphaOf(p), 0xFFu);
    const int sr = static_cast<int>(RedOf(s)), sg = static_cast<int>(GreenOf(s)), sb = static_cast<int>(BlueOf(s));
    const int want[3] = {grey ? (299 * sr + 587 * sg + 114 * sb) / 1000 : sr, grey ? -1 : sg, grey ? -1 : sb};
    const int got[3] = {static_cast<int>(RedOf(p)), static_cast<int>(GreenOf(p)), static_cast<int>(BlueOf(p))};
    if (grey) {
      EXPECT_EQ(got[0], got[1]);
      EXPECT_EQ(got[0], got[2]);
    }
    for (int c = 0; c < (grey ? 1 : 3); ++c) {
      const int diff = std::abs(got[c] - want[c]);
      sum += diff;
      worst = std::max(worst, diff);
    }
  }
  EXPECT_LT(sum / (static_cast<double>(pic.Pixels.size()) * (grey ? 1 : 3)), 6.0);
  EXPECT_LT(worst, 80);  // at the yellow square's hard edges
}

TEST(Jpeg, ColourGreyCmykAndProgressiveFilesDecodeToTheirSource) {
  const std::vector<Picture> source = test::ReadPams(test::PictureDataPath("jpeg/photo.pam"));
  ASSERT_EQ(source.size(), 1u);
  for (const char* name : {"jpeg/photo.jpg", "jpeg/gray.jpg", "jpeg/cmyk.jpg", "jpeg/progressive.jpg"}) {
    SCOPED_TRACE(name);
    const auto pic = ReadJpeg(PictureData(name));
    ASSERT_TRUE(pic);
    ExpectRoughly(*pic, source[0], std::string(name).find("gray") != std::string::npos);
  }
}

TEST(JpegBroken, DamagedOrOversizedFilesAreSafe) {
  const std::vector<uint8_t> whole = PictureData("jpeg/progressive.jpg");
  // Cut anywhere: no picture, or the part the library could decode, never
  // a read past the end (the sanitizer build checks).
  for (size_t n = 0; n < whole.size(); ++n) {
    const auto pic = ReadJpeg(std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n)));
    if (pic) {
      EXPECT_EQ(pic->Width, 41);
      EXPECT_EQ(pic->Height, 29);
    }
  }
  EXPECT_FALSE(ReadJpeg(std::vector<uint8_t>(whole.begin(), whole.begin() + 100)));  // no scan at all
  EXPECT_FALSE(ReadJpeg(std::vector<uint8_t>{0xFF, 0xD8, 0xFF, 0xD9}));
  EXPECT_FALSE(ReadJpeg(PictureData("png/rgba.png")));

  // The frame header's size made huge: 20000 (too wide), then 16000 x 4000
  // (allowed, but far more than these few bytes can code).
  std::vector<uint8_t> d = PictureData("jpeg/photo.jpg");
  size_t sof = 2;
  while (sof + 9 < d.size() && !(d[sof] == 0xFF && (d[sof + 1] == 0xC0 || d[sof + 1] == 0xC2))) ++sof;
  ASSERT_LT(sof + 9, d.size());
  d[sof + 5] = 0x3E, d[sof + 6] = 0x80;  // height 16000
  d[sof + 7] = 0x4E, d[sof + 8] = 0x20;  // width 20000
  EXPECT_FALSE(ReadJpeg(d));
  d[sof + 7] = 0x0F, d[sof + 8] = 0xA0;  // width 4000
  EXPECT_FALSE(ReadJpeg(d));
}

}  // namespace
}  // namespace quillet
