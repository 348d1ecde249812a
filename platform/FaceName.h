#pragma once
// A font's face name, held once: every FaceName of the same name points to
// one shared string. A big page has a font run per link, each with its font;
// a name of its own in each run cost 48 bytes of heap and a string's 32
// bytes in place, where a shared one costs two pointers.
//
// Reads as the string it holds. Live names of the same text always share
// their string, so comparing two is mostly comparing pointers.
#include <memory>
#include <string>
#include <string_view>

namespace quillet {

class FaceName {
 public:
  FaceName();  // "Times New Roman"
  FaceName(std::u16string_view name);
  FaceName(const std::u16string& name) : FaceName(std::u16string_view(name)) {}
  FaceName(const char16_t* name) : FaceName(std::u16string_view(name)) {}

  const std::u16string& str() const { return *name_; }
  operator const std::u16string&() const { return *name_; }
  operator std::u16string_view() const { return *name_; }
  const char16_t* data() const { return name_->data(); }
  size_t size() const { return name_->size(); }
  bool empty() const { return name_->empty(); }

  bool operator==(const FaceName& o) const { return name_ == o.name_ || *name_ == *o.name_; }
  bool operator==(const std::u16string& o) const { return *name_ == o; }
  bool operator==(const char16_t* o) const { return *name_ == o; }

 private:
  std::shared_ptr<const std::u16string> name_;
};

}  // namespace quillet
