#pragma once
// The collation port: compares texts the way the user's locale orders them,
// without regard to letter case. Texts are the document's bytes: a text that
// is valid UTF-8 is read as UTF-8, any other as Windows-1252.
#include <string>
#include <string_view>

namespace quillet {

class Collation {
 public:
  virtual ~Collation() = default;
  // A key whose byte order (memcmp, shorter first on a tie) is the order of
  // the texts; texts that differ only in case give equal keys.
  virtual std::string SortKey(std::string_view text) = 0;
  // <0, 0, >0 as a orders before, with or after b; the same order as the keys.
  virtual int Compare(std::string_view a, std::string_view b) = 0;
};

}  // namespace quillet
