#include "bookmarks/TreeWriter.h"

#include <algorithm>

#include "bookmarks/BookmarkFormat.h"
#include "platform/Utf8.h"

namespace quillet {

namespace {

// Where each line form goes and how names are escaped, as the folder walk
// has always written them. Quillet's layout puts a folder's heading inside
// its list and indents two blanks a level; the browsers' puts it before the
// list, indents four blanks a level and escapes every "&", since their
// importers decode references.
class OutlinePrinter {
 public:
  explicit OutlinePrinter(const WriteOptions& o) : o_(o), browser_(o.Layout == WriteLayout::Browser) {}

  TextLines Print(const OutlineNode& root) {
    Folder(root, o_.RootHeading, 1);
    if (browser_ && o_.Header && !o_.RootHeading) {
      const bool utf8 = std::all_of(lines_.begin(), lines_.end(), [](const std::string& l) { return IsValidUtf8(l); });
      TextLines header;
      for (std::string& line : BrowserHeaderLines(utf8)) {
        header.push_back(std::move(line));
        if (o_.DoubleSpace) header.emplace_back();
      }
      lines_.insert(lines_.begin(), header.begin(), header.end());
    }
    return std::move(lines_);
  }

 private:
  const WriteOptions& o_;
  const bool browser_;
  TextLines lines_;

  std::string At(int level) const { return IndentText(o_.Indent, level, browser_ ? 4 : 2); }
  AmpersandEscape Amp() const { return browser_ ? AmpersandEscape::Always : AmpersandEscape::WhereAmbiguous; }

  void Add(std::string line) {
    lines_.push_back(std::move(line));
    if (o_.DoubleSpace) lines_.emplace_back();
  }

  std::string Attributes(const OutlineNode& n) const {
    std::string text;
    if (browser_)
      for (const auto& [name, value] : n.Attributes) text += AttributeText(name, value, Amp());
    return text;
  }

  void Description(const OutlineNode& n, const std::string& indent) {
    std::string_view text = n.Description;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
    while (!text.empty() && (text.front() == '\n' || text.front() == '\r')) text.remove_prefix(1);
    if (text.empty()) return;
    // Its own line breaks are written as they are, as browsers do; the
    // double spacing comes after the whole description.
    bool first = true;
    for (size_t at = 0; at <= text.size();) {
      size_t end = text.find('\n', at);
      if (end == std::string_view::npos) end = text.size();
      std::string_view part = text.substr(at, end - at);
      if (!part.empty() && part.back() == '\r') part.remove_suffix(1);
      lines_.push_back((first ? indent + "<DD>" : std::string()) + EscapeNameForLine(part, Amp()));
      first = false;
      at = end + 1;
    }
    if (o_.DoubleSpace) lines_.emplace_back();
  }

  void Heading(const OutlineNode& n, const std::string& indent) {
    Add(indent + HeadingLineWith(EscapeNameForLine(n.Title, Amp()), Attributes(n)));
    Description(n, indent);
  }

  void Item(const OutlineNode& n, const std::string& indent) {
    if (n.Kind == NodeKind::Separator) {
      Add(indent + "<HR>");
      return;
    }
    Add(indent + LinkLineWith(EscapeAddressForLine(n.Address, Amp()), EscapeNameForLine(n.Title, Amp()), Attributes(n)));
    Description(n, indent);
  }

  // Folders are written with a stack of their own, so that no depth of
  // nesting can exhaust the call stack.
  void Folder(const OutlineNode& root, bool heading, int level) {
    struct Open {
      const OutlineNode* Node;
      int Level;
      size_t Next;
    };
    std::vector<Open> stack;
    auto enter = [&](const OutlineNode& f, bool withHeading, int l) {
      const std::string list = At(l - 1);
      if (withHeading && browser_) Heading(f, At(l - 1));
      Add(list + std::string(ListOpenLine));
      if (withHeading && !browser_) Heading(f, At(l));
      stack.push_back({&f, l, 0});
    };
    enter(root, heading, level);
    while (!stack.empty()) {
      Open& top = stack.back();
      if (top.Next == top.Node->Children.size()) {
        Add(At(top.Level - 1) + std::string(ListCloseLine));
        stack.pop_back();
        continue;
      }
      const OutlineNode& child = top.Node->Children[top.Next++];
      const int l = top.Level;
      if (child.Kind == NodeKind::Folder)
        enter(child, true, l + 1);
      else
        Item(child, At(browser_ ? l : l + 1));
    }
  }
};

}  // namespace

OutlineList::~OutlineList() {
  // The grandchildren move up into one list before each child goes, so no
  // child is freed while it still holds children.
  std::vector<OutlineNode> pending;
  for (OutlineNode& c : *this)
    if (!c.Children.empty()) pending.push_back(std::move(c));
  while (!pending.empty()) {
    OutlineNode last = std::move(pending.back());
    pending.pop_back();
    for (OutlineNode& c : last.Children)
      if (!c.Children.empty()) pending.push_back(std::move(c));
    last.Children.clear();
  }
}

TextLines WriteOutline(const OutlineNode& root, const WriteOptions& options) {
  return OutlinePrinter(options).Print(root);
}

OutlineNode OutlineOf(const BookmarkTree& tree, NodeId folder) {
  auto values = [&](NodeId id, OutlineNode& n) {
    n.Kind = tree.Kind(id);
    if (n.Kind == NodeKind::Separator) return;
    if (id != kRootNode) n.Title = tree.Title(id);
    if (n.Kind == NodeKind::Link) n.Address = tree.Address(id);
    for (const NodeAttribute& a : tree.Attributes(id))
      if (UpperAscii(a.Name) != "HREF") n.Attributes.emplace_back(std::string(a.Name), tree.DecodeText(a.RawValue));
    n.Description = tree.Description(id);
  };
  OutlineNode root;
  values(folder, root);
  // Each folder's children are made all at once, so that pointers to them
  // stay good while their own children are made.
  std::vector<std::pair<NodeId, OutlineNode*>> stack{{folder, &root}};
  while (!stack.empty()) {
    const auto [id, node] = stack.back();
    stack.pop_back();
    std::vector<NodeId> items;
    for (NodeId c : tree.Children(id))
      if (tree.Kind(c) != NodeKind::Opaque) items.push_back(c);
    node->Children.resize(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
      values(items[i], node->Children[i]);
      if (node->Children[i].Kind == NodeKind::Folder) stack.emplace_back(items[i], &node->Children[i]);
    }
  }
  return root;
}

}  // namespace quillet
