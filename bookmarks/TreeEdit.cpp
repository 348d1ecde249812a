#include "bookmarks/TreeEdit.h"

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <utility>

#include "bookmarks/BookmarkFormat.h"
#include "bookmarks/LineElements.h"
#include "platform/Utf8.h"

namespace quillet {

namespace {

constexpr size_t npos = std::string_view::npos;

std::string LeadingBlanks(std::string_view line) {
  size_t n = 0;
  while (n < line.size() && (line[n] == ' ' || line[n] == '\t')) ++n;
  return std::string(line.substr(0, n));
}

void AppendCharRef(std::string& out, char32_t cp) { out.append("&#").append(std::to_string(cp)).append(";"); }

// Writes the pieces of the tree's text one after another into new lines:
// a piece that starts a line moves its old lines over whole; a piece that
// shares a line with another is copied, and stays on the line of the piece
// it followed in the old text, if that piece is still the one before it.
// Otherwise the line is ended there, and the piece before takes the line
// break, so that the pieces still cover the text without a gap.
class LineEmitter {
 public:
  explicit LineEmitter(TextLines& old) : old_(old) { out_.reserve(old.size() + 16); }

  // The piece's old text, written; the piece is set to where it now stands.
  void Span(TextSpan& piece) {
    const TextSpan s = piece;
    if (s.Empty()) {
      Empty(piece);
      return;
    }
    if (midLine_ && !(lastValid_ && s.Begin == lastEnd_)) EndLine();
    const TextPos begin = Here();
    for (TextPos p = s.Begin; p < s.End; p = {p.Line + 1, 0}) {
      std::string& line = old_[p.Line];
      if (p.Line == s.End.Line) {
        Append(std::string_view(line).substr(p.Col, s.End.Col - p.Col));
        midLine_ = true;
        break;
      }
      if (!midLine_ && p.Col == 0) {
        Moved(p.Line);
        out_.push_back(std::move(line));
      } else {
        Append(std::string_view(line).substr(p.Col));
        midLine_ = false;
      }
    }
    lastEnd_ = s.End;
    lastValid_ = true;
    Written(piece, begin);
  }

  // New lines for the piece, or added to its end.
  void Text(TextSpan& piece, const TextLines& lines, bool added = false) {
    if (lines.empty()) {
      if (!added) Empty(piece);
      return;
    }
    if (midLine_) EndLine();
    const TextPos begin = added ? piece.Begin : Here();
    out_.insert(out_.end(), lines.begin(), lines.end());
    lastValid_ = false;
    Written(piece, begin);
  }

  // Ends the last line, if the last piece stops inside it.
  void Finish() {
    if (midLine_) EndLine();
  }

  const std::string& Line(size_t i) const { return out_[i]; }
  TextLines Take() { return std::move(out_); }
  const std::vector<MovedRun>& Runs() const { return runs_; }

 private:
  TextLines& old_;
  TextLines out_;
  bool midLine_ = false;
  TextPos lastEnd_;
  bool lastValid_ = false;
  std::vector<MovedRun> runs_;
  // The last piece written with text, and the empty ones after it.
  TextSpan* last_ = nullptr;
  std::vector<TextSpan*> empties_;

