#pragma once
// The find bar under the view: a field for the text, Enter or F3 for the next
// match, Shift+Enter or Shift+F3 for the one before, Escape to close, and a
// note when the text is not there.
#include <QWidget>

class QLabel;
class QLineEdit;

namespace quillet {

class FindBar : public QWidget {
  Q_OBJECT

 public:
  explicit FindBar(QWidget* parent = nullptr);

  QString Text() const;
  // Shows the bar with the field focused and its text selected.
  void Open();
  // "Not found", or nothing.
  void SetNote(const QString& note);
  QString Note() const;

 signals:
  void FindRequested(bool backward);
  void Closed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* field_;
  QLabel* note_;
};

}  // namespace quillet
