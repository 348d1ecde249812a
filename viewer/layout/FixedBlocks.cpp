#include "viewer/layout/FixedBlocks.h"

#include <algorithm>
#include <array>

#include "viewer/layout/IndentManager.h"
#include "viewer/layout/SectionList.h"
#include "viewer/style/Bevel.h"
#include "viewer/style/Colors.h"

namespace quillet {

namespace {

int FontSize(const TSectionBase& block) {
  return block.ParentSectionList ? block.ParentSectionList->Fonts.FontSize : 12;
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
  if (const std::optional<Justification> align = ReadAlignment<Justification>(attributes)) Align = *align;
  if (const TAttribute* a = attributes.Find(Sy::Color)) HasColor = ColorFromString(a->Text, Color);
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
  const TColor dark = NoShade ? clBlack : clBtnShadow;
  const TColor light = NoShade ? clBlack : BevelLightColor(canvas, PageBackground());
  DrawBevel(canvas, {x1, top, x2, top + Thickness}, dark, light);
  return bottom;
}

}  // namespace quillet