  TextPos Here() const {
    if (midLine_) return {static_cast<uint32_t>(out_.size() - 1), static_cast<uint32_t>(out_.back().size())};
    return {static_cast<uint32_t>(out_.size()), 0};
  }
  void Empty(TextSpan& piece) {
    piece = {Here(), Here()};
    empties_.push_back(&piece);
  }
  void Written(TextSpan& piece, TextPos begin) {
    piece = {begin, Here()};
    last_ = &piece;
    empties_.clear();
  }
  void EndLine() {
    midLine_ = false;
    if (last_) last_->End = Here();
    for (TextSpan* e : empties_) *e = {Here(), Here()};
  }
  void Append(std::string_view text) {
    if (!midLine_) out_.emplace_back();
    out_.back().append(text);
  }
  void Moved(size_t oldLine) {
    if (!runs_.empty() && runs_.back().OldFirst + runs_.back().Count == oldLine &&
        runs_.back().NewFirst + runs_.back().Count == out_.size())
      ++runs_.back().Count;
    else
      runs_.push_back({oldLine, out_.size(), 1});
  }
};

}  // namespace

std::string EncodeForDocument(std::string_view utf8, TextEncoding encoding) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    size_t n = DecodeUtf8At(utf8, i, cp);
    if (n == 0) {
      cp = 0xFFFD;
      n = 1;
    }
    if ((cp < 0x20 && cp != '\t') || cp == 0x7F) cp = 0xFFFD;
    if (encoding == TextEncoding::Windows1252) {
      const int b = UnicodeToWindows1252(cp);
      if (b >= 0)
        out += static_cast<char>(b);
      else
        AppendCharRef(out, cp);
    } else if (cp == 0x2029 || cp == 0xFDD0 || cp == 0xFDD1) {
      // These would make the whole text read as Windows-1252.
      AppendCharRef(out, cp);
    } else {
      AppendUtf8(out, cp);
    }
    i += n;
  }
  return out;
}

class TreeEditor {
 public:
  explicit TreeEditor(BookmarkTree& tree, PatchWanted patch = PatchWanted::Yes) : t_(tree), patch_(patch) {}

  TextPatch Rename(NodeId id, std::string_view title);
  TextPatch SetAddress(NodeId id, std::string_view address);
  TextPatch Delete(const std::vector<NodeId>& ids);
  TextPatch Move(const std::vector<NodeId>& ids, InsertPosition to);
  TextPatch Reorder(const std::vector<FolderOrder>& orders);
  Insertion Insert(InsertPosition at, NodeKind kind, std::string_view title, std::string_view address,
                   std::optional<int64_t> date);

 private:
  using Node = BookmarkTree::Node;
  using FolderData = BookmarkTree::FolderData;

  // How a new item is written where it goes.
  struct Style {
    std::string Indent;      // of its item line
    std::string ListIndent;  // of a new folder's list lines in Quillet's layout
    bool Browser = true;     // a new folder's heading goes before its list
    bool DoubleSpace = false;
  };

  BookmarkTree& t_;
  PatchWanted patch_ = PatchWanted::Yes;
  // New text for pieces: new nodes' heads and tails, and the list start put
  // after the head of a folder that had no list.
  std::unordered_map<NodeId, TextLines> newHead_, headExtra_, newTail_;

  Node& N(NodeId id) { return t_.nodes_[id]; }
  FolderData& F(NodeId id) { return t_.folders_[t_.nodes_[id].Folder]; }
  bool IsItem(NodeId id) const { return t_.nodes_[id].Kind != NodeKind::Opaque; }
  void CheckFolder(NodeId id);
  std::vector<NodeId> Outermost(const std::vector<NodeId>& ids);
  void Detach(const std::vector<NodeId>& ids);
  void AttachAt(NodeId folder, size_t index, const std::vector<NodeId>& ids);
  void Reindex(NodeId folder, size_t from = 0);
  size_t EndOfItems(NodeId folder);
  size_t IndexBefore(InsertPosition at);
  void GiveList(NodeId folder);
  AmpersandEscape Ampersands() const;
  Style StyleAt(NodeId folder, size_t index);
  TextLines Spaced(const Style& style, TextLines lines) const;
  TextPatch ReplaceInLine(NodeId id, uint32_t line, size_t begin, size_t end, const std::string& text);
  TextPatch Rebuild();
  TextLines CloseOf(NodeId folder, const LineEmitter& emitter) const;
};

// ---- checks and structure

void TreeEditor::CheckFolder(NodeId id) {
  if (!t_.IsLive(id) || t_.nodes_[id].Kind != NodeKind::Folder) throw TreeEditError("no such folder");
}

