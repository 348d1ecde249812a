#pragma once
// Looking into what a ThtmlPane shows, for tests: its links, its text, and
// where on the panel a link or a piece of text lies, found from the laid-out
// document so tests need no pixel positions of their own.
#include <QImage>
#include <QPoint>
#include <QScrollBar>
#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "platform/TextCodec.h"
#include "platform/qt/QtCanvas.h"
#include "viewer/document/DocumentText.h"
#include "viewer/layout/Section.h"
#include "viewer/qt/HtmlPane.h"

namespace quillet::test {

// The addresses of the links shown, in document order, each once per run
// of text.
inline std::vector<std::string> PaneLinks(ThtmlPane& pane) {
  std::vector<std::string> links;
  for (const auto& block : pane.Document().Blocks())
    if (const auto* s = dynamic_cast<const TSection*>(block.get()))
      for (const auto& run : s->Fonts)
        if (run.UrlTarget.IsLink() && run.Pos < s->Len()) links.push_back(Utf16ToUtf8(run.UrlTarget.Url()));
  return links;
}

inline std::string FirstLink(ThtmlPane& pane) {
  const auto links = PaneLinks(pane);
  return links.empty() ? std::string() : links.front();
}

// The whole text shown, a line per paragraph.
inline std::string PaneText(ThtmlPane& pane) {
  return Utf16ToUtf8(DocumentText(pane.Document(), 0, INT_MAX));
}

// The cursor position of the first occurrence of text in the document.
inline int PositionOf(ThtmlPane& pane, const std::string& text) {
  return pane.Document().FindString(0, Utf8ToUtf16(text), true);
}

// A panel point inside the character at a cursor position (its middle,
// halfway down its line), at the pane's present scroll position.
inline QPoint PanelPointOf(ThtmlPane& pane, int pos) {
  QImage scratch(1, 1, QImage::Format_RGB32);
  QtCanvas canvas(scratch);
  int x = 0, y = 0, x2 = 0, y2 = 0;
  TSectionList& doc = pane.Document();
  if (!doc.CursorToXY(canvas, pos, x, y)) return {-1000, -1000};
  const auto charAt = [&](int docX) {
    TCursorHit hit;
    return doc.FindCursor(canvas, docX, y + 8, hit) >= 0 && hit.Intext ? hit.Char : -1;
  };
  // The next character's left edge on the same line ends this one, when
  // both read left to right.
  int middle = 0;
  if (doc.CursorToXY(canvas, pos + 1, x2, y2) && y2 == y && x2 > x && charAt((x + x2) / 2) == pos) {
    middle = (x + x2) / 2;
  } else {
    // Right to left, or where the direction turns: the character lies on
    // one side of its position; its box is where the pane finds it.
    int from = x - 1;
    while (from > x - 60 && charAt(from) != pos) --from;
    if (charAt(from) != pos) {
      from = x;
      while (from < x + 60 && charAt(from) != pos) ++from;
    }
    if (charAt(from) == pos) {
      int to = from;
      while (charAt(from - 1) == pos) --from;
      while (charAt(to + 1) == pos) ++to;
      middle = (from + to) / 2;
    } else {
      middle = x + 3;
    }
  }
  const int px = middle + pane.MarginWidth() - pane.horizontalScrollBar()->value();
  return {px, y - pane.Position() + 8};
}

// The middle of the first character of text.
inline QPoint PanelPointOf(ThtmlPane& pane, const std::string& text) {
  return PanelPointOf(pane, PositionOf(pane, text));
}

}  // namespace quillet::test
