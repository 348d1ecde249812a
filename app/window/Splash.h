#pragma once
// The splash window, on screen while the main window is built.
#include <QFrame>

namespace quillet {

class TSplash : public QFrame {
  Q_OBJECT

 public:
  explicit TSplash(QWidget* parent = nullptr);
};

}  // namespace quillet