std::vector<NodeId> TreeEditor::Outermost(const std::vector<NodeId>& ids) {
  std::vector<char> chosen(t_.nodes_.size(), 0);
  for (NodeId id : ids) {
    if (!t_.IsLive(id) || id == kRootNode) throw TreeEditError("no such node, or the document's root");
    // Without its start or end a list would take in what follows it.
    if (t_.nodes_[id].Role != OpaqueRole::Other) throw TreeEditError("a list's own start or end stays");
    chosen[id] = 1;
  }
  std::vector<NodeId> out;
  for (NodeId id : ids) {
    if (chosen[id] != 1) continue;  // given twice
    chosen[id] = 2;
    bool inside = false;
    for (NodeId p = t_.nodes_[id].Parent; p != kNoNode && !inside; p = t_.nodes_[p].Parent) inside = chosen[p] != 0;
    if (!inside) out.push_back(id);
  }
  return out;
}

void TreeEditor::Reindex(NodeId folder, size_t from) {
  std::vector<NodeId>& children = F(folder).Children;
  for (size_t i = from; i < children.size(); ++i) {
    N(children[i]).Index = static_cast<uint32_t>(i);
    N(children[i]).Parent = folder;
  }
}

void TreeEditor::Detach(const std::vector<NodeId>& ids) {
  std::vector<char> going(t_.nodes_.size(), 0);
  std::vector<NodeId> parents;
  for (NodeId id : ids) {
    going[id] = 1;
    parents.push_back(N(id).Parent);
  }
  std::sort(parents.begin(), parents.end());
  parents.erase(std::unique(parents.begin(), parents.end()), parents.end());
  for (NodeId p : parents) {
    std::vector<NodeId>& children = F(p).Children;
    children.erase(std::remove_if(children.begin(), children.end(), [&](NodeId c) { return going[c] != 0; }),
                   children.end());
    Reindex(p);
  }
}

void TreeEditor::AttachAt(NodeId folder, size_t index, const std::vector<NodeId>& ids) {
  std::vector<NodeId>& children = F(folder).Children;
  children.insert(children.begin() + static_cast<std::ptrdiff_t>(index), ids.begin(), ids.end());
  Reindex(folder, index);
  if (!ids.empty() && F(folder).Layout == FolderLayout::Listless) GiveList(folder);
}

size_t TreeEditor::EndOfItems(NodeId folder) {
  const std::vector<NodeId>& children = F(folder).Children;
  // Before the end of the list that holds the folder's items and any lines
  // after it, but after the list's start.
  for (size_t i = children.size(); i > 0; --i) {
    const Node& c = N(children[i - 1]);
    if (c.Kind != NodeKind::Opaque || c.Role == OpaqueRole::ListOpen) return i;
  }
  return children.size();
}

size_t TreeEditor::IndexBefore(InsertPosition at) {
  if (at.Before == kNoNode) return EndOfItems(at.Folder);
  if (!t_.IsLive(at.Before) || N(at.Before).Parent != at.Folder)
    throw TreeEditError("the node to insert before is not in the folder");
  return N(at.Before).Index;
}

void TreeEditor::GiveList(NodeId folder) {
  const std::string indent = LeadingBlanks(t_.lines_[N(folder).Span.Begin.Line]);
  headExtra_[folder] = {indent + std::string(ListOpenLine)};
  newTail_[folder] = {indent + std::string(ListCloseLine)};
  F(folder).Layout = FolderLayout::Browser;
}

// ---- how new text is written

