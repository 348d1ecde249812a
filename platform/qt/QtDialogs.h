#pragma once
// The file and folder dialogs on Qt.
#include <QStringList>

#include "platform/Dialogs.h"

class QWidget;

namespace quillet {

class QtDialogs : public Dialogs {
 public:
  explicit QtDialogs(QWidget* owner = nullptr) : owner_(owner) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }
  bool OpenFileName(const FileDialogSetup& setup, std::string& fileName) override;
  bool SaveFileName(const FileDialogSetup& setup, std::string& fileName) override;
  bool SelectFolder(const std::string& start, std::string& folder) override;

 private:
  QWidget* owner_;
};

// "Bookmark files|*.htm;*.html" as Qt name filters: "Bookmark files (*.htm
// *.html)". Qt's own dialog matches them in either letter case, as names are
// on the file systems the filters were written for.
QStringList QtNameFilters(const std::string& filter);

}  // namespace quillet
