#include "bookmarks/TreeReader.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "bookmarks/BookmarkFormat.h"
#include "bookmarks/LineElements.h"
#include "platform/Utf8.h"

namespace quillet {

namespace {

// What a list start or heading was found to be, element by element.
enum Role : uint8_t {
  kUndecided = 0,
  // Headings: the list they name stands before them (Quillet's layout),
  // after them (the browsers'), or nowhere.
  kNamesListBefore,
  kNamesListAfter,
  kNamesNoList,
  // Lists: named by the heading after them, or before them.
  kNamedByNext,
  kNamedByPrevious,
};

constexpr size_t kDiagnosticTextLimit = 200;

}  // namespace

class TreeReader {
 public:
  explicit TreeReader(TextLines lines) { tree_.lines_ = std::move(lines); }
  BookmarkTree Read();

 private:
  struct Frame {
    NodeId Folder;
    bool Anonymous;  // a list with no heading: its items are the folder's
    uint32_t OpenLine;
  };

  BookmarkTree tree_;
  std::vector<LineElement> elements_;
  std::vector<uint8_t> roles_;
  std::vector<Frame> frames_;
  NodeId open_ = kRootNode;  // the node whose piece is being read
  bool openTail_ = false;    // ... and whether that piece is its tail
  bool describable_ = false;  // a <DD> now belongs to the element before it

