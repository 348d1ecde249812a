#include "viewer/style/Fonts.h"

#include <algorithm>

namespace quillet {

static_assert(sizeof(void*) != 8 || sizeof(TFontObj) <= 72);

int NominalPoints(int defFontSize, int nominal) {
  const long long p = static_cast<long long>(defFontSize) * nominal;
  return static_cast<int>(p >= 0 ? (p + 6) / 12 : (p - 6) / 12);
}

void TMyFont::SetNominalSize(const DocumentFonts& doc, int n) {
  NominalSize = n;
  Spec.Size = NominalPoints(doc.FontSize, n);
}

void TMyFont::ApplyDefaults(const DocumentFonts& doc, TColor color) {
  Spec.Face = FixedPitch ? doc.PreFontName : doc.FontName;
  Spec.Charset = doc.Charset;
  Spec.Size = NominalPoints(doc.FontSize, NominalSize);
  Spec.Color = color | kPaletteRelative;
}

void TFontObj::UpdateFont(const DocumentFonts& doc) {
  font_.ApplyDefaults(doc, UrlTarget.IsLink() ? doc.HotSpotColor : doc.FontColor);
  measured_ = false;
}

const TFontObj::RunMetrics& TFontObj::Metrics(Canvas& canvas) const {
  if (!measured_) {
    canvas.SelectFont(font_.Spec);
    const FontMetrics m = canvas.Metrics();
    metrics_ = {m.Height, m.Descent, m.ExternalLeading, m.Overhang};
    measured_ = true;
  }
  return metrics_;
}

namespace {

// The index of the first run whose start is at least pos, or runs.size().
size_t FirstAtOrAfter(const TFontList& runs, int pos) {
  size_t lo = 0, hi = runs.size();
  while (lo < hi) {
    const size_t mid = lo + (hi - lo) / 2;
    if (runs[mid].Pos < pos)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

}  // namespace

void TFontList::push_back(TFontObj run) {
  if (state_ == kEmpty) {
    first_ = std::move(run);
    state_ = kOne;
    return;
  }
  if (state_ == kOne) {
    auto* rest = new RestList();
    rest->reserve(2);
    state_ = reinterpret_cast<uintptr_t>(rest);
  }
  Rest()->push_back(std::make_unique<TFontObj>(std::move(run)));
}

void TFontList::pop_back() {
  RestList* rest = Rest();
  if (!rest) {
    state_ = kEmpty;
    return;
  }
  rest->pop_back();
  // A link's section gets a run for what follows the link and drops it
  // when nothing followed: back to one, the list leaves the heap.
  if (rest->empty()) {
    delete rest;
    state_ = kOne;
  }
}

TFontObj* FontAt(const TFontList& runs, int pos, int* index) {
  if (runs.empty()) return nullptr;
  size_t i = FirstAtOrAfter(runs, pos);
  if (i == runs.size() || (runs[i].Pos != pos && i != 0)) --i;
  if (index) *index = static_cast<int>(i);
  // As with the pointers the list once held, its runs are not const.
  return const_cast<TFontObj*>(&runs[i]);
}

int CharsToNextChange(const TFontList& runs, int pos, int textLength) {
  size_t i = FirstAtOrAfter(runs, pos);
  if (i != runs.size() && runs[i].Pos == pos) ++i;
  return i == runs.size() ? textLength - pos : runs[i].Pos - pos;
}

void UpdateFonts(TFontList& runs, const DocumentFonts& doc) {
  for (TFontObj& run : runs) run.UpdateFont(doc);
}

}  // namespace quillet
