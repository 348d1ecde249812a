// The parser's entry operations, its state, and the sections and fonts it
// builds with.
#include "viewer/parser/Parser.h"

#include <algorithm>

#include "viewer/layout/FixedBlocks.h"
#include "viewer/layout/ListItems.h"
#include "viewer/parser/ParserState.h"
#include "viewer/text/ViewerErrors.h"

namespace quillet {

// ---------------------------------------------------------------- entry

void HtmlParser::ParseHtmlFile(FileSystem& fs, const std::string& path, TSectionList& doc, TNameList& names) {
  ParseState state(*this, doc, &names);
  try {
    state.Tok().Reader().SetFile(fs, path);
    state.RunHtml();
  } catch (const EParseError&) {
    // A comment open at the end: what came before it stands.
  }
}

void HtmlParser::ParseHtmlStrings(const std::vector<std::string>& lines, TSectionList& doc, TNameList& names) {
  ParseState state(*this, doc, &names);
  state.Tok().Reader().SetStrings(lines);
  state.RunHtml();
  doc.ShrinkBlocks();
}

void HtmlParser::ParseHtmlBuffer(std::string_view bytes, TSectionList& doc, TNameList& names) {
  ParseState state(*this, doc, &names);
  state.Tok().Reader().SetBuffer(bytes);
  state.RunHtml();
  doc.ShrinkBlocks();
}

void HtmlParser::ParseTextFile(FileSystem& fs, const std::string& path, TSectionList& doc) {
  ParseState state(*this, doc, nullptr);
  try {
    state.Tok().Reader().SetFile(fs, path);
    state.RunText();
  } catch (const EParseError&) {
  }
}

void HtmlParser::ParseTextStrings(const std::vector<std::string>& lines, TSectionList& doc) {
  ParseState state(*this, doc, nullptr);
  state.Tok().Reader().SetStrings(lines);
  state.RunText();
}

// ---------------------------------------------------------------- state

ParseState::ParseState(HtmlParser& owner, TSectionList& doc, TNameList* names)
    : owner_(owner), doc_(doc), names_(names), tok_(flags_), currentCell_(&doc) {
  owner_.Title.clear();
  owner_.BaseUrl.clear();
  owner_.BaseTarget.clear();
  // Plain text has no comments, so the include directive is HTML's only.
  if (names_ && owner_.OnInclude) tok_.Reader().SetIncludeHandler(owner_.OnInclude);
  fonts_.reserve(HtmlParser::kMaxFonts);
  TMyFont base;
  base.NominalSize = 12;
  base.ApplyDefaults(doc_.Fonts, doc_.Fonts.FontColor);
  fonts_.push_back(base);
}

ParseState::~ParseState() {
  // Tables add their cells on the way out; here the open section is all
  // that is left to keep.
  if (section_) currentCell_->Add(std::move(section_));
}

void ParseState::RunHtml() {
  // Text before BODY has somewhere to go; BODY throws it away.
  OpenSection(Justification::Left);
  Next();
  BodyLoop(0, {});
}

bool IsListEnd(Sy sy) {
  switch (sy) {
    case Sy::OLEnd: case Sy::ULEnd: case Sy::DirEnd: case Sy::MenuEnd: case Sy::DLEnd: case Sy::BlockQuoteEnd:
      return true;
    default:
      return false;
  }
}

bool IsBlank(std::u16string_view text) {
  return text.find_first_not_of(u' ') == std::u16string_view::npos;
}

void ParseState::SkipWhiteSpace() {
  while (sy_ == Sy::Text && IsBlank(tok_.Text())) Next();
}

// ---------------------------------------------------------------- fonts

bool ParseState::PushFont(const TMyFont& font) {
  if (fonts_.size() >= HtmlParser::kMaxFonts) return false;
  fonts_.push_back(font);
  return true;
}

void ParseState::PopFont() {
  if (fonts_.size() > 1) fonts_.pop_back();
}

void ParseState::ChangeFont() {
  if (!section_) return;
  ContentSection();
  section_->ChangeFont(TopFont(), styles_, subSup_);
}

void ParseState::CloseLink() {
  if (!linkOpen_) return;
  urlTarget_.Clear();
  linkOpen_ = false;
  PopFont();
  if (!section_) return;
  ContentSection();
  section_->HRefChange(Sy::AEnd, TopFont(), urlTarget_, styles_, subSup_);
}

// ---------------------------------------------------------------- sections

void ParseState::OpenSection(std::unique_ptr<TSection> section) {
  FinishSection();
  section_ = std::move(section);
  subSup_ = SubSupKind::None;
}

void ParseState::ContentSection() {
  EnsureSection();
  if (pendingSpace_) section_->AddText(u" ");
  pendingSpace_ = false;
}

void ParseState::OpenSection(Justification align) {
  OpenSection(std::make_unique<TSection>(doc_, indent_, align, urlTarget_, TopFont(), styles_));
}

void ParseState::EnsureSection() {
  if (!section_) OpenSection(align_);
}

void ParseState::FinishSection() {
  pendingSpace_ = false;
  if (section_) currentCell_->Add(std::move(section_));
}

void ParseState::OpenPreSection() {
  OpenSection(std::make_unique<TPreFormated>(doc_, indent_, urlTarget_, TopFont(), styles_));
}

void ParseState::AddBlock(std::unique_ptr<TSectionBase> block) { currentCell_->Add(std::move(block)); }

// ---------------------------------------------------------------- loops

LoopScope::LoopScope(ParseState& s, bool nests)
    : State(s), Nests(nests), SavedBase(s.excessBase_), SavedIndent(s.indent_) {
  if (Nests) ++State.nesting_;
  State.excessBase_ = State.excess_.size();
}

LoopScope::~LoopScope() {
  State.UnwindExcess(State.excessBase_);
  State.excessBase_ = SavedBase;
  State.indent_ = SavedIndent;
  if (Nests) --State.nesting_;
}

}  // namespace quillet
