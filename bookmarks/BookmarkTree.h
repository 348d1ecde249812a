#pragma once
// The bookmark tree: one model of a bookmark document that every command and
// view can share. Folders, links, separators and everything else (kept as
// opaque nodes) are nodes; each knows the text it came from, so that an
// edit can splice the document's lines instead of printing it anew.
//
// The tree owns the document's lines. Every live node owns one piece of
// them (a folder two: its head, before its children, and its tail, after
// them); walking the tree in document order and putting the pieces one
// after another gives back the lines exactly. Values (titles, addresses,
// attributes, descriptions) are read from the lines when asked for, raw as
// written or decoded: character references decoded, tags dropped from
// titles, text in UTF-8 whatever the document's encoding.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bookmarks/Context.h"
#include "platform/TextCodec.h"

namespace quillet {

// A node's number. Numbers stay with their nodes across edits and are never
// given to another node, also after the node was deleted.
using NodeId = uint32_t;
inline constexpr NodeId kNoNode = UINT32_MAX;
inline constexpr NodeId kRootNode = 0;

enum class NodeKind : uint8_t { Folder, Link, Separator, Opaque };

// What an opaque node stands for: lines kept as they are (the file's
// header, a line that fits nowhere), or an end of a list that has no folder
// heading of its own (such as the file's top list), whose items belong to
// the folder around it.
enum class OpaqueRole : uint8_t { Other, ListOpen, ListClose };

// How a folder was written: its heading inside its list (Quillet's own
// layout), before its list (the browsers' layout), a heading without any
// list, or the document's root, which has no heading.
enum class FolderLayout : uint8_t { Root, Quillet, Browser, Listless };

// The layouts of a document's folders: all one, both, or no folder at all.
enum class Dialect : uint8_t { None, Quillet, Browser, Mixed };

// A place in the lines: a line number from 0 and a byte offset in it.
struct TextPos {
  uint32_t Line = 0;
  uint32_t Col = 0;
  auto operator<=>(const TextPos&) const = default;
};

// The text from Begin up to End. A piece that runs to the end of a line
// takes the line break with it: it ends at column 0 of the next line.
struct TextSpan {
  TextPos Begin, End;
  bool Empty() const { return Begin == End; }
  bool operator==(const TextSpan&) const = default;
};

// What the reader found wrong in the document. The line is kept (as an
// opaque node, or as part of a node); nothing is dropped.
enum class DiagnosticKind : uint8_t {
  UnclosedList,        // a list never closed: it runs to the end of the file
  StrayListEnd,        // a list end with no list open
  OrphanDescription,   // a <DD> after something other than a link or heading
  HeadingWithoutList,  // a folder heading with no list: an empty folder
  UnplacedLine,        // words or an item that is neither link nor heading
  Nul,                 // a NUL byte in the line
  InvalidUtf8,         // bytes that are not UTF-8 in a document that is
};

// The name used in reports: "unclosed-list", "stray-list-end",
// "orphan-description", "heading-without-list", "unplaced-line", "nul",
// "invalid-utf8".
std::string_view DiagnosticName(DiagnosticKind kind);

struct Diagnostic {
  size_t Line = 0;  // from 1, as editors count
  DiagnosticKind Kind = DiagnosticKind::UnplacedLine;
  std::string Text;  // the line, cut to at most 200 bytes
  bool operator==(const Diagnostic&) const = default;
};

// An attribute of a link's <A> or a folder's heading tag, as written.
struct NodeAttribute {
  std::string_view Name;
  std::string_view RawValue;
  bool HasValue = false;
};

class BookmarkTree {
 public:
  // An empty document: the root alone.
  BookmarkTree();

  // ---- structure
  NodeId Root() const { return kRootNode; }
  // The id stands for a node that was not deleted.
  bool IsLive(NodeId id) const;
  NodeKind Kind(NodeId id) const;
  OpaqueRole Role(NodeId id) const;
  // kNoNode for the root.
  NodeId Parent(NodeId id) const;
  size_t IndexInParent(NodeId id) const;
  // A folder's children in document order, opaque nodes included.
  const std::vector<NodeId>& Children(NodeId folder) const;
  // The root's depth is 0, a top-level node's 1.
  size_t Depth(NodeId id) const;
  // node is the folder itself or lies below it.
  bool IsWithin(NodeId node, NodeId folder) const;
  // Every id handed out so far is below this.
  size_t IdLimit() const { return nodes_.size(); }
  // Calls visit(id) for every live node in document order, the root first.
  template <class Visit>
  void ForEachNode(Visit visit) const;

