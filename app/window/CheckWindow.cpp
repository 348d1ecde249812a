#include "app/window/CheckWindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <map>

#include "app/Counted.h"
#include "bookmarks/FolderPath.h"
#include "bookmarks/TreeReader.h"
#include "check/CheckReport.h"
#include "check/Url.h"

namespace quillet {

namespace {

enum Column { kState, kStatus, kTitle, kAddress, kOutcome, kFolder, kColumns };

// The filter's entries after "All links": every state, then the links a
// stopped check never reached.
constexpr int kNotChecked = kLinkStateCount;

QString Text(const std::string& s) { return QString::fromStdString(s); }

int StateOf(const LinkResult& r) { return r.Checked ? static_cast<int>(r.State) : kNotChecked; }

// A few lines of what a change does; a long list ends with how many more.
std::string Listed(const std::vector<std::string>& items) {
  constexpr size_t kShown = 15;
  std::string out;
  for (size_t i = 0; i < items.size() && i < kShown; ++i) out += "\n" + items[i];
  if (items.size() > kShown) out += "\n... and " + Grouped(items.size() - kShown) + " more";
  return out;
}

}  // namespace

CheckWindow::CheckWindow(Context& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
  setObjectName(QStringLiteral("checkWindow"));
  setWindowTitle(QStringLiteral("Check Bookmarks - Quillet"));
  // A window of its own beside the main one, which stays usable.
  setWindowFlag(Qt::Window);
  setModal(false);
  resize(760, 460);

  auto* body = new QVBoxLayout(this);
  summaryLabel = new QLabel(this);
  summaryLabel->setObjectName(QStringLiteral("summaryLabel"));
  body->addWidget(summaryLabel);

  auto* progressRow = new QHBoxLayout;
  progressBar = new QProgressBar(this);
  progressBar->setObjectName(QStringLiteral("progressBar"));
  progressBar->setFormat(QStringLiteral("%v of %m"));
  stopButton = new QPushButton(QStringLiteral("&Stop"), this);
  stopButton->setObjectName(QStringLiteral("stopButton"));
  progressRow->addWidget(progressBar, 1);
  progressRow->addWidget(stopButton);
  body->addLayout(progressRow);

  countsLabel = new QLabel(this);
  countsLabel->setObjectName(QStringLiteral("countsLabel"));
  countsLabel->setWordWrap(true);
  body->addWidget(countsLabel);

  auto* filterRow = new QHBoxLayout;
  auto* filterLabel = new QLabel(QStringLiteral("S&how:"), this);
  filterBox = new QComboBox(this);
  filterBox->setObjectName(QStringLiteral("filterBox"));
  filterLabel->setBuddy(filterBox);
  filterBox->addItem(QStringLiteral("All links"), -1);
  for (int s = 0; s < kLinkStateCount; ++s)
    filterBox->addItem(Text(std::string(LinkStateName(static_cast<LinkState>(s)))), s);
  filterBox->addItem(QStringLiteral("not checked"), kNotChecked);
  filterRow->addWidget(filterLabel);
  filterRow->addWidget(filterBox);
  filterRow->addStretch(1);
  body->addLayout(filterRow);

  resultList = new QTreeWidget(this);
  resultList->setObjectName(QStringLiteral("resultList"));
  resultList->setRootIsDecorated(false);
  resultList->setUniformRowHeights(true);
  resultList->setAlternatingRowColors(true);
  resultList->setTextElideMode(Qt::ElideMiddle);
  resultList->setHeaderLabels({QStringLiteral("State"), QStringLiteral("Status"), QStringLiteral("Title"),
                               QStringLiteral("Address"), QStringLiteral("Now at, or why"), QStringLiteral("Folder")});
  resultList->header()->resizeSection(kState, 130);
  resultList->header()->resizeSection(kStatus, 50);
  resultList->header()->resizeSection(kTitle, 160);
  resultList->header()->resizeSection(kAddress, 200);
  resultList->header()->resizeSection(kOutcome, 160);
  body->addWidget(resultList, 1);

  auto* buttons = new QHBoxLayout;
  moveDeadButton = new QPushButton(QStringLiteral("&Move Dead to Folder..."), this);
  moveDeadButton->setObjectName(QStringLiteral("moveDeadButton"));
  applyRedirectsButton = new QPushButton(QStringLiteral("Apply &Permanent Redirects..."), this);
  applyRedirectsButton->setObjectName(QStringLiteral("applyRedirectsButton"));
  closeButton = new QPushButton(QStringLiteral("&Close"), this);
  closeButton->setObjectName(QStringLiteral("closeButton"));
  buttons->addWidget(moveDeadButton);
  buttons->addWidget(applyRedirectsButton);
  buttons->addStretch(1);
  buttons->addWidget(closeButton);
  body->addLayout(buttons);

  connect(stopButton, &QPushButton::clicked, this, &CheckWindow::Stop);
  connect(filterBox, &QComboBox::currentIndexChanged, this, &CheckWindow::ApplyFilter);
  connect(moveDeadButton, &QPushButton::clicked, this, &CheckWindow::MoveDeadToFolder);
  connect(applyRedirectsButton, &QPushButton::clicked, this, &CheckWindow::ApplyPermanentRedirects);
  connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
}

CheckWindow::~CheckWindow() = default;

size_t CheckWindow::Start(const TextLines& lines, const std::vector<std::string>& folders, CheckOptions options) {
  const BookmarkTree tree = ReadBookmarkTree(TextLines(lines));
  for (DocumentLink& link : DocumentLinks(tree)) {
    const bool wanted = folders.empty() || std::any_of(folders.begin(), folders.end(), [&](const std::string& f) {
                          return PathCovers(f, link.Folder);
                        });
    if (wanted) links_.push_back(std::move(link));
  }
  if (links_.empty()) return 0;
  std::vector<std::string> urls;
  urls.reserve(links_.size());
  for (const DocumentLink& link : links_) urls.push_back(link.Url);
  passes_.assign(links_.size(), 0);
  results_.assign(links_.size(), {});
  counts_[kNotChecked] = links_.size();

  resultList->setUpdatesEnabled(false);
  for (const DocumentLink& link : links_) {
    auto* row = new QTreeWidgetItem(resultList);
    row->setText(kTitle, Text(link.Title));
    row->setText(kAddress, Text(link.Url));
    row->setToolTip(kAddress, Text(link.Url));
    row->setText(kFolder, Text(link.Folder));
  }
  resultList->setUpdatesEnabled(true);
  progressBar->setRange(0, static_cast<int>(links_.size()));

  checker_ = std::make_unique<LinkChecker>(*ctx_.Services.Net, *ctx_.Services.Loop, std::move(options));
  checker_->OnProgress = [this](size_t i) { Progress(i); };
  checker_->OnFinished = [this] { Ended(); };
  // Links that are not on the web are settled at once, the rows being there.
  checker_->Start(std::move(urls));
  ShowState();
  return links_.size();
}

bool CheckWindow::Running() const { return checker_ && checker_->Running(); }

void CheckWindow::Progress(size_t link) {
  ++passes_[link];
  --counts_[static_cast<size_t>(StateOf(results_[link]))];
  results_[link] = checker_->Results()[link];
  ++counts_[static_cast<size_t>(StateOf(results_[link]))];
  ShowRow(link);
  ShowState();
}

void CheckWindow::Ended() {
  results_ = checker_->Results();
  ShowAll();
}

void CheckWindow::ShowAll() {
  counts_ = {};
  for (size_t i = 0; i < results_.size(); ++i) {
    ++counts_[static_cast<size_t>(StateOf(results_[i]))];
    ShowRow(i);
  }
  ShowState();
}

void CheckWindow::Stop() {
  if (!Running()) return;
  checker_->Stop();
  stopped_ = true;
  results_ = checker_->Results();
  for (size_t i = 0; i < results_.size(); ++i) {
    LinkResult& r = results_[i];
    // A web link checked once and waiting for its second check is not
    // surely dead; a missing file is.
    const std::string scheme = UrlScheme(links_[i].Url);
    const bool web = scheme == "http" || scheme == "https";
    if (r.Checked && r.State == LinkState::Dead && web && passes_[i] < 2) {
      r.State = LinkState::Error;
      r.Error += " on the first check; stopped before the second";
    }
  }
  ShowAll();
}

void CheckWindow::closeEvent(QCloseEvent* e) {
  Stop();
  QDialog::closeEvent(e);
}

void CheckWindow::reject() {
  Stop();
  QDialog::reject();
}

void CheckWindow::ShowRow(size_t i) {
  QTreeWidgetItem* row = resultList->topLevelItem(static_cast<int>(i));
  const LinkResult& r = results_[i];
  row->setText(kState, r.Checked ? Text(std::string(LinkStateName(r.State))) : QStringLiteral("not checked"));
  row->setText(kStatus, r.Status ? QString::number(*r.Status) : QString());
  const bool moved = r.State == LinkState::RedirectPermanent || r.State == LinkState::RedirectTemporary;
  row->setText(kOutcome, Text(moved ? r.FinalUrl : r.Error));
  row->setToolTip(kOutcome, row->text(kOutcome));
  const int wanted = filterBox->currentData().toInt();
  row->setHidden(wanted >= 0 && StateOf(r) != wanted);
}

void CheckWindow::ApplyFilter() {
  resultList->setUpdatesEnabled(false);
  for (size_t i = 0; i < results_.size(); ++i) ShowRow(i);
  resultList->setUpdatesEnabled(true);
}

void CheckWindow::ShowState() {
  const size_t total = links_.size();
  const size_t done = checker_ ? checker_->Done() : 0;
  const auto& counts = counts_;
  std::string text;
  for (int s = 0; s <= kLinkStateCount; ++s) {
    if (s == kNotChecked && counts[static_cast<size_t>(s)] == 0) continue;
    if (!text.empty()) text += ", ";
    text += Grouped(counts[static_cast<size_t>(s)]) + " " +
            (s == kNotChecked ? std::string("not checked") : std::string(LinkStateName(static_cast<LinkState>(s))));
  }
  countsLabel->setText(Text(text));
  progressBar->setValue(static_cast<int>(done));

  const bool running = Running();
  if (running && done < total)
    summaryLabel->setText(Text("Checking " + Counted(total, "link", "links") + "..."));
  else if (running)
    summaryLabel->setText(Text("Checking the links that failed once more, after a pause: a link is called dead only "
                               "when it fails twice..."));
  else if (stopped_)
    summaryLabel->setText(Text("Stopped after " + Grouped(done) + " of " + Counted(total, "link", "links") +
                               ". Nothing was changed."));
  else
    summaryLabel->setText(Text("Checked " + Counted(total, "link", "links") + "."));
  stopButton->setEnabled(running);
  // The changes wait for the results to be final.
  moveDeadButton->setEnabled(!running && counts[static_cast<size_t>(LinkState::Dead)] > 0);
  applyRedirectsButton->setEnabled(!running && counts[static_cast<size_t>(LinkState::RedirectPermanent)] > 0);
}

void CheckWindow::Change(const std::function<size_t(BookmarkTree&, const std::vector<DocumentLink>&,
                                                    const std::vector<LinkResult>&)>& edit,
                         const std::string& question, const QString& step, const std::string& done,
                         const std::string& none) {
  // The document may have been edited since the check began: its links
  // now are matched to those checked by folder and address.
  std::map<std::pair<std::string, std::string>, size_t> checked;
  for (size_t i = 0; i < links_.size(); ++i) checked.emplace(std::make_pair(links_[i].Folder, links_[i].Url), i);
  BookmarkTree tree = ReadBookmarkTree(TextLines(ctx_.HtmlLines));
  const std::vector<DocumentLink> links = DocumentLinks(tree);
  std::vector<LinkResult> results(links.size());
  for (size_t i = 0; i < links.size(); ++i)
    if (const auto at = checked.find({links[i].Folder, links[i].Url}); at != checked.end())
      results[i] = results_[at->second];

  size_t count = 0;
  try {
    count = edit(tree, links, results);
  } catch (const std::exception& e) {
    // Not a step: the document stays as it is.
    ctx_.UI().ShowError(e.what());
    return;
  }
  if (count == 0) {
    ctx_.UI().ShowMessage(none);
    return;
  }
  std::vector<std::string> changes;
  for (const DocumentLink& link : links) {
    if (!tree.IsLive(link.Id)) continue;
    const std::string address = tree.Address(link.Id);
    if (address != link.Url)
      changes.push_back(link.Url + "\n    -> " + address);
    else if (FolderPathOf(tree, link.Id) != link.Folder)
      changes.push_back(link.Title + " (" + link.Url + ")");
  }
  const std::string counted = Counted(count, "link", "links");
  if (ctx_.UI().Ask(question + " (" + counted + ")?" + "\n" + Listed(changes)) != Answer::Yes) return;
  TextLines before = ctx_.HtmlLines;
  ctx_.HtmlLines = tree.TakeLines();
  if (OnChange) OnChange(std::move(before), step, done + " " + counted);
}

void CheckWindow::MoveDeadToFolder() {
  if (Running()) return;
  const std::string name =
      ctx_.UI().AskText("Move Dead to Folder", "The top-level folder for the dead links:", "Dead links");
  if (name.empty()) return;
  Change([&](BookmarkTree& tree, const std::vector<DocumentLink>& links,
             const std::vector<LinkResult>& results) { return MoveDeadLinks(tree, links, results, name); },
         "Move the dead links into the top-level folder \"" + name + "\"", QStringLiteral("Move Dead to Folder"),
         "Moved into \"" + name + "\":", "There are no dead links in the document to move.");
}

void CheckWindow::ApplyPermanentRedirects() {
  if (Running()) return;
  Change(RewritePermanentRedirects,
         "Give the permanently moved links their new address (never a site's bare front page, where removed pages "
         "are often sent)",
         QStringLiteral("Apply Permanent Redirects"), "New addresses for",
         "There are no permanently moved links in the document to change (one sent to a site's bare front page "
         "stays as it is).");
}

}  // namespace quillet
