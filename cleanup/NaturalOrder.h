#pragma once
// Sort keys that put titles in the order people expect: by the collation of
// their locale, letter case ignored unless asked for, and numbers compared
// by their value ("Chapter 2" before "Chapter 10"), however many digits
// they have.
#include <string>
#include <string_view>

#include "platform/Collation.h"

namespace quillet {

struct TextOrder {
  // Runs of the digits 0-9 compare by value; of two equal values the one
  // written with fewer leading zeros comes first, when nothing else differs.
  bool Natural = true;
  // Texts that differ only in letter case are told apart: capitals first.
  bool CaseSensitive = false;
};

// A key whose byte order (memcmp, the shorter first on a tie) is the order
// of the texts. A text without digits, or with Natural off, gives the
// collation's own key (plus the text itself when case counts).
std::string TextSortKey(Collation& collation, std::string_view text, const TextOrder& order);

}  // namespace quillet
