#pragma once
// Fonts of the pane: the font object that knows its HTML size and whether it
// is the fixed-pitch font, the font run of a text section with its measured
// metrics and its link, and the queries over a section's runs.
#include <memory>
#include <vector>

#include "platform/Canvas.h"
#include "viewer/style/UrlTarget.h"

namespace quillet {

// The document's defaults every font is rebuilt from when the pane's font
// properties change.
struct DocumentFonts {
  std::u16string FontName = u"Times New Roman";
  std::u16string PreFontName = u"Courier New";
  int FontSize = 12;  // points; nominal size 12 is this size
  TColor FontColor = clBtnText;
  TColor HotSpotColor = clBlue;
  int Charset = 1;
};

enum class SubSupKind : uint8_t { None, Sub, Sup };

// Rounded defFontSize * nominal / 12 (halves away from zero).
int NominalPoints(int defFontSize, int nominal);

class TMyFont {
 public:
  FontSpec Spec;
  // Size on a 12-point scale; 12 is the document's base size.
  int NominalSize = 12;
  // Text in the preformatted font (PRE, TT, CODE and the like).
  bool FixedPitch = false;

  void SetNominalSize(const DocumentFonts& doc, int n);
  // Face from the document (preformatted or default by FixedPitch), its
  // character set and point size, and the colour made palette-relative.
  void ApplyDefaults(const DocumentFonts& doc, TColor color);
  bool operator==(const TMyFont&) const = default;
};

// One font run of a text section: from Pos on, the section's characters
// use this font. Metrics are measured through the canvas the first time
// they are asked for, and again after the font changes.
class TFontObj {
 public:
  TFontObj(TMyFont font, int pos) : Pos(pos), font_(std::move(font)) {}

  int Pos;
  SubSupKind SScript = SubSupKind::None;

 private:
  // Fields in this order leave no padding: a large page has a run a link,
  // and 72 bytes is what takes one allocator step less than 80.
  bool measured_ = false;
  TMyFont font_;
  // The metrics the layout asks of a run (not the ascent).
  struct RunMetrics {
    int Height = 0;
    int Descent = 0;
    int ExternalLeading = 0;
    int Overhang = 0;
  } metrics_;

 public:
  // The link the run belongs to; an empty address is plain text.
  RunLink UrlTarget;

  const TMyFont& Font() const { return font_; }
  void SetFont(TMyFont font) {
    font_ = std::move(font);
    measured_ = false;
  }
  // Rebuilds the font from the document: link colour for link text, the
  // text colour otherwise.
  void UpdateFont(const DocumentFonts& doc);

  // Text height plus external leading.
  int LineHeight(Canvas& canvas) {
    const RunMetrics& m = Metrics(canvas);
    return m.Height + m.ExternalLeading;
  }
  int FontHeight(Canvas& canvas) { return Metrics(canvas).Height; }
  int Descent(Canvas& canvas) { return Metrics(canvas).Descent; }
  int Overhang(Canvas& canvas) { return Metrics(canvas).Overhang; }
  // Selects the run's font on the canvas.
  void Select(Canvas& canvas) const { canvas.SelectFont(font_.Spec); }

 private:
  const RunMetrics& Metrics(Canvas& canvas);
};

// A section's runs, ordered by increasing Pos, the first at 0. Nearly every
// section of a large page has one run: it is held in place, and a list is
// allocated only for a second.
class TFontList {
 public:
  using value_type = std::unique_ptr<TFontObj>;
  using iterator = value_type*;
  using const_iterator = const value_type*;

  TFontList() = default;
  TFontList(TFontList&&) noexcept = default;
  TFontList& operator=(TFontList&&) noexcept = default;

  bool empty() const { return size() == 0; }
  size_t size() const { return many_ ? many_->size() : (one_ ? 1 : 0); }
  iterator begin() { return many_ ? many_->data() : &one_; }
  iterator end() { return begin() + size(); }
  const_iterator begin() const { return many_ ? many_->data() : &one_; }
  const_iterator end() const { return begin() + size(); }
  value_type& operator[](size_t i) { return begin()[i]; }
  const value_type& operator[](size_t i) const { return begin()[i]; }
  value_type& front() { return *begin(); }
  const value_type& front() const { return *begin(); }
  value_type& back() { return end()[-1]; }
  const value_type& back() const { return end()[-1]; }

  void push_back(value_type run);
  void pop_back();

 private:
  // Without many_, one_ is the list (empty when null); with it, many_
  // holds every run and one_ is null.
  value_type one_;
  std::unique_ptr<std::vector<value_type>> many_;
};

// The run starting at pos, else the last run starting before it; its index
// in index when asked for. nullptr only for an empty list.
TFontObj* FontAt(const TFontList& runs, int pos, int* index = nullptr);
// Characters from pos to the start of the first run starting after it;
// textLength - pos when none does.
int CharsToNextChange(const TFontList& runs, int pos, int textLength);
// Rebuilds every run's font from the document.
void UpdateFonts(TFontList& runs, const DocumentFonts& doc);

}  // namespace quillet
