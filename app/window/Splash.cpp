#include "app/window/Splash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace quillet {

TSplash::TSplash(QWidget* parent)
    : QFrame(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
  setFixedSize(342, 185);
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(5);
  setAutoFillBackground(true);
  // It only shows; clicks and keys go nowhere.
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);

  auto* title = new QLabel(QStringLiteral("Quillet!"), this);
  QFont font(QStringLiteral("Comic Sans MS"));
  font.setPixelSize(37);
  font.setBold(true);
  title->setFont(font);
  QPalette pal = title->palette();
  pal.setColor(QPalette::WindowText, QColor(0, 128, 0));
  title->setPalette(pal);
  title->move(16, 10);
  title->adjustSize();

  auto* icon = new QLabel(this);
  icon->setPixmap(QPixmap(QStringLiteral(":/pictures/quillet.png")));
  icon->setGeometry(155, 100, 32, 32);

  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->geometry().center() - rect().center());
}

}  // namespace quillet
