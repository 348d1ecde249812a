// What the parser reads below the token level: PRE character by character,
// script bodies handed to the document's script handler, image maps, and
// plain text.
#include "platform/AsciiCase.h"
#include "viewer/layout/ImageMap.h"
#include "viewer/layout/ListItems.h"
#include "viewer/parser/ParserState.h"

namespace quillet {

namespace {

// Text gathered this long is handed to the section.
constexpr size_t kFlushAt = 200;
// The fixed-pitch font of PRE and plain text, from the top font.
TMyFont FixedFont(const TMyFont& top, const DocumentFonts& doc) {
  TMyFont font = top;
  font.FixedPitch = true;
  font.Spec.Face = doc.PreFontName;
  font.SetNominalSize(doc, 10);
  return font;
}

// Clears a parse flag however the reader leaves.
struct FlagScope {
  explicit FlagScope(bool& f) : flag(f) { flag = true; }
  ~FlagScope() { flag = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;
  bool& flag;
};

}  // namespace

void ParseState::ReadPre() {
  FinishSection();
  // A full font stack keeps the font it has; PRE still keeps its lines.
  const bool pushed = PushFont(FixedFont(TopFont(), doc_.Fonts));
  FlagScope inPre(flags_.InPre);
  OpenPreSection();
  CharReader& r = tok_.Reader();
  std::u16string run;
  // After P or BR, which break the line themselves, a line end is not
  // another break.
  bool afterBreak = false;
  for (bool done = false; !done;) {
    const char16_t c = r.Ch();
    if (c == kEofChar) break;
    if (c == kLineEnd) {
      r.Next();
      if (!afterBreak) NewPreLine(run);
      afterBreak = false;
      continue;
    }
    afterBreak = false;
    if (c == u'&') {
      tok_.ReadReference(run, LineBreakRefs::AsBlank);
    } else if (c != u'<') {
      r.AppendWhile(run, kFlushAt + 1, [](char16_t ch) { return ch != kLineEnd && ch != u'&' && ch != u'<'; });
    } else {
      done = ReadPreTag(run, afterBreak);
      // A tag's handler may have finished the section (a NAME anchor
      // opens one if so): PRE goes on in a line of its own.
      if (!section_) OpenPreSection();
    }
    if (run.size() > kFlushAt) FlushPre(run);
  }
  FlushPre(run);
  FinishSection();
  if (pushed) PopFont();
}

void ParseState::FlushPre(std::u16string& run) {
  if (!run.empty()) section_->AddText(run);
  run.clear();
}

void ParseState::NewPreLine(std::u16string& run) {
  FlushPre(run);
  FinishSection();
  OpenPreSection();
}

bool ParseState::ReadPreTag(std::u16string& run, bool& afterBreak) {
  switch (tok_.NextToken()) {
    case Sy::Text:  // a "<" that starts no tag
      run += tok_.Text();
      break;
    case Sy::P: case Sy::BR:
      NewPreLine(run);
      afterBreak = true;
      break;
    case Sy::B: case Sy::BEnd: case Sy::Strong: case Sy::StrongEnd: case Sy::I: case Sy::IEnd:
    case Sy::Em: case Sy::EmEnd: case Sy::Cite: case Sy::CiteEnd: case Sy::Var: case Sy::VarEnd:
    case Sy::U: case Sy::UEnd: case Sy::S: case Sy::SEnd: case Sy::Strike: case Sy::StrikeEnd:
      FlushPre(run);
      SetStyle(tok_.Symbol());
      ChangeFont();
      break;
    case Sy::A:
      FlushPre(run);
      DoAnchor();
      break;
    case Sy::AEnd:
      FlushPre(run);
      CloseLink();
      break;
    case Sy::Font: case Sy::BaseFont:
      FlushPre(run);
      DoFontTag(tok_.Symbol() == Sy::BaseFont);
      break;
    case Sy::FontEnd:
      FlushPre(run);
      PopFont();
      ChangeFont();
      break;
    case Sy::Img: FlushPre(run); ReadImage(); break;
    case Sy::Input: case Sy::Select: FlushPre(run); ReadFormControl(); break;
    case Sy::TextArea: FlushPre(run); ReadTextArea(); break;
    case Sy::Form: case Sy::FormEnd: FlushPre(run); ReadForm(tok_.Symbol() == Sy::FormEnd); break;
    case Sy::Map: ReadMap(); break;
    case Sy::Script: FlushPre(run); ReadScript(); break;
    case Sy::PreEnd: case Sy::TDEnd: case Sy::THEnd: case Sy::Eof:
      return true;
    default:
      break;  // every other tag is ignored
  }
  return false;
}

void ParseState::ReadScript() {
  // The tokenizer read the body with the tag; without a handler it is dropped.
  if (!doc_.Host().TakesScripts()) return;
  const TAttribute* language = Attrs().Find(Sy::Language);
  const std::string lang = language ? Utf16ToUtf8(language->Text) : std::string();
  // The handler may load another document; the parse is done with the
  // attributes by now.
  doc_.Host().RunScript(lang, Utf16ToUtf8(tok_.ScriptBody()));
}

void ParseState::ReadMap() {
  const TAttribute* name = Attrs().Find(Sy::Name);
  auto map = std::make_unique<TMapItem>(name ? UpperAscii(name->Text) : std::u16string());
  for (;;) {
    const Sy sy = tok_.NextToken();
    if (sy == Sy::Eof) return;  // an unfinished map is dropped
    if (sy == Sy::Area) map->AddArea(Attrs());
    if (sy == Sy::MapEnd) break;
  }
  doc_.MapList.push_back(std::move(map));
}

void ParseState::RunText() {
  // Plain text has no comments: what looks like one is text too.
  flags_.InScript = true;
  flags_.InPre = true;
  PushFont(FixedFont(TopFont(), doc_.Fonts));
  OpenPreSection();
  CharReader& r = tok_.Reader();
  std::u16string run;
  for (;;) {
    const char16_t c = r.Ch();
    if (c == kEofChar) break;
    if (c == kLineEnd) {
      r.Next();
      section_->AddText(run);
      run.clear();
      FinishSection();
      OpenPreSection();
      continue;
    }
    r.AppendWhile(run, run.size() + kFlushAt, [](char16_t ch) { return ch != kLineEnd; });
    if (run.size() >= kFlushAt) {
      section_->AddText(run);
      run.clear();
    }
  }
  section_->AddText(run);
  // The last line end ends the last line; it starts no empty one.
  if (section_->Len() == 0 && !doc_.Empty()) section_.reset();
  FinishSection();
}

}  // namespace quillet
