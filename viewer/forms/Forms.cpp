#include "viewer/forms/Forms.h"

#include "platform/AsciiCase.h"

namespace quillet {

namespace {

std::u16string AttrText(const TAttributeList& attributes, Sy code) {
  const TAttribute* a = attributes.Find(code);
  return a ? a->Text : std::u16string();
}

}  // namespace

// --- ThtmlForm ---

ThtmlForm::ThtmlForm(FormHost& host, const TAttributeList& attributes)
    : Action(AttrText(attributes, Sy::Action)),
      Target(AttrText(attributes, Sy::Target)),
      EncType(AttrText(attributes, Sy::EncType)),
      host_(host) {
  if (const TAttribute* method = attributes.Find(Sy::Method)) Method = CutText(method->Text, kMaxMethod);
}

TFormControlObj& ThtmlForm::AddFormControl(std::unique_ptr<TFormControlObj> control) {
  if (!control->IsHidden()) ++nonHidden_;
  controls_.push_back(std::move(control));
  return *controls_.back();
}

void ThtmlForm::RadioClicked(TRadioButtonFormControlObj& radio) {
  if (radio.Name.empty()) return;
  const std::u16string group = LowerAscii(radio.Name);
  for (const auto& control : controls_) {
    auto* other = dynamic_cast<TRadioButtonFormControlObj*>(control.get());
    if (other && other != &radio && LowerAscii(other->Name) == group) other->Radio().SetChecked(false);
  }
}

void ThtmlForm::ResetControls() {
  for (const auto& control : controls_) control->RestoreInitial();
}

void ThtmlForm::EnterPressed(TFormControlObj& sender) {
  if (dynamic_cast<TEditFormControlObj*>(&sender) && nonHidden_ == 1) SubmitTheForm();
}

void ThtmlForm::SubmitTheForm(const std::optional<std::u16string>& extra) {
  if (!host_.HasSubmitHandler()) return;
  TFormSubmission submission{Action, Target, EncType, Method, {}};
  for (const auto& control : controls_) {
    std::u16string pair;
    for (int i = 0; control->SubmissionPair(i, pair); ++i) {
      if (!pair.empty()) submission.Results.push_back(pair);
      pair.clear();
    }
  }
  if (extra) submission.Results.push_back(*extra);
  host_.SubmitForm(std::move(submission));
}

// --- DocumentForms ---

ThtmlForm& DocumentForms::NewForm(const TAttributeList& attributes) {
  forms_.push_back(std::make_unique<ThtmlForm>(host_, attributes));
  return *forms_.back();
}

ThtmlForm& DocumentForms::ImplicitForm() {
  if (!implicit_) implicit_ = &NewForm(TAttributeList());
  return *implicit_;
}

TFormControlObj* DocumentForms::AddControl(ThtmlForm* form, Sy tag, const TAttributeList& attributes, int pos,
                                           TCell* cell) {
  ThtmlForm& owner = form ? *form : ImplicitForm();
  std::unique_ptr<TFormControlObj> control = CreateFormControl(owner, tag, attributes, pos, cell);
  if (!control) return nullptr;
  TFormControlObj& added = owner.AddFormControl(std::move(control));
  controls_.push_back(&added);
  return &added;
}

void DocumentForms::Clear() {
  controls_.clear();
  implicit_ = nullptr;
  forms_.clear();
}

void DocumentForms::SizeControls(Canvas& canvas) {
  for (const auto& form : forms_)
    for (const auto& control : form->Controls()) control->FitSize(canvas);
}

void DocumentForms::ClearPlaced() {
  for (TFormControlObj* control : controls_) control->Shown = false;
}

bool DocumentForms::HasFocus() const {
  for (const TFormControlObj* control : controls_)
    if (const FormWidget* w = control->FocusControl(); w && w->Focused()) return true;
  return false;
}

void DocumentForms::ShowOrHide() {
  const bool focusHere = HasFocus();
  for (TFormControlObj* control : controls_) {
    FormWidget* w = control->Widget();
    if (!w || control->Shown) continue;
    if (focusHere) {
      w->Move(kAsideLeft, w->Bounds().Top);
      w->SetVisible(true);
    } else {
      w->SetVisible(false);
    }
  }
}

}  // namespace quillet
