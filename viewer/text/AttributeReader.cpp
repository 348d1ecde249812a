#include "viewer/text/AttributeReader.h"

#include <cstdint>

#include "viewer/text/CharReader.h"
#include "viewer/text/CharRefs.h"

namespace quillet {

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

void TrimControls(std::u16string& s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] <= 32) ++b;
  while (e > b && s[e - 1] <= 32) --e;
  if (e < s.size()) s.erase(e);
  if (b > 0) s.erase(0, b);
}

void ReadQuoted(CharReader& r, TAttribute& a) {
  const char16_t quote = r.Ch();
  r.Next();
  const auto plain = [quote](char16_t c) { return c != quote && c != u'&' && c != kLineEnd; };
  for (;;) {
    r.AppendWhile(a.Text, SIZE_MAX, plain);
    if (r.Ch() == u'&')
      ReadCharRef(r, a.Text);
    else if (r.Ch() == kLineEnd)
      r.Next();
    else
      break;
  }
  if (r.Ch() == quote) r.Next();
  TrimControls(a.Text);
  std::u16string_view number = a.Text;
  if (!number.empty() && number.back() == u'%') number.remove_suffix(1);
  a.Number = DecimalOrZero(number);
}

void ReadNumber(CharReader& r, TAttribute& a) {
  r.AppendWhile(a.Text, SIZE_MAX, [](char16_t c) { return !IsWhite(c) && c != u'%' && c != u'>'; });
  a.Number = DecimalOrZero(a.Text);
  SkipWhite(r);
  if (r.Ch() == u'%') {
    a.Text += u'%';
    r.Next();
  }
}

void ReadWord(CharReader& r, TAttribute& a) {
  r.AppendWhile(a.Text, SIZE_MAX, [](char16_t c) { return !IsWhite(c) && c != u'>'; });
}

}  // namespace

void SkipWhite(CharReader& r) {
  while (IsWhite(r.Ch())) r.Next();
}

void AppendName(CharReader& r, std::u16string& name, bool dashes) {
  const size_t start = name.size();
  const auto letter = [dashes](char16_t c) { return IsAsciiUpper(UpperAscii(c)) || (dashes && c == u'-'); };
  r.AppendWhile(name, start + kMaxNameLength, letter);
  r.SkipWhile(letter);
  for (size_t i = start; i < name.size(); ++i) name[i] = UpperAscii(name[i]);
}

int32_t DecimalOrZero(std::u16string_view text) {
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == u'-';
  if (!text.empty() && (text[0] == u'-' || text[0] == u'+')) i = 1;
  if (i == text.size()) return 0;
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (!IsDigit(text[i])) return 0;
    value = value * 10 + (text[i] - u'0');
    if (value > int64_t{INT32_MAX} + 1) return 0;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) return 0;
  return static_cast<int32_t>(value);
}

bool ReadAttribute(CharReader& r, TAttribute& a, std::u16string& upperName) {
  SkipWhite(r);
  if (!IsAsciiUpper(r.UpCh())) return false;
  upperName.clear();
  AppendName(r, upperName, true);
  a.Code = AttributeSymbol(upperName);
  a.Number = a.Code == Sy::Border ? 1 : 0;
  a.Text.clear();
  SkipWhite(r);
  if (r.Ch() != u'=') return true;
  r.Next();
  SkipWhite(r);
  const char16_t c = r.Ch();
  if (c == u'"' || c == u'\'')
    ReadQuoted(r, a);
  else if (c == u'+' || c == u'-' || IsDigit(c))
    ReadNumber(r, a);
  else
    ReadWord(r, a);
  return true;
}

}  // namespace quillet
