// The shared picture cache and the fetch: keys, uses and ages, purging,
// pictures from files and from the host, GIF frames, corner transparency.
#include "viewer/images/ImageCache.h"

#include <gtest/gtest.h>

#include "platform/AsciiCase.h"
#include "tests/support/TempDir.h"
#include "tests/viewer/layout/ImageFixture.h"
#include "viewer/images/PlaceholderPictures.h"
#include "viewer/layout/ImageObj.h"
#include "viewer/layout/SectionList.h"

namespace quillet {
namespace {

using test::PictureData;
using test::PictureDataPath;
using test::RecordingFileSystem;
using test::TempDir;
using test::WriteBytes;

std::u16string Path16(const std::string& name) { return Utf8ToUtf16(PictureDataPath(name)); }

struct CacheFixture {
  std::shared_ptr<TStringBitmapList> cache = std::make_shared<TStringBitmapList>();
  RecordingFileSystem files;
  TImageRequest request;

  TFetchedImage Fetch(std::u16string_view source, bool corner = false) {
    return FetchImage(cache, request, request ? nullptr : &files, source, corner);
  }
  int Uses(std::u16string_view source) const {
    const TBitmapItem* item = cache->Find(source);
    return item ? item->UseCount : -1;
  }
};

TEST(ImageCache, KeysAreTrimmedAndKeepTheirLetterCase) {
  EXPECT_EQ(TStringBitmapList::KeyOf(u" \tpics/Logo.gif \r\n"), u"pics/Logo.gif");
  EXPECT_EQ(TStringBitmapList::KeyOf(u"caf\u00e9.png"), u"caf\u00e9.png");
}

TEST(ImageCache, APictureIsReadOnceAndSharedByEveryImageThatUsesIt) {
  CacheFixture f;
  const std::u16string source = Path16("bmp/24bit.bmp");
  TFetchedImage first = f.Fetch(source);
  ASSERT_TRUE(first.Found());
  EXPECT_FALSE(first.FromCache);
  EXPECT_EQ(first.Pic->Width, 13);
  EXPECT_EQ(f.Uses(source), 1);

  // The same source with blanks around it.
  TFetchedImage second = f.Fetch(u"  " + source + u" ");
  EXPECT_TRUE(second.FromCache);
  EXPECT_EQ(second.Pic, first.Pic);
  EXPECT_EQ(f.files.Reads.size(), 1u);
  EXPECT_EQ(f.Uses(source), 2);

  first.Lease.Reset();
  EXPECT_EQ(f.Uses(source), 1);
  { TFetchedImage gone = std::move(second); }
  EXPECT_EQ(f.Uses(source), 0);
}

TEST(ImageCache, NamesThatDifferInLetterCaseAreTwoPictures) {
  // Two files on Linux: each shows its own picture, also when the first
  // is already cached.
  TempDir dir;
  const std::string upper = dir / "A.bmp", lower = dir / "a.bmp";
  const auto bytes = [](const char* name) {
    const std::vector<uint8_t> d = PictureData(name);
    return std::string(d.begin(), d.end());
  };
  WriteBytes(upper, bytes("bmp/24bit.bmp"));
  WriteBytes(lower, bytes("bmp/1bit.bmp"));
  CacheFixture f;
  const TFetchedImage a = f.Fetch(Utf8ToUtf16(upper));
  const TFetchedImage b = f.Fetch(Utf8ToUtf16(lower));
  ASSERT_TRUE(a.Found() && b.Found());
  EXPECT_FALSE(b.FromCache);
  EXPECT_NE(a.Pic->Pixels, b.Pic->Pixels);
  EXPECT_EQ(f.cache->Count(), 2u);
}

TEST(ImageCache, AnUnusedPictureSurvivesAsManyLoadsAsTheLimitSays) {
  CacheFixture f;
  const std::u16string unused = Path16("bmp/24bit.bmp");
  const std::u16string used = Path16("bmp/8bit.bmp");
  f.Fetch(unused);  // its lease goes at once
  TFetchedImage held = f.Fetch(used);
  f.cache->SetLimit(2);
  f.cache->Purge();
  f.cache->Purge();
  EXPECT_NE(f.cache->Find(unused), nullptr);
  f.cache->Purge();
  EXPECT_EQ(f.cache->Find(unused), nullptr);
  EXPECT_NE(f.cache->Find(used), nullptr);

  // A fetch makes a picture young again.
  held.Lease.Reset();
  f.cache->Purge();
  f.cache->Purge();
  f.Fetch(used);
  f.cache->Purge();
  f.cache->Purge();
  EXPECT_NE(f.cache->Find(used), nullptr);
}

TEST(ImageCache, ALowerLimitFreesOldUnusedPicturesAtOnceAndLimitsAreClamped) {
  CacheFixture f;
  const std::u16string source = Path16("bmp/24bit.bmp");
  EXPECT_EQ(f.cache->Limit(), TStringBitmapList::kInitialLimit);
  f.Fetch(source);
  f.cache->Purge();
  f.cache->SetLimit(1);
  EXPECT_NE(f.cache->Find(source), nullptr);  // age 1 is not above 1
  f.cache->SetLimit(0);
  EXPECT_EQ(f.cache->Find(source), nullptr);
  f.cache->SetLimit(100);
  EXPECT_EQ(f.cache->Limit(), 20);
  f.cache->SetLimit(-3);
  EXPECT_EQ(f.cache->Limit(), 0);
}

TEST(ImageCache, APictureStillShownOutlivesItsEntry) {
  CacheFixture f;
  const std::u16string source = Path16("bmp/24bit.bmp");
  TFetchedImage held = f.Fetch(source);
  f.cache->Clear();
  EXPECT_EQ(f.cache->Count(), 0u);
  EXPECT_EQ(held.Pic->Width, 13);
  // The picture is read again into a new entry; the old use is not its.
  TFetchedImage again = f.Fetch(source);
  EXPECT_FALSE(again.FromCache);
  held.Lease.Reset();
  EXPECT_EQ(f.Uses(source), 1);
}

TEST(ImageCache, CornerTransparencyIsForTheImagesThatAskForIt) {
  CacheFixture f;
  const std::u16string source = Path16("bmp/24bit.bmp");
  TFetchedImage plain = f.Fetch(source);
  EXPECT_EQ(plain.Kind, Transparency::None);
  EXPECT_FALSE(plain.Pic->HasTransparency());

  TFetchedImage corner = f.Fetch(source, true);
  EXPECT_EQ(corner.Kind, Transparency::Corner);
  const Picture& pic = *corner.Pic;
  const uint32_t key = plain.Pic->At(0, pic.Height - 1) & 0xFFFFFF;
  for (int y = 0; y < pic.Height; ++y)
    for (int x = 0; x < pic.Width; ++x)
      EXPECT_EQ(AlphaOf(pic.At(x, y)) == 0, (plain.Pic->At(x, y) & 0xFFFFFF) == key) << x << "," << y;

  // Images without TRANSP go on drawing the opaque picture.
  TFetchedImage later = f.Fetch(source);
  EXPECT_EQ(later.Kind, Transparency::None);
  EXPECT_EQ(later.Pic, plain.Pic);

  // A picture with alpha of its own keeps it.
  TFetchedImage alpha = f.Fetch(Path16("png/rgba.png"), true);
  EXPECT_EQ(alpha.Kind, Transparency::Alpha);
  TFetchedImage fresh = f.Fetch(Path16("jpeg/photo.jpg"), true);
  EXPECT_EQ(fresh.Kind, Transparency::Corner);
  EXPECT_TRUE(fresh.Pic->HasTransparency());
}

TEST(ImageCache, OneGifFrameIsAStillPictureAndSeveralStayAnAnimation) {
  CacheFixture f;
  TFetchedImage still = f.Fetch(Path16("gif/gif87a.gif"));
  ASSERT_TRUE(still.Pic);
  EXPECT_FALSE(still.Gif);
  EXPECT_EQ(still.Pic->Width, 9);

  TFetchedImage anim = f.Fetch(Path16("gif/anim-loop0.gif"));
  ASSERT_TRUE(anim.Gif);
  EXPECT_FALSE(anim.Pic);
  EXPECT_GT(anim.Gif->FrameCount(), 1);
  TFetchedImage again = f.Fetch(Path16("gif/anim-loop0.gif"));
  EXPECT_TRUE(again.FromCache);
  EXPECT_EQ(again.Gif, anim.Gif);
}

TEST(ImageCache, FilesThatHoldNoPictureOfTheirKindGiveNothing) {
  CacheFixture f;
  EXPECT_FALSE(f.Fetch(Path16("bmp/missing.bmp")).Found());
  EXPECT_FALSE(f.Fetch(u"").Found());
  EXPECT_FALSE(f.Fetch(u"   ").Found());
  EXPECT_FALSE(f.Fetch(Path16("make_pictures.py")).Found());
  // A GIF is read as one by its name; a ".gif" that holds a BMP is read
  // by its signature.
  test::TempDir dir;
  const std::string renamed = dir.Path() + "/picture.bmp";
  f.files.WriteFile(renamed, f.files.ReadFile(PictureDataPath("gif/gif87a.gif")));
  EXPECT_FALSE(f.Fetch(Utf8ToUtf16(renamed)).Found());
  const std::string bmpAsGif = dir.Path() + "/picture.GIF";
  f.files.WriteFile(bmpAsGif, f.files.ReadFile(PictureDataPath("bmp/24bit.bmp")));
  EXPECT_TRUE(f.Fetch(Utf8ToUtf16(bmpAsGif)).Found());
  EXPECT_EQ(f.cache->Count(), 1u);
}

TEST(ImageCache, TheHostDeliversBytesNowOrLater) {
  CacheFixture f;
  std::vector<std::string> asked;
  f.request = [&](const std::string& src, TImageStream& stream) {
    asked.push_back(src);
    if (src == "later.png") {
      stream = TImageStream::WaitStream();
    } else if (src == "short.bmp") {
      stream.Data = "BM123";
    } else if (src.ends_with(".png") || src.ends_with(".gif")) {
      const auto bytes = PictureData(src.ends_with(".png") ? "png/rgba.png" : "gif/anim-once.gif");
      stream.Data.assign(bytes.begin(), bytes.end());
    }
  };
  TFetchedImage png = f.Fetch(u"Logo.png");
  ASSERT_TRUE(png.Pic);
  EXPECT_EQ(png.Kind, Transparency::Alpha);
  // A stream is read by its signature, whatever its name.
  TFetchedImage gif = f.Fetch(u"anim.png.gif");
  EXPECT_TRUE(gif.Gif);

  TFetchedImage later = f.Fetch(u"later.png");
  EXPECT_TRUE(later.Delayed);
  EXPECT_FALSE(later.Found());
  EXPECT_EQ(f.cache->Find(u"later.png"), nullptr);
  EXPECT_FALSE(f.Fetch(u"short.bmp").Found());
  EXPECT_FALSE(f.Fetch(u"none.bmp").Found());
  EXPECT_EQ(asked, (std::vector<std::string>{"Logo.png", "anim.png.gif", "later.png", "short.bmp", "none.bmp"}));
  EXPECT_TRUE(f.files.Reads.empty());
}

// Small files of large declared size: an RLE8 BMP whose stream ends at
// once (transparent), or an opaque one of 1 bit a pixel; a GIF of two 1 x 1
// frames on a large screen.
std::string BigBmp(int w, int h, bool opaque = false) {
  std::string d(62, '\0');
  const auto put = [&d](size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) d[at + i] = static_cast<char>(v >> (8 * i));
  };
  d[0] = 'B', d[1] = 'M';
  put(10, 62, 4), put(14, 40, 4), put(18, w, 4), put(22, h, 4), put(26, 1, 2), put(28, opaque ? 1 : 8, 2);
  put(30, opaque ? 0 : 1, 4), put(46, 2, 4);
  return d + (opaque ? std::string(static_cast<size_t>((w + 31) / 32 * 4 * h), '\0') : std::string("\0\1", 2));
}
std::string BigGif(int w, int h) {
  std::string d = "GIF89a";
  d += {static_cast<char>(w), static_cast<char>(w >> 8), static_cast<char>(h), static_cast<char>(h >> 8)};
  d += std::string("\x80\0\0\xFF\0\0\0\0\xFF", 9);
  for (int i = 0; i < 2; ++i) d += std::string("\x2C\0\0\0\0\1\0\1\0\0\2\2\x4C\1\0", 15);
  return d + "\x3B";
}

TEST(ImageBudget, ADocumentsPicturesStayWithinItsBudgetTheRestAreBroken) {
  EXPECT_EQ(TPictureBudget::kDocumentBytes, uint64_t{1} << 30);
  TempDir dir;
  for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp"}) WriteBytes(dir / name, BigBmp(512, 512));
  WriteBytes(dir / "opaque.bmp", BigBmp(512, 512, true));
  WriteBytes(dir / "anim.gif", BigGif(512, 512));
  test::PicturePage page;
  page.Doc().Callbacks().ExpandImageName = [&dir](const std::string& source) { return dir / source; };
  constexpr uint64_t kMiB = 1 << 20;
  // 1 MiB each; a source used twice counts once, one made transparent
  // twice (with its copy), an animation shown twice its frames and a
  // picture for each.
  const struct {
    uint64_t budget;
    const char* html;
    std::vector<TImageObj::Showing> shows;
  } cases[] = {
      {3 * kMiB, "<IMG SRC=a.bmp><IMG SRC=a.bmp><IMG SRC=b.bmp><IMG SRC=c.bmp><IMG SRC=d.bmp>",
       {TImageObj::Showing::Picture, TImageObj::Showing::Picture, TImageObj::Showing::Picture,
        TImageObj::Showing::Picture, TImageObj::Showing::Broken}},
      {3 * kMiB, "<IMG SRC=opaque.bmp TRANSP><IMG SRC=b.bmp><IMG SRC=c.bmp>",
       {TImageObj::Showing::Picture, TImageObj::Showing::Picture, TImageObj::Showing::Broken}},
      {3 * kMiB, "<IMG SRC=anim.gif><IMG SRC=anim.gif><IMG SRC=anim.gif>",
       {TImageObj::Showing::Animation, TImageObj::Showing::Animation, TImageObj::Showing::Broken}},
      {kMiB - 1, "<IMG SRC=a.bmp><IMG SRC=anim.gif>", {TImageObj::Showing::Broken, TImageObj::Showing::Broken}},
  };
  for (const auto& c : cases) {
    page.Doc().Clear();
    page.Doc().PictureBudget() = TPictureBudget(c.budget);
    page.Doc().ImageCache().Clear();
    page.Parse(c.html);
    page.Layout(4000);
    for (size_t i = 0; i < c.shows.size(); ++i)
      EXPECT_EQ(page.Image(i).Shows(page.Doc()), c.shows[i]) << c.html << " #" << i;
    EXPECT_LE(page.Doc().PictureBudget().Used(), c.budget) << c.html;
  }
  // A new document starts with the whole budget again.
  page.Doc().Clear();
  EXPECT_EQ(page.Doc().PictureBudget().Used(), 0u);
}

TEST(PlaceholderPictures, AreSixteenSquareAndTheBrokenOneHasRoundedTransparentCorners) {
  const Picture off = ImagesOffPicture();
  const Picture broken = BrokenImagePicture();
  ASSERT_EQ(off.Width, 16);
  ASSERT_EQ(off.Height, 16);
  ASSERT_EQ(broken.Width, 16);
  ASSERT_EQ(broken.Height, 16);
  // Three pixels deep in each corner: 3, 2 and 1 pixels on the outer rows.
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const int dx = std::min(x, 15 - x), dy = std::min(y, 15 - y);
      EXPECT_EQ(AlphaOf(broken.At(x, y)) == 0, dx + dy < 3) << x << "," << y;
    }
  // A yellow tile with a black mark in the middle.
  EXPECT_EQ(broken.At(3, 8), Rgb(0xFF, 0xFF, 0x00));
  EXPECT_EQ(broken.At(7, 8), Rgb(0, 0, 0));
}

}  // namespace
}  // namespace quillet
