// The tokens the body, list and cell loops share: text, paragraphs and
// breaks, styles, headings, font tags, links, and the constructs read below
// the token level.
#include <algorithm>
#include <array>

#include "platform/AsciiCase.h"
#include "viewer/layout/FixedBlocks.h"
#include "viewer/parser/ParserState.h"
#include "viewer/style/Colors.h"

namespace quillet {

namespace {

// Nominal sizes of the font sizes 1 to 7, proportional and inside PRE.
constexpr std::array<int, 7> kFontSizes = {8, 10, 12, 14, 18, 24, 36};
constexpr std::array<int, 7> kPreFontSizes = {7, 8, 10, 12, 15, 20, 30};
// Nominal sizes of the headings 1 to 6.
constexpr std::array<int, 6> kHeadingSizes = {24, 18, 15, 12, 10, 8};
// The nominal size of TT, CODE, KBD, SAMP and PRE text.
constexpr int kFixedNominal = 10;

// A FONT SIZE value: digits with an optional sign; relative when signed.
// False for anything else, which leaves the size alone. However many digits
// there are, the size is clamped later: the number stops growing once it is
// far past any size.
bool ReadFontSize(std::u16string_view text, int& n, bool& relative) {
  constexpr int kFarPastAnySize = 1000;
  while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  relative = !text.empty() && (text.front() == u'+' || text.front() == u'-');
  const bool negative = relative && text.front() == u'-';
  if (relative) text.remove_prefix(1);
  if (text.empty()) return false;
  n = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return false;
    n = std::min(n * 10 + (c - u'0'), kFarPastAnySize);
  }
  if (negative) n = -n;
  return true;
}

// The first family of a FACE list, trimmed.
std::u16string FirstFace(std::u16string_view faces) {
  faces = faces.substr(0, faces.find(u','));
  while (!faces.empty() && faces.front() <= u' ') faces.remove_prefix(1);
  while (!faces.empty() && faces.back() <= u' ') faces.remove_suffix(1);
  return std::u16string(faces);
}

}  // namespace

bool ParseState::DoInline() {
  switch (sy_) {
    case Sy::Text: DoText(); return true;
    case Sy::P: case Sy::PEnd: DoParagraph(); return true;
    case Sy::B: case Sy::BEnd: case Sy::Strong: case Sy::StrongEnd: case Sy::I: case Sy::IEnd:
    case Sy::Em: case Sy::EmEnd: case Sy::Cite: case Sy::CiteEnd: case Sy::Var: case Sy::VarEnd:
    case Sy::U: case Sy::UEnd: case Sy::S: case Sy::SEnd: case Sy::Strike: case Sy::StrikeEnd:
      SetStyle(sy_);
      ChangeFont();
      Next();
      return true;
    case Sy::Sub: case Sy::Sup:
      EnsureSection();
      subSup_ = sy_ == Sy::Sub ? SubSupKind::Sub : SubSupKind::Sup;
      ChangeFont();
      Next();
      return true;
    case Sy::SubEnd: case Sy::SupEnd:
      subSup_ = SubSupKind::None;
      ChangeFont();
      Next();
      return true;
    case Sy::BR: DoBreak(); return true;
    case Sy::H: DoHeading(); return true;
    case Sy::HEnd: DoHeadingEnd(); return true;
    case Sy::TT: case Sy::Code: case Sy::Kbd: case Sy::Samp: DoFixedFont(); return true;
    case Sy::TTEnd: case Sy::CodeEnd: case Sy::KbdEnd: case Sy::SampEnd: case Sy::FontEnd:
    case Sy::BigEnd: case Sy::SmallEnd:
      PopFont();
      ChangeFont();
      Next();
      return true;
    case Sy::Font: DoFontTag(false); Next(); return true;
    case Sy::BaseFont: DoFontTag(true); Next(); return true;
    case Sy::Big: case Sy::Small: DoBigSmall(sy_ == Sy::Big); return true;
    case Sy::Address: DoAddress(); return true;
    case Sy::AddressEnd: DoAddressEnd(); return true;
    case Sy::Pre: ReadPre(); Next(); return true;
    case Sy::A: DoAnchor(); Next(); return true;
    case Sy::AEnd: CloseLink(); Next(); return true;
    case Sy::Table: DoTable(); return true;
    case Sy::Img: ReadImage(); Next(); return true;
    case Sy::Input: case Sy::Select: ReadFormControl(); Next(); return true;
    case Sy::TextArea: ReadTextArea(); Next(); return true;
    case Sy::Form: case Sy::FormEnd: ReadForm(sy_ == Sy::FormEnd); Next(); return true;
    case Sy::Map: ReadMap(); Next(); return true;
    case Sy::Script: ReadScript(); Next(); return true;
    default: return false;
  }
}

void ParseState::DoText() {
  if (IsBlank(tok_.Text())) {
    EnsureSection();
    pendingSpace_ = true;
  } else {
    ContentSection();
    section_->AddText(tok_.Text());
  }
  Next();
}

void ParseState::DoParagraph() {
  FinishSection();
  if (!flags_.ParagraphSpaceGiven) AddBlock(std::make_unique<TParagraphSpace>());
  // A run of P and </P>, white space between them, is one break; the last
  // one's alignment wins.
  // The break is given before the next token is read, which uses it up if
  // it is content; the white space skipped here does not.
  flags_.ParagraphSpaceGiven = true;
  Justification align = align_;
  while (sy_ == Sy::P || sy_ == Sy::PEnd) {
    align = sy_ == Sy::P ? ReadAlignment<Justification>(Attrs()).value_or(align_) : align_;
    Next();
    while (sy_ == Sy::Text && IsBlank(tok_.Text())) {
      flags_.ParagraphSpaceGiven = true;
      Next();
    }
  }
  OpenSection(align);
}

