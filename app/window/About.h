#pragma once
// The About box.
#include <QDialog>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;

namespace quillet {

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  QFrame* Panel1;
  QLabel* ProgramIcon;
  QLabel* ProductName;
  QLabel* Version;
  QLabel* Image1;
  QLabel* Image2;
  QPushButton* OKButton;

  // What a click on the logo and on the maker's icon opens (the product's
  // page and the maker's home page, after the connect question); set by the
  // window, nothing while unset.
  std::function<void()> OpenProductPage;
  std::function<void()> OpenMakerHomePage;

  void Image1Click();
  void Image2Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// "Version " and the program's version with two decimals, in the user's
// decimal notation.
QString VersionCaption();

}  // namespace quillet
