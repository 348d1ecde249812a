#pragma once
// The promise of an INI write, checked from outside: the key reads back as
// written, and no line the write does not own is lost, moved or changed.
// Shared by the property test and the fuzz target; needs no test framework.
#include <string>
#include <string_view>
#include <vector>

#include "platform/PrivateProfile.h"

namespace quillet::test {

struct IniLine {
  std::string Text;
  std::string End;  // "", "\r", "\n" or "\r\n"
};

inline std::vector<IniLine> IniLines(std::string_view s) {
  std::vector<IniLine> out;
  size_t i = 0;
  while (i < s.size()) {
    IniLine l;
    while (i < s.size() && s[i] != '\r' && s[i] != '\n') l.Text += s[i++];
    if (i < s.size() && s[i] == '\r') l.End += s[i++];
    if (i < s.size() && s[i] == '\n') l.End += s[i++];
    out.push_back(std::move(l));
  }
  return out;
}

inline std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

inline bool SameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto low = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
    if (low(a[i]) != low(b[i])) return false;
  }
  return true;
}

// What a reader gives back for a written value.
inline std::string ReadForm(std::string_view v) {
  v = TrimBlanks(v);
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  return std::string(v.substr(0, kProfileValueLimit));
}

// Sets section/key to value in text and checks the result; also checks that
// the entry other/otherKey reads the same before and after (unless it names
// the same entry). Returns "" when all holds, else what went wrong. The
// result is left in *out when given.
inline std::string CheckProfileWrite(std::string_view text, std::string_view section,
                                     std::string_view key, std::string_view value,
                                     std::string_view other, std::string_view otherKey,
                                     std::string* out = nullptr) {
  const std::string result = SetProfileValue(text, section, key, value);
  if (out) *out = result;
  if (!CanStoreProfileEntry(section, key, value))
    return result == text ? "" : "an entry that cannot be stored changed the text";

  const auto back = FindProfileValue(result, section, key);
  if (!back) return "the key written is not found";
  if (*back != ReadForm(value)) return "the key reads back as '" + *back + "'";
  if (SetProfileValue(result, section, key, value) != result) return "a second write changed the text";

  const bool sameEntry = SameNoCase(TrimBlanks(other), TrimBlanks(section)) &&
                         SameNoCase(TrimBlanks(otherKey), TrimBlanks(key));
  if (!sameEntry && FindProfileValue(text, other, otherKey) != FindProfileValue(result, other, otherKey))
    return "another entry changed";

  // Line by line: match the unchanged lines from both ends; what is left must
  // be one line whose value changed, or the lines of the new entry.
  const auto o = IniLines(text), r = IniLines(result);
  size_t p = 0, s = 0;
  while (p < o.size() && p < r.size() && o[p].Text == r[p].Text) ++p;
  while (s < o.size() - p && s < r.size() - p && o[o.size() - 1 - s].Text == r[r.size() - 1 - s].Text) ++s;
  auto endOk = [&](size_t oi, size_t ri) {
    // An unterminated last line may gain CR LF when something follows it.
    return o[oi].End == r[ri].End || (oi + 1 == o.size() && o[oi].End.empty() && r[ri].End == "\r\n");
  };
  for (size_t i = 0; i < p; ++i)
    if (!endOk(i, i)) return "a line ending changed";
  for (size_t i = 0; i < s; ++i)
    if (!endOk(o.size() - 1 - i, r.size() - 1 - i)) return "a line ending changed";

  const size_t oLeft = o.size() - p - s, rLeft = r.size() - p - s;
  const std::string entry = std::string(TrimBlanks(key)) + "=" + std::string(value);
  if (oLeft == 1 && rLeft == 1) {
    const std::string& was = o[p].Text;
    const std::string& now = r[p].Text;
    const size_t eq = was.find('=');
    if (eq == std::string::npos || now.compare(0, eq + 1, was, 0, eq + 1) != 0 ||
        now.substr(eq + 1) != value)
      return "a line was changed beyond its value";
    if (o[p].End != r[p].End) return "a line ending changed";
    return "";
  }
  if (oLeft != 0) return "lines were lost";
  if (rLeft == 0) return "";
  if (rLeft == 1 && r[p].Text == entry && r[p].End == "\r\n") return "";
  if (rLeft == 2 && r[p].Text == "[" + std::string(TrimBlanks(section)) + "]" && r[p + 1].Text == entry &&
      r[p].End == "\r\n" && r[p + 1].End == "\r\n" && p + 2 == r.size())
    return "";
  return "unexpected lines were added";
}

}  // namespace quillet::test
