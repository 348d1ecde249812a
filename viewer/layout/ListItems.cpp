#include "viewer/layout/ListItems.h"

#include <algorithm>
#include <array>

#include "platform/AsciiCase.h"
#include "viewer/layout/SectionList.h"

namespace quillet {

// A bulleted list's item keeps its own field where its section would pad.
static_assert(sizeof(void*) != 8 || sizeof(TUListItem) == sizeof(TSection));

namespace {

constexpr std::array<std::u16string_view, 20> kRoman = {
    u"I",   u"II",   u"III",   u"IV", u"V",   u"VI",   u"VII",   u"VIII",   u"IX",  u"X",
    u"XI",  u"XII",  u"XIII",  u"XIV", u"XV", u"XVI",  u"XVII",  u"XVIII",  u"XIX", u"XX"};

std::u16string Decimal(int n) {
  const std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
}

// Whether the page behind a bullet counts as light: coloured bullets then,
// outlined ones otherwise.
bool LightBackground(Canvas& canvas, TColor background) {
  if ((background & ~kPaletteRelative) == clBtnFace) return true;
  const TColor c = canvas.Palette().Resolve(background);
  return c == clWhite || c == clSilver;
}

}  // namespace

std::u16string OrderedMarkerText(char16_t style, int n) {
  std::u16string text;
  if (n >= 1 && (style == u'A' || style == u'a')) {
    const char16_t letter = static_cast<char16_t>(u'A' + std::min(n, 26) - 1);
    text = style == u'a' ? LowerAscii(letter) : letter;
  } else if (n >= 1 && (style == u'I' || style == u'i')) {
    text = kRoman[static_cast<size_t>(std::min(n, 20) - 1)];
    if (style == u'i') text = LowerAscii(text);
  } else {
    text = Decimal(n);
  }
  return text + u".";
}

TUListItem::TUListItem(TSectionList& doc, int level, const TUrlTarget& link, const TMyFont& font,
                       TFontStyles styles, bool plain)
    : TSection(doc, level, Justification::Left, link, font, styles), Plain(plain) {
  ListType = ListKind::Bullet;
}

std::u16string TUListItem::MarkerText() const { return Plain ? std::u16string() : std::u16string(u"\u2022"); }

void TUListItem::DrawMarker(Canvas& canvas, int x, const LineRec& line, int top, int) {
  if (Plain) return;
  const TSectionList& doc = *ParentSectionList;
  const int cx = x - 8;
  const int cy = top + line.Height() / 2;
  const Rect box{cx - 2, cy - 2, cx + 3, cy + 3};
  if (LightBackground(canvas, doc.Background())) {
    // By nesting level: red, navy, maroon, and round again.
    static constexpr TColor kByLevel[] = {clRed, clNavy, clMaroon};
    const TColor c = kByLevel[static_cast<size_t>(Level) % 3] | kPaletteRelative;
    canvas.Ellipse(box, c, c);
  } else {
    canvas.Ellipse(box, doc.Fonts.FontColor, std::nullopt);
  }
}

TOListItem::TOListItem(TSectionList& doc, int level, const TUrlTarget& link, const TMyFont& font,
                       TFontStyles styles, int listNumb, char16_t listStyle)
    : TSection(doc, level, Justification::Left, link, font, styles),
      ListNumb(listNumb),
      ListStyle(listStyle),
      MarkerFont(Fonts.front()) {
  ListType = ListKind::Ordered;
}

void TOListItem::UpdateFonts() {
  TSection::UpdateFonts();
  MarkerFont.UpdateFont(ParentSectionList->Fonts);
}

void TOListItem::DrawMarker(Canvas& canvas, int x, const LineRec&, int, int baseline) {
  const std::u16string text = MarkerText();
  MarkerFont.Select(canvas);
  const int width = canvas.TextWidth(text);
  canvas.TextOut(x - 5 - width, baseline, text);
}

TDListItem::TDListItem(TSectionList& doc, int level, const TUrlTarget& link, const TMyFont& font,
                       TFontStyles styles)
    : TSection(doc, level, Justification::Left, link, font, styles) {
  ListType = ListKind::Definition;
}

TPreFormated::TPreFormated(TSectionList& doc, int level, const TUrlTarget& link, const TMyFont& font,
                           TFontStyles styles)
    : TSection(doc, level, Justification::Left, link, font, styles) {}

void TPreFormated::AddText(std::u16string_view text) {
  if (Len() > kMaxText) return;
  AppendText(text);
}

void TPreFormated::MinMaxWidth(Canvas& canvas, int& Min, int& Max) {
  Max = TextExtent(canvas, 0, Len()) + IndentX;
  Min = std::min(Max, kMaxMinWidth);
}

void TPreFormated::AddedToCell() {
  if (Buff.empty()) AppendText(u" ");
  TSection::AddedToCell();
}

}  // namespace quillet
