#pragma once
// What a bookmark document is and what is wrong with it, in figures read
// from its tree: the report of `quillet info`, as text for people and as
// JSON for scripts.
#include <cstddef>
#include <string>
#include <vector>

#include "bookmarks/BookmarkTree.h"

namespace quillet {

// A link whose address is no web address (not http: or https:): place:,
// javascript:, file:, the ERROR of an unreadable shortcut, none at all.
struct NonWebLink {
  size_t Line = 0;      // from 1
  std::string Address;  // decoded, UTF-8
  bool operator==(const NonWebLink&) const = default;
};

struct DocumentInfo {
  Dialect Layout = Dialect::None;
  TextEncoding Encoding = TextEncoding::Utf8;
  size_t Folders = 0;       // folder headings
  size_t Links = 0;         // every <A HREF>
  size_t Separators = 0;    // <HR>
  size_t Descriptions = 0;  // links and folders with a <DD>
  // How deep the deepest folder lies: 0 without folders, 1 for folders at
  // the top level.
  size_t Depth = 0;
  // Links whose address, as written, occurred earlier; links without an
  // address or with a jump within a page ("#...") are not compared, as
  // /nodupes compares them.
  size_t DuplicateLinks = 0;
  std::vector<NonWebLink> NonWebLinks;
  // The reader's diagnostics, their text in UTF-8.
  std::vector<Diagnostic> Problems;
};

DocumentInfo DescribeDocument(const BookmarkTree& tree);

// For people: a figure a line, then each link that is no web link and each
// problem with its line. Control characters show as U+FFFD.
std::string DocumentInfoText(const DocumentInfo& info);

// For scripts: one JSON object on one line, keys in this order: dialect
// ("quillet", "browser", "mixed", "none"), encoding ("utf-8",
// "windows-1252"), folders, links, separators, descriptions, depth,
// duplicate_links, problems ([{line, kind, text}]), non_web_links ([{line,
// address}]).
std::string DocumentInfoJson(const DocumentInfo& info);

}  // namespace quillet
