#include "app/window/About.h"

#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <string>

#include "app/StartOptions.h"

namespace quillet {

// The version in the user's number notation (2,32 in some locales).
QString VersionCaption() {
  return QStringLiteral("Version ") + QLocale().toString(QString::fromLatin1(kVersion).toDouble(), 'f', 2);
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About Quillet"));
  setFixedSize(281, 261);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(12);
  font.setBold(true);
  setFont(font);

  // Raised outside, lowered inside.
  Panel1 = new QFrame(this);
  Panel1->setGeometry(0, 0, 281, 161);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setLineWidth(2);
  auto* inner = new QFrame(Panel1);
  inner->setGeometry(4, 4, 273, 153);
  inner->setFrameStyle(QFrame::Panel | QFrame::Sunken);

  ProgramIcon = new QLabel(Panel1);
  ProgramIcon->setGeometry(12, 12, 33, 33);
  ProgramIcon->setPixmap(QPixmap(QStringLiteral(":/pictures/quillet.png")));
  ProgramIcon->setAlignment(Qt::AlignCenter);

  ProductName = new QLabel(QStringLiteral("Quillet"), Panel1);
  ProductName->setGeometry(60, 16, 160, 18);

  Version = new QLabel(VersionCaption(), Panel1);
  Version->setGeometry(60, 40, 160, 18);

  Image1 = new QLabel(Panel1);
  Image1->setGeometry(88, 100, 105, 41);
  Image1->setPixmap(QPixmap(QStringLiteral(":/pictures/logo.png")));
  Image1->setToolTip(QStringLiteral("Visit the Quillet web page"));
  Image1->setCursor(Qt::PointingHandCursor);
  Image1->installEventFilter(this);

  Image2 = new QLabel(Panel1);
  Image2->setGeometry(236, 12, 33, 33);
  Image2->setPixmap(QPixmap(QStringLiteral(":/pictures/maker.png")));
  Image2->setAlignment(Qt::AlignCenter);
  Image2->setToolTip(QStringLiteral("Visit the maker's home page"));
  Image2->setCursor(Qt::PointingHandCursor);
  Image2->installEventFilter(this);

  // Default and cancel button at once: Enter and Escape both close the box.
  OKButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
  OKButton->setGeometry(103, 200, 75, 25);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

void TAboutBox::Image1Click() {
  if (OpenProductPage) OpenProductPage();
}

void TAboutBox::Image2Click() {
  if (OpenMakerHomePage) OpenMakerHomePage();
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    if (watched == Image1) Image1Click();
    if (watched == Image2) Image2Click();
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace quillet
