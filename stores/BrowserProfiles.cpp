#include "stores/BrowserProfiles.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <nlohmann/json.hpp>

#include "platform/FileSystem.h"
#include "platform/PrivateProfile.h"

namespace quillet {

namespace {

struct Home {
  const char* Browser;
  const char* Dir;  // below the home folder, or the config folder
  bool InConfig = false;
};
// The browsers themselves follow $XDG_CONFIG_HOME; their sandboxed homes do not.
constexpr Home kChromiumHomes[] = {
    {"chromium", "chromium", true},
    {"google-chrome", "google-chrome", true},
    {"brave", "BraveSoftware/Brave-Browser", true},
    {"vivaldi", "vivaldi", true},
    {"microsoft-edge", "microsoft-edge", true},
    {"chromium-flatpak", ".var/app/org.chromium.Chromium/config/chromium"},
    {"chromium-snap", "snap/chromium/common/chromium"},
};
constexpr Home kFirefoxHomes[] = {
    {"firefox", ".mozilla/firefox"},
    {"firefox-flatpak", ".var/app/org.mozilla.firefox/.mozilla/firefox"},
    {"firefox-snap", "snap/firefox/common/.mozilla/firefox"},
};

std::string ParentOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The names Chromium shows for its profiles, from "Local State".
std::string ChromiumProfileName(FileSystem& fs, const std::string& userData, const std::string& profile) {
  std::string text;
  if (!fs.TryReadFile(userData + "/Local State", text)) return {};
  const auto doc = nlohmann::json::parse(text, nullptr, false);
  if (!doc.is_object()) return {};
  const auto p = doc.find("profile");
  if (p == doc.end() || !p->is_object()) return {};
  const auto cache = p->find("info_cache");
  if (cache == p->end() || !cache->is_object()) return {};
  const auto entry = cache->find(profile);
  if (entry == cache->end() || !entry->is_object()) return {};
  const auto name = entry->find("name");
  return name != entry->end() && name->is_string() ? name->get<std::string>() : std::string();
}

// The section names of an INI text, in order.
std::vector<std::string> SectionNames(std::string_view text) {
  std::vector<std::string> names;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') names.emplace_back(line.substr(1, line.size() - 2));
  }
  return names;
}

}  // namespace

std::vector<BrowserProfile> FindBrowserProfiles(FileSystem& fs, const std::string& home, const std::string& configHome) {
  std::vector<BrowserProfile> found;
  if (home.empty()) return found;
  const std::string config = configHome.empty() ? home + "/.config" : configHome;
  for (const Home& h : kChromiumHomes) {
    const std::string userData = (h.InConfig ? config : home) + "/" + h.Dir;
    std::vector<DirEntry> entries;
    if (!fs.ListDir(userData, entries)) continue;
    for (const DirEntry& e : entries) {
      const std::string store = userData + "/" + e.Name + "/Bookmarks";
      if (!e.IsDirectory || !fs.FileExists(store)) continue;
      found.push_back({h.Browser, e.Name, ChromiumProfileName(fs, userData, e.Name), store, StoreFormat::Chromium});
    }
  }
  for (const Home& h : kFirefoxHomes) {
    const std::string dir = home + "/" + h.Dir;
    std::string ini;
    if (!fs.TryReadFile(dir + "/profiles.ini", ini)) continue;
    std::vector<BrowserProfile> profiles;
    for (const std::string& section : SectionNames(ini)) {
      if (section.rfind("Profile", 0) != 0) continue;
      const auto path = FindProfileValue(ini, section, "Path");
      if (!path || path->empty()) continue;
      const auto relative = FindProfileValue(ini, section, "IsRelative");
      const std::string folder = relative && *relative == "0" ? *path : dir + "/" + *path;
      const std::string store = folder + "/places.sqlite";
      if (!fs.FileExists(store)) continue;
      const auto name = FindProfileValue(ini, section, "Name");
      const size_t slash = folder.find_last_of('/');
      profiles.push_back({h.Browser, folder.substr(slash + 1), name.value_or(""), store, StoreFormat::Firefox});
    }
    std::sort(profiles.begin(), profiles.end(),
              [](const BrowserProfile& a, const BrowserProfile& b) { return NameLess(a.Profile, b.Profile); });
    found.insert(found.end(), profiles.begin(), profiles.end());
  }
  return found;
}

std::optional<std::string> ChromiumProfileInUse(const std::string& bookmarksPath) {
  const std::string lock = ParentOf(ParentOf(bookmarksPath)) + "/SingletonLock";
  char target[PATH_MAX];
  const ssize_t n = ::readlink(lock.c_str(), target, sizeof target - 1);
  if (n <= 0) return std::nullopt;
  // The link names "host-pid"; a host name may hold "-" itself.
  const std::string_view text(target, static_cast<size_t>(n));
  const size_t dash = text.rfind('-');
  if (dash == std::string_view::npos) return std::nullopt;
  const std::string host(text.substr(0, dash));
  long pid = 0;
  const auto [end, ec] = std::from_chars(text.data() + dash + 1, text.data() + text.size(), pid);
  if (ec != std::errc() || end != text.data() + text.size() || pid <= 0) return std::nullopt;
  char self[256] = {};
  ::gethostname(self, sizeof self - 1);
  if (host != self)
    return "The browser holds this profile on another computer (" + host +
           "); close it there. If it is not running, remove " + lock + ".";
  if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM)
    return "The browser is running with this profile (process " + std::to_string(pid) + "); close it first.";
  return std::nullopt;
}

}  // namespace quillet