void ParseState::DoBreak() {
  const Justification align = section_ ? section_->AlignmentForBreak() : align_;
  FinishSection();
  OpenSection(align);
  section_->SetClear(Attrs());
  Next();
}

void ParseState::SetStyle(Sy sy) {
  const bool on = !IsEndTag(sy);
  switch (on ? sy : StartOf(sy)) {
    case Sy::B: case Sy::Strong: styles_.Bold = on; break;
    case Sy::I: case Sy::Em: case Sy::Cite: case Sy::Var: styles_.Italic = on; break;
    case Sy::U: styles_.Underline = on; break;
    case Sy::S: case Sy::Strike: styles_.StrikeOut = on; break;
    default: break;
  }
}

void ParseState::DoHeading() {
  if (fonts_.size() < HtmlParser::kMaxFonts) {
    const int level = tok_.Level();
    const std::optional<Justification> align = ReadAlignment<Justification>(Attrs());
    FinishSection();
    TMyFont font = TopFont();
    if (level >= 1 && level <= 6) {
      font.SetNominalSize(doc_.Fonts, kHeadingSizes[static_cast<size_t>(level - 1)]);
      font.Spec.Bold = true;
    } else {
      font.SetNominalSize(doc_.Fonts, 12);
      font.Spec.Bold = false;
    }
    PushFont(font);
    AddBlock(std::make_unique<THeadingSpace>(level));
    OpenSection(align.value_or(align_));
  }
  Next();
}

void ParseState::DoHeadingEnd() {
  if (fonts_.size() > 1) {
    FinishSection();
    AddBlock(std::make_unique<THeadingSpace>(tok_.Level()));
    PopFont();
  }
  Next();
}

void ParseState::DoFixedFont() {
  TMyFont font = TopFont();
  font.FixedPitch = true;
  font.Spec.Face = doc_.Fonts.PreFontName;
  font.SetNominalSize(doc_.Fonts, kFixedNominal);
  if (PushFont(font)) ChangeFont();
  Next();
}

void ParseState::DoFontTag(bool baseFont) {
  if (baseFont && !(currentCell_ == &doc_ && doc_.Empty())) return;
  TMyFont font = TopFont();
  bool applied = false;
  for (const TAttribute& a : Attrs()) {
    switch (a.Code) {
      case Sy::Size: {
        int n = 0;
        bool relative = false;
        if (!ReadFontSize(a.Text, n, relative)) break;
        if (relative) n += baseFontSize_;
        n = std::clamp(n, 1, 7);
        if (baseFont) baseFontSize_ = n;
        const auto& table = flags_.InPre ? kPreFontSizes : kFontSizes;
        font.SetNominalSize(doc_.Fonts, table[static_cast<size_t>(n - 1)]);
        applied = true;
        break;
      }
      case Sy::Color: {
        TColor c = 0;
        if (!baseFont && ColorFromString(a.Text, c)) {
          font.Spec.Color = c | kPaletteRelative;
          applied = true;
        }
        break;
      }
      case Sy::Face: {
        if (baseFont) break;
        std::u16string face = FirstFace(a.Text);
        if (face.empty()) break;
        font.Spec.Face = std::move(face);
        applied = true;
        break;
      }
      default:
        break;
    }
  }
  // A FONT that applies nothing is pushed unchanged all the same, so that
  // its end tag pops it and not the font around it.
  if (baseFont && !applied) return;
  if (PushFont(font) && applied) ChangeFont();
}

void ParseState::DoBigSmall(bool big) {
  TMyFont font = TopFont();
  const auto it = std::find(kFontSizes.begin(), kFontSizes.end(), font.NominalSize);
  if (it != kFontSizes.end()) {
    const auto step = it - kFontSizes.begin();
    if (big && step < 6) font.SetNominalSize(doc_.Fonts, kFontSizes[static_cast<size_t>(step + 1)]);
    if (!big && step > 0) font.SetNominalSize(doc_.Fonts, kFontSizes[static_cast<size_t>(step - 1)]);
  }
  // Where no step is taken (BIG at 7, SMALL at 1, a size off the table) the
  // same font is pushed, so that the end tag pops this and nothing else.
  if (PushFont(font)) ChangeFont();
  Next();
}

void ParseState::DoAddress() {
  FinishSection();
  TMyFont font = TopFont();
  font.Spec.Italic = true;
  PushFont(font);
  OpenSection(align_);
  Next();
}

void ParseState::DoAddressEnd() {
  FinishSection();
  PopFont();
  Next();
}

void ParseState::DoAnchor() {
  for (const TAttribute& a : Attrs()) {
    if (a.Code == Sy::Href) {
      CloseLink();
      if (a.Text.empty()) continue;
      TMyFont font = TopFont();
      font.Spec.Color = doc_.Fonts.HotSpotColor | kPaletteRelative;
      font.Spec.Underline = true;
      // A link that cannot have its font is no link.
      if (!PushFont(font)) continue;
      const TAttribute* target = Attrs().Find(Sy::Target);
      urlTarget_ = TUrlTarget(a.Text, target ? target->Text : std::u16string());
      linkOpen_ = true;
      if (section_) {
        ContentSection();
        section_->HRefChange(Sy::A, TopFont(), urlTarget_, styles_, subSup_);
      }
    } else if (a.Code == Sy::Name && !a.Text.empty()) {
      EnsureSection();
      if (names_) names_->emplace(UpperAscii(a.Text), section_.get());
    }
  }
}

// ---------------------------------------------------------------- pictures

void ParseState::ReadImage() {
  ContentSection();
  section_->AddImage(Attrs(), *currentCell_);
}

}  // namespace quillet
