#include "convert/BookmarkFormat.h"

namespace quillet {

namespace {

constexpr size_t npos = std::string_view::npos;

char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// Position of needle in line, ignoring ASCII case, from 0-based index from.
size_t FindNoCase(std::string_view line, std::string_view needle, size_t from = 0) {
  if (needle.size() > line.size()) return npos;
  for (size_t i = from; i + needle.size() <= line.size(); ++i) {
    size_t k = 0;
    while (k < needle.size() && UpperChar(line[i + k]) == needle[k]) ++k;
    if (k == needle.size()) return i;
  }
  return npos;
}

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

std::string UpperAscii(std::string_view s) {
  std::string u(s);
  for (char& c : u) c = UpperChar(c);
  return u;
}

std::string LowerAscii(std::string_view s) {
  std::string l(s);
  for (char& c : l)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return l;
}

std::string IndentText(bool indentHtml, int level) {
  if (!indentHtml || level <= 0) return std::string();
  return std::string(static_cast<size_t>(level) * 2, ' ');
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
  std::string name(line.substr(p + 1, e - p - 1));
  for (char& c : name)
    if (IsForbiddenNameChar(c)) c = '_';
  return name;
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

std::string LinkAddress(std::string_view line) {
  const size_t a = FindNoCase(line, "<A");
  if (a == npos) return std::string();
  size_t i = a + 2;
  while (i < line.size() && line[i] == ' ') ++i;
  // HREF must be the tag's first attribute, with only blanks before it.
  if (FindNoCase(line, "HREF", a + 2) != i) return std::string();
  size_t k = i + 4;
  while (k < line.size() && line[k] == ' ') ++k;
  if (k >= line.size() || line[k] != '=') return std::string();
  ++k;
  while (k < line.size() && line[k] == ' ') ++k;
  if (k >= line.size() || line[k] != '"') return std::string();
  if (k + 1 < line.size() && line[k + 1] == '#') return std::string();
  const size_t close = line.find('"', k + 1);
  return std::string(line.substr(k + 1, close == npos ? npos : close - k - 1));
}

std::string SafeFileName(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '<') {
      const size_t gt = text.find('>', i + 1);
      i = gt == npos ? text.size() : gt + 1;
    } else if (c == '#') {
      ++i;
      while (i < text.size() && IsAsciiLetter(text[i])) ++i;
    } else {
      out += IsForbiddenNameChar(c) ? '_' : c;
      ++i;
    }
  }
  return IsBlankText(out) ? std::string() : out;
}

std::string HeadingLine(std::string_view name) {
  std::string s = "<DT><H3>";
  s.append(name).append("</H3>");
  return s;
}

std::string LinkLine(std::string_view address, std::string_view description) {
  std::string s = "<DT><A HREF=\"";
  s.append(address).append("\">").append(description).append("</A>");
  return s;
}

std::string EscapeNameForLine(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (char c : name) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string EscapeAddressForLine(std::string_view address) {
  if (address.find('"') == npos) return std::string(address);
  std::string out;
  for (char c : address) {
    if (c == '"')
      out += "&quot;";
    else
      out += c;
  }
  return out;
}

}  // namespace quillet