AmpersandEscape TreeEditor::Ampersands() const {
  // The browsers' importers decode every reference; Quillet's own layout
  // writes "a&b" as it is.
  switch (t_.DocumentDialect()) {
    case Dialect::Quillet: return AmpersandEscape::WhereAmbiguous;
    case Dialect::Browser:
    case Dialect::Mixed: return AmpersandEscape::Always;
    case Dialect::None: break;
  }
  const std::vector<NodeId>& top = t_.folders_[0].Children;
  const bool header = !top.empty() && t_.nodes_[top[0]].Kind == NodeKind::Opaque &&
                      FindNoCase(t_.lines_[t_.nodes_[top[0]].Span.Begin.Line], "<!DOCTYPE") != npos;
  return header ? AmpersandEscape::Always : AmpersandEscape::WhereAmbiguous;
}

TreeEditor::Style TreeEditor::StyleAt(NodeId folder, size_t index) {
  Style style;
  const FolderLayout layout = F(folder).Layout;
  style.Browser = layout == FolderLayout::Root ? t_.DocumentDialect() != Dialect::Quillet : layout != FolderLayout::Quillet;
  const std::vector<NodeId>& children = F(folder).Children;
  NodeId near = kNoNode;
  for (size_t k = index; k-- > 0 && near == kNoNode;)
    if (IsItem(children[k])) near = children[k];
  for (size_t k = index; k < children.size() && near == kNoNode; ++k)
    if (IsItem(children[k])) near = children[k];
  // The indentation a document uses: tabs or blanks, if any.
  std::string step;
  for (const Node& n : t_.nodes_) {
    if (!n.Live || n.Kind != NodeKind::Link) continue;
    const std::string blanks = LeadingBlanks(t_.lines_[n.Span.Begin.Line]);
    if (blanks.empty()) continue;
    step = blanks[0] == '\t' ? "\t" : std::string(style.Browser ? 4 : 2, ' ');
    break;
  }
  TextSpan last;
  if (near != kNoNode) {
    style.Indent = LeadingBlanks(t_.lines_[t_.ItemLine(near)]);
    last = N(near).Kind == NodeKind::Folder && !F(near).Tail.Empty() ? F(near).Tail : N(near).Span;
  } else {
    const bool root = folder == kRootNode;
    style.Indent = root ? std::string() : LeadingBlanks(t_.lines_[t_.ItemLine(folder)]);
    style.Indent += step;
    if (root && !style.Browser) style.Indent += step;
    last = N(folder).Span;
  }
  style.ListIndent = style.Indent;
  if (!step.empty() && style.ListIndent.size() >= step.size() && style.ListIndent.ends_with(step))
    style.ListIndent.resize(style.ListIndent.size() - step.size());
  style.DoubleSpace = last.End.Col == 0 && last.End.Line > last.Begin.Line + 1 &&
                      IsBlankText(t_.lines_[last.End.Line - 1]);
  return style;
}

TextLines TreeEditor::Spaced(const Style& style, TextLines lines) const {
  if (!style.DoubleSpace) return lines;
  TextLines spaced;
  for (std::string& line : lines) {
    spaced.push_back(std::move(line));
    spaced.emplace_back();
  }
  return spaced;
}

// ---- edits within a line

TextPatch TreeEditor::ReplaceInLine(NodeId id, uint32_t line, size_t begin, size_t end, const std::string& text) {
  std::string& old = t_.lines_[line];
  std::string changed = old.substr(0, begin) + text + old.substr(end);
  if (changed.size() >= std::numeric_limits<uint32_t>::max()) throw TreeEditError("the line would be too long");
  TextPatch patch;
  patch.Hunks.push_back({line, {old}, line, {changed}});
  old = std::move(changed);
  // Pieces that start or end further on the same line move along it.
  const int64_t delta = static_cast<int64_t>(text.size()) - static_cast<int64_t>(end - begin);
  auto shift = [&](TextPos& p) {
    if (p.Line == line && p.Col >= end) p.Col = static_cast<uint32_t>(p.Col + delta);
  };
  NodeId node = id;
  bool tail = false;
  while (node != kNoNode) {
    TextSpan& span = tail ? F(node).Tail : N(node).Span;
    if (span.Begin.Line > line) break;
    if (node != id || tail) shift(span.Begin);
    shift(span.End);
    // The next piece in document order.
    if (!tail && N(node).Kind == NodeKind::Folder) {
      if (F(node).Children.empty())
        tail = true;
      else
        node = F(node).Children.front();
      continue;
    }
    const NodeId parent = N(node).Parent;
    if (parent == kNoNode) break;
    const size_t next = N(node).Index + 1;
    if (next < F(parent).Children.size()) {
      node = F(parent).Children[next];
      tail = false;
    } else {
      node = parent;
      tail = true;
    }
  }
  return patch;
}

