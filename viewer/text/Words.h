#pragma once
// Words of the pane's text, for a double click's selection: runs of
// letters, digits and the marks that go with them.
#include <cstddef>
#include <string_view>
#include <utility>

namespace quillet {

// Letters and digits make words: ASCII ones, the Latin-1 letters (192 to 255
// but the multiplication and division signs) and every other Unicode letter,
// digit or mark.
bool IsWordChar(char32_t c);

// The word holding the character that starts at text[i] (i on a character's
// first unit), as a half-open range of units; empty (i, i) when that
// character makes no word.
std::pair<size_t, size_t> WordAround(std::u16string_view text, size_t i);

}  // namespace quillet
