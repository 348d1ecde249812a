#pragma once
// The stores Quillet converts between, and how one is told from its name and
// its first bytes.
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

class FileSystem;

enum class StoreFormat {
  Html,           // a bookmark HTML file
  Urls,           // a folder of shortcut files
  Chromium,       // Chromium's "Bookmarks" JSON file
  Firefox,        // Firefox's places.sqlite (read only)
  FirefoxBackup,  // Firefox's backups, .jsonlz4 or .json (read only)
};

// "html", "urls", "chromium", "firefox", "firefox-backup".
std::string_view StoreFormatName(StoreFormat format);
std::optional<StoreFormat> ParseStoreFormat(std::string_view name);
// Quillet never writes into Firefox's stores.
inline bool IsWritable(StoreFormat f) { return f != StoreFormat::Firefox && f != StoreFormat::FirefoxBackup; }

// A folder is urls; a file by its first bytes (SQLite: firefox; Firefox's
// compressed JSON: firefox-backup; JSON: chromium when shaped like
// Chromium's file or named "Bookmarks", firefox-backup when shaped like
// Firefox's backups); a path that does not exist yet by its name
// ("Bookmarks", "places.sqlite", "*.jsonlz4", a trailing "/"); everything
// else is html.
StoreFormat GuessStoreFormat(FileSystem& fs, const std::string& path);

}  // namespace quillet
