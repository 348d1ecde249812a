#include "viewer/text/Bidi.h"

#include <unicode/ubidi.h>
#include <unicode/uchar.h>

#include <algorithm>

namespace quillet {

namespace {

bool RtlUnit(char16_t c) {
  return (c >= kFirstRtlUnit && c <= 0x08FF) ||  // Hebrew, Arabic, Syriac, Thaana, NKo, ...
         (c >= 0xFB1D && c <= 0xFDFF) ||  // presentation forms
         (c >= 0xFE70 && c <= 0xFEFF) ||  //
         c == 0x200F || c == 0x202B || c == 0x202E || c == 0x2067 ||  // RLM, RLE, RLO, RLI
         c == 0xD802 || c == 0xD803 ||    // U+10800..U+10FFF
         c == 0xD83A || c == 0xD83B;      // U+1E800..U+1EFFF
}

// Pictures and controls stand where they are written, like any object;
// a separator inside a section does not start another paragraph.
UCharDirection U_CALLCONV SectionClass(const void*, UChar32 c) {
  if (c == 2 || c == 4) return U_OTHER_NEUTRAL;
  if (u_charDirection(c) == U_BLOCK_SEPARATOR) return U_WHITE_SPACE_NEUTRAL;
  return static_cast<UCharDirection>(U_BIDI_CLASS_DEFAULT);
}

struct BidiCloser {
  void operator()(UBiDi* b) const { ubidi_close(b); }
};
using BidiPtr = std::unique_ptr<UBiDi, BidiCloser>;

}  // namespace

bool MayHoldRtl(std::u16string_view text) {
  return std::any_of(text.begin(), text.end(), RtlUnit);
}

struct BidiParagraph::Impl {
  BidiPtr Para{ubidi_open()};
  BidiPtr Line{ubidi_open()};
  int Length = 0;
};

BidiParagraph::BidiParagraph() = default;
BidiParagraph::~BidiParagraph() = default;

bool BidiParagraph::Set(std::u16string_view text) {
  ready_ = false;
  if (text.size() > INT32_MAX || !MayHoldRtl(text)) return false;
  // Left-to-right text, nearly all of it, needs nothing of ICU.
  if (!impl_) impl_ = std::make_unique<Impl>();
  if (!impl_->Para || !impl_->Line) return false;
  UErrorCode err = U_ZERO_ERROR;
  ubidi_setClassCallback(impl_->Para.get(), SectionClass, nullptr, nullptr, nullptr, &err);
  if (U_FAILURE(err)) return false;
  ubidi_setPara(impl_->Para.get(), text.data(), static_cast<int32_t>(text.size()), UBIDI_LTR, nullptr, &err);
  if (U_FAILURE(err)) return false;
  impl_->Length = static_cast<int>(text.size());
  ready_ = ubidi_getDirection(impl_->Para.get()) != UBIDI_LTR;
  return ready_;
}

std::vector<BidiRun> BidiParagraph::LineRuns(int start, int end) {
  std::vector<BidiRun> runs;
  if (!ready_ || start < 0 || end > impl_->Length || start >= end) return runs;
  UErrorCode err = U_ZERO_ERROR;
  ubidi_setLine(impl_->Para.get(), start, end, impl_->Line.get(), &err);
  if (U_FAILURE(err) || ubidi_getDirection(impl_->Line.get()) == UBIDI_LTR) return runs;
  const int32_t n = ubidi_countRuns(impl_->Line.get(), &err);
  if (U_FAILURE(err)) return runs;
  runs.reserve(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    int32_t from = 0, length = 0;
    ubidi_getVisualRun(impl_->Line.get(), i, &from, &length);
    // By the level, not the run's own direction: ICU gives blanks ending a
    // line the paragraph's level (they read left to right here) but may
    // leave their run marked with the level they had in the paragraph.
    runs.push_back({start + from, length, (ubidi_getLevelAt(impl_->Line.get(), from) & 1) != 0});
  }
  return runs;
}

}  // namespace quillet
