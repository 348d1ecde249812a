#include "app/window/ProfileChooser.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quillet {

namespace {

enum Column { kBrowser, kProfile, kStore, kColumns };

struct Known {
  const char* Id;
  const char* Shown;
};
constexpr Known kBrowsers[] = {{"chromium", "Chromium"},      {"google-chrome", "Google Chrome"},
                               {"brave", "Brave"},            {"vivaldi", "Vivaldi"},
                               {"microsoft-edge", "Microsoft Edge"}, {"firefox", "Firefox"}};

bool EndsWith(const std::string& s, const std::string& end) {
  return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

QString BrowserDisplayName(const std::string& browser) {
  std::string base = browser, home;
  for (const auto& [suffix, shown] : {std::pair{"-flatpak", " (Flatpak)"}, std::pair{"-snap", " (Snap)"}})
    if (EndsWith(base, suffix)) {
      base.resize(base.size() - std::string(suffix).size());
      home = shown;
    }
  for (const Known& k : kBrowsers)
    if (base == k.Id) return QString::fromUtf8(k.Shown) + QString::fromUtf8(home);
  return QString::fromStdString(browser);
}

QString ProfileDisplayName(const BrowserProfile& p) {
  if (p.Name.empty() || p.Name == p.Profile) return QString::fromStdString(p.Profile);
  return QString::fromStdString(p.Name + " (" + p.Profile + ")");
}

ProfileChooser::ProfileChooser(std::vector<BrowserProfile> profiles, Purpose purpose, QWidget* parent)
    : QDialog(parent), profiles_(std::move(profiles)) {
  const bool import = purpose == Purpose::Import;
  setObjectName(QStringLiteral("profileChooser"));
  setWindowTitle(import ? QStringLiteral("Import from Browser") : QStringLiteral("Export to Chromium"));
  resize(640, 300);

  auto* body = new QVBoxLayout(this);
  promptLabel = new QLabel(import ? QStringLiteral("Open the bookmarks of this profile as a new document. Nothing "
                                                   "is written until you save it.")
                                  : QStringLiteral("Replace the bookmarks of this profile with the document. The "
                                                   "browser must be closed; its old bookmarks are kept as "
                                                   "Bookmarks.bak."),
                           this);
  promptLabel->setObjectName(QStringLiteral("promptLabel"));
  promptLabel->setWordWrap(true);
  body->addWidget(promptLabel);

  profileList = new QTreeWidget(this);
  profileList->setObjectName(QStringLiteral("profileList"));
  profileList->setRootIsDecorated(false);
  // The end of a path says the most.
  profileList->setTextElideMode(Qt::ElideMiddle);
  profileList->setHeaderLabels({QStringLiteral("Browser"), QStringLiteral("Profile"), QStringLiteral("Bookmarks")});
  profileList->header()->resizeSection(kBrowser, 150);
  profileList->header()->resizeSection(kProfile, 150);
  for (const BrowserProfile& p : profiles_) {
    auto* row = new QTreeWidgetItem(profileList);
    row->setText(kBrowser, BrowserDisplayName(p.Browser));
    row->setText(kProfile, ProfileDisplayName(p));
    row->setText(kStore, QString::fromStdString(p.Store));
    row->setToolTip(kStore, row->text(kStore));
    if (import) continue;
    // The browser would overwrite the file when it closes, or take it half
    // written: the profile cannot be chosen while it runs.
    if (const auto inUse = ChromiumProfileInUse(p.Store)) {
      row->setText(kProfile, row->text(kProfile) + QStringLiteral(" (running)"));
      row->setToolTip(kProfile, QString::fromStdString(*inUse));
      row->setFlags(row->flags() & ~Qt::ItemIsEnabled & ~Qt::ItemIsSelectable);
    }
  }
  body->addWidget(profileList, 1);

  auto* buttons = new QDialogButtonBox(this);
  okButton = buttons->addButton(import ? QStringLiteral("&Import") : QStringLiteral("&Export"),
                                QDialogButtonBox::AcceptRole);
  okButton->setObjectName(QStringLiteral("okButton"));
  cancelButton = buttons->addButton(QDialogButtonBox::Cancel);
  cancelButton->setObjectName(QStringLiteral("cancelButton"));
  body->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(profileList, &QTreeWidget::itemSelectionChanged, this, &ProfileChooser::FollowSelection);
  connect(profileList, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    if (item->flags() & Qt::ItemIsEnabled) accept();
  });
  for (int i = 0; i < profileList->topLevelItemCount(); ++i)
    if (profileList->topLevelItem(i)->flags() & Qt::ItemIsEnabled) {
      profileList->setCurrentItem(profileList->topLevelItem(i));
      break;
    }
  FollowSelection();
}

void ProfileChooser::FollowSelection() { okButton->setEnabled(Chosen().has_value()); }

std::optional<BrowserProfile> ProfileChooser::Chosen() const {
  const QList<QTreeWidgetItem*> selected = profileList->selectedItems();
  if (selected.isEmpty() || !(selected.front()->flags() & Qt::ItemIsEnabled)) return std::nullopt;
  return profiles_[static_cast<size_t>(profileList->indexOfTopLevelItem(selected.front()))];
}

}  // namespace quillet
