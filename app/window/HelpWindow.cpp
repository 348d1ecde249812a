#include "app/window/HelpWindow.h"

#include <QShortcut>
#include <QVBoxLayout>

#include "app/ShellCommands.h"
#include "platform/AsciiCase.h"
#include "viewer/qt/HtmlPane.h"

namespace quillet {

bool IsWebLink(const std::string& url) {
  const size_t colon = url.find(':');
  if (colon == std::string::npos) return false;
  const std::string scheme = LowerAscii(std::string_view(url).substr(0, colon));
  return scheme == "http" || scheme == "https" || scheme == "ftp" || scheme == "mailto";
}

THelpWindow::THelpWindow(Context& ctx, QWidget* parent) : QWidget(parent, Qt::Window), ctx_(ctx) {
  setWindowTitle(QStringLiteral("Quillet Help"));
  resize(640, 560);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  Pane = new ThtmlPane(this, &ctx_.UI(), &ctx_.Fs());
  Pane->UseSettings(WindowPaneSettings());
  Pane->SetBorderStyle(htNone);
  layout->addWidget(Pane);
  Pane->OnHotSpotClick = [this](const std::string& url, bool& handled) {
    if (!IsWebLink(url)) return;  // another help page: the pane follows it
    handled = true;
    LaunchDocument(ctx_, url);
  };
  auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(close, &QShortcut::activated, this, &QWidget::close);
  // A page reached by a link names the window too.
  Pane->OnProcessing = [this](bool processing) {
    if (!processing) ShowTitle();
  };
}

void THelpWindow::ShowTitle() {
  const std::string title = Pane->Title();
  setWindowTitle(title.empty() ? QStringLiteral("Quillet Help") : QString::fromStdString(title));
}

void THelpWindow::ShowPage(const std::string& file) {
  Pane->LoadFromFile(file);
  ShowTitle();
  show();
  raise();
  activateWindow();
  Pane->setFocus();
}

}  // namespace quillet
