#pragma once
// Reading colour and alignment attribute values.
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/Color.h"

namespace quillet {

class TAttributeList;

// A colour value: one of the 16 HTML 3.2 names in any letter case ("red",
// "Navy"), or hexadecimal RGB with or without "#" ("#FF0000", "ff0000").
// Returns false, leaving color alone, when the text names no colour. The
// result is a plain 0x00BBGGRR value; whoever draws with it adds
// kPaletteRelative.
bool ColorFromString(std::u16string_view text, TColor& color);

// Horizontal alignment (ALIGN) and vertical alignment (VALIGN).
enum class Alignment : uint8_t { Left, Center, Right };
enum class VAlignment : uint8_t { Top, Middle, Bottom };

// "left", "center", "right" in any letter case; nullopt for anything else
// (the caller keeps its default, or takes it as not given).
std::optional<Alignment> AlignmentFromString(std::u16string_view text);
// "top", "baseline" (as top), "middle", "bottom" in any letter case.
std::optional<VAlignment> VAlignmentFromString(std::u16string_view text);

// The tag's ALIGN and VALIGN, read as above; nullopt when missing or unknown.
std::optional<Alignment> ReadAlignment(const TAttributeList& attributes);
std::optional<VAlignment> ReadVAlignment(const TAttributeList& attributes);

}  // namespace quillet
