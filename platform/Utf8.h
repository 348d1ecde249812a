#pragma once
// The one test of whether bytes read as UTF-8; where the program has to pick
// an encoding for 8-bit text, valid UTF-8 is taken as UTF-8 and anything else
// as Windows-1252.
#include <string_view>

namespace quillet {

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing above U+10FFFF, no sequence cut short.
bool IsValidUtf8(std::string_view text);

}  // namespace quillet
