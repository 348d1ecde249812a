#pragma once
// What the document's forms ask of the pane (viewer/forms/FormHost.h): their
// controls made on the paint panel, submissions raised later as
// OnFormSubmit, clicks raised as OnObjectClick, a control taking the focus
// scrolled into view.
#include "viewer/qt/HtmlPane.h"
#include "viewer/qt/QtFormControls.h"

namespace quillet {

class ThtmlPane::PaneForms : public FormHost {
 public:
  explicit PaneForms(ThtmlPane& pane);

  FormWidgetFactory& Widgets() override { return widgets_; }
  std::u16string PreFontName() const override;
  bool HasSubmitHandler() const override;
  void SubmitForm(TFormSubmission submission) override;
  void ObjectClick(TFormControlObj& control, const std::u16string& onClick) override;
  void ControlEntered(TFormControlObj& control) override;
  void ControlExited(TFormControlObj& control) override;

 private:
  // A control whose top lies this far above the view's bottom is not in
  // view enough to leave where it is.
  static constexpr int kInViewMargin = 20;

  ThtmlPane& pane_;
  QtFormWidgets widgets_;
};

}  // namespace quillet
