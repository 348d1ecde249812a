#pragma once
// A document on the fixed canvas for layout tests: 12-point fonts are 16
// pixels high with descent 4 and leading 2, so a line is 18 pixels and its
// baseline 14 below its top; characters are 8 pixels wide (9 bold).
#include <memory>
#include <string>
#include <vector>

#include "platform/FixedCanvas.h"
#include "viewer/layout/ListItems.h"
#include "viewer/layout/SectionList.h"

namespace quillet::test {

inline TMyFont BaseFont(TColor color = clBlack) {
  TMyFont f;
  f.Spec.Color = color;
  return f;
}

// The calls of a recording that start with one of the prefixes.
inline std::vector<std::string> CallsStarting(const FixedCanvas& canvas, std::vector<std::string> prefixes) {
  std::vector<std::string> out;
  for (const std::string& call : canvas.Calls)
    for (const std::string& p : prefixes)
      if (call.rfind(p, 0) == 0) {
        out.push_back(call);
        break;
      }
  return out;
}

struct LayoutFixture {
  FixedCanvas canvas;
  TSectionList doc;

  LayoutFixture() { doc.SetBackground(clWhite); }

  // A section with the base font; the caller adds text.
  std::unique_ptr<TSection> NewSection(Justification j = Justification::Left, int level = 0) {
    return std::make_unique<TSection>(doc, level, j, TUrlTarget(), BaseFont());
  }
  TSection& AddSection(std::u16string_view text, Justification j = Justification::Left, int level = 0) {
    auto s = NewSection(j, level);
    s->AddText(text);
    TSection& ref = *s;
    doc.Add(std::move(s));
    return ref;
  }
  // Lays the document out at y 0 for a width; returns the height.
  int Layout(int width) {
    int curs = 0, maxWidth = 0;
    return doc.DoLogic(canvas, 0, width, curs, maxWidth);
  }
  int LayoutMaxWidth(int width) {
    int curs = 0, maxWidth = 0;
    doc.DoLogic(canvas, 0, width, curs, maxWidth);
    return maxWidth;
  }
  // Draws everything at x 0 and returns the text calls.
  std::vector<std::string> DrawText(int width = 2000) {
    canvas.Calls.clear();
    doc.Draw(canvas, {0, 0, width, 100000}, 0, 0, width);
    return CallsStarting(canvas, {"TextOut"});
  }
};

}  // namespace quillet::test
