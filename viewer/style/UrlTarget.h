#pragma once
// A link: its address and the frame it names. An empty address means no link.
#include <cstdint>
#include <memory>
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

// A font run's link, held tightly since a large page has a run for every
// link: one pointer, nothing allocated for plain text, the address and the
// target in one allocation, a byte a character when every character of
// both fits in one. Gives back exactly the TUrlTarget it was given.
class RunLink {
 public:
  RunLink() = default;
  RunLink(const TUrlTarget& link) { Assign(link); }
  RunLink(const RunLink& o);
  RunLink(RunLink&&) noexcept = default;
  RunLink& operator=(const RunLink& o);
  RunLink& operator=(RunLink&&) noexcept = default;
  RunLink& operator=(const TUrlTarget& link) {
    Assign(link);
    return *this;
  }

  bool IsLink() const { return data_ && UrlLength() != 0; }
  std::u16string Url() const { return Text(0, UrlLength()); }
  std::u16string Target() const { return Text(UrlLength(), TargetLength()); }
  TUrlTarget Get() const { return TUrlTarget(Url(), Target()); }
  bool operator==(const TUrlTarget& link) const { return Get() == link; }

 private:
  static constexpr uint32_t kWide = 0x80000000u;
  struct Header {
    uint32_t UrlLength;  // kWide set: two bytes a character
    uint32_t TargetLength;
  };

  void Assign(const TUrlTarget& link);
  Header Head() const;
  uint32_t UrlLength() const { return data_ ? Head().UrlLength & ~kWide : 0; }
  uint32_t TargetLength() const { return data_ ? Head().TargetLength : 0; }
  size_t Bytes() const;
  std::u16string Text(size_t from, size_t count) const;

  std::unique_ptr<uint8_t[]> data_;
};

}  // namespace quillet
