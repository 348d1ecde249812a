#include <vector>

#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/PrivateProfile.h"

namespace quillet {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x += 32;
    if (y >= 'A' && y <= 'Z') y += 32;
    if (x != y) return false;
  }
  return true;
}

// One line of the file: where it starts, its content, and where the next begins.
struct Line {
  size_t begin, end, next;
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  size_t i = 0;
  while (i < text.size()) {
    size_t e = i;
    while (e < text.size() && text[e] != '\r' && text[e] != '\n') ++e;
    size_t n = e;
    if (n < text.size() && text[n] == '\r') ++n;
    if (n < text.size() && text[n] == '\n') ++n;
    lines.push_back({i, e, n});
    i = n;
  }
  return lines;
}

// The section name of a "[name]" line, if the line is one.
std::optional<std::string_view> SectionOf(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

// The key of a "key=value" line, if the line is one.
std::optional<std::string_view> KeyOf(std::string_view line) {
  const auto eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(0, eq));
}

}  // namespace

std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key) {
  bool inSection = false;
  size_t i = 0;
  while (i < text.size()) {
    size_t e = i;
    while (e < text.size() && text[e] != '\r' && text[e] != '\n') ++e;
    const std::string_view line = text.substr(i, e - i);
    i = e + 1;
    if (auto s = SectionOf(line)) {
      if (inSection) break;  // only the first section of that name counts
      inSection = SameName(*s, section);
      continue;
    }
    if (!inSection) continue;
    const auto k = KeyOf(line);
    if (!k || !SameName(*k, key)) continue;
    std::string_view v = Trim(line.substr(line.find('=') + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
      v = v.substr(1, v.size() - 2);
    if (v.size() > kProfileValueLimit) v = v.substr(0, kProfileValueLimit);
    return std::string(v);
  }
  return std::nullopt;
}

std::string SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value) {
  const std::vector<Line> lines = SplitLines(text);
  std::string entry;
  entry.append(key).append("=").append(value);

  auto view = [&](const Line& l) { return text.substr(l.begin, l.end - l.begin); };
  bool inSection = false;
  bool sawSection = false;
  size_t insertAt = std::string_view::npos;  // after the section's last entry line
  for (const Line& l : lines) {
    const std::string_view line = view(l);
    if (auto s = SectionOf(line)) {
      if (inSection) break;  // first matching section only
      inSection = SameName(*s, section);
      if (inSection) {
        sawSection = true;
        insertAt = l.next;
      }
      continue;
    }
    if (!inSection) continue;
    if (auto k = KeyOf(line); k && SameName(*k, key)) {
      std::string out(text.substr(0, l.begin));
      out += entry;
      out += text.substr(l.end);
      return out;
    }
    if (!Trim(line).empty()) insertAt = l.next;
  }

  std::string out(text);
  auto endLine = [](std::string& s) {
    if (!s.empty() && s.back() != '\n' && s.back() != '\r') s += "\r\n";
  };
  if (sawSection) {
    std::string before(text.substr(0, insertAt));
    endLine(before);
    return before + entry + "\r\n" + std::string(text.substr(insertAt));
  }
  endLine(out);
  out.append("[").append(section).append("]\r\n").append(entry).append("\r\n");
  return out;
}

std::string IniProfile::ReadString(const std::string& file, const std::string& section,
                                   const std::string& key, const std::string& def) {
  std::string text;
  if (!fs_.TryReadFile(file, text)) return def;
  auto v = FindProfileValue(text, section, key);
  return v ? *v : def;
}

void IniProfile::WriteString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& value) {
  std::string text;
  if (fs_.FileExists(file) && !fs_.TryReadFile(file, text)) throw EWriteError(file);
  try {
    fs_.WriteFile(file, SetProfileValue(text, section, key, value));
  } catch (const QuilletError&) {
    throw EWriteError(file);
  }
}

}  // namespace quillet
