#pragma once
// Fonts of the pane: the font object that knows its HTML size and whether it
// is the fixed-pitch font, the font run of a text section with its measured
// metrics and its link, and the queries over a section's runs.
#include <cstdint>
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
  // Fields in this order leave no padding: a large page has a run a link.
  // The metrics are a cache, filled by the const queries below.
  mutable bool measured_ = false;
  TMyFont font_;
  // The metrics the layout asks of a run (not the ascent).
  struct RunMetrics {
    int Height = 0;
    int Descent = 0;
    int ExternalLeading = 0;
    int Overhang = 0;
  };
  mutable RunMetrics metrics_;

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
  int LineHeight(Canvas& canvas) const {
    const RunMetrics& m = Metrics(canvas);
    return m.Height + m.ExternalLeading;
  }
  int FontHeight(Canvas& canvas) const { return Metrics(canvas).Height; }
  int Descent(Canvas& canvas) const { return Metrics(canvas).Descent; }
  int Overhang(Canvas& canvas) const { return Metrics(canvas).Overhang; }
  // Selects the run's font on the canvas.
  void Select(Canvas& canvas) const { canvas.SelectFont(font_.Spec); }

 private:
  const RunMetrics& Metrics(Canvas& canvas) const;
};

// A section's runs, ordered by increasing Pos, the first at 0. Nearly every
// section of a large page has one run: it is held in place, in the
// section's own allocation, and the runs after it go to the heap. A run
// keeps its address for as long as it is in the list.
class TFontList {
 public:
  TFontList() : first_(TMyFont{}, 0) {}
  explicit TFontList(TFontObj first) : first_(std::move(first)), state_(kOne) {}
  TFontList(const TFontList&) = delete;
  TFontList& operator=(const TFontList&) = delete;
  ~TFontList() { delete Rest(); }

  bool empty() const { return state_ == kEmpty; }
  size_t size() const {
    if (const auto* rest = Rest()) return 1 + rest->size();
    return state_ == kOne ? 1 : 0;
  }
  TFontObj& operator[](size_t i) { return i == 0 ? first_ : *(*Rest())[i - 1]; }
  const TFontObj& operator[](size_t i) const { return i == 0 ? first_ : *(*Rest())[i - 1]; }
  TFontObj& front() { return first_; }
  const TFontObj& front() const { return first_; }
  TFontObj& back() { return (*this)[size() - 1]; }
  const TFontObj& back() const { return (*this)[size() - 1]; }

  void push_back(TFontObj run);
  void pop_back();

  // Forward iteration, for range-for.
  template <class List, class Run>
  class Iter {
   public:
    Iter(List* list, size_t i) : list_(list), i_(i) {}
    Run& operator*() const { return (*list_)[i_]; }
    Run* operator->() const { return &(*list_)[i_]; }
    Iter& operator++() {
      ++i_;
      return *this;
    }
    bool operator==(const Iter& o) const { return i_ == o.i_; }

   private:
    List* list_;
    size_t i_;
  };
  using iterator = Iter<TFontList, TFontObj>;
  using const_iterator = Iter<const TFontList, const TFontObj>;
  iterator begin() { return {this, 0}; }
  iterator end() { return {this, size()}; }
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

 private:
  using RestList = std::vector<std::unique_ptr<TFontObj>>;
  // kEmpty (first_ is a placeholder), kOne (first_ is the list), or the
  // address of the runs after first_ (never 0 or 1).
  static constexpr uintptr_t kEmpty = 0;
  static constexpr uintptr_t kOne = 1;
  RestList* Rest() const { return state_ > kOne ? reinterpret_cast<RestList*>(state_) : nullptr; }

  TFontObj first_;
  uintptr_t state_ = kEmpty;
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
