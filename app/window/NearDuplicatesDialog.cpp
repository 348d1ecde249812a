#include "app/window/NearDuplicatesDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/DedupeCommand.h"
#include "app/DisplayCodec.h"
#include "app/Counted.h"
#include "bookmarks/TextPatch.h"
#include "bookmarks/TreeEdit.h"
#include "bookmarks/TreeReader.h"
#include "cleanup/AddressRules.h"
#include "cleanup/NearDuplicates.h"
#include "platform/Ui.h"

namespace quillet {

namespace {

struct RuleBox {
  AddressRule rule;
  const char* caption;
};

const RuleBox kRuleBoxes[] = {
    {kRuleSlash, "Trailing &slash (/a/ = /a)"},
    {kRuleScheme, "&http = https"},
    {kRuleWww, "Leading &www."},
    {kRuleFragment, "&Fragment (#...)"},
    {kRuleTracking, "&Tracking parameters (utm_*, fbclid, ...)"},
    {kRulePort, "Default &port (:80, :443)"},
    {kRuleHostCase, "Host letter &case"},
    {kRulePct, "Percent-&encoding (%7E = ~)"},
    {kRuleQueryOrder, "&Query parameters in any order"},
};

// The row's index into the links or files searched.
constexpr int kIndexRole = Qt::UserRole;

}  // namespace

NearDuplicatesDialog::NearDuplicatesDialog(QWidget* parent, Context& ctx) : QDialog(parent), ctx_(ctx) {
  setObjectName(QStringLiteral("nearDuplicatesDialog"));
  setWindowTitle(QStringLiteral("Near Duplicates"));
  resize(760, 480);

  auto* rules = new QGroupBox(QStringLiteral("Also count as the same page"), this);
  auto* grid = new QGridLayout(rules);
  for (const RuleBox& r : kRuleBoxes) {
    auto* box = new QCheckBox(QString::fromUtf8(r.caption), rules);
    box->setObjectName(QStringLiteral("rule-") + QString::fromUtf8(AddressRuleNames(r.rule).front()));
    box->setProperty("rule", static_cast<int>(r.rule));
    grid->addWidget(box, static_cast<int>(ruleBoxes.size()) / 3, static_cast<int>(ruleBoxes.size()) % 3);
    ruleBoxes.push_back(box);
    connect(box, &QCheckBox::toggled, this, &NearDuplicatesDialog::Search);
  }
  auto* warning = new QLabel(
      QStringLiteral("http and https, or an address with and without its trailing slash, can be different pages."), rules);
  warning->setWordWrap(true);
  grid->addWidget(warning, 3, 0, 1, 3);

  scopeBox = new QComboBox(this);
  scopeBox->setObjectName(QStringLiteral("scopeBox"));
  scopeBox->addItem(QStringLiteral("Anywhere"), static_cast<int>(DuplicateScope::File));
  scopeBox->addItem(QStringLiteral("Within the same folder"), static_cast<int>(DuplicateScope::Folder));
  keepBox = new QComboBox(this);
  keepBox->setObjectName(QStringLiteral("keepBox"));
  keepBox->addItem(QStringLiteral("The first"), static_cast<int>(KeepPolicy::First));
  keepBox->addItem(QStringLiteral("The last"), static_cast<int>(KeepPolicy::Last));
  keepBox->addItem(QStringLiteral("The oldest"), static_cast<int>(KeepPolicy::Oldest));
  keepBox->addItem(QStringLiteral("The newest"), static_cast<int>(KeepPolicy::Newest));
  connect(scopeBox, &QComboBox::currentIndexChanged, this, &NearDuplicatesDialog::Search);
  connect(keepBox, &QComboBox::currentIndexChanged, this, &NearDuplicatesDialog::Search);
  auto* choices = new QFormLayout;
  choices->addRow(QStringLiteral("Look for copies:"), scopeBox);
  choices->addRow(QStringLiteral("Copy to keep:"), keepBox);

  groupList = new QTreeWidget(this);
  groupList->setObjectName(QStringLiteral("groupList"));
  groupList->setColumnCount(kColumns);
  groupList->setHeaderLabels({QStringLiteral("Title"), QStringLiteral("Folder"), QStringLiteral("Address"),
                              QStringLiteral("Line"), QStringLiteral("Matched by")});
  groupList->setRootIsDecorated(true);
  groupList->setUniformRowHeights(true);
  groupList->header()->setStretchLastSection(false);
  groupList->header()->setSectionResizeMode(kAddress, QHeaderView::Stretch);
  connect(groupList, &QTreeWidget::itemChanged, this, &NearDuplicatesDialog::FollowTicks);

  summaryLabel = new QLabel(this);
  summaryLabel->setObjectName(QStringLiteral("summaryLabel"));
  summaryLabel->setWordWrap(true);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  removeButton = buttons->addButton(QStringLiteral("&Remove Ticked"), QDialogButtonBox::ActionRole);
  removeButton->setObjectName(QStringLiteral("removeButton"));
  // Enter alone never removes anything.
  removeButton->setAutoDefault(false);
  connect(removeButton, &QPushButton::clicked, this, &NearDuplicatesDialog::RemoveTicked);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* body = new QVBoxLayout(this);
  body->addWidget(rules);
  body->addLayout(choices);
  body->addWidget(groupList, 1);
  body->addWidget(summaryLabel);
  body->addWidget(buttons);
}

NearDuplicatesDialog::NearDuplicatesDialog(QWidget* parent, Context& ctx, NodeId within, Recorded recorded)
    : NearDuplicatesDialog(parent, ctx) {
  tree_.emplace(ReadBookmarkTree(ctx_.HtmlLines));
  within_ = within;
  recorded_ = std::move(recorded);
  Search();
}

NearDuplicatesDialog::NearDuplicatesDialog(QWidget* parent, Context& ctx, std::string shortcutFolder,
                                           std::function<void(const std::string& note)> said)
    : NearDuplicatesDialog(parent, ctx) {
  folder_ = std::move(shortcutFolder);
  said_ = std::move(said);
  setWindowTitle(QStringLiteral("Near Duplicates in %1").arg(QString::fromStdString(DecodeName(folder_))));
  groupList->hideColumn(kLine);
  // A shortcut file's date is its modification time: listed once, with it.
  files_ = ListShortcutFiles(ctx_, folder_, true);
  Search();
}

void NearDuplicatesDialog::Search() {
  DuplicateOptions options;
  for (const QCheckBox* box : ruleBoxes)
    if (box->isChecked()) options.Rules.Rules |= static_cast<AddressRuleSet>(box->property("rule").toInt());
  options.Scope = static_cast<DuplicateScope>(scopeBox->currentData().toInt());
  options.Keep = static_cast<KeepPolicy>(keepBox->currentData().toInt());

  std::vector<DuplicateGroup> groups;
  DuplicateReport report;
  TextEncoding encoding = TextEncoding::Utf8;
  if (tree_) {
    TreeDuplicates found = FindTreeDuplicates(*tree_, options, {}, within_);
    report = ReportTreeDuplicates(*tree_, found, options.Rules);
    links_ = std::move(found.Links);
    groups = std::move(found.Groups);
    encoding = tree_->Encoding();
  } else {
    groups = FindShortcutDuplicates(ctx_, files_, options);
    const auto entry = [&](size_t i) {
      const ShortcutFile& f = files_.Files[i];
      return DuplicateEntry{0, f.Relative, files_.Folders[f.Folder], f.Title, f.Url, 0};
    };
    for (const DuplicateGroup& g : groups) {
      DuplicateReportGroup& r = report.Groups.emplace_back();
      r.Kept = entry(g.Kept);
      for (size_t i : g.Removed) r.Removed.push_back(entry(i));
    }
    CompleteDuplicateReport(report, files_.Files.size(), options.Rules);
  }

  const auto text = [&](const std::string& bytes) {
    return QString::fromStdString(tree_ ? DecodeForDisplay(bytes, encoding) : DecodeName(bytes));
  };
  const QSignalBlocker quiet(groupList);
  groupList->clear();
  for (size_t g = 0; g < groups.size(); ++g) {
    const DuplicateReportGroup& r = report.Groups[g];
    auto* head = new QTreeWidgetItem(groupList);
    head->setText(kTitle, QString::fromStdString(Counted(r.Removed.size() + 1, "copy", "copies")));
    head->setText(kAddress, text(r.Kept.Url));
    head->setFirstColumnSpanned(false);
    const auto add = [&](const DuplicateEntry& e, size_t index, bool kept) {
      auto* row = new QTreeWidgetItem(head);
      row->setText(kTitle, text(e.Title));
      row->setText(kFolder, text(e.Folder));
      row->setText(kAddress, text(e.Url));
      if (e.Line) row->setText(kLine, QString::number(e.Line));
      QString rules;
      for (std::string_view name : AddressRuleNames(e.Rules))
        rules += (rules.isEmpty() ? QString() : QStringLiteral(", ")) + QString::fromUtf8(name.data(), name.size());
      row->setText(kRules, kept ? QStringLiteral("kept") : rules.isEmpty() ? QStringLiteral("exact") : rules);
      row->setData(kTitle, kIndexRole, static_cast<qulonglong>(index));
      row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
      row->setCheckState(kTitle, kept ? Qt::Unchecked : Qt::Checked);
    };
    // In document order, so that the rows stay put when another copy is kept.
    std::vector<std::pair<size_t, const DuplicateEntry*>> copies{{groups[g].Kept, &r.Kept}};
    for (size_t i = 0; i < r.Removed.size(); ++i) copies.emplace_back(groups[g].Removed[i], &r.Removed[i]);
    std::sort(copies.begin(), copies.end());
    for (const auto& [index, e] : copies) add(*e, index, index == groups[g].Kept);
  }
  groupList->expandAll();
  for (int c = 0; c < kColumns; ++c)
    if (c != kAddress) groupList->resizeColumnToContents(c);
  FollowTicks();
}

std::vector<size_t> NearDuplicatesDialog::Ticked() const {
  std::vector<size_t> ticked;
  for (int g = 0; g < groupList->topLevelItemCount(); ++g) {
    const QTreeWidgetItem* head = groupList->topLevelItem(g);
    for (int i = 0; i < head->childCount(); ++i)
      if (head->child(i)->checkState(kTitle) == Qt::Checked)
        ticked.push_back(head->child(i)->data(kTitle, kIndexRole).toULongLong());
  }
  return ticked;
}

// Removing every copy of a page is not removing duplicates: a group with
// all its copies ticked stops Remove Ticked.
void NearDuplicatesDialog::FollowTicks() {
  const size_t groups = static_cast<size_t>(groupList->topLevelItemCount());
  size_t whole = 0;
  for (size_t g = 0; g < groups; ++g) {
    const QTreeWidgetItem* head = groupList->topLevelItem(static_cast<int>(g));
    int ticked = 0;
    for (int i = 0; i < head->childCount(); ++i) ticked += head->child(i)->checkState(kTitle) == Qt::Checked;
    whole += ticked == head->childCount();
  }
  const size_t ticked = Ticked().size();
  removeButton->setEnabled(ticked > 0 && whole == 0);
  std::string note = groups == 0 ? std::string("No duplicates found.")
                                 : Counted(groups, "group", "groups") + ", " + Counted(ticked, "copy", "copies") +
                                       " ticked to remove.";
  if (whole)
    note += " Leave one copy of each group unticked: " + Counted(whole, "group has", "groups have") +
            " every copy ticked.";
  summaryLabel->setText(QString::fromStdString(note));
}

void NearDuplicatesDialog::RemoveTicked() {
  const std::vector<size_t> ticked = Ticked();
  if (ticked.empty() || !removeButton->isEnabled()) return;
  const BusyCursor busy(ctx_.UI());
  std::string note;
  if (tree_) {
    std::vector<NodeId> ids;
    for (size_t i : ticked) ids.push_back(links_[i]);
    TextLines before = ctx_.HtmlLines;
    ApplyPatch(ctx_.HtmlLines, DeleteNodes(*tree_, ids));
    note = "Removed " + Counted(ids.size(), "copy", "copies");
    recorded_(std::move(before), note);
  } else {
    size_t moved = 0;
    std::string failures;
    for (size_t i : ticked) {
      std::string reason;
      if (ctx_.Fs().MoveToTrash(files_.Files[i].Path, reason))
        ++moved;
      else
        failures += "\n" + files_.Files[i].Relative + ": " + reason;
    }
    note = "Moved " + Counted(moved, "shortcut file", "shortcut files") + " to the trash";
    said_(note);
    if (!failures.empty()) ctx_.UI().ShowMessage("These could not be moved to the trash and stayed:" + failures);
    files_ = ListShortcutFiles(ctx_, folder_, true);
  }
  Search();
  summaryLabel->setText(QString::fromStdString(note + ". ") + summaryLabel->text());
}

}  // namespace quillet
