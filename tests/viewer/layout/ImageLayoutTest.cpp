// Pictures in the flow of text: line heights by alignment, floats the text
// flows beside, widths for tables, the hot spots of pictures and maps, the
// background picture and the cache across loads. On the fixed canvas:
// 12-point lines 18 high with the baseline 14 below their top (descent 4),
// characters 8 wide.
#include <gtest/gtest.h>

#include "tests/viewer/layout/ImageFixture.h"
#include "viewer/document/DocumentDump.h"

namespace quillet {
namespace {

using test::CallsStarting;
using test::PicturePage;
using Lines = std::vector<std::string>;

struct Page : PicturePage {
  Page(std::string_view html, int width, bool showImages = true) : PicturePage(showImages) {
    Parse(html);
    Layout(width);
  }
  std::string Dump() { return DumpDocument(Doc(), u"", 0); }
  THotSpot HotSpot(int x, int y) {
    THotSpot hot;
    Doc().GetURL(canvas, x, y, hot);
    return hot;
  }
};

const char* const kBox = "SRC='bmp/24bit.bmp' WIDTH=40 HEIGHT=40";

std::string Img(std::string_view extra = "") { return std::string("<IMG ") + kBox + " " + std::string(extra) + ">"; }

TEST(ImageLine, APictureOnTheBaselineRaisesItsLineAndTheTextAroundItMoves) {
  Page p("ab" + Img() + "cd", 400);
  EXPECT_EQ(p.Dump(), "title ||\nTSection y=0 h=44\n  line x=0 y=0 h=44 |ab[img]cd|\n");
  p.Draw();
  EXPECT_EQ(CallsStarting(p.canvas, {"TextOut", "DrawPicture"}),
            (Lines{"TextOut 0,40 \"ab\"", "DrawPicture 13x7 at 16,0,56,40", "TextOut 56,40 \"cd\""}));
  EXPECT_EQ(p.Image().LayoutX, 16);
  EXPECT_EQ(p.Image().LayoutY, 0);
}

TEST(ImageLine, TopAndMiddlePicturesGiveTheirRoomBelowTheText) {
  Page top("ab" + Img("ALIGN=top") + "cd", 400);
  const TSection& t = top.SectionOf(top.Image());
  EXPECT_EQ(t.Lines[0].SpaceBefore, 0);
  EXPECT_EQ(t.Lines[0].SpaceAfter, 22);
  EXPECT_EQ(top.Image().LayoutY, 0);

  Page middle("ab" + Img("ALIGN=middle") + "cd", 400);
  const TSection& m = middle.SectionOf(middle.Image());
  EXPECT_EQ(m.Lines[0].SpaceBefore, 11);
  EXPECT_EQ(m.Lines[0].SpaceAfter, 11);
  // Centred on the text: baseline 25, + descent 4 - half the font 8 - half the picture 20.
  EXPECT_EQ(middle.Image().LayoutY, 1);
  middle.Draw();
  EXPECT_EQ(CallsStarting(middle.canvas, {"DrawPicture"}), (Lines{"DrawPicture 13x7 at 16,1,56,41"}));
}

TEST(ImageLine, EveryRowOfAMiddlePictureInALinkIsTheLink) {
  // A middle picture may reach a pixel below its line; the paragraph
  // after it must not take that row from it.
  for (const int height : {39, 40, 41, 42}) {
    Page p("<A HREF=u.htm>ab<IMG SRC='bmp/24bit.bmp' WIDTH=40 HEIGHT=" + std::to_string(height) +
               " ALIGN=middle></A><P>next",
           400);
    const TImageObj& image = p.Image();
    const int top = p.SectionOf(image).YValue + image.LayoutY;
    for (int y = top; y < top + image.ImageHeight; ++y) {
      const THotSpot hot = p.HotSpot(image.LayoutX + 5, y);
      EXPECT_TRUE(hot.Url && hot.Url->Url == u"u.htm") << height << " at " << y;
    }
    EXPECT_GE(p.SectionOf(image).DrawHeight, image.LayoutY + image.ImageHeight) << height;
  }
}

TEST(ImageLine, AWidePictureMovesToTheNextLine) {
  Page p("aaaa " + Img() + " bbbb", 60);
  EXPECT_EQ(p.Dump(),
            "title ||\nTSection y=0 h=80\n  line x=0 y=0 h=18 |aaaa |\n  line x=0 y=18 h=44 |[img] |\n"
            "  line x=0 y=62 h=18 |bbbb|\n");
}

TEST(ImageFloat, TextFlowsBesideALeftFloatUntilItsBottom) {
  Page p(Img("ALIGN=left") + " aaa bbb ccc ddd eee fff ggg hhh", 100);
  const TSection& s = p.SectionOf(p.Image());
  EXPECT_EQ(s.Buff.substr(0, 4), u"\x04" u"aaa");  // no space after the float
  EXPECT_EQ(p.Image().LayoutX, 0);
  EXPECT_EQ(p.Image().LayoutY, 0);
  int top = 0;
  for (const LineRec& line : s.Lines) {
    // The float's 40 pixels and the 5 kept beside it.
    EXPECT_EQ(line.LineIndent, top < 40 ? 45 : 0) << "line at " << top;
    top += line.Height();
  }
  EXPECT_EQ(s.Lines.size(), 5u);
  EXPECT_GE(s.DrawHeight, 40);
  p.Draw();
  EXPECT_EQ(CallsStarting(p.canvas, {"DrawPicture"}), (Lines{"DrawPicture 13x7 at 0,0,40,40"}));

  // A break that clears the left side starts below the float.
  Page cleared(Img("ALIGN=left") + "aaa<BR CLEAR=left>bbb", 400);
  EXPECT_EQ(cleared.Dump(),
            "title ||\nTSection y=0 h=18\n  line x=45 y=0 h=18 |[img]aaa|\nTSection y=18 h=40\n"
            "  line x=0 y=18 h=22 ||\n  line x=0 y=40 h=18 |bbb|\n");
}

TEST(ImageFloat, ARightFloatNarrowsTheLinesFromTheRight) {
  Page p(Img("ALIGN=right HSPACE=10") + "aaa bbb ccc ddd eee fff", 100);
  EXPECT_EQ(p.Image().LayoutX, 60);
  const TSection& s = p.SectionOf(p.Image());
  // 50 pixels left for text beside it: six characters.
  EXPECT_EQ(std::u16string(s.LineText(s.Lines[0])), u"\x04" u"aaa ");
  EXPECT_EQ(s.Lines[0].LineIndent, 0);
  p.Draw();
  EXPECT_EQ(CallsStarting(p.canvas, {"DrawPicture"}), (Lines{"DrawPicture 13x7 at 60,0,100,40"}));
}

TEST(ImageFloat, AFloatMetAfterTextStartsBelowItsLineAndLaterParagraphsFlowBesideIt) {
  Page p("aaa " + Img("ALIGN=left") + " bbb<P>ccc", 400);
  EXPECT_EQ(p.Image().LayoutY, 18);
  const TSection& first = p.SectionOf(p.Image());
  EXPECT_EQ(first.SectionHeight, 18);
  EXPECT_EQ(first.DrawHeight, 58);
  EXPECT_EQ(first.Lines[0].LineIndent, 0);
  EXPECT_EQ(p.Dump(),
            "title ||\nTSection y=0 h=18\n  line x=0 y=0 h=18 |aaa [img] bbb|\nTParagraphSpace y=18 h=14\n"
            "TSection y=32 h=18\n  line x=45 y=32 h=18 |ccc|\n");
  p.Draw();
  EXPECT_EQ(CallsStarting(p.canvas, {"DrawPicture"}), (Lines{"DrawPicture 13x7 at 0,18,40,58"}));
  // A paint of a band below the line still paints the float.
  p.canvas.Calls.clear();
  p.Doc().Draw(p.canvas, {0, 40, 400, 60}, 0, 0, 400);
  EXPECT_EQ(CallsStarting(p.canvas, {"DrawPicture"}), (Lines{"DrawPicture 13x7 at 0,18,40,58"}));
  // The document is as tall as the float.
  EXPECT_EQ(p.Layout(400), 58);
}

TEST(ImageWidths, PicturesSetTheNarrowestAndWidestWidthsOfTheirText) {
  Page p("ab " + std::string("<IMG SRC='bmp/24bit.bmp' WIDTH=100 HEIGHT=10>") + " cd", 400);
  int mn = 0, mx = 0;
  p.Doc().MinMaxWidth(p.canvas, mn, mx);
  EXPECT_EQ(mn, 100);
  EXPECT_EQ(mx, 24 + 100 + 24);

  Page floats("ab " + Img("ALIGN=left") + " cd <IMG SRC='bmp/24bit.bmp' WIDTH=90% HEIGHT=10>", 400);
  floats.Doc().MinMaxWidth(floats.canvas, mn, mx);
  // The float's 45 on both; the percentage counts for neither.
  EXPECT_EQ(mn, 16 + 45);
  EXPECT_EQ(mx, 24 + 32 + 45);
}

TEST(ImageHotSpots, AClientMapGivesTheLinkOfItsAreaAtThePointInThePicture) {
  Page p("<MAP NAME=nav><AREA HREF=left.htm COORDS=0,0,19,39><AREA HREF=right.htm TARGET=main COORDS=20,0,39,39>"
         "</MAP><A HREF=page.htm>" +
             Img("USEMAP=#nav") + "</A>" + "<A HREF=page.htm>" + Img("USEMAP=#NAV2") + "</A>",
         400);
  // In a link: a one-pixel frame, so the picture starts at 1,1.
  THotSpot right = p.HotSpot(21, 10);
  ASSERT_TRUE(right.Url);
  EXPECT_EQ(right.Url->Url, u"right.htm");
  EXPECT_EQ(right.Url->Target, u"main");
  EXPECT_EQ(p.HotSpot(20, 10).Url->Url, u"left.htm");
  // A map's name is compared exactly: "NAV2" names no map, so the link counts.
  EXPECT_EQ(p.HotSpot(50, 10).Url->Url, u"page.htm");
}

TEST(ImageHotSpots, AServerMapAddsThePointToTheLink) {
  Page p("<A HREF=go.cgi TARGET=t>" + Img("ISMAP") + "</A> " + Img(), 400);
  const THotSpot hot = p.HotSpot(11, 6);
  ASSERT_TRUE(hot.Url);
  EXPECT_EQ(hot.Url->Url, u"go.cgi?10,5");
  EXPECT_EQ(hot.Url->Target, u"t");
  // A picture in no link is no hot spot, but it is an object under the mouse.
  EXPECT_FALSE(p.HotSpot(60, 30).Found());
  TObjectHit hit;
  ASSERT_TRUE(p.Doc().PtInObject(60, 30, hit));
  EXPECT_EQ(hit.Image, &p.Image(1));
  EXPECT_EQ(hit.X, 10);
  EXPECT_EQ(hit.Y, 28);
  EXPECT_FALSE(p.Doc().PtInObject(100, 30, hit));
}

TEST(ImageDocument, TheBackgroundPictureIsTiledUnderThePageWhilePicturesAreShown) {
  Page p("<BODY BACKGROUND='bmp/24bit.bmp' BGCOLOR=white>x", 400);
  const Picture* bg = p.Doc().GetBackgroundBitmap();
  ASSERT_NE(bg, nullptr);
  EXPECT_EQ(bg->Width, 13);
  p.canvas.Calls.clear();
  p.Doc().PaintBackground(p.canvas, {0, 0, 100, 50}, {-3, -20});
  EXPECT_EQ(p.canvas.Calls, (Lines{"FillRect 0,0,100,50 #FFFFFF", "TilePicture 13x7 over 0,0,100,50 from -3,-20"}));
  const std::u16string source = Utf8ToUtf16(test::PictureDataPath("bmp/24bit.bmp"));
  EXPECT_EQ(p.Doc().ImageCache().Find(source)->UseCount, 1);
  p.Doc().Clear();
  EXPECT_EQ(p.Doc().BackgroundBitmap(), nullptr);
  EXPECT_EQ(p.Doc().ImageCache().Find(source)->UseCount, 0);

  Page off("<BODY BACKGROUND='bmp/24bit.bmp' BGCOLOR=white>x", 400, false);
  EXPECT_EQ(off.Doc().GetBackgroundBitmap(), nullptr);
  off.canvas.Calls.clear();
  off.Doc().PaintBackground(off.canvas, {0, 0, 100, 50}, {0, 0});
  EXPECT_EQ(off.canvas.Calls, (Lines{"FillRect 0,0,100,50 #FFFFFF"}));
  EXPECT_TRUE(off.files.Reads.empty());
}

TEST(ImageDocument, PanesShareOneCacheAndAnUnusedPictureGoesAtTheNextLoadAfterCacheCountZero) {
  auto cache = std::make_shared<TStringBitmapList>();
  PicturePage first, second;
  first.Doc().SetImageCache(cache);
  second.Doc().SetImageCache(cache);
  first.Parse(Img()).Layout(400);
  second.Parse(Img()).Layout(400);
  EXPECT_EQ(first.files.Reads.size(), 1u);
  EXPECT_TRUE(second.files.Reads.empty());
  const std::u16string source = Utf8ToUtf16(test::PictureDataPath("bmp/24bit.bmp"));
  EXPECT_EQ(cache->Find(source)->UseCount, 2);

  cache->SetLimit(0);  // the pane's ImageCacheCount
  // A load: the document is cleared, then the cache purged.
  first.Doc().Clear();
  cache->Purge();
  ASSERT_NE(cache->Find(source), nullptr);  // the other pane still shows it
  second.Doc().Clear();
  EXPECT_NE(cache->Find(source), nullptr);
  cache->Purge();
  EXPECT_EQ(cache->Find(source), nullptr);
}

TEST(ImageParser, PicturesStandInPreformattedTextAndInTheirCell) {
  test::ParsedPage p("<PRE>a <IMG SRC=x.gif> b</PRE>");
  const TSection& pre = p.SectionWith(u"a ");
  EXPECT_EQ(pre.Buff, u"a \x04 b");
  ASSERT_EQ(pre.Images().size(), 1u);
  EXPECT_EQ(pre.Images()[0]->Pos, 2);
  EXPECT_EQ(pre.Images()[0]->Cell, &p.doc);
  EXPECT_EQ(pre.ImageAt(2), pre.Images()[0].get());
  EXPECT_EQ(pre.ImageAt(1), nullptr);
}

}  // namespace
}  // namespace quillet
