// The parser's form tags: FORM, INPUT, SELECT with its OPTIONs, and
// TEXTAREA with its text read character by character.
#include "platform/AsciiCase.h"
#include "viewer/parser/ParserState.h"

namespace quillet {

namespace {

// Characters of an option's text kept while it is gathered.
constexpr size_t kMaxOptionText = TListBoxFormControlObj::kMaxOptionText;
// Text-area text is copied in runs of this many characters.
constexpr size_t kTextAreaRun = 100;

std::u16string_view Trimmed(std::u16string_view text) {
  while (!text.empty() && text.front() <= u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() <= u' ') text.remove_suffix(1);
  return text;
}

bool EndsTagName(char16_t c) {
  return c == u' ' || c == kLineEnd || c == u'>' || c == u'<' || c == kEofChar;
}

}  // namespace

void ParseState::ReadForm(bool end) {
  form_ = end ? nullptr : &doc_.Forms().NewForm(Attrs());
}

void ParseState::ReadFormControl() {
  const Sy tag = tok_.Symbol();
  ContentSection();
  TFormControlObj* control = section_->AddFormControl(form_, tag, Attrs(), *currentCell_);
  if (tag == Sy::Select) ReadOptions(dynamic_cast<TListBoxFormControlObj*>(control));
}

void ParseState::ReadOptions(TListBoxFormControlObj* list) {
  bool inOption = false;
  std::u16string text, value;
  bool selected = false;
  const auto finishOption = [&] {
    const std::u16string_view shown = Trimmed(text);
    if (inOption && !shown.empty() && list) list->AddOption(shown, value, selected);
    inOption = false;
    text.clear();
  };
  for (;;) {
    const Sy sy = tok_.NextToken();
    if (sy == Sy::Eof || sy == Sy::SelectEnd) break;
    switch (sy) {
      case Sy::Option: {
        finishOption();
        inOption = true;
        const TAttribute* v = Attrs().Find(Sy::Value);
        value = v ? std::u16string(CutText(v->Text, kMaxOptionText)) : std::u16string();
        selected = Attrs().Has(Sy::Selected);
        break;
      }
      case Sy::OptionEnd:
        finishOption();
        break;
      case Sy::Text:
      case Sy::Eol:
        if (inOption && text.size() < kMaxOptionText) {
          text += sy == Sy::Eol ? std::u16string_view(u" ") : std::u16string_view(tok_.Text());
          text.resize(CutText(text, kMaxOptionText).size());
        }
        break;
      default:
        break;  // other tags inside a SELECT show nothing
    }
  }
  finishOption();
  if (list) list->RestoreInitial();
}

void ParseState::ReadTextArea() {
  ContentSection();
  auto* area =
      dynamic_cast<TTextAreaFormControlObj*>(section_->AddFormControl(form_, Sy::TextArea, Attrs(), *currentCell_));
  CharReader& r = tok_.Reader();
  std::u16string line;
  const auto addLine = [&] {
    if (area) area->AddLine(line);
    line.clear();
  };
  for (;;) {
    const char16_t c = r.Ch();
    if (c == kEofChar) break;
    if (c == kLineEnd) {
      r.Next();
      addLine();
    } else if (c == u'&') {
      tok_.ReadReference(line);
    } else if (c == u'<') {
      // A tag's name: the end of the text area, or text like any other.
      std::u16string tag(1, u'<');
      r.Next();
      while (!EndsTagName(r.Ch())) {
        tag += r.Ch();
        r.Next();
      }
      if (LowerAscii(tag) == u"</textarea") {
        while (r.Ch() != u'>' && r.Ch() != kEofChar) r.Next();
        if (r.Ch() == u'>') r.Next();
        break;
      }
      line += tag;
    } else {
      r.AppendWhile(line, line.size() + kTextAreaRun,
                    [](char16_t ch) { return ch != kLineEnd && ch != u'&' && ch != u'<'; });
    }
  }
  if (!line.empty()) addLine();
  if (area) area->RestoreInitial();
}

}  // namespace quillet
