#pragma once
// Upper- and lower-casing of the pane's text for comparing attribute values
// and names: only ASCII letters change, as the reader's rules say.
#include <string>
#include <string_view>

namespace quillet {

// The first limit characters of text with A-Z made a-z.
inline std::u16string LowerAscii(std::u16string_view text, size_t limit = std::u16string_view::npos) {
  std::u16string out(text.substr(0, limit));
  for (char16_t& c : out)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return out;
}

// The first limit characters of text with a-z made A-Z.
inline std::u16string UpperAscii(std::u16string_view text, size_t limit = std::u16string_view::npos) {
  std::u16string out(text.substr(0, limit));
  for (char16_t& c : out)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  return out;
}

}  // namespace quillet
