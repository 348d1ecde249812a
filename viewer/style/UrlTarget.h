#pragma once
// A link: its address and the frame it names. An empty address means no link.
#include <string>

namespace quillet {

struct TUrlTarget {
  std::u16string Url;
  std::u16string Target;

  TUrlTarget() = default;
  TUrlTarget(std::u16string url, std::u16string target) : Url(std::move(url)), Target(std::move(target)) {}

  void Clear() {
    Url.clear();
    Target.clear();
  }
  bool IsLink() const { return !Url.empty(); }
  bool operator==(const TUrlTarget&) const = default;
};

}  // namespace quillet
