#pragma once
// Firefox's bookmark backups (bookmarkbackups/*.jsonlz4, and the plain .json
// a user exports): read only.
#include <string>
#include <string_view>

#include "stores/StoreRead.h"

namespace quillet {

// The bytes start with the header of Firefox's compressed JSON ("mozLz40\0").
bool IsJsonLz4(std::string_view bytes);

// The JSON inside: after the header, the size (4 bytes, little-endian) and
// one LZ4 block of exactly that size. Throws StoreError when it is not.
std::string DecodeJsonLz4(std::string_view bytes);

// The JSON has the shape of a Firefox backup: one container of containers.
bool LooksLikeFirefoxBackup(std::string_view json);

// Reads a backup, compressed or not. The roots become the top-level folders
// "Bookmarks menu", "Bookmarks toolbar" (the toolbar folder), "Other
// bookmarks" and "Mobile bookmarks" (left out when empty); the tags root is
// left out, each link's tags are in its TAGS, its keyword in SHORTCUTURL.
// Throws StoreError when it is no backup.
StoreRead ReadFirefoxBackup(std::string_view bytes);

}  // namespace quillet
