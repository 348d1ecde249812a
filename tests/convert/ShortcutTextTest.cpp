#include "convert/ShortcutText.h"

#include <gtest/gtest.h>

#include <random>

#include "bookmarks/BookmarkFormat.h"
#include "bookmarks/Context.h"
#include "bookmarks/TreeReader.h"
#include "convert/ShortcutFiles.h"
#include "convert/HtmlToUrls.h"
#include "convert/UrlsToHtml.h"
#include "platform/PrivateProfile.h"
#include "platform/TextCodec.h"
#include "platform/Utf8.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestContext.h"

namespace quillet {
namespace {

std::string Utf16(std::string_view utf8, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t c : Utf8ToUtf16(utf8)) {
    const char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
    out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
  }
  return out;
}

TEST(ShortcutText, ReadsByteOrderMarksUtf16AndPrefersTheWideSection) {
  const std::string jp = "https://\xE4\xBE\x8B.jp/\xE3\x83\x91?q=\xC3\xA9";
  const std::string body = "[InternetShortcut]\r\nURL=https://ascii.example/\r\n";
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {"\xEF\xBB\xBF[InternetShortcut]\nURL=" + jp + "\n", jp},                  // UTF-8 mark, LF
      {Utf16("[InternetShortcut]\r\nURL=" + jp + "\r\n", false), jp},          // UTF-16LE, CRLF
      {Utf16("[InternetShortcut]\nURL=" + jp + "\n", true), jp},               // UTF-16BE
      {"[InternetShortcut]\r\nURL=http://caf\xE9.example/\r\n", "http://caf\xE9.example/"},  // 1252 bytes kept
      {body + "[InternetShortcut.W]\r\nURL=https://+T4s-.jp/\r\n", "https://\xE4\xBE\x8B.jp/"},
      {"[InternetShortcut.W]\nURL=https://+T4s-.jp/\n[InternetShortcut]\nURL=x\n", "https://\xE4\xBE\x8B.jp/"},
      {body + "[InternetShortcut.W]\r\nURL=+!!!bad\r\n", "https://ascii.example/"},  // malformed UTF-7
      {body + "[InternetShortcut.W]\r\nURL=\r\n", "https://ascii.example/"},
      {"[Other]\nURL=x\n", std::nullopt},
      {"\xFF\xFE", std::nullopt},
      {"\xFF\xFE[\0", std::nullopt},  // a UTF-16 text cut short
  };
  for (const auto& [bytes, url] : cases) EXPECT_EQ(ShortcutUrlOfText(bytes), url) << bytes;
}

TEST(ShortcutText, WritesBrowsersAsciiFormAndTheOriginalInUtf7) {
  const std::tuple<std::string, std::string, bool> cases[] = {
      {"https://plain.example/a+b?c", "https://plain.example/a+b?c", false},
      {"https://b\xC3\xBC\x63her.example/\xC3\xA9t\xC3\xA9?q=\xE2\x82\xAC#\xC3\xA9",
       "https://xn--bcher-kva.example/%C3%A9t%C3%A9?q=%E2%82%AC#%C3%A9", true},
      {"http://user@\xE4\xBE\x8B.jp:8080/", "http://user@xn--fsq.jp:8080/", true},
      {"http://caf\xE9.example/", "http://xn--caf-dma.example/", true},  // Windows-1252 bytes
      {"mailto:\xC3\xA9@x", "mailto:%C3%A9@x", true},
      {"http://[::1]:80/\xC3\xA9", "http://[::1]:80/%C3%A9", true},
      {"\xC3\xA9x\xFF://h\xC3\xA9@host/", "%C3%83%C2%A9x%C3%BF://h%C3%83%C2%A9@host/", true},  // before the host
      {"http://bad\xE2\x80\x8B\xE2\x80\x8F\xD7\x90x.example/", "", true},  // no IDNA: percent-encoded
  };
  for (const auto& [address, ascii, wide] : cases) {
    const ShortcutUrls urls = ShortcutUrlsFor(address);
    if (!ascii.empty()) {
      EXPECT_EQ(urls.Ascii, ascii) << address;
    }
    for (char c : urls.Ascii) EXPECT_LT(static_cast<unsigned char>(c), 0x80) << address;
    EXPECT_EQ(urls.Wide.has_value(), wide) << address;
    if (urls.Wide) {
      const std::string utf8 = IsValidUtf8(address) ? address : Utf16ToUtf8(DecodeToUtf16(address, TextEncoding::Windows1252));
      EXPECT_EQ(Utf7ToUtf8(*urls.Wide), utf8);
    }
  }
}

