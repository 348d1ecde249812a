#include "bookmarks/BookmarkTree.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "bookmarks/BookmarkFormat.h"
#include "bookmarks/LineElements.h"
#include "platform/AsciiCase.h"
#include "platform/Utf8.h"

namespace quillet {

namespace {

constexpr size_t npos = std::string_view::npos;

// The text without its tags: "<b>News</b>" reads "News". A "<" that starts
// no tag stays.
std::string DropTags(std::string_view text) {
  if (text.find('<') == npos) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    const bool tag = text[i] == '<' && (next == '/' || next == '!' || IsAsciiLetter(next));
    if (!tag) {
      out += text[i];
      continue;
    }
    const size_t end = text.find('>', i);
    if (end == npos) break;
    i = end;
  }
  return out;
}

// The end of an item's title: its closing tag, a description on the same
// line, or the end of what is the item's on the line.
size_t TitleEnd(std::string_view line, size_t begin, size_t limit, std::string_view closing) {
  size_t end = limit;
  for (std::string_view stop : {closing, std::string_view("<DD")}) {
    const size_t at = FindNoCase(line.substr(0, limit), stop, begin);
    if (at != npos && at < end) end = at;
  }
  return end;
}

}  // namespace

std::string_view DiagnosticName(DiagnosticKind kind) {
  switch (kind) {
    case DiagnosticKind::UnclosedList: return "unclosed-list";
    case DiagnosticKind::StrayListEnd: return "stray-list-end";
    case DiagnosticKind::OrphanDescription: return "orphan-description";
    case DiagnosticKind::HeadingWithoutList: return "heading-without-list";
    case DiagnosticKind::UnplacedLine: return "unplaced-line";
    case DiagnosticKind::Nul: return "nul";
    case DiagnosticKind::InvalidUtf8: return "invalid-utf8";
  }
  return "unplaced-line";
}

