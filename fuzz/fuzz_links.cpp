// Links and image maps from a page's markup: each input line is an AREA's
// SHAPE, COORDS and HREF separated by "|" (a line without "|" is a link
// turned into a path). Areas keep at most 201 numbers, a hit is one of the
// areas' links, and a decoded link is never longer than it was and gains no
// NUL.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/TextCodec.h"
#include "viewer/document/LinkPath.h"
#include "viewer/layout/ImageMap.h"

using namespace quillet;

namespace {

std::u16string_view Field(std::u16string_view& line) {
  const size_t bar = line.find(u'|');
  const std::u16string_view f = line.substr(0, bar);
  line = bar == std::u16string_view::npos ? std::u16string_view() : line.substr(bar + 1);
  return f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::u16string text = DecodeToUtf16(bytes, TextEncoding::Windows1252);
  TMapItem map;
  std::u16string_view rest = text;
  while (!rest.empty()) {
    const size_t end = rest.find(u'\n');
    std::u16string_view line = rest.substr(0, end);
    rest = end == std::u16string_view::npos ? std::u16string_view() : rest.substr(end + 1);
    if (line.find(u'|') == std::u16string_view::npos) {
      const std::string link = Utf16ToUtf8(line);
      const std::string path = LinkToPath(link);
      if (path.size() > link.size()) __builtin_trap();
      if (path.find('\0') != std::string::npos && link.find('\0') == std::string::npos) __builtin_trap();
      continue;
    }
    TAttributeList tag;
    tag.Add({Sy::Shape, 0, std::u16string(Field(line))});
    const std::u16string coords(Field(line));
    tag.Add({Sy::Coords, 0, coords});
    tag.Add({Sy::Href, 0, std::u16string(Field(line))});
    if (ParseCoords(coords).size() > TMapItem::kMaxCoords) __builtin_trap();
    map.AddArea(tag);
  }
  for (int y = -2; y < 40; y += 3)
    for (int x = -2; x < 40; x += 3) {
      const auto hit = map.Hit(x, y);
      if (!hit) continue;
      bool found = false;
      for (const TMapArea& a : map.Areas) found = found || (a.Url == hit->Url && a.Region.Contains(x, y));
      if (!found || hit->Url.empty()) __builtin_trap();
    }
  return 0;
}
