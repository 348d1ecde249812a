#pragma once
// Html > Sort...: the choices of `quillet sort` in a dialog. OK sorts with
// them; when the sort cannot be done (a folder that is not there, a locale
// without a collation) the dialog says why and stays open.
#include <QDialog>
#include <QStringList>
#include <functional>
#include <string>

#include "app/Config.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace quillet {

class BookmarkTree;

class SortDialog : public QDialog {
  Q_OBJECT

 public:
  // folders: the paths offered for the folder to sort. apply sorts with the
  // choices and returns what stopped it, or "" when it is done.
  SortDialog(QWidget* parent, const SortSettings& settings, const QStringList& folders,
             std::function<std::string(const SortSettings&)> apply);

  // The choices as the dialog shows them.
  SortSettings Settings() const;

  // Every folder's path, in document order, each once, as text to show
  // (the settings hold paths as shown: the window encodes them for the
  // document).
  static QStringList FolderPaths(const BookmarkTree& tree);

  QComboBox* byBox;
  QComboBox* thenBox;
  QCheckBox* reverseBox;
  QComboBox* foldersBox;
  QCheckBox* naturalBox;
  QCheckBox* caseBox;
  QLineEdit* localeField;
  QComboBox* folderBox;
  QCheckBox* recursiveBox;
  QPlainTextEdit* keepOrderField;
  QCheckBox* keepToolbarBox;
  QLabel* errorLabel;

 private:
  void Apply();
  std::function<std::string(const SortSettings&)> apply_;
};

}  // namespace quillet
