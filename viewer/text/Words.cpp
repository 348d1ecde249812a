#include "viewer/text/Words.h"

#include <unicode/uchar.h>

#include "platform/AsciiCase.h"
#include "platform/TextCodec.h"

namespace quillet {

namespace {

// The character starting at i, and the units it takes.
char32_t CodePointAt(std::u16string_view s, size_t i, size_t& units) {
  if (IsHighSurrogate(s[i]) && i + 1 < s.size() && IsLowSurrogate(s[i + 1])) {
    units = 2;
    return 0x10000 + ((static_cast<char32_t>(s[i]) - 0xD800) << 10) + (s[i + 1] - 0xDC00);
  }
  units = 1;
  return s[i];
}

// The character ending just before i, and the units it takes.
char32_t CodePointBefore(std::u16string_view s, size_t i, size_t& units) {
  if (i >= 2 && IsLowSurrogate(s[i - 1]) && IsHighSurrogate(s[i - 2])) return CodePointAt(s, i - 2, units);
  units = 1;
  return s[i - 1];
}

}  // namespace

bool IsWordChar(char32_t c) {
  if (c < 128) return (c >= '0' && c <= '9') || IsAsciiLetter(static_cast<char>(c));
  if (c <= 255) return c >= 192 && c != 215 && c != 247;
  return (U_GET_GC_MASK(static_cast<UChar32>(c)) & (U_GC_L_MASK | U_GC_N_MASK | U_GC_M_MASK)) != 0;
}

std::pair<size_t, size_t> WordAround(std::u16string_view text, size_t i) {
  size_t units = 1;
  if (i >= text.size() || !IsWordChar(CodePointAt(text, i, units))) return {i, i};
  size_t b = i, e = i;
  while (b > 0 && IsWordChar(CodePointBefore(text, b, units))) b -= units;
  while (e < text.size() && IsWordChar(CodePointAt(text, e, units))) e += units;
  return {b, e};
}

}  // namespace quillet
