#include "viewer/images/Gif.h"

#include <gtest/gtest.h>

#include "tests/viewer/images/PictureFiles.h"

namespace quillet {
namespace {

using test::PictureData;
using test::References;
using test::SamePicture;

TGIFImage LoadGif(const std::string& name, bool scanOnly = false) {
  TGIFImage gif;
  EXPECT_TRUE(gif.Load(PictureData(name), scanOnly)) << name;
  return gif;
}

class GifFile : public ::testing::TestWithParam<const char*> {};

// Every composed frame as ImageMagick's -coalesce makes it: colours where
// opaque, the transparent pixels as a mask.
TEST_P(GifFile, ComposesEveryFrameAsTheReferenceDecoderDoes) {
  const std::string name = std::string("gif/") + GetParam();
  TGIFImage gif = LoadGif(name);
  const std::vector<Picture> refs = References(name);
  ASSERT_EQ(static_cast<size_t>(gif.FrameCount()), refs.size());
  for (int n = 1; n <= gif.FrameCount(); ++n) {
    SCOPED_TRACE("frame " + std::to_string(n));
    gif.SetCurrentFrame(n);
    EXPECT_EQ(gif.CurrentFrame(), n);
    EXPECT_TRUE(SamePicture(gif.Composed(), refs[static_cast<size_t>(n - 1)]));
  }
}

INSTANTIATE_TEST_SUITE_P(
    OurOwnAndOtherWriters, GifFile,
    ::testing::Values("gif87a.gif", "anim-loop0.gif", "anim-once.gif", "delay0.gif", "interlaced.gif",
                      "interlaced-twin.gif", "disposal2.gif", "disposal3.gif", "local-table.gif", "noise256.gif",
                      "noise256-full-table.gif", "im-optimized.gif", "im-interlaced.gif"));

TEST(Gif, AGif87aSingleFrameIsAPlainPicture) {
  const TGIFImage gif = LoadGif("gif/gif87a.gif");
  EXPECT_EQ(gif.FrameCount(), 1);
  EXPECT_FALSE(gif.Animated());
  EXPECT_FALSE(gif.AnyTransparent());
  EXPECT_EQ(gif.LoopLimit(), 1);
  EXPECT_EQ(gif.ColorBits(), 4);
  const Picture plain = gif.PlainPicture();
  EXPECT_TRUE(SamePicture(plain, References("gif/gif87a.gif").at(0)));
  EXPECT_FALSE(plain.HasTransparency());
}

TEST(Gif, ATwoFrameGifIsAnimated) {
  const TGIFImage gif = LoadGif("gif/anim-loop0.gif");
  EXPECT_TRUE(gif.Animated());
  EXPECT_EQ(gif.LoopLimit(), 0);
  EXPECT_EQ(gif.Frame(1).Delay, 100);
  EXPECT_EQ(gif.Frame(2).Delay, 200);
  EXPECT_EQ(LoadGif("gif/anim-once.gif").LoopLimit(), 1);
  EXPECT_EQ(LoadGif("gif/anim-loop2.gif").LoopLimit(), 2);
}

TEST(Gif, AnInterlacedGifDecodesToTheSamePixelsAsItsTwin) {
  const TGIFImage interlaced = LoadGif("gif/interlaced.gif");
  const TGIFImage twin = LoadGif("gif/interlaced-twin.gif");
  EXPECT_TRUE(interlaced.Frame(1).Interlaced);
  EXPECT_FALSE(twin.Frame(1).Interlaced);
  EXPECT_EQ(interlaced.Composed().Pixels, twin.Composed().Pixels);
  EXPECT_EQ(interlaced.Frame(1).ToPicture().Pixels, twin.Frame(1).ToPicture().Pixels);
}

TEST(Gif, InterlacedRowsComeInFourPasses) {
  TFrame f;
  f.Interlaced = true;
  f.Height = 10;
  std::vector<int> rows;
  for (int r = 0; r < 10; ++r) rows.push_back(f.RowOf(r));
  EXPECT_EQ(rows, (std::vector<int>{0, 8, 4, 2, 6, 1, 3, 5, 7, 9}));
  f.Height = 1;
  EXPECT_EQ(f.RowOf(0), 0);
}

constexpr uint32_t kRed = Rgb(255, 0, 0), kBlue = Rgb(0, 0, 255), kGreen = Rgb(0, 200, 0);

TEST(Gif, DisposalTwoLeavesATransparentHoleAndThreeRestores) {
  TGIFImage two = LoadGif("gif/disposal2.gif");
  EXPECT_EQ(two.Frame(2).Disposal, 2);
  two.SetCurrentFrame(2);
  EXPECT_EQ(two.Composed().At(3, 3), kBlue);
  two.SetCurrentFrame(3);
  EXPECT_EQ(two.Composed().At(3, 3), 0u);  // the hole
  EXPECT_EQ(two.Composed().At(0, 0), kGreen);
  EXPECT_EQ(two.Composed().At(7, 7), kRed);

  TGIFImage three = LoadGif("gif/disposal3.gif");
  EXPECT_EQ(three.Frame(2).Disposal, 3);
  const Picture first = three.Composed();
  three.SetCurrentFrame(2);
  EXPECT_EQ(three.Composed().At(3, 3), kGreen);
  three.SetCurrentFrame(3);
  for (int y = 2; y < 6; ++y)
    for (int x = 2; x < 6; ++x) EXPECT_EQ(three.Composed().At(x, y), first.At(x, y));
}

TEST(Gif, FramesBeyondTheLogicalScreenEnlargeIt) {
  // A 4 x 4 screen; frame 2 is 5 x 3 at (2, 3).
  TGIFImage gif = LoadGif("gif/beyond-screen.gif");
  EXPECT_EQ(gif.Width(), 7);
  EXPECT_EQ(gif.Height(), 6);
  EXPECT_EQ(gif.Composed().At(3, 3), kRed);
  EXPECT_EQ(gif.Composed().At(6, 5), 0u);  // no frame there yet
  gif.SetCurrentFrame(2);
  EXPECT_EQ(gif.Composed().At(6, 5), kBlue);
  EXPECT_EQ(gif.Composed().At(0, 0), kRed);
  EXPECT_EQ(gif.Composed().At(6, 0), 0u);  // never covered: transparent
}

TEST(Gif, LocalTablesTransparencyAndCommentsAreKept) {
  const TGIFImage gif = LoadGif("gif/local-table.gif");
  ASSERT_EQ(gif.FrameCount(), 2);
  EXPECT_EQ(gif.Frame(1).Comment, "made by make_pictures.py");
  EXPECT_FALSE(gif.Frame(1).HasLocalColorTable);
  const TFrame& f = gif.Frame(2);
  EXPECT_TRUE(f.HasLocalColorTable);
  EXPECT_EQ(f.ColorBits, 2);
  EXPECT_EQ(f.Left, 1);
  EXPECT_EQ(f.Top, 1);
  EXPECT_TRUE(f.Transparent);
  EXPECT_EQ(f.TransparentIndex, 0);
  EXPECT_EQ(f.TransparentColor, Rgb(9, 9, 9));
  EXPECT_EQ(f.Delay, 50);
  EXPECT_TRUE(gif.AnyTransparent());
  const Picture alone = f.ToPicture();
  EXPECT_EQ(alone.At(0, 0), 0u);  // index 0 is the transparent one
  EXPECT_EQ(alone.At(1, 0), Rgb(250, 128, 0));
}

TEST(Gif, AScanReadsTheFramesWithoutDecodingThem) {
  TGIFImage gif = LoadGif("gif/disposal3.gif", true);
  EXPECT_TRUE(gif.ScanOnly());
  EXPECT_EQ(gif.FrameCount(), 3);
  EXPECT_TRUE(gif.Animated());
  EXPECT_EQ(gif.Width(), 8);
  EXPECT_TRUE(gif.Frame(2).Indices.empty());
  EXPECT_EQ(gif.Frame(2).Disposal, 3);
  EXPECT_TRUE(gif.Composed().Empty());
  EXPECT_EQ(gif.RecordDraw(0, 0, 8, 8), nullptr);
  EXPECT_FALSE(LoadGif("gif/gif87a.gif", true).Animated());
}

TEST(Gif, ACopyHasItsOwnPictureAndAnimation) {
  TGIFImage source = LoadGif("gif/disposal3.gif");
  source.SetCurrentFrame(3);
  const auto copy = source.Copy();
  EXPECT_TRUE(copy->PrivateCopy());
  EXPECT_FALSE(source.PrivateCopy());
  EXPECT_EQ(copy->CurrentFrame(), 1);
  EXPECT_EQ(copy->FrameCount(), 3);
  EXPECT_TRUE(SamePicture(copy->Composed(), References("gif/disposal3.gif").at(0)));
  copy->SetCurrentFrame(2);
  EXPECT_EQ(source.CurrentFrame(), 3);
  EXPECT_TRUE(SamePicture(source.Composed(), References("gif/disposal3.gif").at(2)));
}

TEST(Gif, SetCurrentFrameWrapsAndComposesFromTheStart) {
  TGIFImage gif = LoadGif("gif/disposal2.gif");
  const auto refs = References("gif/disposal2.gif");
  gif.SetCurrentFrame(0);  // the last
  EXPECT_EQ(gif.CurrentFrame(), 3);
  EXPECT_TRUE(SamePicture(gif.Composed(), refs[2]));
  gif.SetCurrentFrame(4);  // past the last: the first
  EXPECT_EQ(gif.CurrentFrame(), 1);
  EXPECT_TRUE(SamePicture(gif.Composed(), refs[0]));
  gif.SetCurrentFrame(2);
  EXPECT_TRUE(SamePicture(gif.Composed(), refs[1]));
}

TEST(Gif, NotAGifOrNoFrameIsNothing) {
  TGIFImage gif;
  EXPECT_FALSE(gif.Load(PictureData("bmp/24bit.bmp")));
  EXPECT_TRUE(gif.Empty());
  const std::vector<uint8_t> noFrames = {'G', 'I', 'F', '8', '9', 'a', 4, 0, 4, 0, 0, 0, 0, 0x3B};
  EXPECT_FALSE(gif.Load(noFrames));
  // A failed load clears what was there.
  ASSERT_TRUE(gif.Load(PictureData("gif/anim-loop0.gif")));
  EXPECT_FALSE(gif.Load(noFrames));
  EXPECT_TRUE(gif.Empty());
  EXPECT_EQ(gif.FrameCount(), 0);
  EXPECT_EQ(gif.RecordDraw(0, 0, 1, 1), nullptr);
}

}  // namespace
}  // namespace quillet
