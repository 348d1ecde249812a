#include "viewer/document/Navigation.h"

#include <charconv>
#include <string_view>

#include "platform/AsciiCase.h"

namespace quillet {

namespace {

// The extension of a path in upper case, at most five characters, the dot
// included; empty when the last dot is followed by a folder delimiter or a
// colon.
std::string UpperExtension(const std::string& path) {
  const auto dot = path.rfind('.');
  if (dot == std::string::npos || path.find_first_of("/\\:", dot) != std::string::npos) return {};
  return UpperAscii(path.substr(dot, 5));
}

// A whole number, blanks around it allowed; otherwise for anything else.
int NumberOr(std::string_view text, int otherwise) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return otherwise;
  return value;
}

}  // namespace

LinkKind LinkKindOf(const std::string& path) {
  const std::string ext = UpperExtension(path);
  if (ext == ".HTM" || ext == ".HTML") return LinkKind::Page;
  if (ext == ".BMP" || ext == ".GIF" || ext == ".JPG" || ext == ".JPEG" || ext == ".PNG") return LinkKind::Picture;
  return LinkKind::Other;
}

std::optional<MetaRefresh> ReadMetaRefresh(const std::string& httpEquiv, const std::string& content) {
  if (LowerAscii(httpEquiv) != "refresh") return std::nullopt;
  const auto semicolon = content.find(';');
  const int delay = semicolon == std::string::npos ? -1 : NumberOr(std::string_view(content).substr(0, semicolon), -1);
  if (delay <= 0) return std::nullopt;
  const auto at = LowerAscii(content).find("url=");
  if (at == std::string::npos) return std::nullopt;
  return MetaRefresh{delay, content.substr(at + 4)};
}

}  // namespace quillet
