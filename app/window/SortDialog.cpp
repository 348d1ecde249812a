#include "app/window/SortDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <set>

#include "app/DisplayCodec.h"
#include "bookmarks/BookmarkTree.h"
#include "bookmarks/FolderPath.h"

namespace quillet {

namespace {

struct Choice {
  const char* word;
  const char* caption;
};

const Choice kKeys[] = {{"name", "Name"}, {"url", "Address"}, {"site", "Site (host without www.)"},
                        {"added", "Date added (oldest first)"}};
const Choice kPlacements[] = {{"first", "First"}, {"last", "Last"}, {"mixed", "Among the links, by their title"}};

QComboBox* ChoiceBox(QWidget* parent, const char* name, std::initializer_list<Choice> choices) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  for (const Choice& c : choices) box->addItem(QString::fromUtf8(c.caption), QString::fromLatin1(c.word));
  return box;
}

void Select(QComboBox* box, const std::string& word) {
  const int at = box->findData(QString::fromStdString(word));
  if (at >= 0) box->setCurrentIndex(at);
}

std::string Word(const QComboBox* box) { return box->currentData().toString().toStdString(); }

QCheckBox* Check(QWidget* parent, const char* name, const char* caption, bool on) {
  auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setChecked(on);
  return box;
}

}  // namespace

QStringList SortDialog::FolderPaths(const BookmarkTree& tree) {
  QStringList paths;
  std::set<std::string> seen;
  tree.ForEachNode([&](NodeId id) {
    if (id == tree.Root() || tree.Kind(id) != NodeKind::Folder) return;
    std::string path = FolderPathOf(tree, id);
    if (!path.empty() && seen.insert(path).second)
      paths << QString::fromStdString(DecodeForDisplay(path, tree.Encoding()));
  });
  return paths;
}

SortDialog::SortDialog(QWidget* parent, const SortSettings& s, const QStringList& folders,
                       std::function<std::string(const SortSettings&)> apply)
    : QDialog(parent), apply_(std::move(apply)) {
  setObjectName(QStringLiteral("sortDialog"));
  setWindowTitle(QStringLiteral("Sort"));
  auto* form = new QFormLayout;

  byBox = ChoiceBox(this, "byBox", {kKeys[0], kKeys[1], kKeys[2], kKeys[3]});
  Select(byBox, s.By);
  form->addRow(QStringLiteral("Sort &by:"), byBox);
  thenBox = ChoiceBox(this, "thenBox", {{"", "(nothing)"}, kKeys[0], kKeys[1], kKeys[2], kKeys[3]});
  Select(thenBox, s.Then);
  form->addRow(QStringLiteral("&Then by:"), thenBox);
  reverseBox = Check(this, "reverseBox", "&Reverse order (undated links stay last)", s.Reverse);
  form->addRow(QString(), reverseBox);
  foldersBox = ChoiceBox(this, "foldersBox", {kPlacements[0], kPlacements[1], kPlacements[2]});
  Select(foldersBox, s.Folders);
  form->addRow(QStringLiteral("&Folders:"), foldersBox);
  naturalBox = Check(this, "naturalBox", "&Numbers by value (\"Chapter 2\" before \"Chapter 10\")", s.Natural);
  form->addRow(QString(), naturalBox);
  caseBox = Check(this, "caseBox", "&Case sensitive (capitals first)", s.CaseSensitive);
  form->addRow(QString(), caseBox);
  localeField = new QLineEdit(QString::fromStdString(s.Locale), this);
  localeField->setObjectName(QStringLiteral("localeField"));
  localeField->setPlaceholderText(QStringLiteral("from the environment, or e.g. de, sv_SE"));
  form->addRow(QStringLiteral("&Locale:"), localeField);

  folderBox = new QComboBox(this);
  folderBox->setObjectName(QStringLiteral("folderBox"));
  folderBox->setEditable(true);
  folderBox->setInsertPolicy(QComboBox::NoInsert);
  folderBox->addItem(QString());
  folderBox->addItems(folders);
  folderBox->setCurrentText(QString::fromStdString(s.Folder));
  folderBox->lineEdit()->setPlaceholderText(QStringLiteral("the whole document"));
  form->addRow(QStringLiteral("S&ort only:"), folderBox);
  recursiveBox = Check(this, "recursiveBox", "&And every folder below it", s.Recursive);
  form->addRow(QString(), recursiveBox);
  const auto followFolder = [this] { recursiveBox->setEnabled(!folderBox->currentText().isEmpty()); };
  connect(folderBox, &QComboBox::currentTextChanged, this, followFolder);
  followFolder();

  keepOrderField = new QPlainTextEdit(QString::fromStdString([&] {
    std::string text;
    for (const std::string& p : s.KeepOrder) text += (text.empty() ? "" : "\n") + p;
    return text;
  }()), this);
  keepOrderField->setObjectName(QStringLiteral("keepOrderField"));
  keepOrderField->setPlaceholderText(QStringLiteral("one folder path a line, e.g. Bookmarks bar/Work"));
  keepOrderField->setTabChangesFocus(true);
  keepOrderField->setFixedHeight(fontMetrics().lineSpacing() * 4);
  form->addRow(QStringLiteral("&Keep order in:"), keepOrderField);
  keepToolbarBox = Check(this, "keepToolbarBox", "Keep the toolbar folder's order", s.KeepToolbarOrder);
  form->addRow(QString(), keepToolbarBox);

  errorLabel = new QLabel(this);
  errorLabel->setObjectName(QStringLiteral("errorLabel"));
  errorLabel->setWordWrap(true);
  errorLabel->setStyleSheet(QStringLiteral("color: #b00000;"));
  errorLabel->hide();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Sort"));
  connect(buttons, &QDialogButtonBox::accepted, this, &SortDialog::Apply);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* body = new QVBoxLayout(this);
  body->addLayout(form);
  body->addWidget(errorLabel);
  body->addWidget(buttons);
}

SortSettings SortDialog::Settings() const {
  SortSettings s;
  s.By = Word(byBox);
  s.Then = Word(thenBox);
  s.Reverse = reverseBox->isChecked();
  s.Folders = Word(foldersBox);
  s.Natural = naturalBox->isChecked();
  s.CaseSensitive = caseBox->isChecked();
  s.Locale = localeField->text().trimmed().toStdString();
  s.Folder = folderBox->currentText().toStdString();
  s.Recursive = recursiveBox->isChecked();
  // Blank lines are no folder; a path's own blanks are part of its titles.
  for (const QString& line : keepOrderField->toPlainText().split(QLatin1Char('\n')))
    if (!line.trimmed().isEmpty()) s.KeepOrder.push_back(line.toStdString());
  s.KeepToolbarOrder = keepToolbarBox->isChecked();
  return s;
}

void SortDialog::Apply() {
  const std::string error = apply_(Settings());
  if (error.empty()) {
    accept();
    return;
  }
  errorLabel->setText(QString::fromStdString(error));
  errorLabel->show();
}

}  // namespace quillet