TEST(ShortcutText, Utf7RoundTripsAnyText) {
  std::mt19937 rng(7);
  for (int i = 0; i < 300; ++i) {
    std::string s;
    for (int n = static_cast<int>(rng() % 12); n-- > 0;) {
      const uint32_t pick = rng() % 4;
      const uint32_t cp = pick == 0 ? 0x20 + rng() % 0x5F : pick == 1 ? 0xA0 + rng() % 0x700
                          : pick == 2 ? 0x3000 + rng() % 0x5000 : 0x1F300 + rng() % 0x300;
      AppendUtf8(s, cp);
    }
    EXPECT_EQ(Utf7ToUtf8(Utf8ToUtf7(s)), s) << s;
  }
}

TEST(ShortcutText, Html2UrlsWritesAsciiFilesAsBeforeAndUnicodeOnesThatReadBack) {
  test::TempDir dir;
  test::TestContext t;
  const std::string unicode = "https://\xE4\xBE\x8B.jp/\xE3\x83\x91";
  t.Ctx.HtmlLines = {"<DL><p>", "<DT><A HREF=\"https://a.example/\">Plain</A>",
                     "<DT><A HREF=\"" + unicode + "\">Wide</A>", "</DL><p>"};
  t.Ctx.UrlTargetDir = dir.Path();
  HtmlToUrls(t.Ctx, true);
  EXPECT_EQ(test::ReadBytes(dir / "Plain.url"), test::Shortcut("https://a.example/"));
  EXPECT_EQ(test::ReadBytes(dir / "Wide.url"),
            "[InternetShortcut]\r\nURL=https://xn--fsq.jp/%E3%83%91\r\n[InternetShortcut.W]\r\nURL=https://+T4s.jp/+MNE-\r\n");
  EXPECT_EQ(ReadShortcutUrl(t.Fs, dir / "Wide.url"), unicode);
}

TEST(ShortcutText, Html2UrlsOverAFileWithAnOlderUnicodeAddressLeavesTheNewOneToWin) {
  const std::string wide = "[InternetShortcut]\r\nURL=https://xn--fsq.jp/\r\n[InternetShortcut.W]\r\nURL=https://+T4s-.jp/\r\n";
  const std::string unicode = "https://\xE4\xBE\x8B.jp/";
  const std::tuple<std::string, std::string, std::string> cases[] = {
      // what the file held, the new address, what it holds after
      {wide, "https://a.example/", test::Shortcut("https://a.example/")},
      {"[InternetShortcut]\r\nURL=x\r\nIconIndex=0\r\n[InternetShortcut.W]\r\nURL=+T4s-\r\nIconFile=i\r\n",
       "https://a.example/", "[InternetShortcut]\r\nURL=https://a.example/\r\nIconIndex=0\r\n[InternetShortcut.W]\r\nIconFile=i\r\n"},
      {"[InternetShortcut]\nURL=x\nIconIndex=1\n", "https://a.example/", "[InternetShortcut]\nURL=https://a.example/\nIconIndex=1\n"},
      {"\xEF\xBB\xBF[InternetShortcut]\r\nURL=" + unicode + "\r\n", "https://a.example/",
       "\xEF\xBB\xBF[InternetShortcut]\r\nURL=https://a.example/\r\n"},
      {test::Shortcut("https://a.example/"), unicode,
       "[InternetShortcut]\r\nURL=https://xn--fsq.jp/\r\n[InternetShortcut.W]\r\nURL=https://+T4s.jp/\r\n"},
  };
  test::TempDir dir;
  test::TestContext t;
  t.Ctx.HtmlLines = {"<DL><p>"};
  for (size_t i = 0; i < std::size(cases); ++i) {
    test::WriteBytes(dir / ("L" + std::to_string(i) + ".url"), std::get<0>(cases[i]));
    t.Ctx.HtmlLines.push_back("<DT><A HREF=\"" + std::get<1>(cases[i]) + "\">L" + std::to_string(i) + "</A>");
  }
  t.Ctx.HtmlLines.push_back("</DL><p>");
  t.Ctx.UrlTargetDir = dir.Path();
  HtmlToUrls(t.Ctx, true);
  for (size_t i = 0; i < std::size(cases); ++i) {
    const std::string file = dir / ("L" + std::to_string(i) + ".url");
    EXPECT_EQ(test::ReadBytes(file), std::get<2>(cases[i])) << i;
    EXPECT_EQ(ReadShortcutUrl(t.Fs, file), std::get<1>(cases[i])) << i;
  }
}

