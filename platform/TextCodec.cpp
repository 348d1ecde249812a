#include "platform/TextCodec.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "platform/Utf8.h"

namespace quillet {

namespace {

// Code points of the bytes 0x80..0x9F in Windows-1252.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool BreaksEditorLine(char32_t cp) { return cp == 0x2029 || cp == 0xFDD0 || cp == 0xFDD1; }

// Eight bytes at i that are all ASCII (the common case, taken a word at a time).
bool AsciiWordAt(std::string_view s, size_t i) {
  if (s.size() - i < 8) return false;
  uint64_t w;
  std::memcpy(&w, s.data() + i, 8);
  return (w & 0x8080808080808080ull) == 0;
}

bool AllUtf8(std::string_view line) {
  for (size_t i = 0; i < line.size();) {
    if (AsciiWordAt(line, i)) {
      i += 8;
      continue;
    }
    if (static_cast<unsigned char>(line[i]) < 0x80) {
      ++i;
      continue;
    }
    char32_t cp;
    const size_t n = DecodeUtf8At(line, i, cp);
    if (n == 0 || BreaksEditorLine(cp)) return false;
    i += n;
  }
  return true;
}

}  // namespace

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

TextEncoding ChooseTextEncoding(const std::vector<std::string>& lines) {
  for (const auto& line : lines)
    if (!AllUtf8(line)) return TextEncoding::Windows1252;
  return TextEncoding::Utf8;
}

TextEncoding ChooseTextEncoding(std::string_view text) {
  return AllUtf8(text) ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

char32_t Windows1252ToUnicode(unsigned char b) { return b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : b; }

int UnicodeToWindows1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (size_t k = 0; k < kHigh.size(); ++k)
    if (kHigh[k] == cp) return static_cast<int>(0x80 + k);
  return -1;
}

void AppendCodePoint(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
}

void AppendUtf16(std::u16string& out, std::string_view bytes, TextEncoding enc) {
  if (enc == TextEncoding::Windows1252) {
    const size_t start = out.size();
    out.resize(start + bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i)
      out[start + i] = static_cast<char16_t>(Windows1252ToUnicode(static_cast<unsigned char>(bytes[i])));
    return;
  }
  // UTF-16 never takes more units than UTF-8 takes bytes: write in place,
  // then cut to what was written.
  const size_t start = out.size();
  out.resize(start + bytes.size());
  char16_t* o = out.data() + start;
  for (size_t i = 0; i < bytes.size();) {
    if (AsciiWordAt(bytes, i)) {
      for (size_t k = 0; k < 8; ++k) *o++ = static_cast<unsigned char>(bytes[i + k]);
      i += 8;
      continue;
    }
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      *o++ = static_cast<char16_t>(b);
      ++i;
      continue;
    }
    char32_t cp;
    const size_t n = DecodeUtf8At(bytes, i, cp);
    if (n == 0) {
      *o++ = static_cast<char16_t>(Windows1252ToUnicode(b));
      ++i;
    } else if (cp < 0x10000) {
      *o++ = static_cast<char16_t>(cp);
      i += n;
    } else {
      cp -= 0x10000;
      *o++ = static_cast<char16_t>(0xD800 + (cp >> 10));
      *o++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
      i += n;
    }
  }
  out.resize(static_cast<size_t>(o - out.data()));
}

std::u16string DecodeToUtf16(std::string_view bytes, TextEncoding enc) {
  std::u16string out;
  AppendUtf16(out, bytes, enc);
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view text) { return DecodeToUtf16(text, TextEncoding::Utf8); }

std::string Utf16BytesToUtf8(std::string_view bytes, bool bigEndian) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    text += static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
  }
  return Utf16ToUtf8(text);
}

std::string Utf8ToUtf16Bytes(std::string_view utf8, bool bigEndian) {
  std::string out;
  out.reserve(utf8.size() * 2);
  for (const char16_t c : Utf8ToUtf16(utf8)) {
    const char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
    out += bigEndian ? hi : lo;
    out += bigEndian ? lo : hi;
  }
  return out;
}

}  // namespace quillet
