#pragma once
// The modal one-line input box.
#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quillet {

class TfrmInputBox : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmInputBox(QWidget* parent = nullptr);

  QLabel* lblPrompt;
  QLineEdit* edtEntry;
  QPushButton* bbtnOK;
  QPushButton* bbtnCancel;
};

// Shows the input box with the caption, the prompt and the default text.
// Returns the typed text after OK; empty text after Cancel, Escape or the
// title-bar button.
std::string AskText(const std::string& caption, const std::string& prompt, const std::string& initial);

}  // namespace quillet
