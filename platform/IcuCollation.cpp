#include "platform/IcuCollation.h"

#include <unicode/ucol.h>

#include <climits>
#include <stdexcept>
#include <string_view>

#include "platform/Utf8.h"

namespace quillet {

namespace {

// Windows-1252 at 0x80..0x9F; the five unassigned codes map to the C1
// controls of the same value, as Windows does.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The text as UTF-16: UTF-8 when valid, else Windows-1252. Never more code
// units than bytes.
void Decode(std::string_view text, std::u16string& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  out.resize(n);
  char16_t* o = out.data();
  if (!IsValidUtf8(text)) {
    for (size_t i = 0; i < n; ++i)
      *o++ = (p[i] >= 0x80 && p[i] <= 0x9F) ? Cp1252High[p[i] - 0x80] : char16_t(p[i]);
    return;
  }
  for (size_t i = 0; i < n;) {
    const unsigned char c = p[i];
    char32_t cp;
    if (c < 0x80) {
      cp = c;
      i += 1;
    } else if (c < 0xE0) {
      cp = char32_t(c & 0x1F) << 6 | (p[i + 1] & 0x3F);
      i += 2;
    } else if (c < 0xF0) {
      cp = char32_t(c & 0x0F) << 12 | char32_t(p[i + 1] & 0x3F) << 6 | (p[i + 2] & 0x3F);
      i += 3;
    } else {
      cp = char32_t(c & 0x07) << 18 | char32_t(p[i + 1] & 0x3F) << 12 | char32_t(p[i + 2] & 0x3F) << 6 |
           (p[i + 3] & 0x3F);
      i += 4;
    }
    if (cp < 0x10000) {
      *o++ = static_cast<char16_t>(cp);
    } else {
      cp -= 0x10000;
      *o++ = static_cast<char16_t>(0xD800 + (cp >> 10));
      *o++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
  }
  out.resize(static_cast<size_t>(o - out.data()));
}

// ICU counts in int32_t; no line the program loads comes near that.
int32_t Length(const std::u16string& s) {
  return s.size() > size_t(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(s.size());
}

}  // namespace

struct IcuCollation::Impl {
  UCollator* coll = nullptr;
  std::u16string a, b;  // decoding buffers, kept to spare allocations
  std::string key;      // the same for the sort key
  ~Impl() {
    if (coll) ucol_close(coll);
  }
};

std::string CollationLocaleName(const char* lcAll, const char* lcCollate, const char* lang) {
  for (const char* v : {lcAll, lcCollate, lang})
    if (v && *v) return v;
  return std::string();
}

std::string IcuLocaleId(const std::string& name) {
  const std::string base = name.substr(0, name.find_first_of(".@"));
  if (base == "C" || base == "POSIX") return std::string();
  return base;
}

IcuCollation::IcuCollation(const std::string& locale)
    : impl_(std::make_unique<Impl>()), localeId_(IcuLocaleId(locale)) {
  UErrorCode status = U_ZERO_ERROR;
  impl_->coll = ucol_open(localeId_.c_str(), &status);
  if (U_FAILURE(status) || !impl_->coll) {
    // An unusable locale name still sorts, by the root collation.
    if (impl_->coll) ucol_close(impl_->coll);
    status = U_ZERO_ERROR;
    impl_->coll = ucol_open("", &status);
    localeId_.clear();
  }
  if (U_FAILURE(status) || !impl_->coll) throw std::runtime_error("ICU collation is not available");
  if (!localeId_.empty()) {
    UErrorCode s = U_ZERO_ERROR;
    const char* valid = ucol_getLocaleByType(impl_->coll, ULOC_VALID_LOCALE, &s);
    knowsLocale_ = U_SUCCESS(s) && valid && std::string_view(valid) != "root" && *valid;
  }
  ucol_setStrength(impl_->coll, UCOL_SECONDARY);
  // Composed and decomposed accents are the same letter.
  ucol_setAttribute(impl_->coll, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
}

IcuCollation::~IcuCollation() = default;

std::string IcuCollation::SortKey(std::string_view text) {
  Decode(text, impl_->a);
  std::string& buf = impl_->key;
  if (buf.size() < impl_->a.size() * 4 + 64) buf.resize(impl_->a.size() * 4 + 64);
  auto fill = [&] {
    return ucol_getSortKey(impl_->coll, impl_->a.data(), Length(impl_->a),
                           reinterpret_cast<uint8_t*>(buf.data()), static_cast<int32_t>(buf.size()));
  };
  int32_t need = fill();
  if (need > static_cast<int32_t>(buf.size())) {
    buf.resize(static_cast<size_t>(need));
    need = fill();
  }
  // The length counts ICU's closing zero byte, which orders nothing.
  return buf.substr(0, need > 0 ? static_cast<size_t>(need - 1) : 0);
}

int IcuCollation::Compare(std::string_view a, std::string_view b) {
  Decode(a, impl_->a);
  Decode(b, impl_->b);
  return static_cast<int>(ucol_strcoll(impl_->coll, impl_->a.data(), Length(impl_->a),
                                       impl_->b.data(), Length(impl_->b)));
}

}  // namespace quillet
