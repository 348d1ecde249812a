#pragma once
// Says that a long load is under way (a file opened, a big document put into
// a view): a small window naming the step, shown at once when the amount of
// text says the load will take more than half a second, or at the first step
// that begins after half a second has gone. Each step paints it again; the
// hourglass shows meanwhile as for every long command.
#include <QElapsedTimer>
#include <QString>
#include <cstddef>
#include <memory>

class QProgressDialog;
class QWidget;

namespace quillet {

class LoadProgress {
 public:
  // About what the window reads, parses and lays out in half a second on a
  // slow machine.
  static constexpr size_t kBytesPerHalfSecond = 8u << 20;
  static constexpr int kPatienceMs = 500;

  LoadProgress(QWidget* owner, size_t bytes, const QString& firstStep);
  ~LoadProgress();
  LoadProgress(const LoadProgress&) = delete;
  LoadProgress& operator=(const LoadProgress&) = delete;

  // The next step begins.
  void Step(const QString& text);
  bool Shown() const { return dialog_ != nullptr; }

 private:
  void Show(const QString& text);

  QWidget* owner_;
  QElapsedTimer clock_;
  std::unique_ptr<QProgressDialog> dialog_;
};

}  // namespace quillet
