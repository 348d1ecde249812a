#pragma once
// The one rule for reading the document's 8-bit text as characters, shared
// by the source editor and the HTML pane: UTF-8 when the whole text is valid
// UTF-8, else Windows-1252 (where every byte has a character, so nothing is
// lost). The pane works on UTF-16: one UTF-16 unit is one character
// position.
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// The halves of a surrogate pair, which nothing may separate.
inline constexpr bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
inline constexpr bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

enum class TextEncoding { Utf8, Windows1252 };

// UTF-8 when every line is valid UTF-8 and holds none of the characters a
// text editor takes for a paragraph or frame break (U+2029, U+FDD0, U+FDD1);
// Windows-1252 otherwise.
TextEncoding ChooseTextEncoding(const std::vector<std::string>& lines);
TextEncoding ChooseTextEncoding(std::string_view text);

// Decodes one UTF-8 sequence at s[i]; returns its length, or 0 when it is
// not well-formed (overlong forms, surrogates, code points above U+10FFFF,
// sequences cut short).
size_t DecodeUtf8At(std::string_view s, size_t i, char32_t& cp);

// The character of a Windows-1252 byte; the five bytes the code page leaves
// undefined keep their C1 control code point, so they survive a round trip.
char32_t Windows1252ToUnicode(unsigned char b);
// The Windows-1252 byte of a character, or -1 when the code page lacks it.
int UnicodeToWindows1252(char32_t cp);

// Bytes in the encoding to UTF-16, appended to out. Invalid UTF-8 (only
// possible when the caller chose UTF-8 for text that is not) reads each bad
// byte as its Windows-1252 character.
void AppendUtf16(std::u16string& out, std::string_view bytes, TextEncoding enc);
std::u16string DecodeToUtf16(std::string_view bytes, TextEncoding enc);

// Appends one code point as UTF-16 (a surrogate pair above U+FFFF).
void AppendCodePoint(std::u16string& out, char32_t cp);

// Conversions at the edges of the pane (names, messages, the host's
// strings). Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

// UTF-16 as bytes (after any byte order mark) to UTF-8 and back, in either
// byte order. An odd last byte is dropped.
std::string Utf16BytesToUtf8(std::string_view bytes, bool bigEndian);
std::string Utf8ToUtf16Bytes(std::string_view utf8, bool bigEndian);

}  // namespace quillet
