#pragma once
// The one character reader of a parse. It takes its text from a file, the
// document's lines, a block of bytes, or the text an include handler hands
// back, and delivers it one UTF-16 unit at a time, normalised: every line-end
// form (CR LF, LF CR, CR, LF) is one CR, a tab is a space, and comments and
// declarations never reach the caller. Character 26 (Ctrl-Z) is the end of
// input: the reader delivers it at the end and after a literal one, and from
// then on for ever.
//
// The reader always holds a current character (Ch, and UpCh, its form with
// ASCII letters upper-cased); Next() moves on. Tag and keyword tests use
// UpCh, text and values keep Ch.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AsciiCase.h"
#include "platform/TextCodec.h"

namespace quillet {

class FileSystem;

// The parse state the reader, the tokenizer and the parser share. The
// parser owns it and hands it to the tokenizer by reference.
struct ParseFlags {
  // A script body is being read for a script handler: comments are text.
  bool InScript = false;
  // A paragraph break was just given; text, pictures, rules, breaks,
  // headings, tables and form controls clear it.
  bool ParagraphSpaceGiven = false;
  // A PRE block is being read: text runs keep their white space.
  bool InPre = false;
};

// Called for a comment that starts "<!--#": the command (the letters after
// "#", as written) and one line NAME="value" for each attribute written after
// it, all UTF-8. The bytes returned (decoded as the document is: UTF-8 when
// valid, else Windows-1252) are read in place of the comment; an empty
// result inserts nothing. Included text cannot include again: a "<!--#" in
// it is an ordinary comment. The host's sender, if it needs one, is bound
// into the function.
using TIncludeType =
    std::function<std::string(const std::string& command, const std::vector<std::string>& params)>;

inline constexpr char16_t kEofChar = 26;
inline constexpr char16_t kLineEnd = 13;

class CharReader {
 public:
  explicit CharReader(ParseFlags& flags);
  CharReader(const CharReader&) = delete;
  CharReader& operator=(const CharReader&) = delete;

  // Each input setter starts a fresh input, drops any pushed-back character
  // and reads the first character.
  //
  // The whole file, decoded by the document rule. Throws EFOpenError when it
  // cannot be read.
  void SetFile(FileSystem& fs, const std::string& path);
  // The document's byte lines, each followed by a line end. The encoding is
  // chosen once for all lines; lines are decoded one at a time as reading
  // reaches them, so the list must outlive the reading.
  void SetStrings(const std::vector<std::string>& lines);
  void SetStrings(std::vector<std::string>&&) = delete;  // would not outlive the reading
  // A block of bytes, decoded by the document rule (copied; the block may go).
  void SetBuffer(std::string_view bytes);
  // Already decoded text (tests and hosts that hold UTF-16).
  void SetText(std::u16string text);

  // The handler for "<!--#" comments; an empty function reads them as
  // ordinary comments.
  void SetIncludeHandler(TIncludeType handler) { onInclude_ = std::move(handler); }

  char16_t Ch() const { return ch_; }
  char16_t UpCh() const { return upCh_; }
  bool AtEnd() const { return ch_ == kEofChar; }

  // Moves to the next character.
  void Next() {
    if (!hasPushed_ && !hasLow_ && pos_ < buf_.size()) {
      const char16_t c = buf_[pos_];
      if (IsPlain(c)) {
        ++pos_;
        ch_ = c;
        upCh_ = UpperAscii(c);
        return;
      }
    }
    SlowNext();
  }

  // Appends the current character and moves on while keep(character) holds
  // and out is shorter than max; stops at the end of input. Ordinary
  // characters are copied straight from the decoded text, so long runs of
  // text cost no call per character.
  template <class Keep>
  void AppendWhile(std::u16string& out, size_t max, Keep keep) {
    while (out.size() < max && ch_ != kEofChar && keep(ch_)) {
      out += ch_;
      if (!hasPushed_ && !hasLow_) {
        const size_t room = max - out.size();
        const size_t limit = buf_.size() - pos_ <= room ? buf_.size() : pos_ + room;
        size_t end = pos_;
        while (end < limit && IsPlain(buf_[end]) && keep(buf_[end])) ++end;
        out.append(buf_, pos_, end - pos_);
        pos_ = end;
      }
      Next();
    }
  }

  // Moves on while keep(character) holds; stops at the end of input.
  template <class Keep>
  void SkipWhile(Keep keep) {
    while (ch_ != kEofChar && keep(ch_)) {
      if (!hasPushed_ && !hasLow_)
        while (pos_ < buf_.size() && IsPlain(buf_[pos_]) && keep(buf_[pos_])) ++pos_;
      Next();
    }
  }

  // Makes c the current character again; the character that was current
  // comes next. One character at a time: pushing back a second before the
  // first was read again is a program fault (std::logic_error).
  void PushBack(char16_t c);

  // True when the input ended inside a comment or a "<!...>" declaration.
  // The reader then stands at the end of input; the tokenizer raises the
  // "Open Comment at End of HTML File" failure when it reaches it, so that
  // everything before the comment is delivered first.
  bool OpenCommentAtEnd() const { return openComment_; }

  // True while the text handed back by the include handler is being read.
  bool InInclude() const { return inInclude_; }

 private:
  enum class Mode : uint8_t { Text, Strings };

  // A character the reader delivers as it stands: no line end or tab to
  // normalise, no end of input, no "<" that may open a comment.
  static bool IsPlain(char16_t c) {
    return c >= 32 ? c != u'<' : (c != 9 && c != 10 && c != 13 && c != kEofChar);
  }

  void Reset();
  void SlowNext();
  // From now on only the end of input.
  void End();
  void SetCurrent(char16_t c) {
    ch_ = c;
    upCh_ = UpperAscii(c);
  }
  // Makes a character available at pos_ (next line, back from an include);
  // false at the end of everything.
  bool Fill();
  char16_t Raw();
  char16_t PeekRaw();
  char16_t Norm();
  char16_t Cooked();
  // After "<!": skips a comment or declaration up to its ">"; false when
  // the input ended inside it.
  bool SkipMarkup();
  // Skips a comment body from c up to its "--" + ">"; false at end of input.
  bool SkipCommentBody(char16_t c);
  // After "<!--#": reads the command and its attributes, skips the rest of
  // the comment and runs the handler; false at end of input.
  bool RunIncludeDirective();

  ParseFlags& flags_;
  TIncludeType onInclude_;

  Mode mode_ = Mode::Text;
  std::u16string buf_;
  size_t pos_ = 0;
  // The document's lines in the string-list mode, and the next to decode.
  const std::vector<std::string>* lines_ = nullptr;
  size_t nextLine_ = 0;
  TextEncoding linesEncoding_ = TextEncoding::Utf8;
  // The outer input while included text is read.
  bool inInclude_ = false;
  std::u16string outerBuf_;
  size_t outerPos_ = 0;

  bool ended_ = false;       // Ctrl-Z or the end was read: only kEofChar from now on
  bool openComment_ = false;
  bool inDirective_ = false;  // reading an include directive: "<!" is plain text

  char16_t ch_ = kEofChar;
  char16_t upCh_ = kEofChar;
  bool hasPushed_ = false;
  char16_t pushed_ = 0;
  // A normalised character read ahead after "<" (to look for "!").
  bool hasLow_ = false;
  char16_t low_ = 0;
};

}  // namespace quillet
