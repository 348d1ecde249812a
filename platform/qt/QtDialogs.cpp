#include "platform/qt/QtDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTreeView>

namespace quillet {

QStringList QtNameFilters(const std::string& filter) {
  const QStringList parts = QString::fromUtf8(filter.data(), static_cast<qsizetype>(filter.size())).split('|');
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
    out << QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1].split(';', Qt::SkipEmptyParts).join(' '));
  return out;
}

namespace {

// Room for long names and all the columns, instead of Qt's small default.
void SizeFileDialog(QFileDialog& dlg, const QWidget* owner) {
  const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
  const QSize available = screen ? screen->availableGeometry().size() : QSize(1024, 768);
  const QSize size = QSize(860, 560).boundedTo(available * 0.9);
  dlg.resize(size);
  if (auto* details = dlg.findChild<QTreeView*>(QStringLiteral("treeView")))
    details->header()->resizeSection(0, size.width() / 2);
}

bool RunFileDialog(QWidget* owner, const FileDialogSetup& setup, bool save, std::string& fileName) {
  QFileDialog dlg(owner);
  // Qt's own dialog: desktop dialogs may insist on an existing file to open.
  dlg.setOption(QFileDialog::DontUseNativeDialog, true);
  dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // The open dialog takes a name that does not exist; the load then reports it.
  dlg.setFileMode(QFileDialog::AnyFile);
  dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
  // Qt's own dialog matches the patterns in either letter case.
  dlg.setNameFilters(QtNameFilters(setup.Filter));
  SizeFileDialog(dlg, owner);
  QString ext = QString::fromStdString(setup.DefaultExt);
  if (ext.startsWith(QLatin1String("*."))) ext = ext.mid(2);
  dlg.setDefaultSuffix(ext);
  if (!setup.InitialDir.empty()) dlg.setDirectory(QString::fromStdString(setup.InitialDir));
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
  fileName = dlg.selectedFiles().front().toStdString();
  return true;
}

// Qt's folder chooser refuses a folder that does not exist; this one takes
// the typed name as it is.
class FolderDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;
  void accept() override {
    const QStringList files = selectedFiles();
    if (!files.isEmpty() && !QFileInfo::exists(files.front())) {
      QDialog::accept();
      return;
    }
    QFileDialog::accept();
  }
};

}  // namespace

bool QtDialogs::OpenFileName(const FileDialogSetup& setup, std::string& fileName) {
  return RunFileDialog(owner_, setup, false, fileName);
}

bool QtDialogs::SaveFileName(const FileDialogSetup& setup, std::string& fileName) {
  return RunFileDialog(owner_, setup, true, fileName);
}

bool QtDialogs::SelectFolder(const std::string& start, std::string& folder) {
  FolderDialog dlg(owner_);
  dlg.setFileMode(QFileDialog::Directory);
  dlg.setOption(QFileDialog::ShowDirsOnly, true);
  // The typed name of a missing folder must reach the accept below.
  dlg.setOption(QFileDialog::DontUseNativeDialog, true);
  dlg.setWindowTitle(QStringLiteral("Select Directory"));
  SizeFileDialog(dlg, owner_);
  if (!start.empty()) dlg.setDirectory(QString::fromStdString(start));
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
  folder = dlg.selectedFiles().front().toStdString();
  return true;
}

}  // namespace quillet
