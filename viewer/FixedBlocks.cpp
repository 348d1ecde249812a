#include "viewer/FixedBlocks.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "viewer/AsciiCase.h"
#include "viewer/IndentManager.h"
#include "viewer/SectionList.h"

namespace quillet {

namespace {

int FontSize(const TSectionBase& block) {
  return block.ParentSectionList ? block.ParentSectionList->Fonts.FontSize : 12;
}

// A colour attribute: one of the 16 HTML colour names, or hexadecimal RGB
// with an optional "#". The reader's ColorFromString (viewer/Colors) takes
// over this reading once it is on main; the rules are the same.
bool ReadColor(std::u16string_view text, TColor& color) {
  if (text.empty()) return false;
  struct Named {
    std::u16string_view Name;
    uint32_t Rgb;
  };
  static constexpr std::array<Named, 16> kNames = {{
      {u"BLACK", 0x000000}, {u"MAROON", 0x800000}, {u"GREEN", 0x008000}, {u"OLIVE", 0x808000},
      {u"NAVY", 0x000080},  {u"PURPLE", 0x800080}, {u"TEAL", 0x008080},  {u"GRAY", 0x808080},
      {u"SILVER", 0xC0C0C0}, {u"RED", 0xFF0000},   {u"LIME", 0x00FF00},  {u"YELLOW", 0xFFFF00},
      {u"BLUE", 0x0000FF},  {u"FUCHSIA", 0xFF00FF}, {u"AQUA", 0x00FFFF}, {u"WHITE", 0xFFFFFF},
  }};
  const std::u16string upper = UpperAscii(text, 10);
  uint32_t rgb = 0;
  bool found = false;
  for (const Named& n : kNames)
    if (upper == n.Name) {
      rgb = n.Rgb;
      found = true;
    }
  if (!found) {
    std::u16string hex(text);
    if (const size_t hash = hex.find(u'#'); hash != std::u16string::npos) hex.erase(hash, 1);
    if (hex.empty() || hex.size() > 8) return false;
    for (const char16_t c : hex) {
      int d;
      if (c >= u'0' && c <= u'9') d = c - u'0';
      else if (c >= u'a' && c <= u'f') d = c - u'a' + 10;
      else if (c >= u'A' && c <= u'F') d = c - u'A' + 10;
      else return false;
      rgb = (rgb << 4) | static_cast<uint32_t>(d);
    }
  }
  color = RgbColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
  return true;
}

}  // namespace

void TParagraphSpace::SetHeights() { SectionHeight = 14 * FontSize(*this) / 12; }

void THeadingSpace::SetHeights() {
  static constexpr std::array<int, 7> kTwelfths = {8, 16, 12, 10, 8, 6, 4};
  const int k = Level >= 1 && Level <= 6 ? kTwelfths[static_cast<size_t>(Level)] : kTwelfths[0];
  SectionHeight = k * FontSize(*this) / 12;
}

THorzLine::THorzLine(const TAttributeList& attributes) { ReadAttributes(attributes); }

void THorzLine::ReadAttributes(const TAttributeList& attributes) {
  if (const TAttribute* a = attributes.Find(Sy::Size); a && a->Number >= 1 && a->Number <= 20)
    Thickness = a->Number;
  if (const TAttribute* a = attributes.Find(Sy::Width); a && a->Number > 0) {
    Percent = a->Text.find(u'%') != std::u16string::npos;
    if (!Percent || a->Number <= 100) Width = a->Number;
  }
  if (const TAttribute* a = attributes.Find(Sy::Align)) {
    const std::u16string align = LowerAscii(a->Text, 10);
    if (align == u"left") Align = Justification::Left;
    else if (align == u"right") Align = Justification::Right;
  }
  if (const TAttribute* a = attributes.Find(Sy::Color)) HasColor = ReadColor(a->Text, Color);
  NoShade = attributes.Has(Sy::NoShade);
}

void THorzLine::SetHeights() { SectionHeight = 20 * FontSize(*this) / 12 + Thickness - 2; }

int THorzLine::DrawLogic(Canvas& canvas, int Y, IndentManager& IMgr, int& MaxWidth, int& Curs) {
  left_ = IMgr.LeftIndent(Y) - IMgr.LfEdge;
  right_ = IMgr.RightSide(Y) - IMgr.LfEdge;
  return TSectionBase::DrawLogic(canvas, Y, IMgr, MaxWidth, Curs);
}

int THorzLine::Draw(Canvas& canvas, const Rect& ClipRect, IndentManager&, int X, int Y) {
  YValue = Y;
  const int bottom = Y + SectionHeight;
  if (bottom <= ClipRect.Top || Y >= ClipRect.Bottom) return bottom;

  const int top = Y + (SectionHeight - Thickness) / 2;
  const int l = X + left_;
  const int r = X + right_;
  int x1, x2;  // left edge, and one past the right edge
  if (Width < 0) {
    x1 = l + 10;
    x2 = r - 10;
  } else {
    const int w = Percent ? (r - l) * Width / 100 : Width;
    switch (Align) {
      case Justification::Left: x1 = l; break;
      case Justification::Right: x1 = r - w; break;
      default: x1 = l + (r - l - w) / 2; break;
    }
    x2 = x1 + w;
  }
  if (x2 <= x1) return bottom;

  if (HasColor) {
    canvas.FillRect({x1, top, x2, top + Thickness}, Color | kPaletteRelative);
    return bottom;
  }
  // Engraved: shadow on the left and top, light on the right and bottom.
  const TColor background = ParentSectionList ? ParentSectionList->Background() : clWindow;
  const bool white = canvas.Palette().Resolve(background) == clWhite;
  const TColor dark = NoShade ? clBlack : clBtnShadow;
  const TColor light = NoShade ? clBlack : white ? clSilver : clBtnHighlight;
  const int xr = x2 - 1, yb = top + Thickness - 1;
  canvas.Line(x1, yb, x1, top, dark);
  canvas.Line(x1, top, xr, top, dark);
  canvas.Line(xr, top, xr, yb, light);
  canvas.Line(xr, yb, x1, yb, light);
  return bottom;
}

}  // namespace quillet
