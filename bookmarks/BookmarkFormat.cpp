#include "bookmarks/BookmarkFormat.h"

#include <cstdint>
#include <cstring>
#include <utility>

#include "platform/Utf8.h"

namespace quillet {

namespace {

constexpr size_t npos = std::string_view::npos;

// One character of a file or folder name. A NUL would cut the path short
// wherever it is handed to the system, so it is as unusable as the forbidden
// characters.
char NameChar(char c) { return (IsForbiddenNameChar(c) || c == '\0') ? '_' : c; }

// Control characters, surrogates and values beyond Unicode are never decoded.
bool IsDecodableCodePoint(uint32_t cp) {
  return !(cp < 32 || cp == 127 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF));
}

// Reads the character reference at text[at] into a name, if one stands
// there, and returns its length (0 for none). A reference to a character no
// name is given here (a line break, a NUL, a control character) becomes "_",
// as forbidden characters do; so does one beyond Unicode.
size_t AppendNameCharRef(std::string& out, std::string_view text, size_t at) {
  uint32_t cp = 0;
  const size_t n = ParseCharRef(text, at, cp);
  if (n == 0) return 0;
  if (!IsDecodableCodePoint(cp)) {
    out += '_';
    return n;
  }
  std::string bytes;
  AppendUtf8(bytes, cp);
  for (char c : bytes) out += NameChar(c);
  return n;
}

}  // namespace

size_t FindNoCase(std::string_view line, std::string_view needle, size_t from) {
  if (needle.size() > line.size()) return npos;
  // Every tag needle starts with '<', which has no case: jump from one to the
  // next instead of comparing at every position.
  const bool jump = !needle.empty() && !IsAsciiLetter(needle[0]);
  for (size_t i = from; i + needle.size() <= line.size(); ++i) {
    if (jump) {
      const void* p = std::memchr(line.data() + i, needle[0], line.size() - needle.size() + 1 - i);
      if (!p) return npos;
      i = static_cast<size_t>(static_cast<const char*>(p) - line.data());
    }
    size_t k = 0;
    while (k < needle.size() && UpperAscii(line[i + k]) == needle[k]) ++k;
    if (k == needle.size()) return i;
  }
  return npos;
}

std::string IndentText(bool indentHtml, int level, int blanksPerLevel) {
  if (!indentHtml || level <= 0 || blanksPerLevel <= 0) return std::string();
  return std::string(static_cast<size_t>(level) * static_cast<size_t>(blanksPerLevel), ' ');
}

bool IsBlankText(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) > 32) return false;
  return true;
}

bool IsListEnd(std::string_view line) { return FindNoCase(line, "</DL><P>") != npos; }

bool IsHeading(std::string_view line) { return FindNoCase(line, "<DT><H3") != npos; }

std::string FolderNameOf(std::string_view line) {
  const size_t a = FindNoCase(line, "<DT><H3");
  if (a == npos) return std::string();
  const size_t e = FindNoCase(line, "</H3>");
  if (e == npos) return std::string();
  // Pass over attributes inside the heading tag up to its ">".
  size_t p = a + 7;
  while (p < e && line[p] != '>') ++p;
  if (e <= p + 1) return std::string();
  const std::string_view raw = line.substr(p + 1, e - p - 1);
  std::string name;
  name.reserve(raw.size());
  size_t i = 0;
  while (i < raw.size()) {
    if (const size_t length = AppendNameCharRef(name, raw, i)) {
      i += length;
    } else {
      name += NameChar(raw[i]);
      ++i;
    }
  }
  return name;
}

bool IsDescriptionLine(std::string_view line) {
  size_t i = 0;
  while (i < line.size() && static_cast<unsigned char>(line[i]) <= ' ') ++i;
  if (line.size() - i < 4 || line[i] != '<' || UpperAscii(line[i + 1]) != 'D' || UpperAscii(line[i + 2]) != 'D')
    return false;
  return line[i + 3] == '>' || line[i + 3] == ' ' || line[i + 3] == '\t';
}

bool EndsDescription(std::string_view line) {
  for (size_t i = line.find('<'); i != npos; i = line.find('<', i + 1)) {
    const std::string_view tag = line.substr(i + 1);
    auto starts = [&](std::string_view name) {
      if (tag.size() < name.size()) return false;
      for (size_t k = 0; k < name.size(); ++k)
        if (UpperAscii(tag[k]) != name[k]) return false;
      return true;
    };
    if (starts("DT") || starts("DD") || starts("DL") || starts("/DL") || starts("HR")) return true;
    if (starts("H") && tag.size() > 1 && tag[1] >= '1' && tag[1] <= '6') return true;
  }
  // A link always starts an entry of its own, whatever tag it hides in.
  return HasLinkTag(line) || !LinkAddressView(line).empty();
}

