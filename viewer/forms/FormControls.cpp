#include "viewer/forms/FormControls.h"

#include <algorithm>
#include <cstdint>

#include "platform/AsciiCase.h"
#include "platform/TextCodec.h"
#include "viewer/forms/Forms.h"
#include "viewer/text/AttributeReader.h"

namespace quillet {

std::u16string_view CutText(std::u16string_view text, size_t n) {
  if (text.size() <= n) return text;
  if (n > 0 && IsHighSurrogate(text[n - 1])) --n;
  return text.substr(0, n);
}

namespace {

// A control is never sized beyond this, however large the numbers a page
// asks for; it keeps the arithmetic in range too.
constexpr int64_t kMaxExtent = 32000;

// TYPE is read on this many characters.
constexpr size_t kMaxTypeLength = 20;

int Extent(int64_t pixels) { return static_cast<int>(std::clamp<int64_t>(pixels, 0, kMaxExtent)); }

std::u16string AttrText(const TAttributeList& attributes, Sy code) {
  const TAttribute* a = attributes.Find(code);
  return a ? a->Text : std::u16string();
}

std::u16string Number(int64_t n) {
  std::u16string out;
  for (char c : std::to_string(n)) out += static_cast<char16_t>(c);
  return out;
}

// A count from an attribute's number; def when absent or not above 0.
int CountFrom(const TAttributeList& attributes, Sy code, int def) {
  const TAttribute* a = attributes.Find(code);
  return a && a->Number > 0 ? a->Number : def;
}

// The width and height of "A" in a font.
struct AExtent {
  int Width;
  int Height;
};
AExtent MeasureA(Canvas& canvas, const FontSpec& font) {
  canvas.SelectFont(font);
  return {canvas.TextWidth(u"A"), canvas.Metrics().Height};
}

// SIZE of an edit: a number above 0 is the size; an old "width, height"
// text gives the digits before its first space or comma.
int EditSizeFrom(const TAttribute* size) {
  if (!size) return TEditFormControlObj::kDefaultSize;
  if (size->Number > 0) return size->Number;
  const std::u16string_view text = size->Text;
  const size_t space = text.find(u' ');
  const size_t comma = text.find(u',');
  if (space == std::u16string_view::npos || comma == std::u16string_view::npos) return TEditFormControlObj::kDefaultSize;
  const size_t first = std::min(space, comma);
  if (first == 0) return TEditFormControlObj::kDefaultSize;
  const int n = DecimalOrZero(text.substr(0, first));
  return n > 0 ? n : TEditFormControlObj::kDefaultSize;
}

bool IsSoftOrHardWrap(const TAttributeList& attributes) {
  const TAttribute* wrap = attributes.Find(Sy::Wrap);
  if (!wrap) return false;
  const std::u16string lower = LowerAscii(wrap->Text);
  return lower == u"soft" || lower == u"hard";
}

}  // namespace

// --- TFormControlObj ---

TFormControlObj::TFormControlObj(ThtmlForm& form, const TAttributeList& attributes, int pos)
    : Pos(pos), Value(AttrText(attributes, Sy::Value)), Name(AttrText(attributes, Sy::Name)), form_(form) {}

TFormControlObj::~TFormControlObj() = default;

FormHost& TFormControlObj::Host() const { return form_.Host(); }

FontSpec TFormControlObj::PreFont() const {
  FontSpec font;
  font.Face = Host().PreFontName();
  font.Size = 10;
  return font;
}

void TFormControlObj::Connect(FormWidget& widget) {
  widget.Move(0, kWaitingTop);
  widget.SetVisible(true);
  widget.OnEnter = [this] { Host().ControlEntered(*this); };
  widget.OnExit = [this] { Host().ControlExited(*this); };
}

void TFormControlObj::PlaceAt(int x, int y) {
  if (widget_) {
    widget_->Move(x, y);
    widget_->SetVisible(true);
  }
  Shown = true;
}

bool TFormControlObj::SubmissionPair(int, std::u16string&) { return false; }

void TFormControlObj::FitSize(Canvas&) {}

bool TFormControlObj::RaiseObjectClick(const std::u16string& onClick) {
  const std::weak_ptr<char> life = life_;
  Host().ObjectClick(*this, onClick);
  return !life.expired();
}

// --- Edit ---

TEditFormControlObj::TEditFormControlObj(ThtmlForm& form, const TAttributeList& attributes, int pos,
                                         bool password)
    : TFormControlObj(form, attributes, pos), EditSize(EditSizeFrom(attributes.Find(Sy::Size))), Password(password) {
  edit_ = Adopt(Host().Widgets().CreateEdit());
  edit_->SetFont(PreFont());
  edit_->Resize(kInitialWidth, kHeight);
  if (const TAttribute* max = attributes.Find(Sy::MaxLength); max && max->Number > 0) edit_->SetMaxLength(max->Number);
  if (password) edit_->SetPasswordChar(u'*');
  edit_->OnReturnKey = [this] { Form().EnterPressed(*this); };
  TEditFormControlObj::RestoreInitial();
}

void TEditFormControlObj::RestoreInitial() { edit_->SetText(Value); }

bool TEditFormControlObj::SubmissionPair(int index, std::u16string& text) {
  if (index != 0) return false;
  text = Name + u"=" + edit_->Text();
  return true;
}

void TEditFormControlObj::FitSize(Canvas& canvas) {
  const AExtent a = MeasureA(canvas, PreFont());
  edit_->Resize(Extent(int64_t{a.Width} * EditSize + 5), kHeight);
}

// --- Button ---

TButtonFormControlObj::TButtonFormControlObj(ThtmlForm& form, const TAttributeList& attributes, int pos, Kind kind)
    : TFormControlObj(form, attributes, pos), ButtonKind(kind), OnClickText(AttrText(attributes, Sy::OnClick)) {
  button_ = Adopt(Host().Widgets().CreateButton());
  std::u16string caption = Value;
  if (caption.empty()) caption = kind == Kind::Submit ? u"Submit" : kind == Kind::Reset ? u"Reset" : u"Button";
  button_->SetCaption(caption);
  button_->OnClick = [this] { Clicked(); };
}

void TButtonFormControlObj::FitSize(Canvas& canvas) {
  canvas.SelectFont(Host().Widgets().DefaultFont());
  const int height = canvas.Metrics().Height + 8;
  button_->Resize(Extent(int64_t{canvas.TextWidth(button_->Caption())} + 20), height);
}

void TButtonFormControlObj::Clicked() {
  if (!RaiseObjectClick(OnClickText)) return;
  switch (ButtonKind) {
    case Kind::Reset:
      Form().ResetControls();
      break;
    case Kind::Submit:
      if (Name.empty())
        Form().SubmitTheForm();
      else
        Form().SubmitTheForm(Name + u"=" + Value);
      break;
    case Kind::Plain:
      break;
  }
}

// --- Check box ---

TCheckBoxFormControlObj::TCheckBoxFormControlObj(ThtmlForm& form, const TAttributeList& attributes, int pos)
    : TFormControlObj(form, attributes, pos),
      InitialChecked(attributes.Has(Sy::Checked)),
      OnClickText(AttrText(attributes, Sy::OnClick)) {
  if (!attributes.Has(Sy::Value)) Value = u"On";
  AlignFlag = 1;
  box_ = Adopt(Host().Widgets().CreateCheckBox());
  box_->Resize(13, 13);
  box_->OnClick = [this] { RaiseObjectClick(OnClickText); };
  TCheckBoxFormControlObj::RestoreInitial();
}

void TCheckBoxFormControlObj::RestoreInitial() { box_->SetChecked(InitialChecked); }

bool TCheckBoxFormControlObj::SubmissionPair(int index, std::u16string& text) {
  if (index != 0 || !box_->Checked()) return false;
  text = Name + u"=" + Value;
  return true;
}

// --- Radio button ---

TRadioButtonFormControlObj::TRadioButtonFormControlObj(ThtmlForm& form, const TAttributeList& attributes, int pos,
                                                       TCell* cell)
    : TFormControlObj(form, attributes, pos),
      InitialChecked(attributes.Has(Sy::Checked)),
      OnClickText(AttrText(attributes, Sy::OnClick)),
      Cell(cell) {
  AlignFlag = 1;
  radio_ = Adopt(Host().Widgets().CreateRadioButton());
  radio_->Resize(13, 14);
  radio_->OnClick = [this] { Clicked(); };
  TRadioButtonFormControlObj::RestoreInitial();
}

void TRadioButtonFormControlObj::RestoreInitial() { radio_->SetChecked(InitialChecked); }

bool TRadioButtonFormControlObj::SubmissionPair(int index, std::u16string& text) {
  if (index != 0 || !radio_->Checked()) return false;
  text = Name + u"=" + Value;
  return true;
}

void TRadioButtonFormControlObj::Clicked() {
  Form().RadioClicked(*this);
  RaiseObjectClick(OnClickText);
}

// --- Hidden field ---

bool THiddenFormControlObj::SubmissionPair(int index, std::u16string& text) {
  if (index != 0) return false;
  text = Name + u"=" + Value;
  return true;
}

// --- Image button ---

bool TImageFormControlObj::SubmissionPair(int index, std::u16string& text) {
  if (XClick < 0 || index > 1) return false;
  const std::u16string prefix = Name.empty() ? std::u16string() : Name + u".";
  if (index == 0) {
    text = prefix + u"x=" + Number(XClick);
  } else {
    text = prefix + u"y=" + Number(YClick);
    XClick = YClick = -1;
  }
  return true;
}

void TImageFormControlObj::ImageClicked(int x, int y) {
  XClick = x;
  YClick = y;
  Form().SubmitTheForm();
}

// --- List box ---

TListBoxFormControlObj::TListBoxFormControlObj(ThtmlForm& form, const TAttributeList& attributes, int pos)
    : TListBoxFormControlObj(form, attributes, pos,
                             form.Host().Widgets().CreateListBox(attributes.Has(Sy::Multiple))) {}

TListBoxFormControlObj::TListBoxFormControlObj(ThtmlForm& form, const TAttributeList& attributes, int pos,
                                               std::unique_ptr<ListWidget> list)
    : TFormControlObj(form, attributes, pos), ListSize(CountFrom(attributes, Sy::Size, -1)) {
  list_ = Adopt(std::move(list));
  list_->SetFont(PreFont());
}

void TListBoxFormControlObj::AddOption(std::u16string_view text, std::u16string_view value, bool selected) {
  TSelectOption option{std::u16string(CutText(text, kMaxOptionText)), std::u16string(CutText(value, kMaxOptionText)),
                       selected};
  LongestOpt = std::max(LongestOpt, static_cast<int>(option.Text.size()));
  Options.push_back(std::move(option));
}

void TListBoxFormControlObj::RestoreInitial() {
  std::vector<std::u16string> texts;
  texts.reserve(Options.size());
  int last = -1;
  for (size_t i = 0; i < Options.size(); ++i) {
    texts.push_back(Options[i].Text);
    if (Options[i].Selected) last = static_cast<int>(i);
  }
  list_->SetItems(texts);
  if (list_->MultiSelect()) {
    for (size_t i = 0; i < Options.size(); ++i)
      if (Options[i].Selected) list_->SetSelected(static_cast<int>(i), true);
  } else if (!Options.empty()) {
    list_->SetItemIndex(std::max(last, 0));
  }
  list_->SetTopIndex(0);
}

void TListBoxFormControlObj::OptionPair(int index, std::u16string& text) const {
  const TSelectOption& option = Options[static_cast<size_t>(index)];
  text = Name + u"=" + (option.Value.empty() ? option.Text : option.Value);
}

bool TListBoxFormControlObj::SubmissionPair(int index, std::u16string& text) {
  if (index < 0 || index >= std::min(list_->Count(), static_cast<int>(Options.size()))) return false;
  const bool selected = list_->MultiSelect() ? list_->Selected(index) : list_->ItemIndex() == index;
  if (selected)
    OptionPair(index, text);
  else
    text.clear();
  return true;
}

void TListBoxFormControlObj::FitSize(Canvas& canvas) {
  if (ListSize == -1) ListSize = std::max(1, std::min(kMaxDefaultRows, static_cast<int>(Options.size())));
  const AExtent a = MeasureA(canvas, PreFont());
  list_->SetClientSize(Extent(int64_t{a.Width} * LongestOpt + 15), Extent(int64_t{a.Height} * ListSize));
}

// --- Drop-down list ---

TComboFormControlObj::TComboFormControlObj(ThtmlForm& form, const TAttributeList& attributes, int pos)
    : TListBoxFormControlObj(form, attributes, pos, form.Host().Widgets().CreateDropDownList()) {
  // Shown in the font its width is measured in, so the longest option fits.
  list_->SetFont(Host().Widgets().DefaultFont());
}

void TComboFormControlObj::RestoreInitial() {
  std::vector<std::u16string> texts;
  texts.reserve(Options.size());
  int last = -1;
  for (size_t i = 0; i < Options.size(); ++i) {
    texts.push_back(Options[i].Text);
    if (Options[i].Selected) last = static_cast<int>(i);
  }
  list_->SetItems(texts);
  if (!Options.empty()) list_->SetItemIndex(std::max(last, 0));
}

bool TComboFormControlObj::SubmissionPair(int index, std::u16string& text) {
  if (index < 0 || index >= std::min(list_->Count(), static_cast<int>(Options.size()))) return false;
  if (list_->ItemIndex() == index)
    OptionPair(index, text);
  else
    text.clear();
  return true;
}

void TComboFormControlObj::FitSize(Canvas& canvas) {
  const AExtent a = MeasureA(canvas, Host().Widgets().DefaultFont());
  list_->SetClientSize(Extent(int64_t{a.Width} * LongestOpt + 30), list_->Height());
}

// --- Text area ---

TTextAreaFormControlObj::TTextAreaFormControlObj(ThtmlForm& form, const TAttributeList& attributes, int pos)
    : TFormControlObj(form, attributes, pos),
      Rows(CountFrom(attributes, Sy::Rows, kDefaultRows)),
      Cols(CountFrom(attributes, Sy::Cols, kDefaultCols)),
      WordWrap(IsSoftOrHardWrap(attributes)) {
  memo_ = Adopt(Host().Widgets().CreateMemo(WordWrap));
  memo_->SetFont(PreFont());
}

void TTextAreaFormControlObj::RestoreInitial() {
  memo_->SetLines(InitialLines);
  memo_->MoveCaretToStart();
}

bool TTextAreaFormControlObj::SubmissionPair(int index, std::u16string& text) {
  if (index == 0) submitting_ = memo_->Lines();
  if (index < 0 || static_cast<size_t>(index) >= submitting_.size()) {
    submitting_.clear();
    return false;
  }
  text = Name + u"=" + submitting_[static_cast<size_t>(index)];
  return true;
}

void TTextAreaFormControlObj::FitSize(Canvas& canvas) {
  const AExtent a = MeasureA(canvas, PreFont());
  memo_->SetClientSize(Extent(int64_t{a.Width} * Cols + 5), Extent(int64_t{a.Height} * Rows + 5));
}

// --- Creation ---

std::unique_ptr<TFormControlObj> CreateFormControl(ThtmlForm& form, Sy tag, const TAttributeList& attributes,
                                                   int pos, TCell* cell) {
  switch (tag) {
    case Sy::Input: {
      const TAttribute* typeAttr = attributes.Find(Sy::Type);
      const std::u16string type = typeAttr ? LowerAscii(typeAttr->Text, kMaxTypeLength) : std::u16string();
      using Kind = TButtonFormControlObj::Kind;
      if (type == u"submit") return std::make_unique<TButtonFormControlObj>(form, attributes, pos, Kind::Submit);
      if (type == u"reset") return std::make_unique<TButtonFormControlObj>(form, attributes, pos, Kind::Reset);
      if (type == u"button") return std::make_unique<TButtonFormControlObj>(form, attributes, pos, Kind::Plain);
      if (type == u"radio") return std::make_unique<TRadioButtonFormControlObj>(form, attributes, pos, cell);
      if (type == u"checkbox") return std::make_unique<TCheckBoxFormControlObj>(form, attributes, pos);
      if (type == u"hidden") return std::make_unique<THiddenFormControlObj>(form, attributes, pos);
      if (type == u"image") return std::make_unique<TImageFormControlObj>(form, attributes, pos);
      return std::make_unique<TEditFormControlObj>(form, attributes, pos, type == u"password");
    }
    case Sy::Select: {
      const TAttribute* size = attributes.Find(Sy::Size);
      if (attributes.Has(Sy::Multiple) || (size && size->Number > 1))
        return std::make_unique<TListBoxFormControlObj>(form, attributes, pos);
      return std::make_unique<TComboFormControlObj>(form, attributes, pos);
    }
    case Sy::TextArea:
      return std::make_unique<TTextAreaFormControlObj>(form, attributes, pos);
    default:
      return nullptr;
  }
}

}  // namespace quillet
