#pragma once
// What the forms of a document need from the document and its pane: the
// factory of windowed controls, the preformatted font name, and somewhere to
// send submissions, object clicks and focus changes. The document
// (TSectionList) implements it for its forms.
#include <string>
#include <vector>

#include "viewer/forms/FormWidgets.h"

namespace quillet {

class TFormControlObj;

// One submission of a form: its attributes and the "name=value" pairs of
// its controls in order.
struct TFormSubmission {
  std::u16string Action;
  std::u16string Target;
  std::u16string EncType;
  std::u16string Method;
  std::vector<std::u16string> Results;
  bool operator==(const TFormSubmission&) const = default;
};

class FormHost {
 public:
  virtual ~FormHost() = default;

  // Makes the windowed controls (children of the pane's paint panel).
  virtual FormWidgetFactory& Widgets() = 0;
  // The document's preformatted font name; edits, lists and text areas show
  // their text in it at 10 points.
  virtual std::u16string PreFontName() const = 0;

  // Whether the pane has an OnFormSubmit handler; without one a submission
  // does nothing, not even collect its pairs.
  virtual bool HasSubmitHandler() const = 0;
  // A form was submitted. The pane raises OnFormSubmit later (posted), so
  // the control that submitted finishes its own click first and the
  // handler may load another document.
  virtual void SubmitForm(TFormSubmission submission) = 0;
  // A check box, radio button or button was clicked: raises OnObjectClick
  // with the control and its ONCLICK text when the pane has that handler.
  // The handler may clear the document; the control checks before going on.
  virtual void ObjectClick(TFormControlObj& control, const std::u16string& onClick) = 0;

  // The focus came into one of the document's controls: scroll it into
  // view, then show or hide the controls (DocumentForms::ShowOrHide).
  virtual void ControlEntered(TFormControlObj& control) = 0;
  // The focus left one of them: show or hide the controls again.
  virtual void ControlExited(TFormControlObj& control) = 0;
};

}  // namespace quillet