// Addresses read as Unicode beside files in Windows-1252: the text they go
// into, and the listing, hold each in the one encoding the text is read in.
TEST(ShortcutText, UnicodeAddressesAmongWindows1252FilesReadBackAsThemselves) {
  const std::string cafe = "http://caf\xC3\xA9.example/", jp = "https://\xE4\xBE\x8B.jp/&a";
  const std::tuple<std::string, std::string, std::string> files[] = {
      // file, its bytes, the address it holds in UTF-8
      {"A.url", test::Shortcut("http://caf\xE9.example/"), cafe},
      {"B.url", Utf16("[InternetShortcut]\r\nURL=" + cafe + "\r\n", false), cafe},
      {"C.url", "[InternetShortcut]\r\nURL=x\r\n[InternetShortcut.W]\r\nURL=https://+T4s-.jp/&a\r\n", jp},
      {"D.url", "\xEF\xBB\xBF" + test::Shortcut(jp), jp},
      {"E.url", test::Shortcut("http://plain/"), "http://plain/"},
  };
  for (const bool withWindows1252 : {true, false}) {
    test::TempDir dir;
    for (const auto& [name, bytes, url] : files)
      if (withWindows1252 || name != "A.url") test::WriteBytes(dir / name, bytes);
    for (const bool browser : {true, false}) {
      test::TestContext t;
      t.Ctx.Config.BrowserLayout = browser;
      ASSERT_TRUE(UrlsToHtml(t.Ctx, dir.Path()));
      const BookmarkTree tree = ReadBookmarkTree(TextLines(t.Ctx.HtmlLines));
      EXPECT_EQ(tree.Encoding(), withWindows1252 ? TextEncoding::Windows1252 : TextEncoding::Utf8);
      if (browser) {
        EXPECT_EQ(t.Ctx.HtmlLines.at(4), BrowserHeaderLines(!withWindows1252).at(4));
      }
      std::vector<std::string> read;
      tree.ForEachNode([&](NodeId id) {
        if (tree.Kind(id) == NodeKind::Link) read.push_back(tree.Address(id));
      });
      std::vector<std::string> expected;
      for (const auto& [name, bytes, url] : files)
        if (withWindows1252 || name != "A.url") expected.push_back(url);
      EXPECT_EQ(read, expected) << withWindows1252 << browser;
      if (!browser) {
        std::vector<std::string> listed;
        for (const ShortcutFile& f : ListShortcutFiles(t.Ctx, dir.Path(), false).Files) listed.push_back(f.Url);
        EXPECT_EQ(listed, expected);
      }
    }
  }
}

