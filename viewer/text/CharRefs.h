#pragma once
// Character references of the pane's HTML: the 100 names (amp, lt, gt, quot
// and the Latin-1 names of 160..255, letter case counting, at most 7
// letters), and numbers, decimal or "&#x" hexadecimal, of at most 6 digits.
// What is no reference stays as the text it was written as.
#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

class CharReader;

// The character a reference name stands for, or 0 when the name is unknown.
char16_t NamedCharRef(std::u16string_view name);

// The character of a numeric reference's value, or 0 when the value gives
// no character and the reference stays text: 0-8, 11-31, surrogates and
// values past U+10FFFF. 9 reads as a space; 128-159 as the Windows-1252
// character of that byte, as older pages mean them.
char32_t NumericCharRef(uint32_t value);

// What the references to the line-break characters (&#10;, &#13;) give.
// In text shown on the page each is one blank, as a line end in the source
// is: Quillet writes the line breaks of a name that way. Elsewhere (values
// of attributes, a text area's lines) they read as ever: 13 stays text, 10
// is the character.
enum class LineBreakRefs : uint8_t { AsWritten, AsBlank };

// Reads the reference at the reader's "&" and appends its character, or the
// text read when it is no reference. The reader ends on the first character
// after what was read: a 7th digit or an 8th letter is left unread.
void ReadCharRef(CharReader& reader, std::u16string& out, LineBreakRefs breaks = LineBreakRefs::AsWritten);

}  // namespace quillet
