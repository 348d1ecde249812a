#include "convert/ShortcutText.h"

#include <gtest/gtest.h>

#include <random>

#include "bookmarks/Context.h"
#include "convert/HtmlToUrls.h"
#include "convert/UrlsToHtml.h"
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

}  // namespace
}  // namespace quillet