TextPatch TreeEditor::Rename(NodeId id, std::string_view title) {
  if (!t_.IsLive(id) || id == kRootNode) throw TreeEditError("no such link or folder");
  const std::optional<BookmarkTree::ItemTag> tag = t_.FindItemTag(id);
  if (!tag) throw TreeEditError("only a link or folder has a title");
  // Words after a tag that does not close would join the tag.
  if (!tag->Closed) throw TreeEditError("the tag before the title is not closed on its line");
  const std::string text = EncodeForDocument(EscapeNameForLine(title, Ampersands()), t_.encoding_);
  return ReplaceInLine(id, tag->Line, tag->TitleBegin, tag->TitleEnd, text);
}

TextPatch TreeEditor::SetAddress(NodeId id, std::string_view address) {
  if (!t_.IsLive(id) || N(id).Kind != NodeKind::Link) throw TreeEditError("no such link");
  const std::optional<BookmarkTree::ItemTag> tag = t_.FindItemTag(id);
  if (!tag) throw TreeEditError("the link has no address to set");
  const std::string_view line = t_.lines_[tag->Line];
  std::vector<TagAttribute> attributes;
  size_t tagEnd = npos;
  ReadTagAttributes(line, tag->NameEnd, attributes, tagEnd);
  const std::string value = "\"" + EncodeForDocument(EscapeAddressForLine(address, Ampersands()), t_.encoding_) + "\"";
  for (const TagAttribute& a : attributes) {
    if (UpperAscii(a.Name(line)) != "HREF") continue;
    if (!a.HasValue) return ReplaceInLine(id, tag->Line, a.NameEnd, a.NameEnd, "=" + value);
    const size_t quote = a.Quote ? 1 : 0;
    return ReplaceInLine(id, tag->Line, a.ValueBegin - quote, a.ValueEnd + quote, value);
  }
  throw TreeEditError("the link has no address to set");
}

// ---- edits of the structure

TextPatch TreeEditor::Delete(const std::vector<NodeId>& ids) {
  const std::vector<NodeId> going = Outermost(ids);
  Detach(going);
  for (NodeId id : going) {
    // Everything below a deleted folder goes with it.
    std::vector<NodeId> stack{id};
    while (!stack.empty()) {
      const NodeId n = stack.back();
      stack.pop_back();
      N(n).Live = false;
      if (N(n).Kind == NodeKind::Folder) stack.insert(stack.end(), F(n).Children.begin(), F(n).Children.end());
    }
  }
  return Rebuild();
}

TextPatch TreeEditor::Move(const std::vector<NodeId>& ids, InsertPosition to) {
  CheckFolder(to.Folder);
  const std::vector<NodeId> moving = Outermost(ids);
  for (NodeId id : moving)
    if (t_.IsWithin(to.Folder, id)) throw TreeEditError("a folder cannot move into itself or below itself");
  size_t index = 0;
  if (to.Before == kNoNode) {
    Detach(moving);
    index = EndOfItems(to.Folder);
  } else {
    IndexBefore(to);
    // Before a node that moves too: before the first one after it that
    // stays, or at the very end.
    std::vector<char> isMoving(t_.nodes_.size(), 0);
    for (NodeId id : moving) isMoving[id] = 1;
    const std::vector<NodeId>& children = F(to.Folder).Children;
    size_t k = N(to.Before).Index;
    while (k < children.size() && isMoving[children[k]]) ++k;
    const NodeId stay = k < children.size() ? children[k] : kNoNode;
    Detach(moving);
    index = stay == kNoNode ? children.size() : N(stay).Index;
  }
  AttachAt(to.Folder, index, moving);
  return Rebuild();
}

