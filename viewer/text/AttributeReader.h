#pragma once
// Reading one attribute of a tag (or of an include directive) from the
// character reader.
#include <string>

#include "viewer/text/Attributes.h"

namespace quillet {

class CharReader;

// At most this many letters of a tag or attribute name are kept.
inline constexpr size_t kMaxNameLength = 150;

inline bool IsWhite(char16_t c) { return c == u' ' || c == 13; }

void SkipWhite(CharReader& reader);

// Appends the run of letters (and "-" when dashes) at the reader, upper-cased
// and cut to kMaxNameLength; the rest of a longer run is skipped.
void AppendName(CharReader& reader, std::u16string& name, bool dashes = false);

// Skips white space and reads one attribute: a name (letters and "-",
// upper-cased into upperName, which the caller keeps to spare allocations)
// and, after "=", its value:
//   "..." or '...'  up to the same quote; line ends dropped, references
//                   decoded, trimmed; Number is the whole text as a decimal
//                   number (one trailing "%" allowed), else 0
//   +5, -5, 50      up to white space, "%" or ">"; Number is its decimal
//                   value, else 0; a "%" after it is kept in the text
//   word            up to white space or ">"
// Number starts as 1 for BORDER (a bare BORDER is a border) and 0 for the
// rest. Returns false, reading nothing more, when no name starts there.
bool ReadAttribute(CharReader& reader, TAttribute& attribute, std::u16string& upperName);

// The text as a whole decimal int32 (optional sign); 0 when it is not one.
int32_t DecimalOrZero(std::u16string_view text);

}  // namespace quillet
