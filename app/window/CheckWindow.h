#pragma once
// The window of a link check: its progress with counts per state and Stop,
// the results in a list filtered by state, and the two changes a check may
// lead to (dead links moved into a folder, permanent redirects applied),
// each shown before it is made and made as one step of the document's
// history. The check runs on the event loop: the main window stays usable.
#include <QDialog>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bookmarks/Context.h"
#include "check/CheckDocument.h"
#include "check/LinkCheck.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace quillet {

class CheckWindow : public QDialog {
  Q_OBJECT

 public:
  CheckWindow(Context& ctx, QWidget* parent);
  ~CheckWindow() override;

  // Checks the links of lines that lie in the folders named (folder paths,
  // each covering its subfolders; none: every link). Call once. Returns how
  // many links there are to check; with none, nothing starts.
  size_t Start(const TextLines& lines, const std::vector<std::string>& folders, CheckOptions options);
  // Aborts the open requests at once; the results so far stay, nothing of
  // the document changes.
  void Stop();
  bool Running() const;

  // The links checked and their results as shown: once stopped, a link dead
  // on its first check only is an error, as the second check would have
  // left it unless it failed again.
  const std::vector<DocumentLink>& Links() const { return links_; }
  const std::vector<LinkResult>& Results() const { return results_; }

  // Asks for the folder, shows what moves, and moves; then the same for
  // the permanent redirects (never to a site's bare root).
  void MoveDeadToFolder();
  void ApplyPermanentRedirects();

  // The document was changed from lines before: one step of the history.
  std::function<void(TextLines before, const QString& step, const std::string& note)> OnChange;

  QLabel* summaryLabel;
  QProgressBar* progressBar;
  QLabel* countsLabel;
  QPushButton* stopButton;
  QComboBox* filterBox;
  QTreeWidget* resultList;
  QPushButton* moveDeadButton;
  QPushButton* applyRedirectsButton;
  QPushButton* closeButton;

 protected:
  // Closing, with the title-bar button or Escape, stops the check.
  void closeEvent(QCloseEvent* e) override;
  void reject() override;

 private:
  void Progress(size_t link);
  void Ended();
  void ShowRow(size_t link);
  // Every row and count anew from the checker's results.
  void ShowAll();
  void ShowState();
  void ApplyFilter();
  // Runs edit on a copy of the document's current lines, whose links take
  // the results of the links checked in the same folder with the same
  // address; shows what changed and, on Yes, makes it the document.
  void Change(const std::function<size_t(BookmarkTree&, const std::vector<DocumentLink>&,
                                         const std::vector<LinkResult>&)>& edit,
              const std::string& question, const QString& step, const std::string& done, const std::string& none);

  Context& ctx_;
  std::unique_ptr<LinkChecker> checker_;
  std::vector<DocumentLink> links_;
  std::vector<LinkResult> results_;
  // How often each link's check ended: twice for one checked again.
  std::vector<int> passes_;
  // Links by state as shown; the last, those not checked.
  std::array<size_t, kLinkStateCount + 1> counts_{};
  bool stopped_ = false;
};

}  // namespace quillet