  // ---- the text
  const TextLines& Lines() const { return lines_; }
  // Hands the lines over; the tree is empty afterwards.
  TextLines TakeLines();
  // A node's piece of text; a folder's head (its heading, list start and
  // description, as written).
  TextSpan Span(NodeId id) const;
  // What comes after a folder's children: its list end and the blank lines
  // after it; empty when the list is never closed.
  TextSpan Tail(NodeId folder) const;
  // The bytes of a piece, line breaks as "\n".
  std::string SpanText(TextSpan span) const;
  // The whole text of a node: a folder's with everything in it.
  std::string NodeText(NodeId id) const;
  // The first line of a node's item (a folder's heading line).
  size_t ItemLine(NodeId id) const;
  // The link's <A HREF> or the folder's heading tag stands in its piece.
  bool HasItemTag(NodeId id) const { return FindItemTag(id).has_value(); }
  TextEncoding Encoding() const { return encoding_; }
  FolderLayout Layout(NodeId folder) const;
  Dialect DocumentDialect() const;
  // What the reader found, in line order. They describe the text as it was
  // read: edits do not change them.
  const std::vector<Diagnostic>& Diagnostics() const { return diagnostics_; }

  // ---- values of links and folders (others give "" and nothing)
  std::string_view RawTitle(NodeId id) const;
  std::string Title(NodeId id) const;
  // A link's HREF as written, and decoded.
  std::string_view RawAddress(NodeId id) const;
  std::string Address(NodeId id) const;
  // The attributes of a link's <A> tag or a folder's heading tag, in their
  // written order and spelling.
  std::vector<NodeAttribute> Attributes(NodeId id) const;
  // The decoded value of the first attribute of that name (any letter case).
  std::optional<std::string> Attribute(NodeId id, std::string_view name) const;
  // A date attribute as Unix seconds; values written in milliseconds or
  // microseconds are recognised by their size.
  std::optional<int64_t> Date(NodeId id, std::string_view name) const;
  std::optional<int64_t> AddDate(NodeId id) const;
  std::optional<int64_t> LastModified(NodeId id) const;
  // The folder is marked PERSONAL_TOOLBAR_FOLDER="true".
  bool IsToolbar(NodeId id) const;
  // A link's or folder's <DD> text: raw (its lines joined by "\n"), and
  // decoded.
  bool HasDescription(NodeId id) const;
  std::string RawDescription(NodeId id) const;
  std::string Description(NodeId id) const;

  // Raw text of this document as UTF-8, character references decoded.
  std::string DecodeText(std::string_view raw) const;

 private:
  friend class TreeReader;
  friend class TreeEditor;

  struct Node {
    TextSpan Span;
    NodeId Parent = kNoNode;
    uint32_t Index = 0;
    uint32_t Folder = 0;  // folders: their entry in folders_
    NodeKind Kind = NodeKind::Opaque;
    OpaqueRole Role = OpaqueRole::Other;
    bool Live = true;
  };
  struct FolderData {
    TextSpan Tail;
    std::vector<NodeId> Children;
    FolderLayout Layout = FolderLayout::Root;
  };
  // Where a link's or folder's tag and title stand.
  struct ItemTag {
    uint32_t Line = 0;
    size_t NameEnd = 0;
    size_t TagEnd = 0;  // the ">", or the line's end when it does not close
    bool Closed = false;
    size_t TitleBegin = 0, TitleEnd = 0;
    std::string_view Href;  // a link's address as written
  };

  TextLines lines_;
  std::vector<Node> nodes_;
  std::vector<FolderData> folders_;
  std::vector<Diagnostic> diagnostics_;
  TextEncoding encoding_ = TextEncoding::Utf8;

  const Node& At(NodeId id) const;
  const FolderData& FolderOf(NodeId id) const;
  std::optional<ItemTag> FindItemTag(NodeId id) const;
  // Where a node's <DD> text begins (after the tag) and ends, or nothing.
  std::optional<TextSpan> DescriptionSpan(NodeId id) const;
};

template <class Visit>
void BookmarkTree::ForEachNode(Visit visit) const {
  // An explicit stack: no nesting in a document can exhaust the call stack.
  std::vector<std::pair<NodeId, size_t>> stack{{kRootNode, 0}};
  visit(kRootNode);
  while (!stack.empty()) {
    auto& [folder, next] = stack.back();
    const std::vector<NodeId>& children = folders_[nodes_[folder].Folder].Children;
    if (next == children.size()) {
      stack.pop_back();
      continue;
    }
    const NodeId child = children[next++];
    visit(child);
    if (nodes_[child].Kind == NodeKind::Folder) stack.emplace_back(child, 0);
  }
}

// Unix seconds from a date attribute's text: seconds, or milliseconds or
// microseconds told apart by their size (up to 10^11, 10^14, 10^17); a
// fraction is dropped. Nothing for anything else.
std::optional<int64_t> UnixSecondsFromDate(std::string_view raw);

}  // namespace quillet