TextPatch TreeEditor::Reorder(const std::vector<FolderOrder>& orders) {
  // Every order is checked before any is made.
  std::vector<char> seen(t_.nodes_.size(), 0);
  for (const FolderOrder& o : orders) {
    CheckFolder(o.Folder);
    if (seen[o.Folder]++) throw TreeEditError("a folder is given two orders");
  }
  std::fill(seen.begin(), seen.end(), 0);
  for (const auto& [folder, order] : orders) {
    const std::vector<NodeId>& children = F(folder).Children;
    if (order.size() != children.size()) throw TreeEditError("the new order must hold every child once");
    for (size_t i = 0; i < order.size(); ++i) {
      const NodeId id = order[i];
      if (!t_.IsLive(id) || N(id).Parent != folder || seen[id]++) throw TreeEditError("the new order must hold every child once");
      if ((N(id).Role != OpaqueRole::Other || N(children[i]).Role != OpaqueRole::Other) && id != children[i])
        throw TreeEditError("a list's own start or end keeps its place");
    }
  }
  for (const auto& [folder, order] : orders) {
    F(folder).Children = order;
    Reindex(folder);
  }
  return Rebuild();
}

Insertion TreeEditor::Insert(InsertPosition at, NodeKind kind, std::string_view title, std::string_view address,
                             std::optional<int64_t> date) {
  CheckFolder(at.Folder);
  const size_t index = IndexBefore(at);
  const Style style = StyleAt(at.Folder, index);
  const AmpersandEscape amp = Ampersands();
  const std::string name = EncodeForDocument(EscapeNameForLine(title, amp), t_.encoding_);
  if (!style.Browser) date.reset();
  const NodeId id = static_cast<NodeId>(t_.nodes_.size());
  Node node;
  node.Kind = kind;
  t_.nodes_.push_back(node);
  if (kind == NodeKind::Folder) {
    N(id).Folder = static_cast<uint32_t>(t_.folders_.size());
    t_.folders_.push_back({{}, {}, style.Browser ? FolderLayout::Browser : FolderLayout::Quillet});
    const std::string heading = style.Indent + HeadingLine(name, date);
    newHead_[id] = Spaced(style, style.Browser ? TextLines{heading, style.Indent + std::string(ListOpenLine)}
                                               : TextLines{style.ListIndent + std::string(ListOpenLine), heading});
    newTail_[id] = Spaced(style, {(style.Browser ? style.Indent : style.ListIndent) + std::string(ListCloseLine)});
  } else if (kind == NodeKind::Link) {
    const std::string href = EncodeForDocument(EscapeAddressForLine(address, amp), t_.encoding_);
    newHead_[id] = Spaced(style, {style.Indent + LinkLine(href, name, date)});
  } else {
    newHead_[id] = Spaced(style, {style.Indent + "<HR>"});
  }
  AttachAt(at.Folder, index, {id});
  return {id, Rebuild()};
}

// ---- writing the pieces anew

TextLines TreeEditor::CloseOf(NodeId folder, const LineEmitter& emitter) const {
  const std::string& head = emitter.Line(t_.nodes_[folder].Span.Begin.Line);
  const std::string close = FindNoCase(head, "<UL") != npos ? "</ul>" : FindNoCase(head, "<OL") != npos ? "</ol>" : std::string(ListCloseLine);
  return {LeadingBlanks(head) + close};
}

