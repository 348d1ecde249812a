#pragma once
// A stand-in for the rendered view until the HTML pane is built: it shows a
// bookmark document as an outline (folder names and link descriptions,
// indented by level) and reports clicks on links. Only the interface the
// window uses is here.
#include <QColor>
#include <QPlainTextEdit>
#include <functional>
#include <string>
#include <vector>

#include "convert/Context.h"

namespace quillet {

class ThtmlPane : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit ThtmlPane(QWidget* parent = nullptr);

  // Shows the document from the top.
  void LoadStrings(const TextLines& lines);
  // A link made into a full local path.
  std::string ExpandLinkPath(const std::string& link) const;

  // Raised on a click on a link; a link left unhandled is followed by the
  // pane (the stand-in has nowhere to follow it).
  std::function<void(const std::string& url, bool& handled)> OnHotSpotClick;

  // The properties the window sets up.
  std::string ServerRoot;
  bool ViewImages = true;
  QColor DefBackground;
  bool SingleBorder = true;
  int HistoryMaxCount = 0;
  std::string DefFontName = "Times New Roman";
  std::string DefPreFontName = "Courier New";
  bool NoSelect = false;
  int CharSet = 1;  // the default character set

  // The link shown on an outline line, or "" (tests and the click use it).
  std::string LinkOnLine(int line) const;

 protected:
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  std::vector<std::string> links_;  // per outline line
};

}  // namespace quillet
