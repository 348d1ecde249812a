#pragma once
// A tag's attributes as the reader hands them to the parser.
#include <cstdint>
#include <string>
#include <vector>

#include "viewer/text/Symbols.h"

namespace quillet {

struct TAttribute {
  Sy Code = Sy::UnknownAttr;
  // The numeric reading of the value (numbers, "50%" gives 50; a bare
  // BORDER gives 1), 0 when the value is no number.
  int32_t Number = 0;
  // The value as written.
  std::u16string Text;
};

class TAttributeList {
 public:
  void Clear() { items_.clear(); }
  void Add(TAttribute a) { items_.push_back(std::move(a)); }
  // The first attribute with that code, in tag order; nullptr when none.
  const TAttribute* Find(Sy code) const {
    for (const TAttribute& a : items_)
      if (a.Code == code) return &a;
    return nullptr;
  }
  bool Has(Sy code) const { return Find(code) != nullptr; }

  size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  const TAttribute& operator[](size_t i) const { return items_[i]; }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<TAttribute> items_;
};

}  // namespace quillet
