#pragma once
// HTML forms: ThtmlForm groups the controls of one FORM, resets them and
// collects their pairs when it is submitted; DocumentForms holds a
// document's forms, the shared form of controls outside any FORM, and the
// rule that shows or hides the controls the last paint did not place.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "viewer/forms/FormControls.h"
#include "viewer/forms/FormHost.h"
#include "viewer/text/Attributes.h"

namespace quillet {

class ThtmlForm {
 public:
  static constexpr size_t kMaxMethod = 4;

  // METHOD ("Get" when absent, cut to 4 characters), ACTION, TARGET and
  // ENCTYPE.
  ThtmlForm(FormHost& host, const TAttributeList& attributes);
  ThtmlForm(const ThtmlForm&) = delete;
  ThtmlForm& operator=(const ThtmlForm&) = delete;

  FormHost& Host() const { return host_; }

  std::u16string Method = u"Get";
  std::u16string Action;
  std::u16string Target;
  std::u16string EncType;

  // The controls in document order, owned.
  const std::vector<std::unique_ptr<TFormControlObj>>& Controls() const { return controls_; }
  // Controls other than hidden fields.
  int NonHiddenCount() const { return nonHidden_; }
  TFormControlObj& AddFormControl(std::unique_ptr<TFormControlObj> control);

  // Unchecks the other radio buttons whose name matches the radio's,
  // ignoring case (a radio without a name belongs to no group).
  void RadioClicked(TRadioButtonFormControlObj& radio);
  // Every control back to its initial state.
  void ResetControls();
  // Enter in an edit submits when the edit is the form's only control
  // that is not hidden.
  void EnterPressed(TFormControlObj& sender);
  // Sends the pairs of every control, then the extra pair when given, to
  // the host; nothing when the pane has no submit handler.
  void SubmitTheForm(const std::optional<std::u16string>& extra = std::nullopt);

 private:
  FormHost& host_;
  std::vector<std::unique_ptr<TFormControlObj>> controls_;
  int nonHidden_ = 0;
};

class DocumentForms {
 public:
  explicit DocumentForms(FormHost& host) : host_(host) {}
  DocumentForms(const DocumentForms&) = delete;
  DocumentForms& operator=(const DocumentForms&) = delete;

  // FORM: a new form, for the parser to make current.
  ThtmlForm& NewForm(const TAttributeList& attributes);
  // The form without attributes that every control outside a FORM joins;
  // made at its first use.
  ThtmlForm& ImplicitForm();
  // INPUT, SELECT, TEXTAREA: the control the tag makes, in form (the
  // implicit form when none), at character pos of its section; cell is
  // the table cell it stands in (none at top level). Null for other tags.
  TFormControlObj* AddControl(ThtmlForm* form, Sy tag, const TAttributeList& attributes, int pos,
                              TCell* cell = nullptr);

  // The forms, owned, the implicit one included.
  const std::vector<std::unique_ptr<ThtmlForm>>& FormList() const { return forms_; }
  // Every control in document order.
  const std::vector<TFormControlObj*>& FormControlList() const { return controls_; }

  // Frees every form and control.
  void Clear();
  // Every layout sizes every control.
  void SizeControls(Canvas& canvas);
  // The document scrolled: no control is placed any more.
  void ClearPlaced();
  // Whether the focus is in one of the controls.
  bool HasFocus() const;
  // The controls the last paint did not place: while the focus is in one
  // of the controls they are shown off to the left (x = kAsideLeft), so
  // the Tab key still moves through them all; otherwise they are hidden.
  void ShowOrHide();
  static constexpr int kAsideLeft = -4000;

 private:
  FormHost& host_;
  std::vector<std::unique_ptr<ThtmlForm>> forms_;
  ThtmlForm* implicit_ = nullptr;
  std::vector<TFormControlObj*> controls_;
};

}  // namespace quillet