// Writing over a shortcut file edits it in its own encoding: the new address
// is what the reader finds, the other keys and the byte order mark stay.
TEST(ShortcutText, Html2UrlsOverAFileInAnyEncodingKeepsItAndReadsBackTheNewAddress) {
  enum Form { Utf16Le, Utf16Be, Utf8Bom, Utf8Plain, Windows1252 };
  // Each form with the text it starts with and how its bytes come from UTF-8.
  auto encode = [](Form f, const std::string& utf8) {
    switch (f) {
      case Utf16Le: return Utf16(utf8, false);
      case Utf16Be: return Utf16(utf8, true);
      case Utf8Bom: return "\xEF\xBB\xBF" + utf8;
      case Utf8Plain: return utf8;
      case Windows1252: {
        // The one character outside ASCII these texts hold.
        std::string out = utf8;
        for (size_t at; (at = out.find("\xC3\xA9")) != std::string::npos;) out.replace(at, 2, "\xE9");
        return out;
      }
    }
    return utf8;
  };
  auto decode = [](Form f, const std::string& bytes) {
    if (f == Utf16Le || f == Utf16Be) {
      std::u16string text;
      for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        text += static_cast<char16_t>(f == Utf16Be ? a << 8 | b : b << 8 | a);
      }
      return Utf16ToUtf8(text);
    }
    if (f == Windows1252) return Utf16ToUtf8(DecodeToUtf16(bytes, TextEncoding::Windows1252));
    return f == Utf8Bom ? bytes.substr(3) : bytes;
  };
  const std::string icon = "C:\\Caf\xC3\xA9.ico";
  const std::string addresses[] = {"https://new.example/?a=1", "https://\xE4\xBE\x8B.jp/\xE3\x83\x91"};
  for (const Form form : {Utf16Le, Utf16Be, Utf8Bom, Utf8Plain, Windows1252})
    for (const std::string eol : {"\r\n", "\n"})
      for (const bool olderWide : {false, true})
        for (const std::string& address : addresses) {
          std::string text = "[DEFAULT]" + eol + "BASEURL=https://old.example/" + eol + "[InternetShortcut]" + eol +
                             "URL=https://old.example/" + eol + "IconFile=" + icon + eol + "IconIndex=1" + eol;
          if (olderWide) text += "[InternetShortcut.W]" + eol + "URL=https://+T4s-.old/" + eol + "Note=x" + eol;
          test::TempDir dir;
          test::WriteBytes(dir / "L.url", encode(form, text));
          test::TestContext t;
          t.Ctx.HtmlLines = {"<DL><p>", "<DT><A HREF=\"" + address + "\">L</A>", "</DL><p>"};
          t.Ctx.UrlTargetDir = dir.Path();
          const std::string what = std::to_string(form) + (eol.size() == 2 ? " CRLF " : " LF ") +
                                   std::to_string(olderWide) + " " + address;
          ASSERT_EQ(HtmlToUrls(t.Ctx, true), HtmlToUrlsResult::Written) << what;
          const std::string bytes = test::ReadBytes(dir / "L.url");
          EXPECT_EQ(ReadShortcutUrl(t.Fs, dir / "L.url"), address) << what;
          EXPECT_EQ(bytes.substr(0, 3), encode(form, text).substr(0, 3)) << what;
          const std::string after = decode(form, bytes);
          EXPECT_EQ(FindProfileValue(after, "InternetShortcut", "IconFile"), icon) << what;
          EXPECT_EQ(FindProfileValue(after, "InternetShortcut", "IconIndex"), "1") << what;
          EXPECT_EQ(FindProfileValue(after, "DEFAULT", "BASEURL"), "https://old.example/") << what;
          EXPECT_EQ(FindProfileValue(after, "InternetShortcut.W", "Note"), olderWide ? std::optional<std::string>("x")
                                                                                     : std::nullopt) << what;
        }
}

}  // namespace
}  // namespace quillet
