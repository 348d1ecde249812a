// TSection: content (text, font runs, links) and the queries that do not
// lay out or draw (position of a point, links, search).
#include "viewer/layout/Section.h"

#include <unicode/uchar.h>

#include <algorithm>

#include "platform/AsciiCase.h"
#include "viewer/forms/FormControls.h"
#include "viewer/forms/Forms.h"
#include "viewer/layout/SectionList.h"

namespace quillet {

namespace {

std::u16string Number16(int n) {
  const std::string s = std::to_string(n);
  return std::u16string(s.begin(), s.end());
}

// Simple case folding of every letter, one code point at a time, so that
// positions in the folded text are positions in the original.
std::u16string Fold(std::u16string_view text) {
  std::u16string out(text);
  for (size_t i = 0; i < out.size(); ++i) {
    const char16_t c = out[i];
    if (IsHighSurrogate(c) && i + 1 < out.size() && IsLowSurrogate(out[i + 1])) {
      const UChar32 cp = 0x10000 + ((c - 0xD800) << 10) + (out[i + 1] - 0xDC00);
      const UChar32 f = u_foldCase(cp, U_FOLD_CASE_DEFAULT);
      if (f >= 0x10000) {
        out[i] = static_cast<char16_t>(0xD800 + ((f - 0x10000) >> 10));
        out[i + 1] = static_cast<char16_t>(0xDC00 + ((f - 0x10000) & 0x3FF));
      }
      ++i;
    } else if (!IsLowSurrogate(c)) {
      const UChar32 f = u_foldCase(c, U_FOLD_CASE_DEFAULT);
      if (f < 0x10000) out[i] = static_cast<char16_t>(f);
    }
  }
  return out;
}

}  // namespace

// A large page has a section a link, with its one font run in place: 232
// bytes is what the allocator serves from 240, where a section of 168 and
// a run of 72 apart took 176 and 80.
static_assert(sizeof(FirstInPlace<LineRec>) == sizeof(LineRec) + sizeof(void*));
static_assert(sizeof(TFontList) == sizeof(TFontObj) + sizeof(void*));
static_assert(sizeof(void*) != 8 || sizeof(TSection) <= 232);

TMyFont WithStyles(TMyFont font, TFontStyles styles) {
  font.Spec.Bold = font.Spec.Bold || styles.Bold;
  font.Spec.Italic = font.Spec.Italic || styles.Italic;
  font.Spec.Underline = font.Spec.Underline || styles.Underline;
  font.Spec.StrikeOut = font.Spec.StrikeOut || styles.StrikeOut;
  return font;
}

namespace {

TFontObj FirstRun(const TMyFont& font, TFontStyles styles, const TUrlTarget& link) {
  TFontObj run(WithStyles(font, styles), 0);
  if (link.IsLink()) run.UrlTarget = link;
  return run;
}

}  // namespace

TSection::TSection(TSectionList& doc, int level, Justification justify, const TUrlTarget& link,
                   const TMyFont& font, TFontStyles styles)
    : Fonts(FirstRun(font, styles, link)),
      Level(std::max(level, 0)),
      IndentX(IndentManager::kLevelIndent * std::max(level, 0)),
      Justify(justify) {
  ParentSectionList = &doc;
}

void TSection::AppendText(std::u16string_view text) {
  const size_t at = Buff.size();
  Buff.append(text);
  // Placeholders stand only for objects; a stray control character in the
  // text must not pass for one.
  for (size_t i = at; i < Buff.size(); ++i) {
    if (IsPlaceholder(Buff[i])) Buff[i] = u' ';
    highest_ = std::max(highest_, Buff[i]);
  }
}

void TSection::AddText(std::u16string_view text) {
  if (text.empty() || Len() > kMaxText) return;
  // Floating pictures take no room on the line, so a space after nothing
  // else would start it.
  const auto onlyFloats = [this] {
    const auto images = Images();
    if (images.size() != Buff.size()) return false;
    return std::all_of(images.begin(), images.end(), [](const auto& image) { return image->Floats(); });
  };
  if (text.front() == u' ' && (Buff.empty() || Buff.back() == u' ' || onlyFloats())) text.remove_prefix(1);
  AppendText(text);
}

TImageObj* TSection::AddImage(const TAttributeList& attributes, TCell& cell) {
  if (Len() > kMaxText) return nullptr;
  auto& images = TakeObjects().Images;
  images.push_back(std::make_unique<TImageObj>(Len(), attributes, &cell));
  Buff += kImageChar;
  return images.back().get();
}

int ControlTop(const TFormControlObj& control, int baseline, int descent) {
  return (control.AlignFlag ? baseline : baseline + descent) - control.Height();
}

TFormControlObj* TSection::AddFormControl(ThtmlForm* form, Sy tag, const TAttributeList& attributes, TCell& cell) {
  if (Len() > kMaxText) return nullptr;
  DocumentForms& forms = ParentSectionList->Forms();
  // A radio button in a table cell takes the cell's colour; at the top
  // level the document's.
  TCell* inCell = &cell == static_cast<TCell*>(ParentSectionList) ? nullptr : &cell;
  TFormControlObj* control = forms.AddControl(form, tag, attributes, Len(), inCell);
  if (!control || control->IsHidden()) return control;
  if (auto* button = dynamic_cast<TImageFormControlObj*>(control)) {
    TImageObj* image = AddImage(attributes, cell);
    image->MyFormControl = button;
    button->MyImage = image;
    return control;
  }
  TakeObjects().FormControls.push_back(control);
  Buff += kFormControlChar;
  return control;
}

TSection::Objects& TSection::TakeObjects() {
  if (!objects_) objects_ = std::make_unique<Objects>();
  return *objects_;
}

std::span<const std::unique_ptr<TImageObj>> TSection::Images() const {
  if (!objects_) return {};
  return objects_->Images;
}

std::span<TFormControlObj* const> TSection::FormControls() const {
  if (!objects_) return {};
  return objects_->FormControls;
}

TFormControlObj* TSection::FormControlAt(int pos) const {
  const auto [first, last] = ControlsIn(pos, pos + 1);
  return first < last ? FormControls()[first] : nullptr;
}

std::pair<size_t, size_t> TSection::ControlsIn(int from, int to) const {
  const auto before = [](const TFormControlObj* control, int p) { return control->Pos < p; };
  const auto controls = FormControls();
  const auto first = std::lower_bound(controls.begin(), controls.end(), from, before);
  const auto last = std::lower_bound(first, controls.end(), to, before);
  return {static_cast<size_t>(first - controls.begin()), static_cast<size_t>(last - controls.begin())};
}

void TSection::MoveBy(int dy, int dcurs) {
  TSectionBase::MoveBy(dy, dcurs);
  for (TFormControlObj* control : FormControls()) control->YValue += dy;
}

int TSection::NextObjectChar(int from, int to) const {
  if (!HasObjects() || from >= to) return to;
  const std::u16string_view part =
      std::u16string_view(Buff).substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
  const size_t at = part.find_first_of(kPlaceholderChars);
  return at == std::u16string_view::npos ? to : from + static_cast<int>(at);
}

std::pair<size_t, size_t> TSection::ImagesIn(int from, int to) const {
  const auto before = [](const auto& image, int p) { return image->Pos < p; };
  const auto images = Images();
  const auto first = std::lower_bound(images.begin(), images.end(), from, before);
  const auto last = std::lower_bound(first, images.end(), to, before);
  return {static_cast<size_t>(first - images.begin()), static_cast<size_t>(last - images.begin())};
}

TImageObj* TSection::ImageAt(int pos) const {
  const auto images = Images();
  const auto it = std::lower_bound(images.begin(), images.end(), pos,
                                   [](const auto& image, int p) { return image->Pos < p; });
  return it != images.end() && (*it)->Pos == pos ? it->get() : nullptr;
}

void TSection::StartRun(TMyFont font, SubSupKind subsup, RunLink link) {
  if (subsup != SubSupKind::None) font.SetNominalSize(ParentSectionList->Fonts, font.NominalSize * 3 / 4);
  TFontObj& last = Fonts.back();
  if (last.Pos >= Len()) {
    last.SetFont(std::move(font));
    last.SScript = subsup;
    last.UrlTarget = std::move(link);
    return;
  }
  TFontObj run(std::move(font), Len());
  run.UrlTarget = std::move(link);
  run.SScript = subsup;
  Fonts.push_back(std::move(run));
}

void TSection::ChangeFont(const TMyFont& font, TFontStyles styles, SubSupKind subsup) {
  StartRun(WithStyles(font, styles), subsup, Fonts.back().UrlTarget);
}

void TSection::HRefChange(Sy sy, const TMyFont& font, const TUrlTarget& link, TFontStyles styles,
                          SubSupKind subsup) {
  StartRun(WithStyles(font, styles), subsup, sy == Sy::A ? RunLink(link) : RunLink());
}

void TSection::AddedToCell() {
  while (Fonts.size() > 1 && Fonts.back().Pos >= Len()) Fonts.pop_back();
}

void TSection::SetClear(const TAttributeList& attributes) {
  const TAttribute* clear = attributes.Find(Sy::Clear);
  if (!clear) return;
  const std::u16string value = LowerAscii(clear->Text, 15);
  ClearAttr = value == u"left" ? ClearKind::Left : value == u"right" ? ClearKind::Right : ClearKind::Both;
}

Justification TSection::AlignmentForBreak() {
  SpaceIfEmpty();
  return Justify;
}

void TSection::SpaceIfEmpty() {
  if (Buff.empty()) AppendText(u" ");
}

void TSection::UpdateFonts() { quillet::UpdateFonts(Fonts, ParentSectionList->Fonts); }

bool TSection::GetChAtPos(int Pos, char16_t& Ch, const TSectionBase*& Obj) {
  const int p = Pos - StartCurs;
  if (p < 0 || p >= Len()) return false;
  Ch = Buff[static_cast<size_t>(p)];
  Obj = this;
  return true;
}

int TSection::FindString(int From, std::u16string_view Text, bool MatchCase) {
  const int from = std::max(From - StartCurs, 0);
  if (Text.empty() || from >= Len()) return -1;
  size_t at;
  if (MatchCase) {
    at = Buff.find(Text, static_cast<size_t>(from));
  } else {
    const std::u16string text = Fold(Text);
    at = Fold(Buff).find(text, static_cast<size_t>(from));
  }
  return at == std::u16string::npos ? -1 : StartCurs + static_cast<int>(at);
}

int TSection::FindStringBefore(int Before, std::u16string_view Text, bool MatchCase) {
  const int last = std::min(Before - StartCurs, Len()) - 1;
  if (Text.empty() || last < 0) return -1;
  const size_t at = MatchCase ? Buff.rfind(Text, static_cast<size_t>(last))
                              : Fold(Buff).rfind(Fold(Text), static_cast<size_t>(last));
  return at == std::u16string::npos ? -1 : StartCurs + static_cast<int>(at);
}

int TSection::LineAtY(int y, int& top) const {
  top = 0;
  for (size_t i = 0; i < Lines.size(); ++i) {
    const int h = Lines[i].Height();
    if (top <= y && y < top + h) return static_cast<int>(i);
    top += h;
  }
  return -1;
}

TSection::CharHit TSection::CharAtX(Canvas& canvas, const LineRec& line, int x) {
  const auto unitsAt = [this](int at) {
    return IsHighSurrogate(Buff[static_cast<size_t>(at)]) && at + 1 < Len() ? 2 : 1;
  };
  CharHit hit;
  if (line.Runs.empty()) {
    int used = 0;
    hit.K = CountThatFits(canvas, x - line.LineIndent, line.Start, line.Start + line.Ln, false, &used);
    hit.Left = line.LineIndent + used;
    if (hit.K < line.Ln) hit.Width = TextExtent(canvas, line.Start + hit.K, unitsAt(line.Start + hit.K));
    return hit;
  }
  const std::vector<LinePiece> pieces = VisualPieces(canvas, line);
  for (const LinePiece& piece : pieces) {
    if (x < piece.X || x >= piece.X + piece.Width) continue;
    hit.Rtl = piece.Rtl;
    if (IsPlaceholder(Buff[static_cast<size_t>(piece.From)])) {
      hit.K = piece.From - line.Start;
      hit.Left = piece.X;
      hit.Width = piece.Width;
      return hit;
    }
    // Right to left, the characters are counted from the piece's right end:
    // the one under x is the first whose far edge lies left of x.
    int used = 0;
    const int room = piece.Rtl ? piece.X + piece.Width - x - 1 : x - piece.X;
    const int at = piece.From + CountThatFits(canvas, room, piece.From, piece.To, false, &used);
    hit.K = at - line.Start;
    hit.Width = TextExtent(canvas, at, unitsAt(at));
    hit.Left = piece.Rtl ? piece.X + piece.Width - used - hit.Width : piece.X + used;
    return hit;
  }
  hit.K = line.Ln;
  hit.Left = pieces.empty() ? line.LineIndent : pieces.back().X + pieces.back().Width;
  return hit;
}

bool TSection::GetURL(Canvas& canvas, int X, int Y, THotSpot& hot) {
  // Pictures first: an image button, a client map's area, or the link the
  // picture stands in (with "?x,y" for ISMAP).
  for (const auto& image : Images()) {
    int ix = 0, iy = 0;
    if (!image->Holds(X, Y, ix, iy)) continue;
    if (image->MyFormControl) {
      hot.FormControl = image->MyFormControl;
      return true;
    }
    if (image->UsesMap) {
      for (const auto& map : ParentSectionList->MapList)
        if (map->MapName == image->MapName) {
          hot.Url = map->Hit(ix, iy);
          return hot.Url.has_value();
        }
    }
    const TFontObj* run = FontAt(Fonts, image->Pos);
    if (!run || !run->UrlTarget.IsLink()) return false;
    hot.Url = run->UrlTarget.Get();
    if (image->IsMap) hot.Url->Url += u"?" + Number16(ix) + u"," + Number16(iy);
    return true;
  }
  int top = 0;
  const int i = LineAtY(Y, top);
  if (i < 0) return false;
  const LineRec& line = Lines[static_cast<size_t>(i)];
  if (X < line.LineIndent) return false;
  const int k = CharAtX(canvas, line, X).K;
  // A control in a link is no part of the link: it takes its own clicks.
  if (k >= line.Ln || Buff[static_cast<size_t>(line.Start + k)] == kFormControlChar) return false;
  const TFontObj* run = FontAt(Fonts, line.Start + k);
  if (!run || !run->UrlTarget.IsLink()) return false;
  hot.Url = run->UrlTarget.Get();
  return true;
}

bool TSection::PtInObject(int X, int Y, TObjectHit& hit) {
  for (const auto& image : Images()) {
    int ix = 0, iy = 0;
    if (!image->Holds(X, Y, ix, iy)) continue;
    hit.Image = image.get();
    hit.X = ix;
    hit.Y = iy;
    return true;
  }
  return false;
}

int TSection::FindCursor(Canvas& canvas, int X, int Y, TCursorHit& hit) {
  int top = 0;
  const int i = LineAtY(Y, top);
  if (i < 0) return -1;
  const LineRec& line = Lines[static_cast<size_t>(i)];
  hit.YR = top;
  hit.CaretHt = line.Height();
  hit.Intext = false;
  int pos;
  if (X < line.LineIndent) {
    pos = line.Start;
    hit.XR = line.LineIndent;
  } else {
    const CharHit at = CharAtX(canvas, line, X);
    if (at.K >= line.Ln) {
      pos = line.Start + line.Ln;
      hit.XR = at.Left;
    } else {
      pos = line.Start + at.K;
      hit.Intext = true;
      hit.Char = StartCurs + pos;
      // Past the middle of the character in its reading direction: the
      // position after it, which lies left of it right to left.
      const bool after = at.Rtl ? X < at.Left + at.Width - at.Width / 2 : X > at.Left + at.Width / 2;
      hit.XR = at.Rtl != after ? at.Left + at.Width : at.Left;
      if (after) pos += IsHighSurrogate(Buff[static_cast<size_t>(pos)]) && pos + 1 < Len() ? 2 : 1;
    }
  }
  return StartCurs + pos;
}

bool TSection::CursorToXY(Canvas& canvas, int Cursor, int& X, int& Y) {
  const int p = Cursor - StartCurs;
  if (p < 0 || p >= Len()) return false;
  int top = 0;
  for (const LineRec& line : Lines) {
    if (line.Ln > 0 && line.Start <= p && p < line.Start + line.Ln) {
      X = XOfPosition(canvas, line, p);
      Y = YValue + top;
      return true;
    }
    top += line.Height();
  }
  return false;
}

}  // namespace quillet
