#pragma once
// Firefox's live bookmark store, places.sqlite in a profile folder: read
// only, and only through a private copy. Nothing is ever written into a
// Firefox profile.
#include <functional>
#include <string>

#include "stores/StoreRead.h"

namespace quillet {

// Copies the database and its write-ahead log (which holds the newest rows
// while Firefox runs) into a private temporary folder, opens the copy read
// only and checks it. A copy torn by Firefox writing meanwhile is taken
// once more; after a second failure, throws StoreError saying to close
// Firefox or export HTML. Roots become the top-level folders "Bookmarks
// menu", "Bookmarks toolbar" (the toolbar folder), "Other bookmarks" and
// "Mobile bookmarks" (left out when empty); the tags root is left out, each
// link's tags go into TAGS, keywords into SHORTCUTURL. Throws EFOpenError
// when the file cannot be read.
//
// afterCopy, when set, runs after each copy is taken (tests tear a copy).
StoreRead ReadFirefoxPlaces(const std::string& path, const std::function<void(int attempt)>& afterCopy = {});

// The bytes start with SQLite's header.
bool IsSqliteFile(std::string_view bytes);

}  // namespace quillet
