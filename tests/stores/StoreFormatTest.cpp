#include "stores/StoreFormat.h"

#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "tests/support/TempDir.h"

namespace quillet {
namespace {

using test::TempDir;

TEST(StoreFormat, GuessedFromTheContentOfAFileElseFromItsName) {
  TempDir dir;
  const std::string chromium = R"({"checksum": "x", "roots": {}, "version": 1})";
  const std::string backup = R"({"guid": "root________", "typeCode": 2, "children": []})";
  const std::pair<const char*, const char*> files[] = {
      {"Bookmarks", chromium.c_str()},
      {"copy.json", chromium.c_str()},
      {"bookmarks-2024.json", backup.c_str()},
      {"Bookmarks.bak", "{\"roots\": {}}"},
      {"places.sqlite", "SQLite format 3"},  // the NUL after it is added below
      {"renamed.db", "SQLite format 3"},
      {"backup.jsonlz4", "mozLz40"},
      {"links.htm", "<DL><p>"},
      {"empty.json", ""},
      {"other.json", "{\"a\": 1}"},
  };
  for (const auto& [name, text] : files) test::WriteBytes(dir / name, std::string(text, strlen(text) + 1));
  test::MakeDirs(dir / "links");
  const std::pair<std::string, StoreFormat> cases[] = {
      {"Bookmarks", StoreFormat::Chromium},          {"copy.json", StoreFormat::Chromium},
      {"bookmarks-2024.json", StoreFormat::FirefoxBackup}, {"Bookmarks.bak", StoreFormat::Chromium},
      {"places.sqlite", StoreFormat::Firefox},      {"renamed.db", StoreFormat::Firefox},
      {"backup.jsonlz4", StoreFormat::FirefoxBackup}, {"links.htm", StoreFormat::Html},
      {"empty.json", StoreFormat::Html},            {"other.json", StoreFormat::Html},
      {"links", StoreFormat::Urls},
      // Not there yet: by the name alone.
      {"new/Bookmarks", StoreFormat::Chromium},     {"new/places.sqlite", StoreFormat::Firefox},
      {"new/x.jsonlz4", StoreFormat::FirefoxBackup}, {"new/folder/", StoreFormat::Urls},
      {"new/out.htm", StoreFormat::Html},
  };
  PosixFileSystem fs;
  for (const auto& [path, format] : cases)
    EXPECT_EQ(StoreFormatName(GuessStoreFormat(fs, dir / path)), StoreFormatName(format)) << path;
  for (const auto& [path, format] : cases) EXPECT_EQ(ParseStoreFormat(StoreFormatName(format)), format);
  EXPECT_FALSE(ParseStoreFormat("opera"));
}

}  // namespace
}  // namespace quillet
