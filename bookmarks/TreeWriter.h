#pragma once
// Printing a whole bookmark tree anew, in Quillet's own layout or the
// browsers', with the indent and double-space options: for documents made
// from something that is not bookmark HTML (a folder of shortcut files,
// another program's store) and for a document put into the other layout.
// Edits never print anew; they splice (TreeEdit.h).
#include <string>
#include <utility>
#include <vector>

#include "bookmarks/BookmarkTree.h"

namespace quillet {

struct OutlineNode;

// The children of an outline node: a list that frees an outline of any depth
// without calling itself once per level.
class OutlineList : public std::vector<OutlineNode> {
 public:
  using std::vector<OutlineNode>::vector;
  OutlineList() = default;
  OutlineList(const OutlineList&) = default;
  OutlineList(OutlineList&&) noexcept = default;
  OutlineList& operator=(const OutlineList&) = default;
  OutlineList& operator=(OutlineList&&) noexcept = default;
  ~OutlineList();
};

// A folder, link or separator by its values, free of any text it came from.
// Texts are as they read (not escaped), in UTF-8 or the bytes a name has.
struct OutlineNode {
  NodeKind Kind = NodeKind::Folder;
  std::string Title;
  std::string Address;
  // Written after HREF in the browsers' layout, in this order (ADD_DATE
  // first, as browsers write it); Quillet's layout writes none.
  std::vector<std::pair<std::string, std::string>> Attributes;
  std::string Description;
  OutlineList Children;
};

enum class WriteLayout { Quillet, Browser };

struct WriteOptions {
  WriteLayout Layout = WriteLayout::Quillet;
  bool Indent = false;       // two blanks a level in Quillet's layout, four in the browsers'
  bool DoubleSpace = false;  // an empty line after each line
  // In the browsers' layout: their header lines first, naming UTF-8 when
  // every line written is UTF-8, else windows-1252.
  bool Header = true;
  // The root folder gets a heading of its own, as a block made to be put
  // into another bookmark file.
  bool RootHeading = false;
};

// The whole outline as lines: each folder a list with its heading (inside
// it in Quillet's layout, before it in the browsers'), then its children in
// order; descriptions on <DD> lines after their items.
TextLines WriteOutline(const OutlineNode& root, const WriteOptions& options);

// A tree's folder as an outline: its folders, links and separators with
// their decoded values and attributes. Opaque lines are not part of it.
OutlineNode OutlineOf(const BookmarkTree& tree, NodeId folder = kRootNode);

}  // namespace quillet
