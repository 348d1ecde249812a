#include "viewer/style/Colors.h"

#include <algorithm>
#include <array>

#include "platform/AsciiCase.h"
namespace quillet {

namespace {

struct NamedColor {
  std::u16string_view Name;
  uint32_t Rgb;
};

constexpr std::array<NamedColor, 16> kColorNames = {{
    {u"BLACK", 0x000000},  {u"MAROON", 0x800000}, {u"GREEN", 0x008000},   {u"OLIVE", 0x808000},
    {u"NAVY", 0x000080},   {u"PURPLE", 0x800080}, {u"TEAL", 0x008080},    {u"GRAY", 0x808080},
    {u"SILVER", 0xC0C0C0}, {u"RED", 0xFF0000},    {u"LIME", 0x00FF00},    {u"YELLOW", 0xFFFF00},
    {u"BLUE", 0x0000FF},   {u"FUCHSIA", 0xFF00FF}, {u"AQUA", 0x00FFFF},   {u"WHITE", 0xFFFFFF},
}};

constexpr size_t kNameCut = 10;

TColor FromRgb(uint32_t rgb) { return RgbColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Compares the text, ASCII letters lower-cased, with a lower-case keyword.
bool IsKeyword(std::u16string_view text, std::u16string_view keyword) {
  if (text.size() != keyword.size()) return false;
  for (size_t i = 0; i < text.size(); ++i)
    if (LowerAscii(text[i]) != keyword[i]) return false;
  return true;
}

}  // namespace

bool ColorFromString(std::u16string_view text, TColor& color) {
  if (text.empty()) return false;
  char16_t upper[kNameCut];
  const size_t n = std::min(text.size(), kNameCut);
  for (size_t i = 0; i < n; ++i) upper[i] = UpperAscii(text[i]);
  const std::u16string_view name(upper, n);
  for (const NamedColor& c : kColorNames) {
    if (c.Name == name) {
      color = FromRgb(c.Rgb);
      return true;
    }
  }
  // Hexadecimal RGB, the first "#" anywhere left out. A 32-bit number at
  // most; only its low 24 bits count.
  const size_t hash = text.find(u'#');
  uint32_t value = 0;
  size_t digits = 0;  // significant ones
  bool any = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (i == hash) continue;
    const int d = HexValue(text[i]);
    if (d < 0) return false;
    any = true;
    if (digits > 0 || d > 0) ++digits;
    if (digits > 8) return false;
    value = (value << 4) | static_cast<uint32_t>(d);
  }
  if (!any) return false;
  color = FromRgb(value & 0xFFFFFF);
  return true;
}

int AlignKeyword(std::u16string_view text) {
  if (IsKeyword(text, u"left")) return 0;
  if (IsKeyword(text, u"center")) return 1;
  if (IsKeyword(text, u"right")) return 2;
  return -1;
}

int VAlignKeyword(std::u16string_view text) {
  if (IsKeyword(text, u"top") || IsKeyword(text, u"baseline")) return 0;
  if (IsKeyword(text, u"middle")) return 1;
  if (IsKeyword(text, u"bottom")) return 2;
  return -1;
}

}  // namespace quillet