  size_t NextItem(size_t i) const;
  bool FreeListBefore(size_t i) const;
  bool ListAfter(size_t i) const;
  void Decide();
  void DecideHeading(size_t i);
  void Build();
  void BuildElement(size_t i, NodeId& waiting);
  void CloseList(TextPos at, uint32_t line);
  NodeId Current() const { return frames_.back().Folder; }
  TextSpan& PieceOf(NodeId id, bool tail);
  void EndPiece(TextPos at);
  void StartPiece(NodeId id, bool tail, TextPos at);
  NodeId NewNode(NodeKind kind, TextPos at, OpaqueRole role = OpaqueRole::Other);
  NodeId NewFolder(TextPos at, FolderLayout layout);
  void Report(uint32_t line, DiagnosticKind kind);
  void ReportBytes();
};

BookmarkTree ReadBookmarkTree(TextLines lines) {
  constexpr size_t kLimit = std::numeric_limits<uint32_t>::max();
  if (lines.size() >= kLimit) throw std::length_error("the document has too many lines");
  for (const std::string& line : lines)
    if (line.size() >= kLimit) throw std::length_error("a line of the document is too long");
  return TreeReader(std::move(lines)).Read();
}

BookmarkTree TreeReader::Read() {
  tree_.encoding_ = ChooseTextEncoding(tree_.lines_);
  elements_ = ScanElements(tree_.lines_);
  Decide();
  Build();
  elements_ = {};
  roles_ = {};
  ReportBytes();
  std::stable_sort(tree_.diagnostics_.begin(), tree_.diagnostics_.end(),
                   [](const Diagnostic& a, const Diagnostic& b) { return a.Line < b.Line; });
  return std::move(tree_);
}

// ---- which list each heading names

size_t TreeReader::NextItem(size_t i) const {
  size_t j = i + 1;
  while (j < elements_.size() && elements_[j].Kind == ElementKind::Description) ++j;
  return j;
}

bool TreeReader::FreeListBefore(size_t i) const {
  return i > 0 && elements_[i - 1].Kind == ElementKind::ListOpen && roles_[i - 1] == kUndecided;
}

bool TreeReader::ListAfter(size_t i) const {
  const size_t j = NextItem(i);
  return j < elements_.size() && elements_[j].Kind == ElementKind::ListOpen;
}

void TreeReader::Decide() {
  const size_t n = elements_.size();
  roles_.assign(n, kUndecided);
  // A heading of its own names a <UL> or <OL> right after it, as Pocket
  // writes its sections; the file's <H1> before the top <DL> names nothing.
  for (size_t i = 0; i < n; ++i) {
    if (elements_[i].Kind != ElementKind::PageHeading) continue;
    const size_t j = NextItem(i);
    if (j < n && elements_[j].Kind == ElementKind::ListOpen && elements_[j].ListTag != 'D')
      elements_[i].Kind = ElementKind::Heading;
  }
  for (size_t i = 0; i < n; ++i)
    if (elements_[i].Kind == ElementKind::Heading && roles_[i] == kUndecided) DecideHeading(i);
}

void TreeReader::DecideHeading(size_t i) {
  const bool before = FreeListBefore(i), after = ListAfter(i);
  auto nameBefore = [&](size_t h) {
    roles_[h] = kNamesListBefore;
    roles_[h - 1] = kNamedByNext;
  };
  auto nameAfter = [&](size_t h) {
    roles_[h] = kNamesListAfter;
    roles_[NextItem(h)] = kNamedByPrevious;
  };
  if (!before && !after) {
    roles_[i] = kNamesNoList;
  } else if (!after) {
    nameBefore(i);
  } else if (!before) {
    nameAfter(i);
  } else {
    // List, heading, list, heading, ...: the same lines read both ways. In
    // Quillet's layout the last heading of the run has items after it, in
    // the browsers' the last list has; decide the whole run at once.
    std::vector<size_t> run{i};
    bool quillet = false;
    for (size_t k = i;;) {
      const size_t next = NextItem(k) + 1;
      if (next >= elements_.size() || elements_[next].Kind != ElementKind::Heading) break;
      run.push_back(next);
      if (!ListAfter(next)) {
        quillet = true;
        break;
      }
      k = next;
    }
    for (size_t h : run) quillet ? nameBefore(h) : nameAfter(h);
  }
}

// ---- nodes and their pieces

TextSpan& TreeReader::PieceOf(NodeId id, bool tail) {
  BookmarkTree::Node& n = tree_.nodes_[id];
  return tail ? tree_.folders_[n.Folder].Tail : n.Span;
}

void TreeReader::EndPiece(TextPos at) {
  PieceOf(open_, openTail_).End = at;
  // A folder without a list has nothing after its head.
  BookmarkTree::Node& n = tree_.nodes_[open_];
  if (n.Kind == NodeKind::Folder && tree_.folders_[n.Folder].Layout == FolderLayout::Listless)
    tree_.folders_[n.Folder].Tail = {at, at};
}

void TreeReader::StartPiece(NodeId id, bool tail, TextPos at) {
  EndPiece(at);
  open_ = id;
  openTail_ = tail;
  PieceOf(id, tail).Begin = at;
}

NodeId TreeReader::NewNode(NodeKind kind, TextPos at, OpaqueRole role) {
  const NodeId id = static_cast<NodeId>(tree_.nodes_.size());
  std::vector<NodeId>& siblings = tree_.folders_[tree_.nodes_[Current()].Folder].Children;
  BookmarkTree::Node node;
  node.Parent = Current();
  node.Index = static_cast<uint32_t>(siblings.size());
  node.Kind = kind;
  node.Role = role;
  tree_.nodes_.push_back(node);
  siblings.push_back(id);
  StartPiece(id, false, at);
  return id;
}

NodeId TreeReader::NewFolder(TextPos at, FolderLayout layout) {
  const NodeId id = NewNode(NodeKind::Folder, at);
  tree_.nodes_[id].Folder = static_cast<uint32_t>(tree_.folders_.size());
  tree_.folders_.push_back({{}, {}, layout});
  return id;
}

void TreeReader::Report(uint32_t line, DiagnosticKind kind) {
  const std::string& text = tree_.lines_[line];
  tree_.diagnostics_.push_back({line + 1, kind, text.substr(0, Utf8CutLength(text, kDiagnosticTextLimit))});
}

void TreeReader::Build() {
  tree_.nodes_.reserve(elements_.size() + 1);
  frames_ = {{kRootNode, false, 0}};
  NodeId waiting = kNoNode;  // a heading in the browsers' layout, before its list
  for (size_t i = 0; i < elements_.size(); ++i) BuildElement(i, waiting);
  const TextPos end{static_cast<uint32_t>(tree_.lines_.size()), 0};
  EndPiece(end);
  tree_.folders_[0].Tail = {end, end};
  for (size_t f = frames_.size(); f-- > 1;) {
    Report(frames_[f].OpenLine, DiagnosticKind::UnclosedList);
    if (!frames_[f].Anonymous) tree_.folders_[tree_.nodes_[frames_[f].Folder].Folder].Tail = {end, end};
  }
}

void TreeReader::BuildElement(size_t i, NodeId& waiting) {
  const LineElement& e = elements_[i];
  const TextPos at{e.Line, e.Col};
  // Nothing before the first element: as if words stood there.
  const ElementKind previous = i > 0 ? elements_[i - 1].Kind : ElementKind::Text;
  switch (e.Kind) {
    case ElementKind::ListOpen:
      if (roles_[i] == kNamedByPrevious) {
        frames_.push_back({waiting, false, e.Line});
        waiting = kNoNode;
      } else if (roles_[i] == kNamedByNext) {
        frames_.push_back({NewFolder(at, FolderLayout::Quillet), false, e.Line});
      } else {
        NewNode(NodeKind::Opaque, at, OpaqueRole::ListOpen);
        frames_.push_back({Current(), true, e.Line});
      }
      break;
    case ElementKind::Heading:
      if (roles_[i] == kNamesListAfter) {
        waiting = NewFolder(at, FolderLayout::Browser);
      } else if (roles_[i] == kNamesNoList) {
        NewFolder(at, FolderLayout::Listless);
        Report(e.Line, DiagnosticKind::HeadingWithoutList);
      }
      break;
    case ElementKind::Description:
      // A <DD> belongs to the link or heading before it, as do more <DD>s
      // after that one; any other is kept, and said.
      if (!describable_ && previous != ElementKind::Description) {
        NewNode(NodeKind::Opaque, at);
        Report(e.Line, DiagnosticKind::OrphanDescription);
      }
      break;
    case ElementKind::Link: NewNode(NodeKind::Link, at); break;
    case ElementKind::Separator: NewNode(NodeKind::Separator, at); break;
    case ElementKind::ListClose: CloseList(at, e.Line); break;
    case ElementKind::Item:
    case ElementKind::Text:
      NewNode(NodeKind::Opaque, at);
      Report(e.Line, DiagnosticKind::UnplacedLine);
      break;
    case ElementKind::Markup:
    case ElementKind::PageHeading:
      // The header's lines make one opaque node.
      if (previous != ElementKind::Markup && previous != ElementKind::PageHeading) NewNode(NodeKind::Opaque, at);
      break;
  }
  describable_ = e.Kind == ElementKind::Link || e.Kind == ElementKind::Heading ||
                 (e.Kind == ElementKind::Description && describable_);
}

void TreeReader::CloseList(TextPos at, uint32_t line) {
  if (frames_.size() == 1) {
    NewNode(NodeKind::Opaque, at);
    Report(line, DiagnosticKind::StrayListEnd);
    return;
  }
  const Frame frame = frames_.back();
  frames_.pop_back();
  if (frame.Anonymous)
    NewNode(NodeKind::Opaque, at, OpaqueRole::ListClose);
  else
    StartPiece(frame.Folder, true, at);
}

// ---- bytes: NULs, and text that is not UTF-8 where UTF-8 was meant

void TreeReader::ReportBytes() {
  const TextLines& lines = tree_.lines_;
  for (size_t i = 0; i < lines.size(); ++i)
    if (std::memchr(lines[i].data(), '\0', lines[i].size())) Report(static_cast<uint32_t>(i), DiagnosticKind::Nul);
  if (tree_.encoding_ == TextEncoding::Utf8) return;
  // A file in Windows-1252 is fine as it is; bytes that are not UTF-8 are a
  // fault only in a file that says it is UTF-8, or whose other lines are.
  bool meantUtf8 = false;
  for (size_t i = 0; i < lines.size() && !meantUtf8; ++i) {
    if (FindNoCase(lines[i], "CHARSET=UTF-8") != std::string_view::npos) meantUtf8 = true;
    if (!IsAscii(lines[i]) && IsValidUtf8(lines[i])) meantUtf8 = true;
  }
  if (!meantUtf8) return;
  for (size_t i = 0; i < lines.size(); ++i)
    if (!IsValidUtf8(lines[i])) Report(static_cast<uint32_t>(i), DiagnosticKind::InvalidUtf8);
}

}  // namespace quillet