std::optional<int64_t> UnixSecondsFromDate(std::string_view raw) {
  while (!raw.empty() && IsBlankText(raw.substr(0, 1))) raw.remove_prefix(1);
  while (!raw.empty() && IsBlankText(raw.substr(raw.size() - 1))) raw.remove_suffix(1);
  const bool negative = !raw.empty() && raw[0] == '-';
  if (negative) raw.remove_prefix(1);
  const size_t dot = raw.find('.');
  const std::string_view whole = raw.substr(0, dot);
  if (whole.empty() || whole.size() > 18) return std::nullopt;
  for (char c : raw.substr(whole.size() + (dot == npos ? 0 : 1)))
    if (c < '0' || c > '9') return std::nullopt;
  int64_t v = 0;
  for (char c : whole) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  if (v >= 100'000'000'000'000'000) return std::nullopt;
  if (v >= 100'000'000'000'000)
    v /= 1'000'000;
  else if (v >= 100'000'000'000)
    v /= 1000;
  return negative ? -v : v;
}

BookmarkTree::BookmarkTree() {
  nodes_.push_back(Node{{}, kNoNode, 0, 0, NodeKind::Folder, OpaqueRole::Other, true});
  folders_.push_back(FolderData{});
}

const BookmarkTree::Node& BookmarkTree::At(NodeId id) const {
  if (id >= nodes_.size() || !nodes_[id].Live) throw std::out_of_range("no such bookmark node");
  return nodes_[id];
}

const BookmarkTree::FolderData& BookmarkTree::FolderOf(NodeId id) const {
  const Node& n = At(id);
  if (n.Kind != NodeKind::Folder) throw std::invalid_argument("the bookmark node is not a folder");
  return folders_[n.Folder];
}

bool BookmarkTree::IsLive(NodeId id) const { return id < nodes_.size() && nodes_[id].Live; }
NodeKind BookmarkTree::Kind(NodeId id) const { return At(id).Kind; }
OpaqueRole BookmarkTree::Role(NodeId id) const { return At(id).Role; }
NodeId BookmarkTree::Parent(NodeId id) const { return At(id).Parent; }
size_t BookmarkTree::IndexInParent(NodeId id) const { return At(id).Index; }
const std::vector<NodeId>& BookmarkTree::Children(NodeId folder) const { return FolderOf(folder).Children; }
TextSpan BookmarkTree::Span(NodeId id) const { return At(id).Span; }
TextSpan BookmarkTree::Tail(NodeId folder) const { return FolderOf(folder).Tail; }
FolderLayout BookmarkTree::Layout(NodeId folder) const { return FolderOf(folder).Layout; }

size_t BookmarkTree::Depth(NodeId id) const {
  size_t depth = 0;
  for (NodeId p = At(id).Parent; p != kNoNode; p = nodes_[p].Parent) ++depth;
  return depth;
}

bool BookmarkTree::IsWithin(NodeId node, NodeId folder) const {
  for (NodeId p = node; p != kNoNode; p = At(p).Parent)
    if (p == folder) return true;
  return false;
}

TextLines BookmarkTree::TakeLines() {
  TextLines lines = std::move(lines_);
  *this = BookmarkTree();
  return lines;
}

std::string BookmarkTree::SpanText(TextSpan span) const {
  std::string text;
  for (TextPos p = span.Begin; p < span.End;) {
    const std::string& line = lines_[p.Line];
    if (p.Line == span.End.Line) {
      text.append(line, p.Col, span.End.Col - p.Col);
      break;
    }
    text.append(line, p.Col).append("\n");
    p = {p.Line + 1, 0};
  }
  return text;
}

std::string BookmarkTree::NodeText(NodeId id) const {
  TextSpan whole = At(id).Span;
  // The last piece of a folder's text: its tail, or failing that the last
  // piece of its last child, and so on down.
  for (NodeId last = id; nodes_[last].Kind == NodeKind::Folder;) {
    const FolderData& f = folders_[nodes_[last].Folder];
    if (!f.Tail.Empty()) {
      whole.End = f.Tail.End;
      break;
    }
    if (f.Children.empty()) break;
    last = f.Children.back();
    whole.End = nodes_[last].Span.End;
  }
  return SpanText(whole);
}

Dialect BookmarkTree::DocumentDialect() const {
  bool quillet = false, browser = false;
  for (const Node& n : nodes_) {
    if (!n.Live || n.Kind != NodeKind::Folder) continue;
    quillet = quillet || folders_[n.Folder].Layout == FolderLayout::Quillet;
    browser = browser || folders_[n.Folder].Layout == FolderLayout::Browser;
  }
  if (quillet && browser) return Dialect::Mixed;
  return quillet ? Dialect::Quillet : browser ? Dialect::Browser : Dialect::None;
}

std::optional<BookmarkTree::ItemTag> BookmarkTree::FindItemTag(NodeId id) const {
  const Node& n = At(id);
  const bool link = n.Kind == NodeKind::Link;
  if (!link && (n.Kind != NodeKind::Folder || id == kRootNode)) return std::nullopt;
  // A link's <A HREF> starts its piece; a folder's heading is on one of its
  // head's lines (after the list start in Quillet's layout).
  for (TextPos p = n.Span.Begin; p < n.Span.End; p = {p.Line + 1, 0}) {
    const std::string_view line = lines_[p.Line];
    const size_t limit = p.Line == n.Span.End.Line ? n.Span.End.Col : line.size();
    for (size_t lt = line.find('<', p.Col); lt < limit; lt = line.find('<', lt + 1)) {
      const std::optional<TagName> tag = ReadTagName(line, lt);
      if (!tag || tag->Closing || !(link ? EqualIgnoringAsciiCase(tag->Name, "A") : IsHeadingTagName(tag->Name))) continue;
      ItemTag item;
      item.Line = p.Line;
      item.NameEnd = tag->NameEnd;
      if (link) {
        // Read for every value asked of a link: one list kept for the thread.
        thread_local std::vector<TagAttribute> attributes;
        attributes.clear();
        size_t end = npos;
        ReadTagAttributes(line, tag->NameEnd, attributes, end);
        const auto href = std::find_if(attributes.begin(), attributes.end(),
                                       [&](const TagAttribute& a) { return EqualIgnoringAsciiCase(a.Name(line), "HREF"); });
        if (href == attributes.end()) continue;
        item.Href = line.substr(href->ValueBegin, href->ValueEnd - href->ValueBegin);
      }
      const size_t end = FindTagEnd(line, tag->NameEnd);
      item.TagEnd = end == npos ? line.size() : end;
      item.Closed = end != npos;
      item.TitleBegin = item.TitleEnd = std::min(item.TagEnd + 1, line.size());
      if (end != npos && end < limit)
        item.TitleEnd = TitleEnd(line, item.TitleBegin, limit, link ? std::string_view("</A") : "</H");
      return item;
    }
    if (link) break;
  }
  return std::nullopt;
}

size_t BookmarkTree::ItemLine(NodeId id) const {
  const std::optional<ItemTag> tag = FindItemTag(id);
  return tag ? tag->Line : At(id).Span.Begin.Line;
}

std::string_view BookmarkTree::RawTitle(NodeId id) const {
  const std::optional<ItemTag> tag = FindItemTag(id);
  if (!tag) return {};
  return std::string_view(lines_[tag->Line]).substr(tag->TitleBegin, tag->TitleEnd - tag->TitleBegin);
}

std::string BookmarkTree::Title(NodeId id) const { return DecodeText(DropTags(RawTitle(id))); }

std::vector<NodeAttribute> BookmarkTree::Attributes(NodeId id) const {
  std::vector<NodeAttribute> out;
  const std::optional<ItemTag> tag = FindItemTag(id);
  if (!tag) return out;
  const std::string_view line = lines_[tag->Line];
  std::vector<TagAttribute> attributes;
  size_t end = npos;
  ReadTagAttributes(line, tag->NameEnd, attributes, end);
  for (const TagAttribute& a : attributes) out.push_back({a.Name(line), a.Value(line), a.HasValue});
  return out;
}

std::string_view BookmarkTree::RawAddress(NodeId id) const {
  if (At(id).Kind != NodeKind::Link) return {};
  const std::optional<ItemTag> tag = FindItemTag(id);
  return tag ? tag->Href : std::string_view();
}

std::string BookmarkTree::Address(NodeId id) const { return DecodeText(RawAddress(id)); }

std::optional<std::string> BookmarkTree::Attribute(NodeId id, std::string_view name) const {
  for (const NodeAttribute& a : Attributes(id))
    if (EqualIgnoringAsciiCase(a.Name, name)) return DecodeText(a.RawValue);
  return std::nullopt;
}

std::optional<int64_t> BookmarkTree::Date(NodeId id, std::string_view name) const {
  const std::optional<std::string> value = Attribute(id, name);
  return value ? UnixSecondsFromDate(*value) : std::nullopt;
}

std::optional<int64_t> BookmarkTree::AddDate(NodeId id) const {
  // Pocket writes the date a page was saved as TIME_ADDED.
  if (std::optional<int64_t> date = Date(id, "ADD_DATE")) return date;
  return Date(id, "TIME_ADDED");
}

std::optional<int64_t> BookmarkTree::LastModified(NodeId id) const { return Date(id, "LAST_MODIFIED"); }

bool BookmarkTree::IsToolbar(NodeId id) const {
  if (At(id).Kind != NodeKind::Folder) return false;
  const std::optional<std::string> mark = Attribute(id, "PERSONAL_TOOLBAR_FOLDER");
  return mark && EqualIgnoringAsciiCase(*mark, "TRUE");
}

std::optional<TextSpan> BookmarkTree::DescriptionSpan(NodeId id) const {
  const std::optional<ItemTag> tag = FindItemTag(id);
  if (!tag) return std::nullopt;
  const TextSpan span = At(id).Span;
  const auto limitOf = [&](uint32_t line) {
    return line == span.End.Line ? span.End.Col : static_cast<uint32_t>(lines_[line].size());
  };
  // On the item's own line after its title, or on the next line that is not
  // blank.
  TextPos dd{tag->Line, static_cast<uint32_t>(tag->TitleEnd)};
  size_t at = FindNoCase(std::string_view(lines_[dd.Line]).substr(0, limitOf(dd.Line)), "<DD", dd.Col);
  if (at != npos && !IsDescriptionLine(std::string_view(lines_[dd.Line]).substr(at))) at = npos;
  if (at == npos) {
    dd = {tag->Line + 1, 0};
    while (dd < span.End && IsBlankText(lines_[dd.Line])) dd = {dd.Line + 1, 0};
    if (!(dd < span.End) || !IsDescriptionLine(lines_[dd.Line])) return std::nullopt;
    at = FindNoCase(lines_[dd.Line], "<DD");
  }
  const std::string_view line = std::string_view(lines_[dd.Line]).substr(0, limitOf(dd.Line));
  const size_t close = FindTagEnd(line, at + 3);
  TextSpan text{{dd.Line, static_cast<uint32_t>(close == npos ? line.size() : close + 1)},
                {dd.Line, static_cast<uint32_t>(line.size())}};
  // A folder's list may start on the description's line.
  for (std::string_view list : {"<DL", "<UL", "<OL"}) {
    const size_t l = FindNoCase(line, list, text.Begin.Col);
    if (l != npos && l < text.End.Col) text.End.Col = static_cast<uint32_t>(l);
  }
  if (text.End.Col < text.Begin.Col) text.End.Col = text.Begin.Col;
  // Only a description that fills the rest of its line runs on.
  const bool runsOn = text.End.Col == lines_[dd.Line].size();
  for (uint32_t i = dd.Line + 1; runsOn && TextPos{i, 0} < span.End; ++i) {
    if (IsBlankText(lines_[i])) continue;
    if (EndsDescription(lines_[i])) break;
    text.End = {i, limitOf(i)};
  }
  return text;
}

bool BookmarkTree::HasDescription(NodeId id) const { return DescriptionSpan(id).has_value(); }

std::string BookmarkTree::RawDescription(NodeId id) const {
  const std::optional<TextSpan> span = DescriptionSpan(id);
  return span ? SpanText(*span) : std::string();
}

std::string BookmarkTree::Description(NodeId id) const { return DecodeText(DropTags(RawDescription(id))); }

std::string BookmarkTree::DecodeText(std::string_view raw) const {
  if (encoding_ == TextEncoding::Utf8) return DecodeCharRefs(raw);
  std::string utf8;
  utf8.reserve(raw.size());
  for (char c : raw) AppendUtf8(utf8, Windows1252ToUnicode(static_cast<unsigned char>(c)));
  return DecodeCharRefs(utf8);
}

}  // namespace quillet
