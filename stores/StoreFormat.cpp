#include "stores/StoreFormat.h"

#include <fstream>

#include "bookmarks/BookmarkFormat.h"
#include "platform/FileSystem.h"
#include "stores/FirefoxBackup.h"
#include "stores/FirefoxPlaces.h"

namespace quillet {

namespace {

constexpr std::pair<StoreFormat, std::string_view> kNames[] = {
    {StoreFormat::Html, "html"},
    {StoreFormat::Urls, "urls"},
    {StoreFormat::Chromium, "chromium"},
    {StoreFormat::Firefox, "firefox"},
    {StoreFormat::FirefoxBackup, "firefox-backup"},
};

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool EndsWith(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && LowerAscii(s.substr(s.size() - tail.size())) == tail;
}

// Enough of the start of a file to tell the stores apart: each names its
// telling keys near the top.
std::string Head(const std::string& path) {
  std::string head(64 * 1024, '\0');
  std::ifstream in(path, std::ios::binary);
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<size_t>(in.gcount()));
  return head;
}

}  // namespace

std::string_view StoreFormatName(StoreFormat format) {
  for (const auto& [f, name] : kNames)
    if (f == format) return name;
  return "html";
}

std::optional<StoreFormat> ParseStoreFormat(std::string_view name) {
  for (const auto& [f, n] : kNames)
    if (n == name) return f;
  return std::nullopt;
}

StoreFormat GuessStoreFormat(FileSystem& fs, const std::string& path) {
  if (fs.DirectoryExists(path)) return StoreFormat::Urls;
  const std::string name = BaseName(path);
  if (!fs.FileExists(path)) {
    if (path.empty() || path.back() == '/') return StoreFormat::Urls;
    if (name == "Bookmarks") return StoreFormat::Chromium;
    if (name == "places.sqlite") return StoreFormat::Firefox;
    if (EndsWith(name, ".jsonlz4")) return StoreFormat::FirefoxBackup;
    return StoreFormat::Html;
  }
  const std::string head = Head(path);
  if (IsSqliteFile(head)) return StoreFormat::Firefox;
  if (IsJsonLz4(head)) return StoreFormat::FirefoxBackup;
  const size_t first = head.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
  if (first == std::string::npos || head[first] != '{') return StoreFormat::Html;
  if (head.find("\"roots\"") != std::string::npos) return StoreFormat::Chromium;
  if (head.find("\"typeCode\"") != std::string::npos || head.find("\"text/x-moz-place") != std::string::npos)
    return StoreFormat::FirefoxBackup;
  if (name == "Bookmarks") return StoreFormat::Chromium;
  return StoreFormat::Html;
}

}  // namespace quillet
