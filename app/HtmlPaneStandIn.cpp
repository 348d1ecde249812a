#include "app/HtmlPaneStandIn.h"
#include "viewer/LinkPath.h"

#include <QMouseEvent>
#include <QTextBlock>

#include "app/DisplayCodec.h"
#include "convert/BookmarkFormat.h"

namespace quillet {

namespace {

// The visible text of a piece of markup: tags dropped, the common entities read.
std::string PlainText(std::string_view s) {
  std::string out;
  bool inTag = false;
  for (char c : s) {
    if (c == '<') inTag = true;
    else if (c == '>') inTag = false;
    else if (!inTag) out += c;
  }
  static const std::pair<std::string_view, std::string_view> kEntities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&amp;", "&"}};
  for (const auto& [from, to] : kEntities) {
    for (size_t at = out.find(from); at != std::string::npos; at = out.find(from, at + to.size()))
      out.replace(at, from.size(), to);
  }
  const auto first = out.find_first_not_of(" \t");
  return first == std::string::npos ? std::string() : out.substr(first);
}

}  // namespace

ThtmlPane::ThtmlPane(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setFrameStyle(QFrame::Box | QFrame::Plain);
  viewport()->setMouseTracking(true);
  QFont font(QString::fromStdString(DefFontName));
  font.setPixelSize(14);
  setFont(font);
}

void ThtmlPane::LoadStrings(const TextLines& lines) {
  const DisplayEncoding enc = ChooseDisplayEncoding(lines);
  std::string text;
  links_.clear();
  int level = 0;
  for (const auto& line : lines) {
    const std::string upper = UpperAscii(line);
    std::string shown;
    std::string link;
    if (IsHeading(line)) {
      const auto open = upper.find('>', upper.find("<H3"));
      const auto close = upper.find("</H3>");
      shown = "\xE2\x96\xBE " + PlainText(std::string_view(line).substr(
                                     open + 1, close == std::string::npos || close < open ? std::string::npos
                                                                                          : close - open - 1));
    } else if (const size_t c = DescriptionStart(line); c > 0 && upper.find("<A ") != std::string::npos) {
      const auto end = upper.find("</A>", c - 1);
      shown = "\xE2\x80\xA2 " + PlainText(std::string_view(line).substr(
                                    c - 1, end == std::string::npos ? std::string::npos : end - (c - 1)));
      link = LinkAddress(line);
    }
    // Lists nest the outline; the top list is level 0.
    if (upper.find("<DL") != std::string::npos) ++level;
    if (IsListEnd(line) && level > 0) --level;
    if (shown.empty()) continue;
    const int indent = std::max(0, level - 1) * 4;
    text.append(static_cast<size_t>(indent), ' ').append(DecodeForDisplay(shown, enc)).append("\n");
    links_.push_back(DecodeForDisplay(link, enc));
  }
  if (!text.empty()) text.pop_back();
  setPlainText(QString::fromStdString(text));
  moveCursor(QTextCursor::Start);
}

std::string ThtmlPane::ExpandLinkPath(const std::string& link) const {
  return quillet::ExpandLinkPath(link, LinkBase{ServerRoot, std::string(), std::string()});
}

std::string ThtmlPane::LinkOnLine(int line) const {
  return line >= 0 && static_cast<size_t>(line) < links_.size() ? links_[static_cast<size_t>(line)] : std::string();
}

void ThtmlPane::mouseMoveEvent(QMouseEvent* e) {
  const bool onLink = !LinkOnLine(cursorForPosition(e->position().toPoint()).blockNumber()).empty();
  viewport()->setCursor(onLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
  QPlainTextEdit::mouseMoveEvent(e);
}

void ThtmlPane::mouseReleaseEvent(QMouseEvent* e) {
  QPlainTextEdit::mouseReleaseEvent(e);
  if (e->button() != Qt::LeftButton || textCursor().hasSelection()) return;
  const std::string url = LinkOnLine(cursorForPosition(e->position().toPoint()).blockNumber());
  if (url.empty() || !OnHotSpotClick) return;
  bool handled = false;
  OnHotSpotClick(url, handled);
}

}  // namespace quillet
