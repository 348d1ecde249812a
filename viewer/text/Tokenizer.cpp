#include "viewer/text/Tokenizer.h"

#include "platform/AsciiCase.h"
#include "viewer/text/AttributeReader.h"
#include "viewer/text/CharRefs.h"
#include "viewer/text/ViewerErrors.h"

namespace quillet {

namespace {

// Characters that continue a text run (white space is handled apart).
bool IsRunChar(char16_t c, bool inPre) {
  if (c < 32) return false;
  return c != u'&' && c != u'<' && (inPre || c != u'>');
}


// Tokens after which a paragraph break has been used up.
bool ClearsParagraphSpace(Sy sy) {
  switch (sy) {
    case Sy::BR: case Sy::H: case Sy::HR: case Sy::Img: case Sy::Text: case Sy::Table:
    case Sy::Input: case Sy::TextArea: case Sy::Select:
      return true;
    default:
      return false;
  }
}

}  // namespace

Sy Tokenizer::NextToken() {
  text_.clear();
  level_ = 0;
  const char16_t c = reader_.Ch();
  if (c == kEofChar) {
    if (reader_.OpenCommentAtEnd()) throw EParseError(kOpenCommentMessage);
    sy_ = Sy::Eof;
  } else if (c == u'<') {
    ReadTag();
  } else if (c == u'&') {
    ReadCharRef(reader_, text_, LineBreakRefs::AsBlank);
    sy_ = Sy::Text;
  } else if (IsRunChar(c, flags_.InPre) || (!flags_.InPre && c == kLineEnd)) {
    ReadTextRun();
  } else if (c == kLineEnd) {
    sy_ = Sy::Eol;
    reader_.Next();
  } else {
    text_ += c;
    sy_ = Sy::OtherChar;
    reader_.Next();
  }
  if (flags_.ParagraphSpaceGiven && ClearsParagraphSpace(sy_)) flags_.ParagraphSpaceGiven = false;
  return sy_;
}

void Tokenizer::ReadReference(std::u16string& out, LineBreakRefs breaks) { ReadCharRef(reader_, out, breaks); }

void Tokenizer::ReadTextRun() {
  CharReader& r = reader_;
  const auto isWhite = [](char16_t c) { return c == u' ' || c == kLineEnd; };
  if (flags_.InPre) {
    r.AppendWhile(text_, kMaxTextRun, [](char16_t c) { return IsRunChar(c, true); });
  } else {
    // A single space is taken with the text around it; where more white
    // space or a line end follows, it all collapses to that one space.
    bool afterSpace = false;
    const auto keep = [&afterSpace](char16_t c) {
      if (c == u' ') {
        if (afterSpace) return false;
        afterSpace = true;
        return true;
      }
      afterSpace = false;
      return IsRunChar(c, false);
    };
    for (;;) {
      afterSpace = !text_.empty() && text_.back() == u' ';
      r.AppendWhile(text_, kMaxTextRun, keep);
      if (text_.size() >= kMaxTextRun || !isWhite(r.Ch())) break;
      if (text_.empty() || text_.back() != u' ') text_ += u' ';
      r.SkipWhile(isWhite);
    }
    if (text_.back() == u' ') r.SkipWhile(isWhite);
  }
  // Keep a surrogate pair whole.
  if (text_.size() >= kMaxTextRun && IsHighSurrogate(text_.back()) && IsLowSurrogate(r.Ch())) {
    text_ += r.Ch();
    r.Next();
  }
  sy_ = Sy::Text;
}

void Tokenizer::ReadTag() {
  CharReader& r = reader_;
  r.Next();  // the "<"
  bool endTag = false;
  if (r.Ch() == u'/') {
    endTag = true;
    r.Next();
  }
  if (!IsAsciiUpper(r.UpCh())) {
    // No tag: the "<" is text, and a "/" after it is read again as text.
    if (endTag) r.PushBack(u'/');
    text_ += u'<';  // text_ is empty here
    sy_ = Sy::Text;
    return;
  }
  AppendName(r, text_);
  sy_ = endTag ? EndTagSymbol(text_) : StartTagSymbol(text_);
  SkipWhite(r);
  if ((sy_ == Sy::H || sy_ == Sy::HEnd) && r.Ch() >= u'1' && r.Ch() <= u'6') {
    level_ = r.Ch() - u'0';
    r.Next();
  }
  const bool keep = KeepsAttributes(sy_);
  if (keep) attributes_.Clear();
  while (ReadAttribute(r, attribute_, attributeName_))
    if (keep) attributes_.Add(attribute_);
  r.SkipWhile([](char16_t c) { return c != u'>'; });
  if (sy_ == Sy::Script) {
    ReadScriptBody();
    return;
  }
  if (r.Ch() == u'>') r.Next();
}

void Tokenizer::ReadScriptBody() {
  // The body is script text from the character after the tag's ">" on:
  // skipping comments there would eat a script that opens with "<!--" (a
  // common way to hide scripts) and let a "<!--" in a script's string
  // swallow the page. Skipping resumes at the end tag's ">".
  CharReader& r = reader_;
  const bool outer = flags_.InScript;
  flags_.InScript = true;
  script_.clear();
  if (r.Ch() == u'>') r.Next();
  for (;;) {
    const char16_t c = r.Ch();
    if (c == kEofChar) break;
    if (c == kLineEnd) {
      script_ += u"\r\n";
      r.Next();
    } else if (c != u'<') {
      r.AppendWhile(script_, script_.size() + kMaxTextRun, [](char16_t ch) { return ch != kLineEnd && ch != u'<'; });
    } else {
      // Up to 7 letters or "/": "</script" before a ">" or a blank ends the
      // body; anything else is script text.
      std::u16string tag(1, u'<');
      r.Next();
      while (tag.size() < 8 && (r.Ch() == u'/' || IsAsciiUpper(r.UpCh()))) {
        tag += r.Ch();
        r.Next();
      }
      const char16_t after = r.Ch();
      if (UpperAscii(tag) == u"</SCRIPT" && (after == u'>' || after == u' ' || after == kLineEnd)) {
        r.SkipWhile([](char16_t ch) { return ch != u'>'; });
        flags_.InScript = outer;
        if (r.Ch() == u'>') r.Next();
        return;
      }
      if (after == u'>') {
        tag += u'>';
        r.Next();
      }
      script_ += tag;
    }
  }
  flags_.InScript = outer;
}

}  // namespace quillet
