#include "viewer/text/CharReader.h"

#include <stdexcept>

#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "viewer/text/AttributeReader.h"
#include "viewer/text/Attributes.h"

namespace quillet {

CharReader::CharReader(ParseFlags& flags) : flags_(flags) {}

void CharReader::Reset() {
  mode_ = Mode::Text;
  buf_.clear();
  pos_ = 0;
  lines_ = nullptr;
  nextLine_ = 0;
  inInclude_ = false;
  outerBuf_.clear();
  outerPos_ = 0;
  ended_ = false;
  openComment_ = false;
  inDirective_ = false;
  hasPushed_ = false;
  hasLow_ = false;
}

void CharReader::SetFile(FileSystem& fs, const std::string& path) {
  const std::string bytes = fs.ReadFile(path);
  SetBuffer(bytes);
}

void CharReader::SetStrings(const std::vector<std::string>& lines) {
  Reset();
  mode_ = Mode::Strings;
  lines_ = &lines;
  linesEncoding_ = ChooseTextEncoding(lines);
  Next();
}

void CharReader::SetBuffer(std::string_view bytes) {
  SetText(DecodeToUtf16(bytes, ChooseTextEncoding(bytes)));
}

void CharReader::SetText(std::u16string text) {
  Reset();
  buf_ = std::move(text);
  Next();
}

void CharReader::PushBack(char16_t c) {
  if (hasPushed_) throw std::logic_error("CharReader: a second character pushed back");
  pushed_ = ch_;
  hasPushed_ = true;
  SetCurrent(c);
}

void CharReader::SlowNext() {
  if (hasPushed_) {
    hasPushed_ = false;
    SetCurrent(pushed_);
    return;
  }
  SetCurrent(Cooked());
}

void CharReader::End() {
  ended_ = true;
  buf_.clear();
  pos_ = 0;
  inInclude_ = false;
  outerBuf_.clear();
}

bool CharReader::Fill() {
  while (pos_ >= buf_.size()) {
    if (ended_) return false;
    if (inInclude_) {
      buf_.swap(outerBuf_);
      pos_ = outerPos_;
      outerBuf_.clear();
      inInclude_ = false;
    } else if (mode_ == Mode::Strings && nextLine_ < lines_->size()) {
      buf_.clear();
      pos_ = 0;
      AppendUtf16(buf_, (*lines_)[nextLine_++], linesEncoding_);
      buf_ += kLineEnd;
    } else {
      End();
      return false;
    }
  }
  return true;
}

char16_t CharReader::Raw() {
  if (pos_ >= buf_.size() && !Fill()) return kEofChar;
  const char16_t c = buf_[pos_++];
  if (c == kEofChar) End();
  return c;
}

char16_t CharReader::PeekRaw() {
  if (pos_ >= buf_.size() && !Fill()) return kEofChar;
  return buf_[pos_];
}

char16_t CharReader::Norm() {
  if (hasLow_) {
    hasLow_ = false;
    return low_;
  }
  const char16_t c = Raw();
  switch (c) {
    case 13:
      if (PeekRaw() == 10) ++pos_;
      return kLineEnd;
    case 10:
      if (PeekRaw() == 13) ++pos_;
      return kLineEnd;
    case 9:
      return u' ';
    default:
      return c;
  }
}

char16_t CharReader::Cooked() {
  for (;;) {
    const char16_t c = Norm();
    if (c != u'<' || flags_.InScript || inDirective_) return c;
    const char16_t next = Norm();
    if (next != u'!') {
      low_ = next;
      hasLow_ = true;
      return u'<';
    }
    if (!SkipMarkup()) {
      openComment_ = true;
      return kEofChar;
    }
    // The character after the ">" may open the next comment: go round.
  }
}

bool CharReader::SkipMarkup() {
  char16_t c = Norm();
  if (c == u'-') {
    c = Norm();
    if (c == u'-') {
      c = Norm();
      if (c == u'#' && onInclude_ && !inInclude_) return RunIncludeDirective();
      return SkipCommentBody(c);
    }
  }
  // A declaration such as <!DOCTYPE ...>: up to the next ">".
  while (c != u'>') {
    if (c == kEofChar) return false;
    c = Norm();
  }
  return true;
}

bool CharReader::SkipCommentBody(char16_t c) {
  // Ends at "--", any further dashes, spaces and line ends, then ">"; so
  // "<!-->" and "-- x" do not close it.
  for (;;) {
    if (c == kEofChar) return false;
    if (c != u'-') {
      c = Norm();
      continue;
    }
    c = Norm();
    if (c != u'-') continue;
    do c = Norm();
    while (c == u'-');
    while (c == u' ' || c == kLineEnd) c = Norm();
    if (c == u'>') return true;
  }
}

bool CharReader::RunIncludeDirective() {
  // The directive is read with the public character reader (attribute
  // values decode references); "<!" inside it is plain text, so a directive
  // never nests.
  struct DirectiveScope {
    bool& flag;
    explicit DirectiveScope(bool& f) : flag(f) { flag = true; }
    ~DirectiveScope() { flag = false; }
  };
  std::u16string command;
  std::vector<std::string> params;
  {
    DirectiveScope scope(inDirective_);
    Next();
    while (IsAsciiUpper(upCh_)) {
      command += ch_;
      Next();
    }
    TAttribute attribute;
    std::u16string name;
    while (ReadAttribute(*this, attribute, name))
      params.push_back(Utf16ToUtf8(name) + "=\"" + Utf16ToUtf8(attribute.Text) + "\"");
  }
  if (!SkipCommentBody(ch_)) return false;
  const std::string bytes = onInclude_(Utf16ToUtf8(command), params);
  if (!bytes.empty()) {
    outerBuf_.swap(buf_);
    outerPos_ = pos_;
    buf_ = DecodeToUtf16(bytes, ChooseTextEncoding(bytes));
    pos_ = 0;
    inInclude_ = true;
  }
  return true;
}

}  // namespace quillet
