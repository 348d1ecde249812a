#pragma once
// The browser profiles found on this computer, one to choose: to import its
// bookmarks, or to write the document into (Chromium's only; a profile whose
// browser runs is shown but cannot be chosen).
#include <QDialog>
#include <optional>
#include <vector>

#include "stores/BrowserProfiles.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace quillet {

// "Google Chrome (Flatpak)" for "google-chrome-flatpak".
QString BrowserDisplayName(const std::string& browser);
// "Work (Profile 1)", or the folder name alone.
QString ProfileDisplayName(const BrowserProfile& profile);

class ProfileChooser : public QDialog {
  Q_OBJECT

 public:
  enum class Purpose { Import, Export };
  ProfileChooser(std::vector<BrowserProfile> profiles, Purpose purpose, QWidget* parent);

  // The profile chosen, once the dialog was accepted.
  std::optional<BrowserProfile> Chosen() const;

  QLabel* promptLabel;
  QTreeWidget* profileList;
  QPushButton* okButton;
  QPushButton* cancelButton;

 private:
  void FollowSelection();

  std::vector<BrowserProfile> profiles_;
};

}  // namespace quillet
