#include "viewer/document/LinkPath.h"

#include <filesystem>
#include <system_error>

#include "platform/AsciiCase.h"
#include "platform/Path.h"
#include "platform/Utf8.h"

namespace quillet {

namespace {

size_t FindNoCase(std::string_view text, std::string_view what) {
  if (what.size() > text.size()) return std::string_view::npos;
  for (size_t i = 0; i + what.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < what.size() && LowerAscii(text[i + k]) == what[k]) ++k;
    if (k == what.size()) return i;
  }
  return std::string_view::npos;
}

bool IsDriveLetterAt(std::string_view s, size_t at) {
  if (at + 1 >= s.size()) return false;
  const char c = s[at];
  return IsAsciiLetter(c) && (s[at + 1] == '|' || s[at + 1] == ':') && (at + 2 == s.size() || s[at + 2] == '/');
}

bool HasDrive(std::string_view s) { return s.size() >= 2 && s[1] == ':'; }

// The full path: drive paths as they are, others made absolute and
// normalised ("a/../b" -> "b").
std::string FullPath(const std::string& path) {
  if (HasDrive(path)) return path;
  std::error_code ec;
  std::filesystem::path p(path);
  if (p.is_relative()) {
    auto abs = std::filesystem::absolute(p, ec);
    if (!ec) p = abs;
  }
  return p.lexically_normal().string();
}

}  // namespace

std::string DecodePercentEscapes(std::string_view text) {
  std::string s(text);
  for (;;) {
    const auto at = s.find('%');
    if (at == std::string::npos || at == 0 || at + 2 >= s.size()) break;
    const int hi = HexDigit(s[at + 1]), lo = HexDigit(s[at + 2]);
    // "%00" is left as it is: a NUL would cut the path short where the
    // system reads it, so "a.txt%00.htm" would open a.txt.
    if (hi < 0 || lo < 0 || hi * 16 + lo == 0) break;
    s.replace(at, 3, 1, static_cast<char>(hi * 16 + lo));
  }
  return s;
}

std::string LinkToPath(std::string_view link) {
  std::string s = DecodePercentEscapes(link);
  if (s.find('/') != std::string::npos) {
    if (const auto at = FindNoCase(s, "file:///"); at != std::string::npos) {
      // "file:///C|/x" names a drive; "file:///home/x" the path "/home/x".
      s.erase(at, IsDriveLetterAt(s, at + 8) ? 8 : 7);
    } else if (const auto at2 = FindNoCase(s, "file://"); at2 != std::string::npos) {
      s.erase(at2, 7);
      if (FindNoCase(s, "localhost/") == at2) s.erase(at2, 9);
    }
    for (char& c : s)
      if (c == '|') c = ':';
  }
  for (char& c : s)
    if (c == '\\') c = PathDelim;
  return s;
}

std::string ExpandLinkPath(std::string_view link, const LinkBase& base) {
  while (!link.empty() && static_cast<unsigned char>(link.front()) <= ' ') link.remove_prefix(1);
  while (!link.empty() && static_cast<unsigned char>(link.back()) <= ' ') link.remove_suffix(1);
  std::string s = LinkToPath(link);
  if (!s.empty() && s[0] == PathDelim) {
    std::string root = base.ServerRoot;
    while (EndsWithDelim(root)) root.pop_back();
    s = root + s;
  }
  if (!s.empty() && s[0] == PathDelim) return FullPath(s);
  const bool dosPath = base.BaseUrl.size() == 7 && FindNoCase(base.BaseUrl, "dospath") == 0;
  if (HasDrive(s) || dosPath) return s;
  const std::string prefix =
      base.BaseUrl.empty() ? ExtractFilePath(base.CurrentFile) : LinkToPath(base.BaseUrl);
  return FullPath(prefix + s);
}

}  // namespace quillet
