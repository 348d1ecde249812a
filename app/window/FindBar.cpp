#include "app/window/FindBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace quillet {

FindBar::FindBar(QWidget* parent) : QWidget(parent), field_(new QLineEdit(this)), note_(new QLabel(this)) {
  setObjectName(QStringLiteral("findBar"));
  field_->setObjectName(QStringLiteral("findField"));
  note_->setObjectName(QStringLiteral("findNote"));
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 4, 0, 0);
  auto* label = new QLabel(QStringLiteral("&Find:"), this);
  label->setBuddy(field_);
  layout->addWidget(label);
  layout->addWidget(field_, 1);
  const auto button = [this, layout](const QString& text, const QString& tip, const auto& clicked) {
    auto* b = new QToolButton(this);
    b->setText(text);
    b->setToolTip(tip);
    b->setAutoRaise(true);
    connect(b, &QToolButton::clicked, this, clicked);
    layout->addWidget(b);
  };
  button(QStringLiteral("Next"), QStringLiteral("Find Next (F3)"), [this] { emit FindRequested(false); });
  button(QStringLiteral("Previous"), QStringLiteral("Find Previous (Shift+F3)"), [this] { emit FindRequested(true); });
  layout->addWidget(note_);
  layout->addStretch();
  button(QStringLiteral("\u00D7"), QStringLiteral("Close (Escape)"), [this] {
    hide();
    emit Closed();
  });
  field_->installEventFilter(this);
  connect(field_, &QLineEdit::textEdited, this, [this] { note_->clear(); });
  hide();
}

QString FindBar::Text() const { return field_->text(); }

void FindBar::Open() {
  show();
  field_->setFocus(Qt::ShortcutFocusReason);
  field_->selectAll();
}

void FindBar::SetNote(const QString& note) { note_->setText(note); }

QString FindBar::Note() const { return note_->text(); }

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == field_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      emit FindRequested(key->modifiers() & Qt::ShiftModifier);
      return true;
    }
    if (key->key() == Qt::Key_Escape) {
      hide();
      emit Closed();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace quillet
