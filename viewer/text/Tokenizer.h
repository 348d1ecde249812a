#pragma once
// The pane's HTML tokenizer: one token per call from the parse's character
// reader.
//
// How the parser drives it:
//   ParseFlags flags;                 // the parser owns these
//   Tokenizer tok(flags);
//   tok.Reader().SetIncludeHandler(onInclude);     // optional
//   tok.Reader().SetStrings(lines);   // or SetFile / SetBuffer; reads the first character
//   for (Sy sy = tok.NextToken(); sy != Sy::Eof; sy = tok.NextToken()) {
//     switch (sy) { ... tok.Text(), tok.Level(), tok.Attributes() ... }
//   }
// NextToken() throws EParseError "Open Comment at End of HTML File" when it
// reaches an end of input that fell inside a comment or declaration (every
// token before it has been delivered).
//
// Tokens: a start or end tag (the tag's symbol; the text is its upper-cased
// name; H carries its level 1-6, else 0); Sy::UnknownTag for names not in the
// table and for end tags of start-only tags; Sy::Text for a run of text (at
// most 100 characters; outside PRE white space and line ends collapse to one
// space), for one reference, and for a "<" that starts no tag;
// Sy::OtherChar for one character that starts nothing else (a stray ">" or a
// control character), consumed; Sy::Eof, not consumed, so it comes again.
// Inside PRE (flags.InPre) runs keep their spaces and ">", and each line end
// is an Sy::Eol token.
//
// Attributes of the tags that keep them (KeepsAttributes) replace the list;
// other tags read theirs and leave the list as it was.
//
// A SCRIPT start tag comes with its body, read up to and with its end tag
// ("</script>", also with blanks or junk before the ">"), comments in it
// kept as written and line ends as CR LF: ScriptBody().
//
// The parser's own line readers (PRE and TEXTAREA bodies) work on Reader()
// directly: Ch()/UpCh(), Next(), PushBack(), and ReadReference() at an "&".
// Setting flags.InScript makes comments plain text for them.
#include <string>

#include "viewer/text/Attributes.h"
#include "viewer/text/CharReader.h"
#include "viewer/text/CharRefs.h"
#include "viewer/text/Symbols.h"

namespace quillet {

class Tokenizer {
 public:
  explicit Tokenizer(ParseFlags& flags) : flags_(flags), reader_(flags) {}

  CharReader& Reader() { return reader_; }

  // Reads the next token; see above.
  Sy NextToken();

  Sy Symbol() const { return sy_; }
  const std::u16string& Text() const { return text_; }
  int Level() const { return level_; }
  const TAttributeList& Attributes() const { return attributes_; }
  // The body of the SCRIPT just read.
  const std::u16string& ScriptBody() const { return script_; }

  // Decodes the reference at the reader's "&", appending to out.
  void ReadReference(std::u16string& out, LineBreakRefs breaks = LineBreakRefs::AsWritten);

  // The longest token text: a tag name.
  static constexpr size_t kMaxTokenText = 150;
  // A text run ends at this many characters (one more to keep a surrogate
  // pair whole).
  static constexpr size_t kMaxTextRun = 100;

 private:
  void ReadTag();
  void ReadTextRun();
  void ReadScriptBody();

  ParseFlags& flags_;
  CharReader reader_;
  Sy sy_ = Sy::None;
  std::u16string text_;
  std::u16string script_;
  int level_ = 0;
  TAttributeList attributes_;
  // Reused for every attribute read, kept or not.
  TAttribute attribute_;
  std::u16string attributeName_;
};

}  // namespace quillet
