#include "viewer/images/PictureReader.h"

#include <gtest/gtest.h>

#include "tests/viewer/images/PictureFiles.h"
#include "viewer/images/ImageSignature.h"

namespace quillet {
namespace {

using test::PictureData;

std::vector<uint8_t> Bytes(std::string_view s) { return std::vector<uint8_t>(s.begin(), s.end()); }

TEST(ImageSignature, TellsTheKindFromTheFirstBytes) {
  EXPECT_EQ(SignatureOf(Bytes("GIF89a")), ImageSignature::Gif89a);
  EXPECT_EQ(SignatureOf(Bytes("GIF87a")), ImageSignature::Gif87a);
  EXPECT_EQ(SignatureOf(Bytes("GIF8")), ImageSignature::Gif87a);
  EXPECT_EQ(SignatureOf(Bytes("BMxx")), ImageSignature::Bmp);
  EXPECT_EQ(SignatureOf(Bytes("\x89PNG\r\n")), ImageSignature::Png);
  EXPECT_EQ(SignatureOf(Bytes("\xFF\xD8\xFF")), ImageSignature::Jpeg);
  EXPECT_EQ(SignatureOf(Bytes("GIF")), ImageSignature::Unknown);
  EXPECT_EQ(SignatureOf(Bytes("B")), ImageSignature::Unknown);
  EXPECT_EQ(SignatureOf(Bytes("")), ImageSignature::Unknown);
  EXPECT_EQ(SignatureOf(Bytes("<html>")), ImageSignature::Unknown);
  EXPECT_EQ(SignatureOf(PictureData("jpeg/photo.jpg")), ImageSignature::Jpeg);
  EXPECT_TRUE(IsGif(SignatureOf(PictureData("gif/gif87a.gif"))));
}

TEST(CornerTransparency, TheLowerLeftColourBecomesTransparentEverywhere) {
  Picture pic(3, 2, Rgb(1, 2, 3));
  pic.At(1, 0) = Rgb(9, 9, 9);
  pic.At(2, 1) = Rgb(9, 9, 9);
  ASSERT_TRUE(MakeCornerTransparent(pic));
  EXPECT_EQ(AlphaOf(pic.At(0, 0)), 0u);
  EXPECT_EQ(AlphaOf(pic.At(0, 1)), 0u);
  EXPECT_EQ(pic.At(1, 0), Rgb(9, 9, 9));
  EXPECT_EQ(pic.At(2, 1), Rgb(9, 9, 9));
  Picture empty;
  EXPECT_FALSE(MakeCornerTransparent(empty));
}

TEST(ReadPicture, ChoosesTheReaderByTheBytesAndReportsTheTransparency) {
  auto bmp = ReadPicture(PictureData("bmp/24bit.bmp"), false);
  ASSERT_TRUE(bmp);
  EXPECT_EQ(bmp->Kind, Transparency::None);
  EXPECT_FALSE(bmp->Pic.HasTransparency());

  bmp = ReadPicture(PictureData("bmp/24bit.bmp"), true);  // TRANSP
  ASSERT_TRUE(bmp);
  EXPECT_EQ(bmp->Kind, Transparency::Corner);
  EXPECT_EQ(AlphaOf(bmp->Pic.At(0, bmp->Pic.Height - 1)), 0u);

  // A picture with alpha of its own keeps it, TRANSP or not.
  const auto png = ReadPicture(PictureData("png/palette-trns.png"), true);
  ASSERT_TRUE(png);
  EXPECT_EQ(png->Kind, Transparency::Alpha);
  EXPECT_EQ(png->Pic.At(1, 0), Argb(128, 200, 0, 0));
  const auto opaque = ReadPicture(PictureData("png/rgb16.png"), false);
  ASSERT_TRUE(opaque);
  EXPECT_EQ(opaque->Kind, Transparency::None);

  const auto jpeg = ReadPicture(PictureData("jpeg/photo.jpg"), false);
  ASSERT_TRUE(jpeg);
  EXPECT_EQ(jpeg->Pic.Width, 41);

  // GIF has its own decoder; other bytes are no picture.
  EXPECT_FALSE(ReadPicture(PictureData("gif/gif87a.gif"), false));
  EXPECT_FALSE(ReadPicture(Bytes("<html><body>not a picture</body></html>"), true));
  EXPECT_FALSE(ReadPicture(Bytes("BM"), false));
}

}  // namespace
}  // namespace quillet
