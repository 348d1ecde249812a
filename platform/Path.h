#pragma once
// Path helpers. The program's rules speak of a single path delimiter; on
// Linux it is '/', and the drive root is "/".
#include <string>
#include <string_view>

namespace quillet {

inline constexpr char PathDelim = '/';

inline bool EndsWithDelim(std::string_view p) { return !p.empty() && p.back() == PathDelim; }

inline std::string IncludeTrailingDelim(std::string p) {
  if (!EndsWithDelim(p)) p += PathDelim;
  return p;
}

// Folder part of a path, with its trailing delimiter ("" when there is none).
inline std::string ExtractFilePath(std::string_view p) {
  const auto at = p.rfind(PathDelim);
  return at == std::string_view::npos ? std::string() : std::string(p.substr(0, at + 1));
}

inline std::string ExtractFileName(std::string_view p) {
  const auto at = p.rfind(PathDelim);
  return std::string(at == std::string_view::npos ? p : p.substr(at + 1));
}

}  // namespace quillet
