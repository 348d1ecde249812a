#include "cleanup/NaturalOrder.h"

#include <algorithm>
#include <cstdint>

namespace quillet {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A collation key holds its levels one after another, the letters' base
// weights first, separated by the byte 01 (ICU's layout; a key without it
// counts as one level). Its bytes are never 00, 01 or 02 within a level.
void SplitLevels(const std::string& key, std::string& primary, std::string& rest) {
  const size_t sep = key.find('\x01');
  primary.append(key, 0, sep);
  if (sep != std::string::npos) rest.append(key, sep + 1);
}

// A number among the base weights: 02 (below every letter's weight, so a
// number sorts before the letters, as digits do), its count of significant
// digits, then the digits. No byte of it is 00 or 01, so the levels after
// it stay apart.
void AppendNumber(std::string& out, std::string_view digits) {
  out += '\x02';
  const size_t n = digits.size();
  if (n < 0xED) {
    out += static_cast<char>(0x03 + n);
  } else {
    // Longer counts in four base-200 digits, after a byte above every short
    // count: a number of 237 digits or more still sorts by its value.
    out += static_cast<char>(0xF0);
    const size_t capped = std::min<size_t>(n, 200ull * 200 * 200 * 200 - 1);
    for (int shift = 3; shift >= 0; --shift) {
      size_t d = capped;
      for (int k = 0; k < shift; ++k) d /= 200;
      out += static_cast<char>(0x03 + d % 200);
    }
  }
  out.append(digits);
}

}  // namespace

std::string TextSortKey(Collation& collation, std::string_view text, const TextOrder& order) {
  std::string key;
  if (!order.Natural || std::none_of(text.begin(), text.end(), IsDigit)) {
    key = collation.SortKey(text);
  } else {
    // Base weights of every piece first, numbers among them, then the
    // accents of every piece, then the leading zeros: an accent or a zero
    // decides only between texts that are otherwise equal.
    std::string primary, rest, zeros;
    bool anyZero = false;
    for (size_t i = 0; i < text.size();) {
      size_t j = i;
      if (IsDigit(text[i])) {
        while (j < text.size() && IsDigit(text[j])) ++j;
        size_t lead = i;
        while (lead + 1 < j && text[lead] == '0') ++lead;
        std::string_view value = text.substr(lead, j - lead);
        if (value == "0") value = {};
        AppendNumber(primary, value);
        const size_t z = lead - i;
        zeros += static_cast<char>(0x02 + std::min<size_t>(z, 0xFD));
        anyZero = anyZero || z > 0;
      } else {
        while (j < text.size() && !IsDigit(text[j])) ++j;
        SplitLevels(collation.SortKey(text.substr(i, j - i)), primary, rest);
      }
      i = j;
    }
    key = std::move(primary);
    if (!rest.empty() || anyZero) key.append("\x01").append(rest);
    if (anyZero) key.append("\x01").append(zeros);
  }
  if (order.CaseSensitive) key.append(1, '\0').append(text);
  return key;
}

}  // namespace quillet
