#pragma once
// The link check on a bookmark document: which links it holds, where a
// file: link points, and the two changes a check may lead to. Nothing here
// removes a link: dead ones are only moved, and only when asked.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bookmarks/BookmarkTree.h"
#include "check/LinkCheck.h"
#include "platform/Registry.h"

namespace quillet {

struct DocumentLink {
  NodeId Id = kNoNode;
  size_t Line = 0;  // from 1
  std::string Folder;
  std::string Title;
  std::string Url;
};

// Every link of the document, in document order.
std::vector<DocumentLink> DocumentLinks(const BookmarkTree& tree);

// The local path of a file: address: escapes decoded, a relative one
// against docDir (with its trailing delimiter), a drive letter through reg.
// Nothing for another machine's file, a drive reg cannot place, or an
// address that is not file:.
std::optional<std::string> FileLinkPath(std::string_view url, const std::string& docDir, Registry* reg);

// Moves the dead links into the top-level folder name, made at the end of
// the top list unless one of that name is there. Returns how many moved.
size_t MoveDeadLinks(BookmarkTree& tree, const std::vector<DocumentLink>& links,
                     const std::vector<LinkResult>& results, std::string_view name);

// Gives each link that was permanently redirected its final address, unless
// that is the bare root of a site (a page gone is often sent there). Returns
// how many changed.
size_t RewritePermanentRedirects(BookmarkTree& tree, const std::vector<DocumentLink>& links,
                                 const std::vector<LinkResult>& results);

}  // namespace quillet
