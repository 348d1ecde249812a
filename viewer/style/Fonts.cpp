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

const TFontObj::RunMetrics& TFontObj::Metrics(Canvas& canvas) {
  if (!measured_) {
    canvas.SelectFont(font_.Spec);
    const FontMetrics m = canvas.Metrics();
    metrics_ = {m.Height, m.Descent, m.ExternalLeading, m.Overhang};
    measured_ = true;
  }
  return metrics_;
}

namespace {

// The first run whose start is at least pos.
TFontList::const_iterator FirstAtOrAfter(const TFontList& runs, int pos) {
  return std::lower_bound(runs.begin(), runs.end(), pos,
                          [](const std::unique_ptr<TFontObj>& r, int p) { return r->Pos < p; });
}

}  // namespace

void TFontList::push_back(value_type run) {
  if (!many_ && !one_) {
    one_ = std::move(run);
    return;
  }
  if (!many_) {
    many_ = std::make_unique<std::vector<value_type>>();
    many_->reserve(2);
    many_->push_back(std::move(one_));
  }
  many_->push_back(std::move(run));
}

void TFontList::pop_back() {
  if (!many_) {
    one_.reset();
    return;
  }
  many_->pop_back();
  // A link's section gets a run for what follows the link and drops it
  // when nothing followed: back to one, the run goes back in place.
  if (many_->size() == 1) {
    one_ = std::move(many_->front());
    many_.reset();
  }
}

TFontObj* FontAt(const TFontList& runs, int pos, int* index) {
  if (runs.empty()) return nullptr;
  auto it = FirstAtOrAfter(runs, pos);
  if (it == runs.end() || ((*it)->Pos != pos && it != runs.begin())) --it;
  if (index) *index = static_cast<int>(it - runs.begin());
  return it->get();
}

int CharsToNextChange(const TFontList& runs, int pos, int textLength) {
  auto it = FirstAtOrAfter(runs, pos);
  if (it != runs.end() && (*it)->Pos == pos) ++it;
  return it == runs.end() ? textLength - pos : (*it)->Pos - pos;
}

void UpdateFonts(TFontList& runs, const DocumentFonts& doc) {
  for (auto& run : runs) run->UpdateFont(doc);
}

}  // namespace quillet
