#include "app/window/PaneBrowsing.h"

#include <QEvent>
#include <QLabel>
#include <QStatusBar>

#include "viewer/qt/HtmlPane.h"

namespace quillet {

TPaneBrowsing::TPaneBrowsing(ThtmlPane& pane, QStatusBar& bar, std::function<std::string()> documentFile)
    : QObject(&pane), pane_(pane), note_(new QLabel(&bar)) {
  note_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  note_->setVisible(false);
  bar.addWidget(note_);
  pane_.DocumentPath = std::move(documentFile);
  pane_.SetHistoryMaxCount(kHistoryLength);
  pane_.OnHistoryChange = [this] {
    ShowPage();
    emit HistoryChanged();
  };
  pane_.installEventFilter(this);
}

bool TPaneBrowsing::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &pane_ && (event->type() == QEvent::Show || event->type() == QEvent::Hide)) ShowPage();
  return QObject::eventFilter(watched, event);
}

std::string TPaneBrowsing::PageNote() const { return note_->text().toStdString(); }

void TPaneBrowsing::ShowPage() {
  // The document was loaded as lines and has no file of the pane's own;
  // every page followed from it has one.
  const std::string& page = pane_.CurrentFile();
  const bool other = !page.empty() && !pane_.isHidden();
  note_->setText(other ? QStringLiteral("Showing %1, not the document (Alt+Left goes back)")
                             .arg(QString::fromStdString(page))
                       : QString());
  note_->setVisible(other);
}

}  // namespace quillet
