#pragma once
// Runs the tokenizer over a text and writes its tokens as one readable line:
//   <TABLE> <TD WIDTH=5|5> "a b" other(>) </TD> <?> <H2> eol
// Tags show their kept attributes as NAME=text|number (the number only when
// not 0; ? for an unknown name); <?> is an unknown tag.
#include <string>
#include <vector>

#include "platform/TextCodec.h"
#include "viewer/text/Tokenizer.h"

namespace quillet::test {

inline std::string TokenString(const Tokenizer& tok) {
  const Sy sy = tok.Symbol();
  switch (sy) {
    case Sy::Text: return "\"" + Utf16ToUtf8(tok.Text()) + "\"";
    case Sy::OtherChar: return "other(" + Utf16ToUtf8(tok.Text()) + ")";
    case Sy::Eol: return "eol";
    case Sy::Eof: return "eof";
    case Sy::UnknownTag: return "<?>";
    default: break;
  }
  std::string s = "<" + std::string(SymbolName(sy));
  if (tok.Level() != 0) s += std::to_string(tok.Level());
  if (KeepsAttributes(sy)) {
    for (const TAttribute& a : tok.Attributes()) {
      const std::string name = a.Code == Sy::Text          ? "TEXT"
                               : a.Code == Sy::UnknownAttr ? "?"
                                                           : std::string(SymbolName(a.Code));
      s += " " + name + "=" + Utf16ToUtf8(a.Text);
      if (a.Number != 0) s += "|" + std::to_string(a.Number);
    }
  }
  return s + ">";
}

// Every token up to the end of input, separated by spaces.
inline std::string Tokens(Tokenizer& tok) {
  std::string out;
  for (int guard = 0; guard < 100000; ++guard) {
    if (tok.NextToken() == Sy::Eof) break;
    if (!out.empty()) out += ' ';
    out += TokenString(tok);
  }
  return out;
}

inline std::string Tokens(const std::u16string& text, bool inPre = false) {
  ParseFlags flags;
  flags.InPre = inPre;
  Tokenizer tok(flags);
  tok.Reader().SetText(text);
  return Tokens(tok);
}

// The characters the reader delivers, up to the end of input.
inline std::u16string Chars(CharReader& r) {
  std::u16string out;
  for (int guard = 0; guard < 100000 && !r.AtEnd(); ++guard) {
    out += r.Ch();
    r.Next();
  }
  return out;
}

}  // namespace quillet::test