TextPatch TreeEditor::Rebuild() {
  TextLines old = std::move(t_.lines_);
  LineEmitter emitter(old);
  // Folders whose lists were never closed, once their items are written: if
  // anything follows, their lists are closed before it.
  std::vector<NodeId> unclosed;
  auto closeBefore = [&](bool written) {
    if (!written || unclosed.empty()) return;
    for (NodeId f : unclosed) emitter.Text(F(f).Tail, CloseOf(f, emitter));
    unclosed.clear();
  };
  auto piece = [&](TextSpan& span, std::unordered_map<NodeId, TextLines>& texts, NodeId id) {
    const auto text = texts.empty() ? texts.end() : texts.find(id);
    closeBefore(text == texts.end() ? !span.Empty() : !text->second.empty());
    if (text == texts.end())
      emitter.Span(span);
    else
      emitter.Text(span, text->second);
  };
  auto head = [&](NodeId id) {
    piece(N(id).Span, newHead_, id);
    if (headExtra_.empty()) return;
    if (auto extra = headExtra_.find(id); extra != headExtra_.end()) emitter.Text(N(id).Span, extra->second, true);
  };
  auto tail = [&](NodeId id) {
    const bool open = F(id).Tail.Empty() && !newTail_.count(id) && id != kRootNode &&
                      F(id).Layout != FolderLayout::Listless;
    piece(F(id).Tail, newTail_, id);
    if (open) unclosed.push_back(id);
  };
  head(kRootNode);
  std::vector<std::pair<NodeId, size_t>> stack{{kRootNode, 0}};
  while (!stack.empty()) {
    const NodeId folder = stack.back().first;
    const std::vector<NodeId>& children = F(folder).Children;
    if (stack.back().second == children.size()) {
      tail(folder);
      stack.pop_back();
      continue;
    }
    const NodeId child = children[stack.back().second++];
    head(child);
    if (N(child).Kind == NodeKind::Folder) stack.emplace_back(child, 0);
  }
  emitter.Finish();
  t_.lines_ = emitter.Take();
  newHead_.clear();
  headExtra_.clear();
  newTail_.clear();
  if (patch_ == PatchWanted::No) return {};
  return PatchFromMoves(old, t_.lines_, emitter.Runs());
}

// ---- the edits

TextPatch RenameNode(BookmarkTree& tree, NodeId id, std::string_view title) { return TreeEditor(tree).Rename(id, title); }

TextPatch SetLinkAddress(BookmarkTree& tree, NodeId id, std::string_view address) {
  return TreeEditor(tree).SetAddress(id, address);
}

TextPatch DeleteNodes(BookmarkTree& tree, const std::vector<NodeId>& ids, PatchWanted patch) {
  return TreeEditor(tree, patch).Delete(ids);
}

TextPatch MoveNodes(BookmarkTree& tree, const std::vector<NodeId>& ids, InsertPosition to) {
  return TreeEditor(tree).Move(ids, to);
}

TextPatch ReorderChildren(BookmarkTree& tree, NodeId folder, const std::vector<NodeId>& order) {
  return TreeEditor(tree).Reorder({{folder, order}});
}

TextPatch ReorderFolders(BookmarkTree& tree, const std::vector<FolderOrder>& orders, PatchWanted patch) {
  return TreeEditor(tree, patch).Reorder(orders);
}

Insertion InsertFolder(BookmarkTree& tree, InsertPosition at, std::string_view title, std::optional<int64_t> addDate) {
  return TreeEditor(tree).Insert(at, NodeKind::Folder, title, {}, addDate);
}

Insertion InsertLink(BookmarkTree& tree, InsertPosition at, std::string_view title, std::string_view address,
                     std::optional<int64_t> addDate) {
  return TreeEditor(tree).Insert(at, NodeKind::Link, title, address, addDate);
}

Insertion InsertSeparator(BookmarkTree& tree, InsertPosition at) {
  return TreeEditor(tree).Insert(at, NodeKind::Separator, {}, {}, std::nullopt);
}

}  // namespace quillet
