#include "viewer/ColorAttribute.h"

#include <array>
#include <cstdint>
#include <string>

#include "viewer/AsciiCase.h"

namespace quillet {

bool ReadColorAttribute(std::u16string_view text, TColor& color) {
  if (text.empty()) return false;
  struct Named {
    std::u16string_view Name;
    uint32_t Rgb;
  };
  static constexpr std::array<Named, 16> kNames = {{
      {u"BLACK", 0x000000}, {u"MAROON", 0x800000}, {u"GREEN", 0x008000}, {u"OLIVE", 0x808000},
      {u"NAVY", 0x000080},  {u"PURPLE", 0x800080}, {u"TEAL", 0x008080},  {u"GRAY", 0x808080},
      {u"SILVER", 0xC0C0C0}, {u"RED", 0xFF0000},   {u"LIME", 0x00FF00},  {u"YELLOW", 0xFFFF00},
      {u"BLUE", 0x0000FF},  {u"FUCHSIA", 0xFF00FF}, {u"AQUA", 0x00FFFF}, {u"WHITE", 0xFFFFFF},
  }};
  const std::u16string upper = UpperAscii(text, 10);
  uint32_t rgb = 0;
  bool found = false;
  for (const Named& n : kNames)
    if (upper == n.Name) {
      rgb = n.Rgb;
      found = true;
    }
  if (!found) {
    std::u16string hex(text);
    if (const size_t hash = hex.find(u'#'); hash != std::u16string::npos) hex.erase(hash, 1);
    if (hex.empty() || hex.size() > 8) return false;
    for (const char16_t c : hex) {
      int d;
      if (c >= u'0' && c <= u'9') d = c - u'0';
      else if (c >= u'a' && c <= u'f') d = c - u'a' + 10;
      else if (c >= u'A' && c <= u'F') d = c - u'A' + 10;
      else return false;
      rgb = (rgb << 4) | static_cast<uint32_t>(d);
    }
  }
  color = RgbColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
  return true;
}

}  // namespace quillet
