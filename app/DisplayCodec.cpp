#include "app/DisplayCodec.h"
#include "platform/Utf8.h"

#include <array>
#include <cstdint>

namespace quillet {

namespace {

// Code points of the bytes 0x80..0x9F in Windows-1252. The five bytes the
// code page leaves undefined keep their C1 control code point, so they too
// survive a round trip.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Decodes one UTF-8 sequence at s[i]; returns its length, or 0 when invalid
// (overlong forms, surrogates and code points above U+10FFFF included).
size_t DecodeUtf8At(std::string_view s, size_t i, char32_t& cp) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  size_t len;
  char32_t min;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2, min = 0x80, cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, min = 0x800, cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, min = 0x10000, cp = b0 & 0x07;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

// The paragraph separator and the two frame marks split a line in the editor.
bool BreaksEditorLine(char32_t cp) { return cp == 0x2029 || cp == 0xFDD0 || cp == 0xFDD1; }

int ToWindows1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (size_t k = 0; k < kHigh.size(); ++k)
    if (kHigh[k] == cp) return static_cast<int>(0x80 + k);
  return -1;
}

}  // namespace

DisplayEncoding ChooseDisplayEncoding(const TextLines& lines) {
  for (const auto& line : lines) {
    for (size_t i = 0; i < line.size();) {
      char32_t cp;
      const size_t n = DecodeUtf8At(line, i, cp);
      if (n == 0 || BreaksEditorLine(cp)) return DisplayEncoding::Windows1252;
      i += n;
    }
  }
  return DisplayEncoding::Utf8;
}

std::string DecodeForDisplay(std::string_view bytes, DisplayEncoding enc) {
  if (enc == DisplayEncoding::Utf8) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : b);
  }
  return out;
}

std::string EncodeFromDisplay(std::string_view utf8, DisplayEncoding enc) {
  if (enc == DisplayEncoding::Utf8) return std::string(utf8);
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp;
    size_t n = DecodeUtf8At(utf8, i, cp);
    if (n == 0) {
      n = 1;
      cp = U'?';
    }
    const int b = ToWindows1252(cp);
    out += static_cast<char>(b < 0 ? '?' : b);
    i += n;
  }
  return out;
}

}  // namespace quillet
