#include "platform/qt/QtUi.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

namespace quillet {

namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// A Yes/No box that tells a choice from closing it without one. Qt would take
// No for the title-bar button; here that close is reported on its own.
class ConfirmBox : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;
  bool Dismissed = false;

 protected:
  void closeEvent(QCloseEvent* e) override {
    Dismissed = true;
    e->accept();
    QDialog::reject();
  }
  void keyPressEvent(QKeyEvent* e) override {
    if (e->key() == Qt::Key_Escape) {
      Dismissed = true;
      QDialog::reject();
      return;
    }
    QMessageBox::keyPressEvent(e);
  }
};

// Under a busy cursor's hourglass a box still shows the arrow, so the user
// sees that it waits for an answer.
class ArrowWhileAsking {
 public:
  ArrowWhileAsking() : busy_(QApplication::overrideCursor() != nullptr) {
    if (busy_) QApplication::setOverrideCursor(Qt::ArrowCursor);
  }
  ~ArrowWhileAsking() {
    if (busy_) QApplication::restoreOverrideCursor();
  }
  ArrowWhileAsking(const ArrowWhileAsking&) = delete;
  ArrowWhileAsking& operator=(const ArrowWhileAsking&) = delete;

 private:
  bool busy_;
};

void ExecBox(QMessageBox& box) {
  const ArrowWhileAsking arrow;
  box.exec();
}

// Yes and No are answers; Cancel, like closing the box, is none.
Answer Question(const QString& title, const QString& text, QMessageBox::StandardButtons buttons) {
  ConfirmBox box(QMessageBox::Question, title, text, buttons, QApplication::activeWindow());
  box.setDefaultButton(QMessageBox::Yes);
  ExecBox(box);
  if (box.Dismissed) return Answer::Dismissed;
  QAbstractButton* clicked = box.clickedButton();
  if (clicked == box.button(QMessageBox::Yes)) return Answer::Yes;
  if (clicked == box.button(QMessageBox::No)) return Answer::No;
  return Answer::Dismissed;
}

}  // namespace

std::string ErrorBoxText(std::string text) {
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

void QtUi::ShowMessage(const std::string& text) { ShowMessageBox(text, title_); }

void QtUi::ShowMessageBox(const std::string& text, const std::string& title) {
  QMessageBox box(QMessageBox::NoIcon, Q(title), Q(text), QMessageBox::Ok, QApplication::activeWindow());
  ExecBox(box);
}

Answer QtUi::Ask(const std::string& text) {
  return Question(QStringLiteral("Confirm"), Q(text), QMessageBox::Yes | QMessageBox::No);
}

Answer QtUi::AskOrCancel(const std::string& text, const std::string& title) {
  return Question(Q(title), Q(text), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}

std::string QtUi::AskText(const std::string& caption, const std::string& prompt, const std::string& initial) {
  const ArrowWhileAsking arrow;
  return asker_ ? asker_(caption, prompt, initial) : std::string();
}

void QtUi::ShowError(const std::string& text) {
  QMessageBox box(QMessageBox::Critical, Q(title_), Q(ErrorBoxText(text)), QMessageBox::Ok,
                  QApplication::activeWindow());
  ExecBox(box);
}

void QtUi::BeginBusy() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void QtUi::EndBusy() { QApplication::restoreOverrideCursor(); }

}  // namespace quillet
