#include "app/window/LoadProgress.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace quillet {

LoadProgress::LoadProgress(QWidget* owner, size_t bytes, const QString& firstStep) : owner_(owner) {
  clock_.start();
  if (bytes >= kBytesPerHalfSecond) Show(firstStep);
}

LoadProgress::~LoadProgress() = default;

void LoadProgress::Step(const QString& text) {
  if (!dialog_ && clock_.elapsed() < kPatienceMs) return;
  Show(text);
}

void LoadProgress::Show(const QString& text) {
  if (!dialog_) {
    // A busy bar: the steps take unknown shares of the time. Nothing can be
    // cancelled halfway, so there is no button.
    dialog_ = std::make_unique<QProgressDialog>(text, QString(), 0, 0, owner_);
    dialog_->setObjectName(QStringLiteral("loadProgress"));
    dialog_->setWindowTitle(QStringLiteral("Quillet"));
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setMinimumDuration(0);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->show();
  }
  dialog_->setLabelText(text);
  // Painted now: the step that follows keeps the event loop waiting.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace quillet
