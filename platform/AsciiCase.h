#pragma once
// Letter case of the ASCII letters only, for the 8-bit lines of the bookmark
// files and the UTF-16 text of the pane alike: names, tags and attribute
// values compare without regard to case that way, and no other character
// (a Windows-1252 or UTF-8 byte, a letter beyond ASCII) ever changes.
#include <concepts>
#include <string>
#include <string_view>

namespace quillet {

template <typename C>
concept AsciiCaseChar = std::same_as<C, char> || std::same_as<C, char16_t>;

template <AsciiCaseChar C>
constexpr bool IsAsciiUpper(C c) {
  return c >= C('A') && c <= C('Z');
}
template <AsciiCaseChar C>
constexpr bool IsAsciiLower(C c) {
  return c >= C('a') && c <= C('z');
}
template <AsciiCaseChar C>
constexpr bool IsAsciiLetter(C c) {
  return IsAsciiUpper(c) || IsAsciiLower(c);
}
template <AsciiCaseChar C>
constexpr C UpperAscii(C c) {
  return IsAsciiLower(c) ? static_cast<C>(c - C('a') + C('A')) : c;
}
template <AsciiCaseChar C>
constexpr C LowerAscii(C c) {
  return IsAsciiUpper(c) ? static_cast<C>(c - C('A') + C('a')) : c;
}

// The first limit characters of text, their ASCII letters made upper or
// lower case.
inline std::string UpperAscii(std::string_view text, size_t limit = std::string_view::npos) {
  std::string out(text.substr(0, limit));
  for (char& c : out) c = UpperAscii(c);
  return out;
}
inline std::string LowerAscii(std::string_view text, size_t limit = std::string_view::npos) {
  std::string out(text.substr(0, limit));
  for (char& c : out) c = LowerAscii(c);
  return out;
}
inline std::u16string UpperAscii(std::u16string_view text, size_t limit = std::u16string_view::npos) {
  std::u16string out(text.substr(0, limit));
  for (char16_t& c : out) c = UpperAscii(c);
  return out;
}
inline std::u16string LowerAscii(std::u16string_view text, size_t limit = std::u16string_view::npos) {
  std::u16string out(text.substr(0, limit));
  for (char16_t& c : out) c = LowerAscii(c);
  return out;
}

// a and b are the same but for the case of their ASCII letters.
template <AsciiCaseChar C>
constexpr bool EqualIgnoringAsciiCase(std::basic_string_view<C> a, std::basic_string_view<C> b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}
inline bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return EqualIgnoringAsciiCase<char>(a, b);
}
inline bool EqualIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  return EqualIgnoringAsciiCase<char16_t>(a, b);
}

}  // namespace quillet
