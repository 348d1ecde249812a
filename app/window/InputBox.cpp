#include "app/window/InputBox.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace quillet {

TfrmInputBox::TfrmInputBox(QWidget* parent) : QDialog(parent) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(11);
  setFont(font);
  setFixedSize(322, 168);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  lblPrompt = new QLabel(this);
  lblPrompt->setGeometry(16, 8, 289, 81);
  lblPrompt->setWordWrap(true);
  lblPrompt->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  edtEntry = new QLineEdit(this);
  edtEntry->setGeometry(16, 96, 289, 21);

  bbtnOK = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
  bbtnOK->setGeometry(72, 132, 80, 25);
  bbtnOK->setDefault(true);
  connect(bbtnOK, &QPushButton::clicked, this, &QDialog::accept);

  bbtnCancel = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Cancel"), this);
  bbtnCancel->setGeometry(170, 132, 80, 25);
  connect(bbtnCancel, &QPushButton::clicked, this, &QDialog::reject);

  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

std::string AskText(const std::string& caption, const std::string& prompt, const std::string& initial) {
  TfrmInputBox box(QApplication::activeWindow());
  box.setWindowTitle(QString::fromStdString(caption));
  box.lblPrompt->setText(QString::fromStdString(prompt));
  box.edtEntry->setText(QString::fromStdString(initial));
  box.edtEntry->selectAll();
  if (box.exec() != QDialog::Accepted) return std::string();
  return box.edtEntry->text().toStdString();
}

}  // namespace quillet
