#pragma once
// Where a section's text may break between lines, by Unicode's
// line-breaking rules. Text in scripts written with blanks between words
// keeps breaking at its blanks (and at pictures and controls, which the
// layout handles itself); the rules add the breaks of scripts written
// without blanks (Chinese, Japanese, Thai, emoji and the like), and, for a
// word wider than its line, every place where the rules allow a break
// (after a hyphen or a slash). Only where none exists may a word be cut
// between two of its characters.
#include <optional>
#include <string_view>

namespace quillet {

// The first code unit of a script written without blanks; text below it
// breaks at its blanks only.
inline constexpr char16_t kFirstUnspacedUnit = 0x0E00;

// Whether text holds characters whose lines may break without a blank.
bool MayBreakWithoutBlanks(std::u16string_view text);

class LineBreaks {
 public:
  // text must outlive the calls below; nothing of ICU is asked until a
  // call needs it. highest: the highest code unit of text, when known.
  explicit LineBreaks(std::u16string_view text, char16_t highest = 0xFFFF) : text_(text) {
    if (highest < kFirstUnspacedUnit) unspaced_ = false;
  }

  // Whether the text holds characters of scripts written without blanks
  // (found at the first question).
  bool HasUnspaced() {
    if (!unspaced_) unspaced_ = MayBreakWithoutBlanks(text_);
    return *unspaced_;
  }
  // The last opportunity in (from, to] next to a character of a script
  // written without blanks; -1 when none.
  int LastUnspaced(int from, int to);
  // The last opportunity of any kind in (from, to]; -1 when none.
  int LastAny(int from, int to);
  // The last boundary between two characters as a reader sees them
  // (never inside a surrogate pair or before a combining mark) in
  // (from, to]; when there is none, the first after from.
  int CharBoundary(int from, int to);

 private:
  std::u16string_view text_;
  std::optional<bool> unspaced_;
  bool lineSet_ = false;
  bool charSet_ = false;
};

}  // namespace quillet
