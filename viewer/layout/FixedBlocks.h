#pragma once
// Blocks of a fixed height that scales with the document's font size f:
// paragraph spaces (14 f / 12), heading spaces (k f / 12) and horizontal
// rules (20 f / 12 + thickness - 2), each rounded as integer
// multiply-then-divide. Their height is computed again by SetHeights, which
// runs when they are added and whenever the document's fonts change.
#include "viewer/layout/SectionBase.h"
#include "viewer/text/Attributes.h"

namespace quillet {

class TParagraphSpace : public TSectionBase {
 public:
  std::string_view ClassName() const override { return "TParagraphSpace"; }
  void SetHeights() override;
};

class THeadingSpace : public TSectionBase {
 public:
  // Level 1 to 6 for H1 to H6; 0 for the neutral heading size.
  explicit THeadingSpace(int level) : Level(level) {}
  std::string_view ClassName() const override { return "THeadingSpace"; }
  void SetHeights() override;

  int Level;
};

class THorzLine : public TSectionBase {
 public:
  // Reads SIZE, WIDTH, ALIGN, COLOR and NOSHADE.
  explicit THorzLine(const TAttributeList& attributes);
  std::string_view ClassName() const override { return "THorzLine"; }

  void SetHeights() override;
  int DrawLogic(Canvas& canvas, int Y, IndentManager& IMgr, int& MaxWidth, int& Curs) override;
  int Draw(Canvas& canvas, const Rect& ClipRect, IndentManager& IMgr, int X, int Y) override;

  int Thickness = 2;  // SIZE, used when 1 to 20
  int Width = -1;     // -1: the whole width less 10 pixels each side
  bool Percent = false;
  Justification Align = Justification::Center;
  bool HasColor = false;
  TColor Color = 0;
  bool NoShade = false;

 private:
  void ReadAttributes(const TAttributeList& attributes);
  // The cell's left indent and right side at the rule's top, from layout,
  // relative to the cell's left edge.
  int left_ = 0;
  int right_ = 0;
};

}  // namespace quillet
