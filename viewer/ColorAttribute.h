#pragma once
// Reading a colour attribute value (BGCOLOR, BORDERCOLOR, COLOR).
#include <string_view>

#include "platform/Color.h"

namespace quillet {

// One of the 16 HTML colour names in any letter case, or hexadecimal RGB
// with an optional "#". Returns false, leaving color alone, when the text
// names no colour. The result is a plain 0x00BBGGRR value; whoever draws
// with it adds kPaletteRelative.
//
// The reader's ColorFromString (viewer/Colors) follows the same rules; once
// it is on main, this reading gives way to it.
bool ReadColorAttribute(std::u16string_view text, TColor& color);

}  // namespace quillet