size_t DescriptionEnd(const std::vector<std::string>& lines, size_t first) {
  size_t end = first + 1;
  for (size_t i = first + 1; i < lines.size(); ++i) {
    if (IsBlankText(lines[i])) continue;
    if (EndsDescription(lines[i])) break;
    end = i + 1;
  }
  return end;
}

bool HasLinkTag(std::string_view line) {
  for (size_t a = FindNoCase(line, "<A"); a != npos; a = FindNoCase(line, "<A", a + 1)) {
    const char next = a + 2 < line.size() ? line[a + 2] : '\0';
    if (next == ' ' || next == '\t' || next == '>') return true;
  }
  return false;
}

size_t DescriptionStart(std::string_view line) {
  // Positions here are 1-based, as the result is.
  const size_t len = line.size();
  auto at = [&](size_t i) { return i >= 1 && i <= len ? line[i - 1] : '\0'; };
  const size_t q0 = line.find('"');
  if (q0 == npos) return 0;
  size_t i = q0 + 2;  // the character after the first quote
  bool found = false;
  while (!found && i < len) {
    while (i <= len && at(i) == ' ') ++i;
    if (at(i) == '>') {
      found = true;
    } else {
      while (i < len && at(i) != '"') ++i;
    }
    ++i;
  }
  while (i <= len && at(i) == ' ') ++i;
  return found ? i : 0;
}

LineSpan DescriptionSpan(std::string_view line) {
  const size_t start = DescriptionStart(line);  // 1-based; 0: none
  if (start == 0) return {};
  const size_t end = FindNoCase(line, "</A>");
  if (end == npos || start - 1 >= end) return {};
  return {start - 1, end};
}

std::string_view LinkAddressView(std::string_view line) {
  const size_t a = FindNoCase(line, "<A");
  if (a == npos) return {};
  size_t i = a + 2;
  while (i < line.size() && line[i] == ' ') ++i;
  // HREF must be the tag's first attribute, with only blanks before it.
  if (FindNoCase(line, "HREF", a + 2) != i) return {};
  size_t k = i + 4;
  while (k < line.size() && line[k] == ' ') ++k;
  if (k >= line.size() || line[k] != '=') return {};
  ++k;
  while (k < line.size() && line[k] == ' ') ++k;
  if (k >= line.size() || line[k] != '"') return {};
  if (k + 1 < line.size() && line[k + 1] == '#') return {};
  const size_t close = line.find('"', k + 1);
  return line.substr(k + 1, close == npos ? npos : close - k - 1);
}

std::string LinkAddress(std::string_view line) { return std::string(LinkAddressView(line)); }

std::string SafeFileName(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (const size_t length = AppendNameCharRef(out, text, i)) {
      // "&lt;" is a character of the title, not the start of a tag.
      i += length;
    } else if (c == '<') {
      const size_t gt = text.find('>', i + 1);
      i = gt == npos ? text.size() : gt + 1;
    } else if (c == '#') {
      ++i;
      while (i < text.size() && IsAsciiLetter(text[i])) ++i;
    } else {
      out += NameChar(c);
      ++i;
    }
  }
  return IsBlankText(out) ? std::string() : out;
}

size_t ParseCharRef(std::string_view text, size_t at, uint32_t& cp) {
  if (at >= text.size() || text[at] != '&') return 0;
  const std::string_view rest = text.substr(at + 1);
  static constexpr struct {
    std::string_view name;
    char c;
  } kNamed[] = {{"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}, {"quot;", '"'}, {"apos;", '\''}};
  for (const auto& n : kNamed) {
    if (rest.substr(0, n.name.size()) == n.name) {
      cp = static_cast<unsigned char>(n.c);
      return 1 + n.name.size();
    }
  }
  if (rest.empty() || rest[0] != '#') return 0;
  size_t i = 1;
  const bool hex = i < rest.size() && (rest[i] == 'x' || rest[i] == 'X');
  if (hex) ++i;
  const size_t firstDigit = i;
  cp = 0;
  for (; i < rest.size(); ++i) {
    const char d = rest[i];
    uint32_t v;
    if (d >= '0' && d <= '9')
      v = static_cast<uint32_t>(d - '0');
    else if (hex && d >= 'a' && d <= 'f')
      v = static_cast<uint32_t>(d - 'a' + 10);
    else if (hex && d >= 'A' && d <= 'F')
      v = static_cast<uint32_t>(d - 'A' + 10);
    else
      break;
    // Saturate: anything past U+10FFFF is refused by the callers, however long.
    cp = cp > 0x10FFFF ? cp : cp * (hex ? 16 : 10) + v;
  }
  if (i == firstDigit || i >= rest.size() || rest[i] != ';') return 0;
  return 1 + i + 1;
}

