#pragma once
// The browser profiles on this machine and where each keeps its bookmarks,
// and whether a Chromium browser is running with a profile.
#include <optional>
#include <string>
#include <vector>

#include "stores/StoreFormat.h"

namespace quillet {

class FileSystem;

struct BrowserProfile {
  // "chromium", "google-chrome", "brave", "vivaldi", "microsoft-edge",
  // "firefox", with "-flatpak" or "-snap" for those homes.
  std::string Browser;
  // The profile's folder name ("Default", "Profile 1", "x1y2.default").
  std::string Profile;
  // The name the browser shows for it, when it keeps one.
  std::string Name;
  // The bookmark store: a Chromium "Bookmarks" file or Firefox's places.sqlite.
  std::string Store;
  StoreFormat Format = StoreFormat::Chromium;
};

// Chromium browsers: {chromium,google-chrome,BraveSoftware/Brave-Browser,
// vivaldi,microsoft-edge}/*/Bookmarks in the config folder (configHome, by
// default ~/.config), and Chromium's Flatpak and Snap homes; Firefox: the
// profiles listed in profiles.ini under ~/.mozilla/firefox and its Flatpak
// and Snap homes, where places.sqlite exists. In that order, profiles by
// folder name.
std::vector<BrowserProfile> FindBrowserProfiles(FileSystem& fs, const std::string& home,
                                                const std::string& configHome = {});

// Why a Chromium "Bookmarks" file must not be written now: the browser's
// SingletonLock (in the user-data folder, the parent of the profile's
// folder) names a live process on this host, or a process on another host,
// which cannot be checked from here. Nothing when the browser is closed.
std::optional<std::string> ChromiumProfileInUse(const std::string& bookmarksPath);

}  // namespace quillet
