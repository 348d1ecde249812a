#pragma once
// The rendered view as the window browses in it: links and pictures of the
// document resolve beside the document's file (wherever the program was
// started), the pages followed from it are kept for Back and Forward
// (Alt+Left, Alt+Right, the mouse's back and forward buttons), and the
// status bar says when the page shown is not the document. The source view
// and Save keep working on the document.
#include <QObject>
#include <functional>
#include <string>

class QLabel;
class QStatusBar;

namespace quillet {

class ThtmlPane;

class TPaneBrowsing : public QObject {
  Q_OBJECT

 public:
  // Pages kept behind and ahead of the one shown, the document included.
  static constexpr int kHistoryLength = 50;

  // documentFile names the file the document belongs to (empty: none).
  TPaneBrowsing(ThtmlPane& pane, QStatusBar& bar, std::function<std::string()> documentFile);

  // What the status bar says of the page shown; empty while it is the
  // document, or while the source view hides the pane.
  std::string PageNote() const;

 signals:
  // The pages kept behind or ahead changed (Back and Forward follow them).
  void HistoryChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowPage();

  ThtmlPane& pane_;
  QLabel* note_;
};

}  // namespace quillet
