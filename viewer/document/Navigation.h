#pragma once
// Where the pane goes next: what a followed link loads, and what a META
// refresh asks for.
#include <optional>
#include <string>

namespace quillet {

// A followed link by its file's extension (the last dot's, letter case
// ignored): ".htm" and ".html" load as a page, ".bmp", ".gif", ".jpg",
// ".jpeg" and ".png" as a picture shown alone; anything else is left to
// the host.
enum class LinkKind { Page, Picture, Other };
LinkKind LinkKindOf(const std::string& path);

// <META HTTP-EQUIV="refresh" CONTENT="5; URL=next.htm">: a delay above 0
// before the ";" and an address after "url=" (letter case ignored), else
// none.
struct MetaRefresh {
  int Delay = 0;
  std::string Url;
};
std::optional<MetaRefresh> ReadMetaRefresh(const std::string& httpEquiv, const std::string& content);

}  // namespace quillet
