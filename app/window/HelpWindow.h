#pragma once
// The help pages in a small window of their own, shown in the same pane the
// main window renders bookmarks in: links between the pages are followed
// inside it, web and mail links go to the desktop's programs.
#include <QWidget>
#include <string>

#include "bookmarks/Context.h"

namespace quillet {

class ThtmlPane;

class THelpWindow : public QWidget {
  Q_OBJECT

 public:
  THelpWindow(Context& ctx, QWidget* parent = nullptr);

  // Shows a help page file, optionally followed by "#" and an anchor, and
  // brings the window to the front. Throws when the page cannot be read.
  void ShowPage(const std::string& file);

  ThtmlPane* Pane;

 private:
  void ShowTitle();
  Context& ctx_;
};

// Whether a link is for the desktop's programs rather than a help page: an
// address with a scheme of a web page or mail ("http:", "https:", "ftp:",
// "mailto:"), in any letter case.
bool IsWebLink(const std::string& url);

}  // namespace quillet
