#pragma once
// The text sections of lists and preformatted text: bullet, ordered and
// definition items, whose first line draws a marker left of the section,
// and preformatted lines, kept as written and never wrapped.
#include <string>

#include "viewer/layout/Section.h"

namespace quillet {

// The marker text of item n in an ordered list's style: "A"/"a" letters up
// to Z, "I"/"i" Roman numerals up to XX, anything else decimal; then a full
// stop. Numbers below 1 have no letter or numeral and show in decimal.
std::u16string OrderedMarkerText(char16_t style, int n);

class TUListItem : public TSection {
 public:
  // plain: no bullet is drawn (UL PLAIN); the indent stays.
  TUListItem(TSectionList& doc, int level, const TUrlTarget& link, const TMyFont& font, TFontStyles styles = {},
             bool plain = false);
  std::string_view ClassName() const override { return "TUListItem"; }
  std::u16string MarkerText() const override;

  bool Plain;

 protected:
  void DrawMarker(Canvas& canvas, int x, const LineRec& line, int top, int baseline) override;
};

class TOListItem : public TSection {
 public:
  TOListItem(TSectionList& doc, int level, const TUrlTarget& link, const TMyFont& font, TFontStyles styles,
             int listNumb, char16_t listStyle);
  std::string_view ClassName() const override { return "TOListItem"; }
  std::u16string MarkerText() const override { return OrderedMarkerText(ListStyle, ListNumb); }
  void UpdateFonts() override;

  int ListNumb;
  // '1', 'A', 'a', 'I', 'i' or any other character (decimal).
  char16_t ListStyle;
  // The item's first font, which its number is drawn in.
  TFontObj MarkerFont;

 protected:
  void DrawMarker(Canvas& canvas, int x, const LineRec& line, int top, int baseline) override;
};

// DT and DD: indented like list items, with nothing drawn in front.
class TDListItem : public TSection {
 public:
  TDListItem(TSectionList& doc, int level, const TUrlTarget& link, const TMyFont& font, TFontStyles styles = {});
  std::string_view ClassName() const override { return "TDListItem"; }
};

// One line of preformatted text: stored as written (spaces kept), never
// wrapped, clipped to its line when drawn.
class TPreFormated : public TSection {
 public:
  TPreFormated(TSectionList& doc, int level, const TUrlTarget& link, const TMyFont& font, TFontStyles styles = {});
  std::string_view ClassName() const override { return "TPreFormated"; }

  // Appends the text unchanged while the section holds at most kMaxText
  // characters.
  void AddText(std::u16string_view text) override;
  // Its text width plus the indent; the minimum at most 500.
  void MinMaxWidth(Canvas& canvas, int& Min, int& Max) override;
  // An empty line gets a space, so that a blank line keeps its height.
  void AddedToCell() override;

  static constexpr int kMaxMinWidth = 500;

 protected:
  bool NoWrap() const override { return true; }
};

}  // namespace quillet
