#include "app/window/HelpPages.h"

#include <QDir>
#include <QFile>

namespace quillet {

std::string WriteHelpPages(FileSystem& fs, const std::string& dir) {
  fs.ForceDirectories(dir);
  const QDir pages(QStringLiteral(":/help"));
  for (const QString& name : pages.entryList(QDir::Files)) {
    QFile page(pages.filePath(name));
    if (!page.open(QIODevice::ReadOnly)) continue;
    const QByteArray data = page.readAll();
    fs.WriteFile(dir + name.toStdString(), std::string(data.constData(), static_cast<size_t>(data.size())));
  }
  return dir;
}

}  // namespace quillet
