// Pictures in the text: their attributes, the boxes they take, and how they
// are drawn, pictures on and off, on the fixed canvas (12-point text 16
// pixels high with descent 4 and leading 2, characters 8 wide; the
// placeholders' Arial 8 points 11 high with ascent 9, characters 5 wide).
#include "viewer/layout/ImageObj.h"

#include <gtest/gtest.h>

#include "tests/viewer/layout/ImageFixture.h"
#include "viewer/images/PlaceholderPictures.h"

namespace quillet {
namespace {

using test::CallsStarting;
using test::PicturePage;
using Lines = std::vector<std::string>;

// The first picture of a page of one paragraph, laid out at width.
struct OnePicture {
  PicturePage page;
  explicit OnePicture(std::string_view html, bool showImages = true, int width = 400) : page(showImages) {
    page.Parse(html);
    page.Layout(width);
  }
  TImageObj& Image() { return page.Image(); }
};

TEST(ImageAttributes, AreReadAsTheTagGivesThem) {
  test::ParsedPage p(
      "<IMG SRC=a.gif ALT='A picture' ALIGN=absmiddle BORDER=0 WIDTH=50% HEIGHT=0 TRANSP ISMAP "
      "USEMAP=' #Nav ' HSPACE=-30>"
      "<IMG ALIGN=left WIDTH=150% HEIGHT=-4 USEMAP=#><IMG ALIGN=Right BORDER WIDTH=-7>"
      "<IMG ALIGN=top><IMG ALIGN=baseline><IMG ALIGN=MIDDLE>");
  const auto& images = p.Section(0).Images();
  ASSERT_EQ(images.size(), 6u);
  const TImageObj& a = *images[0];
  EXPECT_EQ(a.Source, u"a.gif");
  EXPECT_EQ(a.Alt, u"A picture");
  EXPECT_EQ(a.Align, ImageAlign::Middle);
  EXPECT_TRUE(a.NoBorder);
  EXPECT_EQ(a.SpecWidth, 50);
  EXPECT_TRUE(a.PercentWidth);
  EXPECT_EQ(a.SpecHeight, 1);
  EXPECT_TRUE(a.Transparent);
  EXPECT_TRUE(a.IsMap);
  EXPECT_TRUE(a.UsesMap);
  EXPECT_EQ(a.MapName, u"NAV");
  EXPECT_EQ(a.HSpace, 20);
  EXPECT_EQ(a.Pos, 0);

  const TImageObj& b = *images[1];
  EXPECT_EQ(b.Align, ImageAlign::Left);
  EXPECT_TRUE(b.Floats());
  EXPECT_EQ(b.SpecWidth, 150);  // past 100 percent: pixels
  EXPECT_FALSE(b.PercentWidth);
  EXPECT_EQ(b.SpecHeight, 1);
  EXPECT_EQ(b.MapName, u"#");
  EXPECT_EQ(b.HSpace, TImageObj::kDefaultHSpace);
  EXPECT_FALSE(b.NoBorder);

  const TImageObj& c = *images[2];
  EXPECT_EQ(c.Align, ImageAlign::Right);
  EXPECT_FALSE(c.NoBorder);  // a bare BORDER is 1
  EXPECT_EQ(c.SpecWidth, 0);
  EXPECT_EQ(images[3]->Align, ImageAlign::Top);
  EXPECT_EQ(images[4]->Align, ImageAlign::Bottom);
  EXPECT_EQ(images[5]->Align, ImageAlign::Middle);
  EXPECT_EQ(images[5]->Pos, 5);
}

TEST(ImageSize, WithPicturesOffABoxHoldsThePlaceholderAndTheAltTextAndNoFileIsRead) {
  OnePicture f("<IMG SRC='bmp/24bit.bmp' ALT=\"Logo\">", false);
  TImageObj& image = f.Image();
  EXPECT_EQ(image.Shows(f.page.Doc()), TImageObj::Showing::ImagesOff);
  EXPECT_EQ(image.ObjWidth, 24 + 4 * 5 + 2);
  EXPECT_EQ(image.ObjHeight, 24);
  EXPECT_TRUE(f.page.files.Reads.empty());

  const Lines calls = f.page.Draw();
  EXPECT_EQ(CallsStarting(f.page.canvas, {"DrawPicture", "TextOut", "Line"}),
            (Lines{"DrawPicture 16x16 at 4,4,20,20", "TextOut 24,13 \"Logo\"",
                   // Sunken: the shadow left and top, silver on a white page right and bottom.
                   "Line 0,23-0,0 #A0A0A0", "Line 0,0-45,0 #A0A0A0", "Line 45,0-45,23 #C0C0C0",
                   "Line 45,23-0,23 #C0C0C0"}));
  ASSERT_EQ(f.page.canvas.Drawn.size(), 1u);
  EXPECT_EQ(f.page.canvas.Drawn[0].Pixels, ImagesOffPicture().Pixels);
  EXPECT_TRUE(f.page.files.Reads.empty());
}

TEST(ImageSize, ASmallGivenBoxIsKeptAndShowsNoPlaceholderPicture) {
  OnePicture f("<IMG SRC='bmp/24bit.bmp' ALT=Logo WIDTH=10 HEIGHT=10>", false);
  EXPECT_EQ(f.Image().ImageWidth, 10);
  EXPECT_EQ(f.Image().ImageHeight, 10);
  f.page.Draw();
  EXPECT_EQ(CallsStarting(f.page.canvas, {"DrawPicture", "TextOut", "Line"}),
            (Lines{"Line 0,9-0,0 #A0A0A0", "Line 0,0-9,0 #A0A0A0", "Line 9,0-9,9 #C0C0C0", "Line 9,9-0,9 #C0C0C0"}));
}

TEST(ImageSize, AltTextIsWrappedIntoTheBoxInWholeLines) {
  // From x 24 to 72: "one two" (35 wide) fits a line, "three" goes below,
  // and "four" would pass the box's bottom.
  OnePicture f("<IMG ALT=' one  two\tthree four' WIDTH=74 HEIGHT=30>", false);
  f.page.Draw();
  EXPECT_EQ(CallsStarting(f.page.canvas, {"TextOut"}), (Lines{"TextOut 24,13 \"one two\"", "TextOut 24,24 \"three\""}));
}

TEST(ImageSize, AMissingPictureShowsTheBrokenPlaceholderWithTransparentCorners) {
  OnePicture f("<IMG SRC='bmp/missing.bmp'>");
  TImageObj& image = f.Image();
  EXPECT_EQ(image.Shows(f.page.Doc()), TImageObj::Showing::Broken);
  EXPECT_EQ(f.page.files.Reads, (Lines{test::PictureDataPath("bmp/missing.bmp")}));
  EXPECT_EQ(image.ObjWidth, 26);
  EXPECT_EQ(image.ObjHeight, 24);
  f.page.Draw();
  EXPECT_EQ(CallsStarting(f.page.canvas, {"DrawPicture"}), (Lines{"DrawPicture 16x16 at 4,4,20,20"}));
  ASSERT_EQ(f.page.canvas.Drawn.size(), 1u);
  const Picture& drawn = f.page.canvas.Drawn[0];
  EXPECT_EQ(drawn.Pixels, BrokenImagePicture().Pixels);
  for (const Point corner : {Point{0, 0}, Point{15, 0}, Point{0, 15}, Point{15, 15}, Point{2, 0}, Point{0, 2}})
    EXPECT_EQ(AlphaOf(drawn.At(corner.X, corner.Y)), 0u) << corner.X << "," << corner.Y;
  // The page is read once, not at every layout.
  f.page.Layout(300);
  EXPECT_EQ(f.page.files.Reads.size(), 1u);
}

TEST(ImageSize, APictureIsDrawnStretchedToItsBoxAndKeepsItsAspectFromOneSide) {
  OnePicture natural("<IMG SRC='bmp/24bit.bmp'>");
  EXPECT_EQ(natural.Image().ImageWidth, 13);
  EXPECT_EQ(natural.Image().ImageHeight, 7);
  EXPECT_TRUE(natural.Image().SizeFixed);
  natural.page.Draw();
  EXPECT_EQ(CallsStarting(natural.page.canvas, {"DrawPicture", "Line", "TextOut"}),
            (Lines{"DrawPicture 13x7 at 0,0,13,7"}));

  OnePicture high("<IMG SRC='bmp/24bit.bmp' HEIGHT=14>");
  EXPECT_EQ(high.Image().ImageWidth, 26);
  OnePicture wide("<IMG SRC='bmp/24bit.bmp' WIDTH=39>");
  EXPECT_EQ(wide.Image().ImageHeight, 21);
  OnePicture both("<IMG SRC='bmp/24bit.bmp' WIDTH=5 HEIGHT=50>");
  EXPECT_EQ(both.Image().ImageWidth, 5);
  both.page.Draw();
  EXPECT_EQ(CallsStarting(both.page.canvas, {"DrawPicture"}), (Lines{"DrawPicture 13x7 at 0,0,5,50"}));
  OnePicture flat("<IMG SRC='bmp/24bit.bmp' HEIGHT=0>");
  EXPECT_EQ(flat.Image().ImageHeight, 1);
  EXPECT_EQ(flat.Image().ImageWidth, 1);
}

TEST(ImageSize, APercentageOfTheWidthFollowsTheLayoutWithTheNaturalHeight) {
  OnePicture f("<IMG SRC='bmp/24bit.bmp' WIDTH=50%>", true, 400);
  EXPECT_EQ(f.Image().ImageWidth, 200);
  EXPECT_EQ(f.Image().ImageHeight, 7);
  EXPECT_FALSE(f.Image().SizeFixed);
  f.page.Layout(300);
  EXPECT_EQ(f.Image().ImageWidth, 150);
  // Pictures off, a percentage with a height stays a percentage.
  OnePicture off("<IMG SRC='bmp/24bit.bmp' WIDTH=50% HEIGHT=30>", false, 400);
  EXPECT_EQ(off.Image().ImageWidth, 200);
  EXPECT_EQ(off.Image().ImageHeight, 30);
}

TEST(ImageSize, InsideALinkAPictureHasAFrameInTheLinkColourUnlessBorderIsZero) {
  OnePicture f("<A HREF=u.htm><IMG SRC='bmp/24bit.bmp'></A>");
  TImageObj& image = f.Image();
  EXPECT_TRUE(image.HasBorder);
  EXPECT_EQ(image.ImageWidth, 15);
  EXPECT_EQ(image.ImageHeight, 9);
  f.page.Draw();
  EXPECT_EQ(CallsStarting(f.page.canvas, {"DrawPicture", "FrameRect"}),
            (Lines{"DrawPicture 13x7 at 1,1,14,8", "FrameRect 0,0,15,9 #0000FF"}));

  OnePicture none("<A HREF=u.htm><IMG SRC='bmp/24bit.bmp' BORDER=0></A>");
  EXPECT_FALSE(none.Image().HasBorder);
  EXPECT_EQ(none.Image().ImageWidth, 13);

  // A placeholder in a link: its alt text in the link colour, the frame
  // instead of the sunken one.
  OnePicture off("<A HREF=u.htm><IMG ALT=Go></A>", false);
  off.page.Draw();
  EXPECT_EQ(CallsStarting(off.page.canvas, {"DrawPicture", "TextOut", "FrameRect", "Line"}),
            (Lines{"DrawPicture 16x16 at 5,5,21,21", "TextOut 24,13 \"Go\"", "FrameRect 0,0,38,26 #0000FF"}));
}

TEST(ImageSize, TurningPicturesOnLoadsThemAndTurningThemOffShowsThePlaceholderAgain) {
  OnePicture f("<IMG SRC='bmp/24bit.bmp' WIDTH=26>", false);
  EXPECT_EQ(f.Image().ImageWidth, 26);
  EXPECT_EQ(f.Image().ImageHeight, 24);
  f.page.Doc().ShowImages = true;
  f.page.Layout(400);
  EXPECT_EQ(f.Image().Shows(f.page.Doc()), TImageObj::Showing::Picture);
  EXPECT_EQ(f.Image().ImageHeight, 14);
  f.page.Doc().ShowImages = false;
  f.page.Layout(400);
  EXPECT_EQ(f.Image().ImageHeight, 24);
  EXPECT_EQ(f.page.files.Reads.size(), 1u);
}

TEST(ImageSize, AnAnimationShowsItsCurrentFrameAndEachImageAnimatesItsOwnCopy) {
  OnePicture f("<IMG SRC='gif/anim-loop0.gif'><IMG SRC='gif/anim-loop0.gif' WIDTH=12 HEIGHT=10>");
  TImageObj& first = f.page.Image(0);
  TImageObj& second = f.page.Image(1);
  ASSERT_EQ(first.Shows(f.page.Doc()), TImageObj::Showing::Animation);
  ASSERT_NE(second.Animation(), nullptr);
  EXPECT_NE(first.Animation(), second.Animation());
  EXPECT_FALSE(first.Animation()->PrivateCopy());
  EXPECT_TRUE(second.Animation()->PrivateCopy());
  EXPECT_EQ(f.page.Doc().AnimatedGifList, (std::vector<TGIFImage*>{first.Animation(), second.Animation()}));

  second.Animation()->SetCurrentFrame(2);
  f.page.Draw();
  EXPECT_EQ(CallsStarting(f.page.canvas, {"DrawPicture"}),
            (Lines{"DrawPicture 6x5 at 0,5,6,10", "DrawPicture 6x5 at 6,0,18,10"}));
  ASSERT_EQ(f.page.canvas.Drawn.size(), 2u);
  EXPECT_EQ(f.page.canvas.Drawn[1].Pixels, second.Animation()->Composed().Pixels);
  EXPECT_NE(f.page.canvas.Drawn[0].Pixels, f.page.canvas.Drawn[1].Pixels);
  // Drawing tells the animation where it was drawn, for its repaints.
  EXPECT_TRUE(second.Animation()->Drawn());
  EXPECT_EQ(second.Animation()->LastDraw(), (GifRect{6, 0, 12, 10}));
}

TEST(ImageSize, APictureTheHostDeliversLaterWaitsAsThePlaceholder) {
  PicturePage page;
  int asked = 0;
  page.Doc().Callbacks().ImageRequest = [&](const std::string&, TImageStream& stream) {
    ++asked;
    stream = TImageStream::WaitStream();
  };
  page.Parse("<IMG SRC=later.png ALT=Soon><IMG SRC=' later.png'>");
  page.Layout(400);
  EXPECT_EQ(page.Image(0).Shows(page.Doc()), TImageObj::Showing::Awaited);
  EXPECT_EQ(page.Image(1).Shows(page.Doc()), TImageObj::Showing::Awaited);
  EXPECT_EQ(asked, 1);
  ASSERT_EQ(page.Doc().MissingImageList.size(), 2u);
  EXPECT_EQ(page.Doc().MissingImageList[0].Name, u"later.png");
  EXPECT_EQ(page.Doc().MissingImageList[1].Image, &page.Image(1));
  // Sources go to the host as written.
  EXPECT_EQ(page.Image(0).Source, u"later.png");
  page.Draw();
  EXPECT_EQ(page.canvas.Drawn[0].Pixels, ImagesOffPicture().Pixels);
}

}  // namespace
}  // namespace quillet
