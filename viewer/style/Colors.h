#pragma once
// Reading colour and alignment attribute values.
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/Color.h"
#include "viewer/text/Attributes.h"

namespace quillet {

// A colour value: one of the 16 HTML 3.2 names in any letter case ("red",
// "Navy"), or hexadecimal RGB with or without "#" ("#FF0000", "ff0000").
// Returns false, leaving color alone, when the text names no colour. The
// result is a plain 0x00BBGGRR value; whoever draws with it adds
// kPaletteRelative.
bool ColorFromString(std::u16string_view text, TColor& color);

// Alignment keywords. The readers give the caller's own alignment types
// (the layout's horizontal one with Left, Center and Right, its vertical one
// with Top, Middle and Bottom), so the reader adds no type of its own;
// nullopt stands for a value that is missing or not a keyword, which the
// caller takes as its default or as not given.
//
// ALIGN: "left", "center", "right" in any letter case: 0, 1, 2; else -1.
int AlignKeyword(std::u16string_view text);
// VALIGN: "top" and "baseline" (as top), "middle", "bottom" in any letter
// case: 0, 1, 2; else -1.
int VAlignKeyword(std::u16string_view text);

template <class Horizontal>
std::optional<Horizontal> AlignmentFromString(std::u16string_view text) {
  switch (AlignKeyword(text)) {
    case 0: return Horizontal::Left;
    case 1: return Horizontal::Center;
    case 2: return Horizontal::Right;
    default: return std::nullopt;
  }
}

template <class Vertical>
std::optional<Vertical> VAlignmentFromString(std::u16string_view text) {
  switch (VAlignKeyword(text)) {
    case 0: return Vertical::Top;
    case 1: return Vertical::Middle;
    case 2: return Vertical::Bottom;
    default: return std::nullopt;
  }
}

// A tag's ALIGN and VALIGN, read as above.
template <class Horizontal>
std::optional<Horizontal> ReadAlignment(const TAttributeList& attributes) {
  const TAttribute* a = attributes.Find(Sy::Align);
  return a ? AlignmentFromString<Horizontal>(a->Text) : std::nullopt;
}

template <class Vertical>
std::optional<Vertical> ReadVAlignment(const TAttributeList& attributes) {
  const TAttribute* a = attributes.Find(Sy::VAlign);
  return a ? VAlignmentFromString<Vertical>(a->Text) : std::nullopt;
}

}  // namespace quillet
