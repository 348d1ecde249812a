#include "viewer/text/LineBreaks.h"

#include <unicode/ubrk.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <memory>

namespace quillet {

namespace {

struct BreakCloser {
  void operator()(UBreakIterator* b) const { ubrk_close(b); }
};
using BreakPtr = std::unique_ptr<UBreakIterator, BreakCloser>;

// One iterator of each kind per thread, opened at its first use (opening
// one reads ICU's rules) and handed from text to text.
struct Iterators {
  BreakPtr Line;
  BreakPtr Char;
  const LineBreaks* LineOwner = nullptr;
  const LineBreaks* CharOwner = nullptr;
};

Iterators& ThreadIterators() {
  thread_local Iterators iterators;
  return iterators;
}

char32_t CodePointAt(std::u16string_view s, size_t i) {
  const char16_t c = s[i];
  if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF)
    return 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
  return c;
}

char32_t CodePointBefore(std::u16string_view s, size_t i) {
  const char16_t c = s[i - 1];
  if (c >= 0xDC00 && c <= 0xDFFF && i >= 2 && s[i - 2] >= 0xD800 && s[i - 2] <= 0xDBFF)
    return 0x10000 + ((s[i - 2] - 0xD800) << 10) + (c - 0xDC00);
  return c;
}

// Characters of scripts written without blanks between words: ideographs,
// kana, Hangul, the South-East Asian scripts, emoji, and the full-width
// punctuation that goes with them.
bool Unspaced(char32_t c) {
  if (c < kFirstUnspacedUnit) return false;
  switch (u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_LINE_BREAK)) {
    case U_LB_IDEOGRAPHIC: case U_LB_CONDITIONAL_JAPANESE_STARTER: case U_LB_H2: case U_LB_H3:
    case U_LB_JL: case U_LB_JV: case U_LB_JT: case U_LB_COMPLEX_CONTEXT: case U_LB_E_BASE:
    case U_LB_E_MODIFIER:
      return true;
    default:
      break;
  }
  const int width = u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_EAST_ASIAN_WIDTH);
  return width == U_EA_WIDE || width == U_EA_FULLWIDTH;
}

// The last boundary at or before to (to within the text), or UBRK_DONE.
int32_t LastBoundary(UBreakIterator* it, int to, int length) {
  if (to >= length) return ubrk_last(it);
  return ubrk_isBoundary(it, to) ? to : ubrk_preceding(it, to);
}

UBreakIterator* Prepared(BreakPtr& it, const LineBreaks*& owner, bool& set, const LineBreaks* self,
                         UBreakIteratorType type, std::u16string_view text) {
  UErrorCode err = U_ZERO_ERROR;
  if (!it) {
    it.reset(ubrk_open(type, "", nullptr, 0, &err));
    if (U_FAILURE(err)) it.reset();
    if (!it) return nullptr;
  }
  if (!set || owner != self) {
    err = U_ZERO_ERROR;
    ubrk_setText(it.get(), text.data(), static_cast<int32_t>(text.size()), &err);
    if (U_FAILURE(err)) return nullptr;
    owner = self;
    set = true;
  }
  return it.get();
}

}  // namespace

bool MayBreakWithoutBlanks(std::u16string_view text) {
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] >= kFirstUnspacedUnit && Unspaced(CodePointAt(text, i))) return true;
  return false;
}

int LineBreaks::LastUnspaced(int from, int to) {
  Iterators& its = ThreadIterators();
  UBreakIterator* it = Prepared(its.Line, its.LineOwner, lineSet_, this, UBRK_LINE, text_);
  if (!it) return -1;
  const int length = static_cast<int>(text_.size());
  for (int32_t b = LastBoundary(it, to, length); b != UBRK_DONE && b > from; b = ubrk_previous(it)) {
    const size_t at = static_cast<size_t>(b);
    if ((at < text_.size() && Unspaced(CodePointAt(text_, at))) || Unspaced(CodePointBefore(text_, at)))
      return b;
  }
  return -1;
}

int LineBreaks::LastAny(int from, int to) {
  Iterators& its = ThreadIterators();
  UBreakIterator* it = Prepared(its.Line, its.LineOwner, lineSet_, this, UBRK_LINE, text_);
  if (!it) return -1;
  const int32_t b = LastBoundary(it, to, static_cast<int>(text_.size()));
  return b != UBRK_DONE && b > from ? b : -1;
}

int LineBreaks::CharBoundary(int from, int to) {
  const int length = static_cast<int>(text_.size());
  Iterators& its = ThreadIterators();
  if (UBreakIterator* it = Prepared(its.Char, its.CharOwner, charSet_, this, UBRK_CHARACTER, text_)) {
    const int32_t b = LastBoundary(it, to, length);
    if (b != UBRK_DONE && b > from) return b;
    const int32_t next = ubrk_following(it, from);
    if (next != UBRK_DONE) return next;
  }
  // Without ICU's rules: never between the halves of a surrogate pair.
  int b = std::min(to, length);
  if (b > from && b < length && text_[static_cast<size_t>(b)] >= 0xDC00 && text_[static_cast<size_t>(b)] <= 0xDFFF)
    --b;
  return b > from ? b : std::min(from + 1, length);
}

}  // namespace quillet