bool ReadCharRef(std::string_view text, size_t at, std::string& bytes, size_t& length) {
  uint32_t cp = 0;
  const size_t n = ParseCharRef(text, at, cp);
  if (n == 0 || !IsDecodableCodePoint(cp)) return false;
  bytes.clear();
  AppendUtf8(bytes, cp);
  length = n;
  return true;
}

std::string DecodeCharRefs(std::string_view text) {
  if (text.find('&') == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::string bytes;
  size_t i = 0;
  while (i < text.size()) {
    size_t length = 0;
    if (text[i] == '&' && ReadCharRef(text, i, bytes, length)) {
      out += bytes;
      i += length;
    } else {
      out += text[i++];
    }
  }
  return out;
}

namespace {

bool IsTagSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

template <size_t N>
bool IsOneOf(std::string_view name, const std::string_view (&names)[N]) {
  for (std::string_view n : names)
    if (n == name) return true;
  return false;
}

bool IsDateAttribute(std::string_view name) {
  return name == "ADD_DATE" || name == "LAST_VISIT" || name == "LAST_MODIFIED";
}

// The end of the name of a tag whose bookkeeping is stripped ("<A", "<H3"
// in any letter case) starting at line[lt], or npos for any other tag.
size_t StrippedTagNameEnd(std::string_view line, size_t lt) {
  size_t p = lt + 1;
  if (p < line.size() && UpperAscii(line[p]) == 'A') {
    ++p;
  } else if (p + 1 < line.size() && UpperAscii(line[p]) == 'H' && line[p + 1] == '3') {
    p += 2;
  } else {
    return npos;
  }
  return p < line.size() && (IsTagSpace(line[p]) || line[p] == '>') ? p : npos;
}

// The attributes of the tag whose name ends at p that go, each as the blanks
// before it up to the end of its value, in line order; *tagEnd is set to the
// tag's ">". Returns false when the tag does not close on the line.
bool BookkeepingSpans(std::string_view line, size_t p, std::vector<std::pair<size_t, size_t>>& spans,
                      size_t& tagEnd) {
  std::vector<TagAttribute> attributes;
  if (!ReadTagAttributes(line, p, attributes, tagEnd)) return false;
  bool afterDate = false;
  for (const TagAttribute& a : attributes) {
    const std::string_view name = a.Name(line);
    const bool bookkeeping = IsOneOf(name, BookkeepingAttributes);
    if (bookkeeping || (afterDate && !IsOneOf(name, KeptAttributes))) spans.emplace_back(a.LeadBegin, a.End);
    afterDate = afterDate || IsDateAttribute(name);
  }
  return true;
}

}  // namespace

bool ReadTagAttributes(std::string_view line, size_t p, std::vector<TagAttribute>& out, size_t& tagEnd) {
  const size_t n = line.size();
  while (true) {
    TagAttribute a;
    a.LeadBegin = p;
    while (p < n && IsTagSpace(line[p])) ++p;
    if (p >= n) return false;
    if (line[p] == '>') {
      tagEnd = p;
      return true;
    }
    a.NameBegin = p;
    while (p < n && !IsTagSpace(line[p]) && line[p] != '=' && line[p] != '>') ++p;
    a.NameEnd = a.ValueBegin = a.ValueEnd = a.End = p;
    size_t q = p;
    while (q < n && IsTagSpace(line[q])) ++q;
    if (q < n && line[q] == '=') {
      ++q;
      while (q < n && IsTagSpace(line[q])) ++q;
      if (q >= n) return false;
      a.HasValue = true;
      if (line[q] == '"' || line[q] == '\'') {
        const size_t close = line.find(line[q], q + 1);
        if (close == npos) return false;
        a.Quote = line[q];
        a.ValueBegin = q + 1;
        a.ValueEnd = close;
        p = close + 1;
      } else {
        a.ValueBegin = q;
        while (q < n && !IsTagSpace(line[q]) && line[q] != '>') ++q;
        a.ValueEnd = p = q;
      }
      a.End = p;
    }
    out.push_back(a);
  }
}

size_t StripDateAttributes(std::string& line) {
  size_t stripped = 0;
  std::vector<std::pair<size_t, size_t>> spans;
  for (size_t lt = line.find('<'); lt != npos; lt = line.find('<', lt + 1)) {
    const size_t nameEnd = StrippedTagNameEnd(line, lt);
    if (nameEnd == npos) continue;
    spans.clear();
    size_t tagEnd = 0;
    // The rest of the line lies inside a tag that does not close.
    if (!BookkeepingSpans(line, nameEnd, spans, tagEnd)) break;
    for (auto s = spans.rbegin(); s != spans.rend(); ++s) {
      line.erase(s->first, s->second - s->first);
      tagEnd -= s->second - s->first;
    }
    stripped += spans.size();
    lt = tagEnd;
  }
  return stripped;
}

namespace {

// A date attribute as browsers write it, or "" without a date.
std::string DateAttributeText(std::optional<int64_t> addDate) {
  return addDate ? " ADD_DATE=\"" + std::to_string(*addDate) + "\"" : std::string();
}

}  // namespace

std::string HeadingLine(std::string_view name, std::optional<int64_t> addDate) {
  return HeadingLineWith(name, DateAttributeText(addDate));
}

std::string LinkLine(std::string_view address, std::string_view description, std::optional<int64_t> addDate) {
  return LinkLineWith(address, description, DateAttributeText(addDate));
}

std::string HeadingLineWith(std::string_view name, std::string_view attributes) {
  std::string s = "<DT><H3";
  s.append(attributes).append(">").append(name).append("</H3>");
  return s;
}

std::string LinkLineWith(std::string_view address, std::string_view description, std::string_view attributes) {
  std::string s = "<DT><A HREF=\"";
  s.append(address).append("\"").append(attributes).append(">").append(description).append("</A>");
  return s;
}

std::vector<std::string> BrowserHeaderLines(bool utf8) {
  return {
      "<!DOCTYPE NETSCAPE-Bookmark-file-1>",
      "<!-- This is an automatically generated file.",
      "     It will be read and overwritten.",
      "     DO NOT EDIT! -->",
      std::string("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=") +
          (utf8 ? "UTF-8" : "windows-1252") + "\">",
      "<TITLE>Bookmarks</TITLE>",
      "<H1>Bookmarks</H1>",
  };
}

namespace {

// True when the '&' at text[i] would be read back as a character reference
// (by a name or an address reader, whichever refuses less).
bool StartsCharRef(std::string_view text, size_t i) {
  uint32_t cp = 0;
  return ParseCharRef(text, i, cp) != 0;
}

}  // namespace

std::string EscapeNameForLine(std::string_view name, AmpersandEscape amp) {
  std::string out;
  out.reserve(name.size());
  for (size_t i = 0; i < name.size(); ++i) {
    switch (name[i]) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      // A line break would cut the line in two.
      case '\r': out += "&#13;"; break;
      case '\n': out += "&#10;"; break;
      // "a&b" stays as it is; only an "&" that reads as a reference back is
      // escaped, so that "R&amp;D" comes back as itself.
      case '&': out += amp == AmpersandEscape::Always || StartsCharRef(name, i) ? "&amp;" : "&"; break;
      default: out += name[i];
    }
  }
  return out;
}

std::string EscapeAddressForLine(std::string_view address, AmpersandEscape amp) {
  if (address.find_first_of("\"&") == npos) return std::string(address);
  std::string out;
  for (size_t i = 0; i < address.size(); ++i) {
    if (address[i] == '"')
      out += "&quot;";
    else if (address[i] == '&' && (amp == AmpersandEscape::Always || StartsCharRef(address, i)))
      out += "&amp;";
    else
      out += address[i];
  }
  return out;
}

std::string AttributeText(std::string_view name, std::string_view value, AmpersandEscape amp) {
  std::string s = " ";
  s.append(name).append("=\"").append(EscapeAddressForLine(value, amp)).append("\"");
  return s;
}

}  // namespace quillet
