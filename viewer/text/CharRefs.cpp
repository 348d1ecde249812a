#include "viewer/text/CharRefs.h"

#include <array>

#include "platform/AsciiCase.h"
#include "platform/TextCodec.h"
#include "viewer/text/CharReader.h"

namespace quillet {

namespace {

// amp, lt, gt, quot, then the names of 160..255 in code order.
constexpr std::array<std::u16string_view, 100> kNames = {
    u"amp",    u"lt",     u"gt",     u"quot",                                             //
    u"nbsp",   u"iexcl",  u"cent",   u"pound",  u"curren", u"yen",    u"brvbar", u"sect",  //
    u"uml",    u"copy",   u"ordf",   u"laquo",  u"not",    u"shy",    u"reg",    u"macr",  //
    u"deg",    u"plusmn", u"sup2",   u"sup3",   u"acute",  u"micro",  u"para",   u"middot",
    u"cedil",  u"sup1",   u"ordm",   u"raquo",  u"frac14", u"frac12", u"frac34", u"iquest",
    u"Agrave", u"Aacute", u"Acirc",  u"Atilde", u"Auml",   u"Aring",  u"AElig",  u"Ccedil",
    u"Egrave", u"Eacute", u"Ecirc",  u"Euml",   u"Igrave", u"Iacute", u"Icirc",  u"Iuml",  //
    u"ETH",    u"Ntilde", u"Ograve", u"Oacute", u"Ocirc",  u"Otilde", u"Ouml",   u"times", //
    u"Oslash", u"Ugrave", u"Uacute", u"Ucirc",  u"Uuml",   u"Yacute", u"THORN",  u"szlig", //
    u"agrave", u"aacute", u"acirc",  u"atilde", u"auml",   u"aring",  u"aelig",  u"ccedil",
    u"egrave", u"eacute", u"ecirc",  u"euml",   u"igrave", u"iacute", u"icirc",  u"iuml",  //
    u"eth",    u"ntilde", u"ograve", u"oacute", u"ocirc",  u"otilde", u"ouml",   u"divide",
    u"oslash", u"ugrave", u"uacute", u"ucirc",  u"uuml",   u"yacute", u"thorn",  u"yuml"};
constexpr std::array<char16_t, 4> kFirstFour = {u'&', u'<', u'>', u'"'};

constexpr size_t kMaxRefName = 7;
constexpr size_t kMaxDigits = 6;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsAsciiAlnum(char16_t c) {
  return IsDigit(c) || IsAsciiLetter(c);
}
int HexValue(char16_t c) {
  if (IsDigit(c)) return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// After "&#": decimal digits, or "x" and hexadecimal digits.
void ReadNumericRef(CharReader& r, std::u16string& out, LineBreakRefs breaks) {
  const size_t start = out.size();
  out += u"&#";
  int base = 10;
  if (r.UpCh() == u'X') {
    out += r.Ch();
    r.Next();
    base = 16;
  }
  const size_t digitsAt = out.size();
  uint32_t value = 0;
  for (;;) {
    const int d = base == 16 ? HexValue(r.Ch()) : (IsDigit(r.Ch()) ? r.Ch() - u'0' : -1);
    if (d < 0) break;
    if (out.size() - digitsAt == kMaxDigits) return;  // a 7th digit: the text stays, the digit unread
    value = value * base + d;
    out += r.Ch();
    r.Next();
  }
  if (out.size() == digitsAt) return;  // "&#" or "&#x" without digits: text
  bool semicolon = false;
  if (r.Ch() == u';') {
    semicolon = true;
    r.Next();
  }
  if (breaks == LineBreakRefs::AsBlank && (value == 10 || value == 13)) {
    out.resize(start);
    out += u' ';
  } else if (const char32_t c = NumericCharRef(value)) {
    out.resize(start);
    AppendCodePoint(out, c);
  } else if (semicolon) {
    out += u';';
  }
}

}  // namespace

char16_t NamedCharRef(std::u16string_view name) {
  for (size_t i = 0; i < kNames.size(); ++i)
    if (kNames[i] == name) return i < kFirstFour.size() ? kFirstFour[i] : static_cast<char16_t>(160 + i - 4);
  return 0;
}

char32_t NumericCharRef(uint32_t value) {
  if (value == 9) return u' ';
  if (value <= 8 || (value >= 11 && value <= 31)) return 0;
  if (value >= 128 && value <= 159) return Windows1252ToUnicode(static_cast<unsigned char>(value));
  if ((value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF) return 0;
  return value;
}

void ReadCharRef(CharReader& r, std::u16string& out, LineBreakRefs breaks) {
  r.Next();  // the "&"
  if (r.Ch() == u'#') {
    r.Next();
    const char16_t c = r.Ch();
    if (IsDigit(c) || (r.UpCh() == u'X')) {
      ReadNumericRef(r, out, breaks);
      return;
    }
    out += u"&#";
    return;
  }
  char16_t name[kMaxRefName];
  size_t n = 0;
  while (IsAsciiAlnum(r.Ch())) {
    if (n == kMaxRefName) {  // too long for a name: "&" and 7 characters stay text
      out += u'&';
      out.append(name, n);
      return;
    }
    name[n++] = r.Ch();
    r.Next();
  }
  bool semicolon = false;
  if (r.Ch() == u';') {
    semicolon = true;
    r.Next();
  }
  if (const char16_t c = NamedCharRef(std::u16string_view(name, n))) {
    out += c;
    return;
  }
  out += u'&';
  out.append(name, n);
  if (semicolon) out += u';';
}

}  // namespace quillet
