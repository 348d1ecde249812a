#include "viewer/style/UrlTarget.h"

#include <cstring>

namespace quillet {

RunLink::RunLink(const RunLink& o) {
  if (o.data_) {
    data_ = std::make_unique_for_overwrite<uint8_t[]>(o.Bytes());
    std::memcpy(data_.get(), o.data_.get(), o.Bytes());
  }
}

RunLink& RunLink::operator=(const RunLink& o) {
  if (this != &o) *this = RunLink(o);
  return *this;
}

RunLink::Header RunLink::Head() const {
  Header h;
  std::memcpy(&h, data_.get(), sizeof h);
  return h;
}

size_t RunLink::Bytes() const {
  const Header h = Head();
  const size_t chars = size_t(h.UrlLength & ~kWide) + h.TargetLength;
  return sizeof(Header) + ((h.UrlLength & kWide) ? 2 * chars : chars);
}

void RunLink::Assign(const TUrlTarget& link) {
  if (link.Url.empty() && link.Target.empty()) {
    data_.reset();
    return;
  }
  bool wide = false;
  for (const std::u16string* s : {&link.Url, &link.Target})
    for (char16_t c : *s) wide = wide || c > 0xFF;
  const Header h{static_cast<uint32_t>(link.Url.size()) | (wide ? kWide : 0),
                 static_cast<uint32_t>(link.Target.size())};
  const size_t chars = link.Url.size() + link.Target.size();
  auto data = std::make_unique_for_overwrite<uint8_t[]>(sizeof h + (wide ? 2 * chars : chars));
  std::memcpy(data.get(), &h, sizeof h);
  uint8_t* out = data.get() + sizeof h;
  for (const std::u16string* s : {&link.Url, &link.Target}) {
    if (wide) {
      std::memcpy(out, s->data(), 2 * s->size());
      out += 2 * s->size();
    } else {
      for (char16_t c : *s) *out++ = static_cast<uint8_t>(c);
    }
  }
  data_ = std::move(data);
}

std::u16string RunLink::Text(size_t from, size_t count) const {
  std::u16string out(count, u'\0');
  if (count == 0) return out;
  const uint8_t* in = data_.get() + sizeof(Header);
  if (Head().UrlLength & kWide) {
    std::memcpy(out.data(), in + 2 * from, 2 * count);
  } else {
    for (size_t i = 0; i < count; ++i) out[i] = in[from + i];
  }
  return out;
}

}  // namespace quillet
