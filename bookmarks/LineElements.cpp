#include "bookmarks/LineElements.h"

#include <string>

#include "platform/AsciiCase.h"

namespace quillet {

namespace {

constexpr size_t npos = std::string_view::npos;

bool IsTagBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool NameIs(std::string_view name, std::string_view upper) {
  if (name.size() != upper.size()) return false;
  for (size_t i = 0; i < name.size(); ++i)
    if (UpperAscii(name[i]) != upper[i]) return false;
  return true;
}

char ListTagOf(std::string_view name) {
  if (NameIs(name, "DL")) return 'D';
  if (NameIs(name, "UL")) return 'U';
  if (NameIs(name, "OL")) return 'O';
  return '\0';
}

// The state of the line being scanned: the element it is in and what that
// element has seen so far.
struct LineState {
  std::vector<LineElement>& Out;
  uint32_t Index;
  bool Started = false;    // an element has started on this line
  bool Continued = false;  // the line began inside the element before it
  ElementKind Current = ElementKind::Markup;
  bool LinkClosed = false;  // the current link's </A> was seen

  bool AtLineStart() const { return !Started && !Continued; }

  void Start(ElementKind kind, size_t at, char listTag = '\0') {
    Out.push_back({Index, static_cast<uint32_t>(AtLineStart() ? 0 : at), kind, listTag});
    Started = true;
    Current = kind;
    LinkClosed = false;
  }
  // A <DT> or <LI> of this line becomes what its first inner tag says.
  bool Upgrade(ElementKind kind) {
    if (!Started || Current != ElementKind::Item) return false;
    Out.back().Kind = Current = kind;
    return true;
  }
  // The element may be followed on its line by a link or heading of its own.
  bool EndsBeforeLinks() const {
    return Current == ElementKind::ListOpen || Current == ElementKind::ListClose ||
           Current == ElementKind::Separator || Current == ElementKind::Markup || Current == ElementKind::Text;
  }
};

// The <A> tag whose name ends at nameEnd has an HREF; tagEnd is set to its
// ">" (npos when it does not close on the line).
bool HasHref(std::string_view line, size_t nameEnd, std::vector<TagAttribute>& scratch, size_t& tagEnd) {
  scratch.clear();
  tagEnd = npos;
  ReadTagAttributes(line, nameEnd, scratch, tagEnd);
  for (const TagAttribute& a : scratch)
    if (NameIs(a.Name(line), "HREF")) return true;
  return false;
}

// What the tag at line[lt] does to the line's elements: starts one, turns
// the line's <DT> into a link or heading, or joins the element it stands in.
// Sets tagEnd when it had to find the tag's end.
void ClassifyTag(LineState& s, std::string_view line, size_t lt, const TagName& tag,
                 std::vector<TagAttribute>& scratch, size_t& tagEnd) {
  const std::string_view name = tag.Name;
  const char listTag = ListTagOf(name);
  if (listTag) {
    s.Start(tag.Closing ? ElementKind::ListClose : ElementKind::ListOpen, lt, listTag);
  } else if (tag.Closing) {
    if (NameIs(name, "A") && s.Current == ElementKind::Link) s.LinkClosed = true;
    if (s.AtLineStart()) s.Start(ElementKind::Markup, lt);
  } else if (NameIs(name, "DT") || NameIs(name, "LI")) {
    s.Start(ElementKind::Item, lt);
  } else if (NameIs(name, "DD")) {
    s.Start(ElementKind::Description, lt);
  } else if (NameIs(name, "HR")) {
    s.Start(ElementKind::Separator, lt);
  } else if (NameIs(name, "A")) {
    const bool href = HasHref(line, tag.NameEnd, scratch, tagEnd);
    if (href && !s.Upgrade(ElementKind::Link) &&
        (s.AtLineStart() || s.EndsBeforeLinks() || (s.Current == ElementKind::Link && s.LinkClosed)))
      s.Start(ElementKind::Link, lt);
    else if (s.AtLineStart())
      s.Start(ElementKind::Markup, lt);
  } else if (IsHeadingTagName(name)) {
    const bool afterList = s.Current == ElementKind::ListOpen || s.Current == ElementKind::ListClose;
    if (!s.Upgrade(ElementKind::Heading) && (s.AtLineStart() || afterList)) s.Start(ElementKind::PageHeading, lt);
  } else if (s.AtLineStart()) {
    s.Start(ElementKind::Markup, lt);
  }
}

}  // namespace

std::optional<TagName> ReadTagName(std::string_view line, size_t lt) {
  size_t p = lt + 1;
  TagName tag;
  if (p < line.size() && line[p] == '/') {
    tag.Closing = true;
    ++p;
  }
  if (p >= line.size() || !IsAsciiLetter(line[p])) return std::nullopt;
  const size_t begin = p;
  while (p < line.size() && (IsAsciiLetter(line[p]) || IsDigit(line[p]))) ++p;
  tag.Name = line.substr(begin, p - begin);
  tag.NameEnd = p;
  return tag;
}

size_t FindTagEnd(std::string_view line, size_t p) {
  char quote = '\0';
  bool afterEquals = false;
  for (; p < line.size(); ++p) {
    const char c = line[p];
    if (quote) {
      if (c == quote) quote = '\0';
      continue;
    }
    if (c == '>') return p;
    if (afterEquals && (c == '"' || c == '\'')) {
      quote = c;
      afterEquals = false;
    } else if (c == '=') {
      afterEquals = true;
    } else if (!IsTagBlank(c)) {
      afterEquals = false;
    }
  }
  return npos;
}

bool IsHeadingTagName(std::string_view name) {
  return name.size() == 2 && UpperAscii(name[0]) == 'H' && name[1] >= '1' && name[1] <= '6';
}

size_t ElementScanner::ContinueCarry(std::string_view line) {
  if (carry_ == Carry::Comment) {
    const size_t end = line.find("-->");
    if (end == npos) return npos;
    carry_ = Carry::None;
    return end + 3;
  }
  const size_t end = FindTagEnd(line, 0);
  if (end == npos) return npos;
  carry_ = Carry::None;
  return end + 1;
}

void ElementScanner::Scan(std::string_view line, uint32_t index, std::vector<LineElement>& out) {
  if (IsBlankText(line)) return;
  if (inDescription_) {
    if (!EndsDescription(line)) return;
    inDescription_ = false;
  }
  LineState s{out, index};
  size_t i = 0;
  if (carry_ != Carry::None) {
    if (EndsDescription(line)) {
      // A line that starts an element of its own ends a comment or tag left
      // open: one broken tag must not swallow the rest of the file.
      carry_ = Carry::None;
    } else {
      i = ContinueCarry(line);
      if (i == npos) return;
      s.Continued = true;
    }
  }
  while (i < line.size()) {
    const size_t lt = line.find('<', i);
    // Words before the first tag of a line make an element of their own.
    if (s.AtLineStart() && !IsBlankText(line.substr(i, lt == npos ? npos : lt - i))) s.Start(ElementKind::Text, i);
    if (lt == npos) break;
    if (line.compare(lt, 4, "<!--") == 0) {
      if (s.AtLineStart()) s.Start(ElementKind::Markup, lt);
      const size_t end = line.find("-->", lt + 4);
      if (end == npos) {
        carry_ = Carry::Comment;
        break;
      }
      i = end + 3;
      continue;
    }
    const std::optional<TagName> tag = ReadTagName(line, lt);
    if (!tag) {
      // "<!DOCTYPE", "<?xml": markup; a "<" before anything else is a word.
      const bool declaration = lt + 1 < line.size() && (line[lt + 1] == '!' || line[lt + 1] == '?');
      if (s.AtLineStart()) s.Start(declaration ? ElementKind::Markup : ElementKind::Text, lt);
      const size_t end = declaration ? FindTagEnd(line, lt + 2) : npos;
      i = declaration ? (end == npos ? line.size() : end + 1) : lt + 1;
      continue;
    }
    size_t tagEnd = npos;
    ClassifyTag(s, line, lt, *tag, attributes_, tagEnd);
    if (tagEnd == npos) tagEnd = FindTagEnd(line, tag->NameEnd);
    if (tagEnd == npos) {
      // Only the header's tags run on over lines (a long META); an item's
      // broken tag ends with its line.
      if (s.Current == ElementKind::Markup) carry_ = Carry::Tag;
      break;
    }
    i = tagEnd + 1;
  }
  if (s.Started) inDescription_ = s.Current == ElementKind::Description;
}

std::vector<LineElement> ScanElements(const std::vector<std::string>& lines) {
  std::vector<LineElement> elements;
  elements.reserve(lines.size());
  ElementScanner scanner;
  for (size_t i = 0; i < lines.size(); ++i) scanner.Scan(lines[i], static_cast<uint32_t>(i), elements);
  return elements;
}

}  // namespace quillet
