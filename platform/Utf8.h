#pragma once
// The one test of whether bytes read as UTF-8; where the program has to pick
// an encoding for 8-bit text, valid UTF-8 is taken as UTF-8 and anything else
// as Windows-1252.
#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing above U+10FFFF, no sequence cut short.
bool IsValidUtf8(std::string_view text);

// Every byte below 0x80: the same text in UTF-8 and in Windows-1252.
bool IsAscii(std::string_view text);

// The length of the longest start of text no longer than maxBytes that does
// not end inside a well-formed UTF-8 character. In text of another encoding
// every byte is a character, so that text is cut at maxBytes.
size_t Utf8CutLength(std::string_view text, size_t maxBytes);

// Appends the UTF-8 form of a code point (at most U+10FFFF).
void AppendUtf8(std::string& out, uint32_t codePoint);

// The value of a hexadecimal digit, or -1.
inline int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace quillet
