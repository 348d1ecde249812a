// The body loop: the block-level tokens, CENTER and DIV, and what happens to
// lists and blocks nested deeper than the parser recurses.
#include <algorithm>

#include "platform/AsciiCase.h"
#include "viewer/layout/FixedBlocks.h"
#include "viewer/parser/ParserState.h"
#include "viewer/style/Colors.h"

namespace quillet {

namespace {

const SymbolSet kCenterDivEnds{Sy::CenterEnd, Sy::DivEnd};

}  // namespace

void ParseState::BodyLoop(int depth, const SymbolSet& terminators) {
  for (;;) {
    if (sy_ == Sy::Eof || sy_ == Sy::BodyEnd) return;
    if (CloseExcess()) continue;
    if (terminators.Has(sy_)) return;
    switch (sy_) {
      case Sy::Title: DoTitle(); break;
      case Sy::Body: DoBody(); break;
      case Sy::HR: DoHorzLine(); break;
      case Sy::Base: DoBase(); break;
      case Sy::OL: case Sy::UL: case Sy::Dir: case Sy::Menu: case Sy::DL:
        DoList(depth + 1, terminators);
        break;
      case Sy::BlockQuote:
        FinishSection();
        DoList(depth + 1, terminators);
        break;
      case Sy::Center: case Sy::Div: DoCenterDiv(depth, terminators); break;
      case Sy::BgSound: DoSound(); break;
      case Sy::Meta: DoMeta(); break;
      default:
        if (!DoInline()) Next();  // anything else is skipped
        break;
    }
  }
}

void ParseState::DoList(int depth, const SymbolSet& terminators) {
  if (AtNestingLimit()) {
    OpenExcess(true);
    return;
  }
  ListLoop(depth, terminators);
  if (IsListEnd(sy_)) Next();
}

void ParseState::DoCenterDiv(int depth, const SymbolSet& terminators) {
  const Justification align =
      sy_ == Sy::Center ? Justification::Center : ReadAlignment<Justification>(Attrs()).value_or(align_);
  if (AtNestingLimit()) {
    OpenExcess(false);
    align_ = align;
    OpenSection(align_);
    return;
  }
  FinishSection();
  const Justification saved = align_;
  align_ = align;
  OpenSection(align_);
  Next();
  {
    LoopScope scope(*this, true);
    BodyLoop(depth, terminators | kCenterDivEnds);
  }
  FinishSection();
  align_ = saved;
  OpenSection(align_);
  if (kCenterDivEnds.Has(sy_)) Next();
}

// ---------------------------------------------------------------- nesting limit

void ParseState::OpenExcess(bool isList) {
  FinishSection();
  excess_.push_back({isList, align_});
  Next();
}

bool ParseState::CloseExcess() {
  if (excess_.size() <= excessBase_) return false;
  const bool listEnd = IsListEnd(sy_);
  if (!listEnd && !kCenterDivEnds.Has(sy_)) return false;
  // The innermost open one of the kind the end tag closes; those above it
  // end with it, as their loops would.
  size_t i = excess_.size();
  while (i > excessBase_ && excess_[i - 1].IsList != listEnd) --i;
  if (i == excessBase_) return false;
  FinishSection();
  bool block = false;
  Justification align = align_;
  for (size_t k = excess_.size(); k >= i; --k) {
    if (!excess_[k - 1].IsList) {
      block = true;
      align = excess_[k - 1].SavedAlignment;
    }
  }
  excess_.resize(i - 1);
  align_ = align;
  if (block) OpenSection(align_);
  Next();
  return true;
}

void ParseState::UnwindExcess(size_t base) {
  // The alignment from before the outermost block that is left open.
  for (size_t k = excess_.size(); k > base; --k)
    if (!excess_[k - 1].IsList) align_ = excess_[k - 1].SavedAlignment;
  excess_.resize(std::min(excess_.size(), base));
}

// ---------------------------------------------------------------- block tokens

void ParseState::DoTitle() {
  std::u16string title;
  Next();
  while (sy_ == Sy::Text) {
    title += tok_.Text();
    Next();
  }
  owner_.Title = std::move(title);
}

void ParseState::DoBody() {
  // Only before the first block: what was gathered so far (the head's
  // unknown elements, such as a style sheet) goes.
  if (currentCell_ == &doc_ && doc_.Empty()) {
    const std::unique_ptr<TSection> discarded = std::move(section_);
    for (const TAttribute& a : Attrs()) {
      TColor c = 0;
      switch (a.Code) {
        case Sy::Text:
          if (ColorFromString(a.Text, c)) {
            fonts_.front().Spec.Color = c | kPaletteRelative;
            doc_.Fonts.FontColor = c | kPaletteRelative;
          }
          break;
        case Sy::Link:
          if (ColorFromString(a.Text, c)) doc_.Fonts.HotSpotColor = c | kPaletteRelative;
          break;
        case Sy::BgColor:
          if (ColorFromString(a.Text, c)) doc_.SetBackground(c | kPaletteRelative);
          break;
        case Sy::Background:
          doc_.SetBackgroundBitmapName(a.Text);
          break;
        default:
          break;
      }
    }
    OpenSection(std::make_unique<TSection>(doc_, indent_, align_, urlTarget_, fonts_.front(), styles_));
    // Anchors written before BODY now mark its start.
    if (names_ && discarded)
      for (auto& [name, section] : *names_)
        if (section == discarded.get()) section = section_.get();
  }
  Next();
}

void ParseState::DoHorzLine() {
  FinishSection();
  AddBlock(std::make_unique<THorzLine>(Attrs()));
  Next();
}

void ParseState::DoBase() {
  for (const TAttribute& a : Attrs()) {
    if (a.Code == Sy::Href) owner_.BaseUrl = a.Text;
    else if (a.Code == Sy::Target) owner_.BaseTarget = a.Text;
  }
  Next();
}

void ParseState::DoSound() {
  const TAttribute* src = Attrs().Find(Sy::Src);
  if (src && owner_.OnSoundRequest) {
    const TAttribute* loop = Attrs().Find(Sy::Loop);
    owner_.OnSoundRequest(Utf16ToUtf8(src->Text), loop ? loop->Number : 1, false);
  }
  Next();
}

void ParseState::DoMeta() {
  if (owner_.OnMeta) {
    const auto text = [this](Sy code) {
      const TAttribute* a = Attrs().Find(code);
      return a ? Utf16ToUtf8(a->Text) : std::string();
    };
    owner_.OnMeta(text(Sy::HttpEquiv), text(Sy::Name), text(Sy::Content));
  }
  Next();
}

}  // namespace quillet
