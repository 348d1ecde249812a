#include "viewer/images/GifLzw.h"

#include <algorithm>

namespace quillet {

namespace {

constexpr int kMaxCodes = 4096;

// The string table: each code is a shorter code (its prefix) plus one last
// pixel; its length and first pixel are kept so a string can be written
// backwards straight into the output.
struct Table {
  uint16_t Prefix[kMaxCodes];
  uint8_t Suffix[kMaxCodes];
  uint8_t First[kMaxCodes];
  uint16_t Length[kMaxCodes];
};

}  // namespace

uint64_t GifLzwOutputBound(size_t codeBytes, int minCodeSize) {
  if (minCodeSize < 1 || minCodeSize > 11) return 0;
  const uint64_t codes = static_cast<uint64_t>(codeBytes) * 8 / static_cast<uint64_t>(minCodeSize + 1);
  if (codes <= kMaxCodes) return codes * (codes + 1) / 2;
  return uint64_t{kMaxCodes} * (kMaxCodes + 1) / 2 + (codes - kMaxCodes) * kMaxCodes;
}

size_t DecodeGifLzw(int minCodeSize, std::span<const uint8_t> codes, std::span<uint8_t> out) {
  if (minCodeSize < 1 || minCodeSize > 11 || out.empty()) return 0;
  const int clear = 1 << minCodeSize;
  const int end = clear + 1;
  Table t;
  for (int i = 0; i < clear; ++i) {
    t.Prefix[i] = 0;
    t.Suffix[i] = t.First[i] = static_cast<uint8_t>(i);
    t.Length[i] = 1;
  }
  int free = clear + 2;
  int size = minCodeSize + 1;
  int old = -1;  // none: the next code must be a literal

  const uint8_t* in = codes.data();
  const size_t inSize = codes.size();
  size_t pos = 0;
  uint64_t bits = 0;
  int count = 0;
  uint8_t* const dst = out.data();
  const size_t capacity = out.size();
  size_t n = 0;

  for (;;) {
    while (count < size) {
      if (pos == inSize) return n;  // the data ended early
      bits |= static_cast<uint64_t>(in[pos++]) << count;
      count += 8;
    }
    const int code = static_cast<int>(bits & ((1u << size) - 1));
    bits >>= size;
    count -= size;

    if (code == clear) {
      free = clear + 2;
      size = minCodeSize + 1;
      old = -1;
      continue;
    }
    if (code == end) return n;
    if (old < 0) {
      if (code > clear) return n;  // the first code after a clear must be a literal
      dst[n++] = t.Suffix[code];
      if (n == capacity) return n;
      old = code;
      continue;
    }
    if (code > free) return n;
    if (free < kMaxCodes) {
      // The new entry is the old string plus the first pixel of this one;
      // when this code is that very entry (code == free), its first pixel
      // is the old string's.
      t.Prefix[free] = static_cast<uint16_t>(old);
      t.Suffix[free] = t.First[code == free ? old : code];
      t.First[free] = t.First[old];
      t.Length[free] = static_cast<uint16_t>(t.Length[old] + 1);
      ++free;
      if (free == (1 << size) && size < 12) ++size;
    } else if (code == free) {
      return n;  // a full table has no entry to refer to
    }

    // Write the string backwards from its last pixel; a string longer than
    // the room left loses its tail.
    size_t len = t.Length[code];
    int c = code;
    if (len > capacity - n) {
      for (size_t skip = len - (capacity - n); skip > 0; --skip) c = t.Prefix[c];
      len = capacity - n;
    }
    uint8_t* p = dst + n + len;
    for (size_t k = 0; k < len; ++k) {
      *--p = t.Suffix[c];
      c = t.Prefix[c];
    }
    n += len;
    if (n == capacity) return n;
    old = code;
  }
}

}  // namespace quillet
